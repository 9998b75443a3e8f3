// The toolbar's items, list-type items and the drop-down button, driven
// through their API on a stand-in toolbar window, with a recording host sink.

#include "Core/ItemView.h"
#include "MiniToolbars/MiniToolbar.h"
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "support/ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int hostContext = 0;

MTBxItem* button(const wchar_t* id, int tag = 0) { auto* item = new MTBxButton(MTBxString(id), &hostContext); return item->setTag(tag), item; }

// The ids of the items in display order, as one string.
std::wstring ids(const MiniToolbar& toolbar)
{
    std::wstring result;
    for (int i = 0; toolbar.hasItem(i); ++i)
        result += static_cast<const wchar_t*>(toolbar.item(i)->id());
    return result;
}

} // namespace

TEST(MiniToolbar, insertsRemovesAndMovesItemsInDisplayOrder)
{
    // Valid indexes insert, others append; null, strangers and bad indexes are refused; an item of another toolbar moves over.
    MiniToolbar toolbar(MTBxString(L"t"));
    float edge = 1.0f;
    EXPECT_FALSE(toolbar.getBounds(edge, edge, edge, edge) || toolbar.getNoFadeBounds(edge, edge, edge, edge));
    MTBxItem* a = toolbar.addItem(button(L"a"), 0);
    const std::pair<const wchar_t*, int> inserts[] = { { L"b", 0 }, { L"c", 5 }, { L"d", -1 }, { L"e", 4 }, { L"f", 1 } };
    for (const auto& insert : inserts)
        toolbar.addItem(button(insert.first, insert.first[0] <= L'c' ? 7 : 0), insert.second);
    EXPECT_EQ(L"bfacde", ids(toolbar));
    EXPECT_EQ(&toolbar, a->owner());
    EXPECT_EQ(L"b", std::wstring(toolbar.itemWithTag(7)->id()));
    EXPECT_FALSE(toolbar.itemWithTag(3) || toolbar.hasItem(6) || toolbar.item(-1));

    EXPECT_TRUE(toolbar.addItem(nullptr) == nullptr && toolbar.addItem(a, 0) == a);
    MTBxButton stranger(MTBxString(L"x"), nullptr);
    toolbar.removeItem(6), toolbar.removeItem(-1), toolbar.removeItem(&stranger);
    EXPECT_EQ(L"bfacde", ids(toolbar));
    toolbar.removeItem(0), toolbar.removeItem(toolbar.item(3));
    EXPECT_EQ(L"face", ids(toolbar));

    MiniToolbar other(MTBxString(L"o"));
    EXPECT_TRUE(other.addItem(a) == a && a->owner() == &other);
    EXPECT_EQ(L"fce", ids(toolbar));
    toolbar.clear();
    EXPECT_TRUE(toolbar.isEmpty() && !other.isEmpty());
}

TEST(MiniToolbar, shownToolbarDrivesItsViewAndTakesItAlong)
{
    // With a view: visibility follows it, changes ask for a relayout, the fade lock is re-evaluated; destruction deletes view and window.
    int windowsDestroyed = 0;
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"t"), &hostContext);
    auto* view = new StandInView(toolbar.get(), &windowsDestroyed);
    Testing::StandInWindow& window = *view->standInWindow();
    EXPECT_TRUE(toolbar->isVisible());
    view->setShown(false);
    EXPECT_FALSE(toolbar->isVisible());
    view->setLayoutDirty(false), view->attach(toolbar->addItem(button(L"a")));
    EXPECT_EQ(1, window.relayoutRequests);
    view->setLayoutDirty(false), toolbar->removeItem(0);
    EXPECT_EQ(2, window.relayoutRequests);
    toolbar->setDisplayOnlyNoFadeItems(true);
    EXPECT_EQ(1, window.fadeLockUpdates);
    float edge = 9.0f;
    EXPECT_TRUE(toolbar->getBounds(edge, edge, edge, edge) && toolbar->getNoFadeBounds(edge, edge, edge, edge));
    view->attach(toolbar->addItem(button(L"b"))), toolbar.reset();
    EXPECT_EQ(1, windowsDestroyed);
}

