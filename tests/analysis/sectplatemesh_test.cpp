// Plate region meshing: structured or triangle meshes, holes, element names,
// element data, materials and boundary conditions.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/material.h"
#include "tests/support/message_recorder.h"

namespace
{

using brantel::test::MessageRecorder;

// A plate region whose mesh a test can set.
class TestPlate : public CSectPlate
{
public:
    using CSectPlate::CSectPlate;
    void Adopt(CMeshOrganizer* mesh) { m_pMesh = mesh; }
};

CBoundNode* N(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

TestPlate* Quad(double x0, double y0, double x1, double y1, CMaterial* m, int segments = 1)
{
    auto* p = new TestPlate(N(x0, y0), N(x1, y0), N(x1, y1), N(x0, y1), m);
    if (segments > 1)
        for (int i = 0; i < 4; ++i)
            CGraph::GetComEdge(p->GetNode(i), p->GetNode((i + 1) % 4))->SubDivideSeg(segments, false);
    return p;
}

class RegionMeshTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMGenerator::Stop(false);
        CSectMeshArea::StopCalc(false);
        CEasyMesh::AllocStatics();
        savedKind = CElement::m_iStaticKind;
        savedSmooth = CMeshOrganizer::m_iSmootType;
        CElement::m_iStaticKind = 101;
        g_pMeshNodeList = nullptr;
    }
    void TearDown() override
    {
        CEasyMesh::DeAllocStatics();
        CMGenerator::Stop(false);
        CSectMeshArea::StopCalc(false);
        CElement::m_iStaticKind = savedKind;
        CMeshOrganizer::m_iSmootType = savedSmooth;
    }
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    CMaterial hole{"VOID", 0.0, 0.0, 0.0, 0.0, 0.0};
    MessageRecorder recorder;
    int savedKind = 101;
    int savedSmooth = 0;
};

