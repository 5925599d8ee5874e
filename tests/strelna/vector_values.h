// Conversions between model vectors and plain value lists for the
// finite-element model tests.
#pragma once

#include "femodel/strelna.h"

#include <cstddef>
#include <vector>

namespace fetest {

// The entries of v; empty when there is no vector.
inline std::vector<double> Values(const CVector* v)
{
    std::vector<double> out;
    if (v)
        for (int i = 0; i < v->GetSize(); ++i)
            out.push_back((*v)[i]);
    return out;
}

// A vector holding the given values.
inline CVector Vec(std::vector<double> values)
{
    CVector v(static_cast<int>(values.size()));
    for (int i = 0; i < v.GetSize(); ++i)
        v[i] = values[static_cast<std::size_t>(i)];
    return v;
}

} // namespace fetest
