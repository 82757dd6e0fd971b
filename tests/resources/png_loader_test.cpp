#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "alloc_probe.h"
#include "png_fixture.h"
#include "toolkit/core/error.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream.h"

namespace kestrel {
namespace {

using kestrel_test::EncodePng;
using kestrel_test::PngImage;

class PngLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitStreamFactories();
        InitPngLoader();
    }
    // Registers the bytes under a fresh name and loads them through the chain.
    TPixmapPtr Load(const std::vector<std::uint8_t>& bytes) {
        keep_.push_back(bytes);
        const std::string name = "pngtest/" + std::to_string(next_++);
        IncbinAdd(name, keep_.back().data(), static_cast<std::int64_t>(keep_.back().size()));
        return LoadPixmap("incbin::" + name);
    }
    // Calls the PNG loader directly on a memory stream over the bytes.
    TPixmapPtr LoadDirect(std::vector<std::uint8_t> bytes) {
        auto s = TRamStream::Create(bytes.data(), static_cast<std::int64_t>(bytes.size()), 1, 0);
        TPixmapLoaderPNG loader;
        return loader.LoadPixmap(*s);
    }

private:
    std::vector<std::vector<std::uint8_t>> keep_;
    static inline int next_ = 0;
};

std::vector<std::uint8_t> Pattern(std::size_t n, int seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(i * 7 + seed * 31 + i / 5);
    return v;
}

TEST_F(PngLoaderTest, RgbaLoadsWithItsRowsUnchanged) {
    PngImage s;
    s.width = s.height = 48;
    s.rows = Pattern(48 * 48 * 4, 1);
    auto p = Load(EncodePng(s));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(p->width, 48);
    EXPECT_EQ(p->height, 48);
    EXPECT_EQ(p->pitch, 192);
    EXPECT_EQ(std::memcmp(p->pixels, s.rows.data(), s.rows.size()), 0);

    // Interlaced: the same pixels.
    s.interlace = true;
    auto q = Load(EncodePng(s));
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(std::memcmp(q->pixels, s.rows.data(), s.rows.size()), 0);
}

TEST_F(PngLoaderTest, PaletteWithAndWithoutTransparency) {
    PngImage s;
    s.width = 3;
    s.height = 2;
    s.colorType = 3;
    s.palette = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}};
    s.rows = {0, 1, 2, 2, 1, 0};
    auto rgb = Load(EncodePng(s));
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->format, PF_RGB888);
    EXPECT_EQ(rgb->pitch, 12);  // 9 bytes rounded up to a multiple of 4
    EXPECT_EQ(ReadPixel(rgb, 1, 0), 0xFF28323Cu);
    EXPECT_EQ(ReadPixel(rgb, 0, 1), 0xFF46505Au);

    s.paletteAlpha = {0, 128};  // the third entry stays opaque
    auto rgba = Load(EncodePng(s));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(rgba, 0, 0), 0x000A141Eu);
    EXPECT_EQ(ReadPixel(rgba, 1, 0), 0x8028323Cu);
    EXPECT_EQ(ReadPixel(rgba, 2, 0), 0xFF46505Au);

    // 2-bit palette indices are expanded as well.
    s.bitDepth = 2;
    s.paletteAlpha.clear();
    s.rows = {0b00011000, 0b10010000};
    auto packed = Load(EncodePng(s));
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(ReadPixel(packed, 2, 0), 0xFF46505Au);
    EXPECT_EQ(ReadPixel(packed, 0, 1), 0xFF46505Au);
    EXPECT_EQ(ReadPixel(packed, 1, 1), 0xFF28323Cu);
}

TEST_F(PngLoaderTest, GreyKinds) {
    PngImage s;
    s.width = 2;
    s.height = 1;
    s.colorType = 0;
    s.rows = {7, 200};
    auto grey = Load(EncodePng(s));
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->format, PF_I8);
    EXPECT_EQ(grey->pixels[0], 7);
    EXPECT_EQ(grey->pixels[1], 200);

    s.bitDepth = 1;  // low bit depths become 8-bit grey
    s.rows = {0b01000000};
    auto one = Load(EncodePng(s));
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->format, PF_I8);
    EXPECT_EQ(one->pixels[0], 0);
    EXPECT_EQ(one->pixels[1], 255);

    PngImage ga;
    ga.width = 2;
    ga.height = 1;
    ga.colorType = 4;
    ga.rows = {90, 10, 250, 255};
    auto withAlpha = Load(EncodePng(ga));
    ASSERT_NE(withAlpha, nullptr);
    EXPECT_EQ(withAlpha->format, PF_RGBA8888);
    EXPECT_EQ(std::vector<std::uint8_t>(withAlpha->pixels, withAlpha->pixels + 8),
              (std::vector<std::uint8_t>{90, 90, 90, 10, 250, 250, 250, 255}));

    s.bitDepth = 8;
    s.rows = {7, 200};
    s.transparentGrey = 200;
    auto keyed = Load(EncodePng(s));
    ASSERT_NE(keyed, nullptr);
    EXPECT_EQ(keyed->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(keyed, 0, 0), 0xFF070707u);
    EXPECT_EQ(ReadPixel(keyed, 1, 0), 0x00C8C8C8u);
}

