#include "QmtbPointerInput.h"

#include "ControllerObserver.h"
#include "ItemView.h"
#include "MTBxView.h"
#include "QmtbToolTips.h"
#include "QmtbView.h"
#include "QtCompat.h"
#include "TooltipOptions.h"

#include <QApplication>
#include <QMouseEvent>

#include <cstdlib>

namespace MiniToolbars {

QmtbPointerInput::QmtbPointerInput(QmtbView& window)
    : m_window(window)
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
    view->mousePress(static_cast<float>(m_window.toViewX(point.x())), static_cast<float>(m_window.toViewY(point.y())));
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
    if (std::abs(point.x() - m_drag.x()) + std::abs(point.y() - m_drag.y()) < QmtbView::moveThreshold)
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
    MTBxView* view = m_window.view();
    view->mouseMove(static_cast<float>(m_window.toViewX(x)), static_cast<float>(m_window.toViewY(y)));
    if (!view->hoverChanged())
        return;
    ItemView* current = view->current();
    emit m_window.hovered(current);
    if (current && !m_window.hasPopup() && IsMTBTooltipsEnabled()) {
        m_window.toolTips().startTimer();
    } else {
        m_window.toolTips().stopTimer();
        m_window.toolTips().hide();
    }
    m_window.setFadedIn(true);
    m_window.refresh();
}

void QmtbPointerInput::releaseAt(const QPoint& point, int buttons)
{
    m_pressed = false;
    // The last stretch of movement counts, without dragging.
    moveTo(point);
    if (!m_window.isShown())
        return;
    m_window.toolTips().stopTimer();
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
            view->mouseRelease(static_cast<float>(m_window.toViewX(point.x())),
                               static_cast<float>(m_window.toViewY(point.y())), m_moved, buttons);
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
    view->mouseWheel(static_cast<float>(m_window.toViewX(point.x())), static_cast<float>(m_window.toViewY(point.y())),
                     delta);
}

// Never to the window's own widgets, whose ignored events come back up here,
// and a forwarded event is not forwarded again: two toolbar windows over
// each other would hand it back and forth for good.
bool QmtbPointerInput::forwardMouseEvent(QMouseEvent* event)
{
    static bool s_forwarding = false;
    const QPoint global = QtCompat::globalPoint(event);
    QWidget* target = s_forwarding ? nullptr : QApplication::widgetAt(global);
    if (!target || target == &m_window || m_window.isAncestorOf(target))
        return false;
    QMouseEvent forwarded(event->type(), target->mapFromGlobal(global), global, event->button(), event->buttons(),
                          event->modifiers());
    s_forwarding = true;
    QCoreApplication::sendEvent(target, &forwarded);
    s_forwarding = false;
    return true;
}

} // namespace MiniToolbars
