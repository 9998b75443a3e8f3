#include "Qt/QmtbView.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/PopupWidget.h"
#include "MiniToolbars/MTBxItem.h"
#include "Platform/NativeEventFilter.h"
#include "Qt/ApplicationScoped.h"
#include "Qt/EventTypes.h"
#include "Qt/QmtbAccessibility.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbDeletion.h"
#include "Qt/QmtbFadeAnimation.h"
#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbNativeInput.h"
#include "Qt/QmtbOverlayInput.h"
#include "Qt/QmtbPanel.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbRender.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowPopup.h"
#include "Qt/QmtbWindowRegistry.h"
#include "Qt/QWinWidget.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

namespace MiniToolbars {

using namespace QmtbCoordinates;

namespace {

// Some item on the toolbar fades with it.
bool drawsFadingItems(const MTBxView& view)
{
    for (int i = 0; i < view.itemViewCount(); ++i) {
        const ItemView* itemView = view.itemViewAt(i);
        if (itemView && itemView->item() && itemView->item()->autoHide())
            return true;
    }
    return false;
}

} // namespace

// Either a top-level tool window, so that it can lie anywhere over the host's
// window and beyond it (its parent widget stands for the host's window and
// makes that window its transient parent, QWinWidget::attach, which keeps it
// above the host), or an overlay: a child of the host's top-level window,
// raised above the host's widgets. A press on a toolbar must leave the
// keyboard with the host: the window never takes focus or activation.
QmtbView::QmtbView(MTBxView* view, QWinWidget* host, QWidget* overlayParent)
    : QWidget(overlayParent ? overlayParent : host,
              overlayParent ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_renderer(std::make_unique<QmtbRender>())
    , m_view(view)
    , m_host(host)
    , m_overlay(overlayParent != nullptr)
{
    QmtbAccessibility::install();
    if (m_overlay) {
        m_renderer->setClearsBeneath(false);
        setFocusPolicy(Qt::NoFocus);
        QmtbOverlayInput::watch(this);
        // A host may destroy its window from inside one of this overlay's own
        // deliveries, whose code is still on the stack. Qt announces the
        // window's end before it deletes its children: the overlay waits,
        // hidden and outside the window, until it can go.
        connect(overlayParent, &QObject::destroyed, this, [this] {
            if (!guard().isDelivering())
                return;
            hide();
            setParent(&applicationScoped<QWidget>());
            QmtbDeletion::deleteLater(this);
        });
    } else {
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
    }
    setWindowTitle(tr("MiniToolbar"));
    setObjectName(QStringLiteral("mtbWindow"));
    setMouseTracking(true);
    QPalette palette;
    palette.setColor(QPalette::Text, Qt::darkBlue);
    setPalette(palette);
    m_placement = std::make_unique<QmtbPlacement>(*this, *this, *m_renderer);
    m_fade = std::make_unique<QmtbAutoFade>(*this, *this);
    m_toolTips = std::make_unique<QmtbToolTips>(*this, *this);
    m_pointer = std::make_unique<QmtbPointerInput>(*this, *this, *m_placement, *m_toolTips, *m_fade);
    m_popups = std::make_unique<QmtbWindowPopup>(*this, *this, *m_placement, *m_pointer, *m_toolTips,
                                                 [this](QMouseEvent* event) { QmtbView::event(event); });
    connect(m_fade.get(), &QmtbAutoFade::redraw, this, &QmtbView::onFadeRedraw);
    connect(m_fade.get(), &QmtbAutoFade::finished, this, &QmtbView::onFadeFinished);
    connect(m_pointer.get(), &QmtbPointerInput::hovered, this, &QmtbView::hovered);
    // Small and shaped from the start, not even before the first layout a
    // window that takes the host's clicks.
    m_placement->sync();
}

QmtbView::~QmtbView()
{
    // Deleted with the host's window an overlay lies in, not by its view.
    MTBxView* const view = m_released ? nullptr : m_view;
    detachFromView();
    if (view)
        view->forgetWindow();
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
    m_popups->forget();
    for (QObject* child : children()) {
        if (dynamic_cast<PopupWidget*>(child) && child->isWidgetType()) {
            static_cast<QWidget*>(child)->hide();
            static_cast<QWidget*>(child)->setParent(nullptr);
        }
    }
}

void QmtbView::release()
{
    m_released = true;
    if (!QmtbDeletion::mustWait()) {
        delete this;
        return;
    }
    detachFromView();
    QmtbDeletion::deleteLater(this);
}

void QmtbView::showAt(const Point& position, bool deferred)
{
    m_placement->setOriginFromScreen(position);
    if (!m_shown) {
        m_fade->stopAnimation();
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
        if (m_host && !m_overlay)
            m_host->attach(this);
        // Showing may activate the window, and a focus callback may close or
        // destroy the toolbar while Qt is still at it.
        show();
        if (!m_view)
            return;
    }
    // Above the host's widgets, those added since included.
    if (m_overlay)
        raise();

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
        m_fade->setFadedIn(true);
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
        m_fadedNotifyPending = false;
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
    m_placement->keepInsideParent();
    if (isVisible()) {
        m_view->setShown(true);
        refresh();
    }
    guard().setInRelayout(false);
}

void QmtbView::moveOrigin(int x, int y, bool relative)
{
    m_toolTips->hide();
    if (m_placement->moveOrigin(x, y, relative))
        refresh();
}

bool QmtbView::hasPopup() const
{
    return m_popups->popup() != nullptr;
}

void QmtbView::closePopup()
{
    m_popups->closePopup();
}

void QmtbView::getOrigin(int& x, int& y) const
{
    x = m_placement->origin().x();
    y = m_placement->origin().y();
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
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_fade->animation()))
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
        m_toolTips->stopTimer();
        m_fade->stopAnimation();
        m_toolTips->hide();
        hide();
        m_popups->dismissPopup();
    } else {
        const QPoint screen = m_placement->screenOrigin();
        showAt(Point(screen.x(), screen.y()), false);
    }
    m_view->setShown(!suspended);
}

