// A pad's axes through SDL's game-controller layer: SDL's virtual pads,
// plugged in and out while the SDL system driver pumps its events (no
// display needed), read with PadAxisValue as a pad on the machine is.
#include <gtest/gtest.h>

#include <SDL.h>

#include <memory>

#include "toolkit/system/pad_input.h"
#include "toolkit/system/sdl/joystick.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"
#include "tools/replay/sdl/pad_injection.h"

namespace kestrel {
namespace {

using virexo::replay::sdl::VirtualPad;

class PadAxesOverSdl : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        sdl::UseSDLSystemDriver();
        InitSystem();
        InitJoystick();
    }
    // SDL reports a new pad at the next pump or two.
    static bool Connected(int slot, bool wanted) {
        for (int i = 0; i < 50; ++i) {
            if (PadConnected(slot) == wanted) return true;
            SDL_Delay(10);
        }
        return false;
    }
};

TEST_F(PadAxesOverSdl, EachStickAndTriggerReadsThroughTheGameControllerLayer) {
    EXPECT_FALSE(PadConnected(0));
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 0.0f);

    std::unique_ptr<VirtualPad> pad = VirtualPad::Attach();
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    ASSERT_TRUE(Connected(0, true));
    // A pad just plugged in, untouched, rests in the middle.
    for (int a = 0; a < static_cast<int>(PadAxis::Count); ++a)
        EXPECT_EQ(PadAxisValue(0, static_cast<PadAxis>(a)), 0.0f) << "axis " << a;

    // Each SDL axis arrives as its own PadAxis.
    pad->Move(PadAxis::LeftX, 32767);
    pad->Move(PadAxis::LeftY, -32768);
    pad->Move(PadAxis::RightX, 16384);
    pad->Move(PadAxis::RightY, -1500);  // inside the dead zone
    pad->Move(PadAxis::RightTrigger, 32767);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftX), 1.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftY), -1.0f);
    EXPECT_NEAR(PadAxisValue(0, PadAxis::RightX), (0.5f - kPadAxisDeadZone) / (1 - kPadAxisDeadZone),
                0.001f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightY), 0.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::RightTrigger), 1.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftTrigger), 0.0f);
    // Back to the middle.
    pad->Move(PadAxis::LeftX, 0);
    pad->Move(PadAxis::RightTrigger, 0);
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightTrigger), 0.0f);

    // A second pad has axes of its own; unplugging the first leaves them.
    std::unique_ptr<VirtualPad> second = VirtualPad::Attach();
    ASSERT_NE(second, nullptr) << SDL_GetError();
    ASSERT_TRUE(Connected(1, true));
    second->Move(PadAxis::LeftX, -32768);
    EXPECT_FLOAT_EQ(PadAxisValue(1, PadAxis::LeftX), -1.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftY), -1.0f);
    pad.reset();
    ASSERT_TRUE(Connected(0, false));
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftY), 0.0f);  // no pad: 0
    EXPECT_FLOAT_EQ(PadAxisValue(1, PadAxis::LeftX), -1.0f);
}

}  // namespace
}  // namespace kestrel
