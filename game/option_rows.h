// The option lists line by line: the title's list (its picture's four lines
// and the versus line drawn above it) and the difficulty screen's. A mode
// that runs the game (the online game) may show only the lines its player
// can press; offline every line is shown.
#pragma once

namespace virexo {

// The title's lines, one bit each.
enum FilaTitulo : unsigned {
    kFilaUno = 1u << 0,     // Single : F1
    kFilaDos = 1u << 1,     // Doubles : F2
    kFilaAyuda = 1u << 2,   // Help : F3
    kFilaSalir = 1u << 3,   // Exit : ESC
    kFilaVersus = 1u << 4,  // Versus : F4, its own picture
};
inline constexpr unsigned kTodoTitulo = kFilaUno | kFilaDos | kFilaAyuda | kFilaSalir | kFilaVersus;

// The difficulty screen's lines, one bit each.
enum FilaDificultad : unsigned {
    kFilaSuave = 1u << 0,   // F1 : Mild
    kFilaNormal = 1u << 1,  // F2 : Normal
    kFilaSevera = 1u << 2,  // F3 : Severe
    kFilaMenu = 1u << 3,    // ESC : Menu
};
inline constexpr unsigned kTodaDificultad = kFilaSuave | kFilaNormal | kFilaSevera | kFilaMenu;

struct OpcionesVisibles {
    unsigned titulo = kTodoTitulo;
    unsigned dificultad = kTodaDificultad;
    bool operator==(const OpcionesVisibles&) const = default;
};

// Where each line of a list picture lies: line i covers the picture rows
// from kCortes[i] to kCortes[i + 1] (exclusive), the cuts falling where the
// neighbouring lines' shadows meet.
inline constexpr int kCortesOpciones[5] = {63, 103, 141, 179, 217};
inline constexpr int kCortesDificultad[5] = {73, 136, 206, 275, 338};

}  // namespace virexo
