#include "ItemView.h"
#include "MTBxFlowLayout.h"
#include "NotificationGuard.h"
#include "Options.h"
#include "TooltipOptions.h"
#include "WindowTestSupport.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <vector>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

enum class Raise { Click, Hover, Check };

// One event of item, as the pointer protocol or the host would cause it.
void raise(MTBxItem* item, Raise how)
{
    switch (how) {
    case Raise::Click:
        item->itemClicked(item->itemView());
        break;
    case Raise::Hover:
        item->setHovered(!item->isHover());
        break;
    case Raise::Check:
        item->setChecked(!item->isChecked(), true);
        break;
    }
}

class LifetimeTest : public ControllerFixture
{
protected:
    // A shown toolbar laid out at once, so that its items have views.
    MiniToolbar* laidOut(std::unique_ptr<MiniToolbar> toolbar, int x = 300)
    {
        MiniToolbar* added = add(std::move(toolbar));
        EXPECT_TRUE(controller->showToolbar(added, x, 300, &observer));
        controller->updateLayout(added, true);
        return added;
    }
    MiniToolbar* laidOut(int buttons, int x = 300) { return laidOut(makeToolbar(buttons), x); }
};

} // namespace

TEST_F(LifetimeTest, removedItemOutlivesAnotherToolbarsNestedDelivery)
{
    // An item removed in its own callback survives a nested event of another toolbar's item until its delivery ends.
    for (Raise onA : { Raise::Click, Raise::Hover, Raise::Check }) {
        for (Raise onB : { Raise::Hover, Raise::Check }) {
            MiniToolbar* first = laidOut(2, 100);
            MiniToolbar* second = laidOut(1, 500);
            MTBxItem* a = first->item(0);
            MTBxItem* b = second->item(0);
            int waitingDuringB = -1;
            bool removed = false;
            itemSink.onEvent = [&](void*, MTBxItemEvents::EventType) {
                if (removed) {
                    waitingDuringB = NotificationGuard::deferredItemCount();
                    return;
                }
                removed = true;
                first->removeItem(a);
                raise(b, onB);
            };
            raise(a, onA);
            EXPECT_EQ(1, waitingDuringB);
            EXPECT_EQ(1, NotificationGuard::deferredItemCount());
            itemSink.onEvent = nullptr;
            raise(b, Raise::Hover);
            EXPECT_EQ(0, NotificationGuard::deferredItemCount());
        }
    }
}

TEST_F(LifetimeTest, itemAwaitingDeletionGetsNoNestedEvents)
{
    // Removed in its Clicked callback, an item's own check or hover change inside that callback reaches the host no more.
    for (Raise nested : { Raise::Hover, Raise::Check }) {
        MiniToolbar* toolbar = laidOut(2);
        MTBxItem* a = toolbar->item(0);
        itemSink.events.clear();
        bool removed = false;
        itemSink.onEvent = [&](void*, MTBxItemEvents::EventType) {
            if (removed)
                return;
            removed = true;
            toolbar->removeItem(a);
            raise(a, nested);
        };
        raise(a, Raise::Click);
        EXPECT_EQ(std::vector<int>{ MTBxItemEvents::Clicked }, itemSink.types());
        MiniToolbar::CleanupOldViews();
        EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    }
}

TEST_F(LifetimeTest, styleLivesWhileAControllerOrAShownToolbarUsesIt)
{
    // Deleting one of two controllers, then the last one, keeps the style a shown toolbar uses; its end releases it.
    Options options;
    options.setScalingFactor(2.0f);
    controller->setOptions(options);
    MiniToolbar* toolbar = laidOut(2);
    std::unique_ptr<Controller> second(Controller::createInstance());
    second.reset();
    EXPECT_FLOAT_EQ(2.0f, Style::instance()->scalingFactor());
    toolbar->item(0)->setIcon(MTBxString(L":/MiniToolbars/Grip.svg"));

    controller.reset();
    EXPECT_FLOAT_EQ(2.0f, Style::instance()->scalingFactor());
    toolbar->item(1)->setIcon(MTBxString(L":/MiniToolbars/Grip.svg"));
    toolbars.clear();
    EXPECT_FLOAT_EQ(1.0f, Style::instance()->scalingFactor());
}

