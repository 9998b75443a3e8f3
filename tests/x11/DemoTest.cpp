// The demo host on a real X server: where its toolbar goes, whether the host
// keeps its pixels, clicks and keys around the toolbar, and how it fades.
#include "DemoEditor.h"
#include "DemoSettings.h"
#include "EventText.h"
#include "DemoTour.h"
#include "ToolbarPlacement.h"

#include <MiniToolbars/MiniToolbars.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>

using namespace MiniToolbars;

namespace {

// Real X-level input through xdotool (XTest underneath); without it the tests
// fall back to Qt's synthetic widget events.
class XInput
{
public:
    bool available() const { return m_available; }
    void moveTo(const QPoint& global) { run({ "mousemove", QString::number(global.x()), QString::number(global.y()) }); }
    void click(const QPoint& global)
    {
        moveTo(global);
        QTest::qWait(50);
        run({ "click", "1" });
    }
    void type(const char* letters) { run({ "type", QString::fromLatin1(letters) }); }

private:
    static bool run(const QStringList& arguments)
    {
        return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
    }
    bool m_available = !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
};

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
    const QRect area = rect & a.rect() & b.rect();
    if (area.isEmpty())
        return 0.0;
    double sum = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * area.width() * area.height());
}

class DemoHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs a real X server (run under tests/x11/run-under-xvfb.sh)";
        static bool reported = false;
        if (!reported) {
            std::printf("Input: %s\n", m_input.available() ? "xdotool (X-level events)"
                                                           : "QTest widget events (xdotool unavailable)");
            reported = true;
        }
        m_editor = std::make_unique<DemoEditor>(DemoSettings());
        m_editor->resize(900, 640);
        m_editor->move(60, 40);
        m_editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_editor.get()));
        m_editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_editor.get()));
        m_editor->textEdit()->setFocus();
        movePointer(farPoint());
        QTest::qWait(100);
    }

    void TearDown() override
    {
        m_editor.reset();
        QTest::qWait(50);
    }

    QTextEdit* text() const { return m_editor->textEdit(); }

    // Selects the phrase and waits until the toolbar stands above it.
    QRect selectPhrase(const QString& phrase)
    {
        const int start = text()->toPlainText().indexOf(phrase);
        EXPECT_GE(start, 0) << qPrintable(phrase);
        m_editor->selectText(start, phrase.size());
        EXPECT_TRUE(QTest::qWaitFor([this] { return m_editor->toolbarRect().isValid(); }, 2000));
        QTest::qWait(300);
        return m_editor->toolbarRect();
    }

    QPoint farPoint() const { return m_editor->viewportRect().bottomRight() - QPoint(20, 20); }

    // Just below the toolbar's left part, over the text: counts as near in both fade states.
    static QPoint nearPoint(const QRect& toolbar) { return {toolbar.left() + 30, toolbar.bottom() + 4}; }

    void movePointer(const QPoint& global)
    {
        if (m_input.available()) {
            m_input.moveTo(global);
            return;
        }
        QCursor::setPos(global);
        if (QWidget* target = QApplication::widgetAt(global))
            QTest::mouseMove(target, target->mapFromGlobal(global));
        m_editor->pointerMovedTo(global);
    }

    void click(const QPoint& global)
    {
        if (m_input.available()) {
            m_input.click(global);
            return;
        }
        if (QWidget* target = QApplication::widgetAt(global))
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, target->mapFromGlobal(global));
    }

    void type(const char* letters)
    {
        if (m_input.available()) {
            m_input.type(letters);
            return;
        }
        if (QWidget* target = QApplication::focusWidget())
            QTest::keyClicks(target, QString::fromLatin1(letters));
    }

    XInput m_input;
    std::unique_ptr<DemoEditor> m_editor;
};

