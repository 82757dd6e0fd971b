// _tablero: one player's board. A grid of cells holding pieces, the thrower
// on its last row, and the rules: rows pushed in at the top, groups of four
// or more same-coloured cells cleared after a delay, gaps closed upward, and
// the end of the game (lost when overrun, won on the last virus).
#pragma once

#include <memory>
#include <vector>

#include "game/game_types.h"
#include "toolkit/core/list.h"
#include "toolkit/core/object.h"
#include "toolkit/graphics/image.h"

namespace virexo {

class _tablero : public kestrel::Object {
public:
    static constexpr int kPaso = 48;           // cell pitch in pixels
    static constexpr int kRetardoLimpia = 10;  // frames a clear waits

    // Cell [i, j] (column i, row j) is casilla[i * alto + j].
    std::vector<std::shared_ptr<_casilla>> casilla;
    kestrel::TListPtr<_ficha> fichas = kestrel::CreateList<_ficha>();
    std::shared_ptr<_doc> doc;
    int alto = 0;
    int ancho = 0;
    float osx = 0.0f;
    float osy = 0.0f;
    float sx = 0.0f;
    float sy = 0.0f;
    float temblor = 0.0f;
    float temblorsigno = -1.0f;
    int limpiacont = 0;
    int limpieza = 0;
    int lineacont = 0;
    int numbixos = 0;

    _tablero();

    static std::shared_ptr<_tablero> crea(float osx, float osy, int ancho, int alto,
                                          const std::shared_ptr<_doc>& doc);
    int ponlinea();
    int ponFicha(int x, int y, const std::shared_ptr<_ficha>& ficha);
    int comprueba();
    int limpia();
    int limpia2();
    int reagrupa();
    int descomprueba();
    int actualiza();
    int dibujaFondo();
    // The board's grid as the backdrop can draw it over itself in the same
    // pass (dibujafondo); no image when the grid picture is not loaded.
    kestrel::ImageOver rejilla() const;
    // What the backdrop can lay of the board into its own picture
    // (dibujafondo: unscaled, unturned, each with its colour and alpha under
    // ALPHABLEND), appended to `bajo` (when given) in drawing order: the
    // grid; then, when this returns true, while the thrower faces one way
    // its shadow, column and figure; the shadows of the plain pieces and of
    // the viruses at rest; and the plain pieces. A shadow or piece that
    // touches something the board still draws itself before it (a turning
    // thrower, a twitching virus's shadow: both filtered at their scale) is
    // left to the board. False, with the grid alone, when a picture cannot
    // be read as drawn (board_underlay.h).
    bool bajopiezas(std::vector<kestrel::ImageOver>* bajo) const;
    // confondo false: what bajopiezas lists is already drawn (by the
    // backdrop).
    int dibuja(int debug, bool confondo = true);
    // Where the board is drawn: sx to the nearest whole pixel. A shake
    // leaves sx between pixels for a second or two, and every picture of
    // the board drawn between pixels is filtered afresh each frame (for a
    // software renderer, twice the board's drawing); on whole pixels the
    // shake looks the same and the pictures are read as they are.
    float sxdibujo() const;

    // The last row a piece may occupy: the row just above the thrower's. A
    // pushed row that brings a piece into it ends the game lost, a throw
    // places nothing below it, and the carried stack is shown from it up.
    int ultimaFila() const { return alto - 2; }

    bool enRejilla(int i, int j) const { return i >= 0 && i < ancho && j >= 0 && j < alto; }
    _casilla& celda(int i, int j) const { return *casilla[static_cast<std::size_t>(i * alto + j)]; }

    // Ends the game for this board, won or lost: writes the end state name,
    // starts the game-over music and plays the failure sound.
    void finDePartida(bool ganada);

private:
    void quitaFicha(const std::shared_ptr<_ficha>& f);
    void marcasSueltasFuera();

    std::vector<int> tocadas_;  // cells a running check has marked (scratch)
    std::vector<int> movidas_;  // cells a regroup pass has filled (scratch)
};

}  // namespace virexo
