// A drop-down menu on a real X server, worked with xdotool: the menu has the keyboard while it is open and
// gives it back to the host's focused widget however it closes; presses outside it close it as Qt replays them.
#include "DropDownMenu.h"
#include "MTBxCommandItem.h"
#include "MTBxDropDownButton.h"
#include "WindowTestSupport.h"
#include "X11HostSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardPaths>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int contexts[3];

class DropDownMenuFocusTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs an X server and xdotool";
        ControllerFixture::SetUp();
        host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        edit.setFocus();
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(host.geometry());
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        toolbar->addItem(button = new MTBxDropDownButton(MTBxString(L"dd"), &contexts[0]));
        toolbar->addItem(makeButton(L"Other"));
        for (const wchar_t* name : { L"Red", L"Green" }) {
            auto* child = new MTBxCommandItem(MTBxString(name), &contexts[button->itemCount() + 1]);
            child->setParent(button), child->setText(MTBxString(name)), button->addItem(child);
        }
        button->item(0)->setIcon(L":/MiniToolbars/Grip.svg");
        button->item(1)->setHasRemoveButton(true), button->item(1)->setCheckable(true), button->item(1)->setChecked(true, false);
        ASSERT_TRUE(controller->showToolbar(toolbar, 400, 300, &observer));
    }
    static bool click(QPoint global)
    {
        return runXdotool({ "mousemove", QString::number(global.x()), QString::number(global.y()), "click", "1" });
    }
    QPoint globalCentre(int index) const { return centreOf(toolbar, index) + QmtbView::desktopGeometry().topLeft(); }
    DropDownMenu* openMenu()
    {
        EXPECT_TRUE(click(globalCentre(0)));
        EXPECT_TRUE(eventually([] { return qobject_cast<DropDownMenu*>(QApplication::activePopupWidget()); }));
        return qobject_cast<DropDownMenu*>(QApplication::activePopupWidget());
    }
    // Typing reaches the host's line edit.
    ::testing::AssertionResult typesIntoHost(const QString& text)
    {
        const QString expected = edit.text() + text;
        if (!runXdotool({ "type", "--delay", "30", text }))
            return ::testing::AssertionFailure() << "xdotool failed";
        return eventually([&] { return edit.text() == expected; }) << " typed text: " << edit.text().toStdString();
    }
    int count(void* context, MTBxItemEvents::EventType type)
    {
        return int(std::count_if(itemSink.events.begin(), itemSink.events.end(), [&](auto& e) { return e.hostContext == context && e.type == type; }));
    }

    HostWindow host;
    QLineEdit edit { &host };
    MiniToolbar* toolbar = nullptr;
    MTBxDropDownButton* button = nullptr;
};

TEST_F(DropDownMenuFocusTest, KeyboardReturnsToTheHostHoweverTheMenuCloses)
{
    // Escape, a choice, a press on its button, on another item and on the host each close the menu and type into the host.
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    if (!qEnvironmentVariableIsEmpty("MTB_MENU_SCREENSHOT")) {
        const QPoint entry = menu->mapToGlobal(menu->actionGeometry(menu->actions().at(1)).center());
        runXdotool({ "mousemove", QString::number(entry.x()), QString::number(entry.y() - 4) });
        QTest::qWait(100);
        runXdotool({ "mousemove", QString::number(entry.x()), QString::number(entry.y()) });
        QTest::qWait(300);
        grabScreen().copy(menu->geometry().adjusted(-80, -60, 80, 40)).save(qEnvironmentVariable("MTB_MENU_SCREENSHOT"));
    }
    ASSERT_TRUE(runXdotool({ "key", "Escape" }));
    EXPECT_TRUE(eventually([&] { return !QApplication::activePopupWidget() && !windowOf(toolbar)->hasPopup(); }));
    EXPECT_TRUE(typesIntoHost("ab"));

    menu = openMenu();
    ASSERT_TRUE(menu);
    EXPECT_TRUE(click(menu->mapToGlobal(menu->actionGeometry(menu->actions().at(1)).center())));
    EXPECT_TRUE(eventually([&] { return count(&contexts[2], MTBxItemEvents::Clicked) == 1; }));
    EXPECT_TRUE(typesIntoHost("cd"));

    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(click(globalCentre(0)));
    EXPECT_TRUE(eventually([] { return !QApplication::activePopupWidget(); }));
    QTest::qWait(200);
    EXPECT_EQ(count(&contexts[0], MTBxItemEvents::DropDownAboutToShow), 3);
    EXPECT_TRUE(typesIntoHost("e"));

    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(click(globalCentre(1)));
    EXPECT_TRUE(eventually([&] { return count(&hostContext, MTBxItemEvents::Clicked) == 1 && !QApplication::activePopupWidget(); }));
    EXPECT_TRUE(typesIntoHost("f"));

    ASSERT_TRUE(openMenu());
    EXPECT_TRUE(click(host.geometry().center() + QPoint(0, 200)));
    EXPECT_TRUE(eventually([] { return !QApplication::activePopupWidget(); }));
    EXPECT_TRUE(typesIntoHost("g"));
    // The host's own click left nothing behind: the next click on the button opens the menu.
    EXPECT_TRUE(openMenu());
}

} // namespace
