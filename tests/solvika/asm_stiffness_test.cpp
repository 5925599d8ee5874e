// System stiffness assembly against a dense reference: every element's
// stiffness turned to the node axes by explicit rotation matrices, summed
// into the full DOF matrix and reduced through the constraint equations.
#include "asm_support.h"

#include <cmath>
#include <string>

using namespace solvika;
using namespace solvika::test;

namespace {

// Rotation from node axes to global axes of one node's DOFs (ndof x ndof,
// column-major), as the DOF kinds of the code ask.
std::vector<double> nodeRotation(i32 code, i32 ndof, double a) {
    std::vector<double> T(std::size_t(ndof) * ndof, 0.0);
    for (i32 i = 0; i < ndof; ++i) T[i + std::size_t(i) * ndof] = 1.0;
    const double c = std::cos(a), s = std::sin(a);
    auto set = [&](i32 at, i32 n, const double* rows) {
        for (i32 i = 0; i < n; ++i)
            for (i32 j = 0; j < n; ++j) T[(at + i) + std::size_t(at + j) * ndof] = rows[i * n + j];
    };
    const double R2[4] = {c, -s, s, c};
    if (code < 60) {
        set(0, 2, R2);
        if (ndof == 6) {
            double R4[16];
            for (int i1 = 0; i1 < 2; ++i1)
                for (int i2 = 0; i2 < 2; ++i2)
                    for (int j1 = 0; j1 < 2; ++j1)
                        for (int j2 = 0; j2 < 2; ++j2)
                            R4[(2 * i1 + i2) * 4 + 2 * j1 + j2] = R2[i1 * 2 + j1] * R2[i2 * 2 + j2];
            set(2, 4, R4);
        }
    } else if (ndof >= 3) {
        set(1, 2, R2);
        if (ndof == 6) {
            const double R3[9] = {c * c, -2 * c * s, s * s, c * s, c * c - s * s, -c * s, s * s, 2 * c * s, c * c};
            set(3, 3, R3);
        }
    }
    return T;
}

struct Reference {
    std::vector<double> K, R;  // NEQ x NEQ and NEQ
};

Reference reference(System& sys) {
    Grid& g = sys.g;
    const i32 ndof = sys.ndof(), neq = sys.neq();
    const elwork::Kind& kind = *elwork::kindOf(g.code);
    std::vector<double> Kf(std::size_t(ndof) * ndof, 0.0);
    elwork::Scratch s;
    for (i32 e = 1; e <= g.key[0]; ++e) {
        EXPECT_EQ(elwork::gather(kind, e, g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(),
                                 g.nodal.data(), sys.t, s, 0),
                  0);
        EXPECT_GE(elwork::stiffness(kind, e, g.key.data(), s, 0, 0), 0);
        const i32 n = kind.nedof;
        // Element DOFs and the block rotation of the element.
        std::vector<i32> dofs;
        std::vector<double> T(std::size_t(n) * n, 0.0);
        const i32 first = sys.t.MPELND[std::size_t(e - 1)], nodes = sys.t.MPELND[std::size_t(e)] - first;
        for (i32 k = 0; k < nodes; ++k) {
            const i32 node = sys.t.MELNOD[std::size_t(first - 1 + k)];
            const i32 nd = sys.t.MNDPTR[std::size_t(node)] - sys.t.MNDPTR[std::size_t(node - 1)];
            const bool turned = g.code != 61 && !((g.code == 75 || g.code == 85) && k >= 3);
            const auto Tn = nodeRotation(g.code, nd, turned ? g.angle(node) : 0.0);
            const i32 at = i32(dofs.size());
            for (i32 i = 0; i < nd; ++i) {
                dofs.push_back(sys.t.MNDPTR[std::size_t(node - 1)] + i);
                for (i32 j = 0; j < nd; ++j) T[(at + i) + std::size_t(at + j) * n] = Tn[i + std::size_t(j) * nd];
            }
        }
        EXPECT_EQ(i32(dofs.size()), n);
        for (i32 i = 0; i < n; ++i)
            for (i32 j = 0; j < n; ++j) {
                double sum = 0.0;
                for (i32 p = 0; p < n; ++p)
                    for (i32 q = 0; q < n; ++q)
                        sum += T[p + std::size_t(i) * n] * s.EK[p + std::size_t(q) * n] * T[q + std::size_t(j) * n];
                Kf[(dofs[i] - 1) + std::size_t(dofs[j] - 1) * ndof] += sum;
            }
    }
    // DOF values = A (equation values) + u0.
    std::vector<double> A(std::size_t(ndof) * std::max(neq, 1), 0.0), u0(std::size_t(ndof), 0.0);
    for (i32 d = 1; d <= ndof; ++d) {
        const i32 k = sys.eq.MDOFEQ[std::size_t(d - 1)];
        if (k > 0) A[(d - 1) + std::size_t(k - 1) * ndof] = 1.0;
        if (k >= 0) continue;
        const i32 c = -k;
        u0[std::size_t(d - 1)] = sys.t.CQCOEF[std::size_t(sys.t.MPMCEQ[std::size_t(c - 1)] - 1)];
        for (i32 p = sys.t.MPMCEQ[std::size_t(c - 1)] + 1; p < sys.t.MPMCEQ[std::size_t(c)]; ++p) {
            const i32 m = sys.eq.MDOFEQ[std::size_t(sys.t.MCQDOF[std::size_t(p - 1)] - 1)];
            if (m > 0) A[(d - 1) + std::size_t(m - 1) * ndof] += sys.t.CQCOEF[std::size_t(p - 1)];
        }
    }
    Reference ref{std::vector<double>(std::size_t(neq) * neq, 0.0), std::vector<double>(std::size_t(neq), 0.0)};
    std::vector<double> KA(std::size_t(ndof) * neq, 0.0), Ku0(std::size_t(ndof), 0.0);
    for (i32 i = 0; i < ndof; ++i)
        for (i32 p = 0; p < ndof; ++p) {
            const double kip = Kf[i + std::size_t(p) * ndof];
            if (kip == 0.0) continue;
            Ku0[i] += kip * u0[p];
            for (i32 j = 0; j < neq; ++j) KA[i + std::size_t(j) * ndof] += kip * A[p + std::size_t(j) * ndof];
        }
    for (i32 i = 0; i < neq; ++i) {
        for (i32 p = 0; p < ndof; ++p) {
            const double a = A[p + std::size_t(i) * ndof];
            if (a == 0.0) continue;
            ref.R[i] -= a * Ku0[p];
            for (i32 j = 0; j < neq; ++j) ref.K[i + std::size_t(j) * neq] += a * KA[p + std::size_t(j) * ndof];
        }
    }
    return ref;
}

void expectNear(const std::vector<double>& a, const std::vector<double>& b, const std::string& what) {
    ASSERT_EQ(a.size(), b.size()) << what;
    double scale = 0.0;
    for (double v : b) scale = std::max(scale, std::fabs(v));
    for (std::size_t i = 0; i < a.size(); ++i)
        ASSERT_NEAR(a[i], b[i], 1.0e-10 * scale + 1.0e-14) << what << " at " << i;
}

// A 2 x 1 grid of the code with node angles, a fixed DOF, a prescribed value
// and a coupling with two masters.
Grid constrainedGrid(i32 code) {
    Grid g(code, 2, 1);
    g.angle(g.node(2, 0)) = 0.3;
    g.angle(g.node(0, 2)) = -0.7;
    g.angle(g.node(4, 2)) = 1.1;
    if (g.nodeAt.count({0, 1})) g.angle(g.node(1, 0)) = 0.4;  // a side node
    g.fix(g.node(0, 0), 1);
    g.prescribe(g.node(0, 2), 1, 0.01);
    g.couple(g.node(4, 0), 1, g.node(4, 2), 1, 0.5, g.node(2, 2), 1, -0.25);
    return g;
}

const i32 kCodes[] = {31, 32, 33, 41, 42, 44, 46, 61, 65, 66, 75, 81, 85};

} // namespace

