// A host window on a real X server: the toolbar's shape equals what it paints, the host keeps
// the clicks and pixels around it, and real input arrives both as message records and at the host.
#include "Compat/QtCompat.h"

#include "Platform/NativeEventFilter.h"
#include "Platform/NativeWindows.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QWinWidget.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextEdit>
#include <QWindow>

#include <algorithm>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

const QColor hostColour(40, 160, 90);

// A host window in one flat colour that records what Qt delivers to it.
struct HostWindow : QWidget
{
    HostWindow()
    {
        setAutoFillBackground(true);
        setPalette(QPalette(hostColour));
        setMouseTracking(true);
        setGeometry(40, 30, 1000, 700);
    }
    std::vector<QPoint> presses;
    std::vector<int> keys;
    void mousePressEvent(QMouseEvent* event) override { presses.push_back(MiniToolbars::QtCompat::globalPoint(event)); }
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

bool clickAt(const QPoint& p)
{
    return xdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1" });
}

// Toolbars of a real controller over an active host window, with real input through xdotool.
class HostWindowTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs an X server and xdotool";
        ControllerFixture::SetUp();
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(host.geometry());
    }
    void TearDown() override
    {
        ControllerFixture::TearDown();
        NativeEventFilter::instance().setHandler(nullptr);
        NativeEventFilter::instance().remove();
    }
    // Three buttons that fade and one that does not, at 400, 300.
    QmtbView* showToolbar()
    {
        toolbar = add(makeToolbar(3));
        toolbar->addItem(makeButton(L"Keep", false));
        EXPECT_TRUE(controller->showToolbar(toolbar, 400, 300, &observer));
        QmtbView* window = windowOf(toolbar);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        // Let the compositor put the translucent pixels on screen.
        QTest::qWait(400);
        return window;
    }

    HostWindow host;
    MiniToolbar* toolbar = nullptr;
};

} // namespace

TEST_F(HostWindowTest, shouldShapeTheWindowToThePaintedRegionAndLetOtherClicksThrough)
{
    // Every pixel the toolbar changes on screen lies in the mask, which fits them tightly; after a move the mask
    // covers the new place only and the old place shows the host again; real clicks outside the mask reach the host.
    QTest::qWait(300);
    const QImage before = grabScreen();
    QmtbView* window = showToolbar();
    const QImage after = grabScreen();
    ASSERT_EQ(before.size(), after.size());
    const QRegion mask = screenShape(window);
    EXPECT_EQ(window->placement().paintedRegion(), mask);
    QRect changed;
    int outside = 0;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
                outside += !mask.contains(QPoint(x, y));
            }
        }
    }
    EXPECT_EQ(0, outside) << "pixels changed outside the mask";
    ASSERT_FALSE(changed.isEmpty());
    const QRect box = mask.boundingRect();
    EXPECT_LE(std::max({ changed.left() - box.left(), changed.top() - box.top(), box.right() - changed.right(), box.bottom() - changed.bottom() }),
              QmtbPlacement::penMargin + 1);
    // The host's colour survives right next to the toolbar: no black desktop.
    EXPECT_EQ(hostColour.rgb(), after.pixel(box.right() + 3, box.center().y()));

    controller->moveToolbar(toolbar, 200, 150, true);
    QTest::qWait(400);
    EXPECT_EQ(box.translated(200, 150), screenShape(window).boundingRect());
    EXPECT_EQ(hostColour.rgb(), grabScreen().pixel(box.center()));

    // A real click outside the toolbar, or on an item hidden while only no-fade items show, reaches the host; one on a button clicks it.
    const QPoint beside(300, 600);
    ASSERT_FALSE(screenShape(window).contains(beside));
    ASSERT_TRUE(clickAt(beside));
    ASSERT_TRUE(eventually([&] { return host.presses.size() == size_t(1); }));
    EXPECT_EQ(beside, host.presses[0]);

    ASSERT_TRUE(clickAt(centreOf(toolbar, 1)));
    ASSERT_TRUE(eventually([&] { return itemSink.count(MTBxItemEvents::Clicked) == 1; }));
    EXPECT_EQ(size_t(1), host.presses.size());

    toolbar->setDisplayOnlyNoFadeItems(true);
    QTest::qWait(200);
    const QPoint hidden = centreOf(toolbar, 0);
    EXPECT_FALSE(screenShape(window).contains(hidden));
    ASSERT_TRUE(clickAt(hidden));
    ASSERT_TRUE(eventually([&] { return host.presses.size() == size_t(2); }));
    EXPECT_EQ(hidden, host.presses[1]);
    EXPECT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
}

