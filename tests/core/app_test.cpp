#include "toolkit/core/app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace kestrel {
namespace {

TEST(AppDirOf, KeepsDriveRootsAndDropsTheTrailingSlashOtherwise) {
    EXPECT_EQ(AppDirOf("C:/game.exe"), "C:/");
    EXPECT_EQ(AppDirOf("C:\\game.exe"), "C:/");
    EXPECT_EQ(AppDirOf("C:/Games/game.exe"), "C:/Games");
    EXPECT_EQ(AppDirOf("C:\\Games\\Virexo\\game.exe"), "C:/Games/Virexo");
    EXPECT_EQ(AppDirOf("/usr/games/virexo"), "/usr/games");
    EXPECT_EQ(AppDirOf("/virexo"), "/");
    EXPECT_EQ(AppDirOf("virexo"), "");
    EXPECT_EQ(AppDirOf(""), "");
}

TEST(ForwardSlashes, ReplacesEveryBackslash) {
    EXPECT_EQ(ForwardSlashes("a\\b\\\\c/d"), "a/b//c/d");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(SetApplicationGlobals, FillsThePathsAndArgumentsAndLeavesTheCurrentDirectory) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path("/tmp");
    char prog[] = "prog";
    char level[] = "--level=3";
    char* argv[] = {prog, level, nullptr};
    SetApplicationGlobals(2, argv);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path("/tmp"));
    EXPECT_EQ(LaunchDir, "/tmp");
    EXPECT_EQ(AppArgs, (std::vector<std::string>{"prog", "--level=3"}));
    // This test's own executable, and its folder.
    EXPECT_EQ(AppFile, std::filesystem::read_symlink("/proc/self/exe").string());
    EXPECT_EQ(AppDir, std::filesystem::path(AppFile).parent_path().string());
    EXPECT_FALSE(AppDir.empty());
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace kestrel