TEST_F(PngLoaderTest, SixteenBitSamplesKeepTheirHighByte) {
    PngImage s;
    s.width = 1;
    s.height = 1;
    s.colorType = 2;
    s.bitDepth = 16;
    s.rows = {0x12, 0xFF, 0xAB, 0x01, 0x00, 0x80};
    auto rgb = Load(EncodePng(s));
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->format, PF_RGB888);
    EXPECT_EQ(ReadPixel(rgb, 0, 0), 0xFF12AB00u);

    s.colorType = 6;
    s.rows = {0x12, 0xFF, 0xAB, 0x01, 0x00, 0x80, 0x7F, 0x00};
    auto rgba = Load(EncodePng(s));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(rgba, 0, 0), 0x7F12AB00u);

    PngImage t;  // RGB with a transparent colour key
    t.width = 2;
    t.colorType = 2;
    t.rows = {1, 2, 3, 4, 5, 6};
    t.transparentRgb = {4, 5, 6};
    auto keyed = Load(EncodePng(t));
    ASSERT_NE(keyed, nullptr);
    EXPECT_EQ(keyed->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(keyed, 0, 0), 0xFF010203u);
    EXPECT_EQ(ReadPixel(keyed, 1, 0), 0x00040506u);
}

TEST_F(PngLoaderTest, NotPngIsRefusedQuietly) {
    EXPECT_EQ(LoadDirect({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), nullptr);
    EXPECT_EQ(LoadDirect({0x89, 'P', 'N'}), nullptr);  // fewer than 8 bytes
    EXPECT_EQ(LoadDirect({}), nullptr);
    EXPECT_EQ(Load({'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8}), nullptr);
    EXPECT_EQ(LoadPixmap("incbin::pngtest/none"), nullptr);
}

TEST_F(PngLoaderTest, TruncatedPngRaisesAStreamErrorThatLoadPixmapTurnsIntoNone) {
    PngImage s;
    s.width = s.height = 16;
    s.rows = Pattern(16 * 16 * 4, 2);
    const std::vector<std::uint8_t> full = EncodePng(s);
    for (std::size_t cut : {std::size_t{9}, std::size_t{20}, std::size_t{33}, full.size() / 2,
                            full.size() - 13, full.size() - 1}) {
        std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<long>(cut));
        EXPECT_THROW(LoadDirect(part), TStreamReadException) << "cut at " << cut;
        EXPECT_EQ(Load(part), nullptr) << "cut at " << cut;
    }
    EXPECT_NE(Load(full), nullptr);
}

TEST_F(PngLoaderTest, CorruptDataIsRefusedThroughPngError) {
    PngImage s;
    s.width = s.height = 16;
    s.rows = Pattern(16 * 16 * 4, 3);
    std::vector<std::uint8_t> bad = EncodePng(s);
    const long idat = kestrel_test::FindChunk(bad, "IDAT");
    ASSERT_GT(idat, 0);
    bad[static_cast<std::size_t>(idat) + 10] ^= 0x5A;  // the CRC no longer matches
    EXPECT_EQ(LoadDirect(bad), nullptr);               // caught inside the loader
    EXPECT_EQ(Load(bad), nullptr);

    std::vector<std::uint8_t> badType = EncodePng(s);
    const long ihdr = kestrel_test::FindChunk(badType, "IHDR");
    badType[static_cast<std::size_t>(ihdr) + 8 + 9] = 5;  // no such colour type
    kestrel_test::ForgeSize(badType, 16, 16);             // fixes the CRC
    EXPECT_EQ(LoadDirect(badType), nullptr);
}

TEST_F(PngLoaderTest, AbsurdSizesAreRefusedBeforeAllocating) {
    PngImage s;
    s.width = s.height = 4;
    s.rows = Pattern(4 * 4 * 4, 4);
    for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{100000, 100000},
                        {20000, 20000},
                        {1000000, 1},
                        {1, 1000000},
                        {0x7FFFFFFF, 0x7FFFFFFF}}) {
        std::vector<std::uint8_t> forged = EncodePng(s);
        kestrel_test::ForgeSize(forged, w, h);
        kestrel_test::ResetLargestAllocation();
        EXPECT_EQ(LoadDirect(forged), nullptr) << w << " x " << h;
        EXPECT_EQ(Load(forged), nullptr) << w << " x " << h;
        EXPECT_LT(kestrel_test::LargestAllocation(), 1u << 20) << w << " x " << h;
    }
}

TEST_F(PngLoaderTest, HighlyCompressedButRealImagesStillLoad) {
    // 2000 x 2000 black grey pixels squeeze to a few kilobytes: close to
    // deflate's best ratio, and a genuine file.
    PngImage s;
    s.width = s.height = 2000;
    s.colorType = 0;
    s.compression = 9;
    s.rows.assign(2000u * 2000u, 0);
    const auto bytes = EncodePng(s);
    EXPECT_LT(bytes.size(), 8000u);
    auto p = Load(bytes);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->width, 2000);
    EXPECT_EQ(p->pixels[1999 * p->pitch + 1999], 0);
}

