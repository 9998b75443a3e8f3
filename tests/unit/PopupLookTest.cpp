// The popups of a shown toolbar (menu, combo list, entry field, tooltip) drawn at the toolbar's theme and scale.
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/MTBxSeparator.h"
#include "MiniToolbars/Options.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbPointerInput.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowPopup.h"
#include "support/ReferenceImage.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include <cmath>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

int contexts[8];

// Grabs side by side, top-aligned, on a transparent sheet.
QImage sideBySide(const std::vector<QImage>& grabs)
{
    QSize size;
    for (const QImage& grab : grabs)
        size = QSize(size.width() + grab.width(), std::max(size.height(), grab.height()));
    QImage sheet(size, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    QPainter painter(&sheet);
    int x = 0;
    for (const QImage& grab : grabs)
        painter.drawImage(x, 0, grab), x += grab.width();
    return sheet;
}

QWidget* toolTipLabel()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    const auto tip = std::find_if(all.begin(), all.end(), [](QWidget* w) { return w->inherits("QTipLabel") && w->isVisible(); });
    return tip == all.end() ? nullptr : *tip;
}

// A drop-down button (checked, icon, disabled, separator, remove), a combo box and an entry.
class PopupLookTest : public ControllerFixture
{
protected:
    void build(int theme, float scaling)
    {
        Options options;
        options.setTheme(static_cast<Options::Theme>(theme)), options.setScalingFactor(scaling), controller->setOptions(options);
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        button = new MTBxDropDownButton(L"colour", &contexts[0]);
        button->setText(L"Colour"), button->setShowText(true), button->setToolTip(L"Text colour");
        const std::pair<const wchar_t*, int> children[] = { { L"Checked", 1 }, { L"Icon", 2 }, { L"Disabled", 3 },
                                                            { nullptr, 0 }, { L"Removable", 4 } };
        for (const auto& [text, kind] : children) {
            MTBxItem* c = text ? new MTBxCommandItem(text, &contexts[1]) : static_cast<MTBxItem*>(new MTBxSeparator);
            c->setParent(button), c->setText(text ? text : L""), c->setCheckable(kind == 1), c->setChecked(kind == 1, false);
            c->setIcon(kind == 2 ? L":/MiniToolbars/Grip.svg" : L""), c->setEnabled(kind != 3), c->setHasRemoveButton(kind == 4);
            button->addItem(c);
        }
        combo = new MTBxCombobox(L"size", &hostContext);
        combo->setShowText(true), combo->setSynchronizedWithCurrentItem(true);
        for (const wchar_t* text : { L"8", L"10", L"12", L"Removable" }) {
            auto* c = new MTBxCommandItem(text, &contexts[2]);
            c->setText(text), c->setParent(combo), c->setHasRemoveButton(text[0] == L'R');
            // Rows of one height: a list of mixed rows is cut at its end (the screenshot test's case).
            c->setIcon(L":/MiniToolbars/Grip.svg");
            combo->addItem(c);
        }
        entry = new MTBxDropDownEntry(L"find", L"Find me", &hostContext);
        entry->setWidth(138);
        toolbar->addItem(button), toolbar->addItem(combo), toolbar->addItem(entry);
        host.setGeometry(0, 0, 800, 600), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        ASSERT_TRUE(controller->showToolbar(toolbar, 200, 200, &observer));
        window = windowOf(toolbar);
        ASSERT_TRUE(eventually([&] { return field() && field()->isVisible(); }));
    }
    LineEditControl* field() const { return windowOf(toolbar) ? windowOf(toolbar)->findChild<LineEditControl*>() : nullptr; }
    void click(int index)
    {
        const QPoint p = window->placement().toLocal(centreOf(toolbar, index));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, p), QApplication::processEvents();
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, p), QApplication::processEvents();
    }
    // The menu open with its removable entry hovered.
    DropDownMenu* openMenu()
    {
        click(0);
        auto* menu = dynamic_cast<DropDownMenu*>(window->popups().popup());
        if (!menu || !eventually([&] { return menu->isVisible(); }))
            return nullptr;
        // A menu takes no hover before the pointer has moved in it.
        for (const int i : { 0, 4 })
            QTest::mouseMove(menu->windowHandle(), menu->actionGeometry(menu->actions().at(i)).center());
        return eventually([&] { return menu->removeButton()->isVisible(); }) ? menu : nullptr;
    }
    // The list open with its removable row current.
    ComboBoxListView* openList()
    {
        click(1);
        auto* list = window->findChild<ComboBoxListView*>();
        if (!list || !eventually([&] { return list->isVisible(); }))
            return nullptr;
        list->handleEntered(list->item(3));
        return list->removeButton()->isVisible() ? list : nullptr;
    }
    QWidget* showToolTip()
    {
        window->toolTips().showText(QStringLiteral("Text colour"));
        return eventually([] { return toolTipLabel() != nullptr; }) ? toolTipLabel() : nullptr;
    }
    void close() { controller->closeToolbar(toolbar), toolbars.clear(); }
    // The field's left edge and width in its item's box.
    QRect fieldInItem() const
    {
        const QRect item = windowRect(toolbar, 2);
        const QRect f = field()->geometry().translated(window->placement().windowOffset());
        return QRect(f.left() - item.left(), 0, f.width(), f.height());
    }
    void TearDown() override
    {
        if (window)
            window->toolTips().hide();
        ControllerFixture::TearDown(), controller->setOptions(Options());
    }

    QWidget host;
    MiniToolbar* toolbar = nullptr;
    MTBxDropDownButton* button = nullptr;
    MTBxCombobox* combo = nullptr;
    MTBxDropDownEntry* entry = nullptr;
    QPointer<QmtbView> window;
};

