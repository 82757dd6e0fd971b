// The replay harness: runs the real program body frame by frame with
// scripted key presses injected as platform key messages (the path real
// keys take), and writes chosen frames as PNG screenshots. For tests, the
// soak run and people who want to see a scripted game.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace virexo::replay {

struct KeyPress {
    int frame = 0;  // pressed and released just before this frame's update (frames count from 1)
    int key = 0;    // virtual-key code
};

struct PadPress {
    int frame = 0;   // tapped just before this frame's update, as keys are
    int button = 0;  // a kestrel::PadButton
};

struct Script {
    int answer = 0;                    // the full-screen question: 1 OK, 0 Cancel
    std::optional<int> seed;           // replaces the clock's seed when the title is left
    std::vector<KeyPress> presses;
    // Taps on one virtual gamepad, plugged in at start when there are any.
    std::vector<PadPress> padPresses;
    std::map<int, std::string> shots;  // frame -> PNG path, taken after the frame is drawn
    int frames = 0;                    // frames to run
    // Frames without a screenshot are drawn through a one-pixel viewport:
    // every drawing call still runs (and draws its random numbers), but a
    // software renderer fills almost nothing, so long scripts run fast.
    bool clipUnshot = true;
};

// Reads a script: one command a line, '#' starts a comment.
//   answer 0|1        seed N        frames N
//   key FRAME CODE    shot FRAME PATH    draw all|shots
//   pad FRAME BUTTON  (A B X Y Back Start Up Down Left Right: the d-pad's)
// Throws std::runtime_error naming the line on a malformed one.
Script ParseScript(std::istream& in);

namespace sdl {
class VirtualPad;
}

class Harness {
public:
    Harness();
    ~Harness();

    // Starts the program (registration, modules, question, display, assets,
    // backdrop) with the script's answer. Returns false, with the reason,
    // when no display opens.
    bool Start(const Script& script, std::string* why);

    // Runs the next frame: injects its key presses, updates and draws, takes
    // its screenshot, presents it without waiting for the display.
    void Step();

    // Runs the script's remaining frames; calls after (if set) after each.
    void Run(const std::function<void(int frame)>& after = nullptr);

    // Presses a key just before the next frame, as a script's key line would.
    void Press(int key) { presses_.emplace(frame_ + 1, key); }

    // Takes a screenshot of the next frame, as a script's shot line would.
    void ShootNext(const std::string& path) { script_.shots[frame_ + 1] = path; }

    int frame() const { return frame_; }

private:
    Script script_;
    int frame_ = 0;
    std::multimap<int, int> presses_;
    std::multimap<int, int> padPresses_;
    std::unique_ptr<sdl::VirtualPad> pad_;
};

}  // namespace virexo::replay
