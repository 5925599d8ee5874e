// Results on the display: the sample plate from its file to its deflection
// plot in a real OpenGL widget, hovering and printing that plot, and the
// buckling modes of the shell sample. Dialogs are answered through the
// modal hooks; the pictures are saved among the test artifacts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPrintDialog>
#include <QScreen>
#include <QTest>

#include "app/analysis/analysis.h"
#include "femodel/element.h"
#include "framework/kor2dview.h"
#include "framework/kordlgclipplane.h"
#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"
#include "platform/dimvor/units.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtglservices.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"
#include "tests/support/first_mode_only.h"

namespace
{

using namespace shellgui;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

class ResultsOnQt : public ShellOnQt
{
protected:
    void SetUp() override
    {
        ShellOnQt::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        m_gl.emplace();
        m_previousFolder = std::filesystem::current_path();
        // The solver writes its logs into the current folder.
        std::filesystem::current_path(m_folder);
    }
    void TearDown() override
    {
        if (m_app)
            EndApp(m_app);
        m_gl.reset();
        if (!m_previousFolder.empty())
            std::filesystem::current_path(m_previousFolder);
        ShellOnQt::TearDown();
    }

    // Starts the program on an example file in a window of 1280 x 900.
    CMainFrame* Open(const char* file)
    {
        m_app = std::make_unique<CBrantelApp>();
        m_app->SetCommandLine({Example(file).c_str()});
        if (!m_app->InitInstance())
            return nullptr;
        auto* frame = dynamic_cast<CMainFrame*>(m_app->m_pMainWnd);
        if (!frame)
            return nullptr;
        frame->MoveWindow(CRect(0, 0, 1280, 900));
        frame->ShowWindow(SW_SHOW);
        if (!QTest::qWaitForWindowExposed(AfxQtWidgetOf(frame)))
            return nullptr;
        QCoreApplication::processEvents();
        return frame;
    }
    CChildFrame* Child(CMainFrame& frame) { return dynamic_cast<CChildFrame*>(frame.MDIGetActive()); }
    // Through the frame's command routing, as the menu sends it.
    void Command(CMainFrame& frame, UINT id)
    {
        frame.SendMessage(WM_COMMAND, id);
        QCoreApplication::processEvents();
    }
    // A user's choice in a toolbar combo of the frame.
    void Choose(CMainFrame& frame, UINT combo, int index)
    {
        CWnd* wnd = frame.GetToolbarCombo(combo);
        ASSERT_NE(wnd, nullptr);
        ASSERT_NE(wnd->GetPeer(), nullptr);
        wnd->GetPeer()->UserSelect(index);
        QCoreApplication::processEvents();
    }
    static std::vector<std::string> Items(CMainFrame& frame, UINT combo)
    {
        std::vector<std::string> items;
        auto* box = qobject_cast<QComboBox*>(AfxQtWidgetOf(frame.GetToolbarCombo(combo)));
        for (int i = 0; box && i < box->count(); ++i)
            items.push_back(box->itemText(i).toStdString());
        return items;
    }
    static std::string LogText(bool errors = false)
    {
        KorLogWnd* log = RunLogWindow();
        if (!log)
            return {};
        CString text;
        (errors ? log->GetErrorEdit() : log->GetLogEdit()).GetWindowText(text);
        return std::string(static_cast<LPCTSTR>(text));
    }
    // The results view of the frame's active child, once its widget has
    // drawn.
    CBrantelResView* ResultsView(CMainFrame& frame)
    {
        CChildFrame* child = Child(frame);
        auto* view = child ? dynamic_cast<CBrantelResView*>(child->GetActiveView()) : nullptr;
        if (!view || !GLWidget(*view))
            return nullptr;
        QOpenGLWidget* gl = GLWidget(*view);
        afxui::qt::testing::WaitUntil([gl] { return gl->isVisible() && gl->context() != nullptr; });
        return view;
    }
    static QOpenGLWidget* GLWidget(CWnd& view)
    {
        CQtGLHost* host = CQtGLHost::Of(view.GetSafeHwnd());
        return host ? host->GLWidget() : nullptr;
    }
    // The view's frame, as the widget draws it now, saved as file.
    static QImage Grab(CWnd& view, const char* file)
    {
        const QImage image = GLWidget(view)->grabFramebuffer();
        EXPECT_TRUE(image.save(QDir(afxui::qt::testing::ArtifactsFolder()).filePath(file))) << file;
        return image;
    }
    // The window as the X server shows it (a widget's own grab composes
    // the OpenGL widget with its alpha), saved as file.
    static void SaveScreen(CMainFrame& frame, const char* file)
    {
        QWidget* window = AfxQtWidgetOf(&frame);
        ASSERT_TRUE(window && QTest::qWaitForWindowExposed(window));
        const QImage image = window->screen()->grabWindow(window->winId()).toImage();
        EXPECT_GT(DistinctColours(image, image.rect()), 100u) << file;
        EXPECT_TRUE(image.save(QDir(afxui::qt::testing::ArtifactsFolder()).filePath(file))) << file;
    }
    static std::size_t DistinctColours(const QImage& image, QRect rect)
    {
        std::set<QRgb> colours;
        rect = rect.intersected(image.rect());
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                colours.insert(image.pixel(x, y));
        return colours.size();
    }
    // The active view covers its child frame's whole client area.
    void ExpectViewFillsItsFrame(CMainFrame& frame)
    {
        CChildFrame* child = Child(frame);
        ASSERT_NE(child, nullptr);
        QWidget* view = AfxQtWidgetOf(child->GetActiveView());
        ASSERT_TRUE(view && view->parentWidget());
        EXPECT_EQ(view->geometry(), view->parentWidget()->rect());
        EXPECT_GT(view->width(), 1000) << "the window is 1280 pixels wide";
    }
    // Opens the plate sample, meshes and calculates it, switches to results
    // through the mode combo and chooses "w"; its index, or -1.
    int PlateDeflection(CMainFrame& frame)
    {
        Command(frame, ID_GENERATE_MESH);
        Command(frame, ID_CALCULATE);
        Choose(frame, ID_VIEW_MODE, 1);
        const std::vector<std::string> names = Items(frame, ID_RESULT_COMPONENT);
        const auto w = std::find(names.begin(), names.end(), "w");
        if (w == names.end())
            return -1;
        Choose(frame, ID_RESULT_COMPONENT, int(w - names.begin()));
        return int(w - names.begin());
    }

    std::unique_ptr<CBrantelApp> m_app;
    std::optional<CQtGLServices> m_gl;
    std::filesystem::path m_previousFolder;
};

TEST_F(ResultsOnQt, TheSamplePlateFromFileToItsDeflectionPlot)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    ExpectViewFillsItsFrame(*frame);
    const int w = PlateDeflection(*frame);
    ASSERT_GE(w, 0);
    ExpectViewFillsItsFrame(*frame);

