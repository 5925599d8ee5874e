#include "tests/strelna/fe_fixture.h"
#include "tests/afx/archive_files.h"

#include <cmath>
#include <memory>

using namespace fetest;

namespace {

class ElementTest : public FETest {};

// A receiver that records what it is handed, in order.
class RecordingInfo : public CModelInfo {
public:
    void SetElemRes(CObject* e) override { calls.push_back(e); }
    void SetNodeRes(CSNode* n) override { calls.push_back(n); }
    std::vector<CObject*> calls;
};

} // namespace

// ------------------------------------------------------------ result storage

TEST_F(ElementTest, ResultStorageOwnsAndReplacesVectors)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    e.AllocateRes(3);
    ASSERT_EQ(e.GetNumResVects(), 3);
    EXPECT_EQ(e.GetRes(0), nullptr);
    auto* v = new CVector(9, true, 1.0);
    e.SetRes(0, v);
    e.SetRes(0, v); // the same vector again: kept, not deleted
    EXPECT_EQ(e.GetRes(0), v);
    EXPECT_DOUBLE_EQ(e.GetRes(0, 4), 1.0);
    e.SetRes(0, new CVector(9, true, 2.0)); // the old one goes
    EXPECT_DOUBLE_EQ(e.GetRes(0, 4), 2.0);

    e.GetNode(0)->AllocateValue(2);
    e.DeleteResults(2); // node values only
    EXPECT_EQ(e.GetNode(0)->m_pValues, nullptr);
    EXPECT_EQ(e.GetNumResVects(), 3);
    e.DeleteResults(1);
    EXPECT_EQ(e.GetNumResVects(), 0);
    EXPECT_EQ(e.GetResArray(), nullptr);
}

TEST_F(ElementTest, CopyHoldsItsOwnResultVectors)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    int row = 0;
    CMatrix m = Rows(3, 9);
    e.SetStresses(m, row);
    std::unique_ptr<CGraph> copy(e.Copy(false));
    auto* c = dynamic_cast<CTriElement*>(copy.get());
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->GetNumResVects(), 3);
    for (int k = 0; k < 3; ++k) {
        ASSERT_NE(c->GetRes(k), nullptr);
        EXPECT_NE(c->GetRes(k), e.GetRes(k));
        EXPECT_EQ(*c->GetRes(k), *e.GetRes(k));
    }
    e.ReleaseCopyNodes(true);
}

// ------------------------------------------------------------ solver arrays

TEST_F(ElementTest, SumNodesCountsSharedNodesOnceAndRenumbers)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    CSNode* d = Node(0, 1);
    CMeshOrganizer mesh;
    mesh.AddElement(new CTriElement(a, b, c));
    mesh.AddElement(new CTriElement(a, c, d));
    const unsigned long before = a->GetID();
    long counter = 0;
    mesh.SumNodes(counter, false);
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(a->GetID(), before);
    counter = 0;
    mesh.SumNodes(counter, true);
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(a->GetID(), 1u);
    EXPECT_EQ(b->GetID(), 2u);
    EXPECT_EQ(c->GetID(), 3u);
    EXPECT_EQ(d->GetID(), 4u);

    // Records of lead + trail + 2 doubles, identifiers by record.
    std::vector<double> coords(4 * 4, -1.0);
    std::vector<long> ids(4, 0);
    int pos = 0;
    mesh.InsertNodes(ids.data(), coords.data(), pos, 1, 1);
    EXPECT_EQ(pos, 16);
    EXPECT_EQ(ids, (std::vector<long>{1, 2, 3, 4}));
    EXPECT_DOUBLE_EQ(coords[1], 0.0);
    EXPECT_DOUBLE_EQ(coords[4 + 1], 1.0);
    EXPECT_DOUBLE_EQ(coords[8 + 2], 1.0);
    EXPECT_DOUBLE_EQ(coords[0], -1.0); // left to the caller
    EXPECT_DOUBLE_EQ(coords[3], -1.0);

    CMatrix xy(4, 2, true, 0.0);
    mesh.GetDiscrCoord(xy);
    EXPECT_DOUBLE_EQ(xy[2][0], 1.0);
    EXPECT_DOUBLE_EQ(xy[2][1], 1.0);
    CMatrix xOnly(4, 1, true, 0.0);
    mesh.GetDiscrCoord(xOnly);
    EXPECT_DOUBLE_EQ(xOnly[1][0], 1.0);
}

