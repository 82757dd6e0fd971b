// TAudioSampleLoader and the loader registry, tried newest first by
// LoadAudioSample.
#pragma once

#include <memory>

#include "toolkit/audio/audio_sample.h"
#include "toolkit/resources/url.h"

namespace kestrel {

class TStream;

// A reader of one sound file format; LoadAudioSample tries the registered
// loaders newest first.
class TAudioSampleLoader : public Object {
public:
    // Links the loader at the head of the registry.
    TAudioSampleLoader();
    TAudioSampleLoader(const TAudioSampleLoader&) = delete;
    TAudioSampleLoader& operator=(const TAudioSampleLoader&) = delete;
    ~TAudioSampleLoader() override;

    // The sample read from the stream, or null for data this loader does not
    // recognise. The base version raises TNullMethodException.
    virtual TAudioSamplePtr LoadAudioSample(const std::shared_ptr<TStream>& stream);

    // The next (older) loader in the registry, or null.
    TAudioSampleLoader* Next() const { return _succ; }

private:
    TAudioSampleLoader* _succ = nullptr;  // linked and unlinked by the constructor and destructor
};

// Head of the loader registry, or null.
TAudioSampleLoader* AudioSampleLoaderRegistry();

// Opens the url for reading and offers it to every loader from the head,
// rewinding to the starting position before each; a stream exception counts
// as a refusal. Null when the url cannot be opened or no loader accepts it.
// A stream without a position raises "Stream is not seekable".
TAudioSamplePtr LoadAudioSample(const Url& url);

}  // namespace kestrel
