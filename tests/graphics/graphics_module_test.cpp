// The graphics module over a fake driver: driver and graphics switching,
// the sequence number, settings, mode queries, failure reporting and the
// routing of Flip.
#include "toolkit/graphics/graphics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/polled_input.h"

namespace kestrel {
namespace {

class FakeDriver;

class FakeGraphics : public TGraphics {
public:
    TGraphicsDriverPtr Driver() override { return driver.lock(); }
    void GetSettings(int& w, int& h, int& d, int& hz, int& f) override {
        w = width;
        h = height;
        d = depth;
        hz = hertz;
        f = flags;
    }
    void Close() override { closed = true; }

    std::weak_ptr<TGraphicsDriver> driver;
    int width = 0, height = 0, depth = 0, hertz = 0, flags = 0;
    bool closed = false;
};

class FakeDriver : public TGraphicsDriver {
public:
    std::vector<TGraphicsModePtr> GraphicsModes() override {
        ++modeQueries;
        return {TGraphicsMode::Create(640, 480, 16, 60), TGraphicsMode::Create(1024, 768, 32, 75)};
    }
    TGraphicsPtr CreateGraphics(int w, int h, int d, int hz, int f) override {
        if (fail == 1) return nullptr;
        if (fail == 2) RuntimeError("GLGraphicsDriver failed to set display mode");
        auto g = std::make_shared<FakeGraphics>();
        g->driver = std::static_pointer_cast<TGraphicsDriver>(shared_from_this());
        g->width = w;
        g->height = h;
        g->depth = d;
        g->hertz = hz;
        g->flags = f;
        made.push_back(g);
        return g;
    }
    void SetGraphics(const TGraphicsPtr& g) override { current.push_back(g); }
    void Flip(int sync) override { flips.push_back(sync); }

