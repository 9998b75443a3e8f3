#include "MTBxButton.h"
#include "NotificationGuard.h"
#include "ToolbarStandIns.h"

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

// A shown toolbar with a stand-in window. A host that destroys the toolbar
// inside a callback leaves the view to the guard (kill); otherwise the
// toolbar takes its view along (destroy).
struct Shown
{
    Shown(void* context, int* windowsDestroyed = nullptr)
        : toolbar(new MiniToolbar(MTBxString(L"bar"), context))
        , view(new StandInView(toolbar, windowsDestroyed))
    {
    }
    MTBxItem* add(void* context)
    {
        MTBxItem* item = toolbar->addItem(new MTBxButton(MTBxString(L"item"), context));
        view->attach(item);
        return item;
    }
    static void click(MTBxItem* item) { item->itemClicked(item->itemView()); }
    NotificationGuard& guard() const { return view->window()->guard(); }
    void kill() { delete toolbar; toolbar = nullptr; }
    void destroy() { kill(); view = nullptr; }

    MiniToolbar* toolbar;
    StandInView* view;
};

int contextA = 1;
int contextB = 2;

} // namespace

TEST(NotificationGuard, dropsEventsWithoutContextAndDuringRelayout)
{
    // A null host context never reaches a sink; while the window lays out nothing is delivered either.
    RecordingItemSink sink;
    RecordingToolbarSink toolbarSink;
    Shown anonymous(nullptr);
    Shown::click(anonymous.add(nullptr));
    anonymous.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown, nullptr, nullptr);
    anonymous.destroy();

    Shown shown(&contextA);
    MTBxItem* item = shown.add(&contextA);
    shown.guard().setInRelayout(true);
    item->setHovered(true);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarFaded, nullptr, nullptr);
    EXPECT_TRUE(sink.events.empty());
    EXPECT_TRUE(toolbarSink.types.empty());
    shown.guard().setInRelayout(false);
    item->setHovered(false);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarMoved, nullptr, nullptr);
    EXPECT_EQ(1u, sink.events.size());
    EXPECT_EQ(std::vector<void*>{ &contextA }, toolbarSink.contexts);
    shown.destroy();
}

TEST(NotificationGuard, itemRemovedInItsOwnCallbackLivesUntilTheNextDelivery)
{
    // The removed item outlives its callback and nested deliveries, gets no events, and dies when the next outermost one starts.
    RecordingItemSink sink;
    Shown shown(&contextA);
    MTBxItem* clicked = shown.add(&contextA);
    MTBxItem* other = shown.add(&contextB);
    ItemView* clickedView = clicked->itemView();
    int nestedDepth = 0;
    sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
        if (context == &contextA) {
            shown.toolbar->removeItem(clicked);
            other->setHovered(true);
        } else {
            nestedDepth = shown.guard().depth();
            EXPECT_EQ(1, NotificationGuard::deferredItemCount());
        }
    };
    Shown::click(clicked);
    EXPECT_EQ(2, nestedDepth);
    EXPECT_EQ(0, shown.guard().depth());
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());
    EXPECT_EQ(clicked, clickedView->item());
    EXPECT_EQ(1, shown.toolbar->itemCount());

    sink.onEvent = nullptr;
    Shown::click(clicked);
    EXPECT_EQ(2u, sink.events.size());
    EXPECT_EQ(1, NotificationGuard::deferredItemCount());
    Shown::click(other);
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    EXPECT_EQ(nullptr, clickedView->item());
    EXPECT_EQ(3u, sink.events.size());
    shown.destroy();
}

TEST(NotificationGuard, toolbarDestroyedInItsCallbackIsFinishedByCleanupOrAnotherWindow)
{
    // The window retires at once; the view lives until CleanupOldViews or another window's delivery, and stays silent meanwhile.
    for (bool byOtherWindow : { false, true }) {
        SCOPED_TRACE(byOtherWindow);
        RecordingItemSink sink;
        int destroyed = 0;
        Shown dying(&contextA, &destroyed);
        Shown living(&contextB);
        MTBxItem* clicked = dying.add(&contextA);
        MTBxItem* sibling = dying.add(&contextA);
        StandInWindow& window = *dying.view->standInWindow();
        sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
            if (context != &contextA)
                return;
            dying.kill();
            EXPECT_EQ(1, window.retirements);
            // Cleaning up inside the delivery must not pull the window away from under it.
            MiniToolbar::CleanupOldViews();
            EXPECT_EQ(0, destroyed);
        };
        Shown::click(clicked);
        sink.onEvent = nullptr;
        Shown::click(sibling);
        EXPECT_EQ(1u, sink.events.size());
        EXPECT_EQ(1, NotificationGuard::deferredToolbarCount());
        EXPECT_EQ(0, destroyed);

        if (byOtherWindow)
            Shown::click(living.add(&contextB));
        else
            MiniToolbar::CleanupOldViews();
        EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
        EXPECT_EQ(1, destroyed);
        living.destroy();
    }
}
