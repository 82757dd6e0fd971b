// Textures are not deleted when their frame goes (that may happen with no
// context current, or at program end): their names wait in a list tied to
// one graphics generation and are deleted at the next texture creation of
// that same generation. Names from an older generation are dropped, because
// that generation's textures went with its context.
#pragma once

#include <vector>

namespace kestrel {

class TextureDeletionQueue {
public:
    // A frame made under `frame_seq` lets its texture go. Kept only when
    // the list belongs to that generation (frame_seq 0: never made).
    void Queue(unsigned name, int frame_seq);

    // Before creating a texture under `current_seq`: the names to delete
    // now (only if the list belongs to this generation); the list is then
    // emptied and tied to `current_seq`.
    std::vector<unsigned> TakeForCreation(int current_seq);

    int seq() const { return seq_; }
    std::size_t pending() const { return names_.size(); }

private:
    std::vector<unsigned> names_;
    int seq_ = 0;
};

// The one queue of the OpenGL driver (never destroyed, so frames released
// during program exit can still reach it).
TextureDeletionQueue& GLTextureDeletionQueue();

}  // namespace kestrel
