// Drop-down menus of a real controller's toolbar, worked through Qt's window-system input, so that Qt's own popup
// handling closes the menu on a press outside it as it would for a user.
#include "MiniToolbars/IconHandles.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "MiniToolbars/TooltipOptions.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbNativeInput.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowPopup.h"
#include "support/CraftedPng.h"
#include "support/WindowTestSupport.h"

#include <QPushButton>
#include <QScreen>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

using E = MTBxItemEvents;
int contexts[7];
enum { Hidden = 1, Disabled = 2, Checked = 4, Icon = 8, Remove = 16 };

// Over an active host window, a synchronized drop-down button (contexts[0]) and a plain one; child i has contexts[i + 1].
// Gamma's icon comes as encoded bytes; Delta has a 3x3 icon handle too, which its own icon overrides.
class DropDownMenuTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        toolbar = add(makeToolbar(1));
        toolbar->addItem(button = new MTBxDropDownButton(L"dd", &contexts[0]), 0);
        button->setSynchronizedWithCurrentItem(true);
        const std::pair<const wchar_t*, int> children[] = { { L"Alpha", Checked | Icon }, { L"Beta", Hidden }, { L"Gamma", Disabled },
                                                            { nullptr, 0 }, { L"Delta", Icon | Remove }, { L"Eps", Remove } };
        for (const auto& [text, flags] : children) {
            MTBxItem* c = text ? new MTBxCommandItem(text, &contexts[button->itemCount() + 1]) : static_cast<MTBxItem*>(new MTBxSeparator);
            c->setParent(button), c->setText(text ? text : L""), c->setVisible(!(flags & Hidden)), c->setEnabled(!(flags & Disabled));
            c->setCheckable(flags & Checked), c->setChecked(flags & Checked, false), c->setHasRemoveButton(flags & Remove);
            c->setIcon(flags & Icon ? L":/MiniToolbars/Grip.svg" : L""), button->addItem(c);
        }
        const QByteArray png = CraftedPng::encoded(8, 8);
        button->item(4)->setDescription(L"Delta entry"), button->item(4)->setIconFromHandle(createIconHandle(QImage(3, 3, QImage::Format_ARGB32)));
        button->item(2)->setIconData(reinterpret_cast<const unsigned char*>(png.constData()), png.size());
        host.setGeometry(0, 0, 800, 600), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
        window = windowOf(toolbar);
    }
    // Qt posts what a press closing a popup leaves behind before the release comes.
    static void click(QWindow* w, QPoint p)
    {
        QTest::mousePress(w, Qt::LeftButton, {}, p), QApplication::processEvents();
        QTest::mouseRelease(w, Qt::LeftButton, {}, p), QApplication::processEvents();
    }
    void clickItem(int index) { click(window->windowHandle(), window->placement().toLocal(centreOf(toolbar, index))); }
    DropDownMenu* openMenu()
    {
        clickItem(0);
        auto* menu = dynamic_cast<DropDownMenu*>(window->popups().popup());
        return menu && menu->isVisible() && QApplication::activePopupWidget() == menu ? menu : nullptr;
    }
    static QPoint entry(DropDownMenu* menu, int i) { return menu->actionGeometry(menu->actions().at(i)).center(); }
    int count(void* context, E::EventType type) const { return itemSink.count(type, context); }
    // Entries as text, [x] checked, [ ] checkable, (i) icon, ~ disabled; separators as "-".
    static std::string describe(const QMenu* menu)
    {
        QStringList entries;
        for (const QAction* a : menu->actions())
            entries << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isCheckable() ? a->isChecked() ? "[x]" : "[ ]" : "")
                            + (a->icon().isNull() ? "" : "(i)") + (a->isEnabled() ? "" : "~"));
        return entries.join('|').toStdString();
    }

    QWidget host;
    MiniToolbar* toolbar = nullptr;
    MTBxDropDownButton* button = nullptr;
    QmtbView* window = nullptr;
};

TEST_F(DropDownMenuTest, ArrowAnnouncesThenListsVisibleChildrenBelowTheButton)
{
    // DropDownAboutToShow comes before any menu; entries follow the check-mark and icon rules; the menu stays on screen.
    bool popupWhenAnnounced = false;
    itemSink.onEvent = [&](void* c, E::EventType t) { popupWhenAnnounced |= c == &contexts[0] && t == E::DropDownAboutToShow && window->hasPopup(); };
    button->setCurrentItem(button->item(5));
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu && !popupWhenAnnounced);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma(i)~|-|Delta entry(i)|Eps[x]");
    EXPECT_NE(menu->actions().at(3)->icon().availableSizes().value(0), QSize(3, 3));
    const QRect item = windowRect(toolbar, 0);
    const QPoint expected(item.left() + Style::instance()->gapBetween(LeadingMargin, Caption), item.bottom());
    EXPECT_LE((menu->pos() - expected - QmtbCoordinates::desktopGeometry().topLeft()).manhattanLength(), 2);

    QTest::mouseMove(menu->windowHandle(), entry(menu, 0)), QTest::mouseMove(menu->windowHandle(), entry(menu, 3));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    observer.setBounds(screen), controller->moveToolbar(toolbar, 300, screen.bottom() - 5, false), QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_EQ(count(&contexts[5], E::HoverLeave), 1); // closing un-hovers
    EXPECT_TRUE((menu = openMenu()) && screen.contains(menu->geometry()));
}

