#include "toolkit/core/error.h"
#include "toolkit/graphics/font.h"
#include "toolkit/resources/missing_loader.h"

namespace kestrel {

namespace {
TFontLoaderPtr& ChainHead() {
    static TFontLoaderPtr head;
    return head;
}
}  // namespace

void AddFontLoader(const TFontLoaderPtr& loader) {
    NonNull(loader);
    if (loader->_succ) return;
    // The last loader of the chain has no successor either; linking it again
    // would close the chain into a loop that LoadFont never leaves.
    for (TFontLoader* l = ChainHead().get(); l; l = l->_succ.get())
        if (l == loader.get()) return;
    loader->_succ = ChainHead();
    ChainHead() = loader;
}

TFontPtr LoadFont(const Url& url, int size, int style) {
    for (TFontLoader* l = ChainHead().get(); l; l = l->_succ.get()) {
        if (TFontPtr font = l->LoadFont(url, size, style)) return font;
    }
    WarnIfLoaderMissing("LoadFont", url);
    return nullptr;
}

}  // namespace kestrel
