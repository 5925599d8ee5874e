// The framework's 2D views on an OSMesa surface in a headless application:
// the view commands, status-bar texts, zoom rectangle, axis triad and image
// saving of Kor2DView, and the picking, snapping, point input and rotation
// of the modelling view.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "framework/inputdialogs.h"
#include "framework/kor2dmodview.h"
#include "framework/kormainfrm.h"
#include "framework/settingspages.h"
#include "glstyle/drawing_settings.h"
#include "glstyle/pickcull.h"
#include "glview/oglrenderer.h"
#include "glview/secimage.h"
#include "platform/dimvor/dimvor.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "tests/framira/modview_fixture.h"
#include "tests/support/temp_files.h"

using afxui::headless::DialogDriver;
using afxui::headless::HeadlessApp;
using afxui::headless::ModalScript;

namespace
{

CString Caption(const CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return text;
}

// A folder of its own below the test's temporary folder.
std::string TempFolder(const char* name)
{
    const std::string dir = ::testing::TempDir() + name + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// The main window: a frame with the status bar of the programs.
class StatusFrame : public CFrameWnd
{
public:
    CStatusBar m_wndStatusBar;
    bool Make()
    {
        if (!CWnd::Create(nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 800), nullptr, 0))
            return false;
        static const UINT indicators[] = {ID_SEPARATOR, 50033, 50035, 50035, 50034, 0, 0};
        return m_wndStatusBar.Create(this) && m_wndStatusBar.SetIndicators(indicators, 7);
    }
    void PostNcDestroy() override {}
};

class ModViewTest : public HeadlessApp
{
protected:
    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        const float black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        std::copy(black, black + 4, fBckClrMdView);
        iStandard = 0;
        savedRow = {iConv[0][0][0], iConv[0][0][1], iConv[0][0][2]};
        iConv[0][0][0] = 0; // mm
        iConv[0][0][1] = 1; // fixed
        iConv[0][0][2] = 3;
        Kor2DModView::m_uiSelectFilter = 7;
        ASSERT_TRUE(frame.Make());
        app.m_pMainWnd = &frame;
        doc.AddView(&view);
        ASSERT_TRUE(view.Make());
        driver = std::make_unique<ViewDriver>(view, 800, 600);
        driver->Size(800, 600);
        view.InitialUpdate();
        COGLRenderer::bLineSmooth = false;
        COGLRenderer::bPointSmooth = false;
        PumpPosted();
        // 50 pixels a model unit, the model origin at pixel (400, 300).
        view.m_dScale = 100.0;
        view.m_dCentX = view.m_dCentY = 0.0;
        view.m_bShowGrid = false;
        view.m_bShowAxis = false;
    }
    void TearDown() override
    {
        driver.reset();
        doc.RemoveView(&view);
        app.m_pMainWnd = nullptr;
        frame.DestroyWindow();
        iConv[0][0][0] = savedRow[0];
        iConv[0][0][1] = savedRow[1];
        iConv[0][0][2] = savedRow[2];
        AfxSetOffscreenFactory(previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
    CString Pane(int i) { return frame.m_wndStatusBar.GetPaneText(i); }
    std::vector<CObject*> Selected(int type)
    {
        std::vector<CObject*> out;
        if (CObList* list = view.GetInterfHandler()->GetSelList(type))
            for (POSITION pos = list->GetHeadPosition(); pos;)
                out.push_back(list->GetNext(pos));
        return out;
    }
    // A press and release of the pointer tool.
    void Drag(CPoint from, CPoint to, UINT flags = 0)
    {
        driver->Down(from.x, from.y, flags);
        driver->Up(to.x, to.y, flags);
    }

    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    std::array<int, 3> savedRow{};
    CWinApp app;
    StatusFrame frame;
    CModViewDoc doc;
    CModTestView view;
    std::unique_ptr<ViewDriver> driver;
};

// ------------------------------------------------------------ Kor2DView

TEST_F(ModViewTest, ToolCommandsToggleCheckAndDropAStartedCorner)
{
    frame.SetActiveView(&view, FALSE);
    const struct {
        UINT id;
        int mode;
    } tools[] = {{50009, 1}, {50016, 8}, {50021, 2}, {50022, 4}};
    for (const auto& t : tools) {
        SCOPED_TRACE(t.id);
        frame.SendCommand(t.id);
        EXPECT_EQ(view.m_iTool, t.mode);
        EXPECT_EQ(frame.QueryCommandUI(t.id).nCheck, 1);
        frame.SendCommand(t.id);
        EXPECT_EQ(view.m_iTool, 0);
        EXPECT_EQ(frame.QueryCommandUI(t.id).nCheck, 0);
    }
    // A zoom corner started, then another tool: the corner is gone.
    frame.SendCommand(50021);
    driver->Down(100, 100);
    driver->Up(100, 100);
    ASSERT_NE(view.m_pZoomRectNode, nullptr);
    frame.SendCommand(50009);
    EXPECT_EQ(view.m_pZoomRectNode, nullptr);
    frame.SetActiveView(nullptr, FALSE);
}

TEST_F(ModViewTest, ZoomGridAxesSnapAndLimitsCommands)
{
    frame.SetActiveView(&view, FALSE);
    COGL2DView::m_dZoompercent = 20.0;
    frame.SendCommand(50018);
    EXPECT_DOUBLE_EQ(view.m_dScale, 120.0);
    frame.SendCommand(50019);
    EXPECT_DOUBLE_EQ(view.m_dScale, 100.0);
    const struct {
        UINT id;
        bool COGL2DView::*flag;
    } switches[] = {{50003, &COGL2DView::m_bShowGrid}, {50005, &COGL2DView::m_bShowAxis},
                    {50004, &COGL2DView::m_bSnapOn}};
    for (const auto& s : switches) {
        SCOPED_TRACE(s.id);
        const bool before = view.*s.flag;
        frame.SendCommand(s.id);
        EXPECT_NE(view.*s.flag, before);
        EXPECT_EQ(frame.QueryCommandUI(s.id).nCheck, before ? 0 : 1);
    }
    const double scale = view.m_dScale;
    frame.SendCommand(50065);
    EXPECT_TRUE(frame.QueryCommandUI(50065).bEnabled);
    EXPECT_EQ(view.m_dScale, scale);
    frame.SetActiveView(nullptr, FALSE);
}

TEST_F(ModViewTest, ZoomFactorAndOptionsDialogs)
{
    frame.SetActiveView(&view, FALSE);
    COGL2DView::m_dZoompercent = 20.0;
    {
        ModalScript script;
        script.Dialog(KorDlgDblVal::IDD_UNIT, [](DialogDriver& d, CDialog& dlg) {
            EXPECT_EQ(Caption(dlg), "Zoom Factor");
            EXPECT_EQ(d.Text(KorDlgDblVal::IDC_UNIT), "%");
            d.Type(KorDlgDblVal::IDC_VALUE, "50");
            d.PressOK();
        });
        frame.SendCommand(50064);
    }
    EXPECT_DOUBLE_EQ(COGL2DView::m_dZoompercent, 50.0);
    COGL2DView::m_dZoompercent = 20.0;
    {
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver&, CDialog& dlg) {
            auto& sheet = dynamic_cast<CPropertySheet&>(dlg);
            EXPECT_EQ(Caption(sheet), "OpenGL Options");
            ASSERT_EQ(sheet.GetPageCount(), 2);
            EXPECT_NE(dynamic_cast<KorPPOGLSett*>(sheet.GetPage(0)), nullptr);
            EXPECT_NE(dynamic_cast<KorPPOGLInfo*>(sheet.GetPage(1)), nullptr);
            sheet.EndDialog(IDCANCEL);
        });
        frame.SendCommand(50046);
    }
    frame.SetActiveView(nullptr, FALSE);
}

