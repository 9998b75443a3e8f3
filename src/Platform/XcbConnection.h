#ifndef MINITOOLBARS_XCBCONNECTION_H
#define MINITOOLBARS_XCBCONNECTION_H

#include <cstdint>

struct xcb_connection_t;

namespace MiniToolbars {
namespace XcbConnection {

// The application's X connection; null off xcb or in a build without xcb.
xcb_connection_t* connection();
// The root window of the application's screen; 0 without a connection.
std::uint32_t rootWindow();
// Brings the application's server time up to date: focus requests carry it,
// and the server ignores one older than its last focus change (an unmapped
// focus window reverting its focus, say).
void refreshTime();

} // namespace XcbConnection
} // namespace MiniToolbars

#endif
