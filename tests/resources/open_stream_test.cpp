#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "kestrel_embed/RegisterTestFiles.h"
#include "toolkit/resources/stream.h"

namespace kestrel {
namespace {

class OpenStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitStreamFactories();
        kestrel_test::RegisterTestFiles();
        static const std::uint8_t doc[] = {'P', 'N', 'G'};
        IncbinAdd("gfx/doc.png", doc, sizeof doc);
    }
};

// Records what the chain offered it and answers only when told to.
class RecordingFactory : public TStreamFactory {
public:
    explicit RecordingFactory(TStreamPtr answer = nullptr) : answer_(std::move(answer)) {}
    TStreamPtr CreateStream(const Url&, const std::string& protocol, const std::string& path,
                            int readable, int writeable) override {
        ++calls;
        lastProtocol = protocol;
        lastPath = path;
        lastReadable = readable;
        lastWriteable = writeable;
        return answer_;
    }
    int calls = 0;
    std::string lastProtocol = "unset", lastPath = "unset";
    int lastReadable = -1, lastWriteable = -1;

private:
    TStreamPtr answer_;
};

TEST_F(OpenStreamTest, ProtocolIgnoresCaseButTheNameDoesNot) {
    auto s = ReadStream("INCBIN::gfx/doc.png");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StreamSize(s), 3);
    EXPECT_EQ(ReadByte(s), 'P');
    EXPECT_NE(ReadStream("InCbIn::gfx/doc.png"), nullptr);
    EXPECT_EQ(ReadStream("incbin::GFX/doc.png"), nullptr);
    EXPECT_EQ(ReadStream("incbin::gfx/doc.pn"), nullptr);
    EXPECT_EQ(ReadStream("incbin::nothing"), nullptr);
}

TEST_F(OpenStreamTest, EachOpenHasItsOwnPositionAndWritingIsRefused) {
    auto a = ReadStream("incbin::gfx/doc.png");
    auto b = ReadStream("incbin::gfx/doc.png");
    ReadByte(a);
    ReadByte(a);
    EXPECT_EQ(StreamPos(a), 2);
    EXPECT_EQ(StreamPos(b), 0);
    CloseStream(a);
    EXPECT_NE(IncbinPtr("gfx/doc.png"), nullptr);  // closing leaves the registry alone
    EXPECT_EQ(WriteStream("incbin::gfx/doc.png"), nullptr);
    EXPECT_EQ(OpenStream("incbin::gfx/doc.png", 1, 1), nullptr);
}

