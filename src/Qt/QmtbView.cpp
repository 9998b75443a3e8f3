#include "Qt/QmtbView.h"

#include "Qt/EventTypes.h"
#include "Core/Backend.h"
#include "Core/MTBxView.h"
#include "Platform/NativeEventFilter.h"
#include "Core/PopupWidget.h"
#include "Qt/QmtbNativeInput.h"
#include "Qt/QWinWidget.h"
#include "Qt/QmtbAccessibility.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbDeletion.h"
#include "Qt/QmtbFadeAnimation.h"
#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbRender.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowRegistry.h"
#include "Compat/QtCompat.h"
#include "Core/Style.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>
#include <QWindow>

#include <utility>

namespace MiniToolbars {

using namespace QmtbCoordinates;

// A top-level tool window, so that it can lie anywhere over the host's window
// and beyond it; its parent widget stands for the host's window and makes
// that window its transient parent (QWinWidget::attach), which keeps it above
// the host. A press on a toolbar must leave the keyboard with the host: the
// window never takes focus or activation.
QmtbView::QmtbView(MTBxView* view, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_renderer(std::make_unique<QmtbRender>())
    , m_view(view)
    , m_host(qobject_cast<QWinWidget*>(parent))
{
    QmtbAccessibility::install();
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(tr("MiniToolbar"));
    setObjectName(QStringLiteral("mtbWindow"));
    setMouseTracking(true);
    QPalette palette;
    palette.setColor(QPalette::Text, Qt::darkBlue);
    setPalette(palette);
    m_fade = std::make_unique<QmtbAutoFade>(*this);
    m_pointer = std::make_unique<QmtbPointerInput>(*this);
    m_toolTips = std::make_unique<QmtbToolTips>(*this);
    m_placement = std::make_unique<QmtbPlacement>(*this, *m_renderer);
    // Small and shaped from the start, not even before the first layout a
    // window that takes the host's clicks.
    m_placement->sync();
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &QmtbView::onFocusWindowChanged);
}

QmtbView::~QmtbView()
{
    detachFromView();
}

// What the window lets go of when its view goes, whether it is deleted now or
// only once Qt is done dispatching to it: nothing reaches the view any more.
void QmtbView::detachFromView()
{
    if (m_destroying)
        return;
    QmtbAccessibility::forget(this);
    QmtbKeyboard::forget(this);
    m_destroying = true;
    guard().detach();
    releaseNativeFilter();
    retire();
    m_view = nullptr;
    // Popups belong to their items, which may outlive this window.
    m_popup = nullptr;
    for (QObject* child : children()) {
        if (dynamic_cast<PopupWidget*>(child) && child->isWidgetType()) {
            static_cast<QWidget*>(child)->hide();
            static_cast<QWidget*>(child)->setParent(nullptr);
        }
    }
}

void QmtbView::release()
{
    if (!QmtbDeletion::mustWait()) {
        delete this;
        return;
    }
    detachFromView();
    deleteLater();
}

QRect QmtbView::desktopGeometry()
{
    return QmtbCoordinates::desktopGeometry();
}

bool QmtbView::isNativeFilterInstalled()
{
    return NativeEventFilter::instance().isInstalled();
}

QList<QmtbView*> QmtbView::visibleWindows()
{
    return QmtbWindowRegistry::visibleWindows();
}

QList<QmtbView*> QmtbView::suspendedWindows()
{
    return QmtbWindowRegistry::suspendedWindows();
}

QRect QmtbView::parentClipRect()
{
    return QmtbWindowRegistry::parentClipRect();
}

void QmtbView::showAt(const Point& position, bool deferred)
{
    m_placement->setOriginFromScreen(position);
    if (!m_shown) {
        stopAnimation();
        NativeEventFilter::instance().install();
        QmtbNativeInput::attach();
        m_pointer->resetPoints(m_placement->origin());
        m_shown = true;
    }
    m_suspended = false;
    QmtbWindowRegistry::makeVisible(this);

    // Shown where the toolbar is, before a layout that may still be pending.
    refresh();
    if (!isVisible()) {
        if (m_host)
            m_host->attach(this);
        // Showing may activate the window, and a focus callback may close or
        // destroy the toolbar while Qt is still at it.
        show();
        if (!m_view)
            return;
    }

    if (deferred) {
        if (m_showPending)
            return;
        m_showPending = true;
        m_relayoutPending = false;
        QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(EventTypes::deferredShow())));
        return;
    }
    showWork();
}

