#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <stdexcept>

namespace assetgen {

namespace {

void WritePages(ogg_stream_state& os, FILE* file, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&os, &page) : ogg_stream_pageout(&os, &page)) {
        std::fwrite(page.header, 1, size_t(page.header_len), file);
        std::fwrite(page.body, 1, size_t(page.body_len), file);
    }
}

}  // namespace

void WriteOgg(const std::string& path, const synth::Buffer& buffer, const std::string& title,
              float quality) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);

    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, buffer.channels, buffer.rate, quality) != 0) {
        std::fclose(file);
        throw std::runtime_error("vorbis encoder set-up failed");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", title.c_str());
    vorbis_comment_add_tag(&vc, "ENCODER", "Virexo assetgen");

    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x56495245);  // fixed serial number: reproducible files

    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&vd, &vc, &header, &header_comment, &header_code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &header_comment);
    ogg_stream_packetin(&os, &header_code);
    WritePages(os, file, true);

    const size_t frames = buffer.Frames();
    const size_t chunk = 4096;
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        size_t n = std::min(chunk, frames - done);
        if (n > 0) {
            float** in = vorbis_analysis_buffer(&vd, int(n));
            for (size_t i = 0; i < n; ++i)
                for (int c = 0; c < buffer.channels; ++c)
                    in[c][i] = buffer.data[(done + i) * size_t(buffer.channels) + size_t(c)];
            vorbis_analysis_wrote(&vd, int(n));
            done += n;
        } else {
            vorbis_analysis_wrote(&vd, 0);  // end of input
        }
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                ogg_page page;
                while (!eos && ogg_stream_pageout(&os, &page)) {
                    std::fwrite(page.header, 1, size_t(page.header_len), file);
                    std::fwrite(page.body, 1, size_t(page.body_len), file);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }

    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    if (std::fclose(file) != 0) throw std::runtime_error("cannot finish " + path);
}

}  // namespace assetgen
