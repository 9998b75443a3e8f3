#include "QmtbView.h"

#include "ControllerObserver.h"
#include "EventTypes.h"
#include "Factories.h"
#include "ItemView.h"
#include "MTBxFlowLayout.h"
#include "MTBxItem.h"
#include "MTBxView.h"
#include "MiniToolbar.h"
#include "NativeEventFilter.h"
#include "QWinWidget.h"
#include "QmtbFadeAnimation.h"
#include "QmtbRender.h"
#include "QtCompat.h"
#include "Style.h"
#include "TooltipOptions.h"
#include "WindowMask.h"

#include <QApplication>
#include <QChildEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace MiniToolbars {

namespace {

QList<QmtbView*> s_visibleWindows;
QList<QmtbView*> s_suspendedWindows;
QRect s_parentClipRect;

void addTo(QList<QmtbView*>& list, QmtbView* window)
{
    if (!list.contains(window))
        list.append(window);
}

QColor toColor(const ThemeColor& c)
{
    return QColor(c.red, c.green, c.blue, c.alpha);
}

// Origins, parent bounds and toolbar extents are held within this, far beyond
// any desktop: sums and differences of a few of them always fit in an int.
constexpr int coordinateLimit = 1 << 28;

int clampCoordinate(qint64 value)
{
    return static_cast<int>(std::clamp<qint64>(value, -coordinateLimit, coordinateLimit));
}

double clampCoordinateF(double value, double limit = coordinateLimit)
{
    return std::isfinite(value) ? std::clamp(value, -limit, limit) : 0.0;
}

// Window rectangle of a layout rectangle given as top, left, bottom, right.
// Its edges are an origin plus a toolbar extent, each within the limit.
QRectF toWindowRect(int originX, int originY, float top, float left, float bottom, float right)
{
    const auto edge = [](double value) { return clampCoordinateF(value, 4.0 * coordinateLimit); };
    return QRectF(QPointF(edge(originX + double(left)), edge(originY - double(top))),
                  QPointF(edge(originX + double(right)), edge(originY - double(bottom))));
}

bool isFinite(float a, float b, float c, float d)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

} // namespace

QmtbView::QmtbView(MTBxView* view, QWidget* parent)
    // A press on a toolbar must leave the keyboard with the host: the window
    // never takes focus or activation.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_view(view)
    , m_host(qobject_cast<QWinWidget*>(parent))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_renderer.reset(static_cast<QmtbRender*>(createRender()));
    setWindowTitle(tr("MiniToolbar"));
    setObjectName(QStringLiteral("mtbWindow"));
    connect(&m_tooltipTimer, &QTimer::timeout, this, &QmtbView::showToolTipTimeout);
    m_tooltipTimer.setSingleShot(true);
    setMouseTracking(true);
    QPalette palette;
    palette.setColor(QPalette::Text, Qt::darkBlue);
    setPalette(palette);
    // Never a full-desktop window that takes every click, not even before the
    // first layout.
    applyWindowMask(this, paintedRegion());
}

QmtbView::~QmtbView()
{
    m_destroying = true;
    releaseNativeFilter();
    retire();
    delete m_animation;
    m_animation = nullptr;
}

QRect QmtbView::desktopGeometry()
{
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->virtualGeometry();
    return QRect();
}

bool QmtbView::isNativeFilterInstalled()
{
    return NativeEventFilter::instance().isInstalled();
}

QList<QmtbView*> QmtbView::visibleWindows()
{
    return s_visibleWindows;
}

QList<QmtbView*> QmtbView::suspendedWindows()
{
    return s_suspendedWindows;
}

QRect QmtbView::parentClipRect()
{
    return s_parentClipRect;
}

void QmtbView::showAt(const Point& position, bool deferred)
{
    const QRect desktop = desktopGeometry();
    const double x = std::isfinite(position.x()) ? std::trunc(position.x()) : 0.0;
    const double y = std::isfinite(position.y()) ? std::trunc(position.y()) : 0.0;
    m_originX = static_cast<int>(clampCoordinateF(x - desktop.left()));
    m_originY = static_cast<int>(clampCoordinateF(y - desktop.top()));
    m_renderer->setOrigin(QPoint(m_originX, m_originY));

    if (!m_shown) {
        stopAnimation();
        NativeEventFilter::instance().install();
        m_hoverX = m_dragX = m_originX;
        m_hoverY = m_dragY = m_originY;
        setGeometry(desktop);
        m_shown = true;
    }
    m_suspended = false;
    s_suspendedWindows.removeOne(this);
    addTo(s_visibleWindows, this);

    updateMask();
    if (!isVisible()) {
        if (m_host)
            m_host->attach(this);
        show();
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
        m_fadedNotifyPending = false;
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (delivery.accepted())
            m_view->notifyFaded();
    }
}

