#include "toolkit/audio/softmix_wave_device.h"

namespace kestrel::softmix {

namespace {
WaveDeviceFactory g_factory = nullptr;
}

void SetWaveDeviceFactory(WaveDeviceFactory factory) { g_factory = factory; }

bool HasWaveDeviceFactory() { return g_factory != nullptr; }

std::unique_ptr<WaveDevice> CreateWaveDevice() { return g_factory ? g_factory() : nullptr; }

}  // namespace kestrel::softmix
