// Items, views and toolbars that a host callback removes or destroys while a
// delivery is on the stack, in shown toolbars; and the style's lifetime.
#include "Core/ItemView.h"
#include "Core/NotificationGuard.h"
#include "Qt/QmtbPlacement.h"
#include "support/WindowTestSupport.h"

#include <algorithm>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

using LifetimeTest = ControllerFixture;

TEST_F(LifetimeTest, removedItemOutlivesAnotherToolbarsNestedDelivery)
{
    // Removed in its own Clicked callback, an item survives a nested event of another toolbar's item; it goes after both.
    MiniToolbar *first = shown(2, 100), *second = shown(1, 500);
    controller->updateLayout(first, true);
    controller->updateLayout(second, true);
    MTBxItem* a = first->item(0);
    ItemView* oldView = a->itemView();
    int waiting = -1;
    itemSink.onEvent = [&](void*, MTBxItemEvents::EventType type) {
        if (type != MTBxItemEvents::Clicked)
            return void(waiting = NotificationGuard::deferredItemCount());
        // A relayout first: the view it sets aside must let go of the item before the item goes.
        controller->updateLayout(first, true);
        first->removeItem(a);
        second->item(0)->setChecked(true, true);
        a->setHovered(true);
    };
    a->itemClicked(a->itemView());
    itemSink.onEvent = nullptr;
    EXPECT_EQ(1, waiting);
    EXPECT_EQ(nullptr, oldView->item());
    EXPECT_EQ(std::make_pair(1, 0), std::make_pair(itemSink.count(MTBxItemEvents::CheckedChanged), itemSink.count(MTBxItemEvents::HoverEnter)));
    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
}

TEST_F(LifetimeTest, itemMovedToAnotherToolbarLeavesTheOldViewsBehind)
{
    // An item moved to a second toolbar is unlinked from the first one's views, which survive its removal there.
    MiniToolbar *first = shown(3, 100), *second = shown(1, 500);
    controller->updateLayout(first, true);
    MTBxItem* a = first->item(1);
    second->addItem(a);
    EXPECT_EQ(nullptr, a->itemView());
    for (int i = 0; i < first->view()->itemViewCount(); ++i)
        EXPECT_FALSE(a == first->view()->itemViewAt(i)->item() || a == first->view()->itemViewAt(i)->previousItem() || a == first->view()->itemViewAt(i)->nextItem()) << i;
    controller->updateLayout(second, true);
    second->removeItem(a);
    QCoreApplication::sendPostedEvents();
    controller->updateLayout(first, false);
    EXPECT_EQ(2, first->view()->itemViewCount());
}

TEST_F(LifetimeTest, styleLivesWhileAControllerOrAShownToolbarUsesIt)
{
    // Deleting one of two controllers, then the last one, keeps the style a shown toolbar uses; its end releases it.
    Options options;
    options.setScalingFactor(2.0f);
    controller->setOptions(options);
    MiniToolbar* toolbar = shown(2);
    controller->updateLayout(toolbar, true);
    std::unique_ptr<Controller>(Controller::createInstance()).reset();
    controller.reset();
    EXPECT_FLOAT_EQ(2.0f, Style::instance()->scalingFactor());
    toolbar->item(1)->setIcon(MTBxString(L":/MiniToolbars/Grip.svg"));
    toolbars.clear();
    EXPECT_FLOAT_EQ(1.0f, Style::instance()->scalingFactor());
    controller.reset(Controller::createInstance());
}

TEST_F(LifetimeTest, relayoutAfterAStyleChangeReportsTheKeptViews)
{
    // After the x-height doubles, an unforced relayout of fixed-width items gives bounds as high as the views it keeps.
    MiniToolbar* toolbar = shown(2);
    for (int i = 0; i < 2; ++i)
        toolbar->item(i)->setWidth(60);
    controller->updateLayout(toolbar, true);
    Style::setXHeightOverride(12);
    toolbar->view()->rebuild(false);
    float top = 0, left = 0, bottom = 0, right = 0, itemTop = 0, itemBottom = 0;
    toolbar->getBounds(top, left, bottom, right);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(toolbar->item(i)->getBounds(itemTop, left, itemBottom, right));
        EXPECT_FLOAT_EQ(top - bottom, itemTop - itemBottom) << i;
    }
}

TEST_F(LifetimeTest, relayoutThatKeepsTheViewsStillSettlesTheCurrentChild)
{
    // A synchronized list whose current child was disabled shows another one after a relayout, even one that keeps every view.
    MiniToolbar* toolbar = shown(1);
    auto* list = static_cast<MTBxDropDownButton*>(toolbar->addItem(new MTBxDropDownButton(MTBxString(L"list"), &itemSink)));
    list->setSynchronizedWithCurrentItem(true);
    MTBxItem* children[2];
    for (MTBxItem*& child : children)
        child = new MTBxButton(MTBxString(L"child"), &itemSink), child->setParent(list), list->addItem(child);
    controller->updateLayout(toolbar, true);
    QCoreApplication::processEvents();
    children[0]->setEnabled(false);
    EXPECT_EQ(children[0], list->currentItem());
    toolbar->view()->rebuild(false);
    EXPECT_EQ(children[1], list->currentItem());
}

TEST_F(LifetimeTest, captionsWithOuterBlanksAreDrawnLikeTheirTrimmedText)
{
    // "Bold ", " Bold" and " Bold " are measured as "Bold" and drawn pixel for pixel like it, not elided.
    auto built = std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext);
    for (const wchar_t* text : { L"Bold", L"Bold ", L" Bold", L" Bold " })
        built->addItem(makeButton(text));
    MiniToolbar* toolbar = add(std::move(built));
    controller->showToolbar(toolbar, 300, 300, &observer);
    controller->updateLayout(toolbar, true);
    const QImage image = windowOf(toolbar)->grab().toImage();
    // The caption part with a few columns after it, where an ellipsis would show.
    const auto face = [&](int index) {
        const ItemView* view = toolbar->item(index)->itemView();
        const auto caption = std::find_if(view->parts().begin(), view->parts().end(), [](const ItemPart& p) { return p.kind == Caption; });
        const QPoint at = windowOf(toolbar)->placement().toLocal(windowOrigin(toolbar) + QPoint(static_cast<int>(view->left()) + caption->x, -static_cast<int>(view->top()) + 5));
        return image.copy(QRect(at, QSize(caption->width + 3, 13)));
    };
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(face(0), face(i)) << i;
}
