// Startup registers every module; a program that starts only some of them
// is told, on standard error and once, which one it forgot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/child_process.h"

namespace {

using testing_support::ChildResult;
using testing_support::RunChild;

ChildResult RunProbe(const char* scenario) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    return RunChild({STARTUP_PROBE_PATH, scenario, KESTREL_ASSETS_DIR});
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

bool Has(const std::string& text, const std::string& part) { return Count(text, part) > 0; }

TEST(Startup, RegistersEveryModuleAndWarnsAboutNothing) {
    const auto r = RunProbe("startup");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "sdl-system-driver=1\n"));
    EXPECT_TRUE(Has(r.out, "pixmap=1\n"));
    EXPECT_TRUE(Has(r.out, "sample=1\n"));
    EXPECT_TRUE(Has(r.out, "font=1\n"));
    EXPECT_TRUE(Has(r.out, "graphics=1\n"));
    EXPECT_TRUE(Has(r.out, "image=1\n"));
    EXPECT_TRUE(Has(r.out, "sound=1\n"));
    EXPECT_TRUE(Has(r.out, "driver=DirectSound\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "SoftMix=1\nSoftMix Multimedia=1\nSoftMix DirectSound=1\n")) << r.out;
    EXPECT_FALSE(Has(r.err, "kestrel: ")) << r.err;
}

TEST(Startup, LoadingWithoutALoaderNamesTheMissingLoaderOnce) {
    const auto r = RunProbe("no-loaders");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "pixmap=0\nsample=0\nogg-refused=1\nfont=0\n"));
    EXPECT_TRUE(Has(r.out, "pixmap-after=1\n"));
    EXPECT_EQ(Count(r.err, "LoadPixmap: the data is a PNG image but no PNG loader is registered: "
                           "call kestrel::InitPngLoader() or kestrel::Startup() first"),
              1)
        << r.err;
    EXPECT_EQ(Count(r.err, "no WAV loader is registered: call kestrel::InitWavLoader()"), 1);
    EXPECT_EQ(Count(r.err, "no Ogg loader is registered: call kestrel::InitOggLoader()"), 1);
    EXPECT_EQ(Count(r.err, "LoadFont: the data is a TrueType font but no FreeType font loader"),
              1);
    EXPECT_EQ(Count(r.err, "kestrel: "), 4) << r.err;
}

TEST(Startup, GraphicsWithoutADriverSaysHowToGetOne) {
    const auto r = RunProbe("no-driver");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "graphics=0\n"));
    const std::string why =
        "no graphics driver: call kestrel::Startup() (or kestrel::InitLumo2D()) before Graphics";
    EXPECT_TRUE(Has(r.out, "error=" + why + "\n")) << r.out;
    EXPECT_EQ(Count(r.err, "kestrel: " + why + "\n"), 1) << r.err;
}

TEST(Startup, AWindowUnderTheHeadlessSystemDriverWarnsOnce) {
    const auto r = RunProbe("headless-window");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "graphics=1\ngraphics-again=1\n")) << r.out << r.err;
    EXPECT_EQ(Count(r.err, "a window was opened under the headless system driver"), 1) << r.err;
}

TEST(Startup, SoundsOnTheOnlyNullDriverWarn) {
    const auto r = RunProbe("null-audio");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "driver=Null\n")) << r.out;
    EXPECT_EQ(Count(r.err, "LoadSound: the only audio driver is \"Null\""), 1) << r.err;
}

}  // namespace
