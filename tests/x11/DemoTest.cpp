// The demo host on a real X server: where its toolbar goes, whether the host
// keeps its pixels, clicks and keys around the toolbar, and how it fades.
#include "DemoEditor.h"
#include "DemoSettings.h"
#include "DemoTour.h"

#include <MiniToolbars/MiniToolbars.h>

#include <QApplication>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>


using namespace MiniToolbars;

namespace {

// Real X-level input (XTest underneath).
bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

class DemoHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs a real X server and xdotool (run under tests/x11/run-under-xvfb.sh)";
        m_editor = std::make_unique<DemoEditor>(DemoSettings());
        m_editor->setGeometry(60, 40, 900, 640);
        m_editor->show();
        m_editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
        text()->setFocus();
        moveTo(farPoint());
    }

    QTextEdit* text() const { return m_editor->textEdit(); }
    int indexOf(const QString& phrase) const { return text()->toPlainText().indexOf(phrase); }
    QPoint farPoint() const { return m_editor->viewportRect().bottomRight() - QPoint(20, 20); }
    static void moveTo(const QPoint& p) { xdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()) }); }

    // Selects the phrase and waits until the toolbar stands above it.
    QRect selectPhrase(const QString& phrase)
    {
        EXPECT_GE(indexOf(phrase), 0) << qPrintable(phrase);
        m_editor->selectText(indexOf(phrase), phrase.size());
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_editor->toolbarRect().isValid(); }, 2000));
        QTest::qWait(300);
        return m_editor->toolbarRect();
    }
    // Types two letters, which replace the selection at start while the editor keeps the keyboard.
    void expectTypingReplaces(int start)
    {
        xdotool({ "type", "zq" });
        EXPECT_TRUE(QTest::qWaitFor([&] { return text()->toPlainText().mid(start, 2) == QLatin1String("zq"); }, 2000))
            << "editor text at the selection: " << qPrintable(text()->toPlainText().mid(start, 12));
        EXPECT_EQ(QApplication::activeWindow(), m_editor.get());
        EXPECT_EQ(QApplication::focusWidget(), text());
    }

    std::unique_ptr<DemoEditor> m_editor;
};

TEST_F(DemoHostTest, shouldDrawOverTheTextAndFadeAsPointerLeaves)
{
    // The toolbar is drawn over the text, not over black; its contrast drops when the pointer goes away and returns
    // when it comes back (the host window test proves that nothing outside the toolbar changes).
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    // Near is just below the toolbar's left part, over the text, in both fade states.
    const QPoint near(toolbar.left() + 30, toolbar.bottom() + 4);
    QImage grabs[4];
    for (int i = 0; i < 4; ++i) {
        if (i == 3)
            m_editor->controller()->suspendToolbar(m_editor->toolbar());
        else
            moveTo(i == 1 ? farPoint() : near);
        QTest::qWait(i == 1 ? 1200 : 600);
        grabs[i] = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    }
    // Mean per-channel difference from the screen without the toolbar.
    double contrast[3] = {};
    int blackInside = 0;
    for (int y = toolbar.top(); y <= toolbar.bottom(); ++y) {
        for (int x = toolbar.left(); x <= toolbar.right(); ++x) {
            const QRgb without = grabs[3].pixel(x, y);
            for (int i = 0; i < 3; ++i) {
                const QRgb p = grabs[i].pixel(x, y);
                contrast[i] += qAbs(qRed(p) - qRed(without)) + qAbs(qGreen(p) - qGreen(without)) + qAbs(qBlue(p) - qBlue(without));
            }
            blackInside += qRed(grabs[0].pixel(x, y)) < 24 && qGreen(grabs[0].pixel(x, y)) < 24 && qBlue(grabs[0].pixel(x, y)) < 24;
        }
    }
    const int area = toolbar.width() * toolbar.height();
    EXPECT_LT(blackInside, area / 4);
    ASSERT_GT(contrast[0] / (3.0 * area), 5.0) << "the toolbar should stand out from the text";
    EXPECT_LT(contrast[1], contrast[0] * 0.6) << "opaque " << contrast[0] << ", faded " << contrast[1];
    EXPECT_GT(contrast[2], contrast[0] * 0.85) << "opaque " << contrast[0] << ", back " << contrast[2];
}

