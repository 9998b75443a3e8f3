#ifndef MINITOOLBARS_MTBXCOMBOBOX_H
#define MINITOOLBARS_MTBXCOMBOBOX_H

#include "MTBxListType.h"

#include <memory>

namespace MiniToolbars {

class ComboListPopup;

/// A list item that shows its current child, opens a list of its visible
/// children and steps through them with the mouse wheel. With a splitter its
/// main part clicks the current child and only the arrow opens the list.
/// Before the list is filled the combo box receives DropDownAboutToShow, so
/// the host can update the children. Choosing a row makes its child current
/// (while synchronized) and sends it Clicked.
///
/// Owned by the toolbar or list it is added to; it owns its children as
/// MTBxListType says. GUI thread only.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxCombobox : public MTBxListType
{
public:
    /// A combo box with the host's id; hostContext as for MTBxItem.
    MTBxCombobox(const MTBxString& id, void* hostContext);
    /// Closes its open popup; the children follow the MTBxListType rules.
    ~MTBxCombobox() override;

    void itemClicked(ItemView* view) override;
    void disconnectView() override;
    /// index is the child's index as for item(index): the open list drops the
    /// row of that child, whatever hidden children stand before it.
    void removeItem(int index) override;

    /// degrees: the wheel turn, positive away from the user (toward the first
    /// child). Turns under one notch (15 degrees) add up until they make one.
    /// Only a synchronized combo box with a current child turns; the new
    /// current child receives HoverEnter. Stepping stops at either end.
    virtual void mouseWheelEvent(int degrees);
    /// Refreshes the open list's rows from the children.
    virtual void updateDropList();

protected:
    /// Where the list's top-left corner goes, in layout space (y up).
    virtual void getDropDownLocation(ItemView* view, float& x, float& y);
    /// Fits the open list's height to its rows, at most 300 pixels.
    void fitViewHeight();

private:
    void openList(ItemView* view);

    std::unique_ptr<ComboListPopup, PopupRelease> m_list;
    int m_wheelRemainder;
};

} // namespace MiniToolbars

#endif
