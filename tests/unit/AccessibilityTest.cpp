// Toolbars and their items through QAccessible, as a screen reader reads them.
#include "MTBxDropDownButton.h"
#include "MTBxLabel.h"
#include "MTBxNewLine.h"
#include "MTBxSeparator.h"
#include "WindowTestSupport.h"

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
    void SetUp() override
    {
        ControllerFixture::SetUp();
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            QAccessibleInterface* face = event->accessibleInterface();
            s_events.emplace_back(event->type(), face && face->parent() ? face->parent()->indexOfChild(face) : -1);
        });
        // As Qt's own accessibility tests do: the platform's bridge stands for a running reader.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        s_events.clear();
    }
    void TearDown() override
    {
        ControllerFixture::TearDown();
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }
    static MTBxItem* item(MTBxItem::MTBItemType type, const wchar_t* text, const wchar_t* tip)
    {
        MTBxItem* item = type == MTBxItem::Label ? new MTBxLabel(MTBxString(L"l"), &hostContext)
            : type == MTBxItem::DropDownButton   ? new MTBxDropDownButton(MTBxString(L"d"), &hostContext)
            : type == MTBxItem::Separator        ? new MTBxSeparator
                                                 : new MTBxItem(type, MTBxString(L"i"), &hostContext);
        item->setText(MTBxString(text)), item->setShowText(true), item->setToolTip(MTBxString(tip));
        return item;
    }
    QAccessibleInterface* toolbarInterface(MiniToolbar* toolbar) { return QAccessible::queryAccessibleInterface(windowOf(toolbar)); }
};

TEST_F(AccessibilityTest, shouldGiveEveryItemItsRoleNameDescriptionStatesRectangleAndActions)
{
    // One row per item kind; row breaks are no children.
    const QString press = QAccessibleActionInterface::pressAction(), toggle = QAccessibleActionInterface::toggleAction(),
                  menu = QAccessibleActionInterface::showMenuAction();
    const struct { MTBxItem::MTBItemType type; const wchar_t *text, *tip; bool checkable, enabled; QAccessible::Role role;
                   QString name; QStringList actions; } rows[] = {
        { MTBxItem::Button, L"Bold", L"Bold text", false, true, QAccessible::PushButton, "Bold", { press } },
        { MTBxItem::Button, L"", L"Only tip", true, true, QAccessible::CheckBox, "Only tip", { press, toggle } },
        { MTBxItem::Label, L"Font", L"", false, true, QAccessible::StaticText, "Font", {} },
        { MTBxItem::Separator, L"", L"", false, true, QAccessible::Separator, "", {} },
        { MTBxItem::CommandItem, L"Go", L"", false, false, QAccessible::PushButton, "Go", {} },
        { MTBxItem::NewLine, L"", L"", false, true, QAccessible::NoRole, "", {} },
        { MTBxItem::Combobox, L"Size", L"", false, true, QAccessible::ComboBox, "Size", { menu } },
        { MTBxItem::DropDownEntry, L"Find", L"", false, true, QAccessible::EditableText, "Find", {} },
        { MTBxItem::DropDownButton, L"More", L"", false, true, QAccessible::ButtonMenu, "More", { press, menu } },
    };
    MiniToolbar* toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"Format"), &hostContext));
    for (const auto& row : rows) {
        MTBxItem* added = row.type == MTBxItem::NewLine ? new MTBxNewLine : item(row.type, row.text, row.tip);
        toolbar->addItem(added);
        added->setCheckable(row.checkable), added->setChecked(row.checkable, false), added->setEnabled(row.enabled);
    }
    ASSERT_TRUE(controller->showToolbar(toolbar, 100, 200, &observer));
    controller->giveKeyboardTo(toolbar);
    QAccessibleInterface* bar = toolbarInterface(toolbar);
    ASSERT_TRUE(bar && bar->role() == QAccessible::ToolBar && bar->text(QAccessible::Name) == "Format");
    EXPECT_EQ(toolbarRect(toolbar), bar->rect());
    ASSERT_EQ(8, bar->childCount());
    for (int i = 0, child = 0; i < int(std::size(rows)); ++i) {
        const auto& row = rows[i];
        if (row.type == MTBxItem::NewLine)
            continue;
        SCOPED_TRACE(row.name.toStdString());
        QAccessibleInterface* face = bar->child(child++);
        EXPECT_TRUE(face->isValid() && face->parent() == bar && bar->indexOfChild(face) == child - 1);
        EXPECT_TRUE(face->role() == row.role && face->text(QAccessible::Name) == row.name);
        EXPECT_EQ(QString::fromWCharArray(row.tip), face->text(QAccessible::Description));
        const QAccessible::State state = face->state();
        EXPECT_TRUE(state.disabled != row.enabled && state.checkable == row.checkable && state.checked == row.checkable);
        EXPECT_EQ(i == 0, bool(state.focused));
        EXPECT_FALSE(state.invisible);
        EXPECT_EQ(row.actions, face->actionInterface()->actionNames());
        if (row.type != MTBxItem::Separator)
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
    QAccessibleInterface* bar = toolbarInterface(toolbar);
    const struct { int child; QString action; std::vector<int> events; } actions[] = {
        { 0, QAccessibleActionInterface::pressAction(), { MTBxItemEvents::HoverEnter, MTBxItemEvents::Clicked, MTBxItemEvents::HoverLeave } },
        { 1, QAccessibleActionInterface::toggleAction(),
          { MTBxItemEvents::HoverEnter, MTBxItemEvents::CheckedChanged, MTBxItemEvents::Clicked, MTBxItemEvents::HoverLeave } },
        { 2, QAccessibleActionInterface::toggleAction(), {} },
    };
    for (const auto& a : actions) {
        itemSink.events.clear();
        bar->child(a.child)->actionInterface()->doAction(a.action);
        EXPECT_EQ(a.events, itemSink.types()) << a.child;
    }
    EXPECT_TRUE(bar->child(1)->state().checked);

    s_events.clear();
    controller->giveKeyboardTo(toolbar);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : static_cast<QWidget*>(windowOf(toolbar)), Qt::Key_End);
    toolbar->item(1)->setChecked(false);
    toolbar->item(2)->setText(MTBxString(L"Renamed"));
    const std::vector<std::pair<QAccessible::Event, int>> expected = {
        { QAccessible::Focus, 0 }, { QAccessible::Focus, 2 }, { QAccessible::StateChanged, 1 }, { QAccessible::NameChanged, 2 } };
    EXPECT_TRUE(eventually([&] { return s_events == expected; })) << ::testing::PrintToString(s_events);
    EXPECT_EQ("Renamed", bar->child(2)->text(QAccessible::Name));
}

} // namespace
