#include "matrix/detail/runtime.h"

#include <ctime>
#include <cstdlib>

namespace zelkor::detail {

double ProcessSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

int Rand15()
{
    // The high bits of the C generator are the better ones.
    return static_cast<int>((static_cast<unsigned>(std::rand()) >> 16) & 0x7FFF);
}

} // namespace zelkor::detail
