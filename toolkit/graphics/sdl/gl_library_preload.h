// Loading the system's OpenGL libraries ahead of the first window.
//
// Opening the first OpenGL context loads the GL libraries and, with Mesa,
// its driver and LLVM: 60 to 80 ms on a slow machine, spent between a
// player's answer to a first question and the first frame. A program that
// has something to wait for before its display opens (a question, a splash)
// can start that loading on a thread of its own; the first context then finds
// the libraries loaded. The preload's own references are dropped once that
// context exists, so a library the system's GL does not use after all (Mesa's
// driver on a machine with another vendor's) is unloaded again.
#pragma once

namespace kestrel::sdl {

// Starts loading the GL libraries on a thread of its own (once; later calls
// do nothing). Nothing is shown and nothing fails: a library that is not
// there is simply not preloaded. A fork made while it loads (SDL shows its X11
// message boxes in a forked child) waits until the loading is done, so that
// the child never inherits a dynamic loader half-way through a library.
void PreloadGLLibraries();

// Waits for a started preload to finish. The window layer calls it before it
// creates a context.
void FinishGLPreload();

// Drops the preload's references. The window layer calls it once a context
// exists.
void ReleaseGLPreload();

}  // namespace kestrel::sdl
