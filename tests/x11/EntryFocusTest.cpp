// Real typing on an X server: the entry's field is the one part of a toolbar
// that takes the keyboard, and the keyboard goes back to the host's widget
// on Escape, on a press elsewhere and when the toolbar closes.
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "Qt/LineEditControl.h"
#include "support/WindowTestSupport.h"
#include "support/X11HostSupport.h"

#include <QLineEdit>
#include <QStandardPaths>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

bool type(const char* text) { return runXdotool({ "type", "--delay", "30", text }); }
bool clickAt(const QPoint& p) { return runXdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1" }); }

TEST_F(ControllerFixture, TypingLandsInTheFieldOnlyWhileItHasTheKeyboard)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "needs an X server and xdotool";
    QWidget host;
    host.setGeometry(40, 30, 900, 600);
    QLineEdit hostEdit(&host);
    hostEdit.setGeometry(10, 10, 300, 30);
    host.show(), host.activateWindow(), hostEdit.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    observer.parent = reinterpret_cast<HWND>(host.winId());
    observer.setBounds(host.geometry());

    MiniToolbar* toolbar = add(makeToolbar(1));
    auto* entry = new MTBxDropDownEntry(MTBxString(L"find"), MTBxString(L""), &hostContext);
    entry->setWidth(100);
    toolbar->addItem(entry);
    ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
    QmtbView* window = windowOf(toolbar);
    ASSERT_TRUE(eventually([&] { return window->findChild<LineEditControl*>() && window->findChild<LineEditControl*>()->isVisible(); }));
    LineEditControl* field = window->findChild<LineEditControl*>();
    const auto typed = [&](const char* text, const QString& inHost, const QString& inField) {
        EXPECT_TRUE(type(text));
        EXPECT_TRUE(eventually([&] { return hostEdit.text() == inHost && field->text() == inField; }))
            << text << ": host " << hostEdit.text().toStdString() << ", field " << field->text().toStdString();
    };

    // Showing took nothing: the host keeps typing.
    typed("ab", "ab", "");
    // A click into the field takes the keyboard; Escape gives it back.
    ASSERT_TRUE(clickAt(field->mapToGlobal(field->rect().center())));
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    typed("cd", "ab", "cd");
    EXPECT_GE(itemSink.count(MTBxItemEvents::TextEdited), 2);
    ASSERT_TRUE(runXdotool({ "key", "Escape" }));
    ASSERT_TRUE(eventually([&] { return hostEdit.hasFocus(); }));
    typed("e", "abe", "cd");
    // The host asks for focus; a press on the host takes the keyboard back.
    entry->setFocus(true);
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    typed("f", "abe", "cdf");
    ASSERT_TRUE(clickAt(hostEdit.mapToGlobal(hostEdit.rect().center())));
    ASSERT_TRUE(eventually([&] { return hostEdit.hasFocus(); }));
    typed("g", "abeg", "cdf");
    // Closing the toolbar while the field has the keyboard.
    entry->setFocus(true);
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    controller->closeToolbar(toolbar);
    ASSERT_TRUE(eventually([&] { return hostEdit.hasFocus(); }));
    EXPECT_TRUE(type("h"));
    EXPECT_TRUE(eventually([&] { return hostEdit.text().endsWith("h"); }));
}

} // namespace
