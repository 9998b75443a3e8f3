// Native input as message records: virtual keys, packed points, X events
// built in memory, and the window calls on Qt's own windows.
#include "Platform/NativeWindows.h"
#include "Platform/XcbMessageAdapter.h"
#include "Qt/QmtbNativeInput.h"
#include "support/WindowTestSupport.h"

#include <QMouseEvent>

#include <tuple>

#if __has_include(<xcb/xinput.h>)
#include <xcb/xcb.h>
#include <xcb/xinput.h>
#define MTB_TEST_XCB 1
#endif

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

// Every key the toolbar may see maps to its Windows code; other keysyms map to none.
TEST(NativeMessageTest, KeysymsMapToVirtualKeys)
{
    struct Row { std::uint32_t keysym; WPARAM code; bool extended; };
    const Row rows[] = {
        {'a', VK_A, false}, {'A', VK_A, false}, {'z', 0x5A, false}, {'0', VK_0, false}, {'9', 0x39, false},
        {' ', VK_SPACE, false}, {0xffbe, VK_F1, false}, {0xffc1, VK_F4, false}, {0xffd5, VK_F24, false},
        {0xff1b, VK_ESCAPE, false}, {0xff0d, VK_RETURN, false}, {0xff09, VK_TAB, false}, {0xfe20, VK_TAB, false},
        {0xff08, VK_BACK, false}, {0xffff, VK_DELETE, true}, {0xff63, VK_INSERT, true}, {0xff50, VK_HOME, true},
        {0xff57, VK_END, true}, {0xff55, VK_PRIOR, true}, {0xff56, VK_NEXT, true}, {0xff51, VK_LEFT, true},
        {0xff52, VK_UP, true}, {0xff53, VK_RIGHT, true}, {0xff54, VK_DOWN, true}, {0xffe1, VK_SHIFT, false},
        {0xffe2, VK_SHIFT, false}, {0xffe3, VK_CONTROL, false}, {0xffe4, VK_CONTROL, true},
        {0xffe9, VK_MENU, false}, {0xffea, VK_MENU, true}, {0xffeb, VK_LWIN, true}, {0xffec, VK_RWIN, true},
        {0xffe7, VK_LWIN, true}, {0xffe8, VK_RWIN, true}, {0xff8d, VK_RETURN, true},
    };
    for (const Row& row : rows) {
        const auto key = XcbMessageAdapter::virtualKeyFromKeysym(row.keysym);
        ASSERT_TRUE(key) << std::hex << row.keysym;
        EXPECT_EQ(std::make_pair(key->code, key->extended), std::make_pair(row.code, row.extended)) << std::hex << row.keysym;
    }
    for (std::uint32_t none : {0u, 0x5bu, 0xffbdu, 0xffd6u, 0xfe02u, 0x1000000u})
        EXPECT_FALSE(XcbMessageAdapter::virtualKeyFromKeysym(none)) << std::hex << none;
}

// Points pack into lParam as two signed 16-bit words and come back, negative ones included.
TEST(NativeMessageTest, PointsRoundTripThroughLParam)
{
    for (const QPoint& p : { QPoint(0, 0), QPoint(-1, 2), QPoint(1279, -800), QPoint(-32768, 32767), QPoint(32767, -32768) }) {
        const LPARAM packed = pointToLParam(p.x(), p.y());
        EXPECT_EQ(static_cast<unsigned long>(packed) >> 32, 0u) << "high half must stay clear";
        EXPECT_EQ(QPoint(xFromLParam(packed), yFromLParam(packed)), p);
    }
    EXPECT_EQ(pointToLParam(-1, 2), 0x0002FFFFL);
}

#ifdef MTB_TEST_XCB

namespace {

constexpr std::uint32_t windowId = 0x2a00007;
constexpr std::uint8_t inputOpcode = 131;

// Keycode 38 is a letter key, 10 an AZERTY digit key, 9 Escape.
XcbMessageAdapter testAdapter()
{
    return XcbMessageAdapter([](std::uint8_t keycode, int column) -> std::uint32_t {
        const std::uint32_t keysyms[][2] = { {'a', 'A'}, {'&', '1'}, {0xff1b, 0} };
        const int row = keycode == 38 ? 0 : keycode == 10 ? 1 : keycode == 9 ? 2 : -1;
        return row >= 0 && column >= 0 && column < 2 ? keysyms[row][column] : 0;
    }, inputOpcode);
}

} // namespace

