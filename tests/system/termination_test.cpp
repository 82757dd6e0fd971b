// Termination requests over the SDL system driver. A program that never
// asks AppTerminate() is ended through its message pump: a close request
// with 0, SIGTERM/SIGINT/SIGHUP with 128 + signal, the exit handlers run in
// both cases. A program that asks sees AppTerminate() turn true, its loop
// ends and main returns. Runs a probe program (no display needed: SDL's
// event queue alone).
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include "tests/support/child_process.h"

namespace {

using testing_support::ChildResult;
using testing_support::FinishChild;
using testing_support::RunningChild;
using testing_support::StartChild;
using testing_support::WaitForOutput;

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Starts the probe in mode, sends it signo once it is ready (0: none) and
// waits up to timeoutMs for it to end.
ChildResult RunProbe(const std::string& mode, int signo, int timeoutMs, double* ms = nullptr) {
    RunningChild child = StartChild({TERMINATION_PROBE, mode});
    if (!WaitForOutput(child, "ready", 10000)) ADD_FAILURE() << mode << ": never ready";
    if (signo) kill(child.pid, signo);
    return FinishChild(child, timeoutMs, ms);
}

TEST(Termination, SignalsEndThroughThePumpWithTheirStatus) {
    for (int signo : {SIGTERM, SIGINT, SIGHUP}) {
        for (const char* mode : {"poll", "wait"}) {
            double ms = 0;
            const ChildResult r = RunProbe(mode, signo, 5000, &ms);
            SCOPED_TRACE(std::string(mode) + " signal " + std::to_string(signo));
            EXPECT_EQ(r.signal, 0);
            EXPECT_EQ(r.exitCode, 128 + signo) << r.err;
            EXPECT_TRUE(Has(r.out, "AppTerminate event\n")) << r.out;
            EXPECT_TRUE(Has(r.out, "exit handler\n")) << r.out;
            EXPECT_FALSE(Has(r.out, "not ended")) << r.out;
            // Ended by the toolkit: main never returned.
            EXPECT_FALSE(Has(r.out, "main returned")) << r.out;
            EXPECT_LT(ms, 1000.0);  // well before the pump's grace runs out
        }
    }
}

TEST(Termination, CloseRequestEndsWithZeroAfterTheEventAndTheHandlers) {
    const ChildResult r = RunProbe("close", 0, 5000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "ready\nAppTerminate event\nexit handler\n");
}

TEST(Termination, AProgramThatEndsOnItsOwnTermsSeesTheFlag) {
    const ChildResult r = RunProbe("flag", SIGTERM, 5000);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "AppTerminate flag\n")) << r.out;
    EXPECT_TRUE(Has(r.out, "exit handler\n")) << r.out;
}

TEST(Termination, AProgramThatAsksReturnsFromMainAfterASignalOrACloseRequest) {
    for (int signo : {SIGTERM, SIGINT, SIGHUP, 0}) {
        double ms = 0;
        const ChildResult r = RunProbe(signo ? "asks" : "asks-close", signo, 5000, &ms);
        SCOPED_TRACE("signal " + std::to_string(signo));
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        // The event, the loop's end, the code after it, the exit handlers,
        // then main's own objects: in that order.
        EXPECT_EQ(r.out, "ready\nAppTerminate event\nafter loop\nexit handler\nmain returned\n");
        EXPECT_LT(ms, 1000.0);
    }
}

TEST(Termination, ASecondSignalEndsAProgramThatAsksAtOnce) {
    // The first SIGTERM ends the loop; the after-loop step hangs; Ctrl+C ends it.
    RunningChild child = StartChild({TERMINATION_PROBE, "asks-slow"});
    ASSERT_TRUE(WaitForOutput(child, "ready", 10000));
    kill(child.pid, SIGTERM);
    ASSERT_TRUE(WaitForOutput(child, "after loop", 5000));
    kill(child.pid, SIGINT);
    double ms = 0;
    const ChildResult r = FinishChild(child, 5000, &ms);
    EXPECT_EQ(r.exitCode, 128 + SIGINT) << r.err;
    EXPECT_TRUE(Has(r.err, "a second request")) << r.err;
    EXPECT_FALSE(Has(r.out, "slow step done")) << r.out;
    EXPECT_LT(ms, 1000.0);
}

TEST(Termination, APumpThatNeverRunsStillEndsWithTheSignalsStatus) {
    // Nobody pumps: the signal thread ends the process after its grace.
    double ms = 0;
    ChildResult r = RunProbe("stuck", SIGTERM, 10000, &ms);
    EXPECT_EQ(r.exitCode, 143);
    EXPECT_TRUE(Has(r.err, "did not end in time")) << r.err;
    EXPECT_GE(ms, 1500.0);
    EXPECT_FALSE(Has(r.out, "exit handler")) << r.out;

    // A second signal before the first was taken ends it at once.
    RunningChild child = StartChild({TERMINATION_PROBE, "stuck"});
    ASSERT_TRUE(WaitForOutput(child, "ready", 10000));
    kill(child.pid, SIGTERM);
    // Apart, so that the kernel delivers them in this order (pending
    // together, the lower-numbered one would come first).
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(child.pid, SIGINT);
    r = FinishChild(child, 10000, &ms);
    EXPECT_EQ(r.exitCode, 128 + SIGINT) << r.err;
    EXPECT_LT(ms, 1000.0);
}

}  // namespace
