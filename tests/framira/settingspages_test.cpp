// The light and screen-colour pages in a sheet, driven as a user would.
#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "framework/framira.h"
#include "glstyle/tincora.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/framira/page_runner.h"

namespace
{

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;
using framira_test::RunPage;

void Fill(float* rgba, float r, float g, float b, float a)
{
    rgba[0] = r;
    rgba[1] = g;
    rgba[2] = b;
    rgba[3] = a;
}

class SettingsPages : public HeadlessApp
{
protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLRenderer::m_dMinEdge = COGLRenderer::m_dMinPoint = 1.0;
        COGLRenderer::m_dMaxEdge = COGLRenderer::m_dMaxPoint = 10.0;
        for (float* light : {ambientLight1, diffuseLight1, specularLight1, ambientLight2,
                             diffuseLight2, specularLight2, ambientLight3, diffuseLight3,
                             specularLight3, lmodel_ambient, mat_specular, mat_emission})
            Fill(light, 0.5f, 0.25f, 1.0f, 0.3f);
        bLightOn[0] = true;
        bLightOn[1] = false;
        bLightOn[2] = true;
        lmodel_twoside[0] = 0.0f;
        lmodel_local_viewer[0] = 1.0f;
        mat_shininess[0] = 20.0f;
        Fill(position2, 1.5f, -2.0f, 3.25f, 0.0f);
    }
    void TearDown() override
    {
        COGLRenderer::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
};

// An OpenGL view without a window that counts what the pages ask of it.
class CountingView : public COGLView
{
public:
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect) override {}
    void InvalidateList() override { ++invalidations; }
    bool ResetOGL() override
    {
        ++resets;
        return true;
    }
    float bg[4] = {};
    int invalidations = 0;
    int resets = 0;
};

class PlainView : public CView
{
    DECLARE_DYNCREATE(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PlainView, CView)

class PlainDoc : public CDocument
{
    DECLARE_DYNCREATE(PlainDoc)
};
IMPLEMENT_DYNCREATE(PlainDoc, CDocument)

// An application whose one template holds two documents: the first shows
// views[0] and a plain view, the second views[1]; views[2] belongs to no
// document. views[0] is the main frame's active view.
struct OpenGLApp {
    OpenGLApp()
    {
        auto* pTemplate = new CMultiDocTemplate(1, RUNTIME_CLASS(PlainDoc),
                                                RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(PlainView));
        app.AddDocTemplate(pTemplate);
        for (CView* view : {static_cast<CView*>(&views[0]), static_cast<CView*>(&plain),
                            static_cast<CView*>(&views[1])}) {
            if (view != &plain) {
                auto* doc = new PlainDoc;
                doc->m_bAutoDelete = FALSE; // the template deletes it with the application
                pTemplate->AddDocument(doc);
            }
            pTemplate->GetDocuments().back()->AddView(view);
        }
        app.m_pMainWnd = &frame;
        frame.SetActiveView(&views[0], FALSE);
    }
    ~OpenGLApp()
    {
        frame.SetActiveView(nullptr, FALSE);
        app.m_pMainWnd = nullptr;
        for (CView* view : {static_cast<CView*>(&views[0]), static_cast<CView*>(&plain),
                            static_cast<CView*>(&views[1])})
            view->GetDocument()->RemoveView(view);
    }

    CWinApp app;
    CFrameWnd frame;
    CountingView views[3];
    PlainView plain;
};

TEST_F(SettingsPages, LightApplyWritesEveryLightAtByteResolution)
{
    KorPPLight page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Check(KorPPLight::IDC_LIGHT2), 0);
        EXPECT_EQ(d.Text(KorPPLight::IDC_SHININESS), "20");
        EXPECT_FALSE(d.Visible(50027));
        int lower = -1, upper = -1;
        page.m_spinShininess.GetRange32(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 128);
        // Light 2's buttons follow its check box.
        for (int k = 3; k < 6; ++k)
            EXPECT_FALSE(d.Enabled(KorPPLight::kButtons[k])) << k;
        EXPECT_TRUE(d.Enabled(KorPPLight::kButtons[0]));
        d.Click(KorPPLight::IDC_LIGHT2);
        for (int k = 3; k < 6; ++k)
            EXPECT_TRUE(d.Enabled(KorPPLight::kButtons[k])) << k;
        d.Click(KorPPLight::IDC_LIGHT3);
        EXPECT_FALSE(d.Enabled(KorPPLight::kButtons[6]));
        d.ChooseColor(50039, RGB(10, 20, 30)); // diffuse of light 2
        EXPECT_TRUE(page.IsModified());
        d.PressOK();
    });
    EXPECT_TRUE(bLightOn[0]);
    EXPECT_TRUE(bLightOn[1]);
    EXPECT_FALSE(bLightOn[2]);
    // 0.5 became byte 127 and came back as 127 / 255; alpha 1.0.
    for (const float* light : {ambientLight1, specularLight3, lmodel_ambient, mat_emission}) {
        EXPECT_FLOAT_EQ(light[0], 127 / 255.0f);
        EXPECT_FLOAT_EQ(light[1], 63 / 255.0f);
        EXPECT_FLOAT_EQ(light[2], 1.0f);
        EXPECT_EQ(light[3], 1.0f);
    }
    EXPECT_FLOAT_EQ(diffuseLight2[0], 10 / 255.0f);
    EXPECT_FLOAT_EQ(diffuseLight2[2], 30 / 255.0f);
    EXPECT_EQ(position2[0], 1.5f);
    EXPECT_EQ(position2[1], -2.0f);
    EXPECT_EQ(position2[2], 3.25f);
    EXPECT_EQ(position2[3], 0.0f);
    EXPECT_EQ(lmodel_local_viewer[0], 1.0f);
    EXPECT_EQ(mat_shininess[0], 20.0f);
}

