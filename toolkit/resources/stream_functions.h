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
TStreamPtr ReadStream(const Url& url);
TStreamPtr WriteStream(const Url& url);

bool StreamEof(const TStreamPtr& stream);
std::int64_t StreamPos(const TStreamPtr& stream);
std::int64_t StreamSize(const TStreamPtr& stream);
std::int64_t SeekStream(const TStreamPtr& stream, std::int64_t pos);
int FlushStream(const TStreamPtr& stream);
int CloseStream(const TStreamPtr& stream);

int ReadByte(const TStreamPtr& stream);
int ReadShort(const TStreamPtr& stream);
std::int32_t ReadInt(const TStreamPtr& stream);
std::int64_t ReadLong(const TStreamPtr& stream);
float ReadFloat(const TStreamPtr& stream);
double ReadDouble(const TStreamPtr& stream);
std::string ReadLine(const TStreamPtr& stream);
std::string ReadString(const TStreamPtr& stream, std::int64_t length);
void WriteByte(const TStreamPtr& stream, int n);
void WriteShort(const TStreamPtr& stream, int n);
void WriteInt(const TStreamPtr& stream, std::int32_t n);
void WriteLong(const TStreamPtr& stream, std::int64_t n);
void WriteFloat(const TStreamPtr& stream, float f);
void WriteDouble(const TStreamPtr& stream, double d);
void WriteLine(const TStreamPtr& stream, const std::string& text);
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
void SaveString(const std::string& text, const Url& url);
ObjectPtr LoadObject(const Url& url);
void SaveObject(const ObjectPtr& object, const Url& url);

// Copies until `from` ends; returns the bytes copied.
std::int64_t CopyStream(const TStreamPtr& from, const TStreamPtr& to, int bufSize = 4096);
// Copies exactly `count` bytes (stream exceptions when either side fails).
void CopyBytes(const TStreamPtr& from, const TStreamPtr& to, std::int64_t count,
               int bufSize = 4096);

}  // namespace kestrel
