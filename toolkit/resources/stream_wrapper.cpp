#include "toolkit/resources/stream_wrapper.h"

#include "toolkit/core/error.h"

namespace kestrel {

TStream& TStreamWrapper::Target() { return *NonNull(_stream); }

bool TStreamWrapper::Eof() { return Target().Eof(); }
std::int64_t TStreamWrapper::Pos() { return Target().Pos(); }
std::int64_t TStreamWrapper::Size() { return Target().Size(); }
std::int64_t TStreamWrapper::Seek(std::int64_t pos) { return Target().Seek(pos); }
int TStreamWrapper::Flush() { return Target().Flush(); }
int TStreamWrapper::Close() { return Target().Close(); }
std::int64_t TStreamWrapper::Read(void* buf, std::int64_t count) { return Target().Read(buf, count); }
std::int64_t TStreamWrapper::Write(const void* buf, std::int64_t count) {
    return Target().Write(buf, count);
}

std::int64_t TStreamWrapper::ReadBytes(void* buf, std::int64_t count) {
    return Target().ReadBytes(buf, count);
}
std::int64_t TStreamWrapper::WriteBytes(const void* buf, std::int64_t count) {
    return Target().WriteBytes(buf, count);
}
std::int64_t TStreamWrapper::SkipBytes(std::int64_t count) { return Target().SkipBytes(count); }
int TStreamWrapper::ReadByte() { return Target().ReadByte(); }
void TStreamWrapper::WriteByte(int n) { Target().WriteByte(n); }
int TStreamWrapper::ReadShort() { return Target().ReadShort(); }
void TStreamWrapper::WriteShort(int n) { Target().WriteShort(n); }
std::int32_t TStreamWrapper::ReadInt() { return Target().ReadInt(); }
void TStreamWrapper::WriteInt(std::int32_t n) { Target().WriteInt(n); }
std::int64_t TStreamWrapper::ReadLong() { return Target().ReadLong(); }
void TStreamWrapper::WriteLong(std::int64_t n) { Target().WriteLong(n); }
float TStreamWrapper::ReadFloat() { return Target().ReadFloat(); }
void TStreamWrapper::WriteFloat(float f) { Target().WriteFloat(f); }
double TStreamWrapper::ReadDouble() { return Target().ReadDouble(); }
void TStreamWrapper::WriteDouble(double d) { Target().WriteDouble(d); }
std::string TStreamWrapper::ReadLine() { return Target().ReadLine(); }
void TStreamWrapper::WriteLine(const std::string& text) { Target().WriteLine(text); }
std::string TStreamWrapper::ReadString(std::int64_t length) { return Target().ReadString(length); }
void TStreamWrapper::WriteString(const std::string& text) { Target().WriteString(text); }
ObjectPtr TStreamWrapper::ReadObject() { return Target().ReadObject(); }
void TStreamWrapper::WriteObject(const ObjectPtr& object) { Target().WriteObject(object); }

std::shared_ptr<TStreamStream> TStreamStream::Create(TStreamPtr stream) {
    auto s = std::make_shared<TStreamStream>();
    s->SetStream(std::move(stream));
    return s;
}

int TStreamStream::Close() {
    SetStream(nullptr);
    return 0;
}

}  // namespace kestrel