TEST_F(DemoHostTest, shouldKeepHostPixelsAroundToolbar)
{
    // With the toolbar shown, everything outside it looks as it does without it: no black desktop, no black box.
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    movePointer(nearPoint(toolbar));
    QTest::qWait(400);
    const QImage with = grabScreen();

    m_editor->controller()->suspendToolbar(m_editor->toolbar());
    QTest::qWait(400);
    const QImage without = grabScreen();
    ASSERT_EQ(with.size(), without.size());

    const QRect around = toolbar.adjusted(-8, -8, 8, 8);
    int changedOutside = 0;
    int blackOutsideWith = 0;
    int blackOutsideWithout = 0;
    for (int y = 0; y < with.height(); ++y) {
        for (int x = 0; x < with.width(); ++x) {
            if (around.contains(x, y))
                continue;
            changedOutside += with.pixel(x, y) != without.pixel(x, y);
            blackOutsideWith += isNearBlack(with.pixel(x, y));
            blackOutsideWithout += isNearBlack(without.pixel(x, y));
        }
    }
    // A blinking text cursor may differ between the two grabs.
    EXPECT_LT(changedOutside, 100);
    EXPECT_LE(blackOutsideWith, blackOutsideWithout + 50);

    // The band right around the toolbar shows the editor's own pixels.
    int ringPixels = 0;
    int ringChanged = 0;
    const QRect inner = toolbar.adjusted(-3, -3, 3, 3);
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            if (inner.contains(x, y) || !with.rect().contains(x, y))
                continue;
            ++ringPixels;
            ringChanged += with.pixel(x, y) != without.pixel(x, y);
        }
    }
    ASSERT_GT(ringPixels, 0);
    EXPECT_LT(ringChanged, ringPixels / 20) << ringChanged << " of " << ringPixels;

    // Inside its rectangle the toolbar is drawn over the text, not over black.
    int blackInside = 0;
    for (int y = toolbar.top(); y <= toolbar.bottom(); ++y)
        for (int x = toolbar.left(); x <= toolbar.right(); ++x)
            blackInside += isNearBlack(with.pixel(x, y));
    EXPECT_LT(blackInside, toolbar.width() * toolbar.height() / 4);
}

TEST_F(DemoHostTest, shouldDeliverClickBesideToolbarToEditor)
{
    // A click on the text right next to the toolbar moves the editor's cursor there.
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    const QRect viewport = m_editor->viewportRect();
    QPoint target(toolbar.right() + 25, toolbar.top() + 6);
    if (!viewport.contains(target))
        target = QPoint(toolbar.left() - 25, toolbar.top() + 6);
    ASSERT_TRUE(viewport.contains(target));
    const int expected = text()->cursorForPosition(text()->viewport()->mapFromGlobal(target)).position();
    const int before = text()->textCursor().position();
    ASSERT_NE(expected, before);

    click(target);
    EXPECT_TRUE(QTest::qWaitFor([&] { return text()->textCursor().position() == expected; }, 2000))
        << "cursor at " << text()->textCursor().position() << ", expected " << expected;
    EXPECT_FALSE(text()->textCursor().hasSelection());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_editor->isToolbarShown(); }, 1000));
}

TEST_F(DemoHostTest, shouldKeepKeyboardInEditorWhileToolbarShows)
{
    // Showing the toolbar, and hovering it, leaves the keyboard with the editor.
    const QString phrase = DemoTour::selectedPhrase();
    const int start = text()->toPlainText().indexOf(phrase);
    const QRect toolbar = selectPhrase(phrase);
    ASSERT_TRUE(toolbar.isValid());
    EXPECT_EQ(QApplication::activeWindow(), m_editor.get())
        << "active: " << (QApplication::activeWindow() ? QApplication::activeWindow()->metaObject()->className() : "none");
    EXPECT_EQ(QApplication::focusWidget(), text());

    movePointer(QPoint(toolbar.left() + 40, toolbar.top() + 8));
    QTest::qWait(200);
    type("zq");
    EXPECT_TRUE(QTest::qWaitFor([&] { return text()->toPlainText().mid(start, 2) == QLatin1String("zq"); }, 2000))
        << "editor text at the selection: " << qPrintable(text()->toPlainText().mid(start, 12));
    EXPECT_EQ(QApplication::focusWidget(), text());
}

TEST_F(DemoHostTest, shouldKeepKeyboardInEditorAfterClickingBold)
{
    // Clicking Bold with real input leaves focus and activation with the editor: typing replaces the selection.
    if (!m_input.available())
        GTEST_SKIP() << "needs xdotool for real clicks";
    const QString phrase = DemoTour::selectedPhrase();
    const int start = text()->toPlainText().indexOf(phrase);
    ASSERT_TRUE(selectPhrase(phrase).isValid());
    MTBxItem* bold = m_editor->item(QStringLiteral("bold"));
    ASSERT_NE(bold, nullptr);
    float top = 0, left = 0, bottom = 0, right = 0;
    bold->getBounds(top, left, bottom, right);
    int x = 0;
    int y = 0;
    m_editor->controller()->getToolbarPosition(m_editor->toolbar(), x, y);
    click(QPoint(x + static_cast<int>((left + right) / 2), y - static_cast<int>((top + bottom) / 2)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bold->isChecked(); }, 2000));
    QTest::qWait(200);
    type("zq");
    EXPECT_TRUE(QTest::qWaitFor([&] { return text()->toPlainText().mid(start, 2) == QLatin1String("zq"); }, 2000))
        << "editor text at the selection: " << qPrintable(text()->toPlainText().mid(start, 12));
    EXPECT_EQ(QApplication::activeWindow(), m_editor.get());
    EXPECT_EQ(QApplication::focusWidget(), text());
}

