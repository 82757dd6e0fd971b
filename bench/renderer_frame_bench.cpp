// CPU time to submit one frame of 400 textured quads with the state changes
// a frame of the game makes: a glowing backdrop in light blending, two
// boards of pieces each drawn with a drop shadow (colour and alpha changes
// per quad, alpha blending), a rotated and scaled thrower per board and the
// time counter in text. The presentation (Flip) is not timed; the CPU time
// is the main thread's (Mesa's software rasteriser fills pixels on threads
// of its own). Runs on
// SDL's offscreen driver unless SDL_VIDEODRIVER says otherwise.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "toolkit/graphics/gl_lumo2d_driver.h"
#include "toolkit/graphics/lumo2d.h"

namespace {

using namespace kestrel;

TPixmapPtr Solid(int w, int h, std::uint32_t argb) {
    TPixmapPtr p = CreatePixmap(w, h, PF_RGBA8888, 4);
    p->ClearPixels(argb);
    return p;
}

struct Scene {
    TImagePtr glow, pieces, grid, doc;
};

Scene MakeScene() {
    Scene s;
    AutoMidHandle(1);
    s.glow = LoadImage(Solid(1024, 768, 0x40306080u), FILTEREDIMAGE);
    s.pieces = LoadAnimImage(Solid(288, 48, 0xFFFFFFFFu), 48, 48, 0, 6, FILTEREDIMAGE);
    s.grid = LoadImage(Solid(384, 768, 0x30FFFFFFu), FILTEREDIMAGE);
    s.doc = LoadImage(Solid(140, 81, 0xFFC0C0C0u), FILTEREDIMAGE);
    AutoMidHandle(0);
    return s;
}

// 1 backdrop + 2 x (grid + 96 pieces x 2 + thrower x 2) + 8 glyphs = 401 quads.
void SubmitFrame(const Scene& s) {
    Cls();
    SetBlend(LIGHTBLEND);
    SetColor(255, 255, 255);
    SetAlpha(1);
    DrawImage(s.glow, 512, 384);
    for (int board = 0; board < 2; ++board) {
        const float left = 40.0f + 560.0f * float(board);
        SetBlend(ALPHABLEND);
        SetAlpha(0.6f);
        DrawImage(s.grid, left + 192, 384);
        for (int i = 0; i < 96; ++i) {
            const float x = left + 24 + 48 * float(i % 8), y = 24 + 48 * float(i / 8);
            const int colour = (i * 7 + board) % 6;
            SetColor(0, 0, 0);
            SetAlpha(0.5f);
            DrawImage(s.pieces, x + 4, y + 4, colour);  // shadow
            SetColor(255, 255, 255);
            SetAlpha(1);
            DrawImage(s.pieces, x, y, colour);
        }
        SetRotation(float(board) * 8.0f);
        SetScale(1.1f, 1.1f);
        SetColor(0, 0, 0);
        SetAlpha(0.5f);
        DrawImage(s.doc, left + 196, 732);
        SetColor(255, 255, 255);
        SetAlpha(1);
        DrawImage(s.doc, left + 192, 728);
        SetRotation(0);
        SetScale(1, 1);
    }
    SetColor(255, 255, 0);
    DrawText("01:23.45", 480, 740);
}

// state.range(0) = 1: the viewport is cut to one pixel, so that the
// software rasteriser has next to nothing to fill and the figure is the
// submission itself (the renderer's work and OpenGL's API side).
void BM_SubmitFrame400Quads(benchmark::State& state) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    InitLumo2D();
    if (!Graphics(1024, 768, 0, 0, 0)) {
        state.SkipWithError(("no OpenGL display: " + GraphicsError()).c_str());
        return;
    }
    const Scene scene = MakeScene();
    SubmitFrame(scene);  // textures made outside the timed frames
    Flip(0);
    if (state.range(0) == 1) SetViewport(0, 0, 1, 1);
    const GLStateCache& cache = TGLLumo2DDriver::StateCache();
    const long before = cache.counts().total();
    for (auto _ : state) {
        SubmitFrame(scene);
        state.PauseTiming();
        Flip(0);
        state.ResumeTiming();
    }
    state.counters["gl_state_changes_per_frame"] =
        double(cache.counts().total() - before) / double(state.iterations());
    EndGraphics();
}
BENCHMARK(BM_SubmitFrame400Quads)->Unit(benchmark::kMicrosecond)->ArgName("clipped")->Arg(0)->Arg(1);

// The renderer's own share: the same frame through the module functions,
// images and state record, onto a driver that sends nothing anywhere.
class NullFrame : public TImageFrame {
public:
    void Draw(float x0, float, float, float, float tx, float, float, float, float, float) override {
        benchmark::DoNotOptimize(x0 + tx);
    }
};

class NullDriver;

class NullGraphics : public TGraphics {
public:
    TGraphicsDriverPtr Driver() override;
    void GetSettings(int& w, int& h, int& d, int& hz, int& fl) override {
        w = 1024, h = 768, d = 0, hz = 0, fl = 0;
    }
    void Close() override {}
};

class NullDriver : public TLumo2DDriver {
public:
    std::vector<TGraphicsModePtr> GraphicsModes() override { return {}; }
    TGraphicsPtr AttachGraphics(std::intptr_t, int) override { return nullptr; }
    TGraphicsPtr CreateGraphics(int, int, int, int, int) override { return nullptr; }
    void SetGraphics(const TGraphicsPtr& g) override {
        if (auto r = std::dynamic_pointer_cast<TLumo2DGraphics>(g)) r->MakeCurrent();
    }
    void Flip(int) override {}
    TImageFramePtr CreateFrameFromPixmap(const TPixmapPtr&, int) override {
        return std::make_shared<NullFrame>();
    }
    void SetBlend(int m) override { sink += m; }
    void SetAlpha(float a) override { sink += int(a); }
    void SetColor(int r, int, int) override { sink += r; }
    void SetClsColor(int, int, int) override {}
    void SetViewport(int, int, int, int) override {}
    void SetTransform(float ix, float, float, float) override { sink += int(ix); }
    void SetLineWidth(float) override {}
    void Cls() override {}
    void Plot(float, float) override {}
    void DrawLine(float, float, float, float, float, float) override {}
    void DrawRect(float, float, float, float, float, float) override {}
    void DrawOval(float, float, float, float, float, float) override {}
    void DrawPoly(const std::vector<float>&, float, float, float, float) override {}
    void DrawPixmap(const TPixmapPtr&, int, int) override {}
    TPixmapPtr GrabPixmap(int, int, int, int) override { return nullptr; }
    void SetResolution(float, float) override {}
    int sink = 0;
};

std::shared_ptr<NullDriver> TheNullDriver() {
    static auto d = std::make_shared<NullDriver>();
    return d;
}

TGraphicsDriverPtr NullGraphics::Driver() { return TheNullDriver(); }

void BM_SubmitFrame400QuadsRendererOnly(benchmark::State& state) {
    InitGraphics();
    SetGraphicsDriver(TheNullDriver(), 0);
    auto record = TLumo2DGraphics::Create(std::make_shared<NullGraphics>(), TheNullDriver());
    SetGraphics(record);
    const Scene scene = MakeScene();
    for (auto _ : state) SubmitFrame(scene);
    benchmark::DoNotOptimize(TheNullDriver()->sink);
    SetGraphics(nullptr);
}
BENCHMARK(BM_SubmitFrame400QuadsRendererOnly)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
