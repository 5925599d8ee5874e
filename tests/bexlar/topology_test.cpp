#include <cmath>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"

namespace {

// Frees a list of cells (the edges belong to the graph).
void DeleteCells(CObList* cells)
{
    if (!cells)
        return;
    for (POSITION pos = cells->GetHeadPosition(); pos;)
        delete static_cast<CObList*>(cells->GetNext(pos));
    delete cells;
}

std::vector<CSNode*> Nodes(const CObList& list)
{
    std::vector<CSNode*> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<CSNode*>(list.GetNext(pos)));
    return out;
}

void DeleteNodes(CObList* list)
{
    if (!list)
        return;
    while (!list->IsEmpty())
        delete static_cast<CSNode*>(list->RemoveHead());
    delete list;
}

// A closed ring of edges through the points.
std::vector<CSNode*> Polygon(CGraph& g, std::initializer_list<std::pair<double, double>> points)
{
    std::vector<CSNode*> nodes;
    for (auto [x, y] : points)
        nodes.push_back(g.NewNode(x, y, 0.0));
    for (std::size_t i = 0; i < nodes.size(); ++i)
        g.ConnectNodes(nodes[i], nodes[(i + 1) % nodes.size()]);
    return nodes;
}

} // namespace

TEST(PlanarCells, SquareGivesOneInnerCellAndOneOuterBoundary)
{
    for (bool inner : {true, false}) {
        CGraph g;
        Polygon(g, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
        CObList* cells = g.Find2DCells(inner);
        ASSERT_NE(cells, nullptr);
        ASSERT_EQ(cells->GetCount(), 1);
        EXPECT_EQ(static_cast<CObList*>(cells->GetHead())->GetCount(), 4);
        DeleteCells(cells);
    }
    // Each walk direction of one edge is exactly one of the two kinds.
    CGraph g;
    std::vector<CSNode*> n = Polygon(g, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    CEdge* e = CGraph::GetComEdge(n[0], n[1]);
    for (CSNode* from : {n[0], n[1]}) {
        CObList* in = g.Find2DCells(from, e, true, nullptr);
        CObList* out = g.Find2DCells(from, e, false, nullptr);
        EXPECT_NE(in == nullptr, out == nullptr);
        delete in;
        delete out;
    }
}

TEST(PlanarCells, DanglingEdgeIsPrunedAndSharedSideGivesTwoCells)
{
    CGraph g;
    std::vector<CSNode*> n = Polygon(g, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    CEdge* dangling = g.ConnectNodes(n[2], g.NewNode(2.0, 2.0, 0.0));
    CObList* cells = g.Find2DCells(true);
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->GetCount(), 1);
    EXPECT_EQ(static_cast<CObList*>(cells->GetHead())->GetCount(), 4);
    EXPECT_FALSE(dangling->IsCellEdge());
    DeleteCells(cells);

    CGraph two;
    std::vector<CSNode*> m = Polygon(two, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}});
    two.ConnectNodes(m[1], m[4]);
    cells = two.Find2DCells(true);
    ASSERT_NE(cells, nullptr);
    ASSERT_EQ(cells->GetCount(), 2);
    std::set<std::set<CObject*>> distinct;
    for (POSITION pos = cells->GetHeadPosition(); pos;) {
        CObList* cell = static_cast<CObList*>(cells->GetNext(pos));
        EXPECT_EQ(cell->GetCount(), 4);
        std::set<CObject*> edges;
        for (POSITION ep = cell->GetHeadPosition(); ep;)
            edges.insert(cell->GetNext(ep));
        distinct.insert(edges);
    }
    EXPECT_EQ(distinct.size(), 2u);
    DeleteCells(cells);

    CGraph empty;
    EXPECT_EQ(empty.Find2DCells(true), nullptr);
}

