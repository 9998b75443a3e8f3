#include "Qt/PopupLook.h"

#include "Core/Style.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace MiniToolbars {

namespace {

QColor colorOf(const ThemeColor& c)
{
    return QColor(c.red, c.green, c.blue, c.alpha);
}

// The application's style with every size a popup takes from it grown by the
// factor: icons, check marks, menu margins and separators, scroll bars.
class ScaledPopupStyle : public QProxyStyle
{
public:
    // Over a fresh instance of the application's style, as a proxy owns its
    // base; a style the factory does not know gives the desktop's.
    ScaledPopupStyle(qreal factor, QStyle* base)
        : QProxyStyle(base)
        , m_factor(factor)
    {
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int base = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
        case PM_SmallIconSize:
        case PM_ListViewIconSize:
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
        case PM_MenuHMargin:
        case PM_MenuVMargin:
        case PM_MenuScrollerHeight:
        case PM_ScrollBarExtent:
        case PM_ScrollBarSliderMin:
        case PM_FocusFrameHMargin:
        case PM_FocusFrameVMargin:
            return static_cast<int>(std::lround(base * m_factor));
        default:
            return base;
        }
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        // A row with an icon gets 2 pixels more, which keep icons apart.
        const auto* row = qstyleoption_cast<const QStyleOptionViewItem*>(option);
        if (type == CT_ItemViewItem && row && (row->features & QStyleOptionViewItem::HasDecoration))
            result.rheight() += static_cast<int>(std::lround(2 * (m_factor - 1)));
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuItem || !item)
            return result;
        // The text grew with the font already; what the style adds around it grows here.
        const int text = item->menuItemType == QStyleOptionMenuItem::Separator ? 0 : item->fontMetrics.height();
        const int around = std::max(0, result.height() - text);
        result.setHeight(text + static_cast<int>(std::lround(around * m_factor)));
        return result;
    }

private:
    qreal m_factor;
};

} // namespace

namespace PopupLook {

qreal factor()
{
    const float f = Style::instance()->scalingFactor();
    return std::isfinite(f) && f > 0.0f ? f : 1.0;
}

int scaled(int pixels)
{
    const qreal f = factor();
    return f == 1.0 ? pixels : static_cast<int>(std::lround(pixels * f));
}

QFont scaledFont(const QFont& font)
{
    const qreal f = factor();
    if (f == 1.0)
        return font;
    QFont grown = font;
    if (font.pointSizeF() > 0)
        grown.setPointSizeF(font.pointSizeF() * f);
    else if (font.pixelSize() > 0)
        grown.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * f)));
    return grown;
}

QPalette themed(const QPalette& palette)
{
    const ThemePalette& theme = Style::instance()->palette();
    if (!theme.popupColors())
        return palette;
    QPalette look = palette;
    const QColor background = colorOf(theme.popupBackground());
    const QColor text = colorOf(theme.popupText());
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled }) {
        const bool disabled = group == QPalette::Disabled;
        const QColor ink = disabled ? colorOf(theme.popupDisabledText()) : text;
        look.setColor(group, QPalette::Window, background);
        look.setColor(group, QPalette::Base, background);
        look.setColor(group, QPalette::AlternateBase, background.lighter(115));
        look.setColor(group, QPalette::Button, background);
        look.setColor(group, QPalette::ToolTipBase, background);
        look.setColor(group, QPalette::WindowText, ink);
        look.setColor(group, QPalette::Text, ink);
        look.setColor(group, QPalette::ButtonText, ink);
        look.setColor(group, QPalette::ToolTipText, ink);
        look.setColor(group, QPalette::BrightText, ink);
        look.setColor(group, QPalette::Highlight, colorOf(theme.popupHighlight()));
        look.setColor(group, QPalette::HighlightedText, colorOf(theme.popupHighlightedText()));
        look.setColor(group, QPalette::Light, background.lighter(160));
        look.setColor(group, QPalette::Midlight, background.lighter(130));
        look.setColor(group, QPalette::Mid, background.lighter(120));
        look.setColor(group, QPalette::Dark, background.darker(130));
        look.setColor(group, QPalette::Shadow, QColor(0, 0, 0));
    }
    return look;
}

void apply(QWidget* popup)
{
    if (!popup)
        return;
    if (Style::instance()->palette().popupColors())
        popup->setPalette(themed(popup->palette()));
    const qreal f = factor();
    if (f == 1.0)
        return;
    auto* style = new ScaledPopupStyle(f, QStyleFactory::create(QApplication::style()->objectName()));
    style->setParent(popup);
    popup->setStyle(style);
    popup->setFont(scaledFont(popup->font()));
}

QString toolTipStyleSheet(const QFont& font)
{
    const ThemePalette& theme = Style::instance()->palette();
    const qreal f = factor();
    if (!theme.popupColors() && f == 1.0)
        return QString();
    const QFont grown = scaledFont(font);
    QString rules = grown.pointSizeF() > 0 ? QStringLiteral("font-size: %1pt;").arg(grown.pointSizeF())
                                           : QStringLiteral("font-size: %1px;").arg(grown.pixelSize());
    rules += QStringLiteral("padding: %1px;").arg(scaled(2));
    if (theme.popupColors()) {
        rules += QStringLiteral("color: %1; background-color: %2; border: 1px solid %3;")
                     .arg(colorOf(theme.popupText()).name(), colorOf(theme.popupBackground()).name(),
                          colorOf(theme.popupBorder()).name(QColor::HexArgb));
    }
    return QStringLiteral("QToolTip { %1 }").arg(rules);
}

} // namespace PopupLook

} // namespace MiniToolbars