void QmtbView::relayout(bool force)
{
    if (m_showPending || m_relayoutPending)
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
    int l = 0;
    int t = 0;
    int w = 100;
    int h = 100;
    if (ControllerObserver* observer = m_view->observer()) {
        // The host may close or destroy the toolbar in there.
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (!delivery.accepted())
            return;
        observer->getMtbParentBounds(m_originX, m_originY, l, t, w, h);
    }
    const QRect parent = QRect(clampCoordinate(l), clampCoordinate(t), clampCoordinate(w), clampCoordinate(h))
                             .adjusted(15, 10, -10, -10);

    float top = 0.0f;
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    m_view->getBounds(top, left, bottom, right);
    if (!isFinite(top, left, bottom, right))
        return;
    const QRect desktop = desktopGeometry();
    const QRect toolbar = toWindowRect(m_originX, m_originY, top, left, bottom, right)
                              .translated(desktop.topLeft())
                              .toRect();
    if (parent.contains(toolbar))
        return;

    // Right and bottom first; then the left and top edges are tested where
    // that shift put them, so a toolbar larger than the parent ends on its
    // left and top edges wherever it started.
    qint64 dx = 0;
    qint64 dy = 0;
    if (toolbar.right() > parent.right())
        dx = qint64(toolbar.right()) - parent.right();
    if (toolbar.bottom() > parent.bottom())
        dy = qint64(toolbar.bottom()) - parent.bottom();
    if (toolbar.left() - dx < parent.left())
        dx = qint64(toolbar.left()) - parent.left();
    if (toolbar.top() - dy < parent.top())
        dy = qint64(toolbar.top()) - parent.top();
    m_originX = clampCoordinate(m_originX - dx);
    m_originY = clampCoordinate(m_originY - dy);
    m_renderer->setOrigin(QPoint(m_originX, m_originY));
}

void QmtbView::moveOrigin(int x, int y, bool relative)
{
    hideToolTip();
    const int newX = clampCoordinate(relative ? qint64(m_originX) + x : x);
    const int newY = clampCoordinate(relative ? qint64(m_originY) + y : y);
    if (newX == m_originX && newY == m_originY)
        return;
    m_originX = newX;
    m_originY = newY;
    keepInsideParent();
    m_renderer->setOrigin(QPoint(m_originX, m_originY));
    refresh();
}

void QmtbView::getOrigin(int& x, int& y) const
{
    x = m_originX;
    y = m_originY;
}

void QmtbView::moveAll(int dx, int dy)
{
    // An observer callback may close or destroy any toolbar on the way.
    for (QmtbView* window : visibleWindows()) {
        if (s_visibleWindows.contains(window))
            window->moveOrigin(dx, dy, true);
    }
}

void QmtbView::setParentClip(int x, int y, int width, int height)
{
    if (!QCoreApplication::instance())
        return;
    const QRect desktop = desktopGeometry();
    s_parentClipRect = QRect(clampCoordinate(qint64(x) - desktop.left()), clampCoordinate(qint64(y) - desktop.top()),
                             clampCoordinate(width), clampCoordinate(height));
    for (QmtbView* window : visibleWindows()) {
        if (!s_visibleWindows.contains(window))
            continue;
        window->keepInsideParent();
        window->refresh();
    }
}

bool QmtbView::hasPopup() const
{
    return m_popup != nullptr;
}

QRegion QmtbView::paintedRegion() const
{
    float top = 0.0f;
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    // Items drawn at opacity 0 leave the mask, so clicks there reach the host.
    if (autoHidingItemsHidden())
        m_view->getNoFadeBounds(top, left, bottom, right);
    else
        m_view->getBounds(top, left, bottom, right);
    QRectF area;
    if (isFinite(top, left, bottom, right))
        area = toWindowRect(m_originX, m_originY, top, left, bottom, right);
    auto unite = [&](const ItemView* itemView) {
        if (itemView && !itemView->isFadedAway())
            area |= toWindowRect(m_originX, m_originY, itemView->top(), itemView->left(),
                                 itemView->bottom(), itemView->right());
    };
    if (const auto* flow = dynamic_cast<const MTBxFlowLayout*>(m_view))
        unite(flow->gripView());
    for (int i = 0; i < m_view->itemViewCount(); ++i)
        unite(m_view->itemViewAt(i));

    QRect painted = area.toAlignedRect().adjusted(-penMargin, -penMargin, penMargin, penMargin);
    if (!s_parentClipRect.isEmpty())
        painted &= s_parentClipRect;
    QRegion region(painted);
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && !widget->isWindow() && widget->isVisible())
            region += widget->geometry();
    }
    return region;
}