    int fail = 0;
    int modeQueries = 0;
    std::vector<std::shared_ptr<FakeGraphics>> made;
    std::vector<TGraphicsPtr> current;
    std::vector<int> flips;
};

int g_flipHooks = 0;
ObjectPtr CountFlip(int, const ObjectPtr& data, const ObjectPtr&) {
    ++g_flipHooks;
    return data;
}

class GraphicsModule : public ::testing::Test {
protected:
    void SetUp() override {
        InitGraphics();
        driver = std::make_shared<FakeDriver>();
        SetGraphicsDriver(driver, GRAPHICS_BACKBUFFER);
    }
    void TearDown() override {
        EndGraphics();
        SetGraphicsDriver(nullptr, 0);
    }
    std::shared_ptr<FakeDriver> driver;
};

TEST_F(GraphicsModule, GraphicsOpensMakesCurrentAndReplacesThePrevious) {
    const int seq0 = GraphicsSeq();
    auto first = Graphics(1024, 768, 0, 60, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GraphicsWidth(), 1024);
    EXPECT_EQ(GraphicsHeight(), 768);
    EXPECT_EQ(GraphicsDepth(), 0);
    EXPECT_EQ(GraphicsHertz(), 60);
    EXPECT_EQ(GraphicsFlags(), GRAPHICS_BACKBUFFER);  // the default flags ORed in
    EXPECT_EQ(driver->current.back(), first);
    EXPECT_TRUE(PolledInputEnabled());
    const int seq1 = GraphicsSeq();
    EXPECT_NE(seq1, seq0);

    auto second = Graphics(800, 600, 0, 0, GRAPHICS_DEPTHBUFFER);
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(driver->made[0]->closed);
    EXPECT_FALSE(driver->made[1]->closed);
    EXPECT_EQ(GraphicsWidth(), 800);
    EXPECT_EQ(GraphicsFlags(), GRAPHICS_BACKBUFFER | GRAPHICS_DEPTHBUFFER);
    // End of the first and opening of the second each count.
    EXPECT_EQ(GraphicsSeq(), seq1 + 2);
    // The first was released (null) before the second became current.
    ASSERT_GE(driver->current.size(), 3u);
    EXPECT_EQ(driver->current[driver->current.size() - 2], nullptr);

    EndGraphics();
    EXPECT_TRUE(driver->made[1]->closed);
    EXPECT_EQ(GraphicsWidth(), 0);
    EXPECT_FALSE(PolledInputEnabled());
    EXPECT_EQ(GraphicsSeq(), seq1 + 3);
    const int seq = GraphicsSeq();
    EndGraphics();  // nothing open: nothing changes
    EXPECT_EQ(GraphicsSeq(), seq);
}

TEST_F(GraphicsModule, FailuresGiveNullWithTheReasonAndChangeNothing) {
    auto g = Graphics(640, 480, 0, 60, 0);
    ASSERT_NE(g, nullptr);
    driver->fail = 2;
    const int seq = GraphicsSeq();
    EXPECT_EQ(Graphics(1024, 768, 32, 60, 0), nullptr);
    EXPECT_EQ(GraphicsError(), "GLGraphicsDriver failed to set display mode");
    // The previous graphics was closed first (step 1), nothing else opened.
    EXPECT_TRUE(driver->made[0]->closed);
    EXPECT_EQ(GraphicsSeq(), seq + 1);
    EXPECT_EQ(GraphicsWidth(), 0);

    driver->fail = 1;
    EXPECT_EQ(CreateGraphics(10, 10, 0, 0, 0), nullptr);
    EXPECT_FALSE(GraphicsError().empty());
    driver->fail = 0;
    EXPECT_NE(Graphics(10, 10, 0, 0, 0), nullptr);
    EXPECT_EQ(GraphicsError(), "");
}

TEST_F(GraphicsModule, DrawingOnADriverWithout2DSaysToStartTheRenderer) {
    ASSERT_NE(Graphics(640, 480, 0, 60, 0), nullptr);
    try {
        Cls();
        FAIL() << "Cls drew without a 2D renderer";
    } catch (const TNullObjectException& e) {
        EXPECT_EQ(e.ToString(),
                  "Cls: the graphics open have no 2D renderer: call kestrel::Startup() (or "
                  "kestrel::InitLumo2D()) before Graphics()");
    }
}

TEST_F(GraphicsModule, ModesAreCachedAndMatchedWithZeroAsAnything) {
    EXPECT_EQ(CountGraphicsModes(), 2);
    EXPECT_TRUE(GraphicsModeExists(0, 0, 32, 0));
    EXPECT_TRUE(GraphicsModeExists(640, 480));
    EXPECT_FALSE(GraphicsModeExists(640, 480, 32, 0));
    EXPECT_FALSE(GraphicsModeExists(0, 0, 0, 50));
    int w, h, d, hz;
    GetGraphicsMode(1, w, h, d, hz);
    EXPECT_EQ(w * 10000 + h, 1024 * 10000 + 768);
    EXPECT_EQ(d, 32);
    EXPECT_EQ(hz, 75);
    EXPECT_THROW(GetGraphicsMode(2, w, h, d, hz), TArrayBoundsException);
    EXPECT_EQ(driver->modeQueries, 1);
    EXPECT_EQ(GraphicsModes()[1]->ToString(), "1024,768,32 75Hz");

    // A new driver empties the cache.
    auto other = std::make_shared<FakeDriver>();
    SetGraphicsDriver(other, 0);
    EXPECT_EQ(DefaultGraphicsFlags(), 0);
    CountGraphicsModes();
    EXPECT_EQ(other->modeQueries, 1);
}

TEST_F(GraphicsModule, FlipRoutesEachSyncAndRunsTheFlipHook) {
    AddHook(FlipHook(), CountFlip);
    g_flipHooks = 0;

    // A window without a rate: no pacing at all.
    ASSERT_NE(Graphics(320, 200, 0, 0, 0), nullptr);
    Flip(-1);
    Flip(0);
    Flip(1);
    Flip(2);  // 2 or more is vsync too
    EXPECT_EQ(driver->flips, (std::vector<int>{0, 0, 1, 1}));

    // Full screen with a rate: hard sync, so -1 is a vsync flip.
    driver->flips.clear();
    ASSERT_NE(Graphics(320, 200, 32, 60, 0), nullptr);
    Flip(-1);
    Flip(0);
    EXPECT_EQ(driver->flips, (std::vector<int>{1, 0}));

    // Graphics made current by hand, not opened by Graphics: vsync.
    driver->flips.clear();
    auto extra = CreateGraphics(100, 100, 0, 0, 0);
    SetGraphics(extra);
    Flip(-1);
    EXPECT_EQ(driver->flips, (std::vector<int>{1}));
    CloseGraphics(extra);
    EXPECT_EQ(GraphicsWidth(), 0);

    EXPECT_EQ(g_flipHooks, 7);
    RemoveHook(FlipHook(), CountFlip);
    EXPECT_THROW(CloseGraphics(nullptr), TNullObjectException);
}

TEST(GraphicsModuleFiles, InitGraphicsRegistersTheGLTextFont) {
    InitGraphics();
    std::ifstream file(GLDRAWTEXTFONT_FILE, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_EQ(bytes.size(), 1536u);
    ASSERT_EQ(IncbinLen("gldrawtextfont.bin"), 1536);
    EXPECT_EQ(std::memcmp(IncbinPtr("gldrawtextfont.bin"), bytes.data(), bytes.size()), 0);
}

TEST(AbstractGraphics, SlotsRaiseTheNullMethodError) {
    TGraphics g;
    TGraphicsDriver d;
    int a, b, c, e, f;
    EXPECT_THROW(g.Driver(), TNullMethodException);
    EXPECT_THROW(g.GetSettings(a, b, c, e, f), TNullMethodException);
    EXPECT_THROW(d.CreateGraphics(1, 1, 0, 0, 0), TNullMethodException);
    EXPECT_THROW(d.Flip(0), TNullMethodException);
}

}  // namespace
}  // namespace kestrel
