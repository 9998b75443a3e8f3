#include "Core/NotificationGuard.h"

#include "Core/Backend.h"
#include "Core/ItemDisposal.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"

#include <algorithm>

namespace MiniToolbars {

namespace {

// The items of a toolbar destroyed during one of its deliveries, and the
// window (with its view) that showed it.
struct DeferredToolbar
{
    std::vector<MTBxItem*>* items;
    ToolbarWindow* window;
};

// Several toolbars may be destroyed during one delivery; each keeps its own
// entry so that none of them is forgotten.
std::vector<DeferredToolbar>& deferredToolbars()
{
    static std::vector<DeferredToolbar> toolbars;
    return toolbars;
}

// Deliveries under way over all windows. A callback of one window may raise
// an event on another, so a deferred item or item view can only go once no
// delivery at all is running.
int s_deliveries = 0;

std::vector<MTBxItem*>& deferredItems()
{
    static std::vector<MTBxItem*> items;
    return items;
}

std::vector<ItemView*>& deferredItemViews()
{
    static std::vector<ItemView*> views;
    return views;
}

void deleteItems(std::vector<MTBxItem*>* items)
{
    if (!items)
        return;
    for (MTBxItem* item : *items)
        disposeItem(item);
    delete items;
}

// The entry must already be out of the list: deleting the view deletes the
// window, whose guard then looks for entries of its own.
void finish(const DeferredToolbar& toolbar)
{
    deleteItems(toolbar.items);
    if (MTBxView* view = toolbar.window->view())
        delete view;
}

// Finishes every deferred toolbar whose window is not delivering (deleting
// that window would pull the guard from under its delivery).
void finishToolbars()
{
    auto& toolbars = deferredToolbars();
    const auto finishable = [](const DeferredToolbar& t) { return !t.window->guard().isDelivering(); };
    for (;;) {
        const auto found = std::find_if(toolbars.begin(), toolbars.end(), finishable);
        if (found == toolbars.end())
            break;
        const DeferredToolbar toolbar = *found;
        toolbars.erase(found);
        finish(toolbar);
    }
}

bool deferredItself(const MTBxItem* item)
{
    const auto& items = deferredItems();
    if (std::find(items.begin(), items.end(), item) != items.end())
        return true;
    for (const DeferredToolbar& toolbar : deferredToolbars()) {
        if (toolbar.items && std::find(toolbar.items->begin(), toolbar.items->end(), item) != toolbar.items->end())
            return true;
    }
    const auto& views = deferredItemViews();
    const ItemView* view = item->itemView();
    return view && std::find(views.begin(), views.end(), view) != views.end();
}

// The children of a list item go when it goes. The walk is bounded: parent
// links are the host's and may form a loop.
bool isDeferred(const MTBxItem* item)
{
    for (int depth = 0; item && depth < 64; ++depth, item = item->parent()) {
        if (deferredItself(item))
            return true;
    }
    return false;
}

void releaseDeferredItems()
{
    std::vector<MTBxItem*> doomed;
    doomed.swap(deferredItems());
    for (MTBxItem* doomedItem : doomed)
        disposeItem(doomedItem);
}

void releaseDeferredItemViews()
{
    std::vector<ItemView*> doomed;
    doomed.swap(deferredItemViews());
    for (ItemView* doomedView : doomed)
        delete doomedView;
}

// Deleting an item may run toolkit code that delivers an event (a field
// that gives the keyboard back); such a delivery releases nothing again.
bool s_releasing = false;

bool s_releaseScheduled = false;

bool anythingDeferred()
{
    return !deferredToolbars().empty() || !deferredItems().empty() || !deferredItemViews().empty();
}

void releaseDeferred()
{
    s_releaseScheduled = false;
    if (s_releasing)
        return;
    s_releasing = true;
    finishToolbars();
    releaseDeferredItems();
    releaseDeferredItemViews();
    s_releasing = false;
}

} // namespace

NotificationGuard::NotificationGuard(ToolbarWindow& window)
    : m_window(window)
    , m_depth(0)
    , m_inRelayout(false)
    , m_detached(false)
{
}

bool NotificationGuard::isOwnToolbarDeferred() const
{
    const auto& toolbars = deferredToolbars();
    return std::any_of(toolbars.begin(), toolbars.end(), [this](const DeferredToolbar& t) { return t.window == &m_window; });
}

// A window that goes away while its toolbar's items wait for deletion (its
// view was deleted by someone else) takes those items with it. Its item views
// may be gone already, so the items forget them first.
NotificationGuard::~NotificationGuard()
{
    s_deliveries -= m_depth;
    auto& toolbars = deferredToolbars();
    const auto own = std::stable_partition(toolbars.begin(), toolbars.end(),
                                           [this](const DeferredToolbar& t) { return t.window != &m_window; });
    const std::vector<DeferredToolbar> orphans(own, toolbars.end());
    toolbars.erase(own, toolbars.end());
    for (const DeferredToolbar& toolbar : orphans) {
        if (!toolbar.items)
            continue;
        for (MTBxItem* item : *toolbar.items)
            item->MTBxItem::disconnectView();
        deleteItems(toolbar.items);
    }
}

// An item awaiting deletion gets no events at any depth: a nested delivery
// would reach the host for an item it has already let go of. Nor does a
// handler working on such an item, or on a window that awaits deletion: it
// is refused before it could release what it works on.
//
// Deferred objects go at the outermost entry, and only there: while any
// delivery runs, some handler up the stack may still be working on them.
// The entry counts before it releases, so that a toolkit object released
// here knows that the toolkit is dispatching and defers its own deletion.
bool NotificationGuard::enter(MTBxItem* item)
{
    if (m_detached || isOwnToolbarDeferred() || isDeferred(item))
        return false;
    ++m_depth;
    if (++s_deliveries == 1)
        releaseDeferred();
    return true;
}

void NotificationGuard::leave()
{
    if (m_depth == 0)
        return;
    --m_depth;
    // Deletions that waited for this delivery go once the toolkit's event
    // loop runs again, even when no further event comes.
    if (--s_deliveries == 0 && !s_releaseScheduled && anythingDeferred()) {
        s_releaseScheduled = true;
        Backend::instance().scheduleCleanup();
    }
}

// An item put back and removed again during one delivery is deleted once.
void NotificationGuard::deferItem(MTBxItem* item)
{
    auto& items = deferredItems();
    if (item && std::find(items.begin(), items.end(), item) == items.end())
        items.push_back(item);
}

void NotificationGuard::deferItemView(ItemView* view)
{
    if (view)
        deferredItemViews().push_back(view);
}

void NotificationGuard::deferToolbar(std::vector<MTBxItem*>* items)
{
    m_window.retire();
    auto& toolbars = deferredToolbars();
    const auto found = std::find_if(toolbars.begin(), toolbars.end(),
                                    [this](const DeferredToolbar& t) { return t.window == &m_window; });
    if (found == toolbars.end()) {
        toolbars.push_back({ items, &m_window });
        return;
    }
    // The window already waits for destruction: keep one entry per window.
    if (!items)
        return;
    if (!found->items) {
        found->items = items;
        return;
    }
    found->items->insert(found->items->end(), items->begin(), items->end());
    delete items;
}

// Outside every delivery the removed items and dropped item views go too;
// otherwise a host that never raises another event would keep them for good.
// Inside one nothing goes: a handler further up may still be working on it.
void NotificationGuard::cleanupOldViews()
{
    // Refused inside a delivery: the end of the last one asks again.
    s_releaseScheduled = false;
    if (s_deliveries == 0)
        releaseDeferred();
}

bool NotificationGuard::anyDelivering()
{
    return s_deliveries > 0;
}

bool NotificationGuard::isAwaitingDeletion(const MTBxItem* item)
{
    return isDeferred(item);
}

bool NotificationGuard::isItemDeferred(const MTBxItem* item)
{
    return item && deferredItself(item);
}

int NotificationGuard::deferredItemCount()
{
    return static_cast<int>(deferredItems().size());
}

int NotificationGuard::deferredItemViewCount()
{
    return static_cast<int>(deferredItemViews().size());
}

int NotificationGuard::deferredToolbarCount()
{
    return static_cast<int>(deferredToolbars().size());
}

NotificationGuard::Delivery::Delivery(NotificationGuard& guard, MTBxItem* item)
    : m_guard(guard)
    , m_accepted(guard.enter(item))
{
}

NotificationGuard::Delivery::~Delivery()
{
    if (m_accepted)
        m_guard.leave();
}

} // namespace MiniToolbars
