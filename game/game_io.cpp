#include "game/game_io.h"

#include <utility>

namespace virexo {

namespace {
std::function<void(const TSoundPtr&)>& Observer() {
    static std::function<void(const TSoundPtr&)> observer;
    return observer;
}
}  // namespace

int TeclaPulsada(int key) {
    (void)key;
    return 0;  // wired to the polled-input module once it is available
}

TChannelPtr Suena(const TSoundPtr& sound) {
    if (Observer()) Observer()(sound);
    if (!sound) return nullptr;
    return nullptr;  // wired to the audio module once it is available
}

void ParaCanal(const TChannelPtr& channel) { (void)channel; }

void VolumenCanal(const TChannelPtr& channel, float volume) {
    (void)channel;
    (void)volume;
}

void ObservaSonidos(std::function<void(const TSoundPtr&)> observer) {
    Observer() = std::move(observer);
}

}  // namespace virexo
