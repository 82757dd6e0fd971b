#include "toolkit/resources/c_stream.h"

#include <sys/stat.h>

#include <algorithm>

namespace kestrel {

std::shared_ptr<TCStream> TCStream::OpenFile(const std::string& path, int readable,
                                             int writeable) {
    const char* mode = nullptr;
    if (readable && writeable) {
        mode = "r+b";
    } else if (readable) {
        mode = "rb";
    } else if (writeable) {
        mode = "wb";
    } else {
        return nullptr;
    }
    std::FILE* f = std::fopen(path.c_str(), mode);
    if (!f && readable && writeable) f = std::fopen(path.c_str(), "w+b");
    if (!f) return nullptr;
    struct stat st {};
    if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
        std::fclose(f);
        return nullptr;
    }
    return CreateWithCStream(f, (readable ? MODE_READ : 0) | (writeable ? MODE_WRITE : 0));
}

std::shared_ptr<TCStream> TCStream::CreateWithCStream(std::FILE* cstream, int mode) {
    if (!cstream) return nullptr;
    auto s = std::make_shared<TCStream>();
    s->_cstream = cstream;
    s->_mode = mode;
    const long here = std::ftell(cstream);
    if (here >= 0 && std::fseek(cstream, 0, SEEK_END) == 0) {
        s->_size = std::ftell(cstream);
        std::fseek(cstream, here, SEEK_SET);
        s->_pos = here;
    } else {
        // Pipes and terminals: no position, no size.
        s->_pos = 0;
        s->_size = 0;
    }
    return s;
}

TCStream::~TCStream() { Close(); }

std::int64_t TCStream::Seek(std::int64_t pos) {
    if (!_cstream) return -1;
    if (std::fseek(_cstream, static_cast<long>(std::max<std::int64_t>(pos, 0)), SEEK_SET) != 0)
        return -1;
    _pos = std::ftell(_cstream);
    _lastOp = 0;
    return _pos;
}

int TCStream::Flush() {
    if (_cstream) std::fflush(_cstream);
    return 0;
}

int TCStream::Close() {
    if (!_cstream) return 0;
    std::fclose(_cstream);
    _cstream = nullptr;
    _pos = 0;
    _size = 0;
    return 0;
}

std::int64_t TCStream::Read(void* buf, std::int64_t count) {
    if (!_cstream || !(_mode & MODE_READ) || count <= 0) return 0;
    if (_lastOp == MODE_WRITE) std::fseek(_cstream, static_cast<long>(_pos), SEEK_SET);
    _lastOp = MODE_READ;
    const std::size_t n = std::fread(buf, 1, static_cast<std::size_t>(count), _cstream);
    _pos += static_cast<std::int64_t>(n);
    return static_cast<std::int64_t>(n);
}

std::int64_t TCStream::Write(const void* buf, std::int64_t count) {
    if (!_cstream || !(_mode & MODE_WRITE) || count <= 0) return 0;
    if (_lastOp == MODE_READ) std::fseek(_cstream, static_cast<long>(_pos), SEEK_SET);
    _lastOp = MODE_WRITE;
    const std::size_t n = std::fwrite(buf, 1, static_cast<std::size_t>(count), _cstream);
    _pos += static_cast<std::int64_t>(n);
    _size = std::max(_size, _pos);
    return static_cast<std::int64_t>(n);
}

}  // namespace kestrel
