// Host callbacks that free what a popup, a field or Qt itself is still working on: the entry under its own key
// handler, the combo box under its list's keys, a window a press is on its way to, an item moved to another
// toolbar inside its own callback. Each case crashed under AddressSanitizer before its fix.
#include "Core/NotificationGuard.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbWindowPopup.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QPointer>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

using E = MTBxItemEvents;
int contexts[16];

// Toolbar A holds a button (contexts[0]), a drop-down button (contexts[1], children contexts[4..6]), a combo box
// (contexts[2], children contexts[7..9]) and an entry (contexts[3]); toolbar B holds a button and an entry (contexts[10..11]).
class HostileCallbackTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        a = add(std::make_unique<MiniToolbar>(MTBxString(L"a"), &hostContext));
        a->addItem(makeButton(L"Bold", true, &contexts[0]));
        a->addItem(dropDown = new MTBxDropDownButton(L"dd", &contexts[1]));
        a->addItem(combo = new MTBxCombobox(L"combo", &contexts[2]));
        a->addItem(entry = new MTBxDropDownEntry(L"find", L"ab", &contexts[3]));
        for (MTBxListType* list : { static_cast<MTBxListType*>(dropDown), static_cast<MTBxListType*>(combo) }) {
            list->setSynchronizedWithCurrentItem(true), list->setShowText(true);
            for (int i = 0; i < 3; ++i) {
                auto* child = new MTBxCommandItem(L"child", &contexts[list == dropDown ? 4 + i : 7 + i]);
                child->setParent(list), child->setText(std::wstring(1, wchar_t(L'A' + i)).c_str()), list->addItem(child);
            }
        }
        entry->setWidth(80);
        b = add(std::make_unique<MiniToolbar>(MTBxString(L"b"), &hostContext));
        b->addItem(makeButton(L"Other", true, &contexts[10]));
        b->addItem(entryB = new MTBxDropDownEntry(L"replace", L"cd", &contexts[11]));
        entryB->setWidth(80);
        ASSERT_TRUE(controller->showToolbar(a, 200, 200, &observer));
        ASSERT_TRUE(controller->showToolbar(b, 200, 400, &observer));
        ASSERT_TRUE(eventually([&] { return field(a) && field(b); }));
    }
    static LineEditControl* field(MiniToolbar* toolbar)
    {
        QmtbView* window = windowOf(toolbar);
        LineEditControl* edit = window ? window->findChild<LineEditControl*>() : nullptr;
        return edit && edit->isVisible() ? edit : nullptr;
    }
    static void click(MiniToolbar* toolbar, int index) { clickItem(toolbar, index); }
    // Runs action once, inside the first callback of type for context (any context when null).
    void onceOn(E::EventType type, void* context, std::function<void()> action)
    {
        itemSink.onEvent = [=](void* c, E::EventType t) mutable {
            if (t == type && (!context || c == context) && action)
                std::exchange(action, nullptr)();
        };
    }
    int count(void* context, E::EventType type) const { return itemSink.count(type, context); }

    MiniToolbar *a = nullptr, *b = nullptr;
    MTBxDropDownButton* dropDown = nullptr;
    MTBxCombobox* combo = nullptr;
    MTBxDropDownEntry *entry = nullptr, *entryB = nullptr;
};

TEST_F(HostileCallbackTest, FieldInputAfterItsEntryWasRemovedInACallback)
{
    // A field whose entry a callback removed (or whose toolbar it closed) takes keys, moves and a posted focus hand-over without reaching the entry, which goes once the handler is over.
    enum Removal { RemoveItem, CloseToolbar };
    enum Input { Key, Move, FocusHandOver };
    for (Removal removal : { RemoveItem, CloseToolbar }) {
        for (Input input : { Key, Move, FocusHandOver }) {
            SCOPED_TRACE(testing::Message() << "removal " << removal << ", input " << input);
            TearDown(), SetUp();
            QPointer<LineEditControl> edit = field(a);
            if (input == FocusHandOver)
                entry->setFocus(true);
            onceOn(E::Clicked, &contexts[10], [&] { removal == RemoveItem ? a->removeItem(entry) : controller->closeToolbar(a); });
            click(b, 0);
            itemSink.events.clear();
            if (input == Key)
                QTest::keyClick(edit, Qt::Key_X);
            else if (input == Move)
                QTest::mouseMove(edit, QPoint(3, 3));
            else
                QApplication::processEvents();
            EXPECT_EQ(0, count(&contexts[3], E::KeyPressed) + count(&contexts[3], E::TextEdited));
            click(b, 0);
            QApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_EQ(0, NotificationGuard::deferredItemCount());
            EXPECT_TRUE(!edit);
        }
    }
}

