// Runs the "DirectSound" driver over an offline sound-buffer device, so that
// tests decide when (and how much) the mixer plays.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/direct_sound_driver.h"
#include "toolkit/audio/sound_buffer_device.h"

namespace kestrel_test {

class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        kestrel::InitAudioCore();
        kestrel::SetSoundBufferDeviceFactory([this]() -> std::unique_ptr<kestrel::SoundBufferDevice> {
            if (failOpen) return nullptr;
            auto d = std::make_unique<kestrel::OfflineSoundBufferDevice>();
            device = d.get();
            return d;
        });
        kestrel::InitDirectSoundDriver();
        ASSERT_EQ(kestrel::SetAudioDriver("DirectSound"), 1);
    }
    void TearDown() override {
        kestrel::SetAudioDriver("Null");
        device = nullptr;
    }

    // Mixes n frames and returns them (interleaved left, right).
    std::vector<std::int16_t> Mix(int frames) {
        std::vector<std::int16_t> out(std::size_t(frames) * 2);
        device->MixFrames(out.data(), frames);
        return out;
    }

    // A mono 16-bit 44100 Hz sample of n frames, all of value v.
    static kestrel::TAudioSamplePtr Constant(int frames, int value, int hertz = 44100) {
        auto s = kestrel::CreateAudioSample(frames, hertz, kestrel::SF_MONO16LE);
        auto* p = reinterpret_cast<std::int16_t*>(s->samples);
        for (int i = 0; i < frames; ++i) p[i] = std::int16_t(value);
        return s;
    }

    static int ChainLength(const kestrel::TSoundPtr& sound) {
        auto ds = std::dynamic_pointer_cast<kestrel::TDirectSoundSound>(sound);
        int n = 0;
        for (auto b = ds->_bufs; b; b = b->Next()) ++n;
        return n;
    }

    kestrel::OfflineSoundBufferDevice* device = nullptr;
    bool failOpen = false;
};

}  // namespace kestrel_test
