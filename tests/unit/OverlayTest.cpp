// Toolbars as overlays inside the host's top-level window: placed in that window's coordinates, drawn into it,
// worked through Qt's own events, shifted inside it, with popups that keep the keyboard with the host.
#include "Compat/QtCompat.h"
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/Options.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbWindowPopup.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QSignalSpy>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

using E = MTBxItemEvents;

// A host window of one flat colour with a line edit that has the keyboard; it records the presses it gets.
class Host : public QWidget
{
public:
    Host()
    {
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(40, 160, 90)), setPalette(p), setAutoFillBackground(true);
        edit->setGeometry(10, 350, 200, 24), setGeometry(120, 80, 600, 400);
    }
    QLineEdit* edit = new QLineEdit(this);
    int presses = 0;
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

class OverlayTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        Options options;
        options.setWindowStrategy(Options::OverlayWindows), controller->setOptions(options);
        host.show(), host.activateWindow(), host.edit->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId()), observer.setBounds(QmtbCoordinates::desktopGeometry());
    }
    MiniToolbar* showAt(QPoint local, int buttons = 2)
    {
        MiniToolbar* toolbar = add(makeToolbar(buttons));
        const QPoint at = host.mapToGlobal(local);
        EXPECT_TRUE(controller->showToolbar(toolbar, at.x(), at.y(), &observer));
        return QApplication::processEvents(), toolbar;
    }
    // A toolbar shown in a second host window that the test destroys.
    MiniToolbar* showInOther(Host* other)
    {
        other->show(), observer.parent = reinterpret_cast<HWND>(other->winId());
        MiniToolbar* toolbar = showAt(QPoint(30, 30));
        EXPECT_EQ(windowOf(toolbar)->parentWidget(), other);
        return toolbar;
    }
    // A host-window point of a window point.
    QPoint inHost(QPoint windowPoint) const { return host.mapFromGlobal(windowPoint + QmtbCoordinates::desktopGeometry().topLeft()); }
    void click(QPoint local) { QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, local), QApplication::processEvents(); }

    Host host;
};

TEST_F(OverlayTest, LiesInTheHostWindowWhereTheHostPutsIt)
{
    // The toolbar is a child of the host's window at the host's point, and the host window's own picture shows it there.
    MiniToolbar* toolbar = showAt(QPoint(60, 70));
    QmtbView* window = windowOf(toolbar);
    ASSERT_TRUE(window && window->isOverlay());
    EXPECT_TRUE(!window->isWindow() && window->parentWidget() == &host);
    EXPECT_EQ(inHost(windowOrigin(toolbar)), QPoint(60, 70));
    const QImage picture = host.grab().toImage();
    const QRect item = QRect(inHost(windowRect(toolbar, 0).topLeft()), windowRect(toolbar, 0).size());
    EXPECT_NE(picture.pixelColor(item.center()), QColor(40, 160, 90)) << "the item is drawn over the host";
    EXPECT_EQ(picture.pixelColor(item.center() + QPoint(0, 60)), QColor(40, 160, 90)) << "beneath it the host shows";
    // It moves with the host's calls, in the window.
    controller->moveToolbar(toolbar, 30, 10, true);
    EXPECT_EQ(inHost(windowOrigin(toolbar)), QPoint(90, 80));
    EXPECT_EQ(window->geometry().topLeft(), inHost(window->placement().windowOffset()));
}

TEST_F(OverlayTest, ShownBeyondTheHostWindowItIsShiftedInside)
{
    // Asked for beyond the right and bottom edges, the toolbar ends inside the host's window.
    MiniToolbar* toolbar = showAt(QPoint(590, 395), 4);
    const QRect bounds(inHost(toolbarRect(toolbar).topLeft()), toolbarRect(toolbar).size());
    EXPECT_TRUE(host.rect().contains(bounds)) << bounds.x() << "," << bounds.y() << " " << bounds.width() << "x" << bounds.height();
}

