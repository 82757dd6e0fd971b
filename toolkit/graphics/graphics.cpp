#include "toolkit/graphics/graphics.h"

#include <climits>

#include "kestrel_embed/RegisterGLDrawTextFontFile.h"

#include "toolkit/core/error.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/core/run_once.h"
#include "toolkit/core/warn_once.h"
#include "toolkit/graphics/frame_pacing.h"
#include "toolkit/graphics/startup_hints.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {

std::string TGraphicsMode::ToString() const {
    return std::to_string(width) + "," + std::to_string(height) + "," + std::to_string(depth) +
           " " + std::to_string(hertz) + "Hz";
}

TGraphicsModePtr TGraphicsMode::Create(int width, int height, int depth, int hertz) {
    auto m = std::make_shared<TGraphicsMode>();
    m->width = width;
    m->height = height;
    m->depth = depth;
    m->hertz = hertz;
    return m;
}

TGraphicsDriverPtr TGraphics::Driver() { throw TNullMethodException(); }
void TGraphics::GetSettings(int&, int&, int&, int&, int&) { throw TNullMethodException(); }
void TGraphics::Close() { throw TNullMethodException(); }

std::vector<TGraphicsModePtr> TGraphicsDriver::GraphicsModes() { throw TNullMethodException(); }
TGraphicsPtr TGraphicsDriver::AttachGraphics(std::intptr_t, int) { throw TNullMethodException(); }
TGraphicsPtr TGraphicsDriver::CreateGraphics(int, int, int, int, int) {
    throw TNullMethodException();
}
void TGraphicsDriver::SetGraphics(const TGraphicsPtr&) { throw TNullMethodException(); }
void TGraphicsDriver::Flip(int) { throw TNullMethodException(); }

namespace {

struct Settings {
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
};

TGraphicsDriverPtr g_driver;
int g_defaultFlags = 0;
std::vector<TGraphicsModePtr> g_modes;
TGraphicsPtr g_current;
Settings g_settings;
TGraphicsPtr g_opened;
bool g_softSync = false;
bool g_hardSync = false;
SoftSync g_soft;
VsyncPacer g_vsync;
int g_seq = 1;
int g_flipHook = -1;
bool g_endRegistered = false;
std::string g_error;

void BumpSeq() { g_seq = g_seq == INT_MAX ? 1 : g_seq + 1; }

void ReleaseCurrent() {
    if (g_driver && g_current) g_driver->SetGraphics(nullptr);
}

// At the program's end, before its globals are destroyed: closes the graphics
// Graphics opened and the current one (a program's own, made current with
// SetGraphics). Left to the destructor of g_current, a window open at the
// end closed while the window layer's own tables were already destroyed.
void CloseAtEnd() {
    EndGraphics();
    if (g_current) CloseGraphics(g_current);
}

void CloseAtEndOnce() {
    if (g_endRegistered) return;
    g_endRegistered = true;
    OnEnd(CloseAtEnd);
}

void SwapWithVsync(void* driver) { static_cast<TGraphicsDriver*>(driver)->Flip(1); }

// A flip that asked for vertical sync: never faster than 60 a second.
void VsyncFlip() {
    if (!g_current) {
        g_driver->Flip(1);
        return;
    }
    PacedSwap(g_vsync, SwapWithVsync, g_driver.get());
}

}  // namespace

void InitGraphics() {
    static bool done = false;
    RunOnce(done, [] {
        InitSystem();
        g_flipHook = AllocHookId();
        // The 8 x 16 font of the GL graphics module's text drawing.
        RegisterGLDrawTextFontFile();
    });
}

int GraphicsSeq() { return g_seq; }

int FlipHook() {
    InitGraphics();
    return g_flipHook;
}

void SetGraphicsDriver(TGraphicsDriverPtr driver, int defaultFlags) {
    BumpSeq();
    if (driver != g_driver) {
        ReleaseCurrent();
        g_modes.clear();
        g_driver = std::move(driver);
    }
    g_defaultFlags = defaultFlags;
    g_current = nullptr;
    g_settings = Settings{};
}

TGraphicsDriverPtr GetGraphicsDriver() { return g_driver; }
int DefaultGraphicsFlags() { return g_defaultFlags; }

std::vector<TGraphicsModePtr> GraphicsModes() {
    if (g_modes.empty() && g_driver) g_modes = g_driver->GraphicsModes();
    return g_modes;
}

int CountGraphicsModes() { return static_cast<int>(GraphicsModes().size()); }

