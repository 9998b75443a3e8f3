#include "ToolbarPlacement.h"

#include <algorithm>
#include <cmath>

QPoint toolbarOrigin(const QRect& selection, int anchorX, const QSize& toolbarSize,
                     const QRect& bounds, int gap)
{
    const int width = std::max(0, toolbarSize.width());
    const int height = std::max(0, toolbarSize.height());

    int y = selection.top() - gap - height;
    if (y < bounds.top())
        y = selection.bottom() + 1 + gap;
    int x = anchorX;

    // Clamp so that the far edge stays inside first, then the near edge, so an
    // oversized toolbar keeps its top-left corner in view.
    x = std::max(std::min(x, bounds.right() + 1 - width), bounds.left());
    y = std::max(std::min(y, bounds.bottom() + 1 - height), bounds.top());
    return {x, y};
}

QRect toolbarScreenRect(const QPoint& origin, float top, float left, float bottom, float right)
{
    if (!std::isfinite(top) || !std::isfinite(left) || !std::isfinite(bottom) || !std::isfinite(right)
        || right < left || top < bottom)
        return {};
    const int x0 = origin.x() + static_cast<int>(std::floor(left));
    const int y0 = origin.y() - static_cast<int>(std::ceil(top));
    const int x1 = origin.x() + static_cast<int>(std::ceil(right));
    const int y1 = origin.y() - static_cast<int>(std::floor(bottom));
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}