TEST_F(DropDownMenuTest, ChoosingAndPressingAround)
{
    // A disabled entry refuses; a choice makes its child current and clicks it, leaving no popup or closed item.
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    click(menu->windowHandle(), entry(menu, 1)), click(menu->windowHandle(), entry(menu, 3));
    EXPECT_TRUE(!menu->isVisible() && !window->hasPopup() && !window->pointer().closedItem() && button->currentItem() == button->item(4));
    EXPECT_EQ(count(&contexts[3], E::Clicked) + 2 * count(&contexts[5], E::Clicked), 2);

    // A press on the open menu's button closes it without reopening or dragging, and no tooltip starts meanwhile.
    SetMTBTooltipOption(TooltipsEnabled, true);
    ASSERT_TRUE(openMenu());
    window->pointer().moveTo(centreOf(toolbar, 1));
    EXPECT_FALSE(window->toolTips().isTimerActive());
    const QPoint origin = windowOrigin(toolbar), at = window->placement().toLocal(centreOf(toolbar, 0));
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at), QApplication::processEvents();
    EXPECT_TRUE(!window->hasPopup() && window->pointer().closedItem() == button);
    QTest::mouseMove(window->windowHandle(), at + QPoint(0, 30));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, at), QApplication::processEvents();
    EXPECT_TRUE(windowOrigin(toolbar) == origin && !window->hasPopup() && count(&contexts[0], E::DropDownAboutToShow) == 2);

    // The next click opens it again; a press on another item closes it and clicks that item.
    ASSERT_TRUE(openMenu());
    clickItem(1);
    EXPECT_TRUE(!window->hasPopup() && count(&hostContext, E::Clicked) == 1);
}

TEST_F(DropDownMenuTest, RemoveButtonOnHoveredEntryAndRemovalByChildIndex)
{
    // Only entries that allow it show the remove button; the host removing an entry in RemoveRequested, or by child
    // index with a hidden child before it, drops that child's own entry.
    itemSink.onEvent = [&](void* c, E::EventType t) { if (t == E::RemoveRequested) button->removeItem(c == &contexts[5] ? 4 : 5); };
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    for (int i : { 0, 3, 0, 4 }) {
        QTest::mouseMove(menu->windowHandle(), entry(menu, i));
        EXPECT_EQ(menu->removeButton()->isVisible(), i > 0);
        const QRect row = menu->actionGeometry(menu->actions().at(i)), remove = menu->removeButton()->geometry();
        EXPECT_TRUE(i == 0 || (menu->hoveredEntry() == button->item(i + 1) && row.contains(remove) && remove.topLeft() == row.topRight() + QPoint(-17, 3)));
    }
    click(menu->windowHandle(), menu->removeButton()->geometry().center());
    EXPECT_TRUE(count(&contexts[6], E::RemoveRequested) == 1 && menu->isVisible() && !menu->removeButton()->isVisible());
    button->removeItem(4), button->removeItem(1);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma(i)~|-");
    // Un-hovering on a removal may remove an earlier entry: the entry removed is still the child's own.
    itemSink.onEvent = [&](void* c, E::EventType t) { if (c == &contexts[1] && t == E::HoverLeave) button->removeItem(0); };
    QTest::mouseMove(menu->windowHandle(), entry(menu, 0)), button->removeItem(1);
    EXPECT_EQ(describe(menu), "-");
}

