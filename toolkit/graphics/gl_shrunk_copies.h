// Shrunk copies of a mip-mapped texture. Drawn smaller than itself, such a
// texture is filtered from two mip levels at every pixel of every draw,
// which costs a software renderer about twice the nearest texel's price. A
// picture drawn again and again at one shrunk size on whole pixels (a
// game's pieces) is filtered instead once, into a copy of exactly the
// drawn size, which later draws read texel for texel with the nearest
// filter: the same pixels, within one level of rounding, for about half the
// work (measured on Mesa's llvmpipe: 512 pieces of 36 x 36 pixels from
// 48 x 48 took 6.7 ms filtered, 2.9 ms read from a copy).
//
// A size gets its copy when it is drawn in a second frame, so that a
// picture shrinking or growing from frame to frame makes none. Each frame
// of an image keeps at most kMaxCopies, the least recently drawn going
// first (never one drawn in the same frame), and at most kMadePerFrame
// copies are made in one frame.
#pragma once

#include <functional>
#include <vector>

#include "toolkit/graphics/texture_layout.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

// One copy: the texture, its size (a power of two each way) and the drawn
// size it holds at its top-left corner, rows top first.
struct GLShrunkCopy {
    unsigned name = 0;
    TexSize tex;
    int width = 0, height = 0;
};

class GLShrunkCopies {
public:
    static constexpr int kMaxCopies = 4;
    static constexpr int kMadePerFrame = 8;

    // What a copy is of: texture coordinates of the source rectangle's
    // corners (u0, v0) at the drawn top-left, (u1, v1) at the bottom-right,
    // and the drawn size in pixels.
    struct Key {
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
        int width = 0, height = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    GLShrunkCopies() = default;
    GLShrunkCopies(const GLShrunkCopies&) = delete;
    GLShrunkCopies& operator=(const GLShrunkCopies&) = delete;
    // Queues the copies' textures for deletion.
    ~GLShrunkCopies();

    // The copy for a draw of `key` in frame `frame` (a count of swaps), made
    // now when the key was drawn in an earlier frame: `bind_source` binds
    // the source texture with its mip filter, and the copy is filtered from
    // it into a new texture through a framebuffer object, the renderer's
    // state kept. Null while the key has no copy (draw it filtered).
    const GLShrunkCopy* Find(const Key& key, long frame, const std::function<void()>& bind_source);

    // Drops every copy (the source texture's pixels changed).
    void Clear();

    std::size_t copies() const;

private:
    struct Entry {
        Key key;
        GLShrunkCopy copy;
        int seq = 0;          // GraphicsSeq when the copy was made
        long first_frame = 0;  // the frame the key was first drawn in
        long last_frame = 0;   // the frame it was last drawn in
        bool failed = false;   // the renderer could not make it
    };
    void Drop(Entry& entry);
    std::vector<Entry> entries_;
};

// The source rectangle of `key` filtered as Find filters a copy (bound by
// `bind_source`), read back into a new PF_RGBA8888 pixmap of key.width x
// key.height, rows top first; no copy is kept. Null when the renderer
// cannot draw into a texture.
TPixmapPtr ReadFiltered(const GLShrunkCopies::Key& key, const std::function<void()>& bind_source);

}  // namespace kestrel
