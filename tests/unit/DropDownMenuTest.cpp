// Drop-down menus of a real controller's toolbar, worked as a user does: clicks on the toolbar and the
// menu go through Qt's window-system input, so Qt's own popup handling closes and replays as it would.
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

class DropDownMenuTest : public ControllerFixture
{
protected:
    // A synchronized drop-down button before a plain one. Children: Alpha checkable and checked with an
    // icon, Beta hidden, Gamma disabled, a separator, Delta with a description, an icon and a remove
    // button, Eps with a remove button.
    void SetUp() override
    {
        ControllerFixture::SetUp();
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        toolbar->addItem(button = new MTBxDropDownButton(MTBxString(L"dd"), &contexts[0]));
        toolbar->addItem(makeButton(L"Other"));
        button->setSynchronizedWithCurrentItem(true);
        const wchar_t* names[] = { L"Alpha", L"Beta", L"Gamma", L"-", L"Delta", L"Eps" };
        for (int i = 0; i < 6; ++i) {
            MTBxItem* child = i == 3 ? static_cast<MTBxItem*>(new MTBxSeparator)
                                     : new MTBxCommandItem(MTBxString(names[i]), i ? &contexts[i] : &hostContext);
            child->setParent(button), child->setText(MTBxString(names[i])), button->addItem(child);
        }
        child(0)->setCheckable(true), child(0)->setChecked(true, false), child(0)->setIcon(L":/MiniToolbars/Grip.svg");
        child(1)->setVisible(false), child(2)->setEnabled(false);
        child(4)->setDescription(L"Delta entry"), child(4)->setIcon(L":/MiniToolbars/Grip.svg");
        child(4)->setHasRemoveButton(true), child(5)->setHasRemoveButton(true);
        host.setGeometry(0, 0, 800, 600), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
        window = windowOf(toolbar);
    }
    MTBxItem* child(int i) const { return button->item(i); }
    // Qt replays a press that closes a popup as a posted event, before the release comes.
    void click(QWindow* w, QPoint local)
    {
        QTest::mousePress(w, Qt::LeftButton, {}, local), QApplication::processEvents();
        QTest::mouseRelease(w, Qt::LeftButton, {}, local), QApplication::processEvents();
    }
    void clickItem(int index) { click(window->windowHandle(), window->toLocal(centreOf(toolbar, index))); }
    DropDownMenu* openMenu()
    {
        clickItem(0);
        auto* menu = dynamic_cast<DropDownMenu*>(window->popup());
        EXPECT_TRUE(menu && menu->isVisible() && QApplication::activePopupWidget() == menu);
        return menu;
    }
    QPoint entryCentre(DropDownMenu* menu, int entry) { return menu->actionGeometry(menu->actions().at(entry)).center(); }
    int count(void* context, MTBxItemEvents::EventType type)
    {
        return int(std::count_if(itemSink.events.begin(), itemSink.events.end(), [&](auto& e) { return e.hostContext == context && e.type == type; }));
    }
    // Each entry as text, then [x] checked, [ ] checkable, (i) icon, ~ disabled; separators as "-".
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
    // DropDownAboutToShow reaches the button before any menu; entries follow the check-mark, icon and state rules.
    bool popupDuringAnnouncement = true;
    itemSink.onEvent = [&](void* c, MTBxItemEvents::EventType t) {
        if (c == &contexts[0] && t == MTBxItemEvents::DropDownAboutToShow)
            popupDuringAnnouncement = window->hasPopup();
    };
    button->setCurrentItem(child(5));
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_FALSE(popupDuringAnnouncement);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma~|-|Delta entry(i)|Eps[x]");
    const QRect item = windowRect(toolbar, 0);
    const QPoint expected(item.left() + Style::instance()->gapBetween(LeadingMargin, Caption), item.bottom());
    EXPECT_LE((menu->pos() - expected - QmtbView::desktopGeometry().topLeft()).manhattanLength(), 2);

    // Near the bottom of the screen the menu moves up to stay whole.
    observer.setBounds(QGuiApplication::primaryScreen()->geometry());
    controller->moveToolbar(toolbar, 300, QGuiApplication::primaryScreen()->geometry().bottom() - 5, false);
    click(window->windowHandle(), window->toLocal(centreOf(toolbar, 1)));
    menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(menu->geometry()));
}

TEST_F(DropDownMenuTest, ChoosingMakesCurrentAndClicksWhileDisabledEntriesRefuse)
{
    // A disabled entry keeps the menu open; choosing another makes it current, clicks it and leaves no popup or closed item.
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    click(menu->windowHandle(), entryCentre(menu, 1));
    EXPECT_TRUE(menu->isVisible() && count(&contexts[2], MTBxItemEvents::Clicked) == 0);
    click(menu->windowHandle(), entryCentre(menu, 3));
    EXPECT_TRUE(!menu->isVisible() && !window->hasPopup() && !window->closedItem());
    EXPECT_EQ(count(&contexts[4], MTBxItemEvents::Clicked), 1);
    EXPECT_EQ(button->currentItem(), child(4));
    EXPECT_EQ(QString::fromUtf16(button->text()), "Delta");
}

