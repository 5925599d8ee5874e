#include "platform/ui/qt/qtglhost.h"

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>
#include <QWindow>

#include "platform/ui/core/busy.h"
#include "platform/ui/core/constants.h"
#include "platform/ui/core/input.h"
#include "platform/ui/qt/qtcursors.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtstartup.h"

#ifndef GL_COLOR_ATTACHMENT0
#define GL_COLOR_ATTACHMENT0 0x8CE0
#endif

// ---- Current contexts ------------------------------------------------------------------

namespace
{

// Identifies tokens made by this backend.
const char kBackend = 0;

std::map<QOpenGLContext*, std::function<void()>>& Binders()
{
    static std::map<QOpenGLContext*, std::function<void()>> binders;
    return binders;
}

std::map<HWND, CQtGLHost*>& Hosts()
{
    static std::map<HWND, CQtGLHost*> hosts;
    return hosts;
}

// Hosts inside their paint cycle, over all views.
int g_paintingHosts = 0;

// A null surface that detaches itself from its window with its container.
class CQtNullHost : public QObject, public CNullGLSurface
{
public:
    CQtNullHost(HWND hWnd, QWidget* pContainer) : QObject(pContainer), m_hWnd(hWnd)
    {
        AfxAttachGLSurface(hWnd, this);
    }
    ~CQtNullHost() override
    {
        if (AfxGetGLSurface(m_hWnd) == this)
            AfxAttachGLSurface(m_hWnd, nullptr);
    }

private:
    HWND m_hWnd;
};

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

AfxMouseButton ButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return AfxMouseButton::left;
    case Qt::RightButton:
        return AfxMouseButton::right;
    case Qt::MiddleButton:
        return AfxMouseButton::middle;
    default:
        return AfxMouseButton::none;
    }
}

CPoint DevicePoint(QPointF logical, double ratio)
{
    return CPoint(static_cast<int>(std::floor(logical.x() * ratio)),
                  static_cast<int>(std::floor(logical.y() * ratio)));
}

} // namespace

UINT AfxQtVirtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<UINT>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Plus:
        return 0xBB;
    case Qt::Key_Minus:
        return 0xBD;
    default:
        return 0;
    }
}

GLCurrentToken AfxQtCaptureCurrent()
{
    GLCurrentToken token;
    token.backend = &kBackend;
    if (QOpenGLContext* context = QOpenGLContext::currentContext())
        token.handles = {context, context->surface()};
    return token;
}

bool AfxQtRestoreCurrent(const GLCurrentToken& token)
{
    if (token.backend != &kBackend)
        return false;
    auto* context = static_cast<QOpenGLContext*>(token.handles[0]);
    if (!context) {
        if (QOpenGLContext* current = QOpenGLContext::currentContext())
            current->doneCurrent();
        return true;
    }
    const auto it = Binders().find(context);
    if (it == Binders().end())
        return false; // gone, or never ours to restore
    it->second();
    return QOpenGLContext::currentContext() == context;
}

void AfxQtRegisterContextBinder(QOpenGLContext* context, std::function<void()> bind)
{
    if (bind)
        Binders()[context] = std::move(bind);
    else
        Binders().erase(context);
}

bool AfxQtCanHostOpenGL()
{
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal")
        return false;
    // A display without OpenGL (no GLX or EGL) gets no OpenGL widgets: Qt
    // cannot draw a window that holds one there.
    static const bool contextWorks = [] {
        QOpenGLContext context;
        return context.create();
    }();
    return contextWorks;
}

// ---- The widget ---------------------------------------------------------------------------

class CQtGLWidget : public QOpenGLWidget
{
public:
    CQtGLWidget(CQtGLHost& host, QWidget* pParent) : QOpenGLWidget(pParent), m_host(host)
    {
        setFormat(AfxQtDefaultSurfaceFormat());
        setFocusPolicy(Qt::StrongFocus);
        setMouseTracking(true);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        // The frame stays in the framebuffer between paints: a busy view
        // skips its drawing and shows its last frame again.
        setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    }

protected:
    void initializeGL() override
    {
        // A move to another screen (or another pixel ratio) rebuilds the
        // view for it.
        if (QWindow* window = this->window()->windowHandle(); window && window != m_screens) {
            if (m_screens)
                QObject::disconnect(m_screens, nullptr, this, nullptr);
            m_screens = window;
            QObject::connect(window, &QWindow::screenChanged, this, [this] { m_host.SettingChanged(); });
        }
        m_host.ContextReady();
    }
    void resizeGL(int, int) override { m_host.Resized(); }
    void paintGL() override { m_host.Paint(); }

