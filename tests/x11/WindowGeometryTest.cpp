// The toolbar window on a real X server covers only what the toolbar paints:
// it follows the toolbar, leaves the host every pixel and click around it, and
// lands where the host's logical coordinates say at any device pixel ratio
// (CTest runs this program a second time with QT_SCALE_FACTOR=2).
#include "MiniToolbars/MTBxNewLine.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "support/WindowTestSupport.h"
#include "support/X11HostSupport.h"

#include <QStandardPaths>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

qreal ratio()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio();
}

// The device pixel at the top-left corner of a logical one.
QPoint device(const QPoint& logical)
{
    return logical * ratio();
}

QStringList at(const QPoint& logical)
{
    const QPoint p = device(logical);
    return { QString::number(p.x()), QString::number(p.y()) };
}

// What the X server holds for a window, in device pixels.
QRect serverGeometry(const QWidget* window)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"),
                  { "getwindowgeometry", "--shell", QString::number(window->winId()) });
    xdotool.waitForFinished();
    QRect rect;
    for (const QByteArray& line : xdotool.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        else if (pair[0] == "Y")
            rect.moveTop(value);
        else if (pair[0] == "WIDTH")
            rect.setWidth(value);
        else if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

class WindowGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "xdotool is not installed";
        Style::setXHeightOverride(6);
        controller.reset(Controller::createInstance());
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(host.geometry());
        QTest::qWait(300);
    }
    void TearDown() override
    {
        popup.reset();
        if (toolbar)
            controller->closeToolbar(toolbar.get());
        toolbar.reset();
        controller->setClipRect(0, 0, 0, 0);
        controller.reset();
    }
    QmtbView* show()
    {
        toolbar = makeToolbar(3);
        EXPECT_TRUE(controller->showToolbar(toolbar.get(), 200, 150, &observer));
        QmtbView* window = windowOf(toolbar.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        QTest::qWait(300);
        return window;
    }
    // A child widget standing for a popup, 20 px below the toolbar: the
    // window grows around both and is shaped to the two rectangles.
    void openPopup(QmtbView* window)
    {
        popup = std::make_unique<QWidget>(window);
        popup->setAutoFillBackground(true);
        QPalette p = popup->palette();
        p.setColor(QPalette::Window, Qt::blue);
        popup->setPalette(p);
        const QRect bar = toolbarRect(toolbar.get());
        popup->setGeometry(QRect(window->placement().toLocal(bar.bottomLeft() + QPoint(0, 20)), QSize(80, 40)));
        popup->show();
        QTest::qWait(300);
    }
    static void expectWindowFitsThePaintedRegion(QmtbView* window)
    {
        const QRegion painted = window->placement().paintedRegion();
        const QRect box = painted.boundingRect().translated(QmtbCoordinates::desktopGeometry().topLeft());
        EXPECT_EQ(box, window->geometry());
        EXPECT_EQ(QRect(device(box.topLeft()), box.size() * ratio()), serverGeometry(window));
        EXPECT_EQ(painted, screenShape(window));
    }

    RecordingItemSink itemSink;
    RecordingToolbarSink toolbarSink;
    HostObserver observer;
    HostWindow host;
    std::unique_ptr<Controller> controller;
    std::unique_ptr<MiniToolbar> toolbar;
    std::unique_ptr<QWidget> popup;
};

} // namespace

