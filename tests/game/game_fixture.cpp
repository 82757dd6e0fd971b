#include "game_fixture.h"

#include "toolkit/audio/audio.h"
#include "toolkit/system/event.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/system_driver.h"

namespace virexo::testing {

void Pulsa(int key) {
    // As the system driver reports a key press and its release.
    kestrel::TEvent::Create(kestrel::EventId::KeyDown, nullptr, key)->Emit();
    kestrel::TEvent::Create(kestrel::EventId::KeyUp, nullptr, key)->Emit();
}

void GameTest::SetUp() {
    ReiniciaGlobales();
    kestrel::InitSystem();
    kestrel::EnablePolledInput();
    kestrel::FlushKeys();
    kestrel::SeedRnd(12345);
    // Silent sounds of the "Null" driver, so the real playback calls run.
    kestrel::InitAudioCore();
    kestrel::SetAudioDriver("Null");
    for (TSoundPtr* s : {&sndmover, &sndlanza, &sndrecoge, &sndpastilla, &sndbixo, &sndfallo,
                         &sndgameover})
        *s = kestrel::LoadSound(kestrel::CreateAudioSample(64, 22050, kestrel::SF_MONO16LE), 0);
    canalmusica = kestrel::PlaySound(kestrel::LoadSound(
        kestrel::CreateAudioSample(64, 22050, kestrel::SF_MONO16LE), kestrel::SOUND_LOOP));
    estado = "juego";
    // The game hands its sound globals by reference, so the address names
    // the sound even while no sound is loaded.
    ObservaSonidos([this](const TSoundPtr& s) { sonidos_[&s] += 1; });
}

void GameTest::TearDown() {
    ObservaSonidos({});
    ReiniciaGlobales();
}

std::shared_ptr<_tablero> GameTest::NuevoTablero(int lineas, float col, int joy) {
    lineasiniciales = lineas;
    auto d = _doc::crea(joy, col, 15.0f);
    return _tablero::crea(320.0f, 0.0f, 8, 16, d);
}

std::shared_ptr<_ficha> GameTest::Pon(_tablero& b, int i, int j, int colour, int bixo) {
    auto f = std::make_shared<_ficha>();
    f->x = static_cast<float>(i * 48);
    f->y = f->dy = static_cast<float>(j * 48);
    f->color = colour;
    f->bixo = bixo;
    f->tablero = std::static_pointer_cast<_tablero>(b.shared_from_this());
    f->img = bixo ? imgvirus[colour] : imgpastilla[colour];
    b.celda(i, j).ficha = f;
    b.fichas->AddLast(f);
    if (bixo) b.numbixos += 1;
    return f;
}

void GameTest::DaEnMano(_tablero& b, int colour, int n) {
    _doc& d = *b.doc;
    for (int k = 0; k < n; ++k) {
        auto f = std::make_shared<_ficha>();
        f->color = colour;
        f->tablero = std::static_pointer_cast<_tablero>(b.shared_from_this());
        f->doc = b.doc;
        f->x = d.sx;
        f->y = f->dy = (d.y - static_cast<float>(d.fichas + 1)) * 48.0f;
        d.fichas += 1;
        d.color = colour;
        d.listafichas->AddFirst(f);
        b.fichas->AddLast(f);
    }
}

void GameTest::Coloca(_tablero& b, int col) {
    b.doc->x = b.doc->ox = static_cast<float>(col);
    b.doc->sx = b.doc->sdx = b.doc->osx = static_cast<float>(col * 48);
}

void GameTest::Frames(_tablero& b, int n) {
    for (int k = 0; k < n; ++k) {
        b.actualiza();
        ExpectInvariantes(b);
    }
}

int GameTest::Sonidos(const TSoundPtr& global) const {
    auto it = sonidos_.find(&global);
    return it == sonidos_.end() ? 0 : it->second;
}

void GameTest::ExpectInvariantes(const _tablero& b) {
    const auto v = CompruebaInvariantes(b);
    std::string all;
    for (const auto& s : v) all += s + "\n";
    EXPECT_TRUE(v.empty()) << all;
}

}  // namespace virexo::testing
