// The game's embedded files: their registration and their loading into the
// globals, in the order of the asset table.
#pragma once

#include <future>
#include <map>
#include <string>

#include "toolkit/audio/audio_sample.h"
#include "toolkit/resources/pixmap.h"

namespace virexo {

// Registers the 45 embedded files under their names, in table order.
void registraficheros();

// The three music tracks and the pictures, decoding on threads of their own
// while the full-screen question waits for its answer. Decoding them is most
// of the start-up's work, and nothing observable depends on when it happens:
// only the sounds and images made from them are, and cargarecursos makes
// those at their place in the asset table. Destroying an unfinished set
// waits for its threads. Decoding errors surface from cargarecursos, where a
// sequential load would have raised them.
struct RecursosEnCurso {
    std::future<kestrel::TAudioSamplePtr> gameover, menu, ingame;
    // Every picture file by name ("doc.png"), decoded to a pixmap (null
    // where decoding failed).
    std::future<std::map<std::string, kestrel::TPixmapPtr>> imagenes;
};

// Starts decoding; needs the sample and pixmap loaders started and every
// embedded file registered (the threads read the registry unlocked).
RecursosEnCurso empiezarecursos();

// Loads the font (made current), the ten sounds and the images; the music
// and the pictures come from the decoding started by empiezarecursos.
void cargarecursos(RecursosEnCurso& enCurso);

}  // namespace virexo
