// The program's base model view on an OSMesa surface inside a real child
// frame of the main frame: extents, view parameters, the class-wide
// temporary nodes, the static model list (through a component that records
// what it is asked to draw), the view's commands and focus handling, the
// log writer and the "Node information" sheet.
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/shell/brantelview.h"
#include "app/shell/materialdlgs.h"
#include "framework/geomhlpr.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/shell/pages_fixture.h"
#include "platform/ui/osmesa/viewdriver.h"

namespace
{

using namespace shelltest;

std::vector<std::string>* g_calls = nullptr;

void Record(const std::string& call)
{
    if (g_calls)
        g_calls->push_back(call);
}

std::string Num(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// A plate component that logs the drawing operations of the model list
// with their arguments, then draws as usual.
class RecordingComp : public CPlateComp
{
public:
    void DrawModelGL(bool quads, float pointSize, bool all) override
    {
        Record("model " + std::to_string(quads) + " " + Num(pointSize) + " " + std::to_string(all));
        CPlateComp::DrawModelGL(quads, pointSize, all);
    }
    void DrawMesh(bool filled, bool flag) override
    {
        Record("mesh " + std::to_string(filled) + " " + std::to_string(flag));
        CPlateComp::DrawMesh(filled, flag);
    }
    void DrawBCs(bool mesh, double scale, int kind) override
    {
        Record("conditions");
        CPlateComp::DrawBCs(mesh, scale, kind);
    }
    void DrawNodeLoads(double scale, bool flag) override
    {
        Record("node loads " + Num(scale));
        CPlateComp::DrawNodeLoads(scale, flag);
    }
    void DrawLoadedMeshNodes(float size) override
    {
        Record("loaded nodes " + Num(size));
        CPlateComp::DrawLoadedMeshNodes(size);
    }
    void DrawEdgeLoads(double scale, bool mesh, int unused) override
    {
        Record("edge loads " + Num(scale));
        CPlateComp::DrawEdgeLoads(scale, mesh, unused);
    }
    void DrawNodeNumbers(bool mesh) override
    {
        Record("node numbers");
        CPlateComp::DrawNodeNumbers(mesh);
    }
    void DrawDispersAngles() override
    {
        Record("angles");
        CPlateComp::DrawDispersAngles();
    }
};

class RecordingDoc : public CBrantelDoc
{
    DECLARE_DYNCREATE(RecordingDoc)
public:
    RecordingDoc()
    {
        DeleteModel(m_pSectComp);
        auto* comp = new RecordingComp;
        comp->SetElementType(81);
        AddDefaultMaterials(*comp);
        m_pSectComp = comp;
    }
};
IMPLEMENT_DYNCREATE(RecordingDoc, CBrantelDoc)

// The base view with the operations its derived views supply.
class TestView : public CBrantelView
{
    DECLARE_DYNCREATE(TestView)
public:
    TestView() { m_pGeomHlpr = new KorAreaGeomHlpr; }
    void EditObject() override { ++edits; }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
    CObList* GetMoveList() override { return nullptr; }
    void NewTmpNode(bool, CSNode* node) override { delete node; }
    CSNode* GetRefNode(int) override { return nullptr; }
    // The OpenGL set-up waits until the test's surface hosts the window.
    void OnInitialUpdate() override
    {
        if (hosted)
            CBrantelView::OnInitialUpdate();
    }
    bool hosted = false;
    int edits = 0;
};
IMPLEMENT_DYNCREATE(TestView, CBrantelView)

class BrantelView : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        std::copy(std::begin(kBlack), std::end(kBlack), fBckClrMdView);
        g_calls = &calls;
        filter = Kor2DModView::m_uiSelectFilter;
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(IDR_PLATE, RUNTIME_CLASS(RecordingDoc),
                                                  RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(TestView)));
        main = new CMainFrame;
        ASSERT_TRUE(main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        app->m_pMainWnd = main;
        main->InitFrame();
        CDocTemplate* templ = app->m_pDocManager->GetTemplates()[0];
        doc = dynamic_cast<RecordingDoc*>(templ->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        child = dynamic_cast<CChildFrame*>(main->MDIGetActive());
        ASSERT_NE(child, nullptr);
        view = dynamic_cast<TestView*>(child->GetActiveView());
        ASSERT_NE(view, nullptr);
        driver = std::make_unique<ViewDriver>(*view, 400, 300);
        driver->Size(400, 300);
        view->hosted = true;
        view->OnInitialUpdate();
        PumpPosted();
        view->m_bShowGrid = false;
        view->m_bShowAxis = false;
    }
    void TearDown() override
    {
        driver.reset();
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        CBrantelView::ClearTmpSlots();
        Kor2DModView::m_uiSelectFilter = filter;
        g_calls = nullptr;
        AfxSetOffscreenFactory(previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        ShellTest::TearDown();
    }
    // Three pixels a model unit, the model point (40, 25) at the window
    // centre (200, 150).
    void Frame()
    {
        view->m_dCentX = -40.0;
        view->m_dCentY = -25.0;
        view->m_dScale = 6.0;
    }
    std::vector<std::string> DrawCalls()
    {
        calls.clear();
        driver->Draw();
        return calls;
    }
    CMaterial* FirstMaterial()
    {
        return static_cast<CMaterial*>(doc->GetPlateComp()->GetMaterialList().GetHead());
    }

    static constexpr float kBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    std::vector<std::string> calls;
    UINT filter = 0;
    std::unique_ptr<CWinApp> app;
    CMainFrame* main = nullptr; // deletes itself
    RecordingDoc* doc = nullptr;
    CChildFrame* child = nullptr;
    TestView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(BrantelView, ConstructionSetsTheBaseViewsDefaults)
{
    TestView fresh;
    EXPECT_EQ(fresh.m_nLists, 1);
    EXPECT_EQ(fresh.m_iTool, VIEWTOOL_POINT);
    EXPECT_TRUE(fresh.m_iViewState & CBrantelView::kShowMeshBit);
    EXPECT_EQ(fresh.m_dScale, 0.5);
    EXPECT_TRUE(fresh.m_bSolid);
    double xy[2] = {1.0, 1.0};
    fresh.GetRefPoint(xy);
    EXPECT_EQ(xy[0], 0.0);
    EXPECT_EQ(xy[1], 0.0);
}

TEST_F(BrantelView, ModelExtentsAreWidenedByATenthOfTheSpan)
{
    AddSquare(*doc, 0.0, 0.0, 50.0);
    AddSquare(*doc, 50.0, 0.0, 50.0);
    view->CalcModelExtents();
    EXPECT_DOUBLE_EQ(view->m_dXMax, 110.0);
    EXPECT_DOUBLE_EQ(view->m_dYMax, 55.0);
    EXPECT_DOUBLE_EQ(view->m_dXMin, -11.0);
    EXPECT_DOUBLE_EQ(view->m_dYMin, -5.5);
}

TEST_F(BrantelView, TheSolidFlagTravelsAfterTheBasesViewParameters)
{
    TestView plain;
    const int base = plain.COGL2DView::GetNumViewParams();
    ASSERT_EQ(plain.GetNumViewParams(), base + 1);
    std::vector<double> params(static_cast<size_t>(base + 1), 0.0);
    for (bool solid : {true, false}) {
        plain.m_bSolid = solid;
        EXPECT_EQ(plain.SetViewParam(params.data(), true), base + 1);
        EXPECT_EQ(params.back(), solid ? 1.0 : 0.0);
    }
    const std::pair<double, bool> restored[] = {{0.0, false}, {-0.5, true}, {1.0, true}, {2.0, true}};
    for (const auto& [value, solid] : restored) {
        plain.m_bSolid = !solid;
        params.back() = value;
        EXPECT_EQ(plain.SetViewParam(params.data(), false), base + 1);
        EXPECT_EQ(plain.m_bSolid, solid) << value;
    }
}

TEST_F(BrantelView, TemporarySlotsOwnTheirNodesAndSetTheReferencePoint)
{
    view->SetTmpNode(0, new CSNode(1.0, 2.0, 0.0, nullptr, 0));
    // Replacing the slot deletes the old node (checked by the sanitizer).
    view->SetTmpNode(0, new CSNode(3.0, 4.0, 0.0, nullptr, 0));
    CSNode outside(7.0, 8.0, 0.0, nullptr, 0);
    view->SetTmpNode(3, &outside);
    EXPECT_EQ(CBrantelView::TmpSlot(0)->x, 3.0);
    EXPECT_EQ(view->m_dRefPoint[0], 7.0);
    EXPECT_EQ(view->m_dRefPoint[1], 8.0);

    // The reference point: the last pending node, else slot 0, else slot
    // 2, else the stored point.
    double xy[2];
    view->SetTmpNode(2, new CSNode(5.0, 6.0, 0.0, nullptr, 0));
    auto* pending = new CSNode(9.0, 10.0, 0.0, nullptr, 0);
    view->GetInterfHandler()->AddTmpNode(pending);
    const struct {
        const char* step;
        double x, y;
    } steps[] = {{"pending", 9.0, 10.0}, {"slot 0", 3.0, 4.0}, {"slot 2", 5.0, 6.0}, {"stored", 7.0, 8.0}};
    for (const auto& s : steps) {
        if (std::string(s.step) == "slot 0")
            view->GetInterfHandler()->ResetNodes(doc->m_pSectComp);
        if (std::string(s.step) == "slot 2")
            view->SetTmpNode(0, nullptr);
        if (std::string(s.step) == "stored")
            view->SetTmpNode(2, nullptr);
        view->m_dRefPoint[0] = 7.0;
        view->m_dRefPoint[1] = 8.0;
        view->GetRefPoint(xy);
        EXPECT_EQ(xy[0], s.x) << s.step;
        EXPECT_EQ(xy[1], s.y) << s.step;
    }

    view->SetTmpNode(0, new CSNode(1.0, 1.0, 0.0, nullptr, 0));
    view->SetTmpNode(1, new CSNode(1.0, 1.0, 0.0, nullptr, 0));
    view->SetTmpNode(2, new CSNode(2.0, 2.0, 0.0, nullptr, 0));
    view->ResetGeomInput();
    EXPECT_EQ(CBrantelView::TmpSlot(0), nullptr);
    EXPECT_EQ(CBrantelView::TmpSlot(1), nullptr);
    EXPECT_NE(CBrantelView::TmpSlot(2), nullptr);
}

TEST_F(BrantelView, TheModelListIsCompiledInOrderOnceUntilInvalidated)
{
    EXPECT_TRUE(DrawCalls().empty()) << "an empty document draws nothing";
    EXPECT_EQ(view->m_pListIds[0], 0u);

    AddSquare(*doc, 0.0, 0.0, 50.0);
    doc->m_dNodeLoadScale = 2.0;
    doc->m_dEdgeLoadScale = 3.0;
    const std::string model = "model 1 " + Num(static_cast<float>(MEDIUM_S_POINT)) + " 1";
    const std::string loaded = "loaded nodes " + Num(static_cast<float>(LARGE_POINT));
    struct Case {
        int options;
        bool numbers;
        bool solid;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, false, true, {model, "conditions", "node loads 2", loaded, "edge loads 3"}},
        {CBrantelView::kShowMeshBit, false, false,
         {"model 0 " + Num(static_cast<float>(MEDIUM_S_POINT)) + " 1", "mesh 1 0", "conditions",
          "node loads 2", loaded, "edge loads 3"}},
        {CBrantelView::kShowMeshBit | CBrantelView::kMaterialAxesBit, true, true,
         {model, "mesh 0 0", "conditions", "node loads 2", loaded, "edge loads 3", "node numbers",
          "angles"}},
    };
    for (const Case& c : cases) {
        view->m_iViewState = c.options;
        child->m_bShowNodeNumbers = c.numbers;
        view->m_bSolid = c.solid;
        view->InvalidateList();
        EXPECT_EQ(DrawCalls(), c.calls) << c.options;
        EXPECT_NE(view->m_pListIds[0], 0u);
        EXPECT_TRUE(DrawCalls().empty()) << "a second draw uses the list";
    }
}

TEST_F(BrantelView, SolidShowsTheMaterialColourInsideARegion)
{
    FirstMaterial()->SetColor(0.2, 0.6, 0.4);
    AddSquare(*doc, 20.0, 5.0, 40.0);
    view->m_iViewState = 0;
    doc->UpdateAllViews(nullptr);
    Frame();
    driver->Draw();
    const auto inside = driver->Pixel(200, 150);
    const int expected[3] = {51, 153, 102};
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(inside[static_cast<size_t>(i)], expected[i], 2) << i;

    main->SendCommand(ID_VIEW_SOLID);
    EXPECT_FALSE(view->m_bSolid);
    driver->Draw();
    const auto outline = driver->Pixel(200, 150);
    EXPECT_EQ(outline[0], 0);
    EXPECT_EQ(outline[1], 0);
    EXPECT_EQ(outline[2], 0);
    // The edge of the region is still drawn: some pixel along its left
    // side (x = 20, pixel 140) is not the background.
    bool edge = false;
    for (int x = 135; x <= 145 && !edge; ++x) {
        const auto p = driver->Pixel(x, 150);
        edge = p[0] || p[1] || p[2];
    }
    EXPECT_TRUE(edge);
}

TEST_F(BrantelView, SolidAndLinkCommandsToggleAndShowTheirState)
{
    ASSERT_TRUE(view->m_bSolid);
    for (int check : {0, 1}) {
        main->SendCommand(ID_VIEW_SOLID);
        EXPECT_EQ(view->m_bSolid, check == 1);
        EXPECT_EQ(AfxQueryCommandUI(main, ID_VIEW_SOLID).nCheck, check);
    }
    view->SetTmpNode(0, new CSNode(1.0, 1.0, 0.0, nullptr, 0));
    const struct {
        UINT tool;
        int mode;
        int pressed;
    } steps[] = {{kLinkDofTool, VIEWTOOL_NORMAL, 1}, {0, VIEWTOOL_POINT, 0}};
    for (const auto& step : steps) {
        main->SendCommand(ID_LINK_DOFS);
        EXPECT_EQ(view->m_uiGeomTool, step.tool);
        EXPECT_EQ(view->m_iTool, step.mode);
        EXPECT_EQ(AfxQueryCommandUI(main, ID_LINK_DOFS).nCheck, step.pressed);
        EXPECT_EQ(CBrantelView::TmpSlot(0), nullptr) << "the link tool starts afresh";
    }
    main->SendCommand(ID_EDIT_OBJECT);
    EXPECT_EQ(view->edits, 1);
}

TEST_F(BrantelView, ResultsModeAsksTheMainFrameToSwitch)
{
    CComboBox* modes = main->GetToolbarCombo(ID_VIEW_MODE);
    ASSERT_NE(modes, nullptr);
    modes->SetCurSel(0);
    // The frame counts as in results mode already, so it keeps the hosted
    // view: only the main frame's side is under test here.
    child->m_nViewID = ID_MODE_RESULTS;
    main->SendCommand(ID_MODE_RESULTS);
    EXPECT_EQ(modes->GetCurSel(), 1);
}

TEST_F(BrantelView, FocusShowsTheTypeTheMaterialAndTheFilter)
{
    CComboBox* filterCombo = main->GetToolbarCombo(50008);
    CComboBox* materials = main->GetToolbarCombo(ID_ACTIVE_MATERIAL);
    ASSERT_NE(filterCombo, nullptr);
    ASSERT_NE(materials, nullptr);
    const std::pair<UINT, int> filters[] = {{2, 0}, {4, 1}, {1, 2}, {7, 3}, {3, 3}};
    for (const auto& [value, index] : filters) {
        child->m_pActiveMaterial = nullptr;
        main->GetStatusBarWnd().SetPaneText(1, "");
        Kor2DModView::m_uiSelectFilter = value;
        view->SendMessage(WM_SETFOCUS);
        EXPECT_EQ(filterCombo->GetCurSel(), index) << value;
        EXPECT_EQ(main->GetStatusBarWnd().GetPaneText(1), doc->GetElementTypeName());
        EXPECT_EQ(child->m_pActiveMaterial, FirstMaterial());
        EXPECT_EQ(materials->GetCurSel(), 0);
    }
}

TEST_F(BrantelView, ALogLineGoesToTheLogTab)
{
    KorLogEdit& log = main->GetLogWindow()->GetLogEdit();
    CString before;
    log.GetWindowText(before);
    view->WriteLogLine("Mesh generated");
    CString after;
    log.GetWindowText(after);
    EXPECT_NE(after.Find("Mesh generated"), -1);
    EXPECT_GT(after.GetLength(), before.GetLength());
}

// "Mate&rials" from the child frame: the document counts as modified (which
// drops its results) only when the list may have changed; the material combo
// is refilled with the first material and the view's lists are recompiled.
TEST_F(BrantelView, MaterialsMarkTheDocumentOnlyWhenTheListMayHaveChanged)
{
    constexpr int kApply = 1061;
    CComboBox* materials = main->GetToolbarCombo(ID_ACTIVE_MATERIAL);
    ASSERT_NE(materials, nullptr);
    AddSquare(*doc, 0.0, 0.0, 50.0);
    const struct {
        const char* name;
        bool apply, ok, modified;
    } cases[] = {{"cancel", false, false, false}, {"apply then cancel", true, false, true}, {"ok", false, true, true}};
    for (const auto& c : cases) {
        doc->SetModifiedFlag(FALSE);
        doc->m_bMeshValid = true;
        materials->ResetContent();
        DrawCalls();
        int runs = 0;
        ModalScript script;
        script.Dialog(CDlgOrthoMaterial::IDD, [&](DialogDriver& d, CDialog&) {
            ++runs;
            if (c.apply)
                d.Click(kApply);
            if (c.ok)
                d.PressOK();
            else
                d.PressCancel();
        });
        EXPECT_TRUE(child->OnCmdMsg(ID_MATERIALS, CN_COMMAND, nullptr, nullptr)) << c.name;
        EXPECT_EQ(runs, 1) << c.name;
        EXPECT_EQ(doc->IsModified() != FALSE, c.modified) << c.name;
        EXPECT_EQ(doc->m_bMeshValid, !c.modified) << c.name;
        EXPECT_EQ(materials->GetCurSel(), 0) << c.name;
        EXPECT_GT(materials->GetCount(), 0) << c.name;
        EXPECT_FALSE(DrawCalls().empty()) << c.name << ": the model list is compiled again";
    }
}

// ---- Node information ------------------------------------------------------------

class NodeInfo : public BrantelView
{
protected:
    void SetUp() override
    {
        BrantelView::SetUp();
        doc->UpdateStatics(true);
        region = AddSquare(*doc, 0.0, 0.0, 90.0);
        doc->SetModifiedFlag(FALSE);
        doc->m_bMeshValid = true;
    }
    void TearDown() override
    {
        doc->UpdateStatics(false);
        BrantelView::TearDown();
    }
    // Runs the sheet with step on its pages after checking their order.
    void Run(CSNode* node, int code, std::function<void(DialogDriver&)> step)
    {
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [step](DialogDriver& d, CDialog& dlg) {
            EXPECT_EQ(d.Caption(), "Node information");
            auto& sheet = dynamic_cast<CPropertySheet&>(dlg);
            EXPECT_EQ(sheet.GetPageCount(), 2);
            EXPECT_NE(dynamic_cast<CPrPageBNodeGeom*>(sheet.GetPage(0)), nullptr);
            EXPECT_NE(dynamic_cast<CPrPageBC*>(sheet.GetPage(1)), nullptr);
            step(d);
        });
        CBrantelView::ShowNodeInfo(node, code);
    }
    CSectPlate* region = nullptr;
};

TEST_F(NodeInfo, APlainNodeIsReplacedEvenWhenTheSheetIsCancelled)
{
    auto* plain = new CSNode(50.0, 50.0, 0.0, nullptr, 0);
    plain->m_uiFlags = 8;
    plain->SetValue(2.5, 1);
    const DWORD id = plain->GetID();
    doc->AddSepNode(plain, nullptr);
    const DWORD next = CSNode::lIDnode;
    Run(plain, 81, [](DialogDriver& d) { d.PressCancel(); });
    ASSERT_EQ(doc->m_pNodeList->m_nCount, 1);
    CSNode* node = doc->m_pNodeList->m_pNodes[0];
    ASSERT_TRUE(node->IsKindOf(RUNTIME_CLASS(CBoundNode)));
    EXPECT_EQ(node->GetID(), id);
    EXPECT_EQ(node->m_uiFlags, 8u);
    EXPECT_EQ(node->GetValue(1), 2.5);
    EXPECT_EQ(CSNode::lIDnode, next);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(doc->m_bMeshValid) << "a cancelled sheet keeps the results";
}

TEST_F(NodeInfo, AMoveMarksTheDocumentAndACrossingMoveIsRefused)
{
    CSNode* corner = Corners(*region)[2];
    doc->m_dNodeLoadScale = 5.0;
    doc->m_dEdgeLoadScale = 6.0;
    Run(corner, 81, [](DialogDriver& d) {
        d.Type(379, "100");
        d.PressOK();
    });
    CSNode* moved = Corners(*region)[2];
    EXPECT_EQ(moved->x, 100.0);
    EXPECT_TRUE(doc->IsModified());
    // A model without loads keeps both load scales.
    EXPECT_EQ(doc->m_dNodeLoadScale, 5.0);
    EXPECT_EQ(doc->m_dEdgeLoadScale, 6.0);

    // Across the opposite edge: the page's crossing test refuses it.
    doc->SetModifiedFlag(FALSE);
    ModalScript refuse;
    refuse.MessageBox("Edges cannot intersect", IDOK);
    Run(moved, 81, [](DialogDriver& d) {
        d.Type(379, "-50");
        d.Type(350, "45");
        d.PressOK();
        d.PressCancel();
    });
    EXPECT_EQ(Corners(*region)[2]->x, 100.0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(NodeInfo, ElementPropertiesShowTheActiveDocumentsElement)
{
    CStringArray log, errors;
    ASSERT_TRUE(doc->GetPlateComp()->PreCalc(&log, &errors, 0));
    ASSERT_NE(region->GetMesh(), nullptr);
    auto* element = dynamic_cast<CElement*>(region->GetMesh()->GetHead());
    ASSERT_NE(element, nullptr);
    const std::string number = std::to_string(element->GetID() - 4000000000UL);
    const std::string type = doc->GetElementTypeName().GetString();
    const std::string area = FormatAreaValue(element->PhysicalSize()).GetString();
    ModalScript script;
    script.Dialog(CDlgElemProp::IDD, [&](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Element properties");
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_ID), number);
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_MATERIAL), "Default");
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_TYPE), type);
        EXPECT_EQ(d.Text(CDlgElemProp::IDC_AREA), area);
        d.PressOK();
    });
    CBrantelView::ShowElementInfo(element);
    script.Verify();
    EXPECT_FALSE(doc->IsModified()) << "the properties are shown only";
    // No element: nothing is shown.
    ModalScript none;
    CBrantelView::ShowElementInfo(nullptr);
    none.Verify();
}

TEST_F(NodeInfo, MembraneCodesGiveTwoLoadValues)
{
    for (int code : {31, 32, 33, 41, 42, 44, 46, 81}) {
        CSNode* corner = Corners(*region)[0];
        Run(corner, code, [code](DialogDriver& d) {
            EXPECT_EQ(d.Visible(550), code != 81) << code;
            d.PressCancel();
        });
    }
}

} // namespace

namespace
{

TEST_F(BrantelView, PrintingPutsTheRenderedModelOnThePage)
{
    AddSquare(*doc, 20.0, 5.0, 40.0);
    doc->UpdateAllViews(nullptr);
    RecordingDC page;
    page.m_bPrinting = true;
    page.SetDeviceCaps(HORZRES, 1200);
    page.SetDeviceCaps(VERTRES, 900);
    calls.clear();
    view->OnDraw(&page);
    EXPECT_FALSE(calls.empty()) << "the model is drawn for the page";
    bool image = false;
    for (const std::string& call : page.Calls())
        image = image || call.rfind("StretchDIBits", 0) == 0 || call.rfind("SetDIBitsToDevice", 0) == 0;
    EXPECT_TRUE(image) << "the page holds the view's image";
}

} // namespace
