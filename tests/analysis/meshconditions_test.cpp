// The conditions a mesh takes where supported edges meet: the corner node
// holds what each edge holds whichever way the conditions were set (on the
// edges only, or copied to the nodes by "Apply to node i/j"), a condition
// the user set on the node itself is kept, and the model's nodes keep what
// the user set. Checked by the uniform-tension patch through the free mesh
// generation with the real solver (the constrained documents' mesh
// generation is checked through their frame in the shell's tests).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/analysis/plate_fixture.h"
#include "tests/analysis/plate_model.h"
#include "tests/analysis/work_dir.h"

namespace
{

class MeshConditions : public analysistest::WorkDirTest
{
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        m_saved = platetest::Counters{};
        CGraph::m_pNodeList = &m_nodes;
        CSectMeshArea::StopCalc(false);
        CMGenerator::Stop(false);
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
    platetest::Counters m_saved;
};

// How the user set the supports of the patch.
enum class Way {
    EdgesOnly,      // the edge pages with "Apply to node i/j" unticked
    AppliedToNodes, // ticked on both edges: each end node holds a copy of the
                    // edge's condition along the edge, the corner the last one
    OwnCorner,      // edges only, and the corner fixed on the node page
    ListAppliedToNodes, // both edges as one list with "Apply to nodes": each
                        // end node holds the edges' condition, the corner
                        // along the mean of the two directions
};

// The mesh copy of the model node at (x, y).
CSNode* MeshNode(CSectPlate* region, double x, double y)
{
    for (CElement* e : platetest::Elements(region))
        for (int k = 0; k < e->GetCount(); ++k)
            if (CSNode* n = e->GetNode(k); n->x == x && n->y == y)
                return n;
    return nullptr;
}

// A 1000 x 1000 mm membrane, 10 mm thick, on rollers along its left and
// bottom edges ("Roller 1": the displacement across the edge held), pulled
// with 10 N/mm on its right edge: sigma_x = 1 N/mm^2 everywhere, sigma_y
// and tau_xy 0, which needs the corner at the origin held both ways.
TEST_F(MeshConditions, MeetingRollerEdgesHoldTheCornerOfTheTensionPatch)
{
    for (int code : {41, 32})
        for (Way way : {Way::EdgesOnly, Way::AppliedToNodes, Way::OwnCorner, Way::ListAppliedToNodes}) {
            SCOPED_TRACE(testing::Message() << code << " way " << static_cast<int>(way));
            analysistest::PlateModel m(code, 1000.0, 1000.0, 10.0);
            CObList edges;
            m.region->GetEdges(edges);
            CBoundary *left = nullptr, *bottom = nullptr, *right = nullptr;
            for (POSITION p = edges.GetHeadPosition(); p;) {
                auto* e = static_cast<CBoundary*>(edges.GetNext(p));
                const double x1 = e->GetNode1()->x, x2 = e->GetNode2()->x;
                const double y1 = e->GetNode1()->y, y2 = e->GetNode2()->y;
                if (x1 == 0.0 && x2 == 0.0)
                    left = e;
                else if (y1 == 0.0 && y2 == 0.0)
                    bottom = e;
                else if (x1 == 1000.0 && x2 == 1000.0)
                    right = e;
            }
            ASSERT_TRUE(left && bottom && right);
            for (CBoundary* e : {left, bottom}) {
                e->SetBC(1u, 0);
                if (way != Way::AppliedToNodes)
                    continue;
                CSNode* start = nullptr;
                const double angle = e->GetCClWAngle(start);
                for (CSNode* n : {e->GetNode1(), e->GetNode2()}) {
                    auto* node = static_cast<CBoundNode*>(n);
                    node->SetBC(*e->GetBC(0), 0);
                    node->SetAngle(angle, 0);
                }
            }
            if (way == Way::OwnCorner)
                m.corner[0]->SetStandBC(2u, 0);
            if (way == Way::ListAppliedToNodes) {
                const auto listed = [&](CObject* e) { return e == left || e == bottom; };
                for (CBoundNode* node : {m.corner[0], m.corner[1], m.corner[3]}) {
                    node->SetStandBC(1u, 0);
                    if (const double angle = EdgeListNodeAngle(*node, listed); angle != 0.0)
                        node->SetAngle(angle, 0);
                }
                // The corner's line runs across the corner, along neither edge.
                EXPECT_NEAR(std::fabs(std::remainder(m.corner[0]->GetBC(0)->GetAngle(), std::numbers::pi / 2.0)),
                            std::numbers::pi / 4.0, 1e-12);
            }
            auto* load = new CEdgeLoad;
            load->Allocate(6, true, 0.0);
            (*load)[0] = (*load)[2] = (*load)[4] = 10.0;
            right->SetLoad(load);

            m.comp->m_iSubdivisions = 10;
            ASSERT_TRUE(m.comp->PreCalc(nullptr, nullptr, 0));
            CStringArray log, errors;
            ASSERT_TRUE(m.comp->CPlateComp::Calculate(&log, &errors))
                << (errors.GetSize() ? errors[0].GetString() : "");
            const std::vector<CElement*> elements = platetest::Elements(m.region);
            ASSERT_FALSE(elements.empty());
            for (int r = 0; r < 3; ++r) {
                double lo = 1e300, hi = -1e300;
                for (CElement* e : elements)
                    for (int k = 0; k < (code == 32 ? 3 : e->GetCount());
                         ++k) { // the stress points
                        lo = std::min(lo, e->GetStressFromIndex(r, k));
                        hi = std::max(hi, e->GetStressFromIndex(r, k));
                    }
                const double expected = r == 0 ? 1.0 : 0.0;
                EXPECT_NEAR(lo, expected, 1e-9) << r;
                EXPECT_NEAR(hi, expected, 1e-9) << r;
            }

            // The mesh's corner holds both ways: the corner kind of two
            // rollers, or the user's fixed support.
            CSNode* corner = MeshNode(m.region, 0.0, 0.0);
            ASSERT_NE(corner, nullptr);
            ASSERT_NE(corner->GetBC(0), nullptr);
            EXPECT_EQ(corner->GetBC(0)->GetBCType(), way == Way::OwnCorner ? 2u : 0x20u | 1u);
            // The model's nodes hold what the user set, nothing more.
            CBoundCond* own = m.corner[0]->GetBC(0);
            switch (way) {
            case Way::EdgesOnly:
                EXPECT_TRUE(!own || own->IsClear(true));
                EXPECT_TRUE(!m.corner[1]->GetBC(0) || m.corner[1]->GetBC(0)->IsClear(true));
                break;
            case Way::AppliedToNodes:
            case Way::ListAppliedToNodes:
                ASSERT_NE(own, nullptr);
                EXPECT_EQ(own->GetBCType(), 1u);
                break;
            case Way::OwnCorner:
                ASSERT_NE(own, nullptr);
                EXPECT_EQ(own->GetBCType(), 2u);
                break;
            }
        }
}

// Where an edge ends at a node the user gave a condition of another kind,
// the mesh node keeps the user's condition; a node that only carries a copy
// of its one supported edge takes the edge's condition as before.
TEST_F(MeshConditions, TheUsersNodeConditionIsKeptAtTheEndOfASupportedEdge)
{
    analysistest::PlateModel m(41, 100.0, 100.0, 1.0);
    CObList edges;
    m.region->GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;) {
        auto* e = static_cast<CBoundary*>(edges.GetNext(p));
        if (e->GetNode1()->x == 0.0 && e->GetNode2()->x == 0.0)
            e->SetBC(1u, 0); // the left edge on rollers
    }
    m.corner[3]->SetStandBC(4u, 0); // (0, 100): "Roller 2" of the node page, x axis along x
    m.Divide(2, 2);
    ASSERT_TRUE(m.Mesh());
    CSNode* top = MeshNode(m.region, 0.0, 100.0);
    CSNode* bottom = MeshNode(m.region, 0.0, 0.0);
    ASSERT_TRUE(top && bottom);
    ASSERT_NE(top->GetBC(0), nullptr);
    EXPECT_EQ(top->GetBC(0)->GetBCType(), 4u);
    EXPECT_EQ(top->GetBC(0)->GetAngle(), 0.0);
    ASSERT_NE(bottom->GetBC(0), nullptr);
    EXPECT_EQ(bottom->GetBC(0)->GetBCType(), 1u);
    EXPECT_NEAR(bottom->GetBC(0)->GetAngle(), std::acos(0.0), 1e-12);
    EXPECT_EQ(m.corner[3]->GetBC(0)->GetBCType(), 4u);
}