void QmtbView::showWork()
{
    if (!m_view)
        return;
    m_view->setLayoutDirty(true);
    relayout(false);
    if (isVisible())
        setFadedIn(true);
    // The origin may have moved without a relayout.
    refresh();
}

void QmtbView::scheduleRelayout()
{
    if (m_showPending || m_relayoutPending)
        return;
    m_relayoutPending = true;
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(EventTypes::relayout())));
}

void QmtbView::customEvent(QEvent* event)
{
    const int type = event->type();
    if (type != EventTypes::deferredShow() && type != EventTypes::relayout()
        && type != EventTypes::fadedNotify()) {
        QWidget::customEvent(event);
        return;
    }
    // The items of a toolbar destroyed during a delivery wait, with this
    // window, for deletion: they are neither laid out nor reported any more.
    if (m_retired)
        return;
    // Showing and laying out reach the host only through the observer, which
    // is a delivery of its own. Counting them as one would keep the item views
    // that the relayout drops waiting for a later delivery.
    if (type == EventTypes::deferredShow()) {
        if (m_showPending) {
            m_showPending = false;
            showWork();
        }
    } else if (type == EventTypes::relayout()) {
        if (m_relayoutPending) {
            m_relayoutPending = false;
            relayout(false);
        }
    } else {
        m_fade->fadedNotifyDelivered();
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (delivery.accepted())
            m_view->notifyFaded();
    }
}

void QmtbView::relayout(bool force)
{
    if (m_showPending || m_relayoutPending || !m_view)
        return;
    if (!force && !m_view->layoutDirty())
        return;
    guard().setInRelayout(true);
    m_view->rebuild(force);
    keepInsideParent();
    if (isVisible()) {
        m_view->setShown(true);
        refresh();
    }
    guard().setInRelayout(false);
}

void QmtbView::keepInsideParent()
{
    m_placement->keepInsideParent();
}

void QmtbView::moveOrigin(int x, int y, bool relative)
{
    hideToolTip();
    if (m_placement->moveOrigin(x, y, relative))
        refresh();
}

void QmtbView::getOrigin(int& x, int& y) const
{
    x = m_placement->origin().x();
    y = m_placement->origin().y();
}

void QmtbView::moveAll(int dx, int dy)
{
    QmtbWindowRegistry::forEachVisible([=](QmtbView* window) { window->moveOrigin(dx, dy, true); });
}

void QmtbView::setParentClip(int x, int y, int width, int height)
{
    if (!QCoreApplication::instance())
        return;
    QmtbWindowRegistry::setParentClipRect(QRect(QmtbCoordinates::windowPoint(x, y),
                                                QSize(clampCoordinate(width), clampCoordinate(height))));
    QmtbWindowRegistry::forEachVisible([](QmtbView* window) {
        window->keepInsideParent();
        window->refresh();
    });
}

bool QmtbView::hasPopup() const
{
    return m_popup != nullptr;
}

void QmtbView::setPopup(PopupWidget* popup)
{
    if (m_popup && m_popup != popup)
        dismissPopup();
    m_popup = popup;
    // Watches the presses and releases that may close it (see replayClosingPress).
    qApp->installEventFilter(this);
    stopToolTipTimer();
    hideToolTip();
}

void QmtbView::popupClosed(PopupWidget* popup, bool completed)
{
    if (!popup)
        return;
    if (popup == m_popup) {
        m_popup = nullptr;
        // Only a dismissal by a press leaves a release to come, which must not
        // open the popup again. After Escape or a deactivation the next click
        // on the same item is a click.
        const bool pressing = !completed && QGuiApplication::mouseButtons() != Qt::NoButton;
        m_pointer->setClosedItem(pressing ? popup->item() : nullptr);
        if (pressing)
            replayClosingPress();
        else if (!m_awaitingRelease)
            qApp->removeEventFilter(this);
    } else if (completed && m_pointer->closedItem() == popup->item()) {
        m_pointer->setClosedItem(nullptr);
    }
}

