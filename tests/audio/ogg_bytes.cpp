#include "ogg_bytes.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace kestrel_test {

namespace {
void Append(std::vector<std::uint8_t>& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}
}  // namespace

std::vector<std::uint8_t> EncodeOgg(int channels, int hertz, int frames,
                                    const std::function<float(int, int)>& value) {
    std::vector<std::uint8_t> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, hertz, 0.4f) != 0) return out;
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 12345);
    ogg_packet h, hc, hcode;
    vorbis_analysis_headerout(&vd, &vc, &h, &hc, &hcode);
    ogg_stream_packetin(&os, &h);
    ogg_stream_packetin(&os, &hc);
    ogg_stream_packetin(&os, &hcode);
    ogg_page og;
    while (ogg_stream_flush(&os, &og)) Append(out, og);

    int done = 0;
    bool eos = false;
    while (!eos) {
        const int n = frames - done < 1024 ? frames - done : 1024;
        if (n > 0) {
            float** buf = vorbis_analysis_buffer(&vd, n);
            for (int i = 0; i < n; ++i)
                for (int c = 0; c < channels; ++c) buf[c][i] = value(done + i, c);
            vorbis_analysis_wrote(&vd, n);
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) {
                    Append(out, og);
                    if (ogg_page_eos(&og)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

long long OggPcmTotal(const std::vector<std::uint8_t>& file) {
    FILE* f = fmemopen(const_cast<std::uint8_t*>(file.data()), file.size(), "rb");
    if (!f) return -1;
    OggVorbis_File vf;
    if (ov_open(f, &vf, nullptr, 0) != 0) {
        std::fclose(f);
        return -1;
    }
    const long long total = ov_pcm_total(&vf, 0);
    ov_clear(&vf);  // closes f
    return total;
}

void SetLastGranule(std::vector<std::uint8_t>& file, std::int64_t granule) {
    std::size_t last = 0;
    for (std::size_t i = 0; i + 4 <= file.size(); ++i)
        if (std::memcmp(&file[i], "OggS", 4) == 0) last = i;
    std::uint8_t* p = &file[last];
    for (int i = 0; i < 8; ++i) p[6 + i] = std::uint8_t(std::uint64_t(granule) >> (8 * i));
    ogg_page page;
    page.header = p;
    page.header_len = 27 + p[26];
    page.body = p + page.header_len;
    page.body_len = 0;
    for (int i = 0; i < p[26]; ++i) page.body_len += p[27 + i];
    ogg_page_checksum_set(&page);
}

}  // namespace kestrel_test
