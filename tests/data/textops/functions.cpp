/* Fixture for the function-length report: structs, initialisers, macros,
 * indented braces, a C++ method and a block without a header. */
#include <stdio.h>
#define SQUARE(x) ((x) * (x))

struct Point
{
    int x;
    int y;
};

static int table[] =
{
    1, 2, 3
};

int
main(int argc, char **argv)
{
    int a = SQUARE(argc);

    if (a > 1)
    {
        printf("%d\n", a);
    }
    return 0;
}

void Shape::draw() const
{
    // ソート　
    paint(this);
}

static int *lookup(const char *name)   /* returns (pointer) */
{
  return 0;
}
{
    orphan();
}
