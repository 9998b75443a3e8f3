#include "MTBxButton.h"
#include "NotificationGuard.h"
#include "ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <memory>

using namespace MiniToolbars;
using MiniToolbars::Testing::RecordingItemSink;
using MiniToolbars::Testing::RecordingToolbarSink;
using MiniToolbars::Testing::StandInView;
using MiniToolbars::Testing::StandInWindow;

namespace {

// One shown toolbar whose view (and stand-in window) the test owns unless the
// guard takes it over after a destruction during delivery.
struct Shown
{
    explicit Shown(void* context, int* windowsDestroyed)
        : toolbar(new MiniToolbar(MTBxString(L"bar"), context))
        , view(new StandInView(toolbar, windowsDestroyed))
    {
    }

    MTBxItem* add(void* context, const wchar_t* id = L"item")
    {
        MTBxItem* item = toolbar->addItem(new MTBxButton(MTBxString(id), context));
        view->attach(item);
        return item;
    }

    void click(MTBxItem* item) { item->itemClicked(item->itemView()); }
    StandInWindow& window() const { return *view->standInWindow(); }
    NotificationGuard& guard() const { return view->window()->guard(); }

    // Destruction as a host does it inside a callback: the view stays for the guard.
    void kill()
    {
        delete toolbar;
        toolbar = nullptr;
    }
    // Normal teardown outside any delivery: the toolbar takes its view along.
    void destroy()
    {
        delete toolbar;
        toolbar = nullptr;
        view = nullptr;
    }

    MiniToolbar* toolbar;
    StandInView* view;
};

int contextA = 1;
int contextB = 2;
int contextC = 3;

} // namespace

TEST(NotificationGuard, withoutSinkOrHostContextNothingIsDelivered)
{
    // Events without a registered sink are harmless; a null host context never reaches a sink, even for keys.
    int destroyed = 0;
    Shown silent(&contextA, &destroyed);
    silent.click(silent.add(&contextA));
    silent.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown, nullptr, nullptr);
    EXPECT_EQ(0, silent.guard().depth());
    silent.destroy();
    EXPECT_EQ(1, destroyed);

    RecordingItemSink itemSink;
    RecordingToolbarSink toolbarSink;
    Shown shown(nullptr, nullptr);
    MTBxItem* item = shown.add(nullptr);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown, nullptr, nullptr);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyUp, nullptr, nullptr);
    shown.click(item);
    item->setHovered(true);
    EXPECT_TRUE(toolbarSink.types.empty());
    EXPECT_TRUE(itemSink.events.empty());
    shown.destroy();
}

TEST(NotificationGuard, deliversToolbarEventsWithTheirContext)
{
    // A toolbar event reaches the toolbar sink with the toolbar's context; an unshown toolbar sends nothing.
    RecordingToolbarSink sink;
    MiniToolbar hidden(MTBxString(L"hidden"), &contextB);
    hidden.Notify(MTBxToolbarEvents::ToolbarMoved, nullptr, nullptr);
    EXPECT_TRUE(sink.types.empty());

    Shown shown(&contextA, nullptr);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarMoved, nullptr, nullptr);
    ASSERT_EQ(1u, sink.types.size());
    EXPECT_EQ(MTBxToolbarEvents::ToolbarMoved, sink.types[0]);
    EXPECT_EQ(&contextA, sink.contexts[0]);
    shown.destroy();
}

TEST(NotificationGuard, eventsDuringLayoutAreDropped)
{
    // While the window lays out, item and toolbar events are not delivered.
    RecordingItemSink itemSink;
    RecordingToolbarSink toolbarSink;
    Shown shown(&contextA, nullptr);
    MTBxItem* item = shown.add(&contextA);
    shown.guard().setInRelayout(true);
    item->setHovered(true);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarFaded, nullptr, nullptr);
    EXPECT_TRUE(itemSink.events.empty());
    EXPECT_TRUE(toolbarSink.types.empty());
    EXPECT_TRUE(item->isHover());

    shown.guard().setInRelayout(false);
    item->setHovered(false);
    EXPECT_EQ(1u, itemSink.events.size());
    shown.destroy();
}

