// Where the online game writes over the screens: its panels cover no label
// of any screen, on either side, at the game's window size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/globals.h"
#include "game/net/online_screens.h"
#include "game/notice.h"
#include "game/screen_layout.h"
#include "toolkit/core/exit_handlers.h"
#include "tools/replay/replay.h"

namespace virexo {
namespace {

bool Overlap(const CajaTiempo& a, const CajaTiempo& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

std::string Describe(const CajaTiempo& c) {
    return "(" + std::to_string(c.x0) + ", " + std::to_string(c.y0) + ")-(" + std::to_string(c.x1) + ", " +
           std::to_string(c.y1) + ")";
}

// The longest texts each side's panels can hold: a measured round trip,
// the host still measuring on the difficulty screen, the largest delay.
net::OnlineScreenInfo Side(bool host) {
    net::OnlineScreenInfo info;
    info.host = host;
    info.port = 7420;
    info.target = "203.0.113.200:7420";
    info.attempts = 2;
    info.addresses = {"192.168.100.200"};
    info.rttMs = 199.6;
    info.delay = 8;
    info.measuring = host;
    return info;
}

class OnlineLayout : public ::testing::Test {
protected:
    void SetUp() override {
        replay::Script script;
        script.frames = 1 << 30;
        std::string why;
        if (!harness.Start(script, &why)) GTEST_SKIP() << "no display: " << why;
    }
    void TearDown() override { kestrel::RunExitHandlers(); }

    // Every box of what the online game writes on the screen of state
    // overlaps no label there, and stays on the screen.
    void ExpectClear(const net::OnlineScreenInfo& info, const std::string& state) {
        const std::vector<CajaTiempo> labels = etiquetaspantalla(state, net::OnlineOptionRows(info.host));
        std::vector<CajaTiempo> written;
        const auto lines = net::PanelLines(info, state);
        if (!lines.empty()) {
            const net::PanelPlace at = net::PanelAt(state, lines.size());
            written.push_back(cajalineas(lines, at.x, at.y, at.scale));
        }
        for (bool desync : {false, true}) {
            net::OnlineScreenInfo late = info;
            late.waitingForPeer = true;
            late.desync = desync;
            const std::string top = net::TopLine(late, state);
            if (top.empty()) continue;
            const net::PanelPlace at = net::TopLineAt(late);
            written.push_back(cajalineas({top}, at.x, at.y, at.scale));
        }
        for (const CajaTiempo& w : written) {
            EXPECT_GE(w.x0, 0.0f) << state;
            EXPECT_GE(w.y0, 0.0f) << state;
            EXPECT_LE(w.x1, static_cast<float>(anchopantalla)) << state;
            EXPECT_LE(w.y1, static_cast<float>(altopantalla)) << state;
            for (const CajaTiempo& l : labels)
                EXPECT_FALSE(Overlap(w, l)) << (info.host ? "host " : "guest ") << state << ": panel "
                                            << Describe(w) << " covers label " << Describe(l);
        }
    }

    replay::Harness harness;
};

TEST_F(OnlineLayout, ThePanelsCoverNoLabelOnAnyScreenOfEitherSide) {
    ASSERT_EQ(anchopantalla, 1024);
    ASSERT_EQ(altopantalla, 768);
    for (bool host : {true, false}) {
        const net::OnlineScreenInfo info = Side(host);
        // (The help page fills the screen; it is reached from the title
        // only, where nothing online is written over it.)
        for (const char* state : {"espera", "menu", "dificultad", "iniciajuego", "juego", "pausa", "fin10", "fin20",
                                  "fin21", "fin10b", "fin20b", "fin21b"})
            ExpectClear(info, state);
    }
    // Offline every line is there: online the host's title lacks Single and
    // Versus, the guest's Doubles too, and the guest's difficulty list all
    // but ESC : Menu.
    const auto title = etiquetaspantalla("menu", OpcionesVisibles{});
    const auto difficulty = etiquetaspantalla("dificultad", OpcionesVisibles{});
    EXPECT_EQ(title.size() - etiquetaspantalla("menu", net::OnlineOptionRows(true)).size(), 2u);
    EXPECT_EQ(title.size() - etiquetaspantalla("menu", net::OnlineOptionRows(false)).size(), 3u);
    EXPECT_EQ(difficulty.size(), etiquetaspantalla("dificultad", net::OnlineOptionRows(true)).size());
    EXPECT_EQ(difficulty.size() - etiquetaspantalla("dificultad", net::OnlineOptionRows(false)).size(), 3u);
    // The lists' lines, as cut, come top to bottom without overlapping (they
    // are the last boxes: the title's four then its versus line).
    ASSERT_GE(title.size(), 5u);
    const std::size_t first = title.size() - 5;
    for (std::size_t i = first + 1; i < first + 4; ++i) EXPECT_LE(title[i - 1].y1, title[i].y0);
    EXPECT_LE(title.back().y1, title[first].y0);  // the versus line stands above the list
    ASSERT_GE(difficulty.size(), 4u);
    for (std::size_t i = difficulty.size() - 3; i < difficulty.size(); ++i)
        EXPECT_LE(difficulty[i - 1].y1, difficulty[i].y0);
}

}  // namespace
}  // namespace virexo