    const std::string log = LogText();
    EXPECT_NE(log.find(" ************** Mesh *****************"), std::string::npos) << log;
    EXPECT_NE(log.find(" ************** CALCULATE *****************"), std::string::npos) << log;
    EXPECT_EQ(LogText(true), "");
    std::vector<std::string> thickPlate;
    for (int i = 0; i < g_arThickPlateResults.GetSize(); ++i)
        thickPlate.push_back(static_cast<LPCTSTR>(g_arThickPlateResults.GetAt(i)));
    EXPECT_EQ(thickPlate.size(), 11u);
    EXPECT_EQ(Items(*frame, ID_RESULT_COMPONENT), thickPlate);

    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    const QImage image = Grab(*view, "brantel-plate-deflection.png");
    ASSERT_FALSE(image.isNull());
    // The legend strip stands in the left two sevenths.
    EXPECT_GE(DistinctColours(image, QRect(0, 0, image.width() * 2 / 7, image.height())), 200u);
    // The deflection is largest at the plate's centre and 0 at its corners.
    CPlateComp* comp = view->GetPlateComp();
    double xmax, ymax, xmin, ymin, max, min;
    comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    comp->GetMaxMinResult(max, min, nullptr);
    const auto colour = [&](double x, double y, double value) {
        view->m_dCursZ = value * comp->GetFactor();
        view->GetScreenCoord(x, y);
        return image.pixel(int(x), int(y));
    };
    const double inset = 0.05 * (xmax - xmin);
    const QRgb centre = colour((xmax + xmin) / 2, (ymax + ymin) / 2, std::fabs(max) > std::fabs(min) ? max : min);
    const QRgb corner = colour(xmin + inset, ymin + inset, 0.0);
    const QRgb background = image.pixel(image.width() - 1, 0);
    EXPECT_NE(centre, corner);
    EXPECT_NE(centre, background);
    EXPECT_NE(corner, background);

    // The extremes of "w": about 0.2111 mm.
    std::vector<double> extremes;
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(VokDlgMaxMinVals), [&](DialogDriver& d, CDialog& dlg) {
        auto& table = static_cast<VokDlgMaxMinVals&>(dlg);
        extremes = {std::atof(table.m_pColumn2->GetAt(w)), std::atof(table.m_pColumn3->GetAt(w))};
        d.PressOK();
    });
    Command(*frame, ID_MAX_MIN_RESULTS);
    ASSERT_EQ(extremes.size(), 2u);
    EXPECT_NEAR(std::max(std::fabs(extremes[0]), std::fabs(extremes[1])), 0.2111, 0.02 * 0.2111);

    SaveScreen(*frame, "brantel-plate-results-window.png");
}

// Hovering a result point with the pointer fills panes 2 and 3; the view
// prints as an image ("print to file" gives a PDF).
TEST_F(ResultsOnQt, HoveringFillsTheCoordinatePanesAndThePlotPrintsAsAnImage)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    ASSERT_GE(PlateDeflection(*frame), 0);
    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    Command(*frame, ID_KOR_TOOL_POINTER);
    ASSERT_EQ(view->m_iTool, VIEWTOOL_POINT);

    QOpenGLWidget* gl = GLWidget(*view);
    CStatusBar& status = frame->GetStatusBarWnd();
    status.SetPaneText(2, "");
    status.SetPaneText(3, "");
    // The mouse moves over the plot until a result point is under it.
    for (int y = gl->height() / 4; y < gl->height() * 3 / 4 && !view->m_Picks.m_pPending; y += 9)
        for (int x = gl->width() / 3; x < gl->width() * 2 / 3 && !view->m_Picks.m_pPending; x += 9) {
            QMouseEvent move(QEvent::MouseMove, QPointF(x, y), gl->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(gl, &move);
        }
    ASSERT_NE(view->m_Picks.m_pPending, nullptr) << "no result point under the mouse";
    EXPECT_EQ(std::string(static_cast<LPCTSTR>(status.GetPaneText(2))).rfind("X:  ", 0), 0u) << status.GetPaneText(2);
    EXPECT_EQ(std::string(static_cast<LPCTSTR>(status.GetPaneText(3))).rfind("Y:  ", 0), 0u) << status.GetPaneText(3);
    QCoreApplication::processEvents();
    Grab(*view, "brantel-plate-hover.png");

    // A client point of the view lies on the screen where its widget shows it.
    CPoint point(10, 20);
    view->ClientToScreen(&point);
    const qreal ratio = gl->devicePixelRatioF();
    const QPoint expected = gl->mapToGlobal(QPointF(10 / ratio, 20 / ratio)).toPoint();
    EXPECT_EQ(point, CPoint(expected.x(), expected.y()));

    const QString pdf = afxui::qt::testing::PrintToArtifactPdf(m_gl->Print().Printer(), "brantel-plate-results.pdf");
    int dialogs = 0;
    {
        afxui::qt::testing::ModalHookScope hook([&](QDialog& dialog) {
            ++dialogs;
            if (qobject_cast<QPrintDialog*>(&dialog))
                dialog.accept();
            else
                dialog.reject();
        });
        Command(*frame, ID_FILE_PRINT);
    }
    EXPECT_EQ(dialogs, 1);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pdf.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
}

// The shell sample's buckling analysis with two modes: the result names
// with both modes, the first eigenvalue in the log and the first mode's
// picture.
TEST_F(ResultsOnQt, TheShellSamplesBucklingModes)
{
    CMainFrame* frame = Open("buckling.shl");
    ASSERT_NE(frame, nullptr);
    Command(*frame, ID_GENERATE_MESH);
    ModalScript script;
    script.Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Caption(), "Number of buckling modes");
        d.Type(KorDlgDblVal::IDC_VALUE, "2");
        d.PressOK();
    });
    Command(*frame, ID_CALCULATE);
    script.Verify();
    EXPECT_EQ(LogText(true), "");

    const std::vector<std::string> names = {
        "Sigma x", "Sigma y", "Tau xy", "u", "v", "Buckling mode 1", "Buckling mode 2", "Sigma_1",
        "Sigma_2", "Eff. stress", "Distorted model", "Inpl. + Buckl. mode 1", "Inpl. + Buckl. mode 2"};
    Choose(*frame, ID_VIEW_MODE, 1);
    EXPECT_EQ(Items(*frame, ID_RESULT_COMPONENT), names);

    // "Eigenvalues:" and a rule of "=" head the list of the modes'
    // eigenvalues.
    const std::string log = LogText();
    const auto table = log.find("Eigenvalues:\r\n");
    ASSERT_NE(table, std::string::npos) << log;
    int mode = 0;
    double eigenvalue = 0.0;
    ASSERT_EQ(std::sscanf(log.c_str() + table + 14, " %*[=] %d %lf", &mode, &eigenvalue), 2) << log.substr(table);
    EXPECT_EQ(mode, 1);
    EXPECT_NEAR(eigenvalue, 75.92, 0.02 * 75.92);

    Choose(*frame, ID_RESULT_COMPONENT, 5);
    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetPlateComp()->GetActVal(), 5);
    const QImage image = Grab(*view, "brantel-buckling-mode-1.png");
    ASSERT_FALSE(image.isNull());
    // The buckled plate fills the middle of the view with many shades.
    const QRect middle(image.width() / 3, image.height() / 4, image.width() / 3, image.height() / 2);
    EXPECT_GE(DistinctColours(image, middle), 50u);
    SaveScreen(*frame, "brantel-buckling-window.png");
}


