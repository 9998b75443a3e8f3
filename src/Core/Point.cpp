#include "Core/Point.h"

namespace MiniToolbars {

Point::Point()
    : m_x(0.0)
    , m_y(0.0)
{
}

Point::Point(double x, double y)
    : m_x(x)
    , m_y(y)
{
}

Point Point::operator+(const Vector& v) const
{
    return Point(m_x + v.x(), m_y + v.y());
}

Vector Point::operator-(const Point& other) const
{
    return Vector(m_x - other.m_x, m_y - other.m_y);
}

bool Point::operator==(const Point& other) const
{
    return m_x == other.m_x && m_y == other.m_y;
}

} // namespace MiniToolbars
