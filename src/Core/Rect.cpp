#include "Core/Rect.h"

namespace MiniToolbars {

Rect::Rect()
    : m_left(0.0f)
    , m_right(0.0f)
    , m_top(0.0f)
    , m_bottom(0.0f)
    , m_width(0.0f)
    , m_height(0.0f)
{
}

Rect::Rect(float x, float y, float width, float height)
    : Rect()
{
    set(x, y, width, height);
}

Rect::Rect(float width, float height)
    : Rect()
{
    set(0.0f, 0.0f, width, height);
}

// y runs upwards: the rectangle hangs down from its top edge.
void Rect::set(float x, float y, float width, float height)
{
    m_left = x;
    m_top = y;
    m_width = width;
    m_height = height;
    m_right = x + width;
    m_bottom = y - height;
}

void Rect::resize(float width, float height)
{
    set(m_left, m_top, width, height);
}

void Rect::translate(float dx, float dy)
{
    m_left += dx;
    m_right += dx;
    m_top += dy;
    m_bottom += dy;
}

bool Rect::contains(float x, float y) const
{
    return m_left <= x && x <= m_right && m_bottom <= y && y <= m_top;
}

} // namespace MiniToolbars
