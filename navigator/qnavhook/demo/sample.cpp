// A small source file the demo opens in the stand-in IDE.
#include <stdio.h>

struct Point { int x, y; };

class Shape {
public:
    virtual double Area() const = 0;
};

int main()
{
    printf("hello\n");
    return 0;
}
