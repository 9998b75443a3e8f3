#include "Compat/QtCompat.h"
#include "Qt/QmtbRender.h"

#include "Core/Backend.h"
#include "Core/ItemView.h"
#include "Core/MTBxImage.h"
#include "Core/Style.h"
#include "Core/Text.h"
#include "Core/ThemePalette.h"
#include "Core/ToolbarWindow.h"
#include "MiniToolbars/MTBxItem.h"
#include "Qt/QmtbFaceCache.h"
#include "Qt/QmtbImage.h"
#include "Qt/QmtbPanel.h"
#include "Qt/QmtbText.h"

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <vector>

namespace MiniToolbars {

namespace {

// Far beyond any screen, and safe to convert to int.
constexpr double kCoordinateLimit = 1 << 24;

// Halves go away from zero.
int roundAway(double value)
{
    if (!std::isfinite(value))
        return 0;
    value = std::clamp(value, -kCoordinateLimit, kCoordinateLimit);
    return static_cast<int>(value > 0 ? value + 0.5 : value - 0.5);
}

int truncated(double value)
{
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

QColor toQColor(const ThemeColor& c)
{
    return QColor(std::clamp(c.red, 0, 255), std::clamp(c.green, 0, 255),
                  std::clamp(c.blue, 0, 255), std::clamp(c.alpha, 0, 255));
}

QColor brightened(const ThemeColor& c)
{
    const auto channel = [](int v) { return std::clamp(static_cast<int>(v * 1.2), 0, 255); };
    return QColor(channel(c.red), channel(c.green), channel(c.blue), std::clamp(c.alpha, 0, 255));
}

QString toQString(const MTBxString& s)
{
    const unsigned short* data = s;
    if (!data || s.empty())
        return QString();
    return QtCompat::fromUtf16(data, static_cast<int>(s.length()));
}

const QString& ellipsis()
{
    static const QString text = QStringLiteral("...");
    return text;
}

QPainterPath oneSidedPath(const QRectF& r, qreal rx, qreal ry, bool left)
{
    QPainterPath path;
    const QSizeF corner(2 * rx, 2 * ry);
    if (left) {
        const QRectF topLeft(r.topLeft(), corner);
        const QRectF bottomLeft(QPointF(r.left(), r.bottom() - corner.height()), corner);
        path.arcMoveTo(topLeft, 90);
        path.arcTo(topLeft, 90, 90);
        path.arcTo(bottomLeft, 180, 90);
        path.lineTo(r.bottomRight());
        path.lineTo(r.topRight());
    } else {
        const QRectF bottomRight(QPointF(r.right() - corner.width(), r.bottom() - corner.height()),
                                 corner);
        const QRectF topRight(QPointF(r.right() - corner.width(), r.top()), corner);
        path.arcMoveTo(bottomRight, 270);
        path.arcTo(bottomRight, 270, 90);
        path.arcTo(topRight, 0, 90);
        path.lineTo(r.topLeft());
        path.lineTo(r.bottomLeft());
    }
    path.closeSubpath();
    return path;
}

// The item outline: rounded where the item ends a group, square where it
// touches a neighbour.
QPainterPath outlinePath(const QRectF& rect, qreal rx, qreal ry, bool roundLeft, bool roundRight)
{
    const QRectF r = rect.normalized();
    QPainterPath path;
    if (!(r.width() > 0) || !(r.height() > 0))
        return path;
    if (roundLeft && roundRight) {
        path.addRoundedRect(r, rx, ry, Qt::AbsoluteSize);
        return path;
    }
    if (roundLeft || roundRight) {
        const qreal limitedX = std::min(rx, r.width() / 2);
        const qreal limitedY = std::min(ry, r.height() / 2);
        if (limitedX > 0 && limitedY > 0)
            return oneSidedPath(r, limitedX, limitedY, roundLeft);
    }
    path.addRect(r);
    return path;
}

struct Look
{
    bool hover = false;
    bool active = false;
};

struct ItemContext
{
    ItemView* view = nullptr;
    const Style* style = nullptr;
    QRect rect;
    qreal pixelRatio = 1.0;
    bool pressed = false;
    bool roundLeft = true;
    bool roundRight = true;
    // Not over an overlay's host nor over the solid look's panel, which must stay.
    bool clearsBeneath = true;
};

// The outline of a background pass on area, and its rectangle and radii.
QPainterPath backgroundOutline(const ItemContext& item, const QRectF& area, QRectF& r, qreal& rx, qreal& ry)
{
    const Style& style = *item.style;
    const qreal w = style.borderWidth();
    r = area.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    const bool grip = item.view->isGrip();
    rx = grip ? style.gripCornerRadiusX() : style.cornerRadiusX();
    ry = grip ? style.gripCornerRadiusY() : style.cornerRadiusY();
    return outlinePath(r, rx, ry, item.roundLeft, item.roundRight);
}

// Marks, opaque, what the clear of a background pass on area takes away.
void drawClearedArea(QPainter& painter, const ItemContext& item, const QRectF& area)
{
    QRectF r;
    qreal rx = 0;
    qreal ry = 0;
    const QPainterPath path = backgroundOutline(item, area, r, rx, ry);
    painter.setPen(QPen(Qt::black, item.style->borderWidth(), Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin));
    painter.setBrush(Qt::black);
    painter.drawPath(path);
}

void drawBackground(QPainter& painter, const ItemContext& item, const QRectF& area, Look look)
{
    const Style& style = *item.style;
    const ThemePalette& palette = style.palette();
    const qreal w = style.borderWidth();

    QRectF r;
    qreal rx = 0;
    qreal ry = 0;
    const QPainterPath path = backgroundOutline(item, area, r, rx, ry);

    const ThemeColor& top = look.active ? palette.activeTop() : palette.buttonTop();
    const ThemeColor& bottom = look.active ? palette.activeBottom() : palette.buttonBottom();
    const QColor topColor = look.hover ? brightened(top) : toQColor(top);
    const QColor bottomColor = look.hover ? brightened(bottom) : toQColor(bottom);
    const QColor inner =
        toQColor(look.active ? palette.activeInnerBorder() : palette.buttonInnerBorder());
    const QColor outer =
        toQColor(item.pressed ? palette.pressedOuterBorder() : palette.buttonOuterBorder());

    QLinearGradient gradient(r.topLeft(), r.bottomLeft());
    gradient.setColorAt(0.0, topColor);
    gradient.setColorAt(1.0, bottomColor);

    QPen pen(Qt::transparent, w, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);

    // Clear what lies under the item first, so a redraw never piles translucent
    // colour on itself. The clear must not be weakened by the item's opacity.
    if (item.clearsBeneath) {
        const qreal opacity = painter.opacity();
        painter.setOpacity(1.0);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setPen(pen);
        painter.setBrush(Qt::transparent);
        painter.drawPath(path);
        painter.setOpacity(opacity);
    }

    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    pen.setColor(outer);
    painter.setPen(pen);
    painter.setBrush(gradient);
    painter.drawPath(path);

    // A zero width is Qt's cosmetic one-pixel pen.
    const int innerWidth = truncated(w / 2);
    const qreal inset = w / 2 + innerWidth / 2.0;
    r.adjust(inset, inset, -inset, -inset);
    pen.setWidth(innerWidth);
    pen.setColor(inner);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outlinePath(r, rx - inset, ry - inset, item.roundLeft, item.roundRight));
}

// The raster to draw at the given device pixel ratio; null without one.
QImage rasterOf(const MTBxImage* image, qreal pixelRatio)
{
    const auto* qtImage = dynamic_cast<const QmtbImage*>(image);
    return qtImage ? qtImage->rasterFor(pixelRatio) : QImage();
}

void drawImageAt(QPainter& painter, const ItemContext& item, int x, const MTBxImage* image)
{
    const QImage raster = rasterOf(image, item.pixelRatio);
    if (raster.isNull())
        return;
    // Placed by its size in layout pixels, whatever the ratio it was made for.
    const int h = item.style->itemHeight();
    const int rasterHeight = truncated(raster.height() / raster.devicePixelRatio());
    const int y = item.rect.top() + truncated((h - rasterHeight) / 2.0);
    painter.drawImage(QPoint(item.rect.left() + x, y), raster);
}

void drawImage(QPainter& painter, const ItemContext& item, const ItemPart& part,
               const MTBxImage* image)
{
    drawImageAt(painter, item, part.x, image);
}

// The option glyph is centred in the option end. Placed from the left like the
// other parts, it would cross its splitter by the room the width steps add at
// the right, which grows with the item height.
void drawOptionGlyph(QPainter& painter, const ItemContext& item, const ItemPart& part,
                     const MTBxImage* image)
{
    const Rect* end = item.view->subAreaRect();
    const QImage raster = rasterOf(image, item.pixelRatio);
    if (!end || raster.isNull()) {
        drawImage(painter, item, part, image);
        return;
    }
    const double rasterWidth = raster.width() / raster.devicePixelRatio();
    drawImageAt(painter, item, truncated(end->left() + (end->width() - rasterWidth) / 2.0), image);
}

QFont styleFont(const Style& style)
{
    return QFont(toQString(style.fontFamily()), std::max(style.fontPointSize(), 1));
}

QFont captionFont(const ItemContext& item)
{
    const auto* caption = dynamic_cast<const QmtbText*>(item.view->caption());
    if (caption && caption->font())
        return *caption->font();
    return styleFont(*item.style);
}

void drawCaption(QPainter& painter, const ItemContext& item, const ItemPart& part)
{
    const Style& style = *item.style;
    MTBxItem* model = item.view->item();
    if (!model)
        return;
    // Measured without its outer blanks (they have no ink), so drawn without
    // them too: the fit check must agree with the part's width.
    const QString text = toQString(model->text()).trimmed();

    const bool pressedText = item.pressed && !item.view->pressedSubArea();
    const ThemePalette& palette = style.palette();
    painter.setFont(captionFont(item));
    painter.setPen(QPen(toQColor(pressedText ? palette.pressedText() : palette.text()), 0,
                        Qt::SolidLine, Qt::RoundCap, Qt::BevelJoin));

    const QRectF box(item.rect.left() + part.x, item.rect.top() + style.textTopSpace() / 2,
                     part.width, style.textBoxHeight());

    const QFontMetrics metrics(styleFont(style));
    if (metrics.tightBoundingRect(text).width() <= box.width()) {
        // The box is as wide as the ink, but the ink starts after the first
        // glyph's bearing: clipping would shave the last column off.
        painter.drawText(box, Qt::AlignTop | Qt::TextDontClip, text);
        return;
    }
    // Too wide: cut the text by clipping and let an ellipsis follow it.
    const int e = metrics.tightBoundingRect(ellipsis()).width();
    const qreal visible = std::max<qreal>(part.width - e, 0);
    painter.drawText(QRectF(box.left(), box.top(), visible, box.height()), Qt::AlignTop, text);
    painter.drawText(QRectF(box.left() + part.width - e, box.top(), style.ellipsisBoxWidth(),
                            box.height()),
                     Qt::AlignTop, ellipsis());
}

void drawSplitter(QPainter& painter, const ItemContext& item, const ItemPart& part)
{
    const Style& style = *item.style;
    painter.setPen(QPen(toQColor(style.palette().separatorLine()), part.width, Qt::SolidLine,
                        Qt::RoundCap, Qt::BevelJoin));
    const qreal x = item.rect.left() + part.x + part.width / 2.0;
    const int top = item.rect.top();
    painter.drawLine(QPointF(x, top + style.borderWidth()),
                     QPointF(x, top + style.itemHeight() - style.borderWidth()));
}

// The image a part shows, or null for parts that show none.
const MTBxImage* partImage(const ItemContext& item, const ItemPart& part)
{
    const Style& style = *item.style;
    switch (part.kind) {
    case Icon:
        return item.view->image();
    case DropDownArrow:
        return style.image(ThemeImage::MenuArrowDown);
    case EntryArrow:
        return style.image(ThemeImage::MenuArrowRight);
    case CheckBox:
        return style.image(item.view->isChecked() ? ThemeImage::CheckBoxOn : ThemeImage::CheckBoxOff);
    case OptionBox:
        return style.image(item.view->pressedSubArea() ? ThemeImage::OptionBoxHighlighted
                                                       : ThemeImage::OptionBox);
    case Grip:
        return style.image(ThemeImage::Grip);
    default:
        return nullptr;
    }
}

void drawPart(QPainter& painter, const ItemContext& item, const ItemPart& part)
{
    switch (part.kind) {
    case Caption:
        drawCaption(painter, item, part);
        break;
    case OptionBox:
        drawOptionGlyph(painter, item, part, partImage(item, part));
        break;
    case Icon:
    case DropDownArrow:
    case EntryArrow:
    case CheckBox:
    case Grip:
        drawImage(painter, item, part, partImage(item, part));
        break;
    case Splitter:
        drawSplitter(painter, item, part);
        break;
    case LeadingMargin:
    case TrailingMargin:
    case EmptyCaption:
    case EntryField:
        break;
    }
}

// Background passes, then the parts, with the item's rectangle at item.rect.
void paintItem(QPainter& painter, const ItemContext& item, Look look, Look subLook, const QRectF* subArea)
{
    drawBackground(painter, item, item.rect, look);
    if (subArea)
        drawBackground(painter, item, subArea->translated(item.rect.topLeft()), subLook);
    for (const ItemPart& part : item.view->parts())
        drawPart(painter, item, part);
}

} // namespace

QmtbRender::QmtbRender()
    : m_painter(nullptr)
    , m_faces(std::make_unique<QmtbFaceCache>())
    , m_panel(std::make_unique<QmtbPanel>())
{
}

QmtbRender::~QmtbRender() = default;

void QmtbRender::setPainter(QPainter* painter)
{
    if (painter)
        ++m_faces->paint;
    else
        m_faces->trim();
    m_painter = painter;
}

void QmtbRender::drawPanel(const QRect& panel, double opacity)
{
    if (m_painter)
        m_panel->draw(*m_painter, panel, std::isfinite(opacity) ? std::clamp(opacity, 0.0, 1.0) : 0.0);
}

void QmtbRender::setOrigin(const QPoint& origin)
{
    m_origin = QPointF(origin);
}

QPointF QmtbRender::toWindowPoint(float x, float y) const
{
    return m_origin + QPointF(truncated(x), truncated(-y));
}

void QmtbRender::drawItem(ItemView* view, float x, float y, double opacity)
{
    if (!m_painter || !view || !view->isVisible())
        return;
    QPainter& painter = *m_painter;

    ItemContext item;
    item.view = view;
    item.style = Style::instance();
    const Style& style = *item.style;
    const QPaintDevice* device = painter.device();
    item.pixelRatio = device ? device->devicePixelRatioF() : 1.0;
    // QPainter scales by ratios above 1 only; below, it paints one to one.
    if (!std::isfinite(item.pixelRatio) || item.pixelRatio < 1)
        item.pixelRatio = 1.0;

    const QPointF p = toWindowPoint(x, y);
    const QRect rect(roundAway(p.x()), roundAway(p.y()), roundAway(view->width()),
                     roundAway(view->height()));
    // An empty or absurdly large item is drawn directly instead of into a face.
    const bool direct = rect.width() <= 0 || rect.height() <= 0
        || rect.width() > QmtbImage::kMaxEdge || rect.height() > QmtbImage::kMaxEdge;
    item.rect = direct ? rect : QRect(QPoint(0, 0), rect.size());
    // A face starts blank; only a window of the toolbar's own may be cleared.
    item.clearsBeneath = (!direct || m_clearsBeneath) && !m_solid;

    const bool disabled = view->state() == Disabled;
    item.pressed = view->state() == Pressed;
    const bool pressedSubArea = view->pressedSubArea();
    const bool hovered = view->isHovered();
    const bool hoverSubArea = view->hoverSubArea();

    if (!std::isfinite(opacity))
        opacity = 0.0;
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (disabled && opacity > 0)
        opacity *= style.disabledOpacity();

    item.roundLeft = view->startsGroup();
    item.roundRight = view->endsGroup();
    ToolbarWindow* window = view->window();
    if (window && opacity > 0 && window->currentOpacity() == 0.0) {
        // A toolbar faded out to its non-fading items: those stand alone.
        item.roundLeft = view->previousAutoHides();
        item.roundRight = view->nextAutoHides();
    }

    Look look;
    look.hover = hovered && !hoverSubArea;
    look.active = (view->isActive() || item.pressed) && !pressedSubArea;
    Look subLook;
    subLook.hover = hoverSubArea;
    subLook.active = pressedSubArea;
    const Rect* sub = view->subAreaRect();
    const bool subAreaPass = sub && (view->hasOptionBox() || view->hasSplitter());
    // Relative to the item's top-left corner.
    const QRectF subArea = subAreaPass
        ? QRectF(sub->left(), sub->bottom(), sub->width(), sub->height()) : QRectF();

    if (direct) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setOpacity(opacity);
        paintItem(painter, item, look, subLook, subAreaPass ? &subArea : nullptr);
        painter.restore();
        return;
    }

