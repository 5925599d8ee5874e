// Section composite: ownership, archive, forwarding rules, the
// discretisation bracket around the identifier counters, copy, result
// extremes, node deletion and the edge repair.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "femodel/element.h"
#include "femodel/modelinfo.h"
#include "sections/kantaro.h"
#include "tests/support/temp_files.h"

// A serial region that copies itself as its own class.
class CCompArea : public CSectArea {
    DECLARE_SERIAL(CCompArea)
public:
    CCompArea() = default;
    CGraph* Copy(bool keepID) override { return new CCompArea(*this, keepID); }

protected:
    CCompArea(const CCompArea& source, bool keepID) : CSectArea(source, keepID) {}
};
IMPLEMENT_SERIAL(CCompArea, CSectArea, 1)

// A composite with the operations the plate component supplies, recording
// what reaches them.
class CTestComp : public CSectComp {
    DECLARE_SERIAL(CTestComp)
public:
    CTestComp() = default;
    void ResetParam() override { ++resets; }
    void RemoveNode(CSNode* node) override
    {
        removed.push_back(node);
        for (POSITION pos = GetHeadPosition(); pos;)
            GetNext(pos)->CGraph::RemoveNode(node);
    }
    void PickDrawResGL(int flags, bool flag) override
    {
        resPicks.push_back(std::to_string(flags) + (flag ? " true" : " false"));
    }
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }

    int resets = 0;
    std::vector<CSNode*> removed;
    std::vector<std::string> resPicks;
};
IMPLEMENT_SERIAL(CTestComp, CSectComp, 1)

namespace {

using Log = std::vector<std::string>;

// A section that records the calls the composite forwards to it and gives
// configured answers.
class CProbe : public CCompArea {
public:
    CProbe(Log* log, const char* tag) : m_log(log), m_tag(tag) { SetName(tag); }
    ~CProbe() override { Note("delete"); }

    short Intersection2D(CEdge*, bool, CObList*) override
    {
        Note("intersect");
        return answer;
    }
    bool Fix(CObList* list) override
    {
        Note("fix");
        if (spawn)
            list->AddTail(static_cast<CObject*>(new CProbe(m_log, "spawned")));
        return fixResult;
    }
    CObject* Discretize() override
    {
        Note("discretize " + std::to_string(CGraph::lIDGraph) + " " +
             std::to_string(CSNode::lIDnode) + " " + std::to_string(CEdge::lIDedge));
        delete new CSNode(0, 0, 0, nullptr, 0); // uses up a node identifier
        return discretized;
    }
    void PostDiscretize() override { Note("post"); }
    void DrawNameGL() override { Note("name"); }
    void DrawNodeNumbers() override { Note("numbers"); }
    void DrawEdgeNameGL() override { Note("edge names"); }
    void PickDrawGL(bool flag, int what) override
    {
        Note("pick " + std::to_string(what) + (flag ? " true" : " false"));
    }
    void Rotate(double, double, double, unsigned, bool validate, bool all) override
    {
        Note(std::string("rotate ") + (validate ? "true " : "false ") + (all ? "true" : "false"));
    }
    void Update(bool validate, bool resetSize) override
    {
        Note(std::string("update ") + (validate ? "true " : "false ") + (resetSize ? "true" : "false"));
    }
    void GetMMNPC(CLongVector&, CLongVector&, int& counter) override
    {
        Note("mmnpc " + std::to_string(counter));
        counter += added;
    }
    using CSectArea::GetMMNPC;
    double SumArea() override { return area; }

