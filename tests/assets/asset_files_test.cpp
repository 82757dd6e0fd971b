// Every file of the asset table, read back through the registry as the game
// reads it, against its kind, size, format and duration.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "asset_parsers.h"
#include "asset_table.h"
#include "toolkit/audio/sample_loader.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/resources/pixmap_loader.h"

namespace asset_test {
namespace {

using kestrel::TPixmapPtr;

class AssetFilesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterAssetsOnce(); }
    static TPixmapPtr Load(const std::string& name) { return kestrel::LoadPixmap("incbin::" + name); }
};

struct Rgba {
    int r, g, b, a;
};
Rgba At(const TPixmapPtr& p, int x, int y) {
    const uint8_t* q = p->PixelPtr(x, y);
    return {q[0], q[1], q[2], q[3]};
}
// The letters themselves: light, nearly opaque pixels (white, or the pale
// tint at the bottom of a banner's letters).
bool IsLetter(Rgba c) { return c.a > 200 && 0.3 * c.r + 0.59 * c.g + 0.11 * c.b > 180 && std::min({c.r, c.g, c.b}) > 120; }

struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool Empty() const { return x1 < 0; }
};
Box LetterBox(const TPixmapPtr& p, int y_from = 0, int y_to = -1) {
    Box b;
    if (y_to < 0) y_to = p->height;
    for (int y = y_from; y < y_to; ++y)
        for (int x = 0; x < p->width; ++x)
            if (IsLetter(At(p, x, y))) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x + 1), b.y1 = std::max(b.y1, y + 1);
            }
    return b;
}

TEST_F(AssetFilesTest, EveryTableEntryIsEmbeddedAndTheFoldersHoldNothingElse) {
    const auto& table = AssetTable();
    ASSERT_EQ(table.size(), 45u);
    std::set<std::string> names;
    for (const Asset& a : table) {
        names.insert(a.name);
        EXPECT_GT(kestrel::IncbinLen(a.name), 0) << a.name;
    }
    EXPECT_EQ(names.size(), 45u) << "a name is listed twice";
    int pictures = 0;
    for (const Asset& a : table) pictures += a.kind == Kind::Png;
    EXPECT_EQ(pictures, 34);
    // Every asset file in the tree is one of the table's.
    for (const char* folder : {"gfx", "sfx"}) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(ASSET_DIR) + "/" + folder)) {
            std::string ext = entry.path().extension().string();
            if (ext != ".png" && ext != ".wav" && ext != ".ogg" && ext != ".ttf") continue;
            std::string name = std::string(folder) + "/" + entry.path().filename().string();
            EXPECT_TRUE(names.count(name)) << "not in the asset table: " << name;
        }
    }
}

TEST_F(AssetFilesTest, PicturesAreEightBitRgbaOfTheirListedSizes) {
    for (const Asset& a : AssetTable()) {
        if (a.kind != Kind::Png) continue;
        SCOPED_TRACE(a.name);
        // The file itself: IHDR with bit depth 8 and colour type 6 (RGBA).
        const uint8_t* bytes = kestrel::IncbinPtr(a.name);
        ASSERT_GT(kestrel::IncbinLen(a.name), 33);
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(bytes + 12), 4), "IHDR");
        EXPECT_EQ(bytes[24], 8) << "bit depth";
        EXPECT_EQ(bytes[25], 6) << "colour type";
        TPixmapPtr p = Load(a.name);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->width, a.width);
        EXPECT_EQ(p->height, a.height);
        EXPECT_EQ(p->format, kestrel::PF_RGBA8888);
        int opaque = 0;
        for (int y = 0; y < p->height; ++y)
            for (int x = 0; x < p->width; ++x) opaque += At(p, x, y).a > 200;
        EXPECT_GT(opaque, p->width * p->height / 50) << "nearly blank";
    }
}

TEST_F(AssetFilesTest, BannersAre170RowsAndTheirLettersSpanTheStrips) {
    for (const char* name : {"gfx/txt_titulo.png", "gfx/txt_infeccion.png", "gfx/txt_pausa.png",
                             "gfx/txt_gameover.png", "gfx/txt_felicidades.png"}) {
        SCOPED_TRACE(name);
        TPixmapPtr p = Load(name);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->height, 170);
        Box letters = LetterBox(p);
        ASSERT_FALSE(letters.Empty());
        // Big letters: at least 70 of the 170 rows, so that at least five of
        // the ten 17-row strips the game cuts carry a slice of them.
        EXPECT_GE(letters.y1 - letters.y0, 70);
        int strips_with_letters = 0;
        for (int s = 0; s < 10; ++s) strips_with_letters += !LetterBox(p, 17 * s, 17 * s + 17).Empty();
        EXPECT_GE(strips_with_letters, 5);
        // The text stays clear of the edges, so strips shifted by 8 pixels keep it.
        EXPECT_GE(letters.x0, 8);
        EXPECT_LE(letters.x1, p->width - 8);
    }
}

