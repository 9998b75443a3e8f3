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

TEST_F(FlowLayoutTest, shouldPlaceRowsAndSeparatorsBehindGrip)
{
    // [Separator, A, Sep, Sep, NewLine, NewLine, B, Sep, C, hidden, NewLine] lays out as [A, NewLine, B, Sep, C] in two rows 30 apart behind the grip.
    addSeparator();
    MTBxItem* a = add(L"A", 60);
    addSeparator();
    addSeparator();
    MTBxItem* newLine = addNewLine();
    addNewLine();
    MTBxItem* b = add(L"B", 40);
    addSeparator();
    add(L"C", 52);
    add(L"hidden", 40)->setVisible(false);
    addNewLine();
    layout->rebuild(false);

    ASSERT_EQ(6, layout->itemViewCount());
    EXPECT_EQ(a, view(0)->item());
    EXPECT_EQ(newLine, view(1)->item());
    EXPECT_EQ(b->itemView(), view(2));
    EXPECT_EQ(newLine, view(2)->previousItem());
    EXPECT_EQ(bounds(view(0)), (std::vector<float>{ 0, 0, 60, 22 }));
    EXPECT_EQ(bounds(view(2)), (std::vector<float>{ 0, -30, 40, 22 }));
    EXPECT_EQ(bounds(view(3)), (std::vector<float>{ 0, 0, 0, 0 }));
    EXPECT_EQ(bounds(view(4)), (std::vector<float>{ 48, -30, 52, 22 }));
    EXPECT_TRUE(view(2)->endsGroup() && view(4)->startsGroup());
    // The trailing line break adds a row.
    EXPECT_EQ(edges(*layout, false), (std::vector<float>{ 0, 0, -82, 100 }));
    EXPECT_EQ(edges(static_cast<const MTBxView&>(*layout), false), (std::vector<float>{ 0, 0, -82, 100 }));
    EXPECT_EQ(bounds(layout->gripView()), (std::vector<float>{ -12, 0, 9, 22 }));
    EXPECT_FALSE(layout->layoutDirty());
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
    toolbar->item(1)->setAutoHide(true);
    layout->rebuild(true);
    EXPECT_FALSE(layout->hasNoFadeItems());
    EXPECT_EQ(edges(*layout, true), edges(*layout, false));
}

TEST_F(FlowLayoutTest, shouldHitOnlyEnabledClickableAreas)
{
    // Disabled items, labels, separators, row breaks and an entry's text never take the pointer; its drop area does, with onSubArea set.
    add<MTBxLabel>(L"label", 60);
    addNewLine();
    add(L"disabled", 40)->setEnabled(false);
    addSeparator();
    MTBxItem* button = add(L"button", 40);
    auto* entry = new MTBxItem(MTBxItem::DropDownEntry, MTBxString(L"entry"), true, &itemContext);
    entry->setHasSplitter(true);
    entry->setWidth(60);
    toolbar->addItem(entry);
    layout->rebuild(false);
    for (float x : { 0.0f, 30.0f })
        EXPECT_EQ(nullptr, hit(x, -10.0f)) << x;
    for (float x : { 20.0f, 44.0f })
        EXPECT_EQ(nullptr, hit(x, -40.0f)) << x;
    EXPECT_EQ(button->itemView(), hit(50.0f, -40.0f));
    EXPECT_EQ(nullptr, layout->mousePress(0.0f, 0.0f));
    EXPECT_TRUE(sink.events.empty());

    ItemView* entryView = entry->itemView();
    bool onSubArea = false;
    EXPECT_EQ(nullptr, layout->itemViewAt(entryView->left() + 5.0f, entryView->top() - 10.0f, onSubArea));
    EXPECT_EQ(entryView, layout->itemViewAt(entryView->right() - 2.0f, entryView->top() - 10.0f, onSubArea));
    EXPECT_TRUE(onSubArea);
    // On the shared edge the earlier view wins.
    EXPECT_EQ(button->itemView(), hit(entryView->left(), entryView->top() - 10.0f));
}

