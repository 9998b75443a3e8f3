// A Qt host on a headless Weston, its toolbars overlays of its window (the automatic choice there): real pointer
// and keyboard input from the test seat, and the output's pixels as the user sees them.
#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbCoordinates.h"
#include "support/WaylandHostSupport.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTextEdit>

#include <cstdlib>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

const QColor hostColour(40, 160, 90);

// A top-level host of one flat colour with a text editor along its bottom; it records the presses it gets.
struct Host : QWidget
{
    Host()
    {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, hostColour);
        setPalette(p);
        setFixedSize(640, 420);
        editor->setGeometry(20, 300, 400, 100);
    }
    void mousePressEvent(QMouseEvent* event) override { presses.push_back(event->pos()); }

    QTextEdit* editor = new QTextEdit(this);
    std::vector<QPoint> presses;
};

bool similar(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

std::string describe(const QColor& c)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()).toStdString();
}

class OverlayWaylandTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        if (!waylandDisplay() || !seat.isConnected())
            GTEST_SKIP() << "needs tests/wayland/run-under-weston.sh";
        ControllerFixture::SetUp();
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        area = locateWindow(seat, hostColour, host.size());
        ASSERT_FALSE(area.isNull()) << "the host never showed whole on the output";
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(QRect(host.mapToGlobal(QPoint()), host.size()));
        // The user clicks into the editor, which has the keyboard from then on.
        ASSERT_TRUE(seat.click(onOutput(host.editor->geometry().center())));
        ASSERT_TRUE(host.editor->hasFocus());
    }
    void TearDown() override
    {
        if (area.isNull())
            return;
        ControllerFixture::TearDown();
        EXPECT_EQ(waylandConnectionError(), 0);
    }

    // Output pixels of a point of the host, and of a toolbar's window point or rectangle.
    QPoint onOutput(const QPoint& local) const { return area.topLeft() + local; }
    QPoint outputPoint(const QPoint& windowPoint) const
    {
        return onOutput(host.mapFromGlobal(windowPoint + QmtbCoordinates::desktopGeometry().topLeft()));
    }
    QRect outputRect(const QRect& windowRect) const { return windowRect.translated(outputPoint(windowRect.topLeft()) - windowRect.topLeft()); }

    MiniToolbar* showAt(std::unique_ptr<MiniToolbar> made, const QPoint& local)
    {
        MiniToolbar* toolbar = add(std::move(made));
        const QPoint at = host.mapToGlobal(local);
        EXPECT_TRUE(controller->showToolbar(toolbar, at.x(), at.y(), &observer));
        EXPECT_TRUE(windowOf(toolbar) && windowOf(toolbar)->isOverlay());
        return toolbar;
    }

    // Types keys through the seat; the editor's whole text afterwards.
    QString typeIntoEditor(std::initializer_list<int> keys)
    {
        EXPECT_TRUE(seat.typeKeys(keys));
        return host.editor->toPlainText();
    }

    // The smallest rectangle of the output holding every pixel inside within that is not the host's colour.
    static QRect foreignBounds(const QImage& shot, const QRect& within)
    {
        QRect bounds;
        for (int y = within.top(); y <= within.bottom(); ++y) {
            for (int x = within.left(); x <= within.right(); ++x) {
                if (shot.pixelColor(x, y) != hostColour)
                    bounds |= QRect(x, y, 1, 1);
            }
        }
        return bounds;
    }
    // Waits for the output to show what the condition wants; the last screenshot stays in shot.
    ::testing::AssertionResult shows(const std::function<bool(const QImage&)>& condition)
    {
        return eventually([&] { return shot = seat.screenshot(), !shot.isNull() && condition(shot); }, 3000);
    }

    WestonSeat seat;
    Host host;
    QRect area;
    QImage shot;
};

