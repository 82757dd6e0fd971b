#include "game/virexo_main.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/program.h"

namespace virexo {

void VirexoMain() {
    static bool ran = false;
    if (ran) return;
    ran = true;

    std::string why;
    if (!arranca(&why)) {
        // Without a display there is nothing to play on: say why and fail.
        std::fprintf(stderr, "Virexo: cannot open the display: %s\n", why.c_str());
        std::exit(1);
    }
    for (;;) fotogramajuego();
}

}  // namespace virexo
