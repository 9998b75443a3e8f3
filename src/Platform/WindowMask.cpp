#include "Platform/WindowMask.h"

#include <QGuiApplication>
#include <QWidget>

namespace MiniToolbars {

void applyWindowMask(QWidget* window, const QRegion& region)
{
    if (!window)
        return;
    // Platforms without a screen have no window to shape (and say so
    // loudly); a child widget's shape is Qt's own, and routes its input.
    const QString platform = QGuiApplication::platformName();
    if (window->isWindow() && (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
        return;
    // One pixel outside the window: the shape then covers nothing on screen.
    const QRegion mask = region.isEmpty() ? QRegion(-1, -1, 1, 1) : region;
    if (window->mask() != mask)
        window->setMask(mask);
}

} // namespace MiniToolbars
