#include "toolkit/resources/stream_factory.h"

#include "toolkit/core/run_once.h"
#include "toolkit/resources/incbin.h"
#include "toolkit/resources/load_report.h"
#include "toolkit/resources/ram_stream.h"

namespace kestrel {

namespace {
TStreamFactory* g_head = nullptr;
}

TStreamFactory::TStreamFactory() : _succ(g_head) { g_head = this; }

TStreamFactory::~TStreamFactory() {
    for (TStreamFactory** p = &g_head; *p; p = &(*p)->_succ) {
        if (*p == this) {
            *p = _succ;
            break;
        }
    }
}

TStreamFactory* StreamFactories() { return g_head; }

TStreamPtr TRamStreamFactory::CreateStream(const Url&, const std::string& protocol,
                                           const std::string& path, int readable, int writeable) {
    if (protocol != "incbin") return nullptr;
    if (writeable) {
        SetLoadReason("the embedded files are read-only");
        return nullptr;
    }
    const std::uint8_t* data = IncbinPtr(path);
    if (!data) {
        SetLoadReason("\"" + path + "\" is not in the embedded files (IncbinAdd registers it)");
        return nullptr;
    }
    // Never written: the stream is opened without the write flag.
    return TRamStream::Create(const_cast<std::uint8_t*>(data), IncbinLen(path), readable, 0);
}

void InitStreams() {
    static bool done = false;
    RunOnce(done, [] {});
}

void InitStreamFactories() {
    static bool done = false;
    RunOnce(done, [] {
        InitStreams();
        // Lives for the whole run, linked in the chain.
        new TRamStreamFactory();
    });
}

}  // namespace kestrel
