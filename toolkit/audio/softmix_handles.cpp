#include "toolkit/audio/softmix_handles.h"

namespace kestrel::softmix {

HandleTable::HandleTable() : slots_(kHandleSlots) {
    for (std::uint32_t i = 0; i < kHandleSlots; ++i) slots_[i].next = (i + 1) & kSlotMask;
}

std::uint32_t HandleTable::Alloc() {
    const std::uint32_t i = slots_[0].next;
    if (i == 0) return 0;
    Slot& s = slots_[i];
    slots_[0].next = s.next;
    s.handle = s.generation | i;
    s.generation += kHandleSlots;
    s.voice = nullptr;
    return s.handle;
}

bool HandleTable::Valid(std::uint32_t handle) const {
    const std::uint32_t i = handle & kSlotMask;
    return i != 0 && slots_[i].handle == handle;
}

void HandleTable::Free(std::uint32_t handle) {
    if (!Valid(handle)) return;
    const std::uint32_t i = handle & kSlotMask;
    Slot& s = slots_[i];
    s.handle = 0;
    s.voice = nullptr;
    s.next = slots_[0].next;
    slots_[0].next = i;
}

}  // namespace kestrel::softmix
