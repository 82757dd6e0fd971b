// A program's own data: a board read from data/board.txt in the folder
// of the executable, wherever the program is started from.
#include <cstdio>
#include <string>
#include <vector>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    // With argc and argv, Startup fills AppDir (the executable's folder),
    // AppFile and AppArgs. The current directory is where the person
    // started the program from (a desktop launcher, a terminal in their
    // home folder...), so a plain "data/board.txt" would only be found
    // when started from the build folder. AppDir finds it every time.
    Startup(argc, argv);
    const std::string boardFile = AppDir + "/data/board.txt";
    TStreamPtr board = ReadStream(boardFile);
    if (!board) {
        std::fprintf(stderr, "app_data: the board is missing: %s\n", LastLoadError().c_str());
        return 1;
    }
    const std::string title = ReadLine(board);
    std::vector<std::string> rows;
    while (!StreamEof(board)) rows.push_back(ReadLine(board));
    CloseStream(board);

    AppTitle = "A program's data";
    if (!Graphics(640, 480)) return 1;
    SetClsColor(20, 20, 30);
    const int cell = 40, left = 80, top = 120;
    while (run.Running()) {
        Cls();
        for (std::size_t y = 0; y < rows.size(); ++y) {
            for (std::size_t x = 0; x < rows[y].size(); ++x) {
                switch (rows[y][x]) {
                case 'R': SetColor(220, 60, 60); break;
                case 'Y': SetColor(230, 210, 60); break;
                case 'B': SetColor(60, 110, 230); break;
                case 'G': SetColor(60, 200, 90); break;
                default: continue;
                }
                DrawRect(float(left + int(x) * cell), float(top + int(y) * cell), cell - 2, cell - 2);
            }
        }
        SetColor(255, 255, 255);
        DrawText(title, 20, 20);
        DrawText("read from " + boardFile, 20, 44);
        Flip();
    }
    return 0;
}
