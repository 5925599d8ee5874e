// The results view on an OSMesa surface inside a child frame of the main
// frame, over the analysed plate sample: view parameters, value scaling,
// the legend, hover and picking of result points, the status bar and the
// results file.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/shell/brantelresview.h"
#include "examples/samples.h"
#include "framework/kordlgclipplane.h"
#include "glstyle/pickcull.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/ui/osmesa/afxui_osmesa.h"
#include "platform/ui/osmesa/viewdriver.h"
#include "platform/dimvor/units.h"
#include "tests/shell/pages_fixture.h"
#include "tests/support/safe_write_cases.h"
#include "tests/support/temp_files.h"

namespace
{

using namespace shelltest;
using afxui::headless::ToolbarCombo;

// The results view whose OpenGL set-up waits for the test's surface.
class TestResView : public CBrantelResView
{
    DECLARE_DYNCREATE(TestResView)
public:
    void OnInitialUpdate() override
    {
        if (hosted)
            CBrantelResView::OnInitialUpdate();
    }
    bool hosted = false;
};
IMPLEMENT_DYNCREATE(TestResView, CBrantelResView)

class ResultsView : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        previousFactory = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&factory);
        settings = KorChildFrm::m_uiStChldFrmSett;
        app = std::make_unique<CWinApp>();
        app->AddDocTemplate(new CMultiDocTemplate(IDR_PLATE, RUNTIME_CLASS(CBrantelDoc),
                                                  RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(TestResView)));
        main = new CMainFrame;
        ASSERT_TRUE(main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        app->m_pMainWnd = main;
        main->InitFrame();
        doc = dynamic_cast<CBrantelDoc*>(app->m_pDocManager->GetTemplates()[0]->OpenDocumentFile(nullptr));
        ASSERT_NE(doc, nullptr);
        child = dynamic_cast<CChildFrame*>(main->MDIGetActive());
        ASSERT_NE(child, nullptr);
        view = dynamic_cast<TestResView*>(child->GetActiveView());
        ASSERT_NE(view, nullptr);
        driver = std::make_unique<ViewDriver>(*view, 700, 500);
        driver->Size(700, 500);
        view->hosted = true;
        view->OnInitialUpdate();
        PumpPosted();
    }
    void TearDown() override
    {
        if (analysed)
            doc->UpdateStatics(false);
        driver.reset();
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        app.reset();
        sample.reset();
        KorChildFrm::m_uiStChldFrmSett = settings;
        AfxSetOffscreenFactory(previousFactory);
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        ShellTest::TearDown();
    }
    // The plate sample's model, meshed and analysed, in the view's document.
    // A node of the mesh with elements: the first element's first node.
    CSNode* FirstMeshNode()
    {
        CSNode* node = nullptr;
        for (POSITION pos = Comp()->GetHeadPosition(); pos && !node;)
            if (auto* region = dynamic_cast<CSectMeshArea*>(Comp()->GetNext(pos)))
                region->DM_OnElements(
                    [](CObject* element, void* out) {
                        auto* first = static_cast<CSNode**>(out);
                        if (auto* e = dynamic_cast<CElement*>(element); e && !*first)
                            *first = e->GetNode(0);
                    },
                    &node);
        return node;
    }
    // The mesh node nearest the model point (x, y).
    CSNode* NearestMeshNode(double x, double y)
    {
        struct Search {
            double x, y, best;
            CSNode* node;
        } search{x, y, INFINITY, nullptr};
        for (POSITION pos = Comp()->GetHeadPosition(); pos;)
            if (auto* region = dynamic_cast<CSectMeshArea*>(Comp()->GetNext(pos)))
                region->DM_OnElements(
                    [](CObject* element, void* out) {
                        auto* s = static_cast<Search*>(out);
                        auto* e = dynamic_cast<CElement*>(element);
                        for (POSITION p = e ? e->GetHeadPosition() : nullptr; p;) {
                            CSNode* n = e->GetNextNode(p);
                            const double d = std::hypot(n->x - s->x, n->y - s->y);
                            if (d < s->best) {
                                s->best = d;
                                s->node = n;
                            }
                        }
                    },
                    &search);
        return search.node;
    }
    void Analyse()
    {
        sample = samples::MakePlate();
        std::swap(doc->m_pSectComp, sample->m_pSectComp);
        doc->UpdateStatics(true);
        CStringArray log, errors;
        ASSERT_TRUE(doc->GetPlateComp()->PreCalc(&log, &errors, 0));
        ASSERT_TRUE(doc->GetPlateComp()->Calculate(&log, &errors));
        analysed = true;
        doc->GetPlateComp()->SetActVal(5);
        // The 2D state as the program enters it: the plan state with it.
        view->m_b3D = false;
        view->m_iViewState |= CBrantelResView::kPlanBit;
        view->ZoomToFit();
        view->InvalidateList();
    }
    CPlateComp* Comp() { return doc->GetPlateComp(); }
    CString Pane(int i) { return main->GetStatusBarWnd().GetPaneText(i); }
    // The view drawn again, every pixel of its 700 x 500.
    using Image = std::vector<std::array<std::uint8_t, 4>>;
    Image Picture()
    {
        view->Invalidate(FALSE);
        driver->Draw();
        Image pixels;
        pixels.reserve(700 * 500);
        for (int y = 0; y < 500; ++y)
            for (int x = 0; x < 700; ++x)
                pixels.push_back(driver->Pixel(x, y));
        return pixels;
    }

    // A pixel of another colour: some channel more than 8 apart.
    static bool Differs(const std::array<std::uint8_t, 4>& a, const std::array<std::uint8_t, 4>& b)
    {
        for (int k = 0; k < 3; ++k)
            if (std::abs(int(a[k]) - int(b[k])) > 8)
                return true;
        return false;
    }
    // The plot flat in the plan state or turned in 3D (which stays), as
    // colours or as contour bands; the plot lists are compiled again.
    void ShowPlot(bool turned, bool contour)
    {
        if (turned) {
            view->m_iViewState &= ~CBrantelResView::kPlanBit;
            view->m_b3D = true;
            view->SetAngles(30.0, -20.0, 10.0);
        }
        if (contour)
            view->m_iViewState |= CBrantelResView::kContourBit;
        else
            view->m_iViewState &= ~CBrantelResView::kContourBit;
        view->InvalidateList();
    }

    COSMesaOffscreenFactory factory;
    IOffscreenFactory* previousFactory = nullptr;
    UINT settings = 0;
    bool analysed = false;
    std::unique_ptr<CWinApp> app;
    std::unique_ptr<CBrantelDoc> sample;
    CMainFrame* main = nullptr; // deletes itself
    CBrantelDoc* doc = nullptr;
    CChildFrame* child = nullptr;
    TestResView* view = nullptr;
    std::unique_ptr<ViewDriver> driver;
};

