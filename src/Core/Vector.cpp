#include "Core/Vector.h"

#include "Core/Geometry.h"

#include <cmath>

namespace MiniToolbars {

Vector::Vector()
    : m_length(0.0)
    , m_x(0.0)
    , m_y(0.0)
{
}

Vector::Vector(double x, double y)
    : m_length(distance(x, y, 0.0, 0.0))
    , m_x(x)
    , m_y(y)
{
}

void Vector::setX(double x)
{
    set(x, m_y);
}

void Vector::setY(double y)
{
    set(m_x, y);
}

void Vector::set(double x, double y)
{
    m_x = x;
    m_y = y;
    m_length = distance(x, y, 0.0, 0.0);
}

Vector Vector::scaled(double s) const
{
    return Vector(m_x * s, m_y * s);
}

// The stored length is refreshed too, so that it never describes the old vector.
Vector& Vector::normalise()
{
    m_x /= m_length;
    m_y /= m_length;
    m_length = distance(m_x, m_y, 0.0, 0.0);
    return *this;
}

double Vector::dot(const Vector& v) const
{
    return m_x * v.m_x + m_y * v.m_y;
}

double Vector::angleTo(const Vector& v) const
{
    Vector a(*this);
    Vector b(v);
    a.normalise();
    b.normalise();
    // Rounding can push the cosine of (anti)parallel vectors just past +-1.
    const double c = max(-1.0, min(1.0, a.dot(b)));
    return std::acos(c) * 180.0 / 3.14159265;
}

bool Vector::operator==(const Vector& other) const
{
    return m_x == other.m_x && m_y == other.m_y;
}

} // namespace MiniToolbars
