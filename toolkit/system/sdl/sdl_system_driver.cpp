#include "toolkit/system/sdl/sdl_system_driver.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "toolkit/system/cross_thread_queue.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/sdl/message_box.h"
#include "toolkit/system/sdl/sdl_messages.h"
#include "toolkit/system/sdl/termination.h"

namespace kestrel::sdl {

namespace {

// The pump's own event, pushed by other threads after a post so that a
// blocked Wait wakes up (the private message of cross-thread calls).
Uint32 g_wakeEvent = 0;
std::atomic<bool> g_wakePending{false};
PointMapper g_mapper = nullptr;
// Events held back by the event horizon, oldest first, and the horizon.
std::vector<SDL_Event> g_held;
std::optional<std::int64_t> g_horizonUs;

// Splits batch into the events the horizon lets through (returned) and the
// rest (kept in g_held, in order).
std::vector<SDL_Event> ReleaseUpToHorizon(std::vector<SDL_Event> batch) {
    if (!g_horizonUs) return batch;
    std::vector<std::uint32_t> stamps;
    stamps.reserve(batch.size());
    for (const SDL_Event& e : batch) stamps.push_back(e.common.timestamp);
    const std::size_t n = EventsBeforeHorizon(stamps.data(), stamps.size(), g_horizonUs,
                                              SDL_GetTicks(), SteadyMicros());
    g_held.assign(batch.begin() + static_cast<std::ptrdiff_t>(n), batch.end());
    batch.resize(n);
    return batch;
}

void Wake() {
    if (g_wakeEvent == 0 || g_wakePending.exchange(true)) return;
    SDL_Event e{};
    e.type = g_wakeEvent;
    if (SDL_PushEvent(&e) != 1) g_wakePending = false;
}

void SetCapture(std::uintptr_t, bool capture) {
    SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);  // refused by some drivers
}

void ShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

// SDL reports leaving the window by itself: nothing to ask for.
void TrackLeave(std::uintptr_t) {}

// Handles the events waiting (after first, when given) and the posted calls.
void PumpEvents(const SDL_Event* first) {
    RunPostedCalls();
    // Events held back by the horizon come first: they happened earlier.
    std::vector<SDL_Event> batch = std::move(g_held);
    g_held.clear();
    if (first && !(g_wakeEvent && first->type == g_wakeEvent)) batch.push_back(*first);
    if (first && g_wakeEvent && first->type == g_wakeEvent) g_wakePending = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (g_wakeEvent && e.type == g_wakeEvent) {
            g_wakePending = false;
            continue;
        }
        batch.push_back(e);
    }
    batch = ReleaseUpToHorizon(std::move(batch));
    bool closeRequested = false;
    for (const PlatformMessage& m : ToMessages(batch))
        if (PumpMessage(m) && m.kind == MessageKind::Close) closeRequested = true;
    RunPostedCalls();
    // Termination requests end the program here, on the main thread.
    if (const int signo = TakeTerminationSignal()) HandleTermination(128 + signo, true);
    if (closeRequested) HandleTermination(0, false);
}

}  // namespace

TSDLSystemDriver::TSDLSystemDriver() {
    // SIGINT and SIGTERM are the toolkit's (see termination.h), not SDL's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        std::fprintf(stderr, "SDL events unavailable: %s\n", SDL_GetError());
    g_wakeEvent = SDL_RegisterEvents(1);
    if (g_wakeEvent == static_cast<Uint32>(-1)) g_wakeEvent = 0;
    TranslatorHost host;
    host.setCapture = SetCapture;
    host.showCursor = ShowCursor;
    host.trackLeave = TrackLeave;
    SetTranslatorHost(host);
    SetPostWaker(Wake);
    InstallTerminationSignals(Wake);
}

void TSDLSystemDriver::Poll() { PumpEvents(nullptr); }

void TSDLSystemDriver::Wait() {
    // Calls posted before the waker was armed count as waiting messages.
    if (RunPostedCalls() > 0) {
        PumpEvents(nullptr);
        return;
    }
    SDL_Event first;
    if (SDL_WaitEvent(&first))
        PumpEvents(&first);
    else
        PumpEvents(nullptr);
}

void TSDLSystemDriver::SetEventHorizon(std::optional<std::int64_t> steadyUs) {
    g_horizonUs = steadyUs;
}

std::size_t EventsBeforeHorizon(const std::uint32_t* stamps, std::size_t count,
                                std::optional<std::int64_t> horizonUs, std::uint32_t nowTicks,
                                std::int64_t nowUs) {
    if (!horizonUs) return count;
    for (std::size_t i = 0; i < count; ++i) {
        // Ticks wrap after 49 days: the difference is taken as signed.
        const auto ageMs = static_cast<std::int32_t>(nowTicks - stamps[i]);
        const std::int64_t at = stamps[i] == 0 ? nowUs : nowUs - std::int64_t{ageMs} * 1000;
        if (at > *horizonUs) return i;
    }
    return count;
}

void TSDLSystemDriver::MoveMouse(int x, int y) {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_Window* w = SDL_GL_GetCurrentWindow();
    if (!w) w = SDL_GetKeyboardFocus();
    if (!w) return;
    if (g_mapper) g_mapper(SDL_GetWindowID(w), x, y);
    SDL_WarpMouseInWindow(w, x, y);
}

void TSDLSystemDriver::SetMouseVisible(int visible) { SetCursorVisible(visible != 0); }

void TSDLSystemDriver::Notify(const std::string& text, int serious) {
    ShowMessageBox(text, serious != 0, BoxButtons::Ok);
}

int TSDLSystemDriver::Confirm(const std::string& text, int serious) {
    return ShowMessageBox(text, serious != 0, BoxButtons::OkCancel);
}

int TSDLSystemDriver::Proceed(const std::string& text, int serious) {
    return ShowMessageBox(text, serious != 0, BoxButtons::YesNoCancel);
}

// File and folder requesters are not offered on this platform: they answer
// as if cancelled.
std::string TSDLSystemDriver::RequestFile(const std::string&, const std::string&, int,
                                          const std::string&) {
    return "";
}

std::string TSDLSystemDriver::RequestDir(const std::string&, const std::string&) { return ""; }

int TSDLSystemDriver::OpenURL(const std::string& url) {
    return SDL_OpenURL(url.c_str()) == 0 ? 1 : 0;
}

std::shared_ptr<TSystemDriver> CreateSDLSystemDriver() {
    return std::make_shared<TSDLSystemDriver>();
}

void UseSDLSystemDriver() { SetSystemDriverFactory(CreateSDLSystemDriver); }

void SetPictureToWindowMapper(PointMapper mapper) { g_mapper = mapper; }

}  // namespace kestrel::sdl
