#include "DemoSeat.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLocalSocket>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

// The X server moves the pointer and shows the whole screen.
class X11Seat final : public DemoSeat
{
public:
    void moveTo(const QPoint& globalPos) override { QCursor::setPos(globalPos); }

    // A click as the window under the pointer gets it: the demo's X tests
    // press real buttons, the tour only needs to open a menu and a list.
    void click(const QPoint& globalPos) override
    {
        QCursor::setPos(globalPos);
        QWidget* target = QApplication::widgetAt(globalPos);
        if (!target)
            return;
        const QPoint local = target->mapFromGlobal(globalPos);
        const QPoint inWindow = target->window()->mapFromGlobal(globalPos);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
            QCoreApplication::postEvent(
                target, new QMouseEvent(type, local, inWindow, globalPos, Qt::LeftButton, held, Qt::NoModifier));
        }
    }

    QImage screenshot() override
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->grabWindow(0).toImage() : QImage();
    }
};

// The Weston test seat takes pointer input in output pixels, and Weston puts
// the host's window where it likes: the first move finds where, from the
// position Qt reports for a pointer put in the middle of the output, which the
// demo's window always covers.
class WestonSeat final : public DemoSeat, private QObject
{
public:
    WestonSeat(QWidget* hostWindow, const QString& controlPath)
        : m_host(hostWindow)
    {
        m_control.connectToServer(controlPath);
        m_control.waitForConnected(2000);
    }

    bool isConnected() const { return m_control.state() == QLocalSocket::ConnectedState; }

    void moveTo(const QPoint& globalPos) override
    {
        if (findHostWindow())
            command("move " + point(outputPos(globalPos)));
    }

    void click(const QPoint& globalPos) override
    {
        moveTo(globalPos);
        // 272 is evdev's left button.
        command("button 272 1");
        command("button 272 0");
    }

    QImage screenshot() override
    {
        const QString path = QDir::temp().filePath(QStringLiteral("minitoolbars-demo-%1.ppm").arg(QCoreApplication::applicationPid()));
        if (!command("screenshot " + QFile::encodeName(path)))
            return QImage();
        QImage image(path, "PPM");
        QFile::remove(path);
        return image;
    }

private:
    static QByteArray point(const QPoint& p) { return QByteArray::number(p.x()) + ' ' + QByteArray::number(p.y()); }

    QPoint outputPos(const QPoint& globalPos) const { return m_windowOnOutput + m_host->mapFromGlobal(globalPos); }

    bool findHostWindow()
    {
        if (m_located)
            return true;
        if (!m_host || !m_host->windowHandle() || !QGuiApplication::primaryScreen())
            return false;
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        qApp->installEventFilter(this);
        // Two moves: the second is a plain motion inside the window.
        command("move " + point(middle - QPoint(1, 1)));
        command("move " + point(middle));
        QEventLoop loop;
        QTimer::singleShot(300, &loop, &QEventLoop::quit);
        loop.exec();
        qApp->removeEventFilter(this);
        if (!m_located)
            std::fprintf(stderr, "The pointer in the middle of the output did not reach the demo's window\n");
        return m_located;
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::MouseMove && widget && m_host && widget->window() == m_host) {
            const auto* move = static_cast<QMouseEvent*>(event);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
            const QPoint local = move->position().toPoint();
#else
            const QPoint local = move->pos();
#endif
            const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
            m_windowOnOutput = middle - widget->mapTo(m_host, local);
            m_located = true;
        }
        return false;
    }

    // One line to the seat, and its answer: true on "ok".
    bool command(const QByteArray& line)
    {
        m_control.write(line + '\n');
        m_control.flush();
        while (!m_control.canReadLine()) {
            if (!m_control.waitForReadyRead(5000)) {
                std::fprintf(stderr, "The Weston test seat did not answer '%s'\n", line.constData());
                return false;
            }
        }
        const QByteArray answer = m_control.readLine().trimmed();
        if (answer != "ok")
            std::fprintf(stderr, "The Weston test seat refused '%s': %s\n", line.constData(), answer.constData());
        return answer == "ok";
    }

    QPointer<QWidget> m_host;
    QLocalSocket m_control;
    QPoint m_windowOnOutput;
    bool m_located = false;
};

} // namespace

std::unique_ptr<DemoSeat> DemoSeat::create(QWidget* hostWindow)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        return std::make_unique<X11Seat>();
    const QString control = QString::fromLocal8Bit(qgetenv("MTB_WESTON_CONTROL"));
    if (!control.isEmpty()) {
        auto seat = std::make_unique<WestonSeat>(hostWindow, control);
        if (seat->isConnected())
            return seat;
    }
    std::fprintf(stderr, "On Wayland the tour runs only under the headless Weston of tests/wayland/run-under-weston.sh\n");
    return nullptr;
}
