// Stand-ins for tests of the toolbar model: a toolbar window that only records
// what the core asks of it, a view that carries such a window, and host sinks
// that record every notification and can act inside the callback.
#ifndef MINITOOLBARS_TESTS_TOOLBARSTANDINS_H
#define MINITOOLBARS_TESTS_TOOLBARSTANDINS_H

#include "Core/DropDownPopup.h"
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxItem.h"
#include "MiniToolbars/MTBxItemEventsUtility.h"
#include "MiniToolbars/MTBxToolbarEventsUtility.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace MiniToolbars {
namespace Testing {

// A drop-down menu that records its entries and hovers them as the user
// would, so the items' side of the menu protocol can be driven without widgets.
class StandInMenu : public DropDownPopup
{
public:
    // slot points at the window's latest menu, which forgets this one when it goes.
    StandInMenu(MTBxItem* owner, StandInMenu** slot) : m_owner(owner), m_slot(slot) {}
    ~StandInMenu() override { if (*m_slot == this) *m_slot = nullptr; }

    MTBxItem* item() const override { return m_owner; }
    void dismissPopup(bool) override { shown = false; }
    void hidePopup() override { shown = false, hovered = nullptr; }
    void addEntry(MTBxItem* child) override { entries.push_back(child); }
    void addSeparator(MTBxItem* child) override { entries.push_back(child); }
    void removeEntry(const MTBxItem* child) override
    {
        if (MTBxItem* leaving = std::exchange(hovered, nullptr))
            leaving->setHovered(false);
        entries.erase(std::remove(entries.begin(), entries.end(), child), entries.end());
    }
    void popUp(const Point&, float) override { shown = true; }
    void hover(MTBxItem* child)
    {
        if (hovered)
            hovered->setHovered(false);
        (hovered = child)->setHovered(true);
    }

    std::vector<MTBxItem*> entries;
    MTBxItem* hovered = nullptr;
    bool shown = false;

private:
    MTBxItem* m_owner;
    StandInMenu** m_slot;
};

class StandInWindow : public ToolbarWindow
{
public:
    explicit StandInWindow(MTBxView* view = nullptr, int* destroyed = nullptr) : m_view(view), m_destroyed(destroyed) {}
    ~StandInWindow() override { if (m_destroyed) ++*m_destroyed; }

    MTBxView* view() const override { return m_view; }
    void showAt(const Point& position, bool deferred) override { shownAt = position, shownDeferred = deferred; }
    void scheduleRelayout() override { ++relayoutRequests; }
    void getOrigin(int& x, int& y) const override { x = originX, y = originY; }
    bool hasPopup() const override { return popup; }
    double currentOpacity() const override { return opacity; }
    bool isShown() const override { return true; }
    void moveOrigin(int x, int y, bool relative) override { originX = relative ? originX + x : x, originY = relative ? originY + y : y; }
    void closePopup() override { popup = false; }
    void refresh() override { ++refreshes; }
    void updateFadeLock() override { ++fadeLockUpdates; }
    void retire() override { ++retirements; }
    // Stand-in menus on this window only when asked for (see StandInBackend).
    bool offerMenus = false, shownDeferred = false, popup = false;
    // The last menu made, null once it is deleted.
    StandInMenu* menu = nullptr;
    int relayoutRequests = 0, refreshes = 0, fadeLockUpdates = 0, retirements = 0, originX = 0, originY = 0;
    Point shownAt;
    double opacity = 1.0;

private:
    MTBxView* m_view;
    int* m_destroyed;
};

// A view that lays nothing out: it only owns a stand-in window and the item
// views that a test attaches to items.
class StandInView : public MTBxView
{
public:
    explicit StandInView(MiniToolbar* toolbar, int* windowsDestroyed = nullptr) : MTBxView(toolbar, nullptr)
    {
        adoptWindow(std::unique_ptr<ToolbarWindow>(m_standInWindow = new StandInWindow(this, windowsDestroyed)));
        m_itemViews = std::make_unique<std::vector<ItemView*>>();
        if (toolbar)
            toolbar->setView(this);
    }

    // Gives item a view in this toolbar's window, as a relayout would.
    ItemView* attach(MTBxItem* item)
    {
        m_itemViews->push_back(new ItemView(static_cast<int>(m_itemViews->size()), item, window(), nullptr, nullptr));
        item->setItemView(m_itemViews->back());
        return m_itemViews->back();
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
    unsigned int *p1, *p2;
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
    // Events of the type, for one host context or any.
    int count(EventType type, const void* context = nullptr) const
    {
        return int(std::count_if(events.begin(), events.end(), [&](const ItemEventRecord& e) { return e.type == type && (!context || e.hostContext == context); }));
    }
    std::vector<int> types() const
    {
        std::vector<int> result(events.size());
        std::transform(events.begin(), events.end(), result.begin(), [](const ItemEventRecord& e) { return int(e.type); });
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
        contexts.push_back(hostContext), types.push_back(type);
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
