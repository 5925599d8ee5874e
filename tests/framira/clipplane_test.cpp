// The clip planes of a child frame: the arithmetic of the view's plane
// commands, the "Clip-planes" dialog driven as a user would, and the
// frame's hook-up of the one shared dialog.
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <vector>

#include "framework/framira.h"
#include "platform/dimvor/units.h"
#include "platform/ui/headless/afxui_headless.h"
#include "tests/pavesta/layout_check.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;

constexpr double kPi = std::numbers::pi;
constexpr double kTurn = kPi / 20;

struct PlaneSet {
    double eq[6][4] = {{0, 0, 1, 0}, {0, 0, -1, 0}, {-1, 0, 0, 0},
                       {1, 0, 0, 0}, {0, -1, 0, 0}, {0, 1, 0, 0}};
    bool on[6] = {};
    korclip::Planes Planes() { return {eq, on}; }
};

TEST(ClipPlaneMath, VerticalPlanesTurnByATwentiethOfPiAndWrap)
{
    struct Case {
        double a, b;
        bool ccw;
        double angle; // after the turn
    };
    const Case cases[] = {
        {0, -1, true, 3 * kPi / 2 + kTurn},
        {1, 0, false, 2 * kPi - kTurn},
        {0, 0, true, -1.0 + kTurn},                 // no normal: from -1 rad
        {0, 0, false, 2 * kPi - 1.0 - kTurn},      // and wrapped below 0
        {std::cos(2 * kPi - 0.05), std::sin(2 * kPi - 0.05), true, kTurn - 0.05}, // past 2π
        {-3, 0, true, kPi + kTurn},                  // any length
    };
    for (const Case& c : cases) {
        PlaneSet p;
        p.eq[2][0] = c.a, p.eq[2][1] = c.b, p.eq[2][2] = 0.5, p.eq[2][3] = 7;
        p.on[2] = true;
        korclip::RotateVertical(p.Planes(), c.ccw);
        EXPECT_NEAR(p.eq[2][0], std::cos(c.angle), 1e-12) << c.a << " " << c.b << " " << c.ccw;
        EXPECT_NEAR(p.eq[2][1], std::sin(c.angle), 1e-12) << c.a << " " << c.b << " " << c.ccw;
        EXPECT_NEAR(std::hypot(p.eq[2][0], p.eq[2][1]), 1.0, 1e-12);
        EXPECT_EQ(p.eq[2][2], 0.5);
        EXPECT_EQ(p.eq[2][3], 7.0);
        EXPECT_EQ(p.eq[3][0], 1.0); // off: untouched
    }
    EXPECT_NEAR(korclip::NormalAngle(0, -1), 3 * kPi / 2, 1e-15);
    EXPECT_EQ(korclip::NormalAngle(1, 0), 0.0);
}

TEST(ClipPlaneMath, DistanceStepsFollowTheExtentsAndTheResultRange)
{
    PlaneSet p;
    p.on[3] = p.on[5] = true;
    korclip::MoveVertical(p.Planes(), true, 4.0, 5.0, 1.0, 1.0); // diagonal 5
    EXPECT_DOUBLE_EQ(p.eq[3][3], 0.1);
    EXPECT_DOUBLE_EQ(p.eq[5][3], 0.1);
    EXPECT_EQ(p.eq[2][3], 0.0);
    korclip::MoveVertical(p.Planes(), false, 4.0, 5.0, 1.0, 1.0);
    EXPECT_NEAR(p.eq[3][3], 0.0, 1e-15);

    EXPECT_DOUBLE_EQ(korclip::HorizontalStep(1.0, 5.0, -8.0), 0.08);
    EXPECT_DOUBLE_EQ(korclip::HorizontalStep(2.0, 5.0, -8.0), 0.16);
    using H = korclip::Horizontal;
    struct Case {
        H how;
        double below, above;
    };
    for (const Case c : {Case{H::up, -1, 1}, Case{H::down, 1, -1}, Case{H::separate, 1, 1},
                         Case{H::closer, -1, -1}}) {
        PlaneSet q;
        q.on[0] = q.on[1] = true;
        q.on[2] = true;
        korclip::MoveHorizontal(q.Planes(), c.how, 0.5);
        EXPECT_EQ(q.eq[0][3], 0.5 * c.below) << int(c.how);
        EXPECT_EQ(q.eq[1][3], 0.5 * c.above) << int(c.how);
        EXPECT_EQ(q.eq[2][3], 0.0);
        PlaneSet off; // disabled planes stay
        korclip::MoveHorizontal(off.Planes(), c.how, 0.5);
        EXPECT_EQ(off.eq[0][3], 0.0);
        EXPECT_EQ(off.eq[1][3], 0.0);
    }
}

