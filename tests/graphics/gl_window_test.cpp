// The GL graphics driver on a real SDL window: run once with SDL's
// offscreen driver and once on the X display (Xvfb) when there is one.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/graphics/window_fixture.h"
#include "toolkit/core/app.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/terminate_policy.h"
#include "toolkit/system/timer.h"
#include "toolkit/graphics/window_options.h"
#include "toolkit/system/keys.h"

namespace kestrel {
namespace {

using test::OnX11;

class GLWindow : public test::PlatformWindowTest {
protected:
    GLWindow() : PlatformWindowTest("Kestrel window test") {}

    static void ClearTo(float r, float g, float b) {
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // A pixel of the current picture (GL's origin is at the bottom).
    static unsigned Pixel(int x, int y) {
        unsigned char p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
    static SDL_Window* Window() { return SDL_GL_GetCurrentWindow(); }
    // A pixel of the X screen, read with ImageMagick's import (-1 if none).
    static int ScreenPixel(int x, int y) {
        const std::string cmd = "import -window root -depth 8 -crop 1x1+" + std::to_string(x) +
                                "+" + std::to_string(y) + " txt:- 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p) return -1;
        char line[256];
        int rgb = -1;
        while (std::fgets(line, sizeof line, p)) {
            const char* hash = std::strchr(line, '#');
            if (std::strncmp(line, "0,0:", 4) == 0 && hash)
                rgb = static_cast<int>(std::strtol(hash + 1, nullptr, 16) & 0xFFFFFF);
        }
        pclose(p);
        return rgb;
    }
};

TEST_F(GLWindow, WindowFitsTheScreenAndDrawsStraightAtThePicturesSize) {
    auto g = Graphics(1024, 768, 0, 60, 0);
    ASSERT_NE(g, nullptr) << GraphicsError();
    EXPECT_EQ(GraphicsWidth(), 1024);
    EXPECT_EQ(GraphicsHeight(), 768);
    EXPECT_EQ(GraphicsDepth(), 0);
    int w = 0, h = 0;
    GLCurrentSize(w, h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    EXPECT_EQ(GLDrawFramebuffer(), 0u);
    ClearTo(1, 0, 0);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(1023, 767), 0xFF0000u);
    ASSERT_NE(Window(), nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Kestrel window test");
    EXPECT_TRUE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_RESIZABLE);

    // Twice 640 x 480 does not fit the 1024 x 768 test screens: 1x.
    auto small = Graphics(640, 480, 0, 60, 0);
    ASSERT_NE(small, nullptr) << GraphicsError();
    EXPECT_EQ(GLDrawFramebuffer(), 0u);
    if (OnX11()) {
        SDL_Rect desktop;
        SDL_GetDisplayBounds(0, &desktop);
        int x = 0, y = 0;
        SDL_GetWindowPosition(Window(), &x, &y);
        EXPECT_EQ(x, desktop.w / 2 - 320);
        EXPECT_EQ(y, desktop.h / 2 - 240);
    }
}

TEST_F(GLWindow, SecondGraphicsClosesTheFirstAndChangesTheSequence) {
    auto first = Graphics(320, 240, 0, 60, 0);
    ASSERT_NE(first, nullptr) << GraphicsError();
    const Uint32 firstId = SDL_GetWindowID(Window());
    const int seq = GraphicsSeq();
    auto second = Graphics(400, 300, 0, 60, 0);
    ASSERT_NE(second, nullptr) << GraphicsError();
    EXPECT_EQ(SDL_GetWindowFromID(firstId), nullptr);  // the first window is gone
    EXPECT_NE(SDL_GetWindowID(Window()), firstId);
    EXPECT_EQ(GraphicsSeq(), seq + 2);
    EXPECT_EQ(GraphicsWidth(), 400);
    // Drawing goes to the new context.
    ClearTo(0, 1, 0);
    EXPECT_EQ(Pixel(399, 299), 0x00FF00u);
}

TEST_F(GLWindow, ModesHaveAtLeastSixteenBits) {
    const auto modes = GraphicsModes();
    for (const auto& m : modes) {
        EXPECT_GE(m->depth, 16) << m->ToString();
        EXPECT_GT(m->width, 0);
    }
    std::printf("display modes: %zu\n", modes.size());
}

TEST_F(GLWindow, FlipPacing) {
    ASSERT_NE(Graphics(640, 480, 0, 60, 0), nullptr) << GraphicsError();
    auto time60 = [](int sync) {
        Flip(sync);  // starts the schedule
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 60; ++i) {
            ClearTo(0, 0, 0.5f);
            Flip(sync);
            KeyHit(KEY_ESCAPE);
        }
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0)
            .count();
    };
    const double soft = time60(-1);
    const double vsync = time60(1);
    const double immediate = time60(0);
    std::printf("60 flips: Flip(-1) %.1f ms, Flip(1) %.1f ms, Flip(0) %.1f ms\n", soft, vsync,
                immediate);
    // A shared machine: generous bounds around one second.
    EXPECT_NEAR(soft, 1000.0, 200.0);
    EXPECT_NEAR(vsync, 1000.0, 200.0);
    EXPECT_LT(immediate, 500.0);
}

TEST_F(GLWindow, FullScreenFallsBackToAScaledPicture) {
    // 800 x 400 is no mode of the test displays: a desktop-sized window
    // shows the picture scaled (2:1, so letter-boxed top and bottom).
    auto g = Graphics(800, 400, 32, 60, 0);
    ASSERT_NE(g, nullptr) << GraphicsError();
    EXPECT_EQ(GraphicsWidth(), 800);
    EXPECT_EQ(GraphicsHeight(), 400);
    EXPECT_EQ(GraphicsDepth(), 32);
    int w = 0, h = 0;
    GLCurrentSize(w, h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 400);
    ASSERT_NE(GLDrawFramebuffer(), 0u);

    // Pixel operations work in the picture's own coordinates.
    ClearTo(0, 0, 1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 300, 100, 100);  // the picture's top-left corner
    ClearTo(1, 0, 0);
    EXPECT_EQ(Pixel(10, 390), 0xFF0000u);
    EXPECT_EQ(Pixel(400, 200), 0x0000FFu);
    EXPECT_EQ(Pixel(799, 0), 0x0000FFu);
    Flip(0);
    // The scissor state and the picture survive the flip.
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(Pixel(10, 390), 0xFF0000u);

    int ww = 0, wh = 0;
    SDL_GL_GetDrawableSize(Window(), &ww, &wh);
    std::printf("fall-back window %d x %d for an 800 x 400 picture\n", ww, wh);
    EXPECT_GE(ww, 800);
    if (OnX11() && ScreenPixel(0, 0) < 0) {
        std::printf("ImageMagick's import is missing: the X screen was not checked\n");
    } else if (OnX11()) {
        // What the X screen shows: bars above and below the picture, the
        // picture's top-left corner at the top-left of the box.
        for (int i = 0; i < 3; ++i) Flip(0);
        const int boxH = 400 * ww / 800;
        const int bar = (wh - boxH) / 2;
        EXPECT_EQ(ScreenPixel(ww / 2, 2), 0x000000) << "top bar";
        EXPECT_EQ(ScreenPixel(ww / 2, wh / 2), 0x0000FF) << "picture";
        EXPECT_EQ(ScreenPixel(4, bar + 4), 0xFF0000) << "picture's top-left";
        EXPECT_EQ(ScreenPixel(ww - 4, bar + 4), 0x0000FF);
        EXPECT_EQ(ScreenPixel(ww / 2, wh - 2), 0x000000) << "bottom bar";
    }
}

TEST_F(GLWindow, CloseRequestSetsTheFlagAndTheWindowStaysForAProgramThatEndsItself) {
    // A program that never asks is ended by a close request (the
    // termination tests); one that decides takes it as a flag.
    SetTerminatePolicy(TerminatePolicy::Program);
    struct Restore {
        ~Restore() { SetTerminatePolicy(TerminatePolicy::Auto); }
    } restore;
    ASSERT_NE(Graphics(320, 240, 0, 60, 0), nullptr) << GraphicsError();
    const Uint32 id = SDL_GetWindowID(Window());
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = id;
    SDL_PushEvent(&e);
    EXPECT_EQ(AppTerminate(), 1);
    EXPECT_EQ(AppTerminate(), 0);
    EXPECT_NE(SDL_GetWindowFromID(id), nullptr);
    EXPECT_EQ(GraphicsWidth(), 320);
}

// A motion of the mouse to window point x, y; MouseX/MouseY then tell it in
// the picture's coordinates.
void MoveMouseInWindow(Uint32 window, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
    MouseX();  // pumps
}

void PressKey(Uint32 window, SDL_Scancode s, Uint16 mods) {
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = window;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = s;
        e.key.keysym.sym = SDL_GetKeyFromScancode(s);
        e.key.keysym.mod = mods;
        SDL_PushEvent(&e);
    }
}

TEST_F(GLWindow, AResizedWindowLetterboxesThePictureInItsOwnCoordinates) {
    // 320 x 240 opens at 3x on the 1024 x 768 test screens, scaled.
    ASSERT_NE(Graphics(320, 240, 0, 60, 0), nullptr) << GraphicsError();
    SDL_Window* w = Window();
    const Uint32 id = SDL_GetWindowID(w);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(w, &ww, &wh);
    EXPECT_EQ(ww, 960);
    EXPECT_EQ(wh, 720);
    EXPECT_NE(GLDrawFramebuffer(), 0u);
    int pw = 0, ph = 0;
    GLCurrentSize(pw, ph);
    EXPECT_EQ(pw, 320);
    EXPECT_EQ(ph, 240);

    // Resized to the picture's size: drawn straight into the window.
    SDL_SetWindowSize(w, 320, 240);
    Flip(0);
    EXPECT_EQ(GLDrawFramebuffer(), 0u);
    ClearTo(0, 1, 0);
    EXPECT_EQ(Pixel(319, 239), 0x00FF00u);

    // Wider than 4:3: through the offscreen picture again, which keeps the
    // renderer's clear colour and scissor box.
    glClearColor(0, 0, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 320, 240);
    SDL_SetWindowSize(w, 640, 240);
    Flip(0);
    EXPECT_NE(GLDrawFramebuffer(), 0u);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(Pixel(319, 239), 0x0000FFu);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 220, 20, 20);  // the picture's top-left corner
    ClearTo(1, 0, 0);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(Pixel(10, 230), 0xFF0000u);  // reads stay in the picture

