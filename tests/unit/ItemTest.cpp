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

HICON fakeHandle(std::uintptr_t value)
{
    return reinterpret_cast<HICON>(value);
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

TEST(MTBxItem, everyConstructorFormStartsAtTheDefaults)
{
    // The three constructor forms differ only in id, type, drop-down flag and host context.
    const MTBxItem plain;
    expectDefaults(plain, L"", MTBxItem::UndefinedItem, false, nullptr);
    const MTBxItem typed(MTBxItem::HostType4, &contextA);
    expectDefaults(typed, L"", MTBxItem::HostType4, false, &contextA);
    const MTBxItem withId(MTBxItem::Button, MTBxString(L"cmd.save"), &contextA);
    expectDefaults(withId, L"cmd.save", MTBxItem::Button, false, &contextA);
    const MTBxItem withDropDown(MTBxItem::DropDownButton, MTBxString(L"more"), true, &contextA);
    expectDefaults(withDropDown, L"more", MTBxItem::DropDownButton, true, &contextA);
}

TEST(MTBxItem, simpleKindsFixTypeAndId)
{
    // Each simple kind sets its type; separators and row breaks have default ids and no context.
    expectDefaults(MTBxLabel(MTBxString(L"l"), &contextA), L"l", MTBxItem::Label, false, &contextA);
    expectDefaults(MTBxButton(MTBxString(L"b"), &contextA), L"b", MTBxItem::Button, false, &contextA);
    expectDefaults(MTBxCommandItem(MTBxString(L"c"), &contextA), L"c", MTBxItem::CommandItem, false,
                   &contextA);
    const MTBxSeparator separator;
    expectDefaults(separator, L"Separator", MTBxItem::Separator, false, nullptr);
    const MTBxNewLine newLine;
    expectDefaults(newLine, L"NewLine", MTBxItem::NewLine, false, nullptr);
    EXPECT_TRUE(MTBxSeparator(MTBxString(L"sep2")).id() == L"sep2");

    EXPECT_TRUE(separator.isSeparator() && !separator.isNewLine() && separator.isSeparatorType());
    EXPECT_TRUE(newLine.isNewLine() && !newLine.isSeparator() && newLine.isSeparatorType());
    EXPECT_FALSE(MTBxButton(MTBxString(L"b"), nullptr).isSeparatorType());

    const MTBxGrip grip;
    EXPECT_EQ(MTBxItem::Button, grip.itemType());
    EXPECT_EQ(4, grip.width());
    EXPECT_FALSE(grip.showText());
    EXPECT_EQ(nullptr, grip.hostContext());
}

TEST(MTBxItem, iconBytesAreCopiedAndDroppedByOtherSources)
{
    // setIconData keeps a private copy; null or zero length clears; a name or handle drops the bytes.
    MTBxItem item;
    unsigned char bytes[] = { 1, 2, 3, 4 };
    item.setIconData(bytes, 4);
    ASSERT_NE(nullptr, item.iconData());
    EXPECT_NE(bytes, item.iconData());
    bytes[0] = 9;
    EXPECT_EQ(1, item.iconData()[0]);
    EXPECT_EQ(4u, item.iconDataLength());

    item.setIconData(bytes, 0);
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(0u, item.iconDataLength());
    item.setIconData(bytes, 2);
    item.setIconData(nullptr, 5);
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(0u, item.iconDataLength());

    item.setIconFromHandle(fakeHandle(0x10));
    item.setIconData(bytes, 4);
    EXPECT_EQ(fakeHandle(0x10), item.iconHandle());
    item.setIcon(MTBxString(L"open.svg"));
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(0u, item.iconDataLength());
    EXPECT_TRUE(item.icon() == L"open.svg");

    item.setIconData(bytes, 4);
    item.setIconFromHandle(fakeHandle(0x20));
    EXPECT_EQ(nullptr, item.iconData());
    EXPECT_EQ(fakeHandle(0x20), item.iconHandle());
    EXPECT_TRUE(item.icon() == L"open.svg");
}

TEST(MTBxItem, fullTooltipFallsBackInOrder)
{
    // Tooltip, then description, then nothing for a visible caption without drop-down, else the text.
    MTBxItem item(MTBxItem::Button, MTBxString(L"id"), &contextA);
    item.setText(MTBxString(L"Open"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Open");
    item.setShowText(true);
    EXPECT_TRUE(item.GetFullTooltip().empty());
    item.setHasDropDown(true);
    EXPECT_TRUE(item.GetFullTooltip() == L"Open");
    item.setDescription(MTBxString(L"Opens a file"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Opens a file");
    item.setToolTip(MTBxString(L"Open (Ctrl+O)"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Open (Ctrl+O)");
    EXPECT_EQ(&item.toolTip(), &item.GetFullTooltip());
}

TEST(MTBxItem, debugTooltipShowsIdAndIcon)
{
    // With debug tooltips on, the text is followed by an empty line, the id and the icon name.
    SetMTBTooltipOption(DebugTooltip, true);
    MTBxItem item(MTBxItem::Button, MTBxString(L"cmd.open"), &contextA);
    item.setText(MTBxString(L"Open"));
    item.setIcon(MTBxString(L"open.svg"));
    item.setShowText(true);
    EXPECT_TRUE(item.GetFullTooltip() == L"Open\n\ncmd.open\nopen.svg");

    item.setToolTip(MTBxString(L"Tip \U0001F600"));
    EXPECT_TRUE(item.GetFullTooltip() == L"Tip \U0001F600\n\ncmd.open\nopen.svg");

    // One shared string serves every item and is rebuilt on each call.
    MTBxItem other(MTBxItem::Button, MTBxString(L"x"), nullptr);
    const MTBxString& first = item.GetFullTooltip();
    const MTBxString& second = other.GetFullTooltip();
    EXPECT_EQ(&first, &second);
    EXPECT_TRUE(second == L"\n\nx\n");

    SetMTBTooltipOption(DebugTooltip, false);
    EXPECT_TRUE(item.GetFullTooltip() == L"Tip \U0001F600");
}

TEST(MTBxItem, checkedChangedIsSentOnlyForShownItems)
{
    // setChecked notifies only through a view, and only when asked; the window repaints either way.
    RecordingItemSink sink;
    MTBxItem hidden(MTBxItem::Button, MTBxString(L"h"), &contextA);
    hidden.setChecked(true, true);
    EXPECT_TRUE(hidden.isChecked());
    EXPECT_TRUE(sink.events.empty());

    ShownToolbar shown;
    MTBxItem* item = shown.add(new MTBxButton(MTBxString(L"b"), &contextA));
    item->setChecked(true, true);
    ASSERT_EQ(1u, sink.events.size());
    EXPECT_EQ(MTBxItemEvents::CheckedChanged, sink.events[0].type);
    EXPECT_EQ(&contextA, sink.events[0].hostContext);
    EXPECT_EQ(1u, static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(sink.events[0].p1)));
    EXPECT_EQ(1, shown.window().refreshes);

    item->setChecked(true, true);
    EXPECT_EQ(1u, sink.events.size());
    item->setChecked(false, false);
    EXPECT_EQ(1u, sink.events.size());
    EXPECT_EQ(2, shown.window().refreshes);
    item->setChecked(true);
    ASSERT_EQ(2u, sink.events.size());
    item->setChecked(false);
    ASSERT_EQ(3u, sink.events.size());
    EXPECT_EQ(nullptr, sink.events[2].p1);
    EXPECT_EQ(0, shown.window().guard().depth());
}

TEST(MTBxItem, childEventsTravelThroughTheParentsWindow)
{
    // A child has no view of its own: its events use the parent's window and it never repaints it.
    RecordingItemSink sink;
    ShownToolbar shown;
    MTBxItem* parent = shown.add(new MTBxItem(MTBxItem::DropDownButton, MTBxString(L"p"), true, &contextA));
    int childContext = 0;
    MTBxItem child(MTBxItem::Button, MTBxString(L"c"), &childContext);
    child.setParent(parent);
    child.itemClicked(nullptr);
    ASSERT_EQ(1u, sink.events.size());
    EXPECT_EQ(&childContext, sink.events[0].hostContext);
    EXPECT_EQ(MTBxItemEvents::Clicked, sink.events[0].type);

    MTBxItem orphan(MTBxItem::Button, MTBxString(L"o"), &childContext);
    orphan.itemClicked(nullptr);
    EXPECT_EQ(1u, sink.events.size());
}

TEST(MTBxItem, settersReachTheView)
{
    // Width changes ask for a relayout, enabling sets the view state, hiding detaches the view.
    ShownToolbar shown;
    MTBxItem* item = shown.add(new MTBxButton(MTBxString(L"b"), &contextA));
    ItemView* view = item->itemView();
    ASSERT_NE(nullptr, view);

    item->setWidth(20);
    EXPECT_TRUE(shown.view->layoutDirty());
    EXPECT_EQ(1, shown.window().relayoutRequests);
    shown.view->setLayoutDirty(false);
    item->setWidthString(MTBxString(L"WW"));
    EXPECT_EQ(2, shown.window().relayoutRequests);
    shown.view->setLayoutDirty(false);

    item->setEnabled(false);
    EXPECT_EQ(Disabled, view->state());
    item->setEnabled(true);
    EXPECT_EQ(Normal, view->state());
    const int refreshes = shown.window().refreshes;
    item->setValueErrorFlag(true);
    item->setActive(true);
    item->setActive(true);
    EXPECT_EQ(refreshes + 2, shown.window().refreshes);

    item->setVisible(true);
    EXPECT_EQ(2, shown.window().relayoutRequests);
    item->setVisible(false);
    EXPECT_EQ(3, shown.window().relayoutRequests);
    EXPECT_EQ(nullptr, item->itemView());
    EXPECT_EQ(nullptr, view->item());
}

TEST(MTBxItem, visibleChangesRepaintTheWindow)
{
    // A shown caption, a new icon name or handle, or a mirrored child's text repaint the window; a hidden caption does not.
    ShownToolbar shown;
    MTBxItem* item = shown.add(new MTBxButton(MTBxString(L"b"), &contextA));
    item->setText(MTBxString(L"hidden caption"));
    EXPECT_EQ(0, shown.window().refreshes);
    item->setShowText(true);
    item->setText(MTBxString(L"shown caption"));
    EXPECT_EQ(1, shown.window().refreshes);

    const unsigned char bytes[] = { 1, 2, 3 };
    item->setIconData(bytes, 3);
    EXPECT_EQ(1, shown.window().refreshes);
    item->setIcon(MTBxString(L":/MiniToolbars/Grip.svg"));
    EXPECT_EQ(2, shown.window().refreshes);
    EXPECT_EQ(nullptr, item->iconData());
    item->setIconFromHandle(nullptr);
    EXPECT_EQ(3, shown.window().refreshes);
    item->setIcon(MTBxString());
    EXPECT_EQ(4, shown.window().refreshes);

    // A child's new text is re-measured by a parent that shows its current child's caption.
    MTBxItem* parent = shown.add(new MTBxItem(MTBxItem::DropDownButton, MTBxString(L"p"), true, &contextA));
    MTBxItem child(MTBxItem::Button, MTBxString(L"c"), &contextA);
    child.setParent(parent);
    child.setText(MTBxString(L"one"));
    EXPECT_EQ(4, shown.window().refreshes);
    parent->setShowText(true);
    parent->setSynchronizedWithCurrentItem(true);
    child.setText(MTBxString(L"two"));
    EXPECT_EQ(5, shown.window().refreshes);
    EXPECT_TRUE(child.text() == L"two");
    parent->setText(MTBxString(L"parent"));
    EXPECT_EQ(6, shown.window().refreshes);
}
