// Replays a fuzz corpus through one fuzz target without libFuzzer: every
// regular file of the folder given on the command line is read and handed to
// the target's LLVMFuzzerTestOneInput, in name order. A crash, a trap or a
// sanitizer report ends the process with a failure; on top of that the run
// fails when a folder is missing or empty, when a file cannot be read, or
// when fewer inputs were fed than the folders hold or than `least`.
//   corpus_replay_<target> <least number of inputs> <corpus dir>...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool ReadWhole(const std::filesystem::path& path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <least number of inputs> <corpus dir>...\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const long least = std::strtol(argv[1], &end, 10);
    if (end == argv[1] || *end != '\0' || least < 1) {
        std::fprintf(stderr, "bad least number of inputs: %s\n", argv[1]);
        return 2;
    }

    std::size_t listed = 0, fed = 0, bytes = 0;
    std::vector<std::uint8_t> data;
    for (int a = 2; a < argc; ++a) {
        const std::filesystem::path dir = argv[a];
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(dir, ec))
            if (entry.is_regular_file()) files.push_back(entry.path());
        if (ec || files.empty()) {
            std::fprintf(stderr, "no inputs in %s%s%s\n", dir.c_str(), ec ? ": " : "",
                         ec ? ec.message().c_str() : "");
            return 1;
        }
        std::sort(files.begin(), files.end());
        listed += files.size();
        std::size_t fedHere = 0;
        for (const auto& file : files) {
            if (!ReadWhole(file, data)) {
                std::fprintf(stderr, "cannot read %s\n", file.c_str());
                return 1;
            }
            // A block of exactly the input's size, as libFuzzer hands it
            // over, so that ASan sees any read past its end.
            std::unique_ptr<std::uint8_t[]> input(new std::uint8_t[data.size()]);
            if (!data.empty()) std::memcpy(input.get(), data.data(), data.size());
            LLVMFuzzerTestOneInput(input.get(), data.size());
            ++fedHere;
            bytes += data.size();
        }
        fed += fedHere;
        std::printf("replayed %zu of %zu inputs from %s\n", fedHere, files.size(), dir.c_str());
    }

    std::printf("replayed %zu of %zu inputs (%zu bytes) in all\n", fed, listed, bytes);
    if (fed != listed || fed < std::size_t(least)) {
        std::fprintf(stderr, "expected at least %ld inputs, every one of them fed\n", least);
        return 1;
    }
    return 0;
}
