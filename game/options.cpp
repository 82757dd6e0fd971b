#include "game/options.h"

#include <stdexcept>

#include "game/net/protocol.h"

namespace virexo {

namespace {

bool AllDigits(const std::string& s) {
    if (s.empty() || s.size() > 5) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

Opciones LeeOpciones(const std::vector<std::string>& args) {
    Opciones o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.ayuda = true;
        } else if (a == "--version" || a == "-V") {
            o.version = true;
        } else if (a == "--frame-stats") {
            if (i + 1 >= args.size()) throw std::invalid_argument("--frame-stats needs a file name");
            o.estadisticas = args[++i];
        } else if (a == "--host") {
            o.anfitrion = net::kDefaultPort;
            // The port is optional: a following number is it.
            if (i + 1 < args.size() && AllDigits(args[i + 1])) {
                const long port = std::stol(args[++i]);
                if (port < 1 || port > 65535)
                    throw std::invalid_argument("--host: the port must be 1 to 65535, not " + args[i]);
                o.anfitrion = static_cast<std::uint16_t>(port);
            } else if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
                throw std::invalid_argument("--host: the port must be a number, not " + args[i + 1]);
            }
        } else if (a == "--join") {
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0)
                throw std::invalid_argument("--join needs the host's address, as HOST or HOST:PORT");
            o.unirse = args[++i];
        } else if (a == "--replay") {
            if (i + 1 >= args.size()) throw std::invalid_argument("--replay needs a file name");
            o.repeticion = args[++i];
        } else {
            throw std::invalid_argument("unknown option " + a + " (try --help)");
        }
    }
    if (o.anfitrion && o.unirse) throw std::invalid_argument("--host and --join cannot go together");
    if (o.repeticion && (o.anfitrion || o.unirse))
        throw std::invalid_argument("--replay cannot go with --host or --join");
    return o;
}

std::string TextoVersion() { return std::string("Virexo ") + VIREXO_PROGRAM_VERSION + "\n"; }

std::string TextoAyuda() {
    return TextoVersion() +
           "Usage: virexo [OPTION]...\n"
           "An arcade puzzle game for one player or two players side by side, or two\n"
           "players on two machines.\n"
           "\n"
           "  --host [PORT]       wait for a player to join over the network (UDP port\n"
           "                      7420 unless PORT is given; open it in your firewall),\n"
           "                      then play them: you are the first player, on the\n"
           "                      right board, and you choose the difficulty\n"
           "  --join HOST[:PORT]  join the game a player hosts at HOST (an address or a\n"
           "                      name); you are the second player, on the left board.\n"
           "                      Both players use the arrow keys or the first gamepad\n"
           "  --replay FILE       watch an online game again from its replay (written to\n"
           "                      ~/.cache/virexo/replay-*.txt after each online game)\n"
           "  --frame-stats FILE  on exit, write frames drawn per screen, frame times\n"
           "                      and the game's speed against the wall clock to FILE\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n";
}

}  // namespace virexo
