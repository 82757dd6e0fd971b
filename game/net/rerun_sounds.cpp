#include "game/net/rerun_sounds.h"

#include "game/game_io.h"

namespace virexo::net {

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
