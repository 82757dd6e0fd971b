// Escape (or a gamepad's Back) on the title ends the program with exit code
// 0: the replay command plays the real game in a child process, with the
// press before the second frame and a screenshot asked for the third, which
// an ended program never takes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/child_process.h"

namespace {

namespace fs = std::filesystem;

struct Played {
    testing_support::ChildResult result;
    bool shot = false;
};

Played PlayScript(const std::string& name, const std::string& keys) {
    const fs::path dir = fs::path(::testing::TempDir()) / ("title_escape_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path shot = dir / "frame3.png";
    {
        std::ofstream script(dir / "script.txt");
        script << keys << "shot 3 " << shot.string() << "\nframes 4\n";
    }
    Played run;
    run.result = testing_support::RunChild({VIREXO_REPLAY, (dir / "script.txt").string()});
    run.shot = fs::exists(shot);
    return run;
}

TEST(TitleEscape, EndsTheProgramWithCodeZeroBeforeTheNextFrame) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    // Without the key the script runs to its end and takes its screenshot.
    const Played plain = PlayScript("plain", "");
    ASSERT_EQ(plain.result.exitCode, 0) << plain.result.err;
    ASSERT_TRUE(plain.shot);

    const Played escaped = PlayScript("escape", "key 2 27\n");
    EXPECT_EQ(escaped.result.signal, 0);
    EXPECT_EQ(escaped.result.exitCode, 0) << escaped.result.err;
    EXPECT_FALSE(escaped.shot) << "the program went on after Escape on the title";

    // A gamepad's Back is Escape there; its B means nothing on the title.
    const Played back = PlayScript("pad_back", "pad 2 Back\n");
    EXPECT_EQ(back.result.exitCode, 0) << back.result.err;
    EXPECT_FALSE(back.shot) << "the program went on after a pad's Back on the title";
    const Played b = PlayScript("pad_b", "pad 2 B\n");
    EXPECT_EQ(b.result.exitCode, 0) << b.result.err;
    EXPECT_TRUE(b.shot);
}

}  // namespace