    // The mouse: the picture is 320 x 240 from window x 160.
    MoveMouseInWindow(id, 160, 0);
    EXPECT_EQ(MouseX(), 0);
    EXPECT_EQ(MouseY(), 0);
    MoveMouseInWindow(id, 479, 239);
    EXPECT_EQ(MouseX(), 319);
    EXPECT_EQ(MouseY(), 239);
    MoveMouseInWindow(id, 10, 100);  // in the left bar
    EXPECT_LT(MouseX(), 0);

    if (OnX11() && ScreenPixel(0, 0) >= 0) {
        for (int i = 0; i < 3; ++i) Flip(0);
        int x = 0, y = 0;
        SDL_GetWindowPosition(w, &x, &y);
        EXPECT_EQ(ScreenPixel(x + 80, y + 120), 0x000000) << "left bar";
        EXPECT_EQ(ScreenPixel(x + 560, y + 120), 0x000000) << "right bar";
        EXPECT_EQ(ScreenPixel(x + 165, y + 5), 0xFF0000) << "picture's top-left";
        EXPECT_EQ(ScreenPixel(x + 320, y + 120), 0x0000FF) << "picture";
    }
}

TEST_F(GLWindow, AltReturnAndF11SwitchFullScreenWithoutReachingTheProgram) {
    ASSERT_NE(Graphics(640, 480, 0, 60, 0), nullptr) << GraphicsError();
    SDL_Window* w = Window();
    const Uint32 id = SDL_GetWindowID(w);
    SDL_Rect desktop{};
    SDL_GetDisplayBounds(0, &desktop);
    int x0 = 0, y0 = 0, w0 = 0, h0 = 0;
    SDL_GetWindowPosition(w, &x0, &y0);
    SDL_GetWindowSize(w, &w0, &h0);
    FlushKeys();

    const std::pair<SDL_Scancode, Uint16> toggles[] = {{SDL_SCANCODE_F11, KMOD_NONE},
                                                       {SDL_SCANCODE_RETURN, KMOD_LALT}};
    for (const auto& [key, mods] : toggles) {
        SCOPED_TRACE(key);
        PressKey(id, key, mods);
        EXPECT_EQ(KeyHit(122) + KeyHit(13), 0);
        int ww = 0, wh = 0;
        SDL_GetWindowSize(w, &ww, &wh);
        EXPECT_EQ(ww, desktop.w);
        EXPECT_EQ(wh, desktop.h);
        if (OnX11()) {
            EXPECT_TRUE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
        }
        Flip(0);
        EXPECT_NE(GLDrawFramebuffer(), 0u);  // scaled to the desktop
        EXPECT_EQ(GraphicsWidth(), 640);

        PressKey(id, key, mods);
        EXPECT_EQ(KeyHit(122) + KeyHit(13), 0);
        int x = 0, y = 0;
        SDL_GetWindowPosition(w, &x, &y);
        SDL_GetWindowSize(w, &ww, &wh);
        EXPECT_EQ(ww, w0);
        EXPECT_EQ(wh, h0);
        EXPECT_EQ(x, x0);
        EXPECT_EQ(y, y0);
        EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
        Flip(0);
        EXPECT_EQ(GLDrawFramebuffer(), 0u);
    }
    // Return without Alt is the program's.
    PressKey(id, SDL_SCANCODE_RETURN, KMOD_NONE);
    EXPECT_EQ(KeyHit(13), 1);
}

