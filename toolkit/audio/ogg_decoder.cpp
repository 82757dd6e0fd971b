#include "toolkit/audio/ogg_decoder.h"

#include <vorbis/vorbisfile.h>

#include <type_traits>

namespace kestrel {

static_assert(std::is_same_v<ogg_int64_t, std::int64_t>);

struct OggDecoder {
    OggVorbis_File file;
};

OggDecoder* OggOpenDecoder(void* source, OggReadFn read, OggSeekFn seek, OggCloseFn close,
                           OggTellFn tell, OggStreamInfo* info) {
    info->samples = -1;
    info->channels = 0;
    info->hertz = 0;
    auto* d = new OggDecoder{};
    ov_callbacks cb;
    cb.read_func = read;
    cb.seek_func = seek;
    cb.close_func = close;
    cb.tell_func = tell;
    if (ov_open_callbacks(source, &d->file, nullptr, 0, cb) < 0) {
        delete d;  // the library has already cleared what it set up
        return nullptr;
    }
    const vorbis_info* vi = ov_info(&d->file, -1);
    const ogg_int64_t total = ov_pcm_total(&d->file, 0);
    if (!vi || total < 0) {
        ov_clear(&d->file);
        delete d;
        return nullptr;
    }
    info->samples = total;
    info->channels = vi->channels;
    info->hertz = vi->rate > 0x7fffffffL ? 0 : int(vi->rate);
    return d;
}

int OggReadPcm(OggDecoder* d, void* buf, std::int64_t bytes) {
    if (!d) return -1;
    if (!buf) {
        ov_clear(&d->file);
        delete d;
        return 0;
    }
    char* out = static_cast<char*>(buf);
    while (bytes > 0) {
        const int ask = bytes > (1 << 20) ? (1 << 20) : int(bytes);
        int section = 0;
        const long got = ov_read(&d->file, out, ask, 0, 2, 1, &section);
        if (got < 0) return int(got);
        if (got == 0) return OV_EOF;  // the stream ended before its stated length
        out += got;
        bytes -= got;
    }
    return 0;
}

}  // namespace kestrel
