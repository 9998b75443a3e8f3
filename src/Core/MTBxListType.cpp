#include "MiniToolbars/MTBxListType.h"

#include "Core/Backend.h"
#include "Core/ItemDisposal.h"
#include "Core/ItemView.h"
#include "Core/NotificationGuard.h"
#include "Core/PopupWidget.h"
#include "Core/Text.h"
#include "Core/ToolbarWindow.h"

#include <algorithm>
#include <memory>

namespace MiniToolbars {

MTBxListType::MTBxListType(MTBItemType type, const MTBxString& id, void* hostContext)
    : MTBxItem(type, id, true, hostContext)
    , m_current(nullptr)
{
}

// Children stay: a host that deletes them itself, before or after, would
// otherwise free them twice. The library's own deletions go through disposeItem.
MTBxListType::~MTBxListType() = default;

const MTBxString& MTBxListType::idSelected() const
{
    return isSynchronizedWithCurrentItem() && m_current ? m_current->idSelected() : MTBxItem::idSelected();
}

const MTBxString& MTBxListType::text() const
{
    return isSynchronizedWithCurrentItem() && m_current ? m_current->text() : MTBxItem::text();
}

const MTBxString& MTBxListType::widestText() const
{
    if (!showText() || !isSynchronizedWithCurrentItem())
        return text();
    const MTBxItem* widest = nullptr;
    float widestWidth = 0.0f;
    for (const MTBxItem* child : m_children) {
        if (!child->isVisible() || child->text().empty())
            continue;
        const std::unique_ptr<Text> measured(Backend::instance().createText(child->text(), 0));
        const float width = measured ? measured->width() : 0.0f;
        if (!widest || width > widestWidth) {
            widest = child;
            widestWidth = width;
        }
    }
    return widest ? widest->text() : text();
}

HICON MTBxListType::iconHandle() const
{
    return isSynchronizedWithCurrentItem() && m_current ? m_current->iconHandle() : MTBxItem::iconHandle();
}

const MTBxString& MTBxListType::icon() const
{
    return isSynchronizedWithCurrentItem() && m_current ? m_current->icon() : MTBxItem::icon();
}

const MTBxString& MTBxListType::toolTip() const
{
    return isSynchronizedWithCurrentItem() && m_current ? m_current->toolTip() : MTBxItem::toolTip();
}

// A null child, the list itself, a second entry of one child or a child
// already on its way out would be dereferenced or deleted twice later on.
void MTBxListType::addItem(MTBxItem* item, MTBxItem* before)
{
    if (!item || item == this || indexOf(item) >= 0 || NotificationGuard::isItemDeferred(item))
        return;
    const auto at = before ? std::find(m_children.begin(), m_children.end(), before) : m_children.end();
    m_children.insert(at, item);
    if (!m_current)
        setCurrentItem(item);
}

void MTBxListType::setCurrentItem(MTBxItem* item)
{
    if (item == m_current || !isSynchronizedWithCurrentItem())
        return;
    if (item && indexOf(item) < 0)
        return;
    if (m_current)
        m_current->setActive(false);
    if (item)
        item->setActive(true);
    m_current = item;

    ItemView* const view = itemView();
    if (!view)
        return;
    if (item)
        view->setIconFrom(*item);
    // The caption mirrors the current child as well.
    refreshWindow();
}

MTBxItem* MTBxListType::currentItem() const
{
    if (!isSynchronizedWithCurrentItem() || !m_current)
        return const_cast<MTBxListType*>(this);
    return m_current;
}

void MTBxListType::removeItem(int index)
{
    if (index < 0 || index >= itemCount())
        return;
    releaseChild(takeChild(index));
}

void MTBxListType::validateCurrentItem()
{
    if (!isSynchronizedWithCurrentItem())
        return;
    if (m_current && m_current->isEnabled() && m_current->isVisible())
        return;
    for (MTBxItem* child : m_children) {
        if (child->isVisible() && child->isEnabled()) {
            setCurrentItem(child);
            return;
        }
    }
    if (!m_children.empty())
        setCurrentItem(m_children.front());
}

int MTBxListType::itemCount() const
{
    return static_cast<int>(m_children.size());
}

MTBxItem* MTBxListType::item(int index) const
{
    if (index < 0 || index >= itemCount())
        return nullptr;
    return m_children[static_cast<size_t>(index)];
}

int MTBxListType::indexOf(const MTBxItem* item) const
{
    const auto found = std::find(m_children.begin(), m_children.end(), item);
    return found == m_children.end() ? -1 : static_cast<int>(found - m_children.begin());
}

MTBxItem* MTBxListType::takeChild(int index)
{
    MTBxItem* const child = m_children[static_cast<size_t>(index)];
    m_children.erase(m_children.begin() + index);
    if (child == m_current) {
        m_current = nullptr;
        validateCurrentItem();
    }
    return child;
}

// Any delivery may be running on the child (its Clicked from a menu, a
// HoverLeave), even when this list has lost its view meanwhile.
void MTBxListType::releaseChild(MTBxItem* child)
{
    if (indexOf(child) >= 0)
        return;
    if (NotificationGuard::anyDelivering())
        NotificationGuard::deferItem(child);
    else
        disposeItem(child);
}

void MTBxListType::PopupRelease::operator()(PopupWidget* popup) const
{
    popup->release();
}

// The list item goes first: a menu it owns may still point at the children.
void disposeItem(MTBxItem* item)
{
    auto* const list = dynamic_cast<MTBxListType*>(item);
    if (!list) {
        delete item;
        return;
    }
    std::vector<MTBxItem*> children;
    children.swap(list->m_children);
    list->m_current = nullptr;
    delete list;
    for (MTBxItem* child : children)
        disposeItem(child);
}

} // namespace MiniToolbars
