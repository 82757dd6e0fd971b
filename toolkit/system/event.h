// Events: records emitted through the EmitEventHook chain, with a registry
// of id names.
#pragma once

#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

namespace EventId {
inline constexpr int AppSuspend = 0x101;
inline constexpr int AppResume = 0x102;
inline constexpr int AppTerminate = 0x103;
inline constexpr int AppOpenFile = 0x104;
inline constexpr int AppIdle = 0x105;
inline constexpr int KeyDown = 0x201;
inline constexpr int KeyUp = 0x202;
inline constexpr int KeyChar = 0x203;
inline constexpr int KeyRepeat = 0x204;
inline constexpr int MouseDown = 0x401;
inline constexpr int MouseUp = 0x402;
inline constexpr int MouseMove = 0x403;
inline constexpr int MouseWheel = 0x404;
inline constexpr int MouseEnter = 0x405;
inline constexpr int MouseLeave = 0x406;
inline constexpr int TimerTick = 0x801;
inline constexpr int HotkeyHit = 0x1001;
inline constexpr int GadgetAction = 0x2001;
inline constexpr int WindowMove = 0x4001;
inline constexpr int MenuAction = 0x8001;
inline constexpr int StreamEof = 0x10001;
inline constexpr int StreamAvail = 0x10002;
inline constexpr int ProcessExit = 0x20001;
}  // namespace EventId

// Modifier mask bits.
inline constexpr int kModShift = 1;
inline constexpr int kModControl = 2;
inline constexpr int kModAlt = 4;
inline constexpr int kModSystem = 8;

class TEvent : public Object {
public:
    int id = 0;
    ObjectPtr source;
    int data = 0;
    int mods = 0;
    int x = 0;
    int y = 0;
    ObjectPtr extra;

    // Runs the EmitEventHook chain with this event as data.
    void Emit();
    std::string ToString() const override;

    static std::shared_ptr<TEvent> Create(int id, ObjectPtr source = nullptr, int data = 0,
                                          int mods = 0, int x = 0, int y = 0,
                                          ObjectPtr extra = nullptr);
    // User ids: 0x80000001, 0x80000002...
    static int AllocUserId();
    static void RegisterId(int id, const std::string& name);
    static std::string DescriptionForId(int id);
};

using TEventPtr = std::shared_ptr<TEvent>;

// The hook chain every emitted event runs through.
int EmitEventHook();

// Registers the standard id names and allocates EmitEventHook.
void InitEvents();

}  // namespace kestrel
