// Application globals set by the runtime start-up.
#pragma once

#include <string>
#include <thread>
#include <vector>

namespace kestrel {

extern std::string LaunchDir;              // current directory at launch
extern std::string AppFile;                // full path of the executable
extern std::string AppDir;                 // folder of the executable
extern std::string AppTitle;               // window and message-box caption
extern std::vector<std::string> AppArgs;   // command line, program name first

inline constexpr const char* kDefaultAppTitle = "Kestrel Application";  // AppTitle until the program sets one

// The thread that ran the start-up.
std::thread::id MainThreadId();
// Whether the caller runs on the thread that ran the start-up.
bool OnMainThread();

// Folder part of an executable path: the path up to its last "/", that "/"
// excluded, except after a drive colon ("C:/prog.exe" gives "C:/") and for
// the file-system root ("/prog" gives "/"). Empty when there is no "/".
// Backslashes are taken as "/".
std::string AppDirOf(const std::string& appFile);

// Replaces every "\" by "/".
std::string ForwardSlashes(std::string path);

// Sets the globals from the process (argument vector, executable path and
// current directory), records the main thread and changes the current
// directory to AppDir.
void StartupApplication(int argc, char** argv);

/// Sets LaunchDir, AppFile, AppDir and AppArgs from the process (argv may
/// be null when argc is 0) and records the main thread, leaving the current
/// directory as it is. A program finds its data next to its executable with
/// AppDir + "/data/...". AppTitle is left as it is.
void SetApplicationGlobals(int argc, char** argv);

}  // namespace kestrel
