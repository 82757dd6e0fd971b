#include "toolkit/resources/stream_functions.h"

#include <algorithm>
#include <cctype>

#include "toolkit/resources/c_stream.h"
#include "toolkit/resources/stream_factory.h"
#include "toolkit/resources/stream_wrapper.h"

namespace kestrel {

TStreamPtr OpenStream(const Url& url, int readable, int writeable) {
    if (auto stream = url.As<TStream>()) return TStreamStream::Create(std::move(stream));

    const std::string& s = url.Text();
    std::string protocol;
    std::string path;
    if (!s.empty()) {
        const std::size_t sep = s.find("::");
        if (sep == std::string::npos) return TCStream::OpenFile(s, readable, writeable);
        protocol = s.substr(0, sep);
        std::transform(protocol.begin(), protocol.end(), protocol.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        path = s.substr(sep + 2);
    }
    for (TStreamFactory* f = StreamFactories(); f; f = f->_succ) {
        if (TStreamPtr stream = f->CreateStream(url, protocol, path, readable, writeable))
            return stream;
    }
    return nullptr;
}

TStreamPtr ReadStream(const Url& url) { return OpenStream(url, 1, 0); }

TStreamPtr WriteStream(const Url& url) { return OpenStream(url, 0, 1); }

}  // namespace kestrel
