#include "Platform/XcbConnection.h"

#ifdef MTB_HAVE_XCB
#include <QGuiApplication>
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
namespace XcbConnection {

// The one place that asks Qt for the connection.
xcb_connection_t* connection()
{
#ifdef MTB_HAVE_XCB
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
#else
    return QX11Info::connection();
#endif
#else
    return nullptr;
#endif
}

// The root window of the screen the application opened the display on.
std::uint32_t rootWindow()
{
#ifdef MTB_HAVE_XCB
    xcb_connection_t* const x11 = connection();
    if (!x11)
        return 0;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x11));
    for (; it.rem > 1 && screen > 0; --screen)
        xcb_screen_next(&it);
    return it.rem > 0 ? it.data->root : 0;
#else
    return static_cast<std::uint32_t>(QX11Info::appRootWindow());
#endif
#else
    return 0;
#endif
}

void refreshTime()
{
#ifdef MTB_HAVE_XCB
    if (connection())
        QX11Info::setAppTime(QX11Info::getTimestamp());
#endif
}

} // namespace XcbConnection
} // namespace MiniToolbars
