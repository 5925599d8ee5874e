#include "tests/strelna/fe_fixture.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

using namespace fetest;

namespace {

// A four-sided region from corner coordinates (in list order) whose sides,
// K-th side from corner K to corner K+1, are cut into segments[K] parts.
struct Region {
    Region(const std::vector<std::array<double, 2>>& corners, std::vector<int> segments)
    {
        for (const auto& c : corners)
            nodes.push_back(graph->NewNode(c[0], c[1], 0.0));
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            CEdge* e = graph->ConnectNodes(nodes[i], nodes[(i + 1) % nodes.size()]);
            if (i < segments.size() && segments[i] > 1)
                e->SubDivideSeg(segments[i], true);
        }
    }
    ~Region()
    {
        // The region goes first: its sub-nodes in the mesh stay with the mesh.
        graph.reset();
        mesh.Clear();
    }
    bool Mesh(int kind, int even, int odd, double tolerance)
    {
        CQuadMesher mesher(graph.get(), &mesh, "plate");
        return mesher.Mesh(kind, even, odd, tolerance);
    }
    CElement* Elem(int i) { return static_cast<CElement*>(mesh.GetAt(mesh.FindIndex(i))); }

    std::unique_ptr<CGraph> graph = std::make_unique<CGraph>();
    std::vector<CSNode*> nodes;
    CMeshOrganizer mesh;
};

const std::vector<std::array<double, 2>> kUnitSquare{{0, 0}, {1, 0}, {1, 1}, {0, 1}};

void ExpectAt(CSNode* n, double x, double y)
{
    EXPECT_NEAR(n->x, x, 1e-12);
    EXPECT_NEAR(n->y, y, 1e-12);
}

} // namespace

class QuadMesherTest : public FETest {};

TEST_F(QuadMesherTest, StartCornerAndOrder)
{
    Region r({{0, 1}, {0, 0}, {2, 0}, {2, 1}}, {});
    CQuadMesher mesher(r.graph.get(), &r.mesh, "x");
    CObjMat grid;
    ASSERT_TRUE(mesher.GenNodeMat(grid, 0.1));
    ASSERT_EQ(grid.GetRows(), 2);
    ASSERT_EQ(grid.GetColumns(), 2);
    // Copies of K0 (0,0), K1 (2,0), K2 (2,1), K3 (0,1).
    ExpectAt(static_cast<CSNode*>(grid[0][0]), 0, 0);
    ExpectAt(static_cast<CSNode*>(grid[0][1]), 2, 0);
    ExpectAt(static_cast<CSNode*>(grid[1][1]), 2, 1);
    ExpectAt(static_cast<CSNode*>(grid[1][0]), 0, 1);
    EXPECT_EQ(static_cast<CSNode*>(grid[0][0])->GetCopyNode(), r.nodes[1]);
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            delete static_cast<CSNode*>(grid[i][j]);
}

TEST_F(QuadMesherTest, SubdividedSquareKinds)
{
    struct Case {
        int kind;
        int count;
        const CRuntimeClass* cls;
    };
    const Case cases[] = {{104, 16, RUNTIME_CLASS(CQuadElem)},
                          {101, 32, RUNTIME_CLASS(CTriElement)},
                          {105, 16, RUNTIME_CLASS(CQuad8Elem)},
                          {103, 32, RUNTIME_CLASS(CTri6Element)}};
    for (const Case& c : cases) {
        Region r(kUnitSquare, {4, 4, 4, 4});
        ASSERT_TRUE(r.Mesh(c.kind, 0, 0, 0.1)) << c.kind;
        ASSERT_EQ(r.mesh.GetCount(), c.count);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(r.Elem(i)->GetRuntimeClass(), c.cls);
            EXPECT_EQ(r.Elem(i)->GetName(), CString("plate"));
        }
        if (c.kind == 104) {
            // Cell (1, 2): nodes (0.5, 0.25), (0.75, 0.25), (0.75, 0.5), (0.5, 0.5).
            CElement* e = r.Elem(1 * 4 + 2);
            ExpectAt(e->GetNode(0), 0.5, 0.25);
            ExpectAt(e->GetNode(1), 0.75, 0.25);
            ExpectAt(e->GetNode(2), 0.75, 0.5);
            ExpectAt(e->GetNode(3), 0.5, 0.5);
            // Neighbouring cells share the grid's nodes, sides use the sub-nodes.
            EXPECT_EQ(r.Elem(1)->GetNode(0), r.Elem(0)->GetNode(1));
            EXPECT_EQ(r.Elem(0)->GetNode(1), r.graph->GetComEdge(r.nodes[0], r.nodes[1])->GetSubNodeList()->GetHead());
        }
    }
}

TEST_F(QuadMesherTest, RefusedRegionsCreateNothing)
{
    struct Case {
        const char* what;
        std::vector<std::array<double, 2>> corners;
        std::vector<int> segments;
        double tolerance;
    };
    const Case cases[] = {
        {"unequal sides", {{0, 0}, {2, 0}, {2, 1}, {0, 1}}, {4, 2, 5, 2}, 0.1},
        {"sixty degrees", {{0, 0}, {1, 0}, {1.5, 0.8660254037844386}, {0.5, 0.8660254037844386}}, {}, 0.1},
        {"clockwise", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, {}, 0.1},
        {"three corners", {{0, 0}, {1, 0}, {0, 1}}, {}, 0.1},
    };
    for (const Case& c : cases) {
        Region r(c.corners, c.segments);
        const long before = static_cast<long>(CSNode::lIDnode);
        EXPECT_FALSE(r.Mesh(104, 0, 0, c.tolerance)) << c.what;
        EXPECT_EQ(r.mesh.GetCount(), 0) << c.what;
        EXPECT_EQ(static_cast<long>(CSNode::lIDnode), before) << c.what;
        for (CSNode* n : r.nodes)
            EXPECT_EQ(n->GetCopyNode(), nullptr) << c.what;
    }
    Region wide({{0, 0}, {1, 0}, {1.5, 0.8660254037844386}, {0.5, 0.8660254037844386}}, {});
    EXPECT_TRUE(wide.Mesh(104, 0, 0, 0.6));
    EXPECT_EQ(wide.mesh.GetCount(), 1);
}

