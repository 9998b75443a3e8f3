// Item views: the parts each kind of item lays out, its icon and state, and an item's tooltip and the changes it reports.
#include "Compat/QtCompat.h"
#include "Core/Backend.h"
#include "Core/ItemView.h"
#include "Core/MTBxGrip.h"
#include "Core/MTBxImage.h"
#include "Core/Style.h"
#include "Core/Text.h"
#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "MiniToolbars/TooltipOptions.h"
#include "support/CraftedPng.h"
#include "support/ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace MiniToolbars;

namespace {

void giveIcon(MTBxItem& item, int size)
{
    const QByteArray bytes = CraftedPng::encoded(size, size, QColor(200, 30, 30));
    item.setIconData(reinterpret_cast<const unsigned char*>(bytes.constData()), static_cast<unsigned int>(bytes.size()));
}

// Each part's kind, x and width in turn.
std::vector<int> layoutOf(const ItemView& view)
{
    std::vector<int> result;
    for (const ItemPart& part : view.parts())
        result.insert(result.end(), { part.kind, part.x, part.width });
    return result;
}

int context = 0;

} // namespace

TEST(ItemViewTest, shouldLayOutThePartsOfEachKindOfItem)
{
    // Parts sit at the design gaps and the width grows from the minimum in whole steps; text stops at 150; a grip has no gaps; nothing to show keeps a zero rect.
    Style::setXHeightOverride(6);
    MTBxButton captioned(L"open", nullptr), icon(L"icon", nullptr), wide(L"wide", nullptr), check(L"check", nullptr);
    MTBxButton empty(L"empty", nullptr), option(L"option", nullptr), captionless(L"captionless", nullptr);
    MTBxItem combo(MTBxItem::Combobox, L"combo", nullptr);
    for (MTBxItem* item : std::initializer_list<MTBxItem*>{ &captioned, &icon, &check, &combo, &option, &captionless })
        giveIcon(*item, 16);
    captioned.setText(L"Open"), wide.setText(L"Wide"), captioned.setShowText(true), wide.setShowText(true), wide.setWidth(300);
    check.setCheckable(true), empty.setWidth(40), option.setOptionBox(true), option.setWidth(80), captionless.setShowText(true);
    MTBxGrip grip;
    MTBxSeparator separator;
    const int open = static_cast<int>(std::unique_ptr<Text>(Backend::instance().createText(MTBxString(L"Open"), 0))->width());
    ASSERT_GT(open, 0);
    const int c = CheckBox, i = Icon, l = LeadingMargin, t = TrailingMargin, s = Splitter;
    const struct { MTBxItem* item; int index; std::vector<int> parts; float width; } cases[] = {
        { &captioned, 0, { l, 0, 1, i, 6, 16, Caption, 27, open, t, 27 + open + 8, 1 }, 20.0f + (open + 36 - 20 + 4) / 5 * 5 },
        { &icon, 0, { l, 0, 1, i, 6, 16, t, 27, 1 }, 30 },
        { &captionless, 0, { l, 0, 1, i, 6, 16, EmptyCaption, 22, 0, t, 22, 1 }, 25 },
        { &wide, 0, { l, 0, 1, Caption, 9, 150, t, 167, 1 }, 300 },
        { &check, 0, { l, 0, 1, c, 3, 12, i, 20, 16, t, 41, 1 }, 45 },
        { &combo, 0, { l, 0, 1, i, 6, 16, s, 27, 1, t, 33, 1 }, 35 },
        { &option, 0, { l, 0, 1, i, 6, 16, s, 27, 1, OptionBox, 25, 14, t, 48, 1 }, 80 },
        { &grip, -1, { l, 0, 1, Grip, 1, 6, t, 7, 1 }, 9 },
        { &empty, 0, {}, 0 },
        { &separator, 1, {}, 0 },
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(QtCompat::fromUtf16(static_cast<const unsigned short*>(k.item->id())).toStdString());
        ItemView view(k.index, k.item, nullptr, nullptr, nullptr);
        view.measure();
        EXPECT_EQ(layoutOf(view), k.parts);
        EXPECT_EQ(view.width(), k.width);
        EXPECT_EQ(view.height(), k.parts.empty() ? 0.0f : 22.0f);
        // An option box makes a sub-area of dropAreaWidth + border at the right end.
        const Rect* sub = view.subAreaRect();
        EXPECT_EQ(sub ? (std::vector<float>{ sub->left(), sub->width() }) : std::vector<float>(),
                  k.item == &option ? (std::vector<float>{ 59, 21 }) : std::vector<float>());
        EXPECT_EQ(view.isGrip(), k.item == &grip);
        EXPECT_EQ(view.isSeparator(), k.item == &separator);
    }
}