// Core pointer events become mouse messages with the button state after the event; key events give virtual keys through the keyboard mapping, with Windows' key lParam.
TEST(NativeMessageTest, CoreEventsBecomeMessages)
{
    struct Row { std::uint8_t type; std::uint8_t detail; std::uint16_t state; UINT message; WPARAM wParam; LPARAM lParam; };
    const LPARAM at = pointToLParam(5, -6);
    const auto up = static_cast<LPARAM>(1ul | (1ul << 30) | (1ul << 31));
    const Row rows[] = {
        {XCB_MOTION_NOTIFY, 0, XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_SHIFT, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at},
        {XCB_BUTTON_PRESS, 1, XCB_KEY_BUT_MASK_CONTROL, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at},
        {XCB_BUTTON_RELEASE, 1, XCB_KEY_BUT_MASK_BUTTON_1 | XCB_KEY_BUT_MASK_CONTROL, WM_LBUTTONUP, MK_CONTROL, at},
        {XCB_BUTTON_RELEASE, 2, XCB_KEY_BUT_MASK_BUTTON_2 | XCB_KEY_BUT_MASK_BUTTON_1, WM_MBUTTONUP, MK_LBUTTON, at},
        {XCB_BUTTON_RELEASE | 0x80, 3, XCB_KEY_BUT_MASK_BUTTON_3, WM_RBUTTONUP, 0, at},
        {XCB_KEY_PRESS, 38, 0, WM_KEYDOWN, VK_A, 1},
        {XCB_KEY_RELEASE, 38, 0, WM_KEYUP, VK_A, up},
        {XCB_KEY_PRESS, 10, 0, WM_KEYDOWN, '1', 1},
        {XCB_KEY_RELEASE, 9, 0, WM_KEYUP, VK_ESCAPE, up},
        // The wheel and an unmapped key give nothing.
        {XCB_BUTTON_RELEASE, 4, 0, 0, 0, 0}, {XCB_KEY_PRESS, 200, 0, 0, 0, 0},
    };
    XcbMessageAdapter adapter = testAdapter();
    // Key and button events share one layout.
    xcb_button_press_event_t event = {};
    event.event = windowId, event.root_x = -20, event.root_y = 300, event.event_x = 5, event.event_y = -6;
    for (const Row& row : rows) {
        event.response_type = row.type, event.detail = row.detail, event.state = row.state;
        const auto message = adapter.translate("xcb_generic_event_t", &event);
        ASSERT_EQ(bool(message), row.message != 0) << int(row.type) << " " << int(row.detail);
        if (message)
            EXPECT_EQ(std::make_tuple(message->message, message->wParam, message->lParam, message->window, message->pt),
                      std::make_tuple(row.message, row.wParam, row.lParam, reinterpret_cast<HWND>(quintptr(windowId)), QPoint(-20, 300)));
    }
    event.response_type = XCB_MOTION_NOTIFY; // a foreign event type gives nothing
    EXPECT_FALSE(adapter.translate("windows_generic_MSG", &event));
}

// XInput 2 pointer events, as Qt receives them, carry fixed-point positions and a button mask.
TEST(NativeMessageTest, InputExtensionEventsBecomeMouseMessages)
{
    struct Buffer { xcb_input_button_press_event_t event; std::uint32_t buttons; } buffer = {};
    xcb_input_button_press_event_t& e = buffer.event;
    e.response_type = XCB_GE_GENERIC, e.extension = inputOpcode, e.event_type = XCB_INPUT_BUTTON_RELEASE, e.detail = 1, e.event = windowId;
    e.root_x = -7 * 65536 + 32768, e.root_y = 40 * 65536, e.event_x = 3 * 65536, e.event_y = 4 * 65536; // root x is -6.5
    e.buttons_len = 1, e.mods.effective = XCB_KEY_BUT_MASK_SHIFT, buffer.buttons = (1u << 1) | (1u << 3); // left and right held before the release
    XcbMessageAdapter adapter = testAdapter();
    auto message = adapter.translate(&buffer);
    ASSERT_TRUE(message);
    EXPECT_EQ(std::make_tuple(message->message, message->wParam, message->pt, message->lParam),
              std::make_tuple(UINT(WM_LBUTTONUP), WPARAM(MK_RBUTTON | MK_SHIFT), QPoint(-7, 40), pointToLParam(3, 4)));
    e.event_type = XCB_INPUT_MOTION;
    message = adapter.translate(&buffer);
    ASSERT_TRUE(message);
    EXPECT_EQ(std::make_pair(message->message, message->wParam), std::make_pair(UINT(WM_MOUSEMOVE), WPARAM(MK_LBUTTON | MK_RBUTTON | MK_SHIFT)));
    e.extension = inputOpcode + 1;
    EXPECT_FALSE(adapter.translate(&buffer));
}

#endif

// Records left presses with only the left button down.
struct PressRecorder : QWidget
{
    std::vector<QPoint> presses;
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && event->buttons() == Qt::LeftButton)
            presses.push_back(event->pos());
    }
};

