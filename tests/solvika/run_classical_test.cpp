// Whole runs against classical answers: square plates under uniform load
// and a central point load, a distorted membrane patch in uniform tension,
// a cantilever under end shear and a thick cylinder in plane strain.
#include "run_support.h"

#include <numbers>

using namespace solvika;
using namespace solvika::test;

namespace {

class Classical : public RunFolder {};

// ---- Plates -----------------------------------------------------------------

// Unit square of n x n cells, nu = 0.3, D = E t^3 / (12 (1 - nu^2)) = 1.
constexpr i32 kCells = 12;
constexpr double kNu = 0.3;
constexpr double kE = 12.0 * (1.0 - kNu * kNu) / 0.001;

enum class Edge { Simple, Clamped };

// Holds the boundary: simply supported fixes w and the slopes and
// curvatures along the edge; clamped fixes everything but the curvature
// across the edge (for T18 w,xx on an edge x = const).
Grid squarePlate(i32 code, Edge edge) {
    Grid g(code, kCells, kCells, 1.0, 1.0, kE, kNu, 0.1);
    const bool t18 = code == 81;
    for (i32 i = 0; i <= 2 * kCells; i += 2)
        for (i32 j = 0; j <= 2 * kCells; j += 2) {
            const bool xEdge = i == 0 || i == 2 * kCells, yEdge = j == 0 || j == 2 * kCells;
            if (!xEdge && !yEdge) continue;
            std::vector<i32> dofs;
            if (edge == Edge::Clamped)
                dofs = t18 ? std::vector<i32>{1, 2, 3, 5} : std::vector<i32>{1, 2, 3};
            else
                dofs = {1};
            if (xEdge) {
                dofs.push_back(3);
                if (t18) dofs.push_back(6);
            }
            if (yEdge) {
                dofs.push_back(2);
                if (t18) dofs.push_back(4);
            }
            std::sort(dofs.begin(), dofs.end());
            dofs.erase(std::unique(dofs.begin(), dofs.end()), dofs.end());
            for (i32 d : dofs) g.fix(g.node(i, j), d);
        }
    return g;
}

void uniformLoad(Grid& g, double q) {
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 r = 6; r <= 8; ++r) g.eldata(e, r) = q;
}

// M_x at a node, averaged over the elements that have it as a corner.
double momentX(Grid& g, i32 node) {
    const i32 stride = g.code >= 75 ? 5 : 3;
    double sum = 0.0;
    int count = 0;
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 k = 1; k <= 3; ++k)
            if (g.elemNode(e, k) == node) {
                sum += g.eldata(e, 1 + (k - 1) * stride);
                ++count;
            }
    return sum / count;
}

struct PlateCase {
    i32 code;
    double wTol, mTol;  // relative tolerances of deflection and moment
};
const PlateCase kPlates[] = {{81, 0.005, 0.01}, {65, 0.02, 0.04}};

// ---- Membranes ----------------------------------------------------------------

// Puts the side nodes of every element at the mid-points of its sides.
void straightenSides(Grid& g) {
    const ElementKind* kind = elementKind(g.code);
    const i32 corners = g.code >= 41 ? 4 : 3;
    if (kind->nodes == corners) return;
    for (i32 e = 1; e <= g.key[0]; ++e)
        for (i32 k = 1; k <= corners; ++k) {
            const i32 a = g.elemNode(e, k), b = g.elemNode(e, k % corners + 1), m = g.elemNode(e, corners + k);
            g.x(m) = 0.5 * (g.x(a) + g.x(b));
            g.y(m) = 0.5 * (g.y(a) + g.y(b));
        }
}

} // namespace

TEST_F(Classical, SimplySupportedSquareUnderUniformLoad) {
    for (const PlateCase& c : kPlates) {
        SCOPED_TRACE(c.code);
        Grid g = squarePlate(c.code, Edge::Simple);
        uniformLoad(g, 1.0);
        const i32 centre = g.node(kCells, kCells);
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_NEAR(std::abs(g.x(centre)), 0.00406, 0.00406 * c.wTol);
        EXPECT_NEAR(std::abs(momentX(g, centre)), 0.0479, 0.0479 * c.mTol);
    }
}

