// Shared helpers of the sparse solver.
#include "solver/linalg/sparse_common.h"
#include "solver/linalg/assembly.h"

namespace solvika::spx {

void report(std::int32_t K, std::string_view name, std::int32_t I1, std::int32_t I2,
            std::int32_t I3, std::int32_t LUNIT, std::int32_t IERR)
{
    LINERR(K, name, I1, I2, I3, LUNIT, IERR);
}

bool refuse(std::int32_t* MSPAR, std::int32_t phase, std::string_view name, std::int32_t LUNIT,
            std::int32_t& IERR)
{
    if (MSPAR[0] >= 0)
        return false;
    MSPAR[0] = -phase;
    IERR = -1;
    report(30, name, 0, 0, 0, LUNIT, IERR);
    return true;
}

void dofNode(const std::int32_t* MNDPTR, const std::int32_t* MEXNOD, std::int32_t NANOD,
             std::int32_t IDOF, std::int32_t& LDOF, std::int32_t& NODE)
{
    EQNNOD(MNDPTR, MEXNOD, NANOD, IDOF, LDOF, NODE);
}

} // namespace solvika::spx
