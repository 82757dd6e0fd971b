#include "help_page.h"

#include "doctor.h"
#include "palette.h"
#include "pieces.h"
#include "sdf.h"
#include "text.h"
#include "viruses.h"

namespace assetgen {

namespace {

void Panel(Canvas& canvas, int x0, int y0, int x1, int y1) {
    Vec2 c{(x0 + x1) * 0.5f, (y0 + y1) * 0.5f}, half{(x1 - x0) * 0.5f, (y1 - y0) * 0.5f};
    canvas.Fill([=](Vec2 p) { return sdf::RoundBox(p - Vec2{6, 6}, c, half, 16) - 4; },
                [=](Vec2 p) {
                    float d = sdf::RoundBox(p - Vec2{6, 6}, c, half, 16);
                    return Color{0, 0, 0.02f, 0.5f * (1.0f - SmoothStep(-4, 4, d))};
                });
    canvas.Fill([=](Vec2 p) { return sdf::RoundBox(p, c, half, 16); },
                [=](Vec2 p) {
                    float t = (p.y - y0) / float(y1 - y0);
                    return Mix(Rgb(22, 30, 60, 0.92f), Rgb(10, 14, 32, 0.92f), t);
                });
    canvas.Fill([=](Vec2 p) { return std::fabs(sdf::RoundBox(p, c, half, 16) + 1.5f) - 0.9f; },
                Rgb(110, 140, 220, 0.9f));
}

// Text with a soft dark shadow, drawn with its pen at (x, baseline).
void Text(Canvas& canvas, const Font& font, const std::string& text, int size, float x, int baseline,
          Color color, Align align = Align::Left) {
    float w = font.Advance(text, size);
    if (align == Align::Center) x -= w / 2;
    if (align == Align::Right) x -= w;
    Mask m(canvas.Width(), canvas.Height());
    font.Render(m, text, size, std::round(x), baseline);
    canvas.FillMask(Blur(Shift(m, 2, 2), 1), 0, 0, Color{0, 0, 0, 0.9f});
    canvas.FillMask(m, 0, 0, color);
}

}  // namespace

Canvas MakeHelpPage() {
    Canvas page(1024, 768);
    // A dark veil over the whole screen, so the page reads over the glow.
    page.Fill([](Vec2) { return -1000.0f; }, Rgb(4, 6, 14, 0.72f));
    Font bold(kFontBold), regular(kFontRegular);
    const Color heading = Rgb(120, 230, 255), body = Rgb(236, 240, 250), key = Rgb(255, 214, 90);

    Text(page, bold, "How to play", 40, 512, 58, Rgb(255, 255, 255), Align::Center);

    // Instructions.
    Panel(page, 36, 80, 640, 470);
    Text(page, bold, "Instructions", 28, 60, 120, heading);
    const char* paragraphs[] = {
        "Stop the infection! Use the pieces to destroy every virus on your board.",
        "Four or more pieces or viruses of one colour joined together are destroyed.",
        "Collect pieces of one colour from the board and throw them again to match colours "
        "and remove the viruses.",
        "Only pieces can be picked up and thrown: viruses stay attached where they are.",
    };
    int baseline = 162;
    for (const char* text : paragraphs) {
        auto lines = WrapText(regular, text, 21, 530);
        bool first = true;
        for (const auto& line : lines) {
            if (first) {
                page.Fill([=](Vec2 p) { return sdf::Circle(p, {68, float(baseline) - 7}, 5); }, heading);
                first = false;
            }
            Text(page, regular, line, 21, 86, baseline, body);
            baseline += 29;
        }
        baseline += 14;
    }

    // The thrower, the pieces and the viruses.
    Panel(page, 660, 80, 988, 470);
    Text(page, bold, "Your doctor", 26, 824, 120, heading, Align::Center);
    {
        const int super = 2;
        const float scale = 1.25f;
        Canvas doc(int(158 * scale) * super, int(168 * scale) * super);
        DrawDoctor(doc, {10.0f * scale * super, 4.0f * scale * super}, scale * super, true);
        page.Draw(doc.Downsample(super), 824 - int(158 * scale) / 2, 132);
    }
    for (int i = 0; i < kColours; ++i) {
        page.Draw(MakePiece(i), 824 - 150 + i * 50 + 1, 350);
        page.Draw(MakeVirus(i, 64), 824 - 150 + i * 50 - 7, 400);
    }

    // Controls.
    Panel(page, 36, 490, 988, 736);
    Text(page, bold, "Controls", 28, 60, 530, heading);
    struct Column {
        const char* title;
        int key_width;
        std::vector<std::pair<const char*, const char*>> rows;
    };
    const Column columns[] = {
        {"Game", 96, {{"ESC", "Back / Pause / Exit"}, {"SPACE", "Continue"}}},
        {"Player 1", 140, {{"Left / Right", "Move"}, {"Up", "Throw"}, {"Down", "Pick up"}}},
        {"Player 2", 80, {{"A / D", "Move"}, {"W", "Throw"}, {"S", "Pick up"}}},
    };
    int x = 64;
    for (const Column& column : columns) {
        Text(page, bold, column.title, 23, float(x), 574, Rgb(255, 255, 255));
        int y = 608;
        for (const auto& [k, action] : column.rows) {
            Text(page, bold, k, 20, float(x), y, key);
            Text(page, regular, std::string(": ") + action, 20, float(x + column.key_width), y, body);
            y += 30;
        }
        x += column.key_width + 230;
    }
    // Gamepads, under the key columns: the first pad plays player 1.
    const std::pair<const char*, const char*> pad_lines[] = {
        {"Gamepads", ": pad 1 plays player 1, pad 2 player 2.  D-pad or stick: move,  down or X: pick up,  "
                     "up or A: throw"},
        {"", "START: pause,  A: continue,  B: back.  On the menus A, X and Y are F1, F2 and F3."},
    };
    int size = 18;  // one size for both lines, the longest fitting 900 pixels
    for (const auto& [title, text] : pad_lines)
        while (size > 12 && bold.Advance(title, size) + regular.Advance(text, size) > 900) --size;
    int pad_y = 700;
    for (const auto& [title, text] : pad_lines) {
        Text(page, bold, title, size, 64, pad_y, key);
        Text(page, regular, text, size, 64 + bold.Advance(title, size), pad_y, body);
        pad_y += 24;
    }
    return page;
}

}  // namespace assetgen