TEST_F(PopupLookTest, PopupsDrawAsTheirReferences)
{
    // The menu, the list, the entry field and the tooltip draw pixel for pixel as their references: in the light theme as they
    // were drawn before they followed the toolbar's look, in the dark one, and in the light one at twice the size.
    const struct { int theme; float scaling; const char* name; } looks[] = {
        { Options::Light, 1.0f, "popups-light" }, { Options::Dark, 1.0f, "popups-dark" }, { Options::Light, 2.0f, "popups-double" },
    };
    for (const auto& look : looks) {
        SCOPED_TRACE(look.name);
        Style::setXHeightOverride(static_cast<int>(6 * look.scaling)), build(look.theme, look.scaling);
        std::vector<QImage> grabs;
        DropDownMenu* menu = openMenu();
        ASSERT_TRUE(menu);
        grabs.push_back(menu->grab().toImage()), menu->hide();
        ComboBoxListView* list = openList();
        ASSERT_TRUE(list);
        grabs.push_back(list->grab().toImage()), list->menuClosing();
        grabs.push_back(field()->grab().toImage());
        QWidget* tip = showToolTip();
        ASSERT_TRUE(tip);
        grabs.push_back(tip->grab().toImage());
        EXPECT_TRUE(matchesReference(sideBySide(grabs), QLatin1String(look.name)));
        close();
    }
}

TEST_F(PopupLookTest, HostPopupStyleSheetWinsOverTheTheme)
{
    // A host's sheet for the list is used as it is in either theme; without one the list follows the theme.
    const wchar_t* const host = L"background-color: rgb(1, 2, 3)";
    const struct { int theme; const wchar_t* sheet; const wchar_t* expected; } cases[] = {
        { Options::Light, L"", L"background-color: rgba(90%,90%,90%, 80%)" }, { Options::Dark, L"", L"background-color: rgba(17%,17%,17%, 80%)" },
        { Options::Light, host, host }, { Options::Dark, host, host },
    };
    for (const auto& c : cases) {
        Options options;
        options.setTheme(static_cast<Options::Theme>(c.theme)), options.setPopupStyleSheet(c.sheet), controller->setOptions(options);
        EXPECT_TRUE(controller->getOptions().popupStyleSheet() == MTBxString(c.sheet));
        build(c.theme, 1.0f);
        controller->setOptions(options);
        ComboBoxListView* list = openList();
        ASSERT_TRUE(list);
        EXPECT_EQ(list->styleSheet(), QString::fromWCharArray(c.expected));
        list->menuClosing(), close();
    }
}

