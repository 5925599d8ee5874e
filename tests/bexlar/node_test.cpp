#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/afx/archive_files.h"

namespace {

constexpr double kPi = 3.141592653589793;

double Bearing(CSNode* from, CObject* edge)
{
    double a = -1.0;
    static_cast<CEdge*>(edge)->Get2DAngle(from, a);
    return a;
}

} // namespace

TEST(Node, ConstructorStoresNearZeroAsZero)
{
    CSNode a(1e-16, -1e-16, 1e-14, nullptr, 3);
    EXPECT_EQ(a.x, 0.0);
    EXPECT_EQ(a.y, 0.0);
    EXPECT_EQ(a.z, 1e-14);
    EXPECT_EQ(a.m_uiFlags, 3u);
    EXPECT_EQ(a.GetGraphList(), nullptr);
}

TEST(Node, EdgesSortedByBearingAndResortedByUpdate)
{
    CSNode c(0.0, 0.0, 0.0, nullptr, 0);
    CSNode w(-2.0, 0.0, 0.0, nullptr, 0);  // 270 degrees
    CSNode e1(1.0, 0.0, 0.0, nullptr, 0);  // 90
    CSNode e2(3.0, 0.0, 0.0, nullptr, 0);  // 90
    CEdge* west = new CEdge(&c, &w);
    CEdge* east1 = new CEdge(&c, &e1);
    CEdge* east2 = new CEdge(&e2, &c);
    CObList* list = c.GetEdgeList();
    ASSERT_EQ(list->GetCount(), 3);
    POSITION pos = list->GetHeadPosition();
    EXPECT_EQ(list->GetNext(pos), east1);
    EXPECT_EQ(list->GetNext(pos), east2);
    EXPECT_EQ(list->GetNext(pos), west);
    EXPECT_DOUBLE_EQ(Bearing(&c, west), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(Bearing(&c, east2), kPi / 2);
    // The wanted size is the shortest edge.
    EXPECT_EQ(c.GetSNodSpace(), 1.0);
    EXPECT_EQ(w.GetSNodSpace(), 2.0);

    c.Update(false, true);
    pos = list->GetHeadPosition();
    EXPECT_EQ(list->GetNext(pos), east2);
    EXPECT_EQ(list->GetNext(pos), east1);
    EXPECT_EQ(list->GetNext(pos), west);
    EXPECT_EQ(c.CountPositiveEdges(), 2);
    EXPECT_EQ(c.GetEdge(west->GetID()), west);
    EXPECT_EQ(c.GetMaxEdgeID(), east2->GetID());
}

// Edges joined in a batch end in the same order in every node's list, and
// give the same wanted sizes, as edges joined one by one: on a list in
// bearing order (ties kept in the order made), on a list put out of order
// by a node moved without an update, with edges of no length and with an
// edge deleted before the batch closed.
TEST(Node, EdgesJoinedInABatchEndAsJoinedOneByOne)
{
    struct Case {
        const char* name;
        bool unsorted;     // a node moved after the first edges were made
        bool deleteOne;    // the third new edge deleted before the end
    } cases[] = {{"sorted", false, false}, {"unsorted", true, false}, {"deleted", false, true}};
    // Around the centre: east twice, north, west, south-east, the centre's
    // own place (no length) and north-west; the first three are listed first.
    const double around[][2] = {{2, 0}, {1, 0}, {0, 3}, {-1, 0}, {1, -1}, {0, 0}, {-2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The lists and wanted sizes, the edges named by the index of the
        // node they lead to, and new edges from and to the centre in turn.
        const auto build = [&](bool batch) {
            CSNode centre(0.0, 0.0, 0.0, nullptr, 0);
            std::vector<std::unique_ptr<CSNode>> nodes;
            for (const auto& p : around)
                nodes.push_back(std::make_unique<CSNode>(p[0], p[1], 0.0, nullptr, 0));
            std::map<CObject*, int> index;
            for (int i = 0; i < 3; ++i)
                index[new CEdge(&centre, nodes[i].get())] = i;
            if (c.unsorted)
                nodes[2]->y = -3.0; // now south, still listed first
            {
                std::optional<CEdgeAttachBatch> open;
                if (batch)
                    open.emplace();
                for (int round = 0; round < 2; ++round)
                    for (int i = 0; i < 7; ++i) {
                        CEdge* edge = (i + round) % 2 ? new CEdge(nodes[i].get(), &centre)
                                                      : new CEdge(&centre, nodes[i].get());
                        index[edge] = 10 * (round + 1) + i;
                        if (c.deleteOne && round == 0 && i == 2) {
                            index.erase(edge);
                            delete edge;
                        }
                    }
            }
            std::vector<std::string> seen;
            for (CSNode* node : {&centre, nodes[0].get(), nodes[1].get(), nodes[5].get()}) {
                std::string text = std::to_string(node->GetSNodSpace()) + ":";
                if (CObList* list = node->GetEdgeList())
                    for (POSITION pos = list->GetHeadPosition(); pos;)
                        text += " " + std::to_string(index.at(list->GetNext(pos)));
                seen.push_back(text);
            }
            return seen;
        };
        const std::vector<std::string> oneByOne = build(false);
        EXPECT_EQ(build(true), oneByOne);
        // The centre lists every edge but a deleted one.
        EXPECT_EQ((oneByOne[0] + " ").find(" 12 ") == std::string::npos, c.deleteOne) << oneByOne[0];
    }
}

TEST(Node, WantedSize)
{
    CSNode n;
    EXPECT_TRUE(n.SetSNodSpace(2.0, false));
    EXPECT_FALSE(n.SetSNodSpace(5.0, false));
    EXPECT_EQ(n.GetSNodSpace(), 2.0);
    EXPECT_TRUE(n.SetSNodSpace(1.0, false));
    EXPECT_TRUE(n.SetSNodSpace(5.0, true));
    EXPECT_EQ(n.GetSNodSpace(), 5.0);
}

TEST(Node, Values)
{
    CSNode n;
    n.SetValue(1.0, -1);
    EXPECT_EQ(n.GetValueVector(), nullptr);
    n.SetValue(3.5, 4);
    ASSERT_NE(n.GetValueVector(), nullptr);
    ASSERT_EQ(n.GetValueVector()->GetSize(), 5);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(n.GetValue(i), 0.0);
    EXPECT_EQ(n.GetValue(4), 3.5);
    EXPECT_EQ(n.GetValue(5), 0.0);
    n.SetValue(2.0, 6);
    EXPECT_EQ(n.GetValueVector()->GetSize(), 7);
    EXPECT_EQ(n.GetValue(4), 3.5);
    n.AllocateValue(2);
    EXPECT_EQ(n.GetValue(0), 0.0);
    EXPECT_EQ(n.GetValueVector()->GetSize(), 2);
    n.AllocateValue(0);
    EXPECT_EQ(n.GetValueVector(), nullptr);
}

TEST(Node, CommonGraph)
{
    CGraph g1, g2, g3;
    CSNode a, b, c;
    a.AddGraph(&g1);
    a.AddGraph(&g3);
    b.AddGraph(&g2);
    b.AddGraph(&g3);
    c.AddGraph(&g2);
    EXPECT_EQ(a.GetComGraph(&b), &g3);
    EXPECT_EQ(a.GetComGraph(&c), nullptr);
    EXPECT_EQ(a.GetPrimaryGraph(), &g1);
    EXPECT_EQ(b.IsGraphInList(&g3), 1);
    EXPECT_TRUE(a.RemoveGraph(&g1));
    EXPECT_FALSE(a.RemoveGraph(&g1));
    EXPECT_EQ(a.GetPrimaryGraph(), &g3);
    a.RemoveGraphList();
    b.RemoveGraphList();
    c.RemoveGraphList();
}

TEST(Node, PolarToCartesian)
{
    CSNode n(kPi / 2 * 10.0, 2.0, 7.0, nullptr, 0);
    n.PolarToCart(10.0, 0);
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 2.0);
    EXPECT_EQ(n.z, 7.0);
    CSNode m(2.0, kPi, 0.0, nullptr, 0);
    m.PolarToCart(1.0, 1);
    EXPECT_EQ(m.x, -2.0);
    EXPECT_EQ(m.y, 0.0);
    // No other polar layout exists: the node stays as it is.
    CSNode k(1.0, 2.0, 3.0, nullptr, 0);
    k.PolarToCart(1.0, 2);
    EXPECT_EQ(k.x, 1.0);
    EXPECT_EQ(k.y, 2.0);
}

TEST(Node, TransformsAndSnapping)
{
    CSNode n(0.1 + 0.2, 1.0, 0.0, nullptr, 0);
    n.Translate(-0.3, 0.5, 0.0, false);
    EXPECT_EQ(n.x, 0.0); // 5.5e-17 snapped
    EXPECT_EQ(n.y, 1.5);

    CSNode r(0.0, 0.0, 0.0, nullptr, 0);
    r.Rotate(kPi, 1.0, 0.0, 0.0, 2, false);
    EXPECT_EQ(r.x, 2.0);
    EXPECT_EQ(r.y, 0.0);

    CMatrix m;
    CAxis::RotMat(m, kPi / 2, 2);
    CVector work(3);
    CSNode p(1.0, 2.0, 3.0, nullptr, 0);
    p.PreMult(m, work);
    EXPECT_EQ(p.x, -2.0);
    EXPECT_EQ(p.y, 1.0);
    EXPECT_EQ(p.z, 3.0);
    EXPECT_EQ(work[0], 1.0);

    double v[3] = {0.0, 0.0, 0.0};
    CSNode q(4.0, 5.0, 3.0, nullptr, 0);
    p.UnitVect3d(&q, v, 2.0);
    EXPECT_DOUBLE_EQ(v[0], 2.0 * 6.0 / std::sqrt(52.0));
    p.UnitVectAdd3d(&q, v, 0.0);
    EXPECT_DOUBLE_EQ(v[1], 2.0 * 4.0 / std::sqrt(52.0) + 4.0);
}

TEST(Node, CopyKeepsValuesAndLinksBothWays)
{
    CSNode n(1.0, 2.0, 3.0, nullptr, 72);
    n.SetValue(4.0, 1);
    n.SetSNodSpace(0.5, true);
    CSNode* copy = n.Copy(false);
    EXPECT_EQ(copy->GetCopyNode(), &n);
    EXPECT_EQ(n.GetCopyNode(), copy);
    EXPECT_EQ(copy->m_uiFlags, 72u);
    EXPECT_EQ(copy->GetValue(1), 4.0);
    EXPECT_NE(copy->GetValueVector(), n.GetValueVector());
    EXPECT_EQ(copy->GetSNodSpace(), 0.5);
    EXPECT_NE(copy->GetID(), n.GetID());
    delete copy; // clears the partner's link
    EXPECT_EQ(n.GetCopyNode(), nullptr);
}

TEST(Node, ReplaceWithMovesEdgesAndGraphs)
{
    CGraph g;
    CSNode* a = g.NewNode(0.0, 0.0, 0.0);
    CSNode* b = g.NewNode(1.0, 0.0, 0.0);
    CSNode* c = g.NewNode(2.0, 0.0, 0.0);
    g.ConnectNodes(a, b);
    g.ConnectNodes(b, c);
    CSNode* d = new CSNode(1.0, 1.0, 0.0, nullptr, 0);
    b->ReplaceWith(d);
    EXPECT_FALSE(b->IsConnected());
    EXPECT_EQ(b->GetGraphCount(), 0);
    EXPECT_EQ(g.GetNode(1), d);
    EXPECT_EQ(d->GetPrimaryGraph(), &g);
    EXPECT_NE(CGraph::GetComEdge(a, d), nullptr);
    EXPECT_NE(CGraph::GetComEdge(d, c), nullptr);
    delete b;
}

class NodeBlockImport : public ::testing::TestWithParam<const char*> {
protected:
    // Lines joined by the parameter's line end.
    void Write(std::initializer_list<const char*> lines)
    {
        std::string text;
        for (const char* l : lines)
            text += std::string(l) + GetParam();
        file.write(afxtest::text(text));
    }
    std::string Rest(CFile& f)
    {
        std::string s(static_cast<std::size_t>(f.GetLength() - f.GetPosition()), '\0');
        if (!s.empty())
            f.Read(s.data(), static_cast<UINT>(s.size()));
        return s;
    }
    void Free(CObList& nodes)
    {
        while (!nodes.IsEmpty())
            delete nodes.RemoveHead();
    }
    afxtest::TempFile file;
};

TEST_P(NodeBlockImport, CoordinatesCommentsAndPosition)
{
    Write({"header", "  nodes  ", "1 2 3", "4,5 6 ; comment 7", "", "; only a comment", "end nodes",
           "after"});
    CFile f(file.path(), CFile::modeRead);
    CObList nodes;
    CString comment(";");
    EXPECT_EQ(CSNode::ASCIIReadNodes(f, nodes, "Nodes", "End", &comment, 1, true), 2);
    ASSERT_EQ(nodes.GetCount(), 2);
    CSNode* a = static_cast<CSNode*>(nodes.GetHead());
    CSNode* b = static_cast<CSNode*>(nodes.GetTail());
    EXPECT_EQ(a->x, 1.0);
    EXPECT_EQ(a->y, 2.0);
    EXPECT_EQ(a->z, 3.0);
    EXPECT_EQ(b->x, 4.5);
    EXPECT_EQ(b->y, 6.0);
    EXPECT_EQ(b->z, 0.0);
    // With advance the file stands behind the end line.
    EXPECT_EQ(Rest(f), std::string("after") + GetParam());

    // Without advance it goes back to the line after the start key; the
    // count includes the nodes the list held before.
    f.SeekToBegin();
    EXPECT_EQ(CSNode::ASCIIReadNodes(f, nodes, "nodes", "end", nullptr, 2, false), 5);
    CSNode* c = static_cast<CSNode*>(nodes.GetAt(nodes.FindIndex(2)));
    EXPECT_EQ(c->x, 1.0);
    EXPECT_EQ(c->y, 2.0);
    EXPECT_EQ(c->z, 0.0);
    EXPECT_EQ(Rest(f).substr(0, 5), "1 2 3");

    // A missing start key changes nothing.
    f.SeekToBegin();
    EXPECT_EQ(CSNode::ASCIIReadNodes(f, nodes, "missing", "end", nullptr, 1, true), 0);
    EXPECT_EQ(nodes.GetCount(), 5);
    Free(nodes);
}

TEST_P(NodeBlockImport, IdentifiersKeepTheCounterAhead)
{
    const DWORD high = CSNode::lIDnode + 1000;
    const std::string big = std::to_string(high) + " 1 2 3";
    Write({"NODES", "17 4 5 6", big.c_str(), "0 7 8 9", "200000000 1 1 1", "END"});
    CFile f(file.path(), CFile::modeRead);
    CObList nodes;
    const DWORD before = CSNode::lIDnode;
    ASSERT_EQ(CSNode::ASCIIReadNodes(f, nodes, "NODES", "END", nullptr, 4, false), 4);
    POSITION pos = nodes.GetHeadPosition();
    CSNode* n17 = static_cast<CSNode*>(nodes.GetNext(pos));
    CSNode* nHigh = static_cast<CSNode*>(nodes.GetNext(pos));
    CSNode* zero = static_cast<CSNode*>(nodes.GetNext(pos));
    CSNode* tooBig = static_cast<CSNode*>(nodes.GetNext(pos));
    EXPECT_EQ(n17->GetID(), 17u);
    EXPECT_EQ(n17->x, 4.0);
    EXPECT_EQ(n17->z, 6.0);
    EXPECT_EQ(nHigh->GetID(), high);
    // Identifiers outside the node range are refused: fresh ones instead.
    EXPECT_EQ(zero->GetID(), before);
    EXPECT_EQ(zero->x, 7.0);
    EXPECT_EQ(tooBig->GetID(), before + 1);
    EXPECT_EQ(CSNode::lIDnode, high + 1);

    // Identifiers below the counter leave it where it is.
    f.SeekToBegin();
    CObList more;
    const DWORD now = CSNode::lIDnode;
    Write({"NODES", "17 0 0 0", "END"});
    CFile g(file.path(), CFile::modeRead);
    ASSERT_EQ(CSNode::ASCIIReadNodes(g, more, "NODES", "END", nullptr, 4, false), 1);
    EXPECT_EQ(CSNode::lIDnode, now);
    Free(nodes);
    Free(more);
}

TEST_P(NodeBlockImport, IdentifiersNeverLeaveTheNodeRange)
{
    const DWORD saved = CSNode::lIDnode;
    // The last identifier the counter can still move past is taken; the
    // range's last one is refused (the node keeps the one it drew).
    Write({"NODES", "99999999 0 0 0", "100000000 1 1 1", "END"});
    CFile f(file.path(), CFile::modeRead);
    CObList nodes;
    const DWORD before = CSNode::lIDnode;
    ASSERT_EQ(CSNode::ASCIIReadNodes(f, nodes, "NODES", "END", nullptr, 4, false), 2);
    EXPECT_EQ(static_cast<CSNode*>(nodes.GetHead())->GetID(), 99999999u);
    EXPECT_EQ(static_cast<CSNode*>(nodes.GetTail())->GetID(), before);
    EXPECT_EQ(CSNode::lIDnode, CSNode::kLastID);

    // New nodes then get the range's last identifier, never an edge's.
    for (int i = 0; i < 3; ++i) {
        CSNode* node = new CSNode;
        nodes.AddTail(node);
        EXPECT_EQ(node->GetID(), CSNode::kLastID) << i;
    }
    // Giving a number back still lowers the counter by one.
    const DWORD counter = CSNode::lIDnode;
    delete new CSNode;
    --CSNode::lIDnode;
    EXPECT_EQ(CSNode::lIDnode, counter);
    Free(nodes);
    CSNode::lIDnode = saved;
}

INSTANTIATE_TEST_SUITE_P(LineEnds, NodeBlockImport, ::testing::Values("\r\n", "\n"),
                         [](const auto& info) { return info.index == 0 ? "CRLF" : "LF"; });