TEST_F(AssetFilesTest, LabelsAreWhiteLettersCentredAndFillingTheirPicture) {
    for (const Asset& a : AssetTable()) {
        if (a.kind != Kind::Png || a.name.rfind("gfx/txt_", 0) != 0) continue;
        SCOPED_TRACE(a.name);
        TPixmapPtr p = Load(a.name);
        ASSERT_TRUE(p);
        Box b = LetterBox(p);
        ASSERT_FALSE(b.Empty()) << "no white letters";
        double cx = (b.x0 + b.x1) / 2.0, cy = (b.y0 + b.y1) / 2.0;
        EXPECT_NEAR(cx, p->width / 2.0, p->width * 0.04 + 2);
        EXPECT_NEAR(cy, p->height / 2.0, p->height * 0.04 + 2);
        double fill = std::max(double(b.x1 - b.x0) / p->width, double(b.y1 - b.y0) / p->height);
        EXPECT_GE(fill, 0.8);
        // A dark shadow or outline: some opaque dark pixels next to the letters.
        int dark = 0;
        for (int y = 0; y < p->height; ++y)
            for (int x = 0; x < p->width; ++x) {
                Rgba c = At(p, x, y);
                dark += c.a > 150 && c.r + c.g + c.b < 150;
            }
        EXPECT_GT(dark, 100);
    }
}

// Hue families: which channels dominate the opaque pixels of each colour.
void ExpectHue(const TPixmapPtr& p, int colour) {
    double sum[3] = {0, 0, 0};
    int n = 0;
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) {
            Rgba c = At(p, x, y);
            if (c.a < 250) continue;
            sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
            ++n;
        }
    ASSERT_GT(n, 0);
    double r = sum[0] / n, g = sum[1] / n, b = sum[2] / n;
    switch (colour) {
        case 0: EXPECT_GT(r, 1.8 * std::max(g, b)); break;
        case 1: EXPECT_GT(g, 1.5 * std::max(r, b)); break;
        case 2: EXPECT_GT(b, 1.5 * std::max(r, g)); break;
        case 3: EXPECT_GT(std::min(g, b), 1.5 * r); break;
        case 4: EXPECT_GT(std::min(r, b), 1.5 * g); break;
        case 5: EXPECT_GT(std::min(r, g), 1.5 * b); break;
    }
}

TEST_F(AssetFilesTest, PiecesAndVirusesShowTheirHueAndThePiecesDifferInShape) {
    const char* pieces[] = {"roja", "verde", "azul", "cyan", "magenta", "amarilla"};
    const char* viruses[] = {"rojo", "verde", "azul", "cyan", "magenta", "amarillo"};
    std::vector<TPixmapPtr> shapes;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        TPixmapPtr piece = Load(std::string("gfx/pastilla_") + pieces[i] + ".png");
        TPixmapPtr virus = Load(std::string("gfx/virus_") + viruses[i] + ".png");
        TPixmapPtr large = Load(std::string("gfx/virus_") + viruses[i] + "grande.png");
        ASSERT_TRUE(piece && virus && large);
        ExpectHue(piece, i);
        ExpectHue(virus, i);
        ExpectHue(large, i);
        // On a transparent ground: corners clear; viruses solid in the
        // middle (the cyan piece is a ring); pieces fill much of their cell.
        for (const TPixmapPtr& p : {piece, virus, large}) {
            EXPECT_EQ(At(p, 0, 0).a, 0);
            EXPECT_EQ(At(p, p->width - 1, p->height - 1).a, 0);
        }
        EXPECT_EQ(At(virus, 32, 32).a, 255);
        EXPECT_EQ(At(large, 128, 128).a, 255);
        int covered = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) covered += At(piece, x, y).a > 128;
        EXPECT_GT(covered, 48 * 48 * 35 / 100);
        shapes.push_back(piece);
    }
    // Told apart by outline too: every two pieces' silhouettes differ in at
    // least 6 % of the pixels.
    for (int i = 0; i < 6; ++i)
        for (int j = i + 1; j < 6; ++j) {
            int differ = 0;
            for (int y = 0; y < 48; ++y)
                for (int x = 0; x < 48; ++x) differ += (At(shapes[i], x, y).a > 128) != (At(shapes[j], x, y).a > 128);
            EXPECT_GT(differ, 48 * 48 * 6 / 100) << i << " and " << j;
        }
}