TEST(ItemViewTest, shouldKeepPartsOfTheWidestEntryWithinRange)
{
    // An entry as wide as an int can say lays its parts out, in order, about a million pixels wide.
    Style::setXHeightOverride(6);
    MTBxDropDownEntry entry(L"entry", L"", nullptr);
    entry.setWidth(INT_MAX), entry.setHasSplitter(true);
    ItemView view(0, &entry, nullptr, nullptr, nullptr);
    view.measure();
    ASSERT_FALSE(view.parts().empty());
    for (size_t i = 1; i < view.parts().size(); ++i)
        EXPECT_GE(view.parts()[i].x, view.parts()[i - 1].x + view.parts()[i - 1].width);
    EXPECT_TRUE(view.width() >= float(1 << 20) && view.width() < 1.1e6f) << view.width();
}

TEST(ItemViewTest, shouldTakeIconFromNameThenDataThenHandle)
{
    // The icon name wins over raw bytes, which win over an icon handle; a view can switch between them.
    QImage handleImage(12, 12, QImage::Format_ARGB32);
    handleImage.fill(Qt::blue);
    HICON handle = createIconHandle(handleImage);
    MTBxButton item(L"icon", nullptr);
    const auto iconWidth = [&item] { return ItemView(0, &item, nullptr, nullptr, nullptr).image()->width(); };
    item.setIconFromHandle(handle);
    const float fromHandle = iconWidth();
    giveIcon(item, 10);
    EXPECT_TRUE(fromHandle == 12.0f && iconWidth() == 10.0f);
    item.setIcon(L":/MiniToolbars/Checkbox_On_L.svg");
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    EXPECT_TRUE(view.image()->reference() == L":/MiniToolbars/Checkbox_On_L.svg" && view.image()->height() == Style::instance()->iconSize());
    view.setIconByName(MTBxString());
    EXPECT_EQ(view.image(), nullptr);
    view.setIconFromHandle(handle);
    EXPECT_EQ(view.image()->width(), 12.0f);
    view.setIconFromHandle(nullptr), destroyIconHandle(handle);
    EXPECT_EQ(view.image(), nullptr);
}

TEST(ItemViewTest, shouldShowTheIconOfTheCurrentChildOfASynchronizedList)
{
    // A synchronized button shows its current child's icon in any form, also byte icons, when built and when the current child changes.
    MTBxDropDownButton list(L"list", nullptr);
    list.setSynchronizedWithCurrentItem(true);
    auto *small = new MTBxButton(L"small", nullptr), *large = new MTBxButton(L"large", nullptr);
    giveIcon(list, 20), giveIcon(*small, 10), giveIcon(*large, 14);
    small->setParent(&list), large->setParent(&list), list.addItem(small), list.addItem(large);
    ItemView view(0, &list, nullptr, nullptr, nullptr);
    list.setItemView(&view);
    ASSERT_TRUE(view.image());
    EXPECT_EQ(view.image()->width(), 10.0f);
    list.setCurrentItem(large);
    ASSERT_TRUE(view.image());
    EXPECT_TRUE(view.image()->width() == 14.0f && !view.builtFrom(&list, nullptr, nullptr));
    list.setItemView(nullptr), list.removeItem(1), list.removeItem(0);
}

TEST(ItemViewTest, shouldNotDivideByZeroWhenWidthStepVanishes)
{
    // A 1-px x-height makes the width step truncate to 0; the item then takes its exact width.
    Style::setXHeightOverride(1);
    ASSERT_EQ(static_cast<int>(Style::instance()->widthStep()), 0);
    MTBxButton item(L"tiny", nullptr);
    giveIcon(item, 16);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    view.measure();
    EXPECT_EQ(view.width(), std::max(view.parts().back().x + view.parts().back().width, Style::instance()->minItemWidth()));
}

TEST(ItemViewTest, shouldClearTheSubAreaHoverOnLeavingAndIgnoreInvalidStates)
{
    // Leaving the item clears the sub-area hover; states out of range are ignored; a disabled item's view starts disabled.
    MTBxButton item(L"hover", nullptr);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    view.setHoverSubArea(true), view.setHovered(true);
    const bool hovered = item.isHover() && view.hoverSubArea();
    view.setHovered(false);
    EXPECT_TRUE(hovered && !item.isHover() && !view.hoverSubArea());
    view.setState(Pressed), view.setState(3), view.setState(-1);
    EXPECT_EQ(view.state(), Pressed);
    view.setState(Normal), item.setEnabled(false);
    EXPECT_TRUE(view.state() == Normal && ItemView(1, &item, nullptr, nullptr, nullptr).state() == Disabled);
}

