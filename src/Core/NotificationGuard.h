#ifndef MINITOOLBARS_NOTIFICATIONGUARD_H
#define MINITOOLBARS_NOTIFICATIONGUARD_H

#include <vector>

namespace MiniToolbars {

class ItemView;
class MTBxItem;
class ToolbarWindow;

// Per-window delivery state plus the process-wide lists of objects whose
// deletion was asked for while an event was being delivered. A callback may
// thus remove the very item, or destroy the very toolbar, that raised it.
class NotificationGuard
{
public:
    explicit NotificationGuard(ToolbarWindow& window);
    ~NotificationGuard();
    NotificationGuard(const NotificationGuard&) = delete;
    NotificationGuard& operator=(const NotificationGuard&) = delete;

    // Counts one more delivery and, when it is the outermost one, finishes
    // the deletions that waited for it. Refused for an item awaiting deletion
    // (or whose view is), while this window's own toolbar awaits destruction,
    // and for a window detached from its view.
    bool enter(MTBxItem* item);
    void leave();
    bool isDelivering() const { return m_depth > 0; }
    int depth() const { return m_depth; }

    // Events raised while the window lays out are dropped.
    bool isInRelayout() const { return m_inRelayout; }
    void setInRelayout(bool inRelayout) { m_inRelayout = inRelayout; }

    // The window lost its view and only waits to be deleted: nothing is
    // delivered through it any more.
    void detach() { m_detached = true; }

    // Ownership passes to the guard.
    static void deferItem(MTBxItem* item);
    static void deferItemView(ItemView* view);
    // Retires the window and keeps the items (and the window's view) until
    // they can be deleted.
    void deferToolbar(std::vector<MTBxItem*>* items);

    // Outside every delivery, finishes the deferred toolbar destructions and
    // deletes the deferred items and item views.
    static void cleanupOldViews();
    // Some window is delivering an event.
    static bool anyDelivering();
    // The item, or a list item it is a child of, waits for deletion.
    static bool isAwaitingDeletion(const MTBxItem* item);
    // The item itself waits for deletion.
    static bool isItemDeferred(const MTBxItem* item);
    // Diagnostics for tests.
    static int deferredItemCount();
    static int deferredItemViewCount();
    static int deferredToolbarCount();

    // Enters on construction and leaves on destruction when accepted.
    class Delivery
    {
    public:
        Delivery(NotificationGuard& guard, MTBxItem* item);
        ~Delivery();
        Delivery(const Delivery&) = delete;
        Delivery& operator=(const Delivery&) = delete;
        bool accepted() const { return m_accepted; }

    private:
        NotificationGuard& m_guard;
        bool m_accepted;
    };

private:
    bool isOwnToolbarDeferred() const;

    ToolbarWindow& m_window;
    int m_depth;
    bool m_inRelayout;
    bool m_detached;
};

} // namespace MiniToolbars

#endif
