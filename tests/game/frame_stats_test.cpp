// The frame statistics report and the command line that asks for it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "game/frame_stats.h"
#include "game/options.h"

namespace virexo {
namespace {

TEST(FrameStats, ReportsFramesRateIntervalsAndGameSpeedPerStateAndOverall) {
    EstadisticasFotogramas stats;
    std::int64_t t = 1000000;
    stats.Anota("menu", t, 1);  // starts the clock only
    // Ten title frames at 60 a second, one update each: real-time speed.
    for (int i = 0; i < 10; ++i) stats.Anota("menu", t += 16667, 1);
    // Ten play frames at 25 a second running 2 or 3 updates (2.4 on average):
    // 24 updates in 0.4 s is real time too; one frame takes 100 ms.
    const int updates[] = {2, 3, 2, 3, 2, 2, 3, 2, 3, 2};
    for (int i = 0; i < 10; ++i) stats.Anota("juego", t += (i == 9 ? 100000 : 33333), updates[i]);
    std::ostringstream out;
    stats.Escribe(out);
    std::istringstream in(out.str());
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "state frames seconds fps median_ms p95_ms game_speed");
    std::string name;
    long frames;
    double seconds, fps, median, p95, speed;
    ASSERT_TRUE(in >> name >> frames >> seconds >> fps >> median >> p95 >> speed);
    EXPECT_EQ(name, "menu");
    EXPECT_EQ(frames, 10);
    EXPECT_NEAR(fps, 60.0, 0.01);
    EXPECT_NEAR(median, 16.67, 0.01);
    EXPECT_NEAR(speed, 1.0, 0.001);
    ASSERT_TRUE(in >> name >> frames >> seconds >> fps >> median >> p95 >> speed);
    EXPECT_EQ(name, "juego");
    EXPECT_EQ(frames, 10);
    EXPECT_NEAR(seconds, 0.4, 0.0001);
    EXPECT_NEAR(median, 33.33, 0.01);
    EXPECT_NEAR(p95, 100.0, 0.01);  // the slow frame shows in the tail
    EXPECT_NEAR(speed, (24 / 60.0) / 0.4, 0.001);
    ASSERT_TRUE(in >> name >> frames >> seconds >> fps >> median >> p95 >> speed);
    EXPECT_EQ(name, "all");
    EXPECT_EQ(frames, 20);
    EXPECT_FALSE(in >> name);
}

TEST(FrameStats, CountsTheCellsEachThrowerWalkedAcrossGames) {
    EstadisticasFotogramas stats;
    int game1 = 0, game2 = 0;  // two games' throwers
    // Right board's thrower: 3 -> 5 -> 4 (three cells), then a new game's
    // thrower appears at 3 (no walk) and goes to 1 (two more).
    for (float x : {3.0f, 4.0f, 5.0f, 4.0f}) stats.AnotaLanzador(0, &game1, x);
    for (float x : {3.0f, 2.0f, 1.0f}) stats.AnotaLanzador(0, &game2, x);
    stats.AnotaLanzador(5, &game1, 9.0f);  // no such thrower: ignored
    std::ostringstream out;
    stats.Escribe(out);
    const std::string text = out.str();
    EXPECT_NE(text.find("thrower 0 cells_walked 5\n"), std::string::npos) << text;
    // The left board's thrower never appeared: no line for it.
    EXPECT_EQ(text.find("thrower 1"), std::string::npos) << text;
}

TEST(Options, ReadsHelpAndFrameStatsAndRefusesWhatItDoesNotKnow) {
    EXPECT_FALSE(LeeOpciones({}).ayuda);
    EXPECT_FALSE(LeeOpciones({}).estadisticas.has_value());
    EXPECT_TRUE(LeeOpciones({"--version"}).version);
    EXPECT_TRUE(LeeOpciones({"-V"}).version);
    EXPECT_FALSE(LeeOpciones({"--help"}).version);
    // The version line, and the help that begins with it.
    EXPECT_EQ(TextoVersion(), "Virexo " VIREXO_TEST_VERSION "\n");
    EXPECT_EQ(TextoAyuda().rfind(TextoVersion(), 0), 0u);
    EXPECT_NE(TextoAyuda().find("--version"), std::string::npos);
    EXPECT_TRUE(LeeOpciones({"--help"}).ayuda);
    EXPECT_TRUE(LeeOpciones({"-h"}).ayuda);
    EXPECT_EQ(LeeOpciones({"--frame-stats", "f.txt"}).estadisticas, "f.txt");
    EXPECT_THROW(LeeOpciones({"--frame-stats"}), std::invalid_argument);
    EXPECT_THROW(LeeOpciones({"--fullscreen"}), std::invalid_argument);
    EXPECT_NE(TextoAyuda().find("--frame-stats"), std::string::npos);
}

TEST(FrameStats, ReportsEachFramesWorkAndTheFramesWithACorrectionApart) {
    EstadisticasFotogramas stats;
    std::ostringstream none;
    stats.Escribe(none);
    EXPECT_EQ(none.str().find("work"), std::string::npos);  // nothing timed, nothing said
    // 19 frames of 8 ms, one of 15 ms with a correction, one of 11 ms with one.
    for (int i = 0; i < 19; ++i) stats.AnotaTrabajo(8000, false);
    stats.AnotaTrabajo(15000, true);
    stats.AnotaTrabajo(11000, true);
    stats.AnotaTrabajo(-5, false);  // a clock step back counts as nothing
    std::ostringstream out;
    stats.Escribe(out);
    std::istringstream in(out.str());
    std::string line, word, key;
    long frames = 0;
    double median = 0, p95 = 0, max = 0, mean = 0;
    bool sawFrames = false, sawCorrections = false;
    while (std::getline(in, line)) {
        std::istringstream l(line);
        if (!(l >> word >> key) || word != "work") continue;
        std::string k1, k2, k3;
        if (key == "frames") {
            ASSERT_TRUE(l >> frames >> k1 >> median >> k2 >> p95 >> k3 >> max) << line;
            EXPECT_EQ(k1 + k2 + k3, "median_msp95_msmax_ms");
            sawFrames = true;
        } else if (key == "correction_frames") {
            ASSERT_TRUE(l >> frames >> k1 >> mean >> k2 >> max) << line;
            EXPECT_EQ(frames, 2);
            EXPECT_NEAR(mean, 13.0, 0.001);
            EXPECT_NEAR(max, 15.0, 0.001);
            sawCorrections = true;
        }
        if (key == "frames") {
            EXPECT_EQ(frames, 22);
            EXPECT_NEAR(median, 8.0, 0.001);
            EXPECT_NEAR(p95, 11.0, 0.001);
            EXPECT_NEAR(max, 15.0, 0.001);
        }
    }
    EXPECT_TRUE(sawFrames);
    EXPECT_TRUE(sawCorrections);
}

TEST(FrameStats, NamesTheFiveSlowestFramesWithTheStateTheyDrewAndWhen) {
    EstadisticasFotogramas stats;
    // Frame k is timed, then presented 10 ms after the one before; frames
    // 3, 7, 8, 12, 15 and 20 are slow, 12 with a correction, 15 in a
    // state of its own.
    const std::map<int, int> lentos = {{3, 20000}, {7, 25000}, {8, 18000}, {12, 40000}, {15, 30000}, {20, 19000}};
    for (int k = 0; k < 25; ++k) {
        const auto slow = lentos.find(k);
        stats.AnotaTrabajo(slow == lentos.end() ? 5000 : slow->second, k == 12, k == 7 ? 6000 : -1);
        stats.Anota(k == 15 ? "pausa" : "juego-2p", 1000000 + 10000 * k, 1);
    }
    std::ostringstream out;
    stats.Escribe(out);
    std::istringstream in(out.str());
    std::string line;
    std::vector<std::string> seen;
    std::string correccion;
    while (std::getline(in, line)) {
        if (line.rfind("work slowest ", 0) == 0) seen.push_back(line);
        if (line.rfind("work slowest_correction ", 0) == 0) correccion = line;
    }
    // Slowest first; the 18 ms frame is the sixth and left out. A frame's
    // time is that of the frame presented before it (the first, none).
    const std::vector<std::string> expected = {
        "work slowest 40.00 frame 12 at_s 0.110 state juego-2p correction 1 cpu_ms -",
        "work slowest 30.00 frame 15 at_s 0.140 state pausa correction 0 cpu_ms -",
        "work slowest 25.00 frame 7 at_s 0.060 state juego-2p correction 0 cpu_ms 6.00",
        "work slowest 20.00 frame 3 at_s 0.020 state juego-2p correction 0 cpu_ms -",
        "work slowest 19.00 frame 20 at_s 0.190 state juego-2p correction 0 cpu_ms -",
    };
    EXPECT_EQ(seen, expected);
    // The slowest frame with a correction is named apart, even when it is
    // not among the slowest of all.
    EXPECT_EQ(correccion, "work slowest_correction 40.00 frame 12 at_s 0.110 state juego-2p correction 1 cpu_ms -");
    EstadisticasFotogramas otras;
    otras.AnotaTrabajo(30000, false);
    otras.AnotaTrabajo(9000, true, 8500);
    otras.AnotaTrabajo(12000, true, 11000);
    otras.AnotaTrabajo(10000, true);
    otras.Anota("juego-2p", 1000000, 1);
    std::ostringstream out2;
    otras.Escribe(out2);
    EXPECT_NE(out2.str().find("work slowest_correction 12.00 frame 2 at_s 0.000 state - correction 1 cpu_ms 11.00\n"),
              std::string::npos)
        << out2.str();
}

}  // namespace
}  // namespace virexo
