// The controller's bookkeeping of shown, suspended and closed toolbars, and
// the options it shares with every window.
#include "Core/MTBxView.h"
#include "MiniToolbars/Options.h"
#include "Qt/QmtbWindowRegistry.h"
#include "support/WindowTestSupport.h"


using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

using ControllerTest = ControllerFixture;

TEST_F(ControllerTest, shouldRefuseANullObserverAndANestedShow)
{
    // showToolbar without observer, or re-entered from the parent query of a show through any controller, answers false and creates no view; a toolbar destroyed there is not shown.
    auto other = makeToolbar(1);
    EXPECT_FALSE(controller->showToolbar(other.get(), 10, 10, nullptr));
    EXPECT_FALSE(controller->showToolbar(nullptr, 10, 10, &observer));
    std::unique_ptr<Controller> second(Controller::createInstance());
    std::vector<bool> nested;
    observer.onParentHwnd = [&] {
        nested.push_back(controller->showToolbar(other.get(), 10, 10, &observer));
        nested.push_back(second->showToolbar(toolbars.back().get(), 10, 10, &observer));
    };
    EXPECT_NE(nullptr, shown(1)->view());
    EXPECT_EQ(std::vector<bool>(2, false), nested);
    EXPECT_EQ(nullptr, other->view());
    observer.onParentHwnd = [&] { other.reset(); };
    EXPECT_FALSE(controller->showToolbar(other.get(), 300, 300, &observer));
    EXPECT_EQ(1, QmtbWindowRegistry::visibleWindows().size());
    observer.onParentHwnd = nullptr;
}

TEST_F(ControllerTest, shouldReuseTheViewAndCloseToAnEmptyToolbar)
{
    // A second show keeps view and window and only moves; closing deletes items and view, after which the toolbar shows again.
    MiniToolbar* toolbar = shown(2, 200, 200);
    MTBxView* view = toolbar->view();
    // Window rules and style sheets find toolbar windows by name and title.
    EXPECT_EQ(QStringList({ "mtbWindow", "MiniToolbar" }), QStringList({ windowOf(toolbar)->objectName(), windowOf(toolbar)->windowTitle() }));
    ASSERT_TRUE(controller->showToolbar(toolbar, 260, 240, &observer));
    EXPECT_EQ(view, toolbar->view());
    EXPECT_EQ(QPoint(260, 240), origin(toolbar));
    EXPECT_EQ(1, QmtbWindowRegistry::visibleWindows().size());
    controller->closeToolbar(toolbar);
    EXPECT_TRUE(toolbar->isEmpty() && controller->isSuspended(toolbar) && !toolbar->view());
    EXPECT_TRUE(QmtbWindowRegistry::visibleWindows().isEmpty() && QmtbWindowRegistry::suspendedWindows().isEmpty());
    toolbar->addItem(makeButton(L"Again"));
    EXPECT_TRUE(controller->showToolbar(toolbar, 300, 300, &observer) && toolbar->isVisible());

    // Operations on a null or never shown toolbar change nothing; isSuspended answers true.
    auto unshown = makeToolbar(2);
    for (MiniToolbar* t : { unshown.get(), static_cast<MiniToolbar*>(nullptr) }) {
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
    EXPECT_EQ(2, unshown->itemCount());
}

TEST_F(ControllerTest, shouldListAndMoveToolbarsInOrder)
{
    // Visible toolbars come in showing order, suspended ones in suspension order (appended unless asked to clear); moveAllToolbars shifts only the visible ones.
    MiniToolbar* a = shown(1, 100, 100);
    MiniToolbar* b = shown(1, 300, 200);
    MiniToolbar* c = shown(1, 500, 300);
    using List = std::vector<MiniToolbar*>;
    const auto listed = [&](int which) {
        List list{ nullptr };
        which < 0 ? controller->getVisibleToolbars(list) : controller->getSuspendedToolbars(list, which);
        return list;
    };
    EXPECT_EQ((List{ a, b, c }), listed(-1));
    controller->suspendToolbar(c);
    controller->suspendToolbar(a);
    EXPECT_EQ((std::vector<List>{ { b }, { nullptr, c, a }, { c, a } }), (std::vector<List>{ listed(-1), listed(false), listed(true) }));

    controller->moveAllToolbars(b, 10, -5);
    EXPECT_EQ(std::make_pair(QPoint(310, 195), QPoint(500, 300)), std::make_pair(origin(b), origin(c)));
    controller->moveToolbar(b, 3, 4, true);
    EXPECT_EQ(QPoint(313, 199), origin(b));
    controller->moveToolbar(b, 200, 150, false);
    EXPECT_EQ(QPoint(200, 150), origin(b));
}

TEST_F(ControllerTest, shouldApplyOptionsToTheSharedStyle)
{
    // An unknown theme keeps the current one; a scaling factor reaches style and next layout.
    Options dark;
    dark.setTheme(Options::Dark);
    controller->setOptions(dark);
    const ThemePalette darkPalette = Style::instance()->palette();
    Options unknown;
    unknown.setTheme(static_cast<Options::Theme>(7));
    unknown.setIconTheme(Options::AlternateIcons);
    controller->setOptions(unknown);
    EXPECT_EQ(std::make_pair(Options::Dark, Options::AlternateIcons), std::make_pair(controller->getOptions().theme(), controller->getOptions().iconTheme()));
    EXPECT_TRUE(darkPalette.text() == Style::instance()->palette().text());

    MiniToolbar* toolbar = shown(1);
    Options scaled;
    scaled.setScalingFactor(1.5f);
    controller->setOptions(scaled);
    controller->updateLayout(toolbar, true);
    EXPECT_EQ(std::make_pair(Options::Light, 12), std::make_pair(controller->getOptions().theme(), Style::instance()->fontPointSize()));
    EXPECT_EQ(Style::instance()->itemHeight(), windowRect(toolbar).height());
}