TEST_F(LifetimeTest, showingTheSameToolbarFromItsParentQueryIsRefused)
{
    // Asked for the parent window, the host shows the toolbar again through another controller, or destroys it.
    std::unique_ptr<Controller> second(Controller::createInstance());
    MiniToolbar* toolbar = add(makeToolbar(2));
    bool nestedShow = true;
    observer.onParentHwnd = [&] { nestedShow = second->showToolbar(toolbar, 100, 100, &observer); };
    EXPECT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
    EXPECT_FALSE(nestedShow);
    EXPECT_EQ(1, QmtbView::visibleWindows().size());
    controller->closeToolbar(toolbar);
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());

    auto doomed = makeToolbar(2);
    observer.onParentHwnd = [&] { doomed.reset(); };
    EXPECT_FALSE(controller->showToolbar(doomed.get(), 300, 300, &observer));
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());
    observer.onParentHwnd = nullptr;
}

TEST_F(LifetimeTest, itemMovedToAnotherToolbarLeavesTheOldViewsBehind)
{
    // An item moved to a second toolbar is unlinked from the first one's views, which survive its removal there.
    MiniToolbar* first = laidOut(3, 100);
    MiniToolbar* second = laidOut(1, 500);
    MTBxItem* a = first->item(1);
    second->addItem(a);
    EXPECT_EQ(nullptr, a->itemView());
    for (int i = 0; i < first->view()->itemViewCount(); ++i) {
        const ItemView* view = first->view()->itemViewAt(i);
        EXPECT_NE(a, view->item());
        EXPECT_NE(a, view->previousItem());
        EXPECT_NE(a, view->nextItem());
    }
    controller->updateLayout(second, true);
    second->removeItem(a);
    QCoreApplication::sendPostedEvents();
    controller->updateLayout(first, false);
    EXPECT_EQ(2, first->view()->itemViewCount());
}

TEST_F(LifetimeTest, relayoutAfterAStyleChangeReportsTheKeptViews)
{
    // After the x-height doubles, a relayout of fixed-width items (or none) gives bounds as high as the views it keeps.
    for (int buttons : { 2, 0 }) {
        Style::setXHeightOverride(6);
        auto built = makeToolbar(buttons);
        for (int i = 0; i < buttons; ++i) {
            built->item(i)->setShowText(false);
            built->item(i)->setCheckable(true);
            built->item(i)->setWidth(60);
        }
        MiniToolbar* toolbar = laidOut(std::move(built));
        Style::setXHeightOverride(12);
        toolbar->view()->rebuild(false);
        float top = 0, left = 0, bottom = 0, right = 0;
        toolbar->getBounds(top, left, bottom, right);
        const auto* layout = static_cast<const MTBxFlowLayout*>(toolbar->view());
        EXPECT_FLOAT_EQ(layout->gripView()->height(), top - bottom) << buttons;
        for (int i = 0; i < layout->itemViewCount(); ++i) {
            EXPECT_FLOAT_EQ(60.0f, layout->itemViewAt(i)->width()) << buttons;
            EXPECT_FLOAT_EQ(top - bottom, layout->itemViewAt(i)->height()) << buttons;
        }
    }
}

TEST(TooltipOptionBits, anyBitPatternIsAccepted)
{
    // Unknown option bits, high and negative ones included, are taken without disturbing the known switches.
    SetMTBTooltipOption(TooltipsEnabled, true);
    SetMTBTooltipOption(DebugTooltip, false);
    const std::vector<TooltipOptions> unknown = { static_cast<TooltipOptions>(4), static_cast<TooltipOptions>(0x40),
                                                  static_cast<TooltipOptions>(0x40000000),
                                                  static_cast<TooltipOptions>(~3) };
    for (TooltipOptions option : unknown) {
        SetMTBTooltipOption(option, true);
        SetMTBTooltipOption(option, false);
        EXPECT_TRUE(IsMTBTooltipsEnabled()) << option;
        EXPECT_FALSE(IsMTBDebugTooltipEnabled()) << option;
    }
}
