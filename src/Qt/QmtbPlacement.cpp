#include "Qt/QmtbPlacement.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/Point.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/ControllerObserver.h"
#include "Platform/WindowMask.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPanel.h"
#include "Qt/QmtbRender.h"
#include "Qt/QmtbWindowRegistry.h"

#include <QChildEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace MiniToolbars {

using namespace QmtbCoordinates;

namespace {

bool isChildWidget(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return widget && !widget->isWindow();
}

} // namespace

QmtbPlacement::QmtbPlacement(ToolbarWindow& window, QWidget& widget, QmtbRender& renderer)
    : m_window(window)
    , m_widget(widget)
    , m_renderer(renderer)
{
    // Child widgets come and go, show and hide: each time the window fits
    // around them again.
    widget.installEventFilter(this);
}

void QmtbPlacement::setOriginFromScreen(const Point& position)
{
    const QRect desktop = desktopGeometry();
    const double x = std::isfinite(position.x()) ? std::trunc(position.x()) : 0.0;
    const double y = std::isfinite(position.y()) ? std::trunc(position.y()) : 0.0;
    m_originX = static_cast<int>(clampCoordinateF(x - desktop.left()));
    m_originY = static_cast<int>(clampCoordinateF(y - desktop.top()));
    applyRendererOrigin();
}

QPoint QmtbPlacement::screenOrigin() const
{
    return origin() + desktopGeometry().topLeft();
}

bool QmtbPlacement::moveOrigin(int x, int y, bool relative)
{
    const int newX = clampCoordinate(relative ? qint64(m_originX) + x : x);
    const int newY = clampCoordinate(relative ? qint64(m_originY) + y : y);
    if (newX == m_originX && newY == m_originY)
        return false;
    m_originX = newX;
    m_originY = newY;
    keepInsideParent();
    applyRendererOrigin();
    return true;
}

void QmtbPlacement::keepInsideParent()
{
    MTBxView* view = m_window.view();
    if (!view)
        return;
    int l = 0;
    int t = 0;
    int w = 100;
    int h = 100;
    if (ControllerObserver* observer = view->observer()) {
        // The host may close or destroy the toolbar in there.
        const NotificationGuard::Delivery delivery(m_window.guard(), nullptr);
        if (!delivery.accepted())
            return;
        observer->getMtbParentBounds(m_originX, m_originY, l, t, w, h);
    }
    QRect parent = QRect(clampCoordinate(l), clampCoordinate(t), clampCoordinate(w), clampCoordinate(h))
                       .adjusted(15, 10, -10, -10);
    // An overlay cannot reach beyond the host's window: it is shifted inside.
    if (const QWidget* host = m_widget.isWindow() ? nullptr : m_widget.parentWidget()) {
        const QRect window = QRect(host->mapToGlobal(QPoint()), host->size()).adjusted(15, 10, -10, -10);
        const QRect inside = parent & window;
        parent = inside.isEmpty() ? window : inside;
    }

    float top = 0.0f;
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    view->getBounds(top, left, bottom, right);
    if (!isFinite(top, left, bottom, right))
        return;
    const QRect toolbar = toWindowRect(m_originX, m_originY, top, left, bottom, right)
                              .translated(desktopGeometry().topLeft())
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
    applyRendererOrigin();
}

QRect QmtbPlacement::itemArea() const
{
    const MTBxView* view = m_window.view();
    if (!view)
        return QRect();
    float top = 0.0f;
    float left = 0.0f;
    float bottom = 0.0f;
    float right = 0.0f;
    // Items drawn at opacity 0 leave the region, so clicks there reach the host.
    if (m_window.autoHidingItemsHidden())
        view->getNoFadeBounds(top, left, bottom, right);
    else
        view->getBounds(top, left, bottom, right);
    QRectF area;
    if (isFinite(top, left, bottom, right))
        area = toWindowRect(m_originX, m_originY, top, left, bottom, right);
    auto unite = [&](const ItemView* itemView) {
        if (itemView && !itemView->isFadedAway())
            area |= toWindowRect(m_originX, m_originY, itemView->top(), itemView->left(), itemView->bottom(),
                                 itemView->right());
    };
    unite(view->gripView());
    for (int i = 0; i < view->itemViewCount(); ++i)
        unite(view->itemViewAt(i));
    return area.toAlignedRect();
}

QRect QmtbPlacement::panelRect() const
{
    const QRect area = itemArea();
    if (!m_renderer.isSolid() || area.isEmpty())
        return QRect();
    return QmtbPanel::panelRect(area, *Style::instance());
}

