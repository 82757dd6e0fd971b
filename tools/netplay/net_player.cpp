#include "tools/netplay/net_player.h"

#include "game/doc.h"
#include "game/globals.h"
#include "game/net/online_game.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game/tablero.h"
#include "toolkit/system/keys.h"

namespace virexo::netplay {

namespace {

// The frames the host stays on a screen of the title or an end screen
// before it moves on, as a person would.
constexpr int kDwell = 40;

}  // namespace

int NetPlayer::NextKey() {
    const net::OnlineStatus& st = net::OnlineGameStatus();
    if (!st.running || !st.connected) return -1;
    const bool host = role_ == net::Role::kHost;
    if (!st.inMatch) {
        if (!host || framesInState_ < kDwell) return -1;
        if (estado == "menu") return kestrel::KEY_F2;
        if (estado == "dificultad") return kestrel::KEY_F1;
        return -1;
    }
    if (espantallafinal(estado)) return host && framesInState_ == kDwell ? kestrel::KEY_SPACE : -1;
    // One decision a key's trip through the lockstep: a key pressed now acts
    // delay updates later, and the player looks at the board it made.
    if (estado != "juego") return -1;
    if (lastDecided_ != ~0u && st.matchFrame < lastDecided_ + static_cast<std::uint32_t>(st.delay) + 1) return -1;
    lastDecided_ = st.matchFrame;
    return PlayKey();
}

// This machine's board: the one whose thrower is the local player's (the
// host is the first player). The soak player names that thrower's keys;
// online every player presses the first player's.
int NetPlayer::PlayKey() {
    const int joy = role_ == net::Role::kHost ? 0 : 1;
    for (const auto& board : tableros) {
        if (!board || !board->doc || board->doc->joy != joy) continue;
        const int key = board_.NextKey(*board, keys_);
        if (key < 0) return -1;
        if (key == teclaizquierda[joy]) return teclaizquierda[0];
        if (key == tecladerecha[joy]) return tecladerecha[0];
        if (key == teclaabajo[joy]) return teclaabajo[0];
        if (key == teclaarriba[joy]) return teclaarriba[0];
        return -1;
    }
    return -1;
}

bool NetPlayer::Observe() {
    const std::string now = estado;
    if (now == last_) {
        ++framesInState_;
        return false;
    }
    framesInState_ = 0;
    last_ = now;
    if (now == "creapartida" || now == "iniciajuego") {
        if (now == "iniciajuego") {
            lastDecided_ = ~0u;
            // Games alternate: both players steer; then the guest hardly
            // touches its keys, so its board fills up.
            const bool idle = role_ == net::Role::kGuest && games_ % 2 == 1;
            board_.NewGame(idle ? soak::Style::Idle : soak::Style::Guided);
            ++games_;
        }
        return false;
    }
    if (!espantallafinal(now)) return false;
    ends_.push_back(now);
    if (now.back() == 'b') ++won_;
    else ++lost_;
    return true;
}

std::string NetPlayer::Results() const {
    std::string s;
    for (const std::string& e : ends_) s += (s.empty() ? "" : ",") + e;
    return s.empty() ? "none" : s;
}

}  // namespace virexo::netplay