TEST_F(ResultsView, SolidThenExtrudeFollowTheBasesViewParameters)
{
    TestResView plain;
    const int base = plain.Kor3DView::GetNumViewParams();
    ASSERT_EQ(plain.GetNumViewParams(), base + 2);
    std::vector<double> params(static_cast<size_t>(base + 2), 0.0);
    plain.m_bSolid = true;
    plain.m_bExtrude = false;
    EXPECT_EQ(plain.SetViewParam(params.data(), true), base + 2);
    EXPECT_EQ(params[static_cast<size_t>(base)], 1.0);
    EXPECT_EQ(params[static_cast<size_t>(base + 1)], 0.0);
    params[static_cast<size_t>(base)] = 0.0;
    params[static_cast<size_t>(base + 1)] = -0.5;
    plain.SetViewParam(params.data(), false);
    EXPECT_FALSE(plain.m_bSolid);
    EXPECT_TRUE(plain.m_bExtrude);
}

// The zoom rectangle of the results view zooms in 3D as in the plan: drawn
// round the plate's picture with a margin of the plate's size on each side,
// it brings the plate to the middle of the view at a third of the view's
// width or height, whatever the projection. (The 2D conversion of a rotated
// or perspective plot made the rectangle pan the view or zoom the wrong
// part; in perspective it only moved the view.)
TEST_F(ResultsView, TheZoomRectangleZoomsInThreeDimensions)
{
    Analyse();
    struct Box {
        int x0 = 700, y0 = 500, x1 = -1, y1 = -1;
    };
    // The box of the pixels that differ from the background, away from the
    // legend strip on the left and the axis triad in the lower right.
    const auto plateBox = [this] {
        const Image pixels = Picture();
        const auto background = pixels[static_cast<std::size_t>(10 * 700 + 690)];
        Box box;
        for (int y = 0; y < 500; ++y)
            for (int x = 210; x < 700; ++x) {
                if (x > 520 && y > 280)
                    continue;
                if (pixels[static_cast<std::size_t>(y * 700 + x)] == background)
                    continue;
                box.x0 = std::min(box.x0, x);
                box.x1 = std::max(box.x1, x);
                box.y0 = std::min(box.y0, y);
                box.y1 = std::max(box.y1, y);
            }
        return box;
    };
    for (const bool ortho : {true, false}) {
        SCOPED_TRACE(ortho ? "orthographic" : "perspective");
        view->m_b3D = true;
        view->m_bOrtho = ortho;
        view->m_iViewState &= ~CBrantelResView::kPlanBit;
        view->SetAngles(-30.0, 0.0, 20.0);
        view->ZoomToFit();
        // Smaller first, so that the plate lies well inside the view.
        view->ZoomOut(3.0);
        const Box before = plateBox();
        ASSERT_LT(before.x0, before.x1);
        const int w = before.x1 - before.x0, h = before.y1 - before.y0;
        view->SendMessage(WM_COMMAND, ID_KOR_TOOL_ZOOMRECT);
        for (const CPoint corner : {CPoint(before.x0 - w, before.y0 - h), CPoint(before.x1 + w, before.y1 + h)}) {
            driver->Move(corner.x, corner.y);
            driver->Down(corner.x, corner.y);
            driver->Up(corner.x, corner.y);
        }
        EXPECT_EQ(view->m_iTool, VIEWTOOL_ROTATE);
        const Box after = plateBox();
        const double fill = std::max((after.x1 - after.x0) / 700.0, (after.y1 - after.y0) / 500.0);
        EXPECT_NEAR(fill, 1.0 / 3.0, 0.05) << before.x0 << " " << before.x1 << " -> " << after.x0 << " " << after.x1;
        EXPECT_NEAR(0.5 * (after.x0 + after.x1), 350.0, 15.0);
        EXPECT_NEAR(0.5 * (after.y0 + after.y1), 250.0, 15.0);
    }
}

