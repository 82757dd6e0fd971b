#include <gtest/gtest.h>

#include "ds_fixture.h"
#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/core/error.h"
#include "toolkit/resources/stream.h"

using namespace kestrel;

namespace {

class ProbeDriver : public TAudioDriver {
public:
    explicit ProbeDriver(std::string name, int ok = 1) : name_(std::move(name)), ok_(ok) {}
    std::string Name() override { return name_; }
    int Startup() override {
        ++startups;
        return ok_;
    }
    void Shutdown() override { ++shutdowns; }
    int startups = 0;
    int shutdowns = 0;

private:
    std::string name_;
    int ok_;
};

// A readable stream that cannot tell its position.
class UnseekableStream : public TStream {
public:
    std::int64_t Read(void*, std::int64_t) override { return 0; }
};

class RefusingLoader : public TAudioSampleLoader {
public:
    explicit RefusingLoader(bool streamError) : streamError_(streamError) {}
    TAudioSamplePtr LoadAudioSample(const std::shared_ptr<TStream>& s) override {
        ++calls;
        s->ReadInt();  // moves the position: the next loader must be rewound
        if (streamError_) throw TStreamReadException();
        RuntimeError("loader broke");
    }
    int calls = 0;

private:
    bool streamError_;
};

class FixedLoader : public TAudioSampleLoader {
public:
    TAudioSamplePtr LoadAudioSample(const std::shared_ptr<TStream>& s) override {
        seenPos = s->Pos();
        return CreateAudioSample(3, 8000, SF_MONO8);
    }
    std::int64_t seenPos = -2;
};

}  // namespace

TEST(AudioDriver, RegistryNamesAndSelection) {
    InitAudioCore();
    auto probe = std::make_shared<ProbeDriver>("Probe Driver");
    auto refuse = std::make_shared<ProbeDriver>("Refuser", 0);

    auto names = AudioDrivers();
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[0], "Refuser");  // newest first
    EXPECT_EQ(names[1], "Probe Driver");
    EXPECT_EQ(AudioDriverExists("pRoBe dRiVeR"), 1);
    EXPECT_EQ(AudioDriverExists("null"), 1);
    EXPECT_EQ(AudioDriverExists("Probe"), 0);

    EXPECT_EQ(SetAudioDriver("PROBE DRIVER"), 1);
    EXPECT_EQ(AudioDriver().get(), probe.get());
    EXPECT_EQ(probe->startups, 1);

    // An unknown name shuts the current driver down and leaves "Null".
    EXPECT_EQ(SetAudioDriver("no such driver"), 0);
    EXPECT_EQ(probe->shutdowns, 1);
    EXPECT_EQ(AudioDriver()->Name(), "Null");

    // A driver whose start-up fails is not made current.
    EXPECT_EQ(SetAudioDriver("refuser"), 0);
    EXPECT_EQ(refuse->startups, 1);
    EXPECT_EQ(AudioDriver()->Name(), "Null");

    // A dropped driver leaves the registry.
    probe.reset();
    EXPECT_EQ(AudioDriverExists("Probe Driver"), 0);
    SetAudioDriver("Null");
}

TEST(AudioDriver, NamesAreCappedAtOneHundred) {
    InitAudioCore();
    std::vector<std::shared_ptr<ProbeDriver>> many;
    for (int i = 0; i < 120; ++i) many.push_back(std::make_shared<ProbeDriver>("d" + std::to_string(i)));
    auto names = AudioDrivers();
    EXPECT_EQ(names.size(), 100u);
    EXPECT_EQ(names.front(), "d119");
}