TEST_F(ModViewTest, StatusBarShowsDrawingTimeAndChangedCoordinates)
{
    // A draw of a few pixels takes 0 ms (shown as 1 ms); should the
    // machine stall, the pane still shows the time taken.
    driver->Size(4, 4);
    driver->Draw();
    const int t = view.m_iDrawTime;
    EXPECT_EQ(Pane(4), t == 0 ? CString("Drawing time:     1 ms (1000.0 fps)")
                              : CString(AfxFormat("Drawing time: %5d ms (%.1f fps)", t, 1000.0 / t).c_str()));
    driver->Size(800, 600);
    driver->Move(450, 250); // model (1, 1)
    EXPECT_EQ(Pane(2), "X: 1.000 mm");
    EXPECT_EQ(Pane(3), "Y: 1.000 mm");
    frame.m_wndStatusBar.SetPaneText(2, "");
    driver->Move(450, 250);
    EXPECT_EQ(Pane(2), "") << "unchanged position: no new text";
    iConv[0][0][1] = 0;
    iConv[0][0][2] = 2;
    driver->Move(475, 250);
    EXPECT_EQ(Pane(2), "X: 1.50e+00 mm");
}

TEST_F(ModViewTest, FocusTakesTheMainFramesGridSpacing)
{
    KorMainFrm main;
    main.m_dCurGridSpacing = 2.5;
    app.m_pMainWnd = &main;
    view.SendMessage(WM_SETFOCUS, 0, 0);
    EXPECT_DOUBLE_EQ(view.m_dSnapSpace, 2.5);
    app.m_pMainWnd = &frame;
}

