// The system driver over SDL2: message pump and wait, cursor, mouse
// position and message boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "toolkit/system/system_driver.h"

namespace kestrel::sdl {

// The system driver over SDL2 (Startup installs it): SDL's event queue as
// the message pump, SDL message boxes, the pointer over the window.
class TSDLSystemDriver : public TSystemDriver {
public:
    // One-time set-up: SDL's event subsystem, the translator's platform
    // hooks, and the waker that lets cross-thread posts end a Wait.
    TSDLSystemDriver();

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
    void SetEventHorizon(std::optional<std::int64_t> steadyUs) override;
    void BeginInputUpdate() override;
};

// For SetSystemDriverFactory.
std::shared_ptr<TSystemDriver> CreateSDLSystemDriver();
// Installs CreateSDLSystemDriver as the factory (before InitSystem).
void UseSDLSystemDriver();

// The graphics layer maps points of the program's picture to window
// coordinates (a scaled full-screen picture); MoveMouse uses it.
using PointMapper = void (*)(std::uintptr_t window, int& x, int& y);
// Installs the mapper (null: points are window coordinates already).
void SetPictureToWindowMapper(PointMapper mapper);

}  // namespace kestrel::sdl