TEST(NotificationGuard, clickedItemRemovedInItsCallbackDiesAtTheNextDelivery)
{
    // A removed or cleared item outlives its own callback, gets no events, and is deleted when the next event starts.
    RecordingItemSink sink;
    Shown shown(&contextA, nullptr);
    MTBxItem* clicked = shown.add(&contextA, L"clicked");
    MTBxItem* other = shown.add(&contextB, L"other");
    ItemView* clickedView = clicked->itemView();

    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context != &contextA)
            return;
        shown.toolbar->removeItem(clicked);
        EXPECT_EQ(1, shown.guard().depth());
        EXPECT_TRUE(clicked->id() == L"clicked");
    };
    shown.click(clicked);
    EXPECT_EQ(0, shown.guard().depth());
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());
    EXPECT_EQ(1, shown.toolbar->itemCount());
    EXPECT_EQ(clicked, clickedView->item());

    // An event for the item awaiting deletion is never delivered and leaves the waiting list as it was.
    shown.click(clicked);
    clicked->setHovered(true);
    EXPECT_EQ(1u, sink.events.size());
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());
    EXPECT_EQ(0, shown.guard().depth());

    shown.click(other);
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    EXPECT_EQ(nullptr, clickedView->item());
    EXPECT_EQ(2u, sink.events.size());

    // clear inside a callback hands the items over as well; a toolbar event frees them.
    RecordingToolbarSink toolbarSink;
    sink.onEvent = [&](void*, MTBxItemEvents::EventType) {
        shown.toolbar->clear();
        EXPECT_TRUE(shown.toolbar->isEmpty());
        EXPECT_EQ(nullptr, other->owner());
    };
    shown.click(other);
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown, nullptr, nullptr);
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    shown.destroy();
}

TEST(NotificationGuard, nestedDeliveriesKeepDeferredItemsAlive)
{
    // An event raised inside a callback of the same window is delivered but frees nothing.
    RecordingItemSink sink;
    Shown shown(&contextA, nullptr);
    MTBxItem* first = shown.add(&contextA);
    MTBxItem* second = shown.add(&contextB);
    int nestedDepth = 0;
    sink.onEvent = [&](void* context, MTBxItemEvents::EventType type) {
        if (context == &contextA && type == MTBxItemEvents::Clicked) {
            shown.toolbar->removeItem(first);
            second->setHovered(true);
        } else if (context == &contextB) {
            nestedDepth = shown.guard().depth();
            EXPECT_EQ(1, NotificationGuard::deferredItemCount());
        }
    };
    shown.click(first);
    EXPECT_EQ(2, nestedDepth);
    EXPECT_EQ(2u, sink.events.size());
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());

    sink.onEvent = nullptr;
    second->setHovered(false);
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    shown.destroy();
}

TEST(NotificationGuard, toolbarDestroyedInItsCallbackHidesAtOnce)
{
    // The window retires at once; the items live on until CleanupOldViews, and the dead toolbar gets no events.
    RecordingItemSink sink;
    int destroyed = 0;
    Shown shown(&contextA, &destroyed);
    MTBxItem* clicked = shown.add(&contextA, L"clicked");
    MTBxItem* sibling = shown.add(&contextB, L"sibling");
    StandInView* view = shown.view;
    StandInWindow& window = shown.window();

    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context != &contextA)
            return;
        shown.kill();
        EXPECT_EQ(1, window.retirements);
        EXPECT_FALSE(window.visible());
        EXPECT_TRUE(clicked->id() == L"clicked");
        // A host that cleans up right away does not pull the window away from the running delivery.
        MiniToolbar::CleanupOldViews();
        EXPECT_EQ(0, destroyed);
        EXPECT_EQ(1, NotificationGuard::deferredToolbarCount());
    };
    shown.click(clicked);
    EXPECT_EQ(1, NotificationGuard::deferredToolbarCount());
    EXPECT_EQ(0, destroyed);
    EXPECT_EQ(nullptr, view->toolbar());
    EXPECT_TRUE(sibling->id() == L"sibling");

    // The window's own toolbar still awaits destruction: its items stay silent.
    shown.click(sibling);
    EXPECT_EQ(1u, sink.events.size());
    EXPECT_EQ(1, NotificationGuard::deferredToolbarCount());

    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
    EXPECT_EQ(1, destroyed);
    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(1, destroyed);
}