void QmtbView::closePopup()
{
    PopupWidget* const popup = m_popup;
    if (!popup)
        return;
    // Forgotten first: its report of the dismissal then changes nothing.
    m_popup = nullptr;
    MTBxItem* const item = popup->item();
    popup->dismissPopup(false);
    m_pointer->setClosedItem(item);
}

void QmtbView::dismissPopup()
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
void QmtbView::replayClosingPress()
{
    m_awaitingRelease = true;
    const QPoint point = windowPoint(m_lastPress);
    if (paintedRegion().contains(point))
        pressAt(point);
}

bool QmtbView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress)
        m_lastPress = static_cast<QMouseEvent*>(event)->globalPos();
    if (event->type() != QEvent::MouseButtonRelease || !std::exchange(m_awaitingRelease, false))
        return QWidget::eventFilter(watched, event);
    if (!m_popup)
        qApp->removeEventFilter(this);
    // Taken here, wherever Qt would deliver it (it may not, after a popup).
    const bool handled = isPressed();
    const QPointer<QmtbView> self(this);
    if (handled)
        mouseReleaseEvent(static_cast<QMouseEvent*>(event));
    if (self) {
        QMetaObject::invokeMethod(this, [this] {
            if (!m_popup)
                m_pointer->setClosedItem(nullptr);
        }, Qt::QueuedConnection);
    }
    return handled && (watched == this || watched == windowHandle());
}

MTBxItem* QmtbView::closedItem() const
{
    return m_pointer->closedItem();
}

QPoint QmtbView::toScreen(const Point& point) const
{
    const QPointF window = m_renderer->toWindowPoint(point.x(), point.y()) + windowOffset();
    const QPoint desktop = QmtbCoordinates::desktopGeometry().topLeft();
    return QPoint(clampCoordinate(qint64(window.x()) + desktop.x()), clampCoordinate(qint64(window.y()) + desktop.y()));
}

// Stands in for the deactivation message: the host's window losing the
// keyboard to another window closes the popup. The popup itself, or this
// window where the platform activates it on a click, taking it does not.
void QmtbView::onFocusWindowChanged(QWindow* focusWindow)
{
    if (!m_popup || (focusWindow && (focusWindow->type() == Qt::Popup || focusWindow == windowHandle())))
        return;
    const QWidget* host = parentWidget() ? parentWidget()->window() : nullptr;
    if (focusWindow && host && focusWindow == host->windowHandle())
        return;
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (delivery.accepted())
        dismissPopup();
}

QRegion QmtbView::paintedRegion() const
{
    return m_placement->paintedRegion();
}

QPoint QmtbView::windowOffset() const
{
    return m_placement->windowOffset();
}

QPoint QmtbView::toLocal(const QPoint& windowPoint) const
{
    return m_placement->toLocal(windowPoint);
}

double QmtbView::toViewX(int x) const
{
    return m_placement->toViewX(x);
}

double QmtbView::toViewY(int y) const
{
    return m_placement->toViewY(y);
}

void QmtbView::refresh()
{
    if (m_destroying || !m_placement)
        return;
    const bool placed = m_placement->sync();
    const QRegion painted = m_placement->toLocal(m_placement->paintedRegion());
    // A window that moved or resized is repainted whole, and it is small.
    const QRegion dirty = placed ? QRegion(rect()) : painted + m_lastPainted;
    m_lastPainted = painted;
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(animation()))
        fade->setRedrawRegion(painted);
    if (isVisible())
        update(dirty);
    QmtbAccessibility::refreshed(this);
}

void QmtbView::setSuspended(bool suspended)
{
    if (suspended == m_suspended)
        return;
    m_suspended = suspended;
    if (suspended) {
        QmtbWindowRegistry::makeSuspended(this);
        stopToolTipTimer();
        stopAnimation();
        hideToolTip();
        hide();
        dismissPopup();
    } else {
        const QPoint screen = m_placement->screenOrigin();
        showAt(Point(screen.x(), screen.y()), false);
    }
    m_view->setShown(!suspended);
}

