// Analyses from the drawn model to the results with the real solver and no
// window: a simply supported plate under pressure against the classical
// deflection, a membrane in uniform tension, the buckling of a plate in
// uniaxial compression against the classical critical stress, and the
// failures of meshing, input and solution. Each runs in a temporary folder
// where the solver leaves its run log.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <numbers>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/ferrand.h"
#include "platform/weblar/weblar.h"
#include "tests/analysis/work_dir.h"
#include "tests/analysis/log_lines.h"
#include "tests/analysis/plate_fixture.h"

namespace {

using analysistest::Lines;
using analysistest::Contains;
using platetest::Counters;

constexpr double kE = 210000.0;
constexpr double kNu = 0.3;

// A plate model drawn as the document would hold it: one material, a
// component (a shell component, which is also a plate component) and its
// regions, deleted component first.
struct Model {
    explicit Model(int code)
    {
        comp = std::make_unique<CShellComp>();
        comp->AddMaterial(&material);
        comp->SetElementType(code);
    }
    ~Model() { comp.reset(); }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // A rectangle 0..w x 0..h of thickness t; corners counter-clockwise
    // from the origin.
    CSectPlate* Rect(double w, double h, double t)
    {
        corner[0] = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
        corner[1] = new CBoundNode(w, 0.0, 0.0, nullptr, 0);
        corner[2] = new CBoundNode(w, h, 0.0, nullptr, 0);
        corner[3] = new CBoundNode(0.0, h, 0.0, nullptr, 0);
        region = new CSectPlate(corner[0], corner[1], corner[2], corner[3], &material);
        region->SetThickness(t);
        comp->AddTail(region);
        return region;
    }
    // A polygon through the points, counter-clockwise.
    CSectPlate* Polygon(std::vector<std::pair<double, double>> points, double t)
    {
        CObList nodes;
        for (auto [x, y] : points)
            nodes.AddTail(new CBoundNode(x, y, 0.0, nullptr, 0));
        region = new CSectPlate(&nodes, &material);
        region->SetThickness(t);
        comp->AddTail(region);
        return region;
    }
    // The outline edges whose both ends satisfy the test.
    std::vector<CBoundary*> Edges(bool (*on)(double x, double y))
    {
        std::vector<CBoundary*> out;
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CBoundary*>(edges.GetNext(p));
            if (on(e->GetNode1()->x, e->GetNode1()->y) && on(e->GetNode2()->x, e->GetNode2()->y))
                out.push_back(e);
        }
        return out;
    }
    // Divides the horizontal edges into nx and the vertical ones into ny
    // equal parts and meshes with the structured mesher.
    bool MeshStructured(int nx, int ny)
    {
        CObList edges;
        region->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;) {
            auto* e = static_cast<CEdge*>(edges.GetNext(p));
            e->SubDivideLin(1.0, (e->GetNode1()->y == e->GetNode2()->y ? nx : ny) - 1);
        }
        region->SetBoundaryConditions();
        start = Counters{};
        return comp->GenerateRegionMesh(&log, &errors, 1, 1);
    }
    // A uniform edge load of the first component on the edges.
    static void EdgeLoad(const std::vector<CBoundary*>& edges, double value)
    {
        for (CBoundary* e : edges) {
            auto* load = new CEdgeLoad;
            load->Allocate(6, true, 0.0);
            (*load)[0] = (*load)[2] = (*load)[4] = value;
            e->SetLoad(load);
        }
    }
    // The in-plane DOFs of a corner held (membrane conditions): both, or
    // the x direction only. A corner's own condition is kept when the
    // corners take the edges' conditions.
    void HoldCorner(int c, bool both = true)
    {
        auto* bc = new CBoundCond;
        bc->SetType(16);
        CVector v(both ? 4 : 2, true, 0.0);
        v[0] = 1.0;
        if (both)
            v[1] = 2.0;
        bc->SetBC(v);
        corner[c]->SetBC(bc, 0);
    }

    CMaterial material{"Steel", 7.85e-9, kE, kE / (2.0 * (1.0 + kNu)), kNu, 0.0};
    std::unique_ptr<CShellComp> comp;
    CBoundNode* corner[4] = {};
    CSectPlate* region = nullptr;
    CStringArray log, errors;
    // The identifier counters before the mesh generation.
    Counters start;
};

// The node coordinates in solver order, the results and the status of one
// direct solve of the component's current code.
struct Solution {
    std::vector<std::pair<double, double>> xy;
    std::vector<double> angles; // the node axes' angles of the solver input
    CMatrix elementData, nodes;
    int status[5] = {0, 0, 0, 0, 0};
    bool built = false;

    // Index of the node nearest to (x, y).
    int Nearest(double x, double y) const
    {
        int best = 0;
        for (int i = 1; i < static_cast<int>(xy.size()); ++i)
            if (std::hypot(xy[i].first - x, xy[i].second - y) <
                std::hypot(xy[best].first - x, xy[best].second - y))
                best = i;
        return best;
    }
    double ColumnSum(int c) const
    {
        double s = 0.0;
        for (int i = 0; i < nodes.GetRows(); ++i)
            s += nodes[i][c];
        return s;
    }
};

Solution Solve(Model& m, bool membrane)
{
    Solution s;
    CMatrix materials, data, nodes, prescribed, couplings, springs;
    CLongMatrix topology, suppressed;
    if (m.comp->BuildSolverData(materials, data, topology, nodes, suppressed, prescribed, couplings, springs,
                                0) == 1)
        for (int i = 0; i < nodes.GetRows(); ++i) {
            s.xy.emplace_back(nodes[i][0], nodes[i][1]);
            s.angles.push_back(nodes[i][2]);
        }
    s.built = membrane ? m.comp->SolveMembrane(&s.elementData, &s.nodes, s.status, &m.log, &m.errors)
                       : m.comp->SolvePlateBending(&s.elementData, &s.nodes, s.status, &m.log, &m.errors);
    return s;
}

