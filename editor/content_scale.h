#pragma once
// The editor's content scale: how many window pixels one editor pixel takes on a high-density
// screen, and the one rule that turns a host's or the system's wish into a factor.

namespace vrn
{

/// Smallest and largest content scale the editor draws at; factors go in quarter steps.
constexpr double kMinContentScale = 1.0;
constexpr double kMaxContentScale = 3.0;

/// The scale the editor takes for `requested`: clamped to 1 … 3 and rounded to the nearest
/// quarter. False (and `scale` untouched) for NaN, infinities and values ≤ 0, which no screen
/// means.
bool ContentScaleFor(double requested, double& scale);

/// The window pixels that `length` editor pixels take at `scale`, rounded to the nearest whole
/// pixel (450 at 1.5 gives 675).
int ScaledLength(double length, double scale);

} // namespace vrn