TEST_F(ElementTest, InsertFEAdvancesByWidthOrEntriesWritten)
{
    CTri6Element e(Node(0, 0), Node(2, 0), Node(0, 2));
    long table[16] = {};
    int pos = 0;
    e.InsertFE(table, pos, -1, false);
    EXPECT_EQ(pos, 6);
    EXPECT_EQ(table[0], static_cast<long>(e.GetNode(0)->GetID()));
    pos = 0;
    e.InsertFE(table, pos, -1, true);
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(table[0], 101);
    EXPECT_EQ(table[6], static_cast<long>(e.GetNode(5)->GetID()));
    pos = 2;
    e.InsertFE(table, pos, 10, true);
    EXPECT_EQ(pos, 12);
}

TEST_F(ElementTest, ConnectivityTablesBothForms)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    CSNode* d = Node(0, 1);
    CMeshOrganizer mesh;
    mesh.AddElement(new CQuadElem(a, b, c, d));
    mesh.AddElement(new CTriElement(b, c, a));
    long counter = 0;
    mesh.SumNodes(counter, true);
    CLongVector nodes;
    nodes.Allocate(7, true, 0);
    CLongVector pointers;
    pointers.Allocate(3, true, 0);
    int count = 0;
    mesh.GetMMNPC(nodes, pointers, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(pointers[1], 4);
    EXPECT_EQ(pointers[2], 7);
    EXPECT_EQ(nodes[4], 2);
    EXPECT_EQ(nodes[6], 1);
    EXPECT_EQ(mesh.GetHeadElem()->GetID(), 0u);
    EXPECT_EQ(mesh.GetTailElem()->GetID(), 1u);
    CLongMatrix table;
    table.Allocate(2, 4, true, -1);
    mesh.GetMMNPC(table);
    EXPECT_EQ(table[0][3], 4);
    EXPECT_EQ(table[1][0], 2);
    EXPECT_EQ(table[1][3], -1);
}

// ------------------------------------------------------------ results back

TEST_F(ElementTest, SetStressesKeepsVectorsAndWidensExtremes)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix m = Rows(6, 9, -20.0);
    int row = 0;
    e.SetStresses(m, row);
    EXPECT_EQ(row, 3);
    CVector* first = e.GetRes(0);
    EXPECT_DOUBLE_EQ(e.GetRes(2, 4), -20.0 + 20.0 + 4.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMinStress[0], -20.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[0], 0.0);
    e.SetStresses(m, row);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(e.GetRes(0), first);
    EXPECT_DOUBLE_EQ(e.GetRes(0, 1), -20.0 + 30.0 + 1.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[8], 58.0 - 20.0 + 0.0 - 8.0 + 8.0 - 20.0 + 20.0);
    // Extremes widen, never reset.
    CMatrix small = Rows(3, 9, 0.0);
    row = 0;
    e.SetStresses(small, row);
    EXPECT_DOUBLE_EQ(CElement::m_strMinStress[0], -20.0);
}

