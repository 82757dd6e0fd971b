#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace assetgen {

namespace {

void Put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, uint16_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}
void Chunk(std::string& s, const char* id, const std::string& body) {
    s.append(id, 4);
    Put32(s, uint32_t(body.size()));
    s += body;
    if (body.size() % 2) s.push_back('\0');  // chunks are word aligned
}
std::string InfoText(const std::string& text) {
    std::string z = text;
    z.push_back('\0');
    return z;
}

}  // namespace

void WriteWav(const std::string& path, const synth::Buffer& buffer, const std::string& title) {
    const uint16_t channels = uint16_t(buffer.channels);
    const uint32_t rate = uint32_t(buffer.rate);
    std::string fmt;
    Put16(fmt, 1);  // PCM
    Put16(fmt, channels);
    Put32(fmt, rate);
    Put32(fmt, rate * channels * 2);
    Put16(fmt, uint16_t(channels * 2));
    Put16(fmt, 16);

    std::string info = "INFO";
    Chunk(info, "INAM", InfoText(title));
    Chunk(info, "ISFT", InfoText("Virexo assetgen"));

    std::string pcm;
    pcm.reserve(buffer.data.size() * 2);
    for (float v : buffer.data) {
        long s = std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f);
        Put16(pcm, uint16_t(int16_t(s)));
    }

    std::string body = "WAVE";
    Chunk(body, "fmt ", fmt);
    Chunk(body, "LIST", info);
    Chunk(body, "data", pcm);
    std::string file = "RIFF";
    Put32(file, uint32_t(body.size()));
    file += body;

    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), std::streamsize(file.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
