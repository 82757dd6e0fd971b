#include "toolkit/core/app.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace kestrel {

std::string LaunchDir;
std::string AppFile;
std::string AppDir;
std::string AppTitle = kDefaultAppTitle;
std::vector<std::string> AppArgs;

namespace {
std::thread::id g_mainThread = std::this_thread::get_id();
}

std::thread::id MainThreadId() { return g_mainThread; }

bool OnMainThread() { return std::this_thread::get_id() == g_mainThread; }

std::string ForwardSlashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string AppDirOf(const std::string& appFile) {
    const std::string path = ForwardSlashes(appFile);
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return "";
    if (slash == 0) return "/";
    if (path[slash - 1] == ':') return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

void SetApplicationGlobals(int argc, char** argv) {
    g_mainThread = std::this_thread::get_id();

    std::error_code ec;
    LaunchDir = ForwardSlashes(std::filesystem::current_path(ec).string());

    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec && argc > 0 && argv) exe = std::filesystem::absolute(argv[0], ec);
    AppFile = ForwardSlashes(exe.string());
    AppDir = AppDirOf(AppFile);
    if (argv) AppArgs.assign(argv, argv + argc);
    else AppArgs.clear();
}

void StartupApplication(int argc, char** argv) {
    SetApplicationGlobals(argc, argv);
    if (!AppDir.empty() && chdir(AppDir.c_str()) != 0) {
        // Relative paths then resolve from the launch folder; nothing else
        // depends on the change succeeding.
    }

    AppTitle = kDefaultAppTitle;
}

}  // namespace kestrel