// The vector form's extremes are pairs: it reads and writes two entries of
// each array only (arrays of two, as callers pass them).
TEST_F(ElementTest, LocalVectorExtremesTouchOnlyTheirPair)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix m = Rows(3, 9, 1.0);
    int row = 0;
    e.SetStresses(m, row);
    auto max = std::make_unique<double[]>(2);
    auto min = std::make_unique<double[]>(2);
    max[0] = max[1] = min[0] = min[1] = 0.0;
    CVector noAxis;
    e.GetMaxMinLocalVect(max.get(), min.get(), false, noAxis, 0, 1);
    EXPECT_DOUBLE_EQ(min[0], 1.0);
    EXPECT_DOUBLE_EQ(max[0], 21.0);
    EXPECT_DOUBLE_EQ(min[1], 2.0);
    EXPECT_DOUBLE_EQ(max[1], 22.0);
}

TEST_F(ElementTest, FourNodeTriangleConsumesFourRows)
{
    CTri4Elem e(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix m = Rows(8, 9);
    int row = 0;
    e.SetStresses(m, row);
    EXPECT_EQ(row, 4);
    CElement::m_nVectors = 4;
    row = 0;
    e.SetStresses(m, row);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(e.GetNumResVects(), 4);
    EXPECT_DOUBLE_EQ(e.GetRes(3, 0), 30.0);
}

TEST_F(ElementTest, MidSideRowsOfNodeValuesAreSkipped)
{
    // Two six-node triangles sharing a side: the second owns fewer nodes.
    CSNode* p = Node(0, 0);
    CSNode* q = Node(2, 0);
    CSNode* r = Node(0, 2);
    CSNode* s = Node(2, -2);
    CMeshOrganizer mesh;
    mesh.AddElement(new CTri6Element(p, q, r));
    mesh.AddElement(new CTri6Element(q, p, s));
    CMatrix m = Rows(9, 2);
    int row = 0;
    mesh.SetNodeValues(m, row);
    // First: 3 corners + 3 own mid-side rows; second: corner s + 2 own mid-side rows.
    EXPECT_EQ(row, 9);
    EXPECT_DOUBLE_EQ(p->GetValue(1), 1.0);
    EXPECT_DOUBLE_EQ(r->GetValue(0), 20.0);
    EXPECT_DOUBLE_EQ(s->GetValue(0), 60.0);
    auto* first = static_cast<CElement*>(mesh.GetHeadElem());
    EXPECT_EQ(first->GetNode(3)->m_pValues, nullptr);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[9 + 1], 61.0);

    // Quadrilaterals of eight nodes: corners only.
    CQuad8Elem q8(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1));
    row = 0;
    CMatrix m8 = Rows(8, 1);
    q8.SetNodeValues(m8, row);
    EXPECT_EQ(row, 8);
    EXPECT_DOUBLE_EQ(q8.GetNode(3)->GetValue(0), 30.0);
    EXPECT_EQ(q8.GetNode(4)->m_pValues, nullptr);
}

TEST_F(ElementTest, NodeValuesBeyondTheExtremesTableAreNotWritten)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix m = Rows(3, 15, 5.0); // 9 + 15 columns > 20
    int row = 0;
    e.SetNodeValues(m, row);
    EXPECT_DOUBLE_EQ(e.GetNode(2)->GetValue(14), 5.0 + 20.0 + 14.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[19], 5.0 + 20.0 + 10.0);
    double values[25];
    for (double& v : values)
        v = 7.0;
    CElement::CalibStress(values, false, 25);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(19, -1), 7.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(20, -1), 0.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(25, -2), 0.0);
    double mx = 0, mn = 0;
    EXPECT_FALSE(e.GetMaxMinStress(20, mx, mn));
}

// ------------------------------------------------------------ result index and colours

TEST_F(ElementTest, ResultIndexReadsVectorsNodeValuesAndExtremes)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(0, 0), 0.0); // no results
    CMatrix m = Rows(3, 9, 1.0);
    int row = 0;
    e.SetStresses(m, row);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(3, 1), 14.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(-1, 1), 0.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(8, -1), 29.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(0, -2), 0.0);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(9, 1), 0.0); // node without values
    e.GetNode(1)->AllocateValue(2);
    e.GetNode(1)->SetValue(4.5, 1);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(10, 1), 4.5);
    EXPECT_DOUBLE_EQ(e.GetStressFromIndex(11, 1), 0.0); // beyond the vector
    EXPECT_DOUBLE_EQ(e.GetStress(10, e.GetNode(1)), 4.5);
    EXPECT_DOUBLE_EQ(e.GetStress(3, e.GetNode(2)), 24.0);
}

