// Every way a program ends after opening a display and a playing sound, in
// both start-up orders of the modules: leaving a plain main, leaving the
// body of RunApplication, End(), an uncaught error and std::exit. The exit
// handlers (closing the display, shutting the audio driver down) run once
// and the process ends with its own status, never a crash; also with a
// window the program made itself (CreateGraphics, SetGraphics), which the
// end closes as well.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/child_process.h"

namespace {

using testing_support::RunChild;

struct Ending {
    const char* how;
    int exitCode;
    const char* err;
};

TEST(ProgramEnds, EveryEndingIsCleanInEitherStartUpOrder) {
    const Ending endings[] = {
        {"plain", 0, ""},
        {"return", 0, ""},
        {"end", 0, ""},
        {"throw", 255, "ending by an error\n"},
        {"exit", 0, ""},
    };
    // No X server and no sound card needed: SDL's offscreen video and its
    // silent audio device.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    for (const char* order : {"audio-first", "graphics-first"}) {
        for (const char* window : {"graphics", "own"}) {
            for (const Ending& e : endings) {
                SCOPED_TRACE(std::string(e.how) + " " + order + " " + window);
                const auto r = RunChild({END_PROBE_PATH, e.how, order, window});
                EXPECT_EQ(r.signal, 0) << r.err;
                EXPECT_EQ(r.exitCode, e.exitCode) << r.err;
                EXPECT_EQ(r.err, e.err);
                // The program's own handler ran exactly once, with its output
                // flushed even where the process ends by _Exit; and its own
                // window was closed before the program's globals went.
                EXPECT_EQ(r.out, std::string(window) == "own" ? "handler\nclosed\n" : "handler\n");
            }
        }
    }
}

}  // namespace