class EndToEnd : public analysistest::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        CGraph::m_pNodeList = &m_nodes;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
        m_saved = Counters{};
    }
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        CGraph::lIDGraph = m_saved.graph;
        CSNode::lIDnode = m_saved.node;
        CEdge::lIDedge = m_saved.edge;
        WorkDirTest::TearDown();
    }

    NODELIST m_nodes;
    Counters m_saved;
};

bool AnyEdge(double x, double y) { return x == 0.0 || y == 0.0 || x == 1000.0 || y == 1000.0; }
bool LeftEdge(double x, double) { return x == 0.0; }

// Navier's double series of a simply supported plate lx x ly under a
// uniform load, at the centre: the deflection w D / q and the moment Mx / q
// (x along lx).
struct Navier {
    double w = 0.0, mx = 0.0;
};

Navier NavierCentre(double lx, double ly, double nu)
{
    const double pi = std::numbers::pi;
    Navier out;
    for (int m = 1; m < 400; m += 2)
        for (int n = 1; n < 400; n += 2) {
            const double sign = (m + n) % 4 == 2 ? 1.0 : -1.0; // sin(m pi/2) sin(n pi/2)
            const double kx = m / lx, ky = n / ly, k2 = kx * kx + ky * ky;
            out.w += sign / (m * n * k2 * k2);
            out.mx += sign * (kx * kx + nu * ky * ky) / (m * n * k2 * k2);
        }
    out.w *= 16.0 / std::pow(pi, 6);
    out.mx *= 16.0 / std::pow(pi, 4);
    return out;
}

// A square plate of 1000 mm, 10 mm thick, simply supported on its four
// edges (the corners take the edges' conditions), under 0.001 N/mm^2.
TEST_F(EndToEnd, SimplySupportedPlateUnderPressure)
{
    const double a = 1000.0, t = 10.0, q = 0.001;
    const double D = kE * t * t * t / (12.0 * (1.0 - kNu * kNu));
    const double w = NavierCentre(1.0, 1.0, kNu).w * q * a * a * a * a / D;
    // T18 is exact far below its limit on this mesh; DKT has its
    // discretisation error.
    for (auto [code, tolerance] : {std::pair{65, 0.01}, std::pair{81, 1e-4}}) {
        SCOPED_TRACE(code);
        Model m(code);
        m.Rect(a, a, t)->SetLoad(q);
        for (CBoundary* e : m.Edges(&AnyEdge))
            e->SetBC(1u, 0);
        ASSERT_TRUE(m.MeshStructured(32, 32)) << Lines(m.errors).size();
        Solution s = Solve(m, false);
        EXPECT_EQ(Counters{}, m.start);
        ASSERT_TRUE(s.built);
        ASSERT_EQ(s.status[0], 0);
        const int centre = s.Nearest(a / 2, a / 2);
        ASSERT_NEAR(s.xy[centre].first, a / 2, 1e-9);
        EXPECT_NEAR(std::fabs(s.nodes[centre][0]), w, tolerance * w);
        EXPECT_NEAR(std::fabs(s.ColumnSum(3)), q * a * a, 1e-6 * q * a * a);
        EXPECT_TRUE(Exists("Brantel.log"));
    }
}

// The results of the component's last run on the mesh of a region.
struct MeshResults {
    explicit MeshResults(CSectPlate* region) : elements(platetest::Elements(region)) {}

    CSNode* Nearest(double x, double y) const
    {
        CSNode* best = nullptr;
        for (CElement* e : elements)
            for (int k = 0; k < e->GetCount(); ++k) {
                CSNode* n = e->GetNode(k);
                if (!best || std::hypot(n->x - x, n->y - y) < std::hypot(best->x - x, best->y - y))
                    best = n;
            }
        return best;
    }
    // Element result r (a moment or shear force) at the node, the mean over
    // the elements that meet there.
    double ElementMean(const CSNode* node, int r) const
    {
        double sum = 0.0;
        int count = 0;
        for (CElement* e : elements)
            for (int k = 0; k < e->GetCount(); ++k)
                if (e->GetNode(k) == node) {
                    sum += e->GetStressFromIndex(r, k);
                    ++count;
                }
        return count ? sum / count : 0.0;
    }

    std::vector<CElement*> elements;
};

// Closed-form plates under uniform pressure, drawn and analysed as a user
// would: the regions and the kinds on their edges, the corners taking what
// the edges give them, meshed and solved by the component.
enum class Plate {
    SimplySupportedRectangle, // b x 2b, Navier's series
    FixedAndSimplySupported,  // a square, edges x = 0 and x = a fixed
    MorleySkew,               // rhombus of side L, 30 degrees, simply supported
    Polygon,                  // a regular polygon of radius a, sides as drawn
};

struct ClosedFormCase {
    const char* name;
    int code;
    Plate plate;
    int divisions; // mesh: spacing L / divisions (rectangles), subdivisions
                   // (skew plate) or the polygon's sides
    unsigned kind; // the edges' kind (the fixed edges aside)
    double w;      // w D / (q L^4) at the centre, 0 for Navier's series
    double tolerance;
};

