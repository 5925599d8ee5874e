// The plate document's model-wide statics, model deletion, separated nodes,
// object editing, view resets and its commands.
#include <memory>
#include <set>

#include "framework/framira.h"
#include "platform/dimvor/units.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;
using brantel::test::TempFile;

using DocumentModel = ShellTest;

std::unique_ptr<CSNode> NewNode()
{
    return std::make_unique<CSNode>(0.0, 0.0, 0.0, nullptr, 0);
}

TEST_F(DocumentModel, EachDocumentContinuesItsOwnNumbering)
{
    CBrantelDoc a, b;
    a.UpdateStatics(true);
    EXPECT_EQ(CGraph::m_pNodeList, a.m_pNodeList);
    const auto first = NewNode();
    a.UpdateStatics(false);

    b.UpdateStatics(true);
    EXPECT_EQ(CGraph::m_pNodeList, b.m_pNodeList);
    const auto inB = NewNode();
    const auto inB2 = NewNode();
    b.UpdateStatics(false);

    a.UpdateStatics(true);
    const auto second = NewNode();
    a.UpdateStatics(false);
    EXPECT_EQ(second->GetID(), first->GetID() + 1);
    EXPECT_EQ(inB2->GetID(), inB->GetID() + 1);
}

TEST_F(DocumentModel, NodesOfTheTrailingBlocksAreNumberedAfterTheModel)
{
    TempFile file;
    {
        CBrantelDoc source;
        source.UpdateStatics(true);
        AddSquare(source, 0.0, 0.0, 100.0);
        source.AddSepNode(new CSNode(1.0, 1.0, 0.0, nullptr, 0), nullptr);
        source.UpdateStatics(false);
        SaveBytes(source, file);
    }
    CBrantelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(file.path()));
    std::set<DWORD> ids;
    CObList nodes;
    doc.m_pSectComp->GetNodeList(nullptr, &nodes);
    for (POSITION pos = nodes.GetHeadPosition(); pos;)
        ids.insert(static_cast<CSNode*>(nodes.GetNext(pos))->GetID());
    for (int i = 0; i < doc.m_pNodeList->m_nCount; ++i)
        ids.insert(doc.m_pNodeList->m_pNodes[i]->GetID());
    doc.UpdateStatics(true);
    const auto made = NewNode();
    doc.UpdateStatics(false);
    EXPECT_EQ(ids.count(made->GetID()), 0u);
    EXPECT_GT(made->GetID(), *ids.rbegin());
}

TEST_F(DocumentModel, DeletingAModelKeepsTheGraphCounterAndFreesItsMaterials)
{
    CBrantelDoc doc;
    AddSquare(doc, 0.0, 0.0, 100.0);
    const DWORD graphs = CGraph::lIDGraph;
    CSectComp* model = doc.m_pSectComp;
    doc.DeleteModel(model); // ASan: the materials go with it
    EXPECT_EQ(model, nullptr);
    EXPECT_EQ(CGraph::lIDGraph, graphs);
    doc.m_pSectComp = nullptr;
    CSectComp* none = nullptr;
    doc.DeleteModel(none);
}

TEST_F(DocumentModel, SeparatedNodesGetTheirIndexAndOneGroupEach)
{
    CBrantelDoc doc;
    auto* n0 = new CSNode(0.0, 0.0, 0.0, nullptr, 0);
    auto* n1 = new CSNode(1.0, 0.0, 0.0, nullptr, 0);
    auto group = [] {
        auto* g = new CObList;
        g->AddTail(new CSNode(5.0, 5.0, 0.0, nullptr, 0));
        return g;
    };
    EXPECT_EQ(doc.AddSepNode(n0, group()), 0);
    EXPECT_EQ(doc.AddSepNode(n1, nullptr), 1);
    CObList* replacement = group();
    EXPECT_EQ(doc.AddSepNode(n0, replacement), 0); // the old group is freed
    EXPECT_EQ(doc.AddSepNode(nullptr, nullptr), -1);
    ASSERT_EQ(doc.SepNodeGroups().size(), 2u);
    EXPECT_EQ(doc.SepNodeGroups()[0], replacement);
    EXPECT_EQ(CSectMeshArea::m_pSepNodeGraphGroups, doc.SepNodeGroups().data());
}

TEST_F(DocumentModel, AGoneDocumentLeavesNoStaticPointingIntoIt)
{
    {
        CBrantelDoc doc;
        doc.AddSepNode(new CSNode(0.0, 0.0, 0.0, nullptr, 0), new CObList);
        doc.UpdateStatics(true);
        ASSERT_NE(CSectMeshArea::m_pSepNodeGraphGroups, nullptr);
    }
    EXPECT_EQ(CSectMeshArea::m_pSepNodeGraphGroups, nullptr);
    EXPECT_EQ(CGraph::m_pNodeList, nullptr);
}

// Records which editor EditObject chose.
class RecordingDoc : public CBrantelDoc
{
public:
    void EditRegionProperties(CObject*) override { calls += "region "; }
    void EditEdgeInfo(CObject*) override { calls += "edge "; }
    void EditLinkInfo(CObject*) override { calls += "link "; }
    void EditNodeInfo(CObject*, bool pending) override { calls += pending ? "node! " : "node "; }
    std::string calls;
};

TEST_F(DocumentModel, EditObjectHandsEachKindToItsEditor)
{
    RecordingDoc doc;
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 100.0);
    CObList edges;
    region->GetEdges(edges);
    const std::vector<CSNode*> corners = Corners(*region);
    CDOFLink link(corners[0], corners[1]);
    CMaterial material;
    const struct {
        CObject* object;
        const char* call;
    } cases[] = {{region, "region "},
                 {edges.GetHead(), "edge "},
                 {&link, "link "},
                 {corners[2], "node "},
                 {&material, ""},
                 {nullptr, ""}};
    for (const auto& c : cases) {
        doc.calls.clear();
        doc.EditObject(c.object);
        EXPECT_EQ(doc.calls, c.call);
    }
}

