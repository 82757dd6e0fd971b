#include "toolkit/core/app.h"

#include <gtest/gtest.h>

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
