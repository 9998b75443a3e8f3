#include "Platform/NativeWindows.h"

#include "Platform/XcbConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

#include <cstdlib>
#include <memory>

#ifdef MTB_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace MiniToolbars {
namespace NativeWindows {

namespace {

WId toId(HWND window)
{
    return reinterpret_cast<WId>(window);
}

HWND toHandle(WId id)
{
    return reinterpret_cast<HWND>(id);
}

// Only windows that already have a native window; winId() would create one.
QWindow* qtWindow(WId id)
{
    if (id == 0)
        return nullptr;
    const QWindowList windows = QGuiApplication::allWindows();
    for (QWindow* window : windows) {
        if (window->handle() && window->winId() == id)
            return window;
    }
    return nullptr;
}

struct PointerMessage
{
    QEvent::Type type;
    Qt::MouseButton button;
};

std::optional<PointerMessage> pointerMessage(UINT message)
{
    switch (message) {
    case WM_MOUSEMOVE:
        return PointerMessage{QEvent::MouseMove, Qt::NoButton};
    case WM_LBUTTONDOWN:
        return PointerMessage{QEvent::MouseButtonPress, Qt::LeftButton};
    case WM_LBUTTONUP:
        return PointerMessage{QEvent::MouseButtonRelease, Qt::LeftButton};
    case WM_RBUTTONDOWN:
        return PointerMessage{QEvent::MouseButtonPress, Qt::RightButton};
    case WM_RBUTTONUP:
        return PointerMessage{QEvent::MouseButtonRelease, Qt::RightButton};
    case WM_MBUTTONDOWN:
        return PointerMessage{QEvent::MouseButtonPress, Qt::MiddleButton};
    case WM_MBUTTONUP:
        return PointerMessage{QEvent::MouseButtonRelease, Qt::MiddleButton};
    default:
        return std::nullopt;
    }
}

Qt::KeyboardModifiers modifiersFromState(WPARAM state)
{
    Qt::KeyboardModifiers modifiers;
    if (state & MK_SHIFT)
        modifiers |= Qt::ShiftModifier;
    if (state & MK_CONTROL)
        modifiers |= Qt::ControlModifier;
    return modifiers;
}

#ifdef MTB_HAVE_XCB

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

std::optional<xcb_translate_coordinates_reply_t> translate(xcb_connection_t* connection, xcb_window_t from,
                                                           xcb_window_t to, const QPoint& point)
{
    const ReplyPointer<xcb_translate_coordinates_reply_t> reply(
        xcb_translate_coordinates_reply(
            connection,
            xcb_translate_coordinates(connection, from, to, std::int16_t(point.x()), std::int16_t(point.y())),
            nullptr),
        &std::free);
    if (!reply)
        return std::nullopt;
    return *reply;
}

bool hasWmState(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t wmState)
{
    const ReplyPointer<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), nullptr),
        &std::free);
    return reply && reply->type != XCB_NONE;
}

xcb_atom_t wmStateAtom(xcb_connection_t* connection)
{
    static const char name[] = "WM_STATE";
    const ReplyPointer<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_NONE);
}

// The server knows the stacking of every client's windows and skips the
// parts that a window's shape cuts away. Under a window manager the child of
// the root is a frame; the client window inside it carries WM_STATE.
HWND serverWindowAt(xcb_connection_t* connection, xcb_window_t root, const QPoint& point)
{
    const auto top = translate(connection, root, root, point);
    if (!top || top->child == XCB_NONE)
        return nullptr;
    const xcb_atom_t wmState = wmStateAtom(connection);
    if (wmState == XCB_NONE)
        return toHandle(top->child);
    xcb_window_t window = top->child;
    for (int depth = 0; depth < 4; ++depth) {
        if (hasWmState(connection, window, wmState))
            return toHandle(window);
        const auto inner = translate(connection, root, window, point);
        if (!inner || inner->child == XCB_NONE)
            break;
        window = inner->child;
    }
    return toHandle(top->child);
}

std::uint16_t coreState(WPARAM state)
{
    std::uint16_t result = 0;
    if (state & MK_LBUTTON)
        result |= XCB_KEY_BUT_MASK_BUTTON_1;
    if (state & MK_MBUTTON)
        result |= XCB_KEY_BUT_MASK_BUTTON_2;
    if (state & MK_RBUTTON)
        result |= XCB_KEY_BUT_MASK_BUTTON_3;
    if (state & MK_SHIFT)
        result |= XCB_KEY_BUT_MASK_SHIFT;
    if (state & MK_CONTROL)
        result |= XCB_KEY_BUT_MASK_CONTROL;
    return result;
}

