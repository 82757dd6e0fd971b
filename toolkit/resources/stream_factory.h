// Stream factories: the chain OpenStream offers "protocol::path" URLs to,
// newest first. Constructing a factory links it at the head of the chain;
// destroying it unlinks it. The toolkit's own factories live for the run.
#pragma once

#include <string>

#include "toolkit/resources/stream_base.h"
#include "toolkit/resources/url.h"

namespace kestrel {

// Opens the streams of "protocol::path" URLs; constructing one links it at
// the head of the chain OpenStream asks, newest first.
class TStreamFactory : public Object {
public:
    TStreamFactory();
    TStreamFactory(const TStreamFactory&) = delete;
    TStreamFactory& operator=(const TStreamFactory&) = delete;
    ~TStreamFactory() override;

    // A stream for this URL, or nullptr to let the next factory try.
    // `protocol` is already lower case; `path` is as written.
    virtual TStreamPtr CreateStream(const Url& url, const std::string& protocol,
                                    const std::string& path, int readable, int writeable) = 0;

    // The next (older) factory of the chain, or nullptr.
    TStreamFactory* Next() const { return _succ; }

private:
    TStreamFactory* _succ = nullptr;  // linked and unlinked by the constructor and destructor
};

// The newest factory, or nullptr.
TStreamFactory* StreamFactories();

// Serves "incbin::<name>" from the embedded-file registry, read-only.
class TRamStreamFactory : public TStreamFactory {
public:
    TStreamPtr CreateStream(const Url& url, const std::string& protocol, const std::string& path,
                            int readable, int writeable) override;
};

// The stream core: nothing to set up on this platform beyond a flag.
void InitStreams();
// Creates the toolkit's stream factories (once).
void InitStreamFactories();

}  // namespace kestrel