TEST_F(GLWindow, TheSwitchesGiveAnExactWindowAndTheFullScreenKeysToTheProgram) {
    SetWindowSizing(WindowSizing::Exact);
    SetFullScreenKeys(false);
    struct Restore {
        ~Restore() {
            SetWindowSizing(WindowSizing::Fitted);
            SetFullScreenKeys(true);
        }
    } restore;
    // 320 x 240 would be fitted to 960 x 720 on a 1024 x 768 screen.
    ASSERT_NE(Graphics(320, 240, 0, 60, 0), nullptr) << GraphicsError();
    SDL_Window* w = Window();
    const Uint32 id = SDL_GetWindowID(w);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(w, &ww, &wh);
    EXPECT_EQ(ww, 320);
    EXPECT_EQ(wh, 240);
    EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_RESIZABLE);
    Flip(0);
    EXPECT_EQ(GLDrawFramebuffer(), 0u);  // drawn straight, unscaled
    FlushKeys();
    PressKey(id, SDL_SCANCODE_F11, KMOD_NONE);
    PressKey(id, SDL_SCANCODE_RETURN, KMOD_LALT);
    EXPECT_EQ(KeyHit(122), 1);
    EXPECT_EQ(KeyHit(13), 1);
    SDL_GetWindowSize(w, &ww, &wh);
    EXPECT_EQ(ww, 320);  // still the window, not full screen
    EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_BORDERLESS);
    // With the keys on again, full screen and back gives the exact window
    // back as it was: its size, and still not resizable.
    SetFullScreenKeys(true);
    PressKey(id, SDL_SCANCODE_F11, KMOD_NONE);
    PressKey(id, SDL_SCANCODE_F11, KMOD_NONE);
    SDL_GetWindowSize(w, &ww, &wh);
    EXPECT_EQ(ww, 320);
    EXPECT_EQ(wh, 240);
    EXPECT_FALSE(SDL_GetWindowFlags(w) & SDL_WINDOW_RESIZABLE);
}

