// The stream reading functions driven by the input: the first byte of each
// step picks an operation, the data after the script are the stream.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/resources/stream.h"

namespace {

void RunScript(const std::uint8_t* script, std::size_t steps, const kestrel::TStreamPtr& s) {
    for (std::size_t i = 0; i < steps; ++i) {
        const std::uint8_t op = script[i];
        try {
            switch (op % 14) {
                case 0: kestrel::ReadByte(s); break;
                case 1: kestrel::ReadShort(s); break;
                case 2: kestrel::ReadInt(s); break;
                case 3: kestrel::ReadLong(s); break;
                case 4: kestrel::ReadFloat(s); break;
                case 5: kestrel::ReadDouble(s); break;
                case 6: kestrel::ReadLine(s); break;
                case 7: kestrel::ReadString(s, (op >> 4) * 37 - 50); break;
                case 8: s->SkipBytes((op >> 4) * 300); break;
                case 9: kestrel::SeekStream(s, static_cast<std::int64_t>(op >> 4) * 9 - 20); break;
                case 10: {
                    std::uint8_t buf[80];  // counts up to 65
                    s->Read(buf, (op >> 4) * 5 - 10);
                    break;
                }
                case 11: {
                    std::vector<std::uint8_t> buf(op);
                    s->ReadBytes(buf.data(), static_cast<std::int64_t>(buf.size()));
                    break;
                }
                case 12: kestrel::StreamEof(s); break;
                case 13: {
                    auto all = kestrel::LoadByteArray(s);
                    if (static_cast<std::int64_t>(all.size()) > kestrel::StreamSize(s)) __builtin_trap();
                    break;
                }
            }
        } catch (const kestrel::TStreamException&) {
            // Reading past the end: the expected refusal.
        }
        const std::int64_t pos = kestrel::StreamPos(s);
        if (pos < 0 || pos > kestrel::StreamSize(s)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t steps = data[0] % 32;
    if (size < 1 + steps) return 0;
    std::vector<std::uint8_t> bytes(data + 1 + steps, data + size);
    auto ram = kestrel::TRamStream::Create(bytes.data(), static_cast<std::int64_t>(bytes.size()), 1, 0);
    RunScript(data + 1, steps, ram);
    // The same script through the wrapper that OpenStream makes for streams.
    ram->Seek(0);
    RunScript(data + 1, steps, kestrel::ReadStream(ram));
    return 0;
}
