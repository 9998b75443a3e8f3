#include "MTBxView.h"
#include "Options.h"
#include "WindowTestSupport.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

// The library's own observer defaults, as a host that overrides nothing gets them.
class DefaultObserver : public ControllerObserver
{
};

class ControllerTest : public ControllerFixture
{
};

} // namespace

TEST_F(ControllerTest, shouldRefuseANullObserverAndANestedShow)
{
    // showToolbar without observer, or re-entered from an observer callback during a show, answers false and creates no view.
    auto other = makeToolbar(1);
    EXPECT_FALSE(controller->showToolbar(other.get(), 10, 10, nullptr));
    EXPECT_EQ(nullptr, other->view());
    EXPECT_FALSE(controller->showToolbar(nullptr, 10, 10, &observer));

    bool nested = true;
    observer.onParentHwnd = [&] { nested = controller->showToolbar(other.get(), 10, 10, &observer); };
    MiniToolbar* toolbar = shown(1);
    EXPECT_FALSE(nested);
    EXPECT_EQ(nullptr, other->view());
    EXPECT_NE(nullptr, toolbar->view());
    observer.onParentHwnd = nullptr;
    EXPECT_TRUE(controller->showToolbar(other.get(), 10, 10, &observer));
    controller->closeToolbar(other.get());
}

TEST_F(ControllerTest, shouldReuseTheViewForASecondShow)
{
    // Showing a shown toolbar again keeps its view and window and only moves it.
    MiniToolbar* toolbar = shown(2, 200, 200);
    MTBxView* view = toolbar->view();
    QmtbView* window = windowOf(toolbar);
    ASSERT_TRUE(controller->showToolbar(toolbar, 260, 240, &observer));
    EXPECT_EQ(view, toolbar->view());
    EXPECT_EQ(window, windowOf(toolbar));
    EXPECT_EQ(QPoint(260, 240), origin(toolbar));
    EXPECT_TRUE(toolbar->view()->name() == L"bar");
    EXPECT_EQ(1, QmtbView::visibleWindows().size());
}

TEST_F(ControllerTest, shouldCloseToAnEmptyToolbarWithoutView)
{
    // closeToolbar deletes items and view; the toolbar then counts as suspended and can be shown again.
    MiniToolbar* toolbar = shown(3);
    controller->closeToolbar(toolbar);
    EXPECT_TRUE(toolbar->isEmpty());
    EXPECT_EQ(nullptr, toolbar->view());
    EXPECT_TRUE(controller->isSuspended(toolbar));
    EXPECT_TRUE(QmtbView::visibleWindows().isEmpty());
    EXPECT_TRUE(QmtbView::suspendedWindows().isEmpty());
    toolbar->addItem(makeButton(L"Again"));
    EXPECT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer));
    EXPECT_TRUE(toolbar->isVisible());
}

TEST_F(ControllerTest, shouldIgnoreToolbarsWithoutWindow)
{
    // Operations on a null or never shown toolbar change nothing; isSuspended answers true.
    auto toolbar = makeToolbar(2);
    for (MiniToolbar* t : { toolbar.get(), static_cast<MiniToolbar*>(nullptr) }) {
        controller->closeToolbar(t);
        controller->setSuspended(t, true);
        controller->moveAllToolbars(t, 5, 5);
        controller->moveToolbar(t, 5, 5, true);
        controller->updateLayout(t, true);
        controller->suspendToolbar(t);
        controller->resumeToolbar(t);
        controller->clearEntryFocus(t);
        EXPECT_TRUE(controller->isSuspended(t));
        EXPECT_EQ(QPoint(-1, -1), origin(t));
    }
    EXPECT_EQ(2, toolbar->itemCount());
}

TEST_F(ControllerTest, shouldListVisibleAndSuspendedToolbarsInOrder)
{
    // Visible toolbars come in showing order; suspended ones in suspension order, appended unless cleared.
    MiniToolbar* a = shown(1, 100, 100);
    MiniToolbar* b = shown(1, 300, 100);
    MiniToolbar* c = shown(1, 500, 100);
    std::vector<MiniToolbar*> list{ nullptr };
    controller->getVisibleToolbars(list);
    EXPECT_EQ((std::vector<MiniToolbar*>{ a, b, c }), list);

    controller->suspendToolbar(c);
    controller->suspendToolbar(a);
    controller->getVisibleToolbars(list);
    EXPECT_EQ((std::vector<MiniToolbar*>{ b }), list);
    controller->getSuspendedToolbars(list, false);
    EXPECT_EQ((std::vector<MiniToolbar*>{ b, c, a }), list);
    controller->getSuspendedToolbars(list, true);
    EXPECT_EQ((std::vector<MiniToolbar*>{ c, a }), list);
}

