#include "toolkit/system/sdl/joystick.h"

#include <SDL.h>

#include <vector>

#include "toolkit/core/run_once.h"
#include "toolkit/system/sdl/game_controllers.h"

namespace kestrel {

namespace {

struct Joystick {
    int deviceIndex = 0;
    std::string name;
    int axes = 0;
    int buttons = 0;
};

std::vector<Joystick> g_joysticks;

}  // namespace

void InitJoystick() {
    static bool done = false;
    RunOnce(done, [] {
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;  // no joystick support
        const int n = SDL_NumJoysticks();
        for (int i = 0; i < n && i < 256; ++i) {
            SDL_Joystick* j = SDL_JoystickOpen(i);
            if (!j) continue;
            // A device that answers a position query is kept.
            if (SDL_JoystickNumAxes(j) >= 0) {
                SDL_JoystickGetAxis(j, 0);
                Joystick info;
                info.deviceIndex = i;
                const char* name = SDL_JoystickName(j);
                info.name = name ? name : "";
                info.axes = SDL_JoystickNumAxes(j);
                info.buttons = SDL_JoystickNumButtons(j);
                g_joysticks.push_back(info);
            }
            SDL_JoystickClose(j);
        }
        sdl::InitGameControllers();
    });
}

int JoyCount() { return static_cast<int>(g_joysticks.size()); }

std::string JoyName(int index) {
    if (index < 0 || index >= JoyCount()) return "";
    return g_joysticks[static_cast<std::size_t>(index)].name;
}

}  // namespace kestrel