    FaceKey key;
    key.size = rect.size();
    key.ratioPermille = static_cast<int>(std::lround(item.pixelRatio * 1000));
    key.theme = style.palette().theme();
    key.scaling = style.scalingFactor();
    key.xHeight = style.xHeight();
    key.itemHeight = style.itemHeight();
    key.fontPointSize = style.fontPointSize();
    const auto flag = [](bool on, FaceFlag f) { return on ? static_cast<unsigned>(f) : 0u; };
    key.flags = flag(view->isGrip(), GripFace) | flag(item.pressed, PressedFace)
        | flag(pressedSubArea, PressedSubAreaFace) | flag(look.hover, HoverLook)
        | flag(look.active, ActiveLook) | flag(subAreaPass, SubAreaPass)
        | flag(subLook.hover, SubAreaHoverLook) | flag(subLook.active, SubAreaActiveLook)
        | flag(item.roundLeft, RoundLeft) | flag(item.roundRight, RoundRight)
        | flag(view->isChecked(), CheckedFace);
    key.subArea = subArea;
    key.parts.reserve(view->parts().size());
    bool hasCaption = false;
    for (const ItemPart& part : view->parts()) {
        const MTBxImage* image = partImage(item, part);
        key.parts.push_back({part.kind, part.x, part.width,
                             image ? rasterOf(image, item.pixelRatio).cacheKey() : 0});
        hasCaption = hasCaption || part.kind == Caption;
    }
    if (hasCaption && view->item()) {
        key.text = toQString(view->item()->text());
        key.font = captionFont(item);
    }