namespace {

// Host items that count how many of them are alive; each is its own host context.
int s_live = 0;

struct Child : MTBxCommandItem
{
    Child(const wchar_t* text, MTBxItem* parent) : MTBxCommandItem(MTBxString(text), this)
    {
        ++s_live, setText(MTBxString(text)), setParent(parent);
        setToolTip(MTBxString((std::wstring(text) + L" tip").c_str()));
    }
    ~Child() override { --s_live; }
};

struct Button : MTBxDropDownButton
{
    explicit Button(MTBxItem* parent = nullptr) : MTBxDropDownButton(MTBxString(L"dd"), this) { ++s_live, setParent(parent); }
    ~Button() override { --s_live; }
};

std::wstring str(const MTBxString& s) { return static_cast<const wchar_t*>(s); }

class ListTypeTest : public ::testing::Test
{
protected:
    void SetUp() override { s_live = 0, rebuild(); }
    // A toolbar (made anew if gone) with a fresh view and one new button.
    void rebuild()
    {
        if (!toolbar)
            toolbar = std::make_unique<MiniToolbar>(MTBxString(L"bar"), this);
        if (!toolbar->view())
            view = new StandInView(toolbar.get());
        toolbar->addItem(button = new Button);
    }
    void TearDown() override
    {
        toolbar.reset(), MiniToolbar::CleanupOldViews(); // the toolbar takes its view along
        EXPECT_EQ(s_live, 0);
    }
    Child* add(const wchar_t* text, MTBxListType* list = nullptr)
    {
        auto* child = new Child(text, list ? list : button);
        return (list ? list : button)->addItem(child), child;
    }
    ItemView* show() { return view->attach(button); }
    StandInWindow* window() const { return view->standInWindow(); }
    int events(void* context, MTBxItemEvents::EventType type) const { return sink.count(type, context); }
    // Clicks the button's main part or its arrow.
    void click(ItemView* itemView, bool onArrow) { itemView->setPressedSubArea(onArrow), button->itemClicked(itemView); }
    void openMenu() { window()->offerMenus = true, click(show(), true); }

    RecordingItemSink sink;
    std::unique_ptr<MiniToolbar> toolbar;
    StandInView* view = nullptr;
    Button* button = nullptr;
};

// A synchronized list answers for its current child, which addItem, setCurrentItem and removal move, keeping exactly one child active.
TEST_F(ListTypeTest, CurrentChildAndSynchronizedIdentity)
{
    // A new list is not synchronized: it stands for itself.
    EXPECT_TRUE(button->currentItem() == button && !button->isSynchronizedWithCurrentItem());
    button->setSynchronizedWithCurrentItem(true);
    Child *a = add(L"A"), *b = add(L"B");
    EXPECT_EQ(str(button->text()), L"A");
    button->setCurrentItem(b);
    EXPECT_EQ(str(button->text()) + str(button->idSelected()) + str(button->toolTip()), L"BBB tip");
    EXPECT_TRUE(!a->isActive() && b->isActive());
    a->setActive(true);
    EXPECT_FALSE(b->isActive());

    // Inserting before a stranger appends; adding a child again keeps one copy.
    auto *n = new Child(L"N", button), *d = new Child(L"D", button);
    button->addItem(n, b), button->addItem(d, button), button->addItem(n), button->addItem(a);
    EXPECT_TRUE(button->itemCount() == 4 && button->item(1) == n && button->item(3) == d);

    // Removing the current child makes the first visible, enabled one current, or the first child when none is.
    a->setVisible(false), button->removeItem(button->indexOf(b));
    EXPECT_EQ(button->currentItem(), n);
    n->setEnabled(false), d->setEnabled(false), button->removeItem(button->indexOf(n));
    EXPECT_EQ(button->currentItem(), a);
    // Indexes beside the children remove nothing, from a plain list as from a drop-down.
    MTBxListType plain(MTBxItem::DropDownButton, MTBxString(L"plain"), nullptr);
    plain.addItem(new Child(L"P", &plain));
    for (MTBxListType* list : { static_cast<MTBxListType*>(button), &plain })
        list->removeItem(-1), list->removeItem(list->itemCount());
    EXPECT_EQ(std::make_pair(button->itemCount(), plain.itemCount()), std::make_pair(2, 1));
    plain.removeItem(0);

    button->setSynchronizedWithCurrentItem(false);
    EXPECT_TRUE(button->currentItem() == button && button->text().empty());
    // Unsynchronized, an active child leaves the list's own active look alone.
    button->setActive(true), d->setActive(true);
    EXPECT_TRUE(button->isActive() && d->isActive());
}

// The main part of a split button clicks the current child (or the button); the arrow and the plain form announce the menu to the button and fill it with the visible children. Without a toolkit menu nothing opens.
TEST_F(ListTypeTest, ClickForms)
{
    const struct { bool splitter, synchronized, onArrow, menus, childClicked, buttonClicked, aboutToShow; } cases[] = {
        { true, true, false, true, true, false, false }, { true, false, false, true, false, true, false }, { true, true, true, true, false, false, true },
        { false, true, false, true, false, false, true }, { false, false, false, false, false, false, true },
    };
    Child* a = add(L"A");
    add(L"-")->setVisible(false);
    auto* separator = new MTBxSeparator;
    button->addItem(separator);
    Child* b = add(L"B");
    ItemView* itemView = show();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.splitter << c.synchronized << c.onArrow << c.menus);
        sink.events.clear(), button->setHasSplitter(c.splitter), button->setSynchronizedWithCurrentItem(c.synchronized), button->setCurrentItem(b);
        window()->offerMenus = c.menus, click(itemView, c.onArrow);
        EXPECT_EQ((std::vector<int>{ c.childClicked, c.buttonClicked, c.aboutToShow, 1 }),
                  (std::vector<int>{ events(b, MTBxItemEvents::Clicked), events(button, MTBxItemEvents::Clicked),
                                     events(button, MTBxItemEvents::DropDownAboutToShow), int(sink.events.size()) }));
        StandInMenu* menu = window()->menu;
        ASSERT_EQ(menu != nullptr, c.aboutToShow && c.menus);
        if (menu)
            EXPECT_TRUE(menu->shown && menu->entries == (std::vector<MTBxItem*>{ a, separator, b }));
    }
    // The separator is the host's as much as the children are.
    button->removeItem(button->indexOf(separator));
}

