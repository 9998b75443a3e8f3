#include "Qt/ActionToolbarMirror.h"

#include "Core/ContextSinks.h"
#include "Core/Style.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "Qt/ActionToolbarPrivate.h"
#include "Qt/QmtbString.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace MiniToolbars {

namespace {

bool isRowBreak(const QAction* action)
{
    return action->property(rowBreakProperty).toBool();
}

MTBxItem::MTBItemType kindOf(const ActionToolbarMirror::Entry* entry)
{
    if (entry->action->isSeparator())
        return MTBxItem::Separator;
    if (isRowBreak(entry->action))
        return MTBxItem::NewLine;
    return entry->menu ? MTBxItem::DropDownButton : MTBxItem::Button;
}

// The raster an item gets for an icon: the icon size times the host's pixel
// ratio in pixels (aspect kept), at a pixel ratio of 1, as items have always
// measured and drawn it. Null for an icon that gives no pixmap.
QImage iconImage(const QIcon& icon, qreal ratio)
{
    const int side = Style::instance()->iconSize();
    const QSize pixels = QSize(side, side) * ratio;
    QImage image = icon.pixmap(pixels).toImage().scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1);
    return image;
}

} // namespace

// Retired entries are disconnected already; the rest go while the
// ActionToolbar, their connections' context, still exists.
ActionToolbarMirror::Entry::~Entry()
{
    ContextSinks::unroute(this);
}

void ActionToolbarMirror::Entry::disconnectAll()
{
    for (const auto& connection : connections)
        QObject::disconnect(connection);
    for (const auto& child : children)
        child->disconnectAll();
}

ActionToolbarMirror::ActionToolbarMirror(ActionToolbarPrivate& owner)
    : d(owner)
{
}

ActionToolbarMirror::~ActionToolbarMirror() = default;

QList<QAction*> ActionToolbarMirror::actions() const
{
    QList<QAction*> result;
    for (const auto& entry : m_entries)
        result.append(entry->action);
    return result;
}

void ActionToolbarMirror::insert(QAction* before, QAction* action)
{
    if (!action || actions().contains(action))
        return;
    std::size_t index = m_entries.size();
    for (std::size_t i = 0; i < index; ++i) {
        if (before && m_entries[i]->action == before)
            index = i;
    }
    auto entry = makeEntry(action, nullptr);
    Entry* raw = entry.get();
    m_entries.insert(m_entries.begin() + static_cast<std::ptrdiff_t>(index), std::move(entry));
    if (d.m_shown) {
        d.m_toolbar->addItem(createItem(raw), static_cast<int>(index));
        d.scheduleUpdate();
    }
}

void ActionToolbarMirror::remove(QAction* action)
{
    for (const auto& entry : m_entries) {
        if (entry->action == action) {
            actionDestroyed(entry.get());
            return;
        }
    }
}

void ActionToolbarMirror::setSplit(QAction* action, bool split)
{
    for (const auto& entry : m_entries) {
        if (entry->action == action && entry->split != split) {
            entry->split = split;
            syncItem(entry.get());
            d.scheduleUpdate();
        }
    }
}

void ActionToolbarMirror::setRemovable(QAction* action, bool removable)
{
    for (const auto& entry : m_entries) {
        if (entry->action == action && entry->removable != removable) {
            entry->removable = removable;
            for (const auto& child : entry->children)
                syncItem(child.get());
        }
    }
}

void ActionToolbarMirror::addItemsTo(MiniToolbar& toolbar)
{
    for (const auto& entry : m_entries)
        toolbar.addItem(createItem(entry.get()));
}

// A closed toolbar's items only hide until they go: their views draw nothing
// more, and the images they were built from can go at once.
void ActionToolbarMirror::dropItems()
{
    for (const auto& entry : m_entries) {
        entry->item = nullptr;
        entry->icon.reset();
        for (const auto& child : entry->children) {
            child->item = nullptr;
            child->icon.reset();
        }
    }
}

void ActionToolbarMirror::clearRetired()
{
    m_retired.clear();
}

void ActionToolbarMirror::clear()
{
    for (const auto& entry : m_entries) {
        if (entry->menu)
            entry->menu->removeEventFilter(d.q);
    }
    m_entries.clear();
}

// Both the menu's own filter and the application's report each change: the
// entries are rebuilt once, when they differ from the menu.
void ActionToolbarMirror::menuChanged(const QMenu* menu)
{
    for (const auto& entry : m_entries) {
        if (entry->menu == menu) {
            menuChanged(entry.get());
            return;
        }
    }
}

