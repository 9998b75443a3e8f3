#include "ItemView.h"
#include "MTBxButton.h"
#include "MTBxFlowLayout.h"
#include "MTBxSeparator.h"
#include "QmtbRender.h"
#include "Style.h"
#include "ToolbarStandIns.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

using namespace MiniToolbars;

namespace {

const QPoint kOrigin(20, 10);
const wchar_t* const kIcon = L":/MiniToolbars/Options_L.svg";

// A checkable icon button, a separator and a bare twin of the same width, laid
// out by the real flow layout at the given x-height.
struct Scene
{
    explicit Scene(int xHeight = 6)
        : toolbar(MTBxString(L"Cache"))
        , layout(&toolbar, nullptr)
    {
        Style::setXHeightOverride(xHeight);
        layout.adoptWindow(std::unique_ptr<ToolbarWindow>(window = new Testing::StandInWindow()));
        item = button(L"Bold", kIcon, true);
        toolbar.addItem(new MTBxSeparator());
        twin = button(L"", L"", false);
        layout.rebuild(true);
        layout.setShown(true);
    }
    ~Scene() { Style::instance()->setTheme(0), Style::instance()->setScalingFactor(1.0f); }
    MTBxButton* button(const wchar_t* text, const wchar_t* icon, bool checkable)
    {
        auto* b = new MTBxButton(MTBxString(L"button"), nullptr);
        b->setText(MTBxString(text));
        b->setShowText(true);
        b->setIcon(MTBxString(icon));
        b->setCheckable(checkable);
        b->setWidth(90);
        toolbar.addItem(b);
        return b;
    }
    QImage paint(QmtbRender& render, qreal ratio = 1.0, const QPoint& origin = kOrigin)
    {
        QImage image(QSize(260, 80) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        render.setPainter(&painter);
        render.setOrigin(origin);
        layout.draw(&render, true);
        render.setPainter(nullptr);
        return image;
    }
    // Where the icon lies, in device pixels: its raster is ratio times its height, aspect kept.
    QRect iconArea(qreal ratio, const QPoint& origin = kOrigin) const
    {
        const ItemView* view = item->itemView();
        const int size = Style::instance()->iconSize();
        const auto part = std::find_if(view->parts().begin(), view->parts().end(),
                                       [](const ItemPart& p) { return p.kind == Icon; });
        const QPoint at(origin.x() + int(view->left()) + part->x,
                        origin.y() - int(view->top()) + (Style::instance()->itemHeight() - size) / 2);
        const QSize svg = QSvgRenderer(QString::fromWCharArray(kIcon)).defaultSize();
        return QRect(at * ratio, QSize(int(size * ratio) * svg.width() / svg.height(), int(size * ratio)));
    }

    // Bounds, then each view's place and width.
    std::vector<float> geometry() const
    {
        std::vector<float> g(4);
        layout.getBounds(g[0], g[1], g[2], g[3]);
        for (int i = 0; i < layout.itemViewCount(); ++i)
            g.insert(g.end(), {layout.itemViewAt(i)->left(), layout.itemViewAt(i)->width()});
        return g;
    }

    MiniToolbar toolbar;
    MTBxFlowLayout layout;
    Testing::StandInWindow* window = nullptr;
    MTBxButton* item = nullptr;
    MTBxButton* twin = nullptr;
};

// The device pixels of an area, as a plain image.
QImage pixels(QImage image, const QRect& area)
{
    image.setDevicePixelRatio(1.0);
    return image.copy(area);
}

int largestDifference(const QImage& a, const QImage& b)
{
    int largest = a.size() == b.size() ? 0 : 255;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            for (int shift : {0, 8, 16, 24})
                largest = std::max(largest, std::abs(int(a.pixel(x, y) >> shift & 0xff) - int(b.pixel(x, y) >> shift & 0xff)));
    return largest;
}

} // namespace

TEST(CacheTest, shouldRepaintAChangedItemAsAFreshRendererDoes)
{
    // After each change and the relayout a host asks for, a renderer that painted before shows what a new one shows.
    struct Change { const char* name; std::function<void(Scene&)> apply; bool forceRelayout; };
    const Change changes[] = {
        {"icon", [](Scene& s) { s.item->setIcon(MTBxString(L":/MiniToolbars/Checkbox_On_L.svg")); }, false},
        {"caption", [](Scene& s) { s.item->setText(MTBxString(L"Italic")); }, false},
        {"checked", [](Scene& s) { s.item->setChecked(true, false); }, false},
        {"disabled", [](Scene& s) { s.item->setEnabled(false); }, false},
        {"hovered", [](Scene& s) { s.item->itemView()->setHovered(true); }, false},
        {"pressed", [](Scene& s) { s.item->itemView()->setState(Pressed); }, false},
        {"width", [](Scene& s) { s.item->setWidth(120); }, false},
        {"no caption", [](Scene& s) { s.item->setShowText(false); }, false},
        {"option box", [](Scene& s) { s.item->setOptionBox(true); }, false},
        {"faded", [](Scene& s) { s.window->opacity = 0.4; }, false},
        {"theme", [](Scene&) { Style::instance()->setTheme(1); }, false},
        {"scale", [](Scene&) { Style::instance()->setScalingFactor(1.5f); }, true},
    };
    for (const Change& change : changes) {
        Scene scene;
        QmtbRender reused;
        const QImage before = scene.paint(reused);
        change.apply(scene);
        scene.layout.rebuild(change.forceRelayout);
        const QImage after = scene.paint(reused);
        QmtbRender fresh;
        EXPECT_TRUE(after != before) << change.name << " changes no pixel";
        EXPECT_TRUE(after == scene.paint(fresh)) << change.name << " leaves a stale face";
        // Nor does a relayout that keeps its views keep stale ones.
        const std::vector<float> kept = scene.geometry();
        scene.layout.rebuild(true);
        EXPECT_EQ(kept, scene.geometry()) << change.name;
    }
}

TEST(CacheTest, shouldPaintIconsAtTheDevicePixelRatio)
{
    // The icon is the SVG rasterised at ratio times its size over the item's background, at ratio 1 as at 2.
    for (qreal ratio : {1.0, 2.0}) {
        Scene scene;
        QmtbRender render;
        const QImage image = scene.paint(render, ratio);
        const QRect icon = scene.iconArea(ratio);
        // The bare twin shows, at the same place, the background that the icon covers.
        const int twinOffset = int((scene.twin->itemView()->left() - scene.item->itemView()->left()) * ratio);
        QImage expected = pixels(image, icon.translated(twinOffset, 0));
        QImage svg(icon.size(), QImage::Format_ARGB32_Premultiplied);
        svg.fill(Qt::transparent);
        QPainter svgPainter(&svg);
        QSvgRenderer(QString::fromWCharArray(kIcon)).render(&svgPainter, QRectF(svg.rect()));
        svgPainter.end();
        QPainter(&expected).drawImage(0, 0, svg);
        EXPECT_LE(largestDifference(pixels(image, icon), expected), 1) << ratio;
    }

    // Painted at ratio 2, the icon matches the icon at scaling factor 2 pixel for pixel.
    Scene scene;
    QmtbRender render;
    const QImage hiDpi = pixels(scene.paint(render, 2.0), scene.iconArea(2.0));
    Scene scaled(12);
    Style::instance()->setScalingFactor(2.0f);
    scaled.layout.rebuild(true);
    ASSERT_EQ(Style::instance()->iconSize(), 32);
    QmtbRender scaledRender;
    const QImage big = scaled.paint(scaledRender, 1.0, kOrigin * 2);
    EXPECT_LE(largestDifference(hiDpi, pixels(big, scaled.iconArea(1.0, kOrigin * 2))), 1);
}
