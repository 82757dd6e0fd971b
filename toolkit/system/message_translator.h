// The message translator: turns the platform's window messages, given as
// neutral records, into the toolkit's events, and keeps the state the
// translation needs (modifier mask, mouse tracking, cursor visibility).
// The platform's message pump hands every record to PumpMessage, which
// passes it to the window procedure registered for its window; graphics
// windows register one that first calls TranslateMessage.
#pragma once

#include <cstdint>

#include "toolkit/core/object.h"

namespace kestrel {

enum class MessageKind {
    Activate,    // the window gained activation (keyboard focus)
    Deactivate,  // it lost activation
    Close,       // close request (AppTerminate; the SDL pump then ends the program)
    KeyDown,     // key pressed, or auto-repeated when repeat is set
    KeyUp,
    Char,        // a character was typed
    MouseMove,
    MouseDown,
    MouseUp,
    MouseWheel,
    MouseLeave,  // the platform's notice that the cursor left the window
    Destroy,     // the window is going away
    PadAdded,    // a gamepad was connected (pads belong to no window)
    PadRemoved,  // it went away
    PadButtonDown,
    PadButtonUp,
    PadAxis,     // a stick or trigger moved
    Other,
};

struct PlatformMessage {
    std::uintptr_t window = 0;  // the platform layer's window id; 0 for none
    MessageKind kind = MessageKind::Other;
    int vkey = 0;               // Windows virtual-key code (16 for either shift...)
    int scancode = 0;           // PC set-1 scan code, 0..127
    bool extended = false;      // the extended-key bit
    bool repeat = false;        // auto-repeat of a held key
    int character = 0;          // Char: the character code
    int x = 0, y = 0;           // cursor position in client coordinates
    int button = 0;             // MouseDown/Up: 1 left, 2 right, 3 middle
    int buttons = 0;            // MouseMove: held buttons, 1 left, 2 right, 4 middle
    int wheel = 0;              // MouseWheel: delta in 120ths of a notch
    int keyMods = 0;            // modifier mask of the key state after this message
    bool minimized = false;     // Activate: the window is minimised
    bool otherInProcess = false;  // (De)activate: the other window is this program's
    int clientWidth = 0, clientHeight = 0;  // client area of the window
    int pad = 0;                // Pad*: the pad's slot
    int padControl = 0;         // PadButton*: the PadButton; PadAxis: the PadAxis
    int padValue = 0;           // PadAxis: the position, -32768..32767
};

// What the translator asks of the platform.
struct TranslatorHost {
    void (*setCapture)(std::uintptr_t window, bool capture) = nullptr;
    void (*showCursor)(bool show) = nullptr;
    void (*trackLeave)(std::uintptr_t window) = nullptr;
};
void SetTranslatorHost(const TranslatorHost& host);

// The key code of a key message: the left and right modifiers are told
// apart by scan code and extended bit (shift 160/161, control 162/163, alt
// 164/165); any other key keeps its virtual-key code.
int TranslateKeyCode(int vkey, int scancode, bool extended);

// Emits the events for one message; source is the events' source (null for
// graphics windows).
void TranslateMessage(const PlatformMessage& message, const ObjectPtr& source = nullptr);

// The pump's part: rebuilds the modifier mask on modifier-key messages,
// then hands the message to its window's procedure (messages for other
// windows are dropped). Returns whether a procedure took it. Gamepad
// messages belong to no window: they are translated at once.
using WindowProcedure = void (*)(const PlatformMessage& message);
bool PumpMessage(const PlatformMessage& message);
void SetWindowProcedure(std::uintptr_t window, WindowProcedure procedure);
void RemoveWindowProcedure(std::uintptr_t window);

// Modifier mask: 1 shift, 2 control, 4 alt, 8 system key.
int CurrentModifiers();

// The program's wish for the cursor (HideMouse/ShowMouse). The cursor is
// hidden only while it is over a tracked program window.
void SetCursorVisible(bool visible);
bool CursorVisibleFlag();
// The window the cursor is over (0 for none).
std::uintptr_t TrackedWindow();

// Back to the initial state (tests).
void ResetTranslator();

}  // namespace kestrel
