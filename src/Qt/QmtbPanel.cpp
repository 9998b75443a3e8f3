#include "Qt/QmtbPanel.h"

#include "Core/ItemView.h"
#include "Core/MTBxView.h"
#include "Core/Style.h"
#include "Core/ThemePalette.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbFaceCache.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace MiniToolbars {

namespace {

QColor toQColor(const ThemeColor& c)
{
    return QColor(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255), std::clamp(c.blue, 0, 255),
                  std::clamp(c.alpha, 0, 255));
}

// One pass of a box blur of the given radius along rows (step 1) or columns.
void boxBlur(std::vector<int>& alpha, int width, int height, int radius, bool rows)
{
    const int lines = rows ? height : width;
    const int length = rows ? width : height;
    const int stride = rows ? 1 : width;
    std::vector<int> line(length);
    const int span = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        int* const first = alpha.data() + (rows ? l * width : l);
        for (int i = 0; i < length; ++i)
            line[i] = first[i * stride];
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += i >= 0 && i < length ? line[i] : 0;
        for (int i = 0; i < length; ++i) {
            first[i * stride] = sum / span;
            const int in = i + radius + 1;
            const int out = i - radius;
            sum += (in < length ? line[in] : 0) - (out >= 0 ? line[out] : 0);
        }
    }
}

// The shadow of shape: its silhouette in color, blurred by about blur device pixels.
QImage shadowImage(const QSize& pixels, const QPainterPath& shape, qreal ratio, const QColor& color, int blur)
{
    QImage mask(pixels, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.scale(ratio, ratio);
        painter.fillPath(shape, Qt::white);
    }
    const int width = pixels.width();
    const int height = pixels.height();
    std::vector<int> alpha(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar* line = mask.constScanLine(y);
        std::copy(line, line + width, alpha.begin() + static_cast<size_t>(y) * width);
    }
    // Three box passes each way come close to a Gaussian.
    const int radius = std::max(1, blur / 3);
    for (int pass = 0; pass < 3; ++pass) {
        boxBlur(alpha, width, height, radius, true);
        boxBlur(alpha, width, height, radius, false);
    }
    QImage shadow(pixels, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = alpha[static_cast<size_t>(y) * width + x] * color.alpha() / 255;
            line[x] = qRgba(color.red() * a / 255, color.green() * a / 255, color.blue() * a / 255, a);
        }
    }
    return shadow;
}

} // namespace

bool QmtbPanel::Key::operator==(const Key& other) const
{
    return size == other.size && ratioPermille == other.ratioPermille && theme == other.theme
        && padding == other.padding && shadow == other.shadow && radius == other.radius;
}

QRect QmtbPanel::panelRect(const QRect& itemArea, const Style& style)
{
    const int padding = style.panelPadding();
    return itemArea.adjusted(-padding, -padding, padding, padding);
}

QRect QmtbPanel::shadowRect(const QRect& panel, const Style& style)
{
    const int shadow = style.panelShadowWidth();
    return panel.adjusted(-shadow, -shadow, shadow, shadow);
}

double QmtbPanel::opacity(const MTBxView& view, double toolbarOpacity)
{
    double opacity = view.gripView() ? toolbarOpacity : 0.0;
    for (int i = 0; i < view.itemViewCount(); ++i) {
        const ItemView* itemView = view.itemViewAt(i);
        if (!itemView || !itemView->item() || !itemView->isVisible() || itemView->isFadedAway())
            continue;
        opacity = std::max(opacity, itemView->item()->autoHide() ? toolbarOpacity : 1.0);
    }
    return opacity;
}

void QmtbPanel::draw(QPainter& painter, const QRect& panel, double opacity)
{
    if (panel.isEmpty() || !(opacity > 0))
        return;
    const Style& style = *Style::instance();
    const QPaintDevice* device = painter.device();
    qreal ratio = device ? device->devicePixelRatioF() : 1.0;
    if (!std::isfinite(ratio) || ratio < 1)
        ratio = 1.0;

    Key key;
    key.size = panel.size();
    key.ratioPermille = static_cast<int>(std::lround(ratio * 1000));
    key.theme = style.palette().theme();
    key.padding = style.panelPadding();
    key.shadow = style.panelShadowWidth();
    key.radius = style.cornerRadiusX() + style.panelPadding();
    const QRect outer = shadowRect(panel, style);
    if (m_image.isNull() || !(key == m_key)) {
        m_key = key;
        const ThemePalette& palette = style.palette();
        const QRectF local(panel.topLeft() - outer.topLeft(), QSizeF(panel.size()));
        QPainterPath shape;
        shape.addRoundedRect(local, key.radius, key.radius);
        // The shadow falls a little down, and its blur ends inside the window.
        const int drop = key.shadow / 3;
        const QImage blank = blankImage(outer.size(), ratio);
        m_image = shadowImage(blank.size(), shape.translated(0, drop), ratio, toQColor(palette.panelShadow()),
                              static_cast<int>((key.shadow - drop) * ratio));
        m_image.setDevicePixelRatio(ratio);
        QPainter image(&m_image);
        image.setRenderHint(QPainter::Antialiasing, true);
        image.setPen(QPen(toQColor(palette.panelBorder()), 1));
        image.setBrush(toQColor(palette.panelFill()));
        image.drawPath(shape);
    }
    const qreal oldOpacity = painter.opacity();
    painter.setOpacity(oldOpacity * opacity);
    painter.drawImage(outer.topLeft(), m_image);
    painter.setOpacity(oldOpacity);
}

} // namespace MiniToolbars
