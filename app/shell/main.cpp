// The Brantel program. Its windows are not built yet; until they are, the
// program says so and leaves with a non-zero status.
#include <cstdio>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    std::fprintf(stderr, "brantel: the graphical program is not built yet; "
                         "only the libraries and their tests exist so far.\n");
    return 2;
}
