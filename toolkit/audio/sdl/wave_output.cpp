#include "toolkit/audio/sdl/wave_output.h"

#include "toolkit/audio/sdl/playback_device.h"
#include "toolkit/audio/softmix_driver.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace kestrel::sdl {

namespace {

class SdlWaveOutput : public softmix::WaveDevice {
public:
    ~SdlWaveOutput() override { Close(); }

    bool Open(std::size_t ringBytes) override {
        Close();
        if (ringBytes < 4) return false;
        SDL_AudioSpec want{};
        want.freq = 44100;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = 512;
        want.callback = &SdlWaveOutput::Callback;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = OpenPlaybackDevice(want, &have);
        if (device_ == 0) return false;
        {
            std::lock_guard lock(mutex_);
            ring_.assign(ringBytes / 2, 0);
            position_ = 0;
            playing_ = false;
        }
        // Not under our lock: SDL holds its own device lock around the
        // callback, which takes ours.
        SDL_PauseAudioDevice(device_, 0);  // the callback plays silence until Play
        return true;
    }

    bool Play() override {
        std::lock_guard lock(mutex_);
        if (device_ == 0) return false;
        position_ = 0;
        playing_ = true;
        return true;
    }

    void Reset() override {
        std::lock_guard lock(mutex_);
        playing_ = false;
        position_ = 0;
        std::fill(ring_.begin(), ring_.end(), 0);
    }

    void Write(std::size_t offset, const std::int16_t* values, std::size_t count) override {
        std::lock_guard lock(mutex_);
        if (ring_.empty()) return;
        std::size_t at = (offset / 2) % ring_.size();
        while (count > 0) {
            const std::size_t n = std::min(count, ring_.size() - at);
            std::memcpy(ring_.data() + at, values, n * sizeof(std::int16_t));
            values += n;
            count -= n;
            at = (at + n) % ring_.size();
        }
    }

    bool Position(std::uint64_t& bytes) override {
        std::lock_guard lock(mutex_);
        if (device_ == 0) return false;
        bytes = position_;
        return true;
    }

    void SetNotify(std::size_t segmentBytes, void (*notify)(void*), void* user) override {
        std::lock_guard lock(mutex_);
        segment_ = segmentBytes;
        notify_ = notify;
        user_ = user;
    }

    void Close() override {
        if (device_ == 0) return;
        ClosePlaybackDevice(device_);  // waits for a running callback
        device_ = 0;
        std::lock_guard lock(mutex_);
        ring_.clear();
        playing_ = false;
        notify_ = nullptr;
    }

private:
    static void SDLCALL Callback(void* self, Uint8* stream, int len) {
        static_cast<SdlWaveOutput*>(self)->Fill(reinterpret_cast<std::int16_t*>(stream),
                                                static_cast<std::size_t>(len) / 2);
    }

    void Fill(std::int16_t* out, std::size_t values) {
        int crossings = 0;
        void (*notify)(void*) = nullptr;
        void* user = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!playing_ || ring_.empty()) {
                std::memset(out, 0, values * sizeof(std::int16_t));
                return;
            }
            const std::uint64_t before = position_;
            std::size_t at = static_cast<std::size_t>((position_ / 2) % ring_.size());
            std::size_t left = values;
            while (left > 0) {
                const std::size_t n = std::min(left, ring_.size() - at);
                std::memcpy(out, ring_.data() + at, n * sizeof(std::int16_t));
                out += n;
                left -= n;
                at = (at + n) % ring_.size();
            }
            position_ += values * 2;
            if (segment_) crossings = static_cast<int>(position_ / segment_ - before / segment_);
            notify = notify_;
            user = user_;
        }
        if (notify)
            for (int i = 0; i < crossings; ++i) notify(user);
    }

    SDL_AudioDeviceID device_ = 0;
    std::mutex mutex_;
    std::vector<std::int16_t> ring_;
    std::uint64_t position_ = 0;
    bool playing_ = false;
    std::size_t segment_ = 0;
    void (*notify_)(void*) = nullptr;
    void* user_ = nullptr;
};

}  // namespace

std::unique_ptr<softmix::WaveDevice> CreateSdlWaveOutput() { return std::make_unique<SdlWaveOutput>(); }

void InstallSdlWaveOutput() { softmix::SetWaveDeviceFactory(&CreateSdlWaveOutput); }

void InitSoftMixAudio() {
    if (!softmix::HasWaveDeviceFactory()) InstallSdlWaveOutput();
    InitSoftMixDriver();
}

}  // namespace kestrel::sdl
