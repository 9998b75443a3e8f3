#ifndef MINITOOLBARS_QMTBPLACEMENT_H
#define MINITOOLBARS_QMTBPLACEMENT_H

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRegion>

class QWidget;

namespace MiniToolbars {

class Point;
class QmtbRender;
class ToolbarWindow;

// Where a toolbar window's toolbar is and what the window covers. The origin
// is a desktop-relative window point. The window itself covers only what the
// toolbar paints: its bounds and grip with the pen margin, clipped like the
// painting, plus its visible child widgets (popups, entry fields). Whenever
// that changes the window moves or resizes to its bounding rectangle, child
// widgets keep their place on the desktop, and the window is shaped to the
// painted region where that region is not the whole rectangle.
class QmtbPlacement : public QObject
{
public:
    // Antialiased outlines may reach this far beyond the items they belong to.
    static constexpr int penMargin = 2;

    // widget is the window's own widget, which this places and shapes.
    QmtbPlacement(ToolbarWindow& window, QWidget& widget, QmtbRender& renderer);

    QPoint origin() const { return QPoint(m_originX, m_originY); }
    // position in screen pixels, truncated toward zero.
    void setOriginFromScreen(const Point& position);
    QPoint screenOrigin() const;
    // Moves the origin, then keeps the toolbar inside the parent bounds.
    // False, and nothing done, when the origin stays where it is.
    bool moveOrigin(int x, int y, bool relative);
    void keepInsideParent();

    // Layout point of a window point.
    double toViewX(int x) const { return x - m_originX; }
    double toViewY(int y) const { return m_originY - y; }

    // Window points of the solid look's panel; empty in the translucent look.
    QRect panelRect() const;
    // Window points that the toolbar paints, with its visible child widgets.
    QRegion paintedRegion() const;
    // Fits the window's geometry and shape to the painted region. True when
    // the window moved or resized.
    bool sync();
    // Screen pixel of a layout point, truncated.
    QPoint toScreen(const Point& point) const;
    // Screen pixel of the top-left corner of a popup of size opened at layout
    // point: where it would run off the bottom of its screen, its bottom edge
    // goes to layout y flipY instead; off the right edge it moves left.
    QPoint popupPosition(const Point& point, float flipY, const QSize& size) const;
    // Window point of the window's top-left corner.
    QPoint windowOffset() const { return m_geometry.topLeft(); }
    QPoint toLocal(const QPoint& windowPoint) const { return windowPoint - windowOffset(); }
    QRegion toLocal(const QRegion& region) const { return region.translated(-windowOffset()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Window points of the items shown, grip included.
    QRect itemArea() const;
    QRegion toolbarRegion() const;
    void applyRendererOrigin();

    ToolbarWindow& m_window;
    QWidget& m_widget;
    QmtbRender& m_renderer;
    int m_originX = 0;
    int m_originY = 0;
    // Window points the window covers.
    QRect m_geometry;
    // The origin the child widgets were last placed for.
    QPoint m_childOrigin;
    bool m_syncing = false;
};

} // namespace MiniToolbars

#endif
