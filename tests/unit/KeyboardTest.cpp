// Keyboard navigation of a toolbar the host handed the keyboard to.
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxLabel.h"
#include "MiniToolbars/MTBxNewLine.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "MiniToolbars/Options.h"
#include "Qt/QmtbKeyboard.h"
#include "Qt/QmtbPlacement.h"
#include "support/WindowTestSupport.h"

#include <QLineEdit>
#include <QShortcut>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

class KeyboardTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        host.setText(QStringLiteral("text")), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        host.setFocus();
    }
    // A, label, separator, disabled B, checkable C / split drop-down D, E.
    MiniToolbar* twoRows()
    {
        MiniToolbar* toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        auto* dropDown = new MTBxDropDownButton(MTBxString(L"D"), &hostContext);
        dropDown->setText(MTBxString(L"D")), dropDown->setShowText(true), dropDown->setHasSplitter(true);
        for (MTBxItem* item : std::initializer_list<MTBxItem*>{ makeButton(L"A"), new MTBxLabel(MTBxString(L"L"), &hostContext), new MTBxSeparator,
                 makeButton(L"B"), makeButton(L"C"), new MTBxNewLine, dropDown, makeButton(L"E") })
            toolbar->addItem(item);
        toolbar->item(3)->setEnabled(false), toolbar->item(4)->setCheckable(true);
        EXPECT_TRUE(controller->showToolbar(toolbar, 200, 200, &observer) && controller->giveKeyboardTo(toolbar));
        return toolbar;
    }
    int focused(MiniToolbar* toolbar) const
    {
        const ItemView* view = QmtbKeyboard::instance().focused(windowOf(toolbar));
        int i = 0;
        while (view && toolbar->hasItem(i) && toolbar->item(i) != view->item())
            ++i;
        return view ? i : -1;
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {}) { key ? QTest::keyClick(&host, Qt::Key(key), modifiers) : void(); }

    QLineEdit host;
};

TEST_F(KeyboardTest, shouldMoveOverEnabledItemsSkippingLabelsAndSeparators)
{
    // Each key moves the focus ring from where the previous one left it; the host sees none of them, nor do its shortcuts.
    MiniToolbar* toolbar = twoRows();
    QShortcut shortcut(QKeySequence(Qt::Key_Right), &host);
    int fired = 0;
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++fired; });
    EXPECT_EQ(0, focused(toolbar));
    const struct { int key; Qt::KeyboardModifiers modifiers; int focused; } steps[] = {
        { Qt::Key_Right, {}, 4 }, { Qt::Key_Right, {}, 6 }, { Qt::Key_Left, {}, 4 }, { Qt::Key_Down, {}, 7 },
        { Qt::Key_Up, {}, 4 }, { Qt::Key_Up, {}, 4 }, { Qt::Key_Down, {}, 7 }, { Qt::Key_Right, {}, 7 },
        { Qt::Key_Home, {}, 0 }, { Qt::Key_Left, {}, 0 }, { Qt::Key_Down, {}, 6 }, { Qt::Key_Down, {}, 6 },
        { Qt::Key_End, {}, 7 }, { Qt::Key_Tab, Qt::ShiftModifier, 6 }, { Qt::Key_Tab, {}, 7 }, { Qt::Key_Backtab, {}, 6 },
    };
    for (const auto& step : steps) {
        key(step.key, step.modifiers);
        EXPECT_EQ(step.focused, focused(toolbar)) << "key " << std::hex << step.key;
    }
    EXPECT_EQ(0, fired);
    // The focused item goes: the next key starts again at the first.
    toolbar->removeItem(6);
    key(Qt::Key_Left);
    EXPECT_TRUE(focused(toolbar) == 0 && host.cursorPosition() == 4);
}

TEST_F(KeyboardTest, shouldDrawTheFocusRingInsideTheFocusedItemInBothThemes)
{
    // Taking the keyboard changes pixels of the focused item, and only there.
    for (const Options::Theme theme : { Options::Light, Options::Dark }) {
        Options options;
        options.setTheme(theme), controller->setOptions(options);
        MiniToolbar* toolbar = shown(2);
        const QImage before = windowOf(toolbar)->grab().toImage();
        ASSERT_TRUE(controller->giveKeyboardTo(toolbar));
        const QImage after = windowOf(toolbar)->grab().toImage();
        QRect changed;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                changed |= before.pixel(x, y) == after.pixel(x, y) ? QRect() : QRect(x, y, 1, 1);
        const QRect item = windowRect(toolbar, 0).translated(windowOf(toolbar)->placement().toLocal(QPoint()));
        EXPECT_TRUE(item.contains(changed) && changed.width() > item.width() / 2) << theme;
    }
}

