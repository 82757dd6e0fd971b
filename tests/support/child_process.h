// Runs a program as a child process and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ChildResult {
    int exitCode = -1;     // exit status, or -1 if it died by a signal
    int signal = 0;        // the signal that ended it, if any
    std::string out;
    std::string err;
};

// Runs args[0] with the arguments in workingDir (empty: the current one).
ChildResult RunChild(const std::vector<std::string>& args, const std::string& workingDir = "");

// A child left running, to be signalled or waited for.
struct RunningChild {
    int pid = -1;
    std::string outPath, errPath;
};
RunningChild StartChild(const std::vector<std::string>& args, const std::string& workingDir = "");
// Whether the child's standard output holds text within timeoutMs.
bool WaitForOutput(const RunningChild& child, const std::string& text, int timeoutMs);
// Waits for the child to end (killed after timeoutMs, the result then
// telling SIGKILL; a negative timeout waits for good); elapsedMs, when
// given, receives how long that took.
ChildResult FinishChild(RunningChild& child, int timeoutMs, double* elapsedMs = nullptr);

}  // namespace testing_support
