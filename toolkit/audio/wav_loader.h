// The RIFF/WAVE loader: uncompressed PCM, 8 or 16 bits, mono or stereo.
#pragma once

#include "toolkit/audio/sample_loader.h"

namespace kestrel {

// The WAV loader of the registry (InitWavLoader).
class TAudioSampleLoaderWAV : public TAudioSampleLoader {
public:
    TAudioSamplePtr LoadAudioSample(const std::shared_ptr<TStream>& stream) override;
};

// Creates the WAV loader (once) at the head of the loader registry.
void InitWavLoader();

}  // namespace kestrel
