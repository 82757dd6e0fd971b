#include "toolkit/system/sdl/sdl_messages.h"

#include <SDL.h>

#include "toolkit/system/sdl/game_controllers.h"
#include "toolkit/system/sdl/key_map.h"

namespace kestrel::sdl {

namespace {

void FillClient(PlatformMessage& m, Uint32 windowId) {
    m.window = windowId;
    if (SDL_Window* w = SDL_GetWindowFromID(windowId))
        SDL_GetWindowSize(w, &m.clientWidth, &m.clientHeight);
}

// Held buttons in the translator's bits: 1 left, 2 right, 4 middle.
int HeldButtons(Uint32 state) {
    int b = 0;
    if (state & SDL_BUTTON_LMASK) b |= 1;
    if (state & SDL_BUTTON_RMASK) b |= 2;
    if (state & SDL_BUTTON_MMASK) b |= 4;
    return b;
}

// SDL's button numbers to the toolkit's: 1 left, 2 right, 3 middle.
int ButtonNumber(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return 1;
    case SDL_BUTTON_RIGHT: return 2;
    case SDL_BUTTON_MIDDLE: return 3;
    default: return 0;
    }
}

// Decodes UTF-8 text into code points.
std::vector<int> CodePoints(const char* text) {
    std::vector<int> out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        int c = *p++;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra) c &= 0x3F >> extra;
        while (extra-- > 0 && (*p & 0xC0) == 0x80) c = (c << 6) | (*p++ & 0x3F);
        out.push_back(c);
    }
    return out;
}

bool FocusEvent(const SDL_Event& e, Uint8 which) {
    return e.type == SDL_WINDOWEVENT && e.window.event == which;
}

}  // namespace

int ModifierMask(Uint16 mods) {
    int mask = 0;
    if (mods & KMOD_SHIFT) mask |= 1;
    if (mods & KMOD_CTRL) mask |= 2;
    if (mods & KMOD_ALT) mask |= 4;
    if (mods & KMOD_GUI) mask |= 8;
    return mask;
}

std::vector<PlatformMessage> ToMessages(const std::vector<SDL_Event>& events) {
    std::vector<PlatformMessage> out;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const SDL_Event& e = events[i];
        PlatformMessage m;
        switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const WinKey k = WinKeyFor(e.key.keysym.scancode);
            m.kind = e.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
            FillClient(m, e.key.windowID);
            m.vkey = k.vkey;
            m.scancode = k.scancode;
            m.extended = k.extended;
            m.repeat = e.key.repeat != 0;
            m.keyMods = ModifierMask(e.key.keysym.mod);  // the state after this key
            out.push_back(m);
            break;
        }
        case SDL_TEXTINPUT:
            for (int c : CodePoints(e.text.text)) {
                PlatformMessage ch;
                ch.kind = MessageKind::Char;
                FillClient(ch, e.text.windowID);
                ch.character = c;
                out.push_back(ch);
            }
            break;
        case SDL_MOUSEMOTION:
            m.kind = MessageKind::MouseMove;
            FillClient(m, e.motion.windowID);
            m.x = e.motion.x;
            m.y = e.motion.y;
            m.buttons = HeldButtons(e.motion.state);
            out.push_back(m);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            m.kind = e.type == SDL_MOUSEBUTTONDOWN ? MessageKind::MouseDown : MessageKind::MouseUp;
            FillClient(m, e.button.windowID);
            m.button = ButtonNumber(e.button.button);
            m.x = e.button.x;
            m.y = e.button.y;
            if (m.button) out.push_back(m);
            break;
        case SDL_MOUSEWHEEL: {
            m.kind = MessageKind::MouseWheel;
            FillClient(m, e.wheel.windowID);
            int y = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
            m.wheel = y * 120;
            SDL_GetMouseState(&m.x, &m.y);
            out.push_back(m);
            break;
        }
        case SDL_WINDOWEVENT:
            FillClient(m, e.window.windowID);
            switch (e.window.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED: {
                m.kind = MessageKind::Activate;
                SDL_Window* w = SDL_GetWindowFromID(e.window.windowID);
                m.minimized = w && (SDL_GetWindowFlags(w) & SDL_WINDOW_MINIMIZED);
                // Focus coming from another window of the program.
                for (std::size_t j = 0; j < i; ++j)
                    if (FocusEvent(events[j], SDL_WINDOWEVENT_FOCUS_LOST) &&
                        events[j].window.windowID != e.window.windowID)
                        m.otherInProcess = true;
                out.push_back(m);
                break;
            }
            case SDL_WINDOWEVENT_FOCUS_LOST:
                m.kind = MessageKind::Deactivate;
                for (std::size_t j = i + 1; j < events.size(); ++j)
                    if (FocusEvent(events[j], SDL_WINDOWEVENT_FOCUS_GAINED) &&
                        events[j].window.windowID != e.window.windowID)
                        m.otherInProcess = true;
                out.push_back(m);
                break;
            case SDL_WINDOWEVENT_CLOSE:
                m.kind = MessageKind::Close;
                out.push_back(m);
                break;
            case SDL_WINDOWEVENT_ENTER:
                // The cursor came over the window (also when the window
                // appears under it): a move there starts the tracking, so a
                // hidden cursor hides before the mouse moves.
                m.kind = MessageKind::MouseMove;
                SDL_GetMouseState(&m.x, &m.y);
                m.buttons = HeldButtons(SDL_GetMouseState(nullptr, nullptr));
                out.push_back(m);
                break;
            case SDL_WINDOWEVENT_LEAVE:
                m.kind = MessageKind::MouseLeave;
                out.push_back(m);
                break;
            default:
                break;
            }
            break;
        default:
            PadMessagesFor(e, out);
            break;
        }
    }
    return out;
}

}  // namespace kestrel::sdl
