// What a library writes to standard error inside a QuietStderr scope is
// dropped; before and after it, standard error is the same stream as ever.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "toolkit/core/quiet_stderr.h"

namespace {

TEST(QuietStderr, DropsWhatIsWrittenInsideTheScopeOnly) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    std::fflush(stderr);
    const int real = dup(STDERR_FILENO);
    ASSERT_GE(real, 0);
    ASSERT_GE(dup2(pipeFds[1], STDERR_FILENO), 0);
    close(pipeFds[1]);

    std::fputs("before ", stderr);
    {
        kestrel::QuietStderr quiet;
        std::fputs("library noise ", stderr);  // through stdio, unflushed
        const char raw[] = "raw noise ";
        ASSERT_EQ(write(STDERR_FILENO, raw, sizeof raw - 1), ssize_t(sizeof raw - 1));
    }
    std::fputs("after", stderr);
    std::fflush(stderr);

    dup2(real, STDERR_FILENO);  // closes the pipe's last writer
    close(real);
    std::string got;
    char buf[256];
    for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;) got.append(buf, std::size_t(n));
    close(pipeFds[0]);
    EXPECT_EQ(got, "before after");
}

}  // namespace
