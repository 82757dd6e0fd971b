#include "toolkit/audio/sound.h"

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/resources/load_report.h"

namespace kestrel {

TChannelPtr TSound::Play(const TChannelPtr&) { return std::make_shared<TChannel>(); }

TChannelPtr TSound::Cue(const TChannelPtr&) { return std::make_shared<TChannel>(); }

TSoundPtr TSound::Load(const Url& url, int flags) {
    LoadAttempt attempt("LoadSound", url);
    TAudioSamplePtr sample = url.As<TAudioSample>();
    if (!sample) sample = LoadAudioSample(url);
    if (!sample) return attempt.Finish(TSoundPtr());
    TSoundPtr sound = AudioDriver()->CreateSound(sample, flags);
    if (!sound) SetLoadReason("the audio driver \"" + AudioDriver()->Name() + "\" made no sound of it");
    return attempt.Finish(sound);
}

}  // namespace kestrel
