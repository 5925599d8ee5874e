// The geometry-input helpers over a small model of square regions: the
// selection lists, moves, deletes, temporary nodes, the union of areas and
// the drawing of the selection.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <set>
#include <vector>

#include "framework/geomhlpr.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "glstyle/drawing_settings.h"
#include "platform/ui/headless/headless_app.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

using afxui::headless::HeadlessApp;

namespace
{

// The composite with empty hooks that records what the helpers hand it.
class CSelComp : public CSectComp
{
    DECLARE_DYNAMIC(CSelComp)
public:
    void ResetParam() override {}
    void RemoveNode(CSNode* node) override { removedNodes.push_back(node); }
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }
    void FixEdges(CObList* edges) override
    {
        for (POSITION pos = edges->GetHeadPosition(); pos;)
            fixed.push_back(edges->GetNext(pos));
        edges->RemoveAll();
    }
    bool RemoveElem(CObject* element) override
    {
        removedElems.push_back(element);
        return true;
    }

    std::vector<CSNode*> removedNodes;
    std::vector<CObject*> fixed;
    std::vector<CObject*> removedElems;
};
IMPLEMENT_DYNAMIC(CSelComp, CSectComp)

// A region over the four corners (new nodes where null is given).
CSectArea* Quad(CSNode* n[4])
{
    auto* area = new CSectArea;
    for (int i = 0; i < 4; ++i)
        area->NewNode(n[i]);
    for (int i = 0; i < 4; ++i)
        if (!CGraph::GetComEdge(n[i], n[(i + 1) % 4]))
            area->ConnectNodes(n[i], n[(i + 1) % 4]);
    return area;
}

class GeomHlprTest : public HeadlessApp
{
protected:
    void SetUp() override { CGraph::m_pNodeList = &nodes; }
    void TearDown() override
    {
        CGraph::m_pNodeList = nullptr;
        HeadlessApp::TearDown();
    }

    CSNode* Node(double x, double y)
    {
        auto* n = new CSNode(x, y, 0.0, nullptr, 0);
        nodes.AddNode(n);
        return n;
    }
    // The square (x0, y0) - (x0 + s, y0 + s) as a top-level region.
    CSectArea* Square(double x0, double y0, double s = 1.0)
    {
        CSNode* n[4] = {Node(x0, y0), Node(x0 + s, y0), Node(x0 + s, y0 + s), Node(x0, y0 + s)};
        CSectArea* area = Quad(n);
        model.AddTail(area);
        return area;
    }
    static CEdge* EdgeOf(CGraph* area, int i)
    {
        return CGraph::GetComEdge(area->GetNode(i), area->GetNode((i + 1) % area->GetCount()));
    }

    NODELIST nodes;
    CSelComp model;
};

std::vector<CObject*> Items(CObList* list)
{
    std::vector<CObject*> out;
    if (list)
        for (POSITION pos = list->GetHeadPosition(); pos;)
            out.push_back(list->GetNext(pos));
    return out;
}

// ------------------------------------------------------------ selection

TEST_F(GeomHlprTest, AddSelectTogglesAndDeletesEmptiedLists)
{
    CSectArea* area = Square(0, 0);
    CObject* objects[] = {area, area->GetNode(0), EdgeOf(area, 0)};
    const UINT types[] = {1, 2, 4};
    for (KorBasisGeomHlpr* h : {static_cast<KorBasisGeomHlpr*>(new KorGeomHlpr), static_cast<KorBasisGeomHlpr*>(new KorAreaGeomHlpr)}) {
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(types[i]);
            EXPECT_TRUE(h->AddSelect(objects[i], types[i], false));
            ASSERT_NE(h->GetSelList(types[i]), nullptr);
            EXPECT_FALSE(h->AddSelect(objects[i], types[i], false));
            EXPECT_EQ(h->GetSelList(types[i]), nullptr);
        }
        EXPECT_FALSE(h->AddSelect(area, 3, true));
        EXPECT_FALSE(h->AddSelect(area, 8, true));
        EXPECT_EQ(h->GetSelList(3), nullptr);
        delete h;
    }
}