TEST_F(HostileCallbackTest, ListKeysAfterAHoverCallbackRemovedTheComboBox)
{
    // With the list open, a row's HoverEnter removes the combo box; the next Up, Down or Return reaches nothing.
    for (Qt::Key key : { Qt::Key_Up, Qt::Key_Down, Qt::Key_Return }) {
        SCOPED_TRACE(key);
        TearDown(), SetUp();
        click(a, 2);
        QPointer<ComboBoxListView> list = windowOf(a)->findChild<ComboBoxListView*>();
        ASSERT_TRUE(list && list->isVisible());
        onceOn(E::HoverEnter, nullptr, [&] { a->removeItem(combo); });
        QTest::keyClick(list, Qt::Key_Down);
        itemSink.events.clear();
        if (list)
            QTest::keyClick(list, key);
        EXPECT_EQ(0, itemSink.count(E::Clicked));
    }
}

TEST_F(HostileCallbackTest, PressOnAToolbarThatTheFocusCallbackFrees)
{
    // Field A holds the keyboard; a press on toolbar B makes the field give it up, and the host's FocusChanged(0) closes or destroys B, the press's receiver.
    for (bool destroy : { false, true }) {
        SCOPED_TRACE(destroy);
        TearDown(), SetUp();
        entry->setFocus(true);
        ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
        onceOn(E::FocusChanged, &contexts[3], [&] {
            controller->closeToolbar(b);
            if (destroy)
                toolbars.pop_back();
        });
        const QPointer<QWidget> receiver(windowOf(b));
        QTest::mousePress(receiver, Qt::LeftButton, {}, QPoint(5, 5));
        if (receiver)
            QTest::mouseRelease(receiver, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_FALSE(entry->hasFocus());
        // B's items and window go once control is back in the event loop.
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(!receiver && NotificationGuard::deferredItemCount() == 0);
    }
}

// A host's own application filter that calls the library on a press.
struct PressHook : QObject
{
    explicit PressHook(std::function<void()> hook) : hook(std::move(hook)) { qApp->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress && hook)
            std::exchange(hook, nullptr)();
        return false;
    }
    std::function<void()> hook;
};

TEST_F(HostileCallbackTest, PressOnTheMenuOfARemovedButton)
{
    // The button is removed while its menu is open; a press on the menu reaches a host filter whose call into the library finishes the button's deletion: the menu waits until Qt is done with the press.
    click(a, 1);
    const QPointer<DropDownMenu> menu = dynamic_cast<DropDownMenu*>(windowOf(a)->popups().popup());
    ASSERT_TRUE(menu);
    onceOn(E::Clicked, &contexts[10], [&] { a->removeItem(dropDown); });
    b->item(0)->itemClicked(b->item(0)->itemView());
    ASSERT_EQ(1, NotificationGuard::deferredItemCount());
    PressHook hook([&] { b->item(0)->setChecked(true, true); });
    QTest::mousePress(menu, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(0, NotificationGuard::deferredItemCount());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(!menu);
}

TEST_F(HostileCallbackTest, ActivationFocusCallbacksWhileAWindowIsShownOrFinished)
{
    // A callback activates the host's window and shows a new toolbar: Qt processes the activation while it creates the toolbar's window, and the field that loses the keyboard makes the host close or destroy that very toolbar.
    QWidget host;
    host.show();
    for (bool destroy : { false, true }) {
        SCOPED_TRACE(destroy);
        TearDown(), SetUp();
        auto shownLate = makeToolbar(1);
        entry->setFocus(true);
        ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
        itemSink.onEvent = [&](void* c, E::EventType t) {
            if (c == &contexts[0] && t == E::Clicked)
                host.activateWindow(), controller->showToolbar(shownLate.get(), 500, 100, &observer);
            else if (c == &contexts[3] && t == E::FocusChanged && shownLate)
                controller->closeToolbar(shownLate.get()), destroy ? shownLate.reset() : void();
        };
        click(a, 0);
        itemSink.onEvent = nullptr;
        QApplication::processEvents();
        if (shownLate)
            controller->closeToolbar(shownLate.get());
    }

    // A toolbar destroyed in its own callback while its field is active, then a field of another toolbar activated.
    entry->setFocus(true);
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    onceOn(E::Clicked, &contexts[0], [&] {
        controller->closeToolbar(a);
        toolbars.erase(toolbars.begin());
        entryB->setFocus(true);
    });
    click(a, 0);
    EXPECT_TRUE(eventually([&] { return entryB->hasFocus(); }));
    EXPECT_EQ(0, NotificationGuard::deferredToolbarCount());
}

TEST_F(HostileCallbackTest, ItemMovedToAnotherToolbarInItsCallbackWaitsForTheDelivery)
{
    // An item whose callback (raised through A's window) moves it to B and removes it there, closes B or destroys B stays alive until the delivery that raised it is over.
    enum Then { RemoveFromB, CloseB, DestroyB };
    for (Then then : { RemoveFromB, CloseB, DestroyB }) {
        for (E::EventType type : { E::HoverEnter, E::DropDownAboutToShow }) {
            SCOPED_TRACE(testing::Message() << then << " in " << type);
            TearDown(), SetUp();
            MTBxItem* item = type == E::HoverEnter ? a->item(0) : dropDown;
            onceOn(type, item->hostContext(), [&, item] {
                b->addItem(item);
                then == RemoveFromB ? b->removeItem(item) : then == CloseB ? controller->closeToolbar(b) : (controller->closeToolbar(b), toolbars.pop_back());
            });
            const QPoint p = centreOf(a, type == E::HoverEnter ? 0 : 1);
            windowOf(a)->pointer().moveTo(p);
            if (type == E::DropDownAboutToShow)
                windowOf(a)->pointer().pressAt(p), windowOf(a)->pointer().releaseAt(p, Qt::LeftButton);
            EXPECT_EQ(nullptr, windowOf(a)->popups().popup());
            click(a, 0);
        }
    }
}

TEST_F(HostileCallbackTest, MenuNeverHoversAnEntryRemovedByTheLastOnesHoverLeave)
{
    // Entry A hovered, Down pressed, and A's HoverLeave removes B, the entry about to be hovered: nothing hovers B, and Escape closes the menu without reaching it.
    click(a, 1);
    auto* menu = dynamic_cast<DropDownMenu*>(windowOf(a)->popups().popup());
    ASSERT_TRUE(menu);
    QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(menu->actions().at(2)).center());
    QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(menu->actions().at(0)).center());
    ASSERT_EQ(menu->hoveredEntry(), dropDown->item(0));
    MTBxItem* const doomed = dropDown->item(1);
    onceOn(E::HoverLeave, &contexts[4], [&] { dropDown->removeItem(1); });
    QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_NE(menu->hoveredEntry(), doomed);
    EXPECT_EQ(0, count(&contexts[5], E::HoverEnter));
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_EQ(0, count(&contexts[5], E::HoverLeave));
}