TEST_F(ElementTest, ColourIndexOfValuesAndRanges)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    CElement::m_strMaxStress[0] = 4.0;
    CElement::m_strMinStress[0] = -2.0;
    const struct {
        double v;
        int expected;
    } cases[] = {{0.0, 128}, {4.0, 255}, {-4.0, 0}, {4.1, -1}, {-4.1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(e.GetColorIndex(c.v, 0), c.expected) << c.v;
    EXPECT_EQ(e.GetColorIndex(3.0, 1), 127);   // zero range
    EXPECT_EQ(e.GetColorIndex(0.5, -1), 191);  // range 1
    EXPECT_EQ(CElement::GetColorIndex_fromRange(0.0, 0.0), 127);
    EXPECT_EQ(CElement::GetColorIndex_fromRange(-1.0, 1.0), 0);
}

TEST_F(ElementTest, StressMeasures)
{
    EXPECT_DOUBLE_EQ(CElement::EffStress(0, 1.0, 2.0, 3.0, 0, 0), std::sqrt(1.0 + 3.0 * 13.0));
    EXPECT_DOUBLE_EQ(CElement::EffStress(1, 2.0, 1.0, 1.0, 0, 0), std::sqrt(4.0 + 1.0 - 2.0 + 3.0));
    EXPECT_DOUBLE_EQ(CElement::EffStress(2, 2.0, 1.0, 1.0, 2.0, 0.5), std::sqrt(8.0 + 2.0 - 1.0 + 3.0));
    EXPECT_DOUBLE_EQ(CElement::PriStress(3.0, -1.0, 0.0, true), 3.0);
    EXPECT_DOUBLE_EQ(CElement::PriStress(3.0, -1.0, 0.0, false), -1.0);
    EXPECT_DOUBLE_EQ(CElement::PriStress(0.0, 0.0, 2.0, false), -2.0);
    double out[3];
    CElement::LocalStress(M_PI / 2.0, 3.0, 1.0, 0.5, out);
    EXPECT_NEAR(out[0], 1.0, 1e-12);
    EXPECT_NEAR(out[1], 3.0, 1e-12);
    EXPECT_NEAR(out[2], -0.5, 1e-12);
    CVector centre(2, true, 0.0);
    // Polar axes: the local x axis runs tangentially.
    EXPECT_NEAR(CElement::LocalAngle(1.0, 0.0, true, centre), 1.5 * M_PI, 1e-12);
    EXPECT_NEAR(CElement::LocalAngle(0.0, 1.0, true, centre), 0.0, 1e-12);
    EXPECT_NEAR(CElement::LocalAngle(0.0, 0.0, true, centre), 0.0, 1e-12);
    CVector slope(2, true, 0.0);
    slope[0] = -1.0;
    EXPECT_NEAR(CElement::LocalAngle(0.0, 0.0, false, slope), 2.0 * M_PI - M_PI / 4.0, 1e-12);
}

TEST_F(ElementTest, ExtremesQueries)
{
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    double mx = 1, mn = 1;
    EXPECT_FALSE(e.GetMaxMinStress(0, mx, mn)); // all zero
    EXPECT_EQ(mx, 0.0);
    CElement::m_strMaxStress[9] = 3.0;
    EXPECT_FALSE(e.GetMaxMinStress(9, mx, mn)); // triangles answer indices 0..8
    CElement::m_strMaxStress[2] = -1.0;
    CElement::m_strMinStress[2] = 2.0;
    ASSERT_TRUE(e.GetMaxMinStress(2, mx, mn));
    EXPECT_EQ(mx, 2.0);
    EXPECT_EQ(mn, -1.0);
    CQuadElem q(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1));
    ASSERT_TRUE(q.GetMaxMinStress(9, mx, mn));
    EXPECT_EQ(mx, 3.0);
    double vals[2] = {5.0, 6.0};
    CElement::CalibStress(vals, true, 2);
    EXPECT_EQ(CElement::m_strMinStress[1], 6.0);
    EXPECT_EQ(CElement::m_strMaxStress[1], 0.0);
}

