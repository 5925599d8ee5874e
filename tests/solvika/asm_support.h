// Small structured models for the tests of the stiffness, load and recovery
// steps: a rectangle of triangles or quadrilaterals of any element code,
// the run's tables, and a solution on skyline or sparse storage.
#pragma once

#include "solver/analysis/eldata.h"
#include "solver/analysis/elwork.h"
#include "solver/linalg/sparse.h"
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace solvika::test {

using i32 = std::int32_t;

// A grid of nx x ny cells over [0, lx] x [0, ly]: triangles (two per cell,
// split along the diagonal from the lower left corner) or quadrilaterals, with
// side nodes at the side mid-points where the code has them. Nodes are
// numbered row by row over the points that elements use.
struct Grid {
    i32 code = 31;
    std::array<i32, 30> key{};
    std::vector<i32> topology;
    std::vector<double> elementData, material, nodal;
    std::vector<i32> fixed;
    std::vector<double> prescribed, couplings, springs;
    std::map<std::pair<i32, i32>, i32> nodeAt;  // (2i, 2j) fine-grid point -> node

    Grid(i32 code_, i32 nx, i32 ny, double lx = 2.0, double ly = 1.0, double E = 1000.0, double nu = 0.25,
         double t = 0.1)
        : code(code_) {
        const ElementKind* kind = elementKind(code);
        const bool quad = code >= 41 && code <= 46;
        const bool sides = kind->nodes > (quad ? 4 : 3);
        std::vector<std::vector<std::pair<i32, i32>>> elements;
        for (i32 j = 0; j < ny; ++j)
            for (i32 i = 0; i < nx; ++i) {
                const std::pair<i32, i32> p00{2 * i, 2 * j}, p10{2 * i + 2, 2 * j}, p11{2 * i + 2, 2 * j + 2},
                    p01{2 * i, 2 * j + 2};
                if (quad)
                    elements.push_back({p00, p10, p11, p01});
                else {
                    elements.push_back({p00, p10, p11});
                    elements.push_back({p00, p11, p01});
                }
            }
        for (auto& el : elements) {
            if (!sides) continue;
            const std::size_t nc = el.size();
            for (std::size_t k = 0; k < nc; ++k) {
                const auto a = el[k], b = el[(k + 1) % nc];
                el.push_back({(a.first + b.first) / 2, (a.second + b.second) / 2});
            }
        }
        for (const auto& el : elements)
            for (const auto& p : el) nodeAt[{p.second, p.first}] = 0;  // row-major order
        i32 n = 0;
        for (auto& [p, number] : nodeAt) {
            number = ++n;
            nodal.insert(nodal.end(), {lx * p.second / (2.0 * nx), ly * p.first / (2.0 * ny), 0.0, 0.0});
        }
        key[0] = i32(elements.size());
        key[1] = n;
        key[2] = 1;
        key[9] = code;
        key[10] = 1;
        key[18] = kind->nodes + 1;
        key[19] = elementDataRows(code, false);
        for (const auto& el : elements) {
            topology.push_back(1);
            for (const auto& p : el) topology.push_back(nodeAt[{p.second, p.first}]);
            for (i32 r = 0; r < key[19]; ++r) elementData.push_back(r >= 1 && r <= 4 ? t : 0.0);
        }
        material = {E, E, nu, E / (2.0 * (1.0 + nu)), 7.85e-6, 1.2e-5, 0.0};
    }

    // Node at fine-grid point (i, j): corners are at even i and j.
    i32 node(i32 i, i32 j) const { return nodeAt.at({j, i}); }
    double& x(i32 n) { return nodal[4 * std::size_t(n - 1)]; }
    double& y(i32 n) { return nodal[4 * std::size_t(n - 1) + 1]; }
    double& angle(i32 n) { return nodal[4 * std::size_t(n - 1) + 2]; }
    double& value(i32 n) { return nodal[4 * std::size_t(n - 1) + 3]; }
    double& eldata(i32 e, i32 row) { return elementData[std::size_t(e - 1) * key[19] + row - 1]; }
    i32 elemNode(i32 e, i32 k) const { return topology[std::size_t(e - 1) * key[18] + k]; }

    void fix(i32 n, i32 d) {
        fixed.insert(fixed.end(), {n, d});
        key[3] = i32(fixed.size() / 2);
    }
    void prescribe(i32 n, i32 d, double v) {
        prescribed.insert(prescribed.end(), {double(n), double(d), v});
        key[4] = i32(prescribed.size() / 3);
    }
    void couple(i32 s, i32 sd, i32 m1, i32 d1, double c1, i32 m2 = 0, i32 d2 = 0, double c2 = 0.0) {
        couplings.insert(couplings.end(),
                         {double(s), double(sd), double(m1), double(d1), c1, double(m2), double(d2), c2});
        key[5] = i32(couplings.size() / 8);
    }
    // Membrane loads: body-load record, point loads (node, Fx, Fy) and edge
    // loads (KEY(21) reals each); plate-bending edge loads use the latter.
    std::vector<double> body = std::vector<double>(8, 0.0), pointLoads, edgeLoads;
    void pointLoad(double n, double fx, double fy) {
        pointLoads.insert(pointLoads.end(), {n, fx, fy});
        key[15] = i32(pointLoads.size() / 3);
    }
    void edgeLoad(std::vector<double> row) {
        if (key[20] == 0) key[20] = i32(row.size());
        row.resize(std::size_t(key[20]), 0.0);
        edgeLoads.insert(edgeLoads.end(), row.begin(), row.end());
        key[16] = i32(edgeLoads.size() / std::size_t(key[20]));
    }

    void spring(double n, double d, double k) {
        springs.insert(springs.end(), {n, d, k});
        key[6] = i32(springs.size() / 3);
    }
};

// The tables, storage and solution of a grid.
struct System {
    Grid& g;
    ModelTables t;
    EquationTables eq;
    RunStatistics rstat{};
    std::array<i32, 5> status{};
    std::vector<double> K, R;

    explicit System(Grid& grid, i32 storage = 1) : g(grid) {
        g.key[10] = storage;
        CHKTOP(g.topology.data(), g.key[0], g.key[1], g.key[9], g.key[18], 0, status.data(), t);
        EXPECT_EQ(status[0], 0);
        BCDATA(g.key.data(), g.fixed.data(), g.prescribed.data(), g.couplings.data(), 0, status.data(), t);
        EXPECT_EQ(status[0], 0);
        PREPEQ(g.key.data(), rstat.data(), 0, status.data(), t, eq);
        EXPECT_EQ(status[0], 0);
        K.assign(std::size_t(lengthK()), 0.0);
        R.assign(std::size_t(std::max(neq(), 1)), 0.0);
    }
    bool sparse() const { return g.key[10] == 2; }
    i32 neq() const { return t.MPAR[10]; }
    i32 ndof() const { return t.MPAR[2]; }
    std::int64_t lengthK() const { return sparse() ? std::int64_t(t.MSPAR[15]) + neq() : t.MPAR[11]; }
    i32 dof(i32 node, i32 d) const { return t.MNDPTR[std::size_t(node - 1)] + d - 1; }

    void assemble(i32 lunit = 0) {
        ASMSTF(g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
               g.springs.data(), K.data(), R.data(), lengthK(), neq(), lunit, status.data(), t, eq);
    }

    std::vector<double> W, internal;
    ResultSums sums;

    void memlod(i32 lunit = 0) {
        W.assign(2 * std::size_t(g.key[1]), -1.0);
        MEMLOD(g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
               g.body.data(), g.pointLoads.data(), g.edgeLoads.data(), R.data(), W.data(), lunit, status.data(), t,
               eq, internal);
    }
    void memstr(const std::vector<double>& U, i32 lunit = 0) {
        MEMSTR(g.key.data(), U.data(), g.topology.data(), g.elementData.data(), g.springs.data(), g.nodal.data(),
               g.material.data(), W.data(), lunit, status.data(), t, internal, sums);
    }
    void bndlod(i32 lunit = 0) {
        BNDLOD(g.key.data(), g.elementData.data(), g.nodal.data(), g.edgeLoads.data(), R.data(), lunit,
               status.data(), t, eq);
    }
    void bndres(const std::vector<double>& U, i32 lunit = 0) {
        BNDRES(g.key.data(), U.data(), g.topology.data(), g.elementData.data(), g.springs.data(), g.nodal.data(),
               g.material.data(), lunit, status.data(), t, sums);
    }
    // Equation of local DOF d of a node (0 fixed, negative constrained).
    i32 equation(i32 node, i32 d) const { return eq.MDOFEQ[std::size_t(dof(node, d) - 1)]; }

    // The assembled matrix as a dense NEQ x NEQ array (both triangles).
    std::vector<double> denseK() {
        const i32 n = neq();
        std::vector<double> A(std::size_t(n) * n, 0.0);
        if (sparse()) {
            i32 ierr = 0;
            SPRCNV(K.data() + n, A.data(), t.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(), n, 1, 0, ierr);
            EXPECT_EQ(ierr, 0);
            return A;
        }
        for (i32 c = 1; c <= n; ++c) {
            const i32 top = c - (eq.MSKY[c - 1] - (c > 1 ? eq.MSKY[c - 2] : 0)) + 1;
            for (i32 r = top; r <= c; ++r) {
                const double v = K[std::size_t(eq.MSKY[c - 1] - (c - r) - 1)];
                A[(r - 1) + std::size_t(c - 1) * n] = v;
                A[(c - 1) + std::size_t(r - 1) * n] = v;
            }
        }
        return A;
    }

    // Factorises and solves K x = R in place; returns the DOF vector in
    // global axes (constraints expanded, node axes turned back).
    std::vector<double> solve() {
        const i32 n = neq();
        i32 ierr = 0;
        if (sparse()) {
            std::vector<i32> iw(std::size_t(std::max(t.MSPAR[12], t.MSPAR[13] + 1)) + 1);
            std::vector<double> rw(std::size_t(std::max(t.MSPAR[13], t.MSPAR[16])) + 1);
            double tol[3] = {1.0e-10, 0.0, 0.0};
            SPRFC1(t.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(), K.data(), tol, iw.data(), rw.data(), 0, ierr);
            EXPECT_EQ(ierr, 0);
            SPRFS1(t.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(), K.data(), R.data(), n, 1, iw.data(), rw.data(),
                   0, ierr);
            EXPECT_EQ(ierr, 0);
            SPRBS1(t.MSPAR.data(), eq.MTREES.data(), eq.MSIFA.data(), K.data(), R.data(), n, 1, iw.data(), rw.data(),
                   0, ierr);
            EXPECT_EQ(ierr, 0);
        } else {
            i32 ineg = 0;
            SKYSOL(K.data(), R.data(), eq.MSKY.data(), 1.0e-10, n, n, 1, 0, 3, ineg, ierr);
            EXPECT_EQ(ierr, 0);
        }
        std::vector<double> U(std::size_t(ndof()), 0.0);
        EXPSOL(R.data(), entry1(t.CQCOEF), entry1(t.MPMCEQ), entry1(t.MCQDOF), eq.MDOFEQ.data(), 1.0, 1.0, ndof(),
               U.data());
        for (i32 node = 1; node <= g.key[1]; ++node) {
            const double a = g.angle(node);
            if (std::fabs(a) <= 1.0e-8) continue;
            const i32 first = t.MNDPTR[std::size_t(node - 1)];
            TRNSV(U.data() + first - 1, t.MNDPTR[std::size_t(node)] - first, a, g.code, 1, 0, ierr);
        }
        return U;
    }
};

} // namespace solvika::test
