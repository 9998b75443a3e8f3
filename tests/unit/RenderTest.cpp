#include "CraftedPng.h"
#include "ItemView.h"
#include "MTBxButton.h"
#include "MTBxFlowLayout.h"
#include "MTBxImage.h"
#include "MTBxSeparator.h"
#include "QmtbRender.h"
#include "Style.h"
#include "ToolbarStandIns.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace MiniToolbars;

namespace {

const QPoint kOrigin(20, 10);

// A toolbar laid out by the real flow layout and painted onto an offscreen image.
class Scene
{
public:
    explicit Scene(int theme)
        : m_toolbar(MTBxString(L"Render"))
        , m_layout(&m_toolbar, nullptr)
    {
        Style::setXHeightOverride(6);
        Style::instance()->setScalingFactor(1.0f);
        Style::instance()->setTheme(theme);
        auto window = std::make_unique<Testing::StandInWindow>();
        m_window = window.get();
        m_layout.adoptWindow(std::move(window));
    }

    MTBxButton* button(const wchar_t* text, bool autoHide = true)
    {
        auto* item = new MTBxButton(MTBxString(L"button"), nullptr);
        item->setText(MTBxString(text));
        item->setShowText(true);
        item->setAutoHide(autoHide);
        m_toolbar.addItem(item);
        return item;
    }
    void separator() { m_toolbar.addItem(new MTBxSeparator()); }

    void layout()
    {
        m_layout.rebuild(true);
        m_layout.setShown(true);
    }

