#include "toolkit/system/sdl/sdl_system_driver.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <vector>

#include "toolkit/system/cross_thread_queue.h"
#include "toolkit/system/file_dialog.h"
#include "toolkit/system/input_times.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/message_translator.h"
#include "toolkit/system/sdl/message_box.h"
#include "toolkit/system/sdl/sdl_messages.h"
#include "toolkit/system/sdl/termination.h"
#include "toolkit/system/sdl/window_system_time.h"

namespace kestrel::sdl {

namespace {

// The pump's own event, pushed by other threads after a post so that a
// blocked Wait wakes up (the private message of cross-thread calls).
Uint32 g_wakeEvent = 0;
std::atomic<bool> g_wakePending{false};
PointMapper g_mapper = nullptr;
// Events not delivered yet (held back by the event horizon or by the
// one-press-per-update rule), oldest first, each with what the gate reads.
struct Queued {
    SDL_Event event;
    QueuedInput input;
};
std::vector<Queued> g_queue;
// The time of the last event that entered the queue: the next event cannot
// have happened before it.
std::optional<std::int64_t> g_lastEventUs;
std::optional<std::int64_t> g_horizonUs;
InputGate g_gate;

// What the gate needs to know of an event: whether it is a press, repeat or
// release, and of which key or button (ids unique across keyboards, mice
// and pads).
QueuedInput InputOf(const SDL_Event& e) {
    using K = QueuedInput::Kind;
    QueuedInput in;
    switch (e.type) {
    case SDL_KEYDOWN:
        in.kind = e.key.repeat ? K::Repeat : K::Press;
        in.key = 1 + static_cast<int>(e.key.keysym.scancode);
        break;
    case SDL_KEYUP:
        in.kind = K::Release;
        in.key = 1 + static_cast<int>(e.key.keysym.scancode);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        in.kind = e.type == SDL_MOUSEBUTTONDOWN ? K::Press : K::Release;
        in.key = 0x10000 + e.button.button;
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        in.kind = e.type == SDL_CONTROLLERBUTTONDOWN ? K::Press : K::Release;
        in.key = 0x20000 + (static_cast<int>(e.cbutton.which & 0xff) << 8) + e.cbutton.button;
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        in.kind = e.type == SDL_JOYBUTTONDOWN ? K::Press : K::Release;
        in.key = 0x30000 + (static_cast<int>(e.jbutton.which & 0xff) << 8) + e.jbutton.button;
        break;
    default:
        break;
    }
    return in;
}

// Whether the event is one the window system or the pump stamps with the
// moment it happened (key, button and wheel events): others take their
// place in time from the events around them.
bool IsStampedInput(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        return true;
    default:
        return false;
    }
}

// The events read by one pump, with their times: the window system's
// stamp where SDL handed it over and the two clocks agree, SDL's own stamp
// (the moment it pumped the event) otherwise.
class FreshEvents {
public:
    explicit FreshEvents(std::int64_t nowUs) : nowUs_(nowUs), nowTicks_(SDL_GetTicks()) {}

    void Take(const SDL_Event& e) {
        // A raw window-system event: remembered for the event SDL makes of it.
        if (const auto raw = ReadWindowSystemStamp(e)) {
            pending_ = raw;
            return;
        }
        QueuedInput in = InputOf(e);
        const bool stamped = IsStampedInput(e);
        std::optional<std::int64_t> at;
        if (stamped) {
            if (pending_ && StampBelongsTo(*pending_, e)) at = ServerTimeToSteady(pending_->ms, nowUs_);
            pending_.reset();
        }
        in.atUs = at ? *at : StampToSteady(e.common.timestamp, nowTicks_, nowUs_);
        events_.push_back(e);
        inputs_.push_back(in);
        stamped_.push_back(stamped);
    }

    // Orders the times and appends the events to the queue.
    void AppendTo(std::vector<Queued>& queue) {
        OrderEventTimes(inputs_, stamped_, g_lastEventUs);
        for (std::size_t i = 0; i < events_.size(); ++i) queue.push_back({events_[i], inputs_[i]});
        if (!inputs_.empty()) g_lastEventUs = inputs_.back().atUs;
    }

private:
    std::int64_t nowUs_;
    Uint32 nowTicks_;
    std::optional<WindowSystemStamp> pending_;
    std::vector<SDL_Event> events_;
    std::vector<QueuedInput> inputs_;
    std::vector<bool> stamped_;
};

// Takes the events the gate lets through out of the queue, in order.
std::vector<SDL_Event> ReleaseQueued(std::int64_t nowUs) {
    std::vector<QueuedInput> inputs;
    inputs.reserve(g_queue.size());
    for (const Queued& q : g_queue) inputs.push_back(q.input);
    const std::vector<bool> delivered = g_gate.Release(inputs, g_horizonUs, nowUs);
    std::vector<SDL_Event> batch;
    std::vector<Queued> kept;
    for (std::size_t i = 0; i < g_queue.size(); ++i) {
        if (delivered[i]) batch.push_back(g_queue[i].event);
        else kept.push_back(g_queue[i]);
    }
    g_queue = std::move(kept);
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
    const std::int64_t nowUs = SteadyMicros();
    FreshEvents fresh(nowUs);
    const auto take = [&](const SDL_Event& e) {
        if (g_wakeEvent && e.type == g_wakeEvent) {
            g_wakePending = false;
            return;
        }
        fresh.Take(e);
    };
    if (first) take(*first);
    // Each event is taken before the next poll: a raw window-system event
    // lives only until then.
    SDL_Event e;
    while (SDL_PollEvent(&e)) take(e);
    // Events held back before come first: they happened earlier.
    fresh.AppendTo(g_queue);
    const std::vector<SDL_Event> batch = ReleaseQueued(nowUs);
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
    // Key and button events get the window system's own times.
    EnableWindowSystemEvents();
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

void TSDLSystemDriver::BeginInputUpdate() { g_gate.BeginUpdate(SteadyMicros()); }

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

// SDL has no file requester: the desktop's dialog program shows one.
std::string TSDLSystemDriver::RequestFile(const std::string& text, const std::string& exts,
                                          int save, const std::string& path) {
    FileRequest request;
    request.title = text;
    request.exts = exts;
    request.save = save != 0;
    request.path = path;
    return RunFileRequester(request);
}

std::string TSDLSystemDriver::RequestDir(const std::string& text, const std::string& path) {
    FileRequest request;
    request.title = text;
    request.folder = true;
    request.path = path;
    return RunFileRequester(request);
}

int TSDLSystemDriver::OpenURL(const std::string& url) {
    return SDL_OpenURL(url.c_str()) == 0 ? 1 : 0;
}

std::shared_ptr<TSystemDriver> CreateSDLSystemDriver() {
    return std::make_shared<TSDLSystemDriver>();
}

void UseSDLSystemDriver() { SetSystemDriverFactory(CreateSDLSystemDriver); }

void SetPictureToWindowMapper(PointMapper mapper) { g_mapper = mapper; }

}  // namespace kestrel::sdl
