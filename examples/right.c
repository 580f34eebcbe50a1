/* Example pair for diffview: the right side. */
#include <stdio.h>
#include <stdlib.h>

static long square(long x)
{
    return x * x;
}

int main(int argc, char **argv)
{
    long i, n = argc > 1 ? atol(argv[1]) : 10;

    for (i = 0; i < n; i++)
        printf("%ld\n", square(i));
    return EXIT_SUCCESS;
}
