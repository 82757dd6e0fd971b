// Every failed load says why: the loading functions still return Null, and
// LastLoadError() names the function, the URL, the loaders tried and the
// reason. Real files on disk (the game's own assets, cut or damaged copies
// of them) through the registered loaders, as a program meets them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "toolkit/audio/audio.h"
#include "toolkit/audio/ogg_loader.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/audio/wav_loader.h"
#include "toolkit/graphics/freetype_font.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/resources/load_error.h"
#include "toolkit/resources/pixmap_loader.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/resources/stream_functions.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrel;

std::vector<char> ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LoadError : public testing::Test {
protected:
    static void SetUpTestSuite() {
        InitStreamFactories();
        InitPngLoader();
        InitWavLoader();
        InitOggLoader();
        InitFreeTypeFonts();
        InitAudioCore();
    }
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("load_error_test_" + std::to_string(getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A file of the test's own with these bytes; its path.
    std::string Write(const std::string& name, const std::vector<char>& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
        return p.string();
    }
    static fs::path Asset(const std::string& rel) { return fs::path(ASSETS_DIR) / rel; }

    fs::path dir_;
};

// What LastLoadError() must say: "Function("url"): reason".
std::string Said(const std::string& function, const std::string& url, const std::string& reason) {
    return function + "(\"" + url + "\"): " + reason;
}

TEST_F(LoadError, FilesThatAreNotThereOrNotFiles) {
    const std::string missing = (dir_ / "missing.png").string();
    EXPECT_EQ(LoadPixmap(missing), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadPixmap", missing, "no such file"));

    // The outermost function is named, whatever it calls underneath.
    EXPECT_EQ(LoadImage(missing), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadImage", missing, "no such file"));
    EXPECT_EQ(LoadAnimImage(missing, 8, 8, 0, 1), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadAnimImage", missing, "no such file"));

    const std::string empty = Write("empty.png", {});
    EXPECT_EQ(LoadImage(empty), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadImage", empty, "empty (0 bytes)"));

    EXPECT_EQ(LoadSound(dir_.string()), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadSound", dir_.string(), "a directory, not a file"));

    const std::string ttf = (dir_ / "missing.ttf").string();
    EXPECT_EQ(LoadImageFont(ttf, 12), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadImageFont", ttf, "no such file"));
}

TEST_F(LoadError, DamagedOrForeignData) {
    const std::vector<char> png = ReadFile(Asset("gfx/doc.png"));
    ASSERT_GT(png.size(), 1000u);

    const std::string cut = Write("cut.png", std::vector<char>(png.begin(), png.begin() + 400));
    EXPECT_EQ(LoadImage(cut), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadImage", cut, "PNG: truncated after 400 bytes"));

    std::vector<char> bad = png;
    for (std::size_t i = 100; i < 140; ++i) bad[i] = char(bad[i] ^ 0x5A);  // inside the first chunks
    const std::string corrupt = Write("corrupt.png", bad);
    EXPECT_EQ(LoadPixmap(corrupt), nullptr);
    EXPECT_EQ(LastLoadError().rfind(Said("LoadPixmap", corrupt, "PNG: damaged data ("), 0), 0u)
        << LastLoadError();

    // A JPEG: no loader reads it, and the text says what it is.
    const std::string jpeg = Write("photo.jpg", {'\xFF', '\xD8', '\xFF', '\xE0', 0, 16, 'J', 'F',
                                                 'I', 'F', 0, 1, 1, 0});
    EXPECT_EQ(LoadImage(jpeg), nullptr);
    EXPECT_EQ(LastLoadError(),
              Said("LoadImage", jpeg,
                   "not a PNG file: no loader for this data (the data is a JPEG image, which no "
                   "loader of Kestrel reads)"));

    // A picture given to LoadSound: both sample loaders refuse it.
    const std::string picture = Asset("gfx/doc.png").string();
    EXPECT_EQ(LoadSound(picture), nullptr);
    EXPECT_EQ(LastLoadError(), Said("LoadSound", picture,
                                    "not an Ogg or WAV file: no loader for this data (the data "
                                    "is a PNG image)"));

    const std::vector<char> wav = ReadFile(Asset("sfx/click.wav"));
    ASSERT_GT(wav.size(), 600u);
    const std::string shortWav = Write("short.wav", std::vector<char>(wav.begin(), wav.begin() + 600));
    EXPECT_EQ(LoadAudioSample(shortWav), nullptr);
    const std::string said = LastLoadError();
    EXPECT_EQ(said.rfind(Said("LoadAudioSample", shortWav, "WAV: truncated after 600 bytes"), 0), 0u)
        << said;
    EXPECT_EQ(LoadSound(shortWav), nullptr);
    EXPECT_EQ(LastLoadError().rfind(Said("LoadSound", shortWav, "WAV: truncated after 600 bytes"), 0),
              0u)
        << LastLoadError();

    const std::string notAFont = Write("font.ttf", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(LoadImageFont(notAFont, 12), nullptr);
    EXPECT_EQ(LastLoadError(),
              Said("LoadImageFont", notAFont, "FreeType: not a TrueType or OpenType font"));
}

TEST_F(LoadError, UrlsWithoutAStream) {
    EXPECT_EQ(ReadStream("zip::data/level1.txt"), nullptr);
    EXPECT_EQ(LastLoadError(), Said("ReadStream", "zip::data/level1.txt", "unknown protocol 'zip'"));
    EXPECT_EQ(OpenStream("zip::data/level1.txt", 1, 1), nullptr);
    EXPECT_EQ(LastLoadError(), Said("OpenStream", "zip::data/level1.txt", "unknown protocol 'zip'"));
    EXPECT_EQ(LoadImage("http::example.org/ship.png"), nullptr);
    EXPECT_EQ(LastLoadError(),
              Said("LoadImage", "http::example.org/ship.png", "unknown protocol 'http'"));

    EXPECT_EQ(LoadSound("incbin::sfx/never.wav"), nullptr);
    EXPECT_EQ(LastLoadError(),
              Said("LoadSound", "incbin::sfx/never.wav",
                   "\"sfx/never.wav\" is not in the embedded files (IncbinAdd registers it)"));
    // A stream URL of a font that cannot be opened raises the stream error;
    // the reason is there all the same.
    EXPECT_THROW(LoadImageFont("incbin::fonts/never.ttf", 12), TStreamReadException);
    EXPECT_EQ(LastLoadError(),
              Said("LoadImageFont", "incbin::fonts/never.ttf",
                   "\"fonts/never.ttf\" is not in the embedded files (IncbinAdd registers it)"));
}

TEST_F(LoadError, ASuccessClearsItAndTheSwitchEchoesEachFailure) {
    EXPECT_EQ(LoadPixmap("zip::a"), nullptr);
    EXPECT_FALSE(LastLoadError().empty());
    EXPECT_NE(LoadPixmap(Asset("gfx/doc.png").string()), nullptr);
    EXPECT_EQ(LastLoadError(), "");
    EXPECT_NE(LoadImageFont(Asset("gfx/led.ttf").string(), 20), nullptr);
    EXPECT_EQ(LastLoadError(), "");

    // A cell grid that does not fit the picture is a failure of its own.
    const std::string png = Asset("gfx/doc.png").string();
    EXPECT_EQ(LoadAnimImage(png, 4000, 10, 0, 1), nullptr);
    EXPECT_NE(LastLoadError().find("cells of 4000 x 10"), std::string::npos) << LastLoadError();

    setenv("KESTREL_LOAD_ERRORS", "1", 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPixmap("zip::a"), nullptr);
    EXPECT_EQ(LoadPixmap("zip::b"), nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    unsetenv("KESTREL_LOAD_ERRORS");
    EXPECT_EQ(err,
              "kestrel: LoadPixmap(\"zip::a\"): unknown protocol 'zip'\n"
              "kestrel: LoadPixmap(\"zip::b\"): unknown protocol 'zip'\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadPixmap("zip::c"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // off again
}

}  // namespace
