#include "toolkit/resources/load_report.h"
#include "toolkit/audio/audio.h"

#include "toolkit/core/error.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/core/run_once.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/core/warn_once.h"

namespace kestrel {

namespace {
bool g_coreDone = false;
TAudioDriverPtr g_nullDriver;
// A sound function given Null: most often a LoadSound that failed.
constexpr const char* kNullSound =
    "the sound is Null: check what LoadSound returned (LastLoadError() says why)";
constexpr const char* kNullChannel =
    "the channel is Null: use the channel PlaySound, CueSound or AllocChannel returned";
}  // namespace

void InitAudioCore() {
    RunOnce(g_coreDone, [] {
        InitStreams();
        g_nullDriver = std::make_shared<TAudioDriver>();
        OnEnd([] { ShutdownAudioDriver(); });
    });
}

TAudioDriverPtr NullAudioDriver() { return g_nullDriver; }

TAudioSamplePtr CreateAudioSample(int length, int hertz, int format) {
    return TAudioSample::Create(length, hertz, format);
}

TAudioSamplePtr CreateStaticAudioSample(std::uint8_t* samples, int length, int hertz, int format) {
    return TAudioSample::CreateStatic(samples, length, hertz, format);
}

TSoundPtr LoadSound(const Url& url, int flags) {
    const TAudioDriverPtr driver = AudioDriver();
    // The "Null" driver as the only one: no audio driver module was started.
    if (driver == NullAudioDriver() && AudioDrivers().size() <= 1)
        WarnOnce(
            "LoadSound: the only audio driver is \"Null\", so nothing is heard: call "
            "kestrel::Startup() (or kestrel::sdl::InitDirectSoundAudio()) first");
    LoadAttempt attempt("LoadSound", url);
    return attempt.Finish(driver->LoadSound(url, flags));
}

TChannelPtr PlaySound(const TSoundPtr& sound, const TChannelPtr& channel) {
    return NonNull(sound, kNullSound)->Play(channel);
}

TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel) {
    return NonNull(sound, kNullSound)->Cue(channel);
}

TChannelPtr AllocChannel() { return AudioDriver()->AllocChannel(); }

void StopChannel(const TChannelPtr& channel) { NonNull(channel, kNullChannel)->Stop(); }
void PauseChannel(const TChannelPtr& channel) { NonNull(channel, kNullChannel)->SetPaused(1); }
void ResumeChannel(const TChannelPtr& channel) { NonNull(channel, kNullChannel)->SetPaused(0); }
int ChannelPlaying(const TChannelPtr& channel) { return NonNull(channel, kNullChannel)->Playing(); }
void SetChannelVolume(const TChannelPtr& channel, float volume) {
    NonNull(channel, kNullChannel)->SetVolume(volume);
}
void SetChannelPan(const TChannelPtr& channel, float pan) { NonNull(channel, kNullChannel)->SetPan(pan); }
void SetChannelDepth(const TChannelPtr& channel, float depth) {
    NonNull(channel, kNullChannel)->SetDepth(depth);
}
void SetChannelRate(const TChannelPtr& channel, float rate) { NonNull(channel, kNullChannel)->SetRate(rate); }

}  // namespace kestrel
