#include "MTBxButton.h"
#include "MTBxCommandItem.h"
#include "MTBxGrip.h"
#include "MTBxLabel.h"
#include "MTBxNewLine.h"
#include "MTBxSeparator.h"
#include "ToolbarStandIns.h"
#include "TooltipOptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

using namespace MiniToolbars;
using MiniToolbars::Testing::RecordingItemSink;
using MiniToolbars::Testing::StandInView;

namespace {

int contextA = 0;

// Every flag and field at its documented default, apart from what the caller names.
void expectDefaults(const MTBxItem& item, const wchar_t* id, MTBxItem::MTBItemType type,
                    bool hasDropDown, void* hostContext)
{
    EXPECT_TRUE(item.id() == id);
    EXPECT_TRUE(item.idSelected() == id);
    EXPECT_EQ(type, item.itemType());
    EXPECT_EQ(hasDropDown, item.hasDropDown());
    EXPECT_EQ(hostContext, item.hostContext());

    // Enabled, visible and auto-hiding; every other switch off.
    EXPECT_EQ((std::vector<bool>{ true, true, true, false, false, false, false, false, false, false, false, false, false, false }),
              (std::vector<bool>{ item.isEnabled(), item.isVisible(), item.autoHide(), item.isCheckable(), item.isChecked(),
                                  item.hasOptionBox(), item.isActive(), item.showText(), item.isSynchronizedWithCurrentItem(),
                                  item.hasSplitter(), item.valueErrorFlag(), item.lockValue(), item.isHover(),
                                  item.hasRemoveButton() }));
    for (const MTBxString* text : { &item.text(), &item.description(), &item.icon(), &item.shortcut(), &item.toolTip(),
                                    &item.widthString(), &item.value(), &item.widestText() })
        EXPECT_TRUE(text->empty());
    EXPECT_EQ(0, item.width());
    EXPECT_EQ(0, item.tag());
    EXPECT_EQ(nullptr, item.data());
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(0u, item.iconDataLength());
    EXPECT_EQ(nullptr, item.iconHandle());
    EXPECT_EQ(nullptr, item.parent());
    EXPECT_EQ(nullptr, item.itemView());
    EXPECT_EQ(nullptr, item.owner());
}

// A toolbar with a stand-in view whose layout flag starts clear.
struct ShownToolbar
{
    ShownToolbar()
        : toolbar(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &contextA))
        , view(new StandInView(toolbar.get()))
    {
        view->setLayoutDirty(false);
    }
    // Destroying the toolbar takes its view along.
    ~ShownToolbar() { toolbar.reset(); }

    MTBxItem* add(MTBxItem* item, bool attach = true)
    {
        toolbar->addItem(item);
        if (attach)
            view->attach(item);
        return item;
    }

    Testing::StandInWindow& window() const { return *view->standInWindow(); }

    std::unique_ptr<MiniToolbar> toolbar;
    StandInView* view;
};

} // namespace

TEST(MTBxItem, everyKindStartsAtTheDefaults)
{
    // The constructor forms and simple kinds differ only in id, type, drop-down flag and host context.
    expectDefaults(MTBxItem(), L"", MTBxItem::UndefinedItem, false, nullptr);
    expectDefaults(MTBxItem(MTBxItem::HostType4, &contextA), L"", MTBxItem::HostType4, false, &contextA);
    expectDefaults(MTBxItem(MTBxItem::DropDownButton, MTBxString(L"more"), true, &contextA), L"more", MTBxItem::DropDownButton, true, &contextA);
    expectDefaults(MTBxLabel(MTBxString(L"l"), &contextA), L"l", MTBxItem::Label, false, &contextA);
    expectDefaults(MTBxCommandItem(MTBxString(L"c"), &contextA), L"c", MTBxItem::CommandItem, false, &contextA);
    const MTBxSeparator separator;
    expectDefaults(separator, L"Separator", MTBxItem::Separator, false, nullptr);
    const MTBxNewLine newLine;
    expectDefaults(newLine, L"NewLine", MTBxItem::NewLine, false, nullptr);
    EXPECT_TRUE(separator.isSeparator() && !separator.isNewLine() && separator.isSeparatorType());
    EXPECT_TRUE(newLine.isNewLine() && !newLine.isSeparator() && newLine.isSeparatorType());
    EXPECT_FALSE(MTBxButton(MTBxString(L"b"), nullptr).isSeparatorType());
    EXPECT_EQ(4, MTBxGrip().width());
}

TEST(MTBxItem, iconSourcesReplaceEachOther)
{
    // setIconData keeps a private copy; null or zero length clears; a name or handle drops the bytes.
    MTBxItem item;
    unsigned char bytes[] = { 1, 2, 3, 4 };
    item.setIconData(bytes, 4);
    bytes[0] = 9;
    ASSERT_EQ(4u, item.iconDataLength());
    EXPECT_EQ(1, item.iconData()[0]);
    item.setIconData(nullptr, 5);
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(0u, item.iconDataLength());
    item.setIconData(bytes, 4);
    item.setIcon(MTBxString(L"open.svg"));
    EXPECT_EQ(nullptr, item.iconData());
    item.setIconData(bytes, 4);
    item.setIconFromHandle(reinterpret_cast<HICON>(0x20));
    EXPECT_EQ(0u, item.iconDataLength());
    EXPECT_EQ(reinterpret_cast<HICON>(0x20), item.iconHandle());
    EXPECT_TRUE(item.icon() == L"open.svg");
}

