#include "toolkit/resources/ram_stream.h"

#include <algorithm>
#include <cstring>

namespace kestrel {

std::shared_ptr<TRamStream> TRamStream::Create(void* buf, std::int64_t size, int readable,
                                               int writeable) {
    auto s = std::make_shared<TRamStream>();
    s->_pos = 0;
    s->_size = buf ? std::max<std::int64_t>(size, 0) : 0;
    s->_buf = static_cast<std::uint8_t*>(buf);
    s->_read = readable;
    s->_write = writeable;
    return s;
}

std::int64_t TRamStream::Seek(std::int64_t pos) {
    _pos = std::clamp<std::int64_t>(pos, 0, _size);
    return _pos;
}

std::int64_t TRamStream::Read(void* buf, std::int64_t count) {
    if (count <= 0 || !_read) return 0;
    count = std::min(count, _size - _pos);
    if (count <= 0) return 0;
    std::memcpy(buf, _buf + _pos, static_cast<std::size_t>(count));
    _pos += count;
    return count;
}

std::int64_t TRamStream::Write(const void* buf, std::int64_t count) {
    if (count <= 0 || !_write) return 0;
    count = std::min(count, _size - _pos);
    if (count <= 0) return 0;
    std::memcpy(_buf + _pos, buf, static_cast<std::size_t>(count));
    _pos += count;
    return count;
}

}  // namespace kestrel
