// Polled gamepad input fed with neutral pad messages (no platform under it):
// presses counted per pad and cleared on reading, the left stick's dead zone
// and edges, axis positions, pads going away, and the count of focus losses.
#include "toolkit/system/pad_input.h"

#include <gtest/gtest.h>

#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {
namespace {

PlatformMessage PadMsg(MessageKind kind, int pad, int control = 0, int value = 0) {
    PlatformMessage m;  // window 0: pads belong to no window
    m.kind = kind;
    m.pad = pad;
    m.padControl = control;
    m.padValue = value;
    return m;
}

void Button(int pad, PadButton b, bool down) {
    PumpMessage(PadMsg(down ? MessageKind::PadButtonDown : MessageKind::PadButtonUp, pad,
                       static_cast<int>(b)));
}
void Tap(int pad, PadButton b) {
    Button(pad, b, true);
    Button(pad, b, false);
}
void Axis(int pad, PadAxis a, int value) {
    PumpMessage(PadMsg(MessageKind::PadAxis, pad, static_cast<int>(a), value));
}

class PadInput : public ::testing::Test {
protected:
    void SetUp() override {
        InitSystem();
        ResetTranslator();
        EnablePolledPads();
        EnablePolledInput(nullptr);
        for (int pad = 0; pad < 2; ++pad) PumpMessage(PadMsg(MessageKind::PadAdded, pad));
    }
    void TearDown() override {
        DisablePolledInput();
        DisablePolledPads();
        ResetTranslator();
    }
};

TEST_F(PadInput, PressesAreCountedPerPadAndButtonAndClearedOnReading) {
    EXPECT_TRUE(PadConnected(0));
    EXPECT_TRUE(PadConnected(1));
    EXPECT_FALSE(PadConnected(2));
    Tap(0, PadButton::A);
    Tap(0, PadButton::A);
    Tap(1, PadButton::Start);
    Button(1, PadButton::X, true);
    EXPECT_EQ(PadHit(0, PadButton::A), 2);
    EXPECT_EQ(PadHit(0, PadButton::A), 0);
    EXPECT_EQ(PadHit(1, PadButton::A), 0);  // the other pad's button
    EXPECT_EQ(PadHit(0, PadButton::Start), 0);
    EXPECT_EQ(PadDown(1, PadButton::X), 1);
    // A second down without an up (a repeat) is no second press.
    Button(1, PadButton::X, true);
    EXPECT_EQ(PadHit(1, PadButton::X), 1);
    Button(1, PadButton::X, false);
    EXPECT_EQ(PadDown(1, PadButton::X), 0);
    Tap(1, PadButton::Start);
    EXPECT_EQ(PadHitAny(PadButton::Start), 2);  // both of pad 1's Start taps
    EXPECT_EQ(PadHitAny(PadButton::Start), 0);
    // Slots and buttons outside the tables read nothing and break nothing.
    Tap(9, PadButton::A);
    PumpMessage(PadMsg(MessageKind::PadButtonDown, 0, 99));
    PumpMessage(PadMsg(MessageKind::PadButtonDown, 0, static_cast<int>(PadButton::StickUp)));
    EXPECT_EQ(PadHit(9, PadButton::A), 0);
    EXPECT_EQ(PadHit(-1, PadButton::A), 0);
    EXPECT_EQ(PadHit(0, PadButton::Count), 0);
    EXPECT_EQ(PadHit(0, PadButton::StickUp), 0);  // a stick direction is no button message
}

TEST_F(PadInput, TheStickPressesOncePerPushPastHalfWayAndLetsGoInsideTheDeadZone) {
    Axis(0, PadAxis::LeftX, 6000);  // resting off centre: nothing
    Axis(0, PadAxis::LeftX, -8000);
    EXPECT_EQ(PadHit(0, PadButton::StickRight) + PadHit(0, PadButton::StickLeft), 0);
    // One push to the right through many positions is one press.
    for (int v : {10000, 17000, 25000, 32767, 30000, 20000}) Axis(0, PadAxis::LeftX, v);
    EXPECT_EQ(PadHit(0, PadButton::StickRight), 1);
    EXPECT_EQ(PadDown(0, PadButton::StickRight), 1);
    // Wobbling between the dead zone and the threshold presses nothing more.
    for (int v : {12000, 17000, 9000, 20000}) Axis(0, PadAxis::LeftX, v);
    EXPECT_EQ(PadHit(0, PadButton::StickRight), 0);
    // Back to the middle, then out again: a second press.
    Axis(0, PadAxis::LeftX, 2000);
    EXPECT_EQ(PadDown(0, PadButton::StickRight), 0);
    Axis(0, PadAxis::LeftX, 32767);
    EXPECT_EQ(PadHit(0, PadButton::StickRight), 1);
    // Straight across to the far side: right lets go, left presses.
    Axis(0, PadAxis::LeftX, -32768);
    EXPECT_EQ(PadDown(0, PadButton::StickRight), 0);
    EXPECT_EQ(PadHit(0, PadButton::StickLeft), 1);
    // The vertical axis: up is negative.
    Axis(0, PadAxis::LeftY, -20000);
    Axis(0, PadAxis::LeftY, 0);
    Axis(0, PadAxis::LeftY, 20000);
    EXPECT_EQ(PadHit(0, PadButton::StickUp), 1);
    EXPECT_EQ(PadHit(0, PadButton::StickDown), 1);
    // The right stick and the triggers are no directions.
    Axis(0, PadAxis::RightX, 32767);
    Axis(0, PadAxis::RightTrigger, 32767);
    EXPECT_EQ(PadHit(0, PadButton::StickRight), 0);
}

TEST_F(PadInput, AxesReadAsFractionsWithADeadZoneOnTheSticksAndZeroWithoutAPad) {
    // Nothing moved yet reads the middle (and a trigger let go).
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightTrigger), 0.0f);
    // The ends of a stick's travel are -1 and 1, each axis of each pad apart.
    Axis(0, PadAxis::LeftX, 32767);
    Axis(0, PadAxis::LeftY, -32768);
    Axis(1, PadAxis::RightY, 32767);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftX), 1.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftY), -1.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightY), 0.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(1, PadAxis::RightY), 1.0f);
    // Inside the dead zone a stick reads 0; just past it, a little; half
    // way between the dead zone's edge and the end, a half.
    const int edge = static_cast<int>(kPadAxisDeadZone * 32767.0f);
    Axis(0, PadAxis::RightX, edge - 1);
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightX), 0.0f);
    Axis(0, PadAxis::RightX, -(edge - 1));
    EXPECT_EQ(PadAxisValue(0, PadAxis::RightX), 0.0f);
    Axis(0, PadAxis::RightX, edge + 400);
    const float past = PadAxisValue(0, PadAxis::RightX);
    EXPECT_GT(past, 0.0f);
    EXPECT_LT(past, 0.02f);
    Axis(0, PadAxis::RightX, -(edge + 32767) / 2);
    EXPECT_NEAR(PadAxisValue(0, PadAxis::RightX), -0.5f, 0.001f);
    // Triggers have no dead zone and no negative half.
    Axis(0, PadAxis::LeftTrigger, 1000);
    EXPECT_NEAR(PadAxisValue(0, PadAxis::LeftTrigger), 1000.0f / 32767.0f, 1e-6f);
    Axis(0, PadAxis::LeftTrigger, 32767);
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftTrigger), 1.0f);
    Axis(0, PadAxis::LeftTrigger, -5);
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftTrigger), 0.0f);
    // An empty slot, slots and axes outside the tables read 0.
    Axis(2, PadAxis::LeftX, 32767);
    EXPECT_EQ(PadAxisValue(2, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(-1, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(kMaxPads, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::Count), 0.0f);
    PumpMessage(PadMsg(MessageKind::PadAxis, 0, 99, 32767));  // an axis with no name: ignored
    EXPECT_FLOAT_EQ(PadAxisValue(0, PadAxis::LeftX), 1.0f);
    // A pad that goes away reads 0, and so does the next pad in its slot
    // until its own sticks move.
    PumpMessage(PadMsg(MessageKind::PadRemoved, 0));
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 0.0f);
    PumpMessage(PadMsg(MessageKind::PadAdded, 0));
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftX), 0.0f);
    EXPECT_EQ(PadAxisValue(0, PadAxis::LeftTrigger), 0.0f);
    EXPECT_FLOAT_EQ(PadAxisValue(1, PadAxis::RightY), 1.0f);
}