TEST_F(OverlayTest, ClicksReachTheItemOnceAndBesideItTheHostWhileTheHostKeepsTheKeyboard)
{
    // A click on an item clicks it once and leaves the keyboard with the host's line edit; one beside it reaches the host.
    MiniToolbar* toolbar = showAt(QPoint(60, 70));
    click(inHost(centreOf(toolbar, 1)));
    EXPECT_TRUE(itemSink.count(E::Clicked) == 1 && host.edit->hasFocus() && host.presses == 0);
    click(inHost(centreOf(toolbar, 1)) + QPoint(0, 40));
    EXPECT_TRUE(host.presses == 1 && itemSink.count(E::Clicked) == 1);
}

TEST_F(OverlayTest, FadesWithThePointerOverTheHostWindowAndWhenItLeaves)
{
    // Moves over the host's window far away fade the toolbar, moves near bring it back, leaving the window fades it.
    MiniToolbar* toolbar = showAt(QPoint(60, 70));
    QmtbView* window = windowOf(toolbar);
    const QPoint sample = inHost(windowRect(toolbar, 0).topLeft()) + QPoint(4, windowRect(toolbar, 0).height() / 2);
    const QColor opaque = host.grab().toImage().pixelColor(sample);
    QTest::mouseMove(host.windowHandle(), QPoint(500, 300));
    EXPECT_FALSE(window->fade().isFadedIn());
    // Faded, the item lies translucent over the host's pixels, which it leaves whole.
    finishFade(window);
    const QColor faded = host.grab().toImage().pixelColor(sample);
    const double a = Style::instance()->fadedOpacity();
    EXPECT_EQ(faded.alpha(), 255);
    EXPECT_NEAR(faded.red(), a * opaque.red() + (1 - a) * 40, 8) << faded.name().toStdString();
    EXPECT_NEAR(faded.green(), a * opaque.green() + (1 - a) * 160, 8) << faded.name().toStdString();
    EXPECT_NEAR(faded.blue(), a * opaque.blue() + (1 - a) * 90, 8) << faded.name().toStdString();
    QTest::mouseMove(host.windowHandle(), inHost(centreOf(toolbar, 0)));
    EXPECT_TRUE(window->fade().isFadedIn());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&host, &leave);
    EXPECT_FALSE(window->fade().isFadedIn());
}

TEST_F(OverlayTest, PopupsOpenByTheirItemAndTheFieldGivesTheKeyboardBack)
{
    // The menu and the list have the host's window for their parent on screen, the list is a window of its own, and
    // the entry's field takes the keyboard from the host's line edit and gives it back, with the host window active.
    MiniToolbar* toolbar = showAt(QPoint(60, 70), 0);
    auto* menuButton = new MTBxDropDownButton(L"dd", &hostContext);
    auto* combo = new MTBxCombobox(L"combo", &hostContext);
    for (MTBxListType* list : { static_cast<MTBxListType*>(menuButton), static_cast<MTBxListType*>(combo) }) {
        list->setText(L"List"), list->setShowText(true), toolbar->addItem(list);
        for (const wchar_t* text : { L"One", L"Two" }) {
            auto* child = new MTBxCommandItem(text, &hostContext);
            child->setParent(list), child->setText(text), list->addItem(child);
        }
    }
    auto* entry = new MTBxDropDownEntry(L"find", L"ab", &hostContext);
    entry->setWidth(80), toolbar->addItem(entry), QApplication::processEvents();
    QmtbView* window = windowOf(toolbar);
    const auto below = [&](int index) { // where a popup of an item opens, on screen
        return QPoint(windowRect(toolbar, index).left() + Style::instance()->gapBetween(LeadingMargin, Caption), windowRect(toolbar, index).bottom())
            + QmtbCoordinates::desktopGeometry().topLeft();
    };

    click(inHost(centreOf(toolbar, 0)));
    auto* menu = dynamic_cast<DropDownMenu*>(window->popups().popup());
    ASSERT_TRUE(menu && menu->isVisible());
    EXPECT_EQ(menu->windowHandle()->transientParent(), host.windowHandle());
    EXPECT_LE((menu->pos() - below(0)).manhattanLength(), 2);
    QTest::keyClick(menu, Qt::Key_Escape), click(inHost(centreOf(toolbar, 1)));
    auto* list = dynamic_cast<ComboBoxListView*>(window->popups().popup());
    ASSERT_TRUE(list && list->isVisible() && list->isWindow());
    EXPECT_EQ(list->windowHandle()->transientParent(), host.windowHandle());
    EXPECT_LE((list->pos() - below(1)).manhattanLength(), 1);
    QTest::keyClick(host.edit, Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());

    auto* field = window->findChild<LineEditControl*>();
    ASSERT_TRUE(field && field->isVisible());
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Escape), QApplication::processEvents();
    EXPECT_TRUE(host.isActiveWindow() && QApplication::focusWidget() == host.edit);
    // Focused by the host while another window is active, the field leaves activation where it is.
    QWidget other;
    other.show(), other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    entry->setFocus(true), QApplication::processEvents();
    EXPECT_TRUE(other.isActiveWindow() && !host.isActiveWindow());
}

