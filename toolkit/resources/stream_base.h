// TIO, the abstract byte I/O object, and TStream, which adds the typed
// reads and writes on top of Read/Write. Numbers travel as raw little-endian
// bytes; text travels one byte per character (see latin1_text.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

// Byte input and output: what a stream type implements (files, memory,
// wrappers). The defaults describe a stream that can do nothing.
class TIO : public Object {
public:
    // At the end: Pos() = Size() by default.
    virtual bool Eof();
    // The position in bytes; -1: the stream cannot tell it (not seekable).
    virtual std::int64_t Pos();
    // The size in bytes; 0 by default.
    virtual std::int64_t Size();
    // The new position, or -1 when the stream cannot seek.
    virtual std::int64_t Seek(std::int64_t pos);
    // Writes out buffered bytes; 0 on success (the default does nothing).
    virtual int Flush();
    // Closes the stream; 0 on success (the default does nothing).
    virtual int Close();
    // Bytes actually moved; 0 at the end. The defaults raise the runtime
    // errors "Stream is not readable" / "Stream is not writeable".
    virtual std::int64_t Read(void* buf, std::int64_t count);
    // Up to count bytes from buf; the bytes written (see Read).
    virtual std::int64_t Write(const void* buf, std::int64_t count);
};

// A byte stream with typed reads and writes (stream_functions.h has them as
// module functions). A shared stream is a TStreamPtr; null is no stream.
class TStream : public TIO {
public:
    // Exactly `count` bytes or TStreamReadException / TStreamWriteException.
    virtual std::int64_t ReadBytes(void* buf, std::int64_t count);
    // Exactly count bytes or TStreamWriteException.
    virtual std::int64_t WriteBytes(const void* buf, std::int64_t count);
    // Reads and discards `count` bytes (TStreamReadException when the stream ends).
    virtual std::int64_t SkipBytes(std::int64_t count);

    virtual int ReadByte();            // one byte, 0..255 (TStreamReadException at the end)
    virtual void WriteByte(int n);     // the low 8 bits of n
    virtual int ReadShort();           // 16 bits little-endian, 0..65535
    virtual void WriteShort(int n);    // the low 16 bits of n, little-endian
    virtual std::int32_t ReadInt();    // 32 bits little-endian, signed
    virtual void WriteInt(std::int32_t n);   // 32 bits little-endian
    virtual std::int64_t ReadLong();   // 64 bits little-endian, signed
    virtual void WriteLong(std::int64_t n);  // 64 bits little-endian
    virtual float ReadFloat();         // an IEEE 32-bit float, little-endian
    virtual void WriteFloat(float f);  // an IEEE 32-bit float, little-endian
    virtual double ReadDouble();       // an IEEE 64-bit double, little-endian
    virtual void WriteDouble(double d);  // an IEEE 64-bit double, little-endian

    // Up to a line feed or a 0 byte or the end; carriage returns are dropped.
    virtual std::string ReadLine();
    // The text's bytes followed by CR LF.
    virtual void WriteLine(const std::string& text);
    // Exactly `length` bytes, one character each.
    virtual std::string ReadString(std::int64_t length);
    // The text's characters, one byte each, no terminator.
    virtual void WriteString(const std::string& text);

    // Streams carry no object serialisation: these raise runtime errors.
    virtual ObjectPtr ReadObject();
    // (see ReadObject)
    virtual void WriteObject(const ObjectPtr& object);
};

// A shared stream; null is no stream.
using TStreamPtr = std::shared_ptr<TStream>;

}  // namespace kestrel
