// The process entry: runtime start-up, the program body, and the
// handler of last resort for errors nobody caught.
#pragma once

namespace kestrel {

inline constexpr int kUnhandledErrorExitCode = 255;  // -1 as a process status

// Runs the program: installs the fault handler, starts the runtime
// (StartupApplication), then runs body. An error that escapes body has its
// text written to standard error and ends the process with exit code 255.
// When body returns, the exit handlers run and the result is 0.
int RunApplication(int argc, char** argv, void (*body)());

}  // namespace kestrel
