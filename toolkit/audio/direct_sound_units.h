// The "DirectSound" driver's laws for volume, pan and rate: how a channel's
// values become hundredths of a decibel and Hz.
#pragma once

namespace kestrel {

// Truncation toward zero, as every Float-to-Int conversion of the toolkit;
// NaN gives 0 and values past the Int range saturate.
int TruncToInt(double value);

// clamp(volume, 0, 1) raised to the power 0.1 (NaN counts as 0).
float ShapeVolume(float volume);
// sign(p) * (1 - (1 - |p|)^0.1) for p = clamp(pan, -1, 1) (NaN counts as 0).
float ShapePan(float pan);
// Int((1 - shaped) * -10000): 1 -> 0, 0 -> -10000.
int VolumeCentibels(float shapedVolume);
// Int(shaped * 10000).
int PanCentibels(float shapedPan);
// Int(hertz * rate).
int RateHertz(int hertz, float rate);

}  // namespace kestrel