TEST(ClipPlaneMath, DialogAnglesRoundTrip)
{
    for (int degrees : {0, 1, 90, 179, 180, 270, 359}) {
        double a = 0, b = 0;
        korclip::DialogNormal(degrees, a, b);
        EXPECT_EQ(korclip::DialogAngle(a, b), degrees);
    }
    double a = 0, b = 0;
    korclip::DialogNormal(90, a, b);
    EXPECT_NEAR(a, 0.0, 1e-15);
    EXPECT_EQ(b, -1.0);
    EXPECT_EQ(korclip::DialogAngle(0, 0), 123); // from -1 rad
}

// ---- The dialog on a frame --------------------------------------------------------

constexpr UINT kMainRes = 7300, kTemplate = 7301, kOtherTemplate = 7302, kResults = 50055;

class ClipDoc : public KorDoc
{
    DECLARE_DYNCREATE(ClipDoc)
public:
    void Rotate(double, double, double, unsigned, bool) override {}
    bool IsEmpty() override { return true; }
    double GetStressScale() override { return stressScale; }
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
    static inline double stressScale = 2.0;
};
IMPLEMENT_DYNCREATE(ClipDoc, KorDoc)

class OtherDoc : public CDocument
{
    DECLARE_DYNCREATE(OtherDoc)
};
IMPLEMENT_DYNCREATE(OtherDoc, CDocument)

class PlainView : public CView
{
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

class ClipFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(ClipFrame)
public:
    void ChildFramesLeft(int) override {}
    CView* GetViewForID(UINT) override { return nullptr; }
    int redraws = 0;
    std::vector<WPARAM> messages; // 0x407 as it arrives
    void RedrawWindow() override
    {
        ++redraws;
        KorChildFrm::RedrawWindow();
    }

protected:
    LRESULT OnClip(WPARAM w, LPARAM l)
    {
        messages.push_back(w);
        return OnClipPlane(w, l);
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(ClipFrame, KorChildFrm)
BEGIN_MESSAGE_MAP(ClipFrame, KorChildFrm)
ON_MESSAGE(0x407, OnClip)
END_MESSAGE_MAP()

class ClipPlaneTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        savedStandard = iStandard;
        std::memcpy(savedConv, iConv, sizeof savedConv);
        iStandard = 0;
        iConv[0][8][0] = 0; // N/mm^2, factor 1
        iConv[0][0][0] = 1; // m, factor 0.001
        ClipDoc::stressScale = 2.0;
        resources = std::make_unique<CResourceModule>(
            "clipplane_test", CResourceModule::program, [](CResourceModule& m) {
                m.AddStrings({{kMainRes, "Brantel"},
                              {kTemplate, "\nPlate\nPlate\nPlate File (*.plb)\n.plb\nBrantel.Plate\nPlate"},
                              {kOtherTemplate, "\nOther\nOther\nOther File (*.oth)\n.oth\nBrantel.Other\nOther"}});
            });
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(kTemplate, RUNTIME_CLASS(ClipDoc),
                                                  RUNTIME_CLASS(ClipFrame), RUNTIME_CLASS(PlainView)));
        app->AddDocTemplate(new CMultiDocTemplate(kOtherTemplate, RUNTIME_CLASS(OtherDoc),
                                                  RUNTIME_CLASS(ClipFrame), RUNTIME_CLASS(PlainView)));
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->LoadFrame(kMainRes));
        app->m_pMainWnd = main;
    }
    void TearDown() override
    {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        resources.reset();
        iStandard = savedStandard;
        std::memcpy(iConv, savedConv, sizeof savedConv);
        HeadlessApp::TearDown();
    }
    // A new frame showing the results view (or view id).
    ClipFrame* Open(UINT viewId = kResults, int templ = 0)
    {
        app->m_pDocManager->GetTemplates()[templ]->OpenDocumentFile(nullptr);
        auto* frame = dynamic_cast<ClipFrame*>(main->MDIGetActive());
        EXPECT_NE(frame, nullptr);
        if (frame)
            frame->m_nViewID = viewId;
        return frame;
    }
    static KorDlgClipPlane* Dialog() { return dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg); }

    std::unique_ptr<CResourceModule> resources;
    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* main = nullptr; // deletes itself
    int savedStandard = 0;
    int savedConv[2][30][3] = {};
};

