// A settings file whose mesher trial-node count is out of range: the
// program starts with the default count, names the setting once in the log
// window, and meshes the sample plate.
#include <cstring>
#include <fstream>
#include <iterator>

#include "graphview/ogl2dview.h"
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"
#include "platform/weblar/easymesh.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, AnOutOfRangeTrialNodeCountIsResetNamedInTheLogAndTheProgramMeshes)
{
    const int nodes = CEasyMesh::m_nMaxNodes;
    {
        auto app = std::make_unique<CBrantelApp>();
        app->SetCommandLine({Example("plate.plb").c_str()});
        ASSERT_TRUE(app->InitInstance());
        EndApp(app); // writes the settings file
    }
    const std::string ini = m_folder + "/Vornetic/brantel.ini";
    std::string bytes;
    {
        std::ifstream in(ini, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // The grid type, then the trial-node count, as the application stores them.
    std::string pair(8, '\0');
    const std::int32_t grid = static_cast<std::int32_t>(COGL2DView::m_uiGridType);
    const std::int32_t trial = CEasyMesh::m_nMaxNodes, huge = 2147483647;
    std::memcpy(&pair[0], &grid, 4);
    std::memcpy(&pair[4], &trial, 4);
    const std::size_t at = bytes.rfind(pair);
    ASSERT_NE(at, std::string::npos);
    std::memcpy(&bytes[at + 4], &huge, 4);
    std::ofstream(ini, std::ios::binary) << bytes;

    auto app = std::make_unique<CBrantelApp>();
    const ShownExample shown = ShowExample(*app, "plate.plb");
    ASSERT_NE(shown.view, nullptr);
    EXPECT_EQ(CEasyMesh::m_nMaxNodes, trial);
    CString log;
    shown.frame->GetLogWindow()->GetLogEdit().GetWindowText(log);
    EXPECT_EQ(std::string(log), std::string(KorApp::SettingResetLine("Mesher trial nodes")));
    QString why;
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(shown.window, "brantel-settings-reset-log.png", &why))
        << why.toStdString();
    // The mesh run starts its own log; the mesh is made.
    ASSERT_TRUE(shown.child->GenerateMesh());
    EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(shown.window, "brantel-settings-reset-meshed.png", &why))
        << why.toStdString();
    EndApp(app);
    CEasyMesh::m_nMaxNodes = nodes;
}

} // namespace