TEST_F(GeomHlprTest, OneTypeAtATimeInTheBaseAreasBesideNodesInTheAreaHelper)
{
    CSectArea* a = Square(0, 0);
    CSectArea* b = Square(2, 0);
    CEdge* edge = EdgeOf(a, 0);
    CSNode* node = a->GetNode(2);

    KorGeomHlpr base;
    base.AddSelect(edge, 4, false);
    base.AddSelect(node, 2, false); // ends the edges whatever the flag
    EXPECT_EQ(base.GetSelList(4), nullptr);
    base.AddSelect(a, 1, false); // ends the nodes
    EXPECT_EQ(base.GetSelList(2), nullptr);
    ASSERT_NE(base.GetSelList(1), nullptr);

    KorAreaGeomHlpr areas;
    areas.AddSelect(node, 2, false);
    EXPECT_TRUE(areas.AddSelect(a, 1, false));
    EXPECT_NE(areas.GetSelList(2), nullptr) << "nodes kept without the clear flag";
    EXPECT_TRUE(areas.AddSelect(b, 1, true));
    EXPECT_EQ(areas.GetSelList(2), nullptr);
    // The newest at the head, the first one at the tail.
    EXPECT_EQ(Items(areas.GetSelList(1)), (std::vector<CObject*>{b, a}));
}

TEST_F(GeomHlprTest, AreaHelperRefusesAnAreaOfAnotherOuterSection)
{
    CSectArea* outer = Square(0, 0, 10.0);
    CSNode* n[4] = {Node(1, 1), Node(2, 1), Node(2, 2), Node(1, 2)};
    CSectArea* inner = Quad(n);
    outer->InsertSubSect(inner);
    CSectArea* top = Square(20, 0);

    KorAreaGeomHlpr h;
    ASSERT_TRUE(h.AddSelect(inner, 1, true));
    EXPECT_FALSE(h.AddSelect(top, 1, true));
    EXPECT_EQ(Items(h.GetSelList(1)), (std::vector<CObject*>{inner}));
    ASSERT_FALSE(h.AddSelect(inner, 1, true));
    EXPECT_TRUE(h.AddSelect(top, 1, true));
    EXPECT_TRUE(h.AddSelect(outer, 1, true));
}

TEST_F(GeomHlprTest, SetSelListAndRemoveSelectedKeepTheIndexInStep)
{
    CSectArea* a = Square(0, 0);
    KorBasisGeomHlpr h;
    auto* list = new CObList;
    for (int i = 0; i < 4; ++i)
        list->AddTail(a->GetNode(i));
    h.AddSelect(a, 1, true);
    h.SetSelList(list, 2);
    EXPECT_EQ(h.GetSelList(1), nullptr);
    EXPECT_TRUE(h.RemoveSelected(a->GetNode(1)));
    EXPECT_FALSE(h.RemoveSelected(a->GetNode(1)));
    EXPECT_FALSE(h.AddSelect(a->GetNode(3), 2, false)) << "an installed node toggles off";
    EXPECT_EQ(Items(h.GetSelList(2)), (std::vector<CObject*>{a->GetNode(0), a->GetNode(2)}));
    CObList out;
    h.GetSelEdgeNodes(out);
    EXPECT_TRUE(out.IsEmpty());
}

// ------------------------------------------------------------ moving

TEST_F(GeomHlprTest, MoveSelectionCountsModesAndMovesBack)
{
    CSectArea* a = Square(0, 0);
    Square(3, 0);
    CSNode* corner = a->GetNode(1); // (1, 0)
    struct Case {
        double delta[3];
        int count;
        int mode;
        int result;
        double x, y;
    } cases[] = {
        {{5, 5, 5}, 0, 0, 0, 1, 0},     // nothing to move
        {{0.5, 7, 0}, 1, 0, 1, 1.5, 0}, // only dx is taken
        {{2.5, 0.5, 0}, 2, 0, -1, 1, 0}, // the edges would cross the other square
        {{2.5, 0.5, 0}, 2, 1, -1, 1, 0}, // a crossing refuses mode 1 too
        {{2.5, 0.5, 0}, 2, 2, 1, 3.5, 0.5}, // no check
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode * 10 + c.count);
        corner->SetNodeCoord(1, 0, 0);
        KorGeomHlpr h;
        h.AddSelect(corner, 2, true);
        double d[3] = {c.delta[0], c.delta[1], c.delta[2]};
        EXPECT_EQ(h.MoveSelection(d, c.count, false, c.mode, &model), c.result);
        EXPECT_DOUBLE_EQ(corner->x, c.x);
        EXPECT_DOUBLE_EQ(corner->y, c.y);
        EXPECT_DOUBLE_EQ(a->GetNode(0)->x, 0.0);
    }
}

