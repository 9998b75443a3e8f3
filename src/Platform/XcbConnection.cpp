#include "XcbConnection.h"

#include "../Qt/QtCompat.h"

namespace MiniToolbars {
namespace XcbConnection {

// The one place that asks Qt for the connection.
xcb_connection_t* connection()
{
#ifdef MTB_HAVE_XCB
    if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    return QtCompat::x11Connection();
#else
    return nullptr;
#endif
}

std::uint32_t rootWindow()
{
#ifdef MTB_HAVE_XCB
    xcb_connection_t* const x11 = connection();
    return x11 ? QtCompat::x11RootWindow(x11) : 0;
#else
    return 0;
#endif
}

void refreshTime()
{
#ifdef MTB_HAVE_XCB
    if (connection())
        QtCompat::refreshX11AppTime();
#endif
}

} // namespace XcbConnection
} // namespace MiniToolbars
