// TCStream: a stream over a C file (std::FILE*). It owns the file it opens
// and closes it on Close() or when its last reference goes.
#pragma once

#include <cstdio>

#include "toolkit/resources/stream_base.h"

namespace kestrel {

// A stream over a C file (a file path URL opens one).
class TCStream : public TStream {
public:
    static constexpr int MODE_READ = 1;   // the file is read
    static constexpr int MODE_WRITE = 2;  // the file is written

    // Opens a file: read-only, write-only (created or truncated) or, with both
    // flags, read-write (created when missing). nullptr when the file cannot
    // be opened, is a directory, or neither flag is given.
    static std::shared_ptr<TCStream> OpenFile(const std::string& path, int readable, int writeable);
    // Takes over an open C file; `mode` is MODE_READ and/or MODE_WRITE.
    static std::shared_ptr<TCStream> CreateWithCStream(std::FILE* cstream, int mode);

    TCStream() = default;
    TCStream(const TCStream&) = delete;
    TCStream& operator=(const TCStream&) = delete;
    ~TCStream() override;

    std::int64_t Pos() override { return _pos; }
    std::int64_t Size() override { return _size; }
    std::int64_t Seek(std::int64_t pos) override;
    int Flush() override;
    int Close() override;
    std::int64_t Read(void* buf, std::int64_t count) override;
    std::int64_t Write(const void* buf, std::int64_t count) override;

private:
    std::int64_t _pos = 0;
    std::int64_t _size = 0;
    std::FILE* _cstream = nullptr;
    int _mode = 0;

    // Switching between reading and writing on one C file needs a seek.
    int _lastOp = 0;
};

}  // namespace kestrel
