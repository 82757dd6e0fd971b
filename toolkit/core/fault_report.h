// The last-resort report for hardware faults (invalid memory access,
// arithmetic faults, illegal instructions, stack overflow).
#pragma once

#include <csignal>

namespace kestrel {

// Name of a fault in the system's exception-code vocabulary, for example
// "EXCEPTION_ACCESS_VIOLATION" for SIGSEGV. stackFault tells a SIGSEGV that
// hit the stack guard apart from any other invalid access.
const char* FaultName(int signo, int code, bool stackFault);

// Exit code of a program ended by a fault: non-zero, so that a crash is
// never reported as success.
int FaultExitCode(int signo);

// Shows the report in a message box; set by the graphics layer while a
// display is open, null otherwise. Called from the fault handler.
using FaultBoxFunction = void (*)(const char* caption, const char* text);
void SetFaultBox(FaultBoxFunction box);

// Installs the handlers (on an alternate stack, so stack overflow is
// reported too). The report goes to standard error, then to the message box
// when one is set; then the process exits with FaultExitCode.
void InstallFaultHandler();

}  // namespace kestrel
