// The framework's 3D views on an OSMesa surface, hosted in a split child
// frame of a headless application: the tool, orientation and plot
// commands, the corner triad and legend strip, the status-bar texts, the
// clip-plane commands on the frame's planes, and the 3D modelling view's
// filter and saved parameters.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "framework/framira.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/dimvor/units.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

using afxui::headless::HeadlessApp;

namespace
{

constexpr UINT kMainRes = 7400, kTemplate = 7401, kModTemplate = 7402;
constexpr double kPi = std::numbers::pi;

class ResultDoc : public KorDoc
{
    DECLARE_DYNCREATE(ResultDoc)
public:
    void Rotate(double, double, double, unsigned, bool) override {}
    bool IsEmpty() override { return true; }
    double GetStressScale() override { return valScale; }
    double GetValScale() override { return valScale; }
    bool GetMaxMinActVal(double& max, double& min) override
    {
        max = maxVal;
        min = minVal;
        return hasValues;
    }
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}

    double valScale = 1.0, maxVal = 5.0, minVal = -8.0;
    bool hasValues = true;
};
IMPLEMENT_DYNCREATE(ResultDoc, KorDoc)

// The views wait for their surface: the frame's initial update comes
// before the test attaches one.
bool g_holdInitialUpdate = false;

// A results view over a 4 x 3 model; it notes the legend strip's viewport
// and projection.
class ResultView : public Kor3DView
{
    DECLARE_DYNCREATE(ResultView)
public:
    ResultView() { m_nLists = 2; }
    void OnInitialUpdate() override
    {
        if (!g_holdInitialUpdate)
            Kor3DView::OnInitialUpdate();
    }
    void FindModelExtents() override
    {
        SetMaxMin(4.0, 3.0, 4);
        SetMaxMin(0.0, 0.0, 2);
    }
    void DrawStressScale() override
    {
        ++legends;
        glGetIntegerv(GL_VIEWPORT, legendViewport.data());
        glGetDoublev(GL_PROJECTION_MATRIX, legendProjection.data());
    }
    int legends = 0;
    std::array<GLint, 4> legendViewport{};
    std::array<GLdouble, 16> legendProjection{};
};
IMPLEMENT_DYNCREATE(ResultView, Kor3DView)

class ModView3D : public Kor3DModView
{
    DECLARE_DYNCREATE(ModView3D)
public:
    void OnInitialUpdate() override
    {
        if (!g_holdInitialUpdate)
            Kor3DModView::OnInitialUpdate();
    }
    void FindModelExtents() override {}
    CObList* GetMoveList() override { return nullptr; }
    CSNode* GetRefNode(int) override { return nullptr; }
};
IMPLEMENT_DYNCREATE(ModView3D, Kor3DModView)

class LeftPane : public CView
{
    DECLARE_DYNCREATE(LeftPane)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(LeftPane, CView)

// A split frame: the view's direct parent is the splitter.
class ResultFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(ResultFrame)
public:
    void ChildFramesLeft(int) override {}
    CView* GetViewForID(UINT) override { return nullptr; }
    CRuntimeClass* GetPaneClass() override { return RUNTIME_CLASS(LeftPane); }
};
IMPLEMENT_DYNCREATE(ResultFrame, KorChildFrm)

class MainFrame : public CMDIFrameWnd
{
public:
    CStatusBar m_wndStatusBar;
    bool Make()
    {
        if (!LoadFrame(kMainRes))
            return false;
        static const UINT indicators[] = {ID_SEPARATOR, 50033, 50035, 50035, 50034, 0, 0};
        return m_wndStatusBar.Create(this) && m_wndStatusBar.SetIndicators(indicators, 7);
    }
};