// ------------------------------------------------------------ geometry

TEST_F(ElementTest, TriangleAndQuadrilateralGeometry)
{
    CTriElement t(Node(0, 0), Node(1, 0), Node(0, 1));
    EXPECT_DOUBLE_EQ(t.PhysicalSize(), 0.5);
    double x, y;
    t.GetCentroid(x, y);
    EXPECT_DOUBLE_EQ(x, 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(y, 1.0 / 3.0);
    CTriElement cw(Node(0, 0), Node(0, 1), Node(1, 0));
    EXPECT_DOUBLE_EQ(cw.PhysicalSize(), -0.5);
    EXPECT_EQ(t.GetKind(), 101);

    CQuadElem q(Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1));
    EXPECT_DOUBLE_EQ(q.PhysicalSize(), 1.0);
    q.GetCentroid(x, y);
    EXPECT_DOUBLE_EQ(x, 0.5);
    EXPECT_DOUBLE_EQ(y, 0.5);
    EXPECT_DOUBLE_EQ(q.GetCentreNode().x, 0.5);
    EXPECT_DOUBLE_EQ(q.GetCentreNode().y, 0.5);
    EXPECT_EQ(q.GetKind(), 3);

    CSNode inside(0.2, 0.2, 0.0, nullptr, 0);
    CSNode outside(0.8, 0.8, 0.0, nullptr, 0);
    EXPECT_TRUE(t.IsPointInElem(&inside));
    EXPECT_FALSE(t.IsPointInElem(&outside));
    EXPECT_TRUE(q.IsPointInElem(&outside));
}

TEST_F(ElementTest, NeighboursShareMidSideNodes)
{
    CSNode* p = Node(0, 0);
    CSNode* q = Node(2, 0);
    CTri6Element t1(p, q, Node(0, 2));
    CTri6Element t2(q, p, Node(2, -2));
    EXPECT_EQ(t1.GetCount(), 6);
    EXPECT_EQ(t1.GetNode(3), t2.GetNode(3));
    EXPECT_DOUBLE_EQ(t1.GetNode(3)->x, 1.0);
    EXPECT_NE(t1.GetNode(4), t2.GetNode(4));

    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    CSNode* d = Node(0, 1);
    CQuad8Elem left(a, b, c, d);
    CQuad8Elem right(b, Node(2, 0), Node(2, 1), c);
    EXPECT_EQ(left.GetNode(5), right.GetNode(7)); // side B-C shared
    EXPECT_DOUBLE_EQ(left.GetNode(5)->y, 0.5);

    // Mid-side nodes follow moved corners.
    c->SetNodeCoord(3.0, 3.0, 0.0);
    left.UpdateNodeCoord();
    EXPECT_DOUBLE_EQ(left.GetNode(5)->x, 2.0);
    EXPECT_DOUBLE_EQ(left.GetNode(5)->y, 1.5);
    q->SetNodeCoord(4.0, 0.0, 0.0);
    t1.UpdateNodeCoord();
    EXPECT_DOUBLE_EQ(t1.GetNode(3)->x, 2.0);
}

// ------------------------------------------------------------ refinement

