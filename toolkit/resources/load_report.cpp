#include "toolkit/resources/load_report.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "toolkit/resources/load_error.h"
#include "toolkit/resources/missing_loader.h"
#include "toolkit/resources/stream_base.h"

namespace kestrel {

namespace {

// What one loader of a chain said about the data.
struct Note {
    std::string loader;  // empty: a loader that gave no name
    std::string why;     // empty with claimed false: not its kind of data
    bool claimed = false;
};

struct State {
    int depth = 0;
    std::string function;
    std::string url;
    std::string reason;
    std::uint64_t reasons = 0;
    std::string last;
    std::vector<Note> notes;
};

thread_local State t_state;

// Read at each failure (they are rare), so a program may set it late.
bool EchoToStderr() {
    const char* v = std::getenv("KESTREL_LOAD_ERRORS");
    return v && *v && std::strcmp(v, "0") != 0;
}

// "a PNG", "an Ogg".
std::string WithArticle(const std::string& name) {
    const bool vowel = !name.empty() && std::strchr("AEIOUaeiou", name[0]) != nullptr;
    return (vowel ? "an " : "a ") + name;
}

std::string JoinOr(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

}  // namespace

std::string LastLoadError() { return t_state.last; }

LoadAttempt::LoadAttempt(const char* function, const Url& url)
    : outermost_(t_state.depth == 0), exceptions_(std::uncaught_exceptions()) {
    State& s = t_state;
    if (outermost_) {
        s.function = function;
        s.url = DescribeUrl(url);
        s.reason.clear();
        s.notes.clear();
    }
    ++s.depth;
}

LoadAttempt::~LoadAttempt() {
    --t_state.depth;
    if (!done_ && std::uncaught_exceptions() > exceptions_) Done(false);
}

void LoadAttempt::Done(bool loaded) {
    done_ = true;
    if (!outermost_) return;
    State& s = t_state;
    if (loaded) {
        s.last.clear();
        return;
    }
    s.last = s.function + "(" + s.url + "): " + (s.reason.empty() ? "failed" : s.reason);
    if (EchoToStderr()) std::fprintf(stderr, "kestrel: %s\n", s.last.c_str());
}

void SetLoadReason(std::string reason) {
    t_state.reason = std::move(reason);
    ++t_state.reasons;
}

std::uint64_t LoadReasonCount() { return t_state.reasons; }

std::string DescribeUrl(const Url& url) {
    if (url.IsString()) return "\"" + url.Text() + "\"";
    const ObjectPtr object = url.GetObject();
    if (!object) return "Null";
    if (std::dynamic_pointer_cast<TStream>(object)) return "a stream";
    return "an object";
}

std::string FileOpenReason(const std::string& path) {
    if (path.empty()) return "no file name given";
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT) return "no such file";
        if (errno == ENOTDIR) return "no such file (a part of its path is not a folder)";
        return std::strerror(errno);
    }
    if (S_ISDIR(st.st_mode)) return "a directory, not a file";
    if (access(path.c_str(), R_OK) != 0) return "permission denied";
    return "the file could not be opened";
}

std::nullptr_t RefuseData(const char* loader) {
    t_state.notes.push_back({loader, "", false});
    return nullptr;
}

std::nullptr_t FailData(const char* loader, std::string why) {
    auto& notes = t_state.notes;
    if (!notes.empty() && notes.back().claimed && notes.back().loader == loader &&
        notes.back().why.empty()) {
        notes.back().why = std::move(why);
    } else {
        notes.push_back({loader, std::move(why), true});
    }
    return nullptr;
}

void ClaimData(const char* loader) { t_state.notes.push_back({loader, "", true}); }

LoaderChainReport::LoaderChainReport(const char* kind) : kind_(kind) { t_state.notes.clear(); }

void LoaderChainReport::Begin() { ++tried_; }

void LoaderChainReport::Threw(TStream& stream, std::int64_t start) {
    std::string why = "the data ended early";
    try {
        const std::int64_t size = stream.Size();
        if (size >= start && start >= 0)
            why = "truncated after " + std::to_string(size - start) + " bytes";
    } catch (...) {
    }
    auto& notes = t_state.notes;
    if (!notes.empty() && notes.back().claimed && notes.back().why.empty())
        notes.back().why = why;
    else
        notes.push_back({"", why, true});
}

void LoaderChainReport::Fail(TStream* stream, std::int64_t start) {
    const auto& notes = t_state.notes;
    std::vector<std::string> failures, refusers;
    for (const Note& n : notes) {
        if (n.claimed) {
            const std::string who = n.loader.empty() ? "a loader" : n.loader;
            failures.push_back(who + ": " + (n.why.empty() ? "damaged data" : n.why));
        } else if (std::find(refusers.begin(), refusers.end(), n.loader) == refusers.end()) {
            refusers.push_back(n.loader);
        }
    }
    if (!failures.empty()) {
        std::string text;
        for (const std::string& f : failures) text += (text.empty() ? "" : "; ") + f;
        SetLoadReason(text);
        return;
    }
    if (tried_ == 0) {
        SetLoadReason(std::string("no ") + kind_ + " loader is registered: call kestrel::Startup() first");
        return;
    }
    // What the data is, from its first bytes.
    std::uint8_t head[12] = {};
    std::int64_t got = -1;
    if (stream) {
        try {
            stream->Seek(start);
            got = 0;
            while (got < std::int64_t(sizeof head)) {
                const std::int64_t n = stream->Read(head + got, std::int64_t(sizeof head) - got);
                if (n <= 0) break;
                got += n;
            }
            stream->Seek(start);
        } catch (...) {
            got = -1;
        }
    }
    if (got == 0) {
        SetLoadReason("empty (0 bytes)");
        return;
    }
    std::string text = refusers.empty() ? std::string("no loader for this data")
                                        : "not " + WithArticle(JoinOr(refusers)) +
                                              " file: no loader for this data";
    if (got > 0) {
        const DataFormat format = SniffDataFormat(head, std::size_t(got));
        if (const char* what = DataFormatText(format)) {
            text += std::string(" (the data is ") + what;
            const std::string hint = MissingLoaderHint(format);
            if (!hint.empty()) text += (hint.rfind("which", 0) == 0 ? ", " : "; ") + hint;
            text += ")";
        }
    }
    SetLoadReason(text);
}

}  // namespace kestrel
