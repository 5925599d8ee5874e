#include "tests/strelna/fe_fixture.h"
#include "tests/afx/archive_files.h"

#include <memory>

using namespace fetest;

namespace {

class MeshTest : public FETest {};

// Gives each element of the mesh results: vector k of element e holds
// value(e, k) in every component.
void FillResults(CMeshOrganizer& mesh, double (*value)(int, int))
{
    int e = 0;
    for (POSITION p = mesh.GetHeadPosition(); p; ++e) {
        CElement* el = mesh.GetNextElem(p);
        el->AllocateRes(el->GetCount());
        for (int k = 0; k < el->GetCount(); ++k)
            el->SetRes(k, new CVector(3, true, value(e, k)));
    }
}

std::vector<CElement*> Elements(CMeshOrganizer& mesh)
{
    std::vector<CElement*> out;
    for (POSITION p = mesh.GetHeadPosition(); p;)
        out.push_back(mesh.GetNextElem(p));
    return out;
}

} // namespace

// ------------------------------------------------------------ smoothing

TEST_F(MeshTest, SmoothAveragesWithinOneNameUnlessAllNames)
{
    CElement::m_nNodeVal = 3;
    for (bool allNames : {false, true}) {
        CMeshOrganizer mesh;
        QuadGrid(mesh, 2, 1); // two quadrilaterals sharing B-C
        auto els = Elements(mesh);
        els[0]->SetName("left");
        els[1]->SetName(allNames ? "right" : "left");
        FillResults(mesh, [](int e, int) { return e == 0 ? 2.0 : 4.0; });
        mesh.PreSmooth();
        ASSERT_TRUE(mesh.Smooth(false));
        // Shared corners: left's B (1) and C (2), right's A (0) and D (3).
        // With allNames false the names equal; with true the names differ
        // and Smooth(false) keeps the values apart.
        const double shared = allNames ? 2.0 : 3.0;
        EXPECT_DOUBLE_EQ(els[0]->GetRes(1, 0), shared);
        EXPECT_DOUBLE_EQ(els[0]->GetRes(2, 2), shared);
        EXPECT_DOUBLE_EQ(els[0]->GetRes(0, 0), 2.0);
        // The fourth corner takes part as well.
        EXPECT_DOUBLE_EQ(els[1]->GetRes(3, 0), allNames ? 4.0 : 3.0);
        EXPECT_DOUBLE_EQ(els[1]->GetRes(0, 1), allNames ? 4.0 : 3.0);
        if (allNames) {
            mesh.PreSmooth();
            mesh.Smooth(true);
            EXPECT_DOUBLE_EQ(els[0]->GetRes(1, 0), 3.0);
            EXPECT_DOUBLE_EQ(els[1]->GetRes(3, 0), 3.0);
        }
        EXPECT_EQ(els[0]->GetSmoothMask() & 0xF, 0xF);
    }
}

TEST_F(MeshTest, SecondSmoothWithoutPreSmoothChangesNothing)
{
    CMeshOrganizer empty;
    EXPECT_TRUE(empty.Smooth(false));
    CMeshOrganizer mesh;
    QuadGrid(mesh, 2, 1);
    FillResults(mesh, [](int e, int k) { return 1.0 + e + 10.0 * k; });
    mesh.PreSmooth();
    mesh.Smooth(false);
    auto els = Elements(mesh);
    const double before = els[0]->GetRes(1, 0);
    // Change a shared value: a second pass must not average it again.
    (*els[1]->GetRes(0))[0] = 100.0;
    mesh.Smooth(false);
    EXPECT_DOUBLE_EQ(els[0]->GetRes(1, 0), before);
    EXPECT_DOUBLE_EQ(els[1]->GetRes(0, 0), 100.0);
}

// ------------------------------------------------------------ conversion

