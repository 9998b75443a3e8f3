#include "DemoTour.h"

#include "DemoEditor.h"

#include <MiniToolbars/Controller.h>
#include <MiniToolbars/MTBxItem.h>

#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

void waitFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

DemoTour::DemoTour(DemoEditor& editor, const QString& directory)
    : m_editor(editor)
    , m_directory(QDir(directory).absolutePath())
{
}

QString DemoTour::selectedPhrase()
{
    return QStringLiteral("the keyboard stays with the editor");
}

int DemoTour::run()
{
    if (!QDir().mkpath(m_directory)) {
        std::fprintf(stderr, "Cannot create %s\n", qPrintable(m_directory));
        return 1;
    }

    const struct {
        DemoSettings::Theme theme;
        const char* name;
    } themes[] = {{DemoSettings::Theme::Light, "light"}, {DemoSettings::Theme::Dark, "dark"}};
    const int scales[] = {1, 2};

    bool written = true;
    for (const auto& theme : themes) {
        for (const int scale : scales) {
            DemoSettings settings = m_editor.settings();
            settings.theme = theme.theme;
            settings.scalingFactor = static_cast<float>(scale);
            settings.autoFade = true;

            // Start from a cleared selection so that every round shows a fresh toolbar.
            m_editor.selectText(0, 0);
            m_editor.applySettings(settings);
            waitFor(100);
            const int start = m_editor.textEdit()->toPlainText().indexOf(selectedPhrase());
            m_editor.selectText(start, selectedPhrase().size());
            waitFor(300);
            // Checking Bold goes through the host's event sink, which makes the selection bold.
            if (MiniToolbars::MTBxItem* bold = m_editor.item(QStringLiteral("bold")))
                bold->setChecked(true, true);
            waitFor(100);

            const QRect toolbar = m_editor.toolbarRect();
            if (!toolbar.isValid()) {
                std::fprintf(stderr, "The toolbar did not show (%s, scale %d)\n", theme.name, scale);
                return 1;
            }
            // Just below the toolbar, over the text: near enough to keep it opaque.
            movePointer(QPoint(toolbar.center().x(), toolbar.bottom() + 3));
            waitFor(500);
            const QString prefix = QStringLiteral("%1-%2-").arg(QLatin1String(theme.name)).arg(scale);
            written = shoot(prefix + QStringLiteral("opaque.png")) && written;

            // Far away in the editor's bottom-right corner: the toolbar fades out.
            const QRect viewport = m_editor.viewportRect();
            movePointer(viewport.bottomRight() - QPoint(20, 20));
            waitFor(1200);
            written = shoot(prefix + QStringLiteral("faded.png")) && written;

            // And back: it becomes opaque again.
            movePointer(QPoint(toolbar.center().x(), toolbar.bottom() + 3));
            waitFor(400);

            // Once, the keyboard on the toolbar: the focus ring two items on, then back to the text.
            if (prefix == QLatin1String("light-1-") && m_editor.controller()->giveKeyboardTo(m_editor.toolbar())) {
                pressKey(Qt::Key_Right);
                pressKey(Qt::Key_Right);
                waitFor(200);
                written = shoot(QStringLiteral("keyboard.png")) && written;
                pressKey(Qt::Key_Escape);
            }
        }
    }
    m_editor.selectText(0, 0);

    std::printf("%s\n", qPrintable(m_directory));
    std::fflush(stdout);
    return written ? 0 : 1;
}

void DemoTour::pressKey(int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(m_editor.textEdit(), &press);
}

bool DemoTour::shoot(const QString& name)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QString path = QDir(m_directory).filePath(name);
    if (!screen || !screen->grabWindow(0).save(path)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void DemoTour::movePointer(const QPoint& globalPos)
{
    QCursor::setPos(globalPos);
    m_editor.pointerMovedTo(globalPos);
}