TEST_F(GeomHlprTest, MoveWithFixHandsEachTouchingEdgeOnceAndClearsTheSelection)
{
    CSectArea* a = Square(0, 0);
    CSectArea* b = Square(2, 0);
    KorAreaGeomHlpr h;
    h.AddSelect(a, 1, true);
    double d[2] = {1.0, 0.0}; // a's right side comes onto b's left side
    EXPECT_EQ(h.MoveSelection(d, 2, true, 2, &model), 1);
    EXPECT_EQ(h.GetSelList(1), nullptr);
    std::set<CObject*> once(model.fixed.begin(), model.fixed.end());
    EXPECT_EQ(once.size(), model.fixed.size());
    EXPECT_TRUE(once.count(EdgeOf(a, 1)));
    EXPECT_FALSE(once.count(EdgeOf(b, 1)));
    // The area's nodes moved once each.
    EXPECT_DOUBLE_EQ(a->GetNode(1)->x, 2.0);
}

// ------------------------------------------------------------ deleting

TEST_F(GeomHlprTest, DeletingOnlyLinksLeavesTheNodes)
{
    CSectArea* a = Square(0, 0);
    auto* link = new CNodeLink(a->GetNode(0), a->GetNode(2));
    KorGeomHlpr h;
    h.AddSelect(link, 4, true);
    EXPECT_TRUE(h.DeleteSelection(&model));
    EXPECT_EQ(h.GetSelList(4), nullptr);
    EXPECT_EQ(a->GetCount(), 4);
    EXPECT_EQ(CGraph::GetComEdge(a->GetNode(0), a->GetNode(2)), nullptr);
    EXPECT_NE(EdgeOf(a, 0), nullptr);
}

TEST_F(GeomHlprTest, DeletingAnEdgeDeletesItsEndNodes)
{
    CSectArea* a = Square(0, 0);
    CSNode* keep = a->GetNode(2);
    KorGeomHlpr h;
    h.AddSelect(EdgeOf(a, 0), 4, true);
    EXPECT_TRUE(h.DeleteSelection(&model));
    EXPECT_EQ(nodes.Find(keep) >= 0, true);
    EXPECT_EQ(nodes.m_nCount, 2);
    EXPECT_FALSE(h.DeleteSelection(&model)) << "nothing left selected";
}

TEST_F(GeomHlprTest, InnerSectionQuestionYesNoAndCancel)
{
    for (int answer : {IDYES, IDNO, IDCANCEL}) {
        SCOPED_TRACE(answer);
        CSectArea* plain = Square(20, 0);
        CSectArea* outer = Square(0, 0, 10.0);
        outer->SetName("Plate 7");
        CSNode* n[4] = {Node(1, 1), Node(2, 1), Node(2, 2), Node(1, 2)};
        CSectArea* inner = Quad(n);
        outer->InsertSubSect(inner);

        KorAreaGeomHlpr h;
        h.AddSelect(outer, 1, true);
        h.AddSelect(plain, 1, true); // at the head: handled first
        Boxes().Expect("Plate 7 contains internal sections, do you want to delete them?", answer);
        EXPECT_TRUE(h.DeleteSelection(&model));
        EXPECT_EQ(h.GetSelList(1), nullptr);
        EXPECT_FALSE(model.Find(plain)) << "handled before the question: deleted";
        EXPECT_EQ(Boxes().Shown().back().type & 0xF, static_cast<UINT>(MB_YESNOCANCEL));
        const bool outerLeft = model.Find(outer) != nullptr;
        const bool innerLeft = model.Find(inner) != nullptr;
        EXPECT_EQ(outerLeft, answer == IDCANCEL);
        EXPECT_EQ(innerLeft, answer == IDNO) << "No keeps the inner section";
        if (answer == IDCANCEL) {
            EXPECT_EQ(outer->GetSubList()->GetCount(), 1);
        }
        while (!model.IsEmpty())
            delete model.CObList::RemoveHead();
        nodes.RemoveAll();
    }
}

TEST_F(GeomHlprTest, DeletingAnInnerAreaTakesItOutOfItsOuterOne)
{
    CSectArea* outer = Square(0, 0, 10.0);
    CSNode* n[4] = {Node(1, 1), Node(2, 1), Node(2, 2), Node(1, 2)};
    CSectArea* inner = Quad(n);
    outer->InsertSubSect(inner);
    KorGeomHlpr h;
    h.AddSelect(inner, 1, true);
    EXPECT_TRUE(h.DeleteSelection(&model));
    EXPECT_TRUE(outer->GetSubList() == nullptr || outer->GetSubList()->IsEmpty());
}

