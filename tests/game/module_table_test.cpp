#include "game/module_table.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/core/error.h"
#include "toolkit/system/event.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"

namespace virexo {
namespace {

TEST(ModuleTable, HoldsTheThirtyOneRowsInOrder) {
    auto rows = ModuleTable();
    ASSERT_EQ(rows.size(), 31u);
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].row, static_cast<int>(i) + 1);
    EXPECT_EQ(std::string(rows[0].name), "runtime core");
    EXPECT_EQ(rows[1].init, nullptr);  // the game module is already running
    EXPECT_EQ(std::string(rows[25].name), "timers");
}

TEST(ModuleTable, InitialisingTwiceChangesNothing) {
    InitModules();
    EXPECT_TRUE(kestrel::CoreInitialised());
    auto driver = kestrel::SystemDriver();
    // Rows before the system row already reach the system module; the
    // platform's driver must still be the one created.
    EXPECT_NE(std::dynamic_pointer_cast<kestrel::sdl::TSDLSystemDriver>(driver), nullptr);
    const int hook = kestrel::EmitEventHook();
    InitModules();
    EXPECT_EQ(kestrel::SystemDriver(), driver);
    EXPECT_EQ(kestrel::EmitEventHook(), hook);
    EXPECT_EQ(kestrel::TEvent::DescriptionForId(0x101), "AppSuspend");
}

}  // namespace
}  // namespace virexo
