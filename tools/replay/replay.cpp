#include "tools/replay/replay.h"

#include <istream>
#include <sstream>
#include <stdexcept>

#include "game/globals.h"
#include "game/program.h"
#include "toolkit/graphics/graphics.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/random.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/system_driver.h"
#include "tools/replay/sdl/key_injection.h"
#include "tools/replay/sdl/pad_injection.h"

namespace virexo::replay {

namespace {

int g_answer = 0;

// The platform's system driver, except that the full-screen question is
// answered by the script instead of a person.
class ScriptedSystemDriver : public kestrel::sdl::TSDLSystemDriver {
public:
    int Confirm(const std::string&, int) override { return g_answer; }
};

std::shared_ptr<kestrel::TSystemDriver> MakeScriptedDriver() {
    return std::make_shared<ScriptedSystemDriver>();
}

// The script's names of pad buttons.
const std::map<std::string, kestrel::PadButton>& PadButtonNames() {
    using B = kestrel::PadButton;
    static const std::map<std::string, B> names = {
        {"A", B::A},         {"B", B::B},           {"X", B::X},          {"Y", B::Y},
        {"Back", B::Back},   {"Start", B::Start},   {"Up", B::DpadUp},    {"Down", B::DpadDown},
        {"Left", B::DpadLeft}, {"Right", B::DpadRight}};
    return names;
}

}  // namespace

Harness::Harness() = default;
Harness::~Harness() = default;

Script ParseScript(std::istream& in) {
    Script script;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string command;
        if (!(words >> command)) continue;
        bool ok = true;
        if (command == "answer") {
            ok = static_cast<bool>(words >> script.answer);
        } else if (command == "seed") {
            int seed = 0;
            ok = static_cast<bool>(words >> seed);
            script.seed = seed;
        } else if (command == "frames") {
            ok = static_cast<bool>(words >> script.frames);
        } else if (command == "draw") {
            std::string which;
            ok = static_cast<bool>(words >> which) && (which == "all" || which == "shots");
            script.clipUnshot = which == "shots";
        } else if (command == "key") {
            KeyPress press;
            ok = static_cast<bool>(words >> press.frame >> press.key);
            script.presses.push_back(press);
        } else if (command == "pad") {
            PadPress press;
            std::string name;
            ok = static_cast<bool>(words >> press.frame >> name) && PadButtonNames().count(name);
            if (ok) press.button = static_cast<int>(PadButtonNames().at(name));
            script.padPresses.push_back(press);
        } else if (command == "shot") {
            int frame = 0;
            std::string path;
            ok = static_cast<bool>(words >> frame >> path);
            script.shots[frame] = path;
        } else {
            ok = false;
        }
        std::string extra;
        if (!ok || (words >> extra))
            throw std::runtime_error("replay script line " + std::to_string(number) + ": " + line);
    }
    return script;
}

bool Harness::Start(const Script& script, std::string* why) {
    script_ = script;
    frame_ = 0;
    presses_.clear();
    for (const auto& p : script_.presses) presses_.emplace(p.frame, p.key);
    padPresses_.clear();
    for (const auto& p : script_.padPresses) padPresses_.emplace(p.frame, p.button);
    // Plugged in before the game starts: the game finds it at start-up.
    if (!script_.padPresses.empty() && !pad_) pad_ = sdl::VirtualPad::Attach();
    g_answer = script_.answer;
    kestrel::SetSystemDriverFactory(MakeScriptedDriver);
    if (!arranca(why)) return false;
    // The new window's focus arrives from the display server a little later;
    // taking it flushes the keys, so it must land before the first scripted
    // press. Pumping here reads no key the game would see.
    // Wait for it (at most 5 s: some video drivers never give focus), then
    // pump a little longer for the events that follow it.
    for (int i = 0; i < 250 && !sdl::WindowHasFocus(); ++i) {
        kestrel::PollSystem();
        kestrel::Delay(20);
    }
    for (int i = 0; i < 10; ++i) {
        kestrel::PollSystem();
        kestrel::Delay(20);
    }
    return true;
}

void Harness::Step() {
    ++frame_;
    auto [first, last] = presses_.equal_range(frame_);
    for (auto it = first; it != last; ++it) sdl::InjectKeyTap(it->second);
    presses_.erase(first, last);  // done with: a long run must not keep every press
    auto [padFirst, padLast] = padPresses_.equal_range(frame_);
    for (auto it = padFirst; it != padLast; ++it)
        if (pad_) pad_->Tap(static_cast<kestrel::PadButton>(it->second));
    padPresses_.erase(padFirst, padLast);

    const auto shot = script_.shots.find(frame_);
    const bool shooting = shot != script_.shots.end();
    const int width = kestrel::GraphicsWidth(), height = kestrel::GraphicsHeight();
    if (script_.clipUnshot) {
        if (shooting) kestrel::SetViewport(0, 0, width, height);
        else kestrel::SetViewport(0, 0, 1, 1);
    }

    const bool onTitle = estado == "menu";
    // Each step is one game update: it sees at most one new press of a key
    // (two taps of one key scripted for one frame reach two updates).
    kestrel::BeginInputUpdate();
    actualizaydibuja();
    // The game seeds from the clock as the title is left; a script that
    // names a seed makes the game that follows reproducible.
    if (onTitle && estado != "menu" && script_.seed) kestrel::SeedRnd(*script_.seed);

    if (shooting) kestrel::SavePixmapPNG(kestrel::GrabPixmap(0, 0, width, height), shot->second);
    kestrel::Flip(0);
}

void Harness::Run(const std::function<void(int)>& after) {
    while (frame_ < script_.frames) {
        Step();
        if (after) after(frame_);
    }
}

}  // namespace virexo::replay
