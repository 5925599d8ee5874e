// A results view on the framework's 3D view in a child frame on a display:
// the clip-plane command opens "Clip-planes", ticking "Cut everything
// below" with dynamic applying cuts the drawn plate at once, and a drag
// with the rotation tool turns the view.
#include <cmath>
#include <memory>

#include <GL/gl.h>

#include <QCheckBox>
#include <QTest>

#include "framework/framira.h"
#include "platform/ui/qt/tests/glviews_gui/glviews.h"

namespace glviews
{
namespace
{

constexpr UINT kMainRes = 7500, kTemplate = 7501;

class PlateDoc : public KorDoc
{
    DECLARE_DYNCREATE(PlateDoc)
public:
    void Rotate(double, double, double, unsigned, bool) override {}
    bool IsEmpty() override { return false; }
    double GetStressScale() override { return 1.0; }
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
};
IMPLEMENT_DYNCREATE(PlateDoc, KorDoc)

// A meshed, saddle-shaped plate of 20 x 15 elements over +-20 by +-15,
// cut by the frame's enabled clip planes.
class PlateView : public Kor3DView
{
    DECLARE_DYNCREATE(PlateView)
public:
    void FindModelExtents() override
    {
        SetMaxMin(20.0, 15.0, 4);
        SetMaxMin(-20.0, -15.0, 2);
    }
    bool DrawStaticScene() override
    {
        auto* frame = dynamic_cast<KorChildFrm*>(GetParentFrame());
        for (int k = 0; frame && k < 6; ++k) {
            glClipPlane(GL_CLIP_PLANE0 + k, frame->m_dClipPlanes[k]);
            if (frame->m_bClipPlanes[k])
                glEnable(GL_CLIP_PLANE0 + k);
        }
        auto z = [](double x, double y) { return 0.02 * (x * x - y * y); };
        glBegin(GL_QUADS);
        for (int i = 0; i < 20; ++i)
            for (int j = 0; j < 15; ++j) {
                const double x = -20.0 + 2.0 * i, y = -15.0 + 2.0 * j;
                glColor3f(0.2f + 0.04f * i, 0.8f, 0.3f + 0.04f * j);
                glVertex3d(x, y, z(x, y));
                glVertex3d(x + 2, y, z(x + 2, y));
                glVertex3d(x + 2, y + 2, z(x + 2, y + 2));
                glVertex3d(x, y + 2, z(x, y + 2));
            }
        glEnd();
        for (int k = 0; k < 6; ++k)
            glDisable(GL_CLIP_PLANE0 + k);
        return Kor3DView::DrawStaticScene();
    }
};
IMPLEMENT_DYNCREATE(PlateView, Kor3DView)

class ResultFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(ResultFrame)
public:
    void ChildFramesLeft(int) override {}
    CView* GetViewForID(UINT) override { return nullptr; }
};
IMPLEMENT_DYNCREATE(ResultFrame, KorChildFrm)

class View3DOnQt : public GLViewsOnQt
{
protected:
    void SetUp() override
    {
        GLViewsOnQt::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        resources = std::make_unique<CResourceModule>(
            "view3d_gui_test", CResourceModule::program, [](CResourceModule& m) {
                m.AddStrings({{kMainRes, "Brantel"},
                              {kTemplate, "\nPlate\nPlate\nPlate (*.plb)\n.plb\nBrantel.Plate\nPlate"}});
            });
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(kTemplate, RUNTIME_CLASS(PlateDoc),
                                                  RUNTIME_CLASS(ResultFrame), RUNTIME_CLASS(PlateView)));
        main = new CMDIFrameWnd;
        ASSERT_TRUE(main->Create(nullptr, "Brantel", WS_OVERLAPPEDWINDOW, CRect(0, 0, 800, 600), nullptr, 0));
        app->m_pMainWnd = main;
        main->ShowWindow(SW_SHOW);
        app->m_pDocManager->GetTemplates()[0]->OpenDocumentFile(nullptr);
        frame = dynamic_cast<ResultFrame*>(main->MDIGetActive());
        ASSERT_NE(frame, nullptr);
        frame->m_nViewID = 50055;
        view = dynamic_cast<PlateView*>(frame->GetActiveView());
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(WaitFor([&] { return GLWidget(*view) && view->m_bInitialized && view->m_iWidth > 220; }));
        view->m_bShowGrid = false;
        view->ZoomToFit();
        view->SetAngles(-60.0, 0.0, -30.0);
        view->InvalidateList();
        view->Invalidate(FALSE);
    }
    void TearDown() override
    {
        if (app && app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        resources.reset();
        GLViewsOnQt::TearDown();
    }
    // The view's frame once a repaint has shown something new.
    QImage Changed(const QImage& before)
    {
        QImage now;
        WaitFor([&] {
            now = Frame(*view);
            return !now.isNull() && now != before;
        });
        return now;
    }

    std::unique_ptr<CResourceModule> resources;
    std::unique_ptr<CWinApp> app;
    CMDIFrameWnd* main = nullptr; // deletes itself
    ResultFrame* frame = nullptr;
    PlateView* view = nullptr;
};

TEST_F(View3DOnQt, CutBelowWithDynamicApplyChangesTheImage)
{
    QImage before;
    ASSERT_TRUE(WaitFor([&] {
        before = Frame(*view);
        return !before.isNull();
    }));
    frame->SendCommand(50054);
    auto* dlg = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg);
    ASSERT_NE(dlg, nullptr);
    ASSERT_NE(dlg->GetSafeHwnd(), nullptr);
    CString caption;
    dlg->GetWindowText(caption);
    EXPECT_EQ(caption, "Clip-planes");
    auto* dynamic = qobject_cast<QCheckBox*>(AfxQtWidgetOf(dlg->GetDlgItem(KorDlgClipPlane::IDC_DYNAMIC)));
    auto* below = qobject_cast<QCheckBox*>(AfxQtWidgetOf(dlg->GetDlgItem(16234)));
    ASSERT_TRUE(dynamic && below);
    ASSERT_TRUE(WaitFor([&] { return below->isVisible(); }));
    before = Frame(*view);
    QTest::mouseClick(dynamic, Qt::LeftButton, Qt::NoModifier, QPoint(4, below->height() / 2));
    QTest::mouseClick(below, Qt::LeftButton, Qt::NoModifier, QPoint(4, below->height() / 2));
    EXPECT_TRUE(frame->m_bClipPlanes[0]);
    const QImage cut = Changed(before);
    EXPECT_NE(cut, before);
    Save(cut, "view3d_cut_below.png");
    frame->SendCommand(50054);
    EXPECT_EQ(dlg->GetSafeHwnd(), nullptr);
}

TEST_F(View3DOnQt, RotationToolTurnsTheViewOnADrag)
{
    ASSERT_EQ(view->m_iTool, 32);
    const double x = view->m_dAngX, z = view->m_dAngZ;
    QOpenGLWidget* gl = GLWidget(*view);
    QWindow* window = gl->window()->windowHandle();
    const QPoint from = gl->mapTo(gl->window(), QPoint(gl->width() / 2, gl->height() / 2));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(window, from + QPoint(10 * step, 10 * step));
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, from + QPoint(40, 40));
    EXPECT_TRUE(WaitFor([&] { return view->m_dAngX != x || view->m_dAngZ != z; }));
}

} // namespace
} // namespace glviews
