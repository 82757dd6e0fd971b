// TStreamWrapper forwards every stream operation to the stream it holds;
// TStreamStream is the wrapper OpenStream returns for a stream passed as a
// URL: closing it only lets go of the wrapped stream, which stays open.
#pragma once

#include "toolkit/resources/stream_base.h"

namespace kestrel {

// A stream that forwards everything to another.
class TStreamWrapper : public TStream {
public:
    void SetStream(TStreamPtr stream) { _stream = std::move(stream); }  // wraps stream
    const TStreamPtr& Stream() const { return _stream; }  // the wrapped stream; null when none

    bool Eof() override;
    std::int64_t Pos() override;
    std::int64_t Size() override;
    std::int64_t Seek(std::int64_t pos) override;
    int Flush() override;
    int Close() override;
    std::int64_t Read(void* buf, std::int64_t count) override;
    std::int64_t Write(const void* buf, std::int64_t count) override;

    std::int64_t ReadBytes(void* buf, std::int64_t count) override;
    std::int64_t WriteBytes(const void* buf, std::int64_t count) override;
    std::int64_t SkipBytes(std::int64_t count) override;
    int ReadByte() override;
    void WriteByte(int n) override;
    int ReadShort() override;
    void WriteShort(int n) override;
    std::int32_t ReadInt() override;
    void WriteInt(std::int32_t n) override;
    std::int64_t ReadLong() override;
    void WriteLong(std::int64_t n) override;
    float ReadFloat() override;
    void WriteFloat(float f) override;
    double ReadDouble() override;
    void WriteDouble(double d) override;
    std::string ReadLine() override;
    void WriteLine(const std::string& text) override;
    std::string ReadString(std::int64_t length) override;
    void WriteString(const std::string& text) override;
    ObjectPtr ReadObject() override;
    void WriteObject(const ObjectPtr& object) override;

protected:
    // The wrapped stream; operations on a wrapper without one raise
    // TNullObjectException.
    TStream& Target();

    TStreamPtr _stream;  // the wrapped stream
};

// The wrapper of a stream passed to OpenStream as its URL.
class TStreamStream : public TStreamWrapper {
public:
    // A new wrapper of stream.
    static std::shared_ptr<TStreamStream> Create(TStreamPtr stream);
    // Detaches from the wrapped stream without closing it.
    int Close() override;
};

}  // namespace kestrel