void PrintTo(const ClosedFormCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClosedForm : public EndToEnd, public testing::WithParamInterface<ClosedFormCase>
{
};

TEST_P(ClosedForm, CentreDeflection)
{
    const ClosedFormCase& c = GetParam();
    const double L = 1000.0, t = 10.0, q = 0.001;
    const double D = kE * t * t * t / (12.0 * (1.0 - kNu * kNu));
    const double pi = std::numbers::pi;
    const Navier navier = NavierCentre(1.0, 2.0, kNu);
    Model m(c.code);
    double cx = L / 2, cy = L / 2, expected = c.w;
    switch (c.plate) {
    case Plate::SimplySupportedRectangle:
        m.Rect(L, 2 * L, t);
        cy = L;
        expected = navier.w;
        break;
    case Plate::FixedAndSimplySupported:
        m.Rect(L, L, t);
        break;
    case Plate::MorleySkew: {
        const double dx = L * std::cos(pi / 6), dy = L * std::sin(pi / 6);
        m.Polygon({{0, 0}, {L, 0}, {L + dx, dy}, {dx, dy}}, t);
        cx = (L + dx) / 2;
        cy = dy / 2;
        break;
    }
    case Plate::Polygon: {
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < c.divisions; ++i)
            points.emplace_back(L * std::cos(2 * pi * i / c.divisions),
                                L * std::sin(2 * pi * i / c.divisions));
        m.Polygon(points, t);
        cx = cy = 0.0;
        break;
    }
    }
    CObList edges;
    m.region->GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;) {
        auto* e = static_cast<CBoundary*>(edges.GetNext(p));
        const bool fixed =
            c.plate == Plate::FixedAndSimplySupported && e->GetNode1()->x == e->GetNode2()->x;
        e->SetBC(fixed ? 2u : c.kind, 0);
    }
    m.region->SetLoad(q);
    m.region->SetBoundaryConditions();
    switch (c.plate) {
    case Plate::SimplySupportedRectangle:
    case Plate::FixedAndSimplySupported:
        // A structured mesh of squares of side L / c.divisions.
        for (CBoundNode* corner : m.corner)
            corner->SetSNodSpace(L / c.divisions, true);
        m.comp->m_bAutoSpacing = false;
        break;
    case Plate::MorleySkew: {
        // The obtuse corners held as Morley's plate is, simply supported
        // along the tangent of the outline (15 degrees): set by the user on
        // the node page ("User defined", the rows of a simple support),
        // since a corner of two supported edges holds both slopes, which on
        // this mesh gives a plate 10 % (DKT) and 16 % (T18) stiffer.
        CObList nodes;
        m.region->GetNodes(nodes);
        for (POSITION p = nodes.GetHeadPosition(); p;) {
            auto* n = static_cast<CBoundNode*>(nodes.GetNext(p));
            if ((n->x == L && n->y == 0.0) || (n->x == L * std::cos(pi / 6) && n->y > 0.0)) {
                auto* bc = new CBoundCond;
                bc->SetType(16);
                bc->SetBC(*CPlateComp::GetSupportDOFs(c.code, 1));
                bc->SetAngle(pi / 12);
                n->SetBC(bc, 0);
            }
        }
        // A free mesh with a node at the centre.
        m.region->AddRefinePoint(new CSNode(cx, cy, 0.0, nullptr, 0));
        m.comp->m_iSubdivisions = c.divisions;
        m.comp->m_nMinElements = 0;
        break;
    }
    case Plate::Polygon: {
        // The sides as drawn; the mesh grows finer towards the centre.
        auto* centre = new CSNode(cx, cy, 0.0, nullptr, 0);
        centre->SetSNodSpace(L * 0.05, true);
        m.region->AddRefinePoint(centre);
        m.comp->m_bAutoSpacing = false;
        break;
    }
    }
    // Every corner of the outline holds a support.
    CObList corners;
    m.region->GetNodes(corners);
    for (POSITION p = corners.GetHeadPosition(); p;) {
        auto* n = static_cast<CBoundNode*>(corners.GetNext(p));
        ASSERT_NE(n->GetBC(0), nullptr) << n->x << " " << n->y;
        EXPECT_NE(n->GetBC(0)->GetBCType(), 0u) << n->x << " " << n->y;
    }
    ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
    ASSERT_TRUE(m.comp->CPlateComp::Calculate(&m.log, &m.errors))
        << (m.errors.GetSize() ? m.errors[0].GetString() : "");
    const MeshResults r(m.region);
    const CSNode* centre = r.Nearest(cx, cy);
    ASSERT_NEAR(std::hypot(centre->x - cx, centre->y - cy), 0.0, 1e-9);
    const double w = std::fabs(centre->GetValue(0)) * D / (q * L * L * L * L);
    EXPECT_NEAR(w, expected, c.tolerance * expected) << r.elements.size() << " elements";
    if (c.plate == Plate::SimplySupportedRectangle) {
        const double mx = std::fabs(r.ElementMean(centre, 0)) / (q * L * L);
        EXPECT_NEAR(mx, navier.mx, c.tolerance * navier.mx);
        // The corner force holds the corner down, against the reactions
        // along the edges: 0.0925 q b^2 for this plate.
        const double corner = r.Nearest(0.0, 0.0)->GetValue(3);
        EXPECT_LT(corner * r.Nearest(L / 2, 0.0)->GetValue(3), 0.0);
        EXPECT_NEAR(std::fabs(corner) / (q * L * L), 0.0925, 0.03 * 0.0925);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Plates, ClosedForm,
    testing::Values(
        // T18 is exact to far below the limit on this mesh once the corners
        // leave the twist free.
        ClosedFormCase{"RectangleT18", 81, Plate::SimplySupportedRectangle, 32, 1, 0.0, 1e-4},
        ClosedFormCase{"RectangleDKT", 65, Plate::SimplySupportedRectangle, 32, 1, 0.0, 0.01},
        // Two opposite edges fixed, the other two simply supported.
        ClosedFormCase{"FixedAndSimplySupportedT18", 81, Plate::FixedAndSimplySupported, 16, 1,
                       0.00192, 0.01},
        ClosedFormCase{"FixedAndSimplySupportedDKT", 65, Plate::FixedAndSimplySupported, 16, 1,
                       0.00192, 0.01},
        ClosedFormCase{"MorleySkewT18", 81, Plate::MorleySkew, 64, 1, 0.000408, 0.03},
        ClosedFormCase{"MorleySkewDKT", 65, Plate::MorleySkew, 64, 1, 0.000408, 0.03},
        // Circular plates: clamped q a^4 / (64 D), simply supported
        // (5 + nu) q a^4 / (64 (1 + nu) D).
        ClosedFormCase{"Clamped64T18", 81, Plate::Polygon, 64, 2, 1.0 / 64, 0.01},
        ClosedFormCase{"Clamped64DKT", 65, Plate::Polygon, 64, 2, 1.0 / 64, 0.01},
        ClosedFormCase{"SimplySupported64T18", 81, Plate::Polygon, 64, 1,
                       (5 + kNu) / (64 * (1 + kNu)), 0.01},
        ClosedFormCase{"SimplySupported64DKT", 65, Plate::Polygon, 64, 1,
                       (5 + kNu) / (64 * (1 + kNu)), 0.01},
        ClosedFormCase{"Clamped128T18", 81, Plate::Polygon, 128, 2, 1.0 / 64, 0.01},
        ClosedFormCase{"Clamped128DKT", 65, Plate::Polygon, 128, 2, 1.0 / 64, 0.01},
        ClosedFormCase{"SimplySupported128T18", 81, Plate::Polygon, 128, 1,
                       (5 + kNu) / (64 * (1 + kNu)), 0.01},
        ClosedFormCase{"SimplySupported128DKT", 65, Plate::Polygon, 128, 1,
                       (5 + kNu) / (64 * (1 + kNu)), 0.01}),
    [](const testing::TestParamInfo<ClosedFormCase>& info) {
        return std::string(info.param.name);
    });

