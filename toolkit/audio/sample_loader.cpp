#include "toolkit/audio/sample_loader.h"

#include "toolkit/core/error.h"
#include "toolkit/resources/stream.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/missing_loader.h"

namespace kestrel {

namespace {
TAudioSampleLoader* g_loaders = nullptr;
}

TAudioSampleLoader::TAudioSampleLoader() {
    _succ = g_loaders;
    g_loaders = this;
}

TAudioSampleLoader::~TAudioSampleLoader() {
    for (TAudioSampleLoader** p = &g_loaders; *p; p = &(*p)->_succ) {
        if (*p == this) {
            *p = _succ;
            break;
        }
    }
}

TAudioSamplePtr TAudioSampleLoader::LoadAudioSample(const std::shared_ptr<TStream>&) {
    throw TNullMethodException();
}

TAudioSampleLoader* AudioSampleLoaderRegistry() { return g_loaders; }

namespace {

TAudioSamplePtr LoadFromChain(const Url& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) return nullptr;
    // Closes the stream however the loaders end.
    struct Closer {
        TStreamPtr& s;
        ~Closer() {
            try {
                s->Close();
            } catch (...) {
            }
        }
    } closer{stream};

    const std::int64_t start = stream->Pos();
    if (start == -1) RuntimeError("Stream is not seekable");
    LoaderChainReport report("audio sample");
    for (TAudioSampleLoader* loader = g_loaders; loader; loader = loader->Next()) {
        stream->Seek(start);
        report.Begin();
        try {
            if (TAudioSamplePtr sample = loader->LoadAudioSample(stream)) return sample;
        } catch (const TStreamException&) {
            // A stream that ends inside the data: this loader refuses it.
            report.Threw(*stream, start);
        }
    }
    report.Fail(stream.get(), start);
    WarnIfLoaderMissing("LoadAudioSample", *stream, start);
    return nullptr;
}

}  // namespace

TAudioSamplePtr LoadAudioSample(const Url& url) {
    LoadAttempt attempt("LoadAudioSample", url);
    return attempt.Finish(LoadFromChain(url));
}

}  // namespace kestrel
