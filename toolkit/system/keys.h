// Key codes of the keyboard functions (KeyHit, KeyDown, WaitKey, the key
// events' data) and the mouse buttons of MouseHit and MouseDown.
//
// Key codes are the Windows virtual-key numbers: the SDL system driver maps
// every key to one, so programs test keys by these names and never by
// number. Left and right modifiers have codes of their own (KEY_LSHIFT,
// KEY_RSHIFT...); the keypad's Enter is KEY_ENTER, as the main one.
#pragma once

namespace kestrel {

// @{
// Editing and control keys.
inline constexpr int KEY_BACKSPACE = 8;
inline constexpr int KEY_TAB = 9;
inline constexpr int KEY_CLEAR = 12;
inline constexpr int KEY_RETURN = 13;
inline constexpr int KEY_ENTER = 13;
inline constexpr int KEY_PAUSE = 19;
inline constexpr int KEY_CAPSLOCK = 20;
inline constexpr int KEY_ESCAPE = 27;
inline constexpr int KEY_SPACE = 32;
inline constexpr int KEY_PAGEUP = 33;
inline constexpr int KEY_PAGEDOWN = 34;
inline constexpr int KEY_END = 35;
inline constexpr int KEY_HOME = 36;
inline constexpr int KEY_LEFT = 37;
inline constexpr int KEY_UP = 38;
inline constexpr int KEY_RIGHT = 39;
inline constexpr int KEY_DOWN = 40;
inline constexpr int KEY_SELECT = 41;
inline constexpr int KEY_PRINT = 42;
inline constexpr int KEY_EXECUTE = 43;
inline constexpr int KEY_SCREEN = 44;
inline constexpr int KEY_INSERT = 45;
inline constexpr int KEY_DELETE = 46;
inline constexpr int KEY_HELP = 47;
// @}

// @{
// The digit row (KEY_0..KEY_9 are '0'..'9').
inline constexpr int KEY_0 = 48;
inline constexpr int KEY_1 = 49;
inline constexpr int KEY_2 = 50;
inline constexpr int KEY_3 = 51;
inline constexpr int KEY_4 = 52;
inline constexpr int KEY_5 = 53;
inline constexpr int KEY_6 = 54;
inline constexpr int KEY_7 = 55;
inline constexpr int KEY_8 = 56;
inline constexpr int KEY_9 = 57;
// @}

// @{
// Letters (KEY_A..KEY_Z are 'A'..'Z').
inline constexpr int KEY_A = 65;
inline constexpr int KEY_B = 66;
inline constexpr int KEY_C = 67;
inline constexpr int KEY_D = 68;
inline constexpr int KEY_E = 69;
inline constexpr int KEY_F = 70;
inline constexpr int KEY_G = 71;
inline constexpr int KEY_H = 72;
inline constexpr int KEY_I = 73;
inline constexpr int KEY_J = 74;
inline constexpr int KEY_K = 75;
inline constexpr int KEY_L = 76;
inline constexpr int KEY_M = 77;
inline constexpr int KEY_N = 78;
inline constexpr int KEY_O = 79;
inline constexpr int KEY_P = 80;
inline constexpr int KEY_Q = 81;
inline constexpr int KEY_R = 82;
inline constexpr int KEY_S = 83;
inline constexpr int KEY_T = 84;
inline constexpr int KEY_U = 85;
inline constexpr int KEY_V = 86;
inline constexpr int KEY_W = 87;
inline constexpr int KEY_X = 88;
inline constexpr int KEY_Y = 89;
inline constexpr int KEY_Z = 90;
// @}

// @{
// System keys.
inline constexpr int KEY_LSYS = 91;
inline constexpr int KEY_RSYS = 92;
inline constexpr int KEY_APPS = 93;
// @}

// @{
// The keypad.
inline constexpr int KEY_NUM0 = 96;
inline constexpr int KEY_NUM1 = 97;
inline constexpr int KEY_NUM2 = 98;
inline constexpr int KEY_NUM3 = 99;
inline constexpr int KEY_NUM4 = 100;
inline constexpr int KEY_NUM5 = 101;
inline constexpr int KEY_NUM6 = 102;
inline constexpr int KEY_NUM7 = 103;
inline constexpr int KEY_NUM8 = 104;
inline constexpr int KEY_NUM9 = 105;
inline constexpr int KEY_NUMMULTIPLY = 106;
inline constexpr int KEY_NUMADD = 107;
inline constexpr int KEY_NUMSUBTRACT = 109;
inline constexpr int KEY_NUMDECIMAL = 110;
inline constexpr int KEY_NUMDIVIDE = 111;
// @}

// @{
// Function keys.
inline constexpr int KEY_F1 = 112;
inline constexpr int KEY_F2 = 113;
inline constexpr int KEY_F3 = 114;
inline constexpr int KEY_F4 = 115;
inline constexpr int KEY_F5 = 116;
inline constexpr int KEY_F6 = 117;
inline constexpr int KEY_F7 = 118;
inline constexpr int KEY_F8 = 119;
inline constexpr int KEY_F9 = 120;
inline constexpr int KEY_F10 = 121;
inline constexpr int KEY_F11 = 122;
inline constexpr int KEY_F12 = 123;
inline constexpr int KEY_F13 = 124;
inline constexpr int KEY_F14 = 125;
inline constexpr int KEY_F15 = 126;
inline constexpr int KEY_F16 = 127;
inline constexpr int KEY_F17 = 128;
inline constexpr int KEY_F18 = 129;
inline constexpr int KEY_F19 = 130;
inline constexpr int KEY_F20 = 131;
inline constexpr int KEY_F21 = 132;
inline constexpr int KEY_F22 = 133;
inline constexpr int KEY_F23 = 134;
inline constexpr int KEY_F24 = 135;
// @}

// @{
// Locks.
inline constexpr int KEY_NUMLOCK = 144;
inline constexpr int KEY_SCROLL = 145;
// @}

// @{
// Modifiers, left and right.
inline constexpr int KEY_LSHIFT = 160;
inline constexpr int KEY_RSHIFT = 161;
inline constexpr int KEY_LCONTROL = 162;
inline constexpr int KEY_RCONTROL = 163;
inline constexpr int KEY_LALT = 164;
inline constexpr int KEY_RALT = 165;
// @}

// @{
// Punctuation (US layout positions).
inline constexpr int KEY_SEMICOLON = 186;
inline constexpr int KEY_EQUALS = 187;
inline constexpr int KEY_COMMA = 188;
inline constexpr int KEY_MINUS = 189;
inline constexpr int KEY_PERIOD = 190;
inline constexpr int KEY_SLASH = 191;
inline constexpr int KEY_TILDE = 192;
inline constexpr int KEY_OPENBRACKET = 219;
inline constexpr int KEY_BACKSLASH = 220;
inline constexpr int KEY_CLOSEBRACKET = 221;
inline constexpr int KEY_QUOTES = 222;
inline constexpr int KEY_OEM102 = 226;
// @}

// @{
// The platform's codes of either shift, control or alt key, as key
// messages carry them before the left and right keys are told apart; the
// keyboard functions and key events never see them.
inline constexpr int KEY_SHIFT = 16;
inline constexpr int KEY_CONTROL = 17;
inline constexpr int KEY_ALT = 18;
// @}

// @{
// Mouse buttons of MouseHit, MouseDown and the mouse events.
inline constexpr int MOUSE_LEFT = 1;
inline constexpr int MOUSE_RIGHT = 2;
inline constexpr int MOUSE_MIDDLE = 3;
// @}

// The number of key codes KeyHit and KeyDown keep count of (0..KEY_COUNT-1).
inline constexpr int KEY_COUNT = 256;

}  // namespace kestrel
