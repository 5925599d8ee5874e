// Region data: material use counts, refine list, sub-sections, node
// lists, boundary clearing and the archive.
#include <gtest/gtest.h>

#include "platform/ferrand/material.h"
#include "sections/kantaro.h"
#include "tests/support/temp_files.h"

// A serial region class, as a plate region would be: the archive can make
// it, and the region algebra must make more of it.
class CTestArea : public CSectArea {
    DECLARE_SERIAL(CTestArea)
public:
    CTestArea() = default;
};
IMPLEMENT_SERIAL(CTestArea, CSectArea, 1)

namespace {

CTestArea* MakeRect(double x0, double y0, double x1, double y1)
{
    auto* r = new CTestArea;
    CSNode* n[4] = {r->NewNode(x0, y0, 0), r->NewNode(x1, y0, 0), r->NewNode(x1, y1, 0),
                    r->NewNode(x0, y1, 0)};
    for (int i = 0; i < 4; ++i)
        r->ConnectNodes(n[i], n[(i + 1) % 4]);
    return r;
}

TEST(SectArea, MaterialUseCounts)
{
    CMaterial m, n;
    {
        CSectArea a;
        a.SetMaterial(&m);
        EXPECT_EQ(m.GetElemCount(), 1);
        a.ReplaceMaterial(&m, &n);
        EXPECT_EQ(m.GetElemCount(), 0);
        EXPECT_EQ(n.GetElemCount(), 1);
        a.ReplaceMaterial(&m, &m); // not the region's material: no change
        EXPECT_EQ(a.GetMaterial(), &n);
        // Null replaces on the region and every sub-section.
        auto* sub = new CSectArea;
        a.InsertSubSect(sub);
        a.ReplaceMaterial(nullptr, &m);
        EXPECT_EQ(sub->GetMaterial(), &m);
        EXPECT_EQ(m.GetElemCount(), 2);
        EXPECT_EQ(n.GetElemCount(), 0);
    }
    EXPECT_EQ(m.GetElemCount(), 0); // the destructors give the uses back
}

TEST(SectArea, RefineListAndNodeLists)
{
    CTestArea* r = MakeRect(0, 0, 10, 10);
    CTestArea* hole = MakeRect(2, 2, 4, 4);
    r->InsertSubSect(hole);
    r->InsertSubSect(hole); // only once
    EXPECT_EQ(r->GetSubList()->GetCount(), 1);
    EXPECT_EQ(hole->GetOuterSect(), r);

    auto* p1 = new CSNode(5, 5, 0, nullptr, 0);
    auto* p2 = new CSNode(6, 6, 0, nullptr, 0);
    r->AddRefinePoint(p1);
    r->AddRefinePoint(p2);
    CGraph* g = MakeRect(7, 7, 8, 8);
    r->AddRefineGraph(g);
    POSITION first;
    CObList* refine = r->GetRefineList(first);
    ASSERT_NE(refine, nullptr);
    EXPECT_EQ(r->GetRefineCount(), 6);
    EXPECT_EQ(refine->GetHead(), g);
    EXPECT_EQ(refine->GetAt(first), p1);
    EXPECT_TRUE(CGraph::GetComEdge(g->GetHeadNode(), g->GetNode(1))->IsTraversed());

    CObList* nodes = r->GetNodes();
    ASSERT_EQ(nodes->GetCount(), 8);
    EXPECT_EQ(nodes->GetHead(), hole->GetHead());
    EXPECT_EQ(nodes->GetTail(), r->GetTail());
    delete nodes;
    CObList all;
    r->GetNodes(all);
    EXPECT_EQ(all.GetCount(), 8);
    EXPECT_EQ(r->FindIntCells(nullptr), 4);
    // A side cut into three segments counts three boundary segments.
    CGraph::GetComEdge(hole->GetNode(0), hole->GetNode(1))->SubDivideSeg(3, true);
    CObList cells;
    EXPECT_EQ(r->FindIntCells(&cells), 6);
    EXPECT_EQ(cells.GetCount(), 1);
    while (!cells.IsEmpty())
        delete cells.RemoveHead();
    CTestArea* plain = MakeRect(0, 0, 1, 1);
    EXPECT_EQ(plain->FindIntCells(nullptr), 0);
    delete plain;
    delete r;
}

TEST(SectArea, ClearNodesKeepsWhatANeighbourHolds)
{
    CTestArea* a = MakeRect(0, 0, 1, 1);
    auto* b = new CTestArea;
    CSNode* s1 = a->GetNode(1);
    CSNode* s2 = a->GetNode(2);
    b->NewNode(s1);
    CSNode* f = b->NewNode(2, 0.5, 0);
    b->NewNode(s2);
    b->ConnectNodes(s1, f);
    b->ConnectNodes(f, s2);
    CEdge* shared = CGraph::GetComEdge(s1, s2);
    a->ClearNodes();
    EXPECT_TRUE(a->IsEmpty());
    EXPECT_EQ(CGraph::GetComEdge(s1, s2), shared);
    EXPECT_EQ(s1->GetGraphCount(), 1);
    EXPECT_EQ(s1->GetPrimaryGraph(), b);
    delete a;
    delete b;
}

TEST(SectArea, ArchiveRoundTrip)
{
    CMaterial* mat = new CMaterial("Steel", 7.85e-6, 210000, 0, 0.3, 1.2e-5);
    CTestArea* r = MakeRect(0, 0, 10, 10);
    r->SetName("R");
    r->SetMaterial(mat);
    r->SetPolar(true);
    r->GetMatAxes().Allocate(2, true, 0.0);
    r->GetMatAxes()[0] = 1.5;
    r->InsertSubSect(MakeRect(2, 2, 4, 4));
    r->AddRefinePoint(new CSNode(5, 5, 0, nullptr, 0));
    r->AddRefinePoint(new CSNode(6, 6, 0, nullptr, 0));
    // The cut files below end outside the refine graph: a graph cut in the
    // middle of its node list is the geometry reader's to clean up.
    auto bytes = brantel::test::storeBytes<std::string>([&](CArchive& ar) { ar << r; });
    r->AddRefineGraph(MakeRect(7, 7, 8, 8)); // at the head, before the points
    auto whole = brantel::test::storeBytes<std::string>([&](CArchive& ar) { ar << r; });
    delete r;
    delete mat;

    CObject* ob = nullptr;
    brantel::test::loadBytes(whole, [&](CArchive& ar) { ob = ar.ReadObject(nullptr); });
    auto* back = dynamic_cast<CTestArea*>(ob);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetCount(), 4);
    EXPECT_EQ(back->GetName(), CString("R"));
    EXPECT_TRUE(back->IsPolar());
    ASSERT_EQ(back->GetMatAxes().GetSize(), 2);
    EXPECT_EQ(back->GetMatAxes()[0], 1.5);
    ASSERT_NE(back->GetMaterial(), nullptr);
    EXPECT_EQ(back->GetMaterial()->GetElemCount(), 1);
    EXPECT_EQ(back->GetRefineCount(), 6);
    POSITION first;
    CObList* refine = back->GetRefineList(first);
    ASSERT_NE(refine, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(refine->GetCount(), 3);
    EXPECT_TRUE(refine->GetHead()->IsKindOf(RUNTIME_CLASS(CGraph)));
    EXPECT_EQ(static_cast<CSNode*>(refine->GetAt(first))->x, 5.0);
    ASSERT_NE(back->GetSubList(), nullptr);
    EXPECT_EQ(static_cast<CSectArea*>(back->GetSubList()->GetHead())->GetOuterSect(), back);
    CMaterial* loaded = back->GetMaterial();
    delete back;
    delete loaded;

    // A file that ends early fails as cut short; the load is discarded
    // whole, its objects freed once (the sanitizer build checks).
    for (std::size_t cut : {bytes.size() / 2, bytes.size() - 3}) {
        int cause = CArchiveException::none;
        brantel::test::loadBytes(bytes.substr(0, cut), [&](CArchive& ar) {
            try {
                delete ar.ReadObject(nullptr);
            } catch (CArchiveException& e) {
                cause = e.m_cause;
                ar.DeleteCreatedObjects();
            }
        });
        EXPECT_EQ(cause, CArchiveException::endOfFile) << "cut at " << cut;
    }
}

TEST(SectArea, DeleteNodeKeepsWhatTheRegionCannotLose)
{
    CTestArea* r = MakeRect(0, 0, 1, 1);
    CSNode* corner = r->GetNode(2);
    EXPECT_TRUE(r->DeleteNode(corner));
    EXPECT_EQ(r->GetCount(), 3);
    EXPECT_EQ(CGraph::GetComEdge(r->GetNode(1), r->GetNode(2)), nullptr);
    delete r;

    // The last node would leave nothing: it stays and the answer is false.
    CTestArea single;
    CSNode* last = single.NewNode(0, 0, 0);
    EXPECT_FALSE(single.DeleteNode(last));
    EXPECT_EQ(single.GetCount(), 1);
    EXPECT_EQ(last->GetPrimaryGraph(), &single);
}

TEST(SectArea, IsDynamicOnly)
{
    EXPECT_EQ(RUNTIME_CLASS(CSectArea)->m_wSchema, 0xFFFFu);
    EXPECT_EQ(RUNTIME_CLASS(CSectArea)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CSection)->CreateObject(), nullptr);
}

} // namespace
