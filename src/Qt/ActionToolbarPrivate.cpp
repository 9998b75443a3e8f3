// ActionToolbar::Private's members: items kept in step with the actions, and the toolbar's placement.

#include "Qt/ActionToolbarPrivate.h"

#include "Core/ContextSinks.h"
#include "MiniToolbars/Controller.h"
#include "Core/ItemView.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "Core/MTBxView.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/MiniToolbar.h"
#include "Core/NotificationGuard.h"
#include "Qt/ActionToolbarPlacement.h"
#include "Qt/QmtbCoordinates.h"
#include "Core/Style.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QIcon>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace MiniToolbars {

namespace {

MTBxString mtbString(const QString& text)
{
    return MTBxString(reinterpret_cast<const unsigned short*>(text.utf16()));
}

bool isRowBreak(const QAction* action)
{
    return action->property(rowBreakProperty).toBool();
}

} // namespace

// Retired entries are disconnected already; the rest go while the
// ActionToolbar, their connections' context, still exists.
ActionToolbar::Private::Entry::~Entry()
{
    ContextSinks::unroute(this);
}

void ActionToolbar::Private::Entry::disconnectAll()
{
    for (const auto& connection : connections)
        QObject::disconnect(connection);
    for (const auto& child : children)
        child->disconnectAll();
}

// An entry whose action left keeps its context routed here while its item
// may still exist: a freed context must never reach the host's sink.
void ActionToolbar::Private::retire(std::unique_ptr<Entry> entry)
{
    entry->disconnectAll();
    m_retired.push_back(std::move(entry));
}

ActionToolbar::Private::Private(ActionToolbar* q)
    : q(q)
{
    ContextSinks::routeToolbar(this, this);
    m_toolbar = std::make_unique<MiniToolbar>(MTBxString(L"actions"), this);
}

ActionToolbar::Private::~Private()
{
    ContextSinks::unroute(this);
    if (ToolbarWindow* view = window())
        view->setObserver(nullptr);
}

// ControllerObserver
HWND ActionToolbar::Private::getParentHwnd()
{
    return m_host ? reinterpret_cast<HWND>(m_host->window()->winId()) : nullptr;
}

// Screen pixels; the window keeps the toolbar this far inside what it gets here.
void ActionToolbar::Private::getMtbParentBounds(int, int, int& left, int& top, int& width, int& height)
{
    const QRect bounds = room().adjusted(-15, -10, 10, 10);
    left = bounds.left();
    top = bounds.top();
    width = bounds.width();
    height = bounds.height();
}

// MTBxItemEvents: contexts routed here are entries of some toolbar.
void ActionToolbar::Private::Notify(void* context, MTBxItemEvents::EventType type, unsigned int* p1, unsigned int*)
{
    auto* entry = static_cast<Entry*>(context);
    entry->owner->itemEvent(entry, type, static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(p1)));
}

// MTBxToolbarEvents: the context is the toolbar's own Private.
void ActionToolbar::Private::Notify(void* context, MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int*)
{
    static_cast<Private*>(context)->toolbarEvent(type, static_cast<int>(reinterpret_cast<std::intptr_t>(p1)));
}

Controller* ActionToolbar::Private::controller() const
{
    return ActionToolbar::controller();
}

ToolbarWindow* ActionToolbar::Private::window() const
{
    return m_toolbar->view() ? m_toolbar->view()->window() : nullptr;
}

// Room for the toolbar: the host's window on its screen.
QRect ActionToolbar::Private::room() const
{
    if (!m_host)
        return {};
    QWidget* window = m_host->window();
    QRect area(window->mapToGlobal(QPoint(0, 0)), window->size());
    if (QScreen* screen = window->screen())
        area &= screen->availableGeometry();
    return area;
}

// What the toolbar draws around its origin, grip included, in pixels.
QRect ActionToolbar::Private::extent() const
{
    MTBxView* view = m_toolbar->view();
    if (!view)
        return {};
    float top = 0, left = 0, bottom = 0, right = 0;
    view->getBounds(top, left, bottom, right);
    QRectF area(QPointF(left, -top), QPointF(right, -bottom));
    if (const ItemView* grip = view->gripView())
        area |= QRectF(QPointF(grip->left(), -grip->top()), QPointF(grip->right(), -grip->bottom()));
    return area.toAlignedRect();
}

