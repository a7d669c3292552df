// The content scale rule.
#include "editor/content_scale.h"

#include <cmath>

namespace vrn
{

bool ContentScaleFor(double requested, double& scale)
{
    if (!std::isfinite(requested) || !(requested > 0.0))
        return false;
    const double clamped = std::fmin(std::fmax(requested, kMinContentScale), kMaxContentScale);
    scale = std::round(clamped * 4.0) / 4.0;
    return true;
}

int ScaledLength(double length, double scale)
{
    return static_cast<int>(std::lround(length * scale));
}

} // namespace vrn
