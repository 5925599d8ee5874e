#include "matrix/detail/runtime.h"

#include "platform/afx/runtime.h"

namespace zelkor::detail {

double ProcessSeconds()
{
    return AfxProcessorSeconds();
}

int Rand15()
{
    // The platform's seeded 15-bit source, so tests can fix the sequence.
    return AfxRand();
}

} // namespace zelkor::detail
