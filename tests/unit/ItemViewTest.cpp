#include "CraftedPng.h"
#include "Factories.h"
#include "IconHandles.h"
#include "ItemView.h"
#include "MTBxButton.h"
#include "MTBxGrip.h"
#include "MTBxImage.h"
#include "MTBxSeparator.h"
#include "Style.h"
#include "Text.h"
#include "ToolbarStandIns.h"

#include <QString>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace MiniToolbars;
using MiniToolbars::Testing::RecordingItemSink;
using MiniToolbars::Testing::StandInWindow;

namespace {

void giveIcon(MTBxItem& item, int size)
{
    const QByteArray bytes = CraftedPng::encoded(size, size, QColor(200, 30, 30));
    item.setIconData(reinterpret_cast<const unsigned char*>(bytes.constData()),
                     static_cast<unsigned int>(bytes.size()));
}

std::vector<ItemPartKind> kinds(const ItemView& view)
{
    std::vector<ItemPartKind> result;
    for (const ItemPart& part : view.parts())
        result.push_back(part.kind);
    return result;
}

std::vector<int> offsets(const ItemView& view)
{
    std::vector<int> result;
    for (const ItemPart& part : view.parts())
        result.push_back(part.x);
    return result;
}

int widthAfterSteps(int total, int desired)
{
    return total < desired ? desired : desired + (total - desired + 4) / 5 * 5;
}

class ItemViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::setXHeightOverride(6);
        style = Style::instance();
        ASSERT_EQ(style->itemHeight(), 22);
        ASSERT_EQ(style->borderWidth(), 1);
        ASSERT_EQ(style->minItemWidth(), 20);
        ASSERT_EQ(static_cast<int>(style->widthStep()), 5);
    }

    Style* style = nullptr;
};

} // namespace

TEST_F(ItemViewTest, shouldPlaceIconAndCaptionPartsAtDesignMetrics)
{
    // A 16-px icon with a caption: margins, gap9 and gap8 place the parts at 0, 6, 27 and 57.
    MTBxButton item(L"open", nullptr);
    giveIcon(item, 16);
    item.setText(L"Open");
    item.setShowText(true);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    view.measure();

    ASSERT_NE(view.caption(), nullptr);
    const int captionWidth = static_cast<int>(view.caption()->width());
    ASSERT_GT(captionWidth, 0);
    EXPECT_EQ(kinds(view), (std::vector<ItemPartKind>{ LeadingMargin, Icon, Caption, TrailingMargin }));
    EXPECT_EQ(offsets(view), (std::vector<int>{ 0, 6, 27, 27 + captionWidth + 8 }));
    EXPECT_EQ(view.parts()[1].width, 16);
    EXPECT_EQ(view.parts()[2].width, captionWidth);
    const int total = captionWidth + 36;
    EXPECT_EQ(view.width(), widthAfterSteps(total, 20));
    EXPECT_EQ(view.height(), 22);
    EXPECT_FALSE(view.isDirty());
}

TEST_F(ItemViewTest, shouldLayOutThePartsOfEachKindOfItem)
{
    // Icon alone: 28 px grown to 30 in steps; width 300 caps the caption at 150; check box first; combo splitter; grip without gaps; nothing to show keeps a zero rect.
    MTBxButton icon(L"icon", nullptr);
    giveIcon(icon, 16);
    MTBxButton wide(L"wide", nullptr);
    wide.setText(L"Wide");
    wide.setShowText(true);
    wide.setWidth(300);
    MTBxButton check(L"check", nullptr);
    giveIcon(check, 16);
    check.setCheckable(true);
    MTBxItem combo(MTBxItem::Combobox, L"combo", nullptr);
    giveIcon(combo, 16);
    MTBxGrip grip;
    MTBxButton empty(L"empty", nullptr);
    empty.setWidth(40);
    MTBxSeparator separator;
    struct Case
    {
        MTBxItem* item;
        int index;
        std::vector<ItemPartKind> kinds;
        std::vector<int> offsets;
        float width;
    };
    const Case cases[] = {
        { &icon, 0, { LeadingMargin, Icon, TrailingMargin }, { 0, 6, 27 }, 30 },
        { &wide, 0, { LeadingMargin, Caption, TrailingMargin }, { 0, 9, 167 }, 300 },
        { &check, 0, { LeadingMargin, CheckBox, Icon, TrailingMargin }, {}, -1 },
        { &combo, 0, { LeadingMargin, Icon, Splitter, TrailingMargin }, { 0, 6, 27, 33 }, -1 },
        { &grip, -1, { LeadingMargin, Grip, TrailingMargin }, { 0, 1, 7 }, 9 },
        { &empty, 0, {}, {}, 0 },
        { &separator, 1, {}, {}, 0 },
    };
    std::vector<std::unique_ptr<ItemView>> views;
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(static_cast<const unsigned short*>(c.item->id())).toStdString());
        views.push_back(std::make_unique<ItemView>(c.index, c.item, nullptr, nullptr, nullptr));
        ItemView& view = *views.back();
        view.measure();
        EXPECT_EQ(kinds(view), c.kinds);
        if (!c.offsets.empty())
            EXPECT_EQ(offsets(view), c.offsets);
        if (c.width >= 0)
            EXPECT_EQ(view.width(), c.width);
        EXPECT_EQ(view.height(), c.kinds.empty() ? 0.0f : 22.0f);
    }
    EXPECT_EQ(views[0]->parts()[1].gapBefore, 5);
    EXPECT_EQ(views[0]->parts()[1].gapAfter, 5);
    EXPECT_EQ(views[1]->parts()[1].width, 150);
    EXPECT_EQ(views[2]->parts()[1].gapBefore, 2);
    EXPECT_EQ(views[2]->parts()[2].gapBefore, 5);
    EXPECT_EQ(views[2]->parts()[1].width, std::max(0, style->partWidth(CheckBox)));
    EXPECT_EQ(views[3]->subAreaRect(), nullptr);
    EXPECT_TRUE(views[4]->isGrip());
    EXPECT_EQ(views[4]->parts()[1].width, 6);
    EXPECT_TRUE(views[6]->isSeparator());
}

