#include "tools/replay/sdl/pad_injection.h"

#include <SDL.h>

#include <algorithm>

namespace virexo::replay::sdl {

struct VirtualPad::Device {
    SDL_Joystick* joystick = nullptr;
    SDL_JoystickID instance = -1;
};

namespace {

// A virtual controller's buttons and axes are numbered as SDL's
// game-controller buttons and axes.
int SdlButton(kestrel::PadButton b) {
    using kestrel::PadButton;
    switch (b) {
    case PadButton::A: return SDL_CONTROLLER_BUTTON_A;
    case PadButton::B: return SDL_CONTROLLER_BUTTON_B;
    case PadButton::X: return SDL_CONTROLLER_BUTTON_X;
    case PadButton::Y: return SDL_CONTROLLER_BUTTON_Y;
    case PadButton::Back: return SDL_CONTROLLER_BUTTON_BACK;
    case PadButton::Guide: return SDL_CONTROLLER_BUTTON_GUIDE;
    case PadButton::Start: return SDL_CONTROLLER_BUTTON_START;
    case PadButton::LeftStickPress: return SDL_CONTROLLER_BUTTON_LEFTSTICK;
    case PadButton::RightStickPress: return SDL_CONTROLLER_BUTTON_RIGHTSTICK;
    case PadButton::LeftShoulder: return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
    case PadButton::RightShoulder: return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
    case PadButton::DpadUp: return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case PadButton::DpadDown: return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    case PadButton::DpadLeft: return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case PadButton::DpadRight: return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    default: return -1;
    }
}

int SdlAxis(kestrel::PadAxis a) {
    using kestrel::PadAxis;
    switch (a) {
    case PadAxis::LeftX: return SDL_CONTROLLER_AXIS_LEFTX;
    case PadAxis::LeftY: return SDL_CONTROLLER_AXIS_LEFTY;
    case PadAxis::RightX: return SDL_CONTROLLER_AXIS_RIGHTX;
    case PadAxis::RightY: return SDL_CONTROLLER_AXIS_RIGHTY;
    case PadAxis::LeftTrigger: return SDL_CONTROLLER_AXIS_TRIGGERLEFT;
    case PadAxis::RightTrigger: return SDL_CONTROLLER_AXIS_TRIGGERRIGHT;
    default: return -1;
    }
}

bool IsTrigger(kestrel::PadAxis a) {
    return a == kestrel::PadAxis::LeftTrigger || a == kestrel::PadAxis::RightTrigger;
}

// SDL's game-controller layer reads a virtual pad's trigger over the whole
// axis, -32768 let go to 32767 pulled, as 0..32767: the trigger position
// spread over that axis (32767 kept whole, so that a full pull reads full).
int VirtualTrigger(int position) {
    const int p = std::clamp(position, 0, 32767);
    return p == 32767 ? 32767 : 2 * p - 32768;
}

}  // namespace

std::unique_ptr<VirtualPad> VirtualPad::Attach() {
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                                SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        return nullptr;
    }
    std::unique_ptr<VirtualPad> pad(new VirtualPad);
    pad->device_ = std::make_unique<Device>();
    pad->device_->joystick = SDL_JoystickOpen(index);
    pad->device_->instance = SDL_JoystickGetDeviceInstanceID(index);
    // The triggers start let go (a virtual axis starts in the middle).
    if (pad->device_->joystick)
        for (int a : {SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
            SDL_JoystickSetVirtualAxis(pad->device_->joystick, a, -32768);
    return pad;
}

VirtualPad::~VirtualPad() {
    // After SDL has shut down its joysticks are closed and gone already.
    if (!device_ || !SDL_WasInit(SDL_INIT_JOYSTICK)) return;
    if (device_->joystick) SDL_JoystickClose(device_->joystick);
    // Device indices shift as pads come and go: find this one's now.
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == device_->instance) {
            SDL_JoystickDetachVirtual(i);
            break;
        }
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void VirtualPad::Hold(kestrel::PadButton button, bool down) {
    const int b = SdlButton(button);
    if (b < 0 || !device_->joystick) return;
    SDL_JoystickSetVirtualButton(device_->joystick, b, down ? 1 : 0);
    // A virtual pad reports only its state at each update: update now so
    // that a press and release before one frame are both seen.
    SDL_JoystickUpdate();
}

void VirtualPad::Tap(kestrel::PadButton button) {
    Hold(button, true);
    Hold(button, false);
}

void VirtualPad::Move(kestrel::PadAxis axis, int value) {
    const int a = SdlAxis(axis);
    if (a < 0 || !device_->joystick) return;
    int raw = std::clamp(value, -32768, 32767);
    if (IsTrigger(axis)) raw = VirtualTrigger(raw);
    SDL_JoystickSetVirtualAxis(device_->joystick, a, static_cast<Sint16>(raw));
    SDL_JoystickUpdate();
}

}  // namespace virexo::replay::sdl
