// A drop-down menu on a real X server, worked with xdotool: it has the keyboard while open and gives it back to the
// host's focused widget however it closes; a click, quick or slow, opens or closes it once.
#include "MiniToolbars/MTBxButton.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "Core/ItemView.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/QmtbView.h"
#include "support/WindowTestSupport.h"
#include "support/X11HostSupport.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

QStringList moveTo(QPoint p)
{
    return { "mousemove", QString::number(p.x()), QString::number(p.y()) };
}

// Runs xdotool while the event loop runs, so that Qt delivers each event as it comes.
bool runXdotoolSlowly(const QStringList& arguments)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), arguments);
    return eventually([&] { return xdotool.state() == QProcess::NotRunning; }) && xdotool.exitCode() == 0;
}

// xdotool's click sends the press and the release back to back, and while it runs here the event loop waits: Qt
// reads both at once. A slow click holds the button a while, and the event loop runs meanwhile.
bool clickAt(QPoint p, bool fast = true)
{
    if (fast)
        return runXdotool(moveTo(p) + QStringList{ "click", "1" });
    return runXdotoolSlowly(moveTo(p) + QStringList{ "mousedown", "1", "sleep", "0.3", "mouseup", "1" });
}

// A shown host window, a controller and an empty toolbar, closed at the end.
class DropDownMenuFocusTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs an X server and xdotool";
        host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
    }
    void TearDown() override { controller->closeToolbar(toolbar.get()); }
    // Children with these names, as command items or buttons, in the list's menu.
    template <typename Child> void fill(MTBxListType* list, std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names) {
            auto* child = new Child(name, &hostContext);
            child->setParent(list), child->setText(name), list->addItem(child);
        }
    }
    bool show()
    {
        return controller->showToolbar(toolbar.get(), 400, 300, &observer) && QTest::qWaitForWindowExposed(windowOf(toolbar.get()));
    }

    HostWindow host;
    HostObserver observer;
    RecordingItemSink sink;
    std::unique_ptr<Controller> controller { Controller::createInstance() };
    std::unique_ptr<MiniToolbar> toolbar { std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext) };
};

TEST_F(DropDownMenuFocusTest, KeyboardReturnsToTheHostHoweverTheMenuCloses)
{
    // Escape, a choice, a press on its button, on another item and on the host each close the menu; typing then reaches the host.
    QLineEdit edit(&host);
    edit.show(), edit.setFocus();
    auto* button = new MTBxDropDownButton(L"dd", &hostContext);
    toolbar->addItem(button, 0), toolbar->addItem(makeButton(L"Bold"), 1);
    fill<MTBxCommandItem>(button, { L"Red", L"Green" });
    ASSERT_TRUE(show());
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
}

