// TIO, the abstract byte I/O object, and TStream, which adds the typed
// reads and writes on top of Read/Write. Numbers travel as raw little-endian
// bytes; text travels one byte per character (see latin1_text.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

class TIO : public Object {
public:
    // Pos() = Size() by default.
    virtual bool Eof();
    // -1: the stream cannot tell its position (not seekable).
    virtual std::int64_t Pos();
    virtual std::int64_t Size();
    // The new position, or -1 when the stream cannot seek.
    virtual std::int64_t Seek(std::int64_t pos);
    virtual int Flush();
    virtual int Close();
    // Bytes actually moved; 0 at the end. The defaults raise the runtime
    // errors "Stream is not readable" / "Stream is not writeable".
    virtual std::int64_t Read(void* buf, std::int64_t count);
    virtual std::int64_t Write(const void* buf, std::int64_t count);
};

class TStream : public TIO {
public:
    // Exactly `count` bytes or TStreamReadException / TStreamWriteException.
    virtual std::int64_t ReadBytes(void* buf, std::int64_t count);
    virtual std::int64_t WriteBytes(const void* buf, std::int64_t count);
    // Reads and discards `count` bytes (TStreamReadException when the stream ends).
    virtual std::int64_t SkipBytes(std::int64_t count);

    virtual int ReadByte();            // 0..255
    virtual void WriteByte(int n);
    virtual int ReadShort();           // 0..65535
    virtual void WriteShort(int n);
    virtual std::int32_t ReadInt();
    virtual void WriteInt(std::int32_t n);
    virtual std::int64_t ReadLong();
    virtual void WriteLong(std::int64_t n);
    virtual float ReadFloat();
    virtual void WriteFloat(float f);
    virtual double ReadDouble();
    virtual void WriteDouble(double d);

    // Up to a line feed or a 0 byte or the end; carriage returns are dropped.
    virtual std::string ReadLine();
    // The text's bytes followed by CR LF.
    virtual void WriteLine(const std::string& text);
    // Exactly `length` bytes, one character each.
    virtual std::string ReadString(std::int64_t length);
    virtual void WriteString(const std::string& text);

    // Streams carry no object serialisation: these raise runtime errors.
    virtual ObjectPtr ReadObject();
    virtual void WriteObject(const ObjectPtr& object);
};

using TStreamPtr = std::shared_ptr<TStream>;

}  // namespace kestrel
