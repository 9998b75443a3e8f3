#ifndef MINITOOLBARS_QMTBRENDER_H
#define MINITOOLBARS_QMTBRENDER_H

#include "Core/MTBxRender.h"

#include <QPointF>

#include <memory>

class QPainter;
class QPoint;
class QRect;

namespace MiniToolbars {

struct QmtbFaceCache;
class QmtbPanel;

// Paints item views with a painter that the toolbar window lends it for one
// repaint, and converts layout points (y up) into window pixels. Each item's
// face (backgrounds, outline, parts) is rendered once per look, size, style and
// device pixel ratio and then only composited, at whatever opacity the item has.
class QmtbRender : public MTBxRender
{
public:
    QmtbRender();
    ~QmtbRender() override;

    void drawItem(ItemView* view, float x, float y, double opacity) override;
    // Captions are drawn by drawItem.
    void drawText(Text* text, float x, float y) override;

    // Set at the start of a repaint, cleared (null) at its end.
    void setPainter(QPainter* painter);
    QPainter* painter() const { return m_painter; }
    // Window-pixel position of the layout origin.
    void setOrigin(const QPoint& origin);
    const QPointF& origin() const { return m_origin; }
    QPointF toWindowPoint(float x, float y) const;
    // Whether an item clears the window's pixels beneath it before it is laid
    // over them. In a top-level window of its own those are the toolbar's
    // earlier paint; an overlay paints over the host's pixels, which a faded
    // item must blend with.
    void setClearsBeneath(bool clears) { m_clearsBeneath = clears; }


    // The solid look: items lie on a panel that each repaint draws anew, so
    // they no longer clear what lies beneath them.
    void setSolid(bool solid) { m_solid = solid; }
    bool isSolid() const { return m_solid; }
    // The solid look's panel at panel (window pixels), before the items.
    void drawPanel(const QRect& panel, double opacity);

private:
    QPainter* m_painter;
    QPointF m_origin;
    bool m_clearsBeneath = true;
    std::unique_ptr<QmtbFaceCache> m_faces;
    std::unique_ptr<QmtbPanel> m_panel;
    bool m_solid = false;
};

} // namespace MiniToolbars

#endif