// A strip 2L x b over three line supports, drawn as two regions that share
// the edge x = L, with lines of symmetry along y = 0 and y = b: it bends as
// a beam of stiffness D over two equal spans, whatever holds the middle
// line (simply supported or fixed, each span then a propped cantilever).
// The ends of the middle line, where three conditioned edges meet, hold w.
TEST_F(EndToEnd, ContinuousStripMatchesTheTwoSpanBeam)
{
    const double L = 1000.0, b = 200.0, t = 10.0, q = 0.001;
    const double D = kE * t * t * t / (12.0 * (1.0 - kNu * kNu));
    // The propped cantilever, pinned at x = 0 and held level at x = L.
    auto beamW = [&](double x) {
        const double s = x / L;
        return q * L * L * L * L / (48.0 * D) * s * (1.0 - 3.0 * s * s + 2.0 * s * s * s);
    };
    const double peak = L * (1.0 + std::sqrt(33.0)) / 16.0; // 0.4215 L
    const double supportMoment = q * L * L / 8.0;
    struct Case {
        int code;
        unsigned middle; // the middle line's kind
        double tolerance;
    };
    for (const Case& c : {Case{81, 1, 0.005}, Case{81, 2, 0.005}, Case{65, 1, 0.02}, Case{65, 2, 0.02}}) {
        SCOPED_TRACE(testing::Message() << c.code << " middle kind " << c.middle);
        Model m(c.code);
        CBoundNode* n[6] = {new CBoundNode(0.0, 0.0, 0.0, nullptr, 0), new CBoundNode(L, 0.0, 0.0, nullptr, 0),
                            new CBoundNode(2 * L, 0.0, 0.0, nullptr, 0), new CBoundNode(2 * L, b, 0.0, nullptr, 0),
                            new CBoundNode(L, b, 0.0, nullptr, 0), new CBoundNode(0.0, b, 0.0, nullptr, 0)};
        auto* left = new CSectPlate(n[0], n[1], n[4], n[5], &m.material);
        auto* right = new CSectPlate(n[1], n[2], n[3], n[4], &m.material);
        for (CSectPlate* r : {left, right}) {
            r->SetThickness(t);
            r->SetLoad(q);
            m.comp->AddTail(r);
        }
        for (CSectPlate* r : {left, right}) {
            CObList edges;
            r->GetEdges(edges);
            for (POSITION p = edges.GetHeadPosition(); p;) {
                auto* e = static_cast<CBoundary*>(edges.GetNext(p));
                const double x = e->GetNode1()->x;
                if (e->GetNode1()->y == e->GetNode2()->y)
                    e->SetBC(4u, 0);
                else
                    e->SetBC(x == L ? c.middle : 1u, 0);
            }
        }
        m.comp->SetBoundaryConditions();
        for (int i : {1, 4}) {
            ASSERT_NE(n[i]->GetBC(0), nullptr);
            EXPECT_EQ(n[i]->GetBC(0)->GetBCType(), c.middle | 4u);
        }
        for (CBoundNode* node : n)
            node->SetSNodSpace(L / 20, true);
        m.comp->m_bAutoSpacing = false;
        ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
        ASSERT_TRUE(m.comp->CPlateComp::Calculate(&m.log, &m.errors))
            << (m.errors.GetSize() ? m.errors[0].GetString() : "");
        MeshResults r(left);
        for (CElement* e : platetest::Elements(right))
            r.elements.push_back(e);
        // Every node of the middle line stays down, its ends included.
        int onLine = 0;
        std::set<CSNode*> seen;
        for (CElement* e : r.elements)
            for (int k = 0; k < e->GetCount(); ++k) {
                CSNode* node = e->GetNode(k);
                if (node->x == L && seen.insert(node).second) {
                    ++onLine;
                    EXPECT_EQ(node->GetValue(0), 0.0) << node->y;
                }
            }
        EXPECT_GE(onLine, 5);
        for (double y : {0.0, b / 2, b}) {
            const CSNode* span = r.Nearest(peak, y);
            EXPECT_NEAR(std::fabs(span->GetValue(0)), beamW(span->x), c.tolerance * beamW(span->x)) << y;
        }
        const double moment = r.ElementMean(r.Nearest(L, b / 2), 0);
        EXPECT_NEAR(std::fabs(moment), supportMoment, c.tolerance * supportMoment);
    }
}

