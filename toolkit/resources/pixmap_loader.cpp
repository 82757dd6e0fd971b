#include "toolkit/resources/pixmap_loader.h"

#include "toolkit/resources/load_report.h"
#include "toolkit/resources/missing_loader.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/stream_functions.h"

namespace kestrel {

namespace {
TPixmapLoader* g_head = nullptr;

struct CloseOnExit {
    TStream& stream;
    ~CloseOnExit() { stream.Close(); }
};
}  // namespace

TPixmapLoader::TPixmapLoader() : _succ(g_head) { g_head = this; }

TPixmapLoader::~TPixmapLoader() {
    for (TPixmapLoader** p = &g_head; *p; p = &(*p)->_succ) {
        if (*p == this) {
            *p = _succ;
            break;
        }
    }
}

TPixmapLoader* PixmapLoaders() { return g_head; }

namespace {

TPixmapPtr LoadFromChain(const Url& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) return nullptr;
    CloseOnExit closer{*stream};
    const std::int64_t start = stream->Pos();
    if (start == -1) {
        SetLoadReason("the stream cannot tell its position");
        return nullptr;
    }
    LoaderChainReport report("pixmap");
    for (TPixmapLoader* loader = g_head; loader; loader = loader->Next()) {
        stream->Seek(start);
        report.Begin();
        try {
            if (TPixmapPtr pixmap = loader->LoadPixmap(*stream)) return pixmap;
        } catch (const TStreamException&) {
            // The data ended early or could not be read: this loader refuses.
            report.Threw(*stream, start);
        }
    }
    report.Fail(stream.get(), start);
    WarnIfLoaderMissing("LoadPixmap", *stream, start);
    return nullptr;
}

}  // namespace

TPixmapPtr LoadPixmap(const Url& url) {
    LoadAttempt attempt("LoadPixmap", url);
    return attempt.Finish(LoadFromChain(url));
}

}  // namespace kestrel
