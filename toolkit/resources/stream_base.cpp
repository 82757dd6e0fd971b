#include "toolkit/resources/stream_base.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "toolkit/core/error.h"
#include "toolkit/resources/latin1_text.h"
#include "toolkit/resources/stream_error.h"

namespace kestrel {

static_assert(std::endian::native == std::endian::little,
              "numbers are read and written as raw little-endian bytes");

bool TIO::Eof() { return Pos() == Size(); }
std::int64_t TIO::Pos() { return -1; }
std::int64_t TIO::Size() { return 0; }
std::int64_t TIO::Seek(std::int64_t) { return -1; }
int TIO::Flush() { return 0; }
int TIO::Close() { return 0; }

std::int64_t TIO::Read(void*, std::int64_t) { RuntimeError("Stream is not readable"); }

std::int64_t TIO::Write(const void*, std::int64_t) { RuntimeError("Stream is not writeable"); }

std::int64_t TStream::ReadBytes(void* buf, std::int64_t count) {
    auto* p = static_cast<std::uint8_t*>(buf);
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = Read(p, left);
        if (n <= 0) throw TStreamReadException();
        p += n;
        left -= n;
    }
    return count;
}

std::int64_t TStream::WriteBytes(const void* buf, std::int64_t count) {
    const auto* p = static_cast<const std::uint8_t*>(buf);
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = Write(p, left);
        if (n <= 0) throw TStreamWriteException();
        p += n;
        left -= n;
    }
    return count;
}

std::int64_t TStream::SkipBytes(std::int64_t count) {
    std::uint8_t scratch[1024];
    std::int64_t left = count;
    while (left > 0) {
        const std::int64_t n = Read(scratch, std::min<std::int64_t>(left, sizeof scratch));
        if (n <= 0) throw TStreamReadException();
        left -= n;
    }
    return count;
}

namespace {

template <class T>
T ReadRaw(TStream& s) {
    T v;
    s.ReadBytes(&v, sizeof v);
    return v;
}

template <class T>
void WriteRaw(TStream& s, T v) {
    s.WriteBytes(&v, sizeof v);
}

}  // namespace

int TStream::ReadByte() { return ReadRaw<std::uint8_t>(*this); }
void TStream::WriteByte(int n) { WriteRaw(*this, static_cast<std::uint8_t>(n)); }
int TStream::ReadShort() { return ReadRaw<std::uint16_t>(*this); }
void TStream::WriteShort(int n) { WriteRaw(*this, static_cast<std::uint16_t>(n)); }
std::int32_t TStream::ReadInt() { return ReadRaw<std::int32_t>(*this); }
void TStream::WriteInt(std::int32_t n) { WriteRaw(*this, n); }
std::int64_t TStream::ReadLong() { return ReadRaw<std::int64_t>(*this); }
void TStream::WriteLong(std::int64_t n) { WriteRaw(*this, n); }
float TStream::ReadFloat() { return ReadRaw<float>(*this); }
void TStream::WriteFloat(float f) { WriteRaw(*this, f); }
double TStream::ReadDouble() { return ReadRaw<double>(*this); }
void TStream::WriteDouble(double d) { WriteRaw(*this, d); }

std::string TStream::ReadLine() {
    std::string bytes;
    for (;;) {
        std::uint8_t b = 0;
        if (Read(&b, 1) != 1) break;
        if (b == 0 || b == 10) break;
        if (b != 13) bytes.push_back(static_cast<char>(b));
    }
    return BytesToText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void TStream::WriteLine(const std::string& text) {
    WriteString(text);
    const std::uint8_t crlf[2] = {13, 10};
    WriteBytes(crlf, 2);
}

std::string TStream::ReadString(std::int64_t length) {
    if (length <= 0) return {};
    std::string bytes;
    // Grow as the bytes arrive so that a forged length cannot allocate more
    // than the stream really holds.
    constexpr std::int64_t kPiece = 64 * 1024;
    std::int64_t left = length;
    while (left > 0) {
        const std::int64_t n = std::min(left, kPiece);
        const std::size_t at = bytes.size();
        bytes.resize(at + static_cast<std::size_t>(n));
        ReadBytes(bytes.data() + at, n);
        left -= n;
    }
    return BytesToText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

void TStream::WriteString(const std::string& text) {
    const std::string bytes = TextToBytes(text);
    WriteBytes(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

ObjectPtr TStream::ReadObject() { RuntimeError("Unable to read object"); }

void TStream::WriteObject(const ObjectPtr&) { RuntimeError("Unable to write object"); }

}  // namespace kestrel
