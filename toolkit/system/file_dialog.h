// File and folder requesters through the desktop's dialog programs: zenity
// (GNOME and most desktops) or kdialog (KDE), run as child processes with
// their arguments as a vector. The system drivers call RunFileRequester;
// the rest is here so that tests can check the arguments built and the
// answers read with a stand-in program, without a desktop.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

// What a requester asks for.
struct FileRequest {
    std::string title;   // the dialog's caption
    std::string exts;    // the extension list of RequestFile
    bool save = false;   // a file to write (the dialog confirms an overwrite)
    bool folder = false; // a folder instead of a file
    std::string path;    // the file or folder it starts at; "" for the default
};

// One filter of the dialog: a name and the extensions it shows, without
// dots ("png").
struct ExtensionGroup {
    std::string name;
    std::vector<std::string> exts;
};

// Reads the extension list of RequestFile: "png,jpg" is one group named
// after its patterns ("*.png *.jpg"); "Images:png,jpg;Levels:lvl" gives
// named groups. Spaces around names, leading "*." or "." and empty entries
// are dropped; "*" alone stands for every file and gives no group.
std::vector<ExtensionGroup> ParseExtensions(const std::string& exts);

enum class DialogProgram { Zenity, Kdialog };

// The program's name on PATH ("zenity", "kdialog").
const char* DialogProgramName(DialogProgram program);

// The argument vector (the program's name first) that asks the program for
// the request. Filters end with one for all files.
std::vector<std::string> DialogArguments(DialogProgram program, const FileRequest& request);

// The programs to try, in order: kdialog first on a KDE desktop
// (XDG_CURRENT_DESKTOP), else zenity first.
std::vector<DialogProgram> DialogProgramsToTry();

// Shows the requester with the first dialog program found and waits for
// it: the chosen path, or "" with the reason kept for LastRequestError()
// ("cancelled", no display, no program found — then standard error gets
// one line naming what to install — or how the program failed).
std::string RunFileRequester(const FileRequest& request);

// Sets the reason LastRequestError() returns on this thread ("" clears it).
void SetRequestError(std::string reason);

}  // namespace kestrel
