// Toolbars and their items through QAccessible, as a screen reader reads them.
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "support/WindowTestSupport.h"

#include <QAccessible>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

std::vector<std::pair<QAccessible::Event, int>> s_events;

class AccessibilityTest : public ControllerFixture
{
protected:
    // As Qt's own accessibility tests do: the platform's bridge, switched on, stands for a running reader.
    void SetUp() override
    {
        ControllerFixture::SetUp();
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessibleInterface* face = event->accessibleInterface();
            s_events.emplace_back(event->type(), face && face->parent() ? face->parent()->indexOfChild(face) : -1);
        });
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void TearDown() override
    {
        ControllerFixture::TearDown();
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
};

TEST_F(AccessibilityTest, shouldGiveEveryItemItsRoleNameDescriptionStatesRectangleAndActions)
{
    // One row per item kind; row breaks are no children.
    const QString press = QAccessibleActionInterface::pressAction(), toggle = QAccessibleActionInterface::toggleAction(),
                  menu = QAccessibleActionInterface::showMenuAction();
    const struct { MTBxItem* item; const wchar_t *text, *tip; bool checkable, enabled; QAccessible::Role role; QStringList actions; } rows[] = {
        { makeButton(L""), L"Bold", L"Bold text", false, true, QAccessible::PushButton, { press } },
        { makeButton(L""), L"", L"Only tip", true, true, QAccessible::CheckBox, { press, toggle } },
        { new MTBxLabel(MTBxString(L"l"), &hostContext), L"Font", L"", false, true, QAccessible::StaticText, {} },
        { new MTBxSeparator, L"", L"", false, true, QAccessible::Separator, {} },
        { new MTBxItem(MTBxItem::CommandItem, MTBxString(L"c"), &hostContext), L"Go", L"", false, false, QAccessible::PushButton, {} },
        { new MTBxNewLine, L"", L"", false, true, QAccessible::NoRole, {} },
        { new MTBxItem(MTBxItem::Combobox, MTBxString(L"c"), &hostContext), L"Size", L"", false, true, QAccessible::ComboBox, { menu } },
        { new MTBxItem(MTBxItem::DropDownEntry, MTBxString(L"e"), &hostContext), L"Find", L"", false, true, QAccessible::EditableText, {} },
        { new MTBxDropDownButton(MTBxString(L"d"), &hostContext), L"More", L"", false, true, QAccessible::ButtonMenu, { press, menu } },
    };
    MiniToolbar* toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"Format"), &hostContext));
    for (const auto& row : rows) {
        toolbar->addItem(row.item);
        row.item->setText(MTBxString(row.text)), row.item->setShowText(true), row.item->setToolTip(MTBxString(row.tip));
        row.item->setCheckable(row.checkable), row.item->setChecked(row.checkable, false), row.item->setEnabled(row.enabled);
    }
    ASSERT_TRUE(controller->showToolbar(toolbar, 100, 200, &observer) && controller->giveKeyboardTo(toolbar));
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(windowOf(toolbar));
    ASSERT_TRUE(bar && bar->role() == QAccessible::ToolBar && bar->text(QAccessible::Name) == "Format" && bar->childCount() == 8);
    EXPECT_EQ(toolbarRect(toolbar), bar->rect());
    for (int i = 0, child = 0; i < int(std::size(rows)); ++i) {
        const auto& row = rows[i];
        if (row.role == QAccessible::NoRole)
            continue;
        SCOPED_TRACE(i);
        QAccessibleInterface* face = bar->child(child++);
        EXPECT_TRUE(face->isValid() && face->parent() == bar && bar->indexOfChild(face) == child - 1 && face->role() == row.role);
        EXPECT_EQ(QString::fromWCharArray(*row.text ? row.text : row.tip), face->text(QAccessible::Name));
        EXPECT_EQ(QString::fromWCharArray(row.tip), face->text(QAccessible::Description));
        const QAccessible::State state = face->state();
        EXPECT_TRUE(state.disabled != row.enabled && state.checkable == row.checkable && state.checked == row.checkable);
        EXPECT_TRUE(state.focused == (i == 0) && !state.invisible && row.actions == face->actionInterface()->actionNames());
        if (row.role != QAccessible::Separator)
            EXPECT_TRUE(windowRect(toolbar, i) == face->rect() && face == bar->childAt(face->rect().center().x(), face->rect().center().y()));
    }
    controller->setSuspended(toolbar, true);
    EXPECT_TRUE(bar->child(0)->state().invisible);
}

TEST_F(AccessibilityTest, shouldActLikeAClickAndAnnounceFocusChecksAndNames)
{
    // Actions reach the host as clicks; readers hear focus moves, check changes and renames.
    MiniToolbar* toolbar = shown(3);
    toolbar->item(1)->setCheckable(true);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(windowOf(toolbar));
    using E = MTBxItemEvents;
    const struct { int child; QString action; std::vector<int> events; } actions[] = {
        { 0, QAccessibleActionInterface::pressAction(), { E::HoverEnter, E::Clicked, E::HoverLeave } },
        { 1, QAccessibleActionInterface::toggleAction(), { E::HoverEnter, E::CheckedChanged, E::Clicked, E::HoverLeave } },
        { 2, QAccessibleActionInterface::toggleAction(), {} },
    };
    for (const auto& a : actions) {
        itemSink.events.clear();
        bar->child(a.child)->actionInterface()->doAction(a.action);
        EXPECT_EQ(a.events, itemSink.types()) << a.child;
    }
    s_events.clear();
    controller->giveKeyboardTo(toolbar);
    QTest::keyClick(windowOf(toolbar), Qt::Key_End);
    toolbar->item(1)->setChecked(false);
    toolbar->item(2)->setText(MTBxString(L"Renamed"));
    const std::vector<std::pair<QAccessible::Event, int>> expected = {
        { QAccessible::Focus, 0 }, { QAccessible::Focus, 2 }, { QAccessible::StateChanged, 1 }, { QAccessible::NameChanged, 2 } };
    EXPECT_TRUE(eventually([&] { return s_events == expected; })) << ::testing::PrintToString(s_events);
    EXPECT_EQ("Renamed", bar->child(2)->text(QAccessible::Name));
}

} // namespace
