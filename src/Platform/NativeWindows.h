#ifndef MINITOOLBARS_NATIVEWINDOWS_H
#define MINITOOLBARS_NATIVEWINDOWS_H

#include "Platform/NativeMessage.h"

#include <QPoint>
#include <Qt>

#include <optional>

namespace MiniToolbars {

// The window calls the toolbar window makes when input belongs to another
// window: Qt's own windows are reached through Qt, another client's through
// the X server. Without an X connection only Qt's windows are known.
namespace NativeWindows {

// The top-level window at a screen point; null where there is none.
HWND windowFromPoint(const QPoint& screenPoint);

// A screen point in the client coordinates of window; nothing for an
// unknown window.
std::optional<QPoint> screenToClient(HWND window, const QPoint& screenPoint);

// Queues a pointer message (WM_MOUSEMOVE, WM_xBUTTONDOWN, WM_xBUTTONUP) with
// client coordinates in lParam for window: a mouse event for a Qt window, a
// sent X event for another client's. False for other messages and unknown
// windows.
bool postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The mouse buttons held in the MK_ flags of a pointer message's wParam.
Qt::MouseButtons buttonsFromState(WPARAM state);

} // namespace NativeWindows
} // namespace MiniToolbars

#endif
