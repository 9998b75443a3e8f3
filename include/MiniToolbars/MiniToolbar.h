#ifndef MINITOOLBARS_MINITOOLBAR_H
#define MINITOOLBARS_MINITOOLBAR_H

#include "MiniToolbarsGlobal.h"
#include "MTBxString.h"
#include "MTBxToolbarEvents.h"

#include <vector>

namespace MiniToolbars {

class MTBxItem;
class MTBxView;

/// The host's handle for one floating toolbar: an ordered list of owned items
/// and a few display switches. It has no window; the controller gives it a view
/// and a window when it is first shown.
///
/// Ownership: the host owns the toolbar; the toolbar owns the items added to it
/// and deletes them when it removes them, when it is cleared or closed, and when
/// it is destroyed. Controller::closeToolbar() deletes the items and the view,
/// after which the toolbar can be refilled and shown again. Destroying a toolbar
/// while it is shown, even from one of its own callbacks, is safe.
///
/// Calls that need the view (isVisible(), getBounds(), getNoFadeBounds()) return
/// false without one. All calls belong on the GUI thread.
/// \ingroup items
class MINITOOLBARS_EXPORT MiniToolbar
{
public:
    /// A toolbar named name. hostContext comes back as the first argument of its
    /// toolbar events; null means the toolbar sends none.
    MiniToolbar(MTBxString name, void* hostContext = nullptr);
    /// Deletes the items and, when shown, the view and window. Safe while shown, and
    /// from inside one of the toolbar's own callbacks: then the items live on until
    /// the callback returns.
    virtual ~MiniToolbar();

    /// Not copyable: items have one owner.
    /// @{
    MiniToolbar(const MiniToolbar&) = delete;
    MiniToolbar& operator=(const MiniToolbar&) = delete;
    /// @}

    /// The name given at construction.
    MTBxString name() const;

    /// Returns item, or null for a null item. An item already in this toolbar stays
    /// where it is; an item of another toolbar moves over.
    /// Inserts before index when 0 <= index <= count, otherwise appends. Takes ownership.
    MTBxItem* addItem(MTBxItem* item, int index = -1);
    /// Whether index is in 0 .. itemCount() - 1.
    bool hasItem(int index) const;
    /// The item at index, or null when hasItem(index) is false; still owned by the toolbar.
    MTBxItem* item(int index) const;
    /// The number of direct items, hidden ones included.
    int itemCount() const;
    /// The first item whose MTBxItem::tag() is tag, or null.
    MTBxItem* itemWithTag(int tag) const;
    /// Removes and deletes the item at index; no-op when out of range. During one of
    /// the toolbar's own callbacks the deletion waits until the callback returns.
    void removeItem(int index);
    /// Removes and deletes item; no-op when it is not a direct item of this toolbar.
    void removeItem(MTBxItem* item);
    /// Removes and deletes every item, with the same deferral as removeItem().
    void clear();
    /// True without items.
    bool isEmpty() const;
    /// True while the toolbar is shown on screen; false without a view.
    bool isVisible() const;

    /// The toolbar's bounds in layout space: floats relative to its origin, with y
    /// growing upwards, in the order top, left, bottom, right. Returns false and
    /// leaves the outputs untouched while the toolbar has no view.
    bool getBounds(float& top, float& left, float& bottom, float& right);
    /// Same as getBounds() for the items that never fade (MTBxItem::autoHide() false).
    bool getNoFadeBounds(float& top, float& left, float& bottom, float& right);

    /// Sends a toolbar event to the host's toolbar sink with this toolbar's host
    /// context. Nothing without a host context, without a window, or during a relayout.
    void Notify(MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int* p2);

    /// While set, the toolbar rests faded out: items that never fade stay opaque and
    /// the others vanish.
    /// @{
    void setDisplayOnlyNoFadeItems(bool displayOnlyNoFadeItems);
    bool getDisplayOnlyNoFadeItems() const;
    /// @}
    /// Free host data, never interpreted nor owned.
    /// @{
    void setUserData(void* userData);
    void* getUserData() const;
    /// @}
    /// -1 follows the global auto fade, 1 always fades, any other value never fades.
    void setLocalAutoFade(int localAutoFade);
    /// The value given to setLocalAutoFade(); -1 for a new toolbar.
    int getLocalAutoFade() const;

    /// Finishes toolbars destroyed while one of their events was being delivered,
    /// and, outside every delivery, deletes the items and item views still waiting.
    /// Safe to call at any time on the GUI thread.
    static void CleanupOldViews();

    /// Set by the controller; not owned. Null until the first show and after
    /// Controller::closeToolbar().
    MTBxView* view() const;
    /// Called by the controller; hosts do not call it.
    void setView(MTBxView* view);
    /// The host context given at construction.
    void* hostContext() const;

private:
    void deleteItemDeferred(MTBxItem* item);
    /// Takes item out of the list without deleting it.
    void release(MTBxItem* item);
    void markLayoutDirty();

    std::vector<MTBxItem*>* m_items;
    MTBxView* m_view;
    MTBxString m_name;
    void* m_hostContext;
    bool m_displayOnlyNoFadeItems;
    void* m_userData;
    int m_localAutoFade;
};

} // namespace MiniToolbars

#endif