TEST(PlanarCells, SingleWalkStopsOutsideTheLimitingGraph)
{
    CGraph g;
    std::vector<CSNode*> n = Polygon(g, {{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    CEdge* e = CGraph::GetComEdge(n[0], n[1]);
    CSNode* from = nullptr;
    for (CSNode* s : {n[0], n[1]}) {
        CObList* cell = g.Find2DCells(s, e, true, &g);
        if (cell)
            from = s;
        delete cell;
    }
    ASSERT_NE(from, nullptr);
    CGraph limit;
    for (CSNode* s : n)
        limit.NewNode(s);
    limit.RemoveNode(n[2]);
    EXPECT_EQ(g.Find2DCells(from, e, true, &limit), nullptr);
    // A start edge that bounds no cell never closes.
    e->SetCellEdge(false);
    EXPECT_EQ(g.Find2DCells(from, e, true, nullptr), nullptr);
}

TEST(PlanarTopology, UnionKeepsOwnNodesFirstAndDeletesNoNode)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    CGraph* other = new CGraph;
    other->NewNode(b);
    CSNode* c = other->NewNode(2, 0, 0);
    CSNode* d = other->NewNode(3, 0, 0);
    other->ConnectNodes(c, d);
    EXPECT_TRUE(g.Union(other));
    EXPECT_EQ(Nodes(g), (std::vector<CSNode*>{a, b, c, d}));
    for (CSNode* n : {a, b, c, d}) {
        EXPECT_EQ(n->GetGraphCount(), 1);
        EXPECT_EQ(n->GetPrimaryGraph(), &g);
    }
    EXPECT_NE(CGraph::GetComEdge(c, d), nullptr);
    EXPECT_FALSE(g.Union(&g));
}

TEST(PlanarTopology, IntersectionWithAnEdge)
{
    CGraph g;
    g.ConnectNodes(g.NewNode(0, 0, 0), g.NewNode(2, 2, 0));
    CSNode p(0, 2, 0, nullptr, 0), q(2, 0, 0, nullptr, 0);
    CEdge crossing(&p, &q);
    EXPECT_EQ(g.Intersection2D(&crossing, false, nullptr), 1);
    EXPECT_EQ(g.Intersection2D(&crossing, true, nullptr), 1);
    CSNode r(5, 0, 0, nullptr, 0), s(6, 0, 0, nullptr, 0);
    CEdge apart(&r, &s);
    EXPECT_EQ(g.Intersection2D(&apart, true, nullptr), 0);
}

TEST(PlanarFillet, RightAngleCornerInModeZero)
{
    CGraph g;
    CSNode* c = g.NewNode(0, 0, 0);
    CEdge* e1 = g.ConnectNodes(c, g.NewNode(2, 0, 0));
    CEdge* e2 = g.ConnectNodes(c, g.NewNode(0, 2, 0));
    CObList* arc = nullptr;
    CSNode* corner = nullptr;
    ASSERT_EQ(CGraph::PreFilletEdges(e1, e2, 2, 0, 1.0, arc, corner), 1);
    EXPECT_EQ(corner, c);
    ASSERT_NE(arc, nullptr);
    std::vector<CSNode*> n = Nodes(*arc);
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[0]->x, 1.0);
    EXPECT_EQ(n[0]->y, 0.0);
    EXPECT_NEAR(n[1]->x, 1.0 - std::sqrt(0.5), 1e-15);
    EXPECT_NEAR(n[1]->y, 1.0 - std::sqrt(0.5), 1e-15);
    EXPECT_EQ(n[2]->x, 0.0);
    EXPECT_EQ(n[2]->y, 1.0);
    for (CSNode* node : n)
        EXPECT_EQ(node->GetGraphCount(), 0);
    DeleteNodes(arc);

    // The same corner with the edges the other way round runs T1 to T2 too.
    arc = nullptr;
    ASSERT_EQ(CGraph::PreFilletEdges(e2, e1, 2, 0, 1.0, arc, corner), 1);
    n = Nodes(*arc);
    EXPECT_EQ(n.front()->x, 0.0);
    EXPECT_EQ(n.front()->y, 1.0);
    EXPECT_EQ(n.back()->x, 1.0);
    EXPECT_EQ(n.back()->y, 0.0);
    DeleteNodes(arc);
}

TEST(PlanarFillet, EqualAreaAndLengthKeepTangentPointsOnTheArc)
{
    CGraph g;
    CSNode* c = g.NewNode(0, 0, 0);
    CEdge* e1 = g.ConnectNodes(c, g.NewNode(2, 0, 0));
    CEdge* e2 = g.ConnectNodes(c, g.NewNode(0, 2, 0));
    for (int mode : {1, 2}) {
        CObList* arc = nullptr;
        CSNode* corner = nullptr;
        ASSERT_EQ(CGraph::PreFilletEdges(e1, e2, 2, mode, 1.0, arc, corner), 1);
        std::vector<CSNode*> n = Nodes(*arc);
        ASSERT_EQ(n.size(), 3u);
        EXPECT_EQ(n[0]->x, 1.0);
        EXPECT_EQ(n[0]->y, 0.0);
        EXPECT_EQ(n[2]->x, 0.0);
        EXPECT_EQ(n[2]->y, 1.0);
        const double step = 3.141592653589793 / 4.0;
        const double expected = mode == 1 ? std::sqrt(step / std::sin(step))
                                          : step / (2.0 * std::sin(step / 2.0));
        EXPECT_NEAR(std::hypot(n[1]->x - 1.0, n[1]->y - 1.0), expected, 1e-14) << mode;
        DeleteNodes(arc);
    }
}

TEST(PlanarFillet, FailuresHandOutNoList)
{
    struct Case {
        const char* what;
        int expected;
    };
    CGraph g;
    CSNode* c = g.NewNode(0, 0, 0);
    CEdge* e1 = g.ConnectNodes(c, g.NewNode(2, 0, 0));
    CEdge* e2 = g.ConnectNodes(c, g.NewNode(0, 2, 0));
    CEdge* apart = g.ConnectNodes(g.NewNode(5, 5, 0), g.NewNode(6, 5, 0));
    CSNode* s = g.NewNode(0, 0, 0);
    CEdge* short1 = g.ConnectNodes(s, g.NewNode(0.5, 0, 0));
    CEdge* short2 = g.ConnectNodes(s, g.NewNode(0, 0.5, 0));
    CSNode* m = g.NewNode(10, 0, 0);
    CEdge* left = g.ConnectNodes(m, g.NewNode(9, 0, 0));
    CEdge* right = g.ConnectNodes(m, g.NewNode(11, 0, 0));

    auto run = [](CEdge* a, CEdge* b, int mode, double radius) {
        CObList* arc = nullptr;
        CSNode* corner = nullptr;
        const int r = CGraph::PreFilletEdges(a, b, 2, mode, radius, arc, corner);
        EXPECT_EQ(arc, nullptr);
        return r;
    };
    EXPECT_EQ(run(e1, e2, 0, 0.0), -6);
    EXPECT_EQ(run(e1, apart, 0, 1.0), -1);
    EXPECT_EQ(run(short1, short2, 0, 1.0), -4);
    EXPECT_EQ(run(left, right, 0, 1.0), -5);
    EXPECT_EQ(run(e1, e2, 3, 1.0), -7);
    e2->SetCellEdge(false);
    EXPECT_EQ(run(e1, e2, 0, 1.0), -3);
    e2->SetCellEdge(true);
    g.ConnectNodes(c, g.NewNode(-1, -1, 0));
    EXPECT_EQ(run(e1, e2, 0, 1.0), -2);
}

TEST(PlanarPolygons, HullInsideAndOrientation)
{
    CGraph g;
    CSNode* p0 = g.NewNode(0, 0, 0);
    CSNode* p1 = g.NewNode(1, 0, 0);
    CSNode* mid = g.NewNode(0.5, 0.5, 0);
    CSNode* p2 = g.NewNode(1, 1, 0);
    CSNode* p3 = g.NewNode(0, 1, 0);
    CObList hull;
    CGraph::ConvexHull(&g, hull);
    EXPECT_EQ(Nodes(hull), (std::vector<CSNode*>{p0, p1, p2, p3}));

    CObList three, hull3;
    for (CSNode* n : {p2, mid, p0})
        three.AddTail(n);
    CGraph::ConvexHull(&three, hull3);
    EXPECT_EQ(Nodes(hull3), (std::vector<CSNode*>{p2, mid, p0}));

    CObList square;
    for (CSNode* n : {p0, p1, p2, p3})
        square.AddTail(n);
    EXPECT_TRUE(CGraph::IsPointInside2D(square, 0.5, 0.5));
    EXPECT_FALSE(CGraph::IsPointInside2D(square, 0.5, 0.0));
    EXPECT_FALSE(CGraph::IsPointInside2D(square, 1.5, 0.5));
    EXPECT_TRUE(CGraph::IsPointInsideNonCell2D(&g, 0.25, 0.75));
    EXPECT_TRUE(CGraph::IsCClW(&square));
    CObList reversed;
    for (CSNode* n : {p3, p2, p1, p0})
        reversed.AddTail(n);
    EXPECT_FALSE(CGraph::IsCClW(&reversed));
}

TEST(PlanarPolygons, CircleNodesAndListRotation)
{
    CSNode centre(0, 0, 0, nullptr, 0);
    CSNode* start = new CSNode(1, 0, 0, nullptr, 5);
    CObList out;
    CGraph::CircleNodes(&out, start, &centre, 4, 0);
    std::vector<CSNode*> n = Nodes(out);
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[0], start);
    EXPECT_EQ(start->m_uiFlags, 0u);
    const double expected[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(n[i]->x, expected[i][0]) << i;
        EXPECT_EQ(n[i]->y, expected[i][1]) << i;
    }

    CObList list;
    for (CSNode* node : n)
        list.AddTail(node);
    CGraph::MakeHead(n[2], &list);
    EXPECT_EQ(Nodes(list), (std::vector<CSNode*>{n[2], n[3], n[0], n[1]}));
    CGraph::MakeTail(n[2], &list);
    EXPECT_EQ(Nodes(list), (std::vector<CSNode*>{n[3], n[0], n[1], n[2]}));
    CSNode absent(0, 0, 0, nullptr, 0);
    CGraph::MakeTail(&absent, &list);
    CGraph::MakeHead(&absent, &list);
    EXPECT_EQ(Nodes(list), (std::vector<CSNode*>{n[3], n[0], n[1], n[2]}));
    while (!out.IsEmpty())
        delete static_cast<CSNode*>(out.RemoveHead());
}

