// The program's application on the display: the Qt backend with its
// OpenGL hosts (the program's views draw in real OpenGL widgets), the
// scripted services, the configuration in a scratch folder, and the example
// documents.
#pragma once

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <QMainWindow>
#include <QOpenGLWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "app/shell/brantelshell.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace shellgui
{

inline std::string Example(const char* file)
{
    const char* root = std::getenv("BRANTEL_SOURCE_DIR");
    return std::string(root ? root : ".") + "/examples/" + file;
}

inline CString Title(CWnd& wnd)
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
        m_gl.emplace();
        m_env.emplace(m_backend->Backend());
    }
    void TearDown() override
    {
        if (m_env)
            m_env->Verify();
        m_env.reset();
        m_gl.reset();
        m_backend.reset();
        if (m_oldConfig)
            setenv("XDG_CONFIG_HOME", m_oldConfig->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    // Closes the documents and the main window (which writes the settings)
    // and deletes the application.
    static void EndApp(std::unique_ptr<CBrantelApp>& app)
    {
        app->CloseAllDocuments(TRUE);
        if (app->m_pMainWnd && app->m_pMainWnd->GetSafeHwnd())
            app->m_pMainWnd->DestroyWindow();
        app->m_pMainWnd = nullptr;
        app->LoadCursors(false);
        app.reset();
    }

    std::string m_folder;
    std::optional<std::string> m_oldConfig;
    std::optional<afxui::qt::testing::BackendScope> m_backend;
    std::optional<CQtGLServices> m_gl;
    std::optional<afxui::headless::ScriptedEnvironment> m_env;
};

// Pixel of a model point in the view (device pixels, top row 0).
inline QPoint PixelOf(COGL2DView& view, double x, double y)
{
    view.GetScreenCoord(x, y);
    return QPoint(static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)));
}

// The program started on an example file, its main window shown at
// 1280 x 900 and active, with the modelling view of the active child frame
// and the view's OpenGL widget; view is null when any step failed.
struct ShownExample {
    CMainFrame* frame = nullptr;
    QMainWindow* window = nullptr;
    CChildFrame* child = nullptr;
    CBrantelModView* view = nullptr;
    QOpenGLWidget* gl = nullptr;
};

inline ShownExample ShowExample(CBrantelApp& app, const char* file)
{
    ShownExample shown;
    app.SetCommandLine({Example(file).c_str()});
    if (!app.InitInstance() || !(shown.frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd)))
        return shown;
    shown.frame->MoveWindow(CRect(0, 0, 1280, 900));
    shown.frame->ShowWindow(SW_SHOW);
    shown.window = qobject_cast<QMainWindow*>(AfxQtWidgetOf(shown.frame));
    if (!shown.window || !QTest::qWaitForWindowExposed(shown.window))
        return shown;
    shown.window->activateWindow();
    if (!QTest::qWaitForWindowActive(shown.window) ||
        !(shown.child = dynamic_cast<CChildFrame*>(shown.frame->MDIGetActive())))
        return shown;
    auto* view = dynamic_cast<CBrantelModView*>(shown.child->GetActiveView());
    shown.gl = view ? AfxQtWidgetOf(view)->findChild<QOpenGLWidget*>() : nullptr;
    if (shown.gl && QTest::qWaitForWindowExposed(shown.gl->window()))
        shown.view = view;
    QTest::qWait(50);
    return shown;
}

} // namespace shellgui
