#include "game/program.h"

#include <ctime>
#include <memory>

#include "game/asset_loading.h"
#include "game/backdrop.h"
#include "game/computer/versus.h"
#include "game/doc.h"
#include "game/globals.h"
#include "game/module_table.h"
#include "game/notice.h"
#include "game/play_mode.h"
#include "game/screen_flow.h"
#include "game/screens.h"
#include "game/window_icon.h"
#include "game/game_io.h"
#include "toolkit/audio/audio_driver.h"
#include "toolkit/core/app.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/lumo2d.h"
#include "toolkit/graphics/sdl/gl_library_preload.h"
#include "toolkit/system/fixed_step_loop.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/system_driver.h"

namespace virexo {

namespace {
TiemposArranque g_tiempos;
kestrel::FixedStepClock g_reloj;
EstadisticasFotogramas* g_estadisticas = nullptr;
std::unique_ptr<ModoJuego> g_modo;

// The CPU time the whole process (all its threads, the renderer's too) has
// spent, in µs.
std::int64_t CpuProcesoUs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return std::int64_t(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}
}

void ponmodo(std::unique_ptr<ModoJuego> modo) { g_modo = std::move(modo); }
ModoJuego* modoactual() { return g_modo.get(); }

const TiemposArranque& tiemposarranque() { return g_tiempos; }

bool arranca(std::string* why) {
    using namespace kestrel;
    using Reloj = std::chrono::steady_clock;
    g_tiempos.inicio = Reloj::now();
    registraficheros();
    InitModules();
    // The window icon's file is registered here too: nothing may be added
    // to the registry once the music threads read it.
    ponicono();
    computer::RegisterVersusFiles();
    // The music and the pictures decode while the question waits for its
    // answer, and the sound device opens and the OpenGL libraries load
    // meanwhile too: none of it then stands between the answer and the
    // first frame.
    RecursosEnCurso enCurso = empiezarecursos();
    AudioDriver();
    kestrel::sdl::PreloadGLLibraries();
    IniciaGlobalesJuego();
    AppTitle = "Virexo";

    const bool fullscreen = Confirm("Fullscreen?", 0) == 1;
    g_tiempos.respuesta = Reloj::now();
    auto g = fullscreen ? Graphics(1024, 768, 32, 60, 0) : Graphics(1024, 768, 0, 60, 0);
    if (!g) {
        if (why) *why = GraphicsError();
        return false;
    }
    g_tiempos.pantalla = Reloj::now();

    HideMouse();
    AutoMidHandle(1);
    AutoImageFlags(FILTEREDIMAGE | MIPMAPPEDIMAGE);
    anchopantalla = GraphicsWidth();
    altopantalla = GraphicsHeight();
    centrox = anchopantalla / 2;
    centroy = altopantalla / 2;

    cargarecursos(enCurso);
    computer::LoadVersusPictures();
    g_tiempos.recursos = Reloj::now();
    docs = {};
    tableros = {};
    canalmusica = Suena(sndmenu);
    creafondo();
    g_tiempos.fondo = Reloj::now();
    return true;
}

void actualiza() {
    if (g_modo) {
        g_modo->actualiza();
        if (g_modo->terminado()) g_modo.reset();
    } else {
        actualizaestado();
    }
    // The title's message stays until a game starts.
    if (estado == "creapartida") quitaaviso();
    muevefondo();
    fotograma += 1.0f;
}

void dibuja() {
    // The backdrop covers the whole screen (clearing it where it must).
    // What lies under the boards' pieces is drawn over the backdrop in its
    // own pass.
    const std::vector<kestrel::ImageOver> bajo = bajotableros(estado);
    dibujafondo(bajo);
    dibujapantalla(estado, bajo.empty());
    if (estado == "menu") dibujaaviso();
    if (g_modo) g_modo->dibuja();
}

void actualizaydibuja() {
    actualiza();
    dibuja();
}

int fotogramajuego(std::int64_t ahoraUs) {
    const std::int64_t inicio = kestrel::SteadyMicros();
    const std::int64_t inicioCpu = g_estadisticas ? CpuProcesoUs() : 0;
    const ModoJuego* modo = g_modo.get();
    const std::uint64_t correcciones = modo ? modo->correcciones() : 0;
    const int pasos = kestrel::RunFixedSteps(g_reloj, ahoraUs, actualiza);
    dibuja();
    if (g_estadisticas) {
        // The frame's work: its updates and its drawing filled (the swap
        // would wait for the filling anyway, after the pacing pause).
        kestrel::FinishDrawing();
        const bool corrigio = g_modo.get() == modo && modo && modo->correcciones() != correcciones;
        g_estadisticas->AnotaTrabajo(kestrel::SteadyMicros() - inicio, corrigio, CpuProcesoUs() - inicioCpu);
    }
    kestrel::Flip(1);
    if (g_estadisticas) {
        // Play is told apart by the number of players: two boards draw more.
        const std::string pantalla = estado == "juego" ? estado + "-" + std::to_string(jugadores) + "p" : estado;
        g_estadisticas->Anota(pantalla, kestrel::SteadyMicros(), pasos);
        for (int i = 0; i < 2; ++i)
            if (docs[i]) g_estadisticas->AnotaLanzador(i, docs[i].get(), docs[i]->x);
    }
    return pasos;
}

void fotogramajuego() { fotogramajuego(kestrel::SteadyMicros()); }

void reiniciareloj() { g_reloj.Reset(); }

void anotaestadisticas(EstadisticasFotogramas* estadisticas) { g_estadisticas = estadisticas; }

}  // namespace virexo