TEST_F(SettingsPages, LightRestoreDefaultsKeepsTheLightThreePosition)
{
    KorPPLight page;
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        script.MessageBox("Please enter a number between 0 and 128.");
        d.Type(KorPPLight::IDC_SHININESS, "200");
        d.PressOK(); // refused: the sheet stays open
        d.Click(KorPPLight::IDC_RESTORE);
        EXPECT_EQ(d.Text(KorPPLight::IDC_SHININESS), "60");
        EXPECT_EQ(d.Check(KorPPLight::IDC_TWO_SIDE), 1);
        EXPECT_EQ(d.Check(KorPPLight::IDC_LIGHT3), 0);
        d.PressOK();
    });
    EXPECT_EQ(mat_shininess[0], 60.0f);
    EXPECT_EQ(lmodel_twoside[0], 1.0f);
    EXPECT_TRUE(bLightOn[0]);
    EXPECT_FALSE(bLightOn[1]);
    EXPECT_FALSE(bLightOn[2]);
    EXPECT_FLOAT_EQ(diffuseLight1[0], 192 / 255.0f);
    EXPECT_FLOAT_EQ(mat_specular[2], 127 / 255.0f);
    EXPECT_EQ(specularLight2[0], 0.0f);
    EXPECT_EQ(position2[0], 1.5f);
    EXPECT_EQ(position2[2], 3.25f);
}

TEST_F(SettingsPages, ScreenColoursGetTheirAlphasAndTextNone)
{
    Fill(fBckClrRsView, 0.2f, 0.2f, 0.2f, 0.7f);
    Fill(fBckClrMdView, 1.0f, 1.0f, 1.0f, 0.7f);
    for (double* c : {dGridColor, dAxisColor}) {
        c[0] = c[1] = c[2] = 0.5;
        c[3] = 0.25;
    }
    glcTextClr[0] = glcTextClr[1] = glcTextClr[2] = 0.0f;
    KorPPScreenClr page;
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        EXPECT_EQ(d.Text(50118), "&r");
        d.ChooseColor(50121, RGB(255, 0, 0)); // text
        d.ChooseColor(50120, RGB(0, 255, 0)); // grid
        d.PressOK();
    });
    EXPECT_FLOAT_EQ(fBckClrRsView[0], 51 / 255.0f);
    EXPECT_EQ(fBckClrRsView[3], 0.0f);
    EXPECT_EQ(fBckClrMdView[0], 1.0f);
    EXPECT_EQ(fBckClrMdView[3], 0.0f);
    EXPECT_EQ(dGridColor[0], 0.0);
    EXPECT_EQ(dGridColor[1], 1.0);
    EXPECT_EQ(dGridColor[3], 1.0);
    EXPECT_DOUBLE_EQ(dAxisColor[0], 127 / 255.0);
    EXPECT_EQ(dAxisColor[3], 1.0);
    EXPECT_EQ(glcTextClr[0], 1.0f);
    EXPECT_EQ(glcTextClr[1], 0.0f);
}