void QmtbView::updateMask()
{
    applyWindowMask(this, paintedRegion());
}

void QmtbView::refresh()
{
    const QRegion painted = paintedRegion();
    const QRegion dirty = painted + m_lastPainted;
    m_lastPainted = painted;
    applyWindowMask(this, painted);
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation))
        fade->setRedrawRegion(painted);
    if (isVisible())
        update(dirty);
}

void QmtbView::setSuspended(bool suspended)
{
    if (suspended == m_suspended)
        return;
    m_suspended = suspended;
    if (suspended) {
        addTo(s_suspendedWindows, this);
        s_visibleWindows.removeOne(this);
        stopToolTipTimer();
        stopAnimation();
        hideToolTip();
        hide();
        if (m_popup) {
            m_popup->hide();
            m_popup = nullptr;
        }
    } else {
        const QRect desktop = desktopGeometry();
        showAt(Point(m_originX + desktop.left(), m_originY + desktop.top()), false);
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
    m_retired = true;
    m_shown = false;
    s_visibleWindows.removeOne(this);
    s_suspendedWindows.removeOne(this);
    stopToolTipTimer();
    stopAnimation();
    hideToolTip();
    hide();
}

void QmtbView::releaseNativeFilter()
{
    // The filter serves every visible toolbar: it goes when none is left.
    for (const QmtbView* window : qAsConst(s_visibleWindows)) {
        if (window != this && window->m_shown)
            return;
    }
    NativeEventFilter::instance().remove();
}

// Auto fade

bool QmtbView::takesPartInAutoFade() const
{
    const MiniToolbar* toolbar = m_view->toolbar();
    if (!toolbar)
        return false;
    const int local = toolbar->getLocalAutoFade();
    return local == 1 || (local == -1 && Style::instance()->autoFade());
}

bool QmtbView::isFadeLocked()
{
    const MiniToolbar* toolbar = m_view->toolbar();
    bool locked = false;
    if (toolbar && toolbar->getDisplayOnlyNoFadeItems()) {
        m_fadedIn = false;
        locked = true;
    } else if (!Style::instance()->autoFade() && (!toolbar || toolbar->getLocalAutoFade() != 1)) {
        m_fadedIn = true;
        locked = true;
    }
    if (locked) {
        stopAnimation();
        refresh();
    }
    return locked;
}

// What currentOpacity answers 0 for, without its side effects.
bool QmtbView::autoHidingItemsHidden() const
{
    return !m_fadedIn && !isAnimating() && m_view->hasNoFadeItems();
}

void QmtbView::updateFadeLock()
{
    isFadeLocked();
    refresh();
}

void QmtbView::setFadedIn(bool fadedIn)
{
    if (isFadeLocked() || m_fadedIn == fadedIn)
        return;
    const double from = currentOpacity();
    m_fadedIn = fadedIn;
    const Style* style = Style::instance();
    float to = 1.0f;
    if (!fadedIn)
        to = m_view->hasNoFadeItems() ? 0.0f : style->fadedOpacity();
    const float duration = fadedIn ? style->fadeInDuration() : style->fadeOutDuration();

    QmtbAnimation* previous = m_animation;
    m_animation = nullptr;
    delete previous;
    startAnimation(new QmtbFadeAnimation(this, static_cast<float>(from), to, style->fadeFrameRate(), duration));
}

double QmtbView::currentOpacity()
{
    if (auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation); fade && fade->isRunning())
        return fade->value();
    if (m_fadedIn)
        return 1.0;
    if (m_view->hasNoFadeItems())
        return 0.0;
    postFadedNotify();
    return Style::instance()->fadedOpacity();
}

void QmtbView::postFadedNotify()
{
    // One notification per pass of the event loop, however often it paints.
    if (m_fadedNotifyPending)
        return;
    m_fadedNotifyPending = true;
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(EventTypes::fadedNotify())));
}