TEST_F(WindowGeometryTest, shouldFollowTheToolbarAsItMovesDragsGrowsAndShrinks)
{
    // After each step the X window is the painted region's bounding box, shaped to the region, around the toolbar.
    QmtbView* window = show();
    struct Step
    {
        const char* name;
        std::function<void()> act;
        QPoint originShift;
    };
    const Step steps[] = {
        { "moved", [&] { controller->moveToolbar(toolbar.get(), 120, 80, true); }, { 120, 80 } },
        { "moved back", [&] { controller->moveToolbar(toolbar.get(), 200, 150, false); }, { -120, -80 } },
        { "dragged by real input", [&] {
             // Steps apart in time, so that each reaches the window as a move of its own.
             const QPoint start = centreOf(toolbar.get(), 1);
             QStringList drag{ "mousemove" };
             drag << at(start) << "mousedown" << "1";
             for (const QPoint step : { QPoint(10, 10), QPoint(25, 20), QPoint(40, 30) })
                 drag << "sleep" << "0.2" << "mousemove" << at(start + step);
             runXdotool(drag << "sleep" << "0.2" << "mouseup" << "1");
         }, { 40, 30 } },
        { "row grown", [&] { toolbar->addItem(makeButton(L"Wider")); }, {} },
        { "second row", [&] {
             toolbar->addItem(new MTBxNewLine());
             toolbar->addItem(makeButton(L"Below"));
         }, {} },
        { "shrunk", [&] {
             for (int i = 0; i < 4; ++i)
                 toolbar->removeItem(toolbar->itemCount() - 1);
         }, {} },
        { "clipped", [&] {
             const QRect bar = toolbarRect(toolbar.get());
             controller->setClipRect(0, 0, bar.center().x(), 2000);
         }, {} },
        { "popup open", [&] { openPopup(window); }, {} },
    };
    expectWindowFitsThePaintedRegion(window);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const QPoint origin = windowOrigin(toolbar.get());
        const QRect before = window->geometry();
        step.act();
        QTest::qWait(300);
        EXPECT_EQ(origin + step.originShift, windowOrigin(toolbar.get()));
        EXPECT_NE(before, window->geometry());
        expectWindowFitsThePaintedRegion(window);
    }
    EXPECT_EQ(1, std::count(toolbarSink.types.begin(), toolbarSink.types.end(), MTBxToolbarEvents::ToolbarMoved));
}

TEST_F(WindowGeometryTest, shouldLetClicksJustOutsideThePaintedRegionReachTheHost)
{
    // Real clicks a pixel beside the toolbar, and in the gap between toolbar and popup, press the host; the toolbar still takes its own.
    QmtbView* window = show();
    openPopup(window);
    const QRect below = popup->geometry().translated(window->placement().windowOffset());
    const QRect bar = (window->placement().paintedRegion() - QRegion(below)).boundingRect();
    const QPoint outside[] = {
        { bar.left() - 1, bar.top() + 5 },
        { bar.right() + 1, bar.top() + 5 },
        { bar.center().x(), bar.top() - 1 },
        { below.right() + 1, below.center().y() },
        { below.center().x(), below.bottom() + 1 },
        { below.right() + 10, below.top() - 10 },
    };
    for (const QPoint& point : outside) {
        SCOPED_TRACE(::testing::PrintToString(std::make_pair(point.x(), point.y())));
        ASSERT_FALSE(window->placement().paintedRegion().contains(point));
        const size_t presses = host.presses.size();
        ASSERT_TRUE(runXdotool(QStringList{ "mousemove" } + at(point) + QStringList{ "click", "1" }));
        ASSERT_TRUE(eventually([&] { return host.presses.size() == presses + 1; }));
        EXPECT_EQ(point, host.presses.back());
    }
    EXPECT_TRUE(itemSink.events.empty());
    ASSERT_TRUE(runXdotool(QStringList{ "mousemove" } + at(centreOf(toolbar.get(), 0)) + QStringList{ "click", "1" }));
    ASSERT_TRUE(eventually([&] { return itemSink.count(MTBxItemEvents::Clicked) == 1; }));
    EXPECT_EQ(size_t(std::size(outside)), host.presses.size());
}

TEST_F(WindowGeometryTest, shouldChangeScreenPixelsOnlyInsideThePaintedRegion)
{
    // Showing toolbar and popup changes device pixels only inside the painted region, which starts at the host's logical origin.
    const QImage before = grabScreen();
    QmtbView* window = show();
    openPopup(window);
    const QImage after = grabScreen();
    ASSERT_EQ(before.size(), after.size());
    const QRegion painted = window->placement().paintedRegion();
    QRect changed;
    int outside = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y))
                continue;
            const QPoint logical(static_cast<int>(x / ratio()), static_cast<int>(y / ratio()));
            changed |= QRect(logical, QSize(1, 1));
            if (!painted.contains(logical))
                ++outside;
        }
    }
    EXPECT_EQ(0, outside) << "pixels changed outside the painted region";
    const QRect box = painted.boundingRect();
    const int slack = QmtbPlacement::penMargin + 1;
    // The grip stands 12 logical pixels left of the origin the host gave.
    EXPECT_LE(changed.left(), 200 - 12 + 1);
    EXPECT_LE(changed.left() - box.left(), slack);
    EXPECT_LE(changed.top() - box.top(), slack);
    EXPECT_LE(box.right() - changed.right(), slack);
    EXPECT_EQ(box.bottom(), changed.bottom());
    EXPECT_EQ(hostColour.rgb(), after.pixel(device(QPoint(box.right() + 2, box.top() + 5))));
}
