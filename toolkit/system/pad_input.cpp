#include "toolkit/system/pad_input.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {

namespace {

constexpr int kButtons = static_cast<int>(PadButton::Count);
constexpr int kAxes = static_cast<int>(PadAxis::Count);

struct Pad {
    bool connected = false;
    std::array<int, kButtons> down{};
    std::array<int, kButtons> hits{};
    std::array<int, kAxes> axes{};  // the last positions, -32768..32767
};

struct PadTables {
    std::array<Pad, kMaxPads> pads{};
    bool enabled = false;
};

PadTables g;

bool InTable(int pad) { return pad >= 0 && pad < kMaxPads; }
int Index(PadButton b) { return static_cast<int>(b); }

void Press(Pad& pad, PadButton b) {
    int& down = pad.down[Index(b)];
    if (down) return;
    down = 1;
    pad.hits[Index(b)] += 1;
}

void Release(Pad& pad, PadButton b) { pad.down[Index(b)] = 0; }

// One half of a stick axis as a button: pressed past kStickPress, let go
// inside the dead zone, left as it is in between.
void StickHalf(Pad& pad, PadButton b, int towards) {
    if (towards > kStickPress) Press(pad, b);
    else if (towards < kStickDeadZone) Release(pad, b);
}

void Axis(Pad& pad, int axis, int value) {
    if (axis >= 0 && axis < kAxes) pad.axes[static_cast<std::size_t>(axis)] = value;
    // -value of -32768 is 32768: still inside int.
    if (axis == static_cast<int>(PadAxis::LeftX)) {
        StickHalf(pad, PadButton::StickLeft, -value);
        StickHalf(pad, PadButton::StickRight, value);
    } else if (axis == static_cast<int>(PadAxis::LeftY)) {
        StickHalf(pad, PadButton::StickUp, -value);
        StickHalf(pad, PadButton::StickDown, value);
    }
}

ObjectPtr PadHook(int, const ObjectPtr& data, const ObjectPtr&) {
    auto event = std::dynamic_pointer_cast<TEvent>(data);
    if (!event || !InTable(event->data)) return data;
    Pad& pad = g.pads[static_cast<std::size_t>(event->data)];
    switch (event->id) {
    case EventId::PadAdded:
        pad = Pad{};
        pad.connected = true;
        break;
    case EventId::PadRemoved:
        // Its presses already counted stay to be read; nothing stays held.
        pad.connected = false;
        pad.down.fill(0);
        pad.axes.fill(0);
        break;
    case EventId::PadButtonDown:
        if (event->x >= 0 && event->x < Index(PadButton::StickUp))
            Press(pad, static_cast<PadButton>(event->x));
        break;
    case EventId::PadButtonUp:
        if (event->x >= 0 && event->x < Index(PadButton::StickUp))
            Release(pad, static_cast<PadButton>(event->x));
        break;
    case EventId::PadAxisMove:
        Axis(pad, event->x, event->y);
        break;
    default:
        break;
    }
    return data;
}

void RegisterNames() {
    TEvent::RegisterId(EventId::PadButtonDown, "PadButtonDown");
    TEvent::RegisterId(EventId::PadButtonUp, "PadButtonUp");
    TEvent::RegisterId(EventId::PadAxisMove, "PadAxisMove");
    TEvent::RegisterId(EventId::PadAdded, "PadAdded");
    TEvent::RegisterId(EventId::PadRemoved, "PadRemoved");
}

}  // namespace

void EnablePolledPads() {
    if (g.enabled) return;
    RegisterNames();
    g.pads = {};
    AddHook(EmitEventHook(), PadHook, nullptr, 0);
    g.enabled = true;
}

void DisablePolledPads() {
    if (!g.enabled) return;
    RemoveHook(EmitEventHook(), PadHook, nullptr);
    g.pads = {};
    g.enabled = false;
}

int PadHit(int pad, PadButton button) {
    PollSystem();
    const int b = Index(button);
    if (!InTable(pad) || b < 0 || b >= kButtons) return 0;
    int& hits = g.pads[static_cast<std::size_t>(pad)].hits[static_cast<std::size_t>(b)];
    const int n = hits;
    hits = 0;
    return n;
}

int PadHitAny(PadButton button) {
    int n = 0;
    for (int pad = 0; pad < kMaxPads; ++pad) n += PadHit(pad, button);
    return n;
}

int PadDown(int pad, PadButton button) {
    PollSystem();
    const int b = Index(button);
    if (!InTable(pad) || b < 0 || b >= kButtons) return 0;
    return g.pads[static_cast<std::size_t>(pad)].down[static_cast<std::size_t>(b)];
}

bool PadConnected(int pad) {
    PollSystem();
    return InTable(pad) && g.pads[static_cast<std::size_t>(pad)].connected;
}

float PadAxisValue(int pad, PadAxis axis) {
    PollSystem();
    const int a = static_cast<int>(axis);
    if (!InTable(pad) || a < 0 || a >= kAxes) return 0.0f;
    const Pad& p = g.pads[static_cast<std::size_t>(pad)];
    if (!p.connected) return 0.0f;
    // Both directions end at 32767 out, so that -32768 reads -1 like 32767 reads 1.
    const float v = std::clamp(static_cast<float>(p.axes[static_cast<std::size_t>(a)]) / 32767.0f,
                               -1.0f, 1.0f);
    if (axis == PadAxis::LeftTrigger || axis == PadAxis::RightTrigger) return std::max(v, 0.0f);
    const float out = std::abs(v);
    if (out <= kPadAxisDeadZone) return 0.0f;
    return std::copysign((out - kPadAxisDeadZone) / (1.0f - kPadAxisDeadZone), v);
}

void FlushPads() {
    PollSystem();
    for (Pad& pad : g.pads) pad.hits.fill(0);
}

}  // namespace kestrel
