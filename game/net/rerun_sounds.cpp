#include "game/net/rerun_sounds.h"

#include "game/game_io.h"
#include "game/globals.h"
#include "game/player_keys.h"
#include "toolkit/audio/audio.h"

namespace virexo::net {

namespace {

// The music each screen plays and its volume, as the screen flow sets them:
// the game's music from the get-ready's end (a quarter in the pause), the end
// music on the end screens, the title's on the title. The get-ready has none.
struct Music {
    const TSoundPtr* sound = nullptr;
    float volume = 1.0f;
};
Music MusicOf(const std::string& state) {
    if (state == "juego") return {&sndingame, 0.75f};
    if (state == "pausa") return {&sndingame, 0.25f};
    if (espantallafinal(state)) return {&sndgameover, 1.0f};
    if (state == "menu") return {&sndmenu, 1.0f};
    return {};
}

}  // namespace

void SettleMusicAfterCorrection(const TChannelPtr& before) {
    if (canalmusica == before) return;
    ParaCanal(before);
    if (canalmusica && kestrel::ChannelPlaying(canalmusica)) return;
    const Music m = MusicOf(estado);
    if (!m.sound) return;
    canalmusica = TocaSonido(*m.sound);
    VolumenCanal(canalmusica, m.volume);
}

void RerunSounds::Begin(std::uint32_t frame) {
    now_ = &played_[frame];
    for (auto& p : *now_) p.heardThisRun = false;
    PonPuertaSonidos([this](const TSoundPtr& s) { return Ask(s); });
}

void RerunSounds::End() {
    PonPuertaSonidos({});
    now_ = nullptr;
}

void RerunSounds::Forget(std::uint32_t below) { played_.erase(played_.begin(), played_.lower_bound(below)); }

TChannelPtr RerunSounds::Ask(const TSoundPtr& sound) {
    if (!now_) return TocaSonido(sound);
    for (auto& p : *now_) {
        if (!p.heardThisRun && p.sound == sound) {
            p.heardThisRun = true;
            ++skipped_;
            return p.channel;
        }
    }
    Played p{sound, TocaSonido(sound), true};
    now_->push_back(p);
    return p.channel;
}

}  // namespace virexo::net
