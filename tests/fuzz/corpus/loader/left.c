/* Example pair for diffview: the left side. */
#include <stdio.h>

static int square(int x)
{
    return x * x;
}

int main(void)
{
    int i;

    for (i = 0; i < 10; i++)
        printf("%d\n", square(i));
    return 0;
}
