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
// display is open, null otherwise. The fault handler calls it in a child
// process of its own (forked from the handler: only async-signal-safe calls
// are safe there, so the graphics layer starts a fresh process for the box)
// and waits for it at most 30 seconds (the environment variable
// KESTREL_FAULT_BOX_SECONDS sets another bound), then ends it.
using FaultBoxFunction = void (*)(const char* caption, const char* text);
void SetFaultBox(FaultBoxFunction box);

// Installs the handlers (on an alternate stack, so stack overflow is
// reported too). The report goes to standard error (the exception's name,
// then one line naming the signal and the faulting address), then to the
// message box when one is set; then the process exits with FaultExitCode.
void InstallFaultHandler();

}  // namespace kestrel
