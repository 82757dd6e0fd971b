#include "game/virexo_main.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "game/frame_stats.h"
#include "game/notice.h"
#include "game/net/local_addresses.h"
#include "game/net/online_game.h"
#include "game/net/online_replay.h"
#include "game/options.h"
#include "game/program.h"
#include "toolkit/core/app.h"
#include "toolkit/core/exit_handlers.h"

namespace virexo {

namespace {

// The start-up moved the working directory to the program's folder: a
// relative path on the command line means one from where it was started.
std::string FromLaunchDir(const std::string& path) {
    if (path.empty() || path.front() == '/' || kestrel::LaunchDir.empty()) return path;
    return kestrel::LaunchDir + "/" + path;
}

// The online game's figures, after a game online: its input delay and round
// trip, what went over the network, and the process's CPU time.
void WriteOnlineFigures(std::ostream& out) {
    const net::OnlineStatus& st = net::OnlineGameStatus();
    if (st.matches == 0) return;
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const double cpu = static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
                       static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    const net::SessionStats& s = st.stats;
    out << "online delay_frames " << st.delay << "\n"
        << "online delay_frames_max " << st.delayMax << "\n"
        << "online delay_changes " << st.delayChanges << "\n"
        << "online window " << st.window << "\n"
        << "online rtt_ms " << st.rttMs << "\n"
        << "online jitter_ms " << st.jitterMs << "\n"
        << "online updates " << st.framesRun << "\n"
        << "online checksums_matched " << st.checksumsMatched << "\n"
        << "online stall_notices " << st.stallNotices << "\n"
        << "online rollback " << (st.rollbackEnabled ? 1 : 0) << "\n"
        << "online predicted_updates " << st.predicted << "\n"
        << "online rollbacks " << st.rollbacks << "\n"
        << "online rollback_depth_mean " << (st.rollbacks ? static_cast<double>(st.rollbackDepthSum) / static_cast<double>(st.rollbacks) : 0.0) << "\n"
        << "online rollback_depth_max " << st.rollbackMaxDepth << "\n"
        << "online updates_rerun " << st.framesRerun << "\n"
        << "online updates_held " << st.updatesHeld << "\n"
        << "online rollback_us_mean " << (st.rollbacks ? static_cast<double>(st.rollbackUsSum) / static_cast<double>(st.rollbacks) : 0.0) << "\n"
        << "online rollback_us_max " << st.rollbackMaxUs << "\n"
        << "online desyncs " << (st.desyncReport.empty() && st.ended.rfind("The games went out of step", 0) != 0 ? 0 : 1) << "\n"
        << "online payload_bytes_sent " << s.payloadBytesSent << "\n"
        << "online payload_bytes_received " << s.payloadBytesReceived << "\n"
        << "online datagrams_sent " << s.datagramsSent << "\n"
        << "online udp_bytes_sent " << s.udpBytesSent << "\n"
        << "online datagrams_received " << s.datagramsReceived << "\n"
        << "online udp_bytes_received " << s.udpBytesReceived << "\n"
        << "process cpu_s " << cpu << "\n";
}

// Records every presented frame and writes the report when the program ends.
void WriteFrameStatsAtEnd(const std::string& path) {
    static EstadisticasFotogramas stats;
    anotaestadisticas(&stats);
    kestrel::OnEnd([path] {
        anotaestadisticas(nullptr);
        std::ofstream out(path);
        stats.Escribe(out);
        // From the answer to the question to the first frame on screen, and
        // the start-up's phases in between.
        const auto us = [](TiemposArranque::Instante t) {
            return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
        };
        const TiemposArranque& t = tiemposarranque();
        if (const auto first = stats.Primero(); first && us(t.respuesta) != 0) {
            const auto ms = [](std::int64_t a, std::int64_t b) { return (b - a) / 1000.0; };
            out << "startup answer_to_first_frame_ms " << ms(us(t.respuesta), *first) << "\n"
                << "startup answer_to_display_ms " << ms(us(t.respuesta), us(t.pantalla)) << "\n"
                << "startup assets_ms " << ms(us(t.pantalla), us(t.recursos)) << "\n"
                << "startup backdrop_ms " << ms(us(t.recursos), us(t.fondo)) << "\n"
                << "startup first_frame_ms " << ms(us(t.fondo), *first) << "\n";
        }
        WriteOnlineFigures(out);
        if (!out) std::fprintf(stderr, "Virexo: cannot write frame statistics to %s\n", path.c_str());
    });
}

}  // namespace

void VirexoMain() {
    static bool ran = false;
    if (ran) return;
    ran = true;

    Opciones opciones;
    try {
        const auto& args = kestrel::AppArgs;
        opciones = LeeOpciones({args.begin() + (args.empty() ? 0 : 1), args.end()});
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "virexo: %s\n", e.what());
        std::exit(2);
    }
    if (opciones.ayuda) {
        std::fputs(TextoAyuda().c_str(), stdout);
        std::exit(0);
    }
    if (opciones.version) {
        std::fputs(TextoVersion().c_str(), stdout);
        std::exit(0);
    }
    if (opciones.unirse) {
        std::string host, why;
        std::uint16_t port = 0;
        if (!net::ParseHostPort(*opciones.unirse, &host, &port, &why)) {
            std::fprintf(stderr, "virexo: --join %s: %s\n", opciones.unirse->c_str(), why.c_str());
            std::exit(2);
        }
    }
    if (opciones.estadisticas) WriteFrameStatsAtEnd(FromLaunchDir(*opciones.estadisticas));

    std::string why;
    if (!arranca(&why)) {
        // Without a display there is nothing to play on: say why and fail.
        std::fprintf(stderr, "Virexo: cannot open the display: %s\n", why.c_str());
        std::exit(1);
    }
    if (opciones.repeticion) {
        if (!net::StartReplay(FromLaunchDir(*opciones.repeticion), &why)) {
            std::fprintf(stderr, "Virexo: cannot watch the replay: %s\n", why.c_str());
            ponaviso("Cannot watch the replay: " + why);
        }
    } else if (opciones.anfitrion || opciones.unirse) {
        net::OnlineOptions online;
        online.role = opciones.anfitrion ? net::Role::kHost : net::Role::kGuest;
        if (opciones.anfitrion) online.port = *opciones.anfitrion;
        if (opciones.unirse) online.target = *opciones.unirse;
        // A port already taken, say: the game goes on offline and says why.
        if (!net::StartOnlineGame(online, &why)) {
            std::fprintf(stderr, "Virexo: cannot play online: %s\n", why.c_str());
            ponaviso("Cannot play online: " + why);
        } else if (opciones.anfitrion) {
            // For whoever started it from a terminal: what to tell the other player.
            std::string where;
            for (const std::string& a : net::LocalAddresses()) where += (where.empty() ? " at " : ", ") + a;
            std::printf("Virexo: waiting for a player on UDP port %u%s\n", net::OnlineGameStatus().port, where.c_str());
            std::fflush(stdout);
        }
        reiniciareloj();
    }
    for (;;) fotogramajuego();
}

}  // namespace virexo