TEST_F(HostWindowTest, RealInputArrivesAsRecordsAndStillReachesTheWindow)
{
    // A move and a click give the matching records (keys: the next test), and the host gets them too; the server
    // names the host's window, and none over the bare root; a foreign window is its own transient target.
    std::vector<NativeMessage> records;
    NativeEventFilter& filter = NativeEventFilter::instance();
    filter.install();
    filter.setHandler([&](const QByteArray& eventType, void* message) {
        if (auto record = filter.toMessage(eventType, message))
            records.push_back(*record);
        return false;
    });
    const auto find = [&](UINT message, WPARAM wParam) -> const NativeMessage* {
        const auto it = std::find_if(records.rbegin(), records.rend(), [&](const NativeMessage& m) {
            return m.message == message && (message == WM_MOUSEMOVE || m.wParam == wParam);
        });
        return it == records.rend() ? nullptr : &*it;
    };
    const HWND handle = reinterpret_cast<HWND>(host.winId());
    ASSERT_TRUE(clickAt(QPoint(260, 210)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return find(WM_LBUTTONUP, 0) && host.presses.size() == 1; }));
    EXPECT_EQ(host.presses[0], QPoint(260, 210));
    EXPECT_EQ(find(WM_MOUSEMOVE, 0)->pt, QPoint(260, 210));
    EXPECT_EQ(find(WM_MOUSEMOVE, 0)->window, handle);
    EXPECT_EQ(find(WM_LBUTTONUP, 0)->pt, QPoint(260, 210));
    EXPECT_EQ(find(WM_LBUTTONUP, 0)->lParam, pointToLParam(220, 180));
    EXPECT_TRUE(find(WM_LBUTTONDOWN, MK_LBUTTON));

    EXPECT_EQ(NativeWindows::windowFromPoint(host.geometry().center()), handle);
    EXPECT_EQ(NativeWindows::windowFromPoint(QPoint(5, 5)), nullptr);
    QWindow foreign;
    foreign.create();
    QWinWidget wrapper(reinterpret_cast<HWND>(foreign.winId()));
    EXPECT_EQ(nullptr, wrapper.hostWindow());
    ASSERT_NE(nullptr, wrapper.transientTarget());
    EXPECT_EQ(foreign.winId(), wrapper.transientTarget()->winId());
}

TEST_F(HostWindowTest, TheHostKeepsItsInputWhileTheToolbarFollowsTheRealPointer)
{
    // Real input with a toolbar shown: the host gets moves and the toolbar fades by them alone; a move onto it reaches
    // another toolbar; keys typed over it give its key events and reach the host, whose Escape shortcut fires; a
    // drag-select in a text field ends at its release; a drag begun on the toolbar ends on it far outside.
    QTextEdit edit(QStringLiteral("alpha beta gamma"), &host);
    edit.setFocusPolicy(Qt::NoFocus), edit.setGeometry(20, 500, 400, 150), edit.show();
    int escapes = 0;
    QObject::connect(new QShortcut(Qt::Key_Escape, &edit), &QShortcut::activated, [&] { ++escapes; });
    QmtbView* window = showToolbar();
    EventCounter hostMoves(&host, QEvent::MouseMove), otherMoves(windowOf(shown(1, 100, 100)), QEvent::MouseMove);
    const auto moveTo = [](QPoint p) { return xdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()) }); };
    ASSERT_TRUE(moveTo(QPoint(900, 650)));
    EXPECT_TRUE(eventually([&] { return hostMoves.count > 0 && !window->fade().isFadedIn(); }));
    const int otherBefore = otherMoves.count;
    // The item that does not fade, which takes input while the others are faded out.
    const QPoint keep = centreOf(toolbar, 3);
    ASSERT_TRUE(moveTo(keep) && xdotool({ "key", "a", "Escape" }));
    EXPECT_TRUE(eventually([&] { return toolbarSink.types.size() == 4u && escapes == 1 && host.keys.size() == 1u; }));
    const std::intptr_t up = 1 | KeyLParamWasDown | KeyLParamReleased;
    EXPECT_EQ((std::vector<std::pair<std::intptr_t, std::intptr_t>>{ { VK_A, 1 }, { VK_A, up }, { VK_ESCAPE, 1 }, { VK_ESCAPE, up } }), toolbarSink.args);
    EXPECT_TRUE(window->fade().isFadedIn() && otherMoves.count > otherBefore);

    const auto textPoint = [&](int position) {
        QTextCursor cursor(edit.document());
        cursor.setPosition(position);
        return edit.viewport()->mapToGlobal(edit.cursorRect(cursor).center());
    };
    ASSERT_TRUE(moveTo(textPoint(0)) && xdotool({ "mousedown", "1" }) && moveTo(textPoint(10)) && xdotool({ "mouseup", "1" }) && moveTo(textPoint(16)));
    QTest::qWait(300);
    EXPECT_EQ(QStringLiteral("alpha beta"), edit.textCursor().selectedText());

    toolbarSink.types.clear();
    ASSERT_TRUE(moveTo(keep) && xdotool({ "mousedown", "1" }) && moveTo(keep + QPoint(300, 200)) && xdotool({ "mouseup", "1" }));
    EXPECT_TRUE(eventually([&] { return toolbarSink.types == std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved }; }));
    EXPECT_EQ(QPoint(700, 500), origin(toolbar));
    EXPECT_TRUE(host.presses.empty() && itemSink.count(MTBxItemEvents::Clicked) == 0);
}