TEST_F(GeomHlprTest, ElementHelperRemovesTheElementsOfTheSelectedNodesOnce)
{
    // Two "elements" sharing an edge; the selected nodes are both shared.
    CSNode* n[6] = {Node(0, 0), Node(1, 0), Node(2, 0), Node(2, 1), Node(1, 1), Node(0, 1)};
    CSNode* left[4] = {n[0], n[1], n[4], n[5]};
    CSNode* right[4] = {n[1], n[2], n[3], n[4]};
    CSectArea* e1 = Quad(left);
    CSectArea* e2 = Quad(right);
    KorElmGeomHlpr h;
    h.AddSelect(n[1], 2, true);
    h.AddSelect(n[4], 2, false);
    EXPECT_TRUE(h.DeleteSelection(&model));
    EXPECT_EQ(model.removedElems, (std::vector<CObject*>{e1, e2}));
    EXPECT_EQ(h.GetSelList(2), nullptr);

    KorElmGeomHlpr edges;
    CSectArea* a = Square(5, 5);
    edges.AddSelect(EdgeOf(a, 0), 4, true);
    EXPECT_TRUE(edges.DeleteSelection(&model));
    EXPECT_NE(edges.GetSelList(4), nullptr) << "edges: nothing deleted";
}

// ------------------------------------------------------------ temporary nodes

TEST_F(GeomHlprTest, AddTmpNodeKeepsOrderAndMovesRepeatsToTheEnd)
{
    CSNode* p[4] = {Node(0, 0), Node(1, 0), Node(1, 1), Node(0, 1)};
    KorAreaGeomHlpr h;
    EXPECT_EQ(h.GetTmpNodeList(), nullptr);
    EXPECT_TRUE(h.AddTmpNode(p[0]));
    EXPECT_TRUE(h.AddTmpNode(p[1]));
    EXPECT_FALSE(h.AddTmpNode(p[0]));
    EXPECT_EQ(Items(h.GetTmpNodeList()), (std::vector<CObject*>{p[0], p[1]}));
    CObList more;
    more.AddTail(p[0]);
    more.AddTail(p[2]);
    EXPECT_EQ(h.AddTmpNode(&more), 1);
    EXPECT_EQ(Items(h.GetTmpNodeList()), (std::vector<CObject*>{p[1], p[0], p[2]}));
    EXPECT_EQ(h.GetFirstTmpNode(), p[1]);
    EXPECT_EQ(h.GetLastTmpNode(), p[2]);

    KorAreaGeomHlpr fresh;
    EXPECT_EQ(fresh.AddTmpNode(&more), 2);
    for (CSNode* n : p) { // they belong to no graph: the helpers would free them
        nodes.RemoveNode(n);
    }
    h.GetTmpNodeList()->RemoveAll();
    fresh.GetTmpNodeList()->RemoveAll();
    for (CSNode* n : p)
        delete n;
}

TEST_F(GeomHlprTest, CycleTakesIdentifiersOnlyWhenItCloses)
{
    KorAreaGeomHlpr h;
    // Points as the drawing tools make them: their identifiers given back.
    auto point = [&](double x, double y) {
        CSNode* n = Node(x, y);
        --CSNode::lIDnode;
        h.AddTmpNode(n);
        return n;
    };
    const DWORD nodeCounter = CSNode::lIDnode;
    point(0, 0);
    point(4, 0);
    const DWORD edgeCounter = CEdge::lIDedge;
    EXPECT_FALSE(h.Cycle(&model));
    EXPECT_EQ(CSNode::lIDnode, nodeCounter);
    EXPECT_EQ(CEdge::lIDedge, edgeCounter);
    CSNode* last = point(4, 4);
    EXPECT_EQ(last->GetID(), nodeCounter);
    EXPECT_TRUE(h.Cycle(&model));
    EXPECT_EQ(CSNode::lIDnode, nodeCounter + 1);
    EXPECT_NE(CGraph::GetComEdge(h.GetFirstTmpNode(), last), nullptr);
    h.ResetNodes(&model);
    EXPECT_EQ(h.GetTmpNodeList(), nullptr);
    EXPECT_EQ(nodes.m_nCount, 0) << "graph-less points leave the node list";
}

