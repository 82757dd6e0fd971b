// Animation with image frames and a fixed-step loop: the game's state moves
// in steps of exactly 1/60 s whatever the display's rate, and each frame is
// drawn once.
#include <cmath>
#include <numbers>
#include <string>

#include "example_run.h"

using namespace kestrel;

namespace {

constexpr int kFrames = 8;  // frames of the spinning star
constexpr int kSize = 64;

// An image of kFrames frames, drawn pixel by pixel into each frame's pixmap.
TImagePtr MakeSpinningStar() {
    auto image = CreateImage(kSize, kSize, kFrames);
    for (int f = 0; f < kFrames; ++f) {
        TPixmapPtr p = LockImage(image, f);
        const double turn = f * (std::numbers::pi / 2) / kFrames;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                const double dx = x - kSize / 2 + 0.5, dy = y - kSize / 2 + 0.5;
                const double r = std::hypot(dx, dy) / (kSize / 2);
                const double a = std::atan2(dy, dx) + turn;
                const double edge = 0.55 + 0.45 * std::abs(std::cos(2 * a));  // four points
                const std::uint32_t alpha = r < edge ? 0xFF000000u : 0;
                WritePixel(p, x, y, alpha | 0x00FFD040u);
            }
        }
        UnlockImage(image, f);
    }
    MidHandleImage(image);
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    if (!Graphics(640, 480)) return 1;
    auto star = MakeSpinningStar();
    auto pill = LoadAnimImage(run.Data("gfx/pastilla_roja.png"), 48, 48, 0, 1);

    // The toolkit's frame clock says how many 1/60 s updates each drawn
    // frame owes: one at 60 frames a second, more when a frame comes late
    // (up to six; after a longer stall the game slows instead of racing).
    // RunFixedSteps runs them, each seeing only the keys pressed up to its
    // own moment.
    FixedStepClock clock;
    int updates = 0;
    float x = 0;
    while (run.Running()) {
        RunFixedSteps(clock, SteadyMicros(), [&] {
            ++updates;
            x += 2;
            if (x > 640 + kSize) x = -kSize;
        });

        Cls();
        DrawImage(star, x, 200, (updates / 4) % kFrames);
        if (pill) DrawImage(pill, 640 - x, 320);
        SetColor(255, 255, 255);
        DrawText("updates " + std::to_string(updates), 8, 8);
        Flip();
    }
    return 0;
}