TEST_F(OverlayWaylandTest, ToolbarShowsWhereTheHostAskedWithinAPixel)
{
    // The toolbar's pixels on the output start at the point the host asked for, relative to its window; asked
    // for partly beyond the window's right edge, it shows shifted inside the window.
    const struct {
        QPoint asked;
        bool shifted;
    } cases[] = { { { 60, 70 }, false }, { { 333, 181 }, false }, { { 590, 40 }, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(QRect(c.asked, QSize())));
        MiniToolbar* toolbar = showAt(makeToolbar(4), c.asked);
        toolbar->setLocalAutoFade(0);
        const QPoint origin = windowOrigin(toolbar);
        EXPECT_EQ(c.shifted, outputPoint(origin) != onOutput(c.asked));
        // What the toolbar paints: its items, and the grip left of its origin.
        const ItemView* grip = toolbar->view()->gripView();
        ASSERT_NE(grip, nullptr);
        const QRect painted = outputRect(toolbarRect(toolbar)
            | QmtbCoordinates::toWindowRect(origin.x(), origin.y(), grip->top(), grip->left(), grip->bottom(), grip->right()).toRect());
        if (c.shifted)
            EXPECT_TRUE(area.contains(painted)) << describe(painted);
        // Everywhere above the editor, the cursor parked outside the host.
        const QRect flat = QRect(area.topLeft(), QSize(host.width(), host.editor->y()));
        QRect seen;
        EXPECT_TRUE(shows([&](const QImage& image) {
            seen = foreignBounds(image, flat);
            return std::abs(seen.left() - painted.left()) <= 1 && std::abs(seen.top() - painted.top()) <= 1
                && std::abs(seen.right() - painted.right()) <= 1 && std::abs(seen.bottom() - painted.bottom()) <= 1;
        })) << "painted " << describe(seen) << ", expected " << describe(painted);
        controller->closeToolbar(toolbar);
    }
}

TEST_F(OverlayWaylandTest, ClickTriggersTheActionOnceWhileTheEditorKeepsTheKeyboard)
{
    // Showing a toolbar and clicking one of its actions leave the typing with the host's editor; the click triggers
    // the action once, and a wheel turn over it reaches the toolbar with its direction.
    qRegisterMetaType<QAction*>();
    ActionToolbar toolbar;
    QAction bold(QStringLiteral("Bold"), &host), italic(QStringLiteral("Italic"), &host);
    toolbar.addAction(&bold), toolbar.addAction(&italic);
    QSignalSpy triggered(&italic, &QAction::triggered), wheeled(&toolbar, &ActionToolbar::wheelTurned);
    EXPECT_EQ(typeIntoEditor({ KEY_A, KEY_B }), QStringLiteral("ab"));
    ASSERT_TRUE(toolbar.show(&host, QRect(200, 150, 60, 16)));
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(typeIntoEditor({ KEY_C }), QStringLiteral("abc"));

    const QPoint onItalic = outputPoint(centreOf(toolbar.miniToolbar(), 1));
    ASSERT_TRUE(seat.click(onItalic));
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(triggered.count(), 1);
    EXPECT_EQ(typeIntoEditor({ KEY_D }), QStringLiteral("abcd"));
    EXPECT_TRUE(host.editor->hasFocus());

    ASSERT_TRUE(seat.wheel(onItalic, 1));
    ASSERT_EQ(wheeled.count(), 1);
    EXPECT_EQ(wheeled.at(0).at(0).value<QAction*>(), &italic);
    EXPECT_GT(wheeled.at(0).at(1).toInt(), 0);
    EXPECT_EQ(triggered.count(), 1);
}

