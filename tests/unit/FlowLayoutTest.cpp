#include "CraftedPng.h"
#include "MTBxButton.h"
#include "MTBxFlowLayout.h"
#include "MTBxLabel.h"
#include "MTBxNewLine.h"
#include "MTBxSeparator.h"
#include "NotificationGuard.h"
#include "QmtbRender.h"
#include "Style.h"
#include "ToolbarStandIns.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace MiniToolbars;
using MiniToolbars::Testing::StandInWindow;

namespace {

class FlowLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::setXHeightOverride(6);
        ASSERT_EQ(Style::instance()->itemHeight(), 22);
        toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bar"), &toolbarContext);
        layout = std::make_unique<MTBxFlowLayout>(toolbar.get(), nullptr);
        toolbar->setView(layout.get());
        window = new StandInWindow(layout.get());
        layout->adoptWindow(std::unique_ptr<ToolbarWindow>(window));
    }
    void TearDown() override
    {
        toolbar->setView(nullptr);
        toolbar.reset();
        layout.reset();
    }

    // An icon-only button: 28 px of parts, so any width from 28 up is exact.
    template<typename Kind = MTBxButton>
    MTBxItem* add(const wchar_t* id, int width, bool autoHide = true)
    {
        MTBxItem* item = new Kind(MTBxString(id), &itemContext);
        item->setIconData(reinterpret_cast<const unsigned char*>(icon.constData()),
                          static_cast<unsigned int>(icon.size()));
        item->setWidth(width);
        item->setAutoHide(autoHide);
        return toolbar->addItem(item);
    }
    MTBxItem* addSeparator() { return toolbar->addItem(new MTBxSeparator); }
    MTBxItem* addNewLine() { return toolbar->addItem(new MTBxNewLine); }

    ItemView* view(int index) const { return layout->itemViewAt(index); }
    ItemView* hit(float x, float y) const
    {
        bool onSubArea = false;
        return layout->itemViewAt(x, y, onSubArea);
    }
    static std::vector<float> bounds(const ItemView* v)
    {
        return { v->left(), v->top(), v->width(), v->height() };
    }
    static std::vector<float> edges(const MTBxView& view, bool noFade)
    {
        float top = 1, left = 1, bottom = 1, right = 1;
        if (noFade)
            view.getNoFadeBounds(top, left, bottom, right);
        else
            view.getBounds(top, left, bottom, right);
        return { top, left, bottom, right };
    }

    QByteArray icon = CraftedPng::encoded(16, 16);
    int toolbarContext = 0;
    int itemContext = 0;
    Testing::RecordingItemSink sink;
    Testing::RecordingToolbarSink toolbarSink;
    std::unique_ptr<MiniToolbar> toolbar;
    std::unique_ptr<MTBxFlowLayout> layout;
    StandInWindow* window = nullptr;
};

} // namespace

TEST_F(FlowLayoutTest, shouldPlaceRowsBehindGrip)
{
    // Items [A, B, NewLine, E] of widths 60, 40, 52: two rows 30 apart, bounds 100 by 52, grip at (-12, 0).
    MTBxItem* a = add(L"A", 60);
    MTBxItem* b = add(L"B", 40);
    addNewLine();
    MTBxItem* e = add(L"E", 52);
    layout->rebuild(false);

    ASSERT_EQ(layout->itemViewCount(), 4);
    EXPECT_EQ(view(0)->item(), a);
    EXPECT_EQ(bounds(view(0)), (std::vector<float>{ 0, 0, 60, 22 }));
    EXPECT_EQ(bounds(view(1)), (std::vector<float>{ 60, 0, 40, 22 }));
    EXPECT_EQ(bounds(view(3)), (std::vector<float>{ 0, -30, 52, 22 }));
    EXPECT_EQ(view(3)->item(), e);
    EXPECT_EQ(b->itemView(), view(1));
    EXPECT_EQ(view(1)->index(), 1);
    EXPECT_EQ(edges(*layout, false), (std::vector<float>{ 0, 0, -52, 100 }));
    EXPECT_EQ(layout->bounds().width(), 100.0f);
    EXPECT_EQ(layout->bounds().height(), 52.0f);

    ASSERT_NE(layout->gripView(), nullptr);
    EXPECT_EQ(bounds(layout->gripView()), (std::vector<float>{ -12, 0, 9, 22 }));
    EXPECT_TRUE(layout->gripView()->isGrip());
    EXPECT_FALSE(layout->layoutDirty());

    // The base class widens over the item views and always holds the origin.
    EXPECT_EQ(edges(static_cast<const MTBxView&>(*layout), false), (std::vector<float>{ 0, 0, -52, 100 }));
}

