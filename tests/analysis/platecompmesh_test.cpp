// Mesh generation of the plate component: spacing, retries, failures, stop
// requests, log lines and the restored run state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "platform/ferrand/material.h"
#include "tests/support/message_recorder.h"
#include "tests/analysis/log_lines.h"

namespace
{

using analysistest::Lines;

using brantel::test::MessageRecorder;

// A component whose model-wide geometry services are scripted: the edge
// lengths are given, the spacing is recorded, and the discretisation runs
// the real meshing of each region.
class DriverComp : public CPlateComp
{
public:
    double longest = 10.0;
    double shortest = 1.0;
    std::vector<double> spacings;
    std::vector<int> subdivisionsSeen;
    std::vector<std::pair<bool, bool>> updates;
    std::function<CObject*(DriverComp&, int call)> afterMeshing;

    void GetDist(double& max, double& min) override
    {
        max = longest;
        min = shortest;
    }
    void SetNodSpace(double h) override { spacings.push_back(h); }
    void Update(bool a, bool b) override { updates.emplace_back(a, b); }
    void SubDivide() override {}
    CObject* Discretize() override
    {
        subdivisionsSeen.push_back(m_iSubdivisions);
        CObject* failed = nullptr;
        for (POSITION pos = CObList::GetHeadPosition(); pos && !failed;)
            failed = GetNext(pos)->Discretize();
        if (afterMeshing) {
            CObject* r = afterMeshing(*this, static_cast<int>(subdivisionsSeen.size()));
            if (r)
                failed = r;
        }
        return failed;
    }
    // Runs whenever the component steps to its next region.
    std::function<void(DriverComp&)> onNext;
    CSection* GetNext(POSITION& pos) override
    {
        if (onNext)
            onNext(*this);
        return CPlateComp::GetNext(pos);
    }
    CSectPlate* Region(int i)
    {
        return static_cast<CSectPlate*>(CObList::GetAt(CObList::FindIndex(i)));
    }
};

CBoundNode* N(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

struct State {
    DWORD graph = CGraph::lIDGraph;
    DWORD node = CSNode::lIDnode;
    DWORD edge = CEdge::lIDedge;
    bool operator==(const State&) const = default;
};

class MeshGenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        savedKind = CElement::m_iStaticKind;
        comp.m_iSubdivisions = 10;
        comp.m_nMinElements = 1;
        comp.m_iMeshKind = 101;
    }
    void TearDown() override
    {
        CElement::m_iStaticKind = savedKind;
        CMGenerator::Stop(false);
        CSectMeshArea::StopCalc(false);
        EXPECT_EQ(CEasyMesh::StaticsDepth(), 0);
        EXPECT_FALSE(comp.m_bBusy);
    }
    // Two unit squares side by side, and a pentagon above them.
    void AddModel()
    {
        CBoundNode* a = N(0, 0);
        CBoundNode* b = N(1, 0);
        CBoundNode* c = N(2, 0);
        CBoundNode* d = N(2, 1);
        CBoundNode* e = N(1, 1);
        CBoundNode* f = N(0, 1);
        comp.AddTail(static_cast<CSection*>(new CSectPlate(a, b, e, f, &steel)));
        comp.AddTail(static_cast<CSection*>(new CSectPlate(b, c, d, e, &steel)));
        CObList ring;
        for (CSNode* n : {static_cast<CSNode*>(f), static_cast<CSNode*>(e), static_cast<CSNode*>(d),
                          static_cast<CSNode*>(N(2, 2)), static_cast<CSNode*>(N(0, 2))})
            ring.AddTail(n);
        comp.AddTail(static_cast<CSection*>(new CSectPlate(&ring, &steel)));
    }
    int MeshedRegions()
    {
        int n = 0;
        for (int i = 0; i < comp.GetCount(); ++i)
            n += comp.Region(i)->GetMesh() != nullptr;
        return n;
    }

    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    DriverComp comp;
    CStringArray log;
    CStringArray errors;
    MessageRecorder recorder;
    int savedKind = 101;
};

