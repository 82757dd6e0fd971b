// Runs another program as a child process, its arguments given as a vector
// (no shell reads them), and collects what it printed and how it ended.
// The file requesters run the desktop's dialog programs this way.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

// Where the program named name is found on PATH (a name with a "/" is
// taken as a path): the path of the executable file, or "" when none.
std::string FindProgram(const std::string& name);

struct ChildOutput {
    bool started = false;  // false: the program could not be started
    int exitCode = -1;     // its exit status; -1 when a signal ended it
    std::string out;       // its standard output
    std::string err;       // its standard error
};

// Runs the executable at path with argv (argv[0] is the program's name as
// it sees it) and the process's environment, and waits for it to end.
ChildOutput RunProgram(const std::string& path, const std::vector<std::string>& argv);

}  // namespace kestrel