TEST(PlanarPolygons, FunctionNodesFollowTheLocalAxis)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(0, 2, 0);
    CObList out;
    CGraph::FunctionNodes(&out, a, b, 1.0, 0.0, 0.0, 0.0, 0.0, 2, false);
    EXPECT_NE(CGraph::GetComEdge(a, b), nullptr);
    std::vector<CSNode*> n = Nodes(out);
    ASSERT_EQ(n.size(), 2u);
    EXPECT_NEAR(n[0]->x, -1.0, 1e-12);
    EXPECT_NEAR(n[0]->y, 0.0, 1e-12);
    EXPECT_NEAR(n[1]->x, -1.0, 1e-12);
    EXPECT_NEAR(n[1]->y, 1.0, 1e-12);
    while (!out.IsEmpty())
        delete static_cast<CSNode*>(out.RemoveHead());
}

TEST(PlanarTopology, MinimumDegreeOrder)
{
    for (bool destroy : {false, true}) {
        CGraph g;
        CSNode* s = g.NewNode(0, 0, 0);
        CSNode* l1 = g.NewNode(1, 0, 0);
        CSNode* l2 = g.NewNode(0, 1, 0);
        CSNode* l3 = g.NewNode(-1, 0, 0);
        for (CSNode* l : {l1, l2, l3})
            g.ConnectNodes(s, l);
        g.MinDegReorder(destroy);
        EXPECT_EQ(Nodes(g), (std::vector<CSNode*>{l1, l2, s, l3})) << destroy;
        EXPECT_EQ(g.CountEdges(true), destroy ? 0 : 3);
    }
}
