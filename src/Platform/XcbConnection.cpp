#include "XcbConnection.h"

#ifdef MTB_HAVE_XCB
#include <QGuiApplication>
#include <QX11Info>
#endif

namespace MiniToolbars {
namespace XcbConnection {

// Qt 6 replaces QX11Info with QNativeInterface::QX11Application; this file is
// the one place that asks for the connection.
xcb_connection_t* connection()
{
#ifdef MTB_HAVE_XCB
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return QX11Info::connection();
#else
    return nullptr;
#endif
}

std::uint32_t rootWindow()
{
#ifdef MTB_HAVE_XCB
    return connection() ? static_cast<std::uint32_t>(QX11Info::appRootWindow()) : 0;
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