// Removing a hovered menu entry calls the host (HoverLeave) before anything else: a callback that removes another child must not shift the removal onto a third one.
TEST_F(ListTypeTest, RemovalSurvivesCallbackThatShiftsIndexes)
{
    Child *a = add(L"A"), *b = add(L"B"), *c = add(L"C");
    openMenu();
    window()->menu->hover(b);
    sink.onEvent = [&](void* context, MTBxItemEvents::EventType type) { if (context == b && type == MTBxItemEvents::HoverLeave) button->removeItem(button->indexOf(a)); };
    button->removeItem(1);
    EXPECT_TRUE(button->itemCount() == 1 && button->item(0) == c);
    EXPECT_EQ(window()->menu->entries, std::vector<MTBxItem*>{ c });
    MiniToolbar::CleanupOldViews();
    EXPECT_EQ(s_live, 2);
}

// Whenever the library deletes a list item it deletes the children still in it, nested lists included; a host that deletes its own list keeps them.
TEST_F(ListTypeTest, LibraryDeletionsTakeChildrenAlong)
{
    Child* a = nullptr;
    Button* nested = nullptr;
    // Done from A's Clicked callback, the deletion waits for the delivery to end.
    const auto inCallback = [&](std::function<void()> deletion) {
        return [&, deletion] {
            sink.onEvent = [&](void*, MTBxItemEvents::EventType) { deletion(); };
            a->Notify(MTBxItemEvents::Clicked, nullptr, nullptr), sink.onEvent = nullptr;
            EXPECT_EQ(s_live, 4);
            MiniToolbar::CleanupOldViews();
        };
    };
    const std::pair<const char*, std::function<void()>> deletions[] = {
        { "clear", [&] { toolbar->clear(); } }, { "destroy", [&] { toolbar.reset(); } },
        { "destroy in a callback", inCallback([&] { toolbar.reset(); }) }, { "clear in a callback", inCallback([&] { toolbar->clear(); }) },
        { "remove from the toolbar", [&] { toolbar->removeItem(button); } }, { "remove from the list", [&] { button->removeItem(button->indexOf(nested)); } },
    };
    for (const auto& deletion : deletions) {
        SCOPED_TRACE(deletion.first);
        button->addItem(nested = new Button(button)), a = add(L"A"), add(L"B", nested), openMenu();
        EXPECT_EQ(s_live, 4);
        deletion.second();
        EXPECT_EQ(s_live, &deletion == &deletions[5] ? 2 : 0); // removed from the list, the nested one goes with its child; the outer list and A stay
        if (toolbar)
            toolbar->clear();
        rebuild();
    }

    // The host's own list: its children outlive it and are the host's to delete.
    auto* own = new Button;
    Child* kept = add(L"K", own);
    delete own;
    EXPECT_EQ(s_live, 2);
    delete kept;
}

} // namespace

TEST(ItemDefaultsTest, everyKindStartsWithItsDocumentedDefaults)
{
    // Every kind starts with its documented defaults: checkable, checked, enabled, visible, option box, active, text shown,
    // drop-down, synchronized, auto-hide, splitter, value error, value locked, hovered, remove button; width, tag; nothing attached.
    int context = 0;
    const char *const plain = "001100000100000 0 0", *const withArrow = "001100010100000 0 0";
    const std::pair<std::unique_ptr<MTBxItem>, const char*> kinds[] = {
        { std::make_unique<MTBxButton>(MTBxString(L"b"), &context), plain },
        { std::make_unique<MTBxCommandItem>(MTBxString(L"c"), &context), plain },
        { std::make_unique<MTBxLabel>(MTBxString(L"l"), &context), plain },
        { std::make_unique<MTBxSeparator>(), plain },
        { std::make_unique<MTBxNewLine>(), plain },
        { std::make_unique<MTBxDropDownButton>(MTBxString(L"d"), &context), withArrow },
        { std::make_unique<MTBxCombobox>(MTBxString(L"x"), &context), withArrow },
        { std::make_unique<MTBxDropDownEntry>(MTBxString(L"e"), MTBxString(L"v"), &context), plain },
    };
    for (const auto& [item, expected] : kinds) {
        std::string flags;
        for (bool flag : { item->isCheckable(), item->isChecked(), item->isEnabled(), item->isVisible(), item->hasOptionBox(), item->isActive(),
                           item->showText(), item->hasDropDown(), item->isSynchronizedWithCurrentItem(), item->autoHide(), item->hasSplitter(),
                           item->valueErrorFlag(), item->lockValue(), item->isHover(), item->hasRemoveButton() })
            flags += flag ? '1' : '0';
        flags += ' ' + std::to_string(item->width()) + ' ' + std::to_string(item->tag());
        EXPECT_EQ(flags, expected) << item->itemType();
        EXPECT_TRUE(!item->parent() && !item->data() && !item->iconHandle());
    }
}
