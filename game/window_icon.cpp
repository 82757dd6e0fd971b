#include "game/window_icon.h"

#include "kestrel_embed/RegisterVirexoIcon.h"
#include "toolkit/graphics/window_icon.h"
#include "toolkit/resources/pixmap_loader.h"

namespace virexo {

void ponicono() {
    RegisterVirexoIcon();
    kestrel::SetGraphicsIcon(kestrel::LoadPixmap("incbin::icons/virexo.png"));
}

}  // namespace virexo
