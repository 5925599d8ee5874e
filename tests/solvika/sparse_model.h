// Test models for the sparse solver: a small finite-element topology with
// DOF statuses and constraints, the whole symbolic chain with the array
// lengths of the sizing rules, element addition, and dense references.
#pragma once

#include "solver/linalg/sparse.h"
#include "tests/solvika/dense_oracle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace solvika::test {

using I32 = std::int32_t;

struct Constraint {
    I32 slave;
    double c0;
    std::vector<std::pair<I32, double>> masters;
};

struct SpxModel {
    std::vector<I32> dofsPerNode;          // per node
    std::vector<std::vector<I32>> elems;   // node lists (1-based nodes)
    std::vector<I32> msc;                  // per DOF; default 1
    std::vector<Constraint> cons;

    I32 nanod() const { return I32(dofsPerNode.size()); }
    I32 ndof() const
    {
        I32 n = 0;
        for (I32 d : dofsPerNode)
            n += d;
        return n;
    }
    void setNodes(int n, int dofs)
    {
        dofsPerNode.assign(n, dofs);
        msc.assign(std::size_t(n) * dofs, 1);
    }
    I32 dof(I32 node, I32 local) const
    {
        I32 d = 0;
        for (I32 k = 1; k < node; ++k)
            d += dofsPerNode[k - 1];
        return d + local;
    }

    // Control arrays.
    std::vector<I32> MNDPTR, MEXNOD, MPELND, MELNOD, MPMCEQ, MCQDOF;
    std::vector<double> CQCOEF;
    void tables()
    {
        MNDPTR = {1};
        for (I32 d : dofsPerNode)
            MNDPTR.push_back(MNDPTR.back() + d);
        MEXNOD.clear();
        for (I32 n = 1; n <= nanod(); ++n)
            MEXNOD.push_back(100 + n);
        MPELND = {1};
        MELNOD.clear();
        for (auto& e : elems) {
            for (I32 n : e)
                MELNOD.push_back(n);
            MPELND.push_back(I32(MELNOD.size()) + 1);
        }
        if (MELNOD.empty())
            MELNOD.push_back(0);
        MPMCEQ = {1};
        MCQDOF.clear();
        CQCOEF.clear();
        for (auto& c : cons) {
            MCQDOF.push_back(c.slave);
            CQCOEF.push_back(c.c0);
            for (auto& m : c.masters) {
                MCQDOF.push_back(m.first);
                CQCOEF.push_back(m.second);
            }
            MPMCEQ.push_back(I32(MCQDOF.size()) + 1);
        }
        if (MCQDOF.empty()) {
            MCQDOF.push_back(0);
            CQCOEF.push_back(0.0);
        }
    }
};

// The symbolic chain with every array at the length of the sizing rules.
struct SpxSystem {
    SpxModel model;
    std::vector<I32> MPAR = std::vector<I32>(50, 0), MSPAR = std::vector<I32>(50, 0);
    std::vector<I32> MDOFEQ, MSICA, MTREES, MSIFA, MEQMAP;
    std::vector<double> SM;
    float stats[4] = {0, 0, 0, 0};
    I32 ierr = 0;
    int lunit = 0;
    int failedStep = 0;  // 1 SPSPRP .. 5 SPRSMB

    I32& mspar(int k) { return MSPAR[k - 1]; }
    I32 neq() const { return MSPAR[7]; }