// Three modes asked for, one delivered: the message after the run gives
// both counts, the result list offers the one mode, and its plot shows.
TEST_F(ResultsOnQt, FewerBucklingModesThanRequestedAreToldAndListed)
{
    CMainFrame* frame = Open("buckling.shl");
    ASSERT_NE(frame, nullptr);
    Command(*frame, ID_GENERATE_MESH);
    brantel::test::OneModeOfThree run;
    Command(*frame, ID_CALCULATE);
    run.Finish();
    EXPECT_EQ(LogText(true), "");

    Choose(*frame, ID_VIEW_MODE, 1);
    EXPECT_EQ(Items(*frame, ID_RESULT_COMPONENT),
              (std::vector<std::string>{"Sigma x", "Sigma y", "Tau xy", "u", "v", "Buckling mode 1", "Sigma_1",
                                        "Sigma_2", "Eff. stress", "Distorted model", "Inpl. + Buckl. mode 1"}));
    Choose(*frame, ID_RESULT_COMPONENT, 5);
    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    const QImage image = Grab(*view, "brantel-buckling-one-of-three.png");
    ASSERT_FALSE(image.isNull());
    const QRect middle(image.width() / 3, image.height() / 4, image.width() / 3, image.height() / 2);
    EXPECT_GE(DistinctColours(image, middle), 50u);
    SaveScreen(*frame, "brantel-buckling-one-of-three-window.png");
}

// ---- Plots an engineer can read ------------------------------------------------------

// How far a pixel is from the colour of legend row i (sum over channels).
int ColourDistance(QRgb pixel, int i)
{
    const auto channel = [&](int value, int k) { return std::abs(value - int(std::lround(255.0 * dColorIndex[i][k]))); };
    return channel(qRed(pixel), 0) + channel(qGreen(pixel), 1) + channel(qBlue(pixel), 2);
}

// The legend row whose colour a pixel shows (smooth shading between
// neighbouring rows allowed), or -1 for any other colour.
int LegendRow(QRgb pixel)
{
    int best = -1, distance = 1 << 30;
    for (int i = 0; i < 256; ++i)
        if (const int d = ColourDistance(pixel, i); d < distance) {
            distance = d;
            best = i;
        }
    return distance <= 24 ? best : -1;
}

// The pixel shows the colour of a legend row near row (neighbouring rows
// may share a colour).
bool ShowsRow(QRgb pixel, int row)
{
    for (int i = std::max(0, row - 16); i <= std::min(255, row + 16); ++i)
        if (ColourDistance(pixel, i) <= 24)
            return true;
    return false;
}

class ResultPlotsOnQt : public ResultsOnQt
{
protected:
    static constexpr UINT kLightCommand = 50027;
    static constexpr UINT kWireframeCommand = 50028;

