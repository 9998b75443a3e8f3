#ifndef MINITOOLBARS_QMTBPANEL_H
#define MINITOOLBARS_QMTBPANEL_H

#include <QImage>
#include <QRect>

class QPainter;

namespace MiniToolbars {

class MTBxView;
class Style;

// The solid look's panel: an opaque rounded rectangle under the items, with a
// soft shadow around it. Rendered once per size, theme, metrics and pixel
// ratio, then composited at the toolbar's opacity, so that it fades with the
// items and never shows its shadow through itself.
class QmtbPanel
{
public:
    // The panel around items that cover itemArea (window pixels).
    static QRect panelRect(const QRect& itemArea, const Style& style);
    // What the panel at panel paints, its shadow included.
    static QRect shadowRect(const QRect& panel, const Style& style);

    // As opaque as the most opaque item on it: the panel fades with the
    // toolbar, and an item that stays while the others fade stays on a solid panel.
    static double opacity(const MTBxView& view, double toolbarOpacity);

    void draw(QPainter& painter, const QRect& panel, double opacity);

private:
    struct Key
    {
        QSize size;
        int ratioPermille = 0;
        int theme = -1;
        int padding = 0;
        int shadow = 0;
        int radius = 0;
        bool operator==(const Key& other) const;
    };

    Key m_key;
    QImage m_image;
};

} // namespace MiniToolbars

#endif
