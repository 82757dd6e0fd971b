#include "toolkit/system/polled_input.h"

#include <array>

#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/terminate_policy.h"

namespace kestrel {

namespace {

struct PolledState {
    std::array<int, 256> keyStates{};
    std::array<int, 256> keyHits{};
    std::array<int, 256> chars{};
    int charGet = 0;
    int charPut = 0;
    std::array<int, 4> mouseStates{};
    std::array<int, 4> mouseHits{};
    int x = 0, y = 0, z = 0;
    int lastX = 0, lastY = 0, lastZ = 0;
    bool enabled = false;
    ObjectPtr source;
    int suspended = 0;
    int suspendHits = 0;
    int terminate = 0;
};

PolledState g;

// Keys and buttons are masked into the tables rather than checked: the
// callers pass 0..255 and 0..3, and a stray value must not leave them.
int& At(std::array<int, 256>& table, int key) { return table[static_cast<unsigned>(key) & 255u]; }
int& At(std::array<int, 4>& table, int button) { return table[static_cast<unsigned>(button) & 3u]; }

void FlushKeyTables() {
    g.charGet = g.charPut = 0;
    g.keyStates.fill(0);
    g.keyHits.fill(0);
}

void FlushMouseTables() {
    g.mouseStates.fill(0);
    g.mouseHits.fill(0);
    g.z = 0;
}

ObjectPtr PolledInputHook(int, const ObjectPtr& data, const ObjectPtr&) {
    auto event = std::dynamic_pointer_cast<TEvent>(data);
    if (!event) return data;
    if (g.source && event->source != g.source) return data;
    switch (event->id) {
    case EventId::AppSuspend:
        FlushKeys();
        FlushMouse();
        g.suspended = 1;
        g.suspendHits += 1;
        break;
    case EventId::AppResume:
        FlushKeys();
        FlushMouse();
        g.suspended = 0;
        break;
    case EventId::AppTerminate:
        g.terminate = 1;
        break;
    case EventId::KeyDown: {
        int& state = At(g.keyStates, event->data);
        if (state != 1) {
            state = 1;
            At(g.keyHits, event->data) += 1;
        }
        break;
    }
    case EventId::KeyUp:
        At(g.keyStates, event->data) = 0;
        break;
    case EventId::KeyChar:
        if (g.charPut - g.charGet > 255) break;  // queue full: dropped
        g.chars[static_cast<unsigned>(g.charPut) & 255u] = event->data;
        g.charPut += 1;
        break;
    case EventId::MouseDown: {
        int& state = At(g.mouseStates, event->data);
        if (state != 1) {
            state = 1;
            At(g.mouseHits, event->data) += 1;
        }
        break;
    }
    case EventId::MouseUp:
        At(g.mouseStates, event->data) = 0;
        break;
    case EventId::MouseMove:
        g.x = event->x;
        g.y = event->y;
        break;
    case EventId::MouseWheel:
        g.z += event->data;
        break;
    default:
        break;
    }
    return data;
}

}  // namespace

void EnablePolledInput(ObjectPtr source) {
    if (g.enabled) return;
    g.source = std::move(source);
    FlushKeys();
    FlushMouse();
    AddHook(EmitEventHook(), PolledInputHook, nullptr, 0);
    g.enabled = true;
}

void DisablePolledInput() {
    if (!g.enabled) return;
    RemoveHook(EmitEventHook(), PolledInputHook, nullptr);
    FlushKeys();
    FlushMouse();
    g.source = nullptr;
    g.enabled = false;
}

bool PolledInputEnabled() { return g.enabled; }

int KeyHit(int key) {
    PollSystem();
    int& hits = At(g.keyHits, key);
    const int n = hits;
    hits = 0;
    return n;
}

int KeyDown(int key) {
    PollSystem();
    return At(g.keyStates, key);
}

int GetChar() {
    PollSystem();
    if (g.charGet == g.charPut) return 0;
    const int c = g.chars[static_cast<unsigned>(g.charGet) & 255u];
    g.charGet += 1;
    return c;
}

void FlushKeys() {
    PollSystem();
    FlushKeyTables();
}

int MouseHit(int button) {
    PollSystem();
    int& hits = At(g.mouseHits, button);
    const int n = hits;
    hits = 0;
    return n;
}

int MouseDown(int button) {
    PollSystem();
    return At(g.mouseStates, button);
}

int MouseX() {
    PollSystem();
    return g.x;
}
int MouseY() {
    PollSystem();
    return g.y;
}
int MouseZ() {
    PollSystem();
    return g.z;
}

int MouseXSpeed() {
    PollSystem();
    const int d = g.x - g.lastX;
    g.lastX = g.x;
    return d;
}
int MouseYSpeed() {
    PollSystem();
    const int d = g.y - g.lastY;
    g.lastY = g.y;
    return d;
}
int MouseZSpeed() {
    PollSystem();
    const int d = g.z - g.lastZ;
    g.lastZ = g.z;
    return d;
}

void FlushMouse() {
    PollSystem();
    FlushMouseTables();
}

int WaitKey() {
    FlushKeys();
    for (;;) {
        WaitSystem();
        for (int key = 1; key < 256; ++key)
            if (KeyHit(key)) return key;
    }
}

int WaitChar() {
    FlushKeys();
    for (;;) {
        WaitSystem();
        if (const int c = GetChar()) return c;
    }
}

int WaitMouse() {
    FlushMouse();
    for (;;) {
        WaitSystem();
        for (int button = 1; button < 4; ++button)
            if (MouseHit(button)) return button;
    }
}

int AppSuspended() {
    PollSystem();
    return g.suspended;
}

int AppSuspendHit() {
    PollSystem();
    const int n = g.suspendHits;
    g.suspendHits = 0;
    return n;
}

int AppTerminate() {
    // Asking hands the decision over to the program (see terminate_policy.h),
    // before the pump below can act on a request.
    NoteAppTerminateAsked(g.enabled);
    PollSystem();
    const int t = g.terminate;
    g.terminate = 0;
    return t;
}

}  // namespace kestrel