TEST(AudioDriver, NullDriverIsSilentAndNullArgumentsThrow) {
    InitAudioCore();
    SetAudioDriver("Null");
    TSoundPtr sound = LoadSound(CreateAudioSample(10, 44100, SF_MONO16LE));
    ASSERT_TRUE(sound);
    TChannelPtr ch = PlaySound(sound);
    ASSERT_TRUE(ch);
    EXPECT_EQ(ChannelPlaying(ch), 0);
    SetChannelVolume(ch, 0.5f);
    StopChannel(ch);
    EXPECT_EQ(ChannelPlaying(AllocChannel()), 0);
    EXPECT_FALSE(LoadSound("incbin::sfx/not-there.wav"));
    EXPECT_THROW(PlaySound(nullptr), TNullObjectException);
    EXPECT_THROW(CueSound(nullptr), TNullObjectException);
    EXPECT_THROW(StopChannel(nullptr), TNullObjectException);
    EXPECT_THROW(SetChannelVolume(nullptr, 1), TNullObjectException);
    EXPECT_THROW(ChannelPlaying(nullptr), TNullObjectException);
    // The texts name the function and where the Null came from.
    try {
        PlaySound(LoadSound("incbin::sfx/not-there.wav"));
        FAIL() << "PlaySound played Null";
    } catch (const TNullObjectException& e) {
        EXPECT_EQ(e.ToString(),
                  "PlaySound: the sound is Null: check what LoadSound returned (LastLoadError() "
                  "says why)");
    }
    try {
        StopChannel(nullptr);
        FAIL() << "StopChannel stopped Null";
    } catch (const TNullObjectException& e) {
        EXPECT_EQ(e.ToString().rfind("StopChannel: the channel is Null", 0), 0u) << e.ToString();
    }
}

using kestrel_test::DirectSoundTest;

TEST_F(DirectSoundTest, DefaultIsDirectSoundAndFallsBackToNull) {
    EXPECT_EQ(AudioDriver()->Name(), "DirectSound");
    // A newer driver whose name contains "DirectSound" is a different name.
    auto softmix = std::make_shared<ProbeDriver>("SoftMix DirectSound");
    EXPECT_EQ(SetAudioDriver("directsound"), 1);
    EXPECT_EQ(AudioDriver()->Name(), "DirectSound");
    EXPECT_EQ(softmix->startups, 0);

    // No device: the first use falls back to "Null", and sounds are silent.
    ShutdownAudioDriver();
    failOpen = true;
    EXPECT_EQ(AudioDriver()->Name(), "Null");
    TSoundPtr s = LoadSound(Constant(100, 1000));
    ASSERT_TRUE(s);
    EXPECT_EQ(ChannelPlaying(PlaySound(s)), 0);
    EXPECT_EQ(SetAudioDriver("DirectSound"), 0);
    EXPECT_EQ(AudioDriver()->Name(), "Null");
}

TEST(SampleLoaders, RegistryOrderRewindAndErrors) {
    InitAudioCore();
    InitStreamFactories();
    InitOggLoader();
    InitWavLoader();
    // WAV was created last, so it is tried first, then Ogg.
    TAudioSampleLoader* head = AudioSampleLoaderRegistry();
    ASSERT_TRUE(dynamic_cast<TAudioSampleLoaderWAV*>(head));
    ASSERT_TRUE(dynamic_cast<TAudioSampleLoaderOGG*>(head->Next()));

    static std::uint8_t bytes[16] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto ram = TRamStream::Create(bytes, sizeof bytes, 1, 0);
    ram->Seek(4);
    {
        // The fixed loader is tried after the refusing one, from the same
        // starting position.
        auto fixed = std::make_shared<FixedLoader>();
        auto refusing = std::make_shared<RefusingLoader>(true);
        TAudioSamplePtr s = LoadAudioSample(ram);
        ASSERT_TRUE(s);
        EXPECT_EQ(refusing->calls, 1);
        EXPECT_EQ(fixed->seenPos, 4);
        EXPECT_EQ(s->length, 3);
    }
    {
        auto breaking = std::make_shared<RefusingLoader>(false);
        EXPECT_THROW(LoadAudioSample(ram), TRuntimeException);
    }
    // Nothing accepts these bytes.
    ram->Seek(0);
    EXPECT_FALSE(LoadAudioSample(ram));
    EXPECT_FALSE(LoadAudioSample("incbin::missing.ogg"));
    try {
        LoadAudioSample(std::make_shared<UnseekableStream>());
        FAIL() << "no error";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Stream is not seekable");
    }
}
