// Keys pressed with xdotool at a real SDL window on the X display, and
// message boxes answered with Return and Escape. Needs an X server (the
// suite runs under Xvfb) and the xdotool and x11-utils programs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>

#include "tests/support/child_process.h"
#include "toolkit/core/app.h"
#include "toolkit/core/fault_report.h"
#include "toolkit/graphics/gl_graphics_driver.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/keys.h"

namespace kestrel {
namespace {

bool Have(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

class X11Input : public ::testing::Test {
protected:
    void SetUp() override {
        const char* d = std::getenv("SDL_VIDEODRIVER");
        if ((d && *d) || !std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        if (!Have("xdotool") || !Have("xwininfo")) GTEST_SKIP() << "xdotool or xwininfo missing";
        sdl::UseSDLSystemDriver();
        InitSystem();
        InitGraphics();
        SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
    }
    void TearDown() override { EndGraphics(); }

    // Runs a shell command in the background.
    static void Background(const std::string& script) {
        ASSERT_EQ(std::system(("(" + script + ") >/dev/null 2>&1 &").c_str()), 0);
    }
    // Answers the box titled title with key, once it is on the screen. A
    // box that has not taken the keyboard yet (a slow build) misses the key:
    // it is pressed again while that box stays, up to five times. With a
    // marker file, it is created once the box was found on screen.
    static void AnswerBox(const std::string& title, const std::string& key,
                          const std::string& marker = "") {
        const std::string mark = marker.empty() ? "" : "[ -n \"$WID\" ] && touch " + marker + "; ";
        Background(FindWindow(title) + "; " + mark +
                   "for k in 1 2 3 4 5; do xdotool windowfocus --sync $WID key " + key +
                   "; for j in $(seq 10); do xwininfo -id $WID >/dev/null 2>&1 || exit 0; sleep 0.1; done; done");
    }
    // Waits (up to 10 s) until no window is titled title: the next box's
    // answer must not find the last box on its way out.
    static bool Gone(const std::string& title) {
        for (int i = 0; i < 100; ++i) {
            if (std::system(("xwininfo -name '" + title + "' >/dev/null 2>&1").c_str()) != 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // Shell that waits (up to 10 s) for the window titled title, in $WID.
    static std::string FindWindow(const std::string& title) {
        return "for i in $(seq 100); do WID=$(xwininfo -name '" + title +
               "' 2>/dev/null | awk '/Window id:/{print $4}'); [ -n \"$WID\" ] && break; "
               "sleep 0.1; done; sleep 0.3";
    }
};

TEST_F(X11Input, XdotoolKeysReachKeyHitWithTheirCodes) {
    AppTitle = "Kestrel key test";
    ASSERT_NE(Graphics(640, 480, 0, 60, 0), nullptr) << GraphicsError();
    for (int i = 0; i < 5; ++i) Flip(0);
    FlushKeys();

    Background(FindWindow(AppTitle) +
               "; xdotool windowfocus --sync $WID; xdotool key --delay 50 Up w F1 Escape space Shift_L Shift_R Control_R Alt_L;"
               " xdotool keydown Right; sleep 0.6; xdotool keyup Right");
    const std::map<int, const char*> wanted = {
        {38, "Up"},      {87, "W"},          {112, "F1"},         {27, "Escape"},
        {32, "Space"},   {161, "right shift"}, {163, "right control"},
        {164, "left alt"}, {39, "Right"}};
    std::map<int, int> hits;
    bool sawRightHeld = false;
    int chars = 0, w = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        for (int key = 1; key < 256; ++key)
            if (const int n = KeyHit(key)) hits[key] += n;
        if (KeyDown(KEY_RIGHT)) sawRightHeld = true;
        while (const int c = GetChar()) {
            ++chars;
            w += c == 'w';
        }
        if (sawRightHeld && !KeyDown(KEY_RIGHT) && hits.count(KEY_RIGHT)) break;
        Flip(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (const auto& [code, name] : wanted) EXPECT_EQ(hits[code], 1) << name << " (" << code << ")";
    // xdotool holds the left shift and control while it sends their right
    // twins, so the left ones may count more than once.
    EXPECT_GE(hits[160], 1) << "left shift";
    EXPECT_LE(hits[160], 2) << "left shift";
    EXPECT_EQ(hits[16] + hits[17] + hits[18], 0) << "modifiers must come as left/right codes";
    EXPECT_TRUE(sawRightHeld);
    EXPECT_EQ(KeyDown(KEY_RIGHT), 0);
    EXPECT_EQ(w, 1) << chars << " characters typed";
}

TEST_F(X11Input, ConfirmAnswersOneForReturnAndZeroForEscape) {
    AppTitle = "Kestrel box test";
    AnswerBox(AppTitle, "Return");
    EXPECT_EQ(Confirm("Fullscreen?"), 1);
    ASSERT_TRUE(Gone(AppTitle));
    AnswerBox(AppTitle, "Escape");
    EXPECT_EQ(Confirm("Fullscreen?"), 0);
    ASSERT_TRUE(Gone(AppTitle));
    AnswerBox(AppTitle, "Escape");
    EXPECT_EQ(Proceed("Save changes?"), -1);
    ASSERT_TRUE(Gone(AppTitle));
    AnswerBox(AppTitle, "Return");
    EXPECT_EQ(Proceed("Save changes?"), 1);
}

TEST_F(X11Input, AFaultWhileTheDisplayIsOpenShowsTheReportBox) {
    const std::string marker = "/tmp/kestrel_fault_box_" + std::to_string(getpid());
    std::remove(marker.c_str());
    AnswerBox("Windows exception", "Return", marker);
    const auto r = testing_support::RunChild({FAULT_BOX_PROBE});
    // The report stayed on screen until it was answered.
    EXPECT_EQ(access(marker.c_str(), F_OK), 0) << "no \"Windows exception\" box was seen";
    std::remove(marker.c_str());
    EXPECT_EQ(r.exitCode, FaultExitCode(SIGSEGV)) << r.err;
    EXPECT_NE(r.err.find("EXCEPTION_ACCESS_VIOLATION"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kestrel