TEST_F(Classical, ClampedSquareUnderUniformLoad) {
    for (const PlateCase& c : kPlates) {
        SCOPED_TRACE(c.code);
        Grid g = squarePlate(c.code, Edge::Clamped);
        uniformLoad(g, 1.0);
        const i32 centre = g.node(kCells, kCells), edge = g.node(0, kCells);
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_NEAR(std::abs(g.x(centre)), 0.00126, 0.00126 * c.wTol);
        // Hogging at the edge, against the sagging at the centre.
        const double mc = momentX(g, centre), me = momentX(g, edge);
        EXPECT_LT(mc * me, 0.0);
        if (c.code == 81) {
            EXPECT_NEAR(std::abs(me), 0.0513, 0.0513 * c.mTol);
        }
    }
}

TEST_F(Classical, SimplySupportedSquareUnderCentralPointLoad) {
    for (const PlateCase& c : kPlates) {
        SCOPED_TRACE(c.code);
        Grid g = squarePlate(c.code, Edge::Simple);
        const i32 centre = g.node(kCells, kCells);
        g.value(centre) = 1.0;
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_NEAR(std::abs(g.x(centre)), 0.0116, 0.0116 * c.wTol);
        EXPECT_NE(r.log.find("     Sum vertical loading  [N] :   1.000000E+00\n"), std::string::npos);
    }
}

// A distorted 2 x 2 patch pulled by a prescribed displacement at its right
// edge: every code gives the uniform field exactly.
TEST_F(Classical, DistortedPatchInUniformTension) {
    const double E = 1000.0, nu = 0.25, delta = 0.01, L = 2.0;
    for (i32 code : {31, 32, 33, 41, 42, 44, 46}) {
        SCOPED_TRACE(code);
        Grid g(code, 2, 2, L, 2.0, E, nu, 0.1);
        g.x(g.node(2, 2)) = 1.15;
        g.y(g.node(2, 2)) = 0.8;
        straightenSides(g);
        // The QST's corner gradients: du/dy is zero along both held edges,
        // as in the exact field; unheld it would let the edges bend.
        for (i32 n = 1; n <= g.key[1]; ++n) {
            if (g.x(n) == 0.0) g.fix(n, 1);
            if (g.x(n) == L) g.prescribe(n, 1, delta);
            if (code == 33 && (g.x(n) == 0.0 || g.x(n) == L)) g.fix(n, 5);
        }
        g.fix(g.node(0, 0), 2);
        const Grid before = g;
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        const double sx = E * delta / L;
        for (i32 n = 1; n <= g.key[1]; ++n) {
            EXPECT_NEAR(g.nodal[4 * std::size_t(n - 1)], delta * before.nodal[4 * std::size_t(n - 1)] / L, 1e-12);
            EXPECT_NEAR(g.nodal[4 * std::size_t(n - 1) + 1], -nu * delta * before.nodal[4 * std::size_t(n - 1) + 1] / L,
                        1e-12);
        }
        const i32 points = code == 33 ? 4 : code >= 41 ? 5 : 3;
        for (i32 e = 1; e <= g.key[0]; ++e)
            for (i32 p = 0; p < points; ++p) {
                EXPECT_NEAR(g.eldata(e, 3 * p + 1), sx, 1e-9 * sx);
                EXPECT_NEAR(g.eldata(e, 3 * p + 2), 0.0, 1e-9 * sx);
                EXPECT_NEAR(g.eldata(e, 3 * p + 3), 0.0, 1e-9 * sx);
            }
    }
}

