// The system driver: message pump, blocking wait, cursor and message boxes.
// The platform's driver implements it; until one is installed a headless
// driver pumps only the cross-thread calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

class TSystemDriver : public Object {
public:
    // Abstract slots raise TNullMethodException unless a driver replaces them.
    virtual void Poll();
    virtual void Wait();
    virtual void MoveMouse(int x, int y);
    virtual void SetMouseVisible(int visible);
    virtual void Notify(const std::string& text, int serious);
    virtual int Confirm(const std::string& text, int serious);
    virtual int Proceed(const std::string& text, int serious);
    virtual std::string RequestFile(const std::string& text, const std::string& exts, int save,
                                    const std::string& path);
    virtual std::string RequestDir(const std::string& text, const std::string& path);
    virtual int OpenURL(const std::string& url);

    // Holds back the events stamped after a moment (µs of
    // std::chrono::steady_clock) until a later horizon or none lets them
    // through, keeping their order. Drivers whose events carry no time
    // deliver everything; this default does so.
    virtual void SetEventHorizon(std::optional<std::int64_t> steadyUs);

    // A game update of the program's frame loop begins: from here on, at
    // most one new press of each key is delivered until the next update
    // begins (a second press waits for it). Drivers that cannot tell
    // presses apart in time ignore it; this default does so.
    virtual void BeginInputUpdate();
};

// A driver for programs without a display: Poll runs the posted cross-thread
// calls, Wait blocks until one arrives; message boxes write their text to
// standard error and answer as if cancelled.
class THeadlessSystemDriver : public TSystemDriver {
public:
    void Poll() override;
    void Wait() override;
    void MoveMouse(int x, int y) override;
    void SetMouseVisible(int visible) override;
    void Notify(const std::string& text, int serious) override;
    int Confirm(const std::string& text, int serious) override;
    int Proceed(const std::string& text, int serious) override;
    std::string RequestFile(const std::string& text, const std::string& exts, int save,
                            const std::string& path) override;
    std::string RequestDir(const std::string& text, const std::string& path) override;
    int OpenURL(const std::string& url) override;
};

using SystemDriverFactory = std::shared_ptr<TSystemDriver> (*)();

// The platform layer names the driver the system module creates when it
// initialises; without one the headless driver is used.
void SetSystemDriverFactory(SystemDriverFactory factory);
SystemDriverFactory GetSystemDriverFactory();
std::shared_ptr<TSystemDriver> SystemDriver();

// Initialises the event module, then creates the driver.
void InitSystem();

// The event horizon of the current driver (see TSystemDriver): a frame loop
// that runs several game updates per drawn frame gives each update only the
// input that happened up to its own moment. nullopt delivers everything.
void SetEventHorizon(std::optional<std::int64_t> steadyUs);

// Marks the start of a game update for the current driver (see
// TSystemDriver::BeginInputUpdate). RunFixedSteps marks each of its updates;
// a frame loop of its own calls this once before each update. A program
// that never calls it, or stops calling it for half a second (a blocking
// wait for a key), gets every event at once.
void BeginInputUpdate();

// Module functions; PollSystem and WaitSystem return at once when called
// from inside either of them.
void PollSystem();
void WaitSystem();
void MoveMouse(int x, int y);
void ShowMouse();
void HideMouse();
void Notify(const std::string& text, int serious = 0);
int Confirm(const std::string& text, int serious = 0);
int Proceed(const std::string& text, int serious = 0);
std::string RequestFile(const std::string& text, const std::string& exts = "", int save = 0,
                        const std::string& path = "");
std::string RequestDir(const std::string& text, const std::string& path = "");
int OpenURL(const std::string& url);
std::string CurrentDate();  // "%d %b %Y"
std::string CurrentTime();  // "%H:%M:%S"

}  // namespace kestrel
