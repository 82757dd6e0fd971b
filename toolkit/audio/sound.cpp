#include "toolkit/audio/sound.h"

#include "toolkit/audio/audio_driver.h"
#include "toolkit/audio/sample_loader.h"

namespace kestrel {

TChannelPtr TSound::Play(const TChannelPtr&) { return std::make_shared<TChannel>(); }

TChannelPtr TSound::Cue(const TChannelPtr&) { return std::make_shared<TChannel>(); }

TSoundPtr TSound::Load(const Url& url, int flags) {
    TAudioSamplePtr sample = url.As<TAudioSample>();
    if (!sample) sample = LoadAudioSample(url);
    if (!sample) return nullptr;
    return AudioDriver()->CreateSound(sample, flags);
}

}  // namespace kestrel
