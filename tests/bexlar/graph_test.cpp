#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"

namespace {

constexpr double kPi = 3.141592653589793;

// A node is in a graph's list exactly when the graph is in the node's list.
void ExpectMembership(const std::vector<CGraph*>& graphs, const std::vector<CSNode*>& nodes)
{
    for (CGraph* g : graphs)
        for (CSNode* n : nodes)
            EXPECT_EQ(g->Find(n) != nullptr, n->IsGraphInList(g) >= 0)
                << g->GetName().GetString() << " node " << n->GetID();
}

std::vector<CSNode*> List(const CGraph& g)
{
    std::vector<CSNode*> v;
    for (POSITION pos = g.GetHeadPosition(); pos;)
        v.push_back(g.GetNextNode(pos));
    return v;
}

} // namespace

TEST(Graph, NameAndCopies)
{
    CGraph g;
    EXPECT_EQ(g.GetName(), CString(("Graph (" + std::to_string(g.GetID() - 4000000000ul) + ")").c_str()));
    g.SetName("A");
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    CSNode* c = g.NewNode(1, 1, 0);
    g.ConnectNodes(a, b);
    CEdge* bc = g.ConnectNodes(b, c);
    new CNodeLink(c, a);

    CGraph* copy = g.Copy(false);
    EXPECT_EQ(copy->GetName(), CString("Copy of A"));
    EXPECT_NE(copy->GetID(), g.GetID());
    ASSERT_EQ(copy->GetCount(), 3);
    const std::vector<CSNode*> nodes = List(*copy);
    EXPECT_EQ(nodes[0], a->GetCopyNode());
    EXPECT_EQ(nodes[2]->y, 1.0);
    EXPECT_EQ(copy->CountEdges(false), 3);
    CEdge* link = CGraph::GetComEdge(nodes[2], nodes[0]);
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->IsKindOf(RUNTIME_CLASS(CNodeLink)));
    EXPECT_EQ(link->GetNode1(), nodes[2]); // direction kept
    EXPECT_EQ(CGraph::GetComEdge(nodes[1], nodes[2])->GetNode1(), nodes[1]);
    EXPECT_NE(CGraph::GetComEdge(nodes[1], nodes[2]), bc);
    g.ReleaseCopyNodes(true);
    EXPECT_EQ(nodes[0]->GetCopyNode(), nullptr);

    const DWORD counter = CSNode::lIDnode;
    CGraph* same = g.Copy(true);
    EXPECT_EQ(same->GetID(), g.GetID());
    EXPECT_EQ(same->GetName(), CString("A"));
    EXPECT_EQ(same->GetHeadNode()->GetID(), a->GetID());
    EXPECT_EQ(CSNode::lIDnode, counter);
    g.ReleaseCopyNodes(true);
    delete same;
    delete copy;
}

TEST(Graph, DeletingDeletesExactlyTheExclusiveNodes)
{
    CGraph* g1 = new CGraph;
    CGraph g2;
    CSNode* own = g1->NewNode(0, 0, 0);
    CSNode* shared = g1->NewNode(1, 0, 0);
    g2.NewNode(shared);
    CSNode* outside = g2.NewNode(2, 0, 0);
    g1->ConnectNodes(own, shared);
    g2.ConnectNodes(shared, outside);
    EXPECT_EQ(shared->GetPrimaryGraph(), g1);
    ExpectMembership({g1, &g2}, {own, shared, outside});
    delete g1; // deletes own and its edge
    EXPECT_EQ(shared->GetGraphCount(), 1);
    EXPECT_EQ(shared->GetPrimaryGraph(), &g2);
    EXPECT_EQ(shared->GetEdgeList()->GetCount(), 1);
    EXPECT_EQ(g2.CountEdges(false), 1);
}

