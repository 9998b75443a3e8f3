#ifndef MINITOOLBARS_RECT_H
#define MINITOOLBARS_RECT_H

namespace MiniToolbars {

// A rectangle in y-up layout space: top >= bottom for a positive height.
// Edges are inclusive for contains().
class Rect
{
public:
    Rect();
    Rect(float x, float y, float width, float height);
    Rect(float width, float height);

    void set(float x, float y, float width, float height);
    void resize(float width, float height);
    void translate(float dx, float dy);
    bool contains(float x, float y) const;

    float left() const { return m_left; }
    float right() const { return m_right; }
    float top() const { return m_top; }
    float bottom() const { return m_bottom; }
    float width() const { return m_width; }
    float height() const { return m_height; }

private:
    float m_left;
    float m_right;
    float m_top;
    float m_bottom;
    float m_width;
    float m_height;
};

} // namespace MiniToolbars

#endif
