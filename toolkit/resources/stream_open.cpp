#include "toolkit/resources/stream_functions.h"

#include <algorithm>
#include <cctype>

#include "toolkit/resources/c_stream.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/resources/stream_wrapper.h"

namespace kestrel {

namespace {

TStreamPtr Open(const Url& url, int readable, int writeable) {
    if (auto stream = url.As<TStream>()) return TStreamStream::Create(std::move(stream));

    // Any other object counts as the empty string.
    const std::string& s = url.Text();
    std::string protocol;
    std::string path;
    if (!s.empty()) {
        const std::size_t sep = s.find("::");
        if (sep == std::string::npos) {
            TStreamPtr file = TCStream::OpenFile(s, readable, writeable);
            if (!file) SetLoadReason(readable ? FileOpenReason(s) : "the file could not be created");
            return file;
        }
        protocol = s.substr(0, sep);
        std::transform(protocol.begin(), protocol.end(), protocol.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        path = s.substr(sep + 2);
    }
    const std::uint64_t reasons = LoadReasonCount();
    for (TStreamFactory* f = StreamFactories(); f; f = f->Next()) {
        if (TStreamPtr stream = f->CreateStream(url, protocol, path, readable, writeable))
            return stream;
    }
    // A factory that knew the protocol has said why it gave nothing.
    if (LoadReasonCount() == reasons) {
        if (!url.IsString())
            SetLoadReason(url.GetObject() ? "not a stream or a URL" : "the URL is Null");
        else if (s.empty())
            SetLoadReason("no file name given");
        else if (!StreamFactories())
            SetLoadReason("unknown protocol '" + protocol +
                          "': no stream factory is registered: call kestrel::Startup() first");
        else
            SetLoadReason("unknown protocol '" + protocol + "'");
    }
    return nullptr;
}

}  // namespace

TStreamPtr OpenStream(const Url& url, int readable, int writeable) {
    LoadAttempt attempt("OpenStream", url);
    return attempt.Finish(Open(url, readable, writeable));
}

TStreamPtr ReadStream(const Url& url) {
    LoadAttempt attempt("ReadStream", url);
    return attempt.Finish(OpenStream(url, 1, 0));
}

TStreamPtr WriteStream(const Url& url) {
    LoadAttempt attempt("WriteStream", url);
    return attempt.Finish(OpenStream(url, 0, 1));
}

}  // namespace kestrel