// A simply supported square of four regions with two supported lines
// crossing at its centre: the crossing node holds w.
TEST_F(EndToEnd, CrossingSupportLinesHoldTheirCrossing)
{
    const double a = 1000.0, t = 10.0, q = 0.001;
    Model m(81);
    std::map<std::pair<int, int>, CBoundNode*> nodes;
    auto node = [&](int i, int j) {
        CBoundNode*& n = nodes[{i, j}];
        if (!n)
            n = new CBoundNode(i * a / 2, j * a / 2, 0.0, nullptr, 0);
        return n;
    };
    std::vector<CSectPlate*> regions;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) {
            auto* r = new CSectPlate(node(i, j), node(i + 1, j), node(i + 1, j + 1), node(i, j + 1), &m.material);
            r->SetThickness(t);
            r->SetLoad(q);
            m.comp->AddTail(r);
            regions.push_back(r);
        }
    for (CSectPlate* r : regions) {
        CObList edges;
        r->GetEdges(edges);
        for (POSITION p = edges.GetHeadPosition(); p;)
            static_cast<CBoundary*>(edges.GetNext(p))->SetBC(1u, 0);
    }
    m.comp->SetBoundaryConditions();
    ASSERT_NE(node(1, 1)->GetBC(0), nullptr);
    EXPECT_EQ(node(1, 1)->GetBC(0)->GetBCType(), 0x20u | 1u);
    for (auto& [ij, n] : nodes)
        n->SetSNodSpace(a / 16, true);
    m.comp->m_bAutoSpacing = false;
    ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
    ASSERT_TRUE(m.comp->CPlateComp::Calculate(&m.log, &m.errors));
    MeshResults r(regions[0]);
    const CSNode* centre = r.Nearest(a / 2, a / 2);
    ASSERT_EQ(centre->x, a / 2);
    ASSERT_EQ(centre->y, a / 2);
    EXPECT_EQ(centre->GetValue(0), 0.0);
    // The four quarters bend alike, each held level along the two lines.
    for (CSectPlate* region : regions)
        for (CElement* e : platetest::Elements(region))
            r.elements.push_back(e);
    const double w = r.Nearest(a / 4, a / 4)->GetValue(0);
    EXPECT_GT(std::fabs(w), 0.0);
    for (auto [x, y] : {std::pair{0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}})
        EXPECT_NEAR(r.Nearest(x * a, y * a)->GetValue(0), w, 1e-6 * std::fabs(w));
}

// DKT moments are constant over each element, so the elements meeting at a
// node give it different values; smoothing gives every node the mean of
// the values its elements had there.
TEST_F(EndToEnd, SmoothingAveragesTheElementValuesAtEachNode)
{
    Model m(65);
    m.Rect(1000.0, 1000.0, 10.0)->SetLoad(0.001);
    for (CBoundary* e : m.Edges(&AnyEdge))
        e->SetBC(1u, 0);
    ASSERT_TRUE(m.MeshStructured(8, 8));
    ASSERT_TRUE(m.comp->CPlateComp::Calculate(&m.log, &m.errors));
    MeshResults r(m.region);
    const CSNode* node = r.Nearest(250.0, 375.0);
    std::vector<double> before;
    for (CElement* e : r.elements)
        for (int k = 0; k < e->GetCount(); ++k)
            if (e->GetNode(k) == node)
                before.push_back(e->GetStressFromIndex(0, k));
    ASSERT_GE(before.size(), 3u);
    const auto [low, high] = std::minmax_element(before.begin(), before.end());
    ASSERT_GT(*high - *low, 1e-3 * std::fabs(*high)) << "the raw field already agrees at the node";
    const double mean = r.ElementMean(node, 0);
    ASSERT_TRUE(m.comp->Smooth(false));
    for (CElement* e : r.elements)
        for (int k = 0; k < e->GetCount(); ++k)
            if (e->GetNode(k) == node) {
                EXPECT_NEAR(e->GetStressFromIndex(0, k), mean, 1e-9 * std::fabs(mean));
            }
}