TEST_F(QuadMesherTest, InteriorNodesAtCrossingsOfGradedSides)
{
    // Bottom and top cut in 2 and 4 parts respectively would fail; both in 2
    // with the top's middle node moved gives a skewed grid line.
    Region r(kUnitSquare, {2, 2, 2, 2});
    CEdge* top = r.graph->GetComEdge(r.nodes[2], r.nodes[3]);
    static_cast<CSNode*>(top->GetSubNodeList()->GetHead())->SetNodeCoord(0.75, 1.0, 0.0);
    ASSERT_TRUE(r.Mesh(104, 0, 0, 0.1));
    ASSERT_EQ(r.mesh.GetCount(), 4);
    // The line from (0.5, 0) to (0.75, 1) crosses y = 0.5 at x = 0.625.
    ExpectAt(r.Elem(0)->GetNode(2), 0.625, 0.5);
}

TEST_F(QuadMesherTest, TrianglePatterns)
{
    // Index of the triangle whose first corner lies at a and whose diagonal
    // is a-d ('/' seen from below left) or b-e ('\').
    const auto diagonalOfCell = [](Region& r, int first) {
        CElement* t = r.Elem(first);
        // a, b, d: a-d diagonal; a, b, e: b-e diagonal.
        const double dx = t->GetNode(2)->x - t->GetNode(0)->x;
        return dx > 0 ? '/' : '\\';
    };
    struct Case {
        int even, odd;
        const char* rows; // diagonal per cell, row 0 then row 1, cells in creation order
    };
    // A 2 x 2 grid of cells; creation order: row 0 then row 1; patterns 2 and 3
    // make even then odd cells (2) or odd then even (3).
    const Case cases[] = {{1, 1, "\\\\\\\\"}, {0, 0, "////"}, {2, 3, "/\\/\\"}, {5, 2, "///\\"}};
    for (const Case& c : cases) {
        Region r(kUnitSquare, {2, 2, 2, 2});
        ASSERT_TRUE(r.Mesh(101, c.even, c.odd, 0.1));
        ASSERT_EQ(r.mesh.GetCount(), 8);
        std::string got;
        for (int cell = 0; cell < 4; ++cell)
            got += diagonalOfCell(r, 2 * cell);
        EXPECT_EQ(got, c.rows) << c.even << " " << c.odd;
    }
    // Patterns 2 over 3: row 0 even cell '/', odd '\'; row 1 odd cell first '/', even '\'.
    Region r(kUnitSquare, {2, 2, 2, 2});
    ASSERT_TRUE(r.Mesh(101, 2, 3, 0.1));
    ExpectAt(r.Elem(0)->GetNode(0), 0, 0);
    ExpectAt(r.Elem(2)->GetNode(0), 0.5, 0);
    ExpectAt(r.Elem(4)->GetNode(0), 0.5, 0.5); // odd cell of row 1 first
    ExpectAt(r.Elem(6)->GetNode(0), 0, 0.5);

    // An unsubdivided square: one cell, its diagonal from the even-row pattern.
    Region single(kUnitSquare, {});
    ASSERT_TRUE(single.Mesh(101, 1, 0, 0.1));
    ASSERT_EQ(single.mesh.GetCount(), 2);
    EXPECT_EQ(diagonalOfCell(single, 0), '\\');
}

TEST_F(QuadMesherTest, SeparatorCornersAndSidesGetCopies)
{
    Region r(kUnitSquare, {2, 2, 2, 2});
    NODELIST sep;
    sep.AddNode(r.nodes[0]);
    CSNode* old = r.nodes[0]->Copy(false);
    CQuadMesher::m_pSepNodeList = &sep;
    const bool ok = r.Mesh(104, 0, 0, 0.1);
    CQuadMesher::m_pSepNodeList = nullptr;
    ASSERT_TRUE(ok);
    CElement* first = r.Elem(0);
    EXPECT_NE(first->GetNode(0), old); // the old copy link was dropped
    EXPECT_EQ(first->GetNode(0)->GetCopyNode(), r.nodes[0]);
    CSNode* bottomSub = static_cast<CSNode*>(r.graph->GetComEdge(r.nodes[0], r.nodes[1])->GetSubNodeList()->GetHead());
    CSNode* rightSub = static_cast<CSNode*>(r.graph->GetComEdge(r.nodes[1], r.nodes[2])->GetSubNodeList()->GetHead());
    EXPECT_NE(first->GetNode(1), bottomSub); // separator side: a copy
    ExpectAt(first->GetNode(1), 0.5, 0);
    EXPECT_EQ(r.Elem(1)->GetNode(2), rightSub); // other side: the sub-node itself
    delete old;

    // Only the new elements take the name.
    CMeshOrganizer& mesh = r.mesh;
    const int before = mesh.GetCount();
    r.Elem(0)->SetName("kept");
    CQuadMesher other(r.graph.get(), &mesh, "second");
    ASSERT_TRUE(other.Mesh(104, 0, 0, 0.1));
    EXPECT_EQ(r.Elem(0)->GetName(), CString("kept"));
    EXPECT_EQ(r.Elem(before)->GetName(), CString("second"));
}