TEST_F(FlowLayoutTest, shouldKeepThePressedItemUntilRelease)
{
    // A pressed item keeps the pointer: others are not hovered and release clicks the pressed one; a release over an unpressed item does nothing.
    MTBxItem* a = add(L"A", 60);
    MTBxItem* b = add(L"B", 40);
    layout->rebuild(false);
    EXPECT_EQ(a->itemView(), layout->mouseMove(10.0f, -10.0f));
    EXPECT_EQ(a->itemView(), layout->mousePress(10.0f, -10.0f));
    EXPECT_EQ(Pressed, a->itemView()->state());
    EXPECT_EQ(nullptr, layout->mouseMove(80.0f, -10.0f));
    EXPECT_TRUE(layout->hoverChanged());
    EXPECT_FALSE(b->isHover() || a->isHover());
    EXPECT_EQ(b->itemView(), layout->mouseRelease(80.0f, -10.0f, false, 1));
    EXPECT_EQ(Normal, a->itemView()->state());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::HoverEnter, MTBxItemEvents::HoverLeave, MTBxItemEvents::Clicked }));
    EXPECT_EQ(1, sink.count(MTBxItemEvents::Clicked));
    EXPECT_EQ(&itemContext, sink.events.back().hostContext);

    // A click that opened a popup leaves its item pressed; showing the toolbar again releases it.
    window->popup = true;
    layout->mousePress(10.0f, -10.0f);
    layout->mouseRelease(10.0f, -10.0f, false, 1);
    EXPECT_EQ(Pressed, a->itemView()->state());
    EXPECT_TRUE(layout->show(100.0f, 200.0f, true));
    EXPECT_EQ(Normal, a->itemView()->state());
    EXPECT_EQ(Point(100.0, 200.0), window->shownAt);
    EXPECT_TRUE(window->shownDeferred);
}

TEST_F(FlowLayoutTest, shouldKeepStateOnUnchangedRelayoutButNotOnChangedOrForcedOne)
{
    // A relayout that changes nothing keeps the views with hover and press; a changed or forced one replaces them.
    MTBxItem* a = add(L"A", 60);
    add(L"B", 40);
    layout->rebuild(false);
    layout->mouseMove(10.0f, -10.0f);
    layout->mousePress(10.0f, -10.0f);
    ItemView* before = a->itemView();
    layout->rebuild(false);
    EXPECT_EQ(before, view(0));
    EXPECT_TRUE(before->isHovered());
    EXPECT_EQ(Pressed, before->state());
    EXPECT_EQ(before, layout->current());
    a->setWidth(70);
    layout->rebuild(false);
    EXPECT_EQ(70.0f, view(1)->left());
    EXPECT_EQ(nullptr, layout->current());
    layout->mousePress(10.0f, -10.0f);
    layout->rebuild(true);
    EXPECT_EQ(Normal, a->itemView()->state());
    EXPECT_EQ(nullptr, layout->current());
}

TEST_F(FlowLayoutTest, shouldDeferDroppedViewsUntilTheNextDelivery)
{
    // A relayout inside a host callback keeps the old views alive until the next delivery starts.
    MTBxItem* a = add(L"A", 60);
    add(L"B", 40);
    layout->rebuild(false);
    ItemView* oldView = a->itemView();
    sink.onEvent = [&](void*, MTBxItemEvents::EventType type) {
        if (type == MTBxItemEvents::Clicked)
            layout->rebuild(true);
    };
    layout->mousePress(10.0f, -10.0f);
    EXPECT_EQ(nullptr, layout->mouseRelease(10.0f, -10.0f, false, 1));
    EXPECT_EQ(2, NotificationGuard::deferredItemViewCount());
    EXPECT_EQ(nullptr, oldView->item());
    EXPECT_EQ(view(0), a->itemView());
    sink.onEvent = nullptr;
    layout->keyDown(65, 0);
    EXPECT_EQ(0, NotificationGuard::deferredItemViewCount());
}