    QImage paint(QImage image = QImage())
    {
        if (image.isNull()) {
            image = QImage(400, 60, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
        }
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        m_render.setPainter(&painter);
        m_render.setOrigin(kOrigin);
        m_layout.draw(&m_render, true);
        m_render.setPainter(nullptr);
        return image;
    }

    // The item's rectangle in image pixels.
    static QRect pixels(const MTBxItem* item)
    {
        const ItemView* view = item->itemView();
        return QRect(kOrigin.x() + static_cast<int>(view->left()),
                     kOrigin.y() - static_cast<int>(view->top()), static_cast<int>(view->width()),
                     static_cast<int>(view->height()));
    }

    static const ItemPart* part(const MTBxItem* item, ItemPartKind kind)
    {
        for (const ItemPart& p : item->itemView()->parts())
            if (p.kind == kind)
                return &p;
        return nullptr;
    }

    Testing::StandInWindow* window() const { return m_window; }
    QmtbRender& render() { return m_render; }

private:
    MiniToolbar m_toolbar;
    MTBxFlowLayout m_layout;
    Testing::StandInWindow* m_window = nullptr;
    QmtbRender m_render;
};

QColor colorAt(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The gradient runs from the item's top row to its bottom row; extrapolate the
// two stops from two clean rows of one column.
struct Stops
{
    ThemeColor top;
    ThemeColor bottom;
};

Stops gradientStops(const QImage& image, int x, const QRect& item, int rowA, int rowB)
{
    const QColor a = colorAt(image, x, item.top() + rowA);
    const QColor b = colorAt(image, x, item.top() + rowB);
    const double span = item.height() - 1;
    const auto extrapolate = [&](int ca, int cb, double t) {
        const double slope = (cb - ca) / double(rowB - rowA);
        return static_cast<int>(std::lround(ca + slope * (t - rowA)));
    };
    Stops s;
    s.top = ThemeColor(extrapolate(a.red(), b.red(), 0), extrapolate(a.green(), b.green(), 0),
                       extrapolate(a.blue(), b.blue(), 0), a.alpha());
    s.bottom = ThemeColor(extrapolate(a.red(), b.red(), span),
                          extrapolate(a.green(), b.green(), span),
                          extrapolate(a.blue(), b.blue(), span), b.alpha());
    return s;
}

void expectColorNear(const ThemeColor& actual, const ThemeColor& expected, int tolerance,
                     const char* what)
{
    EXPECT_NEAR(actual.red, expected.red, tolerance) << what;
    EXPECT_NEAR(actual.green, expected.green, tolerance) << what;
    EXPECT_NEAR(actual.blue, expected.blue, tolerance) << what;
}

ThemeColor brighter(const ThemeColor& c)
{
    const auto channel = [](int v) { return std::min(static_cast<int>(v * 1.2), 255); };
    return ThemeColor(channel(c.red), channel(c.green), channel(c.blue), c.alpha);
}

bool isTextInk(const QColor& c, const ThemeColor& text)
{
    return c.alpha() > 240 && std::abs(c.red() - text.red) < 70 && std::abs(c.blue() - text.blue) < 70;
}

} // namespace

TEST(RenderTest, shouldRoundOnlyTheEndsThatStandAlone)
{
    // A lone item is rounded at both ends; in a run of three only the outer ends are rounded.
    for (int theme : {0, 1}) {
        Scene scene(theme);
        MTBxButton* lone = scene.button(L"Lone");
        scene.separator();
        MTBxButton* a = scene.button(L"A");
        MTBxButton* b = scene.button(L"B");
        MTBxButton* c = scene.button(L"C");
        scene.layout();
        const QImage image = scene.paint();

        const auto corner = [&](const MTBxItem* item, bool left) {
            const QRect r = Scene::pixels(item);
            return colorAt(image, left ? r.left() : r.right(), r.top()).alpha();
        };
        EXPECT_EQ(corner(lone, true), 0) << theme;
        EXPECT_EQ(corner(lone, false), 0) << theme;
        EXPECT_EQ(corner(a, true), 0) << theme;
        EXPECT_GT(corner(a, false), 100) << theme;
        EXPECT_GT(corner(b, true), 100) << theme;
        EXPECT_GT(corner(b, false), 100) << theme;
        EXPECT_GT(corner(c, true), 100) << theme;
        EXPECT_EQ(corner(c, false), 0) << theme;
        const QRect r = Scene::pixels(lone);
        EXPECT_GT(colorAt(image, r.center().x(), r.top()).alpha(), 100) << theme;
    }
}

TEST(RenderTest, shouldRoundANonFadingItemAtBothEndsOnAFadedOutToolbar)
{
    // With the toolbar faded out to 0, an item that stays between vanished neighbours stands alone.
    Scene scene(0);
    scene.button(L"Left");
    MTBxButton* kept = scene.button(L"Kept", false);
    scene.button(L"Right");
    scene.layout();

    QImage image = scene.paint();
    QRect r = Scene::pixels(kept);
    EXPECT_GT(colorAt(image, r.left(), r.top()).alpha(), 100);

    scene.window()->opacity = 0.0;
    image = scene.paint();
    r = Scene::pixels(kept);
    EXPECT_EQ(colorAt(image, r.left(), r.top()).alpha(), 0);
    EXPECT_EQ(colorAt(image, r.right(), r.top()).alpha(), 0);
    EXPECT_GT(colorAt(image, r.center().x(), r.top() + 5).alpha(), 150);
    // The faded neighbours draw nothing at all.
    EXPECT_EQ(colorAt(image, r.left() - 10, r.top() + 10).alpha(), 0);
}

TEST(RenderTest, shouldFillTheBackgroundFromTheTopToTheBottomColourAndBrightenOnHover)
{
    // Plain and active gradients run top to bottom; hovering multiplies each channel by 1.2 and clamps at 255.
    for (int theme : {0, 1}) {
        for (bool hovered : {false, true}) {
            SCOPED_TRACE(testing::Message() << "theme " << theme << (hovered ? " hovered" : ""));
            Scene scene(theme);
            MTBxButton* plain = scene.button(L"P");
            plain->setWidth(100);
            scene.separator();
            MTBxButton* active = scene.button(L"A");
            active->setWidth(100);
            active->setActive(true);
            scene.layout();
            plain->itemView()->setHovered(hovered);
            active->itemView()->setHovered(hovered);
            const QImage image = scene.paint();
            const ThemePalette& palette = Style::instance()->palette();
            const auto look = [hovered](const ThemeColor& c) { return hovered ? brighter(c) : c; };

            QRect r = Scene::pixels(plain);
            Stops s = gradientStops(image, r.left() + 70, r, 3, 18);
            expectColorNear(s.top, look(palette.buttonTop()), 4, "plain top");
            expectColorNear(s.bottom, look(palette.buttonBottom()), 4, "plain bottom");
            EXPECT_NEAR(colorAt(image, r.left() + 70, r.top() + 10).alpha(), palette.buttonTop().alpha, 2);

            r = Scene::pixels(active);
            s = gradientStops(image, r.left() + 70, r, 3, 18);
            // Brightened, 218, 234, 251 would be 261, 280, 301.
            expectColorNear(s.top, hovered ? ThemeColor(255, 255, 255, 229) : palette.activeTop(), 4, "active top");
            expectColorNear(s.bottom, look(palette.activeBottom()), 4, "active bottom");
        }
    }
}

TEST(RenderTest, shouldDrawADisabledItemAtFortyPercentOfItsOpacity)
{
    // A disabled item is drawn at 0.4 times its opacity, and stays invisible at opacity 0.
    for (int theme : {0, 1}) {
        Scene scene(theme);
        MTBxButton* enabled = scene.button(L"E");
        enabled->setWidth(100);
        scene.separator();
        MTBxButton* disabled = scene.button(L"D");
        disabled->setWidth(100);
        disabled->setEnabled(false);
        scene.layout();
        ASSERT_EQ(disabled->itemView()->state(), Disabled);

        scene.window()->opacity = 0.5;
        QImage image = scene.paint();
        const int alpha = Style::instance()->palette().buttonTop().alpha;
        const QRect e = Scene::pixels(enabled);
        const QRect d = Scene::pixels(disabled);
        EXPECT_NEAR(colorAt(image, e.left() + 70, e.top() + 10).alpha(), alpha * 0.5, 2);
        EXPECT_NEAR(colorAt(image, d.left() + 70, d.top() + 10).alpha(), alpha * 0.5 * 0.4, 2);

        scene.window()->opacity = 0.0;
        image = scene.paint();
        for (int x = d.left(); x <= d.right(); ++x)
            for (int y = d.top(); y <= d.bottom(); ++y)
                ASSERT_EQ(colorAt(image, x, y).alpha(), 0) << x << "," << y;
    }
}

TEST(RenderTest, shouldGiveTheSamePixelsWhenAnItemIsDrawnTwice)
{
    // The clear under each item keeps repeated drawing from piling up translucent colour.
    for (int theme : {0, 1}) {
        Scene scene(theme);
        std::vector<MTBxItem*> items{scene.button(L"One"), scene.button(L"Two")};
        items[1]->setOptionBox(true);
        items[1]->setWidth(80);
        scene.separator();
        items.push_back(scene.button(L"Off"));
        items.back()->setEnabled(false);
        scene.layout();
        scene.window()->opacity = 0.7;
        const QImage once = scene.paint();
        const QImage twice = scene.paint(once);
        // Inside the items the pixels are identical. Antialiased outline pixels,
        // which a clear can only partly remove, may shift a little.
        for (const MTBxItem* item : items) {
            const QRect r = Scene::pixels(item).adjusted(12, 2, -12, -2);
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ASSERT_EQ(once.pixel(x, y), twice.pixel(x, y)) << theme << ": " << x << "," << y;
        }
    }
}

TEST(RenderTest, shouldElideACaptionWiderThanItsPart)
{
    // A caption cut at (part width - width of "...") keeps its prefix pixels and ends in an ellipsis.
    Scene scene(0);
    const wchar_t* text = L"WWWWWWWWWW";
    MTBxButton* full = scene.button(text);
    scene.separator();
    MTBxButton* cut = scene.button(text);
    cut->setWidthString(MTBxString(L"WWWW"));
    scene.layout();
    const QImage image = scene.paint();

    const ItemPart* cutCaption = Scene::part(cut, Caption);
    const ItemPart* fullCaption = Scene::part(full, Caption);
    ASSERT_NE(cutCaption, nullptr);
    ASSERT_NE(fullCaption, nullptr);
    ASSERT_LT(cutCaption->width, fullCaption->width);

    const Style& style = *Style::instance();
    const QFontMetrics metrics(QFont(QString::fromWCharArray(L"Tahoma"), style.fontPointSize()));
    const int e = metrics.tightBoundingRect(QStringLiteral("...")).width();
    const QRect fullRect = Scene::pixels(full);
    const QRect cutRect = Scene::pixels(cut);
    const int fullLeft = fullRect.left() + fullCaption->x;
    const int cutLeft = cutRect.left() + cutCaption->x;
    const int visible = cutCaption->width - e;
    ASSERT_GT(visible, 4);

    // The visible prefix is the same ink as the start of the full caption.
    for (int dx = 0; dx < visible; ++dx)
        for (int y = 4; y < 20; ++y)
            ASSERT_EQ(image.pixel(cutLeft + dx, cutRect.top() + y),
                      image.pixel(fullLeft + dx, fullRect.top() + y))
                << dx << "," << y;

    // In the ellipsis box, ink only along the baseline: dots, not the rest of a W.
    // Ink is what stands out from the clean gradient just right of the caption.
    const auto isInk = [&](int dx, int y) {
        const QRgb p = image.pixel(cutLeft + dx, cutRect.top() + y);
        const QRgb clean = image.pixel(cutLeft + cutCaption->width + 1, cutRect.top() + y);
        return std::abs(qRed(p) - qRed(clean)) > 40 || std::abs(qAlpha(p) - qAlpha(clean)) > 20;
    };
    int lowestLetterRow = -1;
    for (int y = 2; y < cutRect.height() - 2; ++y)
        for (int dx = 0; dx < visible; ++dx)
            if (isInk(dx, y))
                lowestLetterRow = std::max(lowestLetterRow, y);
    ASSERT_GT(lowestLetterRow, 0);
    int dotPixels = 0;
    for (int y = 2; y < cutRect.height() - 2; ++y)
        for (int dx = visible; dx < visible + e; ++dx)
            if (isInk(dx, y)) {
                ++dotPixels;
                EXPECT_GE(y, lowestLetterRow - 2) << "ink above the dots at " << dx << "," << y;
            }
    EXPECT_GE(dotPixels, 3);
}

TEST(RenderTest, shouldGiveTheOptionBoxItsOwnLookWhenHoveredAndPressed)
{
    // Hovering or pressing the option box changes only that end; pressing the main area turns the caption pressedText.
    for (int theme : {0, 1}) {
        Scene scene(theme);
        MTBxButton* item = scene.button(L"Options");
        item->setOptionBox(true);
        item->setWidth(120);
        scene.layout();
        ItemView* view = item->itemView();
        ASSERT_NE(view->subAreaRect(), nullptr);
        const QImage idle = scene.paint();
        const QRect r = Scene::pixels(item);
        const int subLeft = r.left() + static_cast<int>(view->subAreaRect()->left());
        const int mainX = r.left() + 60;
        // The middle of the option end, in rows above and below its image.
        const int subX = subLeft + static_cast<int>(view->subAreaRect()->width()) / 2;
        const int lowRow = r.top() + 19;
        const int highRow = r.top() + 2;
        const ThemePalette& palette = Style::instance()->palette();

        view->setHovered(true);
        view->setHoverSubArea(true);
        const QImage hovered = scene.paint();
        EXPECT_EQ(hovered.pixel(mainX, lowRow), idle.pixel(mainX, lowRow)) << theme;
        EXPECT_EQ(hovered.pixel(mainX, highRow), idle.pixel(mainX, highRow)) << theme;
        // Brightened: the light theme's top is white already, the dark theme's bottom black.
        const auto redSum = [&](const QImage& image) {
            return colorAt(image, subX, lowRow).red() + colorAt(image, subX, highRow).red();
        };
        EXPECT_GT(redSum(hovered), redSum(idle) + 5) << theme;

        view->setState(Pressed);
        view->setPressedSubArea(true);
        const QImage pressed = scene.paint();
        // Active gradient on the option end only: bluish there, grey in the main area.
        const QColor sub = colorAt(pressed, subX, lowRow);
        EXPECT_GT(sub.blue() - sub.red(), 40) << theme;
        const QColor main = colorAt(pressed, mainX, lowRow);
        EXPECT_LT(std::abs(main.blue() - main.red()), 6) << theme;
        // Pressed outer border along both passes.
        const QColor border = colorAt(pressed, mainX, r.top());
        EXPECT_GT(border.blue() - border.red(), 60) << theme;
        // The caption keeps its normal colour.
        const ItemPart* caption = Scene::part(item, Caption);
        ASSERT_NE(caption, nullptr);
        int ink = 0;
        for (int dx = 0; dx < caption->width; ++dx)
            for (int y = 4; y < 19; ++y)
                ink += isTextInk(colorAt(pressed, r.left() + caption->x + dx, r.top() + y),
                                 palette.text())
                    ? 1
                    : 0;
        EXPECT_GT(ink, 5) << theme;

        // The highlighted option image replaces the plain one.
        const ItemPart* option = Scene::part(item, OptionBox);
        ASSERT_NE(option, nullptr);
        MTBxImage* plainImage = Style::instance()->image(ThemeImage::OptionBox);
        if (plainImage && plainImage->width() > 0) {
            const QRect box(r.left() + option->x, r.top() + 3, option->width, 16);
            bool differs = false;
            for (int x = box.left(); x <= box.right() && !differs; ++x)
                for (int y = box.top(); y <= box.bottom() && !differs; ++y)
                    differs = pressed.pixel(x, y) != hovered.pixel(x, y);
            EXPECT_TRUE(differs) << theme;
        }

        // Pressing the main area instead turns the caption pressedText (white), leaving no dark ink.
        view->setPressedSubArea(false);
        const QImage mainPressed = scene.paint();
        int white = 0;
        int black = 0;
        for (int dx = 0; dx < caption->width; ++dx)
            for (int y = 4; y < 19; ++y) {
                const QColor c = colorAt(mainPressed, r.left() + caption->x + dx, r.top() + y);
                white += isTextInk(c, ThemeColor(255, 255, 255, 255)) ? 1 : 0;
                black += isTextInk(c, ThemeColor(0, 0, 0, 255)) ? 1 : 0;
            }
        EXPECT_GT(white, 5) << theme;
        EXPECT_EQ(black, 0) << theme;
    }
}

TEST(RenderTest, shouldPlaceIconsLeftAlignedAndCentredVertically)
{
    // An icon's raster sits at its part's left edge, centred in the item height.
    const QByteArray bytes = CraftedPng::encoded(16, 16, QColor(255, 0, 0));

    Scene scene(0);
    MTBxButton* item = scene.button(L"Icon");
    item->setIconData(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<unsigned int>(bytes.size()));
    scene.layout();
    const ItemPart* icon = Scene::part(item, Icon);
    ASSERT_NE(icon, nullptr);
    ASSERT_GT(icon->width, 0);
    const QImage image = scene.paint();
    const QRect r = Scene::pixels(item);
    const int h = static_cast<int>(item->itemView()->image()->height());
    const int top = r.top() + (Style::instance()->itemHeight() - h) / 2;
    const int left = r.left() + icon->x;
    EXPECT_EQ(colorAt(image, left, top), QColor(255, 0, 0));
    EXPECT_EQ(colorAt(image, left + icon->width - 1, top + h - 1), QColor(255, 0, 0));
    EXPECT_NE(colorAt(image, left - 1, top + 5), QColor(255, 0, 0));
    EXPECT_NE(colorAt(image, left, top - 1), QColor(255, 0, 0));
    EXPECT_NE(colorAt(image, left, top + h), QColor(255, 0, 0));
}

TEST(RenderTest, shouldConvertPointsAndIgnoreBadDrawingRequests)
{
    // Layout y grows upwards and is cut toward zero; absurd points stay finite; drawing outside a repaint, a null view or NaN opacity does nothing.
    QmtbRender render;
    render.setOrigin(QPoint(100, 50));
    EXPECT_EQ(render.toWindowPoint(3.7f, -2.9f), QPointF(103, 52));
    EXPECT_EQ(render.toWindowPoint(-3.7f, 2.9f), QPointF(97, 48));
    EXPECT_EQ(render.toWindowPoint(std::nanf(""), 0.0f), QPointF(100, 50));
    EXPECT_LT(render.toWindowPoint(1e30f, 0.0f).x(), 1e9);
    EXPECT_GT(render.toWindowPoint(0.0f, 1e30f).y(), -1e9);

    Scene scene(0);
    MTBxButton* item = scene.button(L"Idle");
    scene.layout();
    scene.render().drawItem(item->itemView(), 0, 0, 1.0);
    scene.render().drawText(item->itemView()->caption(), 0, 0);

    QImage image(50, 50, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    scene.render().setPainter(&painter);
    scene.render().drawItem(nullptr, 0, 0, 1.0);
    scene.render().drawItem(item->itemView(), 0, 0, std::nan(""));
    scene.render().setPainter(nullptr);
    painter.end();
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            ASSERT_EQ(qAlpha(image.pixel(x, y)), 0);
}

TEST(RenderTest, shouldDrawAFittingCaptionWhole)
{
    // A caption in a part exactly as wide as its ink looks the same as in a roomy part: no column shaved.
    for (const wchar_t* text : {L"Disabled", L"Hovered", L"Wide", L"ill"}) {
        Scene scene(0);
        MTBxButton* tight = scene.button(text);
        scene.separator();
        MTBxButton* roomy = scene.button(text);
        roomy->setWidth(140);
        scene.layout();
        const QImage image = scene.paint();
        const ItemPart* tightCaption = Scene::part(tight, Caption);
        const ItemPart* roomyCaption = Scene::part(roomy, Caption);
        ASSERT_NE(tightCaption, nullptr);
        ASSERT_NE(roomyCaption, nullptr);
        ASSERT_LT(tightCaption->width, roomyCaption->width);
        const QRect t = Scene::pixels(tight);
        const QRect r = Scene::pixels(roomy);
        for (int dx = 0; dx < tightCaption->width + 3; ++dx)
            for (int y = 5; y <= 17; ++y)
                ASSERT_EQ(image.pixel(t.left() + tightCaption->x + dx, t.top() + y),
                          image.pixel(r.left() + roomyCaption->x + dx, r.top() + y))
                    << QString::fromWCharArray(text).toStdString() << " " << dx << "," << y;
    }
}

TEST(RenderTest, shouldKeepGripOptionGlyphAndEllipsisInPlaceAtEveryScale)
{
    // At every factor the grip stays clear of the first item, the option glyph inside its option end and "..." three dots.
    for (float factor : {1.0f, 1.5f, 2.0f, 3.0f}) {
        SCOPED_TRACE(factor);
        Scene scene(0);
        Style::setXHeightOverride(-1);
        Style::instance()->setScalingFactor(factor);
        MTBxButton* cut = scene.button(L"Cut caption here");
        cut->setWidthString(MTBxString(L"Cut cap"));
        scene.separator();
        MTBxButton* option = scene.button(L"Options");
        option->setOptionBox(true);
        scene.layout();
        QImage image(900, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        image = scene.paint(image);
        // Item-local columns in [from, to) where a run of dark ink starts, in the item's middle rows.
        const auto inkRuns = [&](const MTBxItem* item, int from, int to) {
            const QRect r = Scene::pixels(item);
            std::vector<int> starts;
            for (int x = from, last = -2; x < to; ++x)
                for (int y = r.height() / 4; y < r.height() * 3 / 4; ++y) {
                    const QRgb p = image.pixel(r.left() + x, r.top() + y);
                    if (qGray(p) < 96 && qAlpha(p) > 200) {
                        if (x > last + 1)
                            starts.push_back(x);
                        last = x;
                        break;
                    }
                }
            return starts;
        };

        const QRect first = Scene::pixels(cut);
        int gripEdge = first.left() - 1;
        while (gripEdge > 0 && colorAt(image, gripEdge, first.center().y()).alpha() == 0)
            --gripEdge;
        EXPECT_GT(gripEdge, 0);
        EXPECT_LT(gripEdge, first.left() - 1);

        const ItemPart* caption = Scene::part(option, Caption);
        const ItemPart& splitter = option->itemView()->parts().end()[-3];
        ASSERT_EQ(splitter.kind, Splitter);
        const int end = Scene::pixels(option).width() - 2 * Style::instance()->borderWidth();
        const std::vector<int> glyph = inkRuns(option, caption->x + caption->width + 2, end);
        ASSERT_FALSE(glyph.empty());
        EXPECT_GT(glyph.front(), splitter.x + splitter.width);
        EXPECT_GE(glyph.front(), static_cast<int>(option->itemView()->subAreaRect()->left()));

        const ItemPart* text = Scene::part(cut, Caption);
        const QFontMetrics metrics(QFont(QStringLiteral("Tahoma"), Style::instance()->fontPointSize()));
        const int dotsFrom = text->x + text->width - metrics.tightBoundingRect("...").width();
        EXPECT_EQ(inkRuns(cut, dotsFrom, text->x + text->width + 4).size(), 3u);
    }
}
