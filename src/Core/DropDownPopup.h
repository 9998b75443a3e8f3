#ifndef MINITOOLBARS_DROPDOWNPOPUP_H
#define MINITOOLBARS_DROPDOWNPOPUP_H

#include "Core/Point.h"
#include "Core/PopupWidget.h"

namespace MiniToolbars {

// The menu of a drop-down button. Entries are keyed by the child they show,
// so removing a child drops its own entry, whatever the menu skipped or
// added before it.
//
// Choosing an entry makes its child current when the button is synchronized,
// then sends Clicked to the child. A hovered entry's child gets HoverEnter and
// HoverLeave; a remove button on a child with hasRemoveButton() sends it
// RemoveRequested.
class DropDownPopup : public PopupWidget
{
public:
    // Appended in call order.
    virtual void addEntry(MTBxItem* child) = 0;
    virtual void addSeparator(MTBxItem* child) = 0;
    // Drops the entry (or separator) made for child; nothing when there is none.
    // A hovered entry is un-hovered first, which may deliver HoverLeave.
    virtual void removeEntry(const MTBxItem* child) = 0;
    // Shows the menu with its top-left corner at point, in the layout space of
    // the button's window (the window maps it to the screen). Where it would
    // run off the bottom of its screen it opens upwards, its bottom edge at
    // layout y flipY instead; off the right edge it moves left. Returns at once.
    virtual void popUp(const Point& point, float flipY) = 0;
};

} // namespace MiniToolbars

#endif