TEST_F(DropDownMenuTest, MenuAndListShowAChildByOneIconAndCheckRule)
{
    // The icon comes from the child's icon name, else its bytes, else its handle, in the menu and in a combo list
    // alike; the active child is checked in the menu unless its icon name gives the image.
    const QByteArray png = CraftedPng::encoded(8, 8);
    enum Source { Name, Bytes, Handle, None };
    const struct { Source source; bool active; const char* entry; } cases[] = {
        { Name, true, "x(i)" }, { Bytes, true, "x[x](i)" }, { Handle, true, "x[x](i)" }, { None, true, "x[x]" }, { Handle, false, "x(i)" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " " << c.active);
        auto* combo = new MTBxCombobox(L"combo", &contexts[0]);
        auto* list = new MTBxDropDownButton(L"list", &contexts[0]);
        for (MTBxListType* parent : { static_cast<MTBxListType*>(list), static_cast<MTBxListType*>(combo) }) {
            auto* child = new MTBxCommandItem(L"x", &contexts[1]);
            parent->setText(L"List"), parent->setShowText(true), child->setParent(parent), child->setText(L"x");
            if (c.source == Name)
                child->setIcon(L":/MiniToolbars/Grip.svg");
            else if (c.source != None)
                c.source == Bytes ? child->setIconData(reinterpret_cast<const unsigned char*>(png.constData()), png.size())
                                  : child->setIconFromHandle(createIconHandle(QImage(3, 3, QImage::Format_ARGB32)));
            parent->addItem(child), child->setActive(c.active);
        }
        toolbar->addItem(list, 0), toolbar->addItem(combo, 1), QApplication::processEvents();
        DropDownMenu* menu = openMenu();
        ASSERT_TRUE(menu);
        EXPECT_EQ(describe(menu), c.entry);
        QTest::keyClick(menu, Qt::Key_Escape), clickItem(1);
        auto* rows = window->findChild<ComboBoxListView*>();
        ASSERT_TRUE(rows && rows->count() == 1);
        EXPECT_EQ(c.source != None, !rows->item(0)->icon().isNull());
        QTest::keyClick(rows, Qt::Key_Escape), toolbar->removeItem(list), toolbar->removeItem(combo);
    }
}

TEST_F(DropDownMenuTest, PopupsNearAScreenEdgeOpenAboveOrMoveLeft)
{
    // Below its button by default; near the bottom of the screen the menu and the list open above it, touching it;
    // near the right edge they move left to end at the edge.
    auto* combo = new MTBxCombobox(L"combo", &contexts[0]);
    combo->setText(L"List"), combo->setShowText(true), toolbar->addItem(combo, 1);
    for (const wchar_t* text : { L"One", L"Two", L"Three" }) {
        auto* child = new MTBxCommandItem(text, &contexts[1]);
        child->setParent(combo), child->setText(text), combo->addItem(child);
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    observer.setBounds(screen.adjusted(0, 0, 400, 0)); // the host's window reaches beyond the screen's right edge, so the toolbar may sit at it
    enum Edge { None, Bottom, Right };
    int moved = 0;
    for (Edge edge : { None, Bottom, Right }) {
        for (int index : { 0, 1 }) {
            SCOPED_TRACE(testing::Message() << "edge " << edge << " item " << index);
            const QPoint origin = edge == Bottom ? QPoint(300, screen.bottom() - 30) : edge == Right ? QPoint(screen.right() - 60, 200) : QPoint(300, 200);
            controller->moveToolbar(toolbar, origin.x() - screen.left(), origin.y() - screen.top(), false), QApplication::processEvents(), clickItem(index);
            QWidget* popup = dynamic_cast<QWidget*>(window->popups().popup());
            ASSERT_TRUE(popup && popup->isVisible());
            const QRect item = windowRect(toolbar, index).translated(QmtbCoordinates::desktopGeometry().topLeft());
            const QRect shown(popup->mapToGlobal(QPoint()), popup->size());
            EXPECT_TRUE(screen.contains(shown));
            EXPECT_LE(edge == Bottom ? std::abs(shown.bottom() + 1 - item.top()) : std::abs(shown.top() - item.bottom()), 1);
            const int left = item.left() + Style::instance()->gapBetween(LeadingMargin, Caption);
            const bool beyond = left + shown.width() - 1 > screen.right();
            EXPECT_TRUE(beyond ? edge == Right && shown.right() == screen.right() : shown.left() == left) << shown.left() << " " << left;
            moved += beyond;
            QTest::keyClick(popup, Qt::Key_Escape), QApplication::processEvents();
        }
    }
    EXPECT_GT(moved, 0);
}

TEST_F(DropDownMenuTest, HostWindowLosingActivationOrSuspendingTheToolbarClosesTheMenu)
{
    // Another window taking activation, or the toolbar suspended (at once), closes the menu, un-hovers its entry and leaves nothing to swallow the next click.
    QWidget other;
    const struct { const char* name; bool atOnce; std::function<void()> close, reopen; } rows[] = {
        { "activation", false, [&] { other.show(), other.activateWindow(); }, [&] { host.activateWindow(); EXPECT_TRUE(QTest::qWaitForWindowActive(&host)); } },
        { "suspension", true, [&] { controller->suspendToolbar(toolbar); }, [&] { controller->resumeToolbar(toolbar); } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        DropDownMenu* menu = openMenu();
        ASSERT_TRUE(menu);
        itemSink.events.clear();
        QTest::mouseMove(menu->windowHandle(), entry(menu, 0)), QTest::mouseMove(menu->windowHandle(), entry(menu, 3)), row.close();
        const auto closed = [&] { return !menu->isVisible() && !QApplication::activePopupWidget() && !window->hasPopup() && !window->pointer().closedItem(); };
        EXPECT_TRUE(row.atOnce ? ::testing::AssertionResult(closed()) : eventually(closed));
        EXPECT_EQ(count(&contexts[5], E::HoverLeave), 1);
        row.reopen();
        ASSERT_TRUE(menu = openMenu());
        QTest::keyClick(menu, Qt::Key_Escape);
    }
}

TEST_F(DropDownMenuTest, EscapeClosesTheOpenMenuAndOtherwiseBelongsToTheHost)
{
    // A native Escape closes the open menu and is kept from the host; later Escapes go on to the host, reported as keys while the pointer is over the toolbar.
    const auto key = [](UINT message, QPoint pt) { return QmtbNativeInput::filterMessage(NativeMessage{ nullptr, message, VK_ESCAPE, 0, pt }); };
    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(key(WM_KEYDOWN, QPoint(5, 5)) && !window->hasPopup());
    toolbarSink.types.clear();
    EXPECT_FALSE(key(WM_KEYDOWN, centreOf(toolbar, 0)) || key(WM_KEYUP, centreOf(toolbar, 0)) || key(WM_KEYDOWN, QPoint(5, 5)));
    EXPECT_EQ((std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarKeyDown, MTBxToolbarEvents::ToolbarKeyUp }), toolbarSink.types);
}

TEST_F(DropDownMenuTest, ButtonRemovedOnHoveringAnEntryDuringAPress)
{
    // The host removes the button on an entry's HoverEnter with a press held: the open menu reaches the host no more,
    // and goes with the button once the relayout drops it, leaving the window no pointer to either.
    itemSink.onEvent = [&](void* c, E::EventType t) { if (c == &contexts[5] && t == E::HoverEnter) toolbar->removeItem(button); };
    const QPointer<DropDownMenu> menu = openMenu();
    ASSERT_TRUE(menu);
    QTest::mousePress(menu->windowHandle(), Qt::LeftButton, {}, entry(menu, 0)), QTest::keyClick(menu, Qt::Key_Down), QTest::keyClick(menu, Qt::Key_Down);
    EXPECT_EQ(std::make_pair(0, 0), std::make_pair(count(&contexts[5], E::HoverLeave), count(&contexts[3], E::HoverEnter)));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, QPoint(1, 1)), QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(!menu && !window->hasPopup() && !window->pointer().closedItem());
}