    short answer = 0;
    bool fixResult = false;
    bool spawn = false;
    CObject* discretized = nullptr;
    int added = 0;
    double area = 0.0;

private:
    void Note(const std::string& what)
    {
        if (m_log)
            m_log->push_back(m_tag + " " + what);
    }
    Log* m_log;
    std::string m_tag;
};

CProbe* AddProbe(CSectComp& comp, Log& log, const char* tag)
{
    auto* p = new CProbe(&log, tag);
    comp.AddTail(p);
    return p;
}

struct Seg {
    double x1, y1, x2, y2;
};

// A section of the given segments; segment ends at equal coordinates are
// one node of the section.
CCompArea* AddSection(CSectComp& comp, const std::vector<Seg>& segs)
{
    auto* s = new CCompArea;
    auto node = [&](double x, double y) {
        for (POSITION pos = s->GetHeadPosition(); pos;) {
            CSNode* n = s->GetNextNode(pos);
            if (n->x == x && n->y == y)
                return n;
        }
        return s->NewNode(x, y, 0.0);
    };
    for (const Seg& g : segs) {
        CSNode* first = node(g.x1, g.y1);
        s->ConnectNodes(first, node(g.x2, g.y2));
    }
    comp.AddTail(s);
    return s;
}

CCompArea* AddRect(CSectComp& comp, double x0, double y0, double x1, double y1)
{
    return AddSection(comp, {{x0, y0, x1, y0}, {x1, y0, x1, y1}, {x1, y1, x0, y1}, {x0, y1, x0, y0}});
}

CEdge* FirstEdge(CGraph* g)
{
    CObList edges;
    g->GetEdges(edges);
    return edges.IsEmpty() ? nullptr : static_cast<CEdge*>(edges.GetHead());
}

std::string Format(double x1, double y1, double x2, double y2)
{
    if (x2 < x1 || (x2 == x1 && y2 < y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    char text[96];
    std::snprintf(text, sizeof text, "%g,%g-%g,%g", x1, y1, x2, y2);
    return text;
}

// Every edge of the model once, as sorted texts (doubled edges show twice).
std::vector<std::string> Edges(CSectComp& comp)
{
    CObList nodes;
    comp.GetNodeList(nullptr, &nodes);
    std::vector<CEdge*> seen;
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CObList* edges = static_cast<CSNode*>(nodes.GetNext(pos))->GetEdgeList();
        for (POSITION ep = edges ? edges->GetHeadPosition() : nullptr; ep;) {
            auto* e = static_cast<CEdge*>(edges->GetNext(ep));
            if (std::find(seen.begin(), seen.end(), e) == seen.end())
                seen.push_back(e);
        }
    }
    std::vector<std::string> out;
    for (CEdge* e : seen)
        out.push_back(Format(e->GetNode1()->x, e->GetNode1()->y, e->GetNode2()->x,
                             e->GetNode2()->y));
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<std::string> Texts(const std::vector<Seg>& segs)
{
    std::vector<std::string> out;
    for (const Seg& g : segs)
        out.push_back(Format(g.x1, g.y1, g.x2, g.y2));
    std::sort(out.begin(), out.end());
    return out;
}

// Keeps the global identifier counters and the node list of other tests.
class SectComp : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_graph = CGraph::lIDGraph;
        m_node = CSNode::lIDnode;
        m_edge = CEdge::lIDedge;
        m_list = CGraph::m_pNodeList;
    }
    void TearDown() override
    {
        CGraph::lIDGraph = m_graph;
        CSNode::lIDnode = m_node;
        CEdge::lIDedge = m_edge;
        CGraph::m_pNodeList = m_list;
    }

private:
    DWORD m_graph = 0, m_node = 0, m_edge = 0;
    NODELIST* m_list = nullptr;
};

// ------------------------------------------------------------ basics

TEST_F(SectComp, EmptyCompositeAnswersAndInitialMembers)
{
    CTestComp comp;
    EXPECT_EQ(comp.CalcArea(), 0.0);
    EXPECT_EQ(comp.GetMaxID(7), 0u);
    EXPECT_EQ(comp.CountEdges(), 0u);
    EXPECT_EQ(comp.GetObjectA(5, false), nullptr);
    EXPECT_EQ(comp.GetEdge(0), nullptr);
    EXPECT_EQ(comp.GetEdge(1), nullptr);
    double c[4] = {9, 9, 9, 9};
    comp.GetMaxMinCoord(c[0], c[1], c[2], c[3]);
    for (double v : c)
        EXPECT_EQ(v, 0.0);
    double dmax = 9, dmin = 9;
    comp.GetDist(dmax, dmin);
    EXPECT_EQ(dmax, -1.0);
    EXPECT_EQ(dmin, -1.0);
    for (int i : {-1, 0, 3, 100}) {
        EXPECT_EQ(comp.GetMinVal(i), 0.0) << i;
        EXPECT_EQ(comp.GetMaxVal(i), 0.0) << i;
    }
    EXPECT_EQ(comp.Intersection(nullptr, false, nullptr), 0);

    EXPECT_EQ(comp.GetFirstWord(), 1u);
    EXPECT_EQ(comp.GetSecondWord(), 0u);
    EXPECT_EQ(comp.GetFactor(), 1.0);
    EXPECT_EQ(comp.GetActVal(), 0);
    EXPECT_EQ(comp.GetResCount(), 0u);
    EXPECT_EQ(comp.GetMinVals().GetSize(), 0);
    EXPECT_EQ(comp.GetMaxVals().GetSize(), 0);
    EXPECT_TRUE(comp.GetName().IsEmpty());
    EXPECT_FALSE(comp.RemoveElem(&comp));
}

TEST_F(SectComp, OwnsItsSectionsAndRemoveOnlyUnlinks)
{
    Log log;
    CProbe* kept = nullptr;
    {
        CTestComp comp;
        AddProbe(comp, log, "a");
        kept = AddProbe(comp, log, "b");
        AddProbe(comp, log, "c");
        EXPECT_TRUE(comp.Remove(kept));
        EXPECT_FALSE(comp.Remove(kept));
        EXPECT_EQ(comp.GetCount(), 2);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (Log{"a delete", "c delete"}));
    delete kept;
}

TEST_F(SectComp, ArchiveIsTheListOfSections)
{
    const CRuntimeClass* rc = RUNTIME_CLASS(CSectComp);
    EXPECT_EQ(rc->m_wSchema, 0xFFFFu);
    EXPECT_EQ(rc->CreateObject(), nullptr);

    CTestComp comp;
    comp.SetName("kept out");
    AddRect(comp, 0, 0, 1, 1);
    AddRect(comp, 1, 0, 2, 1);
    auto bytes = brantel::test::storeBytes<std::string>([&](CArchive& ar) { comp.Serialize(ar); });
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 2); // the count first
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes.find("kept out"), std::string::npos);

    CTestComp loaded;
    brantel::test::loadBytes(bytes, [&](CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetCount(), 2);
    for (POSITION pos = loaded.GetHeadPosition(); pos;)
        EXPECT_TRUE(loaded.GetNext(pos)->IsKindOf(RUNTIME_CLASS(CCompArea)));
    EXPECT_EQ(Edges(loaded), Edges(comp));
}

// ------------------------------------------------------------ forwarding

TEST_F(SectComp, ExtentAndDistanceStartUnset)
{
    struct Case {
        double x0, y0, x1, y1;
    };
    for (const Case& c : {Case{2, 3, 5, 7}, Case{-5, -7, -2, -3}, Case{-1, -2, 4, 6}}) {
        CTestComp comp;
        AddRect(comp, c.x0, c.y0, c.x1, c.y1);
        double xmax, ymax, xmin, ymin;
        comp.GetMaxMinCoord(xmax, ymax, xmin, ymin);
        EXPECT_EQ(xmax, c.x1);
        EXPECT_EQ(ymax, c.y1);
        EXPECT_EQ(xmin, c.x0);
        EXPECT_EQ(ymin, c.y0);
        double max[3], min[3];
        comp.GetMaxMinExt(max, min);
        EXPECT_EQ(max[0], c.x1);
        EXPECT_EQ(min[1], c.y0);
        double dmax, dmin;
        comp.GetDist(dmax, dmin);
        EXPECT_EQ(dmax, std::max(c.x1 - c.x0, c.y1 - c.y0));
        EXPECT_EQ(dmin, std::min(c.x1 - c.x0, c.y1 - c.y0));
    }
}

TEST_F(SectComp, LongestAndShortestEdgeFirstMetWinsTies)
{
    CTestComp comp;
    CEdge* first = FirstEdge(AddSection(comp, {{0, 0, 5, 0}}));
    AddSection(comp, {{0, 1, 0, 6}});
    EXPECT_EQ(comp.GetEdge(0), first);
    EXPECT_EQ(comp.GetEdge(1), first);
    CEdge* longer = FirstEdge(AddSection(comp, {{0, 2, 7, 2}}));
    EXPECT_EQ(comp.GetEdge(0), longer);
    EXPECT_EQ(comp.GetEdge(1), first);
    EXPECT_EQ(comp.CountEdges(), 3u);
}

