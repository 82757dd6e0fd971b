// Modal message boxes over SDL: the caption is AppTitle; Return answers
// with the first button (OK / Yes), Escape with Cancel (or No).
#pragma once

#include <string>

namespace kestrel::sdl {

enum class BoxButtons { Ok, OkCancel, YesNoCancel };

// The pressed button's result (Ok: 0; OkCancel: 1 OK, 0 Cancel;
// YesNoCancel: 1, 0, -1). Where no box can be shown the Cancel result is
// returned and the reason written to standard error.
int ShowMessageBox(const std::string& text, bool serious, BoxButtons buttons);

}  // namespace kestrel::sdl
