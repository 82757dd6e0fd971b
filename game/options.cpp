#include "game/options.h"

#include <stdexcept>

namespace virexo {

Opciones LeeOpciones(const std::vector<std::string>& args) {
    Opciones o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.ayuda = true;
        } else if (a == "--frame-stats") {
            if (i + 1 >= args.size()) throw std::invalid_argument("--frame-stats needs a file name");
            o.estadisticas = args[++i];
        } else {
            throw std::invalid_argument("unknown option " + a + " (try --help)");
        }
    }
    return o;
}

std::string TextoAyuda() {
    return "Usage: virexo [OPTION]...\n"
           "An arcade puzzle game for one player or two players side by side.\n"
           "\n"
           "  --frame-stats FILE  on exit, write frames drawn per screen, frame times\n"
           "                      and the game's speed against the wall clock to FILE\n"
           "  -h, --help          show this help and exit\n";
}

}  // namespace virexo
