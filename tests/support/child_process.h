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

}  // namespace testing_support
