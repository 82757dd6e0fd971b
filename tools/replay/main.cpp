// virexo-replay SCRIPT: plays a replay script through the real game and
// writes its screenshots. Exits 0 when the script ran to its end (or the
// game ended itself from the title), 1 when no display could be opened.
#include <cstdio>
#include <fstream>

#include "toolkit/core/app_entry.h"
#include "tools/replay/replay.h"

namespace {

const char* g_scriptPath = nullptr;

void Body() {
    std::ifstream in(g_scriptPath);
    if (!in) {
        std::fprintf(stderr, "virexo-replay: cannot read %s\n", g_scriptPath);
        std::exit(2);
    }
    const auto script = virexo::replay::ParseScript(in);
    virexo::replay::Harness harness;
    std::string why;
    if (!harness.Start(script, &why)) {
        std::fprintf(stderr, "virexo-replay: cannot open the display: %s\n", why.c_str());
        std::exit(1);
    }
    harness.Run();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: virexo-replay SCRIPT\n");
        return 2;
    }
    g_scriptPath = argv[1];
    return kestrel::RunApplication(argc, argv, Body);
}