TEST_F(DemoHostTest, shouldPlaceToolbarInsideEditorNearItsEdges)
{
    // A selection on the first line puts the toolbar below it; one on the last visible line, above it.
    const QRect viewport = m_editor->viewportRect();
    QRect toolbar = selectPhrase(QStringLiteral("A mini toolbar"));
    ASSERT_TRUE(toolbar.isValid());
    EXPECT_TRUE(viewport.contains(toolbar)) << "toolbar " << toolbar.x() << "," << toolbar.y();
    QTextCursor first(text()->document());
    first.setPosition(0);
    EXPECT_GT(toolbar.top(), text()->viewport()->mapToGlobal(text()->cursorRect(first).topLeft()).y());

    m_editor->selectText(0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_editor->isToolbarShown(); }, 1000));
    m_editor->resize(600, 420);
    QTest::qWait(200);
    const int end = text()->toPlainText().size();
    toolbar = selectPhrase(QStringLiteral("judge my vow."));
    ASSERT_TRUE(toolbar.isValid());
    ASSERT_GT(text()->verticalScrollBar()->value(), 0) << "the last line should need scrolling";
    EXPECT_TRUE(m_editor->viewportRect().contains(toolbar))
        << "toolbar " << toolbar.x() << "," << toolbar.y() << " " << toolbar.width() << "x" << toolbar.height();
    QTextCursor last(text()->document());
    last.setPosition(end);
    EXPECT_LT(toolbar.bottom(), text()->viewport()->mapToGlobal(text()->cursorRect(last).topLeft()).y());
}

TEST_F(DemoHostTest, shouldFadeAsPointerLeavesAndReturn)
{
    // The toolbar's pixels grow fainter when the pointer goes away and opaque again when it comes back.
    const QImage background = grabScreen();
    const QRect toolbar = selectPhrase(DemoTour::selectedPhrase());
    ASSERT_TRUE(toolbar.isValid());
    movePointer(nearPoint(toolbar));
    QTest::qWait(400);
    const double opaque = meanDifference(grabScreen(), background, toolbar);
    ASSERT_GT(opaque, 5.0) << "the toolbar should stand out from the text";

    movePointer(farPoint());
    QTest::qWait(1200);
    const double faded = meanDifference(grabScreen(), background, toolbar);
    EXPECT_LT(faded, opaque * 0.6) << "opaque " << opaque << ", faded " << faded;

    movePointer(nearPoint(toolbar));
    QTest::qWait(600);
    const double back = meanDifference(grabScreen(), background, toolbar);
    EXPECT_GT(back, opaque * 0.85) << "opaque " << opaque << ", back " << back;
    std::printf("Mean difference from the text: opaque %.1f, faded %.1f, back %.1f\n", opaque, faded, back);
}

TEST(ToolbarPlacementTest, shouldPreferAboveThenBelowAndStayInside)
{
    // The origin goes above the selection, below it when the top is too close, and never leaves the bounds.
    const QRect bounds(100, 100, 600, 400);
    const QSize size(200, 50);
    EXPECT_EQ(toolbarOrigin(QRect(300, 300, 80, 16), 300, size, bounds, 6), QPoint(300, 244));
    EXPECT_EQ(toolbarOrigin(QRect(300, 120, 80, 16), 300, size, bounds, 6), QPoint(300, 142));
    EXPECT_EQ(toolbarOrigin(QRect(650, 300, 40, 16), 650, size, bounds, 6), QPoint(500, 244));
    EXPECT_EQ(toolbarOrigin(QRect(20, 300, 40, 16), 20, size, bounds, 6), QPoint(100, 244));
    // Larger than the bounds: the top-left corner stays in view.
    EXPECT_EQ(toolbarOrigin(QRect(300, 300, 40, 16), 300, QSize(900, 600), bounds, 6), QPoint(100, 100));
}