void QmtbView::updateFade(int x, int y)
{
    bool near = hasPopup();
    if (!near) {
        float top = 0.0f;
        float left = 0.0f;
        float bottom = 0.0f;
        float right = 0.0f;
        auto* fade = dynamic_cast<QmtbFadeAnimation*>(m_animation);
        if (m_fadedIn || (fade && fade->isFadingOut()))
            m_view->getBounds(top, left, bottom, right);
        else
            m_view->getNoFadeBounds(top, left, bottom, right);
        const double dx = x - m_originX;
        const double dy = y - m_originY;
        const Style* style = Style::instance();
        const double margin = m_fadedIn ? style->stayNearMargin() : style->nearMargin();
        near = -margin <= dx && dx <= right + margin && -margin <= dy && dy <= -bottom + margin;
    }
    if (near != m_fadedIn)
        setFadedIn(near);
}

void QmtbView::fadeAll(int x, int y)
{
    // The origins are desktop-relative; so must the pointer be.
    const QRect desktop = desktopGeometry();
    for (QmtbView* window : visibleWindows()) {
        if (!s_visibleWindows.contains(window))
            continue;
        if (window->m_view && window->takesPartInAutoFade())
            window->updateFade(clampCoordinate(qint64(x) - desktop.left()),
                               clampCoordinate(qint64(y) - desktop.top()));
    }
}

// Animations

void QmtbView::startAnimation(QmtbAnimation* animation)
{
    if (!animation)
        return;
    if (animation != m_animation) {
        QmtbAnimation* previous = m_animation;
        m_animation = animation;
        delete previous;
    }
    // Items that come back from opacity 0 need their place in the mask first.
    refresh();
    connect(animation, &QmtbAnimation::redraw, this, &QmtbView::onAnimationRedraw, Qt::UniqueConnection);
    connect(animation, &QmtbAnimation::finished, this, &QmtbView::onAnimationFinished,
            Qt::UniqueConnection);
    animation->start();
}

void QmtbView::stopAnimation()
{
    if (m_animation)
        m_animation->finish();
}

bool QmtbView::isAnimating() const
{
    return m_animation && m_animation->isRunning();
}

void QmtbView::onAnimationRedraw(QRect region)
{
    if (!isVisible())
        return;
    // An empty region stands for the whole toolbar, never the whole desktop.
    repaint(region.isEmpty() ? paintedRegion() : QRegion(region));
}

void QmtbView::onAnimationFinished(QmtbAnimation* animation)
{
    if (animation == m_animation)
        m_animation = nullptr;
    delete animation;
    if (m_destroying || isAnimating())
        return;
    if (m_shown) {
        // A fade that ended at opacity 0 takes those items out of the mask.
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
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_shown) {
        const Style* style = Style::instance();
        painter.setPen(QPen(toColor(style->outlinePenColor()), 3));
        painter.setPen(QPen(toColor(style->penColor()), 0));
        if (!s_parentClipRect.isEmpty())
            painter.setClipRect(s_parentClipRect, Qt::ReplaceClip);
        m_view->draw(m_renderer.get(), true);
    }
    painter.end();
    m_renderer->setPainter(nullptr);
    event->accept();
}

// Child popups count towards the painted area and the mask.

bool QmtbView::event(QEvent* event)
{
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child && child->isWidgetType()) {
            if (event->type() == QEvent::ChildAdded)
                child->installEventFilter(this);
            else
                child->removeEventFilter(this);
            updateMask();
        }
    }
    return QWidget::event(event);
}

bool QmtbView::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (watched->parent() == this)
            updateMask();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Pointer

QPoint QmtbView::windowPoint(const QPoint& globalPosition) const
{
    return globalPosition - frameGeometry().topLeft();
}

// Every entry from the event loop counts as a delivery, so that a toolbar
// closed or destroyed by any callback on this stack (the window's own, or
// another window's that a forwarded event reached) keeps its window until the
// handler has returned.

void QmtbView::mousePressEvent(QMouseEvent* event)
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (delivery.accepted())
        pressAt(windowPoint(QtCompat::globalPoint(event)));
}

void QmtbView::pressAt(const QPoint& point)
{
    if (!m_view->shown())
        return;
    closePopup();
    m_pressed = true;
    m_moved = false;
    m_view->mousePress(static_cast<float>(toViewX(point.x())), static_cast<float>(toViewY(point.y())));
    refresh();
}

void QmtbView::closePopup()
{
    if (!m_popup)
        return;
    m_popup->hide();
    m_popup = nullptr;
    m_suppressDrag = true;
}

void QmtbView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    forwardMouseEvent(event);
    moveTo(windowPoint(QtCompat::globalPoint(event)));
}

