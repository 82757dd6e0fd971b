// The game's embedded files: their registration and their loading into the
// globals, in the order of the asset table.
#pragma once

#include <future>

#include "toolkit/audio/audio_sample.h"

namespace virexo {

// Registers the 45 embedded files under their names, in table order.
void registraficheros();

// The three music tracks, decoding on threads of their own. Decoding them is
// most of the start-up's work, and nothing observable depends on when it
// happens: only the sounds made from them are, and cargarecursos makes those
// at their place in the asset table. Destroying an unfinished set waits for
// its threads. Decoding errors surface from cargarecursos, where a
// sequential load would have raised them.
struct MusicaEnCurso {
    std::future<kestrel::TAudioSamplePtr> gameover, menu, ingame;
};

// Starts decoding the tracks; needs the sample loaders started and every
// embedded file registered (the threads read the registry unlocked).
MusicaEnCurso empiezamusica();

// Loads the font (made current), the ten sounds and the images; the music
// comes from the tracks started by empiezamusica.
void cargarecursos(MusicaEnCurso& musica);

}  // namespace virexo
