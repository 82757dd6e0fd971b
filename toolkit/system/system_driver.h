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

// The platform's services behind the system module: the message pump, the
// mouse cursor and the message boxes. The module functions below call the
// current driver.
class TSystemDriver : public Object {
public:
    // Handles every pending message without blocking. (The slots of this
    // base raise TNullMethodException unless a driver replaces them.)
    virtual void Poll();
    // Blocks until a message arrives, then handles what is pending.
    virtual void Wait();
    // Moves the mouse pointer to window pixel (x, y).
    virtual void MoveMouse(int x, int y);
    // Shows (1) or hides (0) the pointer over the program's window.
    virtual void SetMouseVisible(int visible);
    // A message box with an OK button; serious shows it as an error.
    virtual void Notify(const std::string& text, int serious);
    // An OK / Cancel box: 1 for OK, 0 for Cancel.
    virtual int Confirm(const std::string& text, int serious);
    // A Yes / No / Cancel box: 1 for Yes, 0 for No, -1 for Cancel.
    virtual int Proceed(const std::string& text, int serious);
    // A file requester: the chosen path, or "" when cancelled or unavailable
    // (the reason for LastRequestError set with it).
    virtual std::string RequestFile(const std::string& text, const std::string& exts, int save,
                                    const std::string& path);
    // A folder requester: the chosen path, or "" when cancelled or unavailable
    // (the reason for LastRequestError set with it).
    virtual std::string RequestDir(const std::string& text, const std::string& path);
    // Opens url in the desktop's browser: 1 when it was handed over, else 0.
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
// standard error and answer as if cancelled; requesters return "".
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

// A function that makes the platform's system driver.
using SystemDriverFactory = std::shared_ptr<TSystemDriver> (*)();

// The platform layer names the driver the system module creates when it
// initialises; without one the headless driver is used.
void SetSystemDriverFactory(SystemDriverFactory factory);
// The factory SetSystemDriverFactory named; null when none.
SystemDriverFactory GetSystemDriverFactory();
// The current system driver; null before InitSystem.
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

// Handles every pending message and event without blocking (KeyHit and the
// other input functions call it). Returns at once when called from inside
// PollSystem or WaitSystem.
void PollSystem();
// Blocks until a message or event arrives, then handles what is pending.
// Returns at once when called from inside PollSystem or WaitSystem.
void WaitSystem();
// Moves the mouse pointer to window pixel (x, y).
void MoveMouse(int x, int y);
// Shows the mouse pointer over the program's window.
void ShowMouse();
// Hides the mouse pointer while it is over the program's window.
void HideMouse();
// A message box with AppTitle as caption and an OK button; serious shows it
// as an error. Without a display the text goes to standard error.
void Notify(const std::string& text, int serious = 0);
// An OK / Cancel box (Return: OK, Escape: Cancel): 1 for OK, 0 for Cancel
// (also where no box can be shown).
int Confirm(const std::string& text, int serious = 0);
// A Yes / No / Cancel box: 1 for Yes, 0 for No, -1 for Cancel (also where no
// box can be shown).
int Proceed(const std::string& text, int serious = 0);
/// A file requester: the chosen file, or "" when cancelled or when the
/// desktop offers no requester (LastRequestError() then says which). It is
/// titled text (AppTitle when empty), opens a file or, with save 1, saves
/// one (the requester asks before a file is overwritten), and starts at
/// path (a folder, or a file to preselect; "" for the current folder).
/// exts lists the extensions offered, without dots: "png,jpg" is one
/// filter, "Images:png,jpg;Levels:lvl" gives named filters; a filter of all
/// files is always added, and "" offers every file.
///
/// On Linux the requester is zenity's or kdialog's (the first one
/// installed; kdialog first on KDE), run as a child process while the
/// program waits. With neither installed, "" comes back at once and
/// standard error gets one line naming what to install. Without a desktop
/// driver (THeadlessSystemDriver) it returns "" too.
std::string RequestFile(const std::string& text, const std::string& exts = "", int save = 0,
                        const std::string& path = "");
/// A folder requester: the chosen folder, or "" when cancelled or when the
/// desktop offers no requester (see RequestFile and LastRequestError). It
/// is titled text and starts at path.
std::string RequestDir(const std::string& text, const std::string& path = "");
/// Why the last RequestFile or RequestDir of this thread returned "":
/// "cancelled" when the person cancelled, else a readable reason such as
/// "no file requester on this desktop: install zenity or kdialog" or
/// "no desktop to show a requester on (DISPLAY and WAYLAND_DISPLAY are not
/// set)". Empty after a request that returned a path.
std::string LastRequestError();
// Opens url in the desktop's browser: 1 when it was handed over, else 0.
int OpenURL(const std::string& url);
std::string CurrentDate();  // today's local date, "09 Dec 2026" ("%d %b %Y")
std::string CurrentTime();  // the local time of day, "14:05:09" ("%H:%M:%S")

}  // namespace kestrel
