#include "toolkit/graphics/gl_state_cache.h"

namespace kestrel {

void GLStateCache::Reset() {
    blend_ = 0;
    texture_ = 0;
    texture_enabled_ = false;
    texture_replaces_ = -1;
}

bool GLStateCache::ChangeBlend(int mode) {
    if (mode == blend_) return false;
    blend_ = mode;
    ++counts_.blend;
    return true;
}

bool GLStateCache::ChangeTexture(unsigned name) {
    if (name == texture_) return false;
    texture_ = name;
    ++counts_.texture;
    return true;
}

bool GLStateCache::ChangeTextureEnabled(bool enabled) {
    if (enabled == texture_enabled_) return false;
    texture_enabled_ = enabled;
    ++counts_.texture_enable;
    return true;
}

bool GLStateCache::ChangeTextureReplaces(bool replaces) {
    if (int(replaces) == texture_replaces_) return false;
    texture_replaces_ = int(replaces);
    ++counts_.texture_env;
    return true;
}

void GLStateCache::ForgetTexture(unsigned name) {
    if (name == texture_) texture_ = 0;
}

}  // namespace kestrel
