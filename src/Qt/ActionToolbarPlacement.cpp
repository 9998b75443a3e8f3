#include "Qt/ActionToolbarPlacement.h"

#include "Qt/QmtbCoordinates.h"

#include <QtGlobal>

#include <algorithm>
#include <limits>

namespace MiniToolbars {

namespace {

int clampToInt(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

// Sums of edges, gap and size are taken in 64 bits: none of them can overflow.
QPoint placeNextTo(const QRect& anchor, const QSize& size, const QRect& room, int gap, ActionToolbar::Side preferred)
{
    const qint64 width = std::max(size.width(), 0);
    const qint64 height = std::max(size.height(), 0);
    const qint64 above = qint64(anchor.top()) - gap - height;
    const qint64 below = qint64(anchor.bottom()) + 1 + gap;
    const bool fitsAbove = above >= room.top();
    const bool fitsBelow = below + height - 1 <= room.bottom();
    bool goAbove = preferred == ActionToolbar::Above ? fitsAbove || !fitsBelow : !fitsBelow && fitsAbove;
    if (!fitsAbove && !fitsBelow)
        goAbove = qint64(anchor.top()) - room.top() > qint64(room.bottom()) - anchor.bottom();
    const qint64 x = qint64(anchor.center().x()) - width / 2;
    const qint64 y = goAbove ? above : below;
    return QPoint(clampToInt(std::max(std::min(x, qint64(room.right()) + 1 - width), qint64(room.left()))),
                  clampToInt(std::max(std::min(y, qint64(room.bottom()) + 1 - height), qint64(room.top()))));
}

QRect boundedAnchor(const QRect& anchor)
{
    const auto bound = [](int value) { return QmtbCoordinates::clampCoordinate(value); };
    return QRect(QPoint(bound(anchor.left()), bound(anchor.top())), QPoint(bound(anchor.right()), bound(anchor.bottom())));
}

} // namespace MiniToolbars
