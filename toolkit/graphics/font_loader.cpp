#include "toolkit/core/error.h"
#include "toolkit/graphics/font.h"
#include "toolkit/resources/load_report.h"
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
    for (TFontLoader* l = ChainHead().get(); l; l = l->Next().get())
        if (l == loader.get()) return;
    loader->_succ = ChainHead();
    ChainHead() = loader;
}

TFontPtr LoadFont(const Url& url, int size, int style) {
    LoadAttempt attempt("LoadFont", url);
    const std::uint64_t reasons = LoadReasonCount();
    for (TFontLoader* l = ChainHead().get(); l; l = l->Next().get()) {
        if (TFontPtr font = l->LoadFont(url, size, style)) return attempt.Finish(font);
    }
    if (!ChainHead())
        SetLoadReason("no font loader is registered: call kestrel::InitFreeTypeFonts() or "
                      "kestrel::Startup() first");
    else if (LoadReasonCount() == reasons)
        SetLoadReason("no font loader took it");
    WarnIfLoaderMissing("LoadFont", url);
    return attempt.Finish(TFontPtr());
}

}  // namespace kestrel