// A frame with plane 3 without a normal, plane 4 at 90 degrees and 2 m
// out, levels 4 below and 6 above; below and planes 3 and 5 on.
void SetPlanes(KorChildFrm& frame)
{
    frame.m_dClipPlanes[0][3] = 4.0;
    frame.m_dClipPlanes[1][3] = 6.0;
    frame.m_dClipPlanes[2][0] = frame.m_dClipPlanes[2][1] = 0.0;
    korclip::DialogNormal(90, frame.m_dClipPlanes[3][0], frame.m_dClipPlanes[3][1]);
    frame.m_dClipPlanes[3][3] = 2000.0;
    frame.m_bClipPlanes[0] = frame.m_bClipPlanes[2] = frame.m_bClipPlanes[4] = true;
}

struct PlaneCopy {
    double eq[6][4];
    bool on[6];
    explicit PlaneCopy(const KorChildFrm& f)
    {
        std::memcpy(eq, f.m_dClipPlanes, sizeof eq);
        std::memcpy(on, f.m_bClipPlanes, sizeof on);
    }
    bool operator==(const KorChildFrm& f) const
    {
        return std::memcmp(eq, f.m_dClipPlanes, sizeof eq) == 0 &&
               std::memcmp(on, f.m_bClipPlanes, sizeof on) == 0;
    }
};

TEST_F(ClipPlaneTest, TemplateIsLaidOutCleanly)
{
    EXPECT_EQ(pavesta_test::LayoutFaults(KorDlgClipPlane::IDD), std::vector<std::string>{});
}

TEST_F(ClipPlaneTest, DialogShowsTheFramesPlanesInUnitsAndOpeningWritesNothing)
{
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    SetPlanes(*frame);
    const PlaneCopy before(*frame);
    KorDlgClipPlane dlg(2.0, 13, 8, 3, 0, frame);
    EXPECT_DOUBLE_EQ(dlg.m_dBelow, -2.0);
    EXPECT_DOUBLE_EQ(dlg.m_dAbove, 3.0);
    EXPECT_EQ(dlg.m_iAngle3, 123);
    EXPECT_EQ(dlg.m_iAngle4, 90);
    EXPECT_DOUBLE_EQ(dlg.m_dDist4, 2.0);
    EXPECT_EQ(dlg.m_strUnitBelow, "N/mm\xB2");
    EXPECT_EQ(dlg.m_strUnitAbove, "N/mm\xB2");

    dlg.m_bDynamic = TRUE; // even so, opening applies nothing
    ASSERT_TRUE(dlg.Create());
    DialogDriver d(dlg);
    EXPECT_EQ(d.Caption(), "Clip-planes");
    EXPECT_TRUE(before == *frame);
    EXPECT_EQ(frame->redraws, 0);
    EXPECT_EQ(d.Text(16232), "123");
    EXPECT_EQ(d.Text(16235), "90");
    EXPECT_EQ(d.Text(50089), "N/mm\xB2");
    EXPECT_EQ(d.Check(50091), 1);
    struct Enabled {
        int nID;
        bool enabled;
    };
    for (const Enabled e : {Enabled{16230, true}, Enabled{16231, false}, Enabled{16232, true},
                            Enabled{16233, true}, Enabled{16235, false}, Enabled{16236, false},
                            Enabled{16237, true}, Enabled{16238, true}, Enabled{16239, false},
                            Enabled{50085, false}})
        EXPECT_EQ(d.Enabled(e.nID), e.enabled) << e.nID;
    d.Click(16159); // ticking a plane enables its edit
    EXPECT_TRUE(d.Enabled(16231));

    // A doubled scale halves the shown levels; the frame keeps its planes.
    dlg.m_bDynamic = FALSE;
    d.Click(50091);
    d.Click(50091);
    const PlaneCopy ticked(*frame);
    dlg.SetStressScale(4.0);
    EXPECT_DOUBLE_EQ(dlg.m_dBelow, -1.0);
    EXPECT_DOUBLE_EQ(dlg.m_dAbove, 1.5);
    EXPECT_EQ(d.Text(16230), "-1");
    EXPECT_TRUE(ticked == *frame);
    dlg.DestroyWindow();
}

