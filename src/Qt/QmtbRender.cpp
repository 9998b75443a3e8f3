#include "QmtbRender.h"

#include "Factories.h"
#include "ItemView.h"
#include "MTBxImage.h"
#include "MTBxItem.h"
#include "QmtbImage.h"
#include "QmtbText.h"
#include "Style.h"
#include "Text.h"
#include "ThemePalette.h"
#include "ToolbarWindow.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>

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
    return QString::fromUtf16(data, static_cast<int>(s.length()));
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
    bool pressed = false;
    bool roundLeft = true;
    bool roundRight = true;
};

void drawBackground(QPainter& painter, const ItemContext& item, const QRectF& area, Look look)
{
    const Style& style = *item.style;
    const ThemePalette& palette = style.palette();
    const qreal w = style.borderWidth();

    QRectF r = area.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    const bool grip = item.view->isGrip();
    const qreal rx = grip ? style.gripCornerRadiusX() : style.cornerRadiusX();
    const qreal ry = grip ? style.gripCornerRadiusY() : style.cornerRadiusY();

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

    QPen pen(QColor(0, 0, 0, 0), w, Qt::SolidLine, Qt::FlatCap, Qt::BevelJoin);
    const QPainterPath path = outlinePath(r, rx, ry, item.roundLeft, item.roundRight);

    // Clear what lies under the item first, so a redraw never piles translucent
    // colour on itself. The clear must not be weakened by the item's opacity.
    const qreal opacity = painter.opacity();
    painter.setOpacity(1.0);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setPen(pen);
    painter.setBrush(Qt::transparent);
    painter.drawPath(path);
    painter.setOpacity(opacity);

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

const QImage* rasterOf(const MTBxImage* image)
{
    const auto* qtImage = dynamic_cast<const QmtbImage*>(image);
    return qtImage ? qtImage->raster() : nullptr;
}

void drawImageAt(QPainter& painter, const ItemContext& item, int x, const MTBxImage* image)
{
    const QImage* raster = rasterOf(image);
    if (!raster || raster->isNull())
        return;
    const int h = item.style->itemHeight();
    const int y = item.rect.top() + truncated((h - raster->height()) / 2.0);
    painter.drawImage(QPoint(item.rect.left() + x, y), *raster);
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
    const QImage* raster = rasterOf(image);
    if (!end || !raster) {
        drawImage(painter, item, part, image);
        return;
    }
    drawImageAt(painter, item, truncated(end->left() + (end->width() - raster->width()) / 2.0),
                image);
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

void drawPart(QPainter& painter, const ItemContext& item, const ItemPart& part)
{
    const Style& style = *item.style;
    switch (part.kind) {
    case Caption:
        drawCaption(painter, item, part);
        break;
    case Icon:
        drawImage(painter, item, part, item.view->image());
        break;
    case DropDownArrow:
        drawImage(painter, item, part, style.image(ThemeImage::MenuArrowDown));
        break;
    case EntryArrow:
        drawImage(painter, item, part, style.image(ThemeImage::MenuArrowRight));
        break;
    case CheckBox:
        drawImage(painter, item, part,
                  style.image(item.view->isChecked() ? ThemeImage::CheckBoxOn
                                                     : ThemeImage::CheckBoxOff));
        break;
    case OptionBox:
        drawOptionGlyph(painter, item, part,
                  style.image(item.view->pressedSubArea() ? ThemeImage::OptionBoxHighlighted
                                                          : ThemeImage::OptionBox));
        break;
    case Grip:
        drawImage(painter, item, part, style.image(ThemeImage::Grip));
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

} // namespace

QmtbRender::QmtbRender() : m_painter(nullptr) {}

QmtbRender::~QmtbRender() = default;

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
    painter.save();

    ItemContext item;
    item.view = view;
    item.style = Style::instance();
    const Style& style = *item.style;

    const QPointF p = toWindowPoint(x, y);
    item.rect = QRect(roundAway(p.x()), roundAway(p.y()), roundAway(view->width()),
                      roundAway(view->height()));

    const bool disabled = view->state() == Disabled;
    item.pressed = view->state() == Pressed;
    const bool pressedSubArea = view->pressedSubArea();
    const bool hovered = view->isHovered();
    const bool hoverSubArea = view->hoverSubArea();

    painter.setRenderHint(QPainter::Antialiasing, true);

    if (!std::isfinite(opacity))
        opacity = 0.0;
    opacity = std::clamp(opacity, 0.0, 1.0);
    if (disabled && opacity > 0)
        opacity *= style.disabledOpacity();
    painter.setOpacity(opacity);

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
    drawBackground(painter, item, item.rect, look);

    const Rect* sub = view->subAreaRect();
    if (sub && (view->hasOptionBox() || view->hasSplitter())) {
        look.hover = hoverSubArea;
        look.active = pressedSubArea;
        const QRectF subArea(item.rect.left() + sub->left(), item.rect.top() + sub->bottom(),
                             sub->width(), sub->height());
        drawBackground(painter, item, subArea, look);
    }

    for (const ItemPart& part : view->parts())
        drawPart(painter, item, part);

    painter.restore();
}

void QmtbRender::drawText(Text* text, float x, float y)
{
    Q_UNUSED(text);
    Q_UNUSED(x);
    Q_UNUSED(y);
}

MTBxRender* createRender()
{
    return new QmtbRender();
}

} // namespace MiniToolbars
