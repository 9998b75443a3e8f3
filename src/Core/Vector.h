#ifndef MINITOOLBARS_VECTOR_H
#define MINITOOLBARS_VECTOR_H

namespace MiniToolbars {

// A direction in layout space; keeps its Euclidean length up to date.
class Vector
{
public:
    Vector();
    Vector(double x, double y);

    double x() const { return m_x; }
    double y() const { return m_y; }
    double length() const { return m_length; }
    void setX(double x);
    void setY(double y);
    void set(double x, double y);

    Vector scaled(double s) const;
    // Divides by the stored length; must not be called on a zero vector.
    Vector& normalise();
    double dot(const Vector& v) const;
    // Angle in degrees, clamped so that rounding never yields NaN.
    double angleTo(const Vector& v) const;

    bool operator==(const Vector& other) const;

private:
    double m_length;
    double m_x;
    double m_y;
};

} // namespace MiniToolbars

#endif
