// Geometric stiffness assembly of the buckling runs.
#include "solver/analysis/buckling.h"
#include "solver/linalg/cancel.h"

#include "solver/analysis/eldata.h"
#include "solver/analysis/errmsg.h"
#include "solver/elements/plate_geometric.h"
#include "solver/linalg/assembly.h"
#include "solver/linalg/fwrite.h"
#include "solver/linalg/sparse.h"

#include <algorithm>
#include <vector>

namespace solvika
{

namespace
{

using i32 = std::int32_t;
using i64 = std::int64_t;

const Layout kBuildError("/ 5X 'Error occured in Build_SKG (geometric stiffness)'");

i32 elementDofs(i32 code)
{
    switch (code) {
    case 65:
    case 66:
        return 9;
    case 75:
        return 15;
    case 81:
        return 18;
    case 85:
        return 21;
    default:
        return 0;
    }
}

void assemble(bool perNode, const i32* key, const double* elementData, const double* nodal,
              const double* stresses, double* SKG, i64 L, i32 lunit, i32* status,
              const ModelTables& t, const EquationTables& eq)
{
    std::fill(status, status + kStatusSize, 0);
    if (L > 0)
        std::fill(SKG, SKG + L, 0.0);
    const i32 code = key[9];
    const i32 nedof = elementDofs(code);
    const auto error = [&] {
        if (lunit > 0)
            fwrite(lunit, kBuildError);
    };
    if (nedof == 0) {
        status[0] = -14;
        status[1] = code;
        ERRMSG(status, lunit);
        return error();
    }

    const bool sparse = key[10] == 2;
    std::vector<i32> work(std::size_t(std::max(sparse ? t.MSPAR[38] : nedof, 1)), 0);
    double EK[21 * 21], W[21 * 21];
    double X[3], Y[3], T[3], S[9];
    const i32* MPELND = entry1(t.MPELND);
    const i32* MELNOD = entry1(t.MELNOD);

    for (i32 e = 1; e <= key[0]; ++e) {
        checkCancel();
        ELMXYT(e, 3, 0, key[19], elementData, nodal, MPELND, MELNOD, X, Y, T);
        if (perNode) {
            // Corner nodes come first in every element's node list.
            const i32* nodes = MELNOD + (MPELND[e - 1] - 1);
            for (int c = 0; c < 3; ++c)
                std::copy_n(stresses + 3 * i64(nodes[c] - 1), 3, S + 3 * c);
        } else {
            std::copy_n(stresses + 3 * i64(e - 1), 3, S);
        }
        switch (code) {
        case 65:
        case 66:
            if (perNode)
                for (int c = 0; c < 3; ++c)
                    S[c] = (S[c] + S[c + 3] + S[c + 6]) / 3.0;
            DKT_KG(EK, X, Y, T, S);
            break;
        case 75:
            perNode ? T15_KGN(EK, X, Y, T, S) : T15_KG(EK, X, Y, T, S);
            break;
        default:
            perNode ? HTB_KGN(EK, X, Y, T, S, nedof, W) : HTB_KG(EK, X, Y, T, S, nedof, W);
        }
        // The node-axis turn writes its own status message.
        TRNSK(e, code, nodal, EK, nedof, entry1(t.MNDPTR), MPELND, MELNOD, lunit, status);
        if (status[0] < 0)
            return error();

        i32 ierr = 0;
        if (sparse)
            SPRADM(EK, entry1(t.CQCOEF), t.MPAR.data(), t.MNDPTR.data(), entry1(eq.MDOFEQ), MPELND,
                   MELNOD, entry1(t.MPMCEQ), entry1(t.MCQDOF), t.MSPAR.data(), entry1(eq.MTREES),
                   entry1(eq.MSIFA), entry1(eq.MEQMAP), e, nedof, 0, SKG, nullptr, work.data(),
                   lunit, ierr);
        else
            ADDEM(EK, entry1(t.CQCOEF), t.MPAR.data(), t.MNDPTR.data(), entry1(eq.MDOFEQ), MPELND,
                  MELNOD, entry1(t.MPMCEQ), entry1(t.MCQDOF), entry1(eq.MSKY), e, nedof, lunit, 0,
                  SKG, nullptr, work.data(), ierr);
        if (ierr < 0) {
            status[0] = -16;
            status[1] = e;
            status[2] = code;
            ERRMSG(status, lunit);
            return error();
        }
    }
}

} // namespace

void Build_SKG(const std::int32_t* key, const double* elementData, const double* nodal,
               const double* stresses, double* SKG, std::int64_t L, std::int32_t lunit,
               std::int32_t* status, const ModelTables& tables, const EquationTables& eq)
{
    assemble(false, key, elementData, nodal, stresses, SKG, L, lunit, status, tables, eq);
}

void Build_SKG_N(const std::int32_t* key, const double* elementData, const double* nodal,
                 const double* stresses, double* SKG, std::int64_t L, std::int32_t lunit,
                 std::int32_t* status, const ModelTables& tables, const EquationTables& eq)
{
    assemble(true, key, elementData, nodal, stresses, SKG, L, lunit, status, tables, eq);
}

} // namespace solvika
