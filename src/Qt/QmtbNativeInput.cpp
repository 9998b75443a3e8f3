#include "Qt/QmtbNativeInput.h"

#include "Core/MTBxView.h"
#include "Qt/QmtbPlacement.h"

#include "Platform/NativeEventFilter.h"
#include "Platform/NativeWindows.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbView.h"
#include "Qt/QmtbWindowPopup.h"
#include "Qt/QmtbWindowRegistry.h"

#include <QGuiApplication>
#include <QWidget>

namespace MiniToolbars {
namespace QmtbNativeInput {

namespace {

Qt::MouseButton releasedButton(UINT message)
{
    switch (message) {
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        return Qt::LeftButton;
    case WM_RBUTTONUP:
    case WM_NCRBUTTONUP:
        return Qt::RightButton;
    case WM_MBUTTONUP:
    case WM_NCMBUTTONUP:
        return Qt::MiddleButton;
    default:
        return Qt::NoButton;
    }
}

QmtbView* toolbarWindow(HWND handle)
{
    const WId id = reinterpret_cast<WId>(handle);
    return id ? qobject_cast<QmtbView*>(QWidget::find(id)) : nullptr;
}

// Escape closes what a toolbar opened; the host never sees that press.
bool closePopups()
{
    bool closed = false;
    QmtbWindowRegistry::forEachVisible([&](QmtbView* window) {
        if (!window->hasPopup())
            return;
        const NotificationGuard::Delivery delivery(window->guard(), nullptr);
        if (delivery.accepted())
            window->popups().dismissPopup();
        closed = true;
    });
    return closed;
}

} // namespace

void attach()
{
    NativeEventFilter& filter = NativeEventFilter::instance();
    filter.setHandler([&filter](const QByteArray& eventType, void* message) {
        const std::optional<NativeMessage> record = filter.toMessage(eventType, message);
        return record && filterMessage(*record);
    });
}

bool filterMessage(const NativeMessage& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && closePopups())
        return true;
    // Qt hands it to that window, which shares it out itself.
    if (toolbarWindow(message.window))
        return false;
    if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) {
        // Keys go to the host's focus window; a toolbar hears those typed
        // while the pointer rests on it.
        const QPoint point = QmtbCoordinates::windowPoint(message.pt);
        QmtbWindowRegistry::forEachVisible([&](QmtbView* window) {
            if (window->placement().paintedRegion().contains(point))
                window->winEvent(message);
        });
        return false;
    }
    shareOut(message, nullptr);
    return false;
}

bool windowMessage(QmtbView& window, const NativeMessage& message)
{
    const NotificationGuard::Delivery delivery(window.guard(), nullptr);
    if (!delivery.accepted() || !window.view())
        return false;
    if (message.message == WM_KEYDOWN)
        window.view()->keyDown(message.wParam, message.lParam);
    else if (message.message == WM_KEYUP)
        window.view()->keyUp(message.wParam, message.lParam);
    else
        shareOut(message, &window);
    return false;
}

void shareOut(const NativeMessage& message, const QmtbView* except)
{
    const Qt::MouseButtons buttons = NativeWindows::buttonsFromState(message.wParam);
    QEvent::Type type = QEvent::MouseButtonRelease;
    Qt::MouseButton button = releasedButton(message.message);
    if (message.message == WM_MOUSEMOVE || message.message == WM_NCMOUSEMOVE) {
        type = QEvent::MouseMove;
    } else if (button == Qt::NoButton) {
        return;
    } else if (!QGuiApplication::mouseButtons().testFlag(button)) {
        // Native events come here as Qt reads them; their mouse events wait in
        // Qt's queue. Without this button in Qt's state, the press of this
        // release is still waiting there (a quick click) or never reached Qt:
        // no toolbar has had it, and the one it lands on gets Qt's own release
        // after it. As a release it would meet, say, the button of an open
        // menu, which stays pressed until a press closes the menu.
        type = QEvent::MouseMove;
        button = Qt::NoButton;
    }
    QmtbWindowRegistry::forEachVisible([&](QmtbView* window) {
        if (window != except)
            window->deliverPointer(type, message.pt, button, buttons);
    });
    if (type == QEvent::MouseMove)
        QmtbWindowRegistry::fadeAll(message.pt.x(), message.pt.y());
}

} // namespace QmtbNativeInput
} // namespace MiniToolbars
