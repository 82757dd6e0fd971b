#include "toolkit/resources/stream_functions.h"

#include "toolkit/core/error.h"

namespace kestrel {

bool StreamEof(const TStreamPtr& stream) { return NonNull(stream)->Eof(); }
std::int64_t StreamPos(const TStreamPtr& stream) { return NonNull(stream)->Pos(); }
std::int64_t StreamSize(const TStreamPtr& stream) { return NonNull(stream)->Size(); }
std::int64_t SeekStream(const TStreamPtr& stream, std::int64_t pos) {
    return NonNull(stream)->Seek(pos);
}
int FlushStream(const TStreamPtr& stream) { return NonNull(stream)->Flush(); }
int CloseStream(const TStreamPtr& stream) { return NonNull(stream)->Close(); }

int ReadByte(const TStreamPtr& stream) { return NonNull(stream)->ReadByte(); }
int ReadShort(const TStreamPtr& stream) { return NonNull(stream)->ReadShort(); }
std::int32_t ReadInt(const TStreamPtr& stream) { return NonNull(stream)->ReadInt(); }
std::int64_t ReadLong(const TStreamPtr& stream) { return NonNull(stream)->ReadLong(); }
float ReadFloat(const TStreamPtr& stream) { return NonNull(stream)->ReadFloat(); }
double ReadDouble(const TStreamPtr& stream) { return NonNull(stream)->ReadDouble(); }
std::string ReadLine(const TStreamPtr& stream) { return NonNull(stream)->ReadLine(); }
std::string ReadString(const TStreamPtr& stream, std::int64_t length) {
    return NonNull(stream)->ReadString(length);
}
void WriteByte(const TStreamPtr& stream, int n) { NonNull(stream)->WriteByte(n); }
void WriteShort(const TStreamPtr& stream, int n) { NonNull(stream)->WriteShort(n); }
void WriteInt(const TStreamPtr& stream, std::int32_t n) { NonNull(stream)->WriteInt(n); }
void WriteLong(const TStreamPtr& stream, std::int64_t n) { NonNull(stream)->WriteLong(n); }
void WriteFloat(const TStreamPtr& stream, float f) { NonNull(stream)->WriteFloat(f); }
void WriteDouble(const TStreamPtr& stream, double d) { NonNull(stream)->WriteDouble(d); }
void WriteLine(const TStreamPtr& stream, const std::string& text) {
    NonNull(stream)->WriteLine(text);
}
void WriteString(const TStreamPtr& stream, const std::string& text) {
    NonNull(stream)->WriteString(text);
}

}  // namespace kestrel
