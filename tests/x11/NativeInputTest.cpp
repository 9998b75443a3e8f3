// Real X input through the process-wide filter: translated message records,
// nothing consumed, and the window calls against the X server.
#include "NativeEventFilter.h"
#include "NativeWindows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace MiniToolbars;

namespace {

// What Qt delivers to the test's own window.
class InputWindow : public QWidget
{
public:
    InputWindow()
    {
        setMouseTracking(true);
        setGeometry(200, 150, 300, 200);
    }
    std::vector<QPoint> moves;
    int releases = 0;
    std::vector<int> keys;

protected:
    void mouseMoveEvent(QMouseEvent* event) override { moves.push_back(event->pos()); }
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

class NativeInputTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs xdotool";
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        NativeEventFilter& filter = NativeEventFilter::instance();
        filter.install();
        filter.setHandler([this, &filter](const QByteArray& eventType, void* message) {
            if (auto record = filter.toMessage(eventType, message))
                records.push_back(*record);
            return false;
        });
    }
    void TearDown() override
    {
        NativeEventFilter::instance().setHandler(nullptr);
        NativeEventFilter::instance().remove();
    }
    const NativeMessage* find(UINT message, WPARAM wParam) const
    {
        const auto it = std::find_if(records.begin(), records.end(), [&](const NativeMessage& m) {
            return m.message == message && (message == WM_MOUSEMOVE || m.wParam == wParam);
        });
        return it == records.end() ? nullptr : &*it;
    }

    InputWindow window;
    std::vector<NativeMessage> records;
};

} // namespace

TEST_F(NativeInputTest, RealInputArrivesAsRecordsAndStillReachesTheWindow)
{
    // A move, a click and three keys over the window give the matching records, and the window gets all of them too.
    const HWND handle = reinterpret_cast<HWND>(window.winId());
    ASSERT_TRUE(xdotool({"mousemove", "260", "210"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return find(WM_MOUSEMOVE, 0) && !window.moves.empty(); }));
    const auto lastMove = std::find_if(records.rbegin(), records.rend(),
                                       [](const NativeMessage& m) { return m.message == WM_MOUSEMOVE; });
    EXPECT_EQ(lastMove->pt, QPoint(260, 210));
    EXPECT_EQ(lastMove->window, handle);
    EXPECT_EQ(window.moves.back(), QPoint(60, 60));

    ASSERT_TRUE(xdotool({"click", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return find(WM_LBUTTONUP, 0) && window.releases == 1; }));
    const NativeMessage* release = find(WM_LBUTTONUP, 0);
    EXPECT_EQ(release->pt, QPoint(260, 210));
    EXPECT_EQ(release->lParam, pointToLParam(60, 60));
    EXPECT_TRUE(find(WM_LBUTTONDOWN, MK_LBUTTON));

    ASSERT_TRUE(xdotool({"key", "a", "Escape", "F4"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return find(WM_KEYUP, VK_F4) && window.keys.size() == 3; }));
    for (WPARAM key : {VK_A, VK_ESCAPE, VK_F4}) {
        const NativeMessage* down = find(WM_KEYDOWN, key);
        const NativeMessage* up = find(WM_KEYUP, key);
        ASSERT_TRUE(down && up) << key;
        EXPECT_LT(down, up);
        EXPECT_EQ(down->lParam, 1);
    }
    EXPECT_EQ(window.keys, (std::vector<int>{Qt::Key_A, Qt::Key_Escape, Qt::Key_F4}));
}

TEST_F(NativeInputTest, ServerFindsAndMapsTheWindow)
{
    // The X server names the test's window at its centre and maps screen points into it; over the bare root there is none.
    const HWND handle = reinterpret_cast<HWND>(window.winId());
    const QPoint centre = window.geometry().center();
    EXPECT_EQ(NativeWindows::windowFromPoint(centre), handle);
    EXPECT_EQ(NativeWindows::windowFromPoint(QPoint(5, 5)), nullptr);
    EXPECT_EQ(NativeWindows::screenToClient(handle, centre), window.mapFromGlobal(centre));
}