bool sendPointerEvent(xcb_connection_t* connection, xcb_window_t window, const PointerMessage& kind,
                      WPARAM wParam, const QPoint& local)
{
    const xcb_window_t root = XcbConnection::rootWindow();
    const auto onRoot = translate(connection, window, root, local);
    if (!onRoot)
        return false;
    // Motion and button events share one layout. X reports the button state
    // from before the event, Windows from after it.
    xcb_button_press_event_t event = {};
    std::uint16_t state = coreState(wParam);
    std::uint32_t mask = XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_MOTION;
    const std::uint8_t button = kind.button == Qt::LeftButton ? 1 : kind.button == Qt::MiddleButton ? 2 : 3;
    const std::uint16_t buttonMask = std::uint16_t(XCB_KEY_BUT_MASK_BUTTON_1 << (button - 1));
    if (kind.type == QEvent::MouseMove) {
        event.response_type = XCB_MOTION_NOTIFY;
        event.detail = XCB_MOTION_NORMAL;
    } else if (kind.type == QEvent::MouseButtonPress) {
        event.response_type = XCB_BUTTON_PRESS;
        event.detail = button;
        state &= std::uint16_t(~buttonMask);
        mask = XCB_EVENT_MASK_BUTTON_PRESS;
    } else {
        event.response_type = XCB_BUTTON_RELEASE;
        event.detail = button;
        state |= buttonMask;
        mask = XCB_EVENT_MASK_BUTTON_RELEASE;
    }
    event.time = XCB_CURRENT_TIME;
    event.root = root;
    event.event = window;
    event.child = XCB_NONE;
    event.root_x = std::int16_t(onRoot->dst_x);
    event.root_y = std::int16_t(onRoot->dst_y);
    event.event_x = std::int16_t(local.x());
    event.event_y = std::int16_t(local.y());
    event.state = state;
    event.same_screen = 1;
    const xcb_void_cookie_t cookie =
        xcb_send_event_checked(connection, 0, window, mask, reinterpret_cast<const char*>(&event));
    std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(xcb_request_check(connection, cookie),
                                                                      &std::free);
    return !error;
}

#endif

} // namespace

Qt::MouseButtons buttonsFromState(WPARAM state)
{
    Qt::MouseButtons buttons;
    if (state & MK_LBUTTON)
        buttons |= Qt::LeftButton;
    if (state & MK_RBUTTON)
        buttons |= Qt::RightButton;
    if (state & MK_MBUTTON)
        buttons |= Qt::MiddleButton;
    return buttons;
}

HWND windowFromPoint(const QPoint& screenPoint)
{
#ifdef MTB_HAVE_XCB
    if (xcb_connection_t* connection = XcbConnection::connection())
        return serverWindowAt(connection, XcbConnection::rootWindow(), screenPoint);
#endif
    QWindow* window = QGuiApplication::topLevelAt(screenPoint);
    return window && window->handle() ? toHandle(window->winId()) : nullptr;
}

std::optional<QPoint> screenToClient(HWND window, const QPoint& screenPoint)
{
    const WId id = toId(window);
    if (id == 0)
        return std::nullopt;
    if (QWidget* widget = QWidget::find(id))
        return widget->mapFromGlobal(screenPoint);
    if (QWindow* qt = qtWindow(id))
        return qt->mapFromGlobal(screenPoint);
#ifdef MTB_HAVE_XCB
    if (xcb_connection_t* connection = XcbConnection::connection()) {
        const auto reply = translate(connection, XcbConnection::rootWindow(), xcb_window_t(id), screenPoint);
        if (reply)
            return QPoint(reply->dst_x, reply->dst_y);
    }
#endif
    return std::nullopt;
}

bool postMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::optional<PointerMessage> kind = pointerMessage(message);
    const WId id = toId(window);
    if (!kind || id == 0)
        return false;
    const QPoint local(xFromLParam(lParam), yFromLParam(lParam));
    // The window's own QWindow routes the event to the widget under the point.
    if (QWindow* qt = qtWindow(id)) {
        const QPoint global = qt->mapToGlobal(local);
        QCoreApplication::postEvent(qt, new QMouseEvent(kind->type, QPointF(local), QPointF(local), QPointF(global),
                                                        kind->button, buttonsFromState(wParam),
                                                        modifiersFromState(wParam)));
        return true;
    }
#ifdef MTB_HAVE_XCB
    if (xcb_connection_t* connection = XcbConnection::connection())
        return sendPointerEvent(connection, xcb_window_t(id), *kind, wParam, local);
#endif
    return false;
}

} // namespace NativeWindows
} // namespace MiniToolbars