TEST_F(ModViewTest, TruncateCursorCutsToTheShownDigitsOnlyWithoutSnap)
{
    iConv[0][0][2] = 1;
    view.m_dCursX = 1.26;
    view.m_dCursY = -0.34;
    view.TruncateCursor();
    EXPECT_DOUBLE_EQ(view.m_dCursX, 1.3);
    EXPECT_DOUBLE_EQ(view.m_dCursY, -0.3);
    view.m_bSnapOn = true;
    view.m_dCursX = 1.26;
    view.TruncateCursor();
    EXPECT_DOUBLE_EQ(view.m_dCursX, 1.26);
}

TEST_F(ModViewTest, ZoomRectangleTwoClicksAndRubberBand)
{
    view.m_iTool = 2;
    const DWORD counter = CSNode::lIDnode;
    driver->Down(350, 250); // model (-1, 1)
    driver->Up(350, 250);
    ASSERT_NE(view.m_pZoomRectNode, nullptr);
    EXPECT_EQ(CSNode::lIDnode, counter) << "the corner gives its identifier back";
    driver->Move(500, 350);
    driver->Draw();
    int red = 0;
    for (int x = 348; x <= 352; ++x)
        for (int y = 250; y <= 350; ++y) {
            const auto p = driver->Pixel(x, y);
            red += p[0] == 255 && p[1] == 0 && p[2] == 0;
        }
    EXPECT_GT(red, 10) << "red rubber rectangle from the corner to the cursor";
    driver->Down(450, 350); // model (1, -1)
    driver->Up(450, 350);
    EXPECT_EQ(view.m_pZoomRectNode, nullptr);
    EXPECT_EQ(view.m_iTool, 0);
    EXPECT_NEAR(view.m_dCentX, 0.0, 1e-9);
    EXPECT_NEAR(view.m_dCentY, 0.0, 1e-9);
    EXPECT_NEAR(view.m_dScale, 600.0 / 2.0 * 2.0 / 2.0 * 2.0, 1e-9);
}

TEST_F(ModViewTest, AxisTriadOnlyAboveTwoHundredPixels)
{
    for (int size : {201, 200}) {
        SCOPED_TRACE(size);
        driver->Size(size, size);
        driver->Draw();
        bool blue = false;
        const int s = size / 4;
        for (int x = 0; x < s && !blue; ++x)
            for (int y = 0; y < s && !blue; ++y) {
                const auto p = driver->Pixel(x, size - 1 - y);
                blue = p[0] == 0 && p[1] == 0 && p[2] == 255;
            }
        EXPECT_EQ(blue, size > 200);
    }
}

TEST_F(ModViewTest, SaveImageAsksFileAndSizeAndWritesEachFormat)
{
    const std::string dir = TempFolder("modview_save");
    doc.SetPathName((dir + "plate.mem").c_str(), FALSE);
    doc.SetTitle("plate.mem");
    frame.SetActiveView(&view, FALSE);
    for (int index = 1; index <= 4; ++index) {
        SCOPED_TRACE(index);
        static const char* const extensions[] = {"", "bmp", "jpg", "tga", "tif"};
        const CString path = (dir + AfxFormat("shot.%s", extensions[index])).c_str();
        ModalScript script;
        int asked = 0;
        auto sizeStep = [&](double percent, bool ok) {
            script.Dialog(KorDlgDblValTwo::IDD, [=](DialogDriver& d, CDialog& dlg) {
                EXPECT_EQ(Caption(dlg), "Image size");
                (void)d;
                auto& two = dynamic_cast<KorDlgDblValTwo&>(dlg);
                EXPECT_EQ(two.m_strLabel1, "Horizontal");
                EXPECT_EQ(two.m_strLabel2, "Vertical");
                EXPECT_EQ(two.m_strUnit1, "%");
                EXPECT_EQ(two.m_strGroup, "Scaling");
                EXPECT_EQ(two.m_dVal1, 100.0);
                two.m_dVal1 = percent;
                two.m_dVal2 = percent;
                if (ok)
                    two.EndDialog(IDOK);
                else
                    two.EndDialog(IDCANCEL);
            });
        };
        auto fileStep = [&]() {
            script.FileDialog([&, index](const AfxFileDialogRequest& r) {
                ++asked;
                EXPECT_FALSE(r.bOpenFileDialog);
                EXPECT_EQ(r.strDefExt, "bmp");
                EXPECT_EQ(r.strFileName, "plate");
                EXPECT_EQ(r.strFilter, kKorImageFilter);
                EXPECT_EQ(r.strInitialDir, dir.substr(0, dir.size() - 1).c_str());
                AfxFileDialogResult res;
                res.bOK = TRUE;
                res.paths = {path};
                res.nFilterIndex = index;
                return res;
            });
        };
        fileStep();
        sizeStep(100.0, false); // back to the file dialog
        fileStep();
        sizeStep(50.0, true);
        frame.SendCommand(50024);
        EXPECT_EQ(asked, 2);
        std::unique_ptr<SECImage> image(LoadImageFile(path));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->m_nWidth, 400u);
        EXPECT_EQ(image->m_nHeight, 300u);
    }
    frame.SetActiveView(nullptr, FALSE);
}

