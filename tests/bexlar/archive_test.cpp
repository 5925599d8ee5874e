#include <algorithm>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/bexlar.h"
#include "tests/afx/archive_files.h"

using afxtest::Bytes;
using afxtest::loadBytes;
using afxtest::storeBytes;
using afxtest::operator+;

namespace {

// Little-endian builders of expected archive bytes.
Bytes W(WORD w)
{
    return {static_cast<BYTE>(w & 0xFF), static_cast<BYTE>(w >> 8)};
}
Bytes D(DWORD d)
{
    Bytes b(4);
    std::memcpy(b.data(), &d, 4);
    return b;
}
Bytes F(double v)
{
    Bytes b(8);
    std::memcpy(b.data(), &v, 8);
    return b;
}
Bytes NewClass(const std::string& name, WORD schema)
{
    return W(0xFFFF) + W(schema) + W(static_cast<WORD>(name.size())) + afxtest::text(name);
}
Bytes NodeFields(double size, DWORD flags, double x, double y, double z)
{
    return F(size) + D(flags) + F(x) + F(y) + F(z);
}

// Frees what a failed load made: edges first (they leave their nodes),
// then nodes (they leave their graphs), then the rest.
void DeleteCreated(const std::vector<CObject*>& created)
{
    std::vector<CObject*> groups[3];
    for (CObject* o : created)
        groups[o->IsKindOf(RUNTIME_CLASS(CEdge)) ? 0 : o->IsKindOf(RUNTIME_CLASS(CSNode)) ? 1 : 2]
            .push_back(o);
    for (const auto& group : groups)
        for (CObject* o : group)
            delete o;
}

// A loading run that must fail with an archive exception; frees what it made.
void ExpectLoadFails(const Bytes& bytes, const std::function<void(CArchive&)>& body)
{
    bool thrown = false;
    loadBytes(bytes, [&](CArchive& ar) {
        try {
            body(ar);
        } catch (CArchiveException&) {
            thrown = true;
        }
        DeleteCreated(ar.GetCreatedObjects());
    });
    EXPECT_TRUE(thrown);
}

std::vector<CObject*> Edges(CSNode* n)
{
    std::vector<CObject*> v;
    if (n->GetEdgeList())
        for (POSITION pos = n->GetEdgeList()->GetHeadPosition(); pos;)
            v.push_back(n->GetEdgeList()->GetNext(pos));
    return v;
}

} // namespace

TEST(NodeArchive, Layout)
{
    CSNode lone(1.5, -2.0, 1e-13, nullptr, 9);
    lone.SetSNodSpace(0.25, true);
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&lone); });
    EXPECT_EQ(bytes, NewClass("CSNode", 1) + NodeFields(0.25, 9, 1.5, -2.0, 1e-13) + D(0));

    // Two nodes and one edge, written from the node the edge starts at.
    CSNode a(0, 0, 0, nullptr, 0), b(1, 0, 0, nullptr, 0);
    new CNodeLink(&a, &b);
    static_cast<CNodeLink*>(a.GetEdgeList()->GetHead())->m_ulValue = 5;
    const Bytes pair = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&b); });
    // b holds the edge but does not start it: no edge written.
    EXPECT_EQ(pair, NewClass("CSNode", 1) + NodeFields(1.0, 0, 1, 0, 0) + D(0));
    const Bytes chain = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&a); });
    // Indexes: class CSNode 1, a 2, class CNodeLink 3, the link 4.
    EXPECT_EQ(chain, NewClass("CSNode", 1) + NodeFields(1.0, 0, 0, 0, 0) + D(1) +
                         NewClass("CNodeLink", 1) + W(2) + W(0x8001) +
                         NodeFields(1.0, 0, 1, 0, 0) + D(0) + D(5));

    CSNode* loaded = nullptr;
    loadBytes(chain, [&](CArchive& ar) { ar >> loaded; });
    ASSERT_NE(loaded, nullptr);
    ASSERT_TRUE(loaded->IsConnected());
    CEdge* link = static_cast<CEdge*>(loaded->GetEdgeList()->GetHead());
    ASSERT_TRUE(link->IsKindOf(RUNTIME_CLASS(CNodeLink)));
    EXPECT_EQ(static_cast<CNodeLink*>(link)->m_ulValue, 5u);
    EXPECT_TRUE(link->IsCellEdge() == false);
    CSNode* other = link->GetNode2();
    EXPECT_EQ(other->x, 1.0);
    EXPECT_NE(link->GetID(), static_cast<CEdge*>(a.GetEdgeList()->GetHead())->GetID());
    delete other;
    delete loaded;
}

