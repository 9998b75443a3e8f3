// Stand-ins for tests of the toolbar model: a toolbar window that only records
// what the core asks of it, a view that carries such a window, and host sinks
// that record every notification and can act inside the callback.
#ifndef MINITOOLBARS_TESTS_TOOLBARSTANDINS_H
#define MINITOOLBARS_TESTS_TOOLBARSTANDINS_H

#include "DropDownPopup.h"
#include "ItemView.h"
#include "MTBxDropDownButton.h"
#include "MTBxItem.h"
#include "MTBxItemEventsUtility.h"
#include "MTBxToolbarEventsUtility.h"
#include "MTBxView.h"
#include "MiniToolbar.h"
#include "ToolbarWindow.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace MiniToolbars {
namespace Testing {

class StandInWindow;

// A drop-down menu that records its entries and hovers them as the user
// would, so the items' side of the menu protocol can be driven without widgets.
class StandInMenu : public DropDownPopup
{
public:
    StandInMenu(MTBxItem* owner, StandInWindow* window) : m_owner(owner), m_window(window) {}
    ~StandInMenu() override;

    MTBxItem* item() const override { return m_owner; }
    void dismissPopup(bool) override { shown = false; }
    void hidePopup() override
    {
        shown = false;
        hovered = nullptr;
    }
    void addEntry(MTBxItem* child) override { entries.push_back(child); }
    void addSeparator(MTBxItem* child) override { entries.push_back(child); }
    void removeEntry(const MTBxItem* child) override
    {
        if (MTBxItem* leaving = std::exchange(hovered, nullptr))
            leaving->setHovered(false);
        entries.erase(std::remove(entries.begin(), entries.end(), child), entries.end());
    }
    void popUp(const Point& point) override
    {
        shown = true;
        shownAt = point;
    }
    void hover(MTBxItem* child)
    {
        if (hovered)
            hovered->setHovered(false);
        hovered = child;
        child->setHovered(true);
    }

    std::vector<MTBxItem*> entries;
    MTBxItem* hovered = nullptr;
    bool shown = false;
    Point shownAt;

private:
    MTBxItem* m_owner;
    StandInWindow* m_window;
};

class StandInWindow : public ToolbarWindow
{
public:
    explicit StandInWindow(MTBxView* view = nullptr, int* destroyed = nullptr) : m_view(view), m_destroyed(destroyed) {}
    ~StandInWindow() override
    {
        if (m_destroyed)
            ++*m_destroyed;
    }

    MTBxView* view() const override { return m_view; }
    void showAt(const Point& position, bool deferred) override
    {
        m_visible = true;
        ++shows;
        shownAt = position;
        shownDeferred = deferred;
    }
    void scheduleRelayout() override { ++relayoutRequests; }
    void getOrigin(int& x, int& y) const override { x = originX, y = originY; }
    bool hasPopup() const override { return popup; }
    double currentOpacity() override { return opacity; }
    void refresh() override { ++refreshes; }
    void updateFadeLock() override { ++fadeLockUpdates; }
    void retire() override { ++retirements, m_visible = false; }
    // Stand-in menus only when asked for; otherwise the toolkit's factory.
    DropDownPopup* createDropDownPopup(MTBxDropDownButton* button) override
    {
        if (!offerMenus)
            return ToolbarWindow::createDropDownPopup(button);
        menu = new StandInMenu(button, this);
        return menu;
    }
    bool visible() const { return m_visible; }

