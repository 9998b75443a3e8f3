#ifndef MINITOOLBARS_GEOMETRY_H
#define MINITOOLBARS_GEOMETRY_H

namespace MiniToolbars {

double distance(double x1, double y1, double x2, double y2);
double max(double a, double b);
double min(double a, double b);

} // namespace MiniToolbars

#endif
