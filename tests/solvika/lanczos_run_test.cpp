// The buckling run's Lanczos (lanczosRun) on plates whose low modes hold a
// double eigenvalue and a close pair, on skyline and sparse storage, against
// the dense oracle; and the log of a run that has to go on past its first
// MAXLAN.
#include "run_support.h"
#include "tests/solvika/eigen_problem.h"

#include "solver/analysis/buckling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace solvika::test {
namespace {

using i64 = std::int64_t;

// A DKT plate over [0, 1] x [0, ly], nc x nc cells, simply supported (w
// and the slope along every edge fixed), under biaxial compression. The
// cells of the lower left and upper right quarters are split along one
// diagonal, the others along the other: the mesh of the square has the
// square's symmetry, so that its modes (1,2) and (2,1) share one
// eigenvalue; a slightly longer plate splits that pair into a close one.
Grid unionJack(i32 nc, double ly)
{
    Grid g(65, nc, nc, 1.0, ly, 1000.0, 0.3, 0.1);
    for (i32 j = 0; j < nc; ++j)
        for (i32 i = 0; i < nc; ++i) {
            if ((2 * i < nc) == (2 * j < nc))
                continue;
            const i32 n00 = g.node(2 * i, 2 * j), n10 = g.node(2 * i + 2, 2 * j);
            const i32 n11 = g.node(2 * i + 2, 2 * j + 2), n01 = g.node(2 * i, 2 * j + 2);
            const std::size_t e = 2 * std::size_t(j * nc + i);
            const std::size_t w = std::size_t(g.key[18]);
            const i32 tri[2][3] = {{n00, n10, n01}, {n10, n11, n01}};
            for (int t = 0; t < 2; ++t)
                for (int k = 0; k < 3; ++k)
                    g.topology[(e + t) * w + 1 + k] = tri[t][k];
        }
    for (i32 n = 1; n <= g.key[1]; ++n) {
        const bool xEdge = g.x(n) < 1e-12 || std::abs(g.x(n) - 1.0) < 1e-12;
        const bool yEdge = g.y(n) < 1e-12 || std::abs(g.y(n) - ly) < 1e-12;
        if (xEdge || yEdge)
            g.fix(n, 1);
        if (xEdge)
            g.fix(n, 3);
        if (yEdge)
            g.fix(n, 2);
    }
    return g;
}

// K and KG of a grid on one storage, with their dense copies.
struct BucklingPencil : System {
    std::vector<double> KG;
    Dense k, kg;

    BucklingPencil(Grid& g, i32 storage, std::array<double, 3> stress) : System(g, storage)
    {
        assemble();
        EXPECT_EQ(status[0], 0);
        std::vector<double> s;
        for (i32 e = 0; e < g.key[0]; ++e)
            s.insert(s.end(), stress.begin(), stress.end());
        KG.assign(std::size_t(lengthK()), 0.0);
        Build_SKG(g.key.data(), g.elementData.data(), g.nodal.data(), s.data(), KG.data(), lengthK(), 0,
                  status.data(), t, eq);
        EXPECT_EQ(status[0], 0);
        k = toDense(K);
        kg = toDense(KG);
    }

    Dense toDense(const std::vector<double>& m)
    {
        const std::vector<double> keep = K;
        K = m;
        const std::vector<double> a = denseK();
        K = keep;
        Dense d(neq(), neq());
        std::copy(a.begin(), a.end(), d.v.begin());
        return d;
    }
};

struct RunOut {
    LanczosPairs pairs;
    std::array<i32, 10> minf{};
    i32 maxlan = 0;
    i32 ierr = 0;
};

// The buckling run's settings: MAXLAN = 2p + 12 (or as given), MOP = (1,
// 1, -1, 1, 2, 1), TOL = 1e-8, shift 0, work arrays as the run sizes them.
RunOut run(const BucklingPencil& p, i32 modes, i32 maxlan, i32 lunit = 0, i32 iprint = 0)
{
    RunOut r;
    r.maxlan = maxlan;
    std::vector<double> a = p.K, b = p.KG, v(2 * std::size_t(p.neq()));
    const i64 m = maxlan;
    const i32 n = p.neq();
    const bool sparse = p.sparse();
    const i64 lrwa = sparse ? std::max<i64>((m + 7) * m, i64(p.t.MSPAR[13]) + p.t.MSPAR[16]) : (m + 7) * m;
    const i64 liwa = sparse ? std::max<i64>(n, p.t.MSPAR[12] + 2 * m) : 2 * m;
    std::vector<double> rwa(static_cast<std::size_t>(lrwa));
    std::vector<i32> iwa(static_cast<std::size_t>(liwa));
    const i32 mop[6] = {1, 1, -1, 1, 2, 1};
    double tol[2] = {1.0e-8, 1.0e-8};
    double shift = 0.0;
    if (sparse)
        lanczosRun(a.data(), b.data(), tol, const_cast<i32*>(p.t.MSPAR.data()), p.eq.MTREES.data(),
                   p.eq.MSIFA.data(), mop, r.minf.data(), r.pairs, v.data(), rwa.data(), lrwa, iwa.data(), liwa,
                   shift, n, modes, modes, r.maxlan, lunit, iprint, r.ierr);
    else
        lanczosRun(a.data(), b.data(), tol, p.eq.MSKY.data(), mop, r.minf.data(), r.pairs, v.data(), rwa.data(),
                   lrwa, iwa.data(), liwa, shift, n, modes, modes, r.maxlan, lunit, iprint, r.ierr);
    return r;
}

} // namespace