    // Runs the set-up; returns the first failing IERR (0 when all passed).
    I32 setup(bool reorder, int stopAfter = 99)
    {
        SpxModel& m = model;
        if (m.msc.size() != std::size_t(m.ndof()))
            m.msc.resize(m.ndof(), 1);
        m.tables();
        MPAR[0] = m.nanod();
        MPAR[1] = I32(m.elems.size());
        MPAR[2] = m.ndof();
        MPAR[6] = I32(m.cons.size());
        MDOFEQ.assign(m.ndof() + 1, 0);
        std::vector<I32> iw(3 * std::size_t(m.ndof()) + 1);
        SPSPRP(m.MNDPTR.data(), m.MEXNOD.data(), m.MPELND.data(), m.MELNOD.data(), m.msc.data(),
               m.MPMCEQ.data(), m.MCQDOF.data(), MPAR.data(), MSPAR.data(), MDOFEQ.data(),
               iw.data(), lunit, ierr);
        if (ierr != 0 || stopAfter == 1)
            return failedStep = ierr != 0 ? 1 : 0, ierr;
        std::vector<I32> w1(mspar(35) + 1), w2(2 * std::size_t(m.ndof()) + 1);
        SPRSAS(MPAR.data(), m.MNDPTR.data(), m.MPELND.data(), m.MELNOD.data(), m.msc.data(),
               m.MPMCEQ.data(), m.MCQDOF.data(), MDOFEQ.data(), MSPAR.data(), w1.data(),
               w2.data(), lunit, ierr);
        if (ierr != 0 || stopAfter == 2)
            return failedStep = ierr != 0 ? 2 : 0, ierr;
        MSICA.assign(w1.begin(), w1.begin() + mspar(2));
        if (reorder) {
            std::vector<I32> w(mspar(37) + 1);
            SPRRNM(MSPAR.data(), MSICA.data(), w.data(), lunit, ierr);
            if (ierr != 0 || stopAfter == 3)
                return failedStep = ierr != 0 ? 3 : 0, ierr;
        }
        std::vector<I32> t1(mspar(36) + 1), t2(mspar(38) + 1);
        SPRTRS(MSPAR.data(), MSICA.data(), t1.data(), MDOFEQ.data(), m.ndof(), t2.data(), stats,
               lunit, ierr);
        if (ierr != 0 || stopAfter == 4)
            return failedStep = ierr != 0 ? 4 : 0, ierr;
        MTREES.assign(t1.begin(), t1.begin() + mspar(4));
        std::vector<I32> f1(mspar(3) + 1), f2(2 * std::size_t(neq()) + 3 * mspar(6) + 2);
        SPRSMB(MSPAR.data(), MSICA.data(), MTREES.data(), f1.data(), MDOFEQ.data(), f2.data(),
               lunit, ierr);
        if (ierr != 0 || stopAfter == 5)
            return failedStep = ierr != 0 ? 5 : 0, ierr;
        MSIFA.assign(f1.begin(), f1.begin() + mspar(3));
        MEQMAP.assign(2 * std::size_t(neq()) + 1, 0);
        SPRFIN(MSICA.data(), MTREES.data(), MDOFEQ.data(), MPAR.data(), MSPAR.data(),
               MEQMAP.data());
        SM.assign(std::size_t(neq()) + mspar(16), 0.0);
        return 0;
    }

    I32 nsup() const { return MSPAR[10]; }
    I32 first(I32 s) const { return MTREES[s - 1]; }
    I32 rowsOf(I32 s) const { return MTREES[3 * nsup() + 3 + s] - MTREES[3 * nsup() + 2 + s]; }
    std::vector<I32> rowList(I32 s) const
    {
        const I32 b = MTREES[3 * nsup() + 2 + s], e = MTREES[3 * nsup() + 3 + s];
        return std::vector<I32>(MSIFA.begin() + b - 1, MSIFA.begin() + e - 1);
    }
    std::vector<I32> children(I32 s) const
    {
        const I32 b = MTREES[nsup() + s], e = MTREES[nsup() + s + 1];
        return std::vector<I32>(MTREES.begin() + 2 * nsup() + 1 + b, MTREES.begin() + 2 * nsup() + 1 + e);
    }

    // Adds an element matrix through SPRADM.
    I32 add(int iel, const Dense& ek, int nsv = 0, double* rhs = nullptr)
    {
        std::vector<I32> iw(mspar(39) + 1);
        SPRADM(ek.v.data(), model.CQCOEF.data(), MPAR.data(), model.MNDPTR.data(), MDOFEQ.data(),
               model.MPELND.data(), model.MELNOD.data(), model.MPMCEQ.data(), model.MCQDOF.data(),
               MSPAR.data(), MTREES.data(), MSIFA.data(), MEQMAP.data(), iel, ek.rows, nsv,
               SM.data(), rhs, iw.data(), lunit, ierr);
        return ierr;
    }

    std::vector<I32> iwork() const { return std::vector<I32>(std::max(MSPAR[12], MSPAR[13] + 1) + 1); }
    std::vector<double> rwork() const { return std::vector<double>(std::max(MSPAR[13], MSPAR[16]) + 1); }

