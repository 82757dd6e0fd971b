#include "toolkit/graphics/startup_hints.h"

#include "toolkit/core/warn_once.h"
#include "toolkit/graphics/lumo2d_driver.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {

void WarnIfNo2DRenderer(const TGraphicsDriverPtr& driver) {
    if (!driver || std::dynamic_pointer_cast<TLumo2DDriver>(driver)) return;
    WarnOnce(
        "Graphics: the graphics driver has no 2D renderer, so drawing raises errors: call "
        "kestrel::Startup() (or kestrel::InitLumo2D()) before Graphics");
}

void WarnIfHeadlessSystemDriver() {
    if (!dynamic_cast<THeadlessSystemDriver*>(SystemDriver().get())) return;
    WarnOnce(
        "a window was opened under the headless system driver: its keys, mouse and close button "
        "never reach the program; call kestrel::Startup() (or kestrel::sdl::UseSDLSystemDriver()) "
        "before any module starts");
}

}  // namespace kestrel