TEST_F(PadInput, AFlushClearsPressesButWhatIsHeldStaysHeld) {
    Axis(1, PadAxis::LeftX, 30000);
    Button(1, PadButton::A, true);
    FlushPads();
    EXPECT_EQ(PadHit(1, PadButton::StickRight), 0);
    EXPECT_EQ(PadHit(1, PadButton::A), 0);
    // The stick still pushed, moving: no press until it is let go.
    Axis(1, PadAxis::LeftX, 32000);
    EXPECT_EQ(PadHit(1, PadButton::StickRight), 0);
    EXPECT_EQ(PadDown(1, PadButton::A), 1);
}

TEST_F(PadInput, APadThatGoesAwayHoldsNothingAndItsSlotComesBackEmpty) {
    Button(0, PadButton::B, true);
    Axis(0, PadAxis::LeftY, 30000);
    PumpMessage(PadMsg(MessageKind::PadRemoved, 0));
    EXPECT_FALSE(PadConnected(0));
    EXPECT_TRUE(PadConnected(1));
    EXPECT_EQ(PadDown(0, PadButton::B), 0);
    EXPECT_EQ(PadDown(0, PadButton::StickDown), 0);
    EXPECT_EQ(PadHit(0, PadButton::B), 1);  // pressed before it went: still to be read
    PumpMessage(PadMsg(MessageKind::PadAdded, 0));
    EXPECT_TRUE(PadConnected(0));
    Axis(0, PadAxis::LeftY, 30000);  // the new pad's first push is a press
    EXPECT_EQ(PadHit(0, PadButton::StickDown), 1);
}

