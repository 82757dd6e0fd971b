// Keeps what libraries print to standard error off the terminal for a
// scope: the probing of sound and display systems that are not there makes
// their client libraries print their own failures ("couldn't open play
// stream", "XDG_RUNTIME_DIR is invalid or not set"), while the toolkit
// reports the outcome itself in one line. Standard error is pointed at
// /dev/null for the scope and restored after.
#pragma once

namespace kestrel {

class QuietStderr {
public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;  // the real standard error, while silenced
};

}  // namespace kestrel