TEST_F(ClipPlaneTest, ApplyWritesAnglesLevelsAndDistances)
{
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    SetPlanes(*frame);
    KorDlgClipPlane dlg(2.0, 13, 8, 3, 0, frame);
    ASSERT_TRUE(dlg.Create());
    DialogDriver d(dlg);
    d.Type(16232, "90");
    d.Type(16233, "1.5");
    d.Type(16230, "3");
    EXPECT_TRUE(d.Enabled(50080));
    EXPECT_EQ(frame->m_dClipPlanes[2][1], 0.0); // not yet
    d.Click(50080);
    EXPECT_FALSE(d.Enabled(50080));
    EXPECT_NEAR(frame->m_dClipPlanes[2][0], 0.0, 1e-15);
    EXPECT_EQ(frame->m_dClipPlanes[2][1], -1.0);
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[2][3], 1500.0);
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[0][3], -6.0);
    EXPECT_TRUE(frame->m_bClipPlanes[2]);
    EXPECT_EQ(frame->redraws, 1);
    // Read back, the frame shows what was typed.
    dlg.ReInit(2.0);
    EXPECT_EQ(d.Text(16232), "90");
    EXPECT_EQ(d.Text(16230), "3");
    dlg.DestroyWindow();
}

TEST_F(ClipPlaneTest, DynamicApplyCancelAndOk)
{
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    SetPlanes(*frame);
    auto* dlg = new KorDlgClipPlane(2.0, 13, 8, 3, 0, frame);
    KorChildFrm::m_pClpPlnDlg = dlg;
    ASSERT_TRUE(dlg->Create());
    DialogDriver d(*dlg);

    d.Type(16238, "4"); // dynamic off: nothing moves
    EXPECT_EQ(frame->m_dClipPlanes[4][3], 0.0);
    d.Click(50091); // on: every keystroke moves the plane
    d.Type(16238, "5");
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[4][3], 5000.0);

    // Cancel writes nothing and the frame closes the window.
    d.Click(50091);
    const PlaneCopy kept(*frame);
    d.Type(16238, "9");
    d.Click(16159);
    d.PressCancel();
    EXPECT_TRUE(kept == *frame);
    PumpPosted();
    EXPECT_EQ(frame->messages, std::vector<WPARAM>{2});
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);

    // OK writes and the window goes as well.
    ASSERT_TRUE(dlg->Create());
    DialogDriver again(*dlg);
    again.Type(16238, "7");
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[4][3], 5000.0);
    again.PressOK();
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[4][3], 7000.0);
    PumpPosted();
    EXPECT_EQ(frame->messages, (std::vector<WPARAM>{2, 1}));
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
}

TEST_F(ClipPlaneTest, ADocumentWithoutValueScaleShowsTheLevelsUnscaled)
{
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    SetPlanes(*frame);
    frame->m_bClipPlanes[1] = true;
    const PlaneCopy kept(*frame);
    KorDlgClipPlane dlg(0.0, 13, 8, 3, 0, frame);
    EXPECT_DOUBLE_EQ(dlg.m_dAbove, 6.0);
    dlg.ReInit(std::nan(""));
    EXPECT_DOUBLE_EQ(dlg.m_dBelow, -4.0);
    dlg.SetStressScale(0.0);
    EXPECT_DOUBLE_EQ(dlg.m_dAbove, 6.0);
    dlg.UpdateParent();
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[0][3], 4.0);
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[1][3], 6.0);
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[3][3], kept.eq[3][3]);
}

TEST_F(ClipPlaneTest, ARefusedValueIsReportedOnceAndReachesNoFrame)
{
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    SetPlanes(*frame);
    KorDlgClipPlane dlg(2.0, 13, 8, 3, 0, frame);
    ASSERT_TRUE(dlg.Create());
    DialogDriver d(dlg);
    d.Click(50091);
    const PlaneCopy kept(*frame);
    afxui::headless::ModalScript script;
    script.MessageBox("Please enter a number for Plane 5 Distance.");
    d.Type(16238, "abc");
    EXPECT_TRUE(kept == *frame);
    EXPECT_EQ(frame->redraws, 0);
    script.MessageBox("Please enter a number for Plane 5 Distance.");
    d.PressOK(); // stays open
    PumpPosted();
    EXPECT_TRUE(frame->messages.empty());
    EXPECT_NE(dlg.GetSafeHwnd(), nullptr);
    d.Type(16238, "2");
    EXPECT_DOUBLE_EQ(frame->m_dClipPlanes[4][3], 2000.0);
    dlg.DestroyWindow();
}