TEST_F(DemoHostTest, shouldLeaveTheKeyboardWithTheEditor)
{
    // Showing the toolbar, hovering it and clicking Bold with real input leave focus and activation with the
    // editor, so typing replaces the selection (the host window test proves clicks beside the toolbar reach the host).
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    moveTo(QPoint(toolbar.left() + 40, toolbar.top() + 8));
    QTest::qWait(200);
    expectTypingReplaces(indexOf(DemoTour::selectedPhrase()));

    const int start = indexOf(QStringLiteral("A mini toolbar"));
    ASSERT_TRUE(selectPhrase(QStringLiteral("A mini toolbar")).isValid());
    MTBxItem* bold = m_editor->item(QStringLiteral("bold"));
    ASSERT_NE(bold, nullptr);
    float top = 0, left = 0, bottom = 0, right = 0;
    bold->getBounds(top, left, bottom, right);
    int x = 0, y = 0;
    m_editor->controller()->getToolbarPosition(m_editor->toolbar(), x, y);
    moveTo(QPoint(x + static_cast<int>((left + right) / 2), y - static_cast<int>((top + bottom) / 2)));
    xdotool({ "click", "1" });
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold->isChecked(); }, 2000));
    QTest::qWait(200);
    expectTypingReplaces(start);
}

TEST_F(DemoHostTest, shouldPlaceToolbarInsideEditorNearItsEdges)
{
    // A selection on the first line puts the toolbar below it; one on the last visible line, above it; both inside
    // the editor's window.
    const auto inside = [this] { return QRect(m_editor->mapToGlobal(QPoint()), m_editor->size()); };
    QRect toolbar = selectPhrase(QStringLiteral("A mini toolbar"));
    ASSERT_TRUE(inside().contains(toolbar)) << "toolbar " << toolbar.x() << "," << toolbar.y();
    QTextCursor cursor(text()->document());
    EXPECT_GT(toolbar.top(), text()->viewport()->mapToGlobal(text()->cursorRect(cursor).topLeft()).y());

    m_editor->selectText(0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_editor->isToolbarShown(); }, 1000));
    m_editor->resize(600, 420);
    QTest::qWait(200);
    toolbar = selectPhrase(QStringLiteral("judge my vow."));
    ASSERT_GT(text()->verticalScrollBar()->value(), 0) << "the last line should need scrolling";
    EXPECT_TRUE(inside().contains(toolbar)) << "toolbar " << toolbar.x() << "," << toolbar.y();
    cursor.setPosition(text()->toPlainText().size());
    EXPECT_LT(toolbar.bottom(), text()->viewport()->mapToGlobal(text()->cursorRect(cursor).topLeft()).y());
}

} // namespace

// The demo program takes Qt's standard options beside its own: the application
// object consumes those, and only the rest is read, and judged, as the demo's.
TEST(DemoCommandLineTest, shouldTakeQtsOptionsBesideItsOwn)
{
    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString output;
    };
    const QStringList qt = {"-platform", "offscreen", "-reverse", "-style", "fusion"};
    const std::vector<Case> cases = {
        {qt + QStringList{"--theme", "purple"}, 2, "Unknown theme \"purple\""},
        {QStringList{"--scale", "9"} + qt, 2, "Bad scaling factor \"9\""},
        {qt + QStringList{"--no-such-switch"}, 2, "Unknown option 'no-such-switch'"},
        {qt + QStringList{"--help"}, 0, "Usage: minitoolbars-demo"},
        {QStringList{"--help"}, 0, "--theme <name>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.arguments.join(QLatin1Char(' '))));
        QProcess demo;
        demo.setProcessChannelMode(QProcess::MergedChannels);
        demo.start(QStringLiteral(MTB_DEMO_EXECUTABLE), c.arguments);
        ASSERT_TRUE(demo.waitForFinished(20000));
        const QString output = QString::fromLocal8Bit(demo.readAll());
        EXPECT_EQ(demo.exitCode(), c.exitCode) << qPrintable(output);
        EXPECT_TRUE(output.contains(c.output)) << qPrintable(output);
    }
}