void ActionToolbarMirror::menuChanged(Entry* entry)
{
    // A menu on its way out: its action must not be asked for it any more.
    if (entry->menu && !qobject_cast<QMenu*>(entry->menu.data())) {
        entry->menu->removeEventFilter(d.q);
        entry->menu = nullptr;
        for (auto& child : entry->children)
            retire(std::move(child));
        entry->children.clear();
        rebuild(entry);
        return;
    }
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

bool ActionToolbarMirror::owns(const Entry* entry) const
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

QAction* ActionToolbarMirror::hoveredAction() const
{
    QAction* hovered = nullptr;
    for (const auto& entry : m_entries) {
        if (entry->item && entry->item->isHover())
            hovered = entry->action;
    }
    return hovered;
}

void ActionToolbarMirror::syncItem(Entry* entry)
{
    MTBxItem* item = entry->item;
    QAction* action = entry->action;
    if (!item || item->isSeparatorType())
        return;
    item->setText(toMtbString(action->iconText()));
    item->setToolTip(toMtbString(action->toolTip()));
    item->setShortcut(toMtbString(action->shortcut().toString(QKeySequence::NativeText)));
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
        setIcon(entry);
    }
}

// The item gets the image itself, through a handle that it alone uses. Its
// views copy the image when they are built: the old handle goes as soon as
// the item holds the new one.
void ActionToolbarMirror::setIcon(Entry* entry)
{
    const QIcon icon = entry->action->icon();
    IconHandle image;
    if (!icon.isNull()) {
        const qreal ratio = d.m_host ? d.m_host->devicePixelRatioF() : qApp->devicePixelRatio();
        image.reset(createIconHandle(iconImage(icon, ratio)));
    }
    entry->item->setIconFromHandle(image.get());
    entry->icon = std::move(image);
}

std::unique_ptr<ActionToolbarMirror::Entry> ActionToolbarMirror::makeEntry(QAction* action, Entry* parent)
{
    auto entry = std::make_unique<Entry>();
    entry->action = action;
    entry->parent = parent;
    Entry* raw = entry.get();
    ContextSinks::routeItem(raw, &d.m_events);
    entry->connections.push_back(QObject::connect(action, &QAction::changed, d.q, [this, raw] { actionChanged(raw); }));
    entry->connections.push_back(QObject::connect(action, &QObject::destroyed, d.q, [this, raw] { actionDestroyed(raw); }));
    watchMenu(raw);
    return entry;
}

void ActionToolbarMirror::retire(std::unique_ptr<Entry> entry)
{
    entry->disconnectAll();
    m_retired.push_back(std::move(entry));
}

void ActionToolbarMirror::watchMenu(Entry* entry)
{
    QMenu* menu = entry->parent ? nullptr : entry->action->menu();
    if (menu == entry->menu)
        return;
    if (entry->menu)
        entry->menu->removeEventFilter(d.q);
    entry->menu = menu;
    for (auto& child : entry->children)
        retire(std::move(child));
    entry->children.clear();
    if (!menu)
        return;
    menu->installEventFilter(d.q);
    for (QAction* child : menu->actions()) {
        if (!child->isSeparator())
            entry->children.push_back(makeEntry(child, entry));
    }
}

MTBxItem* ActionToolbarMirror::createItem(Entry* entry)
{
    QAction* action = entry->action;
    const MTBxString id = toMtbString(action->objectName().isEmpty() ? action->iconText() : action->objectName());
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
        child->item = new MTBxButton(toMtbString(child->action->iconText()), child.get());
        // The link lets the entry's events reach its context through the button's window.
        child->item->setParent(button);
        child->iconKey = 0;
        syncItem(child.get());
        button->addItem(child->item);
    }
    return button;
}

int ActionToolbarMirror::indexOf(const Entry* entry) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].get() == entry)
            return static_cast<int>(i);
    }
    return -1;
}

// Replaces an entry's item when the toolbar shows; the model alone otherwise.
// Making the new item may run host code (an icon engine): the old item's place
// is looked up afterwards, and the old item is removed last, by itself.
void ActionToolbarMirror::rebuild(Entry* entry)
{
    MTBxItem* const old = entry->item;
    if (!d.m_shown || !old || indexOf(entry) < 0)
        return;
    // The old item may be laid out again until it goes (an icon engine of
    // the new one may ask for that): its images stay until then.
    std::vector<IconHandle> oldIcons;
    oldIcons.push_back(std::move(entry->icon));
    for (const auto& child : entry->children)
        oldIcons.push_back(std::move(child->icon));
    MTBxItem* const replacement = createItem(entry);
    int place = 0;
    while (place < d.m_toolbar->itemCount() && d.m_toolbar->item(place) != old)
        ++place;
    d.m_toolbar->addItem(replacement, place);
    d.scheduleUpdate();
    d.m_toolbar->removeItem(old);
}

void ActionToolbarMirror::actionChanged(Entry* entry)
{
    if (!entry->parent) {
        const QWidget* before = entry->menu;
        watchMenu(entry);
        if (before != entry->menu || (entry->item && entry->item->itemType() != kindOf(entry))) {
            rebuild(entry);
            return;
        }
    }
    syncItem(entry);
    d.scheduleUpdate();
}

void ActionToolbarMirror::actionDestroyed(Entry* entry)
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
    d.scheduleUpdate();
    if (d.m_shown && item)
        d.m_toolbar->removeItem(item);
}

} // namespace MiniToolbars
