#include "Core/ThemeColor.h"

#include <cmath>

namespace MiniToolbars {

ThemeColor ThemeColor::fromOpacity(int r, int g, int b, float opacity)
{
    // Out-of-range or NaN opacities are clamped rather than wrapped.
    double a = static_cast<double>(opacity);
    if (!(a >= 0.0))
        a = 0.0;
    else if (a > 1.0)
        a = 1.0;
    return ThemeColor(r, g, b, static_cast<int>(std::trunc(a * 255.0)));
}

} // namespace MiniToolbars