TEST_F(ResultsView, StatusTextsSkipTheCoordinatePanesAndMapElevenAndTwelve)
{
    const struct {
        int index, pane;
    } cases[] = {{11, 2}, {12, 3}, {3, 4}};
    for (const auto& c : cases) {
        view->StatusBarCoordText("text", c.index);
        EXPECT_EQ(Pane(c.pane), "text") << c.index;
    }
    main->GetStatusBarWnd().SetPaneText(2, "kept");
    main->GetStatusBarWnd().SetPaneText(3, "kept");
    view->StatusBarCoordText("lost", 1);
    view->StatusBarCoordText("lost", 2);
    EXPECT_EQ(Pane(2), "kept");
    EXPECT_EQ(Pane(3), "kept");
}

TEST_F(ResultsView, ScaleCommandsActOnTheValueScale)
{
    Analyse();
    Comp()->SetFactor(2.0);
    main->SendCommand(ID_RES_SCALE_UP);
    EXPECT_DOUBLE_EQ(Comp()->GetFactor(), 2.5);
    main->SendCommand(ID_RES_SCALE_DOWN);
    EXPECT_DOUBLE_EQ(Comp()->GetFactor(), 2.0);

    double xmax, ymax, xmin, ymin, max, min;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    Comp()->GetMaxMinResult(max, min, nullptr);
    main->SendCommand(ID_RES_SCALE_NORMALIZE);
    const double span = std::max(std::fabs(xmax - xmin), std::fabs(ymax - ymin)) / 3.0;
    EXPECT_DOUBLE_EQ(Comp()->GetFactor(), span / std::max(std::fabs(max), std::fabs(min)));

    ModalScript script;
    script.Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Stress scale");
        d.Type(KorDlgDblVal::IDC_VALUE, "7");
        d.PressOK();
    });
    main->SendCommand(ID_RES_SCALE_SET);
    EXPECT_DOUBLE_EQ(Comp()->GetFactor(), 7.0);
}

TEST_F(ResultsView, TheLegendStripShowsTheFullColourRange)
{
    Analyse();
    driver->Draw();
    driver->DumpPng("results_view_legend");
    // The strip stands in the left two sevenths of the window.
    std::set<std::array<std::uint8_t, 4>> colours;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 200; x += 4)
            colours.insert(driver->Pixel(x, y));
    EXPECT_GE(colours.size(), 200u);
}

TEST_F(ResultsView, PrintToFileNeedsAPickAndWritesEachNodeOnce)
{
    Analyse();
    EXPECT_FALSE(AfxQueryCommandUI(main, ID_RES_PRINT_TO_FILE).bEnabled);
    CSNode* node = FirstMeshNode();
    ASSERT_NE(node, nullptr);
    view->m_Picks.m_pPending = node;
    EXPECT_TRUE(AfxQueryCommandUI(main, ID_RES_PRINT_TO_FILE).bEnabled);
    view->m_Picks.Click();
    view->m_Picks.m_pPending = node;
    brantel::test::TempFile file("results");
    ASSERT_TRUE(view->WritePickedResults(file.path()).IsEmpty());
    const std::string text = file.readBytes<std::string>();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(text.rfind("     1  ", 0), 0u) << text;

    // The command through its dialog: every failure keeps the old file and
    // shows one message naming it.
    brantel::test::ExpectEachWriteFailureKeepsTheOldFile(
        "Results.txt", [this](const std::string& path, const std::string& cause) {
            FileDialogs().Choose({CString(path.c_str())});
            Boxes().Expect(cause);
            const std::size_t before = Boxes().Shown().size();
            main->SendCommand(ID_RES_PRINT_TO_FILE);
            std::vector<std::string> shown;
            for (std::size_t i = before; i < Boxes().Shown().size(); ++i)
                shown.push_back(Boxes().Shown()[i].text);
            return shown;
        });
}

// The results file writes a plate moment per unit width in the display
// unit of the moment row over its own length: kNm/m (1e-3 x N mm/mm) in SI,
// kip-ft/ft in US units.
TEST_F(ResultsView, PrintToFileWritesMomentsPerUnitWidth)
{
    Analyse();
    Comp()->SetActVal(0);
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    CSNode* node = NearestMeshNode((xmax + xmin) / 2, (ymax + ymin) / 2);
    ASSERT_NE(node, nullptr);
    double stored = 0.0;
    ASSERT_TRUE(resultview::PickedNodeValue(node, 0, 0, stored));
    ASSERT_GT(std::fabs(stored), 1.0) << "N mm/mm at the centre";
    const int system = iStandard;
    for (const int s : {0, 1}) {
        SCOPED_TRACE(s);
        iStandard = s;
        const int* row = iConv[s][2];
        const double factor = MetricToX(s, kUnitMoment, row[0]) / MetricToX(s, kUnitLength, MomentLengthUnit(row[0]));
        view->m_Picks.Remove(nullptr);
        view->m_Picks.m_pPending = node;
        brantel::test::TempFile file("moments");
        ASSERT_TRUE(view->WritePickedResults(file.path()));
        const std::string text = file.readBytes<std::string>();
        const std::string value = static_cast<LPCTSTR>(FormatUnitValue(row[1], row[2], stored * factor));
        EXPECT_NE(text.find("  " + value + "\r\n"), std::string::npos) << text << " " << value;
    }
    iStandard = system;
}

