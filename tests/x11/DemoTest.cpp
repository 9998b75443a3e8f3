// The demo host on a real X server: where its toolbar goes, whether the host
// keeps its pixels, clicks and keys around the toolbar, and how it fades.
#include "DemoEditor.h"
#include "DemoSettings.h"
#include "DemoTour.h"
#include "EventText.h"
#include "ToolbarPlacement.h"

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

#include <cmath>

using namespace MiniToolbars;

namespace {

// Real X-level input (XTest underneath).
bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

void moveTo(const QPoint& p)
{
    xdotool({ "mousemove", QString::number(p.x()), QString::number(p.y()) });
}

QImage grabScreen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

bool isNearBlack(QRgb pixel)
{
    return qRed(pixel) < 24 && qGreen(pixel) < 24 && qBlue(pixel) < 24;
}

// Mean per-channel difference between two screen grabs inside rect.
double meanDifference(const QImage& a, const QImage& b, const QRect& rect)
{
    double sum = 0.0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * rect.width() * rect.height());
}

class DemoHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs a real X server (run under tests/x11/run-under-xvfb.sh)";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs xdotool for real input";
        m_editor = std::make_unique<DemoEditor>(DemoSettings());
        m_editor->setGeometry(60, 40, 900, 640);
        m_editor->show();
        m_editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
        text()->setFocus();
        moveTo(farPoint());
        QTest::qWait(100);
    }

    QTextEdit* text() const { return m_editor->textEdit(); }
    int indexOf(const QString& phrase) const { return text()->toPlainText().indexOf(phrase); }
    QPoint farPoint() const { return m_editor->viewportRect().bottomRight() - QPoint(20, 20); }
    // Just below the toolbar's left part, over the text: counts as near in both fade states.
    static QPoint nearPoint(const QRect& toolbar) { return { toolbar.left() + 30, toolbar.bottom() + 4 }; }

    // Selects the phrase and waits until the toolbar stands above it.
    QRect selectPhrase(const QString& phrase)
    {
        EXPECT_GE(indexOf(phrase), 0) << qPrintable(phrase);
        m_editor->selectText(indexOf(phrase), phrase.size());
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_editor->toolbarRect().isValid(); }, 2000));
        QTest::qWait(300);
        return m_editor->toolbarRect();
    }
    void click(const QPoint& p)
    {
        moveTo(p);
        QTest::qWait(50);
        xdotool({ "click", "1" });
    }
    // Types two letters; they should replace the selection that starts at start, with the editor keeping the keyboard.
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

TEST_F(DemoHostTest, shouldKeepHostPixelsAroundToolbarAndFadeAsPointerLeaves)
{
    // Outside the toolbar the screen looks as it does without it (no black desktop, no black box); inside, the
    // toolbar is drawn over the text; its contrast drops when the pointer goes away and returns when it comes back.
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    QImage grabs[3];
    const QPoint pointer[] = { nearPoint(toolbar), farPoint(), nearPoint(toolbar) };
    for (int i = 0; i < 3; ++i) {
        moveTo(pointer[i]);
        QTest::qWait(i == 1 ? 1200 : 600);
        grabs[i] = grabScreen();
    }
    m_editor->controller()->suspendToolbar(m_editor->toolbar());
    QTest::qWait(400);
    const QImage& with = grabs[0];
    const QImage without = grabScreen();
    ASSERT_EQ(with.size(), without.size());

    // A blinking text cursor may differ between the grabs; the band right around the toolbar is the editor's own.
    const QRect around = toolbar.adjusted(-8, -8, 8, 8);
    const QRect inner = toolbar.adjusted(-3, -3, 3, 3);
    int changedOutside = 0, blackOutsideWith = 0, blackOutsideWithout = 0, ringPixels = 0, ringChanged = 0, blackInside = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            const bool changed = with.pixel(x, y) != without.pixel(x, y);
            blackInside += toolbar.contains(x, y) && isNearBlack(with.pixel(x, y));
            ringPixels += around.contains(x, y) && !inner.contains(x, y);
            ringChanged += around.contains(x, y) && !inner.contains(x, y) && changed;
            if (around.contains(x, y))
                continue;
            changedOutside += changed;
            blackOutsideWith += isNearBlack(with.pixel(x, y));
            blackOutsideWithout += isNearBlack(without.pixel(x, y));
        }
    }
    EXPECT_LT(changedOutside, 100);
    EXPECT_LE(blackOutsideWith, blackOutsideWithout + 50);
    EXPECT_LT(ringChanged, ringPixels / 20) << ringChanged << " of " << ringPixels;
    EXPECT_LT(blackInside, toolbar.width() * toolbar.height() / 4);

    const double opaque = meanDifference(with, without, toolbar);
    const double faded = meanDifference(grabs[1], without, toolbar);
    const double back = meanDifference(grabs[2], without, toolbar);
    ASSERT_GT(opaque, 5.0) << "the toolbar should stand out from the text";
    EXPECT_LT(faded, opaque * 0.6) << "opaque " << opaque << ", faded " << faded;
    EXPECT_GT(back, opaque * 0.85) << "opaque " << opaque << ", back " << back;
}

