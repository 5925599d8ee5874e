// The program's application on the display (the Qt backend with the
// scripted services): started with plate.plb its main window reads
// "Brantel - plate.plb", a scripted File Open adds the other two examples,
// and ending the main window writes the settings file.
#include "platform/ui/qt/tests/shell_gui/shell_on_qt.h"

namespace
{

using namespace shellgui;

TEST_F(ShellOnQt, FileOpenAddsTheOtherExamplesAndTheEndWritesTheSettings)
{
    auto app = std::make_unique<CBrantelApp>();
    app->SetCommandLine({Example("plate.plb").c_str()});
    ASSERT_TRUE(app->InitInstance());
    ASSERT_NE(app->m_pMainWnd, nullptr);
    EXPECT_EQ(Title(*app->m_pMainWnd), "Brantel - plate.plb");

    m_env->FileDialogs().Choose({Example("membrane.mem").c_str(), Example("buckling.shl").c_str()});
    EXPECT_TRUE(app->OnCmdMsg(ID_FILE_OPEN, CN_COMMAND, nullptr, nullptr));
    int documents = 0;
    for (CMultiDocTemplate* t : app->m_pTemplates)
        documents += static_cast<int>(t->GetDocuments().size());
    EXPECT_EQ(documents, 3);
    app->OnIdle(0);
    EXPECT_EQ(Title(*app->m_pMainWnd), "Brantel - buckling.shl");

    EndApp(app);
    EXPECT_TRUE(std::filesystem::exists(m_folder + "/Vornetic/brantel.ini"));
}

} // namespace