TEST(AsmStiffness, MatchesDenseCongruenceForEveryCodeOnBothRoads) {
    for (i32 code : kCodes)
        for (i32 storage : {1, 2}) {
            SCOPED_TRACE("code " + std::to_string(code) + " storage " + std::to_string(storage));
            Grid g = constrainedGrid(code);
            System sys(g, storage);
            sys.assemble();
            ASSERT_EQ(sys.status[0], 0);
            const Reference ref = reference(sys);
            expectNear(sys.denseK(), ref.K, "K");
            expectNear(sys.R, ref.R, "R");
        }
}

TEST(AsmStiffness, SameSolutionOnSkylineAndSparseWithPrescribedValuesAndASpring) {
    for (i32 code : {31, 46, 65, 85}) {
        SCOPED_TRACE(code);
        std::vector<double> u[2];
        for (i32 storage : {1, 2}) {
            Grid g(code, 3, 2);
            for (i32 j = 0; j <= 4; j += 2) {
                for (i32 d = 1; d <= (code < 60 ? 2 : 1); ++d) g.fix(g.node(0, j), d);
                g.prescribe(g.node(6, j), 1, 0.02);
            }
            if (code > 60) g.prescribe(g.node(6, 0), 2, -0.01);  // a rotation on the loaded end
            g.spring(double(g.node(2, 2)), 1.0, 50.0);
            System sys(g, storage);
            sys.assemble();
            ASSERT_EQ(sys.status[0], 0);
            u[storage - 1] = sys.solve();
            // The prescribed values come back through the expansion.
            EXPECT_NEAR(u[storage - 1][std::size_t(sys.dof(g.node(6, 2), 1) - 1)], 0.02, 1e-15);
        }
        expectNear(u[1], u[0], "u");
        double largest = 0.0;
        for (double v : u[0]) largest = std::max(largest, std::fabs(v));
        EXPECT_GT(largest, 0.0);
    }
}

