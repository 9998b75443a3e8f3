// The toolbar window on the offscreen platform: placement, painting, pointer
// input, tooltips and fades.
#include "MiniToolbars/TooltipOptions.h"
#include "Platform/NativeEventFilter.h"
#include "Qt/EventTypes.h"
#include "Qt/QmtbAutoFade.h"
#include "Qt/QmtbCoordinates.h"
#include "Qt/QmtbPlacement.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowRegistry.h"
#include "Qt/QWinWidget.h"
#include "support/WindowTestSupport.h"

#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <tuple>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

// Qt input at window point p, as the windowing system delivers it.
void press(QmtbView* w, QPoint p) { QTest::mousePress(w->windowHandle(), Qt::LeftButton, {}, w->placement().toLocal(p)); }
void release(QmtbView* w, QPoint p) { QTest::mouseRelease(w->windowHandle(), Qt::LeftButton, {}, w->placement().toLocal(p)); }
void click(QmtbView* w, QPoint p, Qt::KeyboardModifiers m = {}) { QTest::mouseClick(w->windowHandle(), Qt::LeftButton, m, w->placement().toLocal(p)); }
void moveTo(QmtbView* w, QPoint p) { QTest::mouseMove(w->windowHandle(), w->placement().toLocal(p)); }
// Moves the pointer away from every toolbar. Qt drops a move to where the pointer already is, hence two.
void sweep(QmtbView* w) { moveTo(w, QPoint(690, 540)), moveTo(w, QPoint(700, 550)); }

using WindowTest = ControllerFixture;

} // namespace

TEST_F(WindowTest, shouldKeepTheOriginAcrossSuspendAndFinishHidingWhenTheFadeEnds)
{
    // Suspend hides the window into the suspended list, resume lays it out at once at the same origin; hiding during a fade ends the fade and the hide, and the native filter goes with the last shown toolbar.
    MiniToolbar* other = shown(1, 250, 260);
    controller->suspendToolbar(other);
    EXPECT_TRUE(controller->isSuspended(other) && !windowOf(other)->isVisible() && !other->isVisible());
    EXPECT_EQ(QList<QmtbView*>{ windowOf(other) }, QmtbWindowRegistry::suspendedWindows());
    controller->resumeToolbar(other);
    EXPECT_FALSE(controller->isSuspended(other) || windowOf(other)->isShowPending() || !other->isVisible() || !QmtbWindowRegistry::suspendedWindows().isEmpty());
    EXPECT_EQ(std::make_pair(QPoint(250, 260), QList<QmtbView*>{ windowOf(other) }), std::make_pair(origin(other), QmtbWindowRegistry::visibleWindows()));

    QmtbView* window = windowOf(shown(2));
    windowOf(other)->hideToolbar();
    EXPECT_TRUE(Controller::resetWindowsHook() && NativeEventFilter::instance().isInstalled());
    controller->pointerMoved(700, 550);
    ASSERT_TRUE(window->fade().isAnimating());
    window->hideToolbar();
    EXPECT_FALSE(window->fade().animation() || window->isVisible() || NativeEventFilter::instance().isInstalled());
    EXPECT_TRUE(QmtbWindowRegistry::suspendedWindows().contains(window));
    controller->resumeToolbar(other), windowOf(other)->hideToolbar();
    EXPECT_FALSE(NativeEventFilter::instance().isInstalled());
}

TEST_F(WindowTest, shouldPostOneDeferredShowAndCoalesceRelayouts)
{
    // Two deferred shows post one show event that lays out, the window following each at once; a forced relayout waits for a pending show or relayout.
    MiniToolbar* toolbar = add(makeToolbar(2));
    ASSERT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer, true));
    const int firstX = windowOf(toolbar)->geometry().x();
    EventCounter shows(windowOf(toolbar), EventTypes::deferredShow()), relayouts(windowOf(toolbar), EventTypes::relayout());
    ASSERT_TRUE(controller->showToolbar(toolbar, 310, 300, &observer, true));
    EXPECT_EQ(firstX + 10, windowOf(toolbar)->geometry().x());
    controller->updateLayout(toolbar, true);
    EXPECT_EQ(0, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ((std::vector<int>{ 1, 0, 2 }), (std::vector<int>{ shows.count, relayouts.count, toolbar->view()->itemViewCount() }));
    toolbar->addItem(makeButton(L"One")), controller->updateLayout(toolbar, true);
    EXPECT_EQ(2, toolbar->view()->itemViewCount());
    QCoreApplication::processEvents();
    EXPECT_EQ((std::vector<int>{ 1, 3 }), (std::vector<int>{ relayouts.count, toolbar->view()->itemViewCount() }));
}