// Moves the mouse over the view on a grid until a result point is under
// the cursor; false when none is found.
bool HoverSomeNode(ViewDriver& driver, CBrantelResView& view)
{
    for (int y = 150; y < 400; y += 7)
        for (int x = 250; x < 650; x += 7) {
            driver.Move(x, y);
            if (view.m_Picks.m_pPending)
                return true;
        }
    return false;
}

// Hovering a result point shows its coordinates in panes 2 and 3 in the
// length unit with that row's number format and digits.
TEST_F(ResultsView, HoveringAResultPointShowsItsCoordinatesInTheLengthUnit)
{
    Analyse();
    view->m_iTool = VIEWTOOL_POINT; // hovering picks only with the pointer
    driver->Draw();
    int* row = iConv[iStandard & 1][0];
    const std::array<int, 3> saved = {row[0], row[1], row[2]};
    const struct {
        int unit, format, digits;
        double factor;
        const char *layout, *name;
    } cases[] = {
        {0, 1, 2, 1.0, "%.2f", "mm"},
        {1, 0, 3, 0.001, "%.3e", "m"},
        {0, 2, 4, 1.0, "%.4g", "mm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        row[0] = c.unit;
        row[1] = c.format;
        row[2] = c.digits;
        view->RemoveSelected(nullptr);
        main->GetStatusBarWnd().SetPaneText(2, "");
        ASSERT_TRUE(HoverSomeNode(*driver, *view));
        const CSNode* node = view->m_Picks.m_pPending;
        EXPECT_EQ(Pane(2), CString(("X:  " + AfxFormat(c.layout, node->x * c.factor) + " " + c.name).c_str()));
        EXPECT_EQ(Pane(3), CString(("Y:  " + AfxFormat(c.layout, node->y * c.factor) + " " + c.name).c_str()));
    }
    row[0] = saved[0];
    row[1] = saved[1];
    row[2] = saved[2];

    // Over an empty corner of the view nothing is pending and the panes keep
    // their texts; a left click there adds nothing.
    view->RemoveSelected(nullptr);
    driver->Move(3, 497);
    EXPECT_EQ(view->m_Picks.m_pPending, nullptr);
    driver->Down(3, 497);
    driver->Up(3, 497);
    EXPECT_EQ(view->m_Picks.Count(), 0);
}

// The pick skips the result points, and the mesh elements and nodes, that
// its window clips before any GL call, and draws the result points from
// the index recorded for the plot on screen: every name a pick returns,
// and the one name the hover chooses, stay the same as a pick that draws
// every point, at the model's corner, edge and centre, outside the model,
// in the flat and in a turned 3D view, after another component or scale
// is chosen, and before the view is drawn again after such a change.
TEST_F(ResultsView, APickReturnsTheSameNamesWhetherOrNotClippedPointsAreSkipped)
{
    Analyse();
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    doc->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double xmid = (xmin + xmax) / 2.0, ymid = (ymin + ymax) / 2.0;
    struct Names {
        std::vector<unsigned> all;
        DWORD chosen = 0;
        bool operator==(const Names&) const = default;
    };
    const auto pick = [&](CPoint at, bool cull, unsigned kinds) {
        CPickWindowCull::SetEnabled(cull);
        Names out;
        unsigned* names = nullptr;
        int count = 0;
        view->PickObject(at, kinds, 10.0f, 10.0f, names, count);
        out.all.assign(names, names + count);
        delete[] names;
        out.chosen = view->PickObject(at.x, at.y, kinds, 10.0f, kinds == 8 ? 0 : 0xFFFFFFFF, 0, nullptr);
        CPickWindowCull::SetEnabled(true);
        return out;
    };
    // The pick window is 10 pixels wide: a pick 4 pixels off a node holds
    // the node near the window's edge.
    const struct {
        const char* name;
        bool turned;
        double x, y;  // near a mesh node, or the view pixel (3, 3) when NAN
        int dx, dy;   // pixels off the node
        bool hits;    // in the flat view: the pick finds a result point
        int component = -1;  // the result component chosen first (-1: kept)
        double scale = 1.0;  // the value scale multiplied by it first
        bool drawn = true;   // the view drawn before the pick
    } cases[] = {
        {"corner", false, xmin, ymin, 0, 0, true},
        {"far corner", false, xmax, ymax, -4, 4, true},
        {"edge", false, xmid, ymin, 4, -4, true},
        {"centre", false, xmid, ymid, 0, 0, true},
        {"off centre", false, xmid, ymid, -4, -3, true},
        {"outside", false, NAN, NAN, 0, 0, false},
        {"centre, another component", false, xmid, ymid, 0, 0, true, 3},
        {"turned corner", true, xmin, ymin, 0, 0, false},
        {"turned edge", true, xmid, ymax, 4, 4, false},
        {"turned centre", true, xmid, ymid, 0, 0, false},
        {"turned off centre", true, xmid, ymid, -4, 3, false},
        {"turned outside", true, NAN, NAN, 0, 0, false},
        {"turned centre, another component", true, xmid, ymid, 0, 0, false, 1},
        {"turned off centre, scaled up", true, xmid, ymid, 3, -2, false, -1, 4.0},
        {"turned centre, scaled down, not drawn", true, xmid, ymid, 0, 0, false, -1, 0.1, false},
        {"turned edge, first component, not drawn", true, xmid, ymax, 4, 4, false, 0, 1.0, false},
    };
    bool turnedHit = false;
    int meshHits = 0, indexed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        view->m_b3D = c.turned;
        view->SetAngles(c.turned ? 35.0 : 0.0, c.turned ? -25.0 : 0.0, c.turned ? 20.0 : 0.0);
        view->InvalidateList();
        driver->Draw();
        if (c.component >= 0)
            Comp()->SetActVal(c.component);
        if (c.component >= 0 || c.scale != 1.0) {
            Comp()->SetFactor(Comp()->GetFactor() * c.scale);
            view->InvalidateList();
            if (c.drawn)
                driver->Draw();
        }
        double px = 3.0, py = 3.0;
        if (!std::isnan(c.x)) {
            const CSNode* node = NearestMeshNode(c.x, c.y);
            ASSERT_NE(node, nullptr);
            px = node->x;
            py = node->y;
            view->GetScreenCoord(px, py);
        }
        const CPoint at(static_cast<int>(px) + c.dx, static_cast<int>(py) + c.dy);
        const Names culled = pick(at, true, 8);
        // A plot on screen is picked from its index; one whose lists wait
        // for the next drawing from the full drawing.
        EXPECT_EQ(view->ResultPoints().IsBuilt(), c.drawn);
        indexed += view->ResultPoints().Size() > 0;
        // The hover finds each picked point's node as the document does.
        for (unsigned name : culled.all) {
            unsigned long id = 0;
            int index = 0;
            resultpick::Decode(name, id, index);
            EXPECT_EQ(view->FindResultNode(id), doc->GetObjectById(id, true)) << id;
        }
        const Names plain = pick(at, false, 8);
        EXPECT_EQ(culled.all, plain.all);
        EXPECT_EQ(culled.chosen, plain.chosen);
        if (!c.turned) {
            EXPECT_EQ(!plain.all.empty(), c.hits);
        }
        turnedHit = turnedHit || (c.turned && !plain.all.empty());
        // The mesh's own elements (9), nodes (10) and edges (12), as the
        // element view picks them.
        for (unsigned kinds : {9u, 10u, 12u, 15u}) {
            SCOPED_TRACE(kinds);
            EXPECT_EQ(pick(at, true, kinds), pick(at, false, kinds));
            meshHits += !c.turned && c.hits && !pick(at, false, kinds).all.empty();
        }
    }
    // The mesh picks' comparison is not one of empty picks.
    EXPECT_GE(meshHits, 10);
    EXPECT_GE(indexed, 12);
    // The turned view's comparison is not one of empty picks.
    EXPECT_TRUE(turnedHit);
    // Bands as the element view makes them, over the whole view, half of
    // it and a strip across the mesh: elements the band holds whole are
    // known hits without drawing, in drawing order with the others.
    COGLRenderer::iSelBufSize = 1 << 16;
    for (bool turned : {false, true}) {
        view->m_b3D = turned;
        view->SetAngles(turned ? 35.0 : 0.0, turned ? -25.0 : 0.0, turned ? 20.0 : 0.0);
        view->InvalidateList();
        driver->Draw();
        const struct {
            CPoint centre;
            float w, h;
        } bands[] = {{{350, 250}, 700.0f, 500.0f}, {{175, 250}, 350.0f, 500.0f}, {{350, 250}, 700.0f, 30.0f}};
        for (const auto& b : bands)
            for (unsigned kinds : {9u, 10u, 11u, 12u, 15u}) {
                SCOPED_TRACE(testing::Message() << (turned ? "turned " : "flat ") << b.w << " x " << b.h
                                                << " kinds " << kinds);
                const auto band = [&](bool cull) {
                    CPickWindowCull::SetEnabled(cull);
                    unsigned* names = nullptr;
                    int count = 0;
                    view->PickObject(b.centre, kinds, b.w, b.h, names, count);
                    std::vector<unsigned> out(names, names + count);
                    delete[] names;
                    CPickWindowCull::SetEnabled(true);
                    return out;
                };
                const std::vector<unsigned> plain = band(false);
                EXPECT_EQ(band(true), plain);
                EXPECT_FALSE(plain.empty());
            }
    }
}

