// Meshed regions: when the mesh goes, the archive, cell repair,
// subdivision of loaded edges, areas, solver arrays and result forwarding.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "femodel/boundary.h"
#include "femodel/load.h"
#include "femodel/meshorg.h"
#include "femodel/modelinfo.h"
#include "femodel/triangle.h"
#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/outline_area.h"
#include "tests/support/temp_files.h"

// A serial meshed region standing for the plate region, which gives
// regions their meshes.
class CTestMeshArea : public CSectMeshArea {
    DECLARE_SERIAL(CTestMeshArea)
public:
    CTestMeshArea() = default;
    void GiveMesh(CMeshOrganizer* mesh)
    {
        delete m_pMesh;
        m_pMesh = mesh;
    }
};
IMPLEMENT_SERIAL(CTestMeshArea, CSectMeshArea, 1)

namespace {

// Every static of the meshed region back to its start value.
class MeshAreaTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset()
    {
        CSectMeshArea::m_bStop = false;
        CSectMeshArea::m_bStoreMesh = false;
        CSectMeshArea::m_bNotifyWarning = true;
        CSectMeshArea::m_pSepNodeGraphGroups = nullptr;
    }
};

CTestMeshArea* MakePolygon(std::vector<std::array<double, 2>> corners, CMaterial* material = nullptr)
{
    auto* r = new CTestMeshArea;
    std::vector<CSNode*> n;
    for (auto& c : corners)
        n.push_back(r->NewNode(c[0], c[1], 0));
    for (std::size_t i = 0; i < n.size(); ++i)
        r->CreateEdge(n[i], n[(i + 1) % n.size()]);
    r->SetMaterial(material);
    return r;
}

CTestMeshArea* MakeRect(double x0, double y0, double x1, double y1, CMaterial* material = nullptr)
{
    return MakePolygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, material);
}

// A region right of r (up to x = 20) sharing r's edge from node 1 to node 2.
CTestMeshArea* RightNeighbour(CTestMeshArea* r)
{
    auto* right = new CTestMeshArea;
    right->NewNode(r->GetNode(1));
    CSNode* a = right->NewNode(20, 0, 0);
    CSNode* b = right->NewNode(20, 10, 0);
    right->NewNode(r->GetNode(2));
    right->CreateEdge(r->GetNode(1), a);
    right->CreateEdge(a, b);
    right->CreateEdge(b, r->GetNode(2));
    return right;
}

// A mesh of `count` triangles of area 0.5 each, on nodes of their own
// starting at (x, 0).
template <class Mesh = CMeshOrganizer>
Mesh* MakeMesh(int count = 1, double x = 0.0)
{
    auto* mesh = new Mesh;
    for (int i = 0; i < count; ++i) {
        const double x0 = x + i;
        mesh->AddElement(new CTriElement(new CSNode(x0, 0, 0, nullptr, 0),
                                         new CSNode(x0 + 1, 0, 0, nullptr, 0),
                                         new CSNode(x0, 1, 0, nullptr, 0)));
    }
    return mesh;
}

TEST_F(MeshAreaTest, StaticsStartValues)
{
    EXPECT_FALSE(CSectMeshArea::m_bStop);
    EXPECT_FALSE(CSectMeshArea::m_bStoreMesh);
    EXPECT_TRUE(CSectMeshArea::m_bNotifyWarning);
    CSectMeshArea::StopCalc(true);
    EXPECT_TRUE(CSectMeshArea::m_bStop);
    CTestMeshArea r;
    EXPECT_EQ(r.GetMeshArea(), -1.0);
    EXPECT_EQ(r.GetMesh(), nullptr);
}

TEST_F(MeshAreaTest, BoundaryIsMadeOfBoundaryNodesAndEdges)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    EXPECT_NE(dynamic_cast<CBoundNode*>(r->GetHeadNode()), nullptr);
    EXPECT_NE(dynamic_cast<CBoundary*>(CGraph::GetComEdge(r->GetNode(0), r->GetNode(1))), nullptr);
    EXPECT_EQ(r->GetHeadNode()->GetPrimaryGraph(), r);
    delete r;
}

TEST_F(MeshAreaTest, EditsThatChangeTheCoverDeleteTheMesh)
{
    struct Case {
        const char* name;
        std::function<void(CTestMeshArea*)> edit;
        bool keeps;
    } cases[] = {
        {"AddNode", [](CTestMeshArea* r) {
             auto* n = new CBoundNode(5, 0, 0, nullptr, 0);
             EXPECT_TRUE(r->AddNode(r->GetNode(0), n, r->GetNode(1)));
         }, false},
        {"RemoveNode", [](CTestMeshArea* r) {
             CSNode* n = r->GetNode(2);
             EXPECT_TRUE(r->RemoveNode(n));
             delete n;
         }, false},
        {"AddChain", [](CTestMeshArea* r) {
             CObList chain;
             chain.AddTail(new CBoundNode(5, -1, 0, nullptr, 0));
             EXPECT_TRUE(r->AddChain(r->GetNode(0), &chain, r->GetNode(1)));
         }, false},
        {"Divide", [](CTestMeshArea* r) {
             CObList chain;
             CSection* part = r->Divide(r->GetNode(0), &chain, r->GetNode(2));
             EXPECT_NE(part, nullptr);
             delete part;
         }, false},
        {"Union", [](CTestMeshArea* r) {
             CTestMeshArea* other = RightNeighbour(r);
             other->GiveMesh(MakeMesh());
             EXPECT_TRUE(r->Union(other));
         }, false},
        {"Rotate", [](CTestMeshArea* r) { r->Rotate(0.5, 0, 0, 2, true, true); }, false},
        {"InsertSubSect", [](CTestMeshArea* r) { r->InsertSubSect(MakeRect(2, 2, 3, 3)); }, false},
        {"AddRefinePoint", [](CTestMeshArea* r) {
             r->AddRefinePoint(new CSNode(5, 5, 0, nullptr, 0));
         }, false},
        {"DM_Clean", [](CTestMeshArea* r) { r->DM_Clean(); }, false},
        {"DeleteMesh", [](CTestMeshArea* r) { r->DeleteMesh(false); }, false},
        {"Translate", [](CTestMeshArea* r) { r->Translate(1, 2, 0, true); }, true},
        {"GetNodes", [](CTestMeshArea* r) { delete r->GetNodes(); }, true},
    };
    for (const Case& c : cases) {
        CTestMeshArea* r = MakeRect(0, 0, 10, 10);
        r->GiveMesh(MakeMesh());
        c.edit(r);
        EXPECT_EQ(r->GetMesh() != nullptr, c.keeps) << c.name;
        delete r;
    }
}

TEST_F(MeshAreaTest, TranslateMovesEveryMeshNodeOnce)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    CTestMeshArea* sub = MakeRect(2, 2, 3, 3);
    r->InsertSubSect(sub);
    // Two triangles sharing the edge a-c, in the region and in its sub-section.
    auto shared = [] {
        auto* a = new CSNode(0, 0, 0, nullptr, 0);
        auto* b = new CSNode(1, 0, 0, nullptr, 0);
        auto* c = new CSNode(1, 1, 0, nullptr, 0);
        auto* d = new CSNode(0, 1, 0, nullptr, 0);
        auto* mesh = new CMeshOrganizer;
        mesh->AddElement(new CTriElement(a, b, c));
        mesh->AddElement(new CTriElement(a, c, d));
        return std::make_pair(mesh, c);
    };
    auto [mesh, corner] = shared();
    auto [subMesh, subCorner] = shared();
    r->GiveMesh(mesh);
    sub->GiveMesh(subMesh);
    for (bool all : {true, false}) {
        const double x = corner->x, sx = subCorner->x;
        r->Translate(2.0, 0.0, 0.0, all);
        EXPECT_DOUBLE_EQ(corner->x, x + 2.0) << all;
        EXPECT_DOUBLE_EQ(subCorner->x, sx + 2.0) << all;
    }
    EXPECT_DOUBLE_EQ(r->GetHeadNode()->x, 4.0);
    EXPECT_DOUBLE_EQ(sub->GetHeadNode()->x, 6.0);
    EXPECT_NE(r->GetMesh(), nullptr);
    delete r;
}

TEST_F(MeshAreaTest, SubSectionAndRefineEdits)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    CTestMeshArea* sub = MakeRect(2, 2, 3, 3);
    r->InsertSubSect(sub);
    auto* point = new CSNode(5, 5, 0, nullptr, 0);
    r->AddRefinePoint(point);
    r->AddRefinePoint(new CSNode(6, 6, 0, nullptr, 0));

    // Removing one refine object keeps both meshes; the first point moves on.
    r->GiveMesh(MakeMesh());
    r->RemoveRefineObj(point);
    delete point;
    EXPECT_NE(r->GetMesh(), nullptr);
    EXPECT_EQ(r->GetRefineCount(), 1);
    POSITION first;
    CObList* refine = r->GetRefineList(first);
    ASSERT_NE(refine, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(refine->GetAt(first)->IsKindOf(RUNTIME_CLASS(CSNode)), true);

    // The whole refine list goes with the mesh.
    r->RemoveRefineObj(nullptr);
    EXPECT_EQ(r->GetMesh(), nullptr);
    EXPECT_EQ(r->GetRefineList(first), nullptr);
    EXPECT_EQ(r->GetRefineCount(), 0);

    // Removing a sub-section deletes its mesh and the region's.
    r->GiveMesh(MakeMesh());
    sub->GiveMesh(MakeMesh());
    r->RemoveInnerSect(sub);
    EXPECT_EQ(r->GetMesh(), nullptr);
    EXPECT_EQ(sub->GetMesh(), nullptr);
    EXPECT_EQ(sub->GetOuterSect(), nullptr);

    // With null, every sub-section's too.
    r->InsertSubSect(sub);
    r->GiveMesh(MakeMesh());
    sub->GiveMesh(MakeMesh());
    r->RemoveInnerSect(nullptr);
    EXPECT_EQ(r->GetMesh(), nullptr);
    EXPECT_EQ(sub->GetMesh(), nullptr);
    delete sub;
    delete r;
}

TEST_F(MeshAreaTest, AddNodeAndRemoveNodeRefusals)
{
    // Nodes 0 and 2 share no edge: refused, and the mesh is gone all the same.
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    r->GiveMesh(MakeMesh());
    auto* n = new CBoundNode(5, 5, 0, nullptr, 0);
    EXPECT_FALSE(r->AddNode(r->GetNode(0), n, r->GetNode(2)));
    EXPECT_EQ(r->GetMesh(), nullptr);
    EXPECT_EQ(r->GetCount(), 4);
    delete n;

    // Joining the neighbours of a removed node.
    CSNode* gone = r->GetNode(1);
    CSNode* before = r->GetNode(0);
    CSNode* after = r->GetNode(2);
    EXPECT_TRUE(r->RemoveNode(gone));
    EXPECT_EQ(r->GetCount(), 3);
    EXPECT_NE(CGraph::GetComEdge(before, after), nullptr);
    delete gone;
    delete r;

    // A triangle cannot lose a node: false, two nodes left for the caller.
    CTestMeshArea* t = MakePolygon({{0, 0}, {10, 0}, {0, 10}});
    t->GiveMesh(MakeMesh());
    CSNode* corner = t->GetNode(1);
    EXPECT_FALSE(t->RemoveNode(corner));
    EXPECT_EQ(t->GetCount(), 2);
    EXPECT_EQ(t->GetMesh(), nullptr);
    EXPECT_LT(corner->IsGraphInList(t), 0);
    delete corner;
    delete t;
}

TEST_F(MeshAreaTest, RemoveNodeInASubSection)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    CTestMeshArea* sub = MakePolygon({{2, 2}, {4, 2}, {2, 4}});
    r->InsertSubSect(sub);
    CSNode* corner = sub->GetNode(1);
    // Not on the region's own boundary: the sub-section that answers false
    // is deleted.
    EXPECT_TRUE(r->RemoveNode(corner));
    EXPECT_EQ(r->GetSubList(), nullptr);
    delete corner;
    delete r;
}

// ------------------------------------------------------------ archive

struct Counters {
    DWORD graph, node, edge;
    static Counters Now() { return {CGraph::lIDGraph, CSNode::lIDnode, CEdge::lIDedge}; }
    static void Set(const Counters& c)
    {
        CGraph::lIDGraph = c.graph;
        CSNode::lIDnode = c.node;
        CEdge::lIDedge = c.edge;
    }
    bool operator==(const Counters& o) const
    {
        return graph == o.graph && node == o.node && edge == o.edge;
    }
};

std::string Store(CTestMeshArea* r)
{
    return brantel::test::storeBytes<std::string>([&](CArchive& ar) { ar << static_cast<CObject*>(r); });
}

// Loads a region from the bytes, starting from the given counters; the
// counters afterwards. A failed load is discarded whole (cause: its
// archive exception's cause, else none).
Counters Load(const std::string& bytes, const Counters& start, CTestMeshArea*& out,
              int* cause = nullptr)
{
    Counters::Set(start);
    out = nullptr;
    if (cause)
        *cause = CArchiveException::none;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) {
        try {
            CObject* ob = ar.ReadObject(nullptr);
            out = dynamic_cast<CTestMeshArea*>(ob);
            if (!out)
                delete ob;
        } catch (CArchiveException& e) {
            if (cause)
                *cause = e.m_cause;
            ar.DeleteCreatedObjects();
        }
    });
    return Counters::Now();
}

// A loaded region and the material it was read with.
void Delete(CSectArea* loaded)
{
    CMaterial* material = loaded->GetMaterial();
    delete loaded;
    delete material;
}

TEST_F(MeshAreaTest, ArchiveWithAndWithoutTheMesh)
{
    CMaterial steel("Steel", 1, 2, 3, 0.3, 0);
    CTestMeshArea* r = MakeRect(0, 0, 10, 10, &steel);
    r->GiveMesh(MakeMesh(3));
    EXPECT_DOUBLE_EQ(r->CalcArea(), 1.5);

    const std::string without = Store(r);
    CSectMeshArea::m_bStoreMesh = true;
    const std::string with = Store(r);
    CSectMeshArea::m_bStoreMesh = false;
    EXPECT_GT(with.size(), without.size());
    // The area part, then the meshed area as a double and a null reference.
    const double area = 1.5;
    EXPECT_EQ(without.substr(without.size() - 10),
              std::string(reinterpret_cast<const char*>(&area), 8) + std::string(2, '\0'));
    EXPECT_EQ(with.substr(0, without.size() - 2), without.substr(0, without.size() - 2));

    const Counters start = Counters::Now();
    CTestMeshArea* plain = nullptr;
    const Counters afterPlain = Load(without, start, plain);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->GetMesh(), nullptr);
    EXPECT_DOUBLE_EQ(plain->GetMeshArea(), 1.5);
    EXPECT_EQ(plain->GetCount(), 4);

    // The stored mesh comes back and leaves the counters where the region
    // alone leaves them.
    CTestMeshArea* meshed = nullptr;
    const Counters afterMeshed = Load(with, start, meshed);
    ASSERT_NE(meshed, nullptr);
    ASSERT_NE(meshed->GetMesh(), nullptr);
    EXPECT_EQ(meshed->GetMesh()->GetCount(), 3);
    EXPECT_TRUE(afterMeshed == afterPlain);

    // A file that ends inside the stored mesh: the load fails as cut short,
    // is discarded whole (nothing leaks) and leaves the same counters.
    const std::size_t meshStart = without.size() - 2; // the null reference
    std::vector<std::size_t> cuts;
    for (std::size_t cut = meshStart + 1; cut < with.size(); cut += 7)
        cuts.push_back(cut);
    cuts.push_back(with.size() - 1);
    for (std::size_t cut : cuts) {
        CTestMeshArea* broken = nullptr;
        int cause = CArchiveException::none;
        const Counters afterBroken = Load(with.substr(0, cut), start, broken, &cause);
        EXPECT_TRUE(afterBroken == afterPlain) << "cut at " << cut;
        EXPECT_EQ(broken, nullptr) << "cut at " << cut;
        EXPECT_EQ(cause, CArchiveException::endOfFile) << "cut at " << cut;
    }
    Counters::Set(start);
    Delete(meshed);
    Delete(plain);
    delete r;
}

// ------------------------------------------------------------ cells

TEST_F(MeshAreaTest, FixSplitsACrossedRegionAndRehomesSubSections)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    // An edit left a diagonal across the region.
    r->CreateEdge(r->GetNode(0), r->GetNode(2));
    // A hole in the lower right half and one in the upper left half.
    CTestMeshArea* lower = MakePolygon({{7, 1}, {9, 1}, {9, 3}});
    CTestMeshArea* upper = MakePolygon({{1, 7}, {3, 7}, {1, 9}});
    r->InsertSubSect(lower);
    r->InsertSubSect(upper);
    r->GiveMesh(MakeMesh());

    CObList list;
    EXPECT_TRUE(r->Fix(&list));
    ASSERT_EQ(list.GetCount(), 1);
    auto* other = dynamic_cast<CTestMeshArea*>(list.GetHead());
    ASSERT_NE(other, nullptr); // the cells are of the region's class
    EXPECT_EQ(r->GetCount(), 3);
    EXPECT_EQ(other->GetCount(), 3);
    EXPECT_EQ(r->GetMesh(), nullptr);
    for (CTestMeshArea* hole : {lower, upper}) {
        CSectArea* home = hole->GetOuterSect();
        ASSERT_NE(home, nullptr);
        EXPECT_TRUE(home == r || home == other);
        EXPECT_NE(home->IsPointInside2D(hole->GetHeadNode()->x + 0.5, hole->GetHeadNode()->y + 0.5, true),
                  nullptr);
    }
    EXPECT_NE(lower->GetOuterSect(), upper->GetOuterSect());

    // An intact region is its own single cell: nothing changes.
    EXPECT_FALSE(other->Fix(&list));
    EXPECT_EQ(list.GetCount(), 1);
    delete other;
    delete r;
}

// Dividing along a chain joins the two ends through the chain only: no
// edge straight from one end to the other is left beside it, so the parts
// are single cells that the repair keeps as they are. The straight chain
// through the centre is the case of a circle cut into halves.
TEST_F(MeshAreaTest, DivideAlongAChainLeavesPartsTheRepairKeeps)
{
    const struct {
        double x, y;
    } bends[] = {{10, 20}, {10, 21}, {9, 19}};
    for (const auto& bend : bends) {
        SCOPED_TRACE(testing::Message() << bend.x << ", " << bend.y);
        CGraph carrier;
        CSNode* centre = carrier.NewNode(bend.x, bend.y, 0);
        CTestMeshArea* r = MakePolygon({{13, 20}, {10, 23}, {7, 20}, {10, 17}});
        CSNode* from = r->GetNode(0);
        CSNode* to = r->GetNode(2);
        CObList chain;
        chain.AddTail(centre);
        auto* part = dynamic_cast<CTestMeshArea*>(r->Divide(from, &chain, to));
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(CGraph::GetComEdge(from, to), nullptr);
        EXPECT_NE(CGraph::GetComEdge(from, centre), nullptr);
        EXPECT_NE(CGraph::GetComEdge(centre, to), nullptr);
        ASSERT_NE(from->GetEdgeList(), nullptr);
        EXPECT_EQ(from->GetEdgeList()->GetCount(), 3);
        CObList list;
        for (CTestMeshArea* half : {r, part}) {
            EXPECT_EQ(half->GetCount(), 4);
            EXPECT_FALSE(half->Fix(&list));
            EXPECT_EQ(half->GetCount(), 4);
            EXPECT_NE(half->Find(centre), nullptr);
        }
        EXPECT_TRUE(list.IsEmpty());
        delete part;
        delete r;
    }
}

// No edge joins two nodes of the region's outline that are not neighbours
// on it: nothing runs across the region for a repair or a division to trace.
bool NoChords(CSectArea& region)
{
    const std::vector<CSNode*> ring = brantel::test::OutlineNodes(region);
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 2; j < n; ++j)
            if (!(i == 0 && j == n - 1) && CGraph::GetComEdge(ring[i], ring[j]))
                return false;
    return true;
}

// Two rectangles side by side, united, then divided again along the line
// between the two nodes the union left on the top and bottom edges: the
// union leaves no edge across the merged region (neither from its added
// nodes to the end of the shared run nor between the run's ends), so the
// repair keeps it whole and the division gives the two rectangles drawn.
// The shared side has no inner node, or one that both rectangles hold.
TEST_F(MeshAreaTest, UnionThenDivideGiveTheRegionsDrawn)
{
    for (const bool middle : {false, true}) {
        SCOPED_TRACE(middle ? "a node in the shared side" : "one shared edge");
        auto* left = new CTestMeshArea;
        auto* right = new CTestMeshArea;
        CSNode* bottom = left->NewNode(-1100, -900, 0);
        CSNode* top = left->NewNode(-1100, -600, 0);
        CSNode* mid = middle ? left->NewNode(-1100, -750, 0) : nullptr;
        std::vector<CSNode*> l = {left->NewNode(-1400, -900, 0), bottom};
        if (mid)
            l.push_back(mid);
        l.push_back(top);
        l.push_back(left->NewNode(-1400, -600, 0));
        std::vector<CSNode*> r = {bottom, right->NewNode(-800, -900, 0), right->NewNode(-800, -600, 0), top};
        if (mid)
            r.push_back(mid);
        for (auto [region, ring] : {std::pair{left, &l}, std::pair{right, &r}}) {
            region->RemoveAll();
            for (CSNode* n : *ring) {
                region->AddTail(n);
                n->AddGraph(region);
            }
            for (std::size_t i = 0; i < ring->size(); ++i)
                if (!CGraph::GetComEdge((*ring)[i], (*ring)[(i + 1) % ring->size()]))
                    region->CreateEdge((*ring)[i], (*ring)[(i + 1) % ring->size()]);
        }
        ASSERT_TRUE(right->Union(left));
        EXPECT_EQ(right->GetCount(), 6);
        EXPECT_TRUE(right->IsCCLW());
        EXPECT_TRUE(NoChords(*right));
        EXPECT_EQ(CGraph::GetComEdge(bottom, top), nullptr);
        CObList list;
        EXPECT_FALSE(right->Fix(&list)) << "the repair keeps the merged region whole";
        EXPECT_EQ(right->GetCount(), 6);
        EXPECT_TRUE(list.IsEmpty());

        auto* part = dynamic_cast<CTestMeshArea*>(right->Divide(top, nullptr, bottom));
        ASSERT_NE(part, nullptr);
        for (CTestMeshArea* half : {right, part}) {
            EXPECT_EQ(half->GetCount(), 4);
            EXPECT_TRUE(NoChords(*half));
            EXPECT_FALSE(half->Fix(&list));
            EXPECT_EQ(half->GetCount(), 4);
        }
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_NEAR(brantel::test::OutlineArea(*right) + brantel::test::OutlineArea(*part), 600.0 * 300.0, 1e-6);
        EXPECT_NEAR(brantel::test::OutlineArea(*right), 300.0 * 300.0, 1e-6);
        delete part;
        delete right;
    }
}

TEST_F(MeshAreaTest, FixSubListMovesSubSectionsByTheirFirstNode)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    CTestMeshArea* big = MakeRect(1, 1, 6, 6);
    CTestMeshArea* inBig = MakePolygon({{2, 2}, {3, 2}, {2, 3}});
    CTestMeshArea* outside = MakePolygon({{20, 2}, {23, 2}, {20, 3}});
    for (CTestMeshArea* s : {big, inBig, outside})
        r->InsertSubSect(s);

    CObList list;
    EXPECT_TRUE(r->FixSubList(&list));
    EXPECT_EQ(inBig->GetOuterSect(), big);
    EXPECT_EQ(big->GetOuterSect(), r);
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetHead(), outside);
    EXPECT_EQ(outside->GetOuterSect(), nullptr);
    EXPECT_EQ(r->GetSubList()->GetCount(), 1);
    EXPECT_FALSE(r->FixSubList(&list)); // settled
    delete outside;
    delete r;
}

TEST_F(MeshAreaTest, DeleteFreeEdges)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    r->CreateEdge(r->GetNode(0), r->GetNode(2)); // on no region's boundary
    r->DeleteFreeEdges();
    EXPECT_EQ(CGraph::GetComEdge(r->GetNode(0), r->GetNode(2)), nullptr);
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(CGraph::GetComEdge(r->GetNode(i), r->GetNode((i + 1) % 4)), nullptr);
    delete r;
}

// ------------------------------------------------------------ subdivision

TEST_F(MeshAreaTest, SubDivideChainsOnlyLoadedOrSupportedEdges)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    // A neighbour on the right shares the edge 1-2.
    CTestMeshArea* right = RightNeighbour(r);
    r->GiveMesh(MakeMesh());
    right->GiveMesh(MakeMesh());

    for (int i = 0; i < 4; ++i)
        r->GetNode(i)->SetSNodSpace(2.5, true);
    auto* bottom = dynamic_cast<CBoundary*>(CGraph::GetComEdge(r->GetNode(0), r->GetNode(1)));
    ASSERT_NE(bottom, nullptr);
    bottom->SetBC(1, 0);

    r->SubDivide();
    EXPECT_EQ(r->GetMesh(), nullptr);
    EXPECT_EQ(right->GetMesh(), nullptr);
    EXPECT_EQ(r->GetCount(), 4); // the boundary itself is unchanged

    // The supported bottom edge: a chain from the copy of node 0 through
    // the edge's sub-nodes to the copy of node 1, each link supported too.
    CSNode* from = r->GetNode(0)->GetCopyNode();
    CSNode* to = r->GetNode(1)->GetCopyNode();
    ASSERT_NE(from, nullptr);
    ASSERT_NE(to, nullptr);
    const int subs = bottom->GetSubNodeCount();
    EXPECT_EQ(subs, 3);
    int links = 0;
    CSNode* at = from;
    CEdge* came = nullptr;
    while (at != to && links < 10) {
        ASSERT_NE(at->GetEdgeList(), nullptr);
        CEdge* next = nullptr;
        for (POSITION p = at->GetEdgeList()->GetHeadPosition(); p;) {
            CEdge* e = static_cast<CEdge*>(at->GetEdgeList()->GetNext(p));
            if (e != came)
                next = e;
        }
        ASSERT_NE(next, nullptr);
        EXPECT_NE(dynamic_cast<CBoundary*>(next), nullptr);
        EXPECT_NE(next->GetBC(0), nullptr);
        at = next->GetNode(at);
        came = next;
        ++links;
    }
    EXPECT_EQ(links, subs + 1);
    // Edges without a condition or load get no chain.
    EXPECT_EQ(r->GetNode(3)->GetCopyNode(), nullptr);

    for (int i = 0; i < 2; ++i) {
        CSNode* copy = r->GetNode(i)->GetCopyNode();
        r->GetNode(i)->RemoveCopyNode(true);
        delete copy;
    }
    delete right;
    delete r;
}