// A buckling model holds two condition sets: the membrane set (0) and the
// plate set (1). Each follows the corner rule on its own: rollers on the
// left and bottom edges in the membrane set, every edge simply supported in
// the plate set; a plate condition the user set on a corner is kept.
TEST_F(MeshConditions, EachConditionSetTakesItsOwnCorners)
{
    analysistest::PlateModel m(41, 1000.0, 1000.0, 10.0);
    CObList edges;
    m.region->GetEdges(edges);
    for (POSITION p = edges.GetHeadPosition(); p;) {
        auto* e = static_cast<CBoundary*>(edges.GetNext(p));
        const bool left = e->GetNode1()->x == 0.0 && e->GetNode2()->x == 0.0;
        const bool bottom = e->GetNode1()->y == 0.0 && e->GetNode2()->y == 0.0;
        if (left || bottom)
            e->SetBC(1u, 0);
        e->SetBC(1u, 1); // on the others the membrane set's place is empty
    }
    m.corner[2]->SetStandBC(2u, 1); // (1000, 1000) fixed in the plate set
    m.Divide(4, 4);
    ASSERT_TRUE(m.Mesh());

    const auto type = [&](double x, double y, int set) {
        CSNode* n = MeshNode(m.region, x, y);
        CBoundCond* bc = n ? n->GetBC(set) : nullptr;
        return bc ? bc->GetBCType() : 0u;
    };
    EXPECT_EQ(type(0.0, 0.0, 0), 0x20u | 1u);
    EXPECT_EQ(type(0.0, 0.0, 1), 0x20u | 1u);
    EXPECT_EQ(type(1000.0, 0.0, 0), 1u); // the bottom edge's roller
    EXPECT_EQ(type(1000.0, 0.0, 1), 0x20u | 1u);
    EXPECT_EQ(type(0.0, 1000.0, 0), 1u); // the left edge's roller
    EXPECT_EQ(type(0.0, 1000.0, 1), 0x20u | 1u);
    EXPECT_EQ(type(1000.0, 1000.0, 0), 0u);
    EXPECT_EQ(type(1000.0, 1000.0, 1), 2u);
    // The model keeps what the user set.
    for (int c : {0, 1, 3})
        EXPECT_TRUE(!m.corner[c]->GetBC(0) || m.corner[c]->GetBC(-1)->IsClear(true)) << c;
    ASSERT_NE(m.corner[2]->GetBC(1), nullptr);
    EXPECT_EQ(m.corner[2]->GetBC(1)->GetBCType(), 2u);
    EXPECT_EQ(m.corner[2]->GetBC(0)->GetBCType(), 0u);
}

} // namespace
