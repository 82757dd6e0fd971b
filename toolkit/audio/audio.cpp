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
    return NonNull(sound)->Play(channel);
}

TChannelPtr CueSound(const TSoundPtr& sound, const TChannelPtr& channel) {
    return NonNull(sound)->Cue(channel);
}

TChannelPtr AllocChannel() { return AudioDriver()->AllocChannel(); }

void StopChannel(const TChannelPtr& channel) { NonNull(channel)->Stop(); }
void PauseChannel(const TChannelPtr& channel) { NonNull(channel)->SetPaused(1); }
void ResumeChannel(const TChannelPtr& channel) { NonNull(channel)->SetPaused(0); }
int ChannelPlaying(const TChannelPtr& channel) { return NonNull(channel)->Playing(); }
void SetChannelVolume(const TChannelPtr& channel, float volume) {
    NonNull(channel)->SetVolume(volume);
}
void SetChannelPan(const TChannelPtr& channel, float pan) { NonNull(channel)->SetPan(pan); }
void SetChannelDepth(const TChannelPtr& channel, float depth) {
    NonNull(channel)->SetDepth(depth);
}
void SetChannelRate(const TChannelPtr& channel, float rate) { NonNull(channel)->SetRate(rate); }

}  // namespace kestrel