TEST_F(FlowLayoutTest, shouldFilterSeparatorsAndLineBreaks)
{
    // [Separator, A, Separator, Separator, NewLine, NewLine, B] lays out as [A, NewLine, B].
    addSeparator();
    MTBxItem* a = add(L"A", 60);
    addSeparator();
    addSeparator();
    MTBxItem* newLine = addNewLine();
    addNewLine();
    MTBxItem* b = add(L"B", 40);
    MTBxItem* hidden = add(L"hidden", 40);
    hidden->setVisible(false);
    layout->rebuild(false);

    ASSERT_EQ(layout->itemViewCount(), 3);
    EXPECT_EQ(view(0)->item(), a);
    EXPECT_EQ(view(1)->item(), newLine);
    EXPECT_EQ(view(2)->item(), b);
    EXPECT_EQ(view(0)->nextItem(), newLine);
    EXPECT_EQ(view(2)->previousItem(), newLine);
    EXPECT_EQ(bounds(view(0)), (std::vector<float>{ 0, 0, 60, 22 }));
    EXPECT_EQ(bounds(view(2)), (std::vector<float>{ 0, -30, 40, 22 }));
    EXPECT_EQ(hidden->itemView(), nullptr);
}

TEST_F(FlowLayoutTest, shouldAdvanceSeparatorsAndAddRowForTrailingLineBreak)
{
    // A separator adds 8 px and has no position; a trailing line break adds a row to the bounds.
    add(L"A", 60);
    MTBxItem* separator = addSeparator();
    add(L"B", 40);
    addNewLine();
    layout->rebuild(false);
    ASSERT_EQ(layout->itemViewCount(), 4);
    EXPECT_EQ(view(1)->item(), separator);
    EXPECT_EQ(bounds(view(1)), (std::vector<float>{ 0, 0, 0, 0 }));
    EXPECT_EQ(bounds(view(2)), (std::vector<float>{ 68, 0, 40, 22 }));
    EXPECT_EQ(edges(*layout, false), (std::vector<float>{ 0, 0, -52, 108 }));
    EXPECT_TRUE(view(0)->endsGroup() && view(2)->startsGroup());
}

TEST_F(FlowLayoutTest, shouldBoundItemsThatNeverFade)
{
    // The no-fade rectangle spans the steady items and reaches one row pitch below the lowest; without any it is the bounds.
    add(L"A", 60);
    add(L"B", 40, false);
    addNewLine();
    add(L"E", 52, false);
    layout->rebuild(false);
    EXPECT_TRUE(layout->hasNoFadeItems());
    EXPECT_EQ(edges(*layout, true), (std::vector<float>{ 0, 0, -60, 100 }));

    toolbar->item(3)->setAutoHide(true);
    layout->rebuild(true);
    EXPECT_EQ(edges(*layout, true), (std::vector<float>{ 0, 60, -30, 100 }));

    // Without steady items the no-fade bounds are the bounds.
    toolbar->item(1)->setAutoHide(true);
    layout->rebuild(true);
    EXPECT_FALSE(layout->hasNoFadeItems());
    EXPECT_EQ(edges(*layout, true), edges(*layout, false));
}