// Every requested mode, in order, on both storages: the square plate's
// double eigenvalues and the near square's close pairs among the first 20.
// Eigenvalues against the dense oracle to 1e-8, vectors K-orthogonal,
// residuals ||K x - lambda KG x|| / (|lambda| ||KG x||) within 1e-6.
TEST(LanczosRun, EveryRequestedModeOfPlatesWithDoubleAndClosePairs)
{
    struct Plate {
        const char* name;
        double ly;
    };
    for (const Plate& plate : {Plate{"square", 1.0}, Plate{"near square", 1.0 + 2e-5}}) {
        Grid g = unionJack(8, plate.ly);
        std::vector<double> reference;
        for (i32 storage : {1, 2}) {
            BucklingPencil p(g, storage, {-1.0, -1.0, 0.0});
            if (reference.empty())
                reference = pencilEigenvalues(p.k, p.kg);
            ASSERT_GE(reference.size(), 20u);
            for (i32 modes : {1, 4, 10, 20}) {
                SCOPED_TRACE(std::string(plate.name) + (storage == 1 ? " skyline" : " sparse") +
                             " p=" + std::to_string(modes));
                const RunOut r = run(p, modes, 2 * modes + 12);
                ASSERT_GE(r.ierr, 0);
                EXPECT_EQ(r.ierr, 0);
                ASSERT_GE(r.minf[0], modes);
                ASSERT_EQ(r.minf[4], modes);
                for (i32 i = 0; i < modes; ++i)
                    EXPECT_NEAR(r.pairs.EVL[std::size_t(i)], reference[std::size_t(i)],
                                1e-8 * std::abs(reference[std::size_t(i)]))
                        << "mode " << i + 1;
                // x_i^T K x_j = 0 for i != j, relative to the diagonal.
                const PairCheck kc = checkPairs(p.kg, p.k, r.pairs.EVL.data(), r.pairs.EVEC.data(), modes);
                EXPECT_LT(kc.orthogonality, 1e-8);
                const PairCheck c = checkPairs(p.k, p.kg, r.pairs.EVL.data(), r.pairs.EVEC.data(), modes);
                EXPECT_LT(c.residual, 1e-6);
            }
        }
    }
}

// A first pass that accepts fewer pairs than asked for: its warning, the
// length the run goes on to and, at the end, the steps of all passes; the
// last pass accepts all four and leaves no warning. A run whose first pass
// accepts all writes none of these lines.
TEST(LanczosRun, PassesThatFallShortAreLoggedAndTheRunGoesOn)
{
    Grid g = unionJack(8, 1.0);
    for (i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        BucklingPencil p(g, storage, {-1.0, -1.0, 0.0});
        LogCapture log;
        const RunOut r = run(p, 4, 20, kEigenUnit);
        EXPECT_EQ(r.ierr, 0);
        EXPECT_GE(r.minf[0], 4);
        EXPECT_EQ(r.maxlan, 30);
        const char* routine = storage == 1 ? "LANCZ2" : "SPRLAN";
        const std::string expected = std::string("\n\n\n *** WARNING from  L I N  library routine ") + routine +
                                     "\n     Only    2  eigenvalues accepted\n     in   20  Lanczos steps\n"
                                     "     (the required number was    4 )\n"
                                     "     The Lanczos run goes on up to MAXLAN =    30\n"
                                     "\n     Lanczos steps in all :    " +
                                     std::to_string(r.minf[2]) + "  in  2  passes\n";
        EXPECT_EQ(log.text, expected);
        EXPECT_GT(r.minf[2], 20);
        EXPECT_LE(r.minf[2], 30);

        LogCapture quiet;
        const RunOut once = run(p, 1, 14, kEigenUnit);
        EXPECT_EQ(once.ierr, 0);
        EXPECT_EQ(once.maxlan, 14);
        EXPECT_EQ(quiet.text, "");
    }
}

// The whole buckling run on the square whose first Lanczos pass accepts
// two of four modes (the second vector of the double eigenvalue comes
// late): status 0, every mode written and equal to the dense values, the
// pass's warning in the log and the grown length in the run summary.
class LanczosBucklingRun : public RunFolder
{
};

TEST_F(LanczosBucklingRun, DeliversEveryModeOnBothStorages)
{
    Grid square = unionJack(8, 1.0);
    std::vector<double> reference;
    {
        BucklingPencil p(square, 1, {-1.0, -1.0, 0.0});
        reference = pencilEigenvalues(p.k, p.kg);
    }
    for (i32 storage : {1, 2}) {
        SCOPED_TRACE(storage);
        Grid g = unionJack(8, 1.0);
        g.key[10] = storage;
        g.key[13] = 2;
        g.key[14] = 4;
        std::vector<double> S(3 * std::size_t(g.key[0]), 0.0);
        for (std::size_t e = 0; e < S.size(); e += 3)
            S[e] = S[e + 1] = -1.0;
        std::vector<double> eigenvalues(4, -77.0), modes(4 * std::size_t(g.key[1]), -77.0);
        std::array<i32, 5> status{};
        PLATE_BUCKLING(g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
                       g.fixed.data(), nullptr, nullptr, S.data(), eigenvalues.data(), modes.data(), status.data());
        std::ifstream in("Brantel_B.log", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string log = text.str();
        EXPECT_EQ(status[0], 0) << log;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(eigenvalues[i], reference[i], 1e-8 * reference[i]) << i;
        EXPECT_NE(log.find("     Only    2  eigenvalues accepted\n     in   20  Lanczos steps\n"), std::string::npos)
            << log;
        EXPECT_NE(log.find("     The Lanczos run goes on up to MAXLAN =    30\n"), std::string::npos);
        EXPECT_NE(log.find("        Number of eigenmodes accepted       :     4\n"), std::string::npos);
        EXPECT_NE(log.find("        Number of Lanczos vectors used      :    30\n"), std::string::npos);
    }
}

} // namespace solvika::test