TEST_F(SectComp, LookupByNameAndIdentifier)
{
    CTestComp comp;
    comp.SetName("Model");
    CCompArea* a = AddRect(comp, 0, 0, 1, 1);
    a->SetName("left");
    CCompArea* b = AddRect(comp, 2, 0, 3, 1);
    b->SetName("right");
    EXPECT_EQ(comp.GetObjectFromString("Model"), &comp);
    EXPECT_EQ(comp.GetObjectFromString("right"), b);
    EXPECT_EQ(comp.GetObjectFromString("nothing"), nullptr);

    CSNode* node = b->GetHeadNode();
    EXPECT_EQ(comp.GetObjectA(node->GetID(), false), node);
    EXPECT_EQ(comp.GetObjectA(b->GetID(), false), b);
    EXPECT_EQ(comp.GetObjectA(0, false), nullptr);
    EXPECT_EQ(comp.GetMaxID(2), static_cast<unsigned long>(b->GetTailNode()->GetID()));
}

TEST_F(SectComp, DrawingAndPickingFlags)
{
    struct Case {
        unsigned flags;
        Log calls;
    };
    const Case cases[] = {
        {8 | 1, {}},
        {8 | 7, {}},
        {1, {"a name", "b name"}},
        {2 | 4, {"a numbers", "b numbers", "a edge names", "b edge names"}},
    };
    for (const Case& c : cases) {
        Log log;
        CTestComp comp;
        AddProbe(comp, log, "a");
        AddProbe(comp, log, "b");
        comp.DrawNameGL(c.flags);
        EXPECT_EQ(log, c.calls) << c.flags;
    }

    Log log;
    CTestComp comp;
    AddProbe(comp, log, "a");
    AddProbe(comp, log, "b");
    comp.PickDrawGL(true, 8 | 4, true);
    EXPECT_EQ(comp.resPicks, (Log{"12 true"}));
    EXPECT_TRUE(log.empty());
    comp.PickDrawGL(false, 4, true);
    EXPECT_EQ(log, (Log{"a pick 4 false", "b pick 4 false"}));
    EXPECT_EQ(comp.resPicks.size(), 1u);
}

TEST_F(SectComp, RotateUpdatesAfterEverySectionTurned)
{
    for (bool update : {false, true}) {
        Log log;
        CTestComp comp;
        AddProbe(comp, log, "a");
        AddProbe(comp, log, "b");
        comp.Rotate(0.5, 1.0, 2.0, 2, update);
        Log expected = {"a rotate false false", "b rotate false false"};
        if (update)
            expected.insert(expected.end(), {"a update true false", "b update true false"});
        EXPECT_EQ(log, expected);
    }
}

TEST_F(SectComp, RunningCounterAndSums)
{
    Log log;
    CTestComp comp;
    CProbe* a = AddProbe(comp, log, "a");
    CProbe* b = AddProbe(comp, log, "b");
    a->added = 2;
    b->added = 3;
    a->area = 1.5;
    b->area = 2.25;
    CLongVector v1, v2;
    EXPECT_EQ(comp.GetMMNPC(v1, v2), 5);
    EXPECT_EQ(log, (Log{"a mmnpc 0", "b mmnpc 2"}));
    EXPECT_EQ(comp.CalcArea(), 3.75);
}

TEST_F(SectComp, IntersectionCombinesAnswers)
{
    struct Case {
        std::vector<short> answers;
        bool list;
        short result;
        size_t asked;
    };
    const Case cases[] = {
        {{0, 2, 0}, false, 2, 3},
        {{2, 0}, true, 2, 2},
        {{0, 0}, true, 0, 2},
        {{2, 1, 2}, false, 1, 2}, // a crossing ends the search
        {{0, 1, 2}, true, 1, 3},  // with a list every section adds what it meets
    };
    for (const Case& c : cases) {
        Log log;
        CTestComp comp;
        for (size_t i = 0; i < c.answers.size(); ++i)
            AddProbe(comp, log, "s")->answer = c.answers[i];
        CObList hits;
        EXPECT_EQ(comp.Intersection(nullptr, false, c.list ? &hits : nullptr), c.result);
        EXPECT_EQ(log.size(), c.asked);
    }
}

// ------------------------------------------------------------ results