    // Meshes and calculates the open sample (a buckling run with two modes)
    // and shows its results view.
    CBrantelResView* Calculated(CMainFrame& frame, bool buckling)
    {
        Command(frame, ID_GENERATE_MESH);
        ModalScript script;
        if (buckling)
            script.Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) {
                d.Type(KorDlgDblVal::IDC_VALUE, "2");
                d.PressOK();
            });
        Command(frame, ID_CALCULATE);
        if (buckling)
            script.Verify();
        Choose(frame, ID_VIEW_MODE, 1);
        return ResultsView(frame);
    }
    // The plate sample calculated, its results view in the 2D (plan) state.
    CBrantelResView* PlatePlan(CMainFrame*& frame)
    {
        frame = Open("plate.plb");
        if (!frame)
            return nullptr;
        CBrantelResView* view = Calculated(*frame, false);
        if (view)
            Command(*frame, ID_RES_TWO_DIMENSIONAL);
        return view;
    }
    void Redrawn(CBrantelResView& view)
    {
        view.Invalidate(TRUE);
        view.UpdateWindow();
        QCoreApplication::processEvents();
    }

    // The plot at element centres: each centre at its plotted height (0 in
    // the plan state) against the legend colour of its value.
    struct Samples {
        int taken = 0;    // centres inside the view
        int legend = 0;   // in a legend colour
        int matching = 0; // in the legend colour of the value
        std::set<int> bands; // legend rows seen, in eighths of the bar
        std::string Describe() const
        {
            return std::to_string(taken) + " centres, " + std::to_string(legend) + " in legend colours, " +
                   std::to_string(matching) + " in the colour of their value, " + std::to_string(bands.size()) +
                   " bands";
        }
    };
    static Samples ElementCentres(CBrantelResView& view, const QImage& image, int c)
    {
        CPlateComp* comp = view.GetPlateComp();
        Samples samples;
        double max = 0.0, min = 0.0;
        comp->GetMaxMinResult(max, min, nullptr);
        const double range = std::max(std::fabs(max), std::fabs(min));
        int count = 0;
        comp->ForEachMeshElement([&](CElement*) { ++count; });
        const int stride = std::max(1, count / 200);
        int i = 0;
        comp->ForEachMeshElement([&](CElement* element) {
            if (i++ % stride != 0 || !element->HasResults())
                return;
            double x = 0.0, y = 0.0, value = 0.0;
            element->GetCentroid(x, y);
            const int corners = std::min({element->GetCount(), element->GetNumResVects(), 4});
            for (int k = 0; k < corners; ++k)
                value += element->GetStressFromIndex(c, k) / corners;
            view.m_dCursZ = view.m_b3D ? value * comp->GetFactor() : 0.0;
            const QPoint pixel = PixelOf(view, x, y);
            if (!image.rect().contains(pixel))
                return;
            ++samples.taken;
            const int row = LegendRow(image.pixel(pixel));
            if (row < 0)
                return;
            ++samples.legend;
            samples.bands.insert(row / 32);
            if (ShowsRow(image.pixel(pixel), CElement::GetColorIndex_fromRange(value, range)))
                ++samples.matching;

        });
        view.m_dCursZ = 0.0;
        return samples;
    }
    // A grid over the inner part of the plate's extents in the plan state.
    static Samples PlanGrid(CBrantelResView& view, const QImage& image)
    {
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
        view.GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        Samples samples;
        for (int i = 1; i < 12; ++i)
            for (int j = 1; j < 12; ++j) {
                const double x = xmin + (xmax - xmin) * (0.05 + 0.9 * i / 12.0);
                const double y = ymin + (ymax - ymin) * (0.05 + 0.9 * j / 12.0);
                const QPoint pixel = PixelOf(view, x, y);
                if (!image.rect().contains(pixel))
                    continue;
                ++samples.taken;
                const int row = LegendRow(image.pixel(pixel));
                if (row >= 0) {
                    ++samples.legend;
                    samples.bands.insert(row / 32);
                }
            }
        return samples;
    }
    // Pixels in legend colours right of the legend strip.
    static int LegendPixels(const QImage& image)
    {
        int count = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = image.width() * 2 / 7; x < image.width(); x += 2)
                count += LegendRow(image.pixel(x, y)) >= 0 ? 4 : 0;
        return count;
    }
    // The undeformed plate's extents in pixels of the plan state.
    static int PlateArea(CBrantelResView& view)
    {
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
        view.GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        const QPoint a = PixelOf(view, xmin, ymin), b = PixelOf(view, xmax, ymax);
        return std::abs(b.x() - a.x()) * std::abs(b.y() - a.y());
    }
    // Every result component of the open sample in the plan and the 3D
    // state: the plate covered by the plot in legend colours, several bands
    // where the field varies, the colour of the value at element centres.
    void ExpectEveryComponentPlotted(CMainFrame& frame, const char* sample, bool buckling)
    {
        CBrantelResView* view = Calculated(frame, buckling);
        ASSERT_NE(view, nullptr);
        const std::vector<std::string> names = Items(frame, ID_RESULT_COMPONENT);
        ASSERT_FALSE(names.empty());
        CPlateComp* comp = view->GetPlateComp();
        const int n = static_cast<int>(comp->GetResCount());
        // A field varies when it spans more than numerical noise.
        double largest = 0.0;
        for (int c = 0; c < n; ++c)
            largest = std::max({largest, std::fabs(comp->GetMaxVals()[c]), std::fabs(comp->GetMinVals()[c])});
        for (const bool plan : {true, false}) {
            if (plan != !view->m_b3D)
                Command(frame, ID_RES_TWO_DIMENSIONAL);
            ASSERT_EQ(view->m_b3D, !plan);
            EXPECT_EQ((view->m_iViewState & CBrantelResView::kPlanBit) != 0, plan);
            // In 3D the colours are compared without the light's shading.
            if (!plan && (view->m_iViewState & CBrantelResView::kLightBit))
                Command(frame, kLightCommand);
            for (int c = 0; c < static_cast<int>(names.size()); ++c) {
                const std::string& name = names[static_cast<std::size_t>(c)];
                // Reactions are drawn as arrows at the supports.
                if (name == "Rz" || name == "R_x" || name == "R_y")
                    continue;
                SCOPED_TRACE(std::string(sample) + " " + name + (plan ? " plan" : " 3D"));
                Choose(frame, ID_RESULT_COMPONENT, c);
                Command(frame, ID_RES_SCALE_NORMALIZE);
                // Distorted shapes move off the undeformed plate; their value
                // scale magnifies the displacements.
                const bool distorted = name == "Distorted model" || name.rfind("Inpl. + Buckl.", 0) == 0;
                // The plan plot is flat whatever the value scale.
                if (plan && !distorted) {
                    ModalScript script;
                    const std::string huge = std::to_string(1000.0 * comp->GetFactor());
                    script.Dialog(KorDlgDblVal::IDD_PLAIN, [&](DialogDriver& d, CDialog&) {
                        EXPECT_EQ(d.Caption(), "Stress scale");
                        d.Type(KorDlgDblVal::IDC_VALUE, huge.c_str());
                        d.PressOK();
                    });
                    Command(frame, ID_RES_SCALE_SET);
                    script.Verify();
                }
                Redrawn(*view);
                const std::string file = std::string("brantel-") + sample + "-" + std::to_string(c) +
                                         (plan ? "-plan.png" : "-3d.png");
                const QImage image = Grab(*view, file.c_str());
                double max = 0.0, min = 0.0;
                comp->GetMaxMinResult(max, min, nullptr);
                const double m = std::max(std::fabs(max), std::fabs(min));
                const bool varies = std::fabs(max - min) > 0.05 * m && m > 1e-9 * largest;
                if (plan && distorted) {
                    EXPECT_GT(LegendPixels(image), PlateArea(*view) / 3) << "a flat distorted shape";
                } else if (plan) {
                    const Samples grid = PlanGrid(*view, image);
                    EXPECT_GE(grid.legend, grid.taken * 90 / 100) << grid.Describe();
                    EXPECT_GT(grid.taken, 100) << grid.Describe();
                    if (varies && c < n) {
                        EXPECT_GE(grid.bands.size(), 2u) << grid.Describe();
                    }
                }
                // The colour of the value at element centres (numerical noise
                // around 0 has no colour of its own): several bands where the
                // field varies, the one of the value where it is uniform.
                if (c < n && m > 1e-9 * largest) {
                    ASSERT_EQ(comp->GetActVal(), c);
                    const Samples centres = ElementCentres(*view, image, c);
                    EXPECT_GT(centres.taken, 10) << centres.Describe();
                    EXPECT_GE(centres.matching, centres.taken * (plan ? 95 : 80) / 100) << centres.Describe();
                    if (varies) {
                        EXPECT_GE(centres.bands.size(), 3u) << centres.Describe();
                    } else {
                        EXPECT_EQ(centres.bands.size(), 1u) << centres.Describe();
                    }
                }
            }
        }
    }
};

TEST_F(ResultPlotsOnQt, EveryComponentOfThePlateInPlanAnd3D)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    ExpectEveryComponentPlotted(*frame, "plate", false);
}

TEST_F(ResultPlotsOnQt, EveryComponentOfTheMembraneInPlanAnd3D)
{
    CMainFrame* frame = Open("membrane.mem");
    ASSERT_NE(frame, nullptr);
    ExpectEveryComponentPlotted(*frame, "membrane", false);
}

TEST_F(ResultPlotsOnQt, EveryComponentOfTheShellInPlanAnd3D)
{
    CMainFrame* frame = Open("buckling.shl");
    ASSERT_NE(frame, nullptr);
    ExpectEveryComponentPlotted(*frame, "buckling", true);
}

// A left click of the pointer at a pixel of the view: the move that finds
// the result point under it, then the press and release.
void ClickAt(QOpenGLWidget& gl, QPoint pixel)
{
    const QPointF at(pixel);
    QMouseEvent move(QEvent::MouseMove, at, gl.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&gl, &move);
    QMouseEvent press(QEvent::MouseButtonPress, at, gl.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&gl, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, gl.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&gl, &release);
    QCoreApplication::processEvents();
}