TEST_F(AssetFilesTest, GridCoversTheBoardWithBrighterCellLines) {
    TPixmapPtr p = Load("gfx/cuadricula.png");
    ASSERT_TRUE(p);
    for (int y = 0; y < p->height; ++y)
        for (int x = 0; x < p->width; ++x) ASSERT_GT(At(p, x, y).a, 0) << x << "," << y;
    auto brightness = [&](int x, int y) { Rgba c = At(p, x, y); return c.r + c.g + c.b; };
    // Cell (c, r) covers x 1 + 48c .. 48 + 48c: the lines lie on its left
    // column and top row.
    for (int c = 1; c < 8; ++c) EXPECT_GT(brightness(1 + 48 * c, 24), brightness(1 + 48 * c + 20, 24) + 30) << c;
    for (int r = 1; r < 16; ++r) EXPECT_GT(brightness(24, 48 * r), brightness(24, 48 * r + 20) + 30) << r;
}

TEST_F(AssetFilesTest, SoundEffectsAreSixteenBitPcmWithListBeforeData) {
    for (const Asset& a : AssetTable()) {
        if (a.kind != Kind::Wav) continue;
        SCOPED_TRACE(a.name);
        WavInfo w = ParseWav(kestrel::IncbinPtr(a.name), size_t(kestrel::IncbinLen(a.name)));
        ASSERT_TRUE(w.valid);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.channels, a.channels);
        EXPECT_EQ(w.rate, a.rate);
        EXPECT_NEAR(w.Seconds(), a.seconds, a.seconds * 0.05);
        auto list = std::find(w.chunks.begin(), w.chunks.end(), "LIST");
        auto data = std::find(w.chunks.begin(), w.chunks.end(), "data");
        ASSERT_NE(list, w.chunks.end());
        EXPECT_LT(list, data);
        EXPECT_EQ(w.chunks.front(), "fmt ");
        // And as the game loads it, through the toolkit's WAV loader.
        kestrel::TAudioSamplePtr sample = kestrel::LoadAudioSample("incbin::" + a.name);
        ASSERT_TRUE(sample);
        EXPECT_EQ(sample->format, a.channels == 1 ? kestrel::SF_MONO16LE : kestrel::SF_STEREO16LE);
        EXPECT_EQ(sample->hertz, a.rate);
        EXPECT_NEAR(double(sample->length) / sample->hertz, a.seconds, a.seconds * 0.05);
        // Audible, unclipped, and silent at both ends (no click on start or stop).
        const auto* pcm = reinterpret_cast<const int16_t*>(sample->samples);
        const size_t count = size_t(sample->length) * size_t(a.channels);
        double sum = 0;
        int peak = 0;
        for (size_t i = 0; i < count; ++i) sum += double(pcm[i]) * pcm[i], peak = std::max(peak, std::abs(int(pcm[i])));
        EXPECT_GT(std::sqrt(sum / double(count)), 300.0);
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 32767);
        EXPECT_LT(std::abs(int(pcm[count - 1])), 100);
    }
}

TEST_F(AssetFilesTest, MusicIsStereoVorbisOfTheListedLength) {
    for (const Asset& a : AssetTable()) {
        if (a.kind != Kind::Ogg) continue;
        SCOPED_TRACE(a.name);
        OggInfo o = ParseOgg(kestrel::IncbinPtr(a.name), size_t(kestrel::IncbinLen(a.name)));
        ASSERT_TRUE(o.valid);
        EXPECT_EQ(o.channels, 2);
        EXPECT_EQ(o.rate, 44100);
        EXPECT_NEAR(o.Seconds(), a.seconds, a.seconds * 0.05);
    }
}

TEST_F(AssetFilesTest, LedFontIsASevenSegmentFaceWithItsLicence) {
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    FT_Face face = nullptr;
    ASSERT_EQ(FT_New_Memory_Face(lib, kestrel::IncbinPtr("gfx/led.ttf"), FT_Long(kestrel::IncbinLen("gfx/led.ttf")),
                                 0, &face),
              0);
    EXPECT_NE(std::string(face->family_name).find("DSEG7"), std::string::npos) << face->family_name;
    EXPECT_EQ(FT_Set_Pixel_Sizes(face, 0, 100), 0);
    for (char c : std::string("0123456789")) EXPECT_NE(FT_Get_Char_Index(face, FT_ULong(c)), 0u) << c;
    FT_Done_Face(face);
    FT_Done_FreeType(lib);

    auto read = [](const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    };
    std::string licence = read(std::string(ASSET_DIR) + "/gfx/led.ttf.LICENSE.txt");
    EXPECT_NE(licence.find("SIL Open Font License"), std::string::npos);
    std::string credits = read(std::string(ASSET_DIR) + "/README.md");
    EXPECT_NE(credits.find("DSEG7"), std::string::npos);
    EXPECT_NE(credits.find("DejaVu"), std::string::npos);
}

}  // namespace
}  // namespace asset_test