    // The transformation T (NDOF x NEQ) of the constraints: u = T x + u0.
    Dense transformation() const
    {
        const I32 ndof = model.ndof();
        Dense t(ndof, std::max(neq(), 1));
        for (I32 d = 1; d <= ndof; ++d) {
            const I32 e = MDOFEQ[d - 1];
            if (e > 0)
                t(d, e) = 1.0;
            else if (e < 0)
                for (auto& m : model.cons[-e - 1].masters)
                    t(d, MDOFEQ[m.first - 1]) += m.second;
        }
        return t;
    }

    // Element DOFs in element order.
    std::vector<I32> elementDofs(int iel) const
    {
        std::vector<I32> d;
        for (I32 n : model.elems[iel - 1])
            for (I32 k = 0; k < model.dofsPerNode[n - 1]; ++k)
                d.push_back(model.dof(n, k + 1));
        return d;
    }
};

// Random symmetric element matrices, positive definite or not.
inline std::vector<Dense> elementMatrices(const SpxSystem& s, std::mt19937& rng, bool spd)
{
    std::vector<Dense> out;
    for (int e = 1; e <= int(s.model.elems.size()); ++e) {
        const int n = int(s.elementDofs(e).size());
        out.push_back(spd ? randomSpd(n, rng) : randomSymmetric(n, rng));
    }
    return out;
}

// Dense K (NDOF x NDOF) of the element matrices.
inline Dense denseDofMatrix(const SpxSystem& s, const std::vector<Dense>& ek)
{
    const I32 ndof = s.model.ndof();
    Dense k(ndof, ndof);
    for (int e = 1; e <= int(ek.size()); ++e) {
        const auto d = s.elementDofs(e);
        for (std::size_t j = 0; j < d.size(); ++j)
            for (std::size_t i = 0; i < d.size(); ++i)
                k(d[i], d[j]) += ek[e - 1](int(i) + 1, int(j) + 1);
    }
    return k;
}

// T^T K T in factor equation order.
inline Dense denseSystem(const SpxSystem& s, const std::vector<Dense>& ek)
{
    const Dense t = s.transformation();
    return multiply(transpose(t), multiply(denseDofMatrix(s, ek), t));
}

// The assembled (or factored) SM expanded to a dense symmetric matrix.
inline Dense expand(SpxSystem& s, const double* packed)
{
    const I32 n = s.neq();
    Dense a(n, n);
    I32 ierr = 0;
    SPRCNV(packed, a.data(), s.MSPAR.data(), s.MTREES.data(), s.MSIFA.data(), n, 1, 0, ierr);
    EXPECT_EQ(ierr, 0);
    return a;
}

// Dense LDL^T without pivoting; returns the pivots (the factor in l).
inline std::vector<double> denseLdlt(Dense a, Dense* l = nullptr)
{
    const int n = a.rows;
    std::vector<double> d(n);
    Dense L = identity(n);
    for (int j = 1; j <= n; ++j) {
        double p = a(j, j);
        for (int k = 1; k < j; ++k)
            p -= L(j, k) * L(j, k) * d[k - 1];
        d[j - 1] = p;
        for (int i = j + 1; i <= n; ++i) {
            double v = a(i, j);
            for (int k = 1; k < j; ++k)
                v -= L(i, k) * L(j, k) * d[k - 1];
            L(i, j) = v / p;
        }
    }
    if (l)
        *l = L;
    return d;
}

// Eigenvalues of a symmetric matrix (cyclic Jacobi), ascending.
inline std::vector<double> symEigen(Dense a)
{
    return symmetricEigenvalues(std::move(a));
}

// A structured plate-like mesh: nx x ny nodes, each square split into two
// triangles, `dofs` DOFs per node.
inline SpxModel gridModel(int nx, int ny, int dofs)
{
    SpxModel m;
    m.setNodes(nx * ny, dofs);
    auto id = [&](int i, int j) { return j * nx + i + 1; };
    for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
            m.elems.push_back({id(i, j), id(i + 1, j), id(i + 1, j + 1)});
            m.elems.push_back({id(i, j), id(i + 1, j + 1), id(i, j + 1)});
        }
    return m;
}

} // namespace solvika::test
