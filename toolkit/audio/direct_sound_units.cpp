#include "toolkit/audio/direct_sound_units.h"

#include <climits>
#include <cmath>

namespace kestrel {

int TruncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= double(INT_MAX)) return INT_MAX;
    if (value <= double(INT_MIN)) return INT_MIN;
    return int(value);
}

namespace {
float Clamp(float v, float lo, float hi) {
    if (!(v >= lo)) return std::isnan(v) ? 0.0f : lo;
    return v > hi ? hi : v;
}
}  // namespace

float ShapeVolume(float volume) { return std::pow(Clamp(volume, 0.0f, 1.0f), 0.1f); }

float ShapePan(float pan) {
    const float p = Clamp(pan, -1.0f, 1.0f);
    if (p == 0.0f) return 0.0f;
    const float shaped = 1.0f - std::pow(1.0f - std::fabs(p), 0.1f);
    return p < 0 ? -shaped : shaped;
}

int VolumeCentibels(float shapedVolume) { return TruncToInt((1.0f - shapedVolume) * -10000.0f); }

int PanCentibels(float shapedPan) { return TruncToInt(shapedPan * 10000.0f); }

int RateHertz(int hertz, float rate) { return TruncToInt(double(float(hertz) * rate)); }

}  // namespace kestrel
