#include "Qt/QmtbWindowPopup.h"

#include "Compat/QtCompat.h"
#include "Core/PopupWidget.h"
#include "Core/ToolbarWindow.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbToolTips.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <utility>

namespace MiniToolbars {

QmtbWindowPopup::QmtbWindowPopup(ToolbarWindow& window, QWidget& widget, QmtbPlacement& placement,
                                 QmtbPointerInput& pointer, QmtbToolTips& toolTips,
                                 std::function<void(QMouseEvent*)> deliverRelease)
    : m_window(window)
    , m_widget(widget)
    , m_placement(placement)
    , m_pointer(pointer)
    , m_toolTips(toolTips)
    , m_deliverRelease(std::move(deliverRelease))
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &QmtbWindowPopup::onFocusWindowChanged);
}

void QmtbWindowPopup::setPopup(PopupWidget* popup)
{
    if (m_popup && m_popup != popup)
        dismissPopup();
    m_popup = popup;
    // Watches the presses and releases that may close it (see replayClosingPress).
    qApp->installEventFilter(this);
    m_toolTips.stopTimer();
    m_toolTips.hide();
}

void QmtbWindowPopup::popupClosed(PopupWidget* popup, bool completed)
{
    if (!popup)
        return;
    if (popup == m_popup) {
        m_popup = nullptr;
        // Only a dismissal by a press leaves a release to come, which must not
        // open the popup again. After Escape or a deactivation the next click
        // on the same item is a click.
        const bool pressing = !completed && QGuiApplication::mouseButtons() != Qt::NoButton;
        m_pointer.setClosedItem(pressing ? popup->item() : nullptr);
        if (pressing)
            replayClosingPress();
        else if (!m_awaitingRelease)
            qApp->removeEventFilter(this);
    } else if (completed && m_pointer.closedItem() == popup->item()) {
        m_pointer.setClosedItem(nullptr);
    }
}

void QmtbWindowPopup::closePopup()
{
    PopupWidget* const popup = m_popup;
    if (!popup)
        return;
    // Forgotten first: its report of the dismissal then changes nothing.
    m_popup = nullptr;
    MTBxItem* const item = popup->item();
    popup->dismissPopup(false);
    m_pointer.setClosedItem(item);
}

void QmtbWindowPopup::dismissPopup()
{
    if (PopupWidget* const popup = std::exchange(m_popup, nullptr))
        popup->dismissPopup(false);
}

// Qt on X11 consumes the press that closes a popup. One that fell on this
// toolbar is replayed here at once, so that it works as a press on the
// toolbar: on another item its release clicks that item, on the popup's own
// item it clicks nothing. Its release goes to the closed popup: it is taken
// from there unless the native input has given it to the toolbar already.
// Wherever it goes, it ends what the closed popup left behind.
void QmtbWindowPopup::replayClosingPress()
{
    m_awaitingRelease = true;
    const QPoint point = QmtbCoordinates::windowPoint(m_lastPress);
    if (m_placement.paintedRegion().contains(point))
        m_pointer.pressAt(point);
}

bool QmtbWindowPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_lastPress = QtCompat::globalPoint(static_cast<QMouseEvent*>(event));
    if (event->type() != QEvent::MouseButtonRelease || !std::exchange(m_awaitingRelease, false))
        return false;
    if (!m_popup)
        qApp->removeEventFilter(this);
    // Taken here, wherever Qt would deliver it (it may not, after a popup).
    const bool handled = m_pointer.isPressed();
    const QPointer<QmtbWindowPopup> self(this);
    if (handled)
        m_deliverRelease(static_cast<QMouseEvent*>(event));
    if (self) {
        QMetaObject::invokeMethod(this, [this] {
            if (!m_popup)
                m_pointer.setClosedItem(nullptr);
        }, Qt::QueuedConnection);
    }
    return handled && (watched == &m_widget || watched == m_widget.windowHandle());
}

// Stands in for the deactivation message: the host's window losing the
// keyboard to another window closes the popup. The popup itself, or this
// window where the platform activates it on a click, taking it does not.
void QmtbWindowPopup::onFocusWindowChanged(QWindow* focusWindow)
{
    if (!m_popup || (focusWindow && (focusWindow->type() == Qt::Popup || focusWindow == m_widget.windowHandle())))
        return;
    const QWidget* host = m_widget.parentWidget() ? m_widget.parentWidget()->window() : nullptr;
    if (focusWindow && host && focusWindow == host->windowHandle())
        return;
    const NotificationGuard::Delivery delivery(m_window.guard(), nullptr);
    if (delivery.accepted())
        dismissPopup();
}

} // namespace MiniToolbars
