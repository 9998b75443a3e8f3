// ActionToolbar's internals: the entries that mirror its actions and the toolbar that shows them.

#ifndef MINITOOLBARS_ACTIONTOOLBARPRIVATE_H
#define MINITOOLBARS_ACTIONTOOLBARPRIVATE_H

#include "MiniToolbars/ActionToolbar.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/ControllerObserver.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/MTBxItemEvents.h"
#include "MiniToolbars/MTBxToolbarEvents.h"

#include <QPoint>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class QEvent;
class QIcon;
class QMenu;

namespace MiniToolbars {


const char* const rowBreakProperty = "minitoolbars_row_break";

// Hidden: out-of-line members of a nested class of an exported class would be exported too.
class Q_DECL_HIDDEN ActionToolbar::Private
    : public ControllerObserver, public MTBxItemEvents, public MTBxToolbarEvents, public ToolbarWindow::Observer
{
public:
    // One action's item. Children stand for the entries of a drop-down's menu.
    struct Entry
    {
        Private* owner = nullptr;
        QAction* action = nullptr;
        Entry* parent = nullptr;
        MTBxItem* item = nullptr;
        qint64 iconKey = 0;
        bool split = false;
        bool removable = false;
        QPointer<QMenu> menu;
        std::vector<std::unique_ptr<Entry>> children;
        std::vector<QMetaObject::Connection> connections;

        ~Entry();
        void disconnectAll();
    };

    void retire(std::unique_ptr<Entry> entry);

    explicit Private(ActionToolbar* q);
    ~Private() override;

    // ControllerObserver
    HWND getParentHwnd() override;
    void getMtbParentBounds(int, int, int& left, int& top, int& width, int& height) override;

    // ToolbarWindow::Observer
    void fadedInChanged(bool fadedIn) override;
    void wheelTurned(int delta) override;

    // MTBxItemEvents and MTBxToolbarEvents
    void Notify(void* context, MTBxItemEvents::EventType type, unsigned int* p1, unsigned int*) override;
    void Notify(void* context, MTBxToolbarEvents::EventType type, unsigned int* p1, unsigned int*) override;

    Controller* controller() const;
    ToolbarWindow* window() const;
    QRect room() const;
    QRect extent() const;
    QPoint globalOrigin() const;
    void place();
    void scheduleUpdate();

    std::unique_ptr<Entry> makeEntry(QAction* action, Entry* parent);
    void watchMenu(Entry* entry);
    static MTBxItem::MTBItemType kindOf(const Entry* entry);
    MTBxItem* createItem(Entry* entry);
    void syncItem(Entry* entry);
    void setIcon(MTBxItem* item, const QIcon& icon) const;
    int indexOf(const Entry* entry) const;
    bool owns(const Entry* entry) const;
    void rebuild(Entry* entry);
    void actionChanged(Entry* entry);
    void actionDestroyed(Entry* entry);
    void menuChanged(Entry* entry);
    void itemEvent(Entry* entry, MTBxItemEvents::EventType type, unsigned int argument);
    void toolbarEvent(MTBxToolbarEvents::EventType type, int argument);

    bool show(QWidget* host, const QRect& anchor, Side side);
    void close(bool notify);
    void eventFilter(QObject* watched, QEvent* event);

    ActionToolbar* q;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::vector<std::unique_ptr<Entry>> m_retired;
    std::unique_ptr<MiniToolbar> m_toolbar;
    QPointer<QWidget> m_host;
    QPointer<QWidget> m_window;
    QPoint m_windowPos;
    QMetaObject::Connection m_hostConnection;
    QRect m_anchor;
    Side m_side = Above;
    int m_gap = 6;
    bool m_shown = false;
    bool m_userPlaced = false;
    bool m_updateQueued = false;
};

} // namespace MiniToolbars

#endif
