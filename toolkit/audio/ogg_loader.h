// The Ogg Vorbis loader: decodes the whole stream into memory as 16-bit
// little-endian PCM, mono or stereo.
#pragma once

#include "toolkit/audio/sample_loader.h"

namespace kestrel {

// The Ogg Vorbis loader of the registry (InitOggLoader).
class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    TAudioSamplePtr LoadAudioSample(const std::shared_ptr<TStream>& stream) override;
};

// Creates the Ogg loader (once) at the head of the loader registry.
void InitOggLoader();

}  // namespace kestrel