TEST_F(DropDownMenuFocusTest, AClickClosesAnOpenMenuOnceAndOpensAClosedOneOnce)
{
    // Fast and slow real clicks: on the button of a closed menu it opens once; on its open menu's button it only
    // closes the menu; on another item it closes the menu and clicks that item; on the host it only closes the menu.
    // None leaves an item pressed: a drag from the host that ends on the toolbar then clicks nothing.
    int buttonContext = 0, otherContext = 0;
    auto* button = new MTBxDropDownButton(L"dd", &buttonContext);
    auto* other = new MTBxButton(L"other", &otherContext);
    other->setText(L"Other"), other->setShowText(true), other->setAutoHide(false);
    toolbar->addItem(button, 0), toolbar->addItem(other, 1);
    fill<MTBxCommandItem>(button, { L"Red", L"Green" });
    ASSERT_TRUE(show());
    const auto count = [&](const int* context, MTBxItemEvents::EventType type) {
        return int(std::count_if(sink.events.begin(), sink.events.end(), [&](const ItemEventRecord& e) { return e.hostContext == context && e.type == type; }));
    };
    const auto menuOpen = [] { return qobject_cast<DropDownMenu*>(QApplication::activePopupWidget()) != nullptr; };
    const auto closeMenu = [&] { return !menuOpen() || (runXdotool({ "key", "Escape" }) && eventually([&] { return !menuOpen(); })); };
    const auto pointOf = [&](int target) { return target < 0 ? QPoint(600, 600) : centreOf(toolbar.get(), target); };

    const struct {
        bool fast, menuWasOpen;
        int target; // an item's index, or -1 for the host
    } rows[] = {
        { true, false, 0 }, { true, true, 0 }, { true, true, 1 }, { true, true, -1 },
        { false, false, 0 }, { false, true, 0 }, { false, true, 1 }, { false, true, -1 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.fast ? "fast" : "slow") << " click on " << row.target << (row.menuWasOpen ? " with the menu open" : ""));
        if (row.menuWasOpen)
            ASSERT_TRUE(clickAt(pointOf(0), false) && eventually(menuOpen));
        sink.events.clear();
        ASSERT_TRUE(clickAt(pointOf(row.target), row.fast));
        const bool opens = !row.menuWasOpen && row.target == 0;
        EXPECT_TRUE(eventually([&] { return menuOpen() == opens; }));
        // Long enough for a menu closed and opened again to show.
        QTest::qWait(300);
        EXPECT_EQ(opens, menuOpen());
        EXPECT_EQ(opens ? 1 : 0, count(&buttonContext, MTBxItemEvents::DropDownAboutToShow));
        EXPECT_EQ(row.target == 1 ? 1 : 0, count(&otherContext, MTBxItemEvents::Clicked));
        ASSERT_TRUE(closeMenu());
        sink.events.clear();
        ASSERT_TRUE(runXdotoolSlowly(moveTo(pointOf(-1)) + QStringList{ "mousedown", "1", "sleep", "0.2" } + moveTo(pointOf(1))
                                     + QStringList{ "sleep", "0.2", "mouseup", "1" }));
        QTest::qWait(300);
        EXPECT_FALSE(menuOpen());
        EXPECT_EQ(0, count(&buttonContext, MTBxItemEvents::DropDownAboutToShow) + count(&otherContext, MTBxItemEvents::Clicked));
        ASSERT_TRUE(closeMenu());
    }
}

TEST_F(DropDownMenuFocusTest, ListClosedByAPressOnItsComboLetsTheComboGoWhenThePointerLeaves)
{
    // A second press on an open combo closes its list; the pointer then leaves for the host, and the combo is drawn
    // unhovered, without a tooltip.
    auto* combo = new MTBxCombobox(L"size", &hostContext);
    combo->setText(L"Size"), combo->setShowText(true), combo->setToolTip(L"Font size"), combo->setAutoHide(false);
    fill<MTBxButton>(combo, { L"Small", L"Large" });
    toolbar->addItem(combo, 0);
    ASSERT_TRUE(show());
    QmtbView* window = windowOf(toolbar.get());
    const auto listOpen = [&] { auto* list = window->findChild<ComboBoxListView*>(); return list && list->isVisible(); };
    const auto tooltipShown = [] {
        const QWidgetList widgets = QApplication::topLevelWidgets();
        return std::any_of(widgets.begin(), widgets.end(), [](QWidget* w) { return w->isVisible() && w->windowType() == Qt::ToolTip && !qobject_cast<ComboBoxListView*>(w); });
    };
    for (bool fast : { true, false }) {
        SCOPED_TRACE(fast ? "fast" : "slow");
        const QRect rect = windowRect(toolbar.get(), 0);
        const QPoint arrow(rect.right() - 6, rect.center().y());
        ASSERT_TRUE(clickAt(arrow) && eventually(listOpen));
        ASSERT_TRUE(clickAt(arrow, fast) && eventually([&] { return !listOpen(); }));
        ASSERT_TRUE(runXdotoolSlowly(moveTo(QPoint(600, 600))));
        QTest::qWait(1500);
        EXPECT_FALSE(combo->itemView() && combo->itemView()->isHovered());
        EXPECT_FALSE(tooltipShown());
    }
}

} // namespace
