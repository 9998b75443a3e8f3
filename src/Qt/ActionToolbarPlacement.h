// Where ActionToolbar puts its toolbar next to the anchor: a pure rule on
// rectangles in global pixels, apart from any window.

#ifndef MINITOOLBARS_ACTIONTOOLBARPLACEMENT_H
#define MINITOOLBARS_ACTIONTOOLBARPLACEMENT_H

#include "MiniToolbars/ActionToolbar.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace MiniToolbars {

// The top-left corner of a toolbar of the given size next to anchor, gap
// pixels away: on the preferred side when it fits in room, else on the other
// side when that fits, else on the roomier side; then shifted to lie inside
// room, whose top-left corner wins when the toolbar is larger. A negative size
// counts as empty; any input gives a defined point.
QPoint placeNextTo(const QRect& anchor, const QSize& size, const QRect& room, int gap, ActionToolbar::Side preferred);

// The anchor held far beyond any desktop, so that placing next to it never overflows.
QRect boundedAnchor(const QRect& anchor);

} // namespace MiniToolbars

#endif
