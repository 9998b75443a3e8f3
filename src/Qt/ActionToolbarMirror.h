// The items of an ActionToolbar kept in step with its actions: one entry per
// action, and per action of a drop-down action's menu, which makes, updates,
// rebuilds and removes the entry's item while the toolbar shows.

#ifndef MINITOOLBARS_ACTIONTOOLBARMIRROR_H
#define MINITOOLBARS_ACTIONTOOLBARMIRROR_H

#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/MTBxItem.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>

#include <memory>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace MiniToolbars {

class ActionToolbarPrivate;
class MiniToolbar;

// Marks the actions that stand for row breaks.
inline constexpr char rowBreakProperty[] = "minitoolbars_row_break";

class ActionToolbarMirror
{
public:
    struct ReleaseIconHandle
    {
        void operator()(HICON handle) const { destroyIconHandle(handle); }
    };
    using IconHandle = std::unique_ptr<HICON__, ReleaseIconHandle>;

    // One action's item. Children stand for the entries of a drop-down's menu.
    struct Entry
    {
        QAction* action = nullptr;
        Entry* parent = nullptr;
        MTBxItem* item = nullptr;
        // The image of the action's icon that the item shows, and the icon's cache key.
        IconHandle icon;
        qint64 iconKey = 0;
        bool split = false;
        bool removable = false;
        // The action's menu. A widget, not a QMenu: entries deleted with their
        // menu die in its QWidget destructor, when it is a QMenu no more.
        QPointer<QWidget> menu;
        std::vector<std::unique_ptr<Entry>> children;
        std::vector<QMetaObject::Connection> connections;

        ~Entry();
        void disconnectAll();
    };

    explicit ActionToolbarMirror(ActionToolbarPrivate& d);
    ActionToolbarMirror(const ActionToolbarMirror&) = delete;
    ActionToolbarMirror& operator=(const ActionToolbarMirror&) = delete;
    ~ActionToolbarMirror();

    QList<QAction*> actions() const;
    // Inserts before another action (appends when before is none of them); an action already here is ignored.
    void insert(QAction* before, QAction* action);
    void remove(QAction* action);
    void setSplit(QAction* action, bool split);
    void setRemovable(QAction* action, bool removable);

    // Appends a new item for every entry to the toolbar that is about to show.
    void addItemsTo(MiniToolbar& toolbar);
    // The toolbar closed and takes the items along; their icons go now.
    void dropItems();
    // Lets the entries of actions that left go, once their items are gone.
    void clearRetired();
    // Stops watching the menus and lets every entry go.
    void clear();

    // A drop-down action's menu gained or lost an action.
    void menuChanged(const QMenu* menu);
    // Whether entry is one of the entries now. Compares pointers only: it may be gone.
    bool owns(const Entry* entry) const;
    // The action whose item the pointer is on, or null.
    QAction* hoveredAction() const;
    // Brings the entry's item in step with its action.
    void syncItem(Entry* entry);

private:
    std::unique_ptr<Entry> makeEntry(QAction* action, Entry* parent);
    void retire(std::unique_ptr<Entry> entry);
    void watchMenu(Entry* entry);
    void menuChanged(Entry* entry);
    MTBxItem* createItem(Entry* entry);
    void setIcon(Entry* entry);
    int indexOf(const Entry* entry) const;
    void rebuild(Entry* entry);
    void actionChanged(Entry* entry);
    void actionDestroyed(Entry* entry);

    ActionToolbarPrivate& d;
    std::vector<std::unique_ptr<Entry>> m_entries;
    // Entries whose action left while their item may still exist: their
    // contexts stay routed here, so a freed context never reaches the host's sink.
    std::vector<std::unique_ptr<Entry>> m_retired;
};

} // namespace MiniToolbars

#endif
