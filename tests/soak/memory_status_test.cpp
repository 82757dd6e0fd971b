// Reading the peak and current resident set from /proc/self/status.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tools/soak/memory_status.h"

namespace virexo::soak {
namespace {

TEST(MemoryStatus, ReadsThePeakAndCurrentLinesAndRejectsMalformedOnes) {
    const char* status =
        "Name:\tvirexo-soak\n"
        "VmPeak:\t  900000 kB\n"
        "VmHWMX:\t 1 kB\n"  // a longer name that starts the same is not the line
        "VmHWM:\t  183012 kB\n"
        "VmRSS:\t  170100 kB\n"
        "RssAnon:\t   90000 kB\n";
    const auto m = ParseMemoryStatus(status);
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(m->hwmKb, 183012);
    EXPECT_EQ(m->rssKb, 170100);

    EXPECT_FALSE(ParseMemoryStatus("VmHWM:\t 10 kB\n").has_value());                   // no VmRSS
    EXPECT_FALSE(ParseMemoryStatus("VmHWM:\t kB\nVmRSS:\t 5 kB\n").has_value());       // no number
    EXPECT_FALSE(ParseMemoryStatus("VmHWM:\t 10 MB\nVmRSS:\t 5 kB\n").has_value());    // another unit
    EXPECT_FALSE(ParseMemoryStatus("VmHWM:\t 99999999999999999999 kB\nVmRSS:\t 5 kB").has_value());
    // The last line need not end with a newline.
    const auto last = ParseMemoryStatus("VmRSS:\t 5 kB\nVmHWM:\t 7 kB");
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->hwmKb, 7);
    EXPECT_EQ(last->rssKb, 5);
}

TEST(MemoryStatus, ThisProcessShowsMemoryItTouches) {
    const auto before = ReadMemoryStatus();
    ASSERT_TRUE(before.has_value());
    EXPECT_GT(before->rssKb, 0);
    EXPECT_GE(before->hwmKb, before->rssKb);

    constexpr std::size_t kBytes = 64u << 20;
    auto block = std::make_unique<char[]>(kBytes);
    std::memset(block.get(), 1, kBytes);  // resident only once written
    const auto during = ReadMemoryStatus();
    ASSERT_TRUE(during.has_value());
    EXPECT_GE(during->rssKb - before->rssKb, 60L * 1024) << "64 MB written";
    EXPECT_GE(during->hwmKb, during->rssKb);
    EXPECT_GE(during->heapKb - before->heapKb, 60L * 1024);
    EXPECT_EQ(block[kBytes - 1], 1);
}

}  // namespace
}  // namespace virexo::soak
