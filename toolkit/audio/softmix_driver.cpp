#include "toolkit/audio/softmix_driver.h"

#include "toolkit/audio/audio.h"
#include "toolkit/audio/sample_format.h"
#include "toolkit/audio/softmix_engine.h"
#include "toolkit/audio/softmix_multimedia_output.h"
#include "toolkit/audio/softmix_stream_output.h"
#include "toolkit/audio/softmix_wave_device.h"
#include "toolkit/audio/sound_buffer_device.h"
#include "toolkit/core/run_once.h"

namespace kestrel {

namespace {

// The one engine all SoftMix drivers share (only one driver is current at a
// time). Never destroyed, so channels and sounds released during program
// exit still find it.
softmix::Engine& SharedEngine() {
    static auto* engine = new softmix::Engine();
    return *engine;
}

// Counts the engine's starts; channels remember the run they were made in.
std::uint32_t g_run = 0;

bool g_initDone = false;
std::shared_ptr<TSoftMixAudioDriver> g_directSound, g_multimedia, g_any;

}  // namespace

// --- sounds

TSoftMixSound::~TSoftMixSound() { SharedEngine().FreeSound(sm_sound); }

std::shared_ptr<TSoftMixSound> TSoftMixSound::CreateWithSound(softmix::Sample* sm_sound, const TAudioSamplePtr&) {
    auto sound = std::make_shared<TSoftMixSound>();
    sound->sm_sound = sm_sound;
    return sound;
}

TChannelPtr TSoftMixSound::Play(const TChannelPtr& channel) { return Start(channel, false); }

TChannelPtr TSoftMixSound::Cue(const TChannelPtr& channel) { return Start(channel, true); }

TChannelPtr TSoftMixSound::Start(const TChannelPtr& channel, bool paused) {
    TSoftMixChannelPtr given;
    if (channel) {
        given = std::dynamic_pointer_cast<TSoftMixChannel>(channel);
        if (!given) return nullptr;
    }
    const std::uint32_t handle = given ? given->Handle() : 0;
    const std::uint32_t result = SharedEngine().Play(sm_sound, paused, handle);
    if (result == 0) return nullptr;
    if (given && result == handle) return given;
    return TSoftMixChannel::CreateWithChannel(result);
}

// --- channels

TSoftMixChannelPtr TSoftMixChannel::CreateWithChannel(std::uint32_t handle) {
    auto channel = std::make_shared<TSoftMixChannel>();
    channel->sm_channel = handle;
    channel->run_ = g_run;
    return channel;
}

std::uint32_t TSoftMixChannel::Handle() const { return run_ == g_run ? sm_channel : 0; }

TSoftMixChannel::~TSoftMixChannel() {
    if (const std::uint32_t h = Handle()) SharedEngine().FreeChannel(h);
}

void TSoftMixChannel::Stop() {
    if (const std::uint32_t h = Handle()) SharedEngine().StopChannel(h);
    sm_channel = 0;
}

void TSoftMixChannel::SetPaused(int paused) { SharedEngine().SetPaused(Handle(), paused != 0); }
void TSoftMixChannel::SetVolume(float volume) { SharedEngine().SetVolume(Handle(), volume); }
void TSoftMixChannel::SetPan(float pan) { SharedEngine().SetPan(Handle(), pan); }
void TSoftMixChannel::SetDepth(float depth) { SharedEngine().SetDepth(Handle(), depth); }
void TSoftMixChannel::SetRate(float rate) { SharedEngine().SetRate(Handle(), rate); }

int TSoftMixChannel::Playing() {
    const int status = SharedEngine().ChannelStatus(Handle());
    return status != 0 && !(status & softmix::kStatusFinished) && !(status & softmix::kStatusPaused);
}

int TSoftMixChannel::Position() { return SharedEngine().ChannelPosition(Handle()); }

// --- the driver

std::shared_ptr<TSoftMixAudioDriver> TSoftMixAudioDriver::Create(const std::string& name, int mode) {
    auto driver = std::make_shared<TSoftMixAudioDriver>();
    driver->_name = name;
    driver->_mode = mode;
    return driver;
}

int TSoftMixAudioDriver::Startup() {
    softmix::Engine& engine = SharedEngine();
    engine.Close();
    bool started = false;
    if (_mode != 1) {
        if (auto device = softmix::CreateWaveDevice())
            started = engine.Start(std::make_unique<softmix::MultimediaOutput>(std::move(device))) == 0;
    }
    if (!started && _mode != 0) {
        if (auto device = softmix::CreateWaveDevice())
            started = engine.Start(std::make_unique<softmix::StreamOutput>(std::move(device))) == 0;
    }
    if (!started) return 0;
    ++g_run;
    return 1;
}

void TSoftMixAudioDriver::Shutdown() { SharedEngine().Close(); }

TSoundPtr TSoftMixAudioDriver::CreateSound(const TAudioSamplePtr& sample, int flags) {
    if (!sample) return nullptr;
    TAudioSamplePtr s = sample;
    if (s->format == SF_MONO16BE) s = s->Convert(SF_MONO16LE);
    else if (s->format == SF_STEREO16BE) s = s->Convert(SF_STEREO16LE);
    const int channels = ChannelsPerSample(s->format);
    if (channels == 0) return nullptr;
    const int bits = BytesPerSample(s->format) * 8 / channels;
    softmix::Sample* sm = SharedEngine().CreateSound(s->length, bits, channels, s->hertz, s->samples,
                                                     (flags & SOUND_LOOP) != 0);
    if (!sm) return nullptr;
    return TSoftMixSound::CreateWithSound(sm, sample);
}

TChannelPtr TSoftMixAudioDriver::AllocChannel() {
    const std::uint32_t handle = SharedEngine().AllocChannel();
    if (handle == 0) return nullptr;
    return TSoftMixChannel::CreateWithChannel(handle);
}

void InitSoftMixDriver() {
    RunOnce(g_initDone, [] {
        InitAudioCore();
        if (SoundBufferServiceAvailable()) g_directSound = TSoftMixAudioDriver::Create("SoftMix DirectSound", 1);
        g_multimedia = TSoftMixAudioDriver::Create("SoftMix Multimedia", 0);
        g_any = TSoftMixAudioDriver::Create("SoftMix", -1);
    });
}

}  // namespace kestrel
