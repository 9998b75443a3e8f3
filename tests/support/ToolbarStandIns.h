// Stand-ins for tests of the toolbar model: a toolbar window that only records
// what the core asks of it, a view that carries such a window, and host sinks
// that record every notification and can act inside the callback.
#ifndef MINITOOLBARS_TESTS_TOOLBARSTANDINS_H
#define MINITOOLBARS_TESTS_TOOLBARSTANDINS_H

#include "ItemView.h"
#include "MTBxItem.h"
#include "MTBxItemEventsUtility.h"
#include "MTBxToolbarEventsUtility.h"
#include "MTBxView.h"
#include "MiniToolbar.h"
#include "ToolbarWindow.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace MiniToolbars {
namespace Testing {

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
    bool visible() const { return m_visible; }

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
