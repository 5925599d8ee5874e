// The child frame: the inverse background colour, the split client area,
// switching views, closing and the splitter's hidden column.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/framira.h"
#include "glstyle/tincora.h"
#include "glview/oglview.h"
#include "graphview/vistrel.h"
#include "platform/afx/numconv.h"
#include "platform/ui/headless/afxui_headless.h"

namespace
{

using afxui::headless::HeadlessApp;

constexpr UINT kMainRes = 7200, kPlainTemplate = 7201, kSplitTemplate = 7202, k2DTemplate = 7203;

std::vector<std::string>* g_log = nullptr; // the running test's events

void Log(const std::string& line)
{
    if (g_log)
        g_log->push_back(line);
}

void AddResources(CResourceModule& m)
{
    m.AddStrings({{kMainRes, "Brantel"},
                  {kPlainTemplate, "\nPlate\nPlate\nPlate File (*.plb)\n.plb\nBrantel.Plate\nPlate"},
                  {kSplitTemplate, "\nSplit\nSplit\nSplit File (*.spl)\n.spl\nBrantel.Split\nSplit"},
                  {k2DTemplate, "\nModel\nModel\nModel File (*.mdl)\n.mdl\nBrantel.Model\nModel"}});
}

// A windowed OpenGL view without a context: it notes the process-wide font
// it was made with, and its release and deletion.
class GLView : public COGLView
{
    DECLARE_DYNCREATE(GLView)
public:
    GLView() : createdFace(m_statLogFont.lfFaceName) {}
    ~GLView() override { Log("deleted " + createdFace); }
    void ZoomToFit() override { Log("zoom to fit"); }
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect) override {}
    bool InitializeOGL() override { return true; }
    void OGLDestroy() override
    {
        Log("released " + createdFace);
        COGLView::OGLDestroy();
    }
    void OnInitialUpdate() override { Log("initial update " + createdFace); }
    std::string createdFace;
    float bg[4] = {};
};
IMPLEMENT_DYNCREATE(GLView, COGLView)

// A 2D graph view without a context over the model rectangle (-10, -20)
// to (10, 20).
class View2D : public COGL2DView
{
    DECLARE_DYNCREATE(View2D)
public:
    ~View2D() override { Log("deleted 2D"); }
    void TruncateCursor() override {}
    void FindModelExtents() override
    {
        SetMaxMin(10.0, 20.0, 4);
        SetMaxMin(-10.0, -20.0, 2);
    }
    bool InitializeOGL() override { return true; }
    void OnInitialUpdate() override { Log("initial update 2D"); }
    void ZoomToFit() override
    {
        Log("zoom to fit");
        COGL2DView::ZoomToFit();
    }
};
IMPLEMENT_DYNCREATE(View2D, COGL2DView)

class View3D : public COGL3DView
{
    DECLARE_DYNCREATE(View3D)
public:
    void TruncateCursor() override {}
    void FindModelExtents() override {}
    bool InitializeOGL() override { return true; }
    void OnInitialUpdate() override {}
};
IMPLEMENT_DYNCREATE(View3D, COGL3DView)

// The class GetViewForID makes.
CRuntimeClass* g_viewClass = nullptr;

