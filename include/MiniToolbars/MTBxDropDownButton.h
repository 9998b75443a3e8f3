#ifndef MINITOOLBARS_MTBXDROPDOWNBUTTON_H
#define MINITOOLBARS_MTBXDROPDOWNBUTTON_H

#include "MTBxListType.h"

#include <memory>

namespace MiniToolbars {

class DropDownPopup;

/// A button that opens a menu of its visible children. With a splitter it is a
/// split button: its main part clicks the current child (the button itself
/// when not synchronized or without one), its arrow opens the menu. Before the
/// menu is filled the button receives DropDownAboutToShow, so the host can
/// update the children.
///
/// Owned by the toolbar or list it is added to; it owns its children as
/// MTBxListType says. GUI thread only.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxDropDownButton : public MTBxListType
{
public:
    /// A drop-down button with the host's id; hostContext as for MTBxItem.
    MTBxDropDownButton(const MTBxString& id, void* hostContext);
    /// Closes its open popup; the children follow the MTBxListType rules.
    ~MTBxDropDownButton() override;

    void itemClicked(ItemView* view) override;
    void disconnectView() override;
    /// index is the child's index as for item(index), never a menu position:
    /// the open menu drops the entry of that child, whatever hidden children
    /// and separators stand before it.
    void removeItem(int index) override;

protected:
    /// Where the menu's top-left corner goes, in layout space (y up).
    virtual void getDropDownLocation(ItemView* view, float& x, float& y);

private:
    void openMenu(ItemView* view);

    std::unique_ptr<DropDownPopup, PopupRelease> m_menu;
};

} // namespace MiniToolbars

#endif