    void mousePressEvent(QMouseEvent* e) override { Mouse(AfxViewEventKind::press, e); }
    void mouseReleaseEvent(QMouseEvent* e) override { Mouse(AfxViewEventKind::release, e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        Mouse(AfxViewEventKind::doubleClick, e);
    }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(AfxViewEventKind::move, e); }
    void wheelEvent(QWheelEvent* e) override
    {
        AfxViewEvent event;
        event.kind = AfxViewEventKind::wheel;
        event.nFlags = MouseFlags(e->buttons(), e->modifiers());
        event.zDelta = static_cast<short>(e->angleDelta().y());
        event.point = DevicePoint(e->globalPosition(), devicePixelRatioF());
        m_host.Input(event);
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override { Key(AfxViewEventKind::keyDown, e); }
    void keyReleaseEvent(QKeyEvent* e) override { Key(AfxViewEventKind::keyUp, e); }
    void enterEvent(QEnterEvent* e) override
    {
        m_host.Entered();
        QOpenGLWidget::enterEvent(e);
    }
    void leaveEvent(QEvent* e) override
    {
        m_host.Left();
        QOpenGLWidget::leaveEvent(e);
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QOpenGLWidget::focusInEvent(e);
        const HWND hWnd = m_host.Window();
        AfxQtEntry([hWnd] { AfxUserFocus(hWnd); });
    }

private:
    void Mouse(AfxViewEventKind kind, QMouseEvent* e)
    {
        AfxViewEvent event;
        event.kind = kind;
        event.button = kind == AfxViewEventKind::move ? AfxMouseButton::none : ButtonOf(e->button());
        if (kind != AfxViewEventKind::move && event.button == AfxMouseButton::none)
            return;
        event.nFlags = MouseFlags(e->buttons(), e->modifiers());
        event.point = DevicePoint(e->position(), devicePixelRatioF());
        m_host.Input(event);
        e->accept();
    }
    void Key(AfxViewEventKind kind, QKeyEvent* e)
    {
        const UINT vk = AfxQtVirtualKey(e->key());
        if (vk == 0) {
            e->ignore();
            return;
        }
        AfxViewEvent event;
        event.kind = kind;
        event.nChar = vk;
        event.nRepCnt = 1;
        // The previous-state and transition bits of the key message.
        event.nKeyFlags = kind == AfxViewEventKind::keyUp ? 0xC000 : (e->isAutoRepeat() ? 0x4000 : 0);
        m_host.Input(event);
        e->accept();
    }

    CQtGLHost& m_host;
    QPointer<QWindow> m_screens; // the window whose screen changes are watched
};

// ---- The host -----------------------------------------------------------------------------

CQtGLHost::CQtGLHost(HWND hWnd, QWidget* pContainer) : QObject(pContainer), m_hWnd(hWnd), m_container(pContainer)
{
    auto* layout = new QGridLayout(pContainer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const CWndState* state = AfxGetWndState(hWnd);
    MakeScrollBars(state ? state->dwStyle : 0);
    MakeWidget();
    Hosts()[hWnd] = this;
    AfxAttachGLSurface(hWnd, this);
}

CQtGLHost::~CQtGLHost()
{
    if (AfxGetGLSurface(m_hWnd) == this)
        AfxAttachGLSurface(m_hWnd, nullptr);
    Hosts().erase(m_hWnd);
    if (m_context) {
        QObject::disconnect(m_context, nullptr, this, nullptr);
        AfxQtRegisterContextBinder(m_context, {});
    }
}

CQtGLHost* CQtGLHost::Of(HWND hWnd)
{
    const auto it = Hosts().find(hWnd);
    return it != Hosts().end() ? it->second : nullptr;
}

void CQtGLHost::MakeWidget()
{
    m_gl = new CQtGLWidget(*this, m_container);
    static_cast<QGridLayout*>(m_container->layout())->addWidget(m_gl, 0, 0);
    if (m_container->isVisible())
        m_gl->show();
}

void CQtGLHost::MakeScrollBars(DWORD dwStyle)
{
    auto* layout = static_cast<QGridLayout*>(m_container->layout());
    for (const bool vertical : {false, true}) {
        if (!(dwStyle & (vertical ? WS_VSCROLL : WS_HSCROLL)))
            continue;
        auto* bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, m_container);
        bar->setFocusPolicy(Qt::NoFocus);
        QObject::connect(bar, &QScrollBar::actionTriggered, this,
                         [this, vertical](int action) { SendScroll(vertical, action); });
        QObject::connect(bar, &QScrollBar::sliderReleased, this,
                         [this, vertical] { SendScroll(vertical, -1); });
        if (vertical)
            layout->addWidget(bar, 0, 1);
        else
            layout->addWidget(bar, 1, 0);
        m_bars[vertical ? SB_VERT : SB_HORZ] = bar;
    }
    ShowScrollBars();
}

void CQtGLHost::ShowScrollBars()
{
    const CWndState* state = AfxGetWndState(m_hWnd);
    if (!state)
        return;
    for (int nBar : {SB_HORZ, SB_VERT}) {
        QScrollBar* bar = m_bars[nBar];
        if (!bar)
            continue;
        const QSignalBlocker blocker(bar);
        const CWndState::ScrollBar& range = state->scrollBars[nBar];
        bar->setRange(std::min(range.nMin, range.nMax), std::max(range.nMin, range.nMax));
        bar->setValue(range.nPos);
    }
}

void CQtGLHost::SendScroll(bool bVertical, int action)
{
    QScrollBar* bar = m_bars[bVertical ? SB_VERT : SB_HORZ];
    if (!bar)
        return;
    // -1: the thumb was let go.
    const UINT code = action == -1 ? SB_THUMBPOSITION : AfxQtScrollCode(action);
    if (code == SB_ENDSCROLL)
        return;
    const int pos = bar->sliderPosition();
    AfxQtEntry([this, bVertical, code, pos] {
        if (CWnd* view = View())
            view->SendMessage(bVertical ? WM_VSCROLL : WM_HSCROLL,
                              MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
    });
    ShowScrollBars();
}

CWnd* CQtGLHost::View() const
{
    const CWndState* state = AfxGetWndState(m_hWnd);
    return state && !state->bDestroying ? state->Target() : nullptr;
}

QOpenGLWidget* CQtGLHost::GLWidget() const
{
    return m_gl.data();
}

bool CQtGLHost::HasContext() const
{
    return m_gl && m_gl->context() && m_gl->context()->isValid();
}

bool CQtGLHost::MakeCurrent()
{
    if (!HasContext())
        return false;
    m_gl->makeCurrent();
    return QOpenGLContext::currentContext() == m_gl->context();
}

void CQtGLHost::DoneCurrent()
{
    if (IsCurrent())
        m_gl->doneCurrent();
}

bool CQtGLHost::IsCurrent() const
{
    return m_gl && m_gl->context() && QOpenGLContext::currentContext() == m_gl->context();
}

GLPixelSize CQtGLHost::PixelSize() const
{
    if (!m_gl)
        return {};
    const double ratio = m_gl->devicePixelRatioF();
    return {static_cast<int>(std::lround(m_gl->width() * ratio)),
            static_cast<int>(std::lround(m_gl->height() * ratio))};
}

double CQtGLHost::DevicePixelRatio() const
{
    return m_gl ? m_gl->devicePixelRatioF() : 1.0;
}

GLenum CQtGLHost::DefaultDrawBuffer() const
{
    // The widget draws into its framebuffer object.
    return GL_COLOR_ATTACHMENT0;
}

const void* CQtGLHost::ShareGroup() const
{
    if (m_gl && m_gl->context())
        return m_gl->context()->shareGroup();
    return this;
}

void CQtGLHost::RequestUpdate()
{
    if (m_gl)
        m_gl->update();
}

void CQtGLHost::RepaintNow()
{
    if (!m_gl)
        return;
    if (m_bResizing) {
        m_gl->update();
        return;
    }
    if (g_paintingHosts > 0) {
        // Inside another view's paint: no second Qt paint (and no context
        // switch) in the middle of it; the view's own draw cycle decides
        // (it drops the draw while another one runs).
        Paint();
        return;
    }
    m_gl->repaint();
}

bool CQtGLHost::Recreate()
{
    if (!m_gl)
        return false;
    // The view has let go of the old context already.
    if (m_context) {
        QObject::disconnect(m_context, nullptr, this, nullptr);
        AfxQtRegisterContextBinder(m_context, {});
        m_context = nullptr;
    }
    delete m_gl.data();
    MakeWidget();
    return true;
}

void CQtGLHost::ContextReady()
{
    if (m_context)
        ContextLost(); // a context Qt made anew without telling (a new window)
    m_context = m_gl->context();
    QPointer<CQtGLWidget> gl = m_gl;
    AfxQtRegisterContextBinder(m_context, [gl] {
        if (gl)
            gl->makeCurrent();
    });
    QObject::connect(m_context, &QOpenGLContext::aboutToBeDestroyed, this, [this] { ContextLost(); },
                     Qt::DirectConnection);
    ++g_paintingHosts;
    m_bPainting = true;
    AfxQtEntry([this] {
        if (CWnd* view = View())
            view->SendMessage(WM_AFX_GLCONTEXT, AFX_GLCONTEXT_READY);
    });
    m_bPainting = false;
    --g_paintingHosts;
}

void CQtGLHost::ContextLost()
{
    if (!m_context)
        return;
    QOpenGLContext* context = m_context;
    if (m_gl && m_gl->context() == context)
        m_gl->makeCurrent();
    AfxQtEntry([this] {
        if (CWnd* view = View())
            view->SendMessage(WM_AFX_GLCONTEXT, AFX_GLCONTEXT_LOST);
    });
    QObject::disconnect(context, nullptr, this, nullptr);
    AfxQtRegisterContextBinder(context, {});
    m_context = nullptr;
}

void CQtGLHost::SettingChanged()
{
    const HWND hWnd = m_hWnd;
    AfxQtEntry([hWnd] {
        if (CWnd* view = CWnd::FromHandle(hWnd))
            view->PostMessage(WM_SETTINGCHANGE);
    });
}

void CQtGLHost::Resized()
{
    const double ratio = DevicePixelRatio();
    if (m_lastRatio > 0 && ratio != m_lastRatio)
        SettingChanged();
    m_lastRatio = ratio;
    // The view's own repaint after a resize waits for Qt's paint, which
    // follows at once.
    const bool resizing = std::exchange(m_bResizing, true);
    AfxViewEvent event;
    event.kind = AfxViewEventKind::size;
    const GLPixelSize size = PixelSize();
    event.size = CSize(size.cx, size.cy);
    Input(event);
    m_bResizing = resizing;
}

void CQtGLHost::Paint()
{
    // Busy, the view keeps its last frame: its model may be half built.
    if (AfxIsBusy())
        return;
    ++g_paintingHosts;
    const bool outer = !m_bPainting;
    m_bPainting = true;
    AfxQtEntry([this] {
        if (CWnd* view = View())
            view->SendMessage(WM_PAINT);
    });
    if (outer)
        m_bPainting = false;
    --g_paintingHosts;
    ShowScrollBars();
}

void CQtGLHost::Input(const AfxViewEvent& event)
{
    if (event.kind != AfxViewEventKind::size && event.kind != AfxViewEventKind::wheel)
        AfxQtSetCursorWidget(m_gl);
    AfxQtEntry([this, event] {
        if (CWnd* view = View())
            AfxDispatchViewEvent(*view, event);
    });
}

void CQtGLHost::Entered()
{
    AfxQtSetCursorWidget(m_gl);
    AfxQtEntry([this] {
        if (CWnd* view = View())
            view->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hWnd),
                              MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    });
}

void CQtGLHost::Left()
{
    AfxQtEntry([this] {
        if (CWnd* view = View())
            view->SendMessage(WM_MOUSELEAVE);
    });
}

void AfxQtRepaintGLViewsIn(const QWidget* pWidget, bool bNow)
{
    if (!pWidget)
        return;
    std::vector<CQtGLHost*> inside;
    for (const auto& [hWnd, host] : Hosts())
        if (QOpenGLWidget* gl = host->GLWidget(); gl && gl->isVisible() && pWidget->isAncestorOf(gl))
            inside.push_back(host);
    for (CQtGLHost* host : inside)
        bNow ? host->RepaintNow() : host->RequestUpdate();
}

IGLSurface* AfxQtCreateGLHost(HWND hWnd)
{
    const CWndState* state = AfxGetWndState(hWnd);
    auto* peer = state ? dynamic_cast<CQtPeer*>(state->peer.get()) : nullptr;
    QWidget* container = peer ? peer->Widget() : nullptr;
    if (!container)
        return nullptr;
    if (!AfxQtCanHostOpenGL())
        return new CQtNullHost(hWnd, container);
    return new CQtGLHost(hWnd, container);
}