TEST_F(MeshGenTest, EmptyModel)
{
    EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
    EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh\r\n"});
    EXPECT_EQ(Lines(errors), std::vector<std::string>{"No model is defined\r\n"});
    log.RemoveAll();
    errors.RemoveAll();
    EXPECT_FALSE(comp.GenerateRegionMesh(&log, &errors, 0, 0));
    EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh\r\n"});
    EXPECT_EQ(Lines(errors), std::vector<std::string>{"The model is empty\r\n"});
    // Null arrays are allowed.
    EXPECT_FALSE(comp.PreCalc(nullptr, nullptr, 0));
}

TEST_F(MeshGenTest, SpacingFromTheEdgeLengths)
{
    AddModel();
    struct Case {
        double longest, shortest;
        int subdivisions;
        double spacing;
    };
    // Growth from s: h = 1.5, 2.0, 2.5, 3.0 (sums 2.5, 4.5, 7.0, 10.0).
    for (const Case& c : std::vector<Case>{{10.0, 1.0, 10, 1.0 * 1.0000000000000022},
                                           {10.0, 1.0, 2, 3.0 * 1.0000000000000022},
                                           {10.0, 10.0, 1, 10.0 * 1.0000000000000022},
                                           {1.0, 0.5, 4, 0.25 * 1.0000000000000022}}) {
        comp.longest = c.longest;
        comp.shortest = c.shortest;
        comp.m_iSubdivisions = c.subdivisions;
        comp.spacings.clear();
        ASSERT_TRUE(comp.PreCalc(&log, &errors, 0));
        ASSERT_EQ(comp.spacings.size(), 1u);
        EXPECT_EQ(comp.spacings[0], c.spacing)
            << c.longest << " " << c.shortest << " " << c.subdivisions;
        EXPECT_EQ(comp.updates.back(), std::make_pair(true, true));
    }
    // Without automatic spacing the edges keep theirs.
    comp.m_bAutoSpacing = false;
    comp.spacings.clear();
    ASSERT_TRUE(comp.PreCalc(&log, &errors, 0));
    EXPECT_TRUE(comp.spacings.empty());
    EXPECT_EQ(comp.updates.back(), std::make_pair(false, false));
    EXPECT_TRUE(errors.IsEmpty());
}

TEST_F(MeshGenTest, SpacingFailures)
{
    AddModel();
    const std::string spacing = "An error occurred while spacing nodes\r\n";
    const std::string small = "The model contains an unresonably small edge (code 2)\r\n";
    struct Case {
        double longest, shortest;
        std::vector<std::string> errors;
    };
    for (const Case& c : std::vector<Case>{{1.0, 0.00005, {spacing, small}},
                                           {1.0, 0.0001, {spacing, small}},
                                           {0.0, 0.0, {spacing}},
                                           {-1.0, -1.0, {spacing}}}) {
        SCOPED_TRACE(c.longest);
        comp.longest = c.longest;
        comp.shortest = c.shortest;
        log.RemoveAll();
        errors.RemoveAll();
        const State before;
        const int subdivisions = comp.m_iSubdivisions;
        EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
        EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh"});
        EXPECT_EQ(Lines(errors), c.errors);
        EXPECT_EQ(State(), before);
        EXPECT_EQ(comp.m_iSubdivisions, subdivisions);
        EXPECT_EQ(MeshedRegions(), 0);
    }
}

TEST_F(MeshGenTest, SuccessWritesTheLogOnceAndRestoresTheState)
{
    AddModel();
    comp.m_nMinElements = 6;
    // The first pass leaves the pentagon unmeshed, so one retry runs.
    comp.afterMeshing = [](DriverComp& c, int call) -> CObject* {
        if (call == 1)
            c.Region(2)->DeleteMesh(true);
        return nullptr;
    };
    const State before;
    ASSERT_TRUE(comp.PreCalc(&log, &errors, 0));
    EXPECT_EQ(State(), before);
    EXPECT_EQ(comp.subdivisionsSeen, (std::vector<int>{10, 15}));
    EXPECT_EQ(comp.m_iSubdivisions, 10);
    EXPECT_EQ(MeshedRegions(), 3);
    EXPECT_GE(comp.m_nElements, 6);
    EXPECT_GT(comp.m_nNodes, 0);
    EXPECT_NEAR(comp.m_dMeshArea, 4.0, 1e-9);
    // Neighbours share their mesh nodes; the copy links are released.
    for (int i = 0; i < 3; ++i)
        for (POSITION p = comp.Region(i)->GetHeadPosition(); p;)
            EXPECT_EQ(comp.Region(i)->GetNextNode(p)->GetCopyNode(), nullptr);
    const auto lines = Lines(log);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("Used time generating mesh: ", 0), 0u);
    EXPECT_EQ(lines[0].substr(lines[0].size() - 11), "  seconds\r\n");
    EXPECT_EQ(lines[1], "number of nodes: " + std::to_string(comp.m_nNodes) +
                            "\tnumber of elements: " + std::to_string(comp.m_nElements) + "\r\n");
    EXPECT_EQ(lines[2].rfind("Area of generated elements: ", 0), 0u);
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_EQ(CElement::m_iStaticKind, 101);
}

TEST_F(MeshGenTest, RetriesEndAtDepthEleven)
{
    AddModel();
    comp.m_iSubdivisions = 2;
    comp.m_nMinElements = 100000;
    const State before;
    EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
    EXPECT_EQ(comp.subdivisionsSeen, (std::vector<int>{2, 3, 4, 6, 9, 13, 19, 28, 42, 63, 94}));
    EXPECT_EQ(Lines(errors),
              std::vector<std::string>{
                  "Brantel could not generate a reasonable mesh for this geometry (code 1)\r\n"});
    EXPECT_TRUE(log.IsEmpty());
    EXPECT_EQ(comp.m_iSubdivisions, 2);
    EXPECT_EQ(State(), before);

    // Without automatic spacing there is no retry.
    comp.m_bAutoSpacing = false;
    comp.subdivisionsSeen.clear();
    errors.RemoveAll();
    EXPECT_TRUE(comp.PreCalc(&log, &errors, 0));
    EXPECT_EQ(comp.subdivisionsSeen.size(), 1u);
    EXPECT_TRUE(errors.IsEmpty());
}

TEST_F(MeshGenTest, FailedRegionsAndUnknownElementCodes)
{
    AddModel();
    comp.afterMeshing = [](DriverComp& c, int) -> CObject* { return c.Region(1); };
    const State before;
    EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
    EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh"});
    EXPECT_EQ(Lines(errors),
              std::vector<std::string>{
                  "Could not generate mesh for region: " +
                  std::string(static_cast<const char*>(comp.Region(1)->GetName())) + "\r\n"});
    EXPECT_EQ(State(), before);

    comp.afterMeshing = nullptr;
    log.RemoveAll();
    errors.RemoveAll();
    comp.m_iElemType = 99;
    EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
    EXPECT_TRUE(log.IsEmpty());
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_EQ(State(), before);
}

TEST_F(MeshGenTest, StopDuringMeshingCancelsTheRun)
{
    AddModel();
    comp.m_nMinElements = 100000;
    for (int stopAt : {1, 3}) {
        SCOPED_TRACE(stopAt);
        comp.afterMeshing = [stopAt](DriverComp& c, int call) -> CObject* {
            if (call == stopAt)
                c.StopCalculation(true);
            return nullptr;
        };
        comp.subdivisionsSeen.clear();
        log.RemoveAll();
        errors.RemoveAll();
        const State before;
        EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
        EXPECT_EQ(comp.subdivisionsSeen.size(), static_cast<std::size_t>(stopAt));
        EXPECT_EQ(Lines(log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
        EXPECT_TRUE(errors.IsEmpty());
        EXPECT_EQ(MeshedRegions(), 0);
        EXPECT_EQ(State(), before);
        EXPECT_EQ(comp.m_iSubdivisions, 10);
    }
    // A new run clears the request.
    comp.afterMeshing = nullptr;
    comp.m_nMinElements = 1;
    EXPECT_TRUE(comp.PreCalc(&log, &errors, 0));
    EXPECT_FALSE(comp.m_bStopRequest);
}

TEST_F(MeshGenTest, GenerateRegionMeshUsesTheStructuredMesherOnly)
{
    AddModel();
    comp.m_iMeshKind = 104;
    const State before;
    // The pentagon cannot be meshed by the structured mesher.
    EXPECT_FALSE(comp.GenerateRegionMesh(&log, &errors, 0, 0));
    EXPECT_EQ(Lines(log), std::vector<std::string>{"Unable to generate mesh"});
    EXPECT_EQ(Lines(errors),
              std::vector<std::string>{
                  "Could not generate mesh for region: " +
                  std::string(static_cast<const char*>(comp.Region(2)->GetName())) + "\r\n"});
    EXPECT_EQ(State(), before);
    EXPECT_EQ(CElement::m_iStaticKind, 104);

    delete comp.Region(2);
    comp.RemoveTail();
    log.RemoveAll();
    errors.RemoveAll();
    ASSERT_TRUE(comp.GenerateRegionMesh(&log, &errors, 0, 0));
    EXPECT_EQ(MeshedRegions(), 2);
    EXPECT_EQ(comp.m_nElements, 2);
    EXPECT_TRUE(comp.IsMeshKind(1));
    EXPECT_EQ(Lines(log).size(), 3u);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(comp.subdivisionsSeen.size(), 0u);
}

TEST_F(MeshGenTest, StopDuringGenerateRegionMeshCancelsIt)
{
    AddModel();
    int steps = 0;
    // After the first region is meshed.
    comp.onNext = [&steps](DriverComp& c) {
        if (++steps == 2)
            c.StopCalculation(true);
    };
    const State before;
    EXPECT_FALSE(comp.GenerateRegionMesh(&log, &errors, 0, 0));
    comp.onNext = nullptr;
    EXPECT_EQ(Lines(log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
    EXPECT_TRUE(errors.IsEmpty());
    EXPECT_EQ(MeshedRegions(), 0);
    EXPECT_EQ(State(), before);
}

TEST_F(MeshGenTest, ResultQuantityByElementCode)
{
    struct Case {
        int code;
        std::vector<int> quantities; // components 0 to 11
    };
    for (const Case& c : std::vector<Case>{{31, {8, 8, 8, 18, 18, 1, 1, 8, 8, 8, 18, 0}},
                                           {46, {8, 8, 8, 18, 18, 1, 1, 8, 8, 8, 18, 0}},
                                           {65, {2, 2, 2, 18, 18, 18, 1, 2, 2, 0, 0, 0}},
                                           {81, {2, 2, 2, 10, 10, 18, 18, 18, 1, 2, 2, 0}},
                                           {50, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}}) {
        comp.m_iElemType = c.code;
        for (int k = 0; k < 12; ++k) {
            comp.SetActVal(k);
            EXPECT_EQ(comp.GetResultQuantity(), c.quantities[static_cast<std::size_t>(k)])
                << "code " << c.code << " component " << k;
        }
    }
    comp.m_iElemType = 81;
}

// The whole mesh generation on the model's own geometry services.
TEST(MeshGeneration, PlateOfRegionsWithAHoleAndAShortEdge)
{
    MessageRecorder recorder;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    CMaterial hole{"VOID", 0.0, 0.0, 0.0, 0.0, 0.0};
    NODELIST* savedList = CGraph::m_pNodeList;
    CGraph::m_pNodeList = nullptr;
    CPlateComp comp;
    // Left: a square with a circular hole. Right: a square with a corner cut
    // by an edge 1/200 of the longest.
    CBoundNode* a = N(0, 0);
    CBoundNode* b = N(2, 0);
    CBoundNode* e = N(2, 2);
    CBoundNode* f = N(0, 2);
    auto* left = new CSectPlate(a, b, e, f, &steel);
    CBoundNode centre(1.0, 1.0, 0.0, nullptr, 0);
    auto* circle = new CSectPlate(&centre, N(1.4, 1.0), &hole, 16, 0);
    left->InsertSubSect(circle);
    comp.AddTail(static_cast<CSection*>(left));
    CObList cut;
    for (CSNode* n :
         {static_cast<CSNode*>(b), static_cast<CSNode*>(N(4, 0)), static_cast<CSNode*>(N(4, 1.99)),
          static_cast<CSNode*>(N(3.99, 2)), static_cast<CSNode*>(e)})
        cut.AddTail(n);
    auto* right = new CSectPlate(&cut, &steel);
    comp.AddTail(static_cast<CSection*>(right));
    // Top: a strip for the structured mesher.
    auto* top = new CSectPlate(f, e, N(2, 3), N(0, 3), &steel);
    comp.AddTail(static_cast<CSection*>(top));
    comp.m_iSubdivisions = 20;
    comp.m_nMinElements = 300;
    // Triangles; then quadrilaterals, three per triangle and the structured
    // mesh refined once, so that both meet at the common mid-side nodes.
    for (auto [code, kind] : std::vector<std::pair<int, int>>{{31, 101}, {41, 104}}) {
        SCOPED_TRACE(code);
        comp.DeleteMesh();
        comp.m_iElemType = code;
        comp.m_iMeshKind = kind;

        const State before;
        CStringArray log, errors;
        ASSERT_TRUE(comp.PreCalc(&log, &errors, 0))
            << (errors.IsEmpty() ? "" : static_cast<const char*>(errors[0]));
        EXPECT_EQ(State(), before);
        EXPECT_EQ(CEasyMesh::StaticsDepth(), 0);
        EXPECT_EQ(comp.m_iSubdivisions, 20);
        EXPECT_TRUE(errors.IsEmpty());
        EXPECT_EQ(log.GetSize(), 3);
        EXPECT_GE(comp.m_nElements, 300);
        // The meshes fill both regions less the hole (a 16-gon of radius 0.4).
        const double holeArea = 0.5 * 16 * 0.16 * std::sin(2.0 * M_PI / 16);
        const double want = 4.0 - holeArea + 4.0 - 0.5 * 0.01 * 0.01 + 2.0;
        EXPECT_NEAR(comp.m_dMeshArea, want, 1e-9 * want);
        EXPECT_EQ(circle->GetMesh(), nullptr);
        // Both meshes use the same node objects along the common edge b-e.
        auto nodesOf = [](CSectPlate* r) {
            std::set<CSNode*> out;
            for (POSITION p = r->GetMesh()->GetHeadPosition(); p;) {
                CElement* el = r->GetMesh()->GetNextElem(p);
                for (POSITION q = el->GetHeadPosition(); q;)
                    out.insert(el->GetNextNode(q));
            }
            return out;
        };
        const auto l = nodesOf(left), r = nodesOf(right);
        int common = 0;
        for (CSNode* n : l)
            common += static_cast<int>(r.count(n));
        CEdge* shared = CGraph::GetComEdge(b, e);
        const int mids = kind == 104 ? shared->GetSubNodeCount() + 1 : 0;
        EXPECT_EQ(common, 2 + shared->GetSubNodeCount() + mids);
        // The same between the triangle mesh and the structured one.
        ASSERT_NE(top->GetMesh(), nullptr);
        EXPECT_EQ(top->GetMesh()->m_dwWord, 1u);
        const auto t = nodesOf(top);
        common = 0;
        for (CSNode* n : l)
            common += static_cast<int>(t.count(n));
        const int topSubs = CGraph::GetComEdge(f, e)->GetSubNodeCount();
        EXPECT_EQ(common, 2 + topSubs + (kind == 104 ? topSubs + 1 : 0));
    }
    EXPECT_TRUE(recorder.messages().empty());
    CGraph::m_pNodeList = savedList;
}

// A node link of the model (a coupling between two nodes) reaches the mesh:
// after meshing, the mesh nodes standing for its two nodes are linked too.
TEST(MeshGeneration, NodeLinksReachTheMesh)
{
    MessageRecorder recorder;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    NODELIST* savedList = CGraph::m_pNodeList;
    CGraph::m_pNodeList = nullptr;
    {
        CPlateComp comp;
        CBoundNode* a = N(0, 0);
        CBoundNode* b = N(1, 0);
        CBoundNode* c = N(2, 0);
        CBoundNode* d = N(2, 1);
        CBoundNode* e = N(1, 1);
        CBoundNode* f = N(0, 1);
        auto* left = new CSectPlate(a, b, e, f, &steel);
        auto* right = new CSectPlate(b, c, d, e, &steel);
        comp.AddTail(static_cast<CSection*>(left));
        comp.AddTail(static_cast<CSection*>(right));
        new CNodeLink(f, d);
        comp.m_iElemType = 31;
        comp.m_iMeshKind = 101;
        comp.m_iSubdivisions = 4;
        // Enough elements asked for that the mesh generation retries with
        // more subdivisions: every attempt links its own mesh.
        comp.m_nMinElements = 150;
        CStringArray log, errors;
        ASSERT_TRUE(comp.PreCalc(&log, &errors, 0));
        ASSERT_GE(comp.m_nElements, 150);
        auto meshNodeAt = [](CSectPlate* r, double x, double y) -> CSNode* {
            for (POSITION p = r->GetMesh()->GetHeadPosition(); p;) {
                CElement* el = r->GetMesh()->GetNextElem(p);
                for (POSITION q = el->GetHeadPosition(); q;) {
                    CSNode* n = el->GetNextNode(q);
                    if (n->x == x && n->y == y)
                        return n;
                }
            }
            return nullptr;
        };
        CSNode* fm = meshNodeAt(left, 0, 1);
        CSNode* dm = meshNodeAt(right, 2, 1);
        ASSERT_NE(fm, nullptr);
        ASSERT_NE(dm, nullptr);
        EXPECT_NE(fm, static_cast<CSNode*>(f));
        bool linked = false;
        for (POSITION p = fm->GetEdgeList() ? fm->GetEdgeList()->GetHeadPosition() : nullptr; p;) {
            CEdge* edge = static_cast<CEdge*>(fm->GetEdgeList()->GetNext(p));
            linked |= edge->IsKindOf(RUNTIME_CLASS(CNodeLink)) &&
                      (edge->GetNode1() == dm || edge->GetNode2() == dm);
        }
        EXPECT_TRUE(linked);
        // The copy links are released once the meshes are linked.
        EXPECT_EQ(f->GetCopyNode(), nullptr);
        EXPECT_EQ(d->GetCopyNode(), nullptr);
    }
    EXPECT_TRUE(recorder.messages().empty());
    CGraph::m_pNodeList = savedList;
}


// A boundary node that counts the nodes of its kind alive; its copies (the
// mesh generation's copy nodes) are of its kind.
class CountedNode : public CBoundNode
{
public:
    CountedNode(double x, double y) : CBoundNode(x, y, 0.0, nullptr, 0) { ++alive; }
    ~CountedNode() override { --alive; }
    CSNode* NewNode(double x, double y, double, CObject*, unsigned) override
    {
        return new CountedNode(x, y);
    }
    static inline int alive = 0;
};

// A plate whose run is stopped at a chosen point: after the boundary edges
// were subdivided (each supported edge then has copies of its end nodes),
// or after every region was meshed.
class StoppedComp : public CPlateComp
{
public:
    bool afterMeshing = false;
    void SubDivide() override
    {
        CPlateComp::SubDivide();
        if (!afterMeshing)
            StopCalculation(true);
    }
    CObject* Discretize() override
    {
        CObject* failed = CPlateComp::Discretize();
        if (afterMeshing)
            StopCalculation(true);
        return failed;
    }
};

// Two squares side by side, their bottom edges supported, of nodes made by
// node(x, y), to be meshed with element code 31; the nodes in the order
// (0, 0), (1, 0), (2, 0), (2, 1), (1, 1), (0, 1).
std::vector<CSNode*> TwoSupportedSquares(CPlateComp& comp, CMaterial& steel,
                                         const std::function<CSNode*(double, double)>& node)
{
    std::vector<CSNode*> n;
    for (auto [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 1}, {0, 1}})
        n.push_back(node(x, y));
    comp.AddTail(static_cast<CSection*>(new CSectPlate(n[0], n[1], n[4], n[5], &steel)));
    comp.AddTail(static_cast<CSection*>(new CSectPlate(n[1], n[2], n[3], n[4], &steel)));
    for (auto [i, j] : std::vector<std::pair<int, int>>{{0, 1}, {1, 2}})
        static_cast<CBoundary*>(CGraph::GetComEdge(n[i], n[j]))->SetBC(1u, 0);
    comp.m_iElemType = 31;
    comp.m_iMeshKind = 101;
    comp.m_iSubdivisions = 4;
    comp.m_nMinElements = 1;
    return n;
}

// A stopped mesh generation frees the copy nodes it made, whether or not a
// mesh took them first; the model keeps its own nodes.
TEST(MeshGeneration, StoppedRunFreesTheCopyNodes)
{
    MessageRecorder recorder;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    NODELIST* savedList = CGraph::m_pNodeList;
    CGraph::m_pNodeList = nullptr;
    for (bool afterMeshing : {false, true}) {
        SCOPED_TRACE(afterMeshing ? "stopped after meshing" : "stopped before meshing");
        {
            StoppedComp comp;
            comp.afterMeshing = afterMeshing;
            const std::vector<CSNode*> n =
                TwoSupportedSquares(comp, steel, [](double x, double y) { return new CountedNode(x, y); });
            CStringArray log, errors;
            EXPECT_FALSE(comp.PreCalc(&log, &errors, 0));
            EXPECT_EQ(Lines(log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
            EXPECT_TRUE(errors.IsEmpty());
            for (CSNode* node : n)
                EXPECT_EQ(node->GetCopyNode(), nullptr);
            EXPECT_EQ(CountedNode::alive, 6) << "copy nodes outlive the stopped run";
        }
        EXPECT_EQ(CountedNode::alive, 0);
        CountedNode::alive = 0;
    }
    EXPECT_TRUE(recorder.messages().empty());
    CGraph::m_pNodeList = savedList;
}


// A triangle over three nodes of the mesh whose division asks the run to
// stop: the request comes in the middle of a refinement.
class StoppingTriangle : public CCST
{
public:
    StoppingTriangle(CSNode* a, CSNode* b, CSNode* c, CPlateComp& comp) : CCST(a, b, c), m_comp(comp) {}
    void RefineUniform(int n, CObList* out) override
    {
        CCST::RefineUniform(n, out);
        m_comp.StopCalculation(true);
    }

private:
    CPlateComp& m_comp;
};

// What a refinement may change of the meshes: the elements in order, their
// nodes, and every node's graphs, edges and the edges' sub-nodes.
std::vector<const void*> MeshPrint(CPlateComp& comp)
{
    std::vector<const void*> print;
    std::set<CSNode*> nodes;
    comp.ForEachMeshRegion([&](CSectMeshArea* r) {
        CMeshOrganizer* mesh = r->GetMesh();
        for (POSITION p = mesh ? mesh->GetHeadPosition() : nullptr; p;) {
            CElement* e = mesh->GetNextElem(p);
            print.push_back(e);
            for (POSITION q = e->GetHeadPosition(); q;) {
                CSNode* node = e->GetNextNode(q);
                print.push_back(node);
                nodes.insert(node);
            }
        }
    });
    for (CSNode* node : nodes) {
        for (CObList* list : {node->GetGraphList(), node->GetEdgeList()})
            for (POSITION p = list ? list->GetHeadPosition() : nullptr; p;) {
                CObject* ob = list->GetNext(p);
                print.push_back(ob);
                if (auto* edge = dynamic_cast<CEdge*>(ob))
                    print.push_back(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(edge->GetSubNodeCount())));
            }
    }
    return print;
}

// Uniform refinement: a stop in its middle leaves the meshes as they were,
// edges and sub-nodes included; without one, the meshes end as the division
// element by element leaves them.
TEST(MeshGeneration, RefinementStoppedInTheMiddleLeavesTheMesh)
{
    MessageRecorder recorder;
    CMaterial steel{"Steel", 7.85e-9, 210000.0, 0.0, 0.3, 1.2e-5};
    NODELIST* savedList = CGraph::m_pNodeList;
    CGraph::m_pNodeList = nullptr;
    const auto model = [&](CPlateComp& comp) {
        TwoSupportedSquares(comp, steel, [](double x, double y) { return N(x, y); });
        CStringArray log, errors;
        ASSERT_TRUE(comp.PreCalc(&log, &errors, 0));
    };
    {
        CPlateComp comp;
        model(comp);
        // The stopping triangle in the middle of the first mesh, over the
        // nodes of its fourth element.
        CMeshOrganizer* mesh = static_cast<CSectPlate*>(comp.CObList::GetHead())->GetMesh();
        ASSERT_GT(mesh->GetCount(), 8);
        CElement* fourth = static_cast<CElement*>(mesh->GetAt(mesh->FindIndex(3)));
        auto* stopping = new StoppingTriangle(fourth->GetNode(0), fourth->GetNode(1), fourth->GetNode(2), comp);
        mesh->InsertAfter(mesh->FindIndex(3), static_cast<CObject*>(stopping));
        const std::vector<const void*> before = MeshPrint(comp);
        const int elements = comp.m_nElements;
        CStringArray log;
        comp.RefineMesh(1, &log);
        EXPECT_EQ(Lines(log), std::vector<std::string>{"*** Execution cancelled by user ***\r\n"});
        EXPECT_EQ(MeshPrint(comp), before) << "the refinement left its traces";
        EXPECT_EQ(comp.m_nElements, elements);
        EXPECT_FALSE(comp.m_bBusy);
        mesh->RemoveAt(mesh->Find(stopping));
        delete stopping;
    }
    // Without a stop: the same as each region's refinement element by element.
    CPlateComp refined, reference;
    model(refined);
    model(reference);
    refined.RefineMesh(1, nullptr);
    for (POSITION pos = reference.CObList::GetHeadPosition(); pos;)
        reference.GetNext(pos)->RefineUniform(1, 0);
    EXPECT_EQ(refined.GetElementCount(true), reference.GetElementCount(true));
    EXPECT_EQ(refined.GetNodeCount(true), reference.GetNodeCount(true));
    EXPECT_DOUBLE_EQ(refined.CalcArea(), reference.CalcArea());
    // The same edges at the mesh nodes: the refined print and the
    // reference's print have the same length, node for node.
    EXPECT_EQ(MeshPrint(refined).size(), MeshPrint(reference).size());
    EXPECT_TRUE(recorder.messages().empty());
    CGraph::m_pNodeList = savedList;
}

} // namespace