TEST_F(ElementTest, TriangleRefinementOrderAndArea)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(2, 0);
    CSNode* c = Node(0, 2);
    auto* t = new CTriElement(a, b, c);
    t->SetName("plate");
    CMeshOrganizer mesh;
    mesh.AddElement(t);
    mesh.RefineUniform(1);
    ASSERT_EQ(mesh.GetCount(), 4);
    POSITION pos = mesh.GetHeadPosition();
    std::vector<CElement*> parts;
    while (pos)
        parts.push_back(mesh.GetNextElem(pos));
    for (CElement* p : parts) {
        EXPECT_NE(dynamic_cast<CTriElement*>(p), nullptr);
        EXPECT_EQ(dynamic_cast<CTri6Element*>(p), nullptr);
        EXPECT_EQ(p->GetName(), CString("plate"));
        EXPECT_DOUBLE_EQ(p->PhysicalSize(), 0.5);
    }
    CSNode* ab = parts[0]->GetNode(1);
    CSNode* ca = parts[0]->GetNode(2);
    CSNode* bc = parts[1]->GetNode(2);
    EXPECT_EQ(parts[0]->GetNode(0), a);
    EXPECT_EQ(parts[1]->GetNode(0), ab);
    EXPECT_EQ(parts[1]->GetNode(1), b);
    EXPECT_EQ(parts[2]->GetNode(0), ab);
    EXPECT_EQ(parts[2]->GetNode(1), bc);
    EXPECT_EQ(parts[2]->GetNode(2), ca);
    EXPECT_EQ(parts[3]->GetNode(0), ca);
    EXPECT_EQ(parts[3]->GetNode(2), c);
    EXPECT_DOUBLE_EQ(ab->x, 1.0);
    EXPECT_DOUBLE_EQ(bc->y, 1.0);
    EXPECT_DOUBLE_EQ(ca->y, 1.0);
    EXPECT_DOUBLE_EQ(mesh.CalcArea(), 2.0);
}

TEST_F(ElementTest, RefinementKeepsTheClassAndSharesNewNodes)
{
    struct Case {
        const char* name;
        std::function<CElement*(CSNode*, CSNode*, CSNode*, CSNode*)> make;
        const CRuntimeClass* cls;
    };
    const Case cases[] = {
        {"tri4", [](CSNode* a, CSNode* b, CSNode* c, CSNode*) { return new CTri4Elem(a, b, c); },
         RUNTIME_CLASS(CTri4Elem)},
        {"tri6", [](CSNode* a, CSNode* b, CSNode* c, CSNode*) { return new CTri6Element(a, b, c); },
         RUNTIME_CLASS(CTri6Element)},
        {"quad", [](CSNode* a, CSNode* b, CSNode* c, CSNode* d) { return new CQuadElem(a, b, c, d); },
         RUNTIME_CLASS(CQuadElem)},
        {"quad8", [](CSNode* a, CSNode* b, CSNode* c, CSNode* d) { return new CQuad8Elem(a, b, c, d); },
         RUNTIME_CLASS(CQuad8Elem)},
    };
    for (const Case& c : cases) {
        CMeshOrganizer mesh;
        CSNode* n[4] = {Node(0, 0), Node(2, 0), Node(2, 2), Node(0, 2)};
        CElement* e = c.make(n[0], n[1], n[2], n[3]);
        const double area = e->PhysicalSize();
        mesh.AddElement(e);
        mesh.RefineUniform(1);
        if (n[3]->GetGraphCount() == 0)
            delete n[3]; // unused by triangles
        ASSERT_EQ(mesh.GetCount(), 4) << c.name;
        for (POSITION p = mesh.GetHeadPosition(); p;) {
            CElement* part = mesh.GetNextElem(p);
            EXPECT_EQ(part->GetRuntimeClass(), c.cls) << c.name;
            EXPECT_DOUBLE_EQ(part->PhysicalSize(), area / 4.0) << c.name;
        }
    }
    // Quadrilateral pattern around a copy of the centre node.
    CMeshOrganizer mesh;
    CSNode* a = Node(0, 0);
    auto* q = new CQuadElem(a, Node(2, 0), Node(2, 2), Node(0, 2));
    mesh.AddElement(q);
    mesh.RefineUniform(1);
    CElement* first = mesh.GetHeadElem();
    CElement* last = mesh.GetTailElem();
    EXPECT_EQ(first->GetNode(0), a);
    EXPECT_DOUBLE_EQ(first->GetNode(2)->x, 1.0);
    EXPECT_DOUBLE_EQ(first->GetNode(2)->y, 1.0);
    EXPECT_EQ(last->GetNode(3), first->GetNode(2));
    EXPECT_EQ(last->GetNode(2), first->GetNode(3)); // DA
}

