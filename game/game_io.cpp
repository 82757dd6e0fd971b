#include "game/game_io.h"

#include <utility>

#include "toolkit/audio/audio.h"

namespace virexo {

namespace {
std::function<void(const TSoundPtr&)>& Observer() {
    static std::function<void(const TSoundPtr&)> observer;
    return observer;
}
std::function<TChannelPtr(const TSoundPtr&)>& Gate() {
    static std::function<TChannelPtr(const TSoundPtr&)> gate;
    return gate;
}
}  // namespace

TChannelPtr Suena(const TSoundPtr& sound) {
    if (Observer()) Observer()(sound);
    if (Gate()) return Gate()(sound);
    return TocaSonido(sound);
}

TChannelPtr TocaSonido(const TSoundPtr& sound) {
    if (!sound) return nullptr;
    return kestrel::PlaySound(sound);
}

void PonPuertaSonidos(std::function<TChannelPtr(const TSoundPtr&)> gate) { Gate() = std::move(gate); }

void ParaCanal(const TChannelPtr& channel) {
    if (channel) kestrel::StopChannel(channel);
}

void VolumenCanal(const TChannelPtr& channel, float volume) {
    if (channel) kestrel::SetChannelVolume(channel, volume);
}

void ObservaSonidos(std::function<void(const TSoundPtr&)> observer) {
    Observer() = std::move(observer);
}

}  // namespace virexo
