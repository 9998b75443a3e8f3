#include "MiniToolbars/MTBxCombobox.h"

#include "Core/Backend.h"
#include "Core/ComboListPopup.h"
#include "Core/ItemView.h"
#include "Core/NotificationGuard.h"
#include "Core/Style.h"
#include "Core/ToolbarWindow.h"

#include <algorithm>
#include <climits>

namespace MiniToolbars {

namespace {

// One notch of a standard wheel.
constexpr int notchDegrees = 15;

} // namespace

MTBxCombobox::MTBxCombobox(const MTBxString& id, void* hostContext)
    : MTBxListType(Combobox, id, hostContext)
    , m_wheelRemainder(0)
{
}

MTBxCombobox::~MTBxCombobox()
{
    m_list.reset();
}

void MTBxCombobox::itemClicked(ItemView* view)
{
    // As for the drop-down button, the press belongs to the combo box's own view.
    ItemView* const own = itemView();
    if (!view || !own)
        return;
    if (hasSplitter() && !own->pressedSubArea()) {
        currentItem()->Notify(MTBxItemEvents::Clicked, nullptr, nullptr);
        return;
    }
    openList(own);
}

void MTBxCombobox::disconnectView()
{
    if (m_list)
        m_list->hidePopup();
    MTBxListType::disconnectView();
}

// The child leaves the list before its row does: un-hovering the row calls
// the host, which may add or remove children meanwhile.
void MTBxCombobox::removeItem(int index)
{
    if (index < 0 || index >= itemCount())
        return;
    MTBxItem* const child = takeChild(index);
    if (m_list)
        m_list->removeRow(child);
    releaseChild(child);
}

void MTBxCombobox::mouseWheelEvent(int degrees)
{
    if (!isSynchronizedWithCurrentItem())
        return;
    const long long remainder = std::clamp(static_cast<long long>(m_wheelRemainder) - degrees,
                                           static_cast<long long>(INT_MIN / 2), static_cast<long long>(INT_MAX / 2));
    m_wheelRemainder = static_cast<int>(remainder);
    if (std::abs(m_wheelRemainder) < notchDegrees)
        return;
    const int steps = m_wheelRemainder / notchDegrees;
    m_wheelRemainder = 0;
    const int index = indexOf(currentItem());
    if (index < 0)
        return;
    const int target = static_cast<int>(std::clamp(static_cast<long long>(index) + steps, 0LL,
                                                   static_cast<long long>(itemCount() - 1)));
    if (target == index)
        return;
    MTBxItem* const child = item(target);
    setCurrentItem(child);
    child->Notify(MTBxItemEvents::HoverEnter, nullptr, nullptr);
}

void MTBxCombobox::updateDropList()
{
    if (!m_list)
        return;
    int row = 0;
    for (int i = 0; i < itemCount(); ++i) {
        MTBxItem* const child = item(i);
        if (!child->isVisible() || child->isSeparator())
            continue;
        if (!m_list->updateRow(row, child))
            m_list->addRow(child);
        ++row;
    }
    fitViewHeight();
    // Marking the current row hovers it, which calls the host: last.
    m_list->setCurrentRow(currentItem());
}

void MTBxCombobox::getDropDownLocation(ItemView* view, float& x, float& y)
{
    x = view->left() + static_cast<float>(Style::instance()->gapBetween(LeadingMargin, Caption));
    y = view->bottom();
}

void MTBxCombobox::fitViewHeight()
{
    if (m_list)
        m_list->fitHeight();
}

// The host hears DropDownAboutToShow before the list exists, so that its
// callback can change the children or remove the combo box; the rows are
// filled without any callback, and only the hover that marking the current
// row brings reaches the host, once the list stands.
void MTBxCombobox::openList(ItemView* view)
{
    m_list.reset();
    Notify(MTBxItemEvents::DropDownAboutToShow, nullptr, nullptr);
    view = itemView();
    if (!view || m_list || NotificationGuard::isAwaitingDeletion(this))
        return;
    ToolbarWindow* const window = view->window();
    if (!window)
        return;
    m_list.reset(Backend::instance().createComboBoxList(this, window));
    if (!m_list)
        return;
    for (int i = 0; i < itemCount(); ++i) {
        MTBxItem* const child = item(i);
        if (child->isVisible() && !child->isSeparator())
            m_list->addRow(child);
    }
    float x = 0.0f;
    float y = 0.0f;
    getDropDownLocation(view, x, y);
    // Above the combo box, touching it, where there is no room below.
    m_list->popUp(Point(static_cast<float>(static_cast<int>(x)), static_cast<float>(static_cast<int>(y))), view->top());
    fitViewHeight();
    m_list->setCurrentRow(currentItem());
}

} // namespace MiniToolbars