TEST_F(OpenStreamTest, FactoriesAreAskedNewestFirstWithLowerCaseProtocol) {
    std::vector<std::uint8_t> bytes = {42};
    RecordingFactory older(TRamStream::Create(bytes.data(), 1, 1, 0));
    RecordingFactory newer;
    auto s = OpenStream("MyProto::Some/Path::x", 1, 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(ReadByte(s), 42);
    EXPECT_EQ(newer.calls, 1);
    EXPECT_EQ(older.calls, 1);
    EXPECT_EQ(newer.lastProtocol, "myproto");
    EXPECT_EQ(newer.lastPath, "Some/Path::x");  // split at the first "::"
    EXPECT_EQ(newer.lastReadable, 1);
    EXPECT_EQ(newer.lastWriteable, 0);

    // The empty string goes to the factories with empty protocol and path.
    EXPECT_NE(OpenStream("", 0, 1), nullptr);
    EXPECT_EQ(newer.lastProtocol, "");
    EXPECT_EQ(newer.lastPath, "");
    EXPECT_EQ(newer.lastWriteable, 1);
    // Any object that is not a stream counts as the empty string.
    EXPECT_NE(ReadStream(MakeStringObject("incbin::gfx/doc.png")), nullptr);
    EXPECT_EQ(newer.lastPath, "");
    EXPECT_EQ(newer.calls, 3);
}

TEST_F(OpenStreamTest, FactoryLeavesTheChainWhenDestroyed) {
    TStreamFactory* before = StreamFactories();
    {
        RecordingFactory temp;
        EXPECT_EQ(StreamFactories(), &temp);
        EXPECT_EQ(temp.Next(), before);
    }
    EXPECT_EQ(StreamFactories(), before);
    EXPECT_NE(ReadStream("incbin::gfx/doc.png"), nullptr);
}

TEST_F(OpenStreamTest, StringWithoutSeparatorIsAFilePath) {
    RecordingFactory spy;
    const auto path = std::filesystem::temp_directory_path() / "kestrel_open_stream_test.txt";
    { std::ofstream(path) << "abc"; }
    auto s = ReadStream(path.string());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(ReadString(s, 3), "abc");
    EXPECT_EQ(ReadStream(path.string() + ".none"), nullptr);
    EXPECT_EQ(spy.calls, 0);  // files never reach the factories
    std::filesystem::remove(path);
}

TEST_F(OpenStreamTest, StreamUrlIsWrappedAndClosingTheWrapperKeepsItOpen) {
    auto inner = ReadStream("incbin::gfx/doc.png");
    auto outer = ReadStream(inner);
    ASSERT_NE(outer, nullptr);
    EXPECT_NE(outer, inner);
    EXPECT_EQ(ReadByte(outer), 'P');
    CloseStream(outer);
    EXPECT_EQ(ReadByte(inner), 'N');
}

TEST_F(OpenStreamTest, LoadByteArrayReturnsTheWholeEntry) {
    std::ifstream f(RESOURCES_TEST_DATA "/block.bin", std::ios::binary);
    std::vector<std::uint8_t> expect((std::istreambuf_iterator<char>(f)),
                                     std::istreambuf_iterator<char>());
    ASSERT_EQ(expect.size(), 186000u);
    EXPECT_EQ(LoadByteArray("incbin::test/block.bin"), expect);
    EXPECT_EQ(LoadString("incbin::test/lines.txt"), "hello\r\nworld\n");
    static const std::uint8_t none[1] = {0};
    IncbinAdd("test/empty", none, 0);
    EXPECT_TRUE(LoadByteArray("incbin::test/empty").empty());
    EXPECT_THROW(LoadByteArray("incbin::test/missing"), TStreamReadException);
}

// A stream that cannot tell its position: Eof() never becomes true.
class EndlessEofStream : public TStream {
public:
    std::int64_t Read(void* buf, std::int64_t count) override {
        if (left == 0 || count <= 0) return 0;
        static_cast<std::uint8_t*>(buf)[0] = 'x';
        --left;
        return 1;
    }
    int Close() override {
        ++closed;
        return 0;
    }
    int left = 3000;
    int closed = 0;
};

TEST_F(OpenStreamTest, LoadByteArrayStopsAtAnEmptyReadWhenEofNeverComes) {
    auto s = std::make_shared<EndlessEofStream>();
    EXPECT_EQ(LoadByteArray(s).size(), 3000u);
    EXPECT_EQ(s->closed, 0);  // only the wrapper was closed
}

TEST_F(OpenStreamTest, SavedBytesReadBack) {
    const auto path = std::filesystem::temp_directory_path() / "kestrel_save_test.bin";
    std::vector<std::uint8_t> bytes = {0, 1, 2, 250, 13, 10};
    SaveByteArray(bytes, path.string());
    EXPECT_EQ(LoadByteArray(path.string()), bytes);
    SaveString("caf\xC3\xA9", path.string());
    EXPECT_EQ(LoadByteArray(path.string()), (std::vector<std::uint8_t>{'c', 'a', 'f', 0xE9}));
    EXPECT_EQ(LoadString(path.string()), "caf\xC3\xA9");
    EXPECT_THROW(SaveString("x", "incbin::gfx/doc.png"), TStreamWriteException);

    auto from = ReadStream("incbin::test/block.bin");
    auto to = WriteStream(path.string());
    EXPECT_EQ(CopyStream(from, to, 1000), 186000);
    CloseStream(to);
    EXPECT_EQ(LoadByteArray(path.string()), LoadByteArray("incbin::test/block.bin"));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrel
