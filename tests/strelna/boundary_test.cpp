#include "tests/strelna/fe_fixture.h"
#include "tests/strelna/vector_values.h"
#include "tests/afx/archive_files.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

using fetest::Values;
using fetest::Vec;

CEdgeLoad* EdgeLoad(std::vector<double> values, bool local = false)
{
    auto* load = new CEdgeLoad;
    CVector v = Vec(values);
    static_cast<CVector&>(*load) = v;
    load->SetLocal(local);
    return load;
}

// Nodes the test owns; edges between them are deleted first.
struct Nodes {
    std::vector<std::unique_ptr<CSNode>> owned;
    CSNode* Add(CSNode* n)
    {
        owned.emplace_back(n);
        return n;
    }
};

} // namespace

TEST(BoundaryOwners, ChainClearingAndSetting)
{
    CBoundNode node(0, 0, 0, nullptr, 0);
    node.SetStandBC(2, -1);
    ASSERT_NE(node.GetBC(0), nullptr);
    EXPECT_EQ(node.GetBC(0)->GetBCType(), 2u);
    EXPECT_EQ(node.GetBC(1), nullptr);

    node.SetStandBC(4, 1);
    node.ClearBC(1); // the last one: cut off and deleted
    EXPECT_EQ(node.GetBC(1), nullptr);
    EXPECT_EQ(node.GetBC(0)->GetBCType(), 2u);

    node.SetStandBC(4, 1);
    node.ClearBC(0); // has a follower: reset, chain kept
    ASSERT_NE(node.GetBC(0), nullptr);
    EXPECT_EQ(node.GetBC(0)->GetBCType(), 0u);
    EXPECT_EQ(node.GetBC(1)->GetBCType(), 4u);
    node.ClearBC(1);
    node.ClearBC(0); // a single condition: deleted
    EXPECT_EQ(node.GetBC(0), nullptr);

    // Clearing the head when every follower is clear deletes the chain.
    node.SetStandBC(1, 0);
    node.GetBC(0)->Grow(1);
    node.ClearBC(0);
    EXPECT_EQ(node.GetBC(0), nullptr);

    auto* own = new CBoundCond;
    node.SetBC(own, 1); // other indices do nothing
    EXPECT_EQ(node.GetBC(0), nullptr);
    node.SetBC(own, 0);
    EXPECT_EQ(node.GetBC(0), own);

    // Copying one condition of a chain leaves the followers of both alone.
    CBoundCond src;
    src.SetType(16);
    src.Grow(1)->SetType(8);
    node.SetStandBC(1, 2);
    node.SetBC(src, 1);
    EXPECT_EQ(node.GetBC(1)->GetBCType(), 16u);
    EXPECT_EQ(node.GetBC(2)->GetBCType(), 1u);
    EXPECT_EQ(src.Jump(1)->GetBCType(), 8u);
    node.SetBC(src, -1);
    EXPECT_EQ(node.GetBC(1)->GetBCType(), 8u);
    EXPECT_NE(node.GetBC(1), src.Jump(1));

    node.SetAngle(0.5, -1);
    EXPECT_EQ(node.GetAngle(2), 0.5);
    EXPECT_EQ(node.GetAngle(5), 0.0);

    CDOFLink link;
    link.SetBC(16u, 1);
    EXPECT_EQ(link.GetBC(0)->GetBCType(), 0u);
    EXPECT_EQ(link.GetBC(1)->GetBCType(), 16u);
    link.ClearBC(-1);
    EXPECT_EQ(link.GetBC(0), nullptr);
}

TEST(BoundaryOwners, NodeCopiesAndLoads)
{
    CBoundNode node(1, 2, 0, nullptr, 0);
    CBoundCond3D solid;
    solid.SetType(2);
    node.SetBC(solid, -1);
    auto* load = new CNodeLoad;
    CVector v = Vec({1, 5});
    static_cast<CVector&>(*load) = v;
    node.SetNodeLoad(load);
    std::unique_ptr<CSNode> copy(node.Copy(false));
    auto* bcopy = dynamic_cast<CBoundNode*>(copy.get());
    ASSERT_NE(bcopy, nullptr);
    ASSERT_NE(bcopy->GetBC(0), nullptr);
    EXPECT_NE(bcopy->GetBC(0), node.GetBC(0));
    EXPECT_NE(dynamic_cast<CBoundCond3D*>(bcopy->GetBC(0)), nullptr);
    ASSERT_NE(bcopy->GetLoad(), nullptr);
    EXPECT_NE(bcopy->GetLoad(), node.GetLoad());
    EXPECT_EQ(Values(bcopy->GetLoad()), (std::vector<double>{1, 5}));

    // The condition constructor copies the chain as plain conditions.
    CBoundNode plain(node.GetBC(0), 0, 0, 0, nullptr, 0);
    ASSERT_NE(plain.GetBC(0), nullptr);
    EXPECT_EQ(plain.GetBC(0)->GetRuntimeClass(), RUNTIME_CLASS(CBoundCond));

    bcopy->SwitchBCs(&plain);
    EXPECT_EQ(bcopy->GetBC(0)->GetRuntimeClass(), RUNTIME_CLASS(CBoundCond));
}

TEST(BoundaryEdges, SubNodesCarryConditionsAndNodalSprings)
{
    Nodes nodes;
    CSNode* a = nodes.Add(new CBoundNode(0, 0, 0, nullptr, 0));
    CSNode* b = nodes.Add(new CBoundNode(0, 2, 0, nullptr, 0));
    auto edge = std::make_unique<CBoundary>(a, b);
    CBoundCond spring;
    spring.SetType(16);
    spring.SetBC(-1, 10.0); // per unit length
    spring.SetBC(2, 0.0);
    edge->SetBC(spring, -1);
    edge->SetBC(spring, 1);

    CObList* list = edge->SubDivideSeg(4, false);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->GetCount(), 3);
    for (POSITION p = list->GetHeadPosition(); p;) {
        auto* sub = dynamic_cast<CBoundNode*>(list->GetNext(p));
        ASSERT_NE(sub, nullptr);
        ASSERT_NE(sub->GetBC(1), nullptr);
        EXPECT_DOUBLE_EQ(sub->GetBC(0)->GetAngle(), edge->GetCClWAngle());
        EXPECT_EQ(Values(sub->GetBC(0)->GetBCVector()), (std::vector<double>{-1, 2, 5, 0}));
        EXPECT_EQ(Values(sub->GetBC(1)->GetBCVector()), (std::vector<double>{-1, 2, 5, 0}));
    }
    // Asking again for the same division makes no node and scales nothing.
    EXPECT_EQ(edge->SubDivideSeg(4, false), list);
    auto* first = static_cast<CSNode*>(list->GetHead());
    EXPECT_EQ(Values(first->GetBC(0)->GetBCVector()), (std::vector<double>{-1, 2, 5, 0}));

    // Graded division: each sub-node takes half of both neighbouring gaps.
    list = edge->SubDivideLin(3.0, 3);
    ASSERT_NE(list, nullptr);
    std::vector<double> y{0.0};
    for (POSITION p = list->GetHeadPosition(); p;)
        y.push_back(static_cast<CSNode*>(list->GetNext(p))->GetVertex()[1]);
    y.push_back(2.0);
    int i = 1;
    for (POSITION p = list->GetHeadPosition(); p; ++i) {
        auto* sub = static_cast<CSNode*>(list->GetNext(p));
        const double k = 10.0 * (y[i + 1] - y[i - 1]) / 2.0;
        EXPECT_NEAR((*sub->GetBC(1)->GetBCVector())[2], k, 1e-12);
        EXPECT_EQ((*sub->GetBC(1)->GetBCVector())[3], 0.0); // supports stay
    }
    edge.reset();
}

TEST(BoundaryEdges, PiecesGetRestrictedLoads)
{
    Nodes nodes;
    CSNode* a = nodes.Add(new CBoundNode(0, 0, 0, nullptr, 0));
    CSNode* b = nodes.Add(new CBoundNode(4, 0, 0, nullptr, 0));
    CSNode* c = nodes.Add(new CBoundNode(1, 0, 0, nullptr, 0));
    CSNode* d = nodes.Add(new CBoundNode(3, 0, 0, nullptr, 0));
    auto parent = std::make_unique<CBoundary>(a, b);
    parent->SetBC(1u, 0);

    struct Case {
        std::vector<double> load;
        bool local;
        bool backwards;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {{2, 1, 2, 1, 2, 1}, false, false, {2, 1, 2, 1, 2, 1}},   // constant
        {{0, 0, 4, 8, 2, 4}, false, false, {1, 2, 3, 6, 2, 4}},   // linear, reproduced
        {{0, 0, 4, 8, 2, 4}, false, true, {3, 6, 1, 2, 2, 4}},    // global backwards
        {{0, 0, 4, 8, 2, 4}, true, true, {-3, -6, -1, -2, -2, -4}} // local backwards
    };
    for (const Case& k : cases) {
        parent->SetLoad(EdgeLoad(k.load, k.local));
        auto segment = std::make_unique<CBoundary>(k.backwards ? d : c, k.backwards ? c : d);
        segment->CopyProperties(parent.get());
        ASSERT_NE(segment->GetLoad(), nullptr);
        EXPECT_EQ(Values(segment->GetLoad()), k.expected);
        EXPECT_EQ(segment->GetLoad()->IsLocal(), k.local);
        ASSERT_NE(segment->GetBC(0), nullptr);
        EXPECT_EQ(segment->GetBC(0)->GetBCType(), 1u);
    }

    // New edges of the boundary's kind (the mesh's edges along it) take the
    // load at the feet of their nodes; a local load, such as the lateral
    // load of a plate's edge, stays local and is turned round on a piece
    // that runs backwards, as the pieces of a split.
    for (const Case& k : cases) {
        parent->SetLoad(EdgeLoad(k.load, k.local));
        parent->m_pLoad->SetElID(6);
        std::unique_ptr<CEdge> made(parent->Copy(k.backwards ? d : c, k.backwards ? c : d));
        auto* boundary = dynamic_cast<CBoundary*>(made.get());
        ASSERT_NE(boundary, nullptr);
        ASSERT_NE(boundary->GetLoad(), nullptr);
        const std::vector<double> got = Values(boundary->GetLoad());
        for (std::size_t i = 0; i < k.expected.size(); ++i)
            EXPECT_NEAR(got[i], k.expected[i], 1e-12);
        EXPECT_EQ(boundary->GetLoad()->IsLocal(), k.local);
        EXPECT_EQ(boundary->m_pLoad->GetElID(), 6);
        EXPECT_EQ(boundary->GetBC(0)->GetBCType(), 1u);
    }
}