void QmtbView::hideToolbar()
{
    stopToolTipTimer();
    m_showPending = false;
    if (!isAnimating()) {
        releaseNativeFilter();
        if (isVisible())
            repaint(m_lastPainted);
    }
    m_shown = false;
    setSuspended(true);
}

void QmtbView::retire()
{
    // The popup's owner deletes it; it only has to leave the screen with the toolbar.
    if (PopupWidget* const popup = std::exchange(m_popup, nullptr))
        popup->hidePopup();
    m_retired = true;
    m_shown = false;
    QmtbWindowRegistry::remove(this);
    stopToolTipTimer();
    stopAnimation();
    hideToolTip();
    hide();
}

void QmtbView::releaseNativeFilter()
{
    // The filter serves every visible toolbar: it goes when none is left.
    for (const QmtbView* window : QmtbWindowRegistry::visibleWindows()) {
        if (window != this && window->m_shown)
            return;
    }
    NativeEventFilter::instance().remove();
}

// Auto fade

bool QmtbView::takesPartInAutoFade() const
{
    return m_fade->takesPartInAutoFade();
}

bool QmtbView::isFadeLocked()
{
    return m_fade->isFadeLocked();
}

bool QmtbView::autoHidingItemsHidden() const
{
    return m_fade->autoHidingItemsHidden();
}

void QmtbView::updateFadeLock()
{
    m_fade->isFadeLocked();
    refresh();
}

void QmtbView::setFadedIn(bool fadedIn)
{
    m_fade->setFadedIn(fadedIn);
}

bool QmtbView::isFadedIn() const
{
    return m_fade->isFadedIn();
}

double QmtbView::currentOpacity()
{
    return m_fade->currentOpacity();
}

void QmtbView::updateFade(int x, int y)
{
    m_fade->updateFade(x, y);
}

void QmtbView::fadeAll(int x, int y)
{
    // The origins are desktop-relative; so must the pointer be.
    const QPoint point = QmtbCoordinates::windowPoint(x, y);
    QmtbWindowRegistry::forEachVisible([=](QmtbView* window) {
        if (window->m_view && window->takesPartInAutoFade())
            window->updateFade(point.x(), point.y());
    });
}

// Animations

void QmtbView::startAnimation(QmtbAnimation* animation)
{
    m_fade->startAnimation(animation);
}

void QmtbView::stopAnimation()
{
    m_fade->stopAnimation();
}

bool QmtbView::isAnimating() const
{
    return m_fade->isAnimating();
}

QmtbAnimation* QmtbView::animation() const
{
    return m_fade->animation();
}

void QmtbView::onAnimationRedraw(QRect region)
{
    if (!isVisible())
        return;
    repaint(m_placement->toLocal(region.isEmpty() ? paintedRegion() : QRegion(region)));
}

void QmtbView::onAnimationFinished(QmtbAnimation* animation)
{
    m_fade->animationFinished(animation);
    if (m_destroying || isAnimating())
        return;
    if (m_shown) {
        // A fade that ended at opacity 0 takes those items out of the window.
        refresh();
        return;
    }
    releaseNativeFilter();
    if (isVisible())
        repaint(m_lastPainted);
    hide();
}

// Painting

void QmtbView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    m_renderer->setPainter(&painter);
    // The renderer sets the pens and hints of whatever it draws.
    if (m_shown) {
        const QRect clip = QmtbWindowRegistry::parentClipRect();
        if (!clip.isEmpty())
            painter.setClipRect(clip.translated(-windowOffset()), Qt::ReplaceClip);
        m_view->draw(m_renderer.get(), true);
        QmtbKeyboard::instance().paintFocusRing(this, painter);
    }
    painter.end();
    m_renderer->setPainter(nullptr);
    event->accept();
}

// Pointer. Every entry from the event loop counts as a delivery, so that a
// toolbar closed or destroyed by any callback on this stack (the window's own,
// or another window's that a forwarded event reached) keeps its window until
// the handler has returned. Window points come from global positions, so they
// do not depend on where the window itself is.