TEST_F(GeomHlprTest, ClosingEdgeCrossingThePolylineOrTheModelIsRejected)
{
    // The polyline (0,0) (0,4) (4,4) or (0,0) (0,-4) (14,-4), then a last
    // point whose closing edge to (0,0) crosses the segment (0,4)-(4,4) or
    // the model's square (10,0)-(12,2).
    Square(10, 0, 2.0);
    enum Last { free, heldFlag1, heldOther };
    struct Case {
        bool viaModel;
        Last last;
    } cases[] = {{false, free}, {true, free}, {false, heldFlag1}, {false, heldOther}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.viaModel) * 10 + c.last);
        KorAreaGeomHlpr h;
        CSNode* first = Node(0, 0);
        h.AddTmpNode(first);
        h.AddTmpNode(Node(0, c.viaModel ? -4 : 4));
        h.AddTmpNode(Node(c.viaModel ? 14 : 4, c.viaModel ? -4 : 4));
        CSNode* last = nullptr;
        if (c.last == free) {
            last = c.viaModel ? Node(14, 1) : Node(2, 6);
        } else {
            last = Square(2, 5)->GetNode(3); // (2, 6)
            last->m_uiFlags = c.last == heldFlag1 ? 1u : 0u;
        }
        h.AddTmpNode(last);
        model.removedNodes.clear();
        EXPECT_FALSE(h.Cycle(&model));
        EXPECT_EQ(h.GetTmpNodeCount(), 3);
        EXPECT_NE(h.GetLastTmpNode(), last);
        switch (c.last) {
        case free:
            EXPECT_EQ(nodes.Find(last), -1) << "held by no graph: deleted";
            break;
        case heldFlag1:
            EXPECT_EQ(model.removedNodes, (std::vector<CSNode*>{last}));
            EXPECT_EQ(nodes.Find(last), -1);
            break;
        case heldOther:
            EXPECT_TRUE(model.removedNodes.empty());
            EXPECT_EQ(CGraph::GetComEdge(first, last), nullptr) << "the closing edge made here is gone";
            EXPECT_EQ(last->GetEdgeList()->GetCount(), 2);
            break;
        }
        h.ResetNodes(nullptr);
    }
}

TEST_F(GeomHlprTest, RmLastTmpNodeAndResetTakeDeletedNodesOutOfListsAndSelection)
{
    CSectArea* area = Square(0, 0);
    CSNode* corner = area->GetNode(0); // held by the area, flags 0
    KorAreaGeomHlpr h;
    CSNode* p = Node(5, 5);
    CSNode* q = Node(6, 5);
    h.AddTmpNode(corner);
    h.AddTmpNode(p);
    h.AddTmpNode(q);
    CEdge* stray = h.NewEdge(corner, p);      // no graph holds it
    auto* link = new CNodeLink(corner, area->GetNode(2));
    h.AddSelect(q, 2, true);
    h.AddSelect(p, 2, false);
    h.RmLastTmpNode(&model);
    EXPECT_EQ(nodes.Find(q), -1);
    EXPECT_EQ(Items(h.GetSelList(2)), (std::vector<CObject*>{p}));
    h.AddSelect(stray, 4, true);
    h.ResetNodes(&model);
    EXPECT_EQ(h.GetTmpNodeList(), nullptr);
    EXPECT_EQ(nodes.Find(p), -1);
    EXPECT_EQ(h.GetSelList(4), nullptr) << "the stray edge left the selection";
    EXPECT_GE(nodes.Find(corner), 0) << "a node of a graph lives on";
    EXPECT_EQ(CGraph::GetComEdge(corner, area->GetNode(2)), link) << "links stay";
    EXPECT_EQ(corner->GetEdgeList()->GetCount(), 3);
}

TEST_F(GeomHlprTest, DestructorFreesGraphLessTemporaryNodes)
{
    CSectArea* area = Square(0, 0);
    {
        KorAreaGeomHlpr h;
        h.AddTmpNode(Node(5, 5));
        h.AddTmpNode(area->GetNode(1));
        h.AddTmpNode(Node(6, 6));
        h.AddSelect(area, 1, true);
    }
    EXPECT_EQ(nodes.m_nCount, 4) << "only the square's nodes are left";
    EXPECT_EQ(area->GetCount(), 4);
}

// ------------------------------------------------------------ union

