#include "MTBxButton.h"
#include "MTBxItem.h"
#include "MiniToolbar.h"
#include "ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace MiniToolbars;
using MiniToolbars::Testing::StandInView;

namespace {

int hostContext = 0;

MTBxItem* button(const wchar_t* id, int tag = 0)
{
    auto* item = new MTBxButton(MTBxString(id), &hostContext);
    item->setTag(tag);
    return item;
}

bool hasId(const MTBxItem* item, const wchar_t* id)
{
    return item && item->id() == id;
}

} // namespace

TEST(MiniToolbar, newToolbarHasDefaults)
{
    // A new toolbar is empty, follows the global fade, shows everything and has no view.
    MiniToolbar toolbar(MTBxString(L"main"), &hostContext);
    EXPECT_TRUE(toolbar.name() == L"main");
    EXPECT_TRUE(toolbar.isEmpty());
    EXPECT_EQ(0, toolbar.itemCount());
    EXPECT_EQ(-1, toolbar.getLocalAutoFade());
    EXPECT_FALSE(toolbar.getDisplayOnlyNoFadeItems());
    EXPECT_EQ(nullptr, toolbar.getUserData());
    EXPECT_EQ(nullptr, toolbar.view());
    EXPECT_EQ(&hostContext, toolbar.hostContext());
    EXPECT_FALSE(toolbar.isVisible());

    // Bounds queries answer false without a view and leave the outputs untouched; so does an item's.
    float top = 1.0f, left = 2.0f, bottom = 3.0f, right = 4.0f;
    EXPECT_FALSE(toolbar.getBounds(top, left, bottom, right));
    EXPECT_FALSE(toolbar.getNoFadeBounds(top, left, bottom, right));
    EXPECT_FALSE(MTBxButton(MTBxString(L"b"), nullptr).getBounds(top, left, bottom, right));
    EXPECT_EQ((std::vector<float>{ 1.0f, 2.0f, 3.0f, 4.0f }), (std::vector<float>{ top, left, bottom, right }));
}

TEST(MiniToolbar, insertsBeforeIndexOrAppends)
{
    // Valid indexes insert; negative and too large ones append; the toolbar becomes the owner.
    MiniToolbar toolbar(MTBxString(L"t"));
    MTBxItem* a = toolbar.addItem(button(L"a"), 0);
    toolbar.addItem(button(L"b"), 0);
    toolbar.addItem(button(L"c"), 5);
    toolbar.addItem(button(L"d"), -1);
    toolbar.addItem(button(L"e"), 4);
    toolbar.addItem(button(L"f"), 1);
    ASSERT_EQ(6, toolbar.itemCount());
    const wchar_t* expected[] = { L"b", L"f", L"a", L"c", L"d", L"e" };
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(hasId(toolbar.item(i), expected[i])) << i;
    EXPECT_EQ(&toolbar, a->owner());
    EXPECT_FALSE(toolbar.isEmpty());
}

TEST(MiniToolbar, refusesBadIndexesNullAndDoubleInsertion)
{
    // item() and hasItem() reject -1 and count; removeItem ignores them and strangers.
    MiniToolbar toolbar(MTBxString(L"t"));
    toolbar.addItem(button(L"a"));
    toolbar.addItem(button(L"b"));
    EXPECT_TRUE(toolbar.hasItem(1));
    EXPECT_FALSE(toolbar.hasItem(2));
    EXPECT_FALSE(toolbar.hasItem(-1));
    EXPECT_EQ(nullptr, toolbar.item(2));
    EXPECT_EQ(nullptr, toolbar.item(-1));
    toolbar.removeItem(2);
    toolbar.removeItem(-1);
    toolbar.removeItem(static_cast<MTBxItem*>(nullptr));
    MTBxButton stranger(MTBxString(L"x"), nullptr);
    toolbar.removeItem(&stranger);
    EXPECT_EQ(2, toolbar.itemCount());

    // Null is refused, an item added twice stays once, an item of another toolbar moves over.
    MiniToolbar other(MTBxString(L"o"));
    EXPECT_EQ(nullptr, toolbar.addItem(nullptr));
    MTBxItem* a = toolbar.item(0);
    EXPECT_EQ(a, toolbar.addItem(a, 1));
    EXPECT_EQ(2, toolbar.itemCount());
    EXPECT_EQ(a, toolbar.item(0));

    EXPECT_EQ(a, other.addItem(a));
    EXPECT_EQ(&other, a->owner());
    EXPECT_EQ(1, toolbar.itemCount());
    EXPECT_EQ(1, other.itemCount());
    EXPECT_TRUE(hasId(toolbar.item(0), L"b"));
}

