// Runs the probe program as a child process to check how programs end.
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "tests/support/child_process.h"
#include "toolkit/core/fault_report.h"

namespace {

using testing_support::RunChild;
namespace fs = std::filesystem;

TEST(ProgramEnd, EndRunsExitHandlersOnceNewestFirstAndExitsZero) {
    auto r = RunChild({APP_PROBE_PATH, "end"});
    EXPECT_EQ(r.exitCode, 0);
    // A handler registered by a running handler is the newest, so it runs next.
    EXPECT_EQ(r.out, "third\nsecond\nlate\nfirst\n");

    r = RunChild({APP_PROBE_PATH, "return"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "third\nsecond\nlate\nfirst\n");

    r = RunChild({APP_PROBE_PATH, "end-twice"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "once\n");
}

TEST(ProgramEnd, UnhandledErrorsPrintTheirTextAndExitWith255) {
    auto r = RunChild({APP_PROBE_PATH, "unhandled"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.err, "Stream is not seekable\n");
    EXPECT_EQ(r.out, "handler\n");

    r = RunChild({APP_PROBE_PATH, "string"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.err, "C Assert failed\n");

    r = RunChild({APP_PROBE_PATH, "null"});
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.err, "Attempt to access field or method of Null object\n");
}

TEST(ProgramEnd, HardwareFaultsAreReportedByNameAndExitNonZero) {
    auto r = RunChild({APP_PROBE_PATH, "segv"});
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, kestrel::FaultExitCode(SIGSEGV));
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("EXCEPTION_ACCESS_VIOLATION"), std::string::npos) << r.err;

    r = RunChild({APP_PROBE_PATH, "fpe"});
    EXPECT_EQ(r.exitCode, kestrel::FaultExitCode(SIGFPE));
    EXPECT_NE(r.err.find("EXCEPTION_INT_DIVIDE_BY_ZERO"), std::string::npos) << r.err;
}

TEST(ProgramEnd, StackOverflowIsReportedFromTheAlternateStack) {
    auto r = RunChild({APP_PROBE_PATH, "stack"});
    EXPECT_EQ(r.signal, 0);
    EXPECT_NE(r.exitCode, 0);
    // Under AddressSanitizer the overflow may be caught by its own check
    // before the guard page is hit; the program still must not exit with 0.
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_NE(r.err.find("EXCEPTION_STACK_OVERFLOW"), std::string::npos) << r.err;
#endif
}

TEST(FaultName, MapsSignalsToTheExceptionVocabulary) {
    using kestrel::FaultName;
    EXPECT_STREQ(FaultName(SIGSEGV, SEGV_MAPERR, false), "EXCEPTION_ACCESS_VIOLATION");
    EXPECT_STREQ(FaultName(SIGSEGV, SEGV_MAPERR, true), "EXCEPTION_STACK_OVERFLOW");
    EXPECT_STREQ(FaultName(SIGBUS, BUS_ADRALN, false), "EXCEPTION_DATATYPE_MISALIGNMENT");
    EXPECT_STREQ(FaultName(SIGBUS, BUS_ADRERR, false), "EXCEPTION_IN_PAGE_ERROR");
    EXPECT_STREQ(FaultName(SIGILL, ILL_ILLOPC, false), "EXCEPTION_ILLEGAL_INSTRUCTION");
    EXPECT_STREQ(FaultName(SIGILL, ILL_PRVOPC, false), "EXCEPTION_PRIV_INSTRUCTION");
    EXPECT_STREQ(FaultName(SIGFPE, FPE_FLTDIV, false), "EXCEPTION_FLT_DIVIDE_BY_ZERO");
    EXPECT_STREQ(FaultName(SIGFPE, FPE_FLTINV, false), "EXCEPTION_FLT_INVALID_OPERATION");
    EXPECT_STREQ(FaultName(SIGTRAP, TRAP_BRKPT, false), "EXCEPTION_BREAKPOINT");
    EXPECT_STREQ(FaultName(SIGTRAP, TRAP_TRACE, false), "EXCEPTION_SINGLE_STEP");
    EXPECT_STREQ(FaultName(SIGUSR1, 0, false), "EXCEPTION_UNKNOWN");
}

TEST(Startup, CurrentDirectoryBecomesTheProgramsFolder) {
    const fs::path dir = fs::temp_directory_path() / ("probe_dir_" + std::to_string(getpid()));
    const fs::path elsewhere = dir / "elsewhere";
    fs::create_directories(elsewhere);
    fs::copy_file(APP_PROBE_PATH, dir / "app_probe", fs::copy_options::overwrite_existing);
    std::ofstream(dir / "probe_data.txt") << "beside the program\n";

    auto r = RunChild({(dir / "app_probe").string(), "appdir", "x"}, elsewhere.string());
    fs::remove_all(dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("AppDir=" + dir.string() + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("LaunchDir=" + elsewhere.string() + "\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("AppTitle=Kestrel Application\n"), std::string::npos);
    EXPECT_NE(r.out.find("Args=3\n"), std::string::npos);
    EXPECT_NE(r.out.find("Data=beside the program\n"), std::string::npos) << r.out;
}

}  // namespace