TEST_F(SectComp, ResultExtremesFollowTheElementStatics)
{
    double minS[CElement::kMaxResIndex], maxS[CElement::kMaxResIndex];
    std::copy(CElement::m_strMinStress, CElement::m_strMinStress + CElement::kMaxResIndex, minS);
    std::copy(CElement::m_strMaxStress, CElement::m_strMaxStress + CElement::kMaxResIndex, maxS);
    for (int i = 0; i < CElement::kMaxResIndex; ++i) {
        CElement::m_strMinStress[i] = -1.0 - i;
        CElement::m_strMaxStress[i] = 1.0 + i;
    }
    CTestComp comp;
    AddRect(comp, 0, 0, 1, 1);
    CModelInfo model;
    for (unsigned count : {3u, 0u, 25u}) {
        comp.SetResCount(count);
        comp.DM_SetResults(model);
        EXPECT_EQ(comp.GetMinVals().GetSize(), static_cast<int>(count));
        EXPECT_EQ(comp.GetMaxVals().GetSize(), static_cast<int>(count));
        for (int i = 0; i < static_cast<int>(count) + 1; ++i) {
            const bool collected = i < static_cast<int>(count) && i < CElement::kMaxResIndex;
            EXPECT_EQ(comp.GetMinVal(i), collected ? -1.0 - i : 0.0) << count << " " << i;
            EXPECT_EQ(comp.GetMaxVal(i), collected ? 1.0 + i : 0.0) << count << " " << i;
        }
    }
    std::copy(minS, minS + CElement::kMaxResIndex, CElement::m_strMinStress);
    std::copy(maxS, maxS + CElement::kMaxResIndex, CElement::m_strMaxStress);
}

TEST_F(SectComp, DiscretizeRestoresTheCounters)
{
    CObList first, second;
    struct Case {
        std::vector<CObject*> answers;
        CObject* result;
        Log calls;
    };
    const Case cases[] = {
        {{nullptr, &first, &second},
         &first,
         {"a discretize 0 0 0", "b discretize 0 1 0", "a post", "b post", "c post"}},
        {{nullptr, nullptr},
         nullptr,
         {"a discretize 0 0 0", "b discretize 0 1 0", "a post", "b post"}},
        {{}, nullptr, {}},
    };
    for (const Case& c : cases) {
        Log log;
        CTestComp comp;
        const char* tags[] = {"a", "b", "c"};
        for (size_t i = 0; i < c.answers.size(); ++i)
            AddProbe(comp, log, tags[i])->discretized = c.answers[i];
        CGraph::lIDGraph = 4000000123u;
        CSNode::lIDnode = 4567;
        CEdge::lIDedge = 100000089;
        EXPECT_EQ(comp.Discretize(), c.result);
        EXPECT_EQ(log, c.calls);
        EXPECT_EQ(CGraph::lIDGraph, 4000000123u);
        EXPECT_EQ(CSNode::lIDnode, 4567u);
        EXPECT_EQ(CEdge::lIDedge, 100000089u);
    }
}

// ------------------------------------------------------------ copy

TEST_F(SectComp, CopyCarriesSectionsAndChosenMembers)
{
    CTestComp source;
    source.SetName("plate");
    source.SetFactor(-1.0);
    source.SetActVal(4);
    source.SetFirstWord(7);
    source.SetSecondWord(9);
    CCompArea* a = AddSection(source, {{0, 0, 1, 0}});
    CCompArea* b = new CCompArea;
    b->NewNode(a->GetTailNode()); // shares (1, 0)
    b->ConnectNodes(a->GetTailNode(), b->NewNode(1, 1, 0));
    source.AddTail(b);

    CSectComp* none = nullptr;
    source.Copy(none, true);
    EXPECT_EQ(none, nullptr);

    for (bool withName : {false, true}) {
        CTestComp target;
        target.SetName("other");
        CSectComp* t = &target;
        source.Copy(t, withName);
        EXPECT_EQ(target.GetName(), withName ? "plate" : "other");
        EXPECT_EQ(target.GetFactor(), -1.0);
        EXPECT_EQ(target.GetActVal(), 4);
        EXPECT_EQ(target.GetSecondWord(), 9u);
        EXPECT_EQ(target.GetFirstWord(), 1u);
        ASSERT_EQ(target.GetCount(), 2);
        CSection* ca = target.GetHead();
        CSection* cb = target.GetTail();
        EXPECT_TRUE(ca->IsKindOf(RUNTIME_CLASS(CCompArea)));
        EXPECT_EQ(Edges(target), Edges(source));
        // The shared node is shared in the copy too, and is a new node.
        EXPECT_EQ(ca->GetTailNode(), cb->GetHeadNode());
        EXPECT_NE(ca->GetTailNode(), a->GetTailNode());
        CObList nodes;
        source.GetNodeList(nullptr, &nodes);
        for (POSITION pos = nodes.GetHeadPosition(); pos;)
            EXPECT_EQ(static_cast<CSNode*>(nodes.GetNext(pos))->GetCopyNode(), nullptr);
    }
}

