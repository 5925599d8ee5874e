// The program's main window with several documents, as a user meets it:
// at 1280 x 1024 every toolbar shows all its buttons; a click on a
// document's tab brings that document (title, view, Window menu); closing
// one leaves the other drawn; Ctrl+Tab moves on; and a stored position
// above the screen starts with the menu bar on the screen.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QLabel>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include "app/analysis/platecomp.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;
using afxui::qt::testing::SaveScreenshot;
using afxui::qt::testing::WaitUntil;

// The toolbars that hide buttons behind their overflow button.
QStringList OverflowingToolBars(QMainWindow& window)
{
    QStringList names;
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        if (!bar->isVisible())
            continue;
        for (QToolButton* button : bar->findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
            if (button->isVisible())
                names << bar->windowTitle();
    }
    return names;
}

// The share of pixels of an image that differ from its corner pixel (the
// background).
double DrawnShare(const QImage& image)
{
    if (image.isNull())
        return 0.0;
    const QRgb background = image.pixel(0, 0);
    qint64 drawn = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            drawn += image.pixel(x, y) != background;
    return double(drawn) / (double(image.width()) * image.height());
}

// True when the image is all (or nearly all) black.
bool IsBlack(const QImage& image)
{
    if (image.isNull())
        return true;
    qint64 dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 16;
    return dark > 0.98 * double(image.width()) * image.height();
}

// The picture of the active child frame's view.
QImage ActiveViewPicture(CMainFrame& frame)
{
    CMDIChildWnd* child = frame.MDIGetActive();
    CView* view = child ? child->GetActiveView() : nullptr;
    QWidget* widget = view ? AfxQtWidgetOf(view) : nullptr;
    auto* gl = widget ? widget->findChild<QOpenGLWidget*>() : nullptr;
    return gl ? gl->grabFramebuffer() : QImage();
}

CString ActiveDocumentTitle(CMainFrame& frame)
{
    CDocument* doc = frame.GetActiveDocument();
    return doc ? doc->GetTitle() : CString();
}