QPoint ActionToolbar::Private::globalOrigin() const
{
    int x = 0, y = 0;
    controller()->getToolbarPosition(m_toolbar.get(), x, y);
    return QPoint(x, y) + QmtbCoordinates::desktopGeometry().topLeft();
}

void ActionToolbar::Private::place()
{
    if (!m_shown || !m_host)
        return;
    controller()->updateLayout(m_toolbar.get(), false);
    const QRect anchor(m_host->mapToGlobal(m_anchor.topLeft()), m_anchor.size());
    const QRect drawn = extent();
    const QPoint topLeft = placeNextTo(anchor, drawn.size(), room(), m_gap, m_side);
    const QPoint origin = topLeft - drawn.topLeft() - QmtbCoordinates::desktopGeometry().topLeft();
    controller()->moveToolbar(m_toolbar.get(), origin.x(), origin.y(), false);
    // The layout still waits in the event queue: place again behind it.
    if (ToolbarWindow* view = window(); view && view->isLayoutPending())
        scheduleUpdate();
}

// Layout and placement once the current callback and queued relayouts are done.
void ActionToolbar::Private::scheduleUpdate()
{
    if (m_updateQueued)
        return;
    m_updateQueued = true;
    QMetaObject::invokeMethod(q, [this] {
        m_updateQueued = false;
        if (!m_shown)
            return;
        controller()->updateLayout(m_toolbar.get(), true);
        if (m_userPlaced)
            return;
        place();
    }, Qt::QueuedConnection);
}

std::unique_ptr<ActionToolbar::Private::Entry> ActionToolbar::Private::makeEntry(QAction* action, Entry* parent)
{
    auto entry = std::make_unique<Entry>();
    entry->owner = this;
    entry->action = action;
    entry->parent = parent;
    Entry* raw = entry.get();
    ContextSinks::routeItem(raw, this);
    entry->connections.push_back(QObject::connect(action, &QAction::changed, q, [this, raw] { actionChanged(raw); }));
    entry->connections.push_back(QObject::connect(action, &QObject::destroyed, q, [this, raw] { actionDestroyed(raw); }));
    watchMenu(raw);
    return entry;
}

void ActionToolbar::Private::watchMenu(Entry* entry)
{
    QMenu* menu = entry->parent ? nullptr : entry->action->menu();
    if (menu == entry->menu)
        return;
    if (entry->menu)
        entry->menu->removeEventFilter(q);
    entry->menu = menu;
    for (auto& child : entry->children)
        retire(std::move(child));
    entry->children.clear();
    if (!menu)
        return;
    menu->installEventFilter(q);
    for (QAction* child : menu->actions()) {
        if (!child->isSeparator())
            entry->children.push_back(makeEntry(child, entry));
    }
}

MTBxItem::MTBItemType ActionToolbar::Private::kindOf(const Entry* entry)
{
    if (entry->action->isSeparator())
        return MTBxItem::Separator;
    if (isRowBreak(entry->action))
        return MTBxItem::NewLine;
    return entry->menu ? MTBxItem::DropDownButton : MTBxItem::Button;
}

MTBxItem* ActionToolbar::Private::createItem(Entry* entry)
{
    QAction* action = entry->action;
    const MTBxString id = mtbString(action->objectName().isEmpty() ? action->iconText() : action->objectName());
    entry->iconKey = 0;
    switch (kindOf(entry)) {
    case MTBxItem::Separator:
        return entry->item = new MTBxSeparator;
    case MTBxItem::NewLine:
        return entry->item = new MTBxNewLine;
    case MTBxItem::Button:
        entry->item = new MTBxButton(id, entry);
        syncItem(entry);
        return entry->item;
    default:
        break;
    }
    auto* button = new MTBxDropDownButton(id, entry);
    entry->item = button;
    syncItem(entry);
    for (const auto& child : entry->children) {
        child->item = new MTBxButton(mtbString(child->action->iconText()), child.get());
        // The link lets the entry's events reach its context through the button's window.
        child->item->setParent(button);
        child->iconKey = 0;
        syncItem(child.get());
        button->addItem(child->item);
    }
    return button;
}