TEST_F(SettingsPages, OpenGLSettingsWriteTheWidthsAndSizes)
{
    double* globals[8] = {&THIN_EDGE,      &MEDIUM_EDGE, &WIDE_EDGE,      &SMALL_POINT,
                          &MEDIUM_S_POINT, &LARGE_POINT, &MEDIUM_L_POINT, &AXIS_WIDTH};
    for (int i = 0; i < 8; ++i)
        *globals[i] = 1.0 + i;
    KorPPOGLSett page(nullptr);
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(d.Text(KorPPOGLSett::kSizeEdits[i]), CString(std::to_string(1 + i).c_str()));
        EXPECT_EQ(d.Text(KorPPOGLSett::IDC_SEL_OBJECTS), "256");
        // Filling the fields changes nothing: Apply comes with the first edit.
        CWnd* apply = page.GetParent()->GetDlgItem(ID_APPLY_NOW);
        ASSERT_NE(apply, nullptr);
        EXPECT_FALSE(page.IsModified());
        EXPECT_FALSE(apply->IsWindowEnabled());
        d.Type(16232, "6.5"); // wide edges
        EXPECT_TRUE(page.IsModified());
        EXPECT_TRUE(apply->IsWindowEnabled());
        script.MessageBox("Please enter a number for Axes.");
        d.Type(16237, "thick");
        d.PressApply();
        EXPECT_EQ(WIDE_EDGE, 3.0);
        d.Type(16237, "2.5"); // axes
        d.PressOK();
    });
    EXPECT_EQ(WIDE_EDGE, 6.5);
    EXPECT_EQ(AXIS_WIDTH, 2.5);
    EXPECT_EQ(THIN_EDGE, 1.0);
    EXPECT_EQ(LARGE_POINT, 6.0);
}

TEST_F(SettingsPages, OpenGLSettingsWriteTheRendererSettings)
{
    struct Case {
        const char* objects;
        unsigned int words;
    };
    for (const Case& c : {Case{"256", 1024u}, Case{"0", 0u}, Case{"7", 28u}}) {
        COGLRenderer::bLineSmooth = true;
        COGLRenderer::bPointSmooth = false;
        COGLRenderer::bUseAccel = true;
        COGLRenderer::iSelBufSize = 1030; // four words an object, rounded down
        KorPPOGLSett page(nullptr);
        RunPage(page, [&](DialogDriver& d, ModalScript&) {
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_LINE_SMOOTH), 1);
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_POINT_SMOOTH), 0);
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_NO_ACCEL), 0);
            EXPECT_EQ(d.Text(KorPPOGLSett::IDC_SEL_OBJECTS), "257");
            d.Click(KorPPOGLSett::IDC_LINE_SMOOTH);
            d.Click(KorPPOGLSett::IDC_POINT_SMOOTH);
            d.Click(KorPPOGLSett::IDC_NO_ACCEL);
            d.Type(KorPPOGLSett::IDC_SEL_OBJECTS, c.objects);
            d.PressOK();
        });
        EXPECT_FALSE(COGLRenderer::bLineSmooth) << c.objects;
        EXPECT_TRUE(COGLRenderer::bPointSmooth) << c.objects;
        EXPECT_FALSE(COGLRenderer::bUseAccel) << c.objects;
        EXPECT_EQ(COGLRenderer::iSelBufSize, c.words) << c.objects;
    }
}

TEST_F(SettingsPages, OpenGLSettingsRefuseASelectionBufferThatWouldOverflow)
{
    COGLRenderer::iSelBufSize = 1024;
    KorPPOGLSett page(nullptr);
    RunPage(page, [&](DialogDriver& d, ModalScript& script) {
        // 2^30 objects of four words would wrap to an empty buffer.
        script.MessageBox("Please enter an integer between 0 and 16777216.");
        d.Type(KorPPOGLSett::IDC_SEL_OBJECTS, "1073741824");
        d.PressOK(); // refused: the sheet stays open
        EXPECT_EQ(COGLRenderer::iSelBufSize, 1024u);
        d.Type(KorPPOGLSett::IDC_SEL_OBJECTS, "16777216");
        d.PressOK();
    });
    EXPECT_EQ(COGLRenderer::iSelBufSize, COGLRenderer::kMaxSelBufSize);
}