class LeftView : public CView
{
    DECLARE_DYNCREATE(LeftView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(LeftView, CView)

class PlateDoc : public CDocument
{
    DECLARE_DYNCREATE(PlateDoc)
public:
    ~PlateDoc() override { Log("document deleted"); }
};
IMPLEMENT_DYNCREATE(PlateDoc, CDocument)

class ChildFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(ChildFrame)
public:
    void ChildFramesLeft(int remaining) override { Log(AfxFormat("frames left %d", remaining)); }
    CView* GetViewForID(UINT id) override
    {
        CCreateContext context;
        context.m_pCurrentDoc = GetActiveDocument();
        CWnd* parent = m_bSplit ? static_cast<CWnd*>(&m_wndSplitter) : this;
        const UINT pane = m_bSplit ? AFX_IDW_PANE_FIRST + 1 : AFX_IDW_PANE_FIRST;
        Log(AfxFormat("view for %u", id));
        CRuntimeClass* viewClass = g_viewClass ? g_viewClass : RUNTIME_CLASS(GLView);
        return static_cast<CView*>(AfxCreateView(parent, &context, viewClass, pane));
    }
};
IMPLEMENT_DYNCREATE(ChildFrame, KorChildFrm)

class SplitFrame : public ChildFrame
{
    DECLARE_DYNCREATE(SplitFrame)
public:
    CRuntimeClass* GetPaneClass() override { return RUNTIME_CLASS(LeftView); }
};
IMPLEMENT_DYNCREATE(SplitFrame, ChildFrame)

class ChildFrameTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        g_log = &log;
        savedFont = COGLView::m_statLogFont;
        std::memcpy(savedBackground, fBckClrMdView, sizeof savedBackground);
        std::memcpy(savedInverse, glcInvBckGrnd, sizeof savedInverse);
        resources = std::make_unique<CResourceModule>("korchildfrm_test",
                                                      CResourceModule::program, AddResources);
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(kPlainTemplate, RUNTIME_CLASS(PlateDoc),
                                                  RUNTIME_CLASS(ChildFrame),
                                                  RUNTIME_CLASS(GLView)));
        app->AddDocTemplate(new CMultiDocTemplate(kSplitTemplate, RUNTIME_CLASS(PlateDoc),
                                                  RUNTIME_CLASS(SplitFrame),
                                                  RUNTIME_CLASS(GLView)));
        app->AddDocTemplate(new CMultiDocTemplate(k2DTemplate, RUNTIME_CLASS(PlateDoc),
                                                  RUNTIME_CLASS(ChildFrame),
                                                  RUNTIME_CLASS(View2D)));
        main = MakeMainFrame();
        ASSERT_TRUE(main->LoadFrame(kMainRes));
        app->m_pMainWnd = main;
    }
    void TearDown() override
    {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        resources.reset();
        COGLView::m_statLogFont = savedFont;
        std::memcpy(fBckClrMdView, savedBackground, sizeof savedBackground);
        std::memcpy(glcInvBckGrnd, savedInverse, sizeof savedInverse);
        g_log = nullptr;
        g_viewClass = nullptr;
        HeadlessApp::TearDown();
    }
    virtual CMDIFrameWnd* MakeMainFrame() { return new CMDIFrameWnd; }
    CDocTemplate* Template(int i) const { return app->m_pDocManager->GetTemplates()[i]; }
    ChildFrame* Open(int templ)
    {
        CDocument* doc = Template(templ)->OpenDocumentFile(nullptr);
        EXPECT_NE(doc, nullptr);
        return dynamic_cast<ChildFrame*>(main->MDIGetActive());
    }

    std::vector<std::string> log;
    std::unique_ptr<CResourceModule> resources;
    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* main = nullptr; // deletes itself
    LOGFONT savedFont{};
    float savedBackground[4] = {};
    float savedInverse[3] = {};
};

TEST_F(ChildFrameTest, InverseBackgroundStandsOutAgainstTheModelView)
{
    struct Case {
        float r, g, b;
        float inverse;
    };
    const Case cases[] = {
        {0.0f, 0.0f, 0.0f, 1.0f}, {0.3f, 0.3f, 0.3f, 1.0f}, {0.5f, 0.25f, 0.25f, 0.0f},
        {1.0f, 1.0f, 1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        fBckClrMdView[0] = c.r;
        fBckClrMdView[1] = c.g;
        fBckClrMdView[2] = c.b;
        ChildFrame frame; // no window
        for (float component : glcInvBckGrnd)
            EXPECT_EQ(component, c.inverse) << c.r << " " << c.g << " " << c.b;
    }
    EXPECT_EQ(ChildFrame().m_dClipPlanes[1][2], -1.0);
    EXPECT_EQ(KorChildFrm::m_uiStChldFrmSett, KorApp::m_uiStChldFrmSett);
}

TEST_F(ChildFrameTest, PaneClassSplitsTheFrameWithTheRightPaneActive)
{
    ChildFrame* plain = Open(0);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->m_bSplit, 0);
    EXPECT_EQ(plain->GetActiveView()->GetDlgCtrlID(), int(AFX_IDW_PANE_FIRST));

    ChildFrame* split = Open(1);
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->m_bSplit, 1);
    KorSplitWnd& splitter = split->m_wndSplitter;
    CWnd* left = splitter.GetPane(0, 0);
    CWnd* right = splitter.GetPane(0, 1);
    ASSERT_TRUE(left && right);
    EXPECT_TRUE(dynamic_cast<LeftView*>(left));
    EXPECT_TRUE(dynamic_cast<GLView*>(right));
    EXPECT_EQ(left->GetDlgCtrlID(), 59648);
    EXPECT_EQ(right->GetDlgCtrlID(), 59649);
    EXPECT_EQ(split->GetActiveView(), right);
    EXPECT_EQ(KorSplitWnd::IdFromRowColEx(1, 2), 59648 + 16 + 2);

    // Hiding column 0: the visible pane carries column 0's id, the hidden
    // one column 1's, and its record goes to the end, marked hidden.
    ASSERT_EQ(splitter.m_pColInfoEx.size(), 2u);
    splitter.HideColumn(0);
    EXPECT_EQ(splitter.GetColumnCount(), 1);
    EXPECT_EQ(right->GetDlgCtrlID(), 59648);
    EXPECT_EQ(left->GetDlgCtrlID(), 59649);
    EXPECT_FALSE(left->IsWindowVisible());
    EXPECT_EQ(splitter.m_pColInfoEx[0].nIndex, 1);
    EXPECT_EQ(splitter.m_pColInfoEx[0].bHidden, 0);
    EXPECT_EQ(splitter.m_pColInfoEx[1].nIndex, 0);
    EXPECT_EQ(splitter.m_pColInfoEx[1].bHidden, 1);
    EXPECT_EQ(splitter.m_pRowInfoEx.size(), 1u);
    // The last column is never hidden.
    splitter.HideColumn(1);
    EXPECT_EQ(splitter.GetColumnCount(), 1);
    EXPECT_EQ(splitter.m_pColInfoEx[0].bHidden, 0);
}

