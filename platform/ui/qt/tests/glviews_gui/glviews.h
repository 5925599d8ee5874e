// What the OpenGL view tests on a display share: a window holding test
// views in QOpenGLWidget hosts, the Qt OpenGL services over the scripted
// ones of the headless tests, and waits for Qt to paint.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLWidget>

#include "glview/lumetra.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace glviews
{

// A view that clears to its background and draws what the test asks for,
// recording the order of its context and drawing calls.
class CTestGLView : public COGLView
{
public:
    float bg[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    std::vector<std::string> calls;     // "init", "size", "draw", "destroy"
    bool initializedAtFirstDraw = false;
    bool contextAtInit = false;         // a context was current inside InitializeOGL
    int draws = 0;
    std::function<void(CRect)> scene;   // drawn after the clear
    std::vector<UINT> messages;         // mouse, key and cursor messages in order
    std::vector<std::pair<WPARAM, LPARAM>> params;

    DWORD style = WS_CHILD | WS_VISIBLE;

    bool Make(CWnd& parent, CRect rect, UINT nID = 1)
    {
        return Create(nullptr, "", style, rect, &parent, nID) != FALSE;
    }
    void InitialUpdate() { OnInitialUpdate(); }
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    bool InitializeOGL() override
    {
        calls.push_back("init");
        contextAtInit = QOpenGLContext::currentContext() != nullptr;
        return COGLView::InitializeOGL();
    }
    void OGLDestroy() override
    {
        calls.push_back("destroy");
        COGLView::OGLDestroy();
    }
    void OnDrawOGL(CRect rect) override
    {
        if (draws++ == 0)
            initializedAtFirstDraw = m_bInitialized;
        calls.push_back("draw");
        if (scene)
            scene(rect);
    }
    // A view on the heap deletes itself with its window; tests keep it on
    // the stack.
    void PostNcDestroy() override {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SIZE)
            calls.push_back("size");
        if ((message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) || message == WM_MOUSEWHEEL ||
            message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SETCURSOR ||
            message == WM_HSCROLL || message == WM_VSCROLL) {
            messages.push_back(message);
            params.emplace_back(wParam, lParam);
        }
        return COGLView::WindowProc(message, wParam, lParam);
    }
};

// Orthographic pixels (y up) and a filled rectangle in one colour.
void Rect2D(CRect viewport, int x0, int y0, int x1, int y1, float r, float g, float b);

// The host's widget of a view.
QOpenGLWidget* GLWidget(CWnd& view);

// Processes events until done() holds (at most a few seconds, so a broken
// host fails the test instead of hanging it).
bool WaitFor(const std::function<bool()>& done);

// Runs the test named test of this program again in a child process at
// QT_SCALE_FACTOR 1.5 with marker set in its environment (the child's own
// run checks the marker); the child must pass.
void RunScaledChild(const char* marker, const char* test);

// A top-level window for views on the display, with the Qt OpenGL
// services installed over the scripted services.
class GLViewsOnQt : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the test's top-level window of the given logical size, shown.
    CWnd& Window(int cx = 520, int cy = 320);
    // Creates a view in the window, runs its initial update and waits for
    // its first frame.
    void Show(CTestGLView& view, CRect rect, UINT nID = 1);
    // The view's last frame.
    QImage Frame(CWnd& view);
    // Saves the image as file among the test pictures.
    void Save(const QImage& image, const char* file);

    std::optional<afxui::qt::testing::BackendScope> m_backend;
    std::optional<afxui::headless::ScriptedEnvironment> m_env;
    std::optional<CQtGLServices> m_gl;
    std::unique_ptr<CWnd> m_window;
};

} // namespace glviews