// The element picks' index is built again when the mesh is deleted, made
// again or a mesh node moves: each pick answers as the full selection
// buffer and sees the change.
TEST_F(ResultsView, MeshPicksSeeTheMeshDeletedMadeAgainAndMoved)
{
    Analyse();
    COGLRenderer::iSelBufSize = 1 << 16;
    const auto band = [&](bool cull, unsigned kinds) {
        CPickWindowCull::SetEnabled(cull);
        unsigned* names = nullptr;
        int count = 0;
        view->PickObject(CPoint(350, 250), kinds, 700.0f, 500.0f, names, count);
        std::vector<unsigned> out(names, names + count);
        delete[] names;
        CPickWindowCull::SetEnabled(true);
        return out;
    };
    const auto click = [&](bool cull, CPoint at, unsigned kinds) {
        CPickWindowCull::SetEnabled(cull);
        const DWORD name = view->PickObject(at.x, at.y, kinds, 10.0f, 0xFFFFFFFF, 0, nullptr);
        CPickWindowCull::SetEnabled(true);
        return name;
    };
    const auto same = [&](const char* step) {
        SCOPED_TRACE(step);
        const std::vector<unsigned> all = band(false, 11);
        EXPECT_EQ(band(true, 11), all);
        return all;
    };
    const std::size_t meshed = same("meshed").size();
    EXPECT_GT(meshed, 0u);
    Comp()->DeleteMesh();
    EXPECT_TRUE(same("mesh deleted").empty());
    CStringArray log, errors;
    ASSERT_TRUE(Comp()->PreCalc(&log, &errors, 0));
    EXPECT_EQ(same("meshed again").size(), meshed);
    // A mesh node moved to the view's corner (pixel (5, 5)) is picked there.
    CSNode* moved = NearestMeshNode(0.0, 0.0);
    ASSERT_NE(moved, nullptr);
    double x = 5.0, y = 5.0;
    view->GetRealCoord(x, y, false);
    EXPECT_EQ(click(true, {5, 5}, 10), click(false, {5, 5}, 10));
    moved->SetNodeCoord(x, y, moved->z);
    const DWORD there = click(false, {5, 5}, 10);
    EXPECT_EQ(there, moved->GetID());
    EXPECT_EQ(click(true, {5, 5}, 10), there);
    same("node moved");
}