TEST(MiniToolbar, findsTheFirstItemWithATag)
{
    // itemWithTag returns the first match in display order and null when none matches.
    MiniToolbar toolbar(MTBxString(L"t"));
    toolbar.addItem(button(L"a", 1));
    toolbar.addItem(button(L"b", 7));
    toolbar.addItem(button(L"c", 7));
    EXPECT_TRUE(hasId(toolbar.itemWithTag(7), L"b"));
    EXPECT_TRUE(hasId(toolbar.itemWithTag(1), L"a"));
    EXPECT_EQ(nullptr, toolbar.itemWithTag(3));
}

TEST(MiniToolbar, removesByIndexAndByPointer)
{
    // Both removal forms take the item out and keep the order of the rest; clear empties the toolbar.
    MiniToolbar toolbar(MTBxString(L"t"));
    toolbar.addItem(button(L"a"));
    MTBxItem* b = toolbar.addItem(button(L"b"));
    toolbar.addItem(button(L"c"));
    toolbar.addItem(button(L"d"));
    toolbar.removeItem(0);
    toolbar.removeItem(b);
    ASSERT_EQ(2, toolbar.itemCount());
    EXPECT_TRUE(hasId(toolbar.item(0), L"c"));
    EXPECT_TRUE(hasId(toolbar.item(1), L"d"));
    toolbar.clear();
    EXPECT_TRUE(toolbar.isEmpty());
    toolbar.addItem(button(L"e"));
    EXPECT_EQ(1, toolbar.itemCount());
}

TEST(MiniToolbar, shownToolbarForwardsToItsView)
{
    // With a view: visibility follows the view, changes ask for relayout, the fade lock is re-evaluated.
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"t"), &hostContext);
    auto* view = new StandInView(toolbar.get());
    Testing::StandInWindow& window = *view->standInWindow();
    EXPECT_TRUE(toolbar->isVisible());
    view->setShown(false);
    EXPECT_FALSE(toolbar->isVisible());

    view->setLayoutDirty(false);
    toolbar->addItem(button(L"a"));
    EXPECT_EQ(1, window.relayoutRequests);
    view->setLayoutDirty(false);
    toolbar->removeItem(0);
    EXPECT_EQ(2, window.relayoutRequests);
    view->setLayoutDirty(false);
    toolbar->addItem(button(L"b"));
    view->setLayoutDirty(false);
    toolbar->clear();
    EXPECT_FALSE(view->layoutDirty());

    toolbar->setDisplayOnlyNoFadeItems(true);
    EXPECT_EQ(1, window.fadeLockUpdates);

    float top = 9.0f, left = 9.0f, bottom = 9.0f, right = 9.0f;
    EXPECT_TRUE(toolbar->getBounds(top, left, bottom, right));
    EXPECT_TRUE(toolbar->getNoFadeBounds(top, left, bottom, right));
}

TEST(MiniToolbar, destroyingAShownToolbarTakesItsViewAlong)
{
    // A toolbar destroyed while it still has a view (never closed, or closed from inside its own
    // callback, which only hides it) must not leave its view and window behind.
    int windowsDestroyed = 0;
    auto toolbar = std::make_unique<MiniToolbar>(MTBxString(L"t"), &hostContext);
    auto* view = new StandInView(toolbar.get(), &windowsDestroyed);
    view->attach(toolbar->addItem(button(L"a")));
    toolbar.reset();
    EXPECT_EQ(1, windowsDestroyed);
}
