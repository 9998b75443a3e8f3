// Drop-down menus of a real controller's toolbar, worked through Qt's window-system input, so that Qt's own popup
// handling closes the menu on a press outside it as it would for a user.
#include "DropDownMenu.h"
#include "MTBxCommandItem.h"
#include "MTBxDropDownButton.h"
#include "MTBxSeparator.h"
#include "TooltipOptions.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QScreen>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int contexts[6];
using E = MTBxItemEvents;

// Over an active host window: a synchronized drop-down button, then "Other". Children: Alpha checkable and checked
// with an icon, Beta hidden, Gamma disabled, a separator, Delta described, with an icon and a remove button, Eps
// with a remove button. Alpha and Other share hostContext.
class DropDownMenuTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        toolbar->addItem(button = new MTBxDropDownButton(MTBxString(L"dd"), &contexts[0]));
        toolbar->addItem(makeButton(L"Other"));
        button->setSynchronizedWithCurrentItem(true);
        for (const wchar_t* name : { L"Alpha", L"Beta", L"Gamma", L"-", L"Delta", L"Eps" }) {
            const int i = button->itemCount();
            MTBxItem* c = i == 3 ? static_cast<MTBxItem*>(new MTBxSeparator) : new MTBxCommandItem(name, i ? &contexts[i] : &hostContext);
            c->setParent(button), c->setText(name), button->addItem(c);
        }
        child(0)->setCheckable(true), child(0)->setChecked(true, false), child(0)->setIcon(L":/MiniToolbars/Grip.svg");
        child(1)->setVisible(false), child(2)->setEnabled(false), child(4)->setDescription(L"Delta entry");
        child(4)->setIcon(L":/MiniToolbars/Grip.svg"), child(4)->setHasRemoveButton(true), child(5)->setHasRemoveButton(true);
        host.setGeometry(0, 0, 800, 600), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
        window = windowOf(toolbar);
    }
    MTBxItem* child(int i) const { return button->item(i); }
    // Qt posts what a press closing a popup leaves behind before the release comes.
    static void click(QWindow* w, QPoint p)
    {
        QTest::mousePress(w, Qt::LeftButton, {}, p), QApplication::processEvents();
        QTest::mouseRelease(w, Qt::LeftButton, {}, p), QApplication::processEvents();
    }
    void clickItem(int index) { click(window->windowHandle(), window->toLocal(centreOf(toolbar, index))); }
    DropDownMenu* openMenu()
    {
        clickItem(0);
        auto* menu = dynamic_cast<DropDownMenu*>(window->popup());
        EXPECT_TRUE(menu && menu->isVisible() && QApplication::activePopupWidget() == menu);
        return menu;
    }
    static QPoint entry(DropDownMenu* menu, int i) { return menu->actionGeometry(menu->actions().at(i)).center(); }
    int count(void* context, E::EventType type)
    {
        return int(std::count_if(itemSink.events.begin(), itemSink.events.end(), [&](auto& e) { return e.hostContext == context && e.type == type; }));
    }
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
    bool popupWhenAnnounced = true;
    itemSink.onEvent = [&](void* c, E::EventType t) { popupWhenAnnounced &= !(c == &contexts[0] && t == E::DropDownAboutToShow) || window->hasPopup(); };
    button->setCurrentItem(child(5));
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_FALSE(popupWhenAnnounced);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma~|-|Delta entry(i)|Eps[x]");
    const QRect item = windowRect(toolbar, 0);
    const QPoint expected(item.left() + Style::instance()->gapBetween(LeadingMargin, Caption), item.bottom());
    EXPECT_LE((menu->pos() - expected - QmtbView::desktopGeometry().topLeft()).manhattanLength(), 2);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    observer.setBounds(screen);
    controller->moveToolbar(toolbar, 300, screen.bottom() - 5, false);
    QTest::keyClick(menu, Qt::Key_Escape);
    EXPECT_TRUE((menu = openMenu()) && screen.contains(menu->geometry()));
}