TEST(NodeArchive, LoadClearsSubNodeFlagAndSnapsNearZero)
{
    const Bytes bytes = NewClass("CSNode", 1) + NodeFields(2.0, 8 | 64, 1e-14, 1e-13, -1e-14) + D(0);
    CSNode* n = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> n; });
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->m_uiFlags, 64u);
    EXPECT_EQ(n->x, 0.0);
    EXPECT_EQ(n->y, 1e-13);
    EXPECT_EQ(n->z, 0.0);
    EXPECT_EQ(n->GetSNodSpace(), 2.0);
    delete n;
}

TEST(NodeArchive, EdgesComeBackSortedByBearing)
{
    CGraph g;
    CSNode* c = g.NewNode(0, 0, 0);
    CSNode* w = g.NewNode(-1, 0, 0);
    CSNode* n = g.NewNode(0, 1, 0);
    CSNode* e = g.NewNode(1, 0, 0);
    g.ConnectNodes(w, c);
    g.ConnectNodes(c, n);
    g.ConnectNodes(e, c);
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&g); });
    CGraph* h = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> h; });
    ASSERT_NE(h, nullptr);
    CSNode* lc = h->GetHeadNode();
    const std::vector<CObject*> edges = Edges(lc);
    ASSERT_EQ(edges.size(), 3u);
    EXPECT_EQ(static_cast<CEdge*>(edges[0])->GetNode(lc)->y, 1.0);  // 0
    EXPECT_EQ(static_cast<CEdge*>(edges[1])->GetNode(lc)->x, 1.0);  // 90
    EXPECT_EQ(static_cast<CEdge*>(edges[2])->GetNode(lc)->x, -1.0); // 270
    EXPECT_EQ(h->GetName(), g.GetName());
    EXPECT_EQ(h->GetID(), CGraph::lIDGraph - 1); // a new identifier
    delete h;
}

TEST(GraphArchive, LayoutAndAxis)
{
    CGraph g;
    g.SetName("Plate");
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(2, 0, 0);
    g.ConnectNodes(a, b);
    CAxis axis(a, b, nullptr);
    const Bytes bytes = storeBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&g);
        ar << static_cast<CObject*>(&axis);
    });
    // 1 CGraph, 2 g, 3 CSNode, 4 a, 5 CEdge, 6 edge, 7 b, 8 CAxis, 9 axis.
    const Bytes expected = NewClass("CGraph", 1) + W(2) + NewClass("CSNode", 1) +
                           NodeFields(2.0, 0, 0, 0, 0) + D(1) + NewClass("CEdge", 1) + W(4) +
                           W(0x8003) + NodeFields(2.0, 0, 2, 0, 0) + D(0) + W(7) + Bytes{5} +
                           afxtest::text("Plate") + NewClass("CAxis", 1) + W(4) + W(7) + W(0);
    EXPECT_EQ(bytes, expected);

    CGraph* h = nullptr;
    CAxis* loadedAxis = nullptr;
    loadBytes(bytes, [&](CArchive& ar) {
        ar >> h;
        ar >> loadedAxis;
    });
    ASSERT_NE(h, nullptr);
    ASSERT_NE(loadedAxis, nullptr);
    EXPECT_EQ(loadedAxis->GetOrigin(), h->GetHeadNode());
    EXPECT_EQ(loadedAxis->GetXNode(), h->GetTailNode());
    EXPECT_EQ(loadedAxis->GetZNode(), nullptr);
    EXPECT_EQ(h->GetName(), CString("Plate"));
    EXPECT_EQ(h->GetHeadNode()->GetPrimaryGraph(), h);
    delete loadedAxis; // its nodes belong to the graph
    EXPECT_EQ(h->GetCount(), 2);
    delete h;
}

