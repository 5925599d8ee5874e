// Whole runs of the buckling entry points: critical stresses of plates with
// known buckling coefficients, agreement of the solvers, roads and entry
// points, the statuses of the eigensolver step, and the logs.
#include "run_support.h"

#include "solver/analysis/buckling.h"

#include <cstdlib>
#include <limits>
#include <numbers>

namespace solvika::test
{
namespace
{

constexpr double kE = 1000.0, kNu = 0.3, kT = 0.1;

struct BucklingResult {
    std::array<i32, 5> status{};
    std::vector<double> eigenvalues, modes;
    std::string log;
};

inline std::string readBucklingLog()
{
    std::ifstream in("Brantel_B.log", std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Runs a grid through PLATE_BUCKLING (one stress triple per element) or
// PLATE_KNEKKING (one per node), the same stresses everywhere.
BucklingResult runBuckling(Grid& g, std::array<double, 3> stress, bool perNode = false,
                           i32 modes = 1)
{
    g.key[14] = modes;
    BucklingResult r;
    std::vector<double> S;
    for (i32 i = 0; i < (perNode ? g.key[1] : g.key[0]); ++i)
        S.insert(S.end(), stress.begin(), stress.end());
    r.eigenvalues.assign(std::size_t(modes), -77.0);
    r.modes.assign(std::size_t(g.key[1]) * std::size_t(modes), -77.0);
    (perNode ? PLATE_KNEKKING : PLATE_BUCKLING)(
        g.key.data(), g.topology.data(), g.elementData.data(), g.material.data(), g.nodal.data(),
        ptr(g.fixed), ptr(g.couplings), ptr(g.springs), S.data(), r.eigenvalues.data(),
        r.modes.data(), r.status.data());
    r.log = readBucklingLog();
    return r;
}

// Edge supports of the rectangle [0, lx] x [0, ly]. Simply supported: the
// deflection and its derivatives along the edge vanish; clamped: also the
// normal slope and its derivative along the edge. DOFs per corner node:
// w, w,x, w,y (DKT; TEBA turns the slopes, so it gets w only when simply
// supported), T18 and T21 add w,xx, w,xy, w,yy; side nodes of T15 carry
// w and the normal slope, those of T21 the normal slope.
void support(Grid& g, double lx, double ly, bool clamped)
{
    const i32 code = g.code;
    for (const auto& [p, n] : g.nodeAt) {
        const double x = g.x(n), y = g.y(n);
        const bool xEdge = std::abs(x) < 1e-12 || std::abs(x - lx) < 1e-12; // x = const
        const bool yEdge = std::abs(y) < 1e-12 || std::abs(y - ly) < 1e-12;
        if (!xEdge && !yEdge)
            continue;
        const bool side = p.first % 2 != 0 || p.second % 2 != 0;
        std::vector<i32> dofs;
        if (side) {
            if (code == 75)
                dofs = clamped ? std::vector<i32>{1, 2} : std::vector<i32>{1};
            if (code == 85 && clamped)
                dofs = {1};
        } else if (clamped) {
            if (code == 81 || code == 85) {
                dofs = {1, 2, 3, 5};
                if (xEdge)
                    dofs.push_back(6);
                if (yEdge)
                    dofs.push_back(4);
            } else {
                dofs = {1, 2, 3};
            }
        } else {
            dofs = {1};
            if (code != 66) {
                if (xEdge)
                    dofs.push_back(3);
                if (yEdge)
                    dofs.push_back(2);
            }
            if (code == 81 || code == 85) {
                if (xEdge)
                    dofs.push_back(6);
                if (yEdge)
                    dofs.push_back(4);
            }
        }
        for (i32 d : dofs)
            g.fix(n, d);
    }
}

Grid plate(i32 code, i32 nx, i32 ny, double lx, double ly, bool clamped = false)
{
    Grid g(code, nx, ny, lx, ly, kE, kNu, kT);
    g.key[13] = 1;
    support(g, lx, ly, clamped);
    return g;
}

// Buckling coefficient k of a critical stress: sigma t = k pi^2 D / b^2.
double coefficient(double lambda, double b)
{
    const double D = kE * kT * kT * kT / (12.0 * (1.0 - kNu * kNu));
    return lambda * kT * b * b / (std::numbers::pi * std::numbers::pi * D);
}

class BucklingRun : public RunFolder
{
};

} // namespace

// Known coefficients of rectangular plates under in-plane stress -1 (so the
// eigenvalue is the critical stress), with T18 and T21.
TEST_F(BucklingRun, KnownBucklingCoefficients)
{
    const double r2 = std::sqrt(2.0);
    const struct {
        const char* name;
        double lx, ly;
        i32 nx, ny;
        std::array<double, 3> stress;
        bool clamped;
        i32 modes;
        std::vector<double> k;
        double tol;
    } cases[] = {
        {"square, uniaxial", 1.0, 1.0, 4, 4, {-1.0, 0.0, 0.0}, false, 1, {4.0}, 0.005},
        {"a/b = 2, uniaxial", 2.0, 1.0, 8, 4, {-1.0, 0.0, 0.0}, false, 1, {4.0}, 0.005},
        {"a/b = sqrt 2, double root", r2, 1.0, 6, 4, {-1.0, 0.0, 0.0}, false, 2, {4.5, 4.5}, 0.005},
        {"square, equal biaxial", 1.0, 1.0, 4, 4, {-1.0, -1.0, 0.0}, false, 1, {2.0}, 0.005},
        {"square, clamped", 1.0, 1.0, 6, 6, {-1.0, 0.0, 0.0}, true, 1, {10.07}, 0.005},
        {"square, pure shear", 1.0, 1.0, 6, 6, {0.0, 0.0, -1.0}, false, 2, {9.33, -9.33}, 0.005},
    };
    for (i32 code : {81, 85})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " code " + std::to_string(code));
            Grid g = plate(code, c.nx, c.ny, c.lx, c.ly, c.clamped);
            const auto r = runBuckling(g, c.stress, false, c.modes);
            ASSERT_EQ(r.status[0], 0) << r.log;
            for (std::size_t j = 0; j < c.k.size(); ++j)
                EXPECT_NEAR(coefficient(r.eigenvalues[j], c.ly), c.k[j], c.tol * std::abs(c.k[j]))
                    << j;
            if (c.modes == 2 && c.k[1] > 0.0) {
                // Both modes of the double root, independent of each other.
                double dot = 0.0, n0 = 0.0, n1 = 0.0;
                for (i32 n = 0; n < g.key[1]; ++n) {
                    const double a = r.modes[std::size_t(n)],
                                 b = r.modes[std::size_t(n + g.key[1])];
                    dot += a * b;
                    n0 += a * a;
                    n1 += b * b;
                }
                EXPECT_LT(std::abs(dot) / std::sqrt(n0 * n1), 0.1);
            }
        }
}

// The eigenvalues come back in increasing |lambda|; the mode shapes are
// the deflections, zero on the supported edges and, for T21, at the side
// nodes.
TEST_F(BucklingRun, ModeShapesAreNodalDeflections)
{
    Grid g = plate(85, 3, 3, 1.5, 1.0);
    const auto r = runBuckling(g, {-1.0, -0.5, 0.0}, false, 3);
    ASSERT_EQ(r.status[0], 0) << r.log;
    EXPECT_LT(std::abs(r.eigenvalues[0]), std::abs(r.eigenvalues[1]));
    EXPECT_LT(std::abs(r.eigenvalues[1]), std::abs(r.eigenvalues[2]));
    for (i32 j = 0; j < 3; ++j) {
        double biggest = 0.0;
        for (const auto& [p, n] : g.nodeAt) {
            const double w = r.modes[std::size_t(j) * g.key[1] + std::size_t(n - 1)];
            const bool side = p.first % 2 != 0 || p.second % 2 != 0;
            const double x = g.x(n), y = g.y(n);
            const bool edge =
                x < 1e-12 || y < 1e-12 || std::abs(x - 1.5) < 1e-12 || std::abs(y - 1.0) < 1e-12;
            if (side || edge) {
                EXPECT_EQ(w, 0.0) << n;
            }
            biggest = std::max(biggest, std::abs(w));
        }
        EXPECT_GT(biggest, 0.0);
    }
    // The first mode of a simply supported plate does not change sign.
    double lo = 0.0, hi = 0.0;
    for (i32 n = 0; n < g.key[1]; ++n) {
        lo = std::min(lo, r.modes[std::size_t(n)]);
        hi = std::max(hi, r.modes[std::size_t(n)]);
    }
    EXPECT_TRUE(lo > -1e-9 * hi || hi < -1e-9 * lo);
}

// Subspace iteration and Lanczos, skyline and sparse storage, per-element
// and per-node stresses: one answer.
TEST_F(BucklingRun, SolversRoadsAndEntryPointsAgree)
{
    for (i32 code : {65, 75, 81}) {
        SCOPED_TRACE(code);
        std::vector<double> reference;
        for (i32 storage : {1, 2})
            for (i32 solver : {1, 2})
                for (bool perNode : {false, true}) {
                    Grid g = plate(code, 6, 4, 1.5, 1.0);
                    g.angle(g.node(4, 2)) = 0.4; // an interior node in its own axes
                    g.key[10] = storage;
                    g.key[11] = 1;
                    g.key[13] = solver;
                    const auto r = runBuckling(g, {-1.0, -0.3, 0.1}, perNode, 3);
                    ASSERT_EQ(r.status[0], 0) << r.log;
                    if (reference.empty())
                        reference = r.eigenvalues;
                    for (std::size_t j = 0; j < 3; ++j)
                        EXPECT_NEAR(r.eigenvalues[j], reference[j], 1e-7 * std::abs(reference[j]))
                            << storage << solver << perNode;
                }
    }
}

// DKT and TEBA converge towards k = 4 as the mesh is refined.
TEST_F(BucklingRun, NineDofTrianglesConverge)
{
    for (i32 code : {65, 66}) {
        SCOPED_TRACE(code);
        double previous = 1e9;
        for (i32 n : {6, 12, 24}) {
            Grid g = plate(code, n, n, 1.0, 1.0);
            g.key[10] = 2;
            const auto r = runBuckling(g, {-1.0, 0.0, 0.0});
            ASSERT_EQ(r.status[0], 0) << r.log;
            const double error = std::abs(coefficient(r.eigenvalues[0], 1.0) - 4.0);
            EXPECT_LT(error, previous);
            previous = error;
        }
        EXPECT_LT(previous, 0.03);
    }
}

// Subspace iteration with one mode needs 8 vectors: 7 equations are too
// few (-33), 8 to 15 give warning 2 and the results all the same.
TEST_F(BucklingRun, TooFewEquationsAndTheVectorWarning)
{
    // Two T18 elements, 24 DOFs, with two nodes clamped.
    const auto model = [](i32 neq) {
        Grid g(81, 1, 1, 1.0, 1.0, kE, kNu, kT);
        g.key[13] = 1;
        for (i32 k = 0; k < 24 - neq; ++k)
            g.fix(1 + k / 6, 1 + k % 6);
        return g;
    };
    Grid g7 = model(7);
    auto r = runBuckling(g7, {-1.0, -1.0, 0.0});
    EXPECT_EQ(r.status[0], -33);
    EXPECT_EQ(r.status[1], 1);
    EXPECT_EQ(r.status[2], 7);
    EXPECT_EQ(r.eigenvalues[0], -77.0);
    EXPECT_NE(r.log.find("Computations aborted"), std::string::npos);

    // Any number of modes beyond the equations is refused the same way.
    for (i32 solver : {1, 2}) {
        Grid big = model(8);
        big.key[13] = solver;
        big.key[14] = 2147483647;
        std::array<i32, 5> st{};
        std::vector<double> S(3 * std::size_t(big.key[0]), -1.0), ev(1),
            md(std::size_t(big.key[1]));
        PLATE_BUCKLING(big.key.data(), big.topology.data(), big.elementData.data(),
                       big.material.data(), big.nodal.data(), big.fixed.data(), nullptr, nullptr,
                       S.data(), ev.data(), md.data(), st.data());
        EXPECT_EQ(st[0], -33);
        EXPECT_EQ(st[1], 2147483647);
        EXPECT_EQ(st[2], 8);
    }

    Grid g8 = model(8);
    r = runBuckling(g8, {-1.0, -1.0, 0.0});
    EXPECT_EQ(r.status[0], 2) << r.log;
    EXPECT_EQ(r.status[1], 1);
    EXPECT_EQ(r.status[2], 8);
    EXPECT_EQ(r.status[3], 8);
    EXPECT_GT(r.eigenvalues[0], 0.0);
    EXPECT_NE(r.log.find("PLATE BUCKLING"), std::string::npos);

    // Lanczos with four modes uses 20 vectors.
    Grid g = plate(81, 3, 3, 1.0, 1.0);
    g.key[13] = 2;
    r = runBuckling(g, {-1.0, 0.0, 0.0}, false, 4);
    EXPECT_EQ(r.status[0], 0) << r.log;
    EXPECT_NE(r.log.find("        Number of Lanczos vectors used      :    20\n"),
              std::string::npos)
        << r.log;
}

// Fewer accepted modes than requested: warning 1 with the counts, only the
// accepted ones written; with warning 2 as well the block ends with code 1
// and keeps entry 4 of warning 2.
TEST_F(BucklingRun, FewerModesAcceptedThanRequested)
{
    // Three free deflections: the geometric stiffness has rank 3.
    Grid g(65, 4, 2, 2.0, 1.0, kE, kNu, kT);
    for (i32 n = 1; n <= g.key[1]; ++n)
        if (n != g.node(2, 2) && n != g.node(4, 2) && n != g.node(6, 2))
            g.fix(n, 1);
    g.key[13] = 2;
    const auto r = runBuckling(g, {-1.0, -1.0, 0.0}, false, 5);
    const i32 neq = 45 - 12;
    EXPECT_EQ(r.status[0], 1) << r.log;
    EXPECT_EQ(r.status[1], 3);
    EXPECT_EQ(r.status[2], 5);
    EXPECT_EQ(r.status[3], neq); // from warning 2: 15 vectors > 19 / 2
    for (i32 j = 0; j < 3; ++j)
        EXPECT_GT(r.eigenvalues[std::size_t(j)], 0.0);
    EXPECT_EQ(r.eigenvalues[3], -77.0);
    EXPECT_EQ(r.modes[std::size_t(3) * g.key[1]], -77.0);
    EXPECT_NE(r.log.find("     Problem has only    3  finite eigenvalues\n"), std::string::npos);
    EXPECT_NE(r.log.find("        Number of eigenmodes accepted       :     3\n"),
              std::string::npos)
        << r.log;
}

// The scaling factor of the Lanczos length: the first pass runs factor x
// (2p + 12) steps, and the run summary gives the length used; 0 and
// factors that are no number or not positive keep 2p + 12.
TEST_F(BucklingRun, MaxlanScalingSetsTheFirstPass)
{
    struct Case {
        double factor;
        const char* vectors;
    };
    for (const Case& c : {Case{0.0, "20"}, Case{1.2, "24"}, Case{-2.0, "20"},
                          Case{std::numeric_limits<double>::quiet_NaN(), "20"}}) {
        SCOPED_TRACE(c.factor);
        setMaxlanScaling(c.factor);
        Grid g = plate(81, 3, 3, 1.0, 1.0);
        g.key[13] = 2;
        const auto r = runBuckling(g, {-1.0, 0.0, 0.0}, false, 4);
        setMaxlanScaling(0.0);
        EXPECT_EQ(r.status[0], 0) << r.log;
        EXPECT_NE(r.log.find(std::string("        Number of Lanczos vectors used      :    ") + c.vectors +
                             "\n"),
                  std::string::npos)
            << r.log;
    }
    EXPECT_EQ(maxlanScaling(), 0.0);
}

// A singular stiffness (no supports) makes the eigensolver fail: -32 with
// its flag, nothing written back.
TEST_F(BucklingRun, EigensolverFailureAborts)
{
    for (i32 solver : {1, 2}) {
        Grid g(65, 4, 4, 1.0, 1.0, kE, kNu, kT);
        g.key[13] = solver;
        const auto r = runBuckling(g, {-1.0, 0.0, 0.0});
        EXPECT_EQ(r.status[0], -32) << r.log;
        EXPECT_LT(r.status[1], 0);
        EXPECT_EQ(r.eigenvalues[0], -77.0);
        EXPECT_NE(r.log.find("Computations aborted"), std::string::npos);
    }
}

// Any solver code but 1 runs Lanczos in full: the same modes, and the
// summary names it. KEY(29) is back as it was.
TEST_F(BucklingRun, OtherSolverCodesRunLanczos)
{
    std::vector<double> reference;
    for (i32 solver : {2, 0, 7}) {
        Grid g = plate(75, 3, 3, 1.0, 1.0);
        g.key[13] = solver;
        g.key[28] = 5;
        const auto r = runBuckling(g, {-1.0, 0.0, 0.0}, false, 2);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_EQ(g.key[28], 5);
        EXPECT_NE(r.log.find("     Eigensolver    : Lanczos iteration \n"), std::string::npos)
            << r.log;
        if (reference.empty())
            reference = r.eigenvalues;
        EXPECT_NEAR(r.eigenvalues[1], reference[1], 1e-9 * reference[1]);
    }
}

// Failures of the earlier steps abort with their status; code 61 is
// refused by the geometric stiffness.
TEST_F(BucklingRun, StepFailuresAbort)
{
    Grid g(61, 2, 2, 1.0, 1.0, kE, kNu, kT);
    g.key[13] = 1;
    for (i32 n = 1; n <= g.key[1]; ++n)
        if (g.x(n) == 0.0)
            g.fix(n, 1);
    auto r = runBuckling(g, {-1.0, 0.0, 0.0});
    EXPECT_EQ(r.status[0], -14);
    EXPECT_EQ(r.status[1], 61);
    EXPECT_NE(
        r.log.find(
            "     Error occured in Build_SKG (geometric stiffness)\n\n     Computations aborted\n"),
        std::string::npos)
        << r.log;

    Grid h = plate(65, 2, 2, 1.0, 1.0);
    h.fix(99, 1);
    r = runBuckling(h, {-1.0, 0.0, 0.0});
    EXPECT_EQ(r.status[0], -25);
    EXPECT_NE(r.log.find("Computations aborted"), std::string::npos);
}

// The rows of the eigensolvers' result tables (index, eigenvalue, relative
// error and more) differ in their last digits from one build to another:
// each becomes "<row>".
static std::string maskEigenvalueRows(const std::string& log)
{
    // A row: an index, then two numbers in D exponent form.
    const auto isRow = [](const std::string& line) {
        std::istringstream in(line);
        long index = 0;
        std::string a, b;
        return bool(in >> index >> a >> b) && a.find('D') != std::string::npos &&
               b.find('D') != std::string::npos;
    };
    std::istringstream in(log);
    std::string line, out;
    while (std::getline(in, line))
        out += (isRow(line) ? std::string("<row>") : line) + "\n";
    return out;
}

// Whole logs, byte for byte but for the rows of the eigenvalue tables, per
// road and solver at print level 1, and at print level 0 without echo,
// check point and storage lines.
// BRANTEL_WRITE_GOLDEN=1 writes the files instead of comparing.
TEST_F(BucklingRun, GoldenLogs)
{
    const bool write = std::getenv("BRANTEL_WRITE_GOLDEN") != nullptr;
    const auto folder = goldenLogFolder("buckling_logs");
    for (const auto& [storage, road] : {std::pair{1, "skyline"}, std::pair{2, "sparse"}})
        for (const auto& [solver, name] : {std::pair{1, "subspace"}, std::pair{2, "lanczos"}})
            for (i32 level : {0, 1}) {
                const std::string file =
                    std::string(road) + "_" + name + "_" + std::to_string(level) + ".log";
                SCOPED_TRACE(file);
                Grid g = plate(81, 3, 3, 1.0, 1.0);
                g.key[10] = storage;
                g.key[11] = 1;
                g.key[12] = 64;
                g.key[13] = solver;
                g.key[26] = 2;
                g.key[29] = level;
                resetClock();
                const auto r = runBuckling(g, {-1.0, 0.0, 0.0}, false, 2);
                EXPECT_EQ(r.status[0], 0);
                if (level == 0) {
                    EXPECT_EQ(r.log.find("check point"), std::string::npos);
                    EXPECT_EQ(r.log.find("storage locations"), std::string::npos);
                }
                if (write) {
                    std::filesystem::create_directories(folder);
                    std::ofstream(folder / file, std::ios::binary) << r.log;
                    continue;
                }
                std::ifstream in(folder / file, std::ios::binary);
                ASSERT_TRUE(in) << file;
                std::ostringstream golden;
                golden << in.rdbuf();
                EXPECT_EQ(maskEigenvalueRows(r.log), maskEigenvalueRows(golden.str()));
            }
}

} // namespace solvika::test
