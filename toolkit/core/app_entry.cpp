#include "toolkit/core/app_entry.h"

#include <cstdio>
#include <cstdlib>

#include "toolkit/core/app.h"
#include "toolkit/core/error.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/core/fault_report.h"

namespace kestrel {

int RunApplication(int argc, char** argv, void (*body)()) {
    InstallFaultHandler();
    StartupApplication(argc, argv);
    try {
        body();
    } catch (...) {
        const std::string text = DescribeCurrentException();
        std::fprintf(stderr, "%s\n", text.c_str());
        std::fflush(stderr);
        RunExitHandlers();
        // _Exit flushes nothing: what the handlers printed must not be lost.
        std::fflush(nullptr);
        std::_Exit(kUnhandledErrorExitCode);
    }
    RunExitHandlers();
    return 0;
}

}  // namespace kestrel
