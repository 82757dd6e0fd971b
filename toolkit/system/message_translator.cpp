#include "toolkit/system/message_translator.h"

#include <map>

#include "toolkit/system/event.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/pad_input.h"

namespace kestrel {

namespace {

struct TranslatorState {
    int mods = 0;
    std::uintptr_t tracked = 0;
    bool cursorVisible = true;
    int lastX = 0, lastY = 0;
};

TranslatorState g_state;
TranslatorHost g_host;
// Never destroyed: a program that ends with its graphics still open closes
// its window while the program's globals are being destroyed, and this
// file's may be gone by then (the close then wrote to a freed map).
std::map<std::uintptr_t, WindowProcedure>& Procedures() {
    static auto* procedures = new std::map<std::uintptr_t, WindowProcedure>;
    return *procedures;
}

void Emit(int id, const ObjectPtr& source, int data, int x, int y) {
    TEvent::Create(id, source, data, g_state.mods, x, y)->Emit();
}

void ApplyCursor() {
    if (g_host.showCursor) g_host.showCursor(g_state.cursorVisible || g_state.tracked == 0);
}

bool IsPadMessage(MessageKind kind) {
    return kind == MessageKind::PadAdded || kind == MessageKind::PadRemoved ||
           kind == MessageKind::PadButtonDown || kind == MessageKind::PadButtonUp ||
           kind == MessageKind::PadAxis;
}

bool IsModifierKey(int vkey) {
    return vkey == KEY_SHIFT || vkey == KEY_CONTROL || vkey == KEY_ALT || vkey == KEY_LSYS ||
           vkey == KEY_RSYS;
}

// Held buttons of a move message.
constexpr int kHeldLeft = 1, kHeldRight = 2, kHeldMiddle = 4;

// Held button of a move: right over middle over left.
int MoveButton(int buttons) {
    if (buttons & kHeldRight) return kHeldRight;
    if (buttons & kHeldMiddle) return kHeldMiddle;
    if (buttons & kHeldLeft) return kHeldLeft;
    return 0;
}

void TrackMove(const PlatformMessage& m, const ObjectPtr& source) {
    const bool inside = m.x >= 0 && m.y >= 0 && m.x < m.clientWidth && m.y < m.clientHeight;
    const std::uintptr_t now = inside ? m.window : 0;
    if (now == g_state.tracked) return;
    if (g_state.tracked) Emit(EventId::MouseLeave, source, 0, m.x, m.y);
    g_state.tracked = now;
    ApplyCursor();
    if (now) {
        Emit(EventId::MouseEnter, source, 0, m.x, m.y);
        if (g_host.trackLeave) g_host.trackLeave(now);
    }
}

}  // namespace

void SetTranslatorHost(const TranslatorHost& host) { g_host = host; }

int TranslateKeyCode(int vkey, int scancode, bool extended) {
    const int s = (scancode & 0x7f) + (extended ? 0x80 : 0);
    switch (s) {
    case 42: return KEY_LSHIFT;
    case 54: return KEY_RSHIFT;
    case 29: return KEY_LCONTROL;
    case 157: return KEY_RCONTROL;
    case 56: return KEY_LALT;
    case 184: return KEY_RALT;
    default: return vkey;
    }
}

void TranslateMessage(const PlatformMessage& m, const ObjectPtr& source) {
    using namespace EventId;
    switch (m.kind) {
    case MessageKind::Activate:
        if (m.minimized || m.otherInProcess) return;
        Emit(AppResume, source, 0, 0, 0);
        return;
    case MessageKind::Deactivate:
        if (m.otherInProcess) return;
        Emit(AppSuspend, source, 0, 0, 0);
        return;
    case MessageKind::Close:
        Emit(AppTerminate, source, 0, 0, 0);
        return;
    case MessageKind::KeyDown:
        if (m.vkey < 1 || m.vkey > 255) return;
        Emit(m.repeat ? KeyRepeat : KeyDown, source,
             TranslateKeyCode(m.vkey, m.scancode, m.extended), 0, 0);
        return;
    case MessageKind::KeyUp:
        if (m.vkey < 1 || m.vkey > 255) return;
        Emit(KeyUp, source, TranslateKeyCode(m.vkey, m.scancode, m.extended), 0, 0);
        return;
    case MessageKind::Char:
        Emit(KeyChar, source, m.character, 0, 0);
        return;
    case MessageKind::MouseMove:
        TrackMove(m, source);
        g_state.lastX = m.x;
        g_state.lastY = m.y;
        Emit(MouseMove, source, MoveButton(m.buttons), m.x, m.y);
        return;
    case MessageKind::MouseDown:
        Emit(MouseDown, source, m.button, m.x, m.y);
        if (g_host.setCapture) g_host.setCapture(m.window, true);
        return;
    case MessageKind::MouseUp:
        Emit(MouseUp, source, m.button, m.x, m.y);
        if (g_host.setCapture) g_host.setCapture(m.window, false);
        return;
    case MessageKind::MouseWheel:
        Emit(MouseWheel, source, m.wheel / 120, m.x, m.y);
        return;
    case MessageKind::MouseLeave:
        if (g_state.tracked != m.window || m.window == 0) return;
        g_state.tracked = 0;
        Emit(MouseLeave, source, 0, g_state.lastX, g_state.lastY);
        ApplyCursor();
        return;
    case MessageKind::Destroy:
        if (g_state.tracked == m.window) {
            g_state.tracked = 0;
            ApplyCursor();
        }
        return;
    case MessageKind::PadAdded:
        Emit(PadAdded, source, m.pad, 0, 0);
        return;
    case MessageKind::PadRemoved:
        Emit(PadRemoved, source, m.pad, 0, 0);
        return;
    case MessageKind::PadButtonDown:
        Emit(PadButtonDown, source, m.pad, m.padControl, 0);
        return;
    case MessageKind::PadButtonUp:
        Emit(PadButtonUp, source, m.pad, m.padControl, 0);
        return;
    case MessageKind::PadAxis:
        Emit(PadAxisMove, source, m.pad, m.padControl, m.padValue);
        return;
    case MessageKind::Other:
        return;
    }
}

bool PumpMessage(const PlatformMessage& m) {
    if (IsPadMessage(m.kind)) {
        TranslateMessage(m);
        return true;
    }
    if ((m.kind == MessageKind::KeyDown || m.kind == MessageKind::KeyUp) && IsModifierKey(m.vkey))
        g_state.mods = m.keyMods;
    const auto it = Procedures().find(m.window);
    if (it == Procedures().end() || !it->second) return false;
    it->second(m);
    return true;
}

void SetWindowProcedure(std::uintptr_t window, WindowProcedure procedure) {
    Procedures()[window] = procedure;
}

void RemoveWindowProcedure(std::uintptr_t window) { Procedures().erase(window); }

int CurrentModifiers() { return g_state.mods; }

void SetCursorVisible(bool visible) {
    g_state.cursorVisible = visible;
    ApplyCursor();
}

bool CursorVisibleFlag() { return g_state.cursorVisible; }
std::uintptr_t TrackedWindow() { return g_state.tracked; }

void ResetTranslator() {
    g_state = TranslatorState{};
    Procedures().clear();
}

}  // namespace kestrel