TEST_F(OverlayWaylandTest, FadesAwayFromThePointerAndBackNearIt)
{
    // An item's pixel on the output: opaque with the pointer near the toolbar, blended at the faded opacity over the
    // host once the pointer moves far over the host's window, opaque again when it comes back.
    MiniToolbar* toolbar = showAt(makeToolbar(3), QPoint(100, 100));
    const QRect bar = outputRect(toolbarRect(toolbar));
    const QRect item = outputRect(windowRect(toolbar, 0));
    // Left in the item, clear of its caption and of the cursor, which hangs below and right of the pointer.
    const QPoint sample(item.left() + 4, item.center().y());
    const QPoint near(bar.right() - 4, bar.bottom() + 4), far = onOutput(QPoint(600, 260));

    ASSERT_TRUE(seat.movePointer(near));
    QColor opaque;
    ASSERT_TRUE(shows([&](const QImage& image) { return (opaque = image.pixelColor(sample)) != hostColour; }));
    const double faded = Style::instance()->fadedOpacity();
    const QColor blended(qRound(faded * opaque.red() + (1 - faded) * hostColour.red()),
                         qRound(faded * opaque.green() + (1 - faded) * hostColour.green()),
                         qRound(faded * opaque.blue() + (1 - faded) * hostColour.blue()));

    ASSERT_TRUE(seat.movePointer(far));
    EXPECT_TRUE(shows([&](const QImage& image) { return similar(image.pixelColor(sample), blended, 8); }))
        << "faded " << describe(shot.pixelColor(sample)) << ", expected " << describe(blended) << " (opaque "
        << describe(opaque) << ")";
    ASSERT_TRUE(seat.movePointer(near));
    EXPECT_TRUE(shows([&](const QImage& image) { return similar(image.pixelColor(sample), opaque, 2); }))
        << "back " << describe(shot.pixelColor(sample)) << ", expected " << describe(opaque);
}

TEST_F(OverlayWaylandTest, ClicksBesideWhatTheToolbarPaintsReachTheHost)
{
    // Clicks just beyond the toolbar's pen margin, on every side of it and of its grip, press the host there, once;
    // then its items take their own clicks.
    MiniToolbar* toolbar = showAt(makeToolbar(4), QPoint(100, 100));
    const QPoint origin = windowOrigin(toolbar);
    const ItemView* grip = toolbar->view()->gripView();
    ASSERT_NE(grip, nullptr);
    const QRect gripRect = outputRect(
        QmtbCoordinates::toWindowRect(origin.x(), origin.y(), grip->top(), grip->left(), grip->bottom(), grip->right()).toRect());
    const QRect bar = outputRect(toolbarRect(toolbar)), first = outputRect(windowRect(toolbar, 0));
    const int beyond = QmtbPlacement::penMargin + 1;
    const QPoint beside[] = { QPoint(first.center().x(), bar.top() - beyond), QPoint(first.center().x(), bar.bottom() + beyond),
                              QPoint(bar.right() + beyond, bar.center().y()), QPoint(gripRect.left() - beyond, gripRect.center().y()),
                              QPoint(gripRect.center().x(), gripRect.top() - beyond) };
    for (const QPoint& point : beside) {
        SCOPED_TRACE(describe(QRect(point - area.topLeft(), QSize())));
        const size_t presses = host.presses.size();
        ASSERT_TRUE(seat.click(point));
        ASSERT_EQ(host.presses.size(), presses + 1);
        EXPECT_EQ(host.presses.back(), point - area.topLeft());
    }
    EXPECT_EQ(itemSink.count(MTBxItemEvents::Clicked), 0);
    ASSERT_TRUE(seat.click(first.center()));
    ASSERT_TRUE(seat.click(outputRect(windowRect(toolbar, 3)).center()));
    EXPECT_EQ(itemSink.count(MTBxItemEvents::Clicked), 2);
    EXPECT_EQ(host.presses.size(), std::size(beside));
}

