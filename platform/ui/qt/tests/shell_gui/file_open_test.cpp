// The program's application on the display (the Qt backend with the
// scripted services): started with plate.plb its main window reads
// "Brantel - plate.plb", a scripted File Open adds the other two examples,
// and ending the main window writes the settings file.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "app/shell/brantelshell.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

std::string Example(const char* file)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    return std::string(root ? root : ".") + "/examples/" + file;
}

CString Title(CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return text;
}

class ShellOnQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AFXUI_QT_NEED_DISPLAY();
        afxui::qt::testing::TestApplication();
        std::string pattern = ::testing::TempDir() + "shell_gui_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_oldConfig = old;
        setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
        m_backend.emplace();
        m_env.emplace(m_backend->Backend());
    }
    void TearDown() override
    {
        if (m_env)
            m_env->Verify();
        m_env.reset();
        m_backend.reset();
        if (m_oldConfig)
            setenv("XDG_CONFIG_HOME", m_oldConfig->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    std::string m_folder;
    std::optional<std::string> m_oldConfig;
    std::optional<afxui::qt::testing::BackendScope> m_backend;
    std::optional<afxui::headless::ScriptedEnvironment> m_env;
};

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

    app->CloseAllDocuments(TRUE);
    app->m_pMainWnd->DestroyWindow();
    app->m_pMainWnd = nullptr;
    app->LoadCursors(false);
    app.reset();
    EXPECT_TRUE(std::filesystem::exists(m_folder + "/Vornetic/brantel.ini"));
}

} // namespace