TEST_F(ModViewTest, SaveImageFailuresAreReported)
{
    const std::string dir = TempFolder("modview_large");
    const GLPixelSize limit = COGLDIB::MaxSize();
    Boxes().Expect(AfxFormat("The image is too large to render (at most %d x %d pixels).", limit.cx, limit.cy));
    const std::string path = dir + "big.bmp";
    EXPECT_FALSE(view.SaveImage(path.c_str(), 1, 100.0 * (limit.cx / 800 + 2), 100.0));
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string nowhere = dir + "missing/shot.bmp";
    Boxes().Expect("The image could not be written to " + nowhere + ".\n" + nowhere +
                   " was not found.");
    EXPECT_FALSE(view.SaveImage(nowhere.c_str(), 1, 10.0, 10.0));
    // A read-only file is kept as it was, and the message says why.
    const std::string kept = dir + "kept.bmp";
    std::ofstream(kept, std::ios::binary) << "old";
    ::chmod(kept.c_str(), 0444);
    Boxes().Expect("The image could not be written to " + kept + ".\nAccess to " + kept +
                   " was denied.");
    EXPECT_FALSE(view.SaveImage(kept.c_str(), 1, 10.0, 10.0));
    std::ifstream in(kept, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    ::chmod(kept.c_str(), 0644);
    std::remove(kept.c_str());
}

TEST_F(ModViewTest, MoveAbsoluteCentresOnTheTypedPoint)
{
    frame.SetActiveView(&view, FALSE);
    view.m_dCentX = -2.0;
    view.m_dCentY = 3.0;
    ModalScript script;
    script.Dialog(KorDlgDblValTwo::IDD, [](DialogDriver&, CDialog& dlg) {
        auto& two = dynamic_cast<KorDlgDblValTwo&>(dlg);
        EXPECT_EQ(Caption(dlg), "Center of screen");
        EXPECT_EQ(two.m_strGroup, "Coordinates");
        EXPECT_EQ(two.m_strUnit1, "mm");
        EXPECT_DOUBLE_EQ(two.m_dVal1, 2.0);
        EXPECT_DOUBLE_EQ(two.m_dVal2, -3.0);
        two.m_dVal1 = 5.0;
        two.m_dVal2 = 7.0;
        two.EndDialog(IDOK);
    });
    frame.SendCommand(50031);
    EXPECT_DOUBLE_EQ(view.m_dCentX, -5.0);
    EXPECT_DOUBLE_EQ(view.m_dCentY, -7.0);
    frame.SetActiveView(nullptr, FALSE);
}

// ------------------------------------------------------------ Kor2DModView

TEST_F(ModViewTest, ClickWithinFivePixelsBandFromSix)
{
    // The corner node in the middle of pixel column 400.
    CSectArea* a = doc.AddSquare(0.01, 0, 1);
    view.m_iTool = 1;
    // A click 4 pixels from the node picks it (a 10-pixel square); a band
    // of 6 pixels ending just before it holds nothing.
    Drag({394, 300}, {399, 300});
    EXPECT_EQ(Selected(2), (std::vector<CObject*>{a->GetNode(0)}));
    Drag({394, 300}, {400, 300});
    EXPECT_TRUE(Selected(2).empty());
}

TEST_F(ModViewTest, ClickPicksTheNodeOnAnEdgeAndEmptySpaceClears)
{
    CSectArea* a = doc.AddSquare(0, 0, 1);
    view.m_iTool = 1;
    Drag({400, 300}, {400, 300});
    EXPECT_EQ(Selected(2), (std::vector<CObject*>{a->GetNode(0)}));
    Drag({600, 100}, {600, 100});
    EXPECT_EQ(view.GetInterfHandler()->GetSelList(2), nullptr);
    Drag({425, 300}, {425, 300}); // the middle of the bottom edge
    ASSERT_EQ(Selected(4).size(), 1u);
}

TEST_F(ModViewTest, BandSelectsOnlyNodesAndShiftKeepsToNodes)
{
    CSectArea* a = doc.AddSquare(0, 0, 1);
    view.m_iTool = 1;
    Drag({380, 320}, {470, 230});
    EXPECT_EQ(Selected(2).size(), 4u);
    EXPECT_TRUE(Selected(4).empty());
    Drag({600, 100}, {600, 100});
    Drag({400, 300}, {400, 300});
    // With Shift and a node selected, the edge under the mouse is not taken.
    Drag({425, 300}, {425, 300}, MK_SHIFT);
    EXPECT_EQ(Selected(2), (std::vector<CObject*>{a->GetNode(0)}));
    EXPECT_TRUE(Selected(4).empty());
    // Shift on the selected node takes it out again.
    Drag({400, 300}, {400, 300}, MK_SHIFT);
    EXPECT_TRUE(Selected(2).empty());
}

TEST_F(ModViewTest, BandStartingInPixelColumnZeroOpens)
{
    doc.AddSquare(-7.99, 0, 1); // left corners at pixel x 0
    view.m_iTool = 1;
    Drag({0, 320}, {60, 230});
    EXPECT_EQ(Selected(2).size(), 4u);
}

// Pick helpers: the same pick with the pick-window cull off (every object
// drawn into the selection buffer) and on (the regions' box tree and the
// cull).
template <class Pick>
auto CulledAndPlain(Pick pick)
{
    CPickWindowCull::SetEnabled(false);
    const auto plain = pick();
    CPickWindowCull::SetEnabled(true);
    return std::make_pair(pick(), plain);
}

std::vector<unsigned> BandNames(Kor2DModView& view, CPoint centre, float w, float h, unsigned filter)
{
    unsigned* names = nullptr;
    int count = 0;
    view.PickObject(centre, filter, w, h, names, count);
    std::vector<unsigned> out(names, names + count);
    delete[] names;
    return out;
}

// The square region (x0, y0) - (x0 + s, y0 + s) with nodes of its own
// only, outside the model's list (to become an inner region).
CSectArea* LooseSquare(double x0, double y0, double s)
{
    auto* area = new CUndoArea;
    CSNode* c[4] = {area->NewNode(x0, y0, 0.0), area->NewNode(x0 + s, y0, 0.0),
                    area->NewNode(x0 + s, y0 + s, 0.0), area->NewNode(x0, y0 + s, 0.0)};
    for (int k = 0; k < 4; ++k)
        area->ConnectNodes(c[k], c[(k + 1) % 4]);
    return area;
}

// A pick skips the nodes, edges and region fills that its window clips
// before any GL call; every answer stays the one of the selection buffer
// over every drawn object: clicks over a lattice of pixels and bands, with
// each selection filter, over shared nodes and edges (ties of equal depth),
// overlapping and coincident regions, a region hidden under another,
// regions outside the view and a region with an inner region and a refine
// point; with exclusions and a name limit.
TEST_F(ModViewTest, CulledPicksAnswerAsTheFullSelectionBuffer)
{
    doc.AddMesh(3);                  // pixels (400, 300) - (550, 150)
    doc.AddSquare(0.5, 0.5, 1.2);    // overlaps four mesh regions
    doc.AddSquare(1.0, 1.0, 1.0);    // on a mesh region's nodes
    doc.AddSquare(2.3, 0.3, 0.2);    // inside a mesh region
    doc.AddSquare(-9.5, 0.0, 1.0);   // left of the view
    doc.AddSquare(2.0, 6.5, 0.5);    // above the view
    doc.AddSquare(7.9, -1.0, 1.0);   // across the right border
    CSectArea* outer = doc.AddSquare(3.05, 1.0, 0.5); // right of the mesh
    outer->InsertSubSect(LooseSquare(3.2, 1.15, 0.2));
    outer->AddRefinePoint(new CSNode(3.12, 1.42, 0.0, nullptr, 0));
    COGLRenderer::iSelBufSize = 4096;
    const auto both = [](auto pick) { return CulledAndPlain(pick); };
    const struct {
        unsigned filter;
        float tolerance;
        bool excludeFirst; // exclude the name the plain pick chose
        bool limited;      // a limit below half of the names given
    } clicks[] = {
        {1, 10.0f, false, false}, {2, 10.0f, false, false}, {4, 10.0f, false, false},
        {6, 10.0f, false, false}, {7, 10.0f, false, false}, {7, 3.0f, false, false},
        {7, 10.0f, true, false},  {6, 10.0f, true, false},  {7, 10.0f, false, true},
    };
    for (const auto& c : clicks) {
        SCOPED_TRACE(testing::Message() << "filter " << c.filter << " tolerance " << c.tolerance
                                        << (c.excludeFirst ? " excluding" : "") << (c.limited ? " limited" : ""));
        int found = 0;
        for (int y = 120; y <= 320; y += 7)
            for (int x = 380; x <= 580; x += 7) {
                DWORD excluded = 0;
                if (c.excludeFirst) {
                    CPickWindowCull::SetEnabled(false);
                    excluded = view.PickObject(x, y, c.filter, c.tolerance, 0xFFFFFFFF, 0, nullptr);
                    CPickWindowCull::SetEnabled(true);
                }
                const DWORD limit = c.limited ? AfxGetSelectionNames().GetCount() / 3 : 0xFFFFFFFF;
                const auto [culled, plain] = both([&] {
                    return view.PickObject(x, y, c.filter, c.tolerance, limit, excluded ? 1 : 0, &excluded);
                });
                ASSERT_EQ(culled, plain) << "at (" << x << ", " << y << ")";
                found += plain != 0;
            }
        EXPECT_GT(found, 50);
    }
    const struct {
        const char* name;
        CPoint centre;
        float w, h;
    } bands[] = {
        {"whole view", {400, 300}, 800.0f, 600.0f}, {"left half of the mesh", {437, 225}, 75.0f, 150.0f},
        {"thin strip over edges", {475, 250}, 200.0f, 3.0f}, {"mesh corner", {550, 150}, 12.0f, 12.0f},
        {"the inner square", {520, 280}, 14.0f, 14.0f},  {"empty space", {700, 500}, 40.0f, 40.0f},
        {"right border", {790, 320}, 30.0f, 50.0f},
    };
    for (const auto& b : bands)
        for (unsigned filter : {1u, 2u, 4u, 7u}) {
            SCOPED_TRACE(testing::Message() << b.name << " filter " << filter);
            const auto [culled, plain] = both([&] { return BandNames(view, b.centre, b.w, b.h, filter); });
            EXPECT_EQ(culled, plain);
            EXPECT_EQ(plain.empty(), std::string(b.name) == "empty space");
        }
    // A selection buffer too small for every hit keeps the first records
    // that fit, hits known without drawing counted as GL's own.
    for (unsigned words : {62u, 64u, 103u})
        for (unsigned filter : {2u, 7u}) {
            SCOPED_TRACE(testing::Message() << words << " words, filter " << filter);
            COGLRenderer::iSelBufSize = words;
            const auto [culled, plain] = both([&] { return BandNames(view, {400, 300}, 800.0f, 600.0f, filter); });
            EXPECT_EQ(culled, plain);
            EXPECT_LE(plain.size(), words / 4);
            EXPECT_GE(plain.size(), words / 4 - 1);
        }
    COGLRenderer::iSelBufSize = 4096;
    // A user clip plane (kept: x <= 1.5 in eye space, here model units)
    // clips objects the band holds: they are no hits.
    const std::vector<unsigned> unclipped = BandNames(view, {400, 300}, 800.0f, 600.0f, 7);
    const GLdouble plane[4] = {-1.0, 0.0, 0.0, 1.5};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glClipPlane(GL_CLIP_PLANE0, plane);
    glPopMatrix();
    glEnable(GL_CLIP_PLANE0);
    const auto [clippedCulled, clipped] = both([&] { return BandNames(view, {400, 300}, 800.0f, 600.0f, 7); });
    glDisable(GL_CLIP_PLANE0);
    EXPECT_EQ(clippedCulled, clipped);
    EXPECT_LT(clipped.size(), unclipped.size());
    EXPECT_FALSE(clipped.empty());
}

// The regions' box tree is built again after every edit that moves, adds
// or removes a pickable object, so a pick after the edit sees it: a node
// moved, a region translated, added, unlinked and linked again, and the
// model taken back by undo. Each pick answers as the full selection buffer.
TEST_F(ModViewTest, PicksSeeEveryEditBetweenThem)
{
    doc.AddMesh(3); // pixels (400, 300) - (550, 150)
    COGLRenderer::iSelBufSize = 4096;
    CSectComp* model = doc.m_pSectComp;
    CSelectionNames& names = AfxGetSelectionNames();
    // The click at the pixel with the filter, culled and plain alike.
    const auto click = [&](CPoint at, unsigned filter) {
        const auto [culled, plain] =
            CulledAndPlain([&] { return view.PickObject(at.x, at.y, filter, 10.0f, 0xFFFFFFFF, 0, nullptr); });
        EXPECT_EQ(culled, plain) << "at (" << at.x << ", " << at.y << ") filter " << filter;
        const auto [band, plainBand] = CulledAndPlain([&] { return BandNames(view, {400, 300}, 800.0f, 600.0f, 7); });
        EXPECT_EQ(band, plainBand);
        return names.ObjectOf(culled);
    };
    CSectArea* corner = static_cast<CSectArea*>(model->CObList::GetTail()); // (2, 2) - (3, 3)
    CSNode* far = corner->GetNode(2);                                        // (3, 3)
    EXPECT_EQ(click({550, 150}, 2), far);
    EXPECT_EQ(click({650, 250}, 2), nullptr);

    far->SetNodeCoord(5.0, 1.0, 0.0); // to pixel (650, 250)
    EXPECT_EQ(click({650, 250}, 2), far);
    EXPECT_EQ(click({550, 150}, 2), nullptr);

    CSectArea* added = doc.AddSquare(-4.0, -3.0, 1.0); // pixels (200, 450) - (250, 400)
    EXPECT_EQ(click({225, 425}, 1), added);

    added->Translate(0.0, 4.0, 0.0, true); // to pixels (200, 250) - (250, 200)
    EXPECT_EQ(click({225, 425}, 1), nullptr);
    EXPECT_EQ(click({225, 225}, 1), added);

    ASSERT_TRUE(model->Remove(added));
    EXPECT_EQ(click({225, 225}, 1), nullptr);
    model->AddTail(added);
    EXPECT_EQ(click({225, 225}, 1), added);

    // Undo brings back the model as it was before the edit: the new
    // composite's regions are picked, the edit's region is not.
    doc.UpdateUndo(true);
    doc.AddSquare(4.0, -4.0, 1.0); // pixels (600, 500) - (650, 450)
    CObject* late = click({625, 475}, 1);
    EXPECT_NE(late, nullptr);
    ASSERT_TRUE(doc.Undo());
    ASSERT_NE(doc.m_pSectComp, model);
    EXPECT_EQ(click({625, 475}, 1), nullptr);
    CObject* back = click({225, 225}, 1);
    EXPECT_NE(back, nullptr);
    EXPECT_NE(back, added); // a copy in the restored composite
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(click({625, 475}, 1), late);
}

TEST_F(ModViewTest, IsMouseOverSnapsToNodesBeforeEdges)
{
    CSectArea* a = doc.AddSquare(0, 0, 1);
    (void)a;
    const struct {
        double x, y;
        unsigned flags;
        double sx, sy;
    } cases[] = {
        {0.1, 0.05, 1, 0.0, 0.0},  // 5 pixels from a corner, on an edge too
        {0.5, 0.1, 2, 0.5, 0.0},   // near the bottom edge
        {0.5, 0.5, 0, 0.5, 0.5},   // the middle: nothing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        CSNode cursor(c.x, c.y, 0.0, nullptr, 0);
        EXPECT_EQ(view.IsMouseOver(&cursor), c.flags != 0);
        EXPECT_EQ(cursor.m_uiFlags, c.flags);
        EXPECT_NEAR(cursor.x, c.sx, 1e-12);
        EXPECT_NEAR(cursor.y, c.sy, 1e-12);
    }
}

TEST_F(ModViewTest, PressRunsInsideTheDocumentCountersAndHandsPointsOver)
{
    CSNode anchor(0.0, 0.0, 0.0, nullptr, 0);
    view.m_uiEditMode = 8;
    view.anchor = &anchor;
    doc.m_nNodeID = 50;
    const DWORD counter = 50;
    driver->Down(450, 250);
    driver->Up(450, 250);
    EXPECT_EQ(doc.log, (std::vector<std::string>{"statics in", "point 2", "statics out"}));
    ASSERT_EQ(view.points.size(), 1u);
    EXPECT_DOUBLE_EQ(view.points[0]->x, 1.0);
    EXPECT_DOUBLE_EQ(view.points[0]->y, 1.0);
    EXPECT_EQ(CSNode::lIDnode, counter) << "the point gave its identifier back";
    EXPECT_EQ(doc.m_nNodeID, counter);
    // Snapped: the point is the cursor's.
    view.m_Cursor.m_uiFlags = 1;
    view.m_Cursor.x = 3.0;
    view.m_Cursor.y = 4.0;
    view.anchor = nullptr;
    view.m_uiEditMode = 2;
    driver->Down(450, 250);
    ASSERT_EQ(view.points.size(), 2u);
    EXPECT_DOUBLE_EQ(view.points[1]->x, 3.0);
    EXPECT_EQ(doc.log.back(), "statics out");
    EXPECT_EQ(doc.log[doc.log.size() - 2], "point 1");
}

TEST_F(ModViewTest, DocumentClearsTheViewsSelection)
{
    CSectArea* a = doc.AddSquare(0, 0, 1);
    view.AddSelect(a->GetNode(0), 2, true);
    view.AddSelect(a->GetNode(1), 2, false);
    doc.RemoveSelected(a->GetNode(0), nullptr);
    EXPECT_EQ(Selected(2), (std::vector<CObject*>{a->GetNode(1)}));
    doc.UpdateUndo(true);
    doc.Undo(); // the model is swapped: nothing selected may point into the old one
    EXPECT_EQ(view.GetInterfHandler()->GetSelList(2), nullptr);
}

TEST_F(ModViewTest, FilterComboSetsTheSelectionFilter)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(nullptr, "", WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 100, 100), &view, 50008));
    for (const char* s : {"Nodes", "Edges", "Areas", "All"})
        combo.AddString(s);
    const UINT expected[] = {2, 4, 1, 7};
    for (int i = 0; i < 4; ++i) {
        combo.SetCurSel(i);
        Kor2DModView::m_uiSelectFilter = 99;
        CNotifySenderScope scope(combo.GetSafeHwnd());
        view.OnCmdMsg(50008, 1, nullptr, nullptr);
        EXPECT_EQ(Kor2DModView::m_uiSelectFilter, expected[i]) << i;
    }
    combo.DestroyWindow();
}

