// What the sound and sample loading functions accept as their "url": a URL
// string ("incbin::sfx/pop.wav", a file path), an open stream, or a sample
// that is already in memory.
#pragma once

#include <memory>
#include <string>
#include <variant>

namespace kestrel {

class TStream;
class TAudioSample;

class AudioSource {
public:
    using Value = std::variant<std::string, std::shared_ptr<TStream>, std::shared_ptr<TAudioSample>>;

    AudioSource(const char* url) : value_(std::string(url ? url : "")) {}
    AudioSource(std::string url) : value_(std::move(url)) {}
    AudioSource(std::shared_ptr<TStream> stream) : value_(std::move(stream)) {}
    AudioSource(std::shared_ptr<TAudioSample> sample) : value_(std::move(sample)) {}
    template <class S>
        requires std::is_base_of_v<TStream, S>
    AudioSource(std::shared_ptr<S> stream) : value_(std::shared_ptr<TStream>(std::move(stream))) {}

    // The sample this source is, or null.
    std::shared_ptr<TAudioSample> Sample() const {
        if (auto* s = std::get_if<std::shared_ptr<TAudioSample>>(&value_)) return *s;
        return nullptr;
    }
    const Value& value() const { return value_; }

private:
    Value value_;
};

}  // namespace kestrel
