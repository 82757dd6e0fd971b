// Frame statistics of the real game, for players who want to know how well
// their machine keeps up and for the benchmarks: per screen state, the
// frames drawn, the interval between presented frames (median and 95th
// percentile), and the game's speed against the wall clock (game updates,
// 60 a second, over wall time).
#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace virexo {

class EstadisticasFotogramas {
public:
    // One presented frame: the state it drew, when its swap returned (µs of
    // a monotonic clock) and the game updates run before it.
    void Anota(const std::string& state, std::int64_t presentedUs, int updates);

    // The report: a header line, then one line per state in first-seen order
    // and a line "all" over the whole run:
    //   state frames seconds fps median_ms p95_ms game_speed
    // game_speed is (updates / 60) / wall seconds of that state's frames.
    void Escribe(std::ostream& out) const;

    // A thrower's column after a frame's updates (thrower 0 is the right
    // board's, 1 the left's; doc tells one game's thrower from the next
    // one's). The report adds, per thrower, the cells it walked in all:
    //   thrower I cells_walked N
    void AnotaLanzador(int lanzador, const void* doc, float columna);

    // One frame's work (µs): from its start to its drawing filled, before
    // the pacing pause and the swap; `correccion`: its updates corrected
    // the past (re-ran updates). With any, the report adds:
    //   work frames N median_ms M p95_ms P max_ms X
    //   work correction_frames N mean_ms A max_ms B
    // and the five slowest frames, slowest first, each with its number (0:
    // the first frame timed), its seconds since the first frame presented,
    // the state it drew, whether it corrected the past and the CPU time
    // the whole process spent meanwhile (`cpuUs`, all its threads; -1:
    // not known): a slow frame that spent little was kept waiting.
    //   work slowest MS frame N at_s S state NAME correction 0|1 cpu_ms C
    // and, with any frame that corrected the past, the slowest of those:
    //   work slowest_correction MS frame N ... (the same fields)
    void AnotaTrabajo(std::int64_t us, bool correccion, std::int64_t cpuUs = -1);

    // When the first frame was presented (µs), or nullopt before it.
    std::optional<std::int64_t> Primero() const;

private:
    struct PorEstado {
        int order = 0;
        std::int64_t frames = 0;
        std::int64_t updates = 0;
        std::int64_t wallUs = 0;
        std::vector<std::int32_t> intervalsUs;
    };
    void Suma(PorEstado& s, std::int64_t intervalUs, int updates);

    std::map<std::string, PorEstado> porEstado_;
    PorEstado total_;
    struct Lanzador {
        const void* doc = nullptr;
        float columna = 0.0f;
        double andado = 0.0;
        bool visto = false;
    };
    Lanzador lanzadores_[2];
    std::vector<std::int32_t> trabajoUs_;
    struct Lento {
        std::int32_t us = 0;
        std::size_t frame = 0;
        std::int64_t atUs = 0;
        std::int64_t cpuUs = -1;
        bool correccion = false;
        std::string state;  // filled in when the frame is presented
    };
    std::vector<Lento> lentos_;  // the slowest, slowest first
    Lento correccionLenta_;      // the slowest that corrected the past
    std::int64_t correccionesN_ = 0, correccionesUs_ = 0, correccionMaxUs_ = 0;
    std::int64_t firstUs_ = 0;
    std::int64_t lastUs_ = 0;
    bool haveLast_ = false;
};

}  // namespace virexo