// ------------------------------------------------------------ areas

TEST_F(MeshAreaTest, MeshedAreas)
{
    CMaterial steel, hollow;
    steel.SetName("Steel");
    hollow.SetName("VOID");
    struct Case {
        const char* name;
        CMaterial* material;
        bool meshed;
        double area;
    } cases[] = {
        {"solid", &steel, true, 1.0},
        {"VOID", &hollow, true, 0.0},
        {"no material", nullptr, true, 0.0},
        {"no mesh", &steel, false, 0.0},
    };
    for (const Case& c : cases) {
        CTestMeshArea* r = MakeRect(0, 0, 10, 10, c.material);
        if (c.meshed)
            r->GiveMesh(MakeMesh(2));
        EXPECT_DOUBLE_EQ(r->CalcArea(), c.area) << c.name;
        EXPECT_DOUBLE_EQ(r->GetMeshArea(), c.area) << c.name;
        delete r;
    }

    // Sub-sections add their areas when positive: a hole adds nothing.
    CTestMeshArea* r = MakeRect(0, 0, 10, 10, &steel);
    CTestMeshArea* island = MakeRect(1, 1, 2, 2, &steel);
    CTestMeshArea* hole = MakeRect(5, 5, 6, 6, &hollow);
    r->InsertSubSect(island); // inserting deletes the mesh: mesh afterwards
    r->InsertSubSect(hole);
    r->GiveMesh(MakeMesh(4));
    island->GiveMesh(MakeMesh(1));
    hole->GiveMesh(MakeMesh(1));
    EXPECT_DOUBLE_EQ(r->SumArea(), 2.5);
    delete r;
}

// ------------------------------------------------------------ solver arrays

TEST_F(MeshAreaTest, SolverArraysRunRegionFirstThenSubSections)
{
    CMaterial steel, alu;
    steel.SetID(3);
    alu.SetID(-2); // 16 bits, sign-extended
    CTestMeshArea* r = MakeRect(0, 0, 10, 10, &steel);
    CTestMeshArea* island = MakeRect(1, 1, 2, 2, &alu);
    CTestMeshArea* bare = MakeRect(5, 5, 6, 6, &alu); // no mesh: nothing written
    r->InsertSubSect(bare);
    r->InsertSubSect(island);
    r->GiveMesh(MakeMesh(2));
    island->GiveMesh(MakeMesh(1, 50.0));

    std::vector<long> table(10, 99);
    int index = 5;
    r->InsertFEMat(table.data(), index);
    EXPECT_EQ(index, 8);
    EXPECT_EQ(table, (std::vector<long>{99, 99, 99, 99, 99, 3, 3, -2, 99, 99}));

    std::vector<long> fen(12, 0);
    index = 1;
    r->InsertFEN(fen.data(), index);
    EXPECT_EQ(index, 10);
    // The sub-section's element comes last: its first node sits at x = 50.
    const CTriElement* last = static_cast<CTriElement*>(island->GetMesh()->GetHead());
    EXPECT_EQ(fen[7], static_cast<long>(last->GetHeadNode()->GetID()));

    long n = 10;
    r->GetFECount(n, false);
    EXPECT_EQ(n, 13);
    n = 7;
    r->GetFECount(n, true); // numbers the elements from 7
    EXPECT_EQ(n, 10);
    EXPECT_EQ(last->GetID(), 4000000001ul + 9);

    // Owners of elements.
    EXPECT_EQ(r->IsElemInThis(const_cast<CTriElement*>(last)), island);
    EXPECT_EQ(r->DM_GetOwner(r->GetMesh()->GetHead()), r);
    CObList meshes;
    r->InsertMeshes(meshes);
    ASSERT_EQ(meshes.GetCount(), 2);
    EXPECT_EQ(meshes.GetTail(), island->GetMesh());
    delete r;
}

// ------------------------------------------------------------ results

