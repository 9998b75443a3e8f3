#include "Qt/QmtbPointerInput.h"

#include "Compat/QtCompat.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/TooltipOptions.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbToolTips.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <cstdlib>

namespace MiniToolbars {

QmtbPointerInput::QmtbPointerInput(ToolbarWindow& window, QWidget& widget, QmtbPlacement& placement,
                                   QmtbToolTips& toolTips, QmtbAutoFade& fade)
    : m_window(window)
    , m_widget(widget)
    , m_placement(placement)
    , m_toolTips(toolTips)
    , m_fade(fade)
{
}

void QmtbPointerInput::resetPoints(const QPoint& origin)
{
    m_hover = origin;
    m_drag = origin;
}

void QmtbPointerInput::pressAt(const QPoint& point)
{
    MTBxView* view = m_window.view();
    if (!view->shown())
        return;
    m_window.closePopup();
    m_pressed = true;
    m_moved = false;
    view->mousePress(static_cast<float>(m_placement.toViewX(point.x())), static_cast<float>(m_placement.toViewY(point.y())));
    m_window.refresh();
}

void QmtbPointerInput::setClosedItem(MTBxItem* item)
{
    m_closedItem = item;
    m_suppressDrag = item != nullptr;
}

void QmtbPointerInput::moveTo(const QPoint& point)
{
    if (!m_window.isShown())
        return;
    if (std::abs(point.x() - m_drag.x()) + std::abs(point.y() - m_drag.y()) < moveThreshold)
        return;
    if (m_pressed && !m_window.hasPopup() && !m_suppressDrag) {
        m_moved = true;
        int dx = point.x() - m_drag.x();
        int dy = point.y() - m_drag.y();
        if (ControllerObserver* observer = m_window.view()->observer()) {
            const NotificationGuard::Delivery delivery(m_window.guard(), nullptr);
            if (!delivery.accepted())
                return;
            observer->mtbMoved(dx, dy);
        }
        // The observer may have closed or destroyed the toolbar.
        if (!m_window.isShown())
            return;
        m_window.moveOrigin(dx, dy, true);
        if (!m_window.isShown())
            return;
    }
    handleHover(point.x(), point.y());
    m_drag = point;
}

void QmtbPointerInput::handleHover(int x, int y)
{
    m_hover = QPoint(x, y);
    m_toolTips.setPointer(m_hover + QmtbCoordinates::desktopGeometry().topLeft());
    MTBxView* view = m_window.view();
    view->mouseMove(static_cast<float>(m_placement.toViewX(x)), static_cast<float>(m_placement.toViewY(y)));
    if (!view->hoverChanged())
        return;
    ItemView* current = view->current();
    Q_EMIT hovered(current);
    if (current && !m_window.hasPopup() && IsMTBTooltipsEnabled()) {
        m_toolTips.startTimer();
    } else {
        m_toolTips.stopTimer();
        m_toolTips.hide();
    }
    m_fade.setFadedIn(true);
    m_window.refresh();
}

void QmtbPointerInput::releaseAt(const QPoint& point, int buttons)
{
    m_pressed = false;
    // The last stretch of movement counts, without dragging.
    moveTo(point);
    if (!m_window.isShown())
        return;
    m_toolTips.stopTimer();
    MTBxView* view = m_window.view();
    if (view->shown()) {
        ItemView* current = view->current();
        const bool closedByPress = m_closedItem && current && current->item() == m_closedItem;
        if (closedByPress) {
            // The press that closed the item's popup ends without a click;
            // left pressed, the item would be clicked by the next release
            // that reaches the toolbar, wherever its press was.
            current->setState(Normal);
            current->setPressedSubArea(false);
        } else {
            view->mouseRelease(static_cast<float>(m_placement.toViewX(point.x())),
                               static_cast<float>(m_placement.toViewY(point.y())), m_moved, buttons);
        }
        m_window.refresh();
    }
    m_moved = false;
    m_closedItem = nullptr;
    m_suppressDrag = false;
}

void QmtbPointerInput::wheelAt(const QPoint& point, int delta)
{
    MTBxView* view = m_window.view();
    if (!view->shown())
        return;
    view->mouseWheel(static_cast<float>(m_placement.toViewX(point.x())), static_cast<float>(m_placement.toViewY(point.y())),
                     delta);
}

bool QmtbPointerInput::isPointerEvent(int type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove
        || type == QEvent::MouseButtonRelease || type == QEvent::Wheel || type == QEvent::Leave;
}

// Window points come from global positions, so they do not depend on where
// the window itself is. Leaving carries no position: the cursor's serves as
// one more move.
void QmtbPointerInput::widgetEvent(QEvent* event, bool forward)
{
    const int type = event->type();
    if (type == QEvent::Leave) {
        moveTo(QmtbCoordinates::windowPoint(QCursor::pos()));
    } else if (type == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        wheelAt(QmtbCoordinates::windowPoint(QtCompat::globalPoint(wheel)), wheel->angleDelta().y() / 8);
    } else {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = QmtbCoordinates::windowPoint(QtCompat::globalPoint(mouse));
        // A second press soon after a click comes as a double click.
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            pressAt(point);
            return;
        }
        event->accept();
        if (forward)
            forwardMouseEvent(mouse);
        if (type == QEvent::MouseMove)
            moveTo(point);
        else
            releaseAt(point, static_cast<int>(mouse->modifiers()) | static_cast<int>(mouse->button())
                                 | static_cast<int>(mouse->buttons()));
    }
}

// Never to the window's own widgets, whose ignored events come back up here,
// and a forwarded event is not forwarded again: two toolbar windows over
// each other would hand it back and forth for good.
bool QmtbPointerInput::forwardMouseEvent(QMouseEvent* event)
{
    static bool s_forwarding = false;
    const QPoint global = QtCompat::globalPoint(event);
    QWidget* target = s_forwarding ? nullptr : QApplication::widgetAt(global);
    if (!target || target == &m_widget || m_widget.isAncestorOf(target))
        return false;
    QMouseEvent forwarded(event->type(), target->mapFromGlobal(global), global, event->button(), event->buttons(),
                          event->modifiers());
    s_forwarding = true;
    QCoreApplication::sendEvent(target, &forwarded);
    s_forwarding = false;
    return true;
}

} // namespace MiniToolbars