TEST(MTBxItem, fullTooltipFallsBackInOrderAndShowsDebugDetails)
{
    // Tooltip, then description, then nothing for a shown caption without drop-down, else the text; debug adds the current id and icon.
    MTBxItem item(MTBxItem::Button, MTBxString(L"cmd.open"), &context);
    const std::pair<std::function<void()>, const wchar_t*> steps[] = {
        { [&] { item.setText(MTBxString(L"Open")); }, L"Open" }, { [&] { item.setShowText(true); }, L"" },
        { [&] { item.setHasDropDown(true); }, L"Open" }, { [&] { item.setDescription(MTBxString(L"Opens a file")); }, L"Opens a file" },
        { [&] { item.setToolTip(MTBxString(L"Tip \U0001F600")); }, L"Tip \U0001F600" },
        { [&] { SetMTBTooltipOption(DebugTooltip, true), item.setIcon(MTBxString(L"open.svg")), item.setId(MTBxString(L"cmd.load")); }, L"Tip \U0001F600\n\ncmd.load\nopen.svg" },
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].first();
        EXPECT_TRUE(item.GetFullTooltip() == steps[i].second) << i;
    }
    EXPECT_TRUE(MTBxItem(MTBxItem::Button, MTBxString(L"x"), nullptr).GetFullTooltip() == L"\n\nx\n");
    SetMTBTooltipOption(DebugTooltip, false);
}

TEST(MTBxItem, changesReachTheViewAndTheHostOnlyWhenTheyShow)
{
    // Width changes ask for a relayout, hiding detaches, only visible changes repaint, and setChecked notifies only when asked.
    Testing::RecordingItemSink sink;
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bar"), &context);
    auto* standIn = new Testing::StandInView(toolbar.get());
    Testing::StandInWindow& window = *standIn->standInWindow();
    const auto add = [&](MTBxItem* item) { return toolbar->addItem(item), standIn->attach(item), item; };
    MTBxItem* item = add(new MTBxButton(MTBxString(L"b"), &context));
    ItemView* view = item->itemView();
    const auto relayoutsAfter = [&](const std::function<void()>& change) {
        standIn->setLayoutDirty(false);
        const int before = window.relayoutRequests;
        change();
        return window.relayoutRequests - before;
    };
    EXPECT_EQ(1, relayoutsAfter([&] { item->setWidth(20); }));
    EXPECT_EQ(1, relayoutsAfter([&] { item->setWidthString(MTBxString(L"WW")); }));
    const int r = window.refreshes;
    item->setText(MTBxString(L"hidden caption"));
    EXPECT_EQ(r, window.refreshes);
    item->setShowText(true);
    item->setText(MTBxString(L"shown caption")), item->setValueErrorFlag(true), item->setActive(true), item->setActive(true);
    item->setIcon(MTBxString(L":/MiniToolbars/Grip.svg")), item->setIconFromHandle(nullptr);
    for (bool notify : { true, true, false })
        item->setChecked(notify, notify);
    EXPECT_EQ(r + 7, window.refreshes);
    EXPECT_TRUE(sink.types() == std::vector<int>{ MTBxItemEvents::CheckedChanged } && sink.arg(0) == 1);
    item->setEnabled(false);
    EXPECT_EQ(r + 8, window.refreshes);

    // A parent that shows its current child's caption repaints for the child's new text.
    MTBxItem* parent = add(new MTBxItem(MTBxItem::DropDownButton, MTBxString(L"p"), true, &context));
    MTBxItem child(MTBxItem::Button, MTBxString(L"c"), &context);
    child.setParent(parent);
    parent->setShowText(true), parent->setSynchronizedWithCurrentItem(true);
    child.setText(MTBxString(L"two"));
    EXPECT_EQ(r + 9, window.refreshes);

    EXPECT_EQ(0, relayoutsAfter([&] { item->setVisible(true); }));
    EXPECT_EQ(1, relayoutsAfter([&] { item->setVisible(false); }));
    EXPECT_EQ(nullptr, view->item());
}

// A view stays built from its item until the item's icon name changes, and shows the item's check state; an entry's child lands in its drop-down.
TEST(ItemViewTest, shouldFollowTheItemsIconNameCheckStateAndChildren)
{
    MTBxButton item(L"icon", nullptr);
    item.setIcon(L":/MiniToolbars/Checkbox_On_L.svg");
    item.setCheckable(true);
    ItemView view(0, &item, nullptr, nullptr, nullptr);
    EXPECT_TRUE(view.builtFrom(&item, nullptr, nullptr));
    item.setIcon(L":/MiniToolbars/Checkbox_Off_L.svg");
    EXPECT_FALSE(view.builtFrom(&item, nullptr, nullptr));
    for (const bool checked : {true, false}) {
        item.setChecked(checked, false);
        EXPECT_EQ(view.isChecked(), checked);
    }
    // The host owns the child of its own entry, and keeps it past the entry.
    const auto child = std::make_unique<MTBxButton>(L"child", nullptr);
    MTBxDropDownEntry entry(L"entry", L"", nullptr);
    entry.addItem(child.get(), nullptr);
    EXPECT_TRUE(entry.hasDropDown() && entry.itemCount() == 1 && entry.item(0) == child.get());
}