// Each action compiles again only the lists whose picture it changes: the
// plot lists (the model and result plot, and the plot the contour bands
// cut) and the legend list. Moving, turning, zooming, resizing the view,
// hovering and picking compile nothing.
TEST_F(ResultsView, OnlyTheListsAnActionChangesAreCompiledAgain)
{
    Analyse();
    view->m_iTool = VIEWTOOL_POINT;
    driver->Draw();
    const struct {
        const char* name;
        std::function<void()> act;
        bool plot, legend;
    } cases[] = {
        {"draw again", [&] {}, false, false},
        {"hover", [&] { HoverSomeNode(*driver, *view); }, false, false},
        {"pick", [&] { driver->Down(400, 250); driver->Up(400, 250); }, false, false},
        {"turn", [&] { view->SetAngles(30.0, -20.0, 10.0); view->Invalidate(FALSE); }, false, false},
        {"zoom", [&] { driver->Wheel(350, 250, 2); }, false, false},
        {"resize", [&] { driver->Size(640, 480); }, false, false},
        {"node numbers", [&] { main->SendCommand(ID_SHOW_NODE_NUMBERS); }, false, false},
        {"element numbers", [&] { main->SendCommand(ID_SHOW_ELEM_NUMBERS); }, false, false},
        {"clip levels", [&] { child->m_bClipPlanes[0] = child->m_bClipPlanes[1] = true;
                              main->SendCommand(50060); }, false, false},
        {"clip levels apart", [&] { main->SendCommand(50062); }, false, false},
        {"clip plane turned", [&] { child->m_bClipPlanes[2] = true; main->SendCommand(50056); }, false, false},
        {"clip plane moved", [&] { main->SendCommand(50058); }, false, false},
        {"clip dialog applied", [&] {
             main->SendCommand(50054);
             auto* dialog = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg);
             ASSERT_NE(dialog, nullptr);
             dialog->UpdateParent();
             main->SendCommand(50054);
             std::fill(std::begin(child->m_bClipPlanes), std::end(child->m_bClipPlanes), false);
             view->Invalidate(FALSE);
         }, false, false},
        {"solid", [&] { main->SendCommand(50006); }, true, false},
        {"scale up", [&] { main->SendCommand(ID_RES_SCALE_UP); }, true, false},
        {"extrude", [&] { main->SendCommand(ID_RES_EXTRUDE); }, true, false},
        {"contour", [&] { main->SendCommand(ID_RES_CONTOUR); }, true, false},
        {"component", [&] { Comp()->SetActVal(3); view->InvalidateList(); }, true, true},
        {"document changed", [&] { doc->UpdateAllViews(nullptr); }, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const unsigned plot = view->PlotCompiles(), legend = view->LegendCompiles();
        c.act();
        driver->Draw();
        EXPECT_EQ(view->PlotCompiles() - plot, c.plot ? 1u : 0u);
        EXPECT_EQ(view->LegendCompiles() - legend, c.legend ? 1u : 0u);
    }
}

// A vertical clip plane through the middle of the plate cuts the plot there,
// flat and turned with heights, as colours and as contour bands (in the
// plan state the bands used to stay whole): each of the two planes facing apart blanks a
// large part of the plot, the two parts barely overlap, and with the plane
// off the plain picture comes back. The planes are set where the plot list
// is called, so none of this compiles the plot again.
TEST_F(ResultsView, AClipPlaneCutsThePlotWithoutCompilingIt)
{
    Analyse();
    double xmax, ymax, xmin, ymin;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double mid = 0.5 * (xmin + xmax);
    auto image = [&] { return Picture(); };
    bool* on = child->m_bClipPlanes;
    double* plane = child->m_dClipPlanes[2];
    for (const bool turned : {false, true})
        for (const bool contour : {false, true}) {
            SCOPED_TRACE(turned ? "3D, turned" : "plan");
            SCOPED_TRACE(contour ? "contour bands" : "colour plot");
            ShowPlot(turned, contour);
            EXPECT_EQ((view->m_iViewState & CBrantelResView::kPlanBit) != 0, !turned);
            const Image plain = image();
            const unsigned compiles = view->PlotCompiles();
            on[2] = true;
            const double keepLow[4] = {-1.0, 0.0, 0.0, mid}, keepHigh[4] = {1.0, 0.0, 0.0, -mid};
            std::copy(keepLow, keepLow + 4, plane);
            const Image low = image();
            driver->DumpPng(
                std::string(turned ? "results_view_clipped_3d" : "results_view_clipped") +
                (contour ? "_contour" : ""));
            std::copy(keepHigh, keepHigh + 4, plane);
            const Image high = image();
            on[2] = false;
            const Image back = image();
            EXPECT_EQ(view->PlotCompiles(), compiles);
            EXPECT_TRUE(back == plain);
            std::size_t lowCut = 0, highCut = 0, both = 0;
            for (std::size_t i = 0; i < plain.size(); ++i) {
                const bool a = Differs(low[i], plain[i]), b = Differs(high[i], plain[i]);
                lowCut += a;
                highCut += b;
                both += a && b;
            }
            EXPECT_GT(lowCut, 10000u);
            EXPECT_GT(highCut, 10000u);
            EXPECT_LT(both, (lowCut + highCut) / 50) << lowCut << " " << highCut;
        }
}

