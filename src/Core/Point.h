#ifndef MINITOOLBARS_POINT_H
#define MINITOOLBARS_POINT_H

#include "Core/Vector.h"

namespace MiniToolbars {

class Point
{
public:
    Point();
    Point(double x, double y);

    double x() const { return m_x; }
    double y() const { return m_y; }

    Point operator+(const Vector& v) const;
    Vector operator-(const Point& other) const;
    bool operator==(const Point& other) const;

private:
    double m_x;
    double m_y;
};

} // namespace MiniToolbars

#endif