// A Qt window is found at its centre, maps screen points, and gets a posted press where lParam says.
TEST(NativeMessageTest, WindowCallsReachQtWindows)
{
    PressRecorder window;
    window.setGeometry(100, 120, 200, 150), window.show();
    const HWND handle = reinterpret_cast<HWND>(window.winId());
    const QPoint centre = window.geometry().center();
    EXPECT_EQ(NativeWindows::windowFromPoint(centre), handle);
    EXPECT_EQ(NativeWindows::screenToClient(handle, centre), window.mapFromGlobal(centre));
    EXPECT_FALSE(NativeWindows::screenToClient(nullptr, centre));
    EXPECT_TRUE(NativeWindows::postMessage(handle, WM_LBUTTONDOWN, MK_LBUTTON, pointToLParam(10, 20)));
    EXPECT_FALSE(NativeWindows::postMessage(handle, WM_KEYDOWN, VK_A, 1));
    EXPECT_TRUE(window.presses.empty()) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(window.presses, std::vector<QPoint>{ QPoint(10, 20) });
    // Qt counts the button as down until a release comes; the tests after this one start with it up.
    EXPECT_TRUE(NativeWindows::postMessage(handle, WM_LBUTTONUP, 0, pointToLParam(10, 20)));
    QCoreApplication::processEvents();
    EXPECT_EQ(Qt::NoButton, QGuiApplication::mouseButtons());
}

using NativeInputTest = ControllerFixture;

// Native input while two toolbars show: each gets one synthetic move per native move, whichever window it was addressed to, never forwarded to the host; moves fade; a release whose press Qt has not delivered yet is only a move; a drag begun on a toolbar follows native moves from 6 px on as the observer allows, and ends at a native release far outside. The host keeps all (keys: HostWindowTest).
TEST_F(NativeInputTest, ReachesEveryToolbarOnceAndTheHostKeepsIt)
{
    MiniToolbar* a = shown(2, 300, 300);
    QmtbView *windowA = windowOf(a), *windowB = windowOf(shown(2, 300, 400));
    QWidget host;
    host.setGeometry(600, 500, 200, 100), host.setMouseTracking(true), host.show();
    EventCounter movesA(windowA, QEvent::MouseMove), movesB(windowB, QEvent::MouseMove), hostMoves(&host, QEvent::MouseMove);
    const QPoint overA = centreOf(a, 0), away(700, 550);
    const auto send = [](UINT message, QPoint pt, WPARAM wParam = 0) { return QmtbNativeInput::filterMessage(NativeMessage{ nullptr, message, wParam, 0, pt }); };
    const auto state = [&] { return std::make_tuple(movesA.count, movesB.count, hostMoves.count, windowA->fade().isFadedIn(), windowB->fade().isFadedIn()); };
    EXPECT_FALSE(send(WM_MOUSEMOVE, away));
    EXPECT_EQ(std::make_tuple(1, 1, 0, false, false), state());
    const NativeMessage toA{ reinterpret_cast<HWND>(windowA->winId()), WM_MOUSEMOVE, 0, 0, overA };
    EXPECT_FALSE(QmtbNativeInput::filterMessage(toA) || windowA->winEvent(toA));
    QTest::mouseMove(windowA->windowHandle(), windowA->placement().toLocal(overA));
    EXPECT_EQ(std::make_tuple(2, 2, 0, true, false), state());
    EventCounter releasesA(windowA, QEvent::MouseButtonRelease);
    EXPECT_FALSE(send(WM_LBUTTONUP, overA));
    EXPECT_TRUE(std::make_tuple(3, 3, 0, true, false) == state() && releasesA.count == 0);

    // The observer lets the first step through and zeroes the second.
    observer.onCallback = [&] { observer.vetoMoves = observer.moves.size() > 1; };
    QTest::mousePress(windowA->windowHandle(), Qt::LeftButton, {}, windowA->placement().toLocal(overA));
    for (const QPoint& step : { QPoint(3, 2), QPoint(3, 3), QPoint(250, 150) })
        send(WM_MOUSEMOVE, overA + step, MK_LBUTTON);
    send(WM_LBUTTONUP, overA + QPoint(250, 150));
    EXPECT_EQ((std::vector<QPoint>{ QPoint(3, 3), QPoint(247, 147) }), observer.moves);
    EXPECT_TRUE(origin(a) == QPoint(303, 303) && releasesA.count == 1 && itemSink.count(MTBxItemEvents::Clicked) == 0);
    EXPECT_EQ(std::vector<MTBxToolbarEvents::EventType>{ MTBxToolbarEvents::ToolbarMoved }, toolbarSink.types);
}