void QmtbView::moveTo(const QPoint& point)
{
    if (!m_shown)
        return;
    if (std::abs(point.x() - m_dragX) + std::abs(point.y() - m_dragY) < moveThreshold)
        return;
    if (m_pressed && !m_popup && !m_suppressDrag) {
        m_moved = true;
        int dx = point.x() - m_dragX;
        int dy = point.y() - m_dragY;
        if (ControllerObserver* observer = m_view->observer()) {
            const NotificationGuard::Delivery delivery(guard(), nullptr);
            if (!delivery.accepted())
                return;
            observer->mtbMoved(dx, dy);
        }
        // The observer may have closed or destroyed the toolbar.
        if (!m_shown)
            return;
        moveOrigin(dx, dy, true);
        if (!m_shown)
            return;
    }
    handleHover(point.x(), point.y());
    m_dragX = point.x();
    m_dragY = point.y();
}

void QmtbView::handleHover(int x, int y)
{
    m_hoverX = x;
    m_hoverY = y;
    m_view->mouseMove(static_cast<float>(toViewX(x)), static_cast<float>(toViewY(y)));
    if (!m_view->hoverChanged())
        return;
    ItemView* current = m_view->current();
    emit hovered(current);
    if (current && !m_popup && IsMTBTooltipsEnabled()) {
        m_tooltipTimer.start(m_tooltipVisible ? 0 : GetMTBToolTipDelay());
    } else {
        stopToolTipTimer();
        hideToolTip();
    }
    setFadedIn(true);
    refresh();
}

void QmtbView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    forwardMouseEvent(event);
    const int buttons = static_cast<int>(event->modifiers()) | static_cast<int>(event->button())
        | static_cast<int>(event->buttons());
    releaseAt(windowPoint(QtCompat::globalPoint(event)), buttons);
}

void QmtbView::releaseAt(const QPoint& point, int buttons)
{
    m_pressed = false;
    // The last stretch of movement counts, without dragging.
    moveTo(point);
    if (!m_shown)
        return;
    stopToolTipTimer();
    if (m_view->shown()) {
        ItemView* current = m_view->current();
        const bool closedByPress = m_closedItem && current && current->item() == m_closedItem;
        if (!closedByPress) {
            m_view->mouseRelease(static_cast<float>(toViewX(point.x())),
                                 static_cast<float>(toViewY(point.y())), m_moved, buttons);
            refresh();
        }
    }
    m_moved = false;
    m_closedItem = nullptr;
    m_suppressDrag = false;
}

void QmtbView::wheelEvent(QWheelEvent* event)
{
    {
        const NotificationGuard::Delivery delivery(guard(), nullptr);
        if (delivery.accepted())
            wheelAt(windowPoint(QtCompat::globalPoint(event)), event->angleDelta().y() / 8);
    }
    QWidget::wheelEvent(event);
}

void QmtbView::wheelAt(const QPoint& point, int delta)
{
    if (!m_view->shown())
        return;
    m_view->mouseWheel(static_cast<float>(toViewX(point.x())), static_cast<float>(toViewY(point.y())), delta);
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

bool QmtbView::forwardMouseEvent(QMouseEvent* event)
{
    const QPoint global = QtCompat::globalPoint(event);
    QWidget* target = QApplication::widgetAt(global);
    if (!target || target == this || target->parentWidget() == this)
        return false;
    QMouseEvent forwarded(event->type(), target->mapFromGlobal(global), global,
                          event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(target, &forwarded);
    return true;
}

// Tooltips

void QmtbView::showToolTipTimeout()
{
    const NotificationGuard::Delivery delivery(guard(), nullptr);
    if (!delivery.accepted())
        return;
    QString text;
    if (ItemView* current = m_view->current()) {
        if (const MTBxItem* item = current->item()) {
            const MTBxString& tooltip = item->GetFullTooltip();
            text = QString::fromUtf16(static_cast<const unsigned short*>(tooltip), static_cast<int>(tooltip.length()));
        }
    }
    showToolTipText(text);
}

void QmtbView::showToolTipText(const QString& text)
{
    if (text.isEmpty()) {
        hideToolTip();
        return;
    }
    QToolTip::showText(QCursor::pos(), text, nullptr);
    m_tooltipVisible = true;
}

void QmtbView::hideToolTip()
{
    if (!m_tooltipVisible)
        return;
    QToolTip::hideText();
    m_tooltipVisible = false;
}

void QmtbView::stopToolTipTimer()
{
    if (m_tooltipTimer.isActive())
        m_tooltipTimer.stop();
}

ToolbarWindow* createToolbarWindow(MTBxView* view, HostWidget* host)
{
    if (!view)
        return nullptr;
    return new QmtbView(view, dynamic_cast<QWinWidget*>(host));
}

} // namespace MiniToolbars
