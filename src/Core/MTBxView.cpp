#include "Core/MTBxView.h"

#include "Core/Backend.h"
#include "Core/HostWidget.h"
#include "Core/ItemView.h"
#include "Core/Point.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"

#include <algorithm>
#include <utility>

namespace MiniToolbars {

MTBxView::MTBxView(MiniToolbar* toolbar, ControllerObserver* observer)
    : m_toolbar(toolbar)
    , m_observer(observer)
    , m_name(L"untitled")
    , m_shown(true)
    , m_pressChanged(true)
    , m_hoverChanged(true)
    , m_current(nullptr)
    , m_hasNoFadeItems(false)
    , m_layoutDirty(true)
{
}

MTBxView::~MTBxView()
{
    m_current = nullptr;
    if (m_itemViews) {
        // Emptied slot by slot: a view's item may drop widgets on the way,
        // and the window then reads the views again.
        for (ItemView*& view : *m_itemViews)
            delete std::exchange(view, nullptr);
        m_itemViews.reset();
    }
    // The window may be a toolkit child of the host widget: it goes first.
    m_window.reset();
    m_host.reset();
}

bool MTBxView::show(float x, float y, bool deferred)
{
    // A toolbar shown again must not come back with the item that was pressed
    // when it went away.
    if (m_current && m_current->state() == Pressed) {
        m_current->setState(Normal);
        m_current->setPressedSubArea(false);
    }
    if (!m_window)
        m_window.reset(Backend::instance().createToolbarWindow(this, m_host.get(), m_windowKind));
    if (!m_window)
        return false;
    m_window->showAt(Point(x, y), deferred);
    return true;
}

void MTBxView::getBounds(float& top, float& left, float& bottom, float& right) const
{
    top = 0.0f;
    left = 0.0f;
    bottom = 0.0f;
    right = 0.0f;
    if (!m_itemViews)
        return;
    for (const ItemView* view : *m_itemViews) {
        if (!view)
            continue;
        float t = 0.0f;
        float l = 0.0f;
        float b = 0.0f;
        float r = 0.0f;
        view->getBounds(t, l, b, r);
        top = std::max(top, t);
        left = std::min(left, l);
        bottom = std::min(bottom, b);
        right = std::max(right, r);
    }
}

void MTBxView::getNoFadeBounds(float& top, float& left, float& bottom, float& right) const
{
    getBounds(top, left, bottom, right);
}

void MTBxView::createHost(HWND parentWindow)
{
    // The window is parented to the host widget and its item views point at
    // it; replacing the host under a live window would delete the window
    // behind their backs, so the host stays as long as the window lives.
    if (m_window)
        return;
    m_host.reset();
    m_host.reset(Backend::instance().createHostWidget(parentWindow));
}

void MTBxView::setToolbar(MiniToolbar* toolbar)
{
    m_toolbar = toolbar;
}

void MTBxView::setName(const MTBxString& name)
{
    m_name = name;
}

void MTBxView::setLayoutDirty(bool dirty)
{
    if (dirty && !m_layoutDirty && m_window)
        m_window->scheduleRelayout();
    m_layoutDirty = dirty;
}

int MTBxView::itemViewCount() const
{
    return m_itemViews ? static_cast<int>(m_itemViews->size()) : 0;
}

ItemView* MTBxView::itemViewAt(int index) const
{
    if (index < 0 || index >= itemViewCount())
        return nullptr;
    return (*m_itemViews)[static_cast<size_t>(index)];
}

ItemView* MTBxView::itemViewAt(float x, float y, bool& onSubArea) const
{
    if (!m_itemViews)
        return nullptr;
    for (ItemView* view : *m_itemViews) {
        if (!view || view->state() == Disabled || view->isFadedAway())
            continue;
        const MTBxItem* const item = view->item();
        // Separators and row breaks have no extent of their own: their views
        // sit unmeasured at the origin and must never take a press.
        if (!item || item->itemType() == MTBxItem::Label || item->isSeparatorType())
            continue;
        if (!view->hitTest(x, y, onSubArea))
            continue;
        // The entry's text is edited by its own field, not pressed.
        if (item->itemType() == MTBxItem::DropDownEntry && !onSubArea)
            return nullptr;
        return view;
    }
    return nullptr;
}

void MTBxView::forgetWindow()
{
    for (int i = 0; i < itemViewCount(); ++i) {
        if (ItemView* itemView = itemViewAt(i))
            itemView->forgetWindow();
    }
    if (ItemView* grip = gripView())
        grip->forgetWindow();
    (void)m_window.release();
    m_shown = false;
}

void MTBxView::adoptWindow(std::unique_ptr<ToolbarWindow> window)
{
    m_window.reset(window.release());
}

} // namespace MiniToolbars