void ActionToolbar::Private::syncItem(Entry* entry)
{
    MTBxItem* item = entry->item;
    QAction* action = entry->action;
    if (!item || item->isSeparatorType())
        return;
    item->setText(mtbString(action->iconText()));
    item->setToolTip(mtbString(action->toolTip()));
    item->setShortcut(mtbString(action->shortcut().toString(QKeySequence::NativeText)));
    item->setCheckable(action->isCheckable());
    item->setChecked(action->isChecked(), false);
    item->setEnabled(action->isEnabled());
    item->setVisible(action->isVisible());
    item->setHasSplitter(entry->split);
    item->setHasRemoveButton(entry->parent && entry->parent->removable);
    const QIcon icon = action->icon();
    item->setShowText(icon.isNull() || action->priority() != QAction::LowPriority);
    if (icon.cacheKey() != entry->iconKey) {
        entry->iconKey = icon.cacheKey();
        setIcon(item, icon);
    }
}

void ActionToolbar::Private::setIcon(MTBxItem* item, const QIcon& icon) const
{
    if (icon.isNull()) {
        item->setIconData(nullptr, 0);
        return;
    }
    const qreal ratio = m_host ? m_host->devicePixelRatioF() : qApp->devicePixelRatio();
    const int side = Style::instance()->iconSize();
    QPixmap pixmap = icon.pixmap(QSize(side, side) * ratio);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    pixmap.toImage().scaled(QSize(side, side) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation).save(&buffer, "PNG");
    item->setIconData(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned int>(bytes.size()));
}

int ActionToolbar::Private::indexOf(const Entry* entry) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == entry)
            return static_cast<int>(i);
    }
    return -1;
}

// Compares pointers only: the entry may be gone.
bool ActionToolbar::Private::owns(const Entry* entry) const
{
    for (const auto& top : m_entries) {
        if (top.get() == entry)
            return true;
        for (const auto& child : top->children) {
            if (child.get() == entry)
                return true;
        }
    }
    return false;
}

// Replaces an entry's item when the toolbar shows; the model alone otherwise.
// Making the new item may run host code (an icon engine): the old item's place
// is looked up afterwards, and the old item is removed last, by itself.
void ActionToolbar::Private::rebuild(Entry* entry)
{
    MTBxItem* const old = entry->item;
    if (!m_shown || !old || indexOf(entry) < 0)
        return;
    MTBxItem* const replacement = createItem(entry);
    int place = 0;
    while (place < m_toolbar->itemCount() && m_toolbar->item(place) != old)
        ++place;
    m_toolbar->addItem(replacement, place);
    scheduleUpdate();
    m_toolbar->removeItem(old);
}

void ActionToolbar::Private::actionChanged(Entry* entry)
{
    if (!entry->parent) {
        const QMenu* before = entry->menu;
        watchMenu(entry);
        if (before != entry->menu || (entry->item && entry->item->itemType() != kindOf(entry))) {
            rebuild(entry);
            return;
        }
    }
    syncItem(entry);
    scheduleUpdate();
}

void ActionToolbar::Private::actionDestroyed(Entry* entry)
{
    if (entry->parent) {
        menuChanged(entry->parent);
        return;
    }
    const int index = indexOf(entry);
    if (index < 0)
        return;
    // The entry leaves the model first and its item the toolbar last, by
    // itself: no position is used after a call that may run host code.
    MTBxItem* const item = std::exchange(entry->item, nullptr);
    retire(std::move(m_entries[static_cast<std::size_t>(index)]));
    m_entries.erase(m_entries.begin() + index);
    scheduleUpdate();
    if (m_shown && item)
        m_toolbar->removeItem(item);
}

// Both the menu's own filter and the application's report each change: the
// entries are rebuilt once, when they differ from the menu.
void ActionToolbar::Private::menuChanged(Entry* entry)
{
    QList<QAction*> had;
    for (const auto& child : entry->children)
        had.append(child->action);
    QList<QAction*> now = entry->menu ? entry->menu->actions() : QList<QAction*>();
    now.erase(std::remove_if(now.begin(), now.end(), [](QAction* a) { return a->isSeparator(); }), now.end());
    if (had == now)
        return;
    entry->menu = nullptr;
    watchMenu(entry);
    rebuild(entry);
}