// A 200 x 100 mm membrane, 5 mm thick, pulled with 10 N/mm on its edge
// x = 200: a uniform sigma_x of 2 N/mm^2 at every stress point.
TEST_F(EndToEnd, MembraneInUniformTension)
{
    struct Case {
        int code;
        bool outline; // a five-node outline meshed by the triangle mesher
        int points;   // stress points per element
    } cases[] = {{31, false, 3}, {32, false, 3}, {41, false, 5}, {44, false, 5}, {31, true, 3}, {32, true, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << (c.outline ? " outline" : ""));
        Model m(c.code);
        if (c.outline) {
            m.Polygon({{0, 0}, {100, 0}, {200, 0}, {200, 100}, {0, 100}}, 5.0);
        } else {
            m.Rect(200.0, 100.0, 5.0);
        }
        for (CBoundary* e : m.Edges(&LeftEdge))
            e->SetBC(1u, 0);
        Model::EdgeLoad(m.Edges([](double x, double) { return x == 200.0; }), 10.0);
        // One node held against y as well.
        CObList nodes;
        m.region->GetNodes(nodes);
        for (POSITION p = nodes.GetHeadPosition(); p;) {
            auto* n = static_cast<CBoundNode*>(nodes.GetNext(p));
            if (n->x == 0.0 && n->y == 0.0) {
                m.corner[0] = n;
                m.HoldCorner(0);
            }
        }
        m.region->SetBoundaryConditions();
        m.comp->m_iSubdivisions = 8;
        const Counters before;
        ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
        Solution s = Solve(m, true);
        EXPECT_EQ(Counters{}, before);
        ASSERT_TRUE(s.built);
        ASSERT_EQ(s.status[0], 0);
        for (int e = 0; e < s.elementData.GetRows(); ++e)
            for (int p = 0; p < c.points; ++p) {
                EXPECT_NEAR(s.elementData[e][3 * p], 2.0, 2e-9) << e << " " << p;
                EXPECT_NEAR(s.elementData[e][3 * p + 1], 0.0, 1e-9) << e << " " << p;
                EXPECT_NEAR(s.elementData[e][3 * p + 2], 0.0, 1e-9) << e << " " << p;
            }
        EXPECT_NEAR(s.ColumnSum(2), -1000.0, 1e-6);
        EXPECT_TRUE(Exists("Brantel.log"));
    }
}

// A parallelogram membrane on rollers along the two edges that meet at its
// corner at the origin, at 60 or 120 degrees ("Roller 1": each edge holds
// the displacement across it), pulled by q = 10 N/mm across its two other
// edges: sigma_x = sigma_y = q / t everywhere and tau_xy 0, the corner held
// both ways (each edge holds its own normal), and the reactions balance the
// edge loads. A corner that slid along the bisector would leave the plate
// free to move along it.
TEST_F(EndToEnd, RollerEdgesAtAnObliqueCornerHoldItBothWays)
{
    const double a = 200.0, b = 120.0, t = 5.0, q = 10.0;
    for (double degrees : {60.0, 120.0})
        for (int code : {31, 41}) {
            SCOPED_TRACE(testing::Message() << degrees << " degrees, code " << code);
            const double th = degrees * std::numbers::pi / 180.0;
            const double cx = b * std::cos(th), cy = b * std::sin(th);
            Model m(code);
            m.Polygon({{0, 0}, {a, 0}, {a + cx, cy}, {cx, cy}}, t);
            std::vector<CBoundary*> rollers, loaded;
            CObList edges;
            m.region->GetEdges(edges);
            for (POSITION p = edges.GetHeadPosition(); p;) {
                auto* e = static_cast<CBoundary*>(edges.GetNext(p));
                const bool atOrigin = (e->GetNode1()->x == 0.0 && e->GetNode1()->y == 0.0) ||
                                      (e->GetNode2()->x == 0.0 && e->GetNode2()->y == 0.0);
                (atOrigin ? rollers : loaded).push_back(e);
            }
            ASSERT_EQ(rollers.size(), 2u);
            ASSERT_EQ(loaded.size(), 2u);
            double fx = 0.0, fy = 0.0; // the edge loads' resultant
            for (CBoundary* e : rollers)
                e->SetBC(1u, 0);
            for (CBoundary* e : loaded) {
                // The outward normal of a counter-clockwise outline.
                CSNode *n1 = e->GetNode1(), *n2 = e->GetNode2();
                const double len = std::hypot(n2->x - n1->x, n2->y - n1->y);
                double nx = (n2->y - n1->y) / len, ny = -(n2->x - n1->x) / len;
                const double mx = 0.5 * (n1->x + n2->x) - 0.5 * (a + cx),
                             my = 0.5 * (n1->y + n2->y) - 0.5 * cy;
                if (nx * mx + ny * my < 0.0)
                    nx = -nx, ny = -ny;
                auto* load = new CEdgeLoad;
                load->Allocate(6, true, 0.0);
                for (int k = 0; k < 3; ++k) {
                    (*load)[2 * k] = q * nx;
                    (*load)[2 * k + 1] = q * ny;
                }
                e->SetLoad(load);
                fx += q * nx * len;
                fy += q * ny * len;
            }
            m.comp->m_iSubdivisions = 8;
            ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
            Solution s = Solve(m, true);
            ASSERT_TRUE(s.built) << (m.errors.GetSize() ? m.errors[0].GetString() : "");
            ASSERT_EQ(s.status[0], 0);
            const int points = code == 31 ? 3 : 5;
            for (int e = 0; e < s.elementData.GetRows(); ++e)
                for (int p = 0; p < points; ++p) {
                    EXPECT_NEAR(s.elementData[e][3 * p], q / t, 1e-9) << e << " " << p;
                    EXPECT_NEAR(s.elementData[e][3 * p + 1], q / t, 1e-9) << e << " " << p;
                    EXPECT_NEAR(s.elementData[e][3 * p + 2], 0.0, 1e-9) << e << " " << p;
                }
            // The reactions (in x and y at every node) balance the loads.
            EXPECT_NEAR(s.ColumnSum(2), -fx, 1e-6 * q * a);
            EXPECT_NEAR(s.ColumnSum(3), -fy, 1e-6 * q * a);
        }
}