TEST_F(DropDownMenuTest, ChoosingAndPressingAround)
{
    // A disabled entry refuses; a choice makes its child current and clicks it, leaving no popup or closed item.
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    click(menu->windowHandle(), entry(menu, 1));
    click(menu->windowHandle(), entry(menu, 3));
    EXPECT_TRUE(!menu->isVisible() && !window->hasPopup() && !window->closedItem() && button->currentItem() == child(4));
    EXPECT_EQ(count(&contexts[2], E::Clicked) + 2 * count(&contexts[4], E::Clicked), 2);

    // A press on the open menu's button closes it without reopening or dragging, and no tooltip starts meanwhile.
    SetMTBTooltipOption(TooltipsEnabled, true);
    ASSERT_TRUE(openMenu());
    window->moveTo(centreOf(toolbar, 1));
    EXPECT_FALSE(window->isToolTipTimerActive());
    const QPoint origin = windowOrigin(toolbar), at = window->toLocal(centreOf(toolbar, 0));
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, at), QApplication::processEvents();
    EXPECT_TRUE(!window->hasPopup() && window->closedItem() == button);
    QTest::mouseMove(window->windowHandle(), at + QPoint(0, 30));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, at), QApplication::processEvents();
    EXPECT_TRUE(windowOrigin(toolbar) == origin && !window->hasPopup());
    EXPECT_EQ(count(&contexts[0], E::DropDownAboutToShow), 2);

    // The next click opens it again; a press on another item closes it and clicks that item.
    ASSERT_TRUE(openMenu());
    clickItem(1);
    EXPECT_TRUE(!window->hasPopup() && count(&hostContext, E::Clicked) == 1);
}

TEST_F(DropDownMenuTest, RemoveButtonOnHoveredEntryAndRemovalByChildIndex)
{
    // Only entries that allow it show the remove button; the host removing an entry in RemoveRequested, or by child
    // index with a hidden child before it, drops that child's own entry.
    itemSink.onEvent = [&](void* c, E::EventType t) {
        if (t == E::RemoveRequested)
            button->removeItem(button->indexOf(child(c == &contexts[4] ? 4 : 5)));
    };
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    for (int i : { 0, 3, 0, 4 }) {
        QTest::mouseMove(menu->windowHandle(), entry(menu, i));
        EXPECT_EQ(menu->removeButton()->isVisible(), i > 0);
        EXPECT_TRUE(i == 0 || (menu->hoveredEntry() == child(i + 1) && menu->actionGeometry(menu->actions().at(i)).contains(menu->removeButton()->geometry())));
    }
    click(menu->windowHandle(), menu->removeButton()->geometry().center());
    EXPECT_EQ(count(&contexts[5], E::RemoveRequested), 1);
    EXPECT_TRUE(menu->isVisible() && !menu->removeButton()->isVisible());
    button->removeItem(4);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma~|-");
}

TEST_F(DropDownMenuTest, HostWindowLosingActivationClosesTheMenu)
{
    // Another window taking activation dismisses the menu and leaves nothing that would swallow the next click.
    QWidget other;
    ASSERT_TRUE(openMenu());
    other.show(), other.activateWindow();
    EXPECT_TRUE(eventually([&] { return !QApplication::activePopupWidget() && !window->hasPopup() && !window->closedItem(); }));
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    EXPECT_TRUE(openMenu());
}

TEST_F(DropDownMenuTest, HostDeletingEverythingFromMenuCallbacksIsSound)
{
    // Closing and destroying the toolbar inside each menu callback, on the menu's own stack, frees everything once (ASan).
    for (const auto kind : { E::Clicked, E::HoverEnter, E::HoverLeave }) {
        SCOPED_TRACE(kind);
        if (!button)
            SetUp();
        itemSink.onEvent = [&](void* c, E::EventType t) {
            if (t == kind && toolbar && (c == &contexts[4] || c == &contexts[5]))
                controller->closeToolbar(toolbar), toolbars.clear(), toolbar = nullptr, button = nullptr;
        };
        const QPointer<DropDownMenu> menu = openMenu();
        for (int i : { 3, 4, -4 }) {
            if (menu && i < 0)
                click(menu->windowHandle(), entry(menu, -i));
            else if (menu)
                QTest::mouseMove(menu->windowHandle(), entry(menu, i));
        }
        EXPECT_FALSE(toolbar);
        itemSink.onEvent = nullptr;
        MiniToolbar::CleanupOldViews();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(NotificationGuard::deferredItemCount(), 0);
    }
}

} // namespace