TEST_F(GLWindow, SDLKeysArriveAsVirtualKeyCodes) {
    ASSERT_NE(Graphics(320, 240, 0, 60, 0), nullptr) << GraphicsError();
    const Uint32 id = SDL_GetWindowID(Window());
    auto push = [id](Uint32 type, SDL_Scancode s, Uint8 repeat = 0) {
        SDL_Event e{};
        e.type = type;
        e.key.windowID = id;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.scancode = s;
        e.key.keysym.sym = SDL_GetKeyFromScancode(s);
        SDL_PushEvent(&e);
    };
    const SDL_Scancode keys[] = {SDL_SCANCODE_UP,     SDL_SCANCODE_A,     SDL_SCANCODE_F1,
                                 SDL_SCANCODE_ESCAPE, SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT,
                                 SDL_SCANCODE_LCTRL,  SDL_SCANCODE_RCTRL, SDL_SCANCODE_LALT,
                                 SDL_SCANCODE_RALT,   SDL_SCANCODE_SPACE, SDL_SCANCODE_7};
    const int codes[] = {38, 65, 112, 27, 160, 161, 162, 163, 164, 165, 32, 55};
    for (SDL_Scancode s : keys) {
        push(SDL_KEYDOWN, s);
        push(SDL_KEYDOWN, s, 1);  // auto-repeat
        push(SDL_KEYUP, s);
    }
    for (int code : codes) EXPECT_EQ(KeyHit(code), 1) << code;
    for (int generic : {16, 17, 18}) EXPECT_EQ(KeyHit(generic), 0);
}

TEST_F(GLWindow, TimerTicksWakeTheSystemWait) {
    ASSERT_NE(Graphics(320, 240, 0, 60, 0), nullptr) << GraphicsError();
    auto timer = CreateTimer(50);
    ASSERT_NE(timer, nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    int ticks = 0;
    for (int i = 0; i < 5; ++i) ticks += WaitTimer(timer);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    StopTimer(timer);
    std::printf("5 waits on a 50 Hz timer: %d ticks in %.1f ms\n", ticks, ms);
    EXPECT_GE(ticks, 5);
    // 5 periods of 20 ms; a wait that is not woken would block for good.
    EXPECT_LT(ms, 1000.0);
}

}  // namespace
}  // namespace kestrel
