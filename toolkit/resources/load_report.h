// How the loading functions build the text LastLoadError() returns.
//
// A public loading function opens a LoadAttempt naming itself and its URL;
// attempts opened inside it (LoadImage -> LoadPixmap -> ReadStream) only
// count, so the text names the function the program called. Whatever fails
// underneath sets the reason (SetLoadReason: the last one set wins, since
// it is the most recent failure); the outermost attempt, when its result is
// Null, writes "Function(url): reason" as the last load error, and clears
// it when the result is not Null. An error that leaves the function (a
// stream URL given to LoadImageFont that cannot be opened raises
// TStreamReadException) counts as a failure too.
//
// Loader chains describe each loader's refusal through LoaderChainReport;
// a loader says why it refused the data with RefuseData (not its kind of
// data) or FailData (its kind, but damaged).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/resources/url.h"

namespace kestrel {

class TStream;

class LoadAttempt {
public:
    LoadAttempt(const char* function, const Url& url);
    LoadAttempt(const LoadAttempt&) = delete;
    LoadAttempt& operator=(const LoadAttempt&) = delete;
    ~LoadAttempt();

    // Records the result (Null: the failure, with the reason set so far)
    // and passes it on.
    template <class P>
    P Finish(P result) {
        Done(result != nullptr);
        return result;
    }
    void Done(bool loaded);

private:
    bool outermost_;
    bool done_ = false;
    int exceptions_;  // uncaught exceptions when the attempt began
};

// Sets the reason of the current attempt's failure.
void SetLoadReason(std::string reason);
// Counts SetLoadReason calls, so a caller can tell whether anything below
// it gave a reason.
std::uint64_t LoadReasonCount();

// A URL as the texts show it: a string in double quotes, else what the
// object is ("a stream", "a pixmap"...).
std::string DescribeUrl(const Url& url);

// Why a file could not be opened for reading, from the file system
// ("no such file", "a directory, not a file", "permission denied"...).
std::string FileOpenReason(const std::string& path);

// Called by a loader of a chain: the data is not its kind ("not a PNG
// file"); returns nullptr for `return RefuseData("PNG");`.
std::nullptr_t RefuseData(const char* loader);
// Called by a loader of a chain: the data is its kind but cannot be read
// ("PNG", "truncated after 400 bytes"); returns nullptr.
std::nullptr_t FailData(const char* loader, std::string why);
// A loader that recognised its data says so first, so that a stream error
// raised later (the data ends early) is told as its failure.
void ClaimData(const char* loader);

// Follows the loaders of one chain run: Begin before each loader, Threw when
// it raised a stream error; Reason after every loader refused.
class LoaderChainReport {
public:
    // kind: "pixmap", "audio sample", "font" (for "no ... loader").
    explicit LoaderChainReport(const char* kind);
    void Begin();
    void Threw(TStream& stream, std::int64_t start);
    // Sets the load reason: the failures of loaders that knew the data, or
    // "not a PNG or WAV file: no loader for this data" with what the data
    // looks like. The stream is read from start and left there.
    void Fail(TStream* stream, std::int64_t start);

private:
    const char* kind_;
    int tried_ = 0;
};

}  // namespace kestrel
