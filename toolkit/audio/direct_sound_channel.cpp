#include "toolkit/audio/direct_sound_driver.h"

#include "toolkit/audio/direct_sound_units.h"

namespace kestrel {

std::shared_ptr<TDirectSoundChannel> TDirectSoundChannel::Create(int isStatic) {
    auto ch = std::make_shared<TDirectSoundChannel>();
    ch->_static = isStatic;
    return ch;
}

TDirectSoundChannel::~TDirectSoundChannel() {
    // A cued or paused buffer would otherwise stay "active" for ever: never
    // reused by its sound and never released from the lonely list.
    try {
        if (Owns() && _buf->_paused) Stop();
    } catch (...) {
    }
}

int TDirectSoundChannel::Cue(const std::shared_ptr<TDirectSoundSound>& sound) {
    Stop();
    TBufPtr buf;
    for (TBufPtr b = sound->_bufs; b; b = b->Next()) {
        if (!b->Active()) {
            buf = b;
            ++buf->_seq;
            break;
        }
    }
    if (!buf) {
        TDirectSoundAudioDriver* driver = CurrentDirectSoundDriver();
        if (driver) driver->FlushLonely();
        // Duplicates come from the device that is open now; a sound of a
        // device that has been shut down gets none.
        SoundBufferPtr dup;
        if (!driver || !driver->Device() || !sound->_buffer ||
            &sound->_buffer->Mixer() != driver->Device()->Mixer().get() ||
            driver->Device()->Mixer()->DuplicateBuffer(sound->_buffer, &dup) != SB_OK)
            return 0;
        buf = std::make_shared<TBuf>();
        buf->_buffer = std::move(dup);
        buf->_succ = sound->_bufs;
        sound->_bufs = buf;
    }
    _sound = sound;
    _buf = buf;
    _seq = buf->_seq;
    _hertz = sound->_hertz;
    _playFlags = sound->_loop ? 1 : 0;
    buf->_paused = 1;
    SoundBuffer& sb = *buf->_buffer;
    sb.SetCurrentPosition(0);
    sb.SetVolume(VolumeCentibels(_volume));
    sb.SetPan(PanCentibels(_pan));
    sb.SetFrequency(RateHertz(_hertz, _rate));
    return 1;
}

void TDirectSoundChannel::SetPaused(int paused) {
    if (!Owns()) return;
    if (!_buf->Active()) {
        // It finished: give it up.
        ++_buf->_seq;
        _buf.reset();
        return;
    }
    if (_buf->_buffer) {
        if (paused)
            _buf->_buffer->Stop();
        else
            _buf->_buffer->Play(_playFlags ? SB_PLAY_LOOPING : 0);
    }
    _buf->_paused = paused;
}

void TDirectSoundChannel::Stop() {
    if (!Owns()) return;
    if (_buf->_buffer) _buf->_buffer->Stop();
    _buf->_paused = 0;
    ++_buf->_seq;
    _buf.reset();
}

void TDirectSoundChannel::SetVolume(float volume) {
    _volume = ShapeVolume(volume);
    if (Owns() && _buf->_buffer) _buf->_buffer->SetVolume(VolumeCentibels(_volume));
}

void TDirectSoundChannel::SetPan(float pan) {
    _pan = ShapePan(pan);
    if (Owns() && _buf->_buffer) _buf->_buffer->SetPan(PanCentibels(_pan));
}

void TDirectSoundChannel::SetRate(float rate) {
    _rate = rate;
    if (Owns() && _buf->_buffer) _buf->_buffer->SetFrequency(RateHertz(_hertz, rate));
}

int TDirectSoundChannel::Playing() { return Owns() ? _buf->Playing() : 0; }

}  // namespace kestrel