TEST_F(ChildFrameTest, SwitchViewReplacesTheViewWithTheOldFont)
{
    std::strcpy(COGLView::m_statLogFont.lfFaceName, "Static");
    ChildFrame* frame = Open(0);
    ASSERT_NE(frame, nullptr);
    auto* old = dynamic_cast<GLView*>(frame->GetActiveView());
    ASSERT_NE(old, nullptr);
    std::strcpy(old->m_Font.m_logFont.lfFaceName, "Chosen");
    fBckClrMdView[0] = fBckClrMdView[1] = fBckClrMdView[2] = 0.9f;
    log.clear();

    frame->SwitchView(50055);
    EXPECT_EQ(frame->m_nViewID, 50055u);
    auto* now = dynamic_cast<GLView*>(frame->GetActiveView());
    ASSERT_NE(now, nullptr);
    EXPECT_NE(now, old);
    EXPECT_EQ(now->createdFace, "Chosen");
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Static");
    EXPECT_EQ(glcInvBckGrnd[0], 0.0f); // chosen again for the light background
    EXPECT_EQ(log, (std::vector<std::string>{"released Static", "view for 50055",
                                             "initial update Chosen", "released Static",
                                             "deleted Static"}));
    // The same id again does nothing.
    log.clear();
    frame->SwitchView(50055);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(frame->GetActiveView(), now);
}

TEST_F(ChildFrameTest, ClosingTellsWhatIsLeftAndKeepsASharedDocument)
{
    ChildFrame* first = Open(0);
    ASSERT_NE(first, nullptr);
    CDocument* doc = first->GetActiveDocument();
    CFrameWnd* second = Template(0)->CreateNewFrame(doc, first);
    ASSERT_NE(second, nullptr);
    Template(0)->InitialUpdateFrame(second, doc);
    ASSERT_EQ(main->GetChildFrames().size(), 2u);
    log.clear();

    // Another frame still shows the document: it stays.
    second->SendMessage(WM_CLOSE);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "frames left 1");
    EXPECT_EQ(std::count(log.begin(), log.end(), "document deleted"), 0);
    EXPECT_EQ(main->GetChildFrames().size(), 1u);
    EXPECT_EQ(app->m_pDocManager->GetOpenDocumentCount(), 1);

    // The last frame of the document closes it.
    log.clear();
    first->SendMessage(WM_CLOSE);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log.front(), "frames left 0");
    EXPECT_EQ(log.back(), "document deleted");
    EXPECT_TRUE(main->GetChildFrames().empty());
    EXPECT_EQ(app->m_pDocManager->GetOpenDocumentCount(), 0);
}

TEST_F(ChildFrameTest, ADocumentThatIsNotAutoDeletedOutlivesItsFrame)
{
    ChildFrame* frame = Open(0);
    ASSERT_NE(frame, nullptr);
    CDocument* doc = frame->GetActiveDocument();
    doc->m_bAutoDelete = FALSE;
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(main->GetChildFrames().empty());
    EXPECT_EQ(app->m_pDocManager->GetOpenDocumentCount(), 1);
    doc->m_bAutoDelete = TRUE;
    doc->OnCloseDocument();
}

