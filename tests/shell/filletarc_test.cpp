// The fillet of a region corner on a bare model: the arc, what the new edges
// and nodes carry over, short remainders, node identifiers and refusal.
#include "tests/shell/pages_fixture.h"

#include <cmath>
#include <set>

namespace
{

using namespace shelltest;

class FilletArc : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        doc.UpdateStatics(true);
        region = AddSquare(doc, 0.0, 0.0, 10.0);
        const std::vector<CSNode*> c = Corners(*region);
        corner = c[2]; // (10, 10)
        first = static_cast<CBoundary*>(CGraph::GetComEdge(c[1], c[2]));
        second = static_cast<CBoundary*>(CGraph::GetComEdge(c[2], c[3]));
        CBoundCond bc;
        bc.SetType(3);
        first->SetBC(bc, 0);
        auto* load = new CEdgeLoad;
        load->Allocate(6, true, 2.0);
        first->SetLoad(load);
    }
    void TearDown() override
    {
        doc.UpdateStatics(false);
        ShellTest::TearDown();
    }
    // The fillet of the corner with the radius; the arc's nodes by value.
    bool Fillet(double radius, int segments, bool taper = true)
    {
        seenBefore = -1;
        CObList* arc = nullptr;
        CSNode* at = nullptr;
        EXPECT_EQ(CGraph::PreFilletEdges(first, second, segments, 0, radius, arc, at), 1);
        EXPECT_EQ(at, corner);
        // The caller's snapshot sees the corner still in place.
        return BuildFilletArc(*doc.GetPlateComp(), first, second, corner, arc, taper,
                              [this] { seenBefore = static_cast<int>(Corners(*region).size()); });
    }

    int seenBefore = -1;

    CBrantelDoc doc;
    CSectPlate* region = nullptr;
    CSNode* corner = nullptr;
    CBoundary* first = nullptr;
    CBoundary* second = nullptr;
};

TEST_F(FilletArc, ArcReplacesTheCornerAndCarriesConditionsAndLoads)
{
    const DWORD before = CSNode::lIDnode;
    ASSERT_TRUE(Fillet(2.0, 4));
    EXPECT_EQ(seenBefore, 4);
    const std::vector<CSNode*> nodes = Corners(*region);
    ASSERT_EQ(nodes.size(), 8u); // three corners and five arc nodes
    std::set<DWORD> ids;
    int onArc = 0;
    for (CSNode* node : nodes) {
        EXPECT_TRUE(ids.insert(node->GetID()).second) << node->GetID();
        if (std::fabs(std::hypot(node->x - 8.0, node->y - 8.0) - 2.0) < 1e-9) {
            ++onArc;
            EXPECT_NE(dynamic_cast<CBoundNode*>(node), nullptr);
        }
    }
    EXPECT_EQ(onArc, 5);
    // The arc nodes keep their identifiers: the next node takes a new one.
    EXPECT_EQ(CSNode::lIDnode, before + 5);
    auto* next = new CSNode(0, 0, 0, nullptr, 0);
    EXPECT_FALSE(ids.count(next->GetID()));
    delete next;
    // Every boundary edge exists; those on first's side carry its condition
    // and a part of its load, the others carry none.
    int loaded = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        auto* edge = dynamic_cast<CBoundary*>(
            CGraph::GetComEdge(nodes[i], nodes[(i + 1) % nodes.size()]));
        ASSERT_NE(edge, nullptr) << i;
        if (edge->GetLoad()) {
            ++loaded;
            ASSERT_NE(edge->GetBC(0), nullptr);
            EXPECT_EQ(edge->GetBC(0)->GetType(), 3u);
        }
    }
    EXPECT_EQ(loaded, 1 + 2); // the straight remainder and two arc segments
}

TEST_F(FilletArc, ShortRemaindersEndTheArcAtTheFarNodes)
{
    ASSERT_TRUE(Fillet(9.9, 4));
    const std::vector<CSNode*> nodes = Corners(*region);
    // The arc's end nodes (0.1 from the far nodes) are left out.
    ASSERT_EQ(nodes.size(), 6u);
    for (CSNode* node : nodes)
        EXPECT_FALSE(std::fabs(node->x - 10.0) < 1e-9 && std::fabs(node->y - 0.1) < 1e-6);
    EXPECT_NE(CGraph::GetComEdge(nodes[1], nodes[2]), nullptr);
}

TEST_F(FilletArc, ArcCrossingTheModelChangesNothing)
{
    // A small square across the arc (at 45 degrees it passes (9.41, 9.41)).
    AddSquare(doc, 9.2, 9.2, 0.5);
    const DWORD before = CSNode::lIDnode;
    EXPECT_FALSE(Fillet(2.0, 4));
    EXPECT_EQ(seenBefore, -1);
    const std::vector<CSNode*> nodes = Corners(*region);
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[2], corner);
    EXPECT_EQ(CGraph::GetComEdge(nodes[1], nodes[2]), first);
    EXPECT_EQ(CGraph::GetComEdge(nodes[2], nodes[3]), second);
    ASSERT_NE(first->GetLoad(), nullptr);
    EXPECT_EQ(corner->GetEdgeList()->GetCount(), 2);
    EXPECT_EQ(CSNode::lIDnode, before + 5); // the discarded arc nodes' numbers
}

} // namespace
