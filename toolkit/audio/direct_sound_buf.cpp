#include "toolkit/audio/direct_sound_driver.h"

namespace kestrel {

namespace {
int Status(TBuf& b) {
    if (!b._buffer) return 0;  // released: silent for good
    int status = 0;
    CheckDirectSound(b._buffer->GetStatus(&status), "DirectSound");
    return status;
}
}  // namespace

int TBuf::Playing() {
    if (_paused) return 0;
    return (Status(*this) & SB_STATUS_PLAYING) ? 1 : 0;
}

int TBuf::Active() {
    if (_paused) return 1;
    return (Status(*this) & SB_STATUS_PLAYING) ? 1 : 0;
}

}  // namespace kestrel
