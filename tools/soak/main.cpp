// virexo-soak [--frames N] [--seed S] [--rss-margin-mb M] [--require every|kinds|none]
// [--log-games] [--style S] [--heap-profile]:
// plays N frames of seeded random play through the real program and prints
// the report. Exits 0 when every check held, 1 on a failed check, 2 on a
// bad command line and 77 when no display could be opened (a skip for
// CTest).
#include <algorithm>
#include <stdexcept>
#include <cstddef>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "toolkit/core/app_entry.h"
#include "game/globals.h"
#include "toolkit/system/system_driver.h"
#include "toolkit/system/terminate_policy.h"
#include "tools/soak/soak_run.h"
#include "tools/soak/sync_run.h"

// Present in AddressSanitizer builds only: prints the allocation stacks
// that hold the most memory now.
extern "C" void __sanitizer_print_memory_profile(std::size_t top_percent, std::size_t max_contexts)
    __attribute__((weak));

namespace {

virexo::soak::SoakOptions g_options;
bool g_heapProfile = false;
int g_exitCode = 0;

// Returns (rather than exiting) so that the program's exit handlers run
// while the toolkit's state is still alive.
void Body() {
    // A close request or Ctrl+C ends the run early with its report (the run
    // reads AppTerminate), rather than ending the program at once.
    kestrel::SetTerminatePolicy(kestrel::TerminatePolicy::Program);
    auto result = virexo::soak::RunSoak(g_options, std::cout);
    if (!result.displayOpened) {
        std::fprintf(stderr, "virexo-soak: %s\n", result.failure.c_str());
        g_exitCode = 77;
        return;
    }
    if (g_heapProfile) {
        if (__sanitizer_print_memory_profile) __sanitizer_print_memory_profile(90, 12);
        else std::fprintf(stderr, "virexo-soak: --heap-profile needs an AddressSanitizer build\n");
    }
    virexo::soak::CheckSoakResult(g_options, result);
    virexo::soak::PrintSoakReport(g_options, result, std::cout);
    std::cout.flush();
    g_exitCode = result.failure.empty() ? 0 : 1;
}

// virexo-soak --sync DEPTH [--frames N] [--seed S]: the sync check over N
// updates of two-player play, without a display. Exits 0 when every re-run
// matched, 1 on a mismatch, 2 on a bad command line.
int SyncMain(const std::vector<std::string>& args) {
    virexo::soak::SyncRunOptions o;
    try {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const bool more = i + 1 < args.size();
            if (args[i] == "--sync" && more) o.depth = std::stoi(args[++i]);
            else if (args[i] == "--frames" && more) o.updates = std::stol(args[++i]);
            else if (args[i] == "--seed" && more) o.seed = static_cast<std::uint32_t>(std::stoul(args[++i]));
            else throw std::invalid_argument(args[i]);
        }
        if (o.depth < 1 || o.depth > 64 || o.updates < 1) throw std::invalid_argument("range");
    } catch (const std::exception&) {
        std::fputs("usage: virexo-soak --sync DEPTH (1..64) [--frames N] [--seed S]\n", stderr);
        return 2;
    }
    virexo::ReiniciaGlobales();
    kestrel::InitSystem();
    const auto result = virexo::soak::RunSyncCheck(o);
    virexo::soak::PrintSyncReport(o, result, std::cout);
    return result.mismatch ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Where memory grows, an AddressSanitizer build can say who holds it.
    if (const auto it = std::find(args.begin(), args.end(), "--heap-profile"); it != args.end()) {
        g_heapProfile = true;
        args.erase(it);
    }
    const char* usage =
        "usage: virexo-soak [--frames N] [--seed S] [--rss-margin-mb M] [--require every|kinds|none]\n"
        "                   [--log-games] [--style guided|random|stacking|idle] [--heap-profile]\n"
        "       virexo-soak --sync DEPTH [--frames N] [--seed S]\n"
        "defaults: 100000 frames, seed 1, 8 MB, every state\n";
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (const auto it = std::find(args.begin(), args.end(), "--sync"); it != args.end()) return SyncMain(args);
    std::string why;
    const auto options = virexo::soak::ParseSoakOptions(args, &why);
    if (!options) {
        std::fprintf(stderr, "virexo-soak: %s\n%s", why.c_str(), usage);
        return 2;
    }
    g_options = *options;
    const int code = kestrel::RunApplication(argc, argv, Body);
    return code != 0 ? code : g_exitCode;
}
