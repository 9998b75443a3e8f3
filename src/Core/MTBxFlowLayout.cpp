#include "Core/MTBxFlowLayout.h"

#include "Core/ItemView.h"
#include "Core/MTBxRender.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/MTBxListType.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace MiniToolbars {

namespace {

const float gripY = 0.0f;
// Any keyboard modifier flag in the combined button and modifier mask.
const unsigned int modifierMask = 0xFE000000u;

// Event arguments travel as plain integers in pointer-typed parameters.
unsigned int* eventArgument(std::intptr_t value)
{
    return reinterpret_cast<unsigned int*>(value);
}

// Separators and row breaks never start a row, never follow a row break and
// never come twice; a separator right before a row break gives way to it.
std::vector<MTBxItem*> visibleItems(const MiniToolbar* toolbar)
{
    std::vector<MTBxItem*> items;
    if (!toolbar)
        return items;
    items.reserve(static_cast<size_t>(toolbar->itemCount()));
    bool lastWasSeparatorType = true;
    bool lastWasNewLine = true;
    for (int i = 0; toolbar->hasItem(i); ++i) {
        MTBxItem* const item = toolbar->item(i);
        if (!item || !item->isVisible())
            continue;
        if (item->isSeparatorType()) {
            if (lastWasNewLine)
                continue;
            if (lastWasSeparatorType) {
                if (!item->isNewLine())
                    continue;
                if (!items.empty())
                    items.pop_back();
            }
        }
        lastWasNewLine = item->isNewLine();
        lastWasSeparatorType = item->isSeparatorType();
        items.push_back(item);
    }
    return items;
}

// A view kept by an unchanged relayout must sit exactly where its
// replacement would, with the same parts: the bounds are computed from the
// replacement, and an item that gained an arrow in a fixed width must show it.
bool sameGeometry(const ItemView& kept, const ItemView& replacement)
{
    const auto samePart = [](const ItemPart& a, const ItemPart& b) { return a.kind == b.kind && a.x == b.x && a.width == b.width; };
    return kept.left() == replacement.left() && kept.top() == replacement.top()
        && kept.width() == replacement.width() && kept.height() == replacement.height()
        && std::equal(kept.parts().begin(), kept.parts().end(), replacement.parts().begin(), replacement.parts().end(), samePart);
}

// True when the views show exactly these items and would measure as they did:
// a relayout would then build views only to find them unchanged and drop them.
bool viewsStillMatch(const std::vector<ItemView*>* views, const std::vector<MTBxItem*>& items)
{
    if (!views || views->size() != items.size())
        return false;
    for (size_t k = 0; k < items.size(); ++k) {
        MTBxItem* const previous = k > 0 ? items[k - 1] : nullptr;
        MTBxItem* const next = k + 1 < items.size() ? items[k + 1] : nullptr;
        const ItemView* const view = (*views)[k];
        if (!view || !view->builtFrom(items[k], previous, next))
            return false;
    }
    return true;
}

} // namespace

MTBxFlowLayout::MTBxFlowLayout(MiniToolbar* toolbar, ControllerObserver* observer)
    : MTBxView(toolbar, observer)
{
}

MTBxFlowLayout::~MTBxFlowLayout()
{
    if (m_pendingItemViews) {
        for (ItemView* view : *m_pendingItemViews)
            delete view;
        m_pendingItemViews.reset();
    }
    // The grip view points at the embedded grip, which goes before it would.
    m_gripView.reset();
}

MiniToolbar* MTBxFlowLayout::toolbar() const
{
    return m_toolbar;
}

void MTBxFlowLayout::rebuild(bool force)
{
    const std::vector<MTBxItem*> items = visibleItems(m_toolbar);
    // A synchronized list shows its current child, which must be one that can
    // be shown; settled first, as it may change what the views would show.
    for (MTBxItem* item : items) {
        if (auto* list = dynamic_cast<MTBxListType*>(item))
            list->validateCurrentItem();
    }
    if (!force && (!m_pendingItemViews || m_pendingItemViews->empty())
        && viewsStillMatch(m_itemViews.get(), items)) {
        for (MTBxItem* item : items)
            item->cacheQtStoredProperties();
        setLayoutDirty(false);
        return;
    }

    // Even a forced relayout keeps the old views until the new ones stand:
    // items keep their widgets (an entry's field, its focus) across it.
    ToolbarWindow* const window = m_window.get();
    if (!m_pendingItemViews)
        m_pendingItemViews.reset(new std::vector<ItemView*>);
    m_pendingItemViews->reserve(m_pendingItemViews->size() + items.size());
    for (size_t k = 0; k < items.size(); ++k) {
        MTBxItem* const previous = k > 0 ? items[k - 1] : nullptr;
        MTBxItem* const next = k + 1 < items.size() ? items[k + 1] : nullptr;
        ItemView* const view = new ItemView(static_cast<int>(k), items[k], window, previous, next);
        items[k]->cacheQtStoredProperties();
        m_pendingItemViews->push_back(view);
    }

    const std::vector<ItemView*>* const before = m_itemViews.get();
    arrange(force);
    // Views that survived an unchanged relayout keep the pointer's state;
    // anything else would leave current pointing at a dropped view.
    if (!before || m_itemViews.get() != before)
        m_current = nullptr;
    setLayoutDirty(false);
}