TEST(MTBxItem, fullTooltipFallsBackInOrderAndShowsDebugDetails)
{
    // Tooltip, then description, then nothing for a shown caption without drop-down, else the text; debug adds id and icon.
    MTBxItem item(MTBxItem::Button, MTBxString(L"cmd.open"), &contextA);
    item.setText(MTBxString(L"Open"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Open");
    item.setShowText(true);
    EXPECT_TRUE(item.GetFullTooltip().empty());
    item.setHasDropDown(true);
    EXPECT_TRUE(item.GetFullTooltip() == L"Open");
    item.setDescription(MTBxString(L"Opens a file"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Opens a file");
    item.setToolTip(MTBxString(L"Tip \U0001F600"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Tip \U0001F600");
    SetMTBTooltipOption(DebugTooltip, true);
    item.setIcon(MTBxString(L"open.svg"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Tip \U0001F600\n\ncmd.open\nopen.svg");
    EXPECT_TRUE(MTBxItem(MTBxItem::Button, MTBxString(L"x"), nullptr).GetFullTooltip() == L"\n\nx\n");
    SetMTBTooltipOption(DebugTooltip, false);
}

TEST(MTBxItem, checkedChangedAndChildEventsReachTheHostOnlyThroughAView)
{
    // setChecked notifies only through a view and when asked; a child's events use its parent's window; an orphan's go nowhere.
    RecordingItemSink sink;
    MTBxItem hidden(MTBxItem::Button, MTBxString(L"h"), &contextA);
    hidden.setChecked(true, true);
    EXPECT_TRUE(hidden.isChecked());
    ShownToolbar shown;
    MTBxItem* item = shown.add(new MTBxButton(MTBxString(L"b"), &contextA));
    item->setChecked(true, true);
    item->setChecked(true, true);
    item->setChecked(false, false);
    item->setChecked(true);
    EXPECT_EQ(3, shown.window().refreshes);
    ASSERT_EQ(2u, sink.events.size());
    EXPECT_EQ(MTBxItemEvents::CheckedChanged, sink.events[0].type);
    EXPECT_EQ(1, sink.arg(0));

    int childContext = 0;
    MTBxItem child(MTBxItem::Button, MTBxString(L"c"), &childContext);
    child.setParent(item);
    child.itemClicked(nullptr);
    MTBxItem(MTBxItem::Button, MTBxString(L"o"), &childContext).itemClicked(nullptr);
    ASSERT_EQ(3u, sink.events.size());
    EXPECT_EQ(&childContext, sink.events[2].hostContext);
    EXPECT_EQ(MTBxItemEvents::Clicked, sink.events[2].type);
}

TEST(MTBxItem, changesReachTheViewAndRepaintOnlyWhenVisible)
{
    // Width changes ask for a relayout, enabling sets the view state, hiding detaches; only visible changes repaint.
    ShownToolbar shown;
    MTBxItem* item = shown.add(new MTBxButton(MTBxString(L"b"), &contextA));
    ItemView* view = item->itemView();
    item->setWidth(20);
    EXPECT_EQ(1, shown.window().relayoutRequests);
    shown.view->setLayoutDirty(false);
    item->setWidthString(MTBxString(L"WW"));
    EXPECT_TRUE(item->widthString() == L"WW");
    EXPECT_EQ(2, shown.window().relayoutRequests);
    shown.view->setLayoutDirty(false);
    item->setEnabled(false);
    EXPECT_EQ(Disabled, view->state());
    item->setEnabled(true);
    EXPECT_EQ(Normal, view->state());

    const int r = shown.window().refreshes;
    item->setText(MTBxString(L"hidden caption"));
    EXPECT_EQ(r, shown.window().refreshes);
    item->setShowText(true);
    item->setText(MTBxString(L"shown caption"));
    item->setValueErrorFlag(true);
    item->setActive(true);
    item->setActive(true);
    item->setIcon(MTBxString(L":/MiniToolbars/Grip.svg"));
    item->setIconFromHandle(nullptr);
    EXPECT_EQ(r + 5, shown.window().refreshes);
    EXPECT_TRUE(item->valueErrorFlag());

    // A parent that shows its current child's caption repaints for the child's new text.
    MTBxItem* parent = shown.add(new MTBxItem(MTBxItem::DropDownButton, MTBxString(L"p"), true, &contextA));
    MTBxItem child(MTBxItem::Button, MTBxString(L"c"), &contextA);
    child.setParent(parent);
    child.setText(MTBxString(L"one"));
    EXPECT_EQ(r + 5, shown.window().refreshes);
    parent->setShowText(true);
    parent->setSynchronizedWithCurrentItem(true);
    child.setText(MTBxString(L"two"));
    EXPECT_EQ(r + 6, shown.window().refreshes);

    shown.view->setLayoutDirty(false);
    const int relayouts = shown.window().relayoutRequests;
    item->setVisible(true);
    EXPECT_EQ(relayouts, shown.window().relayoutRequests);
    item->setVisible(false);
    EXPECT_EQ(relayouts + 1, shown.window().relayoutRequests);
    EXPECT_EQ(nullptr, view->item());
}