TEST_F(MeshTest, SixNodeTrianglesToThreeNodeKeepIdentityAndResults)
{
    CSNode* p = Node(0, 0);
    CSNode* q = Node(2, 0);
    CSNode* r = Node(0, 2);
    CSNode* s = Node(2, 2);
    CMeshOrganizer mesh;
    mesh.AddElement(new CTri6Element(p, q, r));
    mesh.AddElement(new CTri6Element(s, r, q));
    auto before = Elements(mesh);
    before[0]->SetName("a");
    before[1]->SetName("b");
    const unsigned long id0 = before[0]->GetID(), id1 = before[1]->GetID();
    int row = 0;
    CMatrix m = Rows(6, 9);
    mesh.SetStresses(m, row);
    CVector* res = before[1]->GetRes(2);
    CSNode* sharedMid = before[0]->GetNode(4); // on q-r, shared
    CSNode* pqDividing = CGraph::GetComEdge(p, q)->GetSubNodeList()->GetCount() == 1
                             ? static_cast<CSNode*>(CGraph::GetComEdge(p, q)->GetSubNodeList()->GetHead())
                             : nullptr;
    ASSERT_NE(pqDividing, nullptr);
    EXPECT_EQ(pqDividing->GetCopyNode(), before[0]->GetNode(3));
    const DWORD graphCounter = CGraph::lIDGraph;

    mesh.TriToTri(101, false);
    auto after = Elements(mesh);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(CGraph::lIDGraph, graphCounter);
    EXPECT_EQ(after[0]->GetRuntimeClass(), RUNTIME_CLASS(CTriElement));
    EXPECT_EQ(after[0]->GetID(), id0);
    EXPECT_EQ(after[1]->GetID(), id1);
    EXPECT_EQ(after[1]->GetName(), CString("b"));
    EXPECT_EQ(after[1]->GetRes(2), res); // moved, not copied
    EXPECT_EQ(after[0]->GetCount(), 3);
    EXPECT_EQ(after[1]->GetNode(0), s);
    // No graph holds the old mid-side nodes any more: they are gone.
    EXPECT_EQ(p->GetGraphCount(), 1);
    EXPECT_EQ(pqDividing->GetCopyNode(), nullptr);
    (void)sharedMid;

    mesh.TriToTri(103, true);
    after = Elements(mesh);
    EXPECT_EQ(after[0]->GetCount(), 6);
    EXPECT_EQ(after[0]->GetNumResVects(), 0);
    EXPECT_EQ(after[0]->GetNode(4), after[1]->GetNode(4)); // q-r shared again
    EXPECT_EQ(CGraph::lIDGraph, graphCounter);
}

TEST_F(MeshTest, QuadToQuadGivesBackIdentifiersAndIgnoresOtherKinds)
{
    CMeshOrganizer mesh;
    QuadGrid(mesh, 3, 1);
    auto before = Elements(mesh);
    const DWORD counter = CGraph::lIDGraph;
    mesh.QuadToQuad(101);
    EXPECT_EQ(Elements(mesh), before);
    EXPECT_EQ(CGraph::lIDGraph, counter);

    mesh.QuadToQuad(105);
    auto after = Elements(mesh);
    EXPECT_EQ(CGraph::lIDGraph, counter);
    ASSERT_EQ(after.size(), 3u);
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i]->GetRuntimeClass(), RUNTIME_CLASS(CQuad8Elem));
        EXPECT_EQ(after[i]->GetCount(), 8);
    }
    EXPECT_EQ(after[0]->GetNode(5), after[1]->GetNode(7));
    mesh.QuadToQuad(104);
    EXPECT_EQ(CGraph::lIDGraph, counter);
    EXPECT_EQ(mesh.GetHeadElem()->GetCount(), 4);
}

TEST_F(MeshTest, ConversionLeavesElementsWithTooFewCornersAlone)
{
    CMeshOrganizer mesh;
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    auto* tri = new CTriElement(a, b, c);
    mesh.AddElement(tri);
    mesh.AddElement(new CQuadElem(b, Node(2, 0), Node(2, 1), c));
    const DWORD counter = CGraph::lIDGraph;
    mesh.QuadToQuad(105);
    EXPECT_EQ(mesh.GetHeadElem(), tri);
    EXPECT_EQ(mesh.GetTailElem()->GetRuntimeClass(), RUNTIME_CLASS(CQuad8Elem));
    EXPECT_EQ(CGraph::lIDGraph, counter); // one drawn, one given back
}

// ------------------------------------------------------------ whole mesh

TEST_F(MeshTest, ResetElIDsNumbersFromTheCounter)
{
    CMeshOrganizer mesh;
    QuadGrid(mesh, 5, 1);
    long counter = 0;
    mesh.ResetElIDs(counter);
    EXPECT_EQ(counter, 5);
    auto els = Elements(mesh);
    EXPECT_EQ(els.front()->GetID(), 4000000001u);
    EXPECT_EQ(els.back()->GetID(), 4000000005u);
    CMeshOrganizer empty;
    empty.ResetElIDs(counter);
    EXPECT_EQ(counter, 5);
}

TEST_F(MeshTest, MaxMinLoadWidensToZeroForUnloadedNodes)
{
    CMeshOrganizer mesh;
    QuadGrid(mesh, 1, 1);
    struct {
        double max, min, emax, emin;
    } cases[] = {{-1, -3, 0, -3}, {5, 2, 5, 2}, {-1, 3, 0, 0}};
    for (const auto& c : cases) {
        double mx = c.max, mn = c.min;
        mesh.GetMaxMinLoad(mx, mn, 2);
        EXPECT_EQ(mx, c.emax);
        EXPECT_EQ(mn, c.emin);
    }
}