TEST_F(WindowTest, shouldKeepToolbarInsideTheParentBounds)
{
    // Without bounds from the observer the parent is 0,0,100,100 less its margins; a toolbar is pushed in only along the edge it crosses.
    HostObserver silent;
    MiniToolbar* toolbar = add(makeToolbar(1));
    ASSERT_TRUE(controller->showToolbar(toolbar, 500, 400, &silent));
    EXPECT_TRUE(QRect(QPoint(15, 10), QPoint(89, 89)).contains(windowRect(toolbar)));
    controller->moveToolbar(toolbar, -50, -50, false);
    EXPECT_EQ(QPoint(15, 10), windowRect(toolbar).topLeft());

    MiniToolbar* low = shown(2, 300, 595);
    EXPECT_EQ(QPoint(300, 589), windowRect(low).bottomLeft());
    const std::tuple<int, int, bool, QPoint, bool> moves[] = { { INT_MAX, INT_MAX, true, QPoint(789, 589), false }, { INT_MIN, INT_MIN, false, QPoint(15, 10), true } };
    for (const auto& [x, y, relative, corner, topLeft] : moves) {
        controller->moveToolbar(low, x, y, relative);
        EXPECT_EQ(corner, topLeft ? windowRect(low).topLeft() : windowRect(low).bottomRight());
    }
    controller->moveToolbar(low, 300, 595, false);

    // A toolbar wider than the parent ends on the parent's left edge; a new clip rectangle makes every window check its bounds again.
    observer.setBounds(QRect(100, 100, 120, 200));
    const QRect wide = windowRect(shown(6, 400, 150));
    ASSERT_GT(wide.width(), 120);
    EXPECT_EQ(QPoint(115, 150), wide.topLeft());
    const QPoint offset = windowOf(low)->geometry().topLeft() - windowRect(low).topLeft();
    controller->setClipRect(0, 0, 800, 600);
    EXPECT_TRUE(QRect(100, 100, 110, 190).contains(windowRect(low).bottomRight()));
    EXPECT_EQ(windowOf(low)->geometry().topLeft() - windowRect(low).topLeft(), offset) << "the window moves with its toolbar";
    controller->setClipRect(0, 0, 0, 0), low->item(0)->setWidth(INT_MAX), QCoreApplication::processEvents();
    EXPECT_EQ(115, origin(low).x());
}

TEST_F(WindowTest, shouldShowAtTheScreenPointOnADesktopAwayFromTheOrigin)
{
    // With the desktop's corner at -100,50 a toolbar shown at screen point 300,300 has its window there, grip and pen margin before it.
    QScreen* screen = QGuiApplication::primaryScreen();
    const auto moveDesktop = [screen](QPoint corner) {
        QWindowSystemInterface::handleScreenGeometryChange(screen, QRect(corner, screen->size()), QRect(corner, screen->size()));
        QWindowSystemInterface::flushWindowSystemEvents();
    };
    moveDesktop(QPoint(-100, 50));
    const int m = QmtbPlacement::penMargin;
    EXPECT_EQ(QPoint(300 - 12 - m, 300 - m), windowOf(shown(2, 300, 300))->geometry().topLeft());
    moveDesktop(QPoint());
}

