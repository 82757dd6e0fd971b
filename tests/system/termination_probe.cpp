// A program over the SDL system driver (events only, no display) that the
// termination tests run as a child process and signal. It prints "ready"
// once its pump is set up; the first argument picks how it then runs:
//   poll, wait, stuck  a loop that never asks AppTerminate() (pumping, waiting
//                      or never pumping): the toolkit ends it
//   close              the same, with a close request on its window
//   flag               asks, under TerminatePolicy::Program
//   asks               asks under the default policy, as a game's loop does
//                      (while (!AppTerminate())), then runs its after-loop code
//                      and returns from main
//   asks-close         the same, ended by a close request
//   asks-slow          the same, with an after-loop step that takes 30 s
//                      without pumping (a second signal must end it)
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

void PushClose() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = kWindow;
    SDL_PushEvent(&e);
}

// The loop of a program that asks, and what it does after it.
void AskingLoop() {
    using namespace kestrel;
    EnablePolledInput();
    bool first = true;
    while (!AppTerminate()) {
        if (first) {  // ready once it has asked
            Say("ready\n");
            if (g_mode == "asks-close") PushClose();
        }
        first = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Say("after loop\n");
    if (g_mode == "asks-slow") {
        std::this_thread::sleep_for(std::chrono::seconds(30));
        Say("slow step done\n");
    }
}

void Body() {
    using namespace kestrel;
    sdl::UseSDLSystemDriver();
    InitSystem();
    AddHook(EmitEventHook(), SeeEvents, nullptr, 0);
    OnEnd([] { Say("exit handler\n"); });
    SetWindowProcedure(kWindow, Window);
    if (g_mode.rfind("asks", 0) == 0) return AskingLoop();
    if (g_mode == "flag") {
        sdl::SetEndOnTerminate(false);
        EnablePolledInput();
    }
    if (g_mode == "close") PushClose();
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
    // Destroyed when main returns, not when the toolkit ends the process.
    struct MainsObject {
        ~MainsObject() { Say("main returned\n"); }
    } object;
    return kestrel::RunApplication(argc, argv, Body);
}