TEST_F(PopupLookTest, PopupsGrowWithTheScalingFactor)
{
    // Every size of a popup (text, rows, icons, check marks, remove buttons) doubles with the toolbar's scaling factor.
    // Row heights follow the font's line spacing, which its hinting keeps from growing exactly in proportion.
    const char* const names[] = { "menu row", "menu check column", "menu remove button", "list row", "list icon",
                                  "list remove button", "field points x10", "tooltip points x10" };
    std::vector<int> sizes[2];
    for (const int scale : { 1, 2 }) {
        Style::setXHeightOverride(6 * scale);
        build(Options::Light, static_cast<float>(scale));
        DropDownMenu* menu = openMenu();
        ASSERT_TRUE(menu);
        std::vector<int>& at = sizes[scale - 1];
        at = { menu->actionGeometry(menu->actions().at(4)).height(), menu->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu),
               menu->removeButton()->height() };
        menu->hide();
        ComboBoxListView* list = openList();
        ASSERT_TRUE(list);
        at.insert(at.end(), { list->visualItemRect(list->item(0)).height(), list->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list),
                              list->removeButton()->height() });
        list->menuClosing(), at.push_back(static_cast<int>(field()->font().pointSizeF() * 10));
        QWidget* tip = showToolTip();
        ASSERT_TRUE(tip);
        at.push_back(static_cast<int>(tip->font().pointSizeF() * 10));
        window->toolTips().hide(), close();
    }
    for (size_t i = 0; i < sizes[0].size(); ++i)
        EXPECT_NEAR(sizes[1][i], 2.0 * sizes[0][i], std::max(3.0, 0.1 * sizes[0][i])) << names[i] << ": " << sizes[0][i] << " at scale 1";
}

TEST_F(PopupLookTest, EntryFieldGrowsWithItsItem)
{
    // The field covers its part of the entry at every scale: its inset and width grow with the factor.
    build(Options::Light, 1.0f);
    const QRect one = fieldInItem();
    close();
    for (const float scaling : { 2.0f, 3.0f }) {
        // The toolbar's x-height as a font of that size measures it.
        Style::setXHeightOverride(static_cast<int>(6 * scaling)), build(Options::Light, scaling);
        const QRect grown = fieldInItem();
        EXPECT_NEAR(grown.left(), one.left() * scaling, scaling) << scaling;
        EXPECT_NEAR(grown.width(), one.width() * scaling, scaling) << scaling;
        close();
    }
}

// The pixmap a style draws for an icon of the given logical edge on the popup's screen.
QPixmap drawnPixmap(const QIcon& icon, int size, QWidget* popup)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return icon.pixmap(QSize(size, size), popup->devicePixelRatioF());
#else
    return icon.pixmap(popup->window()->windowHandle(), QSize(size, size));
#endif
}

TEST_F(PopupLookTest, IconsAreWholeAtTheDeviceRatio)
{
    // At any device pixel ratio (QT_SCALE_FACTOR 0.5, 1 and 2 in separate runs) a popup's icons (entries, remove buttons) are drawn as tall as their icon size, from at least as many pixels as the device shows. Qt 5 draws icons for more than one pixel a point only for a host that asks for high-resolution pixmaps, as this one does.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    build(Options::Light, 1.0f);
    DropDownMenu* menu = openMenu();
    ASSERT_TRUE(menu);
    // Each icon with its size: an entry's and the remove button's, in the menu and in the list.
    std::vector<std::pair<QPixmap, int>> drawn;
    const auto draw = [&](const QIcon& icon, int size, QWidget* popup) { drawn.emplace_back(drawnPixmap(icon, size, popup), size); };
    draw(menu->actions().at(1)->icon(), menu->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, menu), menu);
    draw(menu->removeButton()->icon(), menu->removeButton()->iconSize().height(), menu);
    menu->hide();
    ComboBoxListView* list = openList();
    ASSERT_TRUE(list);
    draw(list->item(1)->icon(), list->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, list), list);
    draw(list->removeButton()->icon(), list->removeButton()->iconSize().height(), list);
    const qreal ratio = list->devicePixelRatioF();
    for (const auto& [pixmap, size] : drawn) {
        EXPECT_NEAR(pixmap.height() / pixmap.devicePixelRatio(), size, 0.5) << "device pixel ratio " << ratio;
        EXPECT_GE(pixmap.height(), std::floor(size * ratio)) << "device pixel ratio " << ratio;
    }
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps, false);
#endif
}

} // namespace
