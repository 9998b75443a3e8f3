#ifndef MINITOOLBARS_QMTBCOORDINATES_H
#define MINITOOLBARS_QMTBCOORDINATES_H

// Coordinate helpers shared by the toolbar window's parts. Window points are
// desktop-relative pixels: a screen point minus the virtual desktop's
// top-left corner, wherever the window itself happens to be.

#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace MiniToolbars {
namespace QmtbCoordinates {

// Origins, parent bounds and toolbar extents are held within this, far beyond
// any desktop: sums and differences of a few of them always fit in an int.
constexpr int coordinateLimit = 1 << 28;

inline int clampCoordinate(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, -coordinateLimit, coordinateLimit));
}

inline double clampCoordinateF(double value, double limit = coordinateLimit)
{
    return std::isfinite(value) ? std::clamp(value, -limit, limit) : 0.0;
}

inline bool isFinite(float a, float b, float c, float d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Window rectangle of a layout rectangle given as top, left, bottom, right.
// Its edges are an origin plus a toolbar extent, each within the limit.
inline QRectF toWindowRect(int originX, int originY, float top, float left, float bottom, float right)
{
    const auto edge = [](double value) { return clampCoordinateF(value, 4.0 * coordinateLimit); };
    return QRectF(QPointF(edge(originX + double(left)), edge(originY - double(top))),
                  QPointF(edge(originX + double(right)), edge(originY - double(bottom))));
}

inline QRect desktopGeometry()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->virtualGeometry();
    return QRect();
}

inline QPoint windowPoint(const QPoint& globalPosition)
{
    return globalPosition - desktopGeometry().topLeft();
}

// The window point of a screen point given by the host, held within the limit.
inline QPoint windowPoint(qint64 x, qint64 y)
{
    const QPoint corner = desktopGeometry().topLeft();
    return QPoint(clampCoordinate(x - corner.x()), clampCoordinate(y - corner.y()));
}

} // namespace QmtbCoordinates
} // namespace MiniToolbars

#endif