TEST_F(SettingsPages, AntialiasBoxesFollowTheImplementationsRangesAndRestoreKeepsDisabledOnes)
{
    struct Case {
        double edgeMax, pointMax; // the minimums are 1.0
        bool lineEnabled, pointEnabled;
    };
    const Case cases[] = {
        {10.0, 10.0, true, true},
        {1.4, 10.0, false, true},
        {10.0, 1.25, true, false},
        {1.0, 1.0, false, false},
    };
    for (const Case& c : cases) {
        COGLRenderer::m_dMaxEdge = c.edgeMax;
        COGLRenderer::m_dMaxPoint = c.pointMax;
        COGLRenderer::bLineSmooth = false;
        COGLRenderer::bPointSmooth = false;
        COGLRenderer::iSelBufSize = 400;
        AXIS_WIDTH = 7.0;
        KorPPOGLSett page(nullptr);
        RunPage(page, [&](DialogDriver& d, ModalScript&) {
            EXPECT_EQ(d.Enabled(KorPPOGLSett::IDC_LINE_SMOOTH), c.lineEnabled) << c.edgeMax;
            EXPECT_EQ(d.Enabled(KorPPOGLSett::IDC_POINT_SMOOTH), c.pointEnabled) << c.pointMax;
            d.Click(KorPPOGLSett::IDC_RESTORE);
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_LINE_SMOOTH), c.lineEnabled ? 1 : 0);
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_POINT_SMOOTH), c.pointEnabled ? 1 : 0);
            EXPECT_EQ(d.Check(KorPPOGLSett::IDC_NO_ACCEL), 0);
            EXPECT_EQ(d.Text(KorPPOGLSett::IDC_SEL_OBJECTS), "100");
            d.PressOK();
        });
        EXPECT_EQ(THIN_EDGE, 1.0);
        EXPECT_EQ(MEDIUM_EDGE, 3.0);
        EXPECT_EQ(WIDE_EDGE, 5.0);
        const double points[4] = {SMALL_POINT, MEDIUM_S_POINT, MEDIUM_L_POINT, LARGE_POINT};
        EXPECT_EQ(std::vector<double>(points, points + 4),
                  (std::vector<double>{3.0, 5.0, 7.0, 9.0}));
        EXPECT_EQ(AXIS_WIDTH, 2.0);
        EXPECT_EQ(COGLRenderer::iSelBufSize, 400u);
        EXPECT_TRUE(COGLRenderer::bUseAccel);
    }
}

TEST_F(SettingsPages, OnlyAnAccelerationSwitchResetsTheOpenGLViews)
{
    struct Case {
        bool switchAccel;
        int resets;
    };
    for (const Case& c : {Case{false, 0}, Case{true, 1}}) {
        OpenGLApp program;
        KorPPOGLSett page(&program.views[1]);
        RunPage(page, [&](DialogDriver& d, ModalScript&) {
            d.Type(16230, "4"); // thin edges
            if (c.switchAccel)
                d.Click(KorPPOGLSett::IDC_NO_ACCEL);
            d.PressOK();
        });
        EXPECT_EQ(THIN_EDGE, 4.0);
        EXPECT_EQ(COGLRenderer::bUseAccel, c.switchAccel);
        EXPECT_EQ(program.views[0].resets, c.resets);
        EXPECT_EQ(program.views[1].resets, c.resets);
        EXPECT_EQ(program.views[2].resets, 0) << "a view of no document";
        // The page's own view rebuilds its lists.
        EXPECT_EQ(program.views[1].invalidations, 1);
    }
}

// Lights and the colour scale are compiled into the display lists: every
// OpenGL view of every open document rebuilds its lists, the active one
// or not, whatever view is active; a view of no document is left alone.
TEST_F(SettingsPages, ApplyRebuildsEveryDocumentsOpenGLViewsLists)
{
    for (const bool plainActive : {false, true}) {
        SCOPED_TRACE(plainActive ? "a plain view active" : "an OpenGL view active");
        // OK on the page, then the lists each view rebuilt.
        const auto applied = [plainActive](auto pageType) {
            OpenGLApp program;
            if (plainActive)
                program.frame.SetActiveView(&program.plain, FALSE);
            typename decltype(pageType)::type page;
            RunPage(page, [](DialogDriver& d, ModalScript&) { d.PressOK(); });
            EXPECT_EQ(program.views[0].invalidations, 1);
            EXPECT_EQ(program.views[1].invalidations, 1);
            EXPECT_EQ(program.views[2].invalidations, 0) << "a view of no document";
        };
        applied(std::type_identity<KorPPLight>{});
        applied(std::type_identity<KorPPColorScale>{});
    }
}

TEST_F(SettingsPages, InformationShowsTheImplementationAndOneExtensionALine)
{
    COSMesaSurface surface(16, 16);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    CString extensions = renderer.GetOGLInfo(4);
    ASSERT_NE(extensions.Find(' '), -1);
    KorPPOGLInfo page(&renderer);
    extensions.Replace(" ", "\r\n");
    EXPECT_EQ(page.m_strExtensions, extensions);
    RunPage(page, [&](DialogDriver& d, ModalScript&) {
        for (int field = 0; field < 4; ++field) {
            EXPECT_FALSE(renderer.GetOGLInfo(field).IsEmpty()) << field;
            EXPECT_EQ(d.Text(KorPPOGLInfo::kFields[field]), renderer.GetOGLInfo(field)) << field;
        }
        EXPECT_EQ(d.Text(KorPPOGLInfo::IDC_EXTENSIONS), extensions);
        d.PressOK();
    });
    renderer.CleanUp();
    KorPPOGLInfo empty(nullptr);
    EXPECT_TRUE(empty.m_strExtensions.IsEmpty());
}

} // namespace
