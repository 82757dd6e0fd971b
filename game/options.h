// The game's command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace virexo {

struct Opciones {
    bool ayuda = false;                       // --help: print the usage and exit
    bool version = false;                     // --version: print the version and exit
    std::optional<std::string> estadisticas;  // --frame-stats FILE
    std::optional<std::uint16_t> anfitrion;   // --host [PORT]: wait for a player online
    std::optional<std::string> unirse;        // --join HOST[:PORT]: play the host online
    std::optional<std::string> repeticion;    // --replay FILE: watch an online game again
};

// Reads the arguments after the program name. Throws std::invalid_argument
// with a message for the player on an unknown option or a missing value.
Opciones LeeOpciones(const std::vector<std::string>& args);

// The usage text printed by --help (it names the version first).
std::string TextoAyuda();

// The line printed by --version: "Virexo " and the program's version.
std::string TextoVersion();

}  // namespace virexo
