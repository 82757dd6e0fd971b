// Polled gamepad input: a hook on the event chain counts the presses of
// every pad's buttons (the left stick counting as four more buttons, one per
// direction) and the program reads (and clears) them once per update, as it
// does keys. Every query pumps the system's messages first.
//
// Pads are numbered by slot: the first pad connected takes slot 0, the next
// the lowest free slot; a pad that goes away frees its slot without moving
// the others, so unplugging one player's pad never hands the other player's
// pad a new number.
#pragma once

namespace kestrel {

inline constexpr int kMaxPads = 4;  // pad slots 0..3

// The buttons of a pad laid out like the common console pads (south A, east
// B, west X, north Y), then the left stick's directions.
enum class PadButton {
    A, B, X, Y, Back, Guide, Start, LeftStickPress, RightStickPress, LeftShoulder,
    RightShoulder, DpadUp, DpadDown, DpadLeft, DpadRight,
    StickUp, StickDown, StickLeft, StickRight,
    Count
};

// The axes of a pad: the two sticks' x and y and the two triggers.
enum class PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, Count };

// The left stick counts as pushed in a direction once its axis passes half
// way, and as let go only when it comes back inside the dead zone (a quarter
// of the way): one push is one press, and a stick resting near the middle or
// wobbling at the threshold presses nothing.
// @{
// The left stick counts as pushed in a direction once its axis passes half
// way (kStickPress), and as let go only inside the dead zone (kStickDeadZone),
// in axis units of -32768..32767.
inline constexpr int kStickPress = 16384;
inline constexpr int kStickDeadZone = 8192;
// @}

// The dead zone of PadAxisValue's sticks, a tenth of the way out from the
// middle: a stick resting a little off centre reads 0, and past it the value
// grows from 0 so that the stick's whole travel still reaches 1 with no jump.
inline constexpr float kPadAxisDeadZone = 0.1f;

namespace EventId {
// data: the pad's slot; x: the button (PadButton) or axis (PadAxis); y: the
// axis position, -32768..32767 (up and left are negative).
inline constexpr int PadButtonDown = 0x40001;  // a pad button went down
inline constexpr int PadButtonUp = 0x40002;    // a pad button went up
inline constexpr int PadAxisMove = 0x40003;    // a pad axis moved
inline constexpr int PadAdded = 0x40004;       // a pad was connected
inline constexpr int PadRemoved = 0x40005;     // a pad was disconnected
}  // namespace EventId

// Attaches the pad hook (once) and registers the pad events' names.
void EnablePolledPads();
// Detaches the pad hook; PadHit and PadDown then stay as they were.
void DisablePolledPads();

// Presses of a button on the pad in a slot since the last read (cleared).
// Slots and buttons outside the tables read 0.
int PadHit(int pad, PadButton button);
// The presses on any pad, each pad's count cleared.
int PadHitAny(PadButton button);
// 1 while the button (or stick direction) is held.
int PadDown(int pad, PadButton button);
// Whether a pad is connected in the slot.
bool PadConnected(int pad);
// Where an axis of the pad in a slot is now: a stick's x or y in -1..1 (left
// and up negative, kPadAxisDeadZone around the middle reading 0), a trigger
// in 0..1 (no dead zone: it rests at 0). 0 for an empty slot and for an axis
// or slot outside the tables; an axis reads 0 from the pad's connection until
// it first moves.
float PadAxisValue(int pad, PadAxis axis);
// Clears every pad's counted presses. What is held stays held: a stick kept
// pushed through a flush does not press again until it is let go.
void FlushPads();

}  // namespace kestrel