TEST_F(ShellOnQt, AllToolbarButtonsShowAt1280PixelsAndTheTabsSwitchDocuments)
{
    auto app = std::make_unique<CBrantelApp>();
    const ShownExample shown = ShowExample(*app, "plate.plb");
    ASSERT_NE(shown.view, nullptr);
    CMainFrame& frame = *shown.frame;
    QMainWindow& window = *shown.window;
    frame.MoveWindow(CRect(0, 0, 1280, 1000));
    EXPECT_TRUE(WaitUntil([&] { return window.width() == 1280 && OverflowingToolBars(window).isEmpty(); }))
        << OverflowingToolBars(window).join(", ").toStdString();
    QString why;
    EXPECT_TRUE(SaveScreenshot(&window, "brantel-toolbars-1280.png", &why)) << why.toStdString();

    // The View menu as it opens from the menu bar, with the key of each mode.
    QMenu* viewMenu = nullptr;
    for (QAction* action : window.menuBar()->actions())
        if (action->text() == "&View")
            viewMenu = action->menu();
    ASSERT_NE(viewMenu, nullptr);
    viewMenu->popup(window.mapToGlobal(QPoint(200, 30)));
    ASSERT_TRUE(WaitUntil([&] { return viewMenu->isVisible() && !viewMenu->actions().isEmpty(); }));
    QStringList items;
    for (QAction* action : viewMenu->actions())
        items << action->text();
    EXPECT_TRUE(items.contains("&View Modelling mode\tM")) << items.join(" | ").toStdString();
    EXPECT_TRUE(items.contains("View &Results mode\tR")) << items.join(" | ").toStdString();
    EXPECT_TRUE(items.contains("&3D view")) << items.join(" | ").toStdString();
    EXPECT_TRUE(SaveScreenshot(viewMenu, "brantel-view-menu.png", &why)) << why.toStdString();
    viewMenu->hide();

    // The keys of the view modes and of the result scale, typed in the window.
    CChildFrame& child = *shown.child;
    CPlateComp* comp = shown.view->GetBrantelDoc()->GetPlateComp();
    QTest::keyClick(&window, Qt::Key_R);
    ASSERT_TRUE(WaitUntil([&] { return child.m_nViewID == ID_MODE_RESULTS; }));
    EXPECT_TRUE(child.GetActiveView()->IsKindOf(RUNTIME_CLASS(CBrantelResView)));
    const double scale = comp->GetFactor();
    QTest::keyClick(&window, Qt::Key_Up, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(comp->GetFactor(), scale * 1.25);
    QTest::keyClick(&window, Qt::Key_Down, Qt::AltModifier);
    EXPECT_DOUBLE_EQ(comp->GetFactor(), scale * 1.25 * 0.8);
    QTest::keyClick(&window, Qt::Key_M);
    ASSERT_TRUE(WaitUntil([&] { return child.m_nViewID == ID_MODE_MODELLING; }));

    // A second document; both have tabs, the new one is active.
    m_env->FileDialogs().Choose({Example("membrane.mem").c_str()});
    ASSERT_TRUE(app->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
    auto* area = qobject_cast<QMdiArea*>(window.centralWidget());
    ASSERT_NE(area, nullptr);
    auto* tabs = area->findChild<QTabBar*>();
    ASSERT_NE(tabs, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return tabs->count() == 2 && tabs->isVisible(); }));
    EXPECT_EQ(ActiveDocumentTitle(frame), "membrane.mem");

    // Each tab click brings its document: the highlighted tab, the title,
    // the Window menu's check and the view's picture follow.
    QImage pictures[2];
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
            const std::string name = tabs->tabText(i).toStdString();
            ASSERT_TRUE(WaitUntil([&] { return ActiveDocumentTitle(frame) == name.c_str(); }))
                << "tab " << name << " gave " << ActiveDocumentTitle(frame).GetString();
            EXPECT_TRUE(tabs->isVisible());
            EXPECT_EQ(tabs->currentIndex(), i);
            EXPECT_EQ(Title(frame), ("Brantel - " + name).c_str());
            EXPECT_EQ(area->currentSubWindow(), AfxQtWidgetOf(frame.MDIGetActive()));
            QTest::qWait(100);
            pictures[i] = ActiveViewPicture(frame);
            EXPECT_GT(DrawnShare(pictures[i]), 0.001) << name;
            const AfxMenu menu = frame.MenuSnapshot(frame.GetMenuID());
            int checked = -1, listed = 0;
            for (const AfxMenuEntry& popup : menu)
                for (const AfxMenuEntry& e : popup.popup)
                    if (e.item.nResourceID >= AFX_IDM_FIRST_MDICHILD &&
                        e.item.nResourceID < AFX_IDM_FIRST_MDICHILD + AFX_MAX_MDI_WINDOWS) {
                        ++listed;
                        if (e.item.nCheck)
                            checked = static_cast<int>(e.item.nResourceID - AFX_IDM_FIRST_MDICHILD);
                    }
            EXPECT_EQ(listed, 2);
            CString checkedTitle;
            if (checked >= 0)
                frame.GetChildFrames()[checked]->GetWindowText(checkedTitle);
            EXPECT_EQ(checkedTitle, name.c_str());
        }
    }
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_TRUE(SaveScreenshot(&window, "brantel-two-documents.png", &why)) << why.toStdString();

    // Ctrl+Tab moves to the other document.
    const CString before = ActiveDocumentTitle(frame);
    QTest::keyClick(&window, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(WaitUntil([&] { return ActiveDocumentTitle(frame) != before; }));

    // File > Close of the active one leaves the other one drawn.
    const CString closing = ActiveDocumentTitle(frame);
    frame.SendCommand(ID_FILE_CLOSE);
    ASSERT_TRUE(WaitUntil([&] { return tabs->count() == 1 || area->subWindowList().size() == 1; }));
    EXPECT_NE(ActiveDocumentTitle(frame), closing);
    EXPECT_NE(ActiveDocumentTitle(frame), "");
    QImage after;
    EXPECT_TRUE(WaitUntil([&] {
        after = ActiveViewPicture(frame);
        return !IsBlack(after) && DrawnShare(after) > 0.001;
    })) << "the remaining view is black";
    EXPECT_TRUE(SaveScreenshot(&window, "brantel-after-close.png", &why)) << why.toStdString();

    // The pointer over the view shows its coordinates; leaving it clears them.
    CStatusBar& status = frame.GetStatusBarWnd();
    QWidget* gl = AfxQtWidgetOf(frame.MDIGetActive()->GetActiveView())->findChild<QOpenGLWidget*>();
    ASSERT_NE(gl, nullptr);
    QTest::mouseMove(gl, gl->rect().center());
    ASSERT_TRUE(WaitUntil([&] { return !status.GetPaneText(2).IsEmpty(); }));
    QTest::mouseMove(window.menuBar(), window.menuBar()->rect().center());
    EXPECT_TRUE(WaitUntil([&] { return status.GetPaneText(2).IsEmpty() && status.GetPaneText(3).IsEmpty(); }))
        << status.GetPaneText(2).GetString() << " / " << status.GetPaneText(3).GetString();

    // With a document the result and view-mode combos work; without one
    // they are disabled.
    const auto enabled = [&](UINT id) { return AfxQtWidgetOf(frame.GetToolbarCombo(id))->isEnabled(); };
    EXPECT_TRUE(enabled(ID_RESULT_COMPONENT));
    EXPECT_TRUE(enabled(ID_VIEW_MODE));
    app->CloseAllDocuments(FALSE);
    EXPECT_FALSE(enabled(ID_RESULT_COMPONENT));
    EXPECT_FALSE(enabled(ID_VIEW_MODE));
    EXPECT_TRUE(SaveScreenshot(&window, "brantel-no-document.png", &why)) << why.toStdString();
    EndApp(app);
}

