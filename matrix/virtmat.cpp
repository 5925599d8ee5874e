#include "matrix/virtmat.h"

std::uint32_t CVirtMat::m_Flops = 0;
bool CVirtMat::m_bSym = false;

CVirtMat::~CVirtMat() = default;

int CVirtRealMat::Cholesky_Solve(CVirtMat*, double&)
{
    return 0;
}
