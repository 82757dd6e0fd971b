// The stream module functions: opening streams from URLs, the operations on
// an open stream, and whole-stream loading and saving. Functions taking a
// stream raise TNullObjectException when it is null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/resources/stream_base.h"
#include "toolkit/resources/url.h"

namespace kestrel {

// A stream URL is wrapped (closing the wrapper leaves it open); a string
// without "::" is a file path; "protocol::path" goes to the factory chain,
// newest first, with the protocol in lower case and the path as written.
// nullptr when nothing can open it.
TStreamPtr OpenStream(const Url& url, int readable, int writeable);
// OpenStream(url, 1, 0): a stream to read; null when nothing can open it.
TStreamPtr ReadStream(const Url& url);
// OpenStream(url, 0, 1): a stream to write (a file is created or emptied);
// null when nothing can open it.
TStreamPtr WriteStream(const Url& url);

// True at the end of the stream (for most streams: position = size).
bool StreamEof(const TStreamPtr& stream);
// The position in bytes from the start; -1 for a stream without positions.
std::int64_t StreamPos(const TStreamPtr& stream);
// The size in bytes; 0 for a stream that cannot tell.
std::int64_t StreamSize(const TStreamPtr& stream);
// Moves to byte pos from the start; returns the new position (-1 when the
// stream cannot seek).
std::int64_t SeekStream(const TStreamPtr& stream, std::int64_t pos);
// Writes out what the stream buffers (the streams here return 0).
int FlushStream(const TStreamPtr& stream);
// Closes the stream (a file's buffered bytes are written out); the streams
// here return 0. A closed file stream reads and writes nothing.
int CloseStream(const TStreamPtr& stream);

// One byte, 0..255. The typed reads and writes take numbers as
// little-endian bytes: a byte, a short (16-bit, read as 0..65535), an int
// (32-bit), a long (64-bit), a float (32-bit) and a double (64-bit). A read
// past the end raises TStreamReadException, a write that fails
// TStreamWriteException.
int ReadByte(const TStreamPtr& stream);
// One unsigned 16-bit number (see ReadByte).
int ReadShort(const TStreamPtr& stream);
// One signed 32-bit number (see ReadByte).
std::int32_t ReadInt(const TStreamPtr& stream);
// One signed 64-bit number (see ReadByte).
std::int64_t ReadLong(const TStreamPtr& stream);
// One 32-bit float (see ReadByte).
float ReadFloat(const TStreamPtr& stream);
// One 64-bit double (see ReadByte).
double ReadDouble(const TStreamPtr& stream);
// The bytes up to a line feed, a 0 byte or the end (carriage returns
// dropped), each byte one character (Latin-1), as UTF-8 text.
std::string ReadLine(const TStreamPtr& stream);
// Exactly length bytes as text, one character each (Latin-1 to UTF-8);
// TStreamReadException when the stream ends first.
std::string ReadString(const TStreamPtr& stream, std::int64_t length);
// The low 8 bits of n as one byte (see ReadByte).
void WriteByte(const TStreamPtr& stream, int n);
// The low 16 bits of n (see ReadByte).
void WriteShort(const TStreamPtr& stream, int n);
// n as 4 bytes (see ReadByte).
void WriteInt(const TStreamPtr& stream, std::int32_t n);
// n as 8 bytes (see ReadByte).
void WriteLong(const TStreamPtr& stream, std::int64_t n);
// f as 4 bytes (see ReadByte).
void WriteFloat(const TStreamPtr& stream, float f);
// d as 8 bytes (see ReadByte).
void WriteDouble(const TStreamPtr& stream, double d);
// WriteString, then a carriage return and a line feed.
void WriteLine(const TStreamPtr& stream, const std::string& text);
// The text's characters as one byte each (the low 8 bits of each code point),
// with no terminator.
void WriteString(const TStreamPtr& stream, const std::string& text);

// Every byte of the URL's stream (TStreamReadException when it cannot be
// opened). Reading stops at the end of the stream or at the first read that
// delivers nothing.
std::vector<std::uint8_t> LoadByteArray(const Url& url);
// LoadByteArray, one character per byte.
std::string LoadString(const Url& url);
// Write the bytes / the string's bytes to WriteStream(url)
// (TStreamWriteException when it cannot be opened).
void SaveByteArray(const std::vector<std::uint8_t>& bytes, const Url& url);
// The string's characters as one byte each to WriteStream(url).
void SaveString(const std::string& text, const Url& url);
// An object read by the stream's ReadObject (the base streams raise a
// runtime error); TStreamReadException when url cannot be opened.
ObjectPtr LoadObject(const Url& url);
// The object written by the stream's WriteObject; TStreamWriteException when
// url cannot be opened.
void SaveObject(const ObjectPtr& object, const Url& url);

// Copies until `from` ends; returns the bytes copied.
std::int64_t CopyStream(const TStreamPtr& from, const TStreamPtr& to, int bufSize = 4096);
// Copies exactly `count` bytes (stream exceptions when either side fails).
void CopyBytes(const TStreamPtr& from, const TStreamPtr& to, std::int64_t count,
               int bufSize = 4096);

}  // namespace kestrel
