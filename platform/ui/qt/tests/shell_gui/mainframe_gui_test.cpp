// The program's main window on the display: the first start shows the
// program's eight toolbars in their places with the four combos, a
// thickness typed into the real combo is taken once per Return, and a
// picture of the window with a sample document open is saved.
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>

#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, TheFirstStartShowsTheProgramsToolbarsAndTakesATypedThicknessOnce)
{
    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({Example("plate.plb").c_str()});
    ASSERT_TRUE(app->InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    frame->MoveWindow(CRect(0, 0, 1280, 900));
    frame->ShowWindow(SW_SHOW);
    auto* window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(frame));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    AfxQtUpdateToolBars(window);

    struct Row {
        const char* title;
        Qt::ToolBarArea area;
        bool shown;
        UINT combo; // 0: none
    };
    const Row rows[] = {
        {"Calculations", Qt::TopToolBarArea, true, ID_VIEW_MODE},
        {"Geometric objects", Qt::RightToolBarArea, true, 0},
        {"Active material", Qt::TopToolBarArea, true, ID_ACTIVE_MATERIAL},
        {"Active thickness", Qt::TopToolBarArea, true, ID_ACTIVE_THICKNESS},
        {"Result view tools", Qt::TopToolBarArea, true, ID_RESULT_COMPONENT},
        {"Object modification-tools", Qt::RightToolBarArea, true, 0},
        {"Clip-plane tools", Qt::TopToolBarArea, false, 0},
        {"Extrude-tools", Qt::TopToolBarArea, false, 0},
    };
    const UINT b = frame->m_nThicknessBarID - 3;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const Row& row = rows[i];
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("bar%1").arg(b + i));
        ASSERT_NE(bar, nullptr) << row.title;
        EXPECT_EQ(bar->windowTitle().toStdString(), row.title);
        EXPECT_EQ(bar->isVisible(), row.shown) << row.title;
        if (row.shown) {
            EXPECT_EQ(window->toolBarArea(bar), row.area) << row.title;
        }
        if (row.combo) {
            QWidget* combo = AfxQtWidgetOf(frame->GetToolbarCombo(row.combo));
            ASSERT_NE(combo, nullptr) << row.title;
            EXPECT_TRUE(bar->isAncestorOf(combo)) << row.title;
            EXPECT_TRUE(combo->isVisible()) << row.title;
        }
    }

    // Return in the real thickness combo: one message for "0", one new
    // entry for "37".
    auto* thickness =
        qobject_cast<QComboBox*>(AfxQtWidgetOf(frame->GetToolbarCombo(ID_ACTIVE_THICKNESS)));
    ASSERT_TRUE(thickness && thickness->lineEdit());
    m_env->Boxes().Expect("You must enter a positive number");
    for (const char* typed : {"0", "37"}) {
        thickness->lineEdit()->selectAll();
        QTest::keyClicks(thickness->lineEdit(), typed);
        QTest::keyClick(thickness->lineEdit(), Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(m_env->Boxes().Shown().size(), 1u);
    EXPECT_EQ(frame->m_dActThickness, 37.0);
    EXPECT_EQ(thickness->count(), 2);
    EXPECT_EQ(thickness->itemText(1).toStdString(), "37");

    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(window, "brantel-main-window.png", &why))
        << why.toStdString();
    EndApp(app);
}

} // namespace