void ActionToolbar::Private::itemEvent(Entry* entry, MTBxItemEvents::EventType type, unsigned int argument)
{
    if (!owns(entry))
        return;
    const QPointer<ActionToolbar> alive(q);
    QAction* action = entry->action;
    switch (type) {
    case MTBxItemEvents::HoverEnter:
        emit q->hovered(action);
        if (alive && owns(entry))
            action->hover();
        break;
    case MTBxItemEvents::CheckedChanged:
        // The action decides; its changed signal brings the item along.
        entry->item->setChecked(action->isChecked(), false);
        break;
    case MTBxItemEvents::Clicked:
        action->trigger();
        if (alive && owns(entry))
            syncItem(entry);
        break;
    case MTBxItemEvents::ModifiedClick:
        emit q->modifiedClick(action, Qt::KeyboardModifiers(argument & Qt::KeyboardModifierMask),
                              Qt::MouseButtons(argument & ~unsigned(Qt::KeyboardModifierMask)));
        break;
    case MTBxItemEvents::RemoveRequested:
        emit q->removeRequested(action);
        break;
    case MTBxItemEvents::DropDownAboutToShow:
        if (entry->menu)
            emit entry->menu->aboutToShow();
        break;
    default:
        break;
    }
}

void ActionToolbar::Private::toolbarEvent(MTBxToolbarEvents::EventType type, int argument)
{
    switch (type) {
    case MTBxToolbarEvents::ToolbarMoved:
        m_userPlaced = true;
        emit q->movedByUser(q->geometry().topLeft());
        break;
    case MTBxToolbarEvents::ToolbarKeyDown:
        emit q->keyPressed(argument);
        break;
    case MTBxToolbarEvents::ToolbarKeyUp:
        emit q->keyReleased(argument);
        break;
    default:
        break;
    }
}

bool ActionToolbar::Private::show(QWidget* host, const QRect& anchor, Side side)
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
        for (const auto& entry : m_entries)
            m_toolbar->addItem(createItem(entry.get()));
    }
    const QPoint at = host->mapToGlobal(anchor.topLeft());
    if (!controller()->showToolbar(m_toolbar.get(), at.x(), at.y(), this, false))
        return false;
    if (!m_shown) {
        m_shown = true;
        m_window = host->window();
        m_windowPos = m_window->pos();
        // Sees the host window's moves, resizes and hiding, and the wheel over the toolbar.
        qApp->installEventFilter(q);
        m_hostConnection = QObject::connect(host, &QObject::destroyed, q, [this] { close(true); });
        if (ToolbarWindow* view = window())
            view->setObserver(this);
    }
    place();
    return true;
}

// Both come while the window is handling an event: reported from the event loop.
void ActionToolbar::Private::fadedInChanged(bool fadedIn)
{
    QMetaObject::invokeMethod(q, [this, fadedIn] { fadedIn ? emit q->fadedIn() : emit q->fadedOut(); }, Qt::QueuedConnection);
}

void ActionToolbar::Private::wheelTurned(int delta)
{
    QPointer<QAction> hovered;
    for (const auto& entry : m_entries) {
        if (entry->item && entry->item->isHover())
            hovered = entry->action;
    }
    QMetaObject::invokeMethod(q, [this, hovered, delta] { emit q->wheelTurned(hovered, delta); }, Qt::QueuedConnection);
}

void ActionToolbar::Private::close(bool notify)
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
    controller()->closeToolbar(m_toolbar.get());
    for (const auto& entry : m_entries) {
        entry->item = nullptr;
        for (const auto& child : entry->children)
            child->item = nullptr;
    }
    // Closed from one of its own callbacks, the toolbar only hid: a fresh
    // one takes over, and the old one's items go once the callback is over.
    m_toolbar = std::make_unique<MiniToolbar>(MTBxString(L"actions"), this);
    if (delivering)
        QTimer::singleShot(0, qApp, &MiniToolbar::CleanupOldViews);
    else
        m_retired.clear();
    if (notify)
        emit q->closed();
}

// Only watches: every event goes on to its target.
void ActionToolbar::Private::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionRemoved) {
            for (const auto& entry : m_entries) {
                if (entry->menu == menu) {
                    menuChanged(entry.get());
                    break;
                }
            }
        }
        return;
    }
    if (!m_shown)
        return;
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
            if (m_userPlaced)
                controller()->moveToolbar(m_toolbar.get(), m_window->x() - m_windowPos.x(),
                                          m_window->y() - m_windowPos.y(), true);
            else
                place();
            m_windowPos = m_window->pos();
            break;
        case QEvent::Resize:
            if (!m_userPlaced)
                place();
            break;
        case QEvent::Hide:
            close(true);
            break;
        default:
            break;
        }
    }
}

} // namespace MiniToolbars