TEST(Graph, ConnectAndMembership)
{
    CGraph g, h;
    CSNode* a = g.NewNode(0, 0, 0);
    EXPECT_EQ(g.ConnectNodes(a, a), nullptr);
    EXPECT_EQ(g.ConnectNodes(a, nullptr), nullptr);
    CSNode* b = new CSNode(3, 0, 0, nullptr, 0);
    CEdge* ab = g.ConnectNodes(a, b);
    ASSERT_NE(ab, nullptr);
    EXPECT_EQ(g.ConnectNodes(b, a), ab);
    EXPECT_EQ(g.GetCount(), 2);
    CEdge* e = g.ConnectNodes(0, 1, 0, 0, 0, 0);
    EXPECT_EQ(e->GetNode1()->x, 0.0);
    EXPECT_EQ(e->GetNode2()->x, 1.0);
    EXPECT_EQ(e->GetNode2()->y, 0.0);
    CEdge* f = g.ConnectNodes(a, 5, 6, 7);
    EXPECT_EQ(f->GetNode2()->z, 7.0);
    EXPECT_EQ(g.GetCount(), 5);
    EXPECT_TRUE(g.IsEdgeInGraph(f));
    EXPECT_EQ(g.GetObject(ab->GetID(), false), ab);
    EXPECT_EQ(g.GetObject(ab->GetID(), true), nullptr);
    EXPECT_EQ(g.GetObject(b->GetID(), false), b);
    EXPECT_EQ(g.GetObject(g.GetID(), false), &g);
    EXPECT_EQ(g.GetObject(h.GetID(), false), nullptr);
    EXPECT_EQ(g.GetObjectFromString(g.GetName()), &g);
    EXPECT_EQ(g.GetObjectFromString("graph"), nullptr);
    EXPECT_EQ(g.GetMaxID(1), g.GetID());
    EXPECT_EQ(g.GetMaxID(4), f->GetID());

    h.NewNode(b);
    CSNode* c = h.NewNode(9, 9, 9);
    CSNode* d = new CSNode(8, 8, 8, nullptr, 0);
    EXPECT_TRUE(h.ReplaceNode(c, d, true));
    EXPECT_FALSE(h.ReplaceNode(c, d, false));
    EXPECT_EQ(h.GetTailNode(), d);
    CGraph::SwitchNode(b, d);
    EXPECT_EQ(g.GetNode(1), d);
    EXPECT_EQ(h.GetCount(), 1);
    EXPECT_NE(CGraph::GetComEdge(a, d), nullptr);
    ExpectMembership({&g, &h}, {a, d, e->GetNode1(), f->GetNode2()});
    EXPECT_EQ(b->GetGraphCount(), 0);
    delete b;
    EXPECT_EQ(g.RemoveNode(b), true);
}

TEST(Graph, AddNodeRingRules)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    CSNode* c = g.NewNode(2, 0, 0);
    CSNode* d = g.NewNode(3, 0, 0);
    std::vector<CSNode*> fresh;
    for (int i = 0; i < 6; ++i)
        fresh.push_back(new CSNode(9, 9, i, nullptr, 0));
    EXPECT_TRUE(g.AddNode(d, fresh[0], a));       // tail, head: appended
    EXPECT_EQ(g.GetTailNode(), fresh[0]);
    EXPECT_TRUE(g.AddNode(b, fresh[1], a));       // head and second: behind the head
    EXPECT_EQ(g.GetNode(1), fresh[1]);
    EXPECT_FALSE(g.AddNode(a, fresh[2], c));      // head and a node further on
    EXPECT_TRUE(g.AddNode(c, fresh[2], b));       // inner neighbours, either order
    EXPECT_EQ(g.GetNode(3), fresh[2]);
    EXPECT_FALSE(g.AddNode(b, fresh[3], d));      // not adjacent
    EXPECT_FALSE(g.AddNode(b, a, c));             // already in the list
    EXPECT_TRUE(g.AddNode(nullptr, fresh[3], b)); // in front of b
    EXPECT_EQ(g.GetNode(2), fresh[3]);
    EXPECT_TRUE(g.AddNode(c, fresh[4], nullptr)); // behind c
    EXPECT_EQ(g.GetNode(g.FindIndex(c) + 1), fresh[4]);
    EXPECT_TRUE(g.AddNode(nullptr, fresh[5], nullptr));
    EXPECT_EQ(g.GetTailNode(), fresh[5]);
    EXPECT_EQ(g.GetCount(), 10);
    ExpectMembership({&g}, List(g));
    for (CSNode* n : fresh)
        EXPECT_EQ(n->GetPrimaryGraph(), &g);
}