    bool offerMenus = false;
    // The last menu made, null once it is deleted.
    StandInMenu* menu = nullptr;
    int relayoutRequests = 0, refreshes = 0, fadeLockUpdates = 0, retirements = 0, shows = 0;
    Point shownAt;
    bool shownDeferred = false;
    int originX = 0, originY = 0;
    bool popup = false;
    double opacity = 1.0;

private:
    MTBxView* m_view;
    int* m_destroyed;
    bool m_visible = true;
};

inline StandInMenu::~StandInMenu()
{
    if (m_window && m_window->menu == this)
        m_window->menu = nullptr;
}

// A view that lays nothing out: it only owns a stand-in window and the item
// views that a test attaches to items.
class StandInView : public MTBxView
{
public:
    explicit StandInView(MiniToolbar* toolbar, int* windowsDestroyed = nullptr) : MTBxView(toolbar, nullptr)
    {
        auto window = std::make_unique<StandInWindow>(this, windowsDestroyed);
        m_standInWindow = window.get();
        adoptWindow(std::move(window));
        m_itemViews = std::make_unique<std::vector<ItemView*>>();
        if (toolbar)
            toolbar->setView(this);
    }

    // Gives item a view in this toolbar's window, as a relayout would.
    ItemView* attach(MTBxItem* item)
    {
        auto* itemView = new ItemView(static_cast<int>(m_itemViews->size()), item, window(), nullptr, nullptr);
        m_itemViews->push_back(itemView);
        item->setItemView(itemView);
        return itemView;
    }
    StandInWindow* standInWindow() const { return m_standInWindow; }

    MiniToolbar* toolbar() const override { return m_toolbar; }
    ItemView* mouseMove(float, float) override { return nullptr; }
    ItemView* mousePress(float, float) override { return nullptr; }
    ItemView* mouseRelease(float, float, bool, int) override { return nullptr; }
    void mouseWheel(float, float, int) override {}
    void keyDown(unsigned long, long) override {}
    void keyUp(unsigned long, long) override {}
    void draw(MTBxRender*, bool) override {}
    void rebuild(bool) override {}
    void notifyFaded() override {}
    void arrange(bool) override {}

private:
    StandInWindow* m_standInWindow = nullptr;
};

struct ItemEventRecord
{
    void* hostContext;
    MTBxItemEvents::EventType type;
    unsigned int* p1;
    unsigned int* p2;
};

class RecordingItemSink : public MTBxItemEvents
{
public:
    RecordingItemSink() { MTBxItemEventsUtility::SetMTBxItemEvents(this); }
    ~RecordingItemSink() override { MTBxItemEventsUtility::SetMTBxItemEvents(nullptr); }
    void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) override
    {
        events.push_back({ hostContext, type, p1, p2 });
        if (onEvent)
            onEvent(hostContext, type);
    }
    int count(EventType type) const
    {
        int n = 0;
        for (const ItemEventRecord& e : events)
            n += e.type == type ? 1 : 0;
        return n;
    }
    std::vector<int> types() const
    {
        std::vector<int> result;
        for (const ItemEventRecord& e : events)
            result.push_back(e.type);
        return result;
    }
    // The first argument of event i as the number it carries.
    std::intptr_t arg(size_t i) const { return reinterpret_cast<std::intptr_t>(events.at(i).p1); }

    std::vector<ItemEventRecord> events;
    std::function<void(void*, EventType)> onEvent;
};

class RecordingToolbarSink : public MTBxToolbarEvents
{
public:
    RecordingToolbarSink() { MTBxToolbarEventsUtility::SetMTBxToolbarEvents(this); }
    ~RecordingToolbarSink() override { MTBxToolbarEventsUtility::SetMTBxToolbarEvents(nullptr); }
    void Notify(void* hostContext, EventType type, unsigned int* p1, unsigned int* p2) override
    {
        contexts.push_back(hostContext);
        types.push_back(type);
        args.push_back({ reinterpret_cast<std::intptr_t>(p1), reinterpret_cast<std::intptr_t>(p2) });
        if (onEvent)
            onEvent(hostContext, type);
    }

    std::vector<void*> contexts;
    std::vector<EventType> types;
    std::vector<std::pair<std::intptr_t, std::intptr_t>> args;
    std::function<void(void*, EventType)> onEvent;
};

} // namespace Testing
} // namespace MiniToolbars

#endif