TEST_F(ModViewTest, RotateAllObjects)
{
    frame.SetActiveView(&view, FALSE);
    doc.AddSquare(0, 0, 1);
    iConv[0][0][0] = 1; // metres: the centre is typed in metres
    const struct {
        const char* angle;
        bool turns;
        double radians;
    } cases[] = {
        {"720", false, 0.0},
        {"0", false, 0.0},
        {"90", true, M_PI / 2.0},
        {"45", true, M_PI / 4.0},
        {"180", true, M_PI},
        {"270", true, 3.0 * M_PI / 2.0},
        {"-90", true, -90.0 * 0.017453292519943295},
        {"450", true, M_PI / 2.0},
        {"1e17", true, 280.0 * 0.017453292519943295}, // brought into range at once
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.angle);
        doc.log.clear();
        doc.rotations.clear();
        doc.SetModifiedFlag(FALSE);
        ModalScript script;
        script.Dialog(KorDlgRotate::IDD, [&](DialogDriver& d, CDialog&) {
            d.Type(50072, c.angle);
            d.Type(50073, "2");
            d.Type(50071, "3");
            d.PressOK();
        });
        frame.SendCommand(50012);
        EXPECT_EQ(doc.rotations.size(), c.turns ? 1u : 0u);
        EXPECT_EQ(doc.log.size(), c.turns ? 1u : 0u) << "an undo copy only for a turn";
        EXPECT_EQ(doc.IsModified() != FALSE, c.turns);
        if (c.turns) {
            EXPECT_EQ(doc.rotations[0].angle, c.radians);
            EXPECT_DOUBLE_EQ(doc.rotations[0].cx, 2000.0);
            EXPECT_DOUBLE_EQ(doc.rotations[0].cy, 3000.0);
        }
    }
    KorDlgRotate::m_dGlob[0] = KorDlgRotate::m_dGlob[1] = 0.0;
    KorDlgRotate::m_dGlob[2] = 45.0;
    frame.SetActiveView(nullptr, FALSE);
}