// A mesh that writes down what the region hands it.
class CRecordingMesh : public CMeshOrganizer {
public:
    std::vector<std::pair<double, double>> effFactors;
    std::vector<std::pair<bool, double>> localAxes; // polar flag, first axis entry
    void GetMaxMinEffStress(int, double&, double&, int, int, int, double k1, double k2,
                            bool) override
    {
        effFactors.emplace_back(k1, k2);
    }
    void GetMaxMinLocalStress(double*, double*, bool polar, CVector& axis, int, int, int) override
    {
        localAxes.emplace_back(polar, axis.GetSize() ? axis[0] : -1.0);
    }
};

TEST_F(MeshAreaTest, EffectiveStressNeedsAnIsotropicResponse)
{
    CMaterial iso("Steel", 1, 200, 80, 0.3, 0);
    COrthoMat equal("Equal", 1, 200, 200, 80, 0.3, 0.3, 0);
    COrthoMat ortho("Wood", 1, 200, 50, 80, 0.3, 0.1, 0);
    const double nu = 0.3;
    struct Case {
        const char* name;
        CMaterial* material;
        int kind;
        bool asked;
        double k1, k2;
    } cases[] = {
        {"isotropic, kind 2", &iso, 2, true, nu * nu - nu + 1, 2 * nu * (1 - nu) + 1},
        {"isotropic, kind 1", &iso, 1, true, 1.0, 1.0},
        {"equal moduli", &equal, 2, true, nu * nu - nu + 1, 2 * nu * (1 - nu) + 1},
        {"orthotropic", &ortho, 2, false, 0, 0},
    };
    for (const Case& c : cases) {
        CTestMeshArea* r = MakeRect(0, 0, 10, 10, c.material);
        auto* mesh = MakeMesh<CRecordingMesh>();
        r->GiveMesh(mesh);
        double max = 0, min = 0;
        r->GetMaxMinEffStress(c.kind, max, min, 0, 1, 2, false);
        ASSERT_EQ(mesh->effFactors.size(), c.asked ? 1u : 0u) << c.name;
        if (c.asked) {
            EXPECT_DOUBLE_EQ(mesh->effFactors[0].first, c.k1) << c.name;
            EXPECT_DOUBLE_EQ(mesh->effFactors[0].second, c.k2) << c.name;
        }
        delete r;
    }
}

TEST_F(MeshAreaTest, LocalStressUsesTheMaterialAxesWithoutOwnAxes)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    auto* mesh = MakeMesh<CRecordingMesh>();
    r->GiveMesh(mesh);
    r->GetMatAxes() = CVector(1, true, 0.25);
    r->SetPolar(true);
    double max[3], min[3];
    CVector own(2, true, 0.75);
    r->GetMaxMinLocalStress(max, min, false, nullptr, 0, 1, 2);
    r->GetMaxMinLocalStress(max, min, false, &own, 0, 1, 2);
    ASSERT_EQ(mesh->localAxes.size(), 2u);
    EXPECT_EQ(mesh->localAxes[0], std::make_pair(true, 0.25));
    EXPECT_EQ(mesh->localAxes[1], std::make_pair(false, 0.75));
    delete r;
}

TEST_F(MeshAreaTest, LoadExtremesIncludeZeroForUnloadedNodes)
{
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    auto* node = dynamic_cast<CBoundNode*>(r->GetHeadNode());
    ASSERT_NE(node, nullptr);
    auto* load = new CNodeLoad;
    load->Allocate(2, true, 0.0);
    (*load)[0] = 5.0;
    (*load)[1] = 7.0;
    node->SetNodeLoad(load);
    struct Case {
        unsigned flags;
        double max, min;
    } cases[] = {
        {2, 7.0, 0.0}, // three unloaded nodes bring in 0
        {4, 0.0, 0.0}, // no edge carries a load
    };
    for (const Case& c : cases) {
        double max = -1.0, min = 1.0; // nothing yet
        r->GetMaxMinLoad(max, min, c.flags);
        EXPECT_EQ(max, c.max) << c.flags;
        EXPECT_EQ(min, c.min) << c.flags;
    }
    delete r;
}

TEST_F(MeshAreaTest, HandOverOrder)
{
    struct CRecordingInfo : CModelInfo {
        std::vector<std::string> calls;
        void RetrieveSectionData(CObject* ob) override
        {
            calls.push_back(static_cast<CGraph*>(ob)->GetName().str());
        }
    } info;
    CTestMeshArea* r = MakeRect(0, 0, 10, 10);
    r->SetName("outer");
    CTestMeshArea* s = MakeRect(1, 1, 2, 2);
    s->SetName("inner");
    r->InsertSubSect(s);
    r->DM_BuildData(info);
    EXPECT_EQ(info.calls, (std::vector<std::string>{"outer", "inner"}));
    delete r;
}

} // namespace