TEST_F(ItemViewTest, shouldHitSubAreaAtRightEndOnly)
{
    // An option box makes a sub-area of dropAreaWidth + border at the right end; edges count as hits.
    MTBxButton item(L"options", nullptr);
    giveIcon(item, 16);
    item.setOptionBox(true);
    item.setWidth(80);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    view.measure();
    view.moveTo(10.0f, -30.0f);

    ASSERT_NE(view.subAreaRect(), nullptr);
    EXPECT_EQ(view.subAreaRect()->width(), 21.0f);
    EXPECT_EQ(view.subAreaRect()->left(), view.width() - 21.0f);

    bool onSubArea = false;
    EXPECT_TRUE(view.hitTest(10.0f + view.width() - 3.0f, -40.0f, onSubArea));
    EXPECT_TRUE(onSubArea);
    EXPECT_TRUE(view.hitTest(12.0f, -30.0f, onSubArea));
    EXPECT_FALSE(onSubArea);
    EXPECT_TRUE(view.hitTest(10.0f, -52.0f, onSubArea));

    onSubArea = true;
    EXPECT_FALSE(view.hitTest(9.0f, -40.0f, onSubArea));
    EXPECT_FALSE(view.hitTest(20.0f, -29.0f, onSubArea));
    EXPECT_TRUE(onSubArea);

    float top = 0, left = 0, bottom = 0, right = 0;
    view.getBounds(top, left, bottom, right);
    EXPECT_EQ((std::vector<float>{ -30, 10, -52, 90 }), (std::vector<float>{ top, left, bottom, right }));
}

TEST_F(ItemViewTest, shouldTakeIconFromNameThenDataThenHandle)
{
    // The icon name wins over raw bytes, which win over an icon handle.
    QImage handleImage(12, 12, QImage::Format_ARGB32);
    handleImage.fill(Qt::blue);
    HICON handle = createIconHandle(handleImage);
    ASSERT_NE(handle, nullptr);

    MTBxButton item(L"icon", nullptr);
    item.setIconFromHandle(handle);
    {
        ItemView view(0, &item, nullptr, nullptr, nullptr);
        ASSERT_NE(view.image(), nullptr);
        EXPECT_EQ(view.image()->width(), 12.0f);
    }
    giveIcon(item, 10);
    {
        ItemView view(0, &item, nullptr, nullptr, nullptr);
        ASSERT_NE(view.image(), nullptr);
        EXPECT_EQ(view.image()->width(), 10.0f);
    }
    item.setIcon(L":/MiniToolbars/Checkbox_On_L.svg");
    {
        ItemView view(0, &item, nullptr, nullptr, nullptr);
        ASSERT_NE(view.image(), nullptr);
        EXPECT_EQ(view.image()->reference(), MTBxString(L":/MiniToolbars/Checkbox_On_L.svg"));
        EXPECT_EQ(view.image()->height(), 16.0f);

        view.setIconByName(MTBxString());
        EXPECT_EQ(view.image(), nullptr);
        view.setIconFromHandle(handle);
        ASSERT_NE(view.image(), nullptr);
        EXPECT_EQ(view.image()->width(), 12.0f);
    }
    destroyIconHandle(handle);
}

TEST_F(ItemViewTest, shouldNotDivideByZeroWhenWidthStepVanishes)
{
    // A 1-px x-height makes the width step truncate to 0; the item then takes its exact width.
    Style::setXHeightOverride(1);
    ASSERT_EQ(static_cast<int>(style->widthStep()), 0);
    MTBxButton item(L"tiny", nullptr);
    giveIcon(item, 16);
    item.setText(L"Tiny");
    item.setShowText(true);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    view.measure();
    ASSERT_FALSE(view.parts().empty());
    const int total = view.parts().back().x + view.parts().back().width;
    EXPECT_EQ(view.width(), std::max(total, style->minItemWidth()));
    EXPECT_EQ(view.height(), style->itemHeight());
}

TEST_F(ItemViewTest, shouldForwardHoverAndIgnoreInvalidStates)
{
    // Hover goes to the item once per change; leaving clears the sub-area hover; bad states are ignored.
    RecordingItemSink sink;
    StandInWindow window;
    int context = 0;
    MTBxButton item(L"hover", &context);
    ItemView view(0, &item, &window, nullptr, nullptr);
    item.setItemView(&view);

    view.setHoverSubArea(true);
    view.setHovered(true);
    view.setHovered(true);
    EXPECT_TRUE(item.isHover());
    EXPECT_TRUE(view.hoverSubArea());
    view.setHovered(false);
    EXPECT_FALSE(view.hoverSubArea());
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].type, MTBxItemEvents::HoverEnter);
    EXPECT_EQ(sink.events[1].type, MTBxItemEvents::HoverLeave);
    EXPECT_EQ(sink.events[0].hostContext, &context);

    view.setState(Pressed);
    view.setState(3);
    view.setState(-1);
    EXPECT_EQ(view.state(), Pressed);
    view.setState(Normal);
    EXPECT_EQ(view.state(), Normal);

    MTBxButton disabled(L"off", nullptr);
    disabled.setEnabled(false);
    ItemView disabledView(1, &disabled, nullptr, nullptr, nullptr);
    EXPECT_EQ(disabledView.state(), Disabled);
}

