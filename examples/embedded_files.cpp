// The embedded-file registry: data linked into the program and opened as
// "incbin::<name>", like a file. A CMake build links files in with
// kestrel_embed_files (see CMakeLists.txt); any program can also register
// bytes it holds with IncbinAdd.
#include <string>
#include <vector>

#include "example_run.h"

#ifdef KESTREL_EXAMPLE_EMBEDDED
#include "kestrel_embed/RegisterExampleFiles.h"
#endif

using namespace kestrel;

namespace {

// A level map held in the program.
const char kLevel[] =
    "#################\n"
    "#...o.....o.....#\n"
    "#.###.###.###.#.#\n"
    "#.....o.....o...#\n"
    "#################\n";

}  // namespace

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    IncbinAdd("level.txt", kLevel, sizeof kLevel - 1);
#ifdef KESTREL_EXAMPLE_EMBEDDED
    RegisterExampleFiles();  // "pill.png", linked in by kestrel_embed_files
#endif
    if (!Graphics(640, 480)) return 1;

    // Read like any stream.
    std::vector<std::string> rows;
    TStreamPtr level = ReadStream("incbin::level.txt");
    while (level && !StreamEof(level)) rows.push_back(ReadLine(level));
    auto pill = LoadImage("incbin::pill.png");  // Null without the CMake build's file

    while (run.Running()) {
        Cls();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const float x = 48 + c * 32.0f, y = 120 + r * 32.0f;
                if (rows[r][c] == '#') {
                    SetColor(70, 90, 160);
                    DrawRect(x, y, 30, 30);
                } else if (rows[r][c] == 'o') {
                    SetColor(255, 255, 255);
                    if (pill) DrawImageRect(pill, x, y, 30, 30);
                    else DrawOval(x + 6, y + 6, 18, 18);
                }
            }
        }
        SetColor(255, 255, 255);
        DrawText(std::to_string(IncbinLen("level.txt")) + " bytes of level.txt, " +
                     std::to_string(IncbinLen("pill.png")) + " of pill.png", 8, 8);
        Flip();
    }
    return 0;
}
