// The triangle-mesher adapter: what it loads, how it maps the output onto
// graph nodes and elements, and its failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "app/analysis/analysis.h"
#include "femodel/strelna.h"
#include "tests/support/message_recorder.h"

namespace
{

using brantel::test::MessageRecorder;

struct Loaded {
    int index;
    double x, y, value;
    int marker;
};
struct XYPair {
    double x, y;
};
struct Seg {
    int seg, from, to, marker, flag;
};

// Records what the adapter loads and every element handed to AddElement.
class SpyMesh : public CTriMesh
{
public:
    using CTriMesh::CTriMesh;
    std::vector<Loaded> points;
    std::vector<Seg> segs;
    std::vector<std::vector<CSNode*>> added;
    int endRecordFrom = 0;
    int endRecordTo = 0;
    int innerEnd = 0;
    // Runs inside the output pass, before the adapter's own.
    std::function<void(SpyMesh&)> beforeOutput;

    node* Nodes() { return m_pNode; }
    elem* Elems() { return m_pElem; }
    using CTriMesh::BuildOutput;

protected:
    void LoadPoint(int index, double x, double y, double value, int marker) override
    {
        points.push_back({index, x, y, value, marker});
        CTriMesh::LoadPoint(index, x, y, value, marker);
    }
    void LoadSegment(int seg, int from, int to, int marker, int flag) override
    {
        segs.push_back({seg, from, to, marker, flag});
        CTriMesh::LoadSegment(seg, from, to, marker, flag);
    }
    void LoadRefinePoints(int& index) override
    {
        innerEnd = index;
        endRecordFrom = SegmentRecord(index).from;
        endRecordTo = SegmentRecord(index).to;
        CTriMesh::LoadRefinePoints(index);
    }
    bool BuildOutput() override
    {
        if (beforeOutput)
            beforeOutput(*this);
        return CTriMesh::BuildOutput();
    }

public:
    void AddElement(CSNode* a, CSNode* b, CSNode* c) override
    {
        added.push_back({a, b, c});
        CTriMesh::AddElement(a, b, c);
    }
};

// Nodes owned by a carrier graph so that regions only share them.
struct Model {
    CGraph carrier;
    CSNode* Node(double x, double y) { return carrier.NewNode(x, y, 0); }

    // A region on the nodes; segments > 1 splits each edge into that many.
    CSectArea* Region(std::vector<CSNode*> nodes, int segments = 1)
    {
        auto* r = new CSectArea;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            r->NewNode(nodes[i]);
            CSNode* next = nodes[(i + 1) % nodes.size()];
            CEdge* e = CGraph::GetComEdge(nodes[i], next);
            if (!e)
                e = r->ConnectNodes(nodes[i], next);
            if (segments > 1)
                e->SubDivideSeg(segments, false);
        }
        return r;
    }
    CSectArea* Rect(double x0, double y0, double x1, double y1, int segments = 1)
    {
        return Region({Node(x0, y0), Node(x1, y0), Node(x1, y1), Node(x0, y1)}, segments);
    }
};

double MeshArea(CMeshOrganizer& mesh)
{
    return mesh.CalcArea();
}

class TriMeshTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CMGenerator::Stop(false);
        CEasyMesh::AllocStatics();
        g_pMeshNodeList = nullptr;
    }
    void TearDown() override
    {
        CEasyMesh::DeAllocStatics();
        CMGenerator::Stop(false);
        g_pMeshNodeList = nullptr;
    }
    CObList* Cells(CSectArea* region)
    {
        auto* cells = new CObList(10);
        region->FindIntCells(cells);
        if (cells->IsEmpty()) {
            delete cells;
            return nullptr;
        }
        return cells;
    }
    MessageRecorder recorder;
};