// A loaded axis frees only the nodes that were new at its slots; a free node
// read before it stays its first reader's, also when a failed load is
// discarded (each object freed once, under the sanitizers).
TEST(GraphArchive, AxisOwnsOnlyTheNodesNewAtItsSlots)
{
    CSNode* loose = new CSNode(5.0, 0.0, 0.0, nullptr, 0);
    CSNode* own = new CSNode(6.0, 0.0, 0.0, nullptr, 0);
    CAxis* axis = new CAxis(loose, own, nullptr);
    const Bytes bytes = storeBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(loose);
        ar << static_cast<CObject*>(axis);
    });
    delete axis; // frees both: they were given to it
    CObject* node = nullptr;
    CAxis* loaded = nullptr;
    loadBytes(bytes, [&](CArchive& ar) {
        ar >> node;
        ar >> loaded;
    });
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetOrigin(), node);
    delete loaded; // frees its x-node only
    EXPECT_EQ(static_cast<CSNode*>(node)->x, 5.0);
    delete node;

    // The same file discarded: the archive frees the loose node, the axis its own.
    loadBytes(bytes, [&](CArchive& ar) {
        ar >> node;
        ar >> loaded;
        ar.DeleteCreatedObjects();
    });
}

TEST(GraphArchive, SharedNodesAndTheTwoPasses)
{
    CGraph g1, g2;
    CSNode* a = g1.NewNode(0, 0, 0);
    CSNode* s = g1.NewNode(1, 0, 0);
    g2.NewNode(s);
    CSNode* c = g2.NewNode(1, 1, 0);
    g1.ConnectNodes(a, s);
    g2.ConnectNodes(s, c);
    a->SetID(10);
    s->SetID(20);
    c->SetID(CSNode::lIDnode + 5000);
    const DWORD highest = c->GetID();
    const Bytes bytes = storeBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&g1) << static_cast<CObject*>(&g2);
        g1.SerializeNodeIDs(ar);
        g2.SerializeNodeIDs(ar);
        g1.SecondarySerial(ar);
        g2.SecondarySerial(ar);
    });
    // The id pass writes the own nodes only: a and s for g1, c for g2.
    const Bytes ids = D(10) + D(20) + D(highest);
    EXPECT_TRUE(std::equal(ids.begin(), ids.end(), bytes.end() - 12));

    CGraph *h1 = nullptr, *h2 = nullptr;
    loadBytes(bytes, [&](CArchive& ar) {
        ar >> h1 >> h2;
        h1->SerializeNodeIDs(ar);
        h2->SerializeNodeIDs(ar);
        h1->SecondarySerial(ar);
        h2->SecondarySerial(ar);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
    ASSERT_NE(h1, nullptr);
    ASSERT_NE(h2, nullptr);
    CSNode* shared = h2->GetHeadNode();
    EXPECT_EQ(shared, h1->GetTailNode());
    EXPECT_EQ(shared->GetPrimaryGraph(), h1);
    EXPECT_EQ(shared->GetID(), 20u);
    EXPECT_EQ(h1->GetHeadNode()->GetID(), 10u);
    EXPECT_EQ(h2->GetTailNode()->GetID(), highest);
    // Later nodes never draw a restored identifier again.
    EXPECT_EQ(CSNode::lIDnode, highest + 1);

    // An older file without the passes loads quietly with fresh identifiers.
    const Bytes older = storeBytes(
        [&](CArchive& ar) { ar << static_cast<CObject*>(&g1) << static_cast<CObject*>(&g2); });
    CGraph *o1 = nullptr, *o2 = nullptr;
    loadBytes(older, [&](CArchive& ar) {
        ar >> o1 >> o2;
        o1->SerializeNodeIDs(ar);
        o2->SerializeNodeIDs(ar);
        o1->SecondarySerial(ar);
        o2->SecondarySerial(ar);
    });
    EXPECT_GT(o1->GetHeadNode()->GetID(), highest);
    delete o2;
    delete o1;
    delete h2;
    delete h1;
}

TEST(GraphArchive, TruncatedDataFails)
{
    CGraph g;
    g.SetName("Truncated");
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(1, 0, 0);
    CSNode* c = g.NewNode(1, 1, 0);
    g.ConnectNodes(a, b);
    g.ConnectNodes(b, c);
    g.ConnectNodes(c, a);
    const Bytes full = storeBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&g);
        g.SerializeNodeIDs(ar);
    });
    const std::size_t nameAt = full.size() - 12 - 10; // ids, then "Truncated" and its length
    // Cut anywhere inside the nodes and edges: the load fails.
    for (std::size_t cut : {std::size_t{10}, std::size_t{60}, nameAt - 30, nameAt - 1}) {
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        ExpectLoadFails(part, [](CArchive& ar) {
            CGraph* h = nullptr;
            ar >> h;
        });
    }
    // Cut inside the name or inside the id pass: fails too.
    for (std::size_t cut : {nameAt + 3, full.size() - 2}) {
        const Bytes part(full.begin(), full.begin() + static_cast<long>(cut));
        ExpectLoadFails(part, [](CArchive& ar) {
            CGraph* h = nullptr;
            ar >> h;
            h->SerializeNodeIDs(ar);
        });
    }
    // Ending right before the name: an older graph without one.
    const Bytes noName(full.begin(), full.begin() + static_cast<long>(nameAt));
    CGraph* h = nullptr;
    loadBytes(noName, [&](CArchive& ar) { ar >> h; });
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->GetCount(), 3);
    EXPECT_EQ(h->CountEdges(false), 3);
    EXPECT_EQ(h->GetHeadNode()->GetPrimaryGraph(), h);
    EXPECT_EQ(h->GetName().Left(7), CString("Graph ("));
    delete h;
}

