#ifndef MINITOOLBARS_COMBOLISTPOPUP_H
#define MINITOOLBARS_COMBOLISTPOPUP_H

#include "Core/Point.h"
#include "Core/PopupWidget.h"

namespace MiniToolbars {

// The drop-down list of a combo box: one row per visible child that is not a
// separator, the current one marked. The list follows the pointer and the
// arrow keys with a hover that reaches the rows' children as HoverEnter and
// HoverLeave; choosing a row (click, Return, Enter) makes its child current,
// sends it Clicked and closes the list.
class ComboListPopup : public PopupWidget
{
public:
    // Appended in call order; no callback runs.
    virtual void addRow(MTBxItem* child) = 0;
    // Refreshes row with child; false (and nothing done) when child is null
    // or there is no such row. No callback runs.
    virtual bool updateRow(int row, MTBxItem* child) = 0;
    // Drops the row made for child; nothing when there is none. The hover
    // moves to the row that is current afterwards.
    virtual void removeRow(const MTBxItem* child) = 0;
    // Marks the row of child current, which hovers it; nothing for a child
    // without a row. The hover may call the host.
    virtual void setCurrentRow(const MTBxItem* child) = 0;
    // Shows the list with its top-left corner at point, in the layout space
    // of the combo box's window. Where it would run off the bottom of its
    // screen it opens upwards, its bottom edge at layout y flipY instead; off
    // the right edge it moves left.
    virtual void popUp(const Point& point, float flipY) = 0;
    // Fits the height to the rows, at most 300 pixels, while the list needs
    // no vertical scroll bar.
    virtual void fitHeight() = 0;
};

} // namespace MiniToolbars

#endif
