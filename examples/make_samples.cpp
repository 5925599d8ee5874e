// Writes the example documents (plate.plb, membrane.mem, buckling.shl) into
// the given folder (default: the current one).
//   brantel_samples [folder]
#include "examples/samples.h"

int main(int argc, char** argv)
{
    return samples::WriteAll(argc > 1 ? argv[1] : ".") ? 0 : 1;
}
