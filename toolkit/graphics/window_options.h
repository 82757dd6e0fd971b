// How Graphics() makes its window, and the keys the window keeps.
//
// By default, Graphics(width, height) (depth 0) opens a titled window,
// centred on the desktop's usable area, at the largest whole multiple of
// width x height that fits it with its frame (320 x 240 opens 960 x 720 on
// a 1024 x 768 screen; a picture larger than the screen is scaled down).
// The window can be resized; the picture keeps its own width x height
// (GraphicsWidth(), mouse coordinates, GrabPixmap all stay in it) and is
// scaled to the window, letter-boxed with black bars where the shapes
// differ. Alt+Return and F11 switch between that window and full screen (a
// borderless window covering the desktop, the picture scaled the same way),
// and those two keys never reach the program.
//
// Both are switches, read when the window opens (the size) and at each key
// press (the keys); set them before Graphics().
#pragma once

namespace kestrel {

/// How a window opened by Graphics() with depth 0 is sized.
enum class WindowSizing {
    Fitted,  ///< the largest whole multiple that fits, resizable, letter-boxed (default)
    Exact,   ///< exactly width x height pixels, not resizable, the picture unscaled
};

/// Sets how the next window of Graphics() (depth 0) is sized.
void SetWindowSizing(WindowSizing sizing);
/// The sizing set by SetWindowSizing() (default WindowSizing::Fitted).
WindowSizing GetWindowSizing();

/// Whether Alt+Return and F11 switch the window to full screen and back
/// (true, the default: the keys never reach the program) or reach the
/// program as any other key (false: KeyHit(KEY_F11) counts them).
void SetFullScreenKeys(bool enabled);
/// The setting of SetFullScreenKeys().
bool FullScreenKeysEnabled();

}  // namespace kestrel
