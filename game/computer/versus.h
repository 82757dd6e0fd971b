// The game against the computer. Chosen on the title, then its strength,
// then the usual difficulty; the game is a two-board game in which the
// player has the right board (the arrows, the first pad) and the computer
// the left one (the thrower of joy 1), handing its keys in through the
// player-keys seam before each play update. Pause, end screens and the way
// back to the title are the two-player game's.
#pragma once

#include "game/computer/strength.h"
#include "game/game_types.h"

namespace virexo::computer {

class ComputerPlayer;

// Whether the next game is against the computer: the title's versus option
// sets it, its other games clear it.
void ChooseVersus(bool versus);
bool VersusChosen();
void ChooseStrength(Strength s);
Strength ChosenStrength();

// When a game is created: a computer for the left board if versus was
// chosen (seeded from that board), none otherwise.
void StartOpponent();
// Before each play update: the computer's keys for it.
void OpponentKeys();
// The computer playing the current game, or null.
const ComputerPlayer* Opponent();
// No computer any more: the left thrower reads its own keys again.
void StopOpponent();

// The title's versus option, the strength list and its banner: embedded
// beside the asset table, registered with the window icon and loaded after
// the asset table's pictures.
struct VersusPictures {
    TImagePtr option;     // "Versus : F4", lined up above the title's option list
    TImagePtr strengths;  // F1 : Easy / F2 : Medium / F3 : Hard / ESC : Menu
    TImagePtr banner;     // "Computer", a ten-strip banner
};
void RegisterVersusFiles();
void LoadVersusPictures();
const VersusPictures& Pictures();

}  // namespace virexo::computer