TEST_F(DemoHostTest, shouldLeaveClicksBesideTheToolbarAndTheKeyboardWithTheEditor)
{
    // A click on the text next to the toolbar moves the editor's cursor there; showing the toolbar, hovering
    // it and clicking Bold leave focus and activation with the editor, so typing replaces the selection.
    const QString phrase = DemoTour::selectedPhrase();
    QRect toolbar = selectPhrase(phrase);
    ASSERT_TRUE(toolbar.isValid());
    const QRect viewport = m_editor->viewportRect();
    QPoint target(toolbar.right() + 25, toolbar.top() + 6);
    if (!viewport.contains(target))
        target = QPoint(toolbar.left() - 25, toolbar.top() + 6);
    ASSERT_TRUE(viewport.contains(target));
    const int expected = text()->cursorForPosition(text()->viewport()->mapFromGlobal(target)).position();
    ASSERT_NE(expected, text()->textCursor().position());
    click(target);
    EXPECT_TRUE(QTest::qWaitFor([&] { return text()->textCursor().position() == expected; }, 2000))
        << "cursor at " << text()->textCursor().position() << ", expected " << expected;
    EXPECT_FALSE(text()->textCursor().hasSelection());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_editor->isToolbarShown(); }, 1000));

    toolbar = selectPhrase(phrase);
    EXPECT_EQ(QApplication::activeWindow(), m_editor.get());
    moveTo(QPoint(toolbar.left() + 40, toolbar.top() + 8));
    QTest::qWait(200);
    expectTypingReplaces(indexOf(phrase));

    const int start = indexOf(QStringLiteral("A mini toolbar"));
    ASSERT_TRUE(selectPhrase(QStringLiteral("A mini toolbar")).isValid());
    MTBxItem* bold = m_editor->item(QStringLiteral("bold"));
    ASSERT_NE(bold, nullptr);
    float top = 0, left = 0, bottom = 0, right = 0;
    bold->getBounds(top, left, bottom, right);
    int x = 0, y = 0;
    m_editor->controller()->getToolbarPosition(m_editor->toolbar(), x, y);
    click(QPoint(x + static_cast<int>((left + right) / 2), y - static_cast<int>((top + bottom) / 2)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold->isChecked(); }, 2000));
    QTest::qWait(200);
    expectTypingReplaces(start);
}

TEST_F(DemoHostTest, shouldPlaceToolbarInsideEditorNearItsEdges)
{
    // A selection on the first line puts the toolbar below it; one on the last visible line, above it.
    QRect toolbar = selectPhrase(QStringLiteral("A mini toolbar"));
    ASSERT_TRUE(m_editor->viewportRect().contains(toolbar)) << "toolbar " << toolbar.x() << "," << toolbar.y();
    QTextCursor cursor(text()->document());
    EXPECT_GT(toolbar.top(), text()->viewport()->mapToGlobal(text()->cursorRect(cursor).topLeft()).y());

    m_editor->selectText(0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_editor->isToolbarShown(); }, 1000));
    m_editor->resize(600, 420);
    QTest::qWait(200);
    toolbar = selectPhrase(QStringLiteral("judge my vow."));
    ASSERT_GT(text()->verticalScrollBar()->value(), 0) << "the last line should need scrolling";
    EXPECT_TRUE(m_editor->viewportRect().contains(toolbar)) << "toolbar " << toolbar.x() << "," << toolbar.y();
    cursor.setPosition(text()->toPlainText().size());
    EXPECT_LT(toolbar.bottom(), text()->viewport()->mapToGlobal(text()->cursorRect(cursor).topLeft()).y());
}