class View3DTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        std::copy(savedBackground, savedBackground + 4, fBckClrRsView);
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        std::copy(black, black + 4, fBckClrRsView);
        savedOffset = bOffsetPolygon;
        resources = std::make_unique<CResourceModule>(
            "view3d_test", CResourceModule::program, [](CResourceModule& m) {
                m.AddStrings({{kMainRes, "Brantel"},
                              {kTemplate, "\nResult\nResult\nResult (*.res)\n.res\nBrantel.Result\nResult"},
                              {kModTemplate, "\nModel\nModel\nModel (*.mod)\n.mod\nBrantel.Model\nModel"}});
            });
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(kTemplate, RUNTIME_CLASS(ResultDoc),
                                                  RUNTIME_CLASS(ResultFrame), RUNTIME_CLASS(ResultView)));
        app->AddDocTemplate(new CMultiDocTemplate(kModTemplate, RUNTIME_CLASS(ResultDoc),
                                                  RUNTIME_CLASS(ResultFrame), RUNTIME_CLASS(ModView3D)));
        main = new MainFrame;
        ASSERT_TRUE(main->Make());
        app->m_pMainWnd = main;
        Open(0);
    }
    void TearDown() override
    {
        driver.reset();
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        resources.reset();
        bOffsetPolygon = savedOffset;
        std::copy(savedBackground, savedBackground + 4, fBckClrRsView);
        AfxSetOffscreenFactory(previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
    void Open(int templ)
    {
        driver.reset();
        g_holdInitialUpdate = true;
        app->m_pDocManager->GetTemplates()[templ]->OpenDocumentFile(nullptr);
        g_holdInitialUpdate = false;
        frame = dynamic_cast<ResultFrame*>(main->MDIGetActive());
        ASSERT_NE(frame, nullptr);
        view = dynamic_cast<Kor3DView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        doc = dynamic_cast<ResultDoc*>(view->GetDocument());
        driver = std::make_unique<ViewDriver>(*view, 800, 600);
        driver->Size(800, 600);
        view->OnInitialUpdate();
        COGLRenderer::bLineSmooth = false;
        PumpPosted();
        view->m_bShowGrid = false;
        view->m_bShowAxis = false;
    }
    void Command(UINT id) { frame->SendCommand(id); }
    CCmdItemState State(UINT id) { return frame->QueryCommandUI(id); }
    // Whether any pixel of the rectangle differs from the black background.
    bool Drawn(int x0, int y0, int x1, int y1)
    {
        for (int x = x0; x < x1; ++x)
            for (int y = y0; y < y1; ++y) {
                const auto p = driver->Pixel(x, y);
                if (p[0] || p[1] || p[2])
                    return true;
            }
        return false;
    }

    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    std::unique_ptr<CResourceModule> resources;
    std::unique_ptr<CWinApp> app;
    MainFrame* main = nullptr; // deletes itself
    ResultFrame* frame = nullptr;
    Kor3DView* view = nullptr;
    ResultDoc* doc = nullptr;
    std::unique_ptr<ViewDriver> driver;
    float savedBackground[4] = {};
    bool savedOffset = false;
};

TEST_F(View3DTest, ToolCommandsReturnToTheRotationTool)
{
    EXPECT_EQ(view->m_dSnapSpace, 0.1);
    EXPECT_EQ(view->m_dScale, 40.0);
    EXPECT_EQ(view->m_iTool, 32);
    EXPECT_EQ(State(50017).nCheck, 1);

    struct Case {
        UINT id;
        int on, off;
    };
    for (const Case c : {Case{50017, 1, 32}, Case{50009, 1, 32}, Case{50016, 8, 32}, Case{50021, 2, 32},
                         Case{50022, 4, 0}, Case{50066, 16, 32}}) {
        view->m_iTool = 32;
        Command(c.id);
        EXPECT_EQ(view->m_iTool, c.on) << c.id;
        Command(c.id);
        EXPECT_EQ(view->m_iTool, c.off) << c.id;
    }
    // The rotation tool is checked only in 3D.
    view->m_iTool = 32;
    view->m_b3D = false;
    EXPECT_EQ(State(50017).nCheck, 0);
    view->m_b3D = true;

    // A started zoom rectangle: the rotation tool drops its corner.
    Command(50021);
    driver->Down(100, 100);
    driver->Up(100, 100);
    ASSERT_NE(view->m_pZoomRectNode, nullptr);
    Command(50017);
    EXPECT_EQ(view->m_pZoomRectNode, nullptr);
    EXPECT_EQ(view->m_iTool, 32);
    // A finished rectangle returns to the rotation tool.
    Command(50021);
    driver->Down(100, 100);
    driver->Up(100, 100);
    driver->Down(300, 250);
    driver->Up(300, 250);
    EXPECT_EQ(view->m_pZoomRectNode, nullptr);
    EXPECT_EQ(view->m_iTool, 32);
}

TEST_F(View3DTest, PresetsStepsAndRotationCentre)
{
    struct Preset {
        UINT id;
        double x, y, z;
    };
    for (const Preset p : {Preset{50036, 0, 90, 0}, Preset{50037, -90, 0, -90}, Preset{50038, -90, 0, 0},
                           Preset{50039, 90, 90, 0}, Preset{50040, 180, 0, -90}, Preset{50041, 0, 0, 0}}) {
        view->SetAngles(10, 20, 30);
        Command(p.id);
        EXPECT_EQ(view->m_dAngX, p.x) << p.id;
        EXPECT_EQ(view->m_dAngY, p.y) << p.id;
        EXPECT_EQ(view->m_dAngZ, p.z) << p.id;
    }
    struct Step {
        UINT id;
        int axis;
        double by;
    };
    for (const Step s : {Step{50048, 0, 2}, Step{50049, 0, -2}, Step{50050, 1, 2}, Step{50051, 1, -2},
                         Step{50052, 2, 2}, Step{50053, 2, -2}}) {
        view->SetAngles(10, 20, 30);
        Command(s.id);
        const double angles[3] = {view->m_dAngX, view->m_dAngY, view->m_dAngZ};
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_DOUBLE_EQ(angles[axis], 10.0 * (axis + 1) + (axis == s.axis ? s.by : 0.0)) << s.id;
    }
    view->SetRotCent(2.0, 1.0);
    Command(50067);
    EXPECT_EQ(view->m_dRotCentX, 0.0);
    EXPECT_EQ(view->m_dRotCentY, 0.0);
}

TEST_F(View3DTest, PlotSwitchesProjectionAndFieldOfView)
{
    for (const auto& [id, mask] : {std::pair{50026u, 2}, std::pair{50028u, 16}, std::pair{50030u, 32},
                                  std::pair{50027u, 256}}) {
        view->m_iViewState = 0;
        ASSERT_TRUE(view->m_pListValid);
        view->m_pListValid[0] = true;
        Command(id);
        EXPECT_EQ(view->m_iViewState, mask) << id;
        EXPECT_FALSE(view->m_pListValid[0]) << id;
        EXPECT_EQ(State(id).nCheck, 1) << id;
        Command(id);
        EXPECT_EQ(view->m_iViewState, 0) << id;
        EXPECT_EQ(State(id).nCheck, 0) << id;
    }

    const bool ortho = view->m_bOrtho;
    Command(34033);
    EXPECT_EQ(view->m_bOrtho, !ortho);
    EXPECT_EQ(bOffsetPolygon, view->m_bOrtho);
    EXPECT_EQ(State(34033).nCheck, view->m_bOrtho ? 0 : 1);
    Command(34033);
    EXPECT_EQ(bOffsetPolygon, ortho);

    view->m_dFovy = 87.5;
    EXPECT_TRUE(State(34073).bEnabled);
    Command(34073);
    EXPECT_EQ(view->m_dFovy, 90.0);
    EXPECT_FALSE(State(34073).bEnabled);
    view->m_dFovy = 5.0;
    Command(34074);
    EXPECT_EQ(view->m_dFovy, 2.5);
    EXPECT_FALSE(State(34074).bEnabled);
    EXPECT_TRUE(State(34073).bEnabled);

    // Plot 2D and back: the same three angles.
    view->SetAngles(12, -34, 56);
    Command(50029);
    EXPECT_FALSE(view->m_b3D);
    EXPECT_EQ(State(50029).nCheck, 1);
    Command(50029);
    EXPECT_TRUE(view->m_b3D);
    EXPECT_EQ(State(50029).nCheck, 0);
    EXPECT_EQ(view->m_dAngX, 12.0);
    EXPECT_EQ(view->m_dAngY, -34.0);
    EXPECT_EQ(view->m_dAngZ, 56.0);
}

TEST_F(View3DTest, TriadAndLegendOnlyAboveTheSizeLimit)
{
    auto* results = static_cast<ResultView*>(view);
    for (const bool is3D : {true, false}) {
        for (const int width : {220, 221}) {
            SCOPED_TRACE(::testing::Message() << width << (is3D ? " 3D" : " 2D"));
            view->m_b3D = is3D;
            view->m_bLegend = true;
            driver->Size(width, 400);
            results->legends = 0;
            driver->Draw();
            const int s = static_cast<int>(width * 0.4);
            // The triad sits in the lower-right square only.
            EXPECT_EQ(Drawn(width - s, 400 - s, width, 400), width > 220);
            EXPECT_FALSE(Drawn(0, 0, width - s, 400 - s));
            EXPECT_EQ(results->legends > 0, width > 220);
        }
    }
    EXPECT_EQ(results->legendViewport, (std::array<GLint, 4>{0, 0, static_cast<int>(221 * 0.2857142857142857), 400}));
    EXPECT_NEAR(results->legendProjection[0], 2.0 / 10.0, 1e-7);
    EXPECT_NEAR(results->legendProjection[5], 2.0, 1e-7);
    view->m_bLegend = false;
    results->legends = 0;
    driver->Draw();
    EXPECT_EQ(results->legends, 0);
}

TEST_F(View3DTest, StatusBarShowsCoordinatesAndDrawingTime)
{
    driver->Draw();
    const CString time = main->m_wndStatusBar.GetPaneText(4);
    EXPECT_EQ(time.Find("Drawing time: "), 0) << static_cast<LPCTSTR>(time);
    EXPECT_EQ(time.Find("  "), -1) << static_cast<LPCTSTR>(time);
    EXPECT_NE(time.Find(" ms ("), -1);
    view->m_iTool = 1;
    driver->Move(500, 200);
    EXPECT_EQ(main->m_wndStatusBar.GetPaneText(2).Find("X: "), 0);
    EXPECT_EQ(main->m_wndStatusBar.GetPaneText(3).Find("Y: "), 0);
}

TEST_F(View3DTest, RealCoordinatesIn3DOnlyOutsideTheZoomRectangle)
{
    view->SetAngles(30, 40, 0);
    auto convert = [&] {
        double x = 500, y = 200;
        view->GetRealCoord(x, y, false);
        return std::array<double, 2>{x, y};
    };
    double tx = 500, ty = 200, fx = 500, fy = 200;
    view->COGL3DView::GetRealCoord(tx, ty, false);
    view->COGL2DView::GetRealCoord(fx, fy, false);
    const std::array<double, 2> turned{tx, ty}, flat{fx, fy};
    ASSERT_NE(turned, flat);
    struct Case {
        int tool;
        bool is3D;
        std::array<double, 2> expected;
    };
    for (const Case& c : {Case{32, true, turned}, Case{1, true, turned}, Case{2, true, flat},
                          Case{32, false, flat}}) {
        view->m_iTool = c.tool;
        view->m_b3D = c.is3D;
        EXPECT_EQ(convert(), c.expected) << c.tool << " " << c.is3D;
    }
}

TEST_F(View3DTest, ClipPlaneCommandsMoveTheFramesPlanes)
{
    ASSERT_NE(view->GetParent(), frame); // in the splitter
    double(&eq)[6][4] = frame->m_dClipPlanes;
    bool(&on)[6] = frame->m_bClipPlanes;
    on[2] = on[3] = true;
    eq[2][0] = 0, eq[2][1] = -1;
    eq[3][0] = 0, eq[3][1] = 0;
    Command(50056);
    EXPECT_NEAR(std::atan2(eq[2][1], eq[2][0]) + 2 * kPi, 3 * kPi / 2 + kPi / 20, 1e-12);
    EXPECT_NEAR(std::hypot(eq[3][0], eq[3][1]), 1.0, 1e-12);
    EXPECT_NEAR(std::atan2(eq[3][1], eq[3][0]), -1.0 + kPi / 20, 1e-12);
    EXPECT_EQ(eq[4][0], 0.0); // off
    eq[2][0] = 1, eq[2][1] = 0;
    Command(50057);
    EXPECT_NEAR(std::atan2(eq[2][1], eq[2][0]) + 2 * kPi, 2 * kPi - kPi / 20, 1e-12);

    // Distances: 0.02 of the 4 x 3 model's diagonal.
    eq[2][3] = eq[3][3] = 0.0;
    Command(50058);
    EXPECT_DOUBLE_EQ(eq[2][3], 0.1);
    Command(50059);
    Command(50059);
    EXPECT_DOUBLE_EQ(eq[3][3], -0.1);

    // Levels: the range -8 to 5 at scale 1 steps 0.08.
    on[0] = on[1] = true;
    Command(50060);
    EXPECT_DOUBLE_EQ(eq[0][3], -0.08);
    EXPECT_DOUBLE_EQ(eq[1][3], 0.08);
    Command(50062);
    EXPECT_NEAR(eq[0][3], 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(eq[1][3], 0.16);
    doc->hasValues = false;
    Command(50063);
    EXPECT_DOUBLE_EQ(eq[1][3], 0.16);

    // The open dialog follows.
    doc->hasValues = true;
    doc->valScale = 2.0;
    frame->m_nViewID = 50055;
    Command(50054);
    auto* dlg = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg);
    ASSERT_NE(dlg, nullptr);
    Command(50061);
    EXPECT_DOUBLE_EQ(eq[1][3], 0.16 - 0.16);
    EXPECT_DOUBLE_EQ(dlg->m_dBelow, -(eq[0][3] * MetricToX(iStandard, 13, iConv[iStandard][8][0]) / 2.0));
}

TEST_F(View3DTest, ModellingViewKeepsItsOwnFilterAndSavesToolAndEditMode)
{
    Open(1);
    auto* mod = dynamic_cast<Kor3DModView*>(view);
    ASSERT_NE(mod, nullptr);
    Kor2DModView::m_uiSelectFilter = 7;
    Kor3DModView::m_uiSelectFilter = 7;
    CComboBox combo;
    ASSERT_TRUE(combo.Create(nullptr, "", WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 80, 100), mod, 50008));
    for (const char* entry : {"Nodes", "Edges", "Areas", "All"})
        combo.AddString(entry);
    const UINT expected[] = {2, 4, 1, 7};
    for (int i = 0; i < 4; ++i) {
        combo.SetCurSel(i);
        Kor3DModView::m_uiSelectFilter = 99;
        CNotifySenderScope scope(combo.GetSafeHwnd());
        mod->OnCmdMsg(50008, 1, nullptr, nullptr);
        EXPECT_EQ(Kor3DModView::m_uiSelectFilter, expected[i]) << i;
    }
    combo.DestroyWindow();
    EXPECT_EQ(Kor2DModView::m_uiSelectFilter, 7u);
    Kor3DModView::m_uiSelectFilter = 7;

    const int plain = ResultView().GetNumViewParams();
    ASSERT_EQ(mod->GetNumViewParams(), plain + 2);
    mod->m_uiGeomTool = 5;
    mod->m_uiEditMode = 8;
    std::vector<double> params(static_cast<size_t>(plain + 2));
    EXPECT_EQ(mod->SetViewParam(params.data(), true), plain + 2);
    EXPECT_EQ(params[plain], 5.0);
    EXPECT_EQ(params[plain + 1], 8.0);
    params[plain] = 3.9;
    params[plain + 1] = 4.2;
    EXPECT_EQ(mod->SetViewParam(params.data(), false), plain + 2);
    EXPECT_EQ(mod->m_uiGeomTool, 3u);
    EXPECT_EQ(mod->m_uiEditMode, 4u);

    const bool snap = mod->m_bSnapOn;
    Command(50004);
    EXPECT_EQ(mod->m_bSnapOn, !snap);
    EXPECT_EQ(State(50004).nCheck, snap ? 0 : 1);
}

} // namespace
