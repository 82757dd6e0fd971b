// The pixmap loader chain and LoadPixmap. Constructing a loader links it at
// the head of the chain (tried newest first); destroying it unlinks it.
#pragma once

#include "toolkit/resources/pixmap.h"
#include "toolkit/resources/stream_base.h"
#include "toolkit/resources/url.h"

namespace kestrel {

// A reader of one picture format; constructing one links it at the head of
// the chain LoadPixmap walks.
class TPixmapLoader : public Object {
public:
    TPixmapLoader();
    TPixmapLoader(const TPixmapLoader&) = delete;
    TPixmapLoader& operator=(const TPixmapLoader&) = delete;
    ~TPixmapLoader() override;

    // A pixmap decoded from the stream at its current position, or nullptr
    // when the data are not this loader's kind. Loaders leave closing the
    // stream to LoadPixmap, so that the next loader can still read it.
    virtual TPixmapPtr LoadPixmap(TStream& stream) = 0;

    // The next (older) loader of the chain, or nullptr.
    TPixmapLoader* Next() const { return _succ; }

private:
    TPixmapLoader* _succ = nullptr;  // linked and unlinked by the constructor and destructor
};

// The newest loader, or nullptr.
TPixmapLoader* PixmapLoaders();

// Opens the URL for reading and offers the stream to every loader from the
// head of the chain, each from the same start position. A stream error
// raised inside a loader counts as its refusal; other errors propagate.
// nullptr when the URL cannot be opened, its stream cannot tell its position
// or every loader refuses.
TPixmapPtr LoadPixmap(const Url& url);

}  // namespace kestrel
