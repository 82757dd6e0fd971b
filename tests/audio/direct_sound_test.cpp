#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "ds_fixture.h"
#include "toolkit/audio/direct_sound_units.h"
#include "toolkit/core/error.h"

using namespace kestrel;
using kestrel_test::DirectSoundTest;

namespace {

std::shared_ptr<TDirectSoundChannel> Ds(const TChannelPtr& ch) {
    return std::dynamic_pointer_cast<TDirectSoundChannel>(ch);
}

int Volume(const TChannelPtr& ch) {
    int v = 1;
    Ds(ch)->_buf->_buffer->GetVolume(&v);
    return v;
}
int Pan(const TChannelPtr& ch) {
    int v = 1;
    Ds(ch)->_buf->_buffer->GetPan(&v);
    return v;
}
int Position(const TChannelPtr& ch) {
    int v = -1;
    Ds(ch)->_buf->_buffer->GetCurrentPosition(&v);
    return v;
}

}  // namespace

TEST(DirectSoundUnits, VolumePanAndRateLaws) {
    EXPECT_EQ(VolumeCentibels(ShapeVolume(1.0f)), 0);
    EXPECT_EQ(VolumeCentibels(ShapeVolume(0.5f)), -669);
    EXPECT_EQ(VolumeCentibels(ShapeVolume(0.0f)), -10000);
    EXPECT_EQ(VolumeCentibels(ShapeVolume(2.0f)), 0);
    EXPECT_EQ(VolumeCentibels(ShapeVolume(-1.0f)), -10000);
    EXPECT_EQ(VolumeCentibels(ShapeVolume(NAN)), -10000);
    EXPECT_EQ(PanCentibels(ShapePan(1.0f)), 10000);
    EXPECT_EQ(PanCentibels(ShapePan(0.5f)), 669);
    EXPECT_EQ(PanCentibels(ShapePan(-0.5f)), -669);
    EXPECT_EQ(PanCentibels(ShapePan(0.0f)), 0);
    EXPECT_EQ(PanCentibels(ShapePan(-3.0f)), -10000);
    EXPECT_EQ(RateHertz(22050, 0.5f), 11025);
    EXPECT_EQ(RateHertz(44100, 1e30f), 2147483647);
    EXPECT_EQ(TruncToInt(-2.9), -2);
}

TEST_F(DirectSoundTest, ChannelSettingsReachTheBuffer) {
    TSoundPtr s = LoadSound(Constant(44100, 1000));
    TChannelPtr ch = CueSound(s);
    SetChannelVolume(ch, 0.5f);
    EXPECT_EQ(Volume(ch), -669);
    SetChannelVolume(ch, 2.0f);
    EXPECT_EQ(Volume(ch), 0);
    SetChannelVolume(ch, 0.0f);
    EXPECT_EQ(Volume(ch), -10000);
    SetChannelPan(ch, 1.0f);
    EXPECT_EQ(Pan(ch), 10000);
    SetChannelPan(ch, 0.5f);
    EXPECT_EQ(Pan(ch), 669);
    SetChannelRate(ch, 0.5f);
    int hz = 0;
    Ds(ch)->_buf->_buffer->GetFrequency(&hz);
    EXPECT_EQ(hz, 22050);
    // A channel made before it has a buffer applies its settings on Cue.
    TChannelPtr pre = AllocChannel();
    SetChannelVolume(pre, 0.5f);
    SetChannelPan(pre, -1.0f);
    EXPECT_EQ(Ds(pre)->_static, 1);
    CueSound(s, pre);
    EXPECT_EQ(Volume(pre), -669);
    EXPECT_EQ(Pan(pre), -10000);
}

