#ifndef MINITOOLBARS_QTCOMPAT_H
#define MINITOOLBARS_QTCOMPAT_H

// The few calls whose spelling differs between Qt 5.15 and Qt 6. Everything
// else already uses the form that Qt 6 kept.

#include <QMouseEvent>
#include <QPoint>
#include <QWheelEvent>

namespace MiniToolbars {
namespace QtCompat {

inline QPoint globalPoint(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->globalPosition().toPoint();
#else
    return event->globalPos();
#endif
}

inline QPoint globalPoint(const QWheelEvent* event)
{
    return event->globalPosition().toPoint();
}

} // namespace QtCompat
} // namespace MiniToolbars

#endif