TEST_F(KeyboardTest, shouldClickWithReturnAndSpaceAndOpenListsWithAltDownAndF4)
{
    // A key sends the host exactly what a click on the focused item (or its arrow) sends.
    MiniToolbar* toolbar = twoRows();
    QWindow* window = windowOf(toolbar)->windowHandle();
    const auto local = [&](QPoint p) { return windowOf(toolbar)->placement().toLocal(p); };
    const struct { int moveKey, key; Qt::KeyboardModifiers modifiers; bool click; } cases[] = {
        { Qt::Key_Right, Qt::Key_Return, {}, true }, { 0, Qt::Key_Space, {}, true }, { 0, Qt::Key_Enter, {}, true },
        { Qt::Key_Right, Qt::Key_Down, Qt::AltModifier, false }, { 0, Qt::Key_F4, {}, false }, { Qt::Key_Right, Qt::Key_F4, {}, false },
        { 0, Qt::Key_Return, {}, true },
    };
    for (const auto& c : cases) {
        key(c.moveKey);
        MTBxItem* item = toolbar->item(focused(toolbar));
        const bool checked = item->isChecked();
        std::vector<int> expected = { MTBxItemEvents::HoverEnter, MTBxItemEvents::DropDownAboutToShow, MTBxItemEvents::HoverLeave };
        if (c.click) {
            itemSink.events.clear();
            QTest::mouseMove(window, local(centreOf(toolbar, focused(toolbar))));
            QTest::mouseClick(window, Qt::LeftButton, {}, local(centreOf(toolbar, focused(toolbar))));
            QTest::mouseMove(window, local(QPoint(700, 550)));
            expected = itemSink.types();
            EXPECT_EQ(item->isCheckable(), checked != item->isChecked());
        } else if (item->itemType() != MTBxItem::DropDownButton) {
            expected.clear();
        }
        itemSink.events.clear();
        key(c.key, c.modifiers);
        EXPECT_EQ(expected, itemSink.types()) << "key " << std::hex << c.key;
        EXPECT_EQ(checked, item->isChecked());
        // Escape, which the open menu reads, closes it; the keyboard stays on the toolbar.
        if (QWidget* menu = QApplication::activePopupWidget()) {
            QTest::keyClick(menu, Qt::Key_Escape);
            EXPECT_TRUE(!windowOf(toolbar)->hasPopup() && QmtbKeyboard::instance().window());
        }
    }
}

TEST_F(KeyboardTest, shouldTakeTheKeyboardOnlyWhenGivenAndGiveItBack)
{
    // Showing never takes the keyboard; nor can a toolbar without a focusable item; Escape, hiding and a focus change give it back.
    MiniToolbar* labels = add(std::make_unique<MiniToolbar>(MTBxString(L"labels"), &hostContext));
    labels->addItem(new MTBxLabel(MTBxString(L"L"), &hostContext));
    EXPECT_FALSE(controller->giveKeyboardTo(labels) || !controller->showToolbar(labels, 200, 400, &observer) || controller->giveKeyboardTo(labels));
    key(Qt::Key_Left);
    EXPECT_TRUE(QmtbKeyboard::instance().window() == nullptr && host.cursorPosition() == 3);
    MiniToolbar* toolbar = twoRows();
    const std::function<void()> endings[] = {
        [&] { key(Qt::Key_Escape); },
        [&] { controller->setSuspended(toolbar, true); },
        [&] { QLineEdit other; other.show(), other.activateWindow(); EXPECT_TRUE(QTest::qWaitForWindowActive(&other)); other.setFocus(); },
    };
    for (const auto& end : endings) {
        controller->setSuspended(toolbar, false);
        ASSERT_TRUE(controller->giveKeyboardTo(toolbar));
        key(Qt::Key_Left), end();
        EXPECT_EQ(nullptr, QmtbKeyboard::instance().window());
        host.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
        host.setFocus(), key(Qt::Key_Left);
        EXPECT_EQ(2, host.cursorPosition());
        host.setCursorPosition(3);
    }
}

} // namespace