TEST_F(DirectSoundTest, QuickPlaysDuplicateThenLaterPlaysReuseTheChain) {
    TSoundPtr s = LoadSound(Constant(1000, 500));
    auto ds = std::dynamic_pointer_cast<TDirectSoundSound>(s);
    TChannelPtr a = PlaySound(s), b = PlaySound(s), c = PlaySound(s);
    EXPECT_EQ(ChainLength(s), 3);  // the primary and two duplicates
    EXPECT_EQ(device->Mixer()->BufferCount(), 3);
    EXPECT_EQ(ChannelPlaying(a) + ChannelPlaying(b) + ChannelPlaying(c), 3);
    auto out = Mix(10);
    EXPECT_EQ(out[0], 1500);  // three voices at once

    Mix(1000);  // all finish
    EXPECT_EQ(ChannelPlaying(a), 0);
    TChannelPtr d = PlaySound(s);
    EXPECT_EQ(ChainLength(s), 3);
    // The walk starts at the head of the chain (the newest duplicate) and
    // takes the first free buffer.
    EXPECT_EQ(Ds(d)->_buf, ds->_bufs);
    // One at a time: every play takes a free buffer, none is added.
    for (int i = 0; i < 5; ++i) {
        Mix(1000);
        PlaySound(s);
    }
    EXPECT_EQ(ChainLength(s), 3);
}

TEST_F(DirectSoundTest, SinglePlaysReuseThePrimaryBuffer) {
    TSoundPtr s = LoadSound(Constant(100, 500));
    auto ds = std::dynamic_pointer_cast<TDirectSoundSound>(s);
    for (int i = 0; i < 3; ++i) {
        TChannelPtr ch = PlaySound(s);
        EXPECT_EQ(Ds(ch)->_buf->_buffer, ds->_buffer);
        Mix(200);
    }
    EXPECT_EQ(ChainLength(s), 1);
}

TEST_F(DirectSoundTest, StopAndSecondStop) {
    TSoundPtr s = LoadSound(Constant(1000, 500), SOUND_LOOP);
    TChannelPtr ch = PlaySound(s);
    EXPECT_EQ(ChannelPlaying(ch), 1);
    StopChannel(ch);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    StopChannel(ch);  // owns nothing: nothing happens
    EXPECT_EQ(ChannelPlaying(ch), 0);
    auto out = Mix(10);
    EXPECT_EQ(out[0], 0);
    // The stopped buffer is free again.
    PlaySound(s);
    EXPECT_EQ(ChainLength(s), 1);
}

TEST_F(DirectSoundTest, PauseResumeKeepsPositionAndLoopKeepsLooping) {
    TSoundPtr s = LoadSound(Constant(300, 700), SOUND_LOOP);
    TChannelPtr ch = PlaySound(s);
    Mix(250);
    PauseChannel(ch);
    const int pos = Position(ch);
    EXPECT_EQ(pos, 250 * 2);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    auto out = Mix(100);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(Position(ch), pos);
    // Paused buffers are active: another play duplicates.
    TChannelPtr other = PlaySound(s);
    EXPECT_EQ(ChainLength(s), 2);
    StopChannel(other);

    ResumeChannel(ch);
    EXPECT_EQ(ChannelPlaying(ch), 1);
    Mix(60);  // past the end of the 300 frames: wraps
    EXPECT_EQ(Position(ch), (250 + 60 - 300) * 2);
    out = Mix(1000);
    EXPECT_EQ(out[1998], 700);
    EXPECT_EQ(ChannelPlaying(ch), 1);
}

TEST_F(DirectSoundTest, ChannelIsDisownedWhenItsBufferIsReused) {
    TSoundPtr s = LoadSound(Constant(100, 900));
    TChannelPtr first = PlaySound(s);
    Mix(200);  // finished
    TChannelPtr second = PlaySound(s);  // takes the same buffer
    EXPECT_EQ(Ds(first)->_buf, Ds(second)->_buf);
    EXPECT_FALSE(Ds(first)->Owns());
    EXPECT_EQ(ChannelPlaying(first), 0);
    SetChannelVolume(first, 0.0f);  // ignored: the buffer is not its own
    StopChannel(first);
    EXPECT_EQ(ChannelPlaying(second), 1);
    EXPECT_EQ(Volume(second), 0);
    auto out = Mix(1);
    EXPECT_EQ(out[0], 900);

    // Finding its buffer finished disowns a channel too.
    Mix(200);
    ResumeChannel(second);
    EXPECT_FALSE(Ds(second)->_buf);
    EXPECT_EQ(ChannelPlaying(second), 0);
}