// A loader that records where the stream was when it was asked.
class SpyLoader : public TPixmapLoader {
public:
    TPixmapPtr LoadPixmap(TStream& stream) override {
        ++calls;
        startPos = stream.Pos();
        firstByte = stream.ReadByte();
        if (throwStreamError) throw TStreamReadException();
        if (throwOther) RuntimeError("other failure");
        return answer;
    }
    int calls = 0;
    std::int64_t startPos = -2;
    int firstByte = -1;
    bool throwStreamError = false;
    bool throwOther = false;
    TPixmapPtr answer;
};

TEST_F(PngLoaderTest, ChainTriesEveryLoaderFromTheSameStartNewestFirst) {
    const auto path = std::filesystem::temp_directory_path() / "kestrel_not_png.bin";
    { std::ofstream(path, std::ios::binary) << "BM-not-a-png-file"; }
    SpyLoader older;
    older.answer = CreatePixmap(1, 1, PF_A8);
    TPixmapLoaderPNG png;  // newer than `older`: tried first
    SpyLoader newest;
    newest.throwStreamError = true;
    // A refusing PNG loader leaves the file open for the loaders after it.
    EXPECT_EQ(LoadPixmap(path.string()), older.answer);
    EXPECT_EQ(newest.calls, 1);
    EXPECT_EQ(older.calls, 1);
    EXPECT_EQ(older.startPos, 0);
    EXPECT_EQ(older.firstByte, 'B');

    newest.throwStreamError = false;
    newest.throwOther = true;
    EXPECT_THROW(LoadPixmap(path.string()), TRuntimeException);  // not a refusal
    std::filesystem::remove(path);
}

// A stream that cannot tell its position.
class UnseekableStream : public TStream {
public:
    std::int64_t Read(void*, std::int64_t) override { return 0; }
};

TEST_F(PngLoaderTest, UnseekableStreamGivesNone) {
    SpyLoader spy;
    EXPECT_EQ(LoadPixmap(std::make_shared<UnseekableStream>()), nullptr);
    EXPECT_EQ(spy.calls, 0);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST_F(PngLoaderTest, SavedPixmapsLoadBackInTheirOwnPixels) {
    const auto path = (std::filesystem::temp_directory_path() / "kestrel_save_png.png").string();
    for (int format = PF_I8; format <= PF_RGBA8888; ++format) {
        auto p = CreatePixmap(5, 3, format);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                WritePixel(p, x, y, 0x10000000u * (x + 1) + 0x00112233u * (y + 1) + 0x0101u * x);
        ASSERT_TRUE(SavePixmapPNG(p, path)) << format;
        auto back = LoadPixmap(path);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->format, AlphaBitsPerPixel[format] ? PF_RGBA8888 : PF_RGB888);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(ReadPixel(back, x, y), ReadPixel(p, x, y)) << format << " " << x << "," << y;
    }
    std::filesystem::remove(path);
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(2, 2, PF_RGB888), "incbin::not/writeable.png"));
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(0, 2, PF_RGB888), path));
    // A memory stream too small for the file: the write fails, no exception.
    std::vector<std::uint8_t> small(40);
    auto s = TRamStream::Create(small.data(), 40, 0, 1);
    EXPECT_FALSE(SavePixmapPNG(CreatePixmap(8, 8, PF_RGBA8888), s));
}

}  // namespace
}  // namespace kestrel
