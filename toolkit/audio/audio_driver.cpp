#include "toolkit/audio/audio_driver.h"

#include <algorithm>
#include <cctype>

namespace kestrel {

namespace {

TAudioDriver* g_head = nullptr;
TAudioDriverPtr g_current;  // null until chosen

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// A shared reference to a registered driver; drivers made outside
// std::make_shared are referred to without being owned.
TAudioDriverPtr Share(TAudioDriver* d) {
    auto weak = d->weak_from_this();
    if (auto owner = weak.lock()) return std::static_pointer_cast<TAudioDriver>(owner);
    return TAudioDriverPtr(TAudioDriverPtr(), d);
}

// The newest registered driver with this lower-cased name.
TAudioDriver* FindByName(const std::string& lowered) {
    for (TAudioDriver* d = g_head; d; d = d->Next())
        if (Lower(d->Name()) == lowered) return d;
    return nullptr;
}

TAudioDriverPtr NullDriverRef() {
    // The registered "Null" driver; a bare base driver serves before the
    // audio core has created one.
    TAudioDriver* d = FindByName("null");
    if (d) return Share(d);
    static TAudioDriverPtr fallback = std::make_shared<TAudioDriver>();
    return fallback;
}

}  // namespace

TAudioDriver::TAudioDriver() {
    _succ = g_head;
    g_head = this;
}

TAudioDriver::~TAudioDriver() {
    for (TAudioDriver** p = &g_head; *p; p = &(*p)->_succ) {
        if (*p == this) {
            *p = _succ;
            break;
        }
    }
}

TSoundPtr TAudioDriver::CreateSound(const TAudioSamplePtr&, int) {
    return std::make_shared<TSound>();
}

TChannelPtr TAudioDriver::AllocChannel() { return std::make_shared<TChannel>(); }

TSoundPtr TAudioDriver::LoadSound(const Url& url, int flags) { return TSound::Load(url, flags); }

TAudioDriver* AudioDriverRegistry() { return g_head; }

void ShutdownAudioDriver() {
    if (!g_current) return;
    TAudioDriverPtr d = std::move(g_current);
    g_current.reset();
    d->Shutdown();
}

TAudioDriverPtr AudioDriver() {
    if (!g_current) {
        if (!SetAudioDriver("DirectSound")) SetAudioDriver("Null");
    }
    return g_current;
}

int SetAudioDriver(const std::string& name) {
    const std::string lowered = Lower(name);
    ShutdownAudioDriver();
    g_current = NullDriverRef();
    TAudioDriver* d = FindByName(lowered);
    if (!d) return 0;
    if (!d->Startup()) return 0;
    g_current = Share(d);
    return 1;
}

std::vector<std::string> AudioDrivers() {
    std::vector<std::string> names;
    for (TAudioDriver* d = g_head; d && names.size() < 100; d = d->Next())
        names.push_back(d->Name());
    return names;
}

int AudioDriverExists(const std::string& name) { return FindByName(Lower(name)) ? 1 : 0; }

}  // namespace kestrel
