// The icon of the graphics windows: the picture the desktop shows in the
// window's title bar, task bar and window switcher. It is stored here and
// given to every window the GL driver creates from then on.
#pragma once

#include "toolkit/resources/pixmap.h"

namespace kestrel {

// Sets the icon of the windows opened from now on. The pixmap is copied (as
// PF_RGBA8888), so the caller may change or drop it afterwards. Null, or a
// pixmap without pixels, clears the icon: windows then get the desktop's
// default.
void SetGraphicsIcon(const TPixmapPtr& pixmap);

// The stored PF_RGBA8888 copy, or null when no icon is set.
TPixmapPtr GraphicsIcon();

}  // namespace kestrel