// Mesh lines whose elements are smaller than two pixels on screen are drawn
// sharp whatever the setting "smooth lines" says (smoothing cannot show
// them apart and costs several frames' time); larger ones keep it. Zooming
// across the limit compiles nothing: the choice is made where the plot
// list is called. Plan and turned 3D.
TEST_F(ResultsView, MeshLinesDenserThanThePixelsAreDrawnSharp)
{
    Analyse();
    view->m_iViewState |= CBrantelResView::kMeshBit;
    view->InvalidateList();
    struct Restore {
        bool smooth = COGLRenderer::bLineSmooth;
        ~Restore() { COGLRenderer::bLineSmooth = smooth; }
    } restore;
    // The middle of the view, clear of the legend and the axes (whose
    // lines follow the setting in every case).
    auto middle = [](const Image& image) {
        Image part;
        for (int y = 100; y < 400; ++y)
            part.insert(part.end(), image.begin() + y * 700 + 150, image.begin() + y * 700 + 550);
        return part;
    };
    auto smoothedAndSharp = [&] {
        COGLRenderer::bLineSmooth = true;
        Image smoothed = middle(Picture());
        COGLRenderer::bLineSmooth = false;
        Image sharp = middle(Picture());
        COGLRenderer::bLineSmooth = true;
        return std::pair{std::move(smoothed), std::move(sharp)};
    };
    for (const bool turned : {false, true}) {
        SCOPED_TRACE(turned ? "3D, turned" : "plan");
        if (turned) {
            view->m_iViewState &= ~CBrantelResView::kPlanBit;
            view->m_b3D = true;
            view->SetAngles(30.0, -20.0, 10.0);
            view->ZoomToFit();
            view->InvalidateList();
        }
        const auto [fitSmoothed, fitSharp] = smoothedAndSharp();
        const unsigned compiles = view->PlotCompiles();
        EXPECT_TRUE(fitSmoothed != fitSharp)
            << "the sample's elements span many pixels: smoothing shows";
        // The sample's 1922 elements, about 11 pixels across when the plate
        // fills the view, under 2 pixels an eighth as large.
        view->ZoomOut(8.0);
        const auto [farSmoothed, farSharp] = smoothedAndSharp();
        driver->DumpPng(turned ? "results_view_dense_mesh_3d" : "results_view_dense_mesh");
        EXPECT_TRUE(farSmoothed == farSharp);
        EXPECT_TRUE(farSmoothed != fitSmoothed);
        view->ZoomToFit();
        EXPECT_TRUE(middle(Picture()) == fitSmoothed);
        EXPECT_EQ(view->PlotCompiles(), compiles);
    }
}

// The mesh lines lie over every plot, flat and turned, as colours and as
// contour bands: they show with the mesh switch, a clip plane that blanks
// half the plot leaves them whole (the model outline is drawn unclipped),
// and with the switch off the plain picture comes back.
TEST_F(ResultsView, MeshLinesLieWholeOverEveryPlotAndLeaveWithTheSwitch)
{
    Analyse();
    double xmax, ymax, xmin, ymin;
    Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double mid = 0.5 * (xmin + xmax);
    const auto apart = [](const Image& a, const Image& b) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            n += Differs(a[i], b[i]) ? 1 : 0;
        return n;
    };
    const auto meshSwitch = [&](bool on) {
        if (on)
            view->m_iViewState |= CBrantelResView::kMeshBit;
        else
            view->m_iViewState &= ~CBrantelResView::kMeshBit;
        view->InvalidateList();
    };
    bool* clip = child->m_bClipPlanes;
    const double keepLow[4] = {-1.0, 0.0, 0.0, mid};
    std::copy(keepLow, keepLow + 4, child->m_dClipPlanes[2]);
    for (const bool turned : {false, true})
        for (const bool contour : {false, true}) {
            SCOPED_TRACE(turned ? "3D, turned" : "plan");
            SCOPED_TRACE(contour ? "contour bands" : "colour plot");
            ShowPlot(turned, contour);
            meshSwitch(false);
            const Image plain = Picture();
            clip[2] = true;
            const Image plainCut = Picture();
            meshSwitch(true);
            const Image meshedCut = Picture();
            clip[2] = false;
            const Image meshed = Picture();
            driver->DumpPng(std::string(turned ? "results_view_mesh_lines_3d" : "results_view_mesh_lines") +
                            (contour ? "_contour" : ""));
            // The sample's 1922 elements: their lines change thousands of
            // pixels, as many with half the plot cut away.
            const std::size_t lines = apart(meshed, plain);
            EXPECT_GT(lines, 5000u);
            EXPECT_GT(apart(meshedCut, plainCut), lines * 8 / 10);
            EXPECT_GT(apart(plainCut, plain), 10000u) << "the plane cuts the plot";
            meshSwitch(false);
            EXPECT_TRUE(Picture() == plain);
        }
}