TEST(AsmStiffness, SpringsOnFreeSupportedPrescribedAndSlaveDofs) {
    for (i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        auto build = [&](bool withSprings, Grid& g) {
            g.fix(g.node(0, 0), 2);
            g.prescribe(g.node(0, 2), 1, 0.0);
            g.couple(g.node(4, 2), 2, g.node(2, 2), 2, 0.5, g.node(4, 0), 1, 2.0);
            if (withSprings) {
                g.spring(3.0000001, 1.9999999, 7.0);                // node 3, DOF 2: free
                g.spring(double(g.node(0, 0)), 2.0, 11.0);            // supported
                g.spring(double(g.node(0, 2)), 1.0, 13.0);            // prescribed
                g.spring(double(g.node(4, 2)), 2.0, 17.0);            // slave
                g.spring(double(g.node(4, 2)), 5.0, 19.0);            // no such DOF
            }
        };
        Grid g0(31, 2, 1), g1(31, 2, 1);
        build(false, g0);
        build(true, g1);
        System s0(g0, storage), s1(g1, storage);
        s0.assemble();
        s1.assemble();
        ASSERT_EQ(s1.status[0], 0);
        std::vector<double> diff = s1.denseK(), K0 = s0.denseK();
        for (std::size_t i = 0; i < diff.size(); ++i) diff[i] -= K0[i];
        const i32 n = s1.neq();
        std::vector<double> expected(std::size_t(n) * n, 0.0);
        const i32 e3 = s1.eq.MDOFEQ[std::size_t(s1.dof(3, 2) - 1)];
        expected[(e3 - 1) * std::size_t(n + 1)] += 7.0;
        // 17 a_s a_t over the masters (DOF 2 of node (2,2) with 0.5, DOF 1
        // of node (4,0) with 2).
        const i32 m[2] = {s1.eq.MDOFEQ[std::size_t(s1.dof(g1.node(2, 2), 2) - 1)],
                          s1.eq.MDOFEQ[std::size_t(s1.dof(g1.node(4, 0), 1) - 1)]};
        const double a[2] = {0.5, 2.0};
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j) expected[(m[i] - 1) + std::size_t(m[j] - 1) * n] += 17.0 * a[i] * a[j];
        expectNear(diff, expected, "spring stiffness");
    }
}

TEST(AsmStiffness, UnknownCodesStopBeforeTheFirstElement) {
    for (i32 code : {35, 91}) {
        Grid g(31, 1, 1);
        System sys(g);
        g.key[9] = code;
        std::string log;
        attachSink(7, &log);
        sys.K.assign(sys.K.size(), 5.0);
        sys.assemble(7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], -14);
        EXPECT_EQ(sys.status[1], code);
        EXPECT_NE(log.find("unknown element kind =  " + std::to_string(code)), std::string::npos) << log;
        EXPECT_EQ(sys.K[0], 0.0);
    }
}

TEST(AsmStiffness, ElementFailuresNameTheElement) {
    // The last element of the grid that holds node (4, 0) made degenerate:
    // collinear corners of a triangle, a crossed quadrilateral.
    for (i32 code : {31, 65, 41}) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 1);
        const i32 e = code == 41 ? 2 : 3;
        g.x(g.node(4, 0)) = code == 41 ? 0.0 : 1.5;
        g.y(g.node(4, 0)) = 0.5;
        System sys(g);
        std::string log;
        attachSink(7, &log);
        sys.assemble(7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], -15);
        EXPECT_EQ(sys.status[1], e);
        EXPECT_EQ(sys.status[2], code);
        EXPECT_LT(sys.status[3], 0);
        EXPECT_NE(log.find("Cannot compute stiffness matrix for element     " + std::to_string(e)), std::string::npos)
            << log;
    }
    Grid g(31, 1, 1);
    g.material[0] = -1.0;  // a negative modulus
    System sys(g);
    sys.assemble();
    EXPECT_EQ(sys.status[0], -15);
    EXPECT_EQ(sys.status[1], 1);
    EXPECT_EQ(sys.status[3], -9);
}

TEST(AsmStiffness, RefusedSparseAdditionStopsWithMinus16) {
    Grid g(31, 1, 1);
    System sys(g, 2);
    sys.t.MSPAR[0] = -1;  // the sparse store is marked as failed
    sys.assemble();
    EXPECT_EQ(sys.status[0], -16);
    EXPECT_EQ(sys.status[1], 1);
    EXPECT_EQ(sys.status[2], 31);
}

TEST(AsmStiffness, QuarticElementEchoAtPrintLevelThree) {
    Grid g(75, 1, 1);
    System sys(g);
    std::string log;
    for (i32 level : {2, 3}) {
        g.key[29] = level;
        log.clear();
        attachSink(7, &log);
        sys.assemble(7);
        detachSink(7);
        EXPECT_EQ(sys.status[0], 0);
    }
    const std::string head =
        "\n\n     Data for element no.     1\n\n     node  x-coordinate  y-coordinate     thickness\n\n";
    EXPECT_EQ(log.substr(0, head.size()), head);
    EXPECT_NE(log.find("        1    0.0000E+00    0.0000E+00    1.0000E-01\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Data for element no.     2"), std::string::npos);
}
