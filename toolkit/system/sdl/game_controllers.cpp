#include "toolkit/system/sdl/game_controllers.h"

#include <SDL.h>

#include <array>
#include <cstdio>
#include <vector>

#include "toolkit/core/run_once.h"
#include "toolkit/system/pad_input.h"

namespace kestrel::sdl {

namespace {

struct Slot {
    SDL_GameController* controller = nullptr;
    SDL_JoystickID instance = -1;
};

std::array<Slot, kMaxPads> g_slots;

int SlotOf(SDL_JoystickID instance) {
    for (int i = 0; i < kMaxPads; ++i)
        if (g_slots[static_cast<std::size_t>(i)].controller &&
            g_slots[static_cast<std::size_t>(i)].instance == instance)
            return i;
    return -1;
}

// SDL's buttons to the toolkit's; -1 for those the toolkit has no name for
// (paddles, the share button, the touchpad).
int ButtonFor(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A: return static_cast<int>(PadButton::A);
    case SDL_CONTROLLER_BUTTON_B: return static_cast<int>(PadButton::B);
    case SDL_CONTROLLER_BUTTON_X: return static_cast<int>(PadButton::X);
    case SDL_CONTROLLER_BUTTON_Y: return static_cast<int>(PadButton::Y);
    case SDL_CONTROLLER_BUTTON_BACK: return static_cast<int>(PadButton::Back);
    case SDL_CONTROLLER_BUTTON_GUIDE: return static_cast<int>(PadButton::Guide);
    case SDL_CONTROLLER_BUTTON_START: return static_cast<int>(PadButton::Start);
    case SDL_CONTROLLER_BUTTON_LEFTSTICK: return static_cast<int>(PadButton::LeftStickPress);
    case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return static_cast<int>(PadButton::RightStickPress);
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return static_cast<int>(PadButton::LeftShoulder);
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return static_cast<int>(PadButton::RightShoulder);
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return static_cast<int>(PadButton::DpadUp);
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return static_cast<int>(PadButton::DpadDown);
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return static_cast<int>(PadButton::DpadLeft);
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return static_cast<int>(PadButton::DpadRight);
    default: return -1;
    }
}

int AxisFor(Uint8 axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX: return static_cast<int>(PadAxis::LeftX);
    case SDL_CONTROLLER_AXIS_LEFTY: return static_cast<int>(PadAxis::LeftY);
    case SDL_CONTROLLER_AXIS_RIGHTX: return static_cast<int>(PadAxis::RightX);
    case SDL_CONTROLLER_AXIS_RIGHTY: return static_cast<int>(PadAxis::RightY);
    case SDL_CONTROLLER_AXIS_TRIGGERLEFT: return static_cast<int>(PadAxis::LeftTrigger);
    case SDL_CONTROLLER_AXIS_TRIGGERRIGHT: return static_cast<int>(PadAxis::RightTrigger);
    default: return -1;
    }
}

// Opens the pad at a device index into the lowest free slot; -1 when it is
// open already (SDL may report a pad twice), cannot open, or no slot is free.
int Open(int deviceIndex) {
    std::size_t free = g_slots.size();
    for (std::size_t i = 0; i < g_slots.size(); ++i)
        if (!g_slots[i].controller) {
            free = i;
            break;
        }
    const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (instance < 0 || SlotOf(instance) >= 0 || free == g_slots.size()) return -1;
    SDL_GameController* c = SDL_GameControllerOpen(deviceIndex);
    if (!c) {
        std::fprintf(stderr, "gamepad %d not opened: %s\n", deviceIndex, SDL_GetError());
        return -1;
    }
    g_slots[free] = {c, instance};
    return static_cast<int>(free);
}

// Opens every game controller in SDL's device list that is not open yet,
// one message each. SDL names an added pad by its place in that list, and
// a pad plugged in just as an earlier one is pulled out, before the events
// are read, is never announced at all: each arrival and departure looks
// the whole list over. A pad beyond the slots gets the first slot freed.
void OpenTheRest(std::vector<PlatformMessage>& out) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (!SDL_IsGameController(i)) continue;
        PlatformMessage m;
        m.kind = MessageKind::PadAdded;
        m.pad = Open(i);
        if (m.pad >= 0) out.push_back(m);
    }
}

int Close(SDL_JoystickID instance) {
    const int slot = SlotOf(instance);
    if (slot < 0) return -1;
    Slot& s = g_slots[static_cast<std::size_t>(slot)];
    SDL_GameControllerClose(s.controller);
    s = Slot{};
    return slot;
}

}  // namespace

void InitGameControllers() {
    static bool done = false;
    RunOnce(done, [] {
        EnablePolledPads();
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
            std::fprintf(stderr, "gamepads unavailable: %s\n", SDL_GetError());
    });
}

void PadMessagesFor(const SDL_Event& e, std::vector<PlatformMessage>& out) {
    PlatformMessage m;
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        OpenTheRest(out);
        return;
    case SDL_CONTROLLERDEVICEREMOVED:
        m.kind = MessageKind::PadRemoved;
        m.pad = Close(e.cdevice.which);
        if (m.pad >= 0) out.push_back(m);
        OpenTheRest(out);
        return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        m.kind = e.type == SDL_CONTROLLERBUTTONDOWN ? MessageKind::PadButtonDown
                                                    : MessageKind::PadButtonUp;
        m.pad = SlotOf(e.cbutton.which);
        m.padControl = ButtonFor(e.cbutton.button);
        break;
    case SDL_CONTROLLERAXISMOTION:
        m.kind = MessageKind::PadAxis;
        m.pad = SlotOf(e.caxis.which);
        m.padControl = AxisFor(e.caxis.axis);
        m.padValue = e.caxis.value;
        break;
    default:
        return;
    }
    if (m.pad >= 0 && m.padControl >= 0) out.push_back(m);
}

void CloseGameControllers() {
    for (Slot& s : g_slots) {
        if (s.controller) SDL_GameControllerClose(s.controller);
        s = Slot{};
    }
}

}  // namespace kestrel::sdl
