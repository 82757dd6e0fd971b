// virexo-soak [--frames N] [--seed S] [--rss-margin-mb M] [--no-state-check]
// [--log-games] [--style S]:
// plays N frames of seeded random play through the real program and prints
// the report. Exits 0 when every check held, 1 on a failed check, 2 on a
// bad command line and 77 when no display could be opened (a skip for
// CTest).
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "toolkit/core/app_entry.h"
#include "tools/soak/soak_run.h"

namespace {

virexo::soak::SoakOptions g_options;
int g_exitCode = 0;

// Returns (rather than exiting) so that the program's exit handlers run
// while the toolkit's state is still alive.
void Body() {
    auto result = virexo::soak::RunSoak(g_options, std::cout);
    if (!result.displayOpened) {
        std::fprintf(stderr, "virexo-soak: %s\n", result.failure.c_str());
        g_exitCode = 77;
        return;
    }
    virexo::soak::CheckSoakResult(g_options, result);
    virexo::soak::PrintSoakReport(g_options, result, std::cout);
    std::cout.flush();
    g_exitCode = result.failure.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string why;
    const auto options = virexo::soak::ParseSoakOptions(std::vector<std::string>(argv + 1, argv + argc), &why);
    if (!options) {
        std::fprintf(stderr, "virexo-soak: %s\nusage: virexo-soak [--frames N] [--seed S] [--rss-margin-mb M] "
                             "[--no-state-check] [--log-games]\n"
                             "       [--style guided|random|stacking|idle]\n", why.c_str());
        return 2;
    }
    g_options = *options;
    const int code = kestrel::RunApplication(argc, argv, Body);
    return code != 0 ? code : g_exitCode;
}
