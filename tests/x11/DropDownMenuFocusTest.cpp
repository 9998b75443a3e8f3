// A drop-down menu on a real X server, worked with xdotool: it has the keyboard while open and gives it back to the
// host's focused widget however it closes.
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "Qt/DropDownMenu.h"
#include "support/WindowTestSupport.h"
#include "support/X11HostSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QStandardPaths>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

bool clickAt(QPoint p)
{
    return runXdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1" });
}

TEST(DropDownMenuFocusTest, KeyboardReturnsToTheHostHoweverTheMenuCloses)
{
    // Escape, a choice, a press on its button, on another item and on the host each close the menu; typing then reaches the host.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs an X server and xdotool";
    HostWindow host;
    QLineEdit edit(&host);
    host.show(), host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    edit.setFocus();
    HostObserver observer;
    observer.parent = reinterpret_cast<HWND>(host.winId());
    std::unique_ptr<Controller> controller(Controller::createInstance());
    std::unique_ptr<MiniToolbar> toolbar = makeToolbar(1);
    auto* button = new MTBxDropDownButton(L"dd", &hostContext);
    toolbar->addItem(button, 0);
    for (const wchar_t* name : { L"Red", L"Green" }) {
        auto* child = new MTBxCommandItem(name, &hostContext);
        child->setParent(button), child->setText(name), button->addItem(child);
    }
    ASSERT_TRUE(controller->showToolbar(toolbar.get(), 400, 300, &observer));
    const auto open = [&] {
        EXPECT_TRUE(clickAt(centreOf(toolbar.get(), 0)));
        EXPECT_TRUE(eventually([] { return qobject_cast<DropDownMenu*>(QApplication::activePopupWidget()); }));
        return qobject_cast<DropDownMenu*>(QApplication::activePopupWidget());
    };
    const auto closedAndTyped = [&](const QString& text) {
        const QString expected = edit.text() + text;
        return eventually([] { return !QApplication::activePopupWidget(); }) && runXdotool({ "type", "--delay", "30", text })
            && eventually([&] { return edit.text() == expected; });
    };

    DropDownMenu* menu = open();
    ASSERT_TRUE(menu);
    const QPoint green = menu->mapToGlobal(menu->actionGeometry(menu->actions().at(1)).center());
    EXPECT_TRUE(runXdotool({ "key", "Escape" }) && closedAndTyped("ab"));
    EXPECT_TRUE(open() && clickAt(green) && closedAndTyped("cd"));
    EXPECT_TRUE(open() && clickAt(centreOf(toolbar.get(), 0)) && closedAndTyped("e"));
    EXPECT_TRUE(open() && clickAt(centreOf(toolbar.get(), 1)) && closedAndTyped("f"));
    EXPECT_TRUE(open() && clickAt(QPoint(600, 600)) && closedAndTyped("g"));
    controller->closeToolbar(toolbar.get());
}

} // namespace