TEST_F(OverlayWaylandTest, DropDownMenuOpensBelowItsButtonAndItsEntryTriggersOnce)
{
    // A click on an action with a menu opens the menu below its button, at the button's left edge plus the leading
    // gap; a click on a menu entry triggers it once, and the keyboard is the editor's again.
    ActionToolbar toolbar;
    QAction bold(QStringLiteral("Bold"), &host), more(QStringLiteral("More"), &host);
    QMenu menu;
    menu.addAction(QStringLiteral("One"));
    QSignalSpy chosen(menu.addAction(QStringLiteral("Two")), &QAction::triggered);
    more.setMenu(&menu);
    toolbar.addAction(&bold), toolbar.addAction(&more);
    ASSERT_TRUE(toolbar.show(&host, QRect(200, 150, 60, 16)));
    ASSERT_TRUE(roundTrip());

    const QRect button = outputRect(windowRect(toolbar.miniToolbar(), 1));
    ASSERT_TRUE(seat.click(button.center()));
    ASSERT_TRUE(eventually([] { return QApplication::activePopupWidget() != nullptr; }));
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(popup && popup->actions().size() == 2);
    // The cursor leaves the menu's place, onto the panel; an open menu keeps the toolbar opaque.
    ASSERT_TRUE(seat.parkPointer());
    const QPoint expected(button.left() + Style::instance()->gapBetween(LeadingMargin, Caption), button.bottom() + 1);
    const QRect below(QPoint(button.left() - 40, button.bottom() + 1), QSize(300, 120));
    QRect seen;
    EXPECT_TRUE(shows([&](const QImage& image) {
        seen = foreignBounds(image, below);
        return (seen.topLeft() - expected).manhattanLength() <= 1 && seen.width() >= popup->width() - 1;
    })) << "the menu showed at " << describe(seen) << ", expected at " << describe(QRect(expected, popup->size()));

    const QRect entry = popup->actionGeometry(popup->actions().at(1));
    ASSERT_TRUE(seat.click(seen.topLeft() + entry.center()));
    ASSERT_TRUE(eventually([] { return QApplication::activePopupWidget() == nullptr; }));
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(chosen.count(), 1);
    EXPECT_EQ(typeIntoEditor({ KEY_X }), QStringLiteral("x"));
}

TEST_F(OverlayWaylandTest, EntryTakesTheKeyboardOnAClickAndEscapeGivesItBack)
{
    // A click into an entry's field takes the keyboard from the host's editor: typing fills the field. Escape, or a
    // click into the editor, gives the keyboard back: typing reaches the editor again.
    std::unique_ptr<MiniToolbar> made = makeToolbar(1);
    auto* entry = new MTBxDropDownEntry(MTBxString(L"find"), MTBxString(L""), &hostContext);
    entry->setWidth(100);
    made->addItem(entry);
    MiniToolbar* toolbar = showAt(std::move(made), QPoint(100, 100));
    LineEditControl* field = nullptr;
    ASSERT_TRUE(eventually([&] { return (field = windowOf(toolbar)->findChild<LineEditControl*>()) && field->isVisible(); }));
    const QPoint inField = onOutput(field->mapTo(&host, field->rect().center()));
    EXPECT_EQ(typeIntoEditor({ KEY_A }), QStringLiteral("a"));

    ASSERT_TRUE(seat.click(inField));
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    EXPECT_EQ(typeIntoEditor({ KEY_X, KEY_Y }), QStringLiteral("a"));
    EXPECT_EQ(field->text(), QStringLiteral("xy"));
    EXPECT_GE(itemSink.count(MTBxItemEvents::TextEdited), 2);
    ASSERT_TRUE(seat.typeKeys({ KEY_ESC }));
    ASSERT_TRUE(eventually([&] { return host.editor->hasFocus(); }));
    EXPECT_EQ(typeIntoEditor({ KEY_B }), QStringLiteral("ab"));

    ASSERT_TRUE(seat.click(inField));
    ASSERT_TRUE(eventually([&] { return entry->hasFocus(); }));
    EXPECT_EQ(typeIntoEditor({ KEY_Z }), QStringLiteral("ab"));
    ASSERT_TRUE(seat.click(onOutput(host.editor->geometry().center())));
    ASSERT_TRUE(eventually([&] { return host.editor->hasFocus(); }));
    EXPECT_EQ(typeIntoEditor({ KEY_C }), QStringLiteral("abc"));
}

} // namespace