TEST_F(MeshTest, LookupAreaPointAndNames)
{
    CMeshOrganizer mesh;
    std::vector<CSNode*> nodes;
    QuadGrid(mesh, 2, 2, &nodes);
    auto els = Elements(mesh);
    EXPECT_DOUBLE_EQ(mesh.CalcArea(), 4.0);
    CSNode probe(1.5, 0.5, 0.0, nullptr, 0);
    EXPECT_EQ(mesh.PointInElement(&probe), els[1]);
    EXPECT_EQ(mesh.GetObjectA(els[3]->GetID()), els[3]);
    EXPECT_EQ(mesh.GetObjectA(nodes[4]->GetID()), nodes[4]);
    // An edge identifier is found through the elements' graphs.
    CEdge* edge = new CEdge(nodes[0], nodes[1]);
    EXPECT_EQ(mesh.GetObjectA(edge->GetID()), edge);
    EXPECT_EQ(mesh.GetObjectA(4000000000ul + 999999ul), nullptr);
    mesh.SetNames("region");
    EXPECT_EQ(els[2]->GetName(), CString("region"));
    EXPECT_TRUE(mesh.RemoveElem(els[3]));
    EXPECT_FALSE(mesh.RemoveElem(els[3]));
    delete els[3];
    EXPECT_EQ(mesh.GetCount(), 3);
}

TEST_F(MeshTest, OrganiserArchiveLayoutAndRoundTrip)
{
    afxtest::Bytes bytes;
    {
        CMeshOrganizer mesh;
        QuadGrid(mesh, 2, 1);
        mesh.m_dwWord = 0xABCD1234u;
        bytes = afxtest::storeBytes([&](CArchive& ar) { mesh.Serialize(ar); });
        const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
            ar << static_cast<WORD>(2);
            for (POSITION p = mesh.GetHeadPosition(); p;)
                ar << mesh.GetNext(p);
            ar << static_cast<DWORD>(0xABCD1234u);
        });
        EXPECT_EQ(bytes, expected);
    }
    CMeshOrganizer loaded;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetCount(), 2);
    EXPECT_EQ(loaded.m_dwWord, 0xABCD1234u);
    auto els = Elements(loaded);
    EXPECT_EQ(els[0]->GetNode(1), els[1]->GetNode(0)); // shared node restored
    EXPECT_DOUBLE_EQ(loaded.CalcArea(), 2.0);
}

TEST_F(MeshTest, CopyBuildsElementsOfTheSameClass)
{
    CMeshOrganizer mesh;
    QuadGrid(mesh, 2, 1);
    std::unique_ptr<CMeshOrganizer> copy(mesh.Copy(true));
    ASSERT_EQ(copy->GetCount(), 2);
    auto a = Elements(mesh);
    auto b = Elements(*copy);
    EXPECT_EQ(b[0]->GetRuntimeClass(), RUNTIME_CLASS(CQuadElem));
    EXPECT_NE(b[0]->GetNode(0), a[0]->GetNode(0));
    EXPECT_EQ(b[0]->GetNode(1), b[1]->GetNode(0));
    EXPECT_DOUBLE_EQ(copy->CalcArea(), 2.0);

    // Six-node triangles: the copies get mid-side nodes of their own, and
    // the source keeps sharing its mid-side nodes with new neighbours.
    CMeshOrganizer tris;
    CSNode* p = Node(0, 0);
    CSNode* q = Node(2, 0);
    tris.AddElement(new CTri6Element(p, q, Node(0, 2)));
    std::unique_ptr<CMeshOrganizer> triCopy(tris.Copy(true));
    CElement* src = tris.GetHeadElem();
    CElement* dup = triCopy->GetHeadElem();
    for (int k = 0; k < 6; ++k) {
        EXPECT_NE(dup->GetNode(k), src->GetNode(k));
        EXPECT_EQ(dup->GetNode(k)->m_uiFlags & 8u, 0u);
        EXPECT_DOUBLE_EQ(dup->GetNode(k)->x, src->GetNode(k)->x);
    }
    CTri6Element neighbour(q, p, Node(2, -2));
    EXPECT_EQ(neighbour.GetNode(3), src->GetNode(3));
}

TEST_F(MeshTest, LoadingANonElementFailsCleanly)
{
    CSNode* stray = Node(0, 0);
    const afxtest::Bytes bytes = afxtest::storeBytes([&](CArchive& ar) {
        ar << static_cast<WORD>(1);
        ar << static_cast<CObject*>(stray);
        ar << static_cast<DWORD>(0);
    });
    delete stray;
    CMeshOrganizer loaded;
    bool thrown = false;
    try {
        afxtest::loadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    } catch (CArchiveException&) {
        thrown = true;
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(loaded.GetCount(), 0);
}
