#include "toolkit/resources/pixmap_loader.h"

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

TPixmapPtr LoadPixmap(const Url& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) return nullptr;
    CloseOnExit closer{*stream};
    const std::int64_t start = stream->Pos();
    if (start == -1) return nullptr;
    for (TPixmapLoader* loader = g_head; loader; loader = loader->_succ) {
        stream->Seek(start);
        try {
            if (TPixmapPtr pixmap = loader->LoadPixmap(*stream)) return pixmap;
        } catch (const TStreamException&) {
            // The data ended early or could not be read: this loader refuses.
        }
    }
    WarnIfLoaderMissing("LoadPixmap", *stream, start);
    return nullptr;
}

}  // namespace kestrel
