// The toolbar window on a real X server: its shape equals what it paints and
// the host keeps the clicks and pixels around the toolbar.
#include "QWinWidget.h"
#include "WindowTestSupport.h"
#include "X11HostSupport.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

class MaskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        Style::setXHeightOverride(6);
        controller.reset(Controller::createInstance());
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(host.geometry());
    }
    void TearDown() override
    {
        if (toolbar)
            controller->closeToolbar(toolbar.get());
        toolbar.reset();
        controller.reset();
    }
    QmtbView* showToolbar(int x, int y)
    {
        toolbar = makeToolbar(3);
        EXPECT_TRUE(controller->showToolbar(toolbar.get(), x, y, &observer));
        QmtbView* window = windowOf(toolbar.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        // Let the compositor put the translucent pixels on screen.
        QTest::qWait(400);
        return window;
    }

    RecordingItemSink itemSink;
    RecordingToolbarSink toolbarSink;
    HostObserver observer;
    HostWindow host;
    std::unique_ptr<Controller> controller;
    std::unique_ptr<MiniToolbar> toolbar;
};

} // namespace

TEST_F(MaskTest, shouldShapeTheWindowToThePaintedRegion)
{
    // Every pixel the toolbar changes on screen lies in the mask, the mask fits them tightly, and nothing else changes.
    QTest::qWait(300);
    const QImage before = grabScreen();
    QmtbView* window = showToolbar(400, 300);
    const QImage after = grabScreen();
    after.save(QStringLiteral(MTB_TEST_BINARY_DIR "/MaskTestScreen.png"));
    ASSERT_EQ(before.size(), after.size());

    const QRegion mask = screenShape(window);
    EXPECT_EQ(window->paintedRegion(), mask);
    QRect changed;
    int outside = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y))
                continue;
            changed |= QRect(x, y, 1, 1);
            if (!mask.contains(QPoint(x, y)))
                ++outside;
        }
    }
    EXPECT_EQ(0, outside) << "pixels changed outside the mask";
    ASSERT_FALSE(changed.isEmpty());
    const QRect box = mask.boundingRect();
    // The grip at x = -12 is painted and inside the mask.
    EXPECT_LE(changed.left(), 400 - 12 + 1);
    EXPECT_LE(changed.left() - box.left(), QmtbView::penMargin + 1);
    EXPECT_LE(changed.top() - box.top(), QmtbView::penMargin + 1);
    EXPECT_LE(box.right() - changed.right(), QmtbView::penMargin + 1);
    EXPECT_LE(box.bottom() - changed.bottom(), QmtbView::penMargin + 1);
    // The host's colour survives right next to the toolbar: no black desktop.
    EXPECT_EQ(hostColour.rgb(), after.pixel(box.right() + 3, box.center().y()));
}

TEST_F(MaskTest, shouldMoveTheMaskWithTheToolbar)
{
    // After a move the mask covers the new place only and the old place shows the host again.
    QmtbView* window = showToolbar(400, 300);
    const QRect oldBox = screenShape(window).boundingRect();
    controller->moveToolbar(toolbar.get(), 200, 150, true);
    QTest::qWait(400);
    const QRect newBox = screenShape(window).boundingRect();
    EXPECT_EQ(oldBox.translated(200, 150), newBox);
    const QImage screen = grabScreen();
    EXPECT_EQ(hostColour.rgb(), screen.pixel(oldBox.center()));
    EXPECT_NE(hostColour.rgb(), screen.pixel(newBox.center()));
}

TEST_F(MaskTest, shouldLetClicksBesideTheToolbarThroughToTheHost)
{
    // A click beside the toolbar reaches the host; one on a button clicks it.
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    QmtbView* window = showToolbar(400, 300);
    const QPoint beside(700, 500);
    ASSERT_FALSE(screenShape(window).contains(beside));
    ASSERT_TRUE(runXdotool({ "mousemove", "700", "500", "click", "1" }));
    ASSERT_TRUE(eventually([&] { return host.presses.size() == size_t(1); }));
    EXPECT_EQ(beside, host.presses[0]);
    EXPECT_EQ(0, itemSink.count(MTBxItemEvents::Clicked));

    const QPoint button = centreOf(toolbar.get(), 1);
    ASSERT_TRUE(runXdotool({ "mousemove", QString::number(button.x()), QString::number(button.y()), "click", "1" }));
    ASSERT_TRUE(eventually([&] { return itemSink.count(MTBxItemEvents::Clicked) == 1; }));
    EXPECT_EQ(size_t(1), host.presses.size());
}

TEST_F(MaskTest, shouldStayAboveTheHostWindow)
{
    // The host's Qt window is the toolbar window's transient parent; a foreign window is wrapped as one.
    QmtbView* window = showToolbar(400, 300);
    EXPECT_EQ(host.windowHandle(), window->windowHandle()->transientParent());

    QWindow foreign;
    foreign.create();
    QWinWidget wrapper(reinterpret_cast<HWND>(foreign.winId()));
    EXPECT_EQ(nullptr, wrapper.hostWindow());
    ASSERT_NE(nullptr, wrapper.transientTarget());
    EXPECT_EQ(foreign.winId(), wrapper.transientTarget()->winId());
}

TEST_F(MaskTest, shouldLetClicksOnInvisibleItemsThroughToTheHost)
{
    // Showing only its no-fade items, the toolbar's hidden item leaves the mask: a real click there reaches the host.
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    toolbar = makeToolbar(1);
    toolbar->addItem(makeButton(L"Keep", false));
    ASSERT_TRUE(controller->showToolbar(toolbar.get(), 400, 300, &observer));
    QmtbView* window = windowOf(toolbar.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    toolbar->setDisplayOnlyNoFadeItems(true);
    QTest::qWait(200);
    const QPoint hidden = centreOf(toolbar.get(), 0);
    EXPECT_FALSE(screenShape(window).contains(hidden));
    ASSERT_TRUE(runXdotool({ "mousemove", QString::number(hidden.x()), QString::number(hidden.y()), "click", "1" }));
    ASSERT_TRUE(eventually([&] { return host.presses.size() == size_t(1); }));
    EXPECT_EQ(hidden, host.presses[0]);
    EXPECT_TRUE(itemSink.events.empty());
}