void QmtbView::mousePressEvent(QMouseEvent* event)
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (delivery.accepted())
        pressAt(windowPoint(QtCompat::globalPoint(event)));
}

void QmtbView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    if (!m_synthetic)
        forwardMouseEvent(event);
    moveTo(windowPoint(QtCompat::globalPoint(event)));
}

void QmtbView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    if (!m_synthetic)
        forwardMouseEvent(event);
    const int buttons = static_cast<int>(event->modifiers()) | static_cast<int>(event->button())
        | static_cast<int>(event->buttons());
    releaseAt(windowPoint(QtCompat::globalPoint(event)), buttons);
}

void QmtbView::wheelEvent(QWheelEvent* event)
{
    {
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (delivery.accepted()) {
            wheelAt(windowPoint(QtCompat::globalPoint(event)), event->angleDelta().y() / 8);
            if (Observer* watcher = observer(); watcher && m_view)
                watcher->wheelTurned(event->angleDelta().y());
        }
    }
    QWidget::wheelEvent(event);
}

void QmtbView::leaveEvent(QEvent* event)
{
    {
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        // Leaving carries no position; the cursor's serves as one more move.
        if (delivery.accepted())
            moveTo(windowPoint(QCursor::pos()));
    }
    QWidget::leaveEvent(event);
}

bool QmtbView::nativeEvent(const QByteArray& eventType, void* message, QtCompat::NativeEventResult* result)
{
    const std::optional<NativeMessage> record = NativeEventFilter::instance().toMessage(eventType, message);
    if (record && winEvent(*record))
        return true;
    return QWidget::nativeEvent(eventType, message, result);
}

// Presses need nothing here: the window's shape hands every press outside
// what the toolbar paints to the window beneath it.
bool QmtbView::winEvent(const NativeMessage& message)
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return false;
    if (message.message == WM_KEYDOWN)
        m_view->keyDown(message.wParam, message.lParam);
    else if (message.message == WM_KEYUP)
        m_view->keyUp(message.wParam, message.lParam);
    else
        QmtbNativeInput::shareOut(message, this);
    return false;
}

void QmtbView::deliverPointer(QEvent::Type type, const QPoint& screenPoint, Qt::MouseButton button,
                              Qt::MouseButtons buttons)
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    QMouseEvent event(type, mapFromGlobal(screenPoint), screenPoint, button, buttons, Qt::NoModifier);
    const bool synthetic = m_synthetic;
    m_synthetic = true;
    QCoreApplication::sendEvent(this, &event);
    m_synthetic = synthetic;
}

void QmtbView::pressAt(const QPoint& point)
{
    m_pointer->pressAt(point);
}

void QmtbView::moveTo(const QPoint& point)
{
    m_pointer->moveTo(point);
}

void QmtbView::releaseAt(const QPoint& point, int buttons)
{
    m_pointer->releaseAt(point, buttons);
}

void QmtbView::wheelAt(const QPoint& point, int delta)
{
    m_pointer->wheelAt(point, delta);
}

void QmtbView::handleHover(int x, int y)
{
    m_pointer->handleHover(x, y);
}

bool QmtbView::forwardMouseEvent(QMouseEvent* event)
{
    return m_pointer->forwardMouseEvent(event);
}

bool QmtbView::isPressed() const
{
    return m_pointer->isPressed();
}

bool QmtbView::hasMoved() const
{
    return m_pointer->hasMoved();
}

// Tooltips

void QmtbView::showToolTipTimeout()
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (delivery.accepted())
        m_toolTips->showCurrent();
}

void QmtbView::hideToolTip()
{
    m_toolTips->hide();
}

void QmtbView::stopToolTipTimer()
{
    m_toolTips->stopTimer();
}

bool QmtbView::isToolTipVisible() const
{
    return m_toolTips->isVisible();
}

bool QmtbView::isToolTipTimerActive() const
{
    return m_toolTips->isTimerActive();
}

int QmtbView::toolTipTimerInterval() const
{
    return m_toolTips->timerInterval();
}

} // namespace MiniToolbars
