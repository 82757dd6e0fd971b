#include "game/virexo_main.h"

#include "game/module_table.h"
#include "toolkit/core/exit_handlers.h"

namespace virexo {

void VirexoMain() {
    static bool ran = false;
    if (ran) return;
    ran = true;

    InitModules();
    kestrel::End();
}

}  // namespace virexo