TEST_F(FlowLayoutTest, shouldSkipDisabledLabelsSeparatorsAndEntryTextWhenHitTesting)
{
    // Disabled items, labels, separators, row breaks and an entry's text area never take the pointer, even under it.
    MTBxItem* label = add<MTBxLabel>(L"label", 60);
    addNewLine();
    MTBxItem* disabled = add(L"disabled", 40);
    disabled->setEnabled(false);
    addSeparator();
    MTBxItem* button = add(L"button", 40);
    layout->rebuild(false);

    EXPECT_EQ(label->itemView(), view(0));
    EXPECT_EQ(hit(0.0f, 0.0f), nullptr);
    EXPECT_EQ(hit(30.0f, -10.0f), nullptr);
    EXPECT_EQ(hit(20.0f, -40.0f), nullptr);
    EXPECT_EQ(hit(44.0f, -40.0f), nullptr);
    EXPECT_EQ(hit(50.0f, -40.0f), button->itemView());
    EXPECT_EQ(layout->mousePress(0.0f, 0.0f), nullptr);
    EXPECT_TRUE(sink.events.empty());

    // Over an entry's text nothing is hit; over its drop area the entry is, with onSubArea set.
    MTBxItem* entry = new MTBxItem(MTBxItem::DropDownEntry, MTBxString(L"entry"), true, &itemContext);
    entry->setHasSplitter(true);
    entry->setWidth(60);
    toolbar->addItem(entry);
    layout->rebuild(false);

    ItemView* entryView = entry->itemView();
    ASSERT_NE(entryView, nullptr);
    ASSERT_NE(entryView->subAreaRect(), nullptr);
    bool onSubArea = false;
    EXPECT_EQ(layout->itemViewAt(entryView->left() + 5.0f, entryView->top() - 10.0f, onSubArea), nullptr);
    onSubArea = false;
    EXPECT_EQ(layout->itemViewAt(entryView->right() - 2.0f, entryView->top() - 10.0f, onSubArea), entryView);
    EXPECT_TRUE(onSubArea);
    // On the shared edge the earlier view wins.
    EXPECT_EQ(hit(entryView->left(), entryView->top() - 10.0f), button->itemView());
}

TEST_F(FlowLayoutTest, shouldKeepPressWhileThePointerWanders)
{
    // A pressed item keeps the pointer: the other item is not hovered until release, which clicks the pressed one.
    MTBxItem* a = add(L"A", 60);
    MTBxItem* b = add(L"B", 40);
    layout->rebuild(false);

    EXPECT_EQ(layout->mouseMove(10.0f, -10.0f), a->itemView());
    EXPECT_EQ(layout->mousePress(10.0f, -10.0f), a->itemView());
    EXPECT_EQ(a->itemView()->state(), Pressed);
    EXPECT_EQ(layout->mouseMove(80.0f, -10.0f), nullptr);
    EXPECT_TRUE(layout->hoverChanged());
    EXPECT_FALSE(b->isHover());
    EXPECT_FALSE(a->isHover());
    EXPECT_EQ(layout->current(), a->itemView());

    EXPECT_EQ(layout->mouseRelease(80.0f, -10.0f, false, 1), b->itemView());
    EXPECT_EQ(a->itemView()->state(), Normal);
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::HoverEnter, MTBxItemEvents::HoverLeave,
                                                   MTBxItemEvents::Clicked }));
    EXPECT_FALSE(b->isHover());

    // A click that opened a popup leaves its item pressed.
    window->popup = true;
    layout->mousePress(10.0f, -10.0f);
    layout->mouseRelease(10.0f, -10.0f, false, 1);
    EXPECT_EQ(a->itemView()->state(), Pressed);
}

TEST_F(FlowLayoutTest, shouldIgnoreReleaseOverAnItemThatWasNotPressed)
{
    // A press on a label dragged onto a check item and released there neither checks nor clicks it.
    add<MTBxLabel>(L"label", 60);
    MTBxItem* check = add(L"check", 40);
    check->setCheckable(true);
    layout->rebuild(false);
    EXPECT_EQ(layout->mousePress(10.0f, -10.0f), nullptr);
    EXPECT_EQ(layout->mouseMove(80.0f, -10.0f), check->itemView());
    EXPECT_EQ(layout->mouseRelease(80.0f, -10.0f, false, 0x04000001), check->itemView());
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::HoverEnter }));
}

TEST_F(FlowLayoutTest, shouldKeepStateOnUnchangedRelayoutButNotOnForcedOne)
{
    // A relayout that changes nothing keeps the views with hover and press; a forced one replaces them.
    MTBxItem* a = add(L"A", 60);
    add(L"B", 40);
    layout->rebuild(false);
    layout->mouseMove(10.0f, -10.0f);
    layout->mousePress(10.0f, -10.0f);
    ItemView* before = a->itemView();

    layout->rebuild(false);
    EXPECT_EQ(a->itemView(), before);
    EXPECT_EQ(view(0), before);
    EXPECT_TRUE(before->isHovered());
    EXPECT_EQ(before->state(), Pressed);
    EXPECT_EQ(layout->current(), before);

    a->setWidth(70);
    layout->rebuild(false);
    ASSERT_NE(a->itemView(), nullptr);
    EXPECT_EQ(a->itemView()->width(), 70.0f);
    EXPECT_EQ(view(1)->left(), 70.0f);
    EXPECT_EQ(layout->current(), nullptr);

    layout->mousePress(10.0f, -10.0f);
    layout->rebuild(true);
    EXPECT_NE(a->itemView(), nullptr);
    EXPECT_EQ(a->itemView()->state(), Normal);
    EXPECT_FALSE(a->itemView()->isHovered());
    EXPECT_EQ(layout->current(), nullptr);
}