TEST_F(FlowLayoutTest, shouldEndDrawingAtAnItemDeletedWhileShown)
{
    // Deleting a shown item asks for a relayout, makes it unhittable and stops drawing at its place; a hidden layout draws nothing.
    add(L"A", 60);
    MTBxItem* b = add(L"B", 40);
    MTBxItem* c = add(L"C", 40);
    layout->rebuild(false);
    ItemView* cView = c->itemView();
    const int relayoutsBefore = window->relayoutRequests;
    toolbar->removeItem(b);
    EXPECT_EQ(relayoutsBefore + 1, window->relayoutRequests);
    EXPECT_EQ(nullptr, hit(70.0f, -10.0f));
    EXPECT_EQ(cView, hit(110.0f, -10.0f));

    const auto alphaAt = [&](bool shown, float x) {
        QImage canvas(200, 40, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        QmtbRender render;
        render.setPainter(&painter);
        render.setOrigin(QPoint(20, 8));
        layout->setShown(shown);
        layout->draw(&render, false);
        render.setPainter(nullptr);
        return qAlpha(canvas.pixel(render.toWindowPoint(x, -11.0f).toPoint()));
    };
    EXPECT_GT(alphaAt(true, 40.0f), 0);
    EXPECT_GT(alphaAt(true, -8.0f), 0);
    EXPECT_EQ(0, alphaAt(true, 125.0f));
    EXPECT_EQ(0, alphaAt(false, 40.0f));
    layout->rebuild(false);
    EXPECT_EQ(60.0f, c->itemView()->left());
}

TEST_F(FlowLayoutTest, shouldReportMovesKeysFadeAndModifiedClicksToTheHost)
{
    // A release after a drag reports the new origin and clicks nothing; keys and fade reach the toolbar sink; a modified click comes first.
    MTBxItem* a = add(L"A", 60);
    a->setCheckable(true);
    layout->rebuild(false);
    window->originX = 320;
    window->originY = -45;
    layout->mousePress(10.0f, -10.0f);
    EXPECT_EQ(a->itemView(), layout->mouseRelease(10.0f, -10.0f, true, 1));
    EXPECT_FALSE(a->itemView()->pressedSubArea());
    EXPECT_TRUE(sink.events.empty());
    layout->keyDown(0x41, 0x1e0001);
    layout->keyUp(0x41, -7);
    layout->notifyFaded();
    EXPECT_EQ(toolbarSink.types, (std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved, MTBxToolbarEvents::ToolbarKeyDown,
                                                                            MTBxToolbarEvents::ToolbarKeyUp, MTBxToolbarEvents::ToolbarFaded }));
    EXPECT_EQ(std::make_pair(std::intptr_t(320), std::intptr_t(-45)), toolbarSink.args[0]);
    EXPECT_EQ(std::make_pair(std::intptr_t(0x41), std::intptr_t(0x1e0001)), toolbarSink.args[1]);
    EXPECT_EQ(&toolbarContext, toolbarSink.contexts[0]);

    const int buttons = 0x04000000 | 0x1;
    layout->mousePress(10.0f, -10.0f);
    layout->mouseRelease(10.0f, -10.0f, false, buttons);
    EXPECT_TRUE(a->isChecked());
    EXPECT_EQ(sink.types(), (std::vector<int>{ MTBxItemEvents::ModifiedClick, MTBxItemEvents::CheckedChanged, MTBxItemEvents::Clicked }));
    EXPECT_EQ(buttons, sink.arg(0));
    EXPECT_EQ(1, sink.arg(1));

    // Marking the layout dirty twice asks for a single relayout.
    const int before = window->relayoutRequests;
    layout->setLayoutDirty(true);
    layout->setLayoutDirty(true);
    EXPECT_EQ(before + 1, window->relayoutRequests);
}