void MTBxFlowLayout::arrange(bool force)
{
    Style* const style = Style::instance();
    const float rowPitch = static_cast<float>(style->itemHeight() + style->separatorGap());
    const float separatorAdvance = static_cast<float>(style->separatorGap());

    if (!m_pendingItemViews)
        m_pendingItemViews.reset(new std::vector<ItemView*>);
    std::vector<ItemView*>& pending = *m_pendingItemViews;

    float x = 0.0f;
    float y = 0.0f;
    float rowWidth = 0.0f;
    float minLeft = 1e9f;
    float minBottom = 1e9f;
    float maxRight = 0.0f;
    float maxTop = -1e9f;
    bool hasNoFadeItems = false;
    bool unchanged = m_itemViews && m_itemViews->size() == pending.size();

    for (size_t i = 0; i < pending.size(); ++i) {
        ItemView* const view = pending[i];
        if (!view)
            continue;
        view->measure();
        const float w = view->width();
        MTBxItem* const item = view->item();
        if (unchanged)
            unchanged = (*m_itemViews)[i] && (*m_itemViews)[i]->item() == item;
        if (!item)
            continue;
        if (item->isSeparator()) {
            x += separatorAdvance;
        } else if (item->isNewLine()) {
            rowWidth = std::max(x, rowWidth);
            x = 0.0f;
            y -= rowPitch;
        } else {
            view->moveTo(x, y);
            if (!item->autoHide()) {
                hasNoFadeItems = true;
                minLeft = std::min(minLeft, x);
                maxRight = std::max(maxRight, x + w);
                minBottom = std::min(minBottom, y - rowPitch);
                maxTop = std::max(maxTop, y);
            }
            x += w;
            if (unchanged)
                unchanged = sameGeometry(*(*m_itemViews)[i], *view);
        }
    }

    // The grip follows the style's metrics even when no item changed.
    std::unique_ptr<ItemView> gripView(new ItemView(-1, &m_grip, m_window.get(), nullptr, nullptr));
    gripView->measure();
    gripView->moveTo(-static_cast<float>(style->gripOffset()), gripY);
    if (unchanged)
        unchanged = m_gripView && sameGeometry(*m_gripView, *gripView);

    if (!force && unchanged) {
        // Nothing moved: keep the old views with their hover and press state.
        for (ItemView* view : pending)
            delete view;
        pending.clear();
    } else {
        ToolbarWindow* const window = m_window.get();
        if (m_itemViews && window && NotificationGuard::anyDelivering()) {
            // The receiver of the event under way may still hold them.
            for (ItemView* view : *m_itemViews) {
                if (view) {
                    view->detach(nullptr);
                    NotificationGuard::deferItemView(view);
                }
            }
            m_itemViews.reset();
        }
        // The new views stand before the old ones go: deleting a view lets
        // its item drop widgets, and the window then reads the views again.
        const std::unique_ptr<std::vector<ItemView*>> old = std::move(m_itemViews);
        m_itemViews = std::move(m_pendingItemViews);
        for (ItemView* view : *m_itemViews) {
            if (MTBxItem* item = view->item())
                item->setItemView(view);
        }
        if (old) {
            for (ItemView*& view : *old)
                delete std::exchange(view, nullptr);
        }

        m_gripView = std::move(gripView);
    }
    m_pendingItemViews.reset();

    rowWidth = std::max(x, rowWidth);
    y -= static_cast<float>(style->itemHeight());
    m_bounds = Rect(0.0f, 0.0f, rowWidth, -y);
    m_hasNoFadeItems = hasNoFadeItems;
    if (hasNoFadeItems)
        m_noFadeBounds = Rect(minLeft, maxTop, maxRight - minLeft, maxTop - minBottom);
    else
        m_noFadeBounds = m_bounds;
}

void MTBxFlowLayout::draw(MTBxRender* renderer, bool)
{
    if (!renderer || !m_shown || !m_itemViews)
        return;
    if (m_gripView)
        m_gripView->draw(renderer);
    for (ItemView* view : *m_itemViews) {
        // An item deleted while shown ends the toolbar until the next relayout.
        if (!view || !view->item())
            break;
        view->draw(renderer);
    }
}