TEST_F(FlowLayoutTest, shouldDeferDroppedViewsUntilTheDeliveryEnds)
{
    // A relayout inside a host callback keeps the old views alive until the next delivery starts.
    MTBxItem* a = add(L"A", 60);
    add(L"B", 40);
    layout->rebuild(false);
    ItemView* oldView = a->itemView();
    int deferredDuringCallback = -1;
    int depthDuringCallback = -1;
    sink.onEvent = [&](void*, MTBxItemEvents::EventType type) {
        if (type != MTBxItemEvents::Clicked)
            return;
        layout->rebuild(true);
        depthDuringCallback = window->guard().depth();
        deferredDuringCallback = NotificationGuard::deferredItemViewCount();
    };

    layout->mousePress(10.0f, -10.0f);
    EXPECT_EQ(layout->mouseRelease(10.0f, -10.0f, false, 1), nullptr);
    EXPECT_EQ(depthDuringCallback, 1);
    EXPECT_EQ(deferredDuringCallback, 2);
    EXPECT_EQ(NotificationGuard::deferredItemViewCount(), 2);
    EXPECT_EQ(oldView->item(), nullptr);
    EXPECT_NE(a->itemView(), oldView);
    EXPECT_EQ(a->itemView(), view(0));

    sink.onEvent = nullptr;
    layout->keyDown(65, 0);
    EXPECT_EQ(NotificationGuard::deferredItemViewCount(), 0);

    layout->rebuild(true);
    EXPECT_EQ(NotificationGuard::deferredItemViewCount(), 0);
}

TEST_F(FlowLayoutTest, shouldEndDrawingAtAnItemDeletedWhileShown)
{
    // Deleting a shown item leaves its neighbours drawable, stops drawing at its place and makes it unhittable.
    MTBxItem* a = add(L"A", 60);
    MTBxItem* b = add(L"B", 40);
    MTBxItem* c = add(L"C", 40);
    layout->rebuild(false);
    ItemView* bView = b->itemView();
    ItemView* cView = c->itemView();
    const int relayoutsBefore = window->relayoutRequests;

    toolbar->removeItem(b);
    EXPECT_EQ(window->relayoutRequests, relayoutsBefore + 1);
    EXPECT_EQ(bView->item(), nullptr);
    EXPECT_EQ(hit(70.0f, -10.0f), nullptr);
    EXPECT_EQ(hit(110.0f, -10.0f), cView);
    EXPECT_TRUE(a->itemView()->endsGroup());
    EXPECT_TRUE(cView->startsGroup());

    QImage canvas(200, 40, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    QmtbRender render;
    render.setPainter(&painter);
    render.setOrigin(QPoint(20, 8));
    layout->draw(&render, false);
    render.setPainter(nullptr);
    painter.end();
    canvas.save(QStringLiteral(MTB_TEST_BINARY_DIR "/FlowLayoutDeleted.png"));

    auto alphaAt = [&](float x, float y) {
        return qAlpha(canvas.pixel(render.toWindowPoint(x, y).toPoint()));
    };
    EXPECT_GT(alphaAt(40.0f, -11.0f), 0);
    EXPECT_GT(alphaAt(-8.0f, -11.0f), 0);
    EXPECT_EQ(alphaAt(85.0f, -11.0f), 0);
    EXPECT_EQ(alphaAt(125.0f, -11.0f), 0);

    layout->rebuild(false);
    EXPECT_EQ(layout->itemViewCount(), 2);
    EXPECT_EQ(c->itemView()->left(), 60.0f);
}

TEST_F(FlowLayoutTest, shouldSendMovedAndNoClickAfterDrag)
{
    // Releasing after a drag reports the window's new origin and does not click.
    MTBxItem* a = add(L"A", 60);
    layout->rebuild(false);
    window->originX = 320;
    window->originY = -45;

    layout->mousePress(10.0f, -10.0f);
    EXPECT_EQ(layout->mouseRelease(10.0f, -10.0f, true, 1), a->itemView());
    EXPECT_EQ(a->itemView()->state(), Normal);
    EXPECT_FALSE(a->itemView()->pressedSubArea());
    EXPECT_TRUE(sink.events.empty());
    ASSERT_EQ(toolbarSink.types, (std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved }));
    EXPECT_EQ(toolbarSink.contexts[0], &toolbarContext);
    EXPECT_EQ(toolbarSink.args[0].first, 320);
    EXPECT_EQ(static_cast<int>(toolbarSink.args[0].second), -45);
}