// The focus refills the result combo with the active value selected, shows
// the element type in pane 1 and empties the coordinate panes.
TEST_F(ResultsView, FocusRefillsTheResultComboAndEmptiesTheCoordinatePanes)
{
    Analyse();
    doc->ActivateDoc(); // the frame lists the active model's results
    Comp()->SetActVal(3);
    main->UpdateResultList(0);
    CComboBox* combo = dynamic_cast<CComboBox*>(main->GetToolbarCombo(ID_RESULT_COMPONENT));
    ASSERT_NE(combo, nullptr);
    for (int pane : {1, 2, 3})
        main->GetStatusBarWnd().SetPaneText(pane, "old");
    view->SendMessage(WM_SETFOCUS);
    // The thick-plate results of the sample's T18 elements.
    ASSERT_EQ(combo->GetCount(), static_cast<int>(g_arThickPlateResults.GetSize()));
    for (int i = 0; i < combo->GetCount(); ++i) {
        CString item;
        combo->GetLBText(i, item);
        EXPECT_EQ(item, g_arThickPlateResults.GetAt(i)) << i;
    }
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(Pane(1), doc->GetElementTypeName());
    EXPECT_EQ(Pane(2), "");
    EXPECT_EQ(Pane(3), "");
}

// Choosing a result in combo 50114 makes it the active value; only with
// "Automatically scale results" set is the value scale normalised.
TEST_F(ResultsView, TheResultComboSetsTheActiveValueAndScalesOnlyWhenAsked)
{
    Analyse();
    main->UpdateResultList(0);
    ToolbarCombo combo(*main->GetToolBarManager(), ID_RESULT_COMPONENT);
    for (const bool automatic : {false, true}) {
        SCOPED_TRACE(automatic);
        KorChildFrm::m_uiStChldFrmSett = automatic ? settings | CMainFrame::kAutoScaleBit
                                                   : settings & ~CMainFrame::kAutoScaleBit;
        Comp()->SetFactor(123.0);
        combo.UserSelect(2);
        EXPECT_EQ(Comp()->GetActVal(), 2);
        double xmax, ymax, xmin, ymin, max, min;
        Comp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        Comp()->GetMaxMinResult(max, min, nullptr);
        const double normalised =
            std::max(std::fabs(xmax - xmin), std::fabs(ymax - ymin)) / 3.0 / std::max(std::fabs(max), std::fabs(min));
        EXPECT_DOUBLE_EQ(Comp()->GetFactor(), automatic ? normalised : 123.0);
        combo.UserSelect(0);
    }
}

// Shift + right click shows "Res PopUp" at the cursor moved (-30, -10) on the
// screen; its
// items reach the view through the main window, and the click keeps the picks.
TEST_F(ResultsView, ShiftRightClickShowsTheResultsPopup)
{
    Analyse();
    view->m_iTool = 0;
    PopupMenus().Pick(ID_KOR_TOOL_POINTER);
    // Popups take screen points: the main window is not at the screen's
    // corner.
    main->MoveWindow(CRect(200, 100, 1100, 800));
    CPoint screen(0, 0);
    view->ClientToScreen(&screen);
    ASSERT_NE(screen, CPoint(0, 0));
    driver->RightDown(120, 90, MK_SHIFT);
    driver->RightUp(120, 90, MK_SHIFT);
    ASSERT_EQ(PopupMenus().Menus().size(), 1u);
    const auto& shown = PopupMenus().Menus()[0];
    EXPECT_EQ(shown.point, CPoint(screen.x + 90, screen.y + 80));
    ASSERT_EQ(shown.menu.size(), 3u);
    EXPECT_EQ(shown.menu[0].item.strText, "P&ointer");
    EXPECT_TRUE(shown.menu[1].bSeparator);
    EXPECT_EQ(shown.menu[2].item.strText, "Print results to file");
    EXPECT_FALSE(shown.menu[2].item.bEnabled) << "nothing picked yet";
    EXPECT_EQ(view->m_iTool, VIEWTOOL_POINT);

    CSNode* node = FirstMeshNode();
    ASSERT_NE(node, nullptr);
    view->m_Picks.m_pPending = node;
    view->m_Picks.Click();
    ASSERT_EQ(view->m_Picks.Count(), 1);
    PopupMenus().Dismiss();
    driver->RightDown(120, 90, MK_SHIFT);
    driver->RightUp(120, 90, MK_SHIFT);
    ASSERT_EQ(PopupMenus().Menus().size(), 2u);
    EXPECT_TRUE(PopupMenus().Menus()[1].menu[2].item.bEnabled);
    EXPECT_EQ(view->m_Picks.Count(), 1) << "the Shift click undoes no pick";
    driver->RightDown(120, 90);
    driver->RightUp(120, 90);
    EXPECT_EQ(view->m_Picks.Count(), 0);
    EXPECT_EQ(PopupMenus().Menus().size(), 2u) << "no menu without Shift";
    PopupMenus().Verify();
}

} // namespace