// The square plate under a uniform load (nu = 0.3): Mx at the centre is
// 0.0479 q a^2 per unit width, read as kNm/m in the legend and the extremes
// dialog; the probe at the centre node labels w = 0.2111 mm beside its
// marker; contour bands and a reopened results view keep the plan state.
TEST_F(ResultPlotsOnQt, PlateMomentsAndTheProbeReadInEngineeringUnits)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    CBrantelResView* view = Calculated(*frame, false);
    ASSERT_NE(view, nullptr);
    Command(*frame, ID_RES_TWO_DIMENSIONAL);
    ASSERT_FALSE(view->m_b3D);
    const std::vector<std::string> names = Items(*frame, ID_RESULT_COMPONENT);
    const auto index = [&](const char* name) {
        return static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    ASSERT_LT(index("Mx"), static_cast<int>(names.size()));
    ASSERT_LT(index("w"), static_cast<int>(names.size()));

    Choose(*frame, ID_RESULT_COMPONENT, index("Mx"));
    Redrawn(*view);
    Grab(*view, "brantel-plate-mx-legend.png");
    const CBrantelResView::Legend legend = view->GetLegend();
    EXPECT_EQ(legend.unit, "kNm/m");
    const std::vector<ScaleLabel> labels = StressScaleLabels(legend.max, legend.unit, legend.format, legend.digits);
    ASSERT_EQ(labels.size(), 9u);
    EXPECT_NEAR(std::atof(labels.back().text), 0.0479, 0.01 * 0.0479) << labels.back().text;

    std::vector<std::string> units, maxima, minima;
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(VokDlgMaxMinVals), [&](DialogDriver& d, CDialog& dlg) {
        auto& table = static_cast<VokDlgMaxMinVals&>(dlg);
        for (int i = 0; i < table.m_pColumn1->GetSize(); ++i) {
            units.push_back(static_cast<LPCTSTR>(table.m_pColumn4->GetAt(i)));
            maxima.push_back(static_cast<LPCTSTR>(table.m_pColumn2->GetAt(i)));
            minima.push_back(static_cast<LPCTSTR>(table.m_pColumn3->GetAt(i)));
        }
        d.PressOK();
    });
    Command(*frame, ID_MAX_MIN_RESULTS);
    script.Verify();
    ASSERT_EQ(units.size(), names.size());
    const auto mx = static_cast<std::size_t>(index("Mx"));
    EXPECT_EQ(units[mx], "kNm/m");
    EXPECT_NEAR(std::atof(maxima[mx].c_str()), 0.0479, 0.01 * 0.0479) << maxima[mx];
    for (const char* moment : {"My", "Mxy", "M_1", "M_2"})
        EXPECT_EQ(units[static_cast<std::size_t>(index(moment))], "kNm/m") << moment;
    EXPECT_EQ(units[static_cast<std::size_t>(index("Vx"))], "N/mm");
    EXPECT_EQ(units[static_cast<std::size_t>(index("w"))], "mm");
    for (const std::vector<std::string>* column : {&maxima, &minima})
        for (const std::string& cell : *column)
            EXPECT_FALSE(cell[0] == '-' && std::atof(cell.c_str()) == 0.0) << cell;

    // The probe: a click on the centre node with the pointer.
    Choose(*frame, ID_RESULT_COMPONENT, index("w"));
    Command(*frame, ID_KOR_TOOL_POINTER);
    EXPECT_EQ(Kor3DView::m_iDrawSelNum, 0) << "the value is the default label";
    CPlateComp* comp = view->GetPlateComp();
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    // The mesh node nearest the plate's centre.
    CSNode* middle = nullptr;
    const auto away = [&](const CSNode* node) {
        return std::hypot(node->x - (xmax + xmin) / 2, node->y - (ymax + ymin) / 2);
    };
    comp->ForEachMeshElement([&](CElement* element) {
        for (int k = 0; k < element->GetCount(); ++k)
            if (CSNode* node = element->GetNode(k); !middle || away(node) < away(middle))
                middle = node;
    });
    ASSERT_NE(middle, nullptr);
    EXPECT_LT(away(middle), 0.03 * (xmax - xmin));
    const QPoint centre = PixelOf(*view, middle->x, middle->y);
    ClickAt(*GLWidget(*view), centre);
    ASSERT_EQ(view->m_Picks.Count(), 1);
    CSNode* node = view->m_Picks.Node(0);
    EXPECT_EQ(node, middle);
    CPlateComp::ResultProbe probe;
    ASSERT_TRUE(comp->ProbeResult(node, view->m_Picks.Index(0), Kor3DView::m_iDrawSelNum, 1, probe));
    const int* row = iConv[iStandard][comp->GetResultQuantity()];
    EXPECT_EQ(probe.label, " " + std::string(FormatUnitValue(row[1], row[2], 0.2111))) << probe.label;
    Redrawn(*view);
    const QImage picked = Grab(*view, "brantel-plate-probe.png");
    // The label stands right of the marker in the text colour, several
    // characters wide.
    const QColor text = QColor::fromRgbF(glcTextClr[0], glcTextClr[1], glcTextClr[2]);
    int left = picked.width(), right = -1;
    for (int y = centre.y() - 25; y <= centre.y() + 10; ++y)
        for (int x = centre.x(); x < centre.x() + 120; ++x)
            if (picked.rect().contains(x, y) && std::abs(qRed(picked.pixel(x, y)) - text.red()) < 40 &&
                std::abs(qGreen(picked.pixel(x, y)) - text.green()) < 40 &&
                std::abs(qBlue(picked.pixel(x, y)) - text.blue()) < 40) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GT(right - left, 25) << "label pixels from " << left << " to " << right;

    // Contour bands in the plan state: exactly uiFringeNum bands from the
    // edge (w = 0) to the centre (the largest w), the plan state kept.
    view->m_Picks.Remove(nullptr);
    Command(*frame, ID_RES_CONTOUR);
    Redrawn(*view);
    EXPECT_NE(view->m_iViewState & CBrantelResView::kPlanBit, 0);
    const QImage bands = Grab(*view, "brantel-plate-w-contour-plan.png");
    int runs = 0;
    bool inside = false;
    const QPoint edge = PixelOf(*view, xmin + 0.002 * (xmax - xmin), (ymax + ymin) / 2);
    for (int x = edge.x(); x <= centre.x(); ++x) {
        const bool coloured = LegendRow(bands.pixel(x, centre.y())) >= 0;
        runs += coloured && !inside ? 1 : 0;
        inside = coloured;
    }
    EXPECT_EQ(runs, static_cast<int>(uiFringeNum));
    Command(*frame, ID_RES_CONTOUR);

    // Back to modelling and to results: the view opens in its 2D state and
    // is in the plan state.
    Choose(*frame, ID_VIEW_MODE, 0);
    Choose(*frame, ID_VIEW_MODE, 1);
    view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->m_b3D);
    EXPECT_NE(view->m_iViewState & CBrantelResView::kPlanBit, 0);
    Redrawn(*view);
    const QImage reopened = Grab(*view, "brantel-plate-reopened-plan.png");
    const Samples grid = PlanGrid(*view, reopened);
    EXPECT_GE(grid.legend, grid.taken * 90 / 100) << grid.Describe();
}

