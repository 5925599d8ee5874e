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

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QOpenGLWidget>
#include <QPrintDialog>
#include <QScreen>
#include <QTest>

#include "app/analysis/analysis.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtglservices.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

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

// The library's buckling run on a model reported to have one mode only:
// status 1, one mode accepted of those requested.
template <bool perNode>
void FirstModeOnly(std::int32_t* key, std::int32_t* topology, double* elementData, double* material, double* nodal,
                   std::int32_t* fixed, double* couplings, double* springs, double* stresses, double* eigenvalues,
                   double* modes, std::int32_t* status)
{
    const SolverEntryTable library = LibrarySolverEntries();
    (perNode ? library.plateKnekking : library.plateBuckling)(key, topology, elementData, material, nodal, fixed,
                                                               couplings, springs, stresses, eigenvalues, modes,
                                                               status);
    if (status[0] == 0 && key[14] > 1) {
        status[0] = 1;
        status[1] = 1;
        status[2] = key[14];
    }
}

// Three modes asked for, one delivered: the message after the run gives
// both counts, the result list offers the one mode, and its plot shows.
TEST_F(ResultsOnQt, FewerBucklingModesThanRequestedAreToldAndListed)
{
    CMainFrame* frame = Open("buckling.shl");
    ASSERT_NE(frame, nullptr);
    Command(*frame, ID_GENERATE_MESH);
    SolverEntryTable fake;
    fake.plateBuckling = &FirstModeOnly<false>;
    fake.plateKnekking = &FirstModeOnly<true>;
    const SolverEntryTable before = SetSolverEntries(fake);
    ModalScript script;
    script.Dialog(KorDlgDblVal::IDD_PLAIN, [](DialogDriver& d, CDialog&) {
        d.Type(KorDlgDblVal::IDC_VALUE, "3");
        d.PressOK();
    });
    script.MessageBox("Only 1 of the 3 buckling modes requested passed the eigenvalue error test.\n"
                      "The results show the modes that passed.");
    Command(*frame, ID_CALCULATE);
    SetSolverEntries(before);
    script.Verify();
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

} // namespace
