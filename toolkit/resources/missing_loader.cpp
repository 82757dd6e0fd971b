#include "toolkit/resources/missing_loader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>

#include "toolkit/core/warn_once.h"
#include "toolkit/resources/stream_functions.h"

namespace kestrel {

namespace {

constexpr int kFormats = 6;
std::array<std::atomic<bool>, kFormats> g_registered{};

struct FormatInfo {
    const char* data;     // what the data is
    const char* loader;   // the loader that reads it
    const char* startup;  // the call that registers it
};

FormatInfo Info(DataFormat format) {
    switch (format) {
    case DataFormat::PNG: return {"a PNG image", "PNG loader", "kestrel::InitPngLoader()"};
    case DataFormat::WAV: return {"a WAV sound", "WAV loader", "kestrel::InitWavLoader()"};
    case DataFormat::OggVorbis:
        return {"an Ogg Vorbis sound", "Ogg loader", "kestrel::InitOggLoader()"};
    case DataFormat::TrueType:
        return {"a TrueType font", "FreeType font loader", "kestrel::InitFreeTypeFonts()"};
    case DataFormat::JPEG: return {"a JPEG image", nullptr, nullptr};
    case DataFormat::Unknown: break;
    }
    return {nullptr, nullptr, nullptr};
}

bool StartsWith(const std::uint8_t* bytes, std::size_t count, const char* magic, std::size_t n,
                std::size_t at = 0) {
    return count >= at + n && std::memcmp(bytes + at, magic, n) == 0;
}

}  // namespace

DataFormat SniffDataFormat(const std::uint8_t* bytes, std::size_t count) {
    if (StartsWith(bytes, count, "\x89PNG\r\n\x1a\n", 8)) return DataFormat::PNG;
    if (StartsWith(bytes, count, "RIFF", 4) && StartsWith(bytes, count, "WAVE", 4, 8))
        return DataFormat::WAV;
    if (StartsWith(bytes, count, "OggS", 4)) return DataFormat::OggVorbis;
    if (StartsWith(bytes, count, "\0\1\0\0", 4) || StartsWith(bytes, count, "OTTO", 4) ||
        StartsWith(bytes, count, "true", 4) || StartsWith(bytes, count, "ttcf", 4))
        return DataFormat::TrueType;
    if (StartsWith(bytes, count, "\xFF\xD8\xFF", 3)) return DataFormat::JPEG;
    return DataFormat::Unknown;
}

void NoteLoaderRegistered(DataFormat format) {
    g_registered[static_cast<std::size_t>(format)].store(true);
}

bool LoaderRegistered(DataFormat format) {
    return g_registered[static_cast<std::size_t>(format)].load();
}

const char* DataFormatText(DataFormat format) { return Info(format).data; }

std::string MissingLoaderHint(DataFormat format) {
    const FormatInfo info = Info(format);
    if (!info.data) return "";
    if (!info.loader) return "which no loader of Kestrel reads";
    if (LoaderRegistered(format)) return "";
    return std::string("no ") + info.loader + " is registered: call " + info.startup +
           " or kestrel::Startup() first";
}

std::string MissingLoaderMessage(const std::string& function, DataFormat format) {
    const FormatInfo info = Info(format);
    if (!info.data || !info.loader || LoaderRegistered(format)) return "";
    return function + ": the data is " + info.data + " but " + MissingLoaderHint(format);
}

namespace {

void WarnFor(const std::string& function, const std::uint8_t* head, std::int64_t got) {
    const std::string message =
        MissingLoaderMessage(function, SniffDataFormat(head, std::size_t(std::max<std::int64_t>(0, got))));
    if (!message.empty()) WarnOnce(message);
}

}  // namespace

void WarnIfLoaderMissing(const std::string& function, TStream& stream, std::int64_t start) {
    std::uint8_t head[12] = {};
    std::int64_t got = 0;
    try {
        stream.Seek(start);
        got = stream.Read(head, sizeof head);
        stream.Seek(start);
    } catch (...) {
        return;  // unreadable data: nothing to tell about loaders
    }
    WarnFor(function, head, got);
}

void WarnIfLoaderMissing(const std::string& function, const Url& url) {
    TStreamPtr stream;
    try {
        stream = ReadStream(url);
    } catch (...) {
        return;  // the loaders already said nothing could be read
    }
    if (!stream) return;
    std::uint8_t head[12] = {};
    std::int64_t got = 0;
    try {
        got = stream->Read(head, sizeof head);
        stream->Close();
    } catch (...) {
        return;
    }
    WarnFor(function, head, got);
}

}  // namespace kestrel
