// TRamStream: a stream over a block of memory it does not own. It never
// grows the memory: writes stop at its end like reads do.
#pragma once

#include "toolkit/resources/stream_base.h"

namespace kestrel {

// A stream over memory the caller owns ("incbin::" names open one).
class TRamStream : public TStream {
public:
    // A stream at position 0 over `size` bytes at `buf`. The memory must
    // outlive the stream; with `writeable` 0 it is never written.
    static std::shared_ptr<TRamStream> Create(void* buf, std::int64_t size, int readable,
                                              int writeable);

    std::int64_t Pos() override { return _pos; }
    std::int64_t Size() override { return _size; }
    // Clamps to 0..Size() and returns the new position.
    std::int64_t Seek(std::int64_t pos) override;
    std::int64_t Read(void* buf, std::int64_t count) override;
    std::int64_t Write(const void* buf, std::int64_t count) override;

private:
    std::int64_t _pos = 0;
    std::int64_t _size = 0;
    std::uint8_t* _buf = nullptr;
    int _read = 0;
    int _write = 0;
};

}  // namespace kestrel
