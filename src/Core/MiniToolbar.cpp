#include "MiniToolbars/MiniToolbar.h"

#include "Core/ContextSinks.h"
#include "Core/ItemDisposal.h"
#include "Core/ItemView.h"
#include "Core/LiveToolbars.h"
#include "Core/MTBxView.h"
#include "Core/NotificationGuard.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/MTBxToolbarEventsUtility.h"

#include <algorithm>

namespace MiniToolbars {

namespace {

// The window whose guard decides whether deletions must wait.
ToolbarWindow* windowOf(const MTBxView* view)
{
    return view ? view->window() : nullptr;
}

// A callback of any toolbar may be running on an item of this one: one
// moved here from the toolbar that raised it, say.
bool mustDefer()
{
    return NotificationGuard::anyDelivering();
}

} // namespace

MiniToolbar::MiniToolbar(MTBxString name, void* hostContext)
    : m_items(new std::vector<MTBxItem*>)
    , m_view(nullptr)
    , m_name(name)
    , m_hostContext(hostContext)
    , m_displayOnlyNoFadeItems(false)
    , m_userData(nullptr)
    , m_localAutoFade(-1)
{
    LiveToolbars::add(this);
}

MiniToolbar::~MiniToolbar()
{
    LiveToolbars::remove(this);
    if (mustDefer()) {
        // A callback is running, maybe on one of our items: they must survive until it returns.
        for (MTBxItem* item : *m_items)
            item->setOwner(nullptr);
        if (ToolbarWindow* window = windowOf(m_view)) {
            window->guard().deferToolbar(m_items);
            m_items = nullptr;
            m_view->setToolbar(nullptr);
            return;
        }
        for (MTBxItem* item : *m_items)
            NotificationGuard::deferItem(item);
        m_items->clear();
    }
    for (MTBxItem* item : *m_items)
        disposeItem(item);
    delete m_items;
    m_items = nullptr;
    if (m_view) {
        // Nothing but this toolbar leads to its view. A toolbar destroyed while
        // still shown, or closed from inside one of its own callbacks (which only
        // hides it), would otherwise leave its view and window behind for good.
        m_view->setToolbar(nullptr);
        delete m_view;
        m_view = nullptr;
    }
}

MTBxString MiniToolbar::name() const
{
    return m_name;
}

// A null item or a second insertion of the same item would later be deleted
// twice (or dereferenced): null is refused, an item already here stays where it
// is, and an item of another toolbar moves over.
MTBxItem* MiniToolbar::addItem(MTBxItem* item, int index)
{
    if (!item)
        return nullptr;
    if (std::find(m_items->begin(), m_items->end(), item) != m_items->end())
        return item;
    if (MiniToolbar* previous = item->owner())
        previous->release(item);
    const int count = itemCount();
    if (index >= 0 && index <= count)
        m_items->insert(m_items->begin() + index, item);
    else
        m_items->push_back(item);
    item->setOwner(this);
    markLayoutDirty();
    return item;
}

bool MiniToolbar::hasItem(int index) const
{
    return index >= 0 && index < itemCount();
}

MTBxItem* MiniToolbar::item(int index) const
{
    return hasItem(index) ? (*m_items)[static_cast<size_t>(index)] : nullptr;
}

int MiniToolbar::itemCount() const
{
    return static_cast<int>(m_items->size());
}

MTBxItem* MiniToolbar::itemWithTag(int tag) const
{
    for (MTBxItem* item : *m_items) {
        if (item && item->tag() == tag)
            return item;
    }
    return nullptr;
}

void MiniToolbar::removeItem(int index)
{
    if (!hasItem(index))
        return;
    MTBxItem* item = (*m_items)[static_cast<size_t>(index)];
    m_items->erase(m_items->begin() + index);
    deleteItemDeferred(item);
}

void MiniToolbar::removeItem(MTBxItem* item)
{
    const auto found = std::find(m_items->begin(), m_items->end(), item);
    if (found == m_items->end())
        return;
    m_items->erase(found);
    deleteItemDeferred(item);
}

// While one of our events is being delivered, the items wait like removeItem's
// do: the callback may be running on any of them.
void MiniToolbar::clear()
{
    std::vector<MTBxItem*> items;
    items.swap(*m_items);
    if (mustDefer()) {
        for (MTBxItem* item : items)
            deleteItemDeferred(item);
        return;
    }
    for (MTBxItem* item : items)
        disposeItem(item);
}

bool MiniToolbar::isEmpty() const
{
    return m_items->empty();
}

bool MiniToolbar::isVisible() const
{
    return m_view && m_view->shown();
}

bool MiniToolbar::getBounds(float& top, float& left, float& bottom, float& right)
{
    if (!m_view)
        return false;
    m_view->getBounds(top, left, bottom, right);
    return true;
}

bool MiniToolbar::getNoFadeBounds(float& top, float& left, float& bottom, float& right)
{
    if (!m_view)
        return false;
    m_view->getNoFadeBounds(top, left, bottom, right);
    return true;
}

void MiniToolbar::Notify(MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int* p2)
{
    if (!m_hostContext)
        return;
    ToolbarWindow* window = windowOf(m_view);
    if (!window)
        return;
    NotificationGuard& guard = window->guard();
    if (guard.isInRelayout())
        return;
    const NotificationGuard::Delivery delivery(guard, nullptr);
    if (!delivery.accepted())
        return;
    if (MTBxToolbarEvents* sink = ContextSinks::toolbarSinkFor(m_hostContext))
        sink->Notify(m_hostContext, type, p1, p2);
}

void MiniToolbar::setDisplayOnlyNoFadeItems(bool displayOnlyNoFadeItems)
{
    m_displayOnlyNoFadeItems = displayOnlyNoFadeItems;
    if (ToolbarWindow* window = windowOf(m_view))
        window->updateFadeLock();
}

bool MiniToolbar::getDisplayOnlyNoFadeItems() const
{
    return m_displayOnlyNoFadeItems;
}

void MiniToolbar::setUserData(void* userData)
{
    m_userData = userData;
}

void* MiniToolbar::getUserData() const
{
    return m_userData;
}

void MiniToolbar::setLocalAutoFade(int localAutoFade)
{
    m_localAutoFade = localAutoFade;
}

int MiniToolbar::getLocalAutoFade() const
{
    return m_localAutoFade;
}

void MiniToolbar::CleanupOldViews()
{
    NotificationGuard::cleanupOldViews();
}

MTBxView* MiniToolbar::view() const
{
    return m_view;
}

void MiniToolbar::setView(MTBxView* view)
{
    m_view = view;
}

void* MiniToolbar::hostContext() const
{
    return m_hostContext;
}

// The item is already out of the list.
void MiniToolbar::deleteItemDeferred(MTBxItem* item)
{
    if (!item)
        return;
    item->setOwner(nullptr);
    if (mustDefer()) {
        NotificationGuard::deferItem(item);
    } else {
        disposeItem(item);
    }
    markLayoutDirty();
}

void MiniToolbar::release(MTBxItem* item)
{
    const auto found = std::find(m_items->begin(), m_items->end(), item);
    if (found == m_items->end())
        return;
    // The new toolbar takes ownership as soon as this returns.
    m_items->erase(found);
    // The item's view and its neighbours' links stay with this toolbar's
    // layout; the new toolbar must not find them when it frees the item.
    if (ItemView* view = item->itemView())
        view->detach(item);
    markLayoutDirty();
}

void MiniToolbar::markLayoutDirty()
{
    if (m_view)
        m_view->setLayoutDirty(true);
}

} // namespace MiniToolbars
