// A structured plate mesh on sparse storage, shared by the tests and the
// benchmarks (plain C++, no test framework): n x n nodes 100 mm apart, each
// square split into two DKT triangles, 3 DOFs per node (w, dw/dx, dw/dy).
// `ek` holds the DKT bending stiffness of the two triangle shapes (steel-like
// plate, 10 mm thick), `eg` the geometric stiffness of uniform biaxial
// compression with linear deflection, t A grad(Li) . grad(Lj), on the
// deflection DOFs only (zero rows for the rotations).
#pragma once

#include "solver/elements/plate_bending.h"
#include "solver/linalg/sparse.h"

#include <cstdint>
#include <functional>
#include <numeric>
#include <vector>

namespace solvika::test {

struct DktGrid {
    using I32 = std::int32_t;

    int n = 0;
    std::vector<I32> MNDPTR, MEXNOD, MPELND, MELNOD, MSC, MPMCEQ{1}, MCQDOF{0};
    std::vector<double> CQCOEF{0.0};
    double ek[2][81] = {};
    double eg[2][81] = {};
    std::vector<I32> MPAR = std::vector<I32>(50, 0), MSPAR = std::vector<I32>(50, 0);
    std::vector<I32> MDOFEQ, MSICA, MTREES, MSIFA, MEQMAP;
    float stats[4] = {};

    I32 nel() const { return 2 * (n - 1) * (n - 1); }
    I32 neq() const { return MSPAR[7]; }

    // `status(node, dof)` gives 1 (free) or 0 (fixed); nodes count from 1.
    DktGrid(int nodes, const std::function<int(int, int)>& status) : n(nodes)
    {
        const I32 nanod = n * n;
        MNDPTR.resize(nanod + 1);
        for (I32 k = 0; k <= nanod; ++k)
            MNDPTR[k] = 3 * k + 1;
        MEXNOD.resize(nanod);
        std::iota(MEXNOD.begin(), MEXNOD.end(), 1);
        MSC.resize(3 * std::size_t(nanod));
        for (int node = 1; node <= nanod; ++node)
            for (int d = 0; d < 3; ++d)
                MSC[3 * (node - 1) + d] = status(node, d);
        auto id = [&](int i, int j) { return j * n + i + 1; };
        MPELND = {1};
        for (int j = 0; j + 1 < n; ++j)
            for (int i = 0; i + 1 < n; ++i) {
                for (int v : {id(i, j), id(i + 1, j), id(i + 1, j + 1)})
                    MELNOD.push_back(v);
                MPELND.push_back(I32(MELNOD.size()) + 1);
                for (int v : {id(i, j), id(i + 1, j + 1), id(i, j + 1)})
                    MELNOD.push_back(v);
                MPELND.push_back(I32(MELNOD.size()) + 1);
            }
        const double e = 210000.0, nu = 0.3, f = e / (1 - nu * nu);
        const double c[9] = {f, f * nu, 0, f * nu, f, 0, 0, 0, f * (1 - nu) / 2};
        const double t[3] = {10, 10, 10};
        const double xs[2][3] = {{0, 100, 100}, {0, 100, 0}};
        const double ys[2][3] = {{0, 0, 100}, {0, 100, 100}};
        for (int s = 0; s < 2; ++s) {
            I32 ierr = 0;
            DKT_Sm(ek[s], c, xs[s], ys[s], t, s + 1, 0, ierr);
            // Uniform compression S = -I: -t A grad(Li)^T S grad(Lj).
            const double* x = xs[s];
            const double* y = ys[s];
            const double a2 = (x[1] - x[0]) * (y[2] - y[0]) - (x[2] - x[0]) * (y[1] - y[0]);
            const double gx[3] = {(y[1] - y[2]) / a2, (y[2] - y[0]) / a2, (y[0] - y[1]) / a2};
            const double gy[3] = {(x[2] - x[1]) / a2, (x[0] - x[2]) / a2, (x[1] - x[0]) / a2};
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    eg[s][3 * i + 27 * j] = t[0] * 0.5 * a2 * (gx[i] * gx[j] + gy[i] * gy[j]);
        }
    }

    // The whole symbolic phase with minimum degree; returns the error flag.
    I32 symbolic()
    {
        MPAR.assign(50, 0);
        MPAR[0] = n * n;
        MPAR[1] = nel();
        MPAR[2] = 3 * n * n;
        const I32 ndof = MPAR[2];
        MDOFEQ.assign(ndof, 0);
        I32 ierr = 0;
        std::vector<I32> w(3 * std::size_t(ndof));
        SPSPRP(MNDPTR.data(), MEXNOD.data(), MPELND.data(), MELNOD.data(), MSC.data(), MPMCEQ.data(), MCQDOF.data(),
               MPAR.data(), MSPAR.data(), MDOFEQ.data(), w.data(), 0, ierr);
        std::vector<I32> w1(MSPAR[34]), w2(2 * std::size_t(ndof));
        SPRSAS(MPAR.data(), MNDPTR.data(), MPELND.data(), MELNOD.data(), MSC.data(), MPMCEQ.data(), MCQDOF.data(),
               MDOFEQ.data(), MSPAR.data(), w1.data(), w2.data(), 0, ierr);
        MSICA.assign(w1.begin(), w1.begin() + MSPAR[1]);
        std::vector<I32> wr(MSPAR[36]);
        SPRRNM(MSPAR.data(), MSICA.data(), wr.data(), 0, ierr);
        std::vector<I32> t1(MSPAR[35]), t2(MSPAR[37]);
        SPRTRS(MSPAR.data(), MSICA.data(), t1.data(), MDOFEQ.data(), ndof, t2.data(), stats, 0, ierr);
        MTREES.assign(t1.begin(), t1.begin() + MSPAR[3]);
        std::vector<I32> f1(MSPAR[2]), f2(2 * std::size_t(neq()) + 3 * std::size_t(MSPAR[5]) + 1);
        SPRSMB(MSPAR.data(), MSICA.data(), MTREES.data(), f1.data(), MDOFEQ.data(), f2.data(), 0, ierr);
        MSIFA.assign(f1.begin(), f1.begin() + MSPAR[2]);
        MEQMAP.assign(2 * std::size_t(neq()), 0);
        SPRFIN(MSICA.data(), MTREES.data(), MDOFEQ.data(), MPAR.data(), MSPAR.data(), MEQMAP.data());
        return ierr;
    }

    // Adds the element matrices, K (geometric = false) or KG, into `sm`
    // (neq + MSPAR[15] values); returns the error flag.
    I32 assemble(double* sm, bool geometric) const
    {
        std::vector<I32> w(MSPAR[38]);
        I32 ierr = 0;
        for (I32 e = 1; e <= nel(); ++e)
            SPRADM(geometric ? eg[(e - 1) % 2] : ek[(e - 1) % 2], CQCOEF.data(), MPAR.data(), MNDPTR.data(),
                   MDOFEQ.data(), MPELND.data(), MELNOD.data(), MPMCEQ.data(), MCQDOF.data(), MSPAR.data(),
                   MTREES.data(), MSIFA.data(), MEQMAP.data(), e, 9, 0, sm, nullptr, w.data(), 0, ierr);
        return ierr;
    }
};

} // namespace solvika::test