TEST_F(TriMeshTest, LoadsOutlineHolesAndRefineInput)
{
    Model m;
    CSNode* a = m.Node(0, 0);
    CSNode* b = m.Node(8, 0);
    CSNode* c = m.Node(8, 6);
    CSNode* d = m.Node(0, 6);
    // The edge d-c runs against the walking direction of the outline.
    m.carrier.ConnectNodes(c, d)->SubDivideSeg(2, false);
    CSectArea* region = m.Region({a, b, c, d}, 2);
    region->InsertSubSect(m.Rect(1, 1, 2, 2));
    region->InsertSubSect(m.Rect(5, 1, 6, 2, 2));
    CSNode* point = new CSNode(4.0, 4.5, 0.0, nullptr, 0);
    point->SetSNodSpace(0.25, true);
    region->AddRefinePoint(point);
    auto* line = new CGraph;
    CSNode* l1 = line->NewNode(3.0, 3.0, 0.0);
    CSNode* l2 = line->NewNode(4.0, 3.5, 0.0);
    CSNode* l3 = line->NewNode(5.0, 3.0, 0.0);
    line->ConnectNodes(l2, l3);
    line->ConnectNodes(l1, l2);
    region->AddRefineGraph(line);

    CMeshOrganizer mesh;
    {
        SpyMesh spy(region, &mesh);
        ASSERT_TRUE(spy.Mesh(Cells(region), 100, 12, false));

        // Outline: corners and the sub-nodes of their edges, walking a-b-c-d.
        const std::vector<std::pair<double, double>> outline = {{0, 0}, {4, 0}, {8, 0}, {8, 3},
                                                                {8, 6}, {4, 6}, {0, 6}, {0, 3}};
        ASSERT_GE(spy.points.size(), outline.size());
        for (std::size_t i = 0; i < outline.size(); ++i) {
            EXPECT_EQ(spy.points[i].index, static_cast<int>(i));
            EXPECT_EQ(spy.points[i].x, outline[i].first) << i;
            EXPECT_EQ(spy.points[i].y, outline[i].second) << i;
            EXPECT_EQ(spy.points[i].marker, 1);
            EXPECT_EQ(spy.points[i].value, 1.0);
        }
        EXPECT_EQ(spy.m_dMaxX, 8.0);
        EXPECT_EQ(spy.m_dMinY, 0.0);

        // Holes: 4 and 8 points, markers 3 and 4, closed segment loops.
        std::map<int, std::vector<int>> byMarker;
        for (const Loaded& p : spy.points)
            if (p.marker >= 3) {
                EXPECT_EQ(p.value, 3.0);
                byMarker[p.marker].push_back(p.index);
            }
        ASSERT_EQ(byMarker.size(), 2u);
        EXPECT_EQ(byMarker[3].size() + byMarker[4].size(), 12u);
        EXPECT_EQ(byMarker[3].size() * byMarker[4].size(), 32u);
        for (auto& [marker, ids] : byMarker) {
            const int s = ids.front(), e = ids.back();
            for (int i = s; i <= e; ++i) {
                const int to = i == e ? s : i + 1;
                bool found = false;
                for (const Seg& g : spy.segs)
                    found = found || (g.seg == i && g.from == i && g.to == to &&
                                      g.marker == marker && g.flag == 1);
                EXPECT_TRUE(found) << "segment " << i;
            }
        }
        EXPECT_EQ(spy.endRecordFrom, -1);
        EXPECT_EQ(spy.endRecordTo, -1);
        EXPECT_EQ(spy.innerEnd, 20);

        // The refine point with its spacing and one-point segment, then the
        // refine line's points joined by identifier.
        std::vector<Loaded> refine;
        for (const Loaded& p : spy.points)
            if (p.marker == 2)
                refine.push_back(p);
        ASSERT_EQ(refine.size(), 4u);
        EXPECT_EQ(refine[0].x, 4.0);
        EXPECT_EQ(refine[0].value, 0.25);
        EXPECT_EQ(refine[1].value, 2.0);
        std::set<std::pair<int, int>> joined;
        for (const Seg& g : spy.segs)
            if (g.marker == 2)
                joined.insert({g.from, g.to});
        const int r0 = refine[0].index, r1 = refine[1].index;
        EXPECT_EQ(joined,
                  (std::set<std::pair<int, int>>{{r0, r0}, {r1 + 1, r1 + 2}, {r1, r1 + 1}}));
        // Lowered by the line's 3 nodes, raised by its 2 segments.
        EXPECT_EQ(spy.m_nPointCount, 99);

        // Output: a mesh of the region less the holes on the input nodes.
        EXPECT_NEAR(MeshArea(mesh), 48.0 - 1.0 - 1.0, 1e-9);
        EXPECT_EQ(spy.m_pInnerNodes, nullptr);
        EXPECT_EQ(spy.m_pCells, nullptr);
    }
    std::set<CSNode*> used;
    for (POSITION p = mesh.GetHeadPosition(); p;) {
        CElement* e = mesh.GetNextElem(p);
        EXPECT_EQ(e->GetCount(), 3);
        for (POSITION q = e->GetHeadPosition(); q;)
            used.insert(e->GetNextNode(q));
    }
    for (CSNode* corner : {a, b, c, d}) {
        ASSERT_NE(corner->GetCopyNode(), nullptr);
        EXPECT_TRUE(used.count(corner->GetCopyNode()));
        EXPECT_FALSE(used.count(corner));
    }
    CEdge* ab = CGraph::GetComEdge(a, b);
    EXPECT_TRUE(used.count(static_cast<CSNode*>(ab->GetSubNodeList()->GetHead())));
    EXPECT_TRUE(used.count(point));
    for (CSNode* n : {l1, l2, l3})
        EXPECT_TRUE(used.count(n));
    EXPECT_TRUE(recorder.messages().empty());
    mesh.Clear();
    delete region;
}

TEST_F(TriMeshTest, NeighboursShareCopiesUnlessTheNodeIsGlobal)
{
    Model m;
    CSNode* p00 = m.Node(0, 0);
    CSNode* p10 = m.Node(1, 0);
    CSNode* p20 = m.Node(2, 0);
    CSNode* p21 = m.Node(2, 1);
    CSNode* p11 = m.Node(1, 1);
    CSNode* p01 = m.Node(0, 1);
    CSectArea* left = m.Region({p00, p10, p11, p01}, 4);
    CSectArea* right = m.Region({p10, p20, p21, p11}, 4);
    CEdge* shared = CGraph::GetComEdge(p10, p11);
    std::set<CSNode*> sharedSubs;
    for (POSITION p = shared->GetSubNodeList()->GetHeadPosition(); p;)
        sharedSubs.insert(static_cast<CSNode*>(shared->GetSubNodeList()->GetNext(p)));

    auto nodesOf = [](CMeshOrganizer& mesh) {
        std::set<CSNode*> out;
        for (POSITION p = mesh.GetHeadPosition(); p;) {
            CElement* e = mesh.GetNextElem(p);
            for (POSITION q = e->GetHeadPosition(); q;)
                out.insert(e->GetNextNode(q));
        }
        return out;
    };
    for (bool global : {false, true}) {
        SCOPED_TRACE(global ? "p11 in the global list" : "no global node");
        NODELIST list;
        if (global)
            list.AddNode(p11);
        g_pMeshNodeList = &list;
        CMeshOrganizer meshL, meshR;
        {
            CTriMesh t(left, &meshL);
            ASSERT_TRUE(t.Mesh(nullptr, 0, 0, false));
        }
        CSNode* leftCopy = p11->GetCopyNode();
        CSNode* leftCopy10 = p10->GetCopyNode();
        {
            CTriMesh t(right, &meshR);
            ASSERT_TRUE(t.Mesh(nullptr, 0, 0, false));
        }
        const auto nl = nodesOf(meshL), nr = nodesOf(meshR);
        EXPECT_TRUE(nr.count(leftCopy10)); // never global: shared
        EXPECT_EQ(nr.count(leftCopy), global ? 0u : 1u);
        // The shared edge's sub-nodes: themselves in both meshes, or fresh
        // copies in each mesh when an end node is global.
        for (CSNode* s : sharedSubs) {
            EXPECT_EQ(nl.count(s), global ? 0u : 1u);
            EXPECT_EQ(nr.count(s), global ? 0u : 1u);
        }
        std::size_t common = 0;
        for (CSNode* n : nl)
            common += nr.count(n);
        // p10's copy; unless p11 is global also its copy and the 3 sub-nodes.
        EXPECT_EQ(common, global ? 1u : 5u);
        EXPECT_NEAR(MeshArea(meshR), 1.0, 1e-12);
        left->ReleaseCopyNodes(true);
        right->ReleaseCopyNodes(true);
    }
    EXPECT_TRUE(recorder.messages().empty());
    delete left;
    delete right;
}