TEST_F(ControllerTest, shouldMoveEveryVisibleToolbar)
{
    // moveAllToolbars shifts every visible toolbar, relative moves add up, absolute ones replace.
    MiniToolbar* a = shown(1, 100, 100);
    MiniToolbar* b = shown(1, 300, 200);
    MiniToolbar* hidden = shown(1, 500, 300);
    controller->suspendToolbar(hidden);
    controller->moveAllToolbars(a, 10, -5);
    EXPECT_EQ(QPoint(110, 95), origin(a));
    EXPECT_EQ(QPoint(310, 195), origin(b));
    EXPECT_EQ(QPoint(500, 300), origin(hidden));
    controller->moveToolbar(a, 3, 4, true);
    EXPECT_EQ(QPoint(113, 99), origin(a));
    controller->moveToolbar(a, 200, 150, false);
    EXPECT_EQ(QPoint(200, 150), origin(a));
}

TEST_F(ControllerTest, shouldKeepTheThemeForAnUnknownValue)
{
    // Theme 7 leaves the dark theme in place, in the style and in getOptions.
    Options dark;
    dark.setTheme(Options::Dark);
    controller->setOptions(dark);
    const ThemePalette darkPalette = Style::instance()->palette();
    Options unknown;
    unknown.setTheme(static_cast<Options::Theme>(7));
    unknown.setIconTheme(Options::AlternateIcons);
    controller->setOptions(unknown);
    EXPECT_EQ(Options::Dark, controller->getOptions().theme());
    EXPECT_EQ(Options::AlternateIcons, controller->getOptions().iconTheme());
    EXPECT_TRUE(darkPalette.text() == Style::instance()->palette().text());
    Options light;
    controller->setOptions(light);
    EXPECT_EQ(Options::Light, controller->getOptions().theme());
    EXPECT_FALSE(darkPalette.text() == Style::instance()->palette().text());
}

TEST_F(ControllerTest, shouldScaleTheStyleAndKeepTheFactor)
{
    // A factor of 1.5 reaches the style and the options; the next layout uses the new item height.
    MiniToolbar* toolbar = shown(1);
    const int height = Style::instance()->itemHeight();
    Options options;
    options.setScalingFactor(1.5f);
    controller->setOptions(options);
    EXPECT_FLOAT_EQ(1.5f, controller->getOptions().scalingFactor());
    EXPECT_FLOAT_EQ(1.5f, Style::instance()->scalingFactor());
    EXPECT_EQ(12, Style::instance()->fontPointSize());
    controller->updateLayout(toolbar, true);
    float top = 0, left = 0, bottom = 0, right = 0;
    toolbar->getBounds(top, left, bottom, right);
    EXPECT_EQ(Style::instance()->itemHeight(), static_cast<int>(top - bottom));
    EXPECT_GE(Style::instance()->itemHeight(), height);
}

TEST_F(ControllerTest, shouldDestroyTheStyleWithTheController)
{
    // Each createInstance gives a new controller; deleting the last one resets the shared style.
    std::unique_ptr<Controller> second(Controller::createInstance());
    EXPECT_NE(controller.get(), second.get());
    Options options;
    options.setScalingFactor(2.0f);
    second->setOptions(options);
    ASSERT_FLOAT_EQ(2.0f, Style::instance()->scalingFactor());
    second.reset();
    controller.reset();
    EXPECT_FLOAT_EQ(1.0f, Style::instance()->scalingFactor());
}

TEST_F(ControllerTest, shouldGiveScreenBoundsAndNoParentByDefault)
{
    // The default observer answers the screen's geometry and no parent window, and fading works with it.
    DefaultObserver defaults;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    int l = 0, t = 0, w = 100, h = 100;
    defaults.getMtbParentBounds(screen.center().x(), screen.center().y(), l, t, w, h);
    EXPECT_EQ(screen, QRect(l, t, w, h));
    l = 0, t = 0, w = 100, h = 100;
    defaults.getMtbParentBounds(-100000, -100000, l, t, w, h);
    EXPECT_EQ(screen, QRect(l, t, w, h));
    EXPECT_EQ(nullptr, defaults.getParentHwnd());
    int dx = 4, dy = -3;
    defaults.mtbMoved(dx, dy);
    EXPECT_EQ(4, dx);
    EXPECT_EQ(-3, dy);

    // A host that only reports pointer positions sees its toolbar fade out far away and back in near it.
    toolbars.push_back(makeToolbar(2));
    MiniToolbar* toolbar = toolbars.back().get();
    ASSERT_TRUE(controller->showToolbar(toolbar, 200, 200, &defaults));
    QmtbView* window = windowOf(toolbar);
    controller->pointerMoved(700, 500);
    EXPECT_FALSE(window->isFadedIn());
    controller->pointerMoved(205, 205);
    EXPECT_TRUE(window->isFadedIn());
}