// A results view opened before the first run: the run started from it
// sets the unset value scale (-1.0), so the plot stands the right way up.
TEST_F(ResultPlotsOnQt, ARunFromAnOpenResultsViewScalesItsPlot)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    Command(*frame, ID_GENERATE_MESH);
    Choose(*frame, ID_VIEW_MODE, 1);
    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    CPlateComp* comp = view->GetPlateComp();
    ASSERT_EQ(comp->GetFactor(), -1.0) << "no results, no scale yet";
    Command(*frame, ID_CALCULATE);
    ASSERT_GT(comp->GetMaxVals().GetSize(), 0);
    EXPECT_GT(comp->GetFactor(), 0.0);
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0, max = 0.0, min = 0.0;
    comp->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    comp->GetMaxMinResult(max, min, nullptr);
    EXPECT_NEAR(comp->GetFactor() * std::max(std::fabs(max), std::fabs(min)), (xmax - xmin) / 3, 1e-6 * (xmax - xmin));
    Redrawn(*view);
    Grab(*view, "brantel-plate-run-from-results.png");
}

// The shell document draws the condition set it names: the plate set by
// default, the membrane set after "Membrane BC's", and back.
TEST_F(ResultPlotsOnQt, TheShellDrawsTheConditionSetItNames)
{
    CMainFrame* frame = Open("buckling.shl");
    ASSERT_NE(frame, nullptr);
    CChildFrame* child = Child(*frame);
    ASSERT_NE(child, nullptr);
    auto* doc = dynamic_cast<CDocShell*>(child->GetActiveDocument());
    ASSERT_NE(doc, nullptr);
    CView* view = child->GetActiveView();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(GLWidget(*view), nullptr);
    EXPECT_EQ(doc->GetBCSet(), 1);
    const auto shown = [&](const char* file) {
        view->Invalidate(TRUE);
        view->UpdateWindow();
        QCoreApplication::processEvents();
        return Grab(*view, file);
    };
    const QImage plate = shown("brantel-shell-plate-bcs.png");
    Command(*frame, ID_MEMBRANE_BCS);
    EXPECT_EQ(doc->GetBCSet(), 0);
    const QImage membrane = shown("brantel-shell-membrane-bcs.png");
    Command(*frame, ID_PLATE_BCS);
    EXPECT_EQ(doc->GetBCSet(), 1);
    const QImage again = shown("brantel-shell-plate-bcs-again.png");
    ASSERT_EQ(plate.size(), membrane.size());
    int differing = 0;
    for (int y = 0; y < plate.height(); ++y)
        for (int x = 0; x < plate.width(); ++x)
            differing += plate.pixel(x, y) != membrane.pixel(x, y) ? 1 : 0;
    EXPECT_GT(differing, 50) << "the support symbols of the two sets";
    EXPECT_EQ(plate, again);
}

// The mesh as the user asks for it: element edges in the modelling view
// with "Show element mesh" and in the mesh mode, over the filled plate;
// the loads as arrows of bounded length.
// The frame's wireframe command draws each element's outline over the
// plan-state colour plot (its edges as lines, each once), and off again
// gives back the plain plot.
TEST_F(ResultPlotsOnQt, TheWireframeOutlinesThePlanPlot)
{
    CMainFrame* frame = nullptr;
    CBrantelResView* view = PlatePlan(frame);
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->m_b3D);
    Redrawn(*view);
    const QImage plain = Grab(*view, "brantel-plate-plan-plain.png");
    Command(*frame, kWireframeCommand);
    Redrawn(*view);
    const QImage outlined = Grab(*view, "brantel-plate-plan-outlined.png");
    auto* doc = dynamic_cast<CBrantelDoc*>(view->GetDocument());
    ASSERT_NE(doc, nullptr);
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    doc->GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const QPoint a = PixelOf(*view, xmin + 0.1 * (xmax - xmin), ymax - 0.1 * (ymax - ymin));
    const QPoint b = PixelOf(*view, xmax - 0.1 * (xmax - xmin), ymin + 0.1 * (ymax - ymin));
    // The share of the plate's inner pixels the outlines change: the
    // element edges cross the plot everywhere.
    int changed = 0, all = 0;
    for (int y = a.y(); y <= b.y(); ++y)
        for (int x = a.x(); x <= b.x(); ++x, ++all)
            changed += plain.pixel(x, y) != outlined.pixel(x, y) ? 1 : 0;
    ASSERT_GT(all, 1000);
    EXPECT_GT(double(changed) / all, 0.1);
    Command(*frame, kWireframeCommand);
    Redrawn(*view);
    EXPECT_TRUE(Grab(*view, "brantel-plate-plan-plain-again.png") == plain);
    EndApp(m_app);
}

// Element outlines smaller than two pixels on screen are drawn sharp: with
// the plate zoomed far out through the program's Zoom out command the plot
// is the same whether "smooth lines" is on or off, while at the fitted size
// the smoothing shows. Zooming compiles nothing.
TEST_F(ResultPlotsOnQt, OutlinesDenserThanThePixelsAreDrawnSharp)
{
    CMainFrame* frame = nullptr;
    CBrantelResView* view = PlatePlan(frame);
    ASSERT_NE(view, nullptr);
    Command(*frame, kWireframeCommand);
    auto* doc = dynamic_cast<CBrantelDoc*>(view->GetDocument());
    ASSERT_NE(doc, nullptr);
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    doc->GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    struct Restore {
        bool smooth = COGLRenderer::bLineSmooth;
        ~Restore() { COGLRenderer::bLineSmooth = smooth; }
    } restore;
    // The plate's pixels drawn with smoothing on and off.
    const auto plate = [&](const QImage& image) {
        const QPoint a = PixelOf(*view, xmin, ymax), b = PixelOf(*view, xmax, ymin);
        return image.copy(QRect(a, b));
    };
    const auto onAndOff = [&](const std::string& name) {
        COGLRenderer::bLineSmooth = true;
        Redrawn(*view);
        const QImage on = Grab(*view, ("brantel-plate-outlines-" + name + "-smooth.png").c_str());
        COGLRenderer::bLineSmooth = false;
        Redrawn(*view);
        const QImage off = Grab(*view, ("brantel-plate-outlines-" + name + "-sharp.png").c_str());
        COGLRenderer::bLineSmooth = true;
        return std::pair{plate(on), plate(off)};
    };
    const auto [fitOn, fitOff] = onAndOff("fitted");
    ASSERT_GT(fitOn.width(), 200);
    EXPECT_TRUE(fitOn != fitOff) << "smoothing shows on elements many pixels across";
    const unsigned compiles = view->PlotCompiles();
    // 1.2 a step: fourteen steps make the sample's elements about one pixel.
    for (int i = 0; i < 14; ++i)
        Command(*frame, ID_KOR_ZOOM_OUT);
    const auto [farOn, farOff] = onAndOff("far");
    EXPECT_GT(farOn.width(), 20);
    EXPECT_LT(farOn.width(), fitOn.width() / 8);
    EXPECT_TRUE(farOn == farOff);
    Command(*frame, ID_KOR_ZOOM_FIT);
    const auto [againOn, againOff] = onAndOff("fitted-again");
    EXPECT_TRUE(againOn != againOff) << "smoothing is back on the fitted plate";
    EXPECT_EQ(view->PlotCompiles(), compiles);
    EndApp(m_app);
}

