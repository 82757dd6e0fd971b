// The OpenGL state cache: what it decides to send, and its counters.
#include <gtest/gtest.h>

#include "toolkit/graphics/blend_modes.h"
#include "toolkit/graphics/gl_state_cache.h"

namespace kestrel {
namespace {

TEST(GLStateCache, SendsOnlyChanges) {
    GLStateCache c;
    EXPECT_EQ(c.blend(), 0);
    EXPECT_TRUE(c.ChangeBlend(ALPHABLEND));
    EXPECT_FALSE(c.ChangeBlend(ALPHABLEND));
    EXPECT_TRUE(c.ChangeBlend(LIGHTBLEND));
    EXPECT_EQ(c.counts().blend, 2);

    EXPECT_FALSE(c.ChangeTexture(0));  // texture 0 is bound at the start
    EXPECT_TRUE(c.ChangeTexture(7));
    EXPECT_FALSE(c.ChangeTexture(7));
    EXPECT_FALSE(c.ChangeTextureEnabled(false));
    EXPECT_TRUE(c.ChangeTextureEnabled(true));
    EXPECT_FALSE(c.ChangeTextureEnabled(true));
    EXPECT_EQ(c.counts().texture, 1);
    EXPECT_EQ(c.counts().texture_enable, 1);
    EXPECT_EQ(c.counts().total(), 4);
}

TEST(GLStateCache, ResetForgetsWhatTheOldContextHad) {
    GLStateCache c;
    c.ChangeBlend(ALPHABLEND);
    c.ChangeTexture(3);
    c.ChangeTextureEnabled(true);
    c.Reset();
    EXPECT_EQ(c.blend(), 0);
    EXPECT_EQ(c.texture(), 0u);
    EXPECT_FALSE(c.texture_enabled());
    // The same values must go to the new context again.
    EXPECT_TRUE(c.ChangeBlend(ALPHABLEND));
    EXPECT_TRUE(c.ChangeTexture(3));
    EXPECT_TRUE(c.ChangeTextureEnabled(true));
    // Counters keep counting across contexts.
    EXPECT_EQ(c.counts().total(), 6);
}

TEST(GLStateCache, TextureCombinationIsSentFirstThenOnChangesAndAgainAfterReset) {
    GLStateCache c;
    EXPECT_TRUE(c.ChangeTextureReplaces(false));  // not known at the start
    EXPECT_FALSE(c.ChangeTextureReplaces(false));
    EXPECT_TRUE(c.ChangeTextureReplaces(true));
    EXPECT_FALSE(c.ChangeTextureReplaces(true));
    c.Reset();
    EXPECT_TRUE(c.ChangeTextureReplaces(true));
    EXPECT_EQ(c.counts().texture_env, 3);
    EXPECT_EQ(c.counts().total(), 3);
    c.color = {255, 255, 255, 255};
    EXPECT_TRUE(c.color_is_opaque_white());
    c.color = {255, 255, 255, 254};
    EXPECT_FALSE(c.color_is_opaque_white());
    c.color = {255, 254, 255, 255};
    EXPECT_FALSE(c.color_is_opaque_white());
}

TEST(GLStateCache, DeletedBoundTextureMustBeBoundAgain) {
    GLStateCache c;
    c.ChangeTexture(5);
    c.ForgetTexture(4);  // another name: no effect
    EXPECT_FALSE(c.ChangeTexture(5));
    c.ForgetTexture(5);
    EXPECT_EQ(c.texture(), 0u);
    // OpenGL may hand the name out again; binding it must reach OpenGL.
    EXPECT_TRUE(c.ChangeTexture(5));
}

}  // namespace
}  // namespace kestrel
