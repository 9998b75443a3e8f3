#include "MiniToolbars/MTBxDropDownButton.h"

#include "Core/Backend.h"
#include "Core/DropDownPopup.h"
#include "Core/ItemView.h"
#include "Core/NotificationGuard.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"

namespace MiniToolbars {

MTBxDropDownButton::MTBxDropDownButton(const MTBxString& id, void* hostContext)
    : MTBxListType(DropDownButton, id, hostContext)
{
}

MTBxDropDownButton::~MTBxDropDownButton()
{
    m_menu.reset();
}

void MTBxDropDownButton::itemClicked(ItemView* view)
{
    // view lies under the release point; the press, and so the part pressed,
    // belongs to the button's own view.
    ItemView* const own = itemView();
    if (!view || !own)
        return;
    if (hasSplitter() && !own->pressedSubArea()) {
        if (isSynchronizedWithCurrentItem())
            currentItem()->Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
        else
            MTBxListType::itemClicked(view);
        return;
    }
    openMenu(own);
}

void MTBxDropDownButton::disconnectView()
{
    if (m_menu)
        m_menu->hidePopup();
    MTBxListType::disconnectView();
}

// The child leaves the list before its entry leaves the menu: un-hovering the
// entry calls the host, which may add or remove children meanwhile.
void MTBxDropDownButton::removeItem(int index)
{
    if (index < 0 || index >= itemCount())
        return;
    MTBxItem* const child = takeChild(index);
    if (m_menu)
        m_menu->removeEntry(child);
    releaseChild(child);
}

void MTBxDropDownButton::getDropDownLocation(ItemView* view, float& x, float& y)
{
    x = view->left() + static_cast<float>(Style::instance()->gapBetween(LeadingMargin, Caption));
    y = view->bottom();
}

// The host hears DropDownAboutToShow before the menu exists, so that its
// callback can change the children, hide or remove the button, or close the
// toolbar; the menu is only built for a button still on screen afterwards.
void MTBxDropDownButton::openMenu(ItemView* view)
{
    m_menu.reset();
    Notify(MTBxItemEvents::DropDownAboutToShow, nullptr, nullptr);
    view = itemView();
    // A nested click during the callback may have opened a menu already.
    if (!view || m_menu || NotificationGuard::isAwaitingDeletion(this))
        return;
    ToolbarWindow* const window = view->window();
    if (!window)
        return;
    m_menu.reset(Backend::instance().createDropDownMenu(this, window));
    if (!m_menu)
        return;
    for (int i = 0; i < itemCount(); ++i) {
        MTBxItem* const child = item(i);
        if (!child->isVisible())
            continue;
        if (child->isSeparator())
            m_menu->addSeparator(child);
        else
            m_menu->addEntry(child);
    }
    float x = 0.0f;
    float y = 0.0f;
    getDropDownLocation(view, x, y);
    // Where there is no room below, the menu of a button opens above it,
    // touching it; that of an entry, which opens beside it, ends level with it.
    m_menu->popUp(Point(x, y), itemType() == DropDownEntry ? view->bottom() : view->top());
}

} // namespace MiniToolbars