// A vertical plane of the clip-plane dialog, applied as it is typed, cuts
// the plan plot at the plate's middle: the kept half as before, the other
// half without its colours; unticked, the plain plot is back. The plot is
// not compiled again for any of it. Contour bands are cut there too.
TEST_F(ResultPlotsOnQt, TheClipDialogCutsThePlotWithoutCompilingIt)
{
    CMainFrame* frame = nullptr;
    CBrantelResView* view = PlatePlan(frame);
    ASSERT_NE(view, nullptr);
    Redrawn(*view);
    const QImage plain = Grab(*view, "brantel-plate-clip-plain.png");
    const unsigned compiles = view->PlotCompiles();
    auto* child = dynamic_cast<KorChildFrm*>(view->GetParentFrame());
    ASSERT_NE(child, nullptr);

    Command(*frame, 50054);
    auto* dlg = dynamic_cast<KorDlgClipPlane*>(KorChildFrm::m_pClpPlnDlg);
    ASSERT_NE(dlg, nullptr);
    auto* dynamic = qobject_cast<QCheckBox*>(AfxQtWidgetOf(dlg->GetDlgItem(KorDlgClipPlane::IDC_DYNAMIC)));
    auto* plane = qobject_cast<QCheckBox*>(AfxQtWidgetOf(dlg->GetDlgItem(16160)));
    auto* distance = qobject_cast<QLineEdit*>(AfxQtWidgetOf(dlg->GetDlgItem(16233)));
    ASSERT_TRUE(dynamic && plane && distance);
    afxui::qt::testing::WaitUntil([plane] { return plane->isVisible(); });
    const auto click = [](QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(4, box->height() / 2));
    };
    const auto type = [distance](const QString& text) {
        distance->selectAll();
        QTest::keyClicks(distance, text);
    };
    click(dynamic);
    click(plane);
    ASSERT_TRUE(child->m_bClipPlanes[2]);
    // At angle 0 the plane keeps x <= distance; the distance is typed in
    // the dialog's length unit.
    type("1");
    ASSERT_GT(child->m_dClipPlanes[2][3], 0.0);
    const double perUnit = child->m_dClipPlanes[2][3];
    auto* doc = dynamic_cast<CBrantelDoc*>(view->GetDocument());
    ASSERT_NE(doc, nullptr);
    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    doc->GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    const double mid = 0.5 * (xmin + xmax);
    type(QString::number(mid / perUnit, 'g', 12));
    EXPECT_NEAR(child->m_dClipPlanes[2][3], mid, 1e-9 * std::max(1.0, std::fabs(mid)));
    Redrawn(*view);
    const QImage cut = Grab(*view, "brantel-plate-clipped.png");

    // Pixels well inside each half, a fifth of the plate's height apart.
    int kept = 0, keptSame = 0, gone = 0, goneChanged = 0;
    for (int row = 1; row <= 4; ++row) {
        const double y = ymin + 0.2 * row * (ymax - ymin);
        for (int column = 1; column <= 4; ++column) {
            const double dx = 0.1 * column * (xmax - xmin);
            const QPoint low = PixelOf(*view, mid - dx, y), high = PixelOf(*view, mid + dx, y);
            ++kept;
            keptSame += cut.pixel(low) == plain.pixel(low) ? 1 : 0;
            ++gone;
            goneChanged += cut.pixel(high) != plain.pixel(high) ? 1 : 0;
        }
    }
    EXPECT_EQ(keptSame, kept);
    EXPECT_EQ(goneChanged, gone);
    click(plane);
    ASSERT_FALSE(child->m_bClipPlanes[2]);
    Redrawn(*view);
    EXPECT_TRUE(Grab(*view, "brantel-plate-clip-off.png") == plain);
    EXPECT_EQ(view->PlotCompiles(), compiles);

    // Contour bands in the plan state are cut the same way: band colours in
    // the kept half, none beyond the plane.
    Command(*frame, ID_RES_CONTOUR);
    click(plane);
    ASSERT_TRUE(child->m_bClipPlanes[2]);
    Redrawn(*view);
    const QImage bands = Grab(*view, "brantel-plate-contour-clipped.png");
    int keptBands = 0, goneBands = 0;
    for (int row = 1; row <= 9; ++row) {
        const double y = ymin + 0.1 * row * (ymax - ymin);
        for (int column = 1; column <= 40; ++column) {
            const double dx = 0.01 * column * (xmax - xmin);
            keptBands += LegendRow(bands.pixel(PixelOf(*view, mid - dx, y))) >= 0 ? 1 : 0;
            goneBands += LegendRow(bands.pixel(PixelOf(*view, mid + dx, y))) >= 0 ? 1 : 0;
        }
    }
    EXPECT_GT(keptBands, 90);
    EXPECT_EQ(goneBands, 0);
    click(plane);
    Command(*frame, ID_RES_CONTOUR);
    Command(*frame, 50054);
    EndApp(m_app);
}

