#include "Qt/ActionToolbarPrivate.h"
#include "Qt/QmtbController.h"

#include "Core/ContextSinks.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Qt/ActionToolbarPlacement.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPanel.h"
#include "Qt/QmtbView.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace MiniToolbars {

ActionToolbarPrivate::ActionToolbarPrivate(ActionToolbar* owner)
    : q(owner)
    , m_events(*this)
    , m_mirror(*this)
{
    ContextSinks::routeToolbar(this, &m_events);
    m_toolbar = std::make_unique<MiniToolbar>(MTBxString(L"actions"), this);
}

ActionToolbarPrivate::~ActionToolbarPrivate()
{
    ContextSinks::unroute(this);
    QmtbController::forgetWindowStrategy(m_toolbar.get());
    if (ToolbarWindow* view = window())
        view->setObserver(nullptr);
}

ToolbarWindow* ActionToolbarPrivate::window() const
{
    return m_toolbar->view() ? m_toolbar->view()->window() : nullptr;
}

QRect ActionToolbarPrivate::room() const
{
    if (!m_host)
        return {};
    QWidget* window = m_host->window();
    QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    if (QScreen* screen = window->screen())
        area &= screen->availableGeometry();
    return area;
}

QRect ActionToolbarPrivate::extent() const
{
    MTBxView* view = m_toolbar->view();
    if (!view)
        return {};
    float top = 0, left = 0, bottom = 0, right = 0;
    view->getBounds(top, left, bottom, right);
    QRectF area(QPointF(left, -top), QPointF(right, -bottom));
    if (const ItemView* grip = view->gripView())
        area |= QRectF(QPointF(grip->left(), -grip->top()), QPointF(grip->right(), -grip->bottom()));
    // The gap is kept from the panel, which is what the eye sees of a solid toolbar.
    if (m_look == ActionToolbar::SolidLook)
        return QmtbPanel::panelRect(area.toAlignedRect(), *Style::instance());
    return area.toAlignedRect();
}

QPoint ActionToolbarPrivate::globalOrigin() const
{
    int x = 0, y = 0;
    ActionToolbar::controller()->getToolbarPosition(m_toolbar.get(), x, y);
    return QPoint(x, y) + QmtbCoordinates::desktopGeometry().topLeft();
}

void ActionToolbarPrivate::place()
{
    if (!m_shown || !m_host)
        return;
    Controller* const controller = ActionToolbar::controller();
    controller->updateLayout(m_toolbar.get(), false);
    const QRect anchor(m_host->mapToGlobal(m_anchor.topLeft()), m_anchor.size());
    const QRect drawn = extent();
    const QPoint topLeft = placeNextTo(anchor, drawn.size(), room(), m_gap, m_side);
    const QPoint origin = topLeft - drawn.topLeft() - QmtbCoordinates::desktopGeometry().topLeft();
    controller->moveToolbar(m_toolbar.get(), origin.x(), origin.y(), false);
    // The layout still waits in the event queue: place again behind it.
    if (ToolbarWindow* view = window(); view && view->isLayoutPending())
        scheduleUpdate();
}

void ActionToolbarPrivate::scheduleUpdate()
{
    if (m_updateQueued)
        return;
    m_updateQueued = true;
    QMetaObject::invokeMethod(q, [this] {
        m_updateQueued = false;
        if (!m_shown)
            return;
        ActionToolbar::controller()->updateLayout(m_toolbar.get(), true);
        if (m_userPlaced)
            return;
        place();
    }, Qt::QueuedConnection);
}

bool ActionToolbarPrivate::show(QWidget* host, const QRect& anchor, ActionToolbar::Side side)
{
    if (!host)
        return false;
    if (m_host != host)
        close(false);
    m_host = host;
    m_anchor = boundedAnchor(anchor);
    m_side = side;
    m_userPlaced = false;
    if (!m_shown) {
        m_toolbar->clear();
        m_mirror.addItemsTo(*m_toolbar);
    }
    const QPoint at = host->mapToGlobal(anchor.topLeft());
    if (m_windowStrategy)
        QmtbController::setWindowStrategy(m_toolbar.get(), *m_windowStrategy);
    if (!ActionToolbar::controller()->showToolbar(m_toolbar.get(), at.x(), at.y(), &m_events, false))
        return false;
    applyLook();
    if (!m_shown) {
        m_shown = true;
        m_hostWindow = host->window();
        m_hostWindowPos = m_hostWindow->pos();
        // Sees the host window's moves, resizes and hiding, and the wheel over the toolbar.
        qApp->installEventFilter(q);
        m_hostConnection = QObject::connect(host, &QObject::destroyed, q, [this] { close(true); });
        if (ToolbarWindow* view = window())
            view->setObserver(&m_events);
    }
    place();
    return true;
}

void ActionToolbarPrivate::applyLook()
{
    if (QmtbView* view = QmtbController::windowOf(m_toolbar.get()))
        view->setSolidLook(m_look == ActionToolbar::SolidLook);
}

void ActionToolbarPrivate::close(bool notify)
{
    if (!m_shown)
        return;
    m_shown = false;
    QObject::disconnect(m_hostConnection);
    qApp->removeEventFilter(q);
    const bool delivering = window() && window()->guard().isDelivering();
    // A window that only hides (closed from its own callback) stays a while.
    if (ToolbarWindow* view = window())
        view->setObserver(nullptr);
    ActionToolbar::controller()->closeToolbar(m_toolbar.get());
    QmtbController::forgetWindowStrategy(m_toolbar.get());
    m_mirror.dropItems();
    // Closed from one of its own callbacks, the toolbar only hid: a fresh
    // one takes over, and the old one's items go once the callback is over.
    m_toolbar = std::make_unique<MiniToolbar>(MTBxString(L"actions"), this);
    if (delivering)
        QTimer::singleShot(0, qApp, &MiniToolbar::CleanupOldViews);
    else
        m_mirror.clearRetired();
    if (notify)
        Q_EMIT q->closed();
}

} // namespace MiniToolbars