void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz) {
    const auto modes = GraphicsModes();
    if (index < 0 || index >= static_cast<int>(modes.size())) throw TArrayBoundsException();
    const auto& m = modes[static_cast<std::size_t>(index)];
    width = m->width;
    height = m->height;
    depth = m->depth;
    hertz = m->hertz;
}

bool GraphicsModeExists(int width, int height, int depth, int hertz) {
    for (const auto& m : GraphicsModes()) {
        if (width && m->width != width) continue;
        if (height && m->height != height) continue;
        if (depth && m->depth != depth) continue;
        if (hertz && m->hertz != hertz) continue;
        return true;
    }
    return false;
}

TGraphicsPtr CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    g_error.clear();
    if (!g_driver) {
        g_error = kNoGraphicsDriverError;
        return nullptr;
    }
    TGraphicsPtr g;
    try {
        g = g_driver->CreateGraphics(width, height, depth, hertz, flags | g_defaultFlags);
    } catch (...) {
        g_error = DescribeCurrentException();
        return nullptr;
    }
    if (!g && g_error.empty()) g_error = "the graphics driver could not create graphics";
    return g;
}

TGraphicsPtr AttachGraphics(std::intptr_t widget, int flags) {
    g_error.clear();
    if (!g_driver) return nullptr;
    try {
        return g_driver->AttachGraphics(widget, flags | g_defaultFlags);
    } catch (...) {
        g_error = DescribeCurrentException();
        return nullptr;
    }
}

void CloseGraphics(const TGraphicsPtr& graphicsRef) {
    // A copy: the reference may be the module's own g_opened, cleared below.
    const TGraphicsPtr graphics = NonNull(graphicsRef);
    if (graphics == g_opened) g_opened = nullptr;
    if (graphics == g_current) SetGraphics(nullptr);
    graphics->Close();
}

void SetGraphics(const TGraphicsPtr& graphics) {
    if (!graphics) {
        ReleaseCurrent();
        g_current = nullptr;
        g_settings = Settings{};
        return;
    }
    TGraphicsDriverPtr d = graphics->Driver();
    if (d != g_driver) {
        ReleaseCurrent();
        g_modes.clear();
        g_driver = d;
    }
    Settings s;
    graphics->GetSettings(s.width, s.height, s.depth, s.hertz, s.flags);
    g_settings = s;
    d->SetGraphics(graphics);
    g_current = graphics;
    CloseAtEndOnce();
}

int GraphicsWidth() { return g_settings.width; }
int GraphicsHeight() { return g_settings.height; }
int GraphicsDepth() { return g_settings.depth; }
int GraphicsHertz() { return g_settings.hertz; }
int GraphicsFlags() { return g_settings.flags; }

TGraphicsPtr Graphics(int width, int height, int depth, int hertz, int flags) {
    InitGraphics();
    EndGraphics();
    TGraphicsPtr g = CreateGraphics(width, height, depth, hertz, flags);
    if (!g) {
        if (!g_driver) WarnOnce(kNoGraphicsDriverError);
        return nullptr;
    }
    WarnIfNo2DRenderer(g_driver);

    BumpSeq();
    SetGraphics(g);
    if (depth != 0) {
        g_softSync = false;
        g_hardSync = hertz != 0;
        MoveMouse(width / 2, height / 2);
    } else {
        g_hardSync = false;
        g_softSync = hertz != 0;
    }
    if (g_softSync) g_soft.Start(hertz, MilliSecs());
    g_vsync.Reset();
    EnablePolledInput(nullptr);
    g_opened = g;
    CloseAtEndOnce();
    return g;
}

void EndGraphics() {
    if (!g_opened) return;
    BumpSeq();
    DisablePolledInput();
    CloseGraphics(g_opened);
}

void Flip(int sync) {
    RunHooks(FlipHook(), nullptr);
    if (!g_driver) return;
    if (sync != -1) {
        if (sync == 0)
            g_driver->Flip(0);
        else
            VsyncFlip();
        return;
    }
    if (g_current != g_opened) {
        VsyncFlip();
        return;
    }
    if (g_softSync) {
        const std::int32_t wait = g_soft.NextWait(MilliSecs());
        if (wait > 0) Delay(wait);
        g_driver->Flip(0);
    } else if (g_hardSync) {
        VsyncFlip();
    } else {
        g_driver->Flip(0);
    }
}

std::string GraphicsError() { return g_error; }
void SetGraphicsError(const std::string& reason) { g_error = reason; }

}  // namespace kestrel