// ------------------------------------------------------------ repair

TEST_F(SectComp, FixRunsOnTheSectionsPresentAndResetsOnce)
{
    struct Case {
        std::vector<bool> changes;
        int resets;
    };
    for (const Case& c : {Case{{false, false}, 0}, Case{{true, false, true}, 1}, Case{{}, 0}}) {
        Log log;
        CTestComp comp;
        for (bool changed : c.changes) {
            CProbe* p = AddProbe(comp, log, "s");
            p->fixResult = changed;
            p->spawn = true;
        }
        comp.Fix();
        EXPECT_EQ(comp.resets, c.resets);
        EXPECT_EQ(log.size(), c.changes.size()); // the spawned sections are not run
        EXPECT_EQ(comp.GetCount(), static_cast<int>(2 * c.changes.size()));
    }
}

TEST_F(SectComp, FixEdgesSplitsOverlapsAndLeavesCrossings)
{
    struct Case {
        const char* name;
        std::vector<std::vector<Seg>> sections;
        int repairSection; // the first edge of this section is repaired
        std::vector<Seg> expected;
    };
    const Case cases[] = {
        {"inner edge splits the longer one",
         {{{0, 0, 10, 0}}, {{2, 0, 5, 0}}},
         1,
         {{0, 0, 2, 0}, {2, 0, 5, 0}, {5, 0, 10, 0}}},
        {"longer edge split at the inner one's ends",
         {{{0, 0, 10, 0}}, {{2, 0, 5, 0}}},
         0,
         {{0, 0, 2, 0}, {2, 0, 5, 0}, {5, 0, 10, 0}}},
        {"inner edge sharing an end",
         {{{0, 0, 10, 0}}, {{0, 0, 4, 0}}},
         1,
         {{0, 0, 4, 0}, {4, 0, 10, 0}}},
        {"partial overlap splits both",
         {{{0, 0, 6, 0}}, {{4, 0, 10, 0}}},
         0,
         {{0, 0, 4, 0}, {4, 0, 6, 0}, {6, 0, 10, 0}}},
        // A proper crossing met first does not hide a later overlap.
        {"overlap after a crossing",
         {{{5, -5, 5, 5}}, {{0, 0, 10, 0}}, {{6, 0, 12, 0}}},
         1,
         {{5, -5, 5, 5}, {0, 0, 6, 0}, {6, 0, 10, 0}, {10, 0, 12, 0}}},
        {"skew partial overlap",
         {{{0, 0, 6, 3}}, {{4, 2, 10, 5}}},
         1,
         {{0, 0, 4, 2}, {4, 2, 6, 3}, {6, 3, 10, 5}}},
        {"end on the other edge splits it",
         {{{0, 0, 10, 0}}, {{5, 0, 5, 5}}},
         1,
         {{0, 0, 5, 0}, {5, 0, 10, 0}, {5, 0, 5, 5}}},
        {"proper crossing stays", {{{0, 0, 10, 0}}, {{5, -5, 5, 5}}}, 0, {{0, 0, 10, 0}, {5, -5, 5, 5}}},
        {"shared end only stays", {{{0, 0, 10, 0}}, {{10, 0, 10, 10}}}, 0, {{0, 0, 10, 0}, {10, 0, 10, 10}}},
        {"collinear apart stays", {{{0, 0, 2, 0}}, {{3, 0, 5, 0}}}, 0, {{0, 0, 2, 0}, {3, 0, 5, 0}}},
        {"duplicate within tolerance merges",
         {{{0, 0, 1, 0}}, {{1e-10, 0, 1 + 1e-10, 1e-10}}},
         0,
         {{0, 0, 1, 0}}},
        // Directions just either side of the bearing wrap (1e-7 and -1e-7
        // from +y) are one line.
        {"overlap across the direction wrap",
         {{{0, 0, 1e-8, 0.1}}, {{0, 0.05, -1e-8, 0.15}}},
         0,
         {{0, 0, 0, 0.05}, {0, 0.05, 1e-8, 0.1}, {1e-8, 0.1, -1e-8, 0.15}}},
        {"contained across the direction wrap",
         {{{0, 0, 2e-8, 0.2}}, {{0, 0.05, -1e-8, 0.15}}},
         0,
         {{0, 0, 0, 0.05}, {0, 0.05, -1e-8, 0.15}, {-1e-8, 0.15, 2e-8, 0.2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTestComp comp;
        std::vector<CCompArea*> sections;
        for (const auto& segs : c.sections)
            sections.push_back(AddSection(comp, segs));
        CObList list;
        list.AddTail(FirstEdge(sections[static_cast<size_t>(c.repairSection)]));
        comp.FixEdges(&list);
        EXPECT_TRUE(list.IsEmpty());
        EXPECT_EQ(comp.resets, 1);
        EXPECT_EQ(Edges(comp), Texts(c.expected));
    }
}

TEST_F(SectComp, MergedNodesAndEdgesLeaveTheModel)
{
    // b duplicates a within the tolerance; the short link from a's end to
    // b's end collapses to nothing when the two ends merge.
    NODELIST global;
    CTestComp comp;
    auto* s1 = new CCompArea;
    CSNode* a1 = s1->NewNode(0, 0, 0);
    CSNode* a2 = s1->NewNode(1, 0, 0);
    CSNode* m2 = s1->NewNode(1 + 1e-10, 0, 0);
    CEdge* a = s1->ConnectNodes(a1, a2);
    s1->ConnectNodes(a2, m2);
    comp.AddTail(s1);
    auto* s2 = new CCompArea;
    CSNode* m1 = s2->NewNode(1e-10, 0, 0);
    s2->ConnectNodes(m1, m2);
    comp.AddTail(s2);
    ASSERT_EQ(Edges(comp).size(), 3u);

    CObList all;
    comp.GetNodeList(nullptr, &all);
    for (POSITION pos = all.GetHeadPosition(); pos;)
        global.AddNode(static_cast<CSNode*>(all.GetNext(pos)));
    ASSERT_EQ(global.m_nCount, 4);
    CGraph::m_pNodeList = &global;

    CObList list;
    list.AddTail(a);
    comp.FixEdges(&list);
    EXPECT_EQ(Edges(comp), (std::vector<std::string>{"0,0-1,0"}));
    EXPECT_EQ(global.m_nCount, 2);
    EXPECT_EQ(global.Find(m1), -1);
    EXPECT_EQ(global.Find(m2), -1);
    CObList left;
    comp.GetNodeList(nullptr, &left);
    EXPECT_EQ(left.GetCount(), 2);
    EXPECT_EQ(s2->GetCount(), 2); // the second region now holds the kept nodes
    EXPECT_TRUE(s2->Find(a1) && s2->Find(a2));

    CObList empty;
    comp.FixEdges(&empty);
    comp.FixEdges(nullptr);
    EXPECT_EQ(comp.resets, 1);
}

TEST_F(SectComp, DeleteNodesRemovesThroughTheComponent)
{
    NODELIST global;
    CTestComp comp;
    CCompArea* s = AddSection(comp, {{0, 0, 1, 0}, {1, 0, 1, 1}});
    CSNode* gone = s->GetHeadNode();
    CSNode* shared = s->GetTailNode();
    CGraph outside;
    outside.NewNode(shared);

    global.AddNode(gone);
    global.AddNode(shared);
    CGraph::m_pNodeList = &global;
    const DWORD graphs = CGraph::lIDGraph;

    CObList nodes;
    nodes.AddTail(gone);
    nodes.AddTail(shared);
    nodes.AddTail(gone);
    comp.DeleteNodes(&nodes);
    EXPECT_EQ(CGraph::lIDGraph, graphs);
    EXPECT_EQ(comp.removed, (std::vector<CSNode*>{gone, shared}));
    EXPECT_EQ(global.m_nCount, 0);
    EXPECT_EQ(s->GetCount(), 1);
    // The node of another graph lives on there; the other one is deleted.
    ASSERT_EQ(outside.GetCount(), 1);
    EXPECT_EQ(outside.GetHeadNode(), shared);
    EXPECT_EQ(shared->GetGraphCount(), 1);
    EXPECT_EQ(Edges(comp), (std::vector<std::string>{"1,0-1,1"}));
}

} // namespace
