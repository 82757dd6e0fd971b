// The mixer's channel handle table: 4096 slots, slot 0 heading the free
// list. A handle is the slot index (low 12 bits) plus the slot's generation
// (the other bits), which grows by 4096 every time the slot is handed out, so
// a handle whose slot was handed out again no longer matches. Main thread
// only.
#pragma once

#include <cstdint>
#include <vector>

namespace kestrel::softmix {

struct Voice;

inline constexpr int kHandleSlots = 4096;
inline constexpr std::uint32_t kSlotMask = kHandleSlots - 1;

class HandleTable {
public:
    HandleTable();

    // A fresh handle, or 0 when all 4095 slots are in use.
    std::uint32_t Alloc();
    // Returns the handle's slot to the free list; stale handles are ignored.
    void Free(std::uint32_t handle);
    // The voice attached to a live handle. Returns false for 0 and stale handles.
    bool Valid(std::uint32_t handle) const;
    Voice*& VoiceOf(std::uint32_t handle) { return slots_[handle & kSlotMask].voice; }

private:
    struct Slot {
        std::uint32_t generation = kHandleSlots;  // the next handout's generation
        std::uint32_t handle = 0;                 // the live handle, 0 while free
        std::uint32_t next = 0;                   // free-list link
        Voice* voice = nullptr;
    };
    std::vector<Slot> slots_;
};

}  // namespace kestrel::softmix