// A load in the node's own axes at an outline node that the user made Free
// with its own angle (30 degrees) on the node page: the mesh keeps the angle
// (the solver input's node axes), so the load acts along the node's x axis
// and the node moves as under the same force given in x and y (the solver
// reports displacements in x and y).
TEST_F(EndToEnd, ANodeLoadActsInTheAxesOfAFreeNode)
{
    const double angle = std::numbers::pi / 6.0, f = 1000.0;
    double moved[2][2] = {};
    for (int local = 0; local < 2; ++local) {
        SCOPED_TRACE(local);
        Model m(31);
        m.Rect(200.0, 100.0, 5.0);
        for (CBoundary* e : m.Edges(&LeftEdge))
            e->SetBC(2u, 0);
        auto* load = new CNodeLoad;
        load->Allocate(2, true, 0.0);
        if (local) {
            // The node page: "Free", then the node's own angle.
            m.corner[2]->ClearBC(0);
            m.corner[2]->SetAngle(angle, 0);
            (*load)[0] = f;
            load->SetLocal(true);
        } else {
            (*load)[0] = f * std::cos(angle);
            (*load)[1] = f * std::sin(angle);
        }
        m.corner[2]->SetNodeLoad(load);
        m.comp->m_iSubdivisions = 8;
        ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
        Solution s = Solve(m, true);
        ASSERT_TRUE(s.built);
        ASSERT_EQ(s.status[0], 0);
        const int n = s.Nearest(200.0, 100.0);
        EXPECT_NEAR(s.angles[n], local ? angle : 0.0, 1e-15);
        moved[local][0] = s.nodes[n][0];
        moved[local][1] = s.nodes[n][1];
        // The model keeps what the user set.
        CBoundCond* own = m.corner[2]->GetBC(0);
        EXPECT_EQ(own ? own->GetAngle() : 0.0, local ? angle : 0.0);
    }
    const double scale = std::hypot(moved[0][0], moved[0][1]);
    ASSERT_GT(scale, 0.0);
    EXPECT_NEAR(moved[1][0], moved[0][0], 1e-9 * scale);
    EXPECT_NEAR(moved[1][1], moved[0][1], 1e-9 * scale);
}

// A strip 200 x 20 mm warmed by dT = 50 through the region's temperature,
// held against x at its left edge (and at the origin against y): with the
// right edge held as well sigma_x = -E alpha dT (plane stress) or
// -E alpha dT / (1 - nu) (plane strain: the material held through the
// thickness pushes back); left free the right edge moves by alpha dT L or
// (1 + nu) alpha dT L, free of stress. Sigma_y and tau_xy stay 0.
TEST_F(EndToEnd, WarmedStripUnderPlaneStressAndPlaneStrain)
{
    const double L = 200.0, alpha = 1.2e-5, dT = 50.0;
    struct Element {
        int code, points;
    } elements[] = {{32, 3}, {44, 5}};
    for (const Element& el : elements)
        for (int planeStrain = 0; planeStrain <= 1; ++planeStrain)
            for (bool restrained : {true, false}) {
                SCOPED_TRACE(testing::Message() << el.code << (planeStrain ? " plane strain" : " plane stress")
                                                << (restrained ? " restrained" : " free"));
                Model m(el.code);
                m.material.SetLambda(alpha);
                m.Rect(L, 20.0, 5.0);
                CVector temperature(4, true, 0.0); // a temperature plane without slopes
                m.region->SetLoad(dT, temperature);
                for (CBoundary* e : m.Edges(&LeftEdge))
                    e->SetBC(1u, 0);
                if (restrained)
                    for (CBoundary* e : m.Edges([](double x, double) { return x == 200.0; }))
                        e->SetBC(1u, 0);
                m.HoldCorner(0);
                m.comp->m_iPlaneStrain = planeStrain;
                m.comp->m_iSubdivisions = 10;
                ASSERT_TRUE(m.comp->PreCalc(&m.log, &m.errors, 0));
                Solution s = Solve(m, true);
                ASSERT_TRUE(s.built);
                ASSERT_EQ(s.status[0], 0);
                const double free = planeStrain ? (1.0 + kNu) * alpha * dT : alpha * dT;
                const double sx = !restrained ? 0.0 : planeStrain ? -kE * alpha * dT / (1.0 - kNu) : -kE * alpha * dT;
                // The strain across: free, or widened by Poisson's ratio where x is held.
                const double ey = !restrained ? free
                                  : planeStrain ? (1.0 + kNu) * alpha * dT / (1.0 - kNu)
                                                : (1.0 + kNu) * alpha * dT;
                for (int e = 0; e < s.elementData.GetRows(); ++e)
                    for (int p = 0; p < el.points; ++p) {
                        EXPECT_NEAR(s.elementData[e][3 * p], sx, 1e-9 * 200.0) << e << " " << p;
                        EXPECT_NEAR(s.elementData[e][3 * p + 1], 0.0, 1e-9 * 200.0) << e << " " << p;
                        EXPECT_NEAR(s.elementData[e][3 * p + 2], 0.0, 1e-9 * 200.0) << e << " " << p;
                    }
                const int end = s.Nearest(L, 20.0);
                EXPECT_NEAR(s.nodes[end][0], restrained ? 0.0 : free * L, 1e-10);
                EXPECT_NEAR(s.nodes[end][1], ey * 20.0, 1e-10);
            }
}