TEST_F(ModViewTest, SelectionAndSnappedCursorDrawn)
{
    const double large = LARGE_POINT, medium = MEDIUM_L_POINT, small = MEDIUM_S_POINT;
    LARGE_POINT = 9.0;
    MEDIUM_L_POINT = 7.0;
    MEDIUM_S_POINT = 3.0;
    float inverse[3];
    std::copy(glcInvBckGrnd, glcInvBckGrnd + 3, inverse);
    const float white[3] = {1.0f, 1.0f, 1.0f};
    std::copy(white, white + 3, glcInvBckGrnd);
    CSectArea* a = doc.AddSquare(0, 0, 1);
    view.GetInterfHandler()->AddSelect(a->GetNode(2), 2, true); // (1, 1) at (450, 250)
    // The cursor snapped to the node at (0.5, -1) with a tool in use.
    view.m_iTool = 1;
    view.m_Cursor.x = 0.5;
    view.m_Cursor.y = -1.0;
    view.m_Cursor.m_uiFlags = 1;
    driver->Draw();
    LARGE_POINT = large;
    MEDIUM_L_POINT = medium;
    MEDIUM_S_POINT = small;
    std::copy(inverse, inverse + 3, glcInvBckGrnd);
    const auto centre = driver->Pixel(425, 350), ring = driver->Pixel(429, 350);
    EXPECT_TRUE(centre[0] == 255 && centre[1] == 255 && centre[2] == 255) << "snapped: light point";
    EXPECT_TRUE(ring[0] == 255 && ring[1] == 0 && ring[2] == 0) << "on a red one";
    EXPECT_EQ(driver->Pixel(450, 250)[0], 255);
    EXPECT_EQ(driver->Pixel(450, 250)[2], 0);
    EXPECT_EQ(driver->Pixel(454, 250)[2], 255) << "blue around the red";
}

} // namespace
