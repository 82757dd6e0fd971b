// The PNG pixmap loader over libpng.
#pragma once

#include "toolkit/resources/pixmap_loader.h"

namespace kestrel {

// The PNG loader of the chain (InitPngLoader), over libpng.
class TPixmapLoaderPNG : public TPixmapLoader {
public:
    // nullptr for data that are not PNG, for a PNG that libpng cannot decode
    // ("PNG ERROR" is caught here) and for an image larger than the rest of
    // the stream could hold; a stream that ends early raises
    // TStreamReadException, which LoadPixmap treats as a refusal.
    TPixmapPtr LoadPixmap(TStream& stream) override;
};

// Creates the PNG loader and links it into the chain (once).
void InitPngLoader();

// Writes the pixmap as an 8-bit PNG to WriteStream(url): RGBA for formats
// with alpha, RGB otherwise. `compression` is the zlib level 0..9. False when
// the URL cannot be opened for writing or the write fails.
bool SavePixmapPNG(const TPixmapPtr& pixmap, const Url& url, int compression = 5);

}  // namespace kestrel