TEST_F(ResultPlotsOnQt, MeshEdgesAndLoadArrows)
{
    for (const char* sample : {"plate.plb", "buckling.shl"}) {
        SCOPED_TRACE(sample);
        CMainFrame* frame = Open(sample);
        ASSERT_NE(frame, nullptr);
        Command(*frame, ID_GENERATE_MESH);
        CChildFrame* child = Child(*frame);
        ASSERT_NE(child, nullptr);
        auto* model = dynamic_cast<CBrantelModView*>(child->GetActiveView());
        ASSERT_NE(model, nullptr);
        if (!(model->m_iViewState & CBrantelView::kShowMeshBit))
            Command(*frame, ID_SHOW_ELEMENT_MESH);
        const auto shown = [&](CView& view, const std::string& file) {
            view.Invalidate(TRUE);
            view.UpdateWindow();
            QCoreApplication::processEvents();
            return Grab(view, file.c_str());
        };
        const std::string name = std::string(sample).substr(0, std::string(sample).find('.'));
        auto* doc = dynamic_cast<CBrantelDoc*>(model->GetDocument());
        ASSERT_NE(doc, nullptr);
        double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
        doc->GetPlateComp()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        const auto dark = [](QRgb p) { return qRed(p) < 60 && qGreen(p) < 60 && qBlue(p) < 60; };
        const auto red = [](QRgb p) { return qRed(p) > 150 && qGreen(p) < 100 && qBlue(p) < 100; };
        // The share of the plate's inner pixels that pass a test.
        const auto share = [&](const QImage& image, COGL2DView& view, auto test) {
            const QPoint a = PixelOf(view, xmin + 0.1 * (xmax - xmin), ymax - 0.1 * (ymax - ymin));
            const QPoint b = PixelOf(view, xmax - 0.1 * (xmax - xmin), ymin + 0.1 * (ymax - ymin));
            int hits = 0, all = 0;
            for (int y = a.y(); y <= b.y(); ++y)
                for (int x = a.x(); x <= b.x(); ++x, ++all)
                    hits += test(image.pixel(x, y)) ? 1 : 0;
            return all > 0 ? double(hits) / all : 0.0;
        };
        // Element edges are dark lines over the grey plate: well above the
        // share that node dots alone would darken.
        const QImage modelled = shown(*model, "brantel-" + name + "-model-mesh.png");
        EXPECT_GT(share(modelled, *model, dark), 0.08);
        Choose(*frame, ID_VIEW_MODE, 2);
        auto* mesh = dynamic_cast<CBrantelView*>(child->GetActiveView());
        ASSERT_NE(mesh, nullptr);
        const QImage meshed = shown(*mesh, "brantel-" + name + "-mesh-mode.png");
        EXPECT_GT(share(meshed, *mesh, dark), 0.08);
        if (name == "buckling") {
            // The compression on the right edge: arrows standing outside
            // the edge, no longer than a third of the plate's diagonal,
            // pushing at it with their heads at its nodes (the tips at the
            // edge, nothing inside the plate or beyond the outline).
            const QPoint edge = PixelOf(*mesh, xmax, (ymax + ymin) / 2);
            const QPoint reach = PixelOf(*mesh, xmax + std::hypot(xmax - xmin, ymax - ymin) / 3, ymin);
            const QPoint top = PixelOf(*mesh, xmax, ymax), bottom = PixelOf(*mesh, xmax, ymin);
            // Rows that show red beside the edge (the heads widen away
            // from their tips) and beside the outline (the shafts alone).
            int heads = 0, atOutline = 0, inside = 0, beyond = 0, rows = 0;
            for (int y = top.y() + 3; y < bottom.y() - 3; ++y, ++rows) {
                bool head = false, shaft = false;
                for (int x = edge.x() + 3; x < edge.x() + 12; ++x)
                    head = head || red(meshed.pixel(x, y));
                for (int x = reach.x() - 12; x < reach.x() - 3; ++x)
                    shaft = shaft || red(meshed.pixel(x, y));
                heads += head ? 1 : 0;
                atOutline += shaft ? 1 : 0;
                for (int x = PixelOf(*mesh, xmin, ymin).x() + 3; x < edge.x() - 3; ++x)
                    inside += red(meshed.pixel(x, y)) ? 1 : 0;
                for (int x = reach.x() + 3; x < std::min(reach.x() + 40, meshed.width()); ++x)
                    beyond += red(meshed.pixel(x, y)) ? 1 : 0;
            }
            EXPECT_GT(heads, rows / 4) << "arrow heads at the loaded edge";
            EXPECT_GT(heads, 3 * atOutline) << "arrow heads at the load's outline";
            EXPECT_EQ(inside, 0) << "arrows drawn across the plate";
            EXPECT_EQ(beyond, 0) << "arrows longer than the load scale allows";
        }
        EndApp(m_app);
    }
}

// Results belong to their document: two documents with different results
// each show their own legend, combo and extremes when active, also after
// the other one is closed; a saved, closed and reopened document (the file
// keeps no mesh) shows the grey plate without a legend and says so.
TEST_F(ResultPlotsOnQt, ResultsBelongToTheirDocument)
{
    CMainFrame* frame = Open("plate.plb");
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(Calculated(*frame, false), nullptr);
    CChildFrame* plate = Child(*frame);
    ASSERT_NE(m_app->OpenDocumentFile(Example("membrane.mem").c_str()), nullptr);
    QCoreApplication::processEvents();
    ASSERT_NE(Calculated(*frame, false), nullptr);
    CChildFrame* membrane = Child(*frame);
    ASSERT_NE(plate, membrane);

    // The active document's first result, as legend, combo and extremes.
    const auto expectShown = [&](const char* first, const char* unit) {
        SCOPED_TRACE(first);
        CBrantelResView* view = ResultsView(*frame);
        ASSERT_NE(view, nullptr);
        Choose(*frame, ID_RESULT_COMPONENT, 0);
        const std::vector<std::string> names = Items(*frame, ID_RESULT_COMPONENT);
        ASSERT_FALSE(names.empty());
        EXPECT_EQ(names[0], first);
        const CBrantelResView::Legend legend = view->GetLegend();
        EXPECT_TRUE(legend.shown);
        EXPECT_EQ(legend.unit, unit);
        std::string shownUnit;
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(VokDlgMaxMinVals), [&](DialogDriver& d, CDialog& dlg) {
            auto& table = static_cast<VokDlgMaxMinVals&>(dlg);
            EXPECT_EQ(std::string(table.m_pColumn1->GetAt(0)), first);
            shownUnit = static_cast<LPCTSTR>(table.m_pColumn4->GetAt(0));
            d.PressOK();
        });
        Command(*frame, ID_MAX_MIN_RESULTS);
        script.Verify();
        EXPECT_EQ(shownUnit, unit);
    };
    expectShown("Sigma x", "N/mm\xB2");
    frame->MDIActivate(plate);
    QCoreApplication::processEvents();
    expectShown("Mx", "kNm/m");
    frame->MDIActivate(membrane);
    QCoreApplication::processEvents();
    expectShown("Sigma x", "N/mm\xB2");
    // Closing the membrane leaves the plate's results.
    membrane->GetActiveDocument()->SetModifiedFlag(FALSE);
    Command(*frame, ID_FILE_CLOSE);
    ASSERT_EQ(Child(*frame), plate);
    expectShown("Mx", "kNm/m");

    // Saved, closed and reopened: no results in the file.
    const std::string path = m_folder + "/plate-saved.plb";
    CDocument* doc = plate->GetActiveDocument();
    ASSERT_TRUE(doc->DoSave(path.c_str()));
    Command(*frame, ID_FILE_CLOSE);
    ASSERT_EQ(Child(*frame), nullptr);
    ASSERT_NE(m_app->OpenDocumentFile(path.c_str()), nullptr);
    QCoreApplication::processEvents();
    Choose(*frame, ID_VIEW_MODE, 1);
    CBrantelResView* view = ResultsView(*frame);
    ASSERT_NE(view, nullptr);
    view->SetFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->GetLegend().shown);
    EXPECT_EQ(std::string(frame->GetStatusBarWnd().GetPaneText(0)), kNoResultsText);
    Redrawn(*view);
    const QImage image = Grab(*view, "brantel-plate-reopened-no-results.png");
    // No legend strip: its part of the view is background.
    const QRgb background = image.pixel(image.width() - 1, 0);
    int strip = 0;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width() / 20; x += 2)
            strip += image.pixel(x, y) != background ? 1 : 0;
    EXPECT_EQ(strip, 0);
    ModalScript script;
    script.MessageBox(kNoResultsText);
    Command(*frame, ID_MAX_MIN_RESULTS);
    script.Verify();
}

} // namespace