TEST_F(HostileCallbackTest, ComboRowsFollowTheirChildrenOut)
{
    // Rows left over when a child hides (A, C, C) all go with C: no row is left pointing at a removed child.
    click(a, 2);
    auto* list = windowOf(a)->findChild<ComboBoxListView*>();
    ASSERT_TRUE(list && list->isVisible());
    combo->item(1)->setVisible(false), combo->updateDropList();
    MTBxItem* const removed = combo->item(2);
    combo->removeItem(2);
    for (int row = 0; row < list->count(); ++row)
        EXPECT_NE(ComboBoxListView::childOf(list->item(row)), removed) << "row " << row;
    itemSink.events.clear();
    for (int row = 0; row < list->count(); ++row)
        QTest::mouseMove(windowOf(a)->windowHandle(), list->viewport()->mapTo(windowOf(a), list->visualItemRect(list->item(row)).center()));
    EXPECT_EQ(0, count(&contexts[9], E::HoverEnter));
}

TEST_F(HostileCallbackTest, RemovedHoveredChildHearsNothingMore)
{
    // removeItem on a list whose hovered row or menu entry is that child sends it no HoverLeave: the host let it go.
    for (bool isCombo : { true, false }) {
        SCOPED_TRACE(isCombo);
        TearDown(), SetUp();
        click(a, isCombo ? 2 : 1);
        MTBxListType* list = isCombo ? static_cast<MTBxListType*>(combo) : dropDown;
        if (isCombo) {
            auto* rows = windowOf(a)->findChild<ComboBoxListView*>();
            QTest::mouseMove(windowOf(a)->windowHandle(), QPoint(1, 1));
            for (int row : { 2, 1 })
                QTest::mouseMove(windowOf(a)->windowHandle(), rows->viewport()->mapTo(windowOf(a), rows->visualItemRect(rows->item(row)).center()));
        } else {
            auto* menu = dynamic_cast<DropDownMenu*>(windowOf(a)->popups().popup());
            QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(menu->actions().at(2)).center());
            QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(menu->actions().at(1)).center());
        }
        void* const context = list->item(1)->hostContext();
        ASSERT_EQ(1, count(context, E::HoverEnter));
        list->removeItem(1);
        EXPECT_EQ(0, count(context, E::HoverLeave));
    }
}

TEST_F(HostileCallbackTest, PlainListOfComboKindIsNoComboBox)
{
    // A plain list item of kind Combobox, as the header allows, takes hover and wheel like any item.
    auto* plain = new MTBxListType(MTBxItem::Combobox, L"plain", &contexts[12]);
    plain->setSynchronizedWithCurrentItem(true), plain->setText(L"Plain"), plain->setShowText(true);
    auto* child = new MTBxCommandItem(L"child", &contexts[13]);
    child->setParent(plain), plain->addItem(child);
    a->addItem(plain, 0);
    controller->updateLayout(a, true);
    const QPoint p = centreOf(a, 0);
    windowOf(a)->pointer().moveTo(p);
    windowOf(a)->pointer().wheelAt(p, -45);
    EXPECT_EQ(plain->currentItem(), child);
}

} // namespace