TEST_F(ChildFrameTest, SwitchingFromA2DViewKeepsItsParametersAndFitsOnce)
{
    g_viewClass = RUNTIME_CLASS(View2D);
    ChildFrame* frame = Open(2);
    ASSERT_NE(frame, nullptr);
    auto* first = dynamic_cast<View2D*>(frame->GetActiveView());
    ASSERT_NE(first, nullptr);
    first->m_dCentX = 3.0;
    first->m_dScale = 2.5;
    first->m_bSnapOn = true;
    log.clear();

    frame->SwitchView(50050);
    auto* second = dynamic_cast<View2D*>(frame->GetActiveView());
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(frame->m_pViewParams.size(), 8u);
    EXPECT_EQ(frame->m_pViewParams[1], 3.0);
    EXPECT_EQ(frame->m_pViewParams[3], 2.5);
    EXPECT_EQ(frame->m_pViewParams[6], 1.0);
    // The first switch fits the new view to the model.
    EXPECT_EQ(std::count(log.begin(), log.end(), "zoom to fit"), 1);
    EXPECT_EQ(log.back(), "deleted 2D");
    log.clear();
    frame->SwitchView(50051);
    EXPECT_EQ(std::count(log.begin(), log.end(), "zoom to fit"), 0);
    EXPECT_EQ(frame->m_nViewID, 50051u);
}

// The same windows under the framework's main frame.
class MainWithChildTest : public ChildFrameTest
{
protected:
    CMDIFrameWnd* MakeMainFrame() override { return new KorMainFrm; }
    KorMainFrm& Main() { return *static_cast<KorMainFrm*>(main); }
};

TEST_F(MainWithChildTest, GridAndTypedPointsReachTheActive2DView)
{
    g_viewClass = RUNTIME_CLASS(View2D);
    ChildFrame* frame = Open(2);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<View2D*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    Main().InitFrame();
    EXPECT_EQ(view->m_dSnapSpace, 100.0);
    afxui::headless::ToolbarCombo(*Main().GetToolBarManager(), ID_KOR_GRIDSPACE).UserEnter("25");
    EXPECT_EQ(view->m_dSnapSpace, 25.0);

    auto* dlg = new KorDlgCoordInputEx("", 0, main);
    Main().m_pCoordDlg = dlg;
    Main().ShowEnterCoord(1);
    view->m_dCursX = 2.0;
    view->m_dCursY = 3.0;
    dlg->m_dOffX = 1.0;
    dlg->m_dOffY = 2.0;
    main->SendMessage(WM_KOR_ENTER_COORD, KorDlgCoordInput::IDC_OFFSET);
    EXPECT_EQ(dlg->m_dX, 3.0);
    EXPECT_EQ(dlg->m_dY, 5.0);
    EXPECT_EQ(view->m_dCursX, 3.0);
    EXPECT_EQ(view->m_dCursY, 5.0);
    dlg->m_dX = -4.0;
    dlg->m_dY = 6.0;
    main->SendMessage(WM_KOR_ENTER_COORD, KorDlgCoordInput::IDC_ENTER);
    EXPECT_EQ(view->m_dCursX, -4.0);
    EXPECT_EQ(view->m_dCursY, 6.0);
    // A 2D coordinate dialog does not answer the 3D message.
    main->SendMessage(WM_KOR_ENTER_COORD3D, KorDlgCoordInput::IDC_ENTER);
    EXPECT_EQ(view->m_dCursX, -4.0);
}

TEST_F(MainWithChildTest, TypedPointsWithZReachTheActive3DView)
{
    g_viewClass = RUNTIME_CLASS(View3D);
    ChildFrame* frame = Open(2);
    ASSERT_NE(frame, nullptr);
    frame->SwitchView(50055);
    auto* view = dynamic_cast<View3D*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    auto* dlg = new KorDlgCoordInputEx3D("", main);
    Main().m_pCoordDlg = dlg;
    view->m_dCursX = 1.0;
    view->m_dCursY = 1.0;
    view->m_dCursZ = 1.0;
    dlg->m_dOffX = 1.0;
    dlg->m_dOffY = 2.0;
    dlg->m_dOffZ = 3.0;
    main->SendMessage(WM_KOR_ENTER_COORD3D, KorDlgCoordInput::IDC_OFFSET);
    EXPECT_EQ(dlg->m_dX, 2.0);
    EXPECT_EQ(dlg->m_dY, 3.0);
    EXPECT_EQ(dlg->m_dZ, 4.0);
    EXPECT_EQ(view->m_dCursZ, 4.0);
    // Cancel from the 3D dialog comes as the 2D message.
    Main().ShowEnterCoord(1);
    main->SendMessage(WM_KOR_ENTER_COORD, IDCANCEL);
    EXPECT_FALSE(dlg->GetSafeHwnd());
}

} // namespace