TEST(ToolbarPlacementTest, shouldConvertLayoutBoundsToScreenPixels)
{
    // Layout space grows upwards: bottom -52 is 52 pixels below the origin; broken bounds give no rectangle.
    EXPECT_EQ(toolbarScreenRect(QPoint(10, 20), 0, -12, -52, 476), QRect(-2, 20, 488, 52));
    EXPECT_FALSE(toolbarScreenRect(QPoint(10, 20), 0, 0, 10, 5).isValid());
    EXPECT_FALSE(toolbarScreenRect(QPoint(10, 20), NAN, 0, -5, 5).isValid());
}

TEST(DemoArgumentsTest, shouldReadEverySwitch)
{
    // Theme, scale, fading, tooltips and the tour all come from the command line.
    const DemoArguments parsed = parseDemoArguments(
        QStringLiteral("demo --theme DARK --scale 2 --no-auto-fade --no-tooltips --debug-tooltips --tour /tmp/shots")
            .split(QLatin1Char(' ')));
    ASSERT_EQ(parsed.status, DemoArguments::Status::Run) << qPrintable(parsed.message);
    EXPECT_EQ(parsed.settings.theme, DemoSettings::Theme::Dark);
    EXPECT_FLOAT_EQ(parsed.settings.scalingFactor, 2.0f);
    EXPECT_FALSE(parsed.settings.autoFade);
    EXPECT_FALSE(parsed.settings.tooltips);
    EXPECT_TRUE(parsed.settings.debugTooltips);
    EXPECT_EQ(parsed.settings.tourDirectory, QStringLiteral("/tmp/shots"));

    const DemoArguments defaults = parseDemoArguments({QStringLiteral("demo")});
    ASSERT_EQ(defaults.status, DemoArguments::Status::Run);
    EXPECT_EQ(defaults.settings.theme, DemoSettings::Theme::Light);
    EXPECT_FLOAT_EQ(defaults.settings.scalingFactor, 1.0f);
    EXPECT_TRUE(defaults.settings.autoFade && defaults.settings.tooltips);
    EXPECT_FALSE(defaults.settings.debugTooltips);
    EXPECT_TRUE(defaults.settings.tourDirectory.isEmpty());

    EXPECT_EQ(parseDemoArguments({QStringLiteral("demo"), QStringLiteral("--help")}).status,
              DemoArguments::Status::ShowHelp);
}

TEST(DemoArgumentsTest, shouldRefuseBadValues)
{
    // Unknown themes, scales that are not finite numbers in range, stray words and a bare --tour are refused.
    const char* const bad[] = { "--theme blue", "--scale nan", "--scale inf", "--scale 0", "--scale -2",
                                "--scale 1e30", "--scale two", "stray", "--unknown", "--tour", "--tour=" };
    for (const char* line : bad) {
        const QStringList arguments = (QStringLiteral("demo ") + QLatin1String(line)).split(QLatin1Char(' '));
        const DemoArguments parsed = parseDemoArguments(arguments);
        EXPECT_EQ(parsed.status, DemoArguments::Status::Error) << qPrintable(arguments.join(QLatin1Char(' ')));
        EXPECT_FALSE(parsed.message.isEmpty());
    }
}

TEST(EventTextTest, shouldNameEventsWithTheirIdAndMeaningfulArguments)
{
    // Log lines carry the event name, the id and the arguments that matter; unknown types stay readable.
    EXPECT_EQ(describeItemEvent(QStringLiteral("bold"), MTBxItemEvents::CheckedChanged, 1, 0),
              QStringLiteral("CheckedChanged  bold  checked"));
    EXPECT_EQ(describeItemEvent(QStringLiteral("copy"), MTBxItemEvents::Clicked, 0, 0),
              QStringLiteral("Clicked  copy"));
    EXPECT_EQ(describeItemEvent(QStringLiteral("x"), 42, 7, 7), QStringLiteral("ItemEvent(42)  x"));
    EXPECT_EQ(describeToolbarEvent(QStringLiteral("selection"), MTBxToolbarEvents::ToolbarMoved,
                                   static_cast<std::uintptr_t>(-5), 120),
              QStringLiteral("ToolbarMoved  selection  to -5, 120"));
    EXPECT_EQ(toolbarEventName(0), QStringLiteral("ToolbarEvent(0)"));
}

} // namespace
