#include "toolkit/system/system_driver.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "toolkit/core/error.h"
#include "toolkit/core/run_once.h"
#include "toolkit/system/cross_thread_queue.h"
#include "toolkit/system/event.h"
#include "toolkit/system/file_dialog.h"

namespace kestrel {

namespace {
constexpr const char* kHeadlessRequest =
    "no requester without a desktop: the program runs with the headless system driver";
}

void TSystemDriver::Poll() { throw TNullMethodException(); }
void TSystemDriver::Wait() { throw TNullMethodException(); }
void TSystemDriver::MoveMouse(int, int) { throw TNullMethodException(); }
void TSystemDriver::SetMouseVisible(int) { throw TNullMethodException(); }
void TSystemDriver::Notify(const std::string&, int) { throw TNullMethodException(); }
int TSystemDriver::Confirm(const std::string&, int) { throw TNullMethodException(); }
int TSystemDriver::Proceed(const std::string&, int) { throw TNullMethodException(); }
std::string TSystemDriver::RequestFile(const std::string&, const std::string&, int,
                                       const std::string&) {
    throw TNullMethodException();
}
std::string TSystemDriver::RequestDir(const std::string&, const std::string&) {
    throw TNullMethodException();
}
int TSystemDriver::OpenURL(const std::string&) { throw TNullMethodException(); }
void TSystemDriver::SetEventHorizon(std::optional<std::int64_t>) {}
void TSystemDriver::BeginInputUpdate() {}

void THeadlessSystemDriver::Poll() { RunPostedCalls(); }

void THeadlessSystemDriver::Wait() {
    while (!WaitForPostedCall(std::chrono::milliseconds(1000))) {
    }
    Poll();
}

void THeadlessSystemDriver::MoveMouse(int, int) {}
void THeadlessSystemDriver::SetMouseVisible(int) {}

void THeadlessSystemDriver::Notify(const std::string& text, int) {
    std::fprintf(stderr, "%s\n", text.c_str());
}

int THeadlessSystemDriver::Confirm(const std::string& text, int) {
    std::fprintf(stderr, "%s (no display: answered Cancel)\n", text.c_str());
    return 0;
}

int THeadlessSystemDriver::Proceed(const std::string& text, int) {
    std::fprintf(stderr, "%s (no display: answered Cancel)\n", text.c_str());
    return -1;
}

std::string THeadlessSystemDriver::RequestFile(const std::string&, const std::string&, int,
                                               const std::string&) {
    SetRequestError(kHeadlessRequest);
    return "";
}
std::string THeadlessSystemDriver::RequestDir(const std::string&, const std::string&) {
    SetRequestError(kHeadlessRequest);
    return "";
}
int THeadlessSystemDriver::OpenURL(const std::string&) { return 0; }

namespace {

SystemDriverFactory g_factory = nullptr;
std::shared_ptr<TSystemDriver> g_driver;
bool g_pumping = false;

// Marks a pump as running for the re-entry guard.
class PumpGuard {
public:
    PumpGuard() : entered_(!g_pumping) { g_pumping = true; }
    ~PumpGuard() {
        if (entered_) g_pumping = false;
    }
    bool entered() const { return entered_; }

private:
    bool entered_;
};

TSystemDriver& Driver() {
    InitSystem();
    return *g_driver;
}

std::string FormatNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buf[64];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &local);
    return std::string(buf, n);
}

}  // namespace

void SetSystemDriverFactory(SystemDriverFactory factory) { g_factory = factory; }

SystemDriverFactory GetSystemDriverFactory() { return g_factory; }

std::shared_ptr<TSystemDriver> SystemDriver() {
    InitSystem();
    return g_driver;
}

void InitSystem() {
    static bool done = false;
    RunOnce(done, [] {
        InitEvents();
        if (g_factory) g_driver = g_factory();
        if (!g_driver) g_driver = std::make_shared<THeadlessSystemDriver>();
    });
}

void PollSystem() {
    PumpGuard guard;
    if (guard.entered()) Driver().Poll();
}

void WaitSystem() {
    PumpGuard guard;
    if (guard.entered()) Driver().Wait();
}

void SetEventHorizon(std::optional<std::int64_t> steadyUs) { Driver().SetEventHorizon(steadyUs); }
void BeginInputUpdate() { Driver().BeginInputUpdate(); }

void MoveMouse(int x, int y) { Driver().MoveMouse(x, y); }
void ShowMouse() { Driver().SetMouseVisible(1); }
void HideMouse() { Driver().SetMouseVisible(0); }
void Notify(const std::string& text, int serious) { Driver().Notify(text, serious); }
int Confirm(const std::string& text, int serious) { return Driver().Confirm(text, serious); }
int Proceed(const std::string& text, int serious) { return Driver().Proceed(text, serious); }
std::string RequestFile(const std::string& text, const std::string& exts, int save,
                        const std::string& path) {
    return Driver().RequestFile(text, exts, save, path);
}
std::string RequestDir(const std::string& text, const std::string& path) {
    return Driver().RequestDir(text, path);
}
int OpenURL(const std::string& url) { return Driver().OpenURL(url); }
std::string CurrentDate() { return FormatNow("%d %b %Y"); }
std::string CurrentTime() { return FormatNow("%H:%M:%S"); }

}  // namespace kestrel