// The window is placed by the screen it starts on, not by a guessed
// 800 x 600 one: the first start (nothing stored) takes three quarters of the
// screen, and a stored place that lies on the screen is kept as it was.
TEST_F(ShellOnQt, TheWindowIsPlacedByTheScreenItStartsOn)
{
    const QRect room = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    if (room.right() < 1100 || room.bottom() < 800)
        GTEST_SKIP() << "needs a screen of at least 1100 x 800";
    const CSize screen(room.right() + 1, room.bottom() + 1);
    struct Row {
        const char* what;
        bool stored;
        CRect expected;
    };
    const Row rows[] = {
        {"first start", false, CRect(0, 0, screen.cx * 3 / 4, screen.cy * 3 / 4)},
        {"stored place", true, CRect(900, 600, 1200, 900)},
    };
    for (const Row& row : rows) {
        if (row.stored)
            for (const auto& [key, value] : {std::pair{"Left", 900}, {"Top", 600}, {"Width", 300},
                                             {"Height", 300}, {"Zoomed", 0}, {"ShowCmd", 1}})
                m_env->Profile().WriteInt("Window", key, value);
        auto app = std::make_unique<CBrantelApp>();
        app->SetCommandLine({Example("plate.plb").c_str()});
        ASSERT_TRUE(app->InitInstance()) << row.what;
        const CRect placed = app->m_placement.rcNormalPosition;
        EXPECT_EQ(placed, row.expected)
            << row.what << ": " << placed.left << "," << placed.top << " " << placed.Width()
            << " x " << placed.Height();
        EndApp(app);
    }
}

TEST_F(ShellOnQt, AStoredPositionAboveTheScreenStartsWithTheMenuBarOnIt)
{
    auto app = std::make_unique<CBrantelApp>();
    for (const auto& [key, value] :
         {std::pair{"Left", 0}, {"Top", -39}, {"Width", 1000}, {"Height", 700}, {"Zoomed", 0}, {"ShowCmd", 1}})
        m_env->Profile().WriteInt("Window", key, value);
    // A copy of the sample, so a print without printer writes beside it.
    const std::string plate = m_folder + "/plate.plb";
    std::filesystem::copy_file(Example("plate.plb"), plate);
    app->SetCommandLine({plate.c_str()});
    ASSERT_TRUE(app->InitInstance());
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(app->m_pMainWnd));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // The program starts maximised; restored, it takes the stored place.
    app->m_pMainWnd->ShowWindow(SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return !window->isMaximized(); }));
    EXPECT_GE(window->frameGeometry().top(), 0);
    EXPECT_GE(window->menuBar()->mapToGlobal(QPoint(0, 0)).y(), 0);
    // The frame may be made much smaller than the screen, and its view
    // keeps at least half of the client area at the least height.
    EXPECT_LE(window->minimumSizeHint().width(), 800);
    // The bars wrap to the narrow width, which the least height then allows for.
    for (int pass = 0; pass < 2; ++pass) {
        window->resize(window->minimumSizeHint());
        QTest::qWait(100);
    }
    EXPECT_LE(window->width(), 800);
    // The bars re-flow after the resize has been laid out: the view's share
    // is read once they have (a slow build may need more than the pauses).
    const auto client = [&] { return window->height() - window->menuBar()->height(); };
    WaitUntil([&] { return window->centralWidget()->height() * 2 >= client(); });
    EXPECT_GE(window->centralWidget()->height() * 2, client())
        << window->centralWidget()->height() << " of " << client();
    QString why;
    EXPECT_TRUE(SaveScreenshot(window, "brantel-least-size.png", &why)) << why.toStdString();

    // Help > About names the version.
    QStringList about;
    {
        afxui::headless::ModalScript script;
        script.Dialog(IDD_ABOUTBOX, [&](afxui::headless::DialogDriver& d, CDialog& shown) {
            for (QLabel* label : AfxQtWidgetOf(&shown)->findChildren<QLabel*>())
                about << label->text();
            EXPECT_TRUE(SaveScreenshot(AfxQtWidgetOf(&shown), "brantel-about.png", &why)) << why.toStdString();
            d.PressOK();
        });
        app->m_pMainWnd->SendMessage(WM_COMMAND, ID_APP_ABOUT);
        script.Verify();
    }
    EXPECT_TRUE(about.join("\n").contains(QRegularExpression("Version [0-9]+\\.[0-9]+")))
        << about.join(" | ").toStdString();

    // File > Print direct without a printer writes the view as a PDF file
    // beside the document and says so.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        CQtGLServices qtServices; // the Qt print service in place of the scripted one
        const std::string pdf = m_folder + "/plate.pdf";
        m_env->Boxes().Expect("No printer was found: the pages were written to \"" + pdf + "\".");
        static_cast<CFrameWnd*>(app->m_pMainWnd)->SendCommand(ID_FILE_PRINT_DIRECT);
        QFile file(QString::fromStdString(pdf));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pdf;
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("%PDF"));
        EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    }
    EndApp(app);
}

} // namespace