TEST_F(TriMeshTest, KindsBuildTheirElements)
{
    struct Case {
        int kind;
        int elements;
        int nodesEach;
    };
    for (const Case& k : std::vector<Case>{
             {101, 1, 3}, {102, 1, 3}, {103, 1, 6}, {104, 3, 4}, {105, 3, 8}, {99, 0, 0}}) {
        SCOPED_TRACE(k.kind);
        Model m;
        CSectArea* tri = m.Region({m.Node(0, 0), m.Node(3, 0), m.Node(0, 3)});
        CMeshOrganizer mesh;
        {
            CTriMesh t(tri, &mesh);
            t.m_iKind = k.kind;
            // A single triangle: force it by meshing the bare outline.
            t.AddElement(tri->GetNode(0)->Copy(false), tri->GetNode(1)->Copy(false),
                         tri->GetNode(2)->Copy(false));
        }
        ASSERT_EQ(mesh.GetCount(), k.elements);
        std::map<CSNode*, int> uses;
        for (POSITION p = mesh.GetHeadPosition(); p;) {
            CElement* e = mesh.GetNextElem(p);
            EXPECT_EQ(e->GetCount(), k.nodesEach);
            for (POSITION q = e->GetHeadPosition(); q;)
                ++uses[e->GetNextNode(q)];
        }
        if (k.kind >= 104) {
            // The centroid node is the third corner of all three.
            CSNode* g = mesh.GetHeadElem()->GetNode(2);
            EXPECT_EQ(uses[g], 3);
            EXPECT_DOUBLE_EQ(g->x, 1.0);
            EXPECT_DOUBLE_EQ(g->y, 1.0);
            EXPECT_NEAR(MeshArea(mesh), 4.5, 1e-12);
        }
        if (k.kind == 99)
            for (int i = 0; i < 3; ++i)
                delete tri->GetNode(i)->GetCopyNode();
        mesh.Clear();
        delete tri;
    }
}

TEST_F(TriMeshTest, BadOutputRecordsFailWithoutStrayNodes)
{
    struct Case {
        const char* message;
        void (*spoil)(SpyMesh&);
    };
    const Case cases[] = {
        {"Mesh-generator indexed an element out of bound",
         [](SpyMesh& s) { s.Elems()[0].n[1] = s.m_nNodes; }},
        {"Mesh-generator indexed an element out of bound",
         [](SpyMesh& s) { s.Elems()[1].n[2] = -1; }},
        {"Mesh-generator indexed a NULL-node",
         [](SpyMesh& s) { s.Nodes()[s.Elems()[s.m_nElems - 1].n[0]].bEmpty = true; }},
    };
    for (const Case& c : cases) {
        recorder.clear();
        Model m;
        CSectArea* region = m.Rect(0, 0, 3, 2, 3);
        region->InsertSubSect(m.Rect(1, 0.5, 2, 1.5));
        CMeshOrganizer mesh;
        const long before = CSNode::lIDnode;
        {
            SpyMesh spy(region, &mesh);
            spy.beforeOutput = c.spoil;
            EXPECT_FALSE(spy.Mesh(Cells(region), 0, 0, true));
        }
        EXPECT_EQ(mesh.GetCount(), 0);
        ASSERT_EQ(recorder.texts(), std::vector<std::string>{c.message});
        // The copies made for the output are gone again (ASan sees leaks).
        EXPECT_GT(CSNode::lIDnode, before);
        for (POSITION p = region->GetHeadPosition(); p;)
            EXPECT_EQ(region->GetNextNode(p)->GetCopyNode(), nullptr);
        delete region;
    }
}