TEST(NotificationGuard, anotherWindowsDeliveryFinishesADestroyedToolbar)
{
    // The first event of a different window deletes the items and view of a toolbar destroyed earlier.
    RecordingItemSink sink;
    RecordingToolbarSink toolbarSink;
    int destroyed = 0;
    Shown dying(&contextA, &destroyed);
    Shown living(&contextB, &destroyed);
    MTBxItem* clicked = dying.add(&contextA);
    MTBxItem* other = living.add(&contextB);
    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context == &contextA) {
            dying.kill();
        }
    };
    dying.click(clicked);
    EXPECT_EQ(1, NotificationGuard::deferredToolbarCount());

    living.click(other);
    EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(2u, sink.events.size());

    // A toolbar event of another window finishes it just as well.
    living.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyUp, nullptr, nullptr);
    EXPECT_EQ(1u, toolbarSink.types.size());
    living.destroy();
    EXPECT_EQ(2, destroyed);
}

namespace {

// Nested deliveries on two windows whose toolbars both die: neither is forgotten or leaked.
void destroyTwoToolbarsInOneDelivery(bool finishThroughThirdWindow)
{
    RecordingItemSink sink;
    int destroyed = 0;
    Shown first(&contextA, &destroyed);
    Shown second(&contextB, &destroyed);
    MTBxItem* a = first.add(&contextA);
    MTBxItem* b = second.add(&contextB);
    first.add(&contextA, L"a2");
    second.add(&contextB, L"b2");
    StandInWindow& firstWindow = first.window();
    StandInWindow& secondWindow = second.window();

    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context == &contextA) {
            second.click(b);
        } else if (context == &contextB) {
            first.kill();
            second.kill();
            EXPECT_EQ(2, NotificationGuard::deferredToolbarCount());
        }
    };
    first.click(a);
    EXPECT_EQ(2u, sink.events.size());
    EXPECT_EQ(1, firstWindow.retirements);
    EXPECT_EQ(1, secondWindow.retirements);
    EXPECT_EQ(2, NotificationGuard::deferredToolbarCount());
    EXPECT_EQ(0, destroyed);

    if (finishThroughThirdWindow) {
        // Entering a third window finishes both deferred toolbars.
        Shown third(&contextC, &destroyed);
        third.click(third.add(&contextC));
        EXPECT_EQ(3u, sink.events.size());
        EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
        EXPECT_EQ(2, destroyed);
        third.destroy();
        return;
    }
    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
    EXPECT_EQ(2, destroyed);
}

} // namespace

TEST(NotificationGuard, twoToolbarsDestroyedDuringOneDeliveryAreBothFinished)
{
    // Both dead toolbars are finished by CleanupOldViews after the nested deliveries.
    destroyTwoToolbarsInOneDelivery(false);
}

TEST(NotificationGuard, aThirdWindowFinishesEveryDestroyedToolbar)
{
    // Entering a third window after the nested deliveries finishes both dead toolbars.
    destroyTwoToolbarsInOneDelivery(true);
}

TEST(NotificationGuard, deletingTheViewOfADestroyedToolbarFreesItsItems)
{
    // When the view of a deferred toolbar is deleted elsewhere, its items go with it exactly once.
    RecordingItemSink sink;
    int destroyed = 0;
    Shown shown(&contextA, &destroyed);
    MTBxItem* clicked = shown.add(&contextA);
    shown.add(&contextA, L"second");
    sink.onEvent = [&](void*, MTBxItemEvents::EventType) {
        shown.kill();
    };
    shown.click(clicked);
    ASSERT_EQ(1, NotificationGuard::deferredToolbarCount());

    delete shown.view;
    shown.view = nullptr;
    EXPECT_EQ(1, destroyed);
    EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(1, destroyed);
}

TEST(NotificationGuard, droppedItemViewsWaitForTheOutermostDelivery)
{
    // Item views dropped during a delivery are deleted at the next outermost entry; their items are refused meanwhile.
    RecordingItemSink sink;
    Shown shown(&contextA, nullptr);
    MTBxItem* trigger = shown.add(&contextA);
    MTBxItem* moved = shown.toolbar->addItem(new MTBxButton(MTBxString(L"moved"), &contextB));
    auto* droppedView = new ItemView(5, moved, shown.view->window(), nullptr, nullptr);
    moved->setItemView(droppedView);

    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context == &contextA)
            shown.guard().deferItemView(droppedView);
    };
    shown.click(trigger);
    EXPECT_EQ(1, NotificationGuard::deferredItemViewCount());

    moved->itemClicked(droppedView);
    EXPECT_EQ(1u, sink.events.size());

    sink.onEvent = nullptr;
    shown.click(trigger);
    EXPECT_EQ(0, NotificationGuard::deferredItemViewCount());
    EXPECT_EQ(nullptr, moved->itemView());
    EXPECT_EQ(2u, sink.events.size());
    shown.destroy();
}
