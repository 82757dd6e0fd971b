#include "tests/support/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

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
    RunningChild child = StartChild(args, workingDir);
    return FinishChild(child, -1);
}

RunningChild StartChild(const std::vector<std::string>& args, const std::string& workingDir) {
    char outName[] = "/tmp/child_out_XXXXXX";
    char errName[] = "/tmp/child_err_XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    RunningChild child;
    child.outPath = outName;
    child.errPath = errName;
    child.pid = fork();
    if (child.pid == 0) {
        dup2(outFd, STDOUT_FILENO);
        dup2(errFd, STDERR_FILENO);
        if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(120);
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(121);
    }
    close(outFd);
    close(errFd);
    return child;
}

bool WaitForOutput(const RunningChild& child, const std::string& text, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (Slurp(child.outPath).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

ChildResult FinishChild(RunningChild& child, int timeoutMs, double* elapsedMs) {
    ChildResult result;
    const auto start = std::chrono::steady_clock::now();
    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    if (timeoutMs < 0) waitpid(child.pid, &status, 0);
    while (timeoutMs >= 0 && waitpid(child.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(child.pid, SIGKILL);
            waitpid(child.pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    using Ms = std::chrono::duration<double, std::milli>;
    if (elapsedMs) *elapsedMs = Ms(std::chrono::steady_clock::now() - start).count();
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.out = Slurp(child.outPath);
    result.err = Slurp(child.errPath);
    unlink(child.outPath.c_str());
    unlink(child.errPath.c_str());
    child.pid = -1;
    return result;
}

}  // namespace testing_support
