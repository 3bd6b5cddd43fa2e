// Geometry helpers: the file the outline demo opens in the stand-in IDE.
#include <math.h>
#include "geometry.h"

#define SQUARE(x) ((x) * (x))
#define ORIGIN_X 0

struct Point
{
    double x, y;
};

class Shape
{
public:
    virtual double Area() const = 0;
};

// The distance between two points,
// measured along the straight line
// that joins them.
double Distance(Point a, Point b)
{
    return sqrt(SQUARE(a.x - b.x) + SQUARE(a.y - b.y));
}

// A point moved by an offset.
Point Offset(Point p, double dx, double dy)
{
    Point q = {p.x + dx, p.y + dy};
    return q;
}

double Shape::Area() const
{
    return 0;
}

int main()
{
    Point a = {0, 0}, b = {3, 4};
    return Distance(a, b) == 5 ? 0 : 1;
}