QRegion QmtbPlacement::toolbarRegion() const
{
    if (!m_window.view())
        return QRegion();
    const QRect area = itemArea();
    const int margin = penMargin;
    // The solid look's panel and its shadow lie inside the window.
    QRect painted = m_renderer.isSolid() && !area.isEmpty()
        ? QmtbPanel::shadowRect(QmtbPanel::panelRect(area, *Style::instance()), *Style::instance())
        : area.adjusted(-margin, -margin, margin, margin);
    const QRect clip = QmtbWindowRegistry::parentClipRect();
    if (!clip.isEmpty())
        painted &= clip;
    return QRegion(painted);
}

QRegion QmtbPlacement::paintedRegion() const
{
    QRegion region = toolbarRegion();
    for (QObject* child : m_widget.children()) {
        if (isChildWidget(child) && static_cast<QWidget*>(child)->isVisible())
            region += static_cast<QWidget*>(child)->geometry().translated(windowOffset());
    }
    return region;
}

bool QmtbPlacement::sync()
{
    if (m_syncing)
        return false;
    m_syncing = true;
    // Child widgets (popups, entry fields) belong to the toolbar: they move
    // with its origin, or the window would stretch from the old place to the new.
    const QPoint moved = origin() - m_childOrigin;
    m_childOrigin = origin();
    if (!moved.isNull()) {
        for (QObject* child : m_widget.children()) {
            if (isChildWidget(child))
                static_cast<QWidget*>(child)->move(static_cast<QWidget*>(child)->pos() + moved);
        }
    }
    // Little beyond the desktop can be seen: the window reaches at most one
    // desktop past it (where a popup near an edge may still stand), however
    // large the items or far off their popups and fields are.
    const QSize desktop = desktopGeometry().size();
    const QRegion painted = paintedRegion()
        & QRect(QPoint(), desktop).adjusted(-desktop.width(), -desktop.height(), desktop.width(), desktop.height());
    QRect target = painted.boundingRect();
    // Nothing painted (all clipped away): stay put, shaped to nothing.
    if (target.isEmpty())
        target = m_geometry.isValid() ? m_geometry : QRect(origin(), QSize(1, 1));
    const bool changed = target != m_geometry;
    if (changed) {
        const QPoint shift = m_geometry.isValid() ? m_geometry.topLeft() - target.topLeft() : QPoint();
        if (!shift.isNull()) {
            for (QObject* child : m_widget.children()) {
                if (isChildWidget(child))
                    static_cast<QWidget*>(child)->move(static_cast<QWidget*>(child)->pos() + shift);
            }
        }
        m_geometry = target;
        const QRect global = target.translated(desktopGeometry().topLeft());
        // An overlay is placed in its parent's coordinates.
        if (QWidget* parent = m_widget.isWindow() ? nullptr : m_widget.parentWidget())
            m_widget.setGeometry(QRect(parent->mapFromGlobal(global.topLeft()), global.size()));
        else
            m_widget.setGeometry(global);
        applyRendererOrigin();
    }
    // A window that is exactly the painted rectangle needs no shape.
    const QRegion shape = toLocal(painted);
    if (shape == QRegion(QRect(QPoint(), target.size()))) {
        if (!m_widget.mask().isEmpty())
            m_widget.clearMask();
    } else {
        applyWindowMask(&m_widget, shape);
    }
    m_syncing = false;
    return changed;
}

QPoint QmtbPlacement::toScreen(const Point& point) const
{
    const QPointF window = m_renderer.toWindowPoint(point.x(), point.y()) + windowOffset();
    const QPoint desktop = desktopGeometry().topLeft();
    return QPoint(clampCoordinate(qint64(window.x()) + desktop.x()), clampCoordinate(qint64(window.y()) + desktop.y()));
}

QPoint QmtbPlacement::popupPosition(const Point& point, float flipY, const QSize& size) const
{
    QPoint at = toScreen(point);
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen)
        screen = m_widget.screen();
    if (!screen)
        return at;
    const QRect room = screen->geometry();
    if (qint64(at.y()) + size.height() > qint64(room.bottom()) + 1)
        at.ry() = clampCoordinate(qint64(toScreen(Point(point.x(), flipY)).y()) - size.height());
    if (qint64(at.x()) + size.width() > qint64(room.right()) + 1)
        at.rx() = std::max(room.left(), clampCoordinate(qint64(room.right()) + 1 - size.width()));
    return at;
}

void QmtbPlacement::applyRendererOrigin()
{
    m_renderer.setOrigin(toLocal(origin()));
}

bool QmtbPlacement::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
    case QEvent::ChildRemoved:
        if (watched == &m_widget) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child && child->isWidgetType()) {
                if (event->type() == QEvent::ChildAdded)
                    child->installEventFilter(this);
                else
                    child->removeEventFilter(this);
                m_window.refresh();
            }
        }
        break;
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (watched != &m_widget && watched->parent() == &m_widget && !m_syncing)
            m_window.refresh();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace MiniToolbars
