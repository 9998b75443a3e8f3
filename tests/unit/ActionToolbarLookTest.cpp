// The QAction front end's looks: the translucent default, drawn as it always
// was, and the solid look, opaque on a panel over whatever lies beneath.
#include "MiniToolbars/ActionToolbar.h"
#include "MiniToolbars/Controller.h"
#include "MiniToolbars/Options.h"
#include "support/ReferenceImage.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QWidget>

using namespace MiniToolbars;
using namespace MiniToolbars::Testing;

namespace {

const char* themeName(Options::Theme theme) { return theme == Options::Dark ? "dark" : "light"; }

void setTheme(Options::Theme theme)
{
    Options options = ActionToolbar::controller()->getOptions();
    options.setTheme(theme), ActionToolbar::controller()->setOptions(options);
}

class ActionToolbarLookTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Style::setXHeightOverride(6);
        host.setGeometry(100, 100, 600, 400), host.show();
        for (const char* name : {"Bold", "Italic", "Underline"})
            toolbar->addAction(new QAction(QString::fromLatin1(name), &host));
    }
    void TearDown() override { toolbar.reset(), setTheme(Options::Light), Style::setXHeightOverride(-1); }
    // Shows the toolbar and waits until it is laid out, placed and fully opaque.
    QmtbView* showToolbar()
    {
        EXPECT_TRUE(toolbar->show(&host, QRect(100, 200, 80, 20)));
        QmtbView* window = windowOf(toolbar->miniToolbar());
        EXPECT_TRUE(eventually([&] { return !window->isLayoutPending() && window->currentOpacity() == 1.0; }));
        return QCoreApplication::processEvents(), window;
    }

    QWidget host;
    std::unique_ptr<ActionToolbar> toolbar = std::make_unique<ActionToolbar>();
};

// The window composited over a plain background, as a compositor shows it.
QImage over(const QImage& window, const QColor& background)
{
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter(&image).drawImage(0, 0, window);
    return image;
}

} // namespace

TEST_F(ActionToolbarLookTest, eachLookDrawsAsItsReference)
{
    // In both themes, the second one taken while shown, the default look draws, pixel for pixel, what it drew before there was another look, and the solid look its panel and shadow.
    for (const ActionToolbar::Look look : {ActionToolbar::TranslucentLook, ActionToolbar::SolidLook}) {
        toolbar->setLook(look);
        for (const Options::Theme theme : {Options::Light, Options::Dark}) {
            const QString name = QStringLiteral("%1-%2").arg(look == ActionToolbar::SolidLook ? "solid" : "translucent", themeName(theme));
            SCOPED_TRACE(name.toStdString());
            setTheme(theme);
            EXPECT_TRUE(matchesReference(showToolbar()->grab().toImage(), name));
        }
        toolbar->close();
    }
}

TEST_F(ActionToolbarLookTest, solidLookHidesWhatLiesBeneathTheCaptions)
{
    // Solid, over a black and a white host the pixels under every caption are the same in both themes and kinds of window; translucent they differ.
    host.setAutoFillBackground(true);
    // An overlay paints into the host's own pixels: only the solid look is asked of it.
    const struct { Options::Theme theme; ActionToolbar::Look look; Options::WindowStrategy strategy; } cases[] = {
        {Options::Light, ActionToolbar::SolidLook, Options::TopLevelWindows}, {Options::Light, ActionToolbar::SolidLook, Options::OverlayWindows},
        {Options::Light, ActionToolbar::TranslucentLook, Options::TopLevelWindows}, {Options::Dark, ActionToolbar::SolidLook, Options::TopLevelWindows},
        {Options::Dark, ActionToolbar::SolidLook, Options::OverlayWindows}, {Options::Dark, ActionToolbar::TranslucentLook, Options::TopLevelWindows},
    };
    for (const auto& c : cases) {
        const bool solid = c.look == ActionToolbar::SolidLook, overlay = c.strategy == Options::OverlayWindows;
        SCOPED_TRACE(std::string(themeName(c.theme)) + (solid ? " solid" : " translucent") + (overlay ? " overlay" : " window"));
        setTheme(c.theme), toolbar->setLook(c.look), toolbar->setWindowStrategy(c.strategy);
        std::vector<QImage> captions;
        for (const QColor background : {QColor(Qt::black), QColor(Qt::white)}) {
            QPalette palette = host.palette();
            palette.setColor(QPalette::Window, background), host.setPalette(palette);
            QmtbView* window = showToolbar();
            ASSERT_EQ(window->isOverlay(), overlay);
            const QImage grab = overlay ? host.grab().toImage() : over(window->grab().toImage(), background);
            const QPoint offset = overlay ? host.mapToGlobal(QPoint()) : window->placement().windowOffset();
            // The caption lies between the item's rounded ends.
            const int radius = Style::instance()->cornerRadiusX();
            for (int i = 0; i < 3; ++i) {
                captions.push_back(grab.copy(windowRect(toolbar->miniToolbar(), i).translated(-offset).adjusted(radius, 0, -radius, 0)));
                ASSERT_FALSE(captions.back().isNull());
            }
            toolbar->close();
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(solid, captions[i] == captions[i + 3]) << "item " << i;
    }
}

TEST_F(ActionToolbarLookTest, solidPanelFadesWithTheToolbarAndItsShadowStaysInTheWindow)
{
    // The solid panel is opaque and holds the items, its shadow fades out inside the window, which ends with it, and the panel fades with the toolbar.
    toolbar->setLook(ActionToolbar::SolidLook);
    QmtbView* window = showToolbar();
    const QRect panel = window->placement().panelRect().translated(-window->placement().windowOffset());
    const QRect items = windowRect(toolbar->miniToolbar()).translated(-window->placement().windowOffset());
    ASSERT_FALSE(panel.isEmpty());
    EXPECT_TRUE(panel.contains(items) && QRect(QPoint(), window->size()).contains(panel));
    EXPECT_EQ(toolbar->geometry().size(), panel.size());
    QImage grab = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QPoint onPanel(panel.center().x(), panel.top() + 1);
    EXPECT_EQ(qAlpha(grab.pixel(onPanel)), 255);
    EXPECT_GT(qAlpha(grab.pixel(panel.center().x(), panel.bottom() + 2)), 0) << "no shadow below the panel";
    for (int x = 0; x < grab.width(); ++x)
        ASSERT_EQ(qAlpha(grab.pixel(x, 0)) + qAlpha(grab.pixel(x, grab.height() - 1)), 0) << "column " << x;
    for (int y = 0; y < grab.height(); ++y)
        ASSERT_EQ(qAlpha(grab.pixel(0, y)) + qAlpha(grab.pixel(grab.width() - 1, y)), 0) << "row " << y;
    // The window ends with the shadow: a click beyond it reaches the host.
    const int shadow = Style::instance()->panelShadowWidth();
    EXPECT_EQ(QRect(QPoint(), window->size()), panel.adjusted(-shadow, -shadow, shadow, shadow));
    window->fade().setFadedIn(false);
    ASSERT_TRUE(eventually([&] { return !window->fade().isAnimating() && window->currentOpacity() < 1.0; }));
    const double opacity = window->currentOpacity();
    grab = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_NEAR(qAlpha(grab.pixel(onPanel)), 255 * opacity, 2);
}