// A cantilever 10 x 1 clamped at its left end, with a unit end shear as the
// consistent loads of a uniform edge traction: the tip deflection of beam
// theory with shear, P L^3 / 3EI + P L / (5/6 G A).
TEST_F(Classical, CantileverUnderEndShear) {
    const double E = 1000.0, nu = 0.25, t = 0.1, L = 10.0, h = 1.0;
    const double I = t * h * h * h / 12.0, G = E / (2.0 * (1.0 + nu));
    const double beam = L * L * L / (3.0 * E * I) + L / (5.0 / 6.0 * G * t * h);
    for (i32 code : {32, 42, 44, 46}) {
        SCOPED_TRACE(code);
        Grid g(code, 20, 2, L, h, E, nu, t);
        const bool quadratic = code != 42;
        for (i32 n = 1; n <= g.key[1]; ++n) {
            if (g.x(n) == 0.0) g.fix(n, 1), g.fix(n, 2);
        }
        // Nodes along the right edge, fine-grid rows 0..4.
        const double half = 0.5 * h / 2.0;  // load of one element side
        for (i32 j = 0; j <= 4; ++j) {
            if (!g.nodeAt.count({j, 40})) continue;
            double share;
            if (quadratic)
                share = j % 2 == 1 ? 4.0 / 6.0 * 2.0 * half : (j == 0 || j == 4 ? 1.0 : 2.0) / 6.0 * 2.0 * half;
            else
                share = (j == 0 || j == 4 ? 1.0 : 2.0) * half;
            g.pointLoad(g.node(40, j), 0.0, -share);
        }
        const i32 tip = g.node(40, 2);
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_NE(r.log.find("     Sum loading in y-dir  [N] :  -1.000000E+00\n"), std::string::npos);
        EXPECT_NEAR(-g.y(tip), beam, 0.01 * beam);
    }
}

// A quarter of a thick ring, radii 1 and 2, in plane strain with a radial
// displacement given at the inner face: the radial displacement of the
// outer face against the closed form u = A r + B / r, free outer face.
TEST_F(Classical, ThickCylinderInPlaneStrain) {
    const double E = 1000.0, nu = 0.3, a = 1.0, b = 2.0, ua = 0.01;
    const double B = ua / ((1.0 - 2.0 * nu) * a / (b * b) + 1.0 / a);
    const double ub = B * (2.0 - 2.0 * nu) / b;
    const double quarter = std::numbers::pi / 2.0;
    for (i32 code : {44, 46}) {
        SCOPED_TRACE(code);
        Grid g(code, 4, 8, b - a, quarter, E, nu, 1.0);
        g.key[17] = 1;
        std::vector<double> theta(std::size_t(g.key[1]));
        for (i32 n = 1; n <= g.key[1]; ++n) {
            const double r = a + g.x(n), th = g.y(n);
            theta[std::size_t(n - 1)] = th;
            g.x(n) = r * std::cos(th);
            g.y(n) = r * std::sin(th);
            const bool inner = r == a, first = th == 0.0, last = th == quarter;
            if (first) g.fix(n, 2);
            if (last) g.fix(n, 1);
            if (inner && !last) g.prescribe(n, 1, ua * std::cos(th));
            if (inner && !first) g.prescribe(n, 2, ua * std::sin(th));
        }
        std::vector<i32> outer;
        for (i32 n = 1; n <= g.key[1]; ++n)
            if (std::abs(std::hypot(g.x(n), g.y(n)) - b) < 1e-12) outer.push_back(n);
        const RunResult r = runGrid(g);
        ASSERT_EQ(r.status[0], 0) << r.log;
        EXPECT_NE(r.log.find("PLANE STRAIN"), std::string::npos);
        for (i32 n : outer) {
            const double th = theta[std::size_t(n - 1)];
            EXPECT_NEAR(g.x(n) * std::cos(th) + g.y(n) * std::sin(th), ub, 0.001 * ub) << n;
            EXPECT_NEAR(-g.x(n) * std::sin(th) + g.y(n) * std::cos(th), 0.0, 1e-3 * ub) << n;
        }
    }
}