TEST_F(DropDownMenuTest, PressesWhileOpenCloseWithoutReopeningDraggingOrTooltips)
{
    // A press on the open menu's button closes it without reopening or dragging (tooltips wait meanwhile); one on another item clicks it.
    SetMTBTooltipOption(TooltipsEnabled, true);
    ASSERT_TRUE(openMenu());
    window->moveTo(centreOf(toolbar, 1));
    EXPECT_FALSE(window->isToolTipTimerActive());
    const QPoint origin = windowOrigin(toolbar);
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(centreOf(toolbar, 0)));
    QApplication::processEvents();
    EXPECT_TRUE(!window->hasPopup() && window->closedItem() == button);
    QTest::mouseMove(window->windowHandle(), window->toLocal(centreOf(toolbar, 0) + QPoint(0, 30)));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, window->toLocal(centreOf(toolbar, 0)));
    QApplication::processEvents();
    EXPECT_EQ(windowOrigin(toolbar), origin);
    EXPECT_TRUE(!window->hasPopup() && count(&contexts[0], MTBxItemEvents::DropDownAboutToShow) == 1);
    // A second click is a click again; a press on another item closes the menu and clicks that item.
    ASSERT_TRUE(openMenu());
    clickItem(1);
    EXPECT_TRUE(!window->hasPopup() && count(&hostContext, MTBxItemEvents::Clicked) == 1);
}

TEST_F(DropDownMenuTest, RemoveButtonOnHoveredEntryAndRemovalByChildIndex)
{
    // Hovering shows the remove button only where allowed; the host removing the entry in RemoveRequested gets a menu
    // without it, and removal by child index drops that child's entry although a hidden child comes first.
    itemSink.onEvent = [&](void* c, MTBxItemEvents::EventType t) {
        if (t == MTBxItemEvents::RemoveRequested)
            button->removeItem(button->indexOf(child(c == &contexts[4] ? 4 : 5)));
    };
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    QTest::mouseMove(menu->windowHandle(), entryCentre(menu, 0));
    QTest::mouseMove(menu->windowHandle(), entryCentre(menu, 3));
    EXPECT_TRUE(menu->removeButton()->isVisible() && menu->hoveredEntry() == child(4));
    EXPECT_TRUE(menu->actionGeometry(menu->actions().at(3)).contains(menu->removeButton()->geometry()));
    QTest::mouseMove(menu->windowHandle(), entryCentre(menu, 0));
    EXPECT_FALSE(menu->removeButton()->isVisible());
    QTest::mouseMove(menu->windowHandle(), entryCentre(menu, 4));
    click(menu->windowHandle(), menu->removeButton()->geometry().center());
    EXPECT_EQ(count(&contexts[5], MTBxItemEvents::RemoveRequested), 1);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma~|-|Delta entry(i)");
    EXPECT_TRUE(menu->isVisible() && !menu->removeButton()->isVisible());
    button->removeItem(4);
    EXPECT_EQ(describe(menu), "Alpha[x]|Gamma~|-");
    EXPECT_EQ(button->itemCount(), 4);
}

TEST_F(DropDownMenuTest, HostWindowLosingActivationClosesTheMenu)
{
    // Another window taking activation dismisses the menu; the next click on the button opens it again.
    QWidget other;
    other.setGeometry(0, 0, 50, 50);
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    other.show(), other.activateWindow();
    EXPECT_TRUE(eventually([&] { return !menu->isVisible() && !window->hasPopup(); }));
    EXPECT_FALSE(window->closedItem());
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    EXPECT_TRUE(openMenu());
}

TEST_F(DropDownMenuTest, HostDeletingEverythingFromMenuCallbacksIsSound)
{
    // Closing and destroying the toolbar inside each menu callback, on the menu's own stack, frees everything once.
    const MTBxItemEvents::EventType kinds[] = { MTBxItemEvents::Clicked, MTBxItemEvents::HoverEnter, MTBxItemEvents::HoverLeave };
    for (const auto kind : kinds) {
        SCOPED_TRACE(kind);
        if (!button)
            SetUp();
        itemSink.onEvent = [&](void* c, MTBxItemEvents::EventType t) {
            if (t == kind && toolbar && (c == &contexts[4] || c == &contexts[5]))
                controller->closeToolbar(toolbar), toolbars.clear(), toolbar = nullptr, button = nullptr;
        };
        const QPointer<DropDownMenu> menu = openMenu();
        ASSERT_TRUE(menu);
        for (int entry : { 3, 4 }) {
            if (menu)
                QTest::mouseMove(menu->windowHandle(), entryCentre(menu, entry));
        }
        if (menu)
            click(menu->windowHandle(), entryCentre(menu, 4));
        EXPECT_FALSE(toolbar);
        itemSink.onEvent = nullptr;
        MiniToolbar::CleanupOldViews();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(NotificationGuard::deferredItemCount(), 0);
    }
}

} // namespace
