#include "toolkit/graphics/texture_deletion_queue.h"

#include <utility>

namespace kestrel {

void TextureDeletionQueue::Queue(unsigned name, int frame_seq) {
    if (frame_seq == 0 || frame_seq != seq_) return;
    // The list grows 10 entries at a time.
    if (names_.size() == names_.capacity()) names_.reserve(names_.size() + 10);
    names_.push_back(name);
}

std::vector<unsigned> TextureDeletionQueue::TakeForCreation(int current_seq) {
    std::vector<unsigned> doomed;
    if (seq_ == current_seq) doomed = std::move(names_);
    names_.clear();
    seq_ = current_seq;
    return doomed;
}

TextureDeletionQueue& GLTextureDeletionQueue() {
    static TextureDeletionQueue* queue = new TextureDeletionQueue;
    return *queue;
}

}  // namespace kestrel
