// The OpenGL driver's record of the state it last sent: blend mode, bound
// texture and texture enabling are sent only when they change. The cache
// decides; the driver sends. Every decision to send is counted, so tests can
// see how many state changes reached OpenGL.
#pragma once

#include <array>
#include <cstdint>

#include "toolkit/graphics/lumo2d_math.h"

namespace kestrel {

class GLStateCache {
public:
    // A fresh context: no blend mode sent (0), texture 0 bound, texturing
    // off, the texture combination not known.
    void Reset();

    // Each returns true when the new value must be sent (and records it).
    bool ChangeBlend(int mode);
    bool ChangeTexture(unsigned name);
    bool ChangeTextureEnabled(bool enabled);
    // How textures combine with the colour: false multiplies them by it
    // (OpenGL's modulation), true takes the texture alone, which is the
    // same picture for opaque white and less work for a software renderer.
    bool ChangeTextureReplaces(bool replaces);
    // 1 when the texture alone was sent, 0 modulation, -1 not known.
    int texture_replaces() const { return texture_replaces_; }

    // A texture name that was deleted: OpenGL rebinds 0 when the bound
    // texture goes, so the cache follows.
    void ForgetTexture(unsigned name);

    int blend() const { return blend_; }
    unsigned texture() const { return texture_; }
    bool texture_enabled() const { return texture_enabled_; }
    // Whether the colour as sent is opaque white.
    bool color_is_opaque_white() const {
        return color[0] == 255 && color[1] == 255 && color[2] == 255 && color[3] == 255;
    }

    // The colour as sent (red, green, blue, alpha) and the drawing matrix.
    std::array<std::uint8_t, 4> color{};
    Matrix2 matrix;
    // Window pixels per drawing unit (the graphics size over the virtual
    // resolution), for telling whether a textured draw shrinks its texture.
    float pixels_per_unit_x = 1, pixels_per_unit_y = 1;

    // State changes sent since the program started.
    struct Counts {
        long blend = 0;
        long texture = 0;
        long texture_enable = 0;
        long texture_env = 0;
        long total() const { return blend + texture + texture_enable + texture_env; }
    };
    const Counts& counts() const { return counts_; }

private:
    int blend_ = 0;
    unsigned texture_ = 0;
    bool texture_enabled_ = false;
    int texture_replaces_ = -1;  // unknown until sent
    Counts counts_;
};

}  // namespace kestrel
