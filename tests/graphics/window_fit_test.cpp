// Window fitting, letter-boxing, mouse mapping and the full-screen keys:
// the arithmetic and decisions of the window layer, without a display.
#include <gtest/gtest.h>

#include <cstdlib>

#include "toolkit/graphics/sdl/full_screen_keys.h"
#include "toolkit/graphics/sdl/window_fit.h"

namespace kestrel::sdl {
namespace {

::testing::AssertionResult Is(const Rect& r, int x, int y, int w, int h) {
    if (r.x == x && r.y == y && r.w == w && r.h == h) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << r.w << "x" << r.h << "+" << r.x << "+" << r.y
                                         << ", want " << w << "x" << h << "+" << x << "+" << y;
}

TEST(WindowFit, ScreensOfEverySize) {
    // 800 x 600, no window manager: the whole screen, scaled down (the
    // window used to open at -112,-84 with its top rows off the screen).
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 0, 800, 600}, {}), 0, 0, 800, 600));
    // 1366 x 768 with a 28-pixel panel and a 30-pixel title bar: 768 rows
    // cannot fit, the largest 4:3 area that does.
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 0, 1366, 740}, {30, 2, 2, 2}), 211, 30, 944, 708));
    // 1920 x 1080 with a panel: the picture's own size, centred.
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 32, 1920, 1048}, {30, 1, 1, 1}), 448, 186, 1024, 768));
    // 4K: twice the picture (a whole multiple), not 2.7 times.
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 0, 3840, 2160}, {40, 0, 0, 0}), 896, 332, 2048, 1536));
    // Exactly twice the picture with the frame: still 2x.
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 0, 2050, 1570}, {32, 1, 1, 1}), 1, 32, 2048, 1536));
    // One pixel short of it: 1x.
    EXPECT_TRUE(Is(FitWindow(1024, 768, {0, 0, 2049, 1570}, {32, 1, 1, 1}), 512, 416, 1024, 768));
    // A usable area that does not start at the origin (a panel on the left,
    // a second monitor).
    EXPECT_TRUE(Is(FitWindow(1024, 768, {1920 + 48, 0, 1024 + 48, 768}, {}), 1920 + 72, 0, 1024, 768));
    // Pictures of other shapes keep theirs.
    EXPECT_TRUE(Is(FitWindow(320, 240, {0, 0, 1024, 768}, {}), 32, 24, 960, 720));
    EXPECT_TRUE(Is(FitWindow(800, 400, {0, 0, 640, 480}, {}), 0, 80, 640, 320));
    // Nothing usable: still a window.
    const Rect none = FitWindow(1024, 768, {0, 0, 20, 20}, {30, 5, 5, 5});
    EXPECT_EQ(none.w, 1);
    EXPECT_EQ(none.h, 1);
}

TEST(WindowFit, AlwaysInsideTheUsableAreaWithTheFrameAndThePicturesShape) {
    std::srand(7);
    for (int i = 0; i < 20000; ++i) {
        const int pw = 1 + std::rand() % 2000, ph = 1 + std::rand() % 2000;
        const Rect usable{std::rand() % 3000 - 1000, std::rand() % 2000, 200 + std::rand() % 4000,
                          200 + std::rand() % 3000};
        const Frame f{std::rand() % 60, std::rand() % 10, std::rand() % 10, std::rand() % 10};
        const Rect r = FitWindow(pw, ph, usable, f);
        SCOPED_TRACE(std::to_string(pw) + "x" + std::to_string(ph) + " in " +
                     std::to_string(usable.w) + "x" + std::to_string(usable.h));
        ASSERT_GE(r.x - f.left, usable.x);
        ASSERT_GE(r.y - f.top, usable.y);
        ASSERT_LE(r.x + r.w + f.right, usable.x + usable.w);
        ASSERT_LE(r.y + r.h + f.bottom, usable.y + usable.h);
        const int availW = usable.w - f.left - f.right, availH = usable.h - f.top - f.bottom;
        if (pw <= availW && ph <= availH) {
            // A whole multiple, and the next one would not fit.
            ASSERT_EQ(r.w % pw, 0);
            ASSERT_EQ(r.w / pw * ph, r.h);
            const int k = r.w / pw;
            ASSERT_TRUE((k + 1) * pw > availW || (k + 1) * ph > availH);
        } else {
            // Scaled down: one side fills its room, the shape within a pixel.
            ASSERT_TRUE(r.w == availW || r.h == availH || r.w == 1 || r.h == 1);
            ASSERT_LE(std::abs(static_cast<long long>(r.w) * ph - static_cast<long long>(r.h) * pw),
                      std::max(pw, ph));
        }
    }
}

TEST(WindowFit, LetterboxAndWholeMultiples) {
    // Wider than 4:3: bars left and right; taller: above and below.
    EXPECT_TRUE(Is(FitLetterbox(1024, 768, 800, 400), 133, 0, 533, 400));
    EXPECT_TRUE(Is(FitLetterbox(1024, 768, 266, 540), 0, 170, 266, 199));
    EXPECT_TRUE(Is(FitLetterbox(1024, 768, 1024, 768), 0, 0, 1024, 768));
    EXPECT_TRUE(Is(FitLetterbox(1024, 768, 3840, 2160), 480, 0, 2880, 2160));
    EXPECT_TRUE(Is(FitLetterbox(1024, 768, 0, 768), 0, 0, 0, 0));

    EXPECT_TRUE(WholeMultiple({0, 0, 1024, 768}, 1024, 768));
    EXPECT_TRUE(WholeMultiple({64, 0, 2048, 1536}, 1024, 768));
    EXPECT_FALSE(WholeMultiple({0, 0, 2048, 768}, 1024, 768));  // 2x wide, 1x high
    EXPECT_FALSE(WholeMultiple({0, 0, 1365, 1024}, 1024, 768));
    EXPECT_FALSE(WholeMultiple({0, 0, 0, 0}, 1024, 768));
}