TEST_F(DirectSoundTest, LonelyBuffersAreReleasedOnceSilent) {
    TChannelPtr loose;
    {
        TSoundPtr s = LoadSound(Constant(500, 100));
        loose = PlaySound(s);
        Ds(loose)->_sound.reset();  // only the channel's buffer stays
    }
    auto* driver = CurrentDirectSoundDriver();
    ASSERT_TRUE(driver);
    ASSERT_TRUE(driver->_lonely);
    EXPECT_EQ(device->Mixer()->BufferCount(), 1);
    // Still sounding: a new sound does not release it.
    TSoundPtr other = LoadSound(Constant(10, 1));
    EXPECT_EQ(device->Mixer()->BufferCount(), 2);
    auto out = Mix(1);
    EXPECT_EQ(out[0], 100);
    Mix(600);
    // Silent now: the next sound creation releases it.
    TSoundPtr third = LoadSound(Constant(10, 1));
    EXPECT_FALSE(driver->_lonely);
    EXPECT_EQ(device->Mixer()->BufferCount(), 2);
    // The channel that played it can still be used, harmlessly.
    EXPECT_EQ(ChannelPlaying(loose), 0);
    SetChannelVolume(loose, 0.3f);
    ResumeChannel(loose);
    StopChannel(loose);
}

TEST_F(DirectSoundTest, DroppedCuedChannelFreesItsBuffer) {
    TSoundPtr s = LoadSound(Constant(100, 5));
    { TChannelPtr cued = CueSound(s); }
    PlaySound(s);
    EXPECT_EQ(ChainLength(s), 1);  // the cued buffer was stopped, not left active
    Mix(200);
    // A playing channel that is dropped keeps sounding to its end.
    { TChannelPtr playing = PlaySound(s); }
    auto out = Mix(1);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(device->Mixer()->PlayingCount(), 1);
}

TEST_F(DirectSoundTest, FormatsAndErrors) {
    // Big-endian samples are converted; 8-bit stereo stays as it is.
    auto be = CreateAudioSample(2, 44100, SF_STEREO16BE);
    const std::uint8_t bytes[8] = {0x01, 0x02, 0xFF, 0xFE, 0, 0, 0, 0};
    std::memcpy(be->samples, bytes, 8);
    TChannelPtr ch = PlaySound(LoadSound(be));
    auto out = Mix(1);
    EXPECT_EQ(out[0], 0x0102);
    EXPECT_EQ(out[1], -2);

    try {
        LoadSound(CreateAudioSample(10, 0, SF_MONO16LE));
        FAIL() << "no error";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "CreateSoundBuffer failed (87)");
    }
    // An empty sample is a silent sound, not an error.
    TChannelPtr empty = PlaySound(LoadSound(CreateAudioSample(0, 44100, SF_MONO16LE)));
    EXPECT_EQ(ChannelPlaying(empty), 0);
}

TEST_F(DirectSoundTest, ShutdownStartsANewGeneration) {
    TSoundPtr old = LoadSound(Constant(100, 5));
    const int gen = DirectSoundGeneration();
    ASSERT_EQ(SetAudioDriver("DirectSound"), 1);  // shut down and started again
    EXPECT_EQ(DirectSoundGeneration(), gen + 1);
    // The old sound's buffer is free, so it is cued on the old (closed)
    // device and heard nowhere; a second overlapping play gets no duplicate.
    TChannelPtr a = PlaySound(old);
    TChannelPtr b = PlaySound(old);
    EXPECT_EQ(ChannelPlaying(b), 0);
    EXPECT_EQ(ChainLength(old), 1);
    auto out = Mix(1);
    EXPECT_EQ(out[0], 0);
    a.reset();
    b.reset();
    old.reset();
    EXPECT_FALSE(CurrentDirectSoundDriver()->_lonely);  // an earlier generation's sound
}