TEST_F(TriMeshTest, StopBeforeTheOutputFailsAndBuildsNothing)
{
    Model m;
    CSectArea* region = m.Rect(0, 0, 3, 2, 3);
    CMeshOrganizer mesh;
    {
        SpyMesh spy(region, &mesh);
        spy.beforeOutput = [](SpyMesh&) { CMGenerator::Stop(true); };
        EXPECT_FALSE(spy.Mesh(nullptr, 0, 0, false));
    }
    EXPECT_EQ(mesh.GetCount(), 0);
    EXPECT_TRUE(recorder.messages().empty());
    for (POSITION p = region->GetHeadPosition(); p;)
        EXPECT_EQ(region->GetNextNode(p)->GetCopyNode(), nullptr);
    delete region;
}

TEST_F(TriMeshTest, PinchedInnerBoundaryClosesWithATriangle)
{
    // Two triangular holes touching at p = (5, 5): the walk passes p twice.
    // The pinch triangle either joins the second lobe to the first one's
    // last corner, or the first lobe's start to the second one's end.
    struct Case {
        const char* name;
        XYPair a, b, c, d;
        double holes;
    };
    for (const Case& k :
         std::vector<Case>{{"symmetric", {7, 6}, {7, 4}, {3, 4}, {3, 6}, 4.0},
                           {"skewed", {7, 6}, {7, 4}, {2, 4.5}, {4, 7}, 2.0 + 3.25}}) {
        SCOPED_TRACE(k.name);
        Model m;
        CSectArea* region = m.Rect(0, 0, 10, 10, 5);
        CSNode* p = m.Node(5, 5);
        CSNode* a = m.Node(k.a.x, k.a.y);
        CSNode* b = m.Node(k.b.x, k.b.y);
        CSNode* c = m.Node(k.c.x, k.c.y);
        CSNode* d = m.Node(k.d.x, k.d.y);
        auto* cell = new CObList(10);
        for (CEdge* e : {m.carrier.ConnectNodes(p, a), m.carrier.ConnectNodes(a, b),
                         m.carrier.ConnectNodes(b, p), m.carrier.ConnectNodes(p, c),
                         m.carrier.ConnectNodes(c, d), m.carrier.ConnectNodes(d, p)})
            cell->AddTail(e);
        auto* cells = new CObList(10);
        cells->AddTail(static_cast<CObject*>(cell));
        CMeshOrganizer mesh;
        {
            SpyMesh spy(region, &mesh);
            ASSERT_TRUE(spy.Mesh(cells, 0, 0, false));
            // The pinch triangle is the first element, made while loading.
            ASSERT_FALSE(spy.added.empty());
            std::set<CSNode*> first(spy.added[0].begin(), spy.added[0].end());
            EXPECT_TRUE(first.count(p->GetCopyNode()));
            EXPECT_EQ(std::count_if(spy.points.begin(), spy.points.end(),
                                    [](const Loaded& l) { return l.marker == 3; }),
                      5);
        }
        // Counter-clockwise elements that leave exactly the two lobes empty.
        for (POSITION pos = mesh.GetHeadPosition(); pos;) {
            CElement* e = mesh.GetNextElem(pos);
            const CSNode *u = e->GetNode(0), *v = e->GetNode(1), *w = e->GetNode(2);
            EXPECT_GT((v->x - u->x) * (w->y - u->y) - (v->y - u->y) * (w->x - u->x), 0.0);
        }
        EXPECT_NEAR(MeshArea(mesh), 100.0 - k.holes, 1e-9);
        mesh.Clear();
        delete region;
    }
}

} // namespace
