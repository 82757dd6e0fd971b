#include "toolkit/graphics/window_options.h"

namespace kestrel {

namespace {
WindowSizing g_sizing = WindowSizing::Fitted;
bool g_fullScreenKeys = true;
}  // namespace

void SetWindowSizing(WindowSizing sizing) { g_sizing = sizing; }

WindowSizing GetWindowSizing() { return g_sizing; }

void SetFullScreenKeys(bool enabled) { g_fullScreenKeys = enabled; }

bool FullScreenKeysEnabled() { return g_fullScreenKeys; }

}  // namespace kestrel