TEST_F(WindowTest, shouldBoundThePaintedRegionByToolbarGripPenMarginClipAndPopups)
{
    // The painted region is bounds and grip with the pen margin, follows moves, is clipped, and takes in visible child widgets where they are; fade frames repaint just that region.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const int m = QmtbPlacement::penMargin;
    const QRect mask = window->placement().paintedRegion().boundingRect();
    EXPECT_EQ(windowRect(toolbar).adjusted(-12 - m, -m, m, m), mask);
    controller->moveToolbar(toolbar, 10, 20, true);
    EXPECT_EQ(mask.translated(10, 20), window->placement().paintedRegion().boundingRect());
    controller->setClipRect(0, 0, 320, 800);
    EXPECT_EQ(319, window->placement().paintedRegion().boundingRect().right());
    controller->setClipRect(0, 0, 0, 0);

    auto popup = std::make_unique<QWidget>(window);
    popup->setGeometry(QRect(window->placement().toLocal(QPoint(500, 500)), QSize(40, 30)));
    const auto painted = [&] { return std::make_pair(window->placement().paintedRegion().contains(QPoint(510, 510)), window->placement().paintedRegion().contains(QPoint(610, 510))); };
    popup->show();
    EXPECT_EQ(std::make_pair(true, false), painted());
    popup->move(window->placement().toLocal(QPoint(600, 500)));
    EXPECT_EQ(std::make_pair(false, true), painted());
    QTest::qWait(50);
    struct : QObject { QRegion seen; bool eventFilter(QObject*, QEvent* e) override { return seen += e->type() == QEvent::Paint ? static_cast<QPaintEvent*>(e)->region() : QRegion(), false; } } paints;
    window->installEventFilter(&paints);
    controller->pointerMoved(790, 590), finishFade(window);
    EXPECT_EQ(window->placement().paintedRegion().translated(-window->placement().windowOffset()), paints.seen);
    paints.seen = QRegion(), controller->moveToolbar(toolbar, 0, 0, true), QCoreApplication::processEvents();
    EXPECT_TRUE(paints.seen.isEmpty()) << "a move by nothing paints nothing";
    popup->hide();
    EXPECT_EQ(std::make_pair(false, false), painted());
    // A popup far beyond the desktop stretches the window no more than a desktop past it.
    popup->setGeometry(QRect(window->placement().toLocal(QPoint(500, 500)), QSize(100000, 100000))), popup->show();
    const QRect desktop = QmtbCoordinates::desktopGeometry();
    EXPECT_TRUE(desktop.adjusted(0, 0, desktop.width(), desktop.height()).contains(window->geometry()));
}

TEST_F(WindowTest, shouldDrawWhereThePaintedRegionIsAndHonourTheClip)
{
    // A toolbar pushed inside its parent draws at its new origin; pixels beyond the clip rectangle stay clear.
    MiniToolbar* toolbar = shown(2, 795, 300);
    QmtbView* window = windowOf(toolbar);
    ASSERT_LT(windowRect(toolbar).right(), 790);
    const auto alphaAt = [&](QPoint p) { return qAlpha(window->grab(QRect(window->placement().toLocal(p), QSize(1, 1))).toImage().pixel(0, 0)); };
    EXPECT_GT(std::min(alphaAt(centreOf(toolbar, 0)), alphaAt(centreOf(toolbar, 1))), 100);
    controller->setClipRect(0, 0, centreOf(toolbar, 1).x() - 5, 600);
    EXPECT_TRUE(alphaAt(centreOf(toolbar, 0)) > 100 && alphaAt(centreOf(toolbar, 1)) == 0);
    controller->setClipRect(0, 0, 0, 0);
}

TEST_F(WindowTest, shouldReportClicksWithModifiers)
{
    // A Control click reaches the host as ModifiedClick carrying modifiers and button (drags: NativeInputTest).
    MiniToolbar* toolbar = shown(2, 300, 300);
    click(windowOf(toolbar), centreOf(toolbar, 0), Qt::ControlModifier);
    const auto types = itemSink.types();
    const size_t modified = std::find(types.begin(), types.end(), int(MTBxItemEvents::ModifiedClick)) - types.begin();
    ASSERT_LT(modified, types.size());
    EXPECT_EQ(static_cast<std::intptr_t>(Qt::ControlModifier) | Qt::LeftButton, itemSink.arg(modified));
    EXPECT_TRUE(itemSink.events[modified].hostContext == &hostContext && toolbarSink.types.empty());
}

TEST_F(WindowTest, shouldShowThePressedLookOnScreenAtThePress)
{
    // A press on a hovered item repaints it on screen in its pressed look before any release.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const auto onScreen = [&] { return QTest::qWait(50), window->screen()->grabWindow(window->winId()).toImage(); };
    moveTo(window, centreOf(toolbar, 0));
    const QImage hovered = onScreen();
    press(window, centreOf(toolbar, 0));
    EXPECT_NE(hovered, onScreen());
    release(window, centreOf(toolbar, 0));
}