TEST(ToolbarPlacementTest, shouldPreferAboveThenBelowAndStayInside)
{
    // The origin goes above the selection, below it when the top is too close, and never leaves the bounds,
    // keeping the top-left corner in view when larger than them.
    const QRect bounds(100, 100, 600, 400);
    const QSize size(200, 50);
    EXPECT_EQ(toolbarOrigin(QRect(300, 300, 80, 16), 300, size, bounds, 6), QPoint(300, 244));
    EXPECT_EQ(toolbarOrigin(QRect(300, 120, 80, 16), 300, size, bounds, 6), QPoint(300, 142));
    EXPECT_EQ(toolbarOrigin(QRect(650, 300, 40, 16), 650, size, bounds, 6), QPoint(500, 244));
    EXPECT_EQ(toolbarOrigin(QRect(20, 300, 40, 16), 20, size, bounds, 6), QPoint(100, 244));
    EXPECT_EQ(toolbarOrigin(QRect(300, 300, 40, 16), 300, QSize(900, 600), bounds, 6), QPoint(100, 100));
    // Layout space grows upwards: bottom -52 is 52 pixels below the origin; broken bounds give no rectangle.
    EXPECT_EQ(toolbarScreenRect(QPoint(10, 20), 0, -12, -52, 476), QRect(-2, 20, 488, 52));
    EXPECT_FALSE(toolbarScreenRect(QPoint(10, 20), 0, 0, 10, 5).isValid());
    EXPECT_FALSE(toolbarScreenRect(QPoint(10, 20), NAN, 0, -5, 5).isValid());
}

TEST(DemoArgumentsTest, shouldReadEverySwitchAndRefuseBadValues)
{
    // Theme, scale, fading, tooltips and the tour come from the command line; unknown themes, scales that are
    // not finite numbers in range, stray words and a bare --tour are refused.
    const auto parse = [](const QString& line) { return parseDemoArguments(line.split(QLatin1Char(' '))); };
    const DemoArguments parsed = parse(QStringLiteral("demo --theme DARK --scale 2 --no-auto-fade --no-tooltips --debug-tooltips --tour /tmp/shots"));
    ASSERT_EQ(parsed.status, DemoArguments::Status::Run) << qPrintable(parsed.message);
    const DemoSettings& s = parsed.settings;
    EXPECT_EQ(std::make_tuple(s.theme, s.scalingFactor, s.autoFade, s.tooltips, s.debugTooltips, s.tourDirectory),
              std::make_tuple(DemoSettings::Theme::Dark, 2.0f, false, false, true, QStringLiteral("/tmp/shots")));
    const DemoSettings& d = parse(QStringLiteral("demo")).settings;
    EXPECT_EQ(std::make_tuple(d.theme, d.scalingFactor, d.autoFade, d.tooltips, d.debugTooltips, d.tourDirectory),
              std::make_tuple(DemoSettings::Theme::Light, 1.0f, true, true, false, QString()));
    EXPECT_EQ(parse(QStringLiteral("demo --help")).status, DemoArguments::Status::ShowHelp);
    for (const char* bad : { "--theme blue", "--scale nan", "--scale inf", "--scale 0", "--scale -2", "--scale 1e30",
                             "--scale two", "stray", "--unknown", "--tour", "--tour=" }) {
        const DemoArguments refused = parse(QStringLiteral("demo ") + QLatin1String(bad));
        EXPECT_EQ(refused.status, DemoArguments::Status::Error) << bad;
        EXPECT_FALSE(refused.message.isEmpty()) << bad;
    }
}

TEST(EventTextTest, shouldNameEventsWithTheirIdAndMeaningfulArguments)
{
    // Log lines carry the event name, the id and the arguments that matter; unknown types stay readable.
    EXPECT_EQ(describeItemEvent(QStringLiteral("bold"), MTBxItemEvents::CheckedChanged, 1, 0), QStringLiteral("CheckedChanged  bold  checked"));
    EXPECT_EQ(describeItemEvent(QStringLiteral("copy"), MTBxItemEvents::Clicked, 0, 0), QStringLiteral("Clicked  copy"));
    EXPECT_EQ(describeItemEvent(QStringLiteral("x"), 42, 7, 7), QStringLiteral("ItemEvent(42)  x"));
    EXPECT_EQ(describeToolbarEvent(QStringLiteral("selection"), MTBxToolbarEvents::ToolbarMoved, static_cast<std::uintptr_t>(-5), 120),
              QStringLiteral("ToolbarMoved  selection  to -5, 120"));
    EXPECT_EQ(toolbarEventName(0), QStringLiteral("ToolbarEvent(0)"));
}

} // namespace