// The plate of the pressure case, compressed along x by 1 N/mm^2, buckles
// at k pi^2 D / (b^2 t) with k = 4 (75.92 N/mm^2), which T18 meets far
// below the limit on this mesh.
TEST_F(EndToEnd, BucklingInUniaxialCompression)
{
    const double b = 1000.0, t = 10.0;
    const double D = kE * t * t * t / (12.0 * (1.0 - kNu * kNu));
    const double critical = 4.0 * std::numbers::pi * std::numbers::pi * D / (b * b * t);
    Model m(31);
    m.Rect(b, b, t);
    // Membrane: held against x on x = 0 and at the origin against y.
    for (CBoundary* e : m.Edges(&LeftEdge))
        e->SetBC(1u, 0);
    m.HoldCorner(0);
    m.HoldCorner(3, false);
    Model::EdgeLoad(m.Edges([](double x, double) { return x == 1000.0; }), -t);
    // Plate: all four edges and the corners simply supported.
    for (CBoundary* e : m.Edges(&AnyEdge))
        e->SetBC(1u, 1);
    m.region->SetBoundaryConditions();
    for (CBoundNode* c : m.corner)
        c->SetStandBC(1, 1);
    m.comp->m_iSubdivisions = 12;
    const Counters before;
    m.comp->SetBucklingCtrl(CShellComp::kBucklingType, 81);
    m.comp->SetBucklingCtrl(CShellComp::kModes, 2);

    struct Case {
        int solver;
        int basis;
    } cases[] = {{2, 1}, {1, 0}, {2, 0}};
    double first[3] = {};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        m.comp->SetBucklingCtrl(CShellComp::kEigensolver, cases[i].solver);
        m.comp->SetBucklingCtrl(CShellComp::kForceBasis, cases[i].basis);
        CStringArray log, errors;
        ASSERT_TRUE(m.comp->Calculate(&log, &errors)) << (errors.GetSize() ? errors[0].GetString() : "");
        EXPECT_EQ(Contains(Lines(log), "Perfoming membrane analysis\r\n"), i == 0);
        ASSERT_EQ(m.comp->m_iResultState, 3);
        first[i] = m.comp->GetMaxVals()[5];
        EXPECT_NEAR(first[i], critical, 1e-4 * critical);
        EXPECT_TRUE(Exists("Brantel.log"));
        EXPECT_TRUE(Exists("Brantel_B.log"));
    }
    EXPECT_NEAR(first[2], first[0], 1e-6 * first[0]) << "per element and per node agree";
    EXPECT_EQ(Counters{}, before);

    // The corners held as where two simply supported edges meet at a right
    // angle (the twist free): still k = 4.
    for (CBoundNode* c : m.corner)
        c->SetStandBC(33, 1);
    m.comp->SetBucklingCtrl(CShellComp::kEigensolver, cases[0].solver);
    m.comp->SetBucklingCtrl(CShellComp::kForceBasis, cases[0].basis);
    CStringArray log, errors;
    ASSERT_TRUE(m.comp->Calculate(&log, &errors))
        << (errors.GetSize() ? errors[0].GetString() : "");
    EXPECT_NEAR(m.comp->GetMaxVals()[5], critical, 1e-4 * critical);
}

TEST_F(EndToEnd, Failures)
{
    const std::string solverHeader = "Brantel returned an error while solving:\r\n";
    {
        // No region.
        Model m(31);
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->PreCalc(&log, &errors, 0));
        EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh\r\n"});
        EXPECT_EQ(Lines(errors), std::vector<std::string>{"No model is defined\r\n"});
        CStringArray log2, errors2;
        EXPECT_FALSE(m.comp->Calculate(&log2, &errors2));
        EXPECT_EQ(Lines(log2).back(), "*** Not able to generate mesh ***\r\n");
        EXPECT_EQ(Lines(errors2), std::vector<std::string>{"No model is defined\r\n"});
    }
    {
        // A shortest edge of 1/20000 of the longest.
        Model m(31);
        m.Polygon({{0, 0}, {1000, 0}, {1000, 1000}, {0.05, 1000}, {0, 1000}}, 10.0);
        const Counters before;
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->PreCalc(&log, &errors, 0));
        EXPECT_EQ(Lines(errors), (std::vector<std::string>{
                                     "An error occurred while spacing nodes\r\n",
                                     "The model contains an unresonably small edge (code 2)\r\n"}));
        EXPECT_EQ(Counters{}, before);
        EXPECT_FALSE(m.comp->m_bBusy);
    }
    for (bool buckling : {false, true}) {
        // No support.
        SCOPED_TRACE(buckling);
        Model m(31);
        m.Rect(200.0, 100.0, 5.0);
        Model::EdgeLoad(m.Edges([](double x, double) { return x == 200.0; }), 10.0);
        ASSERT_TRUE(m.MeshStructured(4, 2));
        CStringArray log, errors;
        EXPECT_FALSE(buckling ? m.comp->Calculate(&log, &errors) : m.comp->CPlateComp::Calculate(&log, &errors));
        EXPECT_TRUE(Contains(Lines(errors), "Error while generating boundary conditions\r\n"));
        EXPECT_FALSE(m.comp->m_bBusy);
        EXPECT_FALSE(Exists("Brantel.log")) << "the solver is not called";
    }
    {
        // Free to move along y.
        Model m(31);
        m.Rect(200.0, 100.0, 5.0);
        for (CBoundary* e : m.Edges(&LeftEdge))
            e->SetBC(1u, 0);
        Model::EdgeLoad(m.Edges([](double x, double) { return x == 200.0; }), 10.0);
        ASSERT_TRUE(m.MeshStructured(4, 2));
        CStringArray log, errors;
        EXPECT_FALSE(m.comp->CPlateComp::Calculate(&log, &errors));
        ASSERT_FALSE(Lines(log).empty());
        EXPECT_EQ(Lines(log).back(), "*** Calculation returned with error ***\r\n");
        ASSERT_EQ(Lines(errors).size(), 1u);
        EXPECT_EQ(Lines(errors)[0].rfind(solverHeader, 0), 0u) << Lines(errors)[0];
        EXPECT_GT(Lines(errors)[0].size(), solverHeader.size());
        EXPECT_TRUE(Exists("Brantel.log"));
    }
}

} // namespace
