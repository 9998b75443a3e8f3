#include "DemoTour.h"

#include "DemoEditor.h"
#include "DemoSeat.h"

#include <MiniToolbars/MiniToolbars.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTextEdit>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

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

DemoTour::~DemoTour() = default;

QString DemoTour::selectedPhrase()
{
    return QStringLiteral("the keyboard stays with the editor");
}

int DemoTour::run()
{
    m_seat = DemoSeat::create(m_editor.window());
    if (!m_seat)
        return 1;
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

            if (!showToolbar(settings))
                return 1;
            // Bold as a click would make it: the action triggers and formats the selection.
            if (QAction* bold = m_editor.action(QStringLiteral("bold")); bold && !bold->isChecked())
                bold->trigger();
            waitFor(100);

            const QRect toolbar = m_editor.toolbarRect();
            // Just below the toolbar, over the text: near enough to keep it opaque.
            // The pointer really moves, and the toolbar follows it by itself.
            const QPoint near(toolbar.center().x(), toolbar.bottom() + 3);
            m_seat->moveTo(near);
            waitFor(500);
            const QString prefix = QStringLiteral("%1-%2-").arg(QLatin1String(theme.name)).arg(scale);
            written = shoot(prefix + QStringLiteral("opaque.png")) && written;

            // Resting on Bold until its tooltip shows.
            m_seat->moveTo(itemRect(QStringLiteral("bold")).center());
            waitFor(MiniToolbars::GetMTBToolTipDelay() + 400);
            if (!QToolTip::isVisible()) {
                std::fprintf(stderr, "Bold's tooltip did not show (%s, scale %d)\n", theme.name, scale);
                return 1;
            }
            written = shoot(prefix + QStringLiteral("tooltip.png")) && written;

            // A click on Colour's arrow opens its menu; Escape closes it again.
            m_seat->moveTo(near);
            waitFor(300);
            const QRect colour = itemRect(QStringLiteral("colour"));
            const QPoint arrow(colour.right() - colour.height() / 3, colour.center().y());
            m_seat->moveTo(arrow);
            waitFor(100);
            m_seat->click(arrow);
            waitFor(400);
            QWidget* menu = QApplication::activePopupWidget();
            if (!menu) {
                std::fprintf(stderr, "The colour menu did not open (%s, scale %d)\n", theme.name, scale);
                return 1;
            }
            written = shoot(prefix + QStringLiteral("menu.png")) && written;
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(menu, &escape);
            m_seat->moveTo(near);
            waitFor(300);

            // Far away in the editor's bottom-right corner: the toolbar fades out.
            const QRect viewport = m_editor.viewportRect();
            m_seat->moveTo(viewport.bottomRight() - QPoint(20, 20));
            waitFor(1200);
            written = shoot(prefix + QStringLiteral("faded.png")) && written;

            // And back: it becomes opaque again.
            m_seat->moveTo(near);
            waitFor(400);

            // A press on the font-size box's arrow opens its list; Escape closes it.
            const QRect sizeBox = itemRect(QStringLiteral("fontSize"));
            const QPoint sizeArrow(sizeBox.right() - sizeBox.height() / 3, sizeBox.center().y());
            m_seat->moveTo(sizeArrow);
            waitFor(100);
            m_seat->click(sizeArrow);
            waitFor(400);
            written = shoot(prefix + QStringLiteral("list.png")) && written;
            // The list never takes the keyboard: it sees the editor's keys.
            pressKey(Qt::Key_Escape);
            waitFor(300);

            // Typing into the find entry marks every match in the text; Return keeps the search.
            if (MiniToolbars::MTBxDropDownEntry* find = m_editor.findEntry()) {
                m_seat->moveTo(near);
                waitFor(200);
                m_seat->moveTo(itemRect(QStringLiteral("find")).center());
                find->setFocus(true);
                waitFor(200);
                typeText(QStringLiteral("the\r"));
                waitFor(400);
                written = shoot(prefix + QStringLiteral("find.png")) && written;
            }

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

    // The solid look over the same text, in each theme at scale 1.
    for (const auto& theme : themes) {
        DemoSettings settings = m_editor.settings();
        settings.theme = theme.theme;
        settings.scalingFactor = 1.0f;
        settings.solidLook = true;
        if (!showToolbar(settings))
            return 1;
        const QRect toolbar = m_editor.toolbarRect();
        m_seat->moveTo(QPoint(toolbar.center().x(), toolbar.bottom() + 3));
        waitFor(500);
        written = shoot(QStringLiteral("%1-1-solid.png").arg(QLatin1String(theme.name))) && written;
        // Far away: the panel fades with the items, and stays under Close, which never fades.
        m_seat->moveTo(m_editor.viewportRect().bottomRight() - QPoint(20, 20));
        waitFor(1200);
        written = shoot(QStringLiteral("%1-1-solid-faded.png").arg(QLatin1String(theme.name))) && written;
    }
    DemoSettings translucent = m_editor.settings();
    translucent.solidLook = false;
    m_editor.applySettings(translucent);
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
    const QString path = QDir(m_directory).filePath(name);
    if (!m_seat->screenshot().save(path)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Starts from a cleared selection, so that every round shows a fresh toolbar.
bool DemoTour::showToolbar(const DemoSettings& settings)
{
    m_editor.selectText(0, 0);
    m_editor.applySettings(settings);
    waitFor(100);
    const int start = m_editor.textEdit()->toPlainText().indexOf(selectedPhrase());
    m_editor.selectText(start, selectedPhrase().size());
    waitFor(300);
    if (m_editor.toolbarRect().isValid())
        return true;
    std::fprintf(stderr, "The toolbar did not show\n");
    return false;
}

QRect DemoTour::itemRect(const QString& id) const
{
    MiniToolbars::MTBxItem* item = m_editor.item(id);
    float top = 0, left = 0, bottom = 0, right = 0;
    if (!item || !item->getBounds(top, left, bottom, right))
        return QRect();
    // Item bounds are in the toolbar's layout space: from its origin, y up.
    int x = 0, y = 0;
    m_editor.controller()->getToolbarPosition(m_editor.toolbar(), x, y);
    return QRect(QPoint(x + qRound(left), y - qRound(top)), QPoint(x + qRound(right), y - qRound(bottom)));
}

// Keys as the focused widget would get them from the keyboard.
void DemoTour::typeText(const QString& text)
{
    for (const QChar c : text) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            if (QWidget* target = QApplication::focusWidget()) {
                // A printable character's key code is its upper-case form.
                const int code = c == QLatin1Char('\r') ? int(Qt::Key_Return) : int(c.toUpper().unicode());
                QKeyEvent key(type, code, Qt::NoModifier, c);
                QCoreApplication::sendEvent(target, &key);
            }
        }
    }
}
