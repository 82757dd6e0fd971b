// One frame of a full board (and of a two-player game), and the group check
// on the boards that make it work hardest.
#include <benchmark/benchmark.h>

#include <memory>

#include "game/casilla.h"
#include "game/doc.h"
#include "game/explota.h"
#include "game/ficha.h"
#include "game/globals.h"
#include "game/tablero.h"
#include "toolkit/system/random.h"

namespace {

using namespace virexo;

std::shared_ptr<_tablero> FullBoard(int joy, float x) {
    kestrel::SeedRnd(1234);
    periodobixo = 9;
    periodolinea = 1 << 30;  // no row is pushed while measuring
    lineasiniciales = 14;    // rows 0..13: one more push would end the game
    return _tablero::crea(x, 0.0f, 8, 16, _doc::crea(joy, 4.0f, 15.0f));
}

void BM_ActualizaFullBoard(benchmark::State& state) {
    auto b = FullBoard(0, 320.0f);
    for (auto _ : state) {
        b->actualiza();
        benchmark::DoNotOptimize(b->sx);
    }
    state.counters["pieces"] = static_cast<double>(b->fichas->Count());
    state.counters["viruses"] = b->numbixos;
}
BENCHMARK(BM_ActualizaFullBoard);

void BM_TwoPlayerFrameUpdate(benchmark::State& state) {
    auto left = FullBoard(1, 64.0f);
    auto right = FullBoard(0, 576.0f);
    for (auto _ : state) {
        left->actualiza();
        right->actualiza();
        _explota::actualizaTodo();
        benchmark::DoNotOptimize(right->sx);
    }
}
BENCHMARK(BM_TwoPlayerFrameUpdate);

// A board whose every cell holds a piece of one colour, set directly.
std::shared_ptr<_tablero> PaintedBoard(bool serpentine) {
    lineasiniciales = 0;
    auto b = _tablero::crea(320.0f, 0.0f, 8, 16, _doc::crea(0, 4.0f, 15.0f));
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 16; ++j) {
            auto f = std::make_shared<_ficha>();
            f->color = 0;
            if (serpentine && i % 2 == 1) {
                // Odd columns are walls except one link cell, alternating ends,
                // so the group is one long path that mostly runs against the
                // check's scan order.
                const bool link = (i % 4 == 1) ? j == 0 : j == 15;
                if (!link) f->color = 1 + (j % 2);
            }
            f->x = static_cast<float>(i * 48);
            f->y = f->dy = static_cast<float>(j * 48);
            b->celda(i, j).ficha = f;
            b->fichas->AddLast(f);
        }
    }
    return b;
}

void CheckFrom(benchmark::State& state, bool serpentine, int si, int sj) {
    auto b = PaintedBoard(serpentine);
    for (auto _ : state) {
        b->celda(si, sj).marcada = 1;
        b->comprueba();
        benchmark::DoNotOptimize(b->limpieza);
        state.PauseTiming();
        b->descomprueba();
        b->limpieza = 0;
        state.ResumeTiming();
    }
}

void BM_CompruebaOneColourBoard(benchmark::State& state) { CheckFrom(state, false, 7, 15); }
BENCHMARK(BM_CompruebaOneColourBoard);

void BM_CompruebaSerpentine(benchmark::State& state) { CheckFrom(state, true, 6, 15); }
BENCHMARK(BM_CompruebaSerpentine);

}  // namespace

BENCHMARK_MAIN();
