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
/// when it is first shown.
class MINITOOLBARS_EXPORT MiniToolbar
{
public:
    MiniToolbar(MTBxString name, void* hostContext = nullptr);
    virtual ~MiniToolbar();

    MiniToolbar(const MiniToolbar&) = delete;
    MiniToolbar& operator=(const MiniToolbar&) = delete;

    MTBxString name() const;

    /// Inserts before index when 0 <= index <= count, otherwise appends. Takes ownership.
    MTBxItem* addItem(MTBxItem* item, int index = -1);
    bool hasItem(int index) const;
    MTBxItem* item(int index) const;
    int itemCount() const;
    MTBxItem* itemWithTag(int tag) const;
    void removeItem(int index);
    void removeItem(MTBxItem* item);
    void clear();
    bool isEmpty() const;
    bool isVisible() const;

    bool getBounds(float& top, float& left, float& bottom, float& right);
    bool getNoFadeBounds(float& top, float& left, float& bottom, float& right);

    void Notify(MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int* p2);

    void setDisplayOnlyNoFadeItems(bool displayOnlyNoFadeItems);
    bool getDisplayOnlyNoFadeItems() const;
    void setUserData(void* userData);
    void* getUserData() const;
    /// -1 follows the global auto fade, 1 always fades, any other value never fades.
    void setLocalAutoFade(int localAutoFade);
    int getLocalAutoFade() const;

    /// Finishes toolbars destroyed while one of their events was being delivered.
    static void CleanupOldViews();

    /// Set by the controller; not owned.
    MTBxView* view() const;
    void setView(MTBxView* view);
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
