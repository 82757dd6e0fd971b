#include "toolkit/system/file_dialog.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <utility>

#include "toolkit/core/app.h"
#include "toolkit/core/warn_once.h"
#include "toolkit/system/child_program.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {

namespace {

thread_local std::string t_requestError;

constexpr const char* kNoRequester = "no file requester on this desktop: install zenity or kdialog";

std::string Trim(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = s.find(sep, start);
        parts.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// "*.png *.jpg"; with upper case too where asked (GTK's patterns match
// case, so "*.PNG" is offered beside "*.png").
std::string Patterns(const ExtensionGroup& group, bool withUpperCase) {
    std::string text;
    for (const std::string& e : group.exts) {
        if (!text.empty()) text += ' ';
        text += "*." + e;
        if (!withUpperCase) continue;
        std::string upper = e;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper != e) text += " *." + upper;
    }
    return text;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> ZenityArguments(const FileRequest& r) {
    std::vector<std::string> a = {"zenity", "--file-selection"};
    if (!r.title.empty()) a.push_back("--title=" + r.title);
    if (r.folder) a.push_back("--directory");
    if (r.save) {
        a.push_back("--save");
        a.push_back("--confirm-overwrite");
    }
    if (!r.path.empty()) {
        // A folder given without its "/" would be taken as a file name in
        // the folder above.
        std::string start = r.path;
        if (start.back() != '/' && IsDirectory(start)) start += '/';
        a.push_back("--filename=" + start);
    }
    if (!r.folder) {
        const std::vector<ExtensionGroup> groups = ParseExtensions(r.exts);
        for (const ExtensionGroup& g : groups)
            a.push_back("--file-filter=" + g.name + " | " + Patterns(g, true));
        if (!groups.empty()) a.push_back("--file-filter=All files | *");
    }
    return a;
}

// kdialog's save dialog asks before overwriting by itself.
std::vector<std::string> KdialogArguments(const FileRequest& r) {
    std::vector<std::string> a = {"kdialog"};
    if (!r.title.empty()) {
        a.push_back("--title");
        a.push_back(r.title);
    }
    a.push_back(r.folder ? "--getexistingdirectory" : r.save ? "--getsavefilename" : "--getopenfilename");
    a.push_back(r.path.empty() ? "." : r.path);
    if (!r.folder) {
        const std::vector<ExtensionGroup> groups = ParseExtensions(r.exts);
        std::string filter;
        for (const ExtensionGroup& g : groups) filter += g.name + " (" + Patterns(g, false) + ")|";
        if (!groups.empty()) a.push_back(filter + "All files (*)");
    }
    return a;
}

// The last line the program wrote to standard error, for the reason.
std::string LastLine(const std::string& text) {
    const std::string t = Trim(text);
    const std::size_t nl = t.rfind('\n');
    return nl == std::string::npos ? t : t.substr(nl + 1);
}

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

}  // namespace

std::vector<ExtensionGroup> ParseExtensions(const std::string& exts) {
    std::vector<ExtensionGroup> groups;
    for (const std::string& part : Split(exts, ';')) {
        ExtensionGroup g;
        std::string list = part;
        const std::size_t colon = part.find(':');
        if (colon != std::string::npos) {
            g.name = Trim(part.substr(0, colon));
            list = part.substr(colon + 1);
        }
        for (std::string e : Split(list, ',')) {
            e = Trim(e);
            if (e.rfind("*.", 0) == 0)
                e.erase(0, 2);
            else if (e.rfind('.', 0) == 0)
                e.erase(0, 1);
            if (!e.empty() && e != "*") g.exts.push_back(e);
        }
        if (g.exts.empty()) continue;
        if (g.name.empty()) g.name = Patterns(g, false);
        groups.push_back(std::move(g));
    }
    return groups;
}

const char* DialogProgramName(DialogProgram program) {
    return program == DialogProgram::Zenity ? "zenity" : "kdialog";
}

std::vector<std::string> DialogArguments(DialogProgram program, const FileRequest& request) {
    return program == DialogProgram::Zenity ? ZenityArguments(request) : KdialogArguments(request);
}

std::vector<DialogProgram> DialogProgramsToTry() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    if (desktop && std::string(desktop).find("KDE") != std::string::npos)
        return {DialogProgram::Kdialog, DialogProgram::Zenity};
    return {DialogProgram::Zenity, DialogProgram::Kdialog};
}

std::string RunFileRequester(const FileRequest& request) {
    SetRequestError("");
    if (!HasDisplay()) {
        SetRequestError("no desktop to show a requester on (DISPLAY and WAYLAND_DISPLAY are not set)");
        return "";
    }
    FileRequest r = request;
    if (r.title.empty()) r.title = AppTitle;
    for (const DialogProgram program : DialogProgramsToTry()) {
        const std::string exe = FindProgram(DialogProgramName(program));
        if (exe.empty()) continue;
        const ChildOutput answer = RunProgram(exe, DialogArguments(program, r));
        const std::string name = DialogProgramName(program);
        if (!answer.started) {
            SetRequestError(name + " (" + exe + ") could not be started");
            return "";
        }
        std::string chosen = answer.out;
        while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) chosen.pop_back();
        if (answer.exitCode == 0 && !chosen.empty()) return chosen;
        if (answer.exitCode == 0 || answer.exitCode == 1) {
            SetRequestError("cancelled");
            return "";
        }
        std::string reason = name + " failed (exit status " + std::to_string(answer.exitCode) + ")";
        const std::string why = LastLine(answer.err);
        if (!why.empty()) reason += ": " + why;
        SetRequestError(reason);
        return "";
    }
    SetRequestError(kNoRequester);
    WarnOnce(std::string(kNoRequester) + " (RequestFile and RequestDir return \"\")");
    return "";
}

void SetRequestError(std::string reason) { t_requestError = std::move(reason); }

std::string LastRequestError() { return t_requestError; }

}  // namespace kestrel
