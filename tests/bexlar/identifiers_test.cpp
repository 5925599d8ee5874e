#include <gtest/gtest.h>

#include "geometry/bexlar.h"

namespace {

// The first node, edge and graph of the process, made before any test body
// runs (nothing else of the library has made an object yet).
struct FirstObjects {
    DWORD node = 0, edge = 0, graph = 0;
    CString name;
    FirstObjects()
    {
        CSNode* a = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
        CSNode* b = new CSNode(1.0, 0.0, 0.0, nullptr, 0);
        CEdge* e = new CEdge(a, b);
        CGraph* g = new CGraph;
        node = a->GetID();
        edge = e->GetID();
        graph = static_cast<DWORD>(g->GetID());
        name = g->GetName();
        delete g;
        delete a; // and its edge
        delete b;
    }
};
const FirstObjects kFirst;

} // namespace

TEST(Identifiers, FirstObjectsOfTheProcess)
{
    EXPECT_EQ(kFirst.node, 1u);
    EXPECT_EQ(kFirst.edge, 100000001u);
    EXPECT_EQ(kFirst.graph, 4000000001u);
    EXPECT_STREQ(kFirst.name, "Graph (1)");
}

TEST(Identifiers, TemporaryNodesGiveTheirNumberBack)
{
    CSNode a(0.0, 0.0, 0.0, nullptr, 0);
    CSNode b(4.0, 0.0, 0.0, nullptr, 0);
    CEdge* edge = new CEdge(&a, &b);
    const DWORD before = CSNode::lIDnode;

    CSNode* copy = a.Copy(true);
    EXPECT_EQ(copy->GetID(), a.GetID());
    CSNode p(2.0, 1e-7, 0.0, nullptr, 0);
    const DWORD afterP = CSNode::lIDnode;
    EXPECT_TRUE(edge->IsOnEdge2D(&p));
    {
        CAxis axis(true);
    }
    EXPECT_EQ(CSNode::lIDnode, afterP);
    EXPECT_EQ(afterP, before + 1);

    CSNode* fresh = a.Copy(false);
    EXPECT_EQ(fresh->GetID(), afterP);
    delete fresh;
    delete copy;
}
