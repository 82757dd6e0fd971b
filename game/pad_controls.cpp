#include "game/pad_controls.h"

#include "toolkit/system/polled_input.h"

namespace virexo {

namespace {

using kestrel::PadButton;

int PlayerHits(int joy, std::initializer_list<PadButton> buttons) {
    int n = 0;
    for (PadButton b : buttons) n += kestrel::PadHit(joy, b);
    return n;
}

}  // namespace

int PadHits(std::initializer_list<PadButton> buttons) {
    int n = 0;
    for (PadButton b : buttons) n += kestrel::PadHitAny(b);
    return n;
}

bool KeyOrPad(int key, std::initializer_list<PadButton> buttons) {
    const int keys = kestrel::KeyHit(key);
    return keys + PadHits(buttons) > 0;
}

void FlushInput() {
    kestrel::FlushKeys();
    kestrel::FlushPads();
}

int PadWalkLeft(int joy) { return PlayerHits(joy, {PadButton::DpadLeft, PadButton::StickLeft}); }
int PadWalkRight(int joy) { return PlayerHits(joy, {PadButton::DpadRight, PadButton::StickRight}); }
int PadPickUp(int joy) {
    return PlayerHits(joy, {PadButton::DpadDown, PadButton::StickDown, PadButton::X});
}
int PadThrow(int joy) { return PlayerHits(joy, {PadButton::DpadUp, PadButton::StickUp, PadButton::A}); }

}  // namespace virexo
