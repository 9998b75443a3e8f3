#ifndef MINITOOLBARS_MTBXLISTTYPE_H
#define MINITOOLBARS_MTBXLISTTYPE_H

#include "MTBxItem.h"

#include <vector>

namespace MiniToolbars {

class PopupWidget;

/// An item with an ordered list of children and, optionally, a current child.
/// While synchronized with its current item it answers id, text, tooltip and
/// icon with those of its current child.
///
/// Children: addItem does not set a child's parent link; set it (setParent or
/// initializeItem) so that the child's events reach the host through this
/// item's toolbar window. Null, the list itself, a child already present and
/// a removed child that waits for deletion are not added.
///
/// Ownership:
/// - A child added with addItem belongs to the list from then on.
/// - removeItem deletes the child it removes (after the current event, when one
///   is being delivered). Do not delete a child that is still in a list.
/// - Deleting a list-type item yourself (one that is in no toolbar) deletes
///   neither its children nor unlinks them: remove or delete them yourself,
///   before or after, and give a surviving child a new parent before using it.
/// - When the library deletes a list-type item (MiniToolbar::removeItem,
///   MiniToolbar::clear, destroying a toolbar, Controller::closeToolbar, or
///   removeItem of an enclosing list), it deletes the children still in it
///   too. Do not delete those children yourself afterwards.
///
/// All calls belong on the GUI thread.
/// \ingroup items
class MINITOOLBARS_EXPORT MTBxListType : public MTBxItem
{
public:
    /// A list-type item of the given kind with the host's id; it shows a
    /// drop-down arrow. hostContext as for MTBxItem.
    MTBxListType(MTBItemType type, const MTBxString& id, void* hostContext);
    /// Deletes neither the children nor unlinks them; see the ownership rules above.
    ~MTBxListType() override;

    const MTBxString& idSelected() const override;
    const MTBxString& text() const override;
    /// With the text shown while synchronized: the visible child text that
    /// measures widest, so the item keeps one width whichever child is current.
    const MTBxString& widestText() const override;
    HICON iconHandle() const override;
    const MTBxString& icon() const override;
    const MTBxString& toolTip() const override;

    /// Inserts before the first occurrence of before; appends when before is
    /// null or absent. The first child of a synchronized list becomes current.
    virtual void addItem(MTBxItem* item, MTBxItem* before = nullptr);
    /// Only a child (or null) can be current, and only while synchronized.
    virtual void setCurrentItem(MTBxItem* item);
    /// The current child while synchronized; otherwise, or without one, this item.
    virtual MTBxItem* currentItem() const;
    /// index counts children in addItem order, hidden ones included.
    virtual void removeItem(int index);
    /// Makes the first visible and enabled child current when the current one
    /// is missing, hidden or disabled (the first child when none qualifies).
    virtual void validateCurrentItem();

    /// The number of children, hidden ones included.
    int itemCount() const;
    /// Null outside 0 .. itemCount() - 1.
    MTBxItem* item(int index) const;
    /// The index of item among the children, or -1.
    int indexOf(const MTBxItem* item) const;

protected:
    /// Takes the child at index out of the list and moves the current child
    /// off it. The caller hands it to releaseChild.
    MTBxItem* takeChild(int index);
    /// Deletes a child taken out of the list, later when an event is being
    /// delivered; nothing when the host has put it back meanwhile.
    void releaseChild(MTBxItem* child);

    /// How a list item lets go of the popup it opened (menu, list, field):
    /// the toolkit may still be dispatching an event to it.
    struct PopupRelease
    {
        void operator()(PopupWidget* popup) const;
    };

private:
    friend void disposeItem(MTBxItem* item);

    std::vector<MTBxItem*> m_children;
    MTBxItem* m_current;
};

} // namespace MiniToolbars

#endif
