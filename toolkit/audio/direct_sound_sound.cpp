#include "toolkit/audio/direct_sound_driver.h"

#include <cstring>

#include "toolkit/core/error.h"

namespace kestrel {

namespace {
// Buffer flags: static, frequency, pan and volume control, global focus;
// software mixing unless a hardware buffer was asked for.
constexpr int kBufferFlags = SB_CREATE_STATIC | SB_CREATE_CTRLFREQUENCY | SB_CREATE_CTRLPAN |
                             SB_CREATE_CTRLVOLUME | SB_CREATE_GLOBALFOCUS;
// The driver mode that mixes every buffer in software.
constexpr int kSoftwareOnlyMode = 1;
}  // namespace

std::shared_ptr<TDirectSoundSound> TDirectSoundSound::Create(const TAudioSamplePtr& input,
                                                             int flags) {
    TDirectSoundAudioDriver* driver = CurrentDirectSoundDriver();
    if (!driver || !driver->Device()) throw TNullObjectException();
    TAudioSamplePtr sample = NonNull(input);
    driver->FlushLonely();
    if (sample->format == SF_MONO16BE) sample = sample->Convert(SF_MONO16LE);
    if (sample->format == SF_STEREO16BE) sample = sample->Convert(SF_STEREO16LE);

    const int channels = ChannelsPerSample(sample->format);
    const int bpf = BytesPerSample(sample->format);
    if (!channels) RuntimeError("Unknown audio sample format");
    SoundBufferDesc desc;
    desc.channels = channels;
    desc.hertz = sample->hertz;
    desc.bitsPerSample = bpf / channels * 8;
    desc.bytes = int(sample->ByteCount());
    desc.flags = kBufferFlags;
    if (driver->_mode == kSoftwareOnlyMode || !(flags & SOUND_HARDWARE))
        desc.flags |= SB_CREATE_LOCSOFTWARE;

    SoundBufferPtr buffer;
    CheckDirectSound(driver->Device()->Mixer()->CreateBuffer(desc, &buffer), "CreateSoundBuffer");
    void* p1 = nullptr;
    int n1 = 0;
    CheckDirectSound(buffer->Lock(0, desc.bytes, &p1, &n1, nullptr, nullptr, SB_LOCK_ENTIREBUFFER),
                     "Lock SoundBuffer");
    if (n1) std::memcpy(p1, sample->samples, std::size_t(n1));
    CheckDirectSound(buffer->Unlock(p1, n1, nullptr, 0), "Unlock SoundBuffer");

    auto sound = std::make_shared<TDirectSoundSound>();
    sound->_seq = DirectSoundGeneration();
    sound->_buffer = buffer;
    sound->_hertz = sample->hertz;
    sound->_loop = flags & SOUND_LOOP;
    sound->_bufs = std::make_shared<TBuf>();
    sound->_bufs->_buffer = std::move(buffer);
    return sound;
}

TDirectSoundSound::~TDirectSoundSound() {
    TDirectSoundAudioDriver* driver = CurrentDirectSoundDriver();
    if (driver && _seq == DirectSoundGeneration() && _bufs) driver->AddLonely(std::move(_bufs));
}

TChannelPtr TDirectSoundSound::Cue(const TChannelPtr& channel) {
    auto ch = std::dynamic_pointer_cast<TDirectSoundChannel>(channel);
    if (!ch) ch = TDirectSoundChannel::Create(0);
    ch->Cue(std::static_pointer_cast<TDirectSoundSound>(shared_from_this()));
    return ch;
}

TChannelPtr TDirectSoundSound::Play(const TChannelPtr& channel) {
    TChannelPtr ch = Cue(channel);
    ch->SetPaused(0);
    return ch;
}

}  // namespace kestrel
