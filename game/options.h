// The game's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace virexo {

struct Opciones {
    bool ayuda = false;                       // --help: print the usage and exit
    std::optional<std::string> estadisticas;  // --frame-stats FILE
};

// Reads the arguments after the program name. Throws std::invalid_argument
// with a message for the player on an unknown option or a missing value.
Opciones LeeOpciones(const std::vector<std::string>& args);

// The usage text printed by --help.
std::string TextoAyuda();

}  // namespace virexo
