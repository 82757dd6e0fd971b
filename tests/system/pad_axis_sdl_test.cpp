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
    // A move reaches the slot's axis at the next pump or two.
    static bool Reads(int slot, PadAxis axis, float wanted) {
        for (int i = 0; i < 50; ++i) {
            if (PadAxisValue(slot, axis) == wanted) return true;
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

// SDL names a pad in its "added" event by its place in the device list,
// and a pad plugged in just as an earlier one is pulled out, before the
// events are read, is not announced at all. It is opened all the same,
// into the slot freed, and reads as itself.
TEST_F(PadAxesOverSdl, APadPluggedInAsAnotherIsPulledOutIsOpenedAsItself) {
    std::unique_ptr<VirtualPad> first = VirtualPad::Attach(), second = VirtualPad::Attach();
    ASSERT_NE(first, nullptr) << SDL_GetError();
    ASSERT_NE(second, nullptr) << SDL_GetError();
    ASSERT_TRUE(Connected(0, true));
    ASSERT_TRUE(Connected(1, true));
    first->Move(PadAxis::LeftX, -32768);
    ASSERT_TRUE(Reads(0, PadAxis::LeftX, -1.0f));
    std::unique_ptr<VirtualPad> third = VirtualPad::Attach();
    ASSERT_NE(third, nullptr) << SDL_GetError();
    first.reset();
    // The slot is the third pad's once its stick rests in the middle.
    ASSERT_TRUE(Reads(0, PadAxis::LeftX, 0.0f));
    third->Move(PadAxis::LeftX, 32767);
    second->Move(PadAxis::LeftY, 32767);
    EXPECT_TRUE(Reads(0, PadAxis::LeftX, 1.0f));
    EXPECT_TRUE(Reads(1, PadAxis::LeftY, 1.0f));
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftY), 0.0f);
    EXPECT_FALSE(PadConnected(2));
    // Plugged in again, a pad takes the lowest free slot.
    first = VirtualPad::Attach();
    ASSERT_NE(first, nullptr) << SDL_GetError();
    ASSERT_TRUE(Connected(2, true));
    first->Move(PadAxis::RightX, 32767);
    EXPECT_TRUE(Reads(2, PadAxis::RightX, 1.0f));
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightX), 0.0f);
}

}  // namespace
}  // namespace kestrel
