// Items, views and toolbars that a host callback removes or destroys while a
// delivery is on the stack: the guard keeps them alive and silent until it ends.
#include "Core/ItemView.h"
#include "Core/NotificationGuard.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/TooltipOptions.h"
#include "support/ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

// A toolbar with a stand-in window. A host that destroys the toolbar inside a
// callback leaves the view to the guard (kill); otherwise the toolbar takes its
// view along.
struct Shown
{
    Shown(void* context, int* windowsDestroyed = nullptr)
        : toolbar(new MiniToolbar(MTBxString(L"bar"), context)), view(new StandInView(toolbar, windowsDestroyed))
    {
    }
    MTBxItem* add(void* context) { return view->attach(toolbar->addItem(new MTBxButton(MTBxString(L"item"), context)))->item(); }
    static void click(MTBxItem* item) { item->itemClicked(item->itemView()); }
    NotificationGuard& guard() const { return view->window()->guard(); }
    void kill() { delete toolbar, toolbar = nullptr; }
    ~Shown() { delete toolbar; }

    MiniToolbar* toolbar;
    StandInView* view;
};

int contextA = 1, contextB = 2;

} // namespace

TEST(NotificationGuard, dropsEventsWithoutContextAndDuringRelayout)
{
    // A null host context never reaches a sink; while the window lays out nothing is delivered either.
    RecordingItemSink sink;
    RecordingToolbarSink toolbarSink;
    Shown anonymous(nullptr);
    Shown::click(anonymous.add(nullptr));
    anonymous.toolbar->Notify(MTBxToolbarEvents::ToolbarKeyDown, nullptr, nullptr);

    Shown shown(&contextA);
    MTBxItem* item = shown.add(&contextA);
    shown.guard().setInRelayout(true);
    item->setHovered(true);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarFaded, nullptr, nullptr);
    EXPECT_TRUE(sink.events.empty() && toolbarSink.types.empty());
    shown.guard().setInRelayout(false);
    item->setHovered(false);
    shown.toolbar->Notify(MTBxToolbarEvents::ToolbarMoved, nullptr, nullptr);
    EXPECT_TRUE(sink.events.size() == 1 && toolbarSink.contexts == std::vector<void*>{ &contextA });
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
            // Put back and removed again, it still waits to be deleted once.
            shown.toolbar->removeItem(clicked), shown.toolbar->addItem(clicked), shown.toolbar->removeItem(clicked);
            other->setHovered(true);
            // Its own nested events reach the host no more.
            clicked->setChecked(true, true);
            clicked->setHovered(true);
        } else {
            nestedDepth = shown.guard().depth();
            EXPECT_EQ(1, NotificationGuard::deferredItemCount());
        }
    };
    Shown::click(clicked);
    EXPECT_EQ((std::vector<int>{ 2, 0, 1, 1 }), (std::vector<int>{ nestedDepth, shown.guard().depth(), NotificationGuard::deferredItemCount(), shown.toolbar->itemCount() }));
    EXPECT_EQ(clicked, clickedView->item());

    sink.onEvent = nullptr;
    Shown::click(clicked);
    EXPECT_EQ(std::make_pair(2, 1), std::make_pair(int(sink.events.size()), NotificationGuard::deferredItemCount()));
    Shown::click(other);
    EXPECT_EQ(std::make_pair(3, 0), std::make_pair(int(sink.events.size()), NotificationGuard::deferredItemCount()));
    EXPECT_EQ(nullptr, clickedView->item());
}

TEST(NotificationGuard, toolbarDestroyedInItsCallbackIsFinishedByCleanupOrAnotherWindow)
{
    // The window retires at once; the view lives until CleanupOldViews or another window's delivery, and stays silent meanwhile while other toolbars' events go on.
    for (bool byOtherWindow : { false, true }) {
        SCOPED_TRACE(byOtherWindow);
        RecordingItemSink sink;
        int destroyed = 0;
        Shown dying(&contextA, &destroyed), living(&contextB);
        MTBxItem* clicked = dying.add(&contextA);
        MTBxItem* sibling = dying.add(&contextA);
        MTBxItem* other = living.add(&contextB);
        StandInWindow& window = *dying.view->standInWindow();
        const StandInView* const view = dying.view;
        sink.onEvent = [&](void* context, MTBxItemEvents::EventType) {
            if (context != &contextA)
                return;
            dying.kill();
            // Items and view outlive their toolbar, which a host asking them for it must not reach.
            EXPECT_TRUE(window.retirements == 1 && clicked->owner() == nullptr && sibling->owner() == nullptr && view->toolbar() == nullptr);
            // Cleaning up inside the delivery must not pull the window away from under it.
            MiniToolbar::CleanupOldViews();
            EXPECT_EQ(0, destroyed);
            // Another toolbar's events still get through while the dying one delivers.
            Shown::click(other);
        };
        Shown::click(clicked);
        sink.onEvent = nullptr;
        Shown::click(sibling);
        EXPECT_EQ((std::vector<int>{ 2, 1, 0 }), (std::vector<int>{ int(sink.events.size()), NotificationGuard::deferredToolbarCount(), destroyed }));
        if (byOtherWindow)
            Shown::click(living.add(&contextB));
        else
            MiniToolbar::CleanupOldViews();
        EXPECT_EQ(std::make_pair(0, 1), std::make_pair(NotificationGuard::deferredToolbarCount(), destroyed));
    }
}

TEST(TooltipOptionBits, anyBitPatternIsAccepted)
{
    // Unknown option bits, high and negative ones included, are taken without disturbing the known switches.
    SetMTBTooltipOption(TooltipsEnabled, true);
    SetMTBTooltipOption(DebugTooltip, false);
    for (int bits : { 4, 0x40, 0x40000000, ~3 }) {
        SetMTBTooltipOption(static_cast<TooltipOptions>(bits), true);
        SetMTBTooltipOption(static_cast<TooltipOptions>(bits), false);
        EXPECT_TRUE(IsMTBTooltipsEnabled()) << bits;
        EXPECT_FALSE(IsMTBDebugTooltipEnabled()) << bits;
    }
}
