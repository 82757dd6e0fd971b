// Events: records emitted through the EmitEventHook chain, with a registry
// of id names.
#pragma once

#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

// The ids of the standard events (TEvent::id); DescriptionForId gives each
// its name ("AppSuspend", "KeyDown"...).
namespace EventId {
inline constexpr int AppSuspend = 0x101;   // the window lost activation to another program
inline constexpr int AppResume = 0x102;    // the window was activated again
inline constexpr int AppTerminate = 0x103; // a request to close the window (its close button)
inline constexpr int AppOpenFile = 0x104;  // a file was handed to the program to open
inline constexpr int AppIdle = 0x105;      // the program is idle
inline constexpr int KeyDown = 0x201;      // a key went down; data = key code (KEY_*)
inline constexpr int KeyUp = 0x202;        // a key went up; data = key code
inline constexpr int KeyChar = 0x203;      // a character was typed; data = character code
inline constexpr int KeyRepeat = 0x204;    // a held key repeated; data = key code
inline constexpr int MouseDown = 0x401;    // a button went down; data = MOUSE_*, x, y = position
inline constexpr int MouseUp = 0x402;      // a button went up; data = MOUSE_*, x, y = position
inline constexpr int MouseMove = 0x403;    // the mouse moved; x, y = position in the window
inline constexpr int MouseWheel = 0x404;   // the wheel turned; data = notches (positive away from the user)
inline constexpr int MouseEnter = 0x405;   // the mouse entered the window
inline constexpr int MouseLeave = 0x406;   // the mouse left the window
inline constexpr int TimerTick = 0x801;    // a timer ticked; source = the TTimer, data = its tick count
inline constexpr int HotkeyHit = 0x1001;   // a registered hot key was pressed
inline constexpr int GadgetAction = 0x2001;  // a user-interface gadget was used
inline constexpr int WindowMove = 0x4001;  // a window moved
inline constexpr int MenuAction = 0x8001;  // a menu entry was chosen
inline constexpr int StreamEof = 0x10001;  // a stream reached its end
inline constexpr int StreamAvail = 0x10002;  // a stream has data to read
inline constexpr int ProcessExit = 0x20001;  // a child process ended
}  // namespace EventId

// @{
// Modifier mask bits of TEvent::mods: shift 1, control 2, alt 4, the system
// (Windows) key 8, or-ed together.
inline constexpr int kModShift = 1;
inline constexpr int kModControl = 2;
inline constexpr int kModAlt = 4;
inline constexpr int kModSystem = 8;
// @}

// An event: what happened (id), who raised it and its data. Events of the
// graphics window (keys, mouse, activation, close) have a null source.
class TEvent : public Object {
public:
    int id = 0;          // event id (EventId::*, or one of AllocUserId)
    ObjectPtr source;    // the object that raised it; null for the graphics window's events
    int data = 0;        // key code, character, mouse button, wheel notches or timer ticks
    int mods = 0;        // modifier mask (kMod*) at the time of the event
    int x = 0;           // mouse position in the window's pixels (mouse events), else 0
    int y = 0;           // (as x, downwards from the top)
    ObjectPtr extra;     // further payload; null unless given

    // Runs the EmitEventHook chain with this event as data.
    void Emit();
    // The name and fields: "KeyDown: data=27, mods=0, x=0, y=0, extra=\"\"".
    std::string ToString() const override;

    // A new event with these fields.
    static std::shared_ptr<TEvent> Create(int id, ObjectPtr source = nullptr, int data = 0,
                                          int mods = 0, int x = 0, int y = 0,
                                          ObjectPtr extra = nullptr);
    // User ids: 0x80000001, 0x80000002...
    static int AllocUserId();
    // Names an id for DescriptionForId and ToString.
    static void RegisterId(int id, const std::string& name);
    // The name registered for id; empty when it has none.
    static std::string DescriptionForId(int id);
};

// A shared event; null is no event.
using TEventPtr = std::shared_ptr<TEvent>;

// The hook chain every emitted event runs through.
int EmitEventHook();

// Registers the standard id names and allocates EmitEventHook.
void InitEvents();

}  // namespace kestrel
