// The abstract roots of every matrix and vector class of the library.
#pragma once

#include <cstdint>

namespace zelkor {
using Long = std::int32_t;   // the 32-bit integer of DOF numbers and stored counts
}

// Root of all matrices and vectors: allocation from a list of dimensions and
// the text form, plus the static text-number reader.
class CVirtMat {
public:
    CVirtMat() = default;
    virtual ~CVirtMat();

    virtual bool Allocate(int* dims, int n) = 0;

    // Operation counter of the sparse and skyline factorisations.
    static std::uint32_t m_Flops;
    // Switch read by the system sparse matrix.
    static bool m_bSym;
};

// Root of the real-valued matrices and vectors.
class CVirtRealMat : public CVirtMat {
public:
    // Adds an element's block of values by DOF number; negative DOFs are skipped.
    virtual void AddValues(zelkor::Long* dofs, double* values, int n) = 0;
    // Solve with a factorised matrix; matrices without such a solve return 0.
    virtual int Cholesky_Solve(CVirtMat* rhs, double& seconds);
    virtual CVirtRealMat& operator=(double v) = 0;
    virtual CVirtRealMat& operator+=(double v) = 0;
};