TEST_F(PadInput, PadEventsCarrySlotControlAndValueWithNames) {
    TEventPtr seen;
    static TEventPtr* sink = nullptr;
    sink = &seen;
    auto record = [](int, const ObjectPtr& data, const ObjectPtr&) -> ObjectPtr {
        if (auto e = std::dynamic_pointer_cast<TEvent>(data)) *sink = e;
        return data;
    };
    AddHook(EmitEventHook(), record, nullptr, -1);
    Axis(1, PadAxis::LeftY, -1234);
    RemoveHook(EmitEventHook(), record);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->id, EventId::PadAxisMove);
    EXPECT_EQ(seen->data, 1);
    EXPECT_EQ(seen->x, static_cast<int>(PadAxis::LeftY));
    EXPECT_EQ(seen->y, -1234);
    EXPECT_EQ(TEvent::DescriptionForId(EventId::PadAxisMove), "PadAxisMove");
}

TEST_F(PadInput, FocusLossesAreCountedUntilReadEvenWhenTheFocusIsBack) {
    constexpr std::uintptr_t kWindow = 3;
    SetWindowProcedure(kWindow, [](const PlatformMessage& m) { TranslateMessage(m, nullptr); });
    PlatformMessage lost, back;
    lost.window = back.window = kWindow;
    lost.kind = MessageKind::Deactivate;
    back.kind = MessageKind::Activate;
    EXPECT_EQ(AppSuspendHit(), 0);
    PumpMessage(lost);
    PumpMessage(back);
    EXPECT_EQ(AppSuspended(), 0);
    EXPECT_EQ(AppSuspendHit(), 1);
    EXPECT_EQ(AppSuspendHit(), 0);
    // Focus moving to another window of the program is no loss.
    lost.otherInProcess = true;
    PumpMessage(lost);
    EXPECT_EQ(AppSuspendHit(), 0);
}

}  // namespace
}  // namespace kestrel