ItemView* MTBxFlowLayout::mouseMove(float x, float y)
{
    bool onSubArea = false;
    ItemView* hit = itemViewAt(x, y, onSubArea);
    m_hoverChanged = m_current != hit;
    if (m_hoverChanged && m_current) {
        const std::vector<ItemView*>* const views = m_itemViews.get();
        m_current->setHovered(false);
        // A pressed view keeps the pointer until the button comes up.
        if (m_current && m_current->state() == Pressed)
            return nullptr;
        // The host's HoverLeave callback may have caused a relayout.
        if (m_itemViews.get() != views) {
            onSubArea = false;
            hit = itemViewAt(x, y, onSubArea);
        }
    }
    if (hit)
        hit->setHoverSubArea(onSubArea);
    m_current = hit;
    if (m_current)
        m_current->setHovered(true);
    return m_current;
}

ItemView* MTBxFlowLayout::mousePress(float x, float y)
{
    bool onSubArea = false;
    ItemView* const hit = itemViewAt(x, y, onSubArea);
    if (hit)
        hit->setPressedSubArea(onSubArea);
    m_pressChanged = m_current != hit;
    if (m_pressChanged && m_current && m_current->state() == Pressed) {
        m_current->setState(Normal);
        m_current->setPressedSubArea(false);
    }
    m_current = hit;
    if (m_current && m_current->state() == Normal)
        m_current->setState(Pressed);
    return m_current;
}

ItemView* MTBxFlowLayout::mouseRelease(float x, float y, bool moved, int buttons)
{
    if (moved && m_toolbar) {
        int wx = 0;
        int wy = 0;
        if (m_window)
            m_window->getOrigin(wx, wy);
        m_toolbar->Notify(MTBxToolbarEvents::ToolbarMoved, eventArgument(wx), eventArgument(wy));
    }
    bool onSubArea = false;
    ItemView* const hit = itemViewAt(x, y, onSubArea);

    if (m_current) {
        if (moved) {
            if (m_current->state() == Pressed) {
                m_current->setState(Normal);
                m_current->setPressedSubArea(false);
            }
            return hit;
        }

        // Only the view the press went to reacts: a press elsewhere that is
        // released over a check item must not toggle it.
        if (m_current->state() != Pressed) {
            m_current = nullptr;
            return mouseMove(x, y);
        }

        // Each callback may relayout; current is read again after every one.
        MTBxItem* item = m_current->item();
        if ((static_cast<unsigned int>(buttons) & modifierMask) && item) {
            item->Notify(MTBxItemEvents::ModifiedClick,
                         eventArgument(static_cast<unsigned int>(buttons)), eventArgument(0));
            if (!m_current)
                return nullptr;
            item = m_current->item();
        }
        if (item && item->isCheckable()) {
            item->setChecked(!item->isChecked(), false);
            item->Notify(MTBxItemEvents::CheckedChanged, eventArgument(item->isChecked() ? 1 : 0),
                         eventArgument(0));
            if (!m_current)
                return nullptr;
            item = m_current->item();
        }
        if (m_current->state() == Pressed) {
            if (item)
                item->itemClicked(hit);
            if (!m_current)
                return nullptr;
            if (!m_window || !m_window->hasPopup()) {
                m_current->setState(Normal);
                m_current->setPressedSubArea(false);
            }
            return hit;
        }
        m_current = nullptr;
    }
    return mouseMove(x, y);
}

void MTBxFlowLayout::mouseWheel(float, float, int delta)
{
    MTBxItem* const item = m_current ? m_current->item() : nullptr;
    // The kind alone does not make a combo box: a plain list may have it.
    if (auto* combo = dynamic_cast<MTBxCombobox*>(item))
        combo->mouseWheelEvent(delta);
}

void MTBxFlowLayout::keyDown(unsigned long wParam, long lParam)
{
    if (m_toolbar)
        m_toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown,
                          eventArgument(static_cast<std::intptr_t>(wParam)), eventArgument(lParam));
}

void MTBxFlowLayout::keyUp(unsigned long wParam, long lParam)
{
    if (m_toolbar)
        m_toolbar->Notify(MTBxToolbarEvents::ToolbarKeyUp,
                          eventArgument(static_cast<std::intptr_t>(wParam)), eventArgument(lParam));
}

void MTBxFlowLayout::notifyFaded()
{
    if (m_toolbar)
        m_toolbar->Notify(MTBxToolbarEvents::ToolbarFaded, eventArgument(0), eventArgument(0));
}

void MTBxFlowLayout::getBounds(float& top, float& left, float& bottom, float& right) const
{
    top = m_bounds.top();
    left = m_bounds.left();
    bottom = m_bounds.bottom();
    right = m_bounds.right();
}

void MTBxFlowLayout::getNoFadeBounds(float& top, float& left, float& bottom, float& right) const
{
    top = m_noFadeBounds.top();
    left = m_noFadeBounds.left();
    bottom = m_noFadeBounds.bottom();
    right = m_noFadeBounds.right();
}

} // namespace MiniToolbars
