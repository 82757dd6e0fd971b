// The PNG pixmap loader over libpng.
#pragma once

#include "toolkit/resources/pixmap_loader.h"

namespace kestrel {

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

}  // namespace kestrel