// ------------------------------------------------------------ archives

TEST_F(ElementTest, ElementArchiveLayout)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(0, 1);
    CTriElement e(a, b, c);
    e.SetName("kept");
    CMatrix m = Rows(2, 9);
    CElement::m_nVectors = 2;
    int row = 0;
    e.SetStresses(m, row);
    e.SetSmoothMask(5);

    const afxtest::Bytes got = afxtest::storeBytes([&](CArchive& ar) { e.Serialize(ar); });
    EXPECT_EQ(e.GetName(), CString("kept"));
    CGraph plain;
    plain.SetName("");
    plain.AddTail(a);
    plain.AddTail(b);
    plain.AddTail(c);
    const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
        plain.Serialize(ar);
        ar << static_cast<DWORD>(2);
        ar << static_cast<WORD>(5);
        ar << static_cast<CObject*>(e.GetRes(0));
        ar << static_cast<CObject*>(e.GetRes(1));
    });
    plain.RemoveAll();
    EXPECT_EQ(got, expected);
}

TEST_F(ElementTest, ElementRoundTripClearsOnlyTheSubNodeFlag)
{
    CMatrix m = Rows(3, 9);
    afxtest::Bytes bytes;
    {
        auto* e = new CTri6Element(Node(0, 0), Node(2, 0), Node(0, 2));
        int row = 0;
        e->SetStresses(m, row);
        CSNode* flagged = e->GetNode(0);
        flagged->m_uiFlags = 8 | 64;
        bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(e); });
        // A sub-node outlives the element: it belongs to its edge.
        delete e;
        EXPECT_EQ(flagged->GetGraphCount(), 0);
        delete flagged;
    }
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owner(ob);
    auto* e = dynamic_cast<CTri6Element*>(ob);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetCount(), 6);
    EXPECT_EQ(e->GetName(), CString(""));
    ASSERT_EQ(e->GetNumResVects(), 3);
    EXPECT_DOUBLE_EQ(e->GetRes(2, 5), 25.0);
    EXPECT_EQ(e->GetNode(0)->m_uiFlags, 64u);
}

TEST_F(ElementTest, QuadrilateralWritesItsCentreNodeInPlace)
{
    afxtest::Bytes bytes;
    {
        CQuadElem q(Node(0, 0), Node(2, 0), Node(2, 2), Node(0, 2));
        q.GetCentreNode().m_uiFlags = 3;
        bytes = afxtest::storeBytes([&](CArchive& ar) { q.Serialize(ar); });
        const afxtest::Bytes tail = afxtest::storeBytes([&](CArchive& ar) {
            ar << 0.0 << static_cast<DWORD>(3) << 1.0 << 1.0 << 0.0 << static_cast<DWORD>(0);
        });
        ASSERT_GE(bytes.size(), tail.size());
        EXPECT_EQ(afxtest::Bytes(bytes.end() - tail.size(), bytes.end()), tail);
        // Move the centre before saving again: loading restores the stored place.
        q.GetCentreNode().SetNodeCoord(1.25, 0.75, 0.0);
        bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&q); });
    }
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    std::unique_ptr<CObject> owner(ob);
    auto* q = dynamic_cast<CQuadElem*>(ob);
    ASSERT_NE(q, nullptr);
    EXPECT_DOUBLE_EQ(q->GetCentreNode().x, 1.25);
    EXPECT_DOUBLE_EQ(q->GetCentreNode().y, 0.75);
    EXPECT_EQ(q->GetCount(), 4);
}

