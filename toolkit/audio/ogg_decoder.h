// A small decoding layer over the Ogg Vorbis file-decoding library, so that
// only ogg_decoder.cpp sees the library's headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrel {

struct OggDecoder;

// The stream callbacks, in the library's own shapes: read returns whole
// items, seek returns 0 or -1, tell returns the position.
using OggReadFn = std::size_t (*)(void* buf, std::size_t size, std::size_t count, void* source);
using OggSeekFn = int (*)(void* source, std::int64_t offset, int whence);
using OggCloseFn = int (*)(void* source);
using OggTellFn = long (*)(void* source);

struct OggStreamInfo {
    std::int64_t samples = -1;  // total PCM frames of the first logical stream; -1 on failure
    int channels = 0;
    int hertz = 0;
};

// Opens a decoder reading through the callbacks. Null when the data is not
// Ogg Vorbis (the record is freed); info then has samples -1.
OggDecoder* OggOpenDecoder(void* source, OggReadFn read, OggSeekFn seek, OggCloseFn close,
                           OggTellFn tell, OggStreamInfo* info);

// Decodes exactly `bytes` bytes of 16-bit signed little-endian PCM into
// buf: 0 on success, negative on a decoding error or when the stream ends
// first. With buf null it closes the decoder and frees the handle.
int OggReadPcm(OggDecoder* decoder, void* buf, std::int64_t bytes);

}  // namespace kestrel
