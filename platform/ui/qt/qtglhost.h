// OpenGL views on Qt. A view's window (its peer's container widget) gets a
// QOpenGLWidget inside, with the window's own scroll bars beside it, and
// the host object that is the window's IGLSurface:
// - the widget makes its context when first shown; its initializeGL tells
//   the view (WM_AFX_GLCONTEXT), which runs InitializeOGL then, before the
//   first resize or paint;
// - paintGL sends the view its WM_PAINT, so the guarded draw cycle runs
//   with the widget's framebuffer bound; Qt shows the frame afterwards, so
//   there is nothing to swap;
// - when Qt is about to destroy the context, the view hears of it first
//   (OGLDestroy) while the context is still current;
// - Recreate (ResetOGL) replaces the widget in place: the view object and
//   its window stay;
// - mouse, wheel, key and size input goes through AfxDispatchViewEvent in
//   device pixels; entering the widget sends WM_SETCURSOR;
// - a change of screen or device pixel ratio posts WM_SETTINGCHANGE to the
//   view, which rebuilds it for the new one.
// Where no OpenGL widget can be hosted (the offscreen platform), the host
// has no context and a view takes its "no valid context" path.
#pragma once

#include <functional>

#include <QPointer>
#include <QWidget>

#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/viewinput.h"

class QOpenGLContext;
class QOpenGLWidget;
class QScrollBar;
class CQtGLWidget;

// The context current in the thread, as Qt reports it.
GLCurrentToken AfxQtCaptureCurrent();
// Makes a captured context current again (with its framebuffer bound, for
// a view's widget or an off-screen image), or none when none was; false
// for a token of another backend or a context that is gone.
bool AfxQtRestoreCurrent(const GLCurrentToken& token);
// Registers how a context is made current with its framebuffer bound
// (empty: forgets it); AfxQtRestoreCurrent uses it.
void AfxQtRegisterContextBinder(QOpenGLContext* context, std::function<void()> bind);

// The virtual-key code of a Qt key: letters and digits as upper ASCII,
// F-keys, arrows, Delete 46 and the other keys views take; 0 for none.
UINT AfxQtVirtualKey(int key);

// Whether the platform can host QOpenGLWidget: not the offscreen or
// minimal platform, and an OpenGL context can be made.
bool AfxQtCanHostOpenGL();

class CQtGLHost : public QObject, public IGLSurface
{
public:
    // Hosts the drawing of window hWnd inside its container widget and
    // attaches itself to the window; the container owns it.
    CQtGLHost(HWND hWnd, QWidget* pContainer);
    ~CQtGLHost() override;

    bool MakeCurrent() override;
    void DoneCurrent() override;
    bool IsCurrent() const override;
    GLCurrentToken CaptureCurrent() const override { return AfxQtCaptureCurrent(); }
    bool RestoreCurrent(const GLCurrentToken& token) const override
    {
        return AfxQtRestoreCurrent(token);
    }
    // Qt composites the widget after its paint: nothing to do.
    bool Swap() override { return true; }
    GLPixelSize PixelSize() const override;
    double DevicePixelRatio() const override;
    GLenum DefaultDrawBuffer() const override;
    void RequestUpdate() override;
    void RepaintNow() override;
    bool HasContext() const override;
    const void* ShareGroup() const override;
    bool IsWindowHost() const override { return true; }
    bool IsPainting() const override { return m_bPainting; }
    bool Recreate() override;

    // The widget drawn into (null where none can be hosted).
    QOpenGLWidget* GLWidget() const;
    HWND Window() const { return m_hWnd; }

    // The host of a window, or null.
    static CQtGLHost* Of(HWND hWnd);

    // From the widget.
    void ContextReady();
    void ContextLost();
    void Resized();
    // The screen or pixel ratio changed: the view gets WM_SETTINGCHANGE
    // (posted), which rebuilds it.
    void SettingChanged();
    void Paint();
    void Input(const AfxViewEvent& event);
    void Entered();
    // The pointer left the widget: WM_MOUSELEAVE to the view.
    void Left();

private:
    void MakeWidget();
    void MakeScrollBars(DWORD dwStyle);
    void ShowScrollBars();
    void SendScroll(bool bVertical, int action);
    CWnd* View() const;

    HWND m_hWnd;
    QPointer<QWidget> m_container;
    QPointer<CQtGLWidget> m_gl;
    QPointer<QScrollBar> m_bars[2]; // SB_HORZ, SB_VERT
    QOpenGLContext* m_context = nullptr; // the widget's, while it lives
    bool m_bPainting = false;
    bool m_bResizing = false;
    double m_lastRatio = 0; // at the last resize
};

// Repaints (now) or asks to repaint every shown OpenGL view inside the
// widget, through its host: a window's repaint includes them, as it
// includes its other children.
void AfxQtRepaintGLViewsIn(const QWidget* pWidget, bool bNow);

// Makes the host of a window on request (see AfxRequestGLSurface); the
// backend's provider. Under a platform without OpenGL widgets the window
// gets a surface without a context.
IGLSurface* AfxQtCreateGLHost(HWND hWnd);