TEST_F(WindowTest, shouldForwardPointerInputToTheWidgetUnderneath)
{
    // Moves and releases over a host widget beside the toolbar reach that widget; over the toolbar or a child popup nothing is forwarded.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    QWidget host;
    host.setGeometry(500, 100, 100, 80), host.setMouseTracking(true), host.show();
    EventCounter moves(&host, QEvent::MouseMove), releases(&host, QEvent::MouseButtonRelease);
    moveTo(window, QPoint(550, 140)), click(window, QPoint(550, 140));
    EXPECT_EQ(std::make_pair(1, 1), std::make_pair(moves.count, releases.count));

    const auto forwarded = [&](QPoint p) {
        QMouseEvent event(QEvent::MouseMove, p, p, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        return window->pointer().forwardMouseEvent(&event);
    };
    EXPECT_TRUE(forwarded(QPoint(550, 140)) && !forwarded(centreOf(toolbar, 0)));
    auto popup = std::make_unique<QWidget>(window);
    popup->setGeometry(QRect(window->placement().toLocal(QPoint(500, 400)), QSize(40, 30))), popup->show();
    EXPECT_FALSE(forwarded(QPoint(510, 410)));
    // Nor to a widget inside it, whose ignored moves would come back up to the window again and again.
    auto* inner = new QWidget(popup.get());
    inner->setGeometry(0, 0, 20, 20), inner->show();
    EXPECT_FALSE(forwarded(QPoint(505, 405)));
}

TEST_F(WindowTest, shouldShowTooltipsAfterTheDelayAndSwitchAtOnce)
{
    // Hovering emits hovered and shows the tooltip after the delay; the next item follows at once, hiding it when it has none, but after empty space waits the delay again; a move hides it; another widget's tooltip is never hidden.
    SetMTBToolTipDelay(30);
    MiniToolbar* toolbar = shown(3);
    toolbar->item(0)->setToolTip(MTBxString(L"Make bold")), toolbar->item(2)->setToolTip(MTBxString(L"Make underlined"));
    QmtbView* window = windowOf(toolbar);
    std::vector<ItemView*> hovered;
    QObject::connect(window, &QmtbView::hovered, [&](ItemView* view) { hovered.push_back(view); });
    sweep(window), moveTo(window, centreOf(toolbar, 0));
    EXPECT_TRUE(std::vector<ItemView*>{ toolbar->item(0)->itemView() } == hovered && 30 == window->toolTips().timerInterval());
    ASSERT_TRUE(eventually([&] { return window->toolTips().isVisible(); }));
    EXPECT_EQ(QStringLiteral("Make bold"), QToolTip::text());
    moveTo(window, centreOf(toolbar, 1));
    EXPECT_EQ(0, window->toolTips().timerInterval());
    ASSERT_TRUE(eventually([&] { return !window->toolTips().isVisible(); }));
    moveTo(window, centreOf(toolbar, 2));
    ASSERT_TRUE(eventually([&] { return window->toolTips().isVisible(); }));
    // Empty space hides it, and the next item waits the whole delay again.
    moveTo(window, windowRect(toolbar).bottomRight() + QPoint(0, 30)), moveTo(window, centreOf(toolbar, 2));
    EXPECT_TRUE(!window->toolTips().isVisible() && window->toolTips().timerInterval() == 30);
    ASSERT_TRUE(eventually([&] { return window->toolTips().isVisible(); }));
    // Hidden by Qt (a key press, its own timeout), it stays hidden while the pointer rests.
    QToolTip::hideText(), QTest::qWait(500);
    EXPECT_FALSE(QToolTip::isVisible());
    controller->moveToolbar(toolbar, 5, 5, true);
    EXPECT_FALSE(window->toolTips().isVisible());
    // An item without one never hides another widget's tooltip, which Qt would hide only after a while.
    moveTo(window, centreOf(toolbar, 1)), QToolTip::showText(QPoint(50, 50), QStringLiteral("host tip")), QTest::qWait(400);
    EXPECT_EQ(QStringLiteral("host tip"), QToolTip::isVisible() ? QToolTip::text() : QString());

    // With tooltips disabled hovering starts no timer.
    SetMTBTooltipOption(TooltipsEnabled, false), sweep(window), moveTo(window, centreOf(toolbar, 0));
    EXPECT_TRUE(toolbar->view()->current() && !window->toolTips().isTimerActive());
    // Suspending the toolbar drops a pending tooltip.
    SetMTBTooltipOption(TooltipsEnabled, true), sweep(window), moveTo(window, centreOf(toolbar, 0));
    ASSERT_TRUE(window->toolTips().isTimerActive());
    controller->suspendToolbar(toolbar);
    EXPECT_FALSE(window->toolTips().isTimerActive());
}

TEST_F(WindowTest, shouldTellNearFromFarWithTheFadeMargins)
{
    // Faded in, the pointer is near up to 10 px around the toolbar; faded out, only up to 6 px around its steady part.
    MiniToolbar* toolbar = shown(2, 300, 300);
    QmtbView* window = windowOf(toolbar);
    const int height = windowRect(toolbar).height(), width = windowRect(toolbar).width();
    const struct { QPoint pointer; bool near; } steps[] = {
        { { 290, 305 }, true }, { { 289, 305 }, false }, { { 293, 305 }, false }, { { 294, 305 }, true },
        { { 305, 290 }, true }, { { 305, 289 }, false }, { { 305, 294 }, true },
        { { 305, 300 + height + 10 }, true }, { { 305, 300 + height + 11 }, false },
        { { 300 + width + 6, 305 }, true }, { { 300 + width + 10, 305 }, true }, { { 300 + width + 11, 305 }, false },
    };
    for (const auto& step : steps) {
        controller->pointerMoved(step.pointer.x(), step.pointer.y());
        EXPECT_EQ(step.near, window->fade().isFadedIn()) << step.pointer.x() << "," << step.pointer.y();
        finishFade(window);
    }
}

TEST_F(WindowTest, shouldLockTheFadeByGlobalSwitchAndLocalValue)
{
    // Auto fade off ends fades and locks toolbars faded in unless local 1 opts in; local 0 opts out.
    MiniToolbar* toolbar = shown(2);
    QmtbView* window = windowOf(toolbar);
    controller->pointerMoved(790, 590);
    ASSERT_TRUE(window->fade().isAnimating());
    Options options;
    options.setAutoFade(false), controller->setOptions(options), window->fade().setFadedIn(false);
    EXPECT_TRUE(!window->fade().isAnimating() && window->fade().isFadedIn());
    toolbar->setLocalAutoFade(1), controller->pointerMoved(790, 590);
    EXPECT_FALSE(window->fade().isFadedIn());
    MiniToolbar* excluded = shown(2, 100, 100);
    excluded->setLocalAutoFade(0), options.setAutoFade(true), controller->setOptions(options), controller->pointerMoved(790, 590);
    EXPECT_TRUE(windowOf(excluded)->fade().isFadedIn());
}

TEST_F(WindowTest, shouldRestFaintAndReportFadedOnlyWhenEveryItemAutoHides)
{
    // All items auto-hiding: the toolbar rests at 0.3 and tells the host ToolbarFaded once per pass that paints; with a steady item it goes to 0 silently.
    for (bool withSteadyItem : { false, true }) {
        SCOPED_TRACE(withSteadyItem);
        toolbarSink.types.clear();
        MiniToolbar* toolbar = add(makeToolbar(1));
        if (withSteadyItem)
            toolbar->addItem(makeButton(L"Keep", false));
        controller->showToolbar(toolbar, 300, 300, &observer), controller->pointerMoved(790, 590), finishFade(windowOf(toolbar));
        EXPECT_FLOAT_EQ(withSteadyItem ? 0.0f : 0.3f, static_cast<float>(windowOf(toolbar)->currentOpacity()));
        using Types = std::vector<MTBxToolbarEvents::EventType>;
        EXPECT_EQ(withSteadyItem ? Types{} : Types{ MTBxToolbarEvents::ToolbarFaded }, toolbarSink.types);
        // A later pass that paints at rest, however often, tells it once more.
        windowOf(toolbar)->repaint(), windowOf(toolbar)->repaint(), QCoreApplication::processEvents();
        EXPECT_EQ(withSteadyItem ? 0u : 2u, toolbarSink.types.size());
        controller->closeToolbar(toolbar);
    }
}

TEST_F(WindowTest, shouldNeitherMaskNorHitItemsDrawnInvisible)
{
    // Showing only no-fade items (a fade lock), or faded out beside one, auto-hiding items and grip leave the mask and take no input.
    for (bool locked : { true, false }) {
        SCOPED_TRACE(locked ? "only no-fade items" : "faded out");
        itemSink.events.clear();
        MiniToolbar* toolbar = add(makeToolbar(1));
        toolbar->addItem(makeButton(L"Keep", false));
        controller->showToolbar(toolbar, 300, 300, &observer);
        QmtbView* window = windowOf(toolbar);
        const QPoint hidden = centreOf(toolbar, 0), kept = centreOf(toolbar, 1);
        const int keptLeft = windowRect(toolbar, 1).left();
        if (locked) {
            toolbar->setDisplayOnlyNoFadeItems(true);
        } else {
            // While they fade out they stay in the window, where the pointer coming back can catch them.
            controller->pointerMoved(790, 590);
            EXPECT_TRUE(window->fade().isAnimating() && window->rect().contains(window->placement().toLocal(hidden)));
            finishFade(window);
        }
        ASSERT_DOUBLE_EQ(0.0, window->currentOpacity());
        EXPECT_TRUE(!window->placement().paintedRegion().contains(hidden) && window->placement().paintedRegion().contains(kept));
        EXPECT_GE(window->placement().paintedRegion().boundingRect().left(), keptLeft - QmtbPlacement::penMargin);
        EXPECT_FALSE(window->rect().contains(window->placement().toLocal(hidden)));

        sweep(window), moveTo(window, hidden), click(window, hidden);
        EXPECT_TRUE(itemSink.events.empty());
        click(window, kept);
        EXPECT_EQ(1, itemSink.count(MTBxItemEvents::Clicked));
        // Hovering the kept item fades the toolbar in unless it is locked: the hidden item comes back at once.
        EXPECT_EQ(std::make_pair(!locked, !locked), std::make_pair(window->placement().paintedRegion().contains(hidden), window->fade().isFadedIn()));
        controller->closeToolbar(toolbar);
    }
}

TEST_F(WindowTest, shouldOutliveHandlersAndObserverCallbacksThatDestroyItsToolbar)
{
    // A is destroyed by B's callback on A's forwarded release, in mtbMoved during a drag, or in getMtbParentBounds during a relayout: A's window lives until its handler returns and goes at the next cleanup.
    static int contextB = 0;
    for (int road = 0; road < 3; ++road) {
        SCOPED_TRACE(road);
        MiniToolbar* a = shown(2, 300, 300);
        QPointer<QmtbView> windowA = windowOf(a);
        MiniToolbar* b = add(std::make_unique<MiniToolbar>(MTBxString(L"B"), &contextB));
        b->addItem(makeButton(L"Other", true, &contextB));
        controller->showToolbar(b, 300, 400, &observer), QCoreApplication::processEvents();
        bool survived = true;
        const auto destroyA = [&] {
            if (!a)
                return;
            toolbars.erase(std::find_if(toolbars.begin(), toolbars.end(), [&](const auto& t) { return t.get() == a; }));
            a = nullptr;
            survived = !windowA.isNull();
        };
        const QPoint start = centreOf(a, 0);
        if (road == 0) {
            itemSink.onEvent = [&](void* context, MTBxItemEvents::EventType) { if (context == &contextB) destroyA(); };
            press(windowA, start), release(windowA, centreOf(b, 0));
        } else if (road == 1) {
            observer.onCallback = destroyA;
            press(windowA, start), moveTo(windowA, start + QPoint(20, 0));
        } else {
            observer.onCallback = destroyA;
            controller->updateLayout(a, true);
        }
        itemSink.onEvent = nullptr, observer.onCallback = nullptr;
        EXPECT_TRUE(!a && survived);
        MiniToolbar::CleanupOldViews();
        EXPECT_TRUE(windowA.isNull());
        toolbars.clear();
    }
}