TEST_F(GeomHlprTest, UnionMergesIntoTheFirstSelectedAreaAndPutsFailuresBack)
{
    CSectArea* a = Square(0, 0);
    CSNode* n[4] = {a->GetNode(1), Node(2, 0), Node(2, 1), a->GetNode(2)};
    CSectArea* b = Quad(n);
    model.AddTail(b);
    CSectArea* far = Square(10, 10);
    KorAreaGeomHlpr h;
    h.AddSelect(a, 1, true);
    h.AddSelect(far, 1, true);
    h.AddSelect(b, 1, true);
    EXPECT_TRUE(h.UnionSelected(&model));
    EXPECT_EQ(Items(h.GetSelList(1)), (std::vector<CObject*>{far, a}));
    EXPECT_EQ(a->GetCount(), 6);
    EXPECT_EQ(model.GetCount(), 2);
    EXPECT_TRUE(model.Find(far)) << "a failed union puts the area back";
    EXPECT_FALSE(h.UnionSelected(&model));
    EXPECT_EQ(model.GetCount(), 2);
}

// ------------------------------------------------------------ drawing

class GeomHlprDrawTest : public brantel::test::GLTest
{
};

std::array<std::uint8_t, 4> Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return {r, g, b, 255};
}

TEST_F(GeomHlprDrawTest, SelectedNodesBlueUnderRedAreasGreen)
{
    glPointSize(1.0f);
    CSNode n(0.0, 0.0, 0.0, nullptr, 0);
    CGraph g;
    g.NewNode(0.5, 0.5, 0.0);
    KorAreaGeomHlpr h;
    h.AddSelect(&n, 2, true);
    h.AddSelect(&g, 1, false);
    h.DrawSelected();
    // 128 pixels over [-1, 1]: the node sits at pixel 64.
    EXPECT_EQ(gl->pixel(64, 64), Rgb(255, 0, 0));
    EXPECT_EQ(gl->pixel(64 + 4, 64), Rgb(0, 0, 255)) << "the large blue point shows around";
    EXPECT_EQ(gl->pixel(96, 96), Rgb(0, 255, 0));
    h.RemoveSelected(nullptr);
}

TEST_F(GeomHlprDrawTest, TranslatedDrawingClearsItsFlagAndEndsThin)
{
    THIN_EDGE = 1.0;
    CGraph g;
    CSNode* a = g.NewNode(-0.5, 0.0, 0.0);
    CSNode* b = g.NewNode(0.5, 0.0, 0.0);
    g.ConnectNodes(a, b);
    KorBasisGeomHlpr h;
    h.AddSelect(a, 2, true);
    glLineWidth(5.0f);
    {
        brantel::test::GLRecorder rec;
        h.DrawTranslated(0.0, 0.5, 0.0);
        ASSERT_EQ(rec.primitives().size(), 1u);
        const auto& v = rec.primitives()[0].vertices;
        ASSERT_EQ(v.size(), 2u);
        EXPECT_DOUBLE_EQ(v[0][1], 0.5) << "the selected node drawn displaced";
        EXPECT_DOUBLE_EQ(v[1][1], 0.0);
    }
    EXPECT_EQ(a->m_uiFlags & 64, 0u);
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(width, 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

TEST_F(GeomHlprDrawTest, RubberBandOfTheRectangleAndOfOtherTools)
{
    KorAreaGeomHlpr h;
    CSNode p(0.1, 0.2, 0.0, nullptr, 0), q(0.5, 0.2, 0.0, nullptr, 0);
    h.AddTmpNode(&p);
    double cursor[2] = {0.7, 0.9};
    struct Case {
        UINT tool;
        std::vector<GLenum> modes;
    } cases[] = {{20, {GL_LINE_LOOP}}, {21, {GL_LINE_STRIP}}};
    for (const Case& c : cases) {
        brantel::test::GLRecorder rec;
        h.DrawTmpNodeEdges(c.tool, cursor);
        std::vector<GLenum> modes;
        for (const auto& prim : rec.primitives())
            modes.push_back(prim.mode);
        EXPECT_EQ(modes, c.modes) << c.tool;
    }
    h.AddTmpNode(&q);
    brantel::test::GLRecorder rec;
    h.DrawTmpNodeEdges(21, cursor);
    ASSERT_EQ(rec.primitives().size(), 2u);
    EXPECT_EQ(rec.primitives()[0].vertices.size(), 2u);
    const auto& preview = rec.primitives()[1].vertices; // first, cursor, last
    ASSERT_EQ(preview.size(), 3u);
    EXPECT_DOUBLE_EQ(preview[0][0], 0.1);
    EXPECT_DOUBLE_EQ(preview[1][1], 0.9);
    EXPECT_DOUBLE_EQ(preview[2][0], 0.5);
    h.GetTmpNodeList()->RemoveAll(); // the nodes are on the stack
}

} // namespace