TEST(BoundaryArchive, OwnersRoundTrip)
{
    afxtest::Bytes bytes;
    {
        CGraph graph;
        auto* a = new CBoundNode(0, 0, 0, nullptr, 0);
        auto* b = new CBoundNode(1, 0, 0, nullptr, 0);
        a->SetStandBC(2, 0);
        auto* load = new CNodeLoad;
        CVector v = Vec({3, 4});
        static_cast<CVector&>(*load) = v;
        a->SetNodeLoad(load);
        auto edge = std::make_unique<CBoundary>(a, b);
        edge->SetBC(4u, 0);
        edge->SetLoad(EdgeLoad({1, 1, 1, 1, 1, 1}));
        auto link = std::make_unique<CDOFLink>(a, b);
        link->SetBC(16u, 0);
        bytes = afxtest::storeBytes([&](CArchive& ar) {
            ar << static_cast<CObject*>(a) << static_cast<CObject*>(edge.get())
               << static_cast<CObject*>(link.get());
        });
        edge.reset();
        link.reset();
        delete a;
        delete b;
    }
    CObject* obs[3] = {};
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> obs[0] >> obs[1] >> obs[2]; });
    auto* node = dynamic_cast<CBoundNode*>(obs[0]);
    auto* edge = dynamic_cast<CBoundary*>(obs[1]);
    auto* link = dynamic_cast<CDOFLink*>(obs[2]);
    ASSERT_NE(node, nullptr);
    ASSERT_NE(edge, nullptr);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(node->GetBC(0)->GetBCType(), 2u);
    EXPECT_EQ(Values(node->GetLoad()), (std::vector<double>{3, 4}));
    EXPECT_EQ(edge->GetBC(0)->GetBCType(), 4u);
    EXPECT_EQ(Values(edge->GetLoad()), (std::vector<double>{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(link->GetBC(0)->GetBCType(), 16u);
    CSNode* other = edge->GetNode2();
    delete edge;
    delete link;
    delete node;
    delete other;
}

TEST(BoundaryArchive, JointListsInTheSecondPass)
{
    Nodes nodes;
    auto* joint = new CJointNode(0, 0, 0, nullptr, 0);
    nodes.Add(joint);
    CSNode* b = nodes.Add(new CSNode(1, 0, 0, nullptr, 0));
    CSNode* c = nodes.Add(new CSNode(0, 1, 0, nullptr, 0));
    auto e1 = std::make_unique<CEdge>(joint, b);
    auto e2 = std::make_unique<CEdge>(joint, c);
    auto* info = new CJointInfo;
    info->m_List.AddTail(e1.get());
    info->m_List.AddTail(e2.get());
    joint->m_pJoints[2] = new CObList;
    joint->m_pJoints[2]->AddTail(info);
    EXPECT_TRUE(joint->IsJoint());

    const afxtest::Bytes bytes = afxtest::storeBytes([&](CArchive& ar) { joint->SecondarySerial(ar); });
    const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
        CObList* lists[6] = {nullptr, nullptr, joint->m_pJoints[2], nullptr, nullptr, nullptr};
        for (CObList* l : lists)
            ar << static_cast<CObject*>(l);
    });
    EXPECT_EQ(bytes, expected);

    // End of file where the part would start: nothing, quietly.
    CJointNode fresh;
    afxtest::loadBytes({}, [&](CArchive& ar) { fresh.SecondarySerial(ar); });
    EXPECT_FALSE(fresh.IsJoint());
    // A part that breaks off reaches the caller.
    afxtest::Bytes cut(bytes.begin(), bytes.begin() + 6);
    EXPECT_THROW(afxtest::loadBytes(cut, [&](CArchive& ar) { fresh.SecondarySerial(ar); }), CArchiveException);

    // Removing the edges empties and deletes the records and the list.
    e1.reset();
    EXPECT_TRUE(joint->IsJoint());
    e2.reset();
    EXPECT_FALSE(joint->IsJoint());
    EXPECT_EQ(joint->m_pJoints[2], nullptr);
}
