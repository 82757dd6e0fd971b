#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/resources/stream.h"

namespace kestrel {
namespace {

TStreamPtr Ram(std::vector<std::uint8_t>& bytes, int readable = 1, int writeable = 0) {
    return TRamStream::Create(bytes.data(), static_cast<std::int64_t>(bytes.size()), readable,
                              writeable);
}

TEST(RamStream, SeekClampsAndReadsStopAtTheEnd) {
    std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    auto s = Ram(bytes);
    EXPECT_EQ(s->Seek(-5), 0);
    EXPECT_EQ(s->Pos(), 0);
    EXPECT_EQ(s->Seek(20), 10);
    EXPECT_TRUE(s->Eof());
    EXPECT_EQ(s->Seek(7), 7);
    std::uint8_t buf[8] = {};
    EXPECT_EQ(s->Read(buf, 8), 3);  // cut to what is left
    EXPECT_EQ(buf[0], 8);
    EXPECT_EQ(buf[2], 10);
    EXPECT_EQ(s->Read(buf, 8), 0);
    EXPECT_EQ(s->Read(buf, -1), 0);
    EXPECT_TRUE(s->Eof());
}

TEST(RamStream, FlagsDecideWhatMoves) {
    std::vector<std::uint8_t> bytes(4, 0);
    auto ro = Ram(bytes, 1, 0);
    const std::uint8_t data[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(ro->Write(data, 4), 0);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_THROW(ro->WriteByte(1), TStreamWriteException);

    auto wo = Ram(bytes, 0, 1);
    std::uint8_t buf[4];
    EXPECT_EQ(wo->Read(buf, 4), 0);
    EXPECT_EQ(wo->Write(data, 6), 4);  // never grows the memory
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(4, 9));
    EXPECT_EQ(wo->Size(), 4);
}

TEST(StreamNumbers, LittleEndianReadsAndWrites) {
    std::vector<std::uint8_t> bytes = {0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0x80};
    auto s = Ram(bytes);
    EXPECT_EQ(ReadInt(s), 1);
    EXPECT_EQ(ReadShort(s), 65535);
    EXPECT_EQ(ReadInt(s), -2);
    EXPECT_EQ(ReadByte(s), 0x80);
    EXPECT_THROW(ReadByte(s), TStreamReadException);

    std::vector<std::uint8_t> out(27, 0);
    auto w = Ram(out, 1, 1);
    WriteByte(w, 0x1234);        // low byte only
    WriteShort(w, 0x12345678);   // low two bytes
    WriteInt(w, -2);
    WriteLong(w, 0x0102030405060708LL);
    WriteFloat(w, 1.5f);
    WriteDouble(w, -0.25);
    EXPECT_EQ(out[0], 0x34);
    EXPECT_EQ(out[1], 0x78);
    EXPECT_EQ(out[2], 0x56);
    EXPECT_EQ(out[3], 0xFE);
    EXPECT_EQ(out[6], 0xFF);
    EXPECT_EQ(out[7], 0x08);
    EXPECT_EQ(out[14], 0x01);
    SeekStream(w, 0);
    EXPECT_EQ(ReadByte(w), 0x34);
    EXPECT_EQ(ReadShort(w), 0x5678);
    EXPECT_EQ(ReadInt(w), -2);
    EXPECT_EQ(ReadLong(w), 0x0102030405060708LL);
    EXPECT_EQ(ReadFloat(w), 1.5f);
    EXPECT_EQ(ReadDouble(w), -0.25);
    EXPECT_THROW(WriteByte(w, 0), TStreamWriteException);  // full
}

TEST(StreamText, ReadLineDropsCarriageReturnsAndStopsAtLineFeedOrZero) {
    std::vector<std::uint8_t> bytes = {'a', 'b', 13, 10, 'c', 'd', 0, 'e', 13, 'f'};
    auto s = Ram(bytes);
    EXPECT_EQ(ReadLine(s), "ab");
    EXPECT_EQ(ReadLine(s), "cd");
    EXPECT_EQ(ReadLine(s), "ef");  // ends with the stream, CR dropped inside too
    EXPECT_TRUE(StreamEof(s));
    EXPECT_EQ(ReadLine(s), "");
}

TEST(StreamText, OneCharacterPerByteBothWays) {
    std::vector<std::uint8_t> bytes = {'A', 0xE9, 'z'};
    auto s = Ram(bytes);
    EXPECT_EQ(ReadString(s, 3), "A\xC3\xA9z");  // byte E9 is the character U+00E9
    SeekStream(s, 1);
    EXPECT_THROW(ReadString(s, 3), TStreamReadException);

    std::vector<std::uint8_t> out(7, 0);
    auto w = Ram(out, 1, 1);
    WriteString(w, "\xC3\xA9");
    WriteLine(w, "ok");
    EXPECT_EQ(out[0], 0xE9);
    EXPECT_EQ(out[1], 'o');
    EXPECT_EQ(out[3], 13);
    EXPECT_EQ(out[4], 10);
    EXPECT_EQ(StreamPos(w), 5);
}

TEST(StreamBytes, ReadBytesAndSkipBytesRaiseWhenTheStreamEnds) {
    std::vector<std::uint8_t> bytes(3000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    auto s = Ram(bytes);
    EXPECT_EQ(s->SkipBytes(2500), 2500);  // more than one 1024-byte piece
    EXPECT_EQ(s->Pos(), 2500);
    std::uint8_t buf[600];
    EXPECT_THROW(s->ReadBytes(buf, 600), TStreamReadException);
    s->Seek(0);
    EXPECT_THROW(s->SkipBytes(3001), TStreamReadException);
    s->Seek(10);
    EXPECT_EQ(s->ReadBytes(buf, 5), 5);
    EXPECT_EQ(buf[4], 14);
}

TEST(StreamErrors, TextsAndFamily) {
    EXPECT_EQ(TStreamReadException().ToString(), "Error reading from stream");
    EXPECT_EQ(TStreamWriteException().ToString(), "Error writing to stream");
    try {
        throw TStreamReadException();
    } catch (const TStreamException& e) {
        EXPECT_STREQ(e.what(), "Error reading from stream");
    }
    TIO io;
    std::uint8_t b;
    EXPECT_EQ(io.Pos(), -1);
    EXPECT_EQ(io.Seek(3), -1);
    EXPECT_FALSE(io.Eof());
    try {
        io.Read(&b, 1);
        FAIL();
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Stream is not readable");
    }
    try {
        io.Write(&b, 1);
        FAIL();
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Stream is not writeable");
    }
    std::vector<std::uint8_t> bytes(1);
    auto s = Ram(bytes);
    try {
        s->ReadObject();
        FAIL();
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString(), "Unable to read object");
    }
    EXPECT_THROW(ReadByte(nullptr), TNullObjectException);
}

TEST(StreamWrapper, ForwardsAndClosingOnlyDetaches) {
    std::vector<std::uint8_t> bytes = {5, 0, 6, 0};
    auto inner = Ram(bytes);
    auto outer = TStreamStream::Create(inner);
    EXPECT_EQ(ReadShort(outer), 5);
    EXPECT_EQ(inner->Pos(), 2);
    EXPECT_EQ(outer->Size(), 4);
    EXPECT_EQ(CloseStream(outer), 0);
    EXPECT_EQ(outer->Stream(), nullptr);
    EXPECT_THROW(outer->Pos(), TNullObjectException);
    EXPECT_EQ(ReadShort(inner), 6);  // the wrapped stream is still usable
}

TEST(CStream, WritesReadsAndRefusesWhatItCannotOpen) {
    const auto path = std::filesystem::temp_directory_path() / "kestrel_cstream_test.bin";
    std::filesystem::remove(path);
    {
        auto w = TCStream::OpenFile(path.string(), 0, 1);
        ASSERT_NE(w, nullptr);
        WriteInt(w, 0x11223344);
        WriteLine(w, "line");
        EXPECT_EQ(w->Size(), 10);
        CloseStream(w);
    }
    auto r = TCStream::OpenFile(path.string(), 1, 0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->Size(), 10);
    EXPECT_EQ(ReadInt(r), 0x11223344);
    EXPECT_EQ(ReadLine(r), "line");
    EXPECT_TRUE(StreamEof(r));
    EXPECT_EQ(r->Seek(2), 2);
    EXPECT_EQ(ReadShort(r), 0x1122);
    std::uint8_t b;
    EXPECT_EQ(r->Write(&b, 1), 0);  // opened for reading only
    r->Close();
    EXPECT_EQ(r->Read(&b, 1), 0);  // closed: nothing more, no crash

    auto rw = TCStream::OpenFile(path.string(), 1, 1);
    ASSERT_NE(rw, nullptr);
    rw->Seek(4);
    WriteByte(rw, 'L');
    rw->Seek(4);
    EXPECT_EQ(ReadLine(rw), "Line");
    rw->Close();

    EXPECT_EQ(TCStream::OpenFile((path.string() + ".missing"), 1, 0), nullptr);
    EXPECT_EQ(TCStream::OpenFile(std::filesystem::temp_directory_path().string(), 1, 0), nullptr);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrel
