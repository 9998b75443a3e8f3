// On a composited X server each popup (menu, combo list, entry field, tooltip) shows whole, in its toolbar's
// theme and at its scale; MTB_POPUP_SHOTS names a folder to save what the test saw.
#include "MiniToolbars/MTBxCombobox.h"
#include "MiniToolbars/MTBxCommandItem.h"
#include "MiniToolbars/MTBxDropDownButton.h"
#include "MiniToolbars/MTBxDropDownEntry.h"
#include "MiniToolbars/Options.h"
#include "Qt/ComboBoxListView.h"
#include "Qt/DropDownMenu.h"
#include "Qt/LineEditControl.h"
#include "Qt/QmtbToolTips.h"
#include "Qt/QmtbWindowPopup.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QScreen>

#include <map>
#include <optional>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

std::string describe(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

int lightness(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

// What a row shows on screen: its commonest colour and the box of the pixels that stand out from it.
struct Row
{
    int background = 0;
    QRect ink;
};

Row measure(const QImage& screen, const QRect& area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[screen.pixel(x, y)];
    const QRgb common = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    Row row{ lightness(common), {} };
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (std::abs(lightness(screen.pixel(x, y)) - row.background) > 80)
                row.ink |= QRect(x, y, 1, 1);
    return row;
}

class PopupScreenshotTest : public ControllerFixture
{
protected:
    void SetUp() override
    {
        ControllerFixture::SetUp();
        // The toolbar as its font measures it, so that the entry's box grows with the scale.
        Style::setXHeightOverride(-1);
        host.setGeometry(40, 30, 900, 600), host.show(), host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        observer.parent = reinterpret_cast<HWND>(host.winId());
        observer.setBounds(host.geometry());
    }
    void TearDown() override
    {
        ControllerFixture::TearDown();
        controller->setOptions(Options());
    }
    void build(int theme, float scaling)
    {
        Options options;
        options.setTheme(static_cast<Options::Theme>(theme)), options.setScalingFactor(scaling);
        controller->setOptions(options);
        toolbar = add(std::make_unique<MiniToolbar>(MTBxString(L"bar"), &hostContext));
        auto* button = new MTBxDropDownButton(L"colour", &hostContext);
        auto* combo = new MTBxCombobox(L"size", &hostContext);
        button->setText(L"Colour"), button->setShowText(true), button->setToolTip(L"Plain");
        combo->setShowText(true), combo->setSynchronizedWithCurrentItem(true);
        for (MTBxListType* list : { static_cast<MTBxListType*>(button), static_cast<MTBxListType*>(combo) }) {
            for (const wchar_t* text : { L"Checked", L"Icon", L"Plain" }) {
                auto* c = new MTBxCommandItem(text, &hostContext);
                c->setText(text), c->setParent(list), c->setCheckable(text[0] == L'C'), c->setChecked(text[0] == L'C', false);
                c->setIcon(text[0] == L'I' ? L":/MiniToolbars/Grip.svg" : L"");
                list->addItem(c);
            }
        }
        combo->setCurrentItem(combo->item(0));
        auto* entry = new MTBxDropDownEntry(L"find", L"Plain", &hostContext);
        entry->setWidth(120);
        toolbar->addItem(button), toolbar->addItem(combo), toolbar->addItem(entry);
        ASSERT_TRUE(controller->showToolbar(toolbar, 200, 200, &observer));
        window = windowOf(toolbar);
        ASSERT_TRUE(eventually([&] { return window->findChild<LineEditControl*>() && window->findChild<LineEditControl*>()->isVisible(); }));
    }
    void click(int index)
    {
        const QPoint p = window->placement().toLocal(centreOf(toolbar, index));
        QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, p), QApplication::processEvents();
        QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, p), QApplication::processEvents();
    }
    // The popup's screen rectangle and that of its "Plain" text, with the popup left open.
    std::optional<std::pair<QRect, QRect>> open(int kind)
    {
        if (kind == 0) {
            click(0);
            auto* menu = dynamic_cast<DropDownMenu*>(window->popups().popup());
            if (!menu || !eventually([&] { return menu->isVisible(); }))
                return std::nullopt;
            const QRect last = menu->actionGeometry(menu->actions().back());
            if (!menu->rect().contains(last))
                return std::nullopt;
            return std::make_pair(menu->geometry(), last.translated(menu->geometry().topLeft()));
        }
        if (kind == 1) {
            click(1);
            auto* list = window->findChild<ComboBoxListView*>();
            if (!list || !eventually([&] { return list->isVisible(); })) {
                ADD_FAILURE() << "the list did not show";
                return std::nullopt;
            }
            const QRect last = list->visualItemRect(list->item(list->count() - 1));
            if (!list->viewport()->rect().contains(last)) {
                ADD_FAILURE() << "last row " << describe(last) << " in " << describe(list->viewport()->rect());
                return std::nullopt;
            }
            return std::make_pair(QRect(list->mapToGlobal(QPoint()), list->size()),
                                  QRect(list->viewport()->mapToGlobal(last.topLeft()), last.size()));
        }
        if (kind == 2) {
            LineEditControl* field = window->findChild<LineEditControl*>();
            const QRect r(field->mapToGlobal(QPoint()), field->size());
            return std::make_pair(r, r);
        }
        window->toolTips().showText(QStringLiteral("Plain"));
        QWidget* tip = nullptr;
        eventually([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                tip = w->inherits("QTipLabel") && w->isVisible() ? w : tip;
            return tip != nullptr;
        });
        if (!tip)
            return std::nullopt;
        return std::make_pair(tip->geometry(), tip->geometry().adjusted(3, 3, -3, -3));
    }
    void close(int kind)
    {
        if (kind == 0 || kind == 1)
            window->popups().closePopup();
        if (kind == 3)
            window->toolTips().hide();
        QTest::qWait(100);
    }

    QWidget host;
    MiniToolbar* toolbar = nullptr;
    QmtbView* window = nullptr;
};

TEST_F(PopupScreenshotTest, PopupsFollowTheThemeAndTheScaleWhole)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    const char* const kinds[] = { "menu", "list", "field", "tooltip" };
    std::map<std::pair<int, int>, int> heightAtOne;
    const QString folder = qEnvironmentVariable("MTB_POPUP_SHOTS");
    for (const int scale : { 1, 2 }) {
        for (const int theme : { Options::Light, Options::Dark }) {
            build(theme, static_cast<float>(scale));
            // The tooltip first: the style sheet that it leaves on the window must not change the rest.
            for (const int kind : { 3, 0, 1, 2 }) {
                const std::string what =
                    std::string(kinds[kind]) + (theme ? " dark" : " light") + " x" + std::to_string(scale);
                const auto shown = open(kind);
                ASSERT_TRUE(shown) << what << ": did not open, or its last row is cut";
                QTest::qWait(300);
                const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
                const auto [popup, text] = *shown;
                if (!folder.isEmpty()) {
                    const QString name = QString::fromStdString(what).replace(' ', '-');
                    screen.copy(popup.adjusted(-40, -40, 40, 40)).save(QStringLiteral("%1/%2.png").arg(folder, name));
                }
                // Clear of the frame, which a row may reach into at its ends.
                const QRect area = text & popup.adjusted(2 * scale, 2 * scale, -2 * scale, -2 * scale);
                const Row row = measure(screen, area);
                ASSERT_FALSE(row.ink.isEmpty()) << what << ": no text";
                // The text is whole: it touches neither end of its row inside the popup.
                EXPECT_TRUE(area.adjusted(0, 1, 0, -1).contains(row.ink)) << what << ": text " << describe(row.ink)
                                                                          << " in " << describe(area);
                EXPECT_TRUE(theme == Options::Dark ? row.background < 110 : row.background > 150)
                    << what << ": background " << row.background;
                const std::pair<int, int> key(theme, kind);
                if (scale == 1)
                    heightAtOne[key] = row.ink.height();
                else
                    EXPECT_NEAR(row.ink.height(), 2 * heightAtOne[key], 1) << what;
                close(kind);
            }
            controller->closeToolbar(toolbar), toolbars.clear();
        }
    }
}

} // namespace
