#ifndef MINITOOLBARS_DEMO_TOOLBARPLACEMENT_H
#define MINITOOLBARS_DEMO_TOOLBARPLACEMENT_H

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the toolbar's top-left corner goes for a selection, in screen pixels.
// It sits `gap` pixels above the selection, starting at anchorX; where that
// leaves the bounds it goes below the selection instead, and it is finally
// pushed inside the bounds (top-left wins when it is larger than they are).
QPoint toolbarOrigin(const QRect& selection, int anchorX, const QSize& toolbarSize,
                     const QRect& bounds, int gap);

// The toolbar rectangle in screen pixels from its origin and the layout-space
// bounds the library reports (top, left, bottom, right; y grows upwards).
QRect toolbarScreenRect(const QPoint& origin, float top, float left, float bottom, float right);

#endif
