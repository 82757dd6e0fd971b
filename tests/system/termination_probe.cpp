// A program over the SDL system driver (events only, no display) that the
// termination tests run as a child process and signal. It prints "ready"
// once its pump is set up; the first argument picks how it then runs.
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "toolkit/core/app_entry.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/event.h"
#include "toolkit/system/hook.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/polled_input.h"
#include "toolkit/system/sdl/sdl_system_driver.h"
#include "toolkit/system/sdl/termination.h"
#include "toolkit/system/system_driver.h"

namespace {

std::string g_mode;
constexpr std::uintptr_t kWindow = 7;  // a window id of the probe's own

void Say(const char* text) {
    std::fputs(text, stdout);
    std::fflush(stdout);
}

kestrel::ObjectPtr SeeEvents(int, const kestrel::ObjectPtr& data, const kestrel::ObjectPtr&) {
    auto e = std::dynamic_pointer_cast<kestrel::TEvent>(data);
    if (e && e->id == kestrel::EventId::AppTerminate) Say("AppTerminate event\n");
    return data;
}

void Window(const kestrel::PlatformMessage& m) { kestrel::TranslateMessage(m); }

void Body() {
    using namespace kestrel;
    sdl::UseSDLSystemDriver();
    InitSystem();
    AddHook(EmitEventHook(), SeeEvents, nullptr, 0);
    OnEnd([] { Say("exit handler\n"); });
    SetWindowProcedure(kWindow, Window);
    if (g_mode == "flag") {
        sdl::SetEndOnTerminate(false);
        EnablePolledInput();
    }
    if (g_mode == "close") {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = SDL_WINDOWEVENT_CLOSE;
        e.window.windowID = kWindow;
        SDL_PushEvent(&e);
    }
    Say("ready\n");
    for (int i = 0; i < 3000; ++i) {  // 30 s at most
        if (g_mode == "stuck") {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));  // never pumps
        } else if (g_mode == "wait") {
            WaitSystem();
        } else {
            PollSystem();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (g_mode == "flag" && AppTerminate()) {
            Say("AppTerminate flag\n");
            return;
        }
    }
    Say("not ended\n");
}

}  // namespace

int main(int argc, char** argv) {
    g_mode = argc > 1 ? argv[1] : "";
    return kestrel::RunApplication(argc, argv, Body);
}
