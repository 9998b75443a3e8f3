#ifndef MINITOOLBARS_QTCOMPAT_H
#define MINITOOLBARS_QTCOMPAT_H

// The few calls whose spelling differs between Qt 5.15 and Qt 6, for every
// layer that uses Qt. Everything else already uses the form that Qt 6 kept.

#include <QMouseEvent>
#include <QPoint>
#include <QString>
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

// UTF-16 text in the interface's unsigned short units; Qt 6 reads only char16_t.
inline QString fromUtf16(const unsigned short* text, int size = -1)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), size);
}

// What QAbstractNativeEventFilter::nativeEventFilter() writes its result to.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using NativeEventResult = qintptr;
#else
using NativeEventResult = long;
#endif

// What QWidget::enterEvent() takes.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
using EnterEvent = QEnterEvent;
#else
using EnterEvent = QEvent;
#endif


} // namespace QtCompat
} // namespace MiniToolbars

#endif
