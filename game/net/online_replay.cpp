#include "game/net/online_replay.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "game/globals.h"
#include "game/look_random.h"
#include "game/play_mode.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game/net/state_checksum.h"
#include "toolkit/system/random.h"

namespace virexo::net {

namespace {
constexpr const char* kMagic = "virexo-replay 1";

void NewGame(const OnlineReplay& r) { PrepareOnlineGame(r.seed, r.difficulty); }

void RunOne(const std::array<std::uint8_t, 2>& bits) {
    const TeclasJugadores k{bits[0], bits[1]};
    ponteclasdered(&k);
    actualizaestado();
    ponteclasdered(nullptr);
    // The pause ran outside the updates; the replay plays on at once.
    if (estado == "pausa") reanudapartida();
}

class ReplayMode final : public ModoJuego {
public:
    explicit ReplayMode(OnlineReplay r) : replay_(std::move(r)) { NewGame(replay_); }
    ~ReplayMode() override { azaraparte(false); }
    void actualiza() override {
        if (next_ < replay_.keys.size() && estado != "menu") {
            RunOne(replay_.keys[next_++]);
            return;
        }
        if (estado != "menu") vuelvealtitulo();
        done_ = true;
    }
    void dibuja() override {}
    bool terminado() const override { return done_; }

private:
    OnlineReplay replay_;
    std::size_t next_ = 0;
    bool done_ = false;
};
}  // namespace

void PrepareOnlineGame(std::uint32_t seed, int difficulty) {
    kestrel::SeedRnd(static_cast<std::int32_t>(seed));
    azaraparte(true, static_cast<std::int32_t>(seed ^ 0x5A5A5A5Au));
    jugadores = 2;
    // The boards' first rows draw their viruses by these counters before the
    // game sets them, so they start from zero on both machines alike, not
    // from whatever games each machine played before.
    contbixo[0] = contbixo[1] = 0;
    eligedificultad(difficulty);
}

std::string OnlineReplay::ToText() const {
    std::ostringstream out;
    out << kMagic << "\nversion " << version << "\nseed " << seed << "\ndifficulty " << difficulty << "\nupdates "
        << keys.size() << "\n";
    for (std::size_t i = 0; i < keys.size();) {
        std::size_t j = i;
        while (j < keys.size() && keys[j] == keys[i]) ++j;
        char line[48];
        std::snprintf(line, sizeof line, "%zu %x %x\n", j - i, keys[i][0], keys[i][1]);
        out << line;
        i = j;
    }
    return out.str();
}

std::optional<OnlineReplay> OnlineReplay::FromText(const std::string& text, std::string* why) {
    auto fail = [why](const std::string& w) -> std::optional<OnlineReplay> {
        if (why) *why = w;
        return std::nullopt;
    };
    std::istringstream in(text);
    std::string line, word;
    if (!std::getline(in, line) || line != kMagic) return fail("not a replay of this game");
    OnlineReplay r;
    std::size_t updates = 0;
    long long seed = -1;
    if (!(in >> word) || word != "version" || !(in >> r.version)) return fail("no version");
    if (!(in >> word) || word != "seed" || !(in >> seed) || seed < 0 || seed > 0xFFFFFFFFll) return fail("bad seed");
    r.seed = static_cast<std::uint32_t>(seed);
    if (!(in >> word) || word != "difficulty" || !(in >> r.difficulty) || r.difficulty < 0 || r.difficulty > 2)
        return fail("bad difficulty");
    if (!(in >> word) || word != "updates" || !(in >> updates) || updates > kMaxUpdates) return fail("bad update count");
    r.keys.reserve(updates);
    while (r.keys.size() < updates) {
        std::size_t count = 0;
        unsigned a = 0, b = 0;
        if (!(in >> count >> std::hex >> a >> b >> std::dec)) return fail("the key runs end early");
        if (count == 0 || count > updates - r.keys.size() || a > teclas::kTodas || b > teclas::kTodas)
            return fail("a key run out of range");
        r.keys.insert(r.keys.end(), count, {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b)});
    }
    if (in >> word) return fail("more after the last update");
    return r;
}

std::string WriteOnlineReplay(const OnlineReplay& replay, const std::string& role, std::string* why) {
    return WriteCacheFile("replay-" + role, replay.ToText(), why);
}

std::size_t RunReplayUpdates(const OnlineReplay& replay, std::size_t n) {
    NewGame(replay);
    std::size_t run = 0;
    for (; run < n && run < replay.keys.size() && estado != "menu"; ++run) RunOne(replay.keys[run]);
    azaraparte(false);
    return run;
}

bool StartReplay(const std::string& path, std::string* why) {
    std::ifstream f(path, std::ios::binary);
    if (!f) {
        if (why) *why = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << f.rdbuf();
    auto replay = OnlineReplay::FromText(text.str(), why);
    if (!replay) return false;
    ponmodo(std::make_unique<ReplayMode>(std::move(*replay)));
    return true;
}

}  // namespace virexo::net
