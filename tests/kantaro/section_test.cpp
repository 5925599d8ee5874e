// Section base and area region: the finite-element hand-over and the
// operations that a region repeats on its sub-sections.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "femodel/modelinfo.h"
#include "sections/kantaro.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>

namespace {

std::vector<std::string>* g_trace = nullptr;

// A model information that writes down what it receives, by region name.
class CRecordingInfo : public CModelInfo {
public:
    std::vector<std::string> calls;
    void RetrieveData(CObject* ob) override { calls.push_back("data " + NameOf(ob)); }
    void RetrieveSectionData(CObject* ob) override { calls.push_back("section " + NameOf(ob)); }
    void AddNodeBC(CSNode* n) override { calls.push_back("bc " + NameOf(n->GetPrimaryGraph())); }
    void SetNodeRes(CSNode* n) override { calls.push_back("res " + NameOf(n->GetPrimaryGraph())); }

private:
    static std::string NameOf(CObject* ob)
    {
        auto* g = dynamic_cast<CGraph*>(ob);
        return g ? std::string(g->GetName().str()) : "?";
    }
};

// A region that contributes something of its own to every hand-over, as a
// meshed region does, before passing it on to its sub-sections.
class CLeafArea : public CSectArea {
public:
    double area = 0.0;
    void DM_InsertNodeBCs(CModelInfo& m) override
    {
        m.AddNodeBC(GetHeadNode());
        CSectArea::DM_InsertNodeBCs(m);
    }
    void DM_SetResults(CModelInfo& m) override
    {
        m.SetNodeRes(GetHeadNode());
        CSectArea::DM_SetResults(m);
    }
    void DM_GetInfo(CInfoContainer& c) override
    {
        g_trace->push_back("info " + std::string(GetName().str()));
        CSectArea::DM_GetInfo(c);
    }
    void DM_Clean() override
    {
        g_trace->push_back("clean " + std::string(GetName().str()));
        CSectArea::DM_Clean();
    }
    void DM_OnElements(void (*f)(CObject*, void*), void* user) override
    {
        f(this, user);
        CSectArea::DM_OnElements(f, user);
    }
    void DM_OnNodes(void (*f)(CSNode*, void*), void* user) override
    {
        f(GetHeadNode(), user);
        CSectArea::DM_OnNodes(f, user);
    }
    double SumArea() override { return area + CSectArea::SumArea(); }
};

template <class T>
T* Rect(const char* name, double x0, double y0, double x1, double y1)
{
    auto* r = new T;
    r->SetName(name);
    CSNode* n[4] = {r->NewNode(x0, y0, 0), r->NewNode(x1, y0, 0), r->NewNode(x1, y1, 0),
                    r->NewNode(x0, y1, 0)};
    for (int i = 0; i < 4; ++i)
        r->ConnectNodes(n[i], n[(i + 1) % 4]);
    return r;
}

// root (plain region) holds A and B; B holds C.
struct Tree {
    CSectArea* root = Rect<CSectArea>("root", 0, 0, 10, 10);
    CLeafArea* a = Rect<CLeafArea>("A", 1, 1, 2, 2);
    CLeafArea* b = Rect<CLeafArea>("B", 4, 4, 9, 9);
    CLeafArea* c = Rect<CLeafArea>("C", 5, 5, 6, 6);
    std::vector<std::string> trace;
    Tree()
    {
        root->InsertSubSect(a);
        root->InsertSubSect(b);
        b->InsertSubSect(c);
        g_trace = &trace;
    }
    ~Tree()
    {
        delete root;
        g_trace = nullptr;
    }
};

TEST(SectionHandOver, RegionsPassTheHandOverToTheirSubSectionsInOrder)
{
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<void(Tree&, CRecordingInfo&)> run;
        V expected;
    };
    const Case cases[] = {
        // The region base hands itself over and nothing of its sub-sections.
        {"build", [](Tree& t, CRecordingInfo& m) { t.root->DM_BuildData(m); }, {"data root"}},
        {"build leaf", [](Tree& t, CRecordingInfo& m) { t.b->DM_BuildData(m); }, {"data B"}},
        {"conditions", [](Tree& t, CRecordingInfo& m) { t.root->DM_InsertNodeBCs(m); },
         {"bc A", "bc B", "bc C"}},
        {"results", [](Tree& t, CRecordingInfo& m) { t.root->DM_SetResults(m); },
         {"res A", "res B", "res C"}},
        {"info",
         [](Tree& t, CRecordingInfo&) {
             CInfoContainer c;
             t.root->DM_GetInfo(c);
         },
         {"info A", "info B", "info C"}},
        {"clean", [](Tree& t, CRecordingInfo&) { t.root->DM_Clean(); },
         {"clean A", "clean B", "clean C"}},
        {"elements",
         [](Tree& t, CRecordingInfo&) {
             t.root->DM_OnElements(
                 [](CObject* ob, void* u) {
                     static_cast<V*>(u)->push_back(
                         "el " + std::string(static_cast<CGraph*>(ob)->GetName().str()));
                 },
                 &t.trace);
         },
         {"el A", "el B", "el C"}},
        {"nodes",
         [](Tree& t, CRecordingInfo&) {
             t.root->DM_OnNodes(
                 [](CSNode* n, void* u) {
                     auto* g = static_cast<CGraph*>(n->GetPrimaryGraph());
                     static_cast<V*>(u)->push_back("node " + std::string(g->GetName().str()));
                 },
                 &t.trace);
         },
         {"node A", "node B", "node C"}},
    };
    for (const Case& c : cases) {
        Tree t;
        CRecordingInfo m;
        c.run(t, m);
        V got = m.calls;
        got.insert(got.end(), t.trace.begin(), t.trace.end());
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(SectionHandOver, RunningIndexOperationsAddNothingAtRegionLevel)
{
    // A composite numbers the output of all its sections in one run; a
    // region without a mesh must leave the index where it found it.
    Tree t;
    CLongVector v;
    v.Allocate(3, true, 7);
    CLongVector w;
    int index = 2;
    t.root->DM_GetRotParam(v, index);
    t.root->GetKIND(v, index);
    t.root->GetMMNPC(v, w, index);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(v.GetSize(), 3);
    EXPECT_EQ(v[2], 7);
    EXPECT_EQ(w.GetSize(), 0);
    EXPECT_EQ(t.root->DM_GetOwner(t.a), nullptr);
}

TEST(SectionHandOver, AreaAddsOnlyPositiveSubSectionAreas)
{
    Tree t;
    t.a->area = 3.0;
    t.b->area = -1.0; // not counted, with what it holds
    t.c->area = 0.5;
    EXPECT_DOUBLE_EQ(t.b->SumArea(), -0.5);
    EXPECT_DOUBLE_EQ(t.root->SumArea(), 3.0);
    t.b->area = 1.0;
    EXPECT_DOUBLE_EQ(t.root->SumArea(), 4.5);
    EXPECT_FALSE(t.root->Fix(nullptr)); // nothing to re-cut without a mesh
}

// ---------------------------------------------------------------- forwarding

int g_count = 0;

TEST(SectArea, GraphOperationsReachTheSubSections)
{
    Tree t;
    CSectArea& r = *t.root;
    // Own nodes and edges: 4 of each in every one of the four regions.
    EXPECT_EQ(r.CountEdges(false), 16);
    g_count = 0;
    r.OnEdges([](CEdge*) { ++g_count; }, false);
    EXPECT_EQ(g_count, 16);
    g_count = 0;
    r.OnNodes([](CSNode*) { ++g_count; }, false);
    EXPECT_EQ(g_count, 16);

    CSNode* deep = t.c->GetNode(2);
    EXPECT_EQ(r.GetObject(deep->GetID(), false), deep);
    EXPECT_EQ(r.GetObject(deep->GetID(), true), deep);
    EXPECT_EQ(r.GetObject(r.GetHeadNode()->GetID(), true), nullptr);
    EXPECT_EQ(r.GetObject(r.GetHeadNode()->GetID(), false), r.GetHeadNode());
    EXPECT_EQ(r.GetObject(0, false), nullptr);
    EXPECT_EQ(r.GetObjectFromString("C"), t.c);
    EXPECT_EQ(r.GetObjectFromString("root"), t.root);
    EXPECT_EQ(r.GetObjectFromString("none"), nullptr);
    // C was made last: its nodes and itself hold the largest identifiers.
    EXPECT_EQ(r.GetMaxID(2), t.c->GetTailNode()->GetID());
    EXPECT_EQ(r.GetMaxID(1), t.c->GetID());

    // Longest from the region, shortest from a hole; the first met wins.
    EXPECT_DOUBLE_EQ(r.GetEdge(0)->GetLength(), 10.0);
    CEdge* shortest = r.GetEdge(1);
    EXPECT_DOUBLE_EQ(shortest->GetLength(), 1.0);
    EXPECT_TRUE(t.a->IsEdgeInGraph(shortest));
    double longest = -1.0, least = -1.0;
    r.GetDist(longest, least);
    EXPECT_DOUBLE_EQ(longest, 10.0);
    EXPECT_DOUBLE_EQ(least, 1.0);

    long next = 1;
    r.RenumberNodes(next, 1);
    EXPECT_EQ(next, 17);
    EXPECT_EQ(deep->GetID(), 15u);

    r.Translate(1, 2, 0, false);
    EXPECT_DOUBLE_EQ(r.GetHeadNode()->x, 1.0);
    EXPECT_DOUBLE_EQ(deep->x, 7.0);
    EXPECT_DOUBLE_EQ(deep->y, 8.0);

    r.SetNodSpace(0.25);
    EXPECT_DOUBLE_EQ(deep->GetSNodSpace(), 0.25);
    EXPECT_DOUBLE_EQ(r.GetHeadNode()->GetSNodSpace(), 0.25);
}

TEST(SectArea, UpdateAndRotateValidateEverySubSection)
{
    Tree t;
    // Turn C clockwise.
    CObList reversed;
    while (!t.c->IsEmpty())
        reversed.AddHead(t.c->RemoveHead());
    t.c->AddTail(&reversed);
    ASSERT_FALSE(t.c->IsCCLW());
    t.root->Update(true, false);
    EXPECT_TRUE(t.c->IsCCLW());

    // A quarter turn about the origin moves the holes along.
    t.root->Rotate(std::acos(0.0), 0, 0, 2, true, false);
    EXPECT_NEAR(t.c->GetHeadNode()->x, -5.0, 1e-12);
    EXPECT_NEAR(t.c->GetHeadNode()->y, 5.0, 1e-12);
    EXPECT_TRUE(t.root->IsCCLW());
    EXPECT_TRUE(t.c->IsCCLW());
}

TEST(SectArea, DoubleEdgesAreCountedInSubSections)
{
    Tree t;
    CSNode* p = t.c->GetNode(0);
    CSNode* q = t.c->GetNode(1);
    new CEdge(p, q); // a second edge along C's first side
    EXPECT_EQ(t.root->RemoveDoubleEdges(), 1);
    EXPECT_EQ(t.root->RemoveDoubleEdges(), 0);
}

// ---------------------------------------------------------------- drawing

class SectAreaGL : public brantel::test::GLTest {};

TEST_F(SectAreaGL, StippleOutlineCoversRegionAndHoles)
{
    Tree t;
    // Feedback mode returns every line segment that would be drawn.
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 11, -1, 11, -1, 1);
    t.root->DrawStippleGL();
    const GLint n = glRenderMode(GL_RENDER);
    ASSERT_GT(n, 0);
    int segments = 0;
    for (GLint i = 0; i < n;) {
        const GLfloat token = buffer[static_cast<std::size_t>(i)];
        ASSERT_TRUE(token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) << token;
        ++segments;
        i += 5;
    }
    EXPECT_EQ(segments, 16); // four closed outlines of four sides
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
}

} // namespace
