#ifndef MINITOOLBARS_QTCOMPAT_H
#define MINITOOLBARS_QTCOMPAT_H

// The few calls whose spelling differs between Qt 5.15 and Qt 6. Everything
// else already uses the form that Qt 6 kept.

#include <QMouseEvent>
#include <QPoint>
#include <QString>
#include <QWheelEvent>

#ifdef MTB_HAVE_XCB
#include <QGuiApplication>
#include <cstdint>
#include <cstdlib>
#include <xcb/xcb.h>
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QX11Info>
#else
// Qt 6 keeps the X time calls of the old X11 extras in QtGui, privately.
#include <QtGui/private/qtx11extras_p.h>
#endif
#endif

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

#ifdef MTB_HAVE_XCB
// The application's X connection, asked of an application on xcb.
inline xcb_connection_t* x11Connection()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
#else
    return QX11Info::connection();
#endif
}

// Brings the application's X time up to the server's, so that a focus
// request made now is not older than the server's last focus change.
inline void refreshX11AppTime()
{
    QX11Info::setAppTime(QX11Info::getTimestamp());
}

// The root window of the screen the application opened the display on.
inline std::uint32_t x11RootWindow(xcb_connection_t* connection)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; it.rem > 1 && screen > 0; --screen)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : 0;
#else
    Q_UNUSED(connection);
    return static_cast<std::uint32_t>(QX11Info::appRootWindow());
#endif
}
#endif

} // namespace QtCompat
} // namespace MiniToolbars

#endif