TEST_F(RegionMeshTest, FourCornersGetAStructuredMeshAndOthersTriangles)
{
    // Without a hole: the structured mesher, organiser word 1.
    TestPlate* plain = Quad(0, 0, 4, 2, &steel, 4);
    EXPECT_EQ(plain->Discretize(), nullptr);
    ASSERT_NE(plain->GetMesh(), nullptr);
    EXPECT_EQ(plain->GetMesh()->m_dwWord, 1u);
    EXPECT_NEAR(plain->GetMesh()->CalcArea(), 8.0, 1e-12);
    // Never replaced by a second call.
    CMeshOrganizer* first = plain->GetMesh();
    EXPECT_EQ(plain->Discretize(), nullptr);
    EXPECT_EQ(plain->GetMesh(), first);
    plain->ReleaseCopyNodes(true);
    delete plain;

    // With a hole: a triangle mesh around it; the hole has none.
    TestPlate* holed = Quad(0, 0, 4, 2, &steel, 8);
    TestPlate* inner = Quad(1.5, 0.5, 2.5, 1.5, &hole, 2);
    holed->InsertSubSect(inner);
    EXPECT_EQ(holed->Discretize(), nullptr);
    ASSERT_NE(holed->GetMesh(), nullptr);
    EXPECT_EQ(holed->GetMesh()->m_dwWord, 0u);
    EXPECT_NEAR(holed->GetMesh()->CalcArea(), 7.0, 1e-9);
    EXPECT_EQ(inner->GetMesh(), nullptr);
    EXPECT_FALSE(holed->IsMeshKind(1));
    holed->ReleaseCopyNodes(true);
    inner->ReleaseCopyNodes(true);
    delete holed;

    // A void region alone: no mesh and no failure.
    TestPlate* empty = Quad(0, 0, 1, 1, &hole);
    EXPECT_EQ(empty->Discretize(), nullptr);
    EXPECT_EQ(empty->GetMesh(), nullptr);
    EXPECT_TRUE(empty->MeshQuadRegion(0, 0, 1.4959965017094252));
    EXPECT_EQ(empty->GetMesh(), nullptr);
    delete empty;
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(RegionMeshTest, FailuresReturnTheRegionWithoutAMesh)
{
    // A refine point outside the outline: the triangle mesher refuses it.
    CObList corners;
    for (auto [x, y] :
         std::vector<std::pair<double, double>>{{0, 0}, {3, 0}, {3, 2}, {1, 3}, {0, 2}})
        corners.AddTail(N(x, y));
    auto* penta = new TestPlate(&corners, &steel);
    CSNode* outside = new CSNode(5.0, 5.0, 0.0, nullptr, 0);
    outside->SetSNodSpace(0.5, true);
    penta->AddRefinePoint(outside);
    CSectMeshArea::m_bNotifyWarning = true;
    EXPECT_EQ(penta->Discretize(), penta);
    EXPECT_EQ(penta->GetMesh(), nullptr);
    EXPECT_EQ(recorder.messages().size(), 1u);
    // Quietly when warnings are off.
    recorder.clear();
    CSectMeshArea::m_bNotifyWarning = false;
    EXPECT_EQ(penta->Discretize(), penta);
    EXPECT_TRUE(recorder.messages().empty());
    // A stop request: nothing is meshed.
    CSectMeshArea::StopCalc(true);
    TestPlate* quad = Quad(0, 0, 1, 1, &steel);
    EXPECT_EQ(quad->Discretize(), quad);
    EXPECT_EQ(quad->GetMesh(), nullptr);
    EXPECT_FALSE(quad->MeshQuadRegion(0, 0, 1.4959965017094252));
    CSectMeshArea::StopCalc(false);
    penta->ReleaseCopyNodes(true);
    delete penta;
    delete quad;
}

TEST_F(RegionMeshTest, ElementNamesFollowTheSmoothingBits)
{
    CVector coeffs(2);
    coeffs[0] = 1.5;
    coeffs[1] = -2.0;
    struct Case {
        int bits;
        bool coefficients;
        std::string (*expected)(TestPlate*, CMaterial*);
    };
    const std::vector<Case> cases = {
        {4 | 8 | 2, false,
         [](TestPlate* p, CMaterial*) {
             CString s;
             s.Format("%p", static_cast<void*>(p));
             return std::string(static_cast<const char*>(s));
         }},
        {8, false, [](TestPlate*, CMaterial*) { return std::string("[2.000000e+00]"); }},
        {8, true,
         [](TestPlate*, CMaterial*) {
             return std::string("[2.000000e+00;1.500000e+00;-2.000000e+00]");
         }},
        {8 | 2, false,
         [](TestPlate*, CMaterial* m) {
             CString s;
             s.Format("[2.000000e+00]%p", static_cast<void*>(m));
             return std::string(static_cast<const char*>(s));
         }},
        {16, false,
         [](TestPlate* p, CMaterial*) {
             return std::string(static_cast<const char*>(p->GetName()));
         }},
        {0, false, [](TestPlate*, CMaterial*) { return std::string(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        CMeshOrganizer::m_iSmootType = c.bits;
        TestPlate* p = Quad(0, 0, 2, 1, &steel, 2);
        p->SetThickness(2.0);
        if (c.coefficients)
            p->SetThickness(2.0, coeffs);
        ASSERT_EQ(p->Discretize(), nullptr);
        ASSERT_NE(p->GetMesh(), nullptr);
        for (POSITION pos = p->GetMesh()->GetHeadPosition(); pos;)
            EXPECT_EQ(
                std::string(static_cast<const char*>(p->GetMesh()->GetNextElem(pos)->GetName())),
                c.expected(p, &steel));
        p->ReleaseCopyNodes(true);
        delete p;
    }
}

// One triangle (0,0) (2,0) (0,2) and one quadrilateral on (2,0) (4,0) (4,2)
// (2,2), in this order.
TestPlate* TwoElementPlate(CMaterial* m)
{
    TestPlate* p = Quad(0, 0, 4, 2, m);
    auto* mesh = new CMeshOrganizer;
    mesh->AddElement(new CTriElement(N(0, 0), N(2, 0), N(0, 2)));
    mesh->AddElement(new CQuadElem(N(2, 0), N(4, 0), N(4, 2), N(2, 2)));
    p->Adopt(mesh);
    return p;
}

TEST_F(RegionMeshTest, ElementDataFillsTheColumns)
{
    auto vec = [](std::vector<double> v) {
        CVector out(static_cast<int>(v.size()));
        for (std::size_t i = 0; i < v.size(); ++i)
            out[static_cast<int>(i)] = v[i];
        return out;
    };
    CMaterial warm{"Warm", 0.0, 1000.0, 0.0, 0.3, 0.5}; // expansion 0.5
    struct Case {
        const char* name;
        int mode;
        std::vector<double> thickness; // coefficients
        double load;
        std::vector<double> loadCoeffs;
        // Expected rows (row 0 unused, rows 1 and 2 the two elements), 12 columns.
        std::vector<std::vector<double>> rows;
    };
    const double t = 0.5;
    const std::vector<Case> cases = {
        {"constant thickness, no load",
         0,
         {},
         0.0,
         {},
         {{0, t, t, t, t, 0, 0, 0, 0, 0, 0, 0}, {0, t, t, t, t, 0, 0, 0, 0, 0, 0, 0}}},
        // t + 0.5 (x - 0) + 0.25 (y - 0) at the corners.
        {"planar thickness",
         0,
         {0.0, 0.0, 0.5, 0.25},
         0.0,
         {},
         {{0, t, t + 1.0, t + 0.5, 0, 0, 0, 0, 0, 0, 0, 0},
          {0, t + 1.0, t + 2.0, t + 2.5, t + 1.5, 0, 0, 0, 0, 0, 0, 0}}},
        {"constant pressure",
         2,
         {},
         3.0,
         {},
         {{0, t, t, t, t, 3, 3, 3, 3, 3, 3, 3}, {0, t, t, t, t, 3, 3, 3, 3, 3, 3, 3}}},
        // q = 3 + 1 (x - 1) + 0 (y - 0) at the corners.
        {"planar pressure",
         2,
         {},
         3.0,
         {1.0, 0.0, 1.0, 0.0},
         {{0, t, t, t, t, 2, 4, 2, 0, 0, 0, 0}, {0, t, t, t, t, 4, 6, 6, 4, 0, 0, 0}}},
        {"constant temperature",
         0,
         {},
         20.0,
         {},
         {{0, t, t, t, t, 20, 0, 0, 0, 0, 0, 0}, {0, t, t, t, t, 20, 0, 0, 0, 0, 0, 0}}},
        // T = 20 + 2 (x - 1) + 0 (y - 0), times parameter 11 into 5, 7, 8 and
        // parameter 12 into 6, 9, 10 (both the expansion 0.5 here).
        {"temperature plane",
         0,
         {},
         20.0,
         {1.0, 0.0, 2.0, 0.0},
         {{0, t, t, t, t, 0.5 * (20 + 2 * (2.0 / 3 - 1)), 0.5 * (20 + 2 * (2.0 / 3 - 1)), 1, 0, 1,
           0, 0},
          {0, t, t, t, t, 0.5 * (20 + 2 * (3.0 - 1)), 0.5 * (20 + 2 * (3.0 - 1)), 1, 0, 1, 0, 0}}},
        // Two planes around (1, 1): 20 + 3 (x - 1) and 0.01 + 0.001 (y - 1).
        {"two planes",
         0,
         {},
         20.0,
         {0.01, 1.0, 1.0, 3.0, 0.0, 0.0, 0.001},
         {{0, t, t, t, t, 20 + 3 * (2.0 / 3 - 1), 0.01 + 0.001 * (2.0 / 3 - 1), 3, 0, 0, 0.001, 0},
          {0, t, t, t, t, 20 + 3 * (3.0 - 1), 0.01, 3, 0, 0, 0.001, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestPlate* p = TwoElementPlate(&warm);
        CVector tc = vec(c.thickness), lc = vec(c.loadCoeffs);
        p->SetThickness(t, tc);
        p->SetLoad(c.load, lc);
        CMatrix data(4, 12);
        int row = 1;
        p->DisperseElementData(data, row, c.mode);
        EXPECT_EQ(row, 3);
        for (int r = 0; r < 2; ++r)
            for (int col = 0; col < 12; ++col)
                EXPECT_NEAR(data[r + 1][col],
                            c.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(col)],
                            1e-12)
                    << "element " << r << " column " << col;
        for (int col = 0; col < 12; ++col) {
            EXPECT_EQ(data[0][col], 0.0);
            EXPECT_EQ(data[3][col], 0.0);
        }
        delete p;
    }
}

TEST_F(RegionMeshTest, MaterialsAndNodesGoIntoTheTopologyTable)
{
    steel.SetID(7);
    TestPlate* p = TwoElementPlate(&steel);
    std::vector<int> table(2 + 2 * 6, -5);
    int index = 2;
    p->InsertElementMaterials(table.data(), index, 6);
    EXPECT_EQ(index, 2 + 2 * 6);
    CElement* tri = p->GetMesh()->GetHeadElem();
    CElement* quad = p->GetMesh()->GetTailElem();
    const std::vector<int> expected = {-5,
                                       -5,
                                       7,
                                       static_cast<int>(tri->GetNode(0)->GetID()),
                                       static_cast<int>(tri->GetNode(1)->GetID()),
                                       static_cast<int>(tri->GetNode(2)->GetID()),
                                       -5,
                                       -5,
                                       7,
                                       static_cast<int>(quad->GetNode(0)->GetID()),
                                       static_cast<int>(quad->GetNode(1)->GetID()),
                                       static_cast<int>(quad->GetNode(2)->GetID()),
                                       static_cast<int>(quad->GetNode(3)->GetID()),
                                       -5};
    EXPECT_EQ(table, expected);
    delete p;
}

TEST_F(RegionMeshTest, BoundaryConditionsMoveFromEdgesToNodes)
{
    // A right triangle (0,0) (4,0) (0,4) with the hypotenuse split at m = (2,2).
    struct Case {
        const char* name;
        unsigned ab, ca, bm, mc; // edge condition types, 0 for none
        unsigned a, m, c;        // node condition types afterwards, 0 for none
    };
    for (const Case& k : std::vector<Case>{
             // Equal conditions at the right angle get bit 0x20; m lies on a
             // straight line; c sits at 45 degrees and is left alone.
             {"equal", 3, 3, 1, 1, 3 | 0x20, 1, 0},
             // Different conditions combine; a single edge hands its own on.
             {"different", 1, 2, 1, 0, 1 | 2, 1, 2},
             {"different, lower kind second", 4, 1, 1, 0, 1 | 4, 1, 1},
         }) {
        SCOPED_TRACE(k.name);
        CBoundNode* a = N(0, 0);
        CBoundNode* b = N(4, 0);
        CBoundNode* m = N(2, 2);
        CBoundNode* c = N(0, 4);
        CObList nodes;
        for (CSNode* n : {static_cast<CSNode*>(a), static_cast<CSNode*>(b), static_cast<CSNode*>(m),
                          static_cast<CSNode*>(c)})
            nodes.AddTail(n);
        auto* p = new TestPlate(&nodes, &steel);
        auto edge = [](CSNode* u, CSNode* v) {
            return static_cast<CBoundary*>(CGraph::GetComEdge(u, v));
        };
        const std::pair<CBoundary*, unsigned> edges[] = {
            {edge(a, b), k.ab}, {edge(c, a), k.ca}, {edge(b, m), k.bm}, {edge(m, c), k.mc}};
        for (auto [e, type] : edges)
            if (type)
                e->SetBC(type, 0);
        // The node (4,0) keeps a condition of its own marked with bit 0x10.
        b->SetStandBC(0x10u | 2u, 0);
        p->SetBoundaryConditions();

        // Corner a at the right angle: the node's x axis along the first
        // edge, or along the lower kind's edge when the kinds differ.
        ASSERT_NE(a->GetBC(0), nullptr);
        EXPECT_EQ(a->GetBC(0)->GetBCType(), k.a);
        CEdge* first = nullptr;
        for (POSITION pos = a->GetEdgeList()->GetHeadPosition(); pos && !first;) {
            auto* e = static_cast<CEdge*>(a->GetEdgeList()->GetNext(pos));
            if (e->GetBC(0))
                first = e;
        }
        CEdge* xEdge = k.ab == k.ca ? first : k.ab < k.ca ? edge(a, b) : edge(c, a);
        EXPECT_DOUBLE_EQ(a->GetBC(0)->GetAngle(), xEdge->GetCClWAngle());
        // m: the condition of the line through it, along the line.
        ASSERT_NE(m->GetBC(0), nullptr);
        EXPECT_EQ(m->GetBC(0)->GetBCType(), k.m);
        EXPECT_DOUBLE_EQ(m->GetBC(0)->GetAngle(), edge(b, m)->GetCClWAngle());
        if (k.c) {
            ASSERT_NE(c->GetBC(0), nullptr);
            EXPECT_EQ(c->GetBC(0)->GetBCType(), k.c);
            EXPECT_DOUBLE_EQ(c->GetBC(0)->GetAngle(), edge(c, a)->GetCClWAngle());
        } else {
            EXPECT_EQ(c->GetBC(0), nullptr);
        }
        EXPECT_EQ(b->GetBC(0)->GetBCType(), 0x10u | 2u);

        // Without edge conditions the node conditions are cleared.
        for (auto [e, type] : edges)
            e->ClearBC(-1);
        p->SetBoundaryConditions();
        EXPECT_TRUE(a->GetBC(0) == nullptr || a->GetBC(0)->IsClear(true));
        delete p;
    }
}

// A triangle region (0,0) (4,0) (1,3), corners at about 72, 45 and 63
// degrees, with a kind on each edge.
struct ObliqueTriangle {
    explicit ObliqueTriangle(CMaterial* material)
    {
        CObList nodes;
        for (CBoundNode* x : n)
            nodes.AddTail(x);
        plate = new TestPlate(&nodes, material);
    }
    ~ObliqueTriangle() { delete plate; }
    ObliqueTriangle(const ObliqueTriangle&) = delete;
    ObliqueTriangle& operator=(const ObliqueTriangle&) = delete;

    // The kinds of the edges ab, bc and ca; then the corners take theirs.
    void Kinds(unsigned ab, unsigned bc, unsigned ca)
    {
        const unsigned kinds[3] = {ab, bc, ca};
        for (int i = 0; i < 3; ++i)
            static_cast<CBoundary*>(CGraph::GetComEdge(n[i], n[(i + 1) % 3]))->SetBC(kinds[i], 0);
        plate->SetBoundaryConditions();
    }

    CBoundNode* n[3] = {N(0, 0), N(4, 0), N(1, 3)};
    TestPlate* plate = nullptr;
};

TEST_F(RegionMeshTest, ObliqueCornersHoldWhatEachEdgeHolds)
{
    // Each edge holds its kind in its own axes; at a corner two edges hold
    // together every direction either holds in part: the joined kind along
    // x and y of the node (bit 0x20), the node's x axis along one of them.
    struct Case {
        const char* name;
        unsigned ab, bc, ca; // edge kinds
        unsigned a, b, c;    // node types afterwards
    };
    for (const Case& k : std::vector<Case>{
             {"simply supported", 1, 1, 1, 0x21, 0x21, 0x21},
             {"fixed", 2, 2, 2, 0x22, 0x22, 0x22},
             {"symmetry", 4, 4, 4, 0x24, 0x24, 0x24},
             // Two kinds: a simple support and a symmetry line hold between
             // them what a fixed edge holds.
             {"mixed", 1, 2, 4, 0x22, 0x22, 0x22},
         }) {
        SCOPED_TRACE(k.name);
        ObliqueTriangle t(&steel);
        t.Kinds(k.ab, k.bc, k.ca);
        const unsigned expected[3] = {k.a, k.b, k.c};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            CBoundCond* bc = t.n[i]->GetBC(0);
            ASSERT_NE(bc, nullptr);
            EXPECT_EQ(bc->GetBCType(), expected[i]);
            const double along[2] = {CGraph::GetComEdge(t.n[i], t.n[(i + 1) % 3])->GetCClWAngle(),
                                     CGraph::GetComEdge(t.n[i], t.n[(i + 2) % 3])->GetCClWAngle()};
            EXPECT_TRUE(bc->GetAngle() == along[0] || bc->GetAngle() == along[1]) << bc->GetAngle();
        }
    }
}

// Where the outline bends a little (a polygon standing for a curve: less
// than 25 degrees) the node takes the kind both edges share along the mean
// direction of the edges, the tangent of the curve; from 25 degrees on it
// is a corner.
TEST_F(RegionMeshTest, SlightBendsTakeTheSharedKindAlongTheBisector)
{
    const double pi = std::acos(-1.0);
    struct Kinds {
        unsigned ab, bc;
        unsigned bend, corner; // the node's type at a slight bend, at a corner
    };
    const Kinds kinds[] = {{1, 1, 1, 0x21}, {2, 2, 2, 0x22}, {1, 2, 1, 0x22}, {4, 1, 0, 0x22}};
    for (double degrees : {7.0, 22.5, 24.0, 26.0, 45.0})
        for (const Kinds& k : kinds) {
            SCOPED_TRACE(testing::Message() << degrees << " degrees, kinds " << k.ab << " " << k.bc);
            // a (0,0), b (4,0), then on at the angle to c, up to d and back.
            const double beta = degrees * pi / 180.0;
            const double cx = 4.0 + 4.0 * std::cos(beta), cy = 4.0 * std::sin(beta);
            CBoundNode* n[5] = {N(0, 0), N(4, 0), N(cx, cy), N(cx, 6.0), N(0, 6.0)};
            CObList nodes;
            for (CBoundNode* x : n)
                nodes.AddTail(x);
            TestPlate plate(&nodes, &steel);
            static_cast<CBoundary*>(CGraph::GetComEdge(n[0], n[1]))->SetBC(k.ab, 0);
            static_cast<CBoundary*>(CGraph::GetComEdge(n[1], n[2]))->SetBC(k.bc, 0);
            plate.SetBoundaryConditions();
            CBoundNode* b = n[1];
            const bool slight = degrees < 25.0;
            const unsigned expected = slight ? k.bend : k.corner;
            CBoundCond* bc = b->GetBC(0);
            if (!expected) {
                EXPECT_TRUE(!bc || bc->IsClear(true));
                continue;
            }
            ASSERT_NE(bc, nullptr);
            EXPECT_EQ(bc->GetBCType(), expected);
            if (slight) {
                EXPECT_NEAR(bc->GetAngle(), beta / 2.0, 1e-12);
            }
        }
}

TEST_F(RegionMeshTest, ObliqueCornersKeepTheUsersOwnConditions)
{
    ObliqueTriangle t(&steel);
    // a: a standard kind set on the node; b: only an angle; c: nothing.
    t.n[0]->SetStandBC(4, 0);
    t.n[0]->SetAngle(0.25, 0);
    t.n[1]->SetAngle(0.25, 0);
    t.Kinds(1, 1, 1);
    EXPECT_EQ(t.n[0]->GetBC(0)->GetBCType(), 4u);
    EXPECT_DOUBLE_EQ(t.n[0]->GetAngle(0), 0.25);
    EXPECT_EQ(t.n[1]->GetBC(0)->GetBCType(), 0x21u);
    EXPECT_EQ(t.n[2]->GetBC(0)->GetBCType(), 0x21u);
    // The edges become fixed: the corner conditions derived before follow,
    // the user's stays.
    t.Kinds(2, 2, 2);
    EXPECT_EQ(t.n[0]->GetBC(0)->GetBCType(), 4u);
    EXPECT_DOUBLE_EQ(t.n[0]->GetAngle(0), 0.25);
    EXPECT_EQ(t.n[1]->GetBC(0)->GetBCType(), 0x22u);
    EXPECT_EQ(t.n[2]->GetBC(0)->GetBCType(), 0x22u);
}

// Regions around a node at the origin, sharing their nodes and edges, in
// a plate component that owns them.
struct Junction {
    Junction(CMaterial* material, std::vector<std::vector<std::pair<double, double>>> outlines)
    {
        for (const auto& outline : outlines) {
            CObList nodes;
            for (auto [x, y] : outline)
                nodes.AddTail(Node(x, y));
            comp.AddTail(static_cast<CSection*>(new TestPlate(&nodes, material)));
        }
    }
    CBoundNode* Node(double x, double y)
    {
        for (CBoundNode* n : made)
            if (n->x == x && n->y == y)
                return n;
        made.push_back(N(x, y));
        return made.back();
    }
    CBoundary* Edge(double x, double y) { return static_cast<CBoundary*>(CGraph::GetComEdge(Node(0, 0), Node(x, y))); }

    CPlateComp comp;
    std::vector<CBoundNode*> made;
};

TEST_F(RegionMeshTest, JunctionsOfThreeOrMoreEdgesHoldWhatEachEdgeHolds)
{
    const double pi = std::acos(-1.0);
    // A support line up from a straight outer edge (two regions), a cross of
    // two lines (four regions), a line at 45 degrees from a straight edge.
    const std::vector<std::vector<std::pair<double, double>>> tee = {
        {{-1, 0}, {0, 0}, {0, 1}, {-1, 1}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    const std::vector<std::vector<std::pair<double, double>>> cross = {
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, {{-1, 0}, {0, 0}, {0, 1}, {-1, 1}},
        {{-1, -1}, {0, -1}, {0, 0}, {-1, 0}}, {{0, -1}, {1, -1}, {1, 0}, {0, 0}}};
    const std::vector<std::vector<std::pair<double, double>>> oblique = {
        {{-1, 0}, {0, 0}, {1, 1}, {-1, 1}}, {{0, 0}, {1, 0}, {1, 1}}};
    struct Case {
        const char* name;
        const std::vector<std::vector<std::pair<double, double>>>* regions;
        std::vector<std::pair<std::pair<double, double>, unsigned>> kinds; // far end of an edge from the origin, its kind
        unsigned type; // the origin's condition afterwards, 0 for none
        double angle;  // its x axis, -1 where either line will do
    };
    const std::vector<Case> cases = {
        // A support on a symmetry line: w from the support along x, the
        // slope across the symmetry line along y.
        {"support ends on a symmetry line", &tee, {{{-1, 0}, 4}, {{1, 0}, 4}, {{0, 1}, 1}}, 1 | 4, pi / 2},
        {"fixed line ends on a symmetry line", &tee, {{{-1, 0}, 4}, {{1, 0}, 4}, {{0, 1}, 2}}, 2 | 4, pi / 2},
        {"support ends on a supported edge", &tee, {{{-1, 0}, 1}, {{1, 0}, 1}, {{0, 1}, 1}}, 0x20 | 1, -1},
        {"support ends on a fixed edge", &tee, {{{-1, 0}, 2}, {{1, 0}, 2}, {{0, 1}, 1}}, 1 | 2, pi / 2},
        // Along one line a support and a symmetry together hold all.
        {"edge half supported, half symmetric", &tee, {{{-1, 0}, 1}, {{1, 0}, 4}, {{0, 1}, 1}}, 1 | 2, pi / 2},
        {"two supported lines cross", &cross, {{{-1, 0}, 1}, {{1, 0}, 1}, {{0, 1}, 1}, {{0, -1}, 1}}, 0x20 | 1, -1},
        {"two fixed lines cross", &cross, {{{-1, 0}, 2}, {{1, 0}, 2}, {{0, 1}, 2}, {{0, -1}, 2}}, 0x20 | 2, -1},
        {"supported and fixed lines cross", &cross, {{{-1, 0}, 2}, {{1, 0}, 2}, {{0, 1}, 1}, {{0, -1}, 1}}, 1 | 2, pi / 2},
        {"three of four edges", &cross, {{{-1, 0}, 1}, {{1, 0}, 1}, {{0, 1}, 1}}, 0x20 | 1, -1},
        // Oblique: what all lines share, along the bisector of the two
        // outermost edges (here the straight edge).
        {"oblique supports", &oblique, {{{-1, 0}, 1}, {{1, 0}, 1}, {{1, 1}, 1}}, 1, 0.0},
        {"oblique fixed and supported", &oblique, {{{-1, 0}, 2}, {{1, 0}, 2}, {{1, 1}, 1}}, 1, 0.0},
        {"oblique support on a symmetry line", &oblique, {{{-1, 0}, 4}, {{1, 0}, 4}, {{1, 1}, 1}}, 0, 0.0},
        // A condition of the user's own on an edge: the node keeps its own.
        {"user condition on an edge", &tee, {{{-1, 0}, 1}, {{1, 0}, 1}, {{0, 1}, 16}}, 0, 0.0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Junction j(&steel, *k.regions);
        for (const auto& [end, kind] : k.kinds) {
            CBoundary* e = j.Edge(end.first, end.second);
            ASSERT_NE(e, nullptr);
            e->SetBC(kind, 0);
        }
        j.comp.SetBoundaryConditions();
        CBoundCond* bc = j.Node(0, 0)->GetBC(0);
        if (!k.type) {
            EXPECT_TRUE(!bc || bc->IsClear(true));
            continue;
        }
        ASSERT_NE(bc, nullptr);
        EXPECT_EQ(bc->GetBCType(), k.type);
        if (k.angle >= 0.0)
            EXPECT_NEAR(bc->GetAngle(), k.angle, 1e-12);
        else
            EXPECT_NEAR(std::remainder(bc->GetAngle(), pi / 2), 0.0, 1e-12);
        // Another run gives the same.
        j.comp.SetBoundaryConditions();
        EXPECT_EQ(j.Node(0, 0)->GetBC(0)->GetBCType(), k.type);
    }
    // The user's own condition on the node is kept.
    Junction j(&steel, tee);
    for (auto end : {std::pair{-1.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}})
        j.Edge(end.first, end.second)->SetBC(1u, 0);
    j.Node(0, 0)->SetStandBC(0x10u | 2u, 0);
    j.comp.SetBoundaryConditions();
    EXPECT_EQ(j.Node(0, 0)->GetBC(0)->GetBCType(), 0x10u | 2u);
}

} // namespace