TEST(WindowFit, MousePointsInThePicturesCoordinates) {
    // An 800 x 400 window: the picture 533 x 400 from x 133.
    const Letterbox box = FitLetterbox(1024, 768, 800, 400);
    auto toPicture = [&box](int x, int y) {
        WindowToPicture(box, 1024, 768, x, y);
        return std::pair<int, int>(x, y);
    };
    EXPECT_EQ(toPicture(133, 0), std::make_pair(0, 0));
    EXPECT_EQ(toPicture(133 + 532, 399), std::make_pair(1022, 766));
    EXPECT_EQ(toPicture(400, 200), std::make_pair(512, 384));
    // In the bars: outside the picture, on the side of the bar.
    EXPECT_LT(toPicture(132, 10).first, 0);
    EXPECT_LT(toPicture(0, 10).first, 0);
    EXPECT_GE(toPicture(133 + 533, 10).first, 1024);
    EXPECT_LT(toPicture(300, -1).second, 0);

    // Round trips wherever the picture is shown at 1x or more.
    for (const Letterbox& b : {FitLetterbox(1024, 768, 1024, 768), FitLetterbox(1024, 768, 2048, 1536),
                               FitLetterbox(1024, 768, 1400, 1000), FitLetterbox(1024, 768, 3000, 1700)}) {
        for (int px = 0; px < 1024; px += 7) {
            int x = px, y = px * 3 / 4;
            PictureToWindow(b, 1024, 768, x, y);
            ASSERT_GE(x, b.x);
            ASSERT_LT(x, b.x + b.w);
            WindowToPicture(b, 1024, 768, x, y);
            ASSERT_EQ(x, px) << b.w;
            ASSERT_EQ(y, px * 3 / 4) << b.w;
        }
    }
    // An empty box leaves points alone.
    int x = 5, y = 6;
    WindowToPicture({}, 1024, 768, x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
}

PlatformMessage Key(MessageKind kind, int vkey, int mods = 0, bool repeat = false) {
    PlatformMessage m;
    m.kind = kind;
    m.vkey = vkey;
    m.keyMods = mods;
    m.repeat = repeat;
    return m;
}

TEST(FullScreenKeys, AltReturnAndF11ToggleAndNeverReachTheProgram) {
    using A = FullScreenKeys::Action;
    constexpr int kAlt = 4, kShift = 1;
    const auto Down = MessageKind::KeyDown;
    const auto Up = MessageKind::KeyUp;
    FullScreenKeys keys;
    // F11: toggles once however long it is held; its release is swallowed.
    EXPECT_EQ(keys.Take(Key(Down, 122)), A::Toggle);
    EXPECT_EQ(keys.Take(Key(Down, 122, 0, true)), A::Swallow);
    EXPECT_EQ(keys.Take(Key(Up, 122)), A::Swallow);
    EXPECT_EQ(keys.Take(Key(Down, 122, kShift)), A::Toggle);
    EXPECT_EQ(keys.Take(Key(Up, 122, kShift)), A::Swallow);

    // Return alone is the program's.
    EXPECT_EQ(keys.Take(Key(Down, 13)), A::Pass);
    EXPECT_EQ(keys.Take(Key(Up, 13)), A::Pass);
    // Alt+Return toggles; its release is swallowed even after Alt went up.
    EXPECT_EQ(keys.Take(Key(Down, 18, kAlt)), A::Pass);  // Alt itself
    EXPECT_EQ(keys.Take(Key(Down, 13, kAlt)), A::Toggle);
    EXPECT_EQ(keys.Take(Key(Down, 13, kAlt, true)), A::Swallow);
    EXPECT_EQ(keys.Take(Key(Up, 18, 0)), A::Pass);
    EXPECT_EQ(keys.Take(Key(Up, 13, 0)), A::Swallow);
    EXPECT_EQ(keys.Take(Key(Down, 13)), A::Pass);  // plain Return again
    EXPECT_EQ(keys.Take(Key(Up, 13)), A::Pass);
    // Return held before Alt: its repeats with Alt are no toggle and stay
    // the program's (it saw the press).
    EXPECT_EQ(keys.Take(Key(Down, 13)), A::Pass);
    EXPECT_EQ(keys.Take(Key(Down, 13, kAlt, true)), A::Pass);
    EXPECT_EQ(keys.Take(Key(Up, 13, kAlt)), A::Pass);

    // Other keys and messages pass.
    EXPECT_EQ(keys.Take(Key(Down, 27, kAlt)), A::Pass);
    EXPECT_EQ(keys.Take(Key(Down, 121)), A::Pass);  // F10
    EXPECT_EQ(keys.Take(Key(MessageKind::Char, 13, kAlt)), A::Pass);
    EXPECT_EQ(keys.Take(Key(MessageKind::Close, 122)), A::Pass);
}

}  // namespace
}  // namespace kestrel::sdl