TEST_F(DropDownMenuTest, AReleaseSeenBeforeQtDeliversItsPressReopensNothing)
{
    // The native filter sees a quick click's release before Qt delivers the press: on the open menu's button or on
    // another item the menu closes and never reopens, and the other item is clicked once, as when the press comes first.
    // The click leaves nothing pressed: a drag from the host that ends on the toolbar clicks nothing either.
    const struct { bool releaseFirst; int target; } rows[] = { { true, 0 }, { true, 1 }, { false, 0 }, { false, 1 } };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.releaseFirst ? "release first" : "press first") << ", item " << row.target);
        DropDownMenu* menu = openMenu();
        ASSERT_TRUE(menu);
        itemSink.events.clear();
        const QPoint at = centreOf(toolbar, row.target);
        // Qt's popup has the pointer: X addresses the click to the menu's window.
        const NativeMessage release{ reinterpret_cast<HWND>(menu->winId()), WM_LBUTTONUP, 0, 0, at };
        if (row.releaseFirst)
            EXPECT_FALSE(QmtbNativeInput::filterMessage(release));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, window->placement().toLocal(at)), QApplication::processEvents();
        if (!row.releaseFirst)
            EXPECT_FALSE(QmtbNativeInput::filterMessage(release));
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, window->placement().toLocal(at)), QApplication::processEvents();
        EXPECT_TRUE(!window->hasPopup() && !QApplication::activePopupWidget());
        EXPECT_EQ(0, count(&contexts[0], E::DropDownAboutToShow));
        EXPECT_EQ(row.target == 1 ? 1 : 0, count(&hostContext, E::Clicked));
        itemSink.events.clear();
        const QPoint onHost(50, 50);
        QTest::mousePress(host.windowHandle(), Qt::LeftButton, {}, onHost);
        QmtbNativeInput::filterMessage(NativeMessage{ reinterpret_cast<HWND>(host.winId()), WM_LBUTTONUP, 0, 0, centreOf(toolbar, 1) });
        QTest::mouseRelease(host.windowHandle(), Qt::LeftButton, {}, onHost), QApplication::processEvents();
        EXPECT_TRUE(!window->hasPopup() && count(&contexts[0], E::DropDownAboutToShow) + count(&hostContext, E::Clicked) == 0);
    }
}

} // namespace
