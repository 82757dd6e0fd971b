#include "toolkit/audio/direct_sound_driver.h"

#include <string>

#include "toolkit/core/error.h"
#include "toolkit/core/run_once.h"

namespace kestrel {

namespace {
TDirectSoundAudioDriver* g_current = nullptr;
int g_generation = 0;
bool g_initDone = false;
std::shared_ptr<TDirectSoundAudioDriver> g_driver;
}  // namespace

TDirectSoundAudioDriver* CurrentDirectSoundDriver() { return g_current; }
int DirectSoundGeneration() { return g_generation; }

void CheckDirectSound(int code, const char* step) {
    if (code == 0) return;
    RuntimeError(std::string(step) + " failed (" + std::to_string(code & 0xffff) + ")");
}

std::shared_ptr<TDirectSoundAudioDriver> TDirectSoundAudioDriver::Create(const std::string& name,
                                                                         int mode) {
    auto d = std::make_shared<TDirectSoundAudioDriver>();
    d->_name = name;
    d->_mode = mode;
    return d;
}

TDirectSoundAudioDriver::~TDirectSoundAudioDriver() {
    if (g_current == this) g_current = nullptr;
}

int TDirectSoundAudioDriver::Startup() {
    _dsound = OpenSoundBufferDevice();
    if (!_dsound) return 0;
    g_current = this;
    return 1;
}

void TDirectSoundAudioDriver::Shutdown() {
    ++g_generation;
    if (g_current == this) g_current = nullptr;
    _lonely.reset();
    _dsound.reset();
}

TSoundPtr TDirectSoundAudioDriver::CreateSound(const TAudioSamplePtr& sample, int flags) {
    return TDirectSoundSound::Create(sample, flags);
}

TChannelPtr TDirectSoundAudioDriver::AllocChannel() { return TDirectSoundChannel::Create(1); }

void TDirectSoundAudioDriver::AddLonely(TBufPtr chain) {
    if (!chain) return;
    TBuf* tail = chain.get();
    while (tail->_succ) tail = tail->_succ.get();
    tail->_succ = std::move(_lonely);
    _lonely = std::move(chain);
}

void TDirectSoundAudioDriver::FlushLonely() {
    TBufPtr* link = &_lonely;
    while (*link) {
        TBufPtr buf = *link;
        if (buf->Active()) {
            link = &buf->_succ;
            continue;
        }
        // Released and disowned: a channel still holding this TBuf can no
        // longer reach the released buffer.
        buf->_buffer.reset();
        ++buf->_seq;
        *link = std::move(buf->_succ);
    }
}

void InitDirectSoundDriver() {
    RunOnce(g_initDone, [] {
        if (SoundBufferServiceAvailable()) g_driver = TDirectSoundAudioDriver::Create("DirectSound", 0);
    });
}

}  // namespace kestrel