TEST_F(ClipPlaneTest, CommandTogglesTheDialogOnlyOnTheResultsView)
{
    ClipFrame* other = Open(50056);
    ASSERT_NE(other, nullptr);
    EXPECT_FALSE(other->QueryCommandUI(50054).bEnabled);
    // A document that is not a framework one gives the scale 1.
    EXPECT_EQ(Open(kResults, 1)->ClipPlaneScale(), 1.0);
    ClipFrame* frame = Open();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->QueryCommandUI(50054).bEnabled);
    frame->m_dClipPlanes[1][3] = 6.0;
    frame->SendCommand(50054);
    KorDlgClipPlane* dlg = Dialog();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->m_pFrame, frame);
    EXPECT_EQ(dlg->m_dScale, 2.0); // the document's stress scale
    EXPECT_EQ(dlg->m_iQuantH, 13);
    EXPECT_EQ(dlg->m_iConvH, 8);
    EXPECT_EQ(dlg->m_iQuantV, 3);
    EXPECT_EQ(dlg->m_iConvV, 0);
    EXPECT_DOUBLE_EQ(dlg->m_dAbove, 3.0);
    EXPECT_NE(dlg->GetSafeHwnd(), nullptr);
    frame->SendCommand(50054);
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
    EXPECT_EQ(Dialog(), dlg); // the object stays
    frame->SendCommand(50054);
    EXPECT_NE(dlg->GetSafeHwnd(), nullptr);

    // Switching the view destroys the window first.
    frame->SwitchView(50056);
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
}

TEST_F(ClipPlaneTest, ActivationRebindsOrDeletesAndTheLastFrameDeletes)
{
    ClipFrame* first = Open();
    ClipFrame* second = Open();
    ASSERT_TRUE(first && second);
    second->SendCommand(50054);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->m_pFrame, second);

    first->m_dClipPlanes[0][3] = 8.0;
    main->MDIActivate(first);
    ASSERT_NE(Dialog(), nullptr);
    EXPECT_EQ(Dialog()->m_pFrame, first);
    EXPECT_DOUBLE_EQ(Dialog()->m_dBelow, -4.0);

    second->m_nViewID = 50056;
    main->MDIActivate(second);
    EXPECT_EQ(Dialog(), nullptr);

    second->m_nViewID = kResults;
    second->SendCommand(50054);
    ASSERT_NE(Dialog(), nullptr);
    first->SendMessage(WM_CLOSE);
    ASSERT_NE(Dialog(), nullptr);
    second->SendMessage(WM_CLOSE);
    EXPECT_EQ(Dialog(), nullptr);
}

TEST_F(ClipPlaneTest, ClosingTheBoundFrameInTheBackgroundUnbindsTheDialog)
{
    ClipFrame* background = Open();
    ClipFrame* active = Open();
    ASSERT_TRUE(background && active);
    active->SendCommand(50054);
    KorDlgClipPlane* dlg = Dialog();
    ASSERT_NE(dlg, nullptr);
    dlg->SetParent(background, 2.0, 13, 8, 3, 0);
    ASSERT_EQ(main->MDIGetActive(), active);

    background->SendMessage(WM_CLOSE);
    ASSERT_EQ(Dialog(), dlg);
    EXPECT_EQ(dlg->m_pFrame, nullptr);
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
    // Without a frame, applying writes nowhere and OK is a plain OK.
    const PlaneCopy kept(*active);
    ASSERT_TRUE(dlg->Create());
    DialogDriver d(*dlg);
    d.Click(50091);
    d.Click(16160);
    d.Type(16233, "3"); // applied at once, to no frame
    EXPECT_FALSE(d.Enabled(50080));
    EXPECT_TRUE(kept == *active);
    d.PressOK();
    PumpPosted();
    EXPECT_TRUE(active->messages.empty());
}

} // namespace
