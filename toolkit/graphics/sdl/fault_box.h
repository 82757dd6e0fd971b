// The "Windows exception" box of the fault report while a display is open.
#pragma once

namespace kestrel::sdl {

// The fault report's box function (SetFaultBox). Called in a child forked
// from the fault handler, where a faulting process's locks (the allocator,
// Xlib) may be held for ever: it starts the program's executable afresh to
// show the box (the process ends as soon as the box is answered) and only
// shows it in place where that cannot be done.
void ShowFaultBox(const char* caption, const char* text);

}  // namespace kestrel::sdl
