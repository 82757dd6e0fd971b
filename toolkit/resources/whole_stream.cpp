// Whole-stream operations: loading and saving everything a URL holds.
#include <algorithm>

#include "toolkit/resources/latin1_text.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/stream_functions.h"

namespace kestrel {

namespace {

// Closes a stream when the operation leaves, also by an exception.
struct CloseOnExit {
    TStream& stream;
    ~CloseOnExit() { stream.Close(); }
};

}  // namespace

std::vector<std::uint8_t> LoadByteArray(const Url& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) throw TStreamReadException();
    CloseOnExit closer{*stream};
    std::vector<std::uint8_t> data(1024);
    std::size_t size = 0;
    while (!stream->Eof()) {
        if (size == data.size()) data.resize(data.size() * 3 / 2);
        const std::int64_t n =
            stream->Read(data.data() + size, static_cast<std::int64_t>(data.size() - size));
        // A stream that cannot say where its end is stops at its first empty read.
        if (n <= 0) break;
        size += static_cast<std::size_t>(n);
    }
    data.resize(size);
    return data;
}

std::string LoadString(const Url& url) {
    const std::vector<std::uint8_t> bytes = LoadByteArray(url);
    return BytesToText(bytes.data(), bytes.size());
}

void SaveByteArray(const std::vector<std::uint8_t>& bytes, const Url& url) {
    TStreamPtr stream = WriteStream(url);
    if (!stream) throw TStreamWriteException();
    CloseOnExit closer{*stream};
    stream->WriteBytes(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

void SaveString(const std::string& text, const Url& url) {
    TStreamPtr stream = WriteStream(url);
    if (!stream) throw TStreamWriteException();
    CloseOnExit closer{*stream};
    stream->WriteString(text);
}

ObjectPtr LoadObject(const Url& url) {
    TStreamPtr stream = ReadStream(url);
    if (!stream) throw TStreamReadException();
    CloseOnExit closer{*stream};
    return stream->ReadObject();
}

void SaveObject(const ObjectPtr& object, const Url& url) {
    TStreamPtr stream = WriteStream(url);
    if (!stream) throw TStreamWriteException();
    CloseOnExit closer{*stream};
    stream->WriteObject(object);
}

std::int64_t CopyStream(const TStreamPtr& from, const TStreamPtr& to, int bufSize) {
    TStream& src = *NonNull(from);
    TStream& dst = *NonNull(to);
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(std::max(bufSize, 1)));
    std::int64_t total = 0;
    while (!src.Eof()) {
        const std::int64_t n = src.Read(buf.data(), static_cast<std::int64_t>(buf.size()));
        if (n <= 0) break;
        dst.WriteBytes(buf.data(), n);
        total += n;
    }
    return total;
}

void CopyBytes(const TStreamPtr& from, const TStreamPtr& to, std::int64_t count, int bufSize) {
    TStream& src = *NonNull(from);
    TStream& dst = *NonNull(to);
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(std::max(bufSize, 1)));
    while (count > 0) {
        const std::int64_t n = std::min<std::int64_t>(count, static_cast<std::int64_t>(buf.size()));
        src.ReadBytes(buf.data(), n);
        dst.WriteBytes(buf.data(), n);
        count -= n;
    }
}

}  // namespace kestrel