// A view of the document as ResetViews sees it.
class FakeView : public CView, public IPlateDocView
{
public:
    FakeView(bool model, bool elementOrResults, unsigned selected)
        : m_model(model), m_elementOrResults(elementOrResults), m_selected(selected)
    {
    }
    void OnDraw(CDC*) override {}
    bool IsModelView() const override { return m_model; }
    bool IsElementOrResultsView() const override { return m_elementOrResults; }
    unsigned SelectedKinds() const override { return m_selected; }
    void DropSelection() override { ++drops; }
    void ResetGeomInput() override { ++resets; }
    int drops = 0;
    int resets = 0;

private:
    bool m_model, m_elementOrResults;
    unsigned m_selected;
};

TEST_F(DocumentModel, ResetViewsFollowsItsMask)
{
    // Views: a modelling view holding nodes, a modelling view holding
    // areas, an element view (a model view too) holding edges, a results view.
    const struct {
        unsigned mask;
        std::vector<int> drops;
    } cases[] = {
        {1, {0, 1, 0, 0}}, {2, {1, 0, 0, 0}}, {4, {0, 0, 1, 0}},
        {8, {0, 0, 1, 1}}, {7, {1, 1, 1, 1}}, {8 | 2, {1, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        CBrantelDoc doc;
        doc.m_bAutoDelete = FALSE; // it lives on the stack
        FakeView nodes(true, false, 2), areas(true, false, 1), element(true, true, 4),
            results(false, true, 0);
        for (FakeView* view : {&nodes, &areas, &element, &results})
            doc.AddView(view);
        doc.ResetViews(c.mask);
        EXPECT_EQ((std::vector<int>{nodes.drops, areas.drops, element.drops, results.drops}),
                  c.drops);
        doc.ResetModelViews();
        EXPECT_EQ(results.resets, 0);
        EXPECT_EQ(nodes.resets, 1);
        for (FakeView* view : {&nodes, &areas, &element, &results})
            doc.RemoveView(view);
    }
}

TEST_F(DocumentModel, MaterialAxesCommandTogglesTheSwitchAndItsCheck)
{
    CBrantelDoc doc;
    CPlateComp* comp = doc.GetPlateComp();
    const struct {
        int before, after, check;
    } cases[] = {{0, 1, 1}, {1, 0, 0}, {2, 0, 0}, {-1, 0, 0}};
    for (const auto& c : cases) {
        comp->m_iLocalAxes = c.before;
        EXPECT_TRUE(doc.OnCmdMsg(ID_MATERIAL_AXES, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(comp->m_iLocalAxes, c.after);
        EXPECT_EQ(QueryUI(doc, ID_MATERIAL_AXES).check, c.check);
    }
    // Commands whose handlers are not here (the views own 34009) show disabled.
    EXPECT_FALSE(QueryUI(doc, ID_MATERIALS).enabled);
}

TEST_F(DocumentModel, MoveAllInInchesMovesTheModelInMillimetresWithUndo)
{
    const int system = iStandard, unit = iConv[1][0][0];
    iStandard = 1;
    iConv[1][0][0] = 0; // in
    CBrantelDoc doc;
    CSectPlate* region = AddSquare(doc, 0.0, 0.0, 100.0);
    ModalScript script;
    script.Dialog(KorDlgCoordInput::IDD, [](DialogDriver& d, CDialog&) {
        d.Type(KorDlgCoordInput::IDC_X, "1");
        d.Type(KorDlgCoordInput::IDC_Y, "2");
        d.Click(KorDlgCoordInput::IDC_ENTER);
    });
    EXPECT_TRUE(doc.OnCmdMsg(ID_MOVE_ALL, CN_COMMAND, nullptr, nullptr));
    script.Verify();
    const std::vector<CSNode*> corners = Corners(*region);
    EXPECT_NEAR(corners[0]->x, 25.4, 1e-9);
    EXPECT_NEAR(corners[0]->y, 50.8, 1e-9);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_NE(doc.m_pUndoComp, nullptr);
    EXPECT_TRUE(doc.Undo());
    const std::vector<CSNode*> restored = Corners(*static_cast<CSectPlate*>(doc.m_pSectComp->GetHead()));
    EXPECT_EQ(restored[0]->x, 0.0);
    iStandard = system;
    iConv[1][0][0] = unit;
}

TEST_F(DocumentModel, ElementTypeNames)
{
    const struct {
        int code;
        const char* name;
    } cases[] = {{31, "CST"}, {46, "Q9"}, {61, "T6"}, {66, "TEBA"}, {85, "T21"}, {50, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(ElementTypeShortName(c.code), c.name);

    const int membrane = iNewDocElemType, plate = iNewDocPlateElemType;
    const struct {
        int membrane, plate;
        const char* name;
    } shells[] = {{32, 75, "T15/LST"}, {31, 81, "T18/CST"}, {33, 12, " /QST"}};
    for (const auto& c : shells) {
        iNewDocElemType = c.membrane;
        iNewDocPlateElemType = c.plate;
        CDocShell shell;
        EXPECT_EQ(shell.GetElementTypeName(), c.name);
        EXPECT_EQ(shell.GetBCSet(), 1);
        EXPECT_EQ(shell.GetPlateComp()->GetMaterialList().GetCount(), 2);
    }
    iNewDocElemType = membrane;
    iNewDocPlateElemType = plate;
}

} // namespace
