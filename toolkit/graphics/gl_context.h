// The native window and OpenGL context layer under the GL graphics driver.
// Contexts are records owned by the layer, kept in a list, newest first.
// Implemented over SDL2 in sdl/gl_context.cpp.
#pragma once

#include <cstdint>

namespace kestrel {

struct GLContext;

inline constexpr int CONTEXT_ATTACHED = 1;
inline constexpr int CONTEXT_WINDOW = 2;
inline constexpr int CONTEXT_DISPLAY = 3;

// depth 0: a titled, resizable window, centred on the usable desktop at
// the largest size that shows the width x height picture whole (its frame
// included): the largest whole multiple of the picture that fits, else
// scaled down. The picture keeps its size whatever the window's: drawn
// straight into the window where the drawable is exactly width x height,
// else offscreen and scaled, letter-boxed, at each swap (mouse points are
// given in the picture's coordinates). Alt+Return and F11 switch between
// the window and a borderless desktop-sized one; those keys never reach
// the program. Otherwise full screen at
// width x height x depth, at hertz and then at any rate; where the display
// cannot take that mode, a borderless desktop-sized window showing the
// width x height picture scaled and letter-boxed. Null when no window or
// context can be made; the reason is then in GraphicsError().
GLContext* GLCreateContext(int width, int height, int depth, int hertz, int flags);
// A context over an existing platform window (its id); size from it.
GLContext* GLAttachContext(std::intptr_t window, int flags);
void GLContextSettings(GLContext* context, int& width, int& height, int& depth, int& hertz,
                       int& flags);
// Binds the context (null: none) if it is not the current one.
void GLSetCurrent(GLContext* context);
void GLCloseContext(GLContext* context);
// Swap interval 1 when sync is non-zero, else 0; then presents the current
// context's picture. Nothing without a current context.
void GLSwapBuffers(int sync);
// Display modes of at least 16 bits per pixel, four Ints each (width,
// height, bits per pixel, hertz); returns how many were stored.
int GLEnumModes(int* buffer, int max);
void SetSwapInterval(int interval);

// The context's mode (CONTEXT_*), and whether its picture is scaled from an
// offscreen framebuffer (the full-screen fall-back).
int GLContextMode(const GLContext* context);
bool GLContextScaled(const GLContext* context);
// The platform window id of a context (0 for null).
std::uintptr_t GLContextWindow(const GLContext* context);

}  // namespace kestrel