    QmtbFaceCache& cache = *m_faces;
    cache.forgetOtherStyles(style);
    auto found = cache.faces.find(key);
    if (found == cache.faces.end()) {
        Face face;
        face.image = blankImage(rect.size(), item.pixelRatio);
        QPainter facePainter(&face.image);
        facePainter.setRenderHint(QPainter::Antialiasing, true);
        paintItem(facePainter, item, look, subLook, subAreaPass ? &subArea : nullptr);
        facePainter.end();

        face.cleared = blankImage(rect.size(), item.pixelRatio);
        QPainter clearPainter(&face.cleared);
        clearPainter.setRenderHint(QPainter::Antialiasing, true);
        drawClearedArea(clearPainter, item, item.rect);
        if (subAreaPass)
            drawClearedArea(clearPainter, item, subArea);
        clearPainter.end();

        cache.bytes += faceBytes(face);
        found = cache.faces.insert(key, face);
        cache.trim();
    }
    found->lastUsed = cache.paint;

    // Clear beneath the item at full strength, so a redraw never piles
    // translucent colour on itself; then lay the face over it at the item's
    // opacity. The solid look's panel beneath was just drawn, and stays.
    const qreal oldOpacity = painter.opacity();
    const QPainter::CompositionMode oldMode = painter.compositionMode();
    painter.setOpacity(1.0);
    if (m_clearsBeneath && !m_solid) {
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.drawImage(rect.topLeft(), found->cleared);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (opacity > 0) {
        painter.setOpacity(opacity);
        painter.drawImage(rect.topLeft(), found->image);
    }
    painter.setOpacity(oldOpacity);
    painter.setCompositionMode(oldMode);
}

void QmtbRender::drawText(Text* text, float x, float y)
{
    Q_UNUSED(text);
    Q_UNUSED(x);
    Q_UNUSED(y);
}

} // namespace MiniToolbars
