#include "MTBxButton.h"
#include "MiniToolbar.h"
#include "ToolbarStandIns.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace MiniToolbars;
using MiniToolbars::Testing::StandInView;

namespace {

int hostContext = 0;

MTBxItem* button(const wchar_t* id, int tag = 0)
{
    auto* item = new MTBxButton(MTBxString(id), &hostContext);
    return item->setTag(tag), item;
}

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
    EXPECT_FALSE(toolbar.getBounds(edge, edge, edge, edge));
    EXPECT_FALSE(toolbar.getNoFadeBounds(edge, edge, edge, edge));
    MTBxItem* a = toolbar.addItem(button(L"a"), 0);
    toolbar.addItem(button(L"b", 7), 0);
    toolbar.addItem(button(L"c", 7), 5);
    toolbar.addItem(button(L"d"), -1);
    toolbar.addItem(button(L"e"), 4);
    toolbar.addItem(button(L"f"), 1);
    EXPECT_EQ(L"bfacde", ids(toolbar));
    EXPECT_EQ(&toolbar, a->owner());
    EXPECT_EQ(L"b", std::wstring(toolbar.itemWithTag(7)->id()));
    EXPECT_FALSE(toolbar.itemWithTag(3) || toolbar.hasItem(6) || toolbar.item(-1));

    EXPECT_EQ(nullptr, toolbar.addItem(nullptr));
    EXPECT_EQ(a, toolbar.addItem(a, 0));
    MTBxButton stranger(MTBxString(L"x"), nullptr);
    for (int index : { 6, -1 })
        toolbar.removeItem(index);
    toolbar.removeItem(&stranger);
    EXPECT_EQ(L"bfacde", ids(toolbar));
    toolbar.removeItem(0);
    toolbar.removeItem(toolbar.item(3));
    EXPECT_EQ(L"face", ids(toolbar));

    MiniToolbar other(MTBxString(L"o"));
    EXPECT_EQ(a, other.addItem(a));
    EXPECT_EQ(&other, a->owner());
    EXPECT_EQ(L"fce", ids(toolbar));
    toolbar.clear();
    EXPECT_TRUE(toolbar.isEmpty());
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
    view->setLayoutDirty(false);
    view->attach(toolbar->addItem(button(L"a")));
    EXPECT_EQ(1, window.relayoutRequests);
    view->setLayoutDirty(false);
    toolbar->removeItem(0);
    EXPECT_EQ(2, window.relayoutRequests);
    toolbar->setDisplayOnlyNoFadeItems(true);
    EXPECT_EQ(1, window.fadeLockUpdates);
    float edge = 9.0f;
    EXPECT_TRUE(toolbar->getBounds(edge, edge, edge, edge));
    EXPECT_TRUE(toolbar->getNoFadeBounds(edge, edge, edge, edge));
    view->attach(toolbar->addItem(button(L"b")));
    toolbar.reset();
    EXPECT_EQ(1, windowsDestroyed);
}