TEST(Graph, RemoveNode)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    CSNode stranger;
    EXPECT_TRUE(g.RemoveNode(&stranger));
    EXPECT_TRUE(g.RemoveNode(a));
    EXPECT_EQ(a->GetGraphCount(), 0);
    EXPECT_FALSE(g.RemoveNode(b));
    EXPECT_TRUE(g.IsEmpty());
    delete a;
    delete b;
}

TEST(Graph, SortAndRenumber)
{
    CGraph g;
    std::vector<CSNode*> n;
    for (unsigned id : {5u, 3u, 5u, 1u}) {
        n.push_back(g.NewNode(0, 0, id));
        n.back()->SetID(id);
    }
    g.SortNodes();
    EXPECT_EQ(List(g), (std::vector<CSNode*>{n[3], n[1], n[0], n[2]}));
    CGraph other;
    other.NewNode(n[1]); // not an own node of 'other'
    CSNode* mine = other.NewNode(1, 1, 1);
    long next = 100;
    other.RenumberNodes(next, 10);
    EXPECT_EQ(next, 110);
    EXPECT_EQ(mine->GetID(), 100u);
    EXPECT_EQ(n[1]->GetID(), 3u);
    CObList own;
    POSITION pos = other.GetHeadPosition();
    EXPECT_EQ(other.GetNextPrGrNode(pos), mine);
    EXPECT_EQ(other.GetNextPrGrNode(pos), nullptr);
    EXPECT_EQ(pos, nullptr);
}

TEST(Graph, RotateAndPreMultAboutACentre)
{
    CGraph g;
    CSNode* p = g.NewNode(0, 0, 0);
    CSNode* q = g.NewNode(1, 1, 0);
    g.ConnectNodes(p, q);
    g.Rotate(kPi, 1, 0, 2, false, false);
    EXPECT_EQ(p->x, 2.0);
    EXPECT_EQ(p->y, 0.0);
    EXPECT_EQ(q->x, 1.0);
    EXPECT_EQ(q->y, -1.0);

    CMatrix m;
    CAxis::RotMat(m, kPi, 2);
    const CMatrix before(m);
    CVector work(3);
    g.PreMult(m, work, 1.0, 0.0, 0.0, true);
    EXPECT_EQ(p->x, 0.0);
    EXPECT_EQ(p->y, 0.0);
    EXPECT_EQ(q->y, 1.0);
    // The caller's matrix is left as it was.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m[i][j], before[i][j]);

    g.Rotate(kPi / 2, 0.0, 0.0, 0, false, false); // about x through the origin
    EXPECT_EQ(q->y, 0.0);
    EXPECT_EQ(q->z, 1.0);
    g.Translate(1, 1, 1, false);
    EXPECT_EQ(p->x, 1.0);
}