void QmtbView::hideToolbar()
{
    m_toolTips->stopTimer();
    m_showPending = false;
    if (!m_fade->isAnimating()) {
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
    if (PopupWidget* const popup = m_popups->popup()) {
        m_popups->forget();
        popup->hidePopup();
    }
    m_retired = true;
    m_shown = false;
    QmtbWindowRegistry::remove(this);
    m_toolTips->stopTimer();
    m_fade->stopAnimation();
    m_toolTips->hide();
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

double QmtbView::currentOpacity() const
{
    return m_fade->currentOpacity();
}

bool QmtbView::autoHidingItemsHidden() const
{
    return m_fade->autoHidingItemsHidden();
}

void QmtbView::updateFadeLock()
{
    m_fade->applyFadeLock();
    refresh();
}

void QmtbView::fadeIn()
{
    m_fade->setFadedIn(true);
}

void QmtbView::onFadeRedraw(QRect region)
{
    if (!isVisible())
        return;
    repaint(m_placement->toLocal(region.isEmpty() ? m_placement->paintedRegion() : QRegion(region)));
}

void QmtbView::onFadeFinished()
{
    if (m_destroying || m_fade->isAnimating())
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

// The host hears once per pass of the event loop that the toolbar rests faded.
void QmtbView::postFadedNotify()
{
    if (m_fadedNotifyPending)
        return;
    m_fadedNotifyPending = true;
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(EventTypes::fadedNotify())));
}

// Painting

void QmtbView::setSolidLook(bool solid)
{
    if (solid == m_renderer->isSolid())
        return;
    m_renderer->setSolid(solid);
    refresh();
}

void QmtbView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    m_renderer->setPainter(&painter);
    // The renderer sets the pens and hints of whatever it draws.
    if (m_shown) {
        const QRect clip = QmtbWindowRegistry::parentClipRect();
        if (!clip.isEmpty())
            painter.setClipRect(clip.translated(-m_placement->windowOffset()), Qt::ReplaceClip);
        if (m_renderer->isSolid())
            m_renderer->drawPanel(m_placement->panelRect().translated(-m_placement->windowOffset()),
                                  QmtbPanel::opacity(*m_view, currentOpacity()));
        m_view->draw(m_renderer.get(), true);
        QmtbKeyboard::instance().paintFocusRing(this, painter);
        if (m_fade->restsFaded() && drawsFadingItems(*m_view))
            postFadedNotify();
    }
    painter.end();
    m_renderer->setPainter(nullptr);
    event->accept();
}

// Pointer. Every entry from the event loop counts as a delivery, so that a
// toolbar closed or destroyed by any callback on this stack (the window's own,
// or another window's that a forwarded event reached) keeps its window until
// the handler has returned.
bool QmtbView::event(QEvent* event)
{
    // A disabled window (the host's, under a modal dialog) leaves them to Qt, which drops them.
    if (!QmtbPointerInput::isPointerEvent(event->type()) || !isEnabled())
        return QWidget::event(event);
    {
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (delivery.accepted()) {
            m_pointer->widgetEvent(event, !m_synthetic);
            Observer* const watcher = observer();
            if (event->type() == QEvent::Wheel && watcher && m_view)
                watcher->wheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
        }
    }
    // An unused wheel turn goes on to the widgets beneath an overlay.
    if (event->type() == QEvent::Wheel || event->type() == QEvent::Leave)
        return QWidget::event(event);
    return true;
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
    return QmtbNativeInput::windowMessage(*this, message);
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

} // namespace MiniToolbars
