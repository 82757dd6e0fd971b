#include "tests/support/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace testing_support {

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

ChildResult RunChild(const std::vector<std::string>& args, const std::string& workingDir) {
    char outName[] = "/tmp/child_out_XXXXXX";
    char errName[] = "/tmp/child_err_XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);

    ChildResult result;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(120);
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(121);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    close(outFd);
    close(errFd);
    result.out = Slurp(outName);
    result.err = Slurp(errName);
    unlink(outName);
    unlink(errName);
    return result;
}

}  // namespace testing_support
