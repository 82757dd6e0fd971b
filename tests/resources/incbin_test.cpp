#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "kestrel_embed/RegisterTestFiles.h"
#include "toolkit/resources/incbin.h"

namespace kestrel {
namespace {

TEST(Incbin, FirstRegistrationWinsAndNamesMatchExactly) {
    static const char first[] = "first";
    static const char second[] = "second!";
    EXPECT_EQ(IncbinAdd("reg/name", first, 5), 1);
    EXPECT_EQ(IncbinAdd("reg/name", second, 7), 0);
    EXPECT_EQ(IncbinPtr("reg/name"), reinterpret_cast<const std::uint8_t*>(first));
    EXPECT_EQ(IncbinLen("reg/name"), 5);
    EXPECT_EQ(IncbinPtr("REG/name"), nullptr);
    EXPECT_EQ(IncbinLen("reg/nam"), 0);
    EXPECT_EQ(IncbinPtr("reg/name "), nullptr);
    EXPECT_EQ(IncbinAdd("reg/other", second, 7), 1);
    EXPECT_EQ(IncbinLen("reg/other"), 7);
    EXPECT_EQ(IncbinAdd("reg/bad", first, -1), 0);
    EXPECT_EQ(IncbinPtr("reg/bad"), nullptr);
    EXPECT_EQ(IncbinAdd("reg/null", nullptr, 0), 0);
}

std::string ReadFile(const char* path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

TEST(Incbin, EmbeddedFilesMatchTheirSourcesAndAreAligned) {
    kestrel_test::RegisterTestFiles();
    for (const char* name : {"lines.txt", "block.bin"}) {
        const std::string file = ReadFile((std::string(RESOURCES_TEST_DATA "/") + name).c_str());
        const std::string reg = std::string("test/") + name;
        const std::uint8_t* p = IncbinPtr(reg);
        ASSERT_NE(p, nullptr) << reg;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u) << reg;
        ASSERT_EQ(IncbinLen(reg), static_cast<std::int64_t>(file.size())) << reg;
        EXPECT_EQ(std::memcmp(p, file.data(), file.size()), 0) << reg;
        EXPECT_EQ(p[file.size()], 0) << "terminating zero after " << reg;
    }
    // Registering again changes nothing.
    const std::uint8_t* before = IncbinPtr("test/lines.txt");
    kestrel_test::RegisterTestFiles();
    EXPECT_EQ(IncbinPtr("test/lines.txt"), before);
}

TEST(Incbin, EmbeddedDataLeavesTheStackNonExecutable) {
    // An object without a .note.GNU-stack section makes the linker mark the
    // whole program's stack executable.
    std::ifstream maps("/proc/self/maps");
    std::string line;
    bool found = false;
    while (std::getline(maps, line)) {
        if (line.find("[stack]") == std::string::npos) continue;
        found = true;
        const std::string perms = line.substr(line.find(' ') + 1, 4);
        EXPECT_EQ(perms[2], '-') << line;
    }
    EXPECT_TRUE(found);
}

}  // namespace
}  // namespace kestrel