TEST(GraphArchive, EarlierNodeLayoutWithWholeEdgeLists)
{
    CGraph g;
    CSNode* a = g.NewNode(0, 0, 0);
    CSNode* b = g.NewNode(3, 0, 0);
    CSNode* c = g.NewNode(0, 4, 0);
    g.ConnectNodes(a, b);
    g.ConnectNodes(b, c);
    g.ConnectNodes(c, a);
    CSNode lone(1, 2, 3, nullptr, 0);
    CSNode::m_cVer = 0;
    const Bytes loneBytes = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&lone); });
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&g); });
    CGraph* h = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> h; });
    CSNode::m_cVer = 1;
    // Fields, then the edge list as one object (null here).
    EXPECT_EQ(loneBytes, NewClass("CSNode", 1) + NodeFields(0, 0, 1, 2, 3) + W(0));
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->GetCount(), 3);
    EXPECT_EQ(h->CountEdges(false), 3);
    for (POSITION pos = h->GetHeadPosition(); pos;)
        EXPECT_EQ(h->GetNextNode(pos)->GetEdgeList()->GetCount(), 2);
    EXPECT_EQ(h->GetNode(1)->GetSNodSpace(), 3.0);
    delete h;
}

TEST(GraphArchive, LongPathGraphRoundTrips)
{
    constexpr int kNodes = 200000;
    CGraph g;
    CSNode* previous = g.NewNode(0, 0, 0);
    for (int i = 1; i < kNodes; ++i) {
        CSNode* next = g.NewNode(i, (i % 7) * 0.5, 0);
        new CEdge(previous, next);
        previous = next;
    }
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&g); });
    CGraph* h = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> h; });
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(h->GetCount(), kNodes);
    EXPECT_EQ(h->CountEdges(false), kNodes - 1);
    CSNode* last = h->GetTailNode();
    EXPECT_EQ(last->x, kNodes - 1.0);
    EXPECT_EQ(static_cast<CEdge*>(last->GetEdgeList()->GetHead())->GetNode1()->x, kNodes - 2.0);
    delete h;
}