TEST_F(OverlayTest, HostWindowDestroyedUnderAShownToolbar)
{
    // The host's window goes first: the toolbar lets go of the overlay and can be closed and shown again safely.
    auto other = std::make_unique<Host>();
    MiniToolbar* toolbar = showInOther(other.get());
    other.reset();
    EXPECT_TRUE(windowOf(toolbar) == nullptr && !toolbar->isVisible());
    controller->closeToolbar(toolbar);
    observer.parent = reinterpret_cast<HWND>(host.winId()), toolbar->addItem(makeButton(L"Again"));
    const QPoint at = host.mapToGlobal(QPoint(20, 20));
    EXPECT_TRUE(controller->showToolbar(toolbar, at.x(), at.y(), &observer));
    EXPECT_EQ(windowOf(toolbar)->parentWidget(), &host);
}

TEST_F(OverlayTest, HostWindowDestroyedFromTheHostsCallback)
{
    // The host destroys the window the overlay lies in from inside a callback of that overlay's relayout: the overlay
    // outlives the callback, hidden, and goes once the relayout is over (ASan keeps this honest).
    auto* other = new Host;
    MiniToolbar* toolbar = showInOther(other);
    const QPointer<QmtbView> overlay = windowOf(toolbar);
    observer.onCallback = [&] { observer.onCallback = nullptr, delete other; };
    toolbar->addItem(makeButton(L"More"));
    ASSERT_TRUE(eventually([&] { return !observer.onCallback; }));
    EXPECT_TRUE(eventually([&] { return !overlay && !windowOf(toolbar); }));
    EXPECT_FALSE(toolbar->isVisible());
}

TEST_F(OverlayTest, FrontEndChoosesItsOwnStrategy)
{
    // An action toolbar asked for an overlay lies in the host's window over the controller's top-level choice, and
    // a click on its action triggers it once.
    Options options;
    options.setWindowStrategy(Options::TopLevelWindows), ActionToolbar::controller()->setOptions(options);
    ActionToolbar toolbar;
    auto* bold = new QAction(QStringLiteral("Bold"), &host);
    QSignalSpy triggered(bold, &QAction::triggered);
    toolbar.setWindowStrategy(Options::OverlayWindows), toolbar.addAction(bold);
    ASSERT_TRUE(toolbar.show(&host, QRect(100, 150, 80, 16)));
    QApplication::processEvents();
    QmtbView* window = windowOf(toolbar.miniToolbar());
    ASSERT_TRUE(window && window->isOverlay() && window->parentWidget() == &host);
    click(inHost(centreOf(toolbar.miniToolbar(), 0)));
    EXPECT_TRUE(triggered.count() == 1 && host.edit->hasFocus());
}

} // namespace