// ------------------------------------------------------------ model data

TEST_F(ElementTest, ReceiverSeesElementThenPrimaryNodes)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    CSNode* d = Node(0, 1);
    CMeshOrganizer mesh;
    auto* e1 = new CTriElement(a, b, c);
    auto* e2 = new CTriElement(a, c, d);
    mesh.AddElement(e1);
    mesh.AddElement(e2);
    RecordingInfo info;
    mesh.DM_SetResults(info);
    const std::vector<CObject*> expected = {e1, a, b, c, e2, d};
    EXPECT_EQ(info.calls, expected);

    CInfoContainer counts;
    counts.Allocate(8, true, 0);
    counts.m_iMask = 4 | 8; // counting pass
    mesh.DM_GetInfo(counts);
    EXPECT_EQ(counts[0], 4);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(counts[2], 6);
    CInfoContainer numbers;
    numbers.Allocate(8, true, 0);
    numbers.m_iMask = 1 | 2 | 4;
    mesh.DM_GetInfo(numbers);
    EXPECT_EQ(d->GetID(), 4u);
    EXPECT_EQ(e2->GetID(), 1u);
}

TEST_F(ElementTest, RotationParametersGrowTheList)
{
    // A plain node has no condition: nothing is written and nothing grows.
    CTriElement e(Node(0, 0), Node(1, 0), Node(0, 1));
    CLongVector list;
    list.Allocate(2, true, 9);
    int count = 0;
    e.DM_GetRotParam(list, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list.GetSize(), 2);
}

TEST_F(ElementTest, ResultsGoingOutByRowsMeansAndNodes)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(1, 0);
    CSNode* c = Node(1, 1);
    CTriElement first(a, b, c);
    CTriElement second(a, c, Node(0, 1)); // owns only its last node
    CMatrix m = Rows(3, 9);
    int row = 0;
    first.SetStresses(m, row);

    CMatrix out(3, 3, true, 0.0);
    row = 0;
    first.RetElemStress(out, -2, 1, row); // components 0..1
    EXPECT_EQ(row, 3);
    EXPECT_DOUBLE_EQ(out[2][1], 21.0);
    EXPECT_DOUBLE_EQ(out[2][2], 0.0);

    CMatrix mean(2, 4, true, 1.0);
    row = 0;
    first.RetAddMeanStress(mean, 8, 20, row, 1); // last clamped to 8
    second.RetAddMeanStress(mean, 8, 20, row, 1); // no results: row still moves
    EXPECT_EQ(row, 2);
    EXPECT_DOUBLE_EQ(mean[0][1], 1.0 + 18.0);
    EXPECT_DOUBLE_EQ(mean[0][2], 1.0);
    EXPECT_DOUBLE_EQ(mean[1][1], 1.0);

    CMatrix nodes(4, 1, true, 0.0);
    row = 0;
    first.RetAddNodeStress(nodes, 2, 2, row, 0);
    second.RetAddNodeStress(nodes, 2, 2, row, 0);
    EXPECT_EQ(row, 4);
    EXPECT_DOUBLE_EQ(nodes[1][0], 12.0);

    c->AllocateValue(1);
    c->SetValue(5.0, 0);
    CMatrix values(3, 2, true, -1.0);
    row = 0;
    first.GetNodeValues(values, 0, 1, row, 0);
    EXPECT_EQ(row, 3);
    EXPECT_DOUBLE_EQ(values[2][0], 5.0);
    EXPECT_DOUBLE_EQ(values[2][1], 0.0);

    double mx = -1.0, mn = 1.0;
    first.GetMaxMinEffStress(0, mx, mn, 0, 1, 2, 0, 0, false);
    EXPECT_DOUBLE_EQ(mx, std::sqrt(400.0 + 3.0 * (21.0 * 21.0 + 22.0 * 22.0)));
}