TEST_F(FlowLayoutTest, shouldSendModifiedClickBeforeCheckAndClick)
{
    // With a modifier held the release sends ModifiedClick, then CheckedChanged, then Clicked.
    MTBxItem* a = add(L"A", 60);
    a->setCheckable(true);
    layout->rebuild(false);

    const int buttons = 0x04000000 | 0x1;
    layout->mousePress(10.0f, -10.0f);
    layout->mouseRelease(10.0f, -10.0f, false, buttons);
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::ModifiedClick, MTBxItemEvents::CheckedChanged,
                                                   MTBxItemEvents::Clicked }));
    EXPECT_EQ(sink.arg(0), buttons);
    EXPECT_EQ(sink.arg(1), 1);
    EXPECT_EQ(sink.events[0].hostContext, &itemContext);

    sink.events.clear();
    layout->mousePress(10.0f, -10.0f);
    layout->mouseRelease(10.0f, -10.0f, false, 0x1);
    EXPECT_FALSE(a->isChecked());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::CheckedChanged, MTBxItemEvents::Clicked }));
    EXPECT_EQ(sink.arg(0), 0);
}

TEST_F(FlowLayoutTest, shouldAskForOneRelayoutWhenMarkedDirtyTwice)
{
    // Marking the layout dirty twice posts a single relayout request.
    add(L"A", 60);
    layout->rebuild(false);
    const int before = window->relayoutRequests;
    layout->setLayoutDirty(true);
    layout->setLayoutDirty(true);
    EXPECT_EQ(window->relayoutRequests, before + 1);
    layout->rebuild(false);
    add(L"B", 40);
    EXPECT_EQ(window->relayoutRequests, before + 2);
}

TEST_F(FlowLayoutTest, shouldForwardKeysAndFadeToTheToolbar)
{
    // Key and fade notifications reach the toolbar sink with their arguments.
    layout->rebuild(false);
    layout->keyDown(0x41, 0x1e0001);
    layout->keyUp(0x41, -7);
    layout->notifyFaded();
    EXPECT_EQ(toolbarSink.types, (std::vector<MTBxToolbarEvents::EventType>{
                                     MTBxToolbarEvents::ToolbarKeyDown, MTBxToolbarEvents::ToolbarKeyUp,
                                     MTBxToolbarEvents::ToolbarFaded }));
    EXPECT_EQ(toolbarSink.args[0], std::make_pair(std::intptr_t(0x41), std::intptr_t(0x1e0001)));
    EXPECT_EQ(toolbarSink.args[1].second, -7);
    EXPECT_EQ(window->guard().depth(), 0);

    layout->setToolbar(nullptr);
    layout->keyDown(0x41, 0);
    EXPECT_EQ(toolbarSink.types.size(), 3u);
}

TEST_F(FlowLayoutTest, shouldNotShowAgainWithAStalePress)
{
    // Showing a toolbar again releases the item that was pressed when it went away.
    MTBxItem* a = add(L"A", 60);
    layout->rebuild(false);
    layout->mousePress(10.0f, -10.0f);
    ASSERT_EQ(a->itemView()->state(), Pressed);

    EXPECT_TRUE(layout->show(100.0f, 200.0f, true));
    EXPECT_EQ(a->itemView()->state(), Normal);
    EXPECT_EQ(window->shows, 1);
    EXPECT_EQ(window->shownAt, Point(100.0, 200.0));
    EXPECT_TRUE(window->shownDeferred);
    EXPECT_TRUE(sink.events.empty());
}
