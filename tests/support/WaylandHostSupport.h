#ifndef MINITOOLBARS_WAYLANDHOSTSUPPORT_H
#define MINITOOLBARS_WAYLANDHOSTSUPPORT_H

// Shared by the tests that run as clients of a headless Weston
// (tests/wayland/run-under-weston.sh): real input through the test seat that
// tests/wayland/weston-test-seat.c adds, screenshots of the output, and the
// host window found in them by its flat colour, since Weston places windows
// where it likes. Output pixels are logical pixels: the output's scale is 1.
// Qt's client-side decoration claims the content's outermost left and top
// pixels and three on the right and bottom: pointer input there never reaches
// the window's widgets.

#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <qpa/qplatformnativeinterface.h>

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstring>
#include <initializer_list>

namespace MiniToolbars {
namespace Testing {

inline wl_display* waylandDisplay()
{
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        return nullptr;
    return static_cast<wl_display*>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration(QByteArrayLiteral("wl_display")));
}

// The protocol error that closed the connection, or 0 while it is healthy.
inline int waylandConnectionError()
{
    wl_display* display = waylandDisplay();
    return display ? wl_display_get_error(display) : -1;
}

// Returns once the compositor has answered a request sent now and Qt has
// delivered every event that came before the answer.
inline bool roundTrip(int timeoutMs = 5000)
{
    wl_display* display = waylandDisplay();
    if (!display)
        return false;
    // The answer may come after a timeout: the flag outlives this call then.
    auto* done = new bool(false);
    static const wl_callback_listener listener = { [](void* data, wl_callback* callback, uint32_t) {
        *static_cast<bool*>(data) = true;
        wl_callback_destroy(callback);
    } };
    wl_callback_add_listener(wl_display_sync(display), &listener, done);
    wl_display_flush(display);
    if (!QTest::qWaitFor([done] { return *done; }, timeoutMs))
        return false;
    delete done;
    // Qt queues what it read before the answer; deliver it.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return true;
}

// The test seat's control socket: pointer and keyboard input in output
// pixels and evdev codes, and screenshots of the whole output. Every input
// call returns after Qt has delivered what the input caused.
class WestonSeat
{
public:
    WestonSeat()
    {
        const QByteArray path = qgetenv("MTB_WESTON_CONTROL");
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_fd >= 0 && ::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~WestonSeat()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    WestonSeat(const WestonSeat&) = delete;
    WestonSeat& operator=(const WestonSeat&) = delete;

    bool isConnected() const { return m_fd >= 0; }

    // Sends one command line and waits for Weston's answer; true when it is "ok".
    bool command(const QByteArray& line, int timeoutMs = 5000)
    {
        if (m_fd < 0)
            return false;
        const QByteArray request = line + '\n';
        if (::send(m_fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size())
            return false;
        QByteArray answer;
        QDeadlineTimer deadline(timeoutMs);
        while (!answer.endsWith('\n')) {
            pollfd readable { m_fd, POLLIN, 0 };
            if (::poll(&readable, 1, int(deadline.remainingTime())) <= 0)
                return false;
            char byte;
            if (::read(m_fd, &byte, 1) != 1)
                return false;
            answer += byte;
        }
        m_lastAnswer = answer.trimmed();
        return m_lastAnswer == "ok";
    }
    QByteArray lastAnswer() const { return m_lastAnswer; }

    bool movePointer(const QPoint& outputPos)
    {
        return command("move " + QByteArray::number(outputPos.x()) + ' ' + QByteArray::number(outputPos.y()))
            && roundTrip();
    }
    // Rests the pointer in the output's top-right corner, on the desktop
    // shell's panel, where no window is placed and a click starts nothing.
    bool parkPointer() { return movePointer(QPoint(QGuiApplication::primaryScreen()->size().width() - 1, 0)); }
    bool pressButton(int button = BTN_LEFT) { return buttonCommand(button, true) && roundTrip(); }
    bool releaseButton(int button = BTN_LEFT) { return buttonCommand(button, false) && roundTrip(); }
    bool click(const QPoint& outputPos, int button = BTN_LEFT)
    {
        return movePointer(outputPos) && buttonCommand(button, true) && buttonCommand(button, false) && roundTrip();
    }
    // Wheel clicks in Qt's sense: positive turns the wheel away from the user.
    bool wheel(const QPoint& outputPos, int steps)
    {
        return movePointer(outputPos) && command("axis vertical " + QByteArray::number(-steps)) && roundTrip();
    }
    bool pressKey(int key) { return keyCommand(key, true) && roundTrip(); }
    bool releaseKey(int key) { return keyCommand(key, false) && roundTrip(); }
    // Presses and releases each key in turn, like typing.
    bool typeKeys(std::initializer_list<int> keys)
    {
        for (const int key : keys) {
            if (!keyCommand(key, true) || !keyCommand(key, false))
                return false;
        }
        return roundTrip();
    }

    // The whole output as the compositor last painted it, cursor included; null on failure.
    QImage screenshot()
    {
        const QString path = QDir(QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"))).filePath(QStringLiteral("mtb-screenshot.ppm"));
        if (!command("screenshot " + QFile::encodeName(path)))
            return QImage();
        QImage image(path, "PPM");
        QFile::remove(path);
        return image.convertToFormat(QImage::Format_RGB32);
    }

private:
    bool buttonCommand(int button, bool pressed)
    {
        return command("button " + QByteArray::number(button) + (pressed ? " 1" : " 0"));
    }
    bool keyCommand(int key, bool pressed) { return command("key " + QByteArray::number(key) + (pressed ? " 1" : " 0")); }

    int m_fd = -1;
    QByteArray m_lastAnswer;
};

// The smallest rectangle holding every pixel of exactly this colour; null when there is none.
inline QRect colourBounds(const QImage& image, const QColor& colour)
{
    const QRgb wanted = colour.rgb();
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] == wanted) {
                left = qMin(left, x), right = qMax(right, x);
                top = qMin(top, y), bottom = qMax(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Where a window of a known size whose edges are one flat colour shows on the
// output, in output pixels, once it does: the pointer is parked first so its
// cursor cannot clip the area. Null after the timeout.
inline QRect locateWindow(WestonSeat& seat, const QColor& colour, const QSize& size, int timeoutMs = 5000)
{
    if (!seat.parkPointer())
        return QRect();
    QRect found;
    const bool shown = QTest::qWaitFor(
        [&] {
            found = colourBounds(seat.screenshot(), colour);
            return found.size() == size;
        },
        timeoutMs);
    return shown ? found : QRect();
}

} // namespace Testing
} // namespace MiniToolbars

#endif
