#include "WindowMask.h"

#include <QWidget>

namespace MiniToolbars {

void applyWindowMask(QWidget* window, const QRegion& region)
{
    if (!window)
        return;
    // One pixel outside the window: the shape then covers nothing on screen.
    const QRegion mask = region.isEmpty() ? QRegion(-1, -1, 1, 1) : region;
    if (window->mask() != mask)
        window->setMask(mask);
}

} // namespace MiniToolbars