TEST(Graph, EdgeQueriesAndMeasures)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(3, 0, 0);
    CSNode* c = g.NewNode(3, 4, 0);
    CSNode* lone = g.NewNode(-1, 7, 2);
    CEdge* ab = g.ConnectNodes(a, b);
    CEdge* bc = g.ConnectNodes(b, c);
    CEdge* ca = g.ConnectNodes(c, a);
    EXPECT_EQ(g.GetEdge(1), ab);
    EXPECT_EQ(g.GetEdge(0), ca);
    double max = -1.0, min = -1.0;
    g.GetDist(max, min);
    EXPECT_EQ(max, 5.0);
    EXPECT_EQ(min, 3.0);
    double xmax = 0, ymax = 0, xmin = 1, ymin = 1; // unset
    g.GetMaxMin(xmax, ymax, xmin, ymin);
    EXPECT_EQ(xmax, 3.0);
    EXPECT_EQ(xmin, -1.0);
    EXPECT_EQ(ymax, 7.0);
    EXPECT_EQ(ymin, 0.0);
    double emax[3] = {0, 0, 0}, emin[3] = {1, 1, 1};
    g.GetMaxMinExt(emax, emin);
    EXPECT_EQ(emax[2], 2.0);
    EXPECT_EQ(emin[2], 0.0);
    double mean[2];
    g.GetMeanCoord(mean, 2, 1);
    EXPECT_EQ(mean[0], 11.0 / 4);
    EXPECT_EQ(mean[1], 0.5);

    CObList solitary;
    g.GetSolitaryNodes(solitary);
    EXPECT_EQ(solitary.GetCount(), 1);
    CObList probe;
    probe.AddTail(a);
    probe.AddTail(lone);
    g.IsDangling(probe);
    ASSERT_EQ(probe.GetCount(), 1);
    EXPECT_EQ(probe.GetHead(), lone);

    CSNode* twin = g.NewNode(3, 0, 1e-12);
    EXPECT_EQ(g.FindOverlap(twin, nullptr), b);
    EXPECT_EQ(g.FindOverlap(b, nullptr), twin);

    // A second edge between the same nodes is dropped.
    new CEdge(b, a);
    EXPECT_EQ(g.CountEdges(false), 4);
    EXPECT_EQ(g.RemoveDoubleEdges(), 1);
    EXPECT_EQ(g.CountEdges(false), 3);
    EXPECT_EQ(CGraph::GetComEdge(a, b), ab);

    EXPECT_EQ(g.RmSolitaryNodes(true), 2);
    EXPECT_EQ(g.GetCount(), 3);
    (void)bc;
}

TEST(Graph, InsertNodesGrowsTheList)
{
    CGraph g, h;
    for (int i = 0; i < 5; ++i)
        g.NewNode(i, 0, 0);
    h.NewNode(g.GetHeadNode()); // shared, owned by g
    h.NewNode(9, 9, 9);
    NODELIST list;
    int count = 0;
    g.InsertNodesInList(list, true, count);
    h.InsertNodesInList(list, true, count);
    EXPECT_EQ(count, 6);
    list.m_nCount = count;
    EXPECT_EQ(list.m_pNodes[0], g.GetHeadNode());
    EXPECT_EQ(list.m_pNodes[5], h.GetTailNode());
    h.InsertNodesInList(list, false, count);
    EXPECT_EQ(count, 8);
    EXPECT_EQ(list.m_pNodes[6], g.GetHeadNode());
}

TEST(Graph, ConnectedGraphsFollowTheEdges)
{
    CGraph g1, g2, g3;
    CSNode* a = g1.NewNode(0, 0, 0);
    CSNode* b = g1.NewNode(1, 0, 0);
    CSNode* c = g2.NewNode(2, 0, 0);
    g3.NewNode(5, 5, 5);
    g1.ConnectNodes(a, b);
    new CEdge(b, c); // joins g1 to g2 without making c a node of g1
    CObList out;
    g1.ConnectedGraphs(&out);
    EXPECT_EQ(out.GetCount(), 2);
    EXPECT_NE(out.Find(&g1), nullptr);
    EXPECT_NE(out.Find(&g2), nullptr);
    EXPECT_EQ(out.Find(&g3), nullptr);
    CObList graphs, nodes;
    nodes.AddTail(c);
    nodes.AddTail(a);
    CGraph::GetGraphList(graphs, nodes);
    EXPECT_EQ(graphs.GetHead(), &g1);
    EXPECT_EQ(graphs.GetTail(), &g2);
}
