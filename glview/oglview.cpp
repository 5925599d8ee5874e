#include "glview/oglview.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <utility>

#include <GL/gl.h>

#include "glstyle/drawing_settings.h"
#include "glview/ogldib.h"
#include "platform/ui/core/busy.h"

IMPLEMENT_DYNAMIC(COGLView, CView)

namespace {

// The text font views start with.
LOGFONT DefaultTextFont()
{
    LOGFONT lf{};
    lf.lfHeight = -21;
    std::strcpy(lf.lfFaceName, "Times New Roman");
    return lf;
}

// The description of the system font, for a face that cannot be made.
LOGFONT SystemFontDescription()
{
    LOGFONT lf{};
    lf.lfHeight = 16;
    lf.lfWeight = FW_BOLD;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "System");
    return lf;
}

// Raises the process-wide drawing guard for the life of the scope, and
// clears it on every way out, also when the drawing throws, so that one
// failed draw does not stop every view from drawing.
struct DrawingFlag {
    explicit DrawingFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~DrawingFlag() { m_flag = false; }
    bool& m_flag;
};

// The largest size of the page's shape within the limit (a 0 limit: none).
CSize CappedSize(CSize page, GLPixelSize limit)
{
    double scale = 1.0;
    if (limit.cx > 0 && page.cx > limit.cx)
        scale = std::min(scale, static_cast<double>(limit.cx) / page.cx);
    if (limit.cy > 0 && page.cy > limit.cy)
        scale = std::min(scale, static_cast<double>(limit.cy) / page.cy);
    return CSize(std::max(1, static_cast<int>(page.cx * scale)),
                 std::max(1, static_cast<int>(page.cy * scale)));
}

// Creates font from lf when the glyph source can render its face.
bool CreateViewFont(CFont& font, const LOGFONT& lf)
{
    return AfxGetGlyphSource().HasFace(lf) && font.CreateFontIndirect(&lf) != FALSE;
}

} // namespace

bool COGLView::m_bDrawing = false;
bool COGLView::m_bUseFontBMPs = true;
LOGFONT COGLView::m_statLogFont = DefaultTextFont();

BEGIN_MESSAGE_MAP(COGLView, CView)
    ON_WM_ERASEBKGND()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_SETTINGCHANGE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_OGLVIEW_SHOWMESSAGE, OnShowMessage)
    ON_MESSAGE(WM_AFX_GLCONTEXT, OnGLContext)
    ON_WM_PAINT()
END_MESSAGE_MAP()

COGLView::COGLView() = default;

COGLView::~COGLView() = default;

void COGLView::ResetStaticsForTesting()
{
    m_bDrawing = false;
    m_bUseFontBMPs = true;
    m_statLogFont = DefaultTextFont();
}

void COGLView::RenderStressScale(double max, double, CString unit, int format, int precision)
{
    // Symmetric about zero: only max counts.
    COGLRenderer::DrawStressScale(max, unit, format, precision);
}

BOOL COGLView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL COGLView::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID)
{
    CREATESTRUCT cs{};
    cs.style = dwStyle;
    cs.lpszName = lpszWindowName;
    cs.lpszClass = lpszClassName;
    if (!PreCreateWindow(cs))
        return FALSE;
    return CView::Create(lpszClassName, lpszWindowName, cs.style, rect, pParentWnd, nID);
}

// ---- Context ---------------------------------------------------------------------

bool COGLView::InitializeOGL()
{
    // The client DC carries the window's surface; the renderer owns it.
    const int code = m_Renderer.InitializeOGL(new CClientDC(this));
    if (code != 0) {
        static const char* const kWhy[] = {
            "Failure to get Device Context",
            "Failure to Setup Pixel-Format",
            "Failure to Create Rendering-Context",
            "Failure to Make Rendering-Context Current",
        };
        const CString text = CString("Error in COGLView InitializeOGL:\r\n\t") + kWhy[(code - 1) & 3];
        ShowText(text);
        return false;
    }
    glClearColor(fBckClrMdView[0], fBckClrMdView[1], fBckClrMdView[2], fBckClrMdView[3]);
    glClearDepth(1.0);
    if (!m_bUseFontBMPs)
        return true;

    if (!m_bHasFont) {
        CFont font;
        if (!CreateViewFont(font, m_statLogFont)) {
            // The face cannot be made: every later view takes the system font.
            m_statLogFont = SystemFontDescription();
            if (!CreateViewFont(font, m_statLogFont)) {
                BuildGlyphLists(SystemFontDescription());
                return true;
            }
        }
        m_Font = font;
        m_bHasFont = true;
    }
    LOGFONT lf{};
    m_Font.GetLogFont(&lf);
    BuildGlyphLists(lf);
    return true;
}

void COGLView::BuildGlyphLists(const LOGFONT& lf)
{
    m_Renderer.CreateFontBitmaps(lf);
}

void COGLView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    IGLSurface* host = AfxGetGLSurface(GetSafeHwnd());
    if (host != nullptr && host->IsWindowHost() && !host->HasContext()) {
        // The host makes its context when the window is first shown and
        // then sends WM_AFX_GLCONTEXT, before the first resize or paint.
        m_bInitPending = true;
    } else if (InitializeOGL()) {
        m_bInitialized = true;
    } else {
        MessageBox("failure to Initialize OpenGL", nullptr, MB_OK);
    }
    if (m_nLists != 0) {
        if (!m_pListValid) {
            m_pListValid = std::make_unique<bool[]>(static_cast<std::size_t>(m_nLists));
            m_pListIds = std::make_unique<unsigned int[]>(static_cast<std::size_t>(m_nLists));
        }
        for (int i = 0; i < m_nLists; ++i) {
            m_pListValid[i] = false;
            m_pListIds[i] = 0;
        }
    }
}

void COGLView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    InvalidateList();
    CView::OnUpdate(pSender, lHint, pHint);
}

// ---- Draw cycle --------------------------------------------------------------------

void COGLView::OnDraw(CDC* pDC)
{
    if (pDC != nullptr && pDC->IsPrinting()) {
        PrintImage(pDC);
        return;
    }
    if (!m_bInitialized)
        return;
    // Busy, a run works on the model on another thread: the view keeps its
    // last picture and reads nothing of the model.
    if (AfxIsBusy())
        return;
    m_iDrawTime = 0;
    const auto start = std::chrono::steady_clock::now();
    if (m_bDrawing) {
        // Another OpenGL view is drawing: this paint is dropped.
        PostText("Device busy drawing");
        return;
    }
    DrawingFlag drawing(m_bDrawing);
    // Another view's context found current is current again afterwards.
    IGLSurface* surface = m_Renderer.GetSurface();
    const bool restore = surface != nullptr && m_Renderer.IsCurrent() == 0;
    const GLCurrentToken previous = restore ? surface->CaptureCurrent() : GLCurrentToken{};
    // Device pixels: the drawable's own size where the host knows it.
    CRect rect;
    GetClientRect(&rect);
    if (surface != nullptr && surface->PixelSize().cx > 0 && surface->PixelSize().cy > 0)
        rect.SetRect(0, 0, surface->PixelSize().cx, surface->PixelSize().cy);
    if (m_Renderer.PreDraw(rect, GetBckGrdClr()) != 0) {
        m_iDrawTime = 10000;
        return;
    }
    OnDrawOGL(rect);
    glFinish();
    m_Renderer.FinishAndSwap(true);
    if (restore)
        surface->RestoreCurrent(previous);
    m_iDrawTime = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

void COGLView::PrintImage(CDC* pDC)
{
    // A printer has no OpenGL: the scene goes to the page as an image.
    const CSize page(pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES));
    if (page.cx <= 0 || page.cy <= 0 || m_bDrawing)
        return;
    // The window's picture at its aspect ratio, filling the printable area
    // in one direction, centred in the other.
    CRect client;
    GetClientRect(&client);
    const CSize window = client.Width() > 0 && client.Height() > 0 ? CSize(client.Width(), client.Height()) : page;
    const double fit = std::min(static_cast<double>(page.cx) / window.cx, static_cast<double>(page.cy) / window.cy);
    const CSize target(std::clamp(static_cast<int>(window.cx * fit + 0.5), 1, static_cast<int>(page.cx)),
                       std::clamp(static_cast<int>(window.cy * fit + 0.5), 1, static_cast<int>(page.cy)));
    const CPoint at((page.cx - target.cx) / 2, (page.cy - target.cy) / 2);
    const CSize size = CappedSize(target, COGLDIB::MaxSize());
    // The picture shows what the window shows, at size.cx / window.cx times
    // its pixels; the text grows with it, and at least to kPrintTextPoints
    // at the printer's resolution.
    const double magnify = static_cast<double>(size.cx) / window.cx;
    const int dpi = pDC->GetDeviceCaps(LOGPIXELSY);
    const double fontPixels = std::max<double>(1.0, std::abs(static_cast<double>(m_statLogFont.lfHeight)));
    const double leastGlyphs =
        dpi > 0 ? kPrintTextPoints / 72.0 * dpi * (static_cast<double>(size.cy) / target.cy) / fontPixels : 1.0;
    COGLDIB dib;
    dib.UseFontBMPs(m_bUseFontBMPs);
    dib.SetGlyphRatio(std::max(magnify, leastGlyphs));
    if (!dib.PreDraw(pDC, size, GetBckGrdClr()))
        return;
    DrawingFlag drawing(m_bDrawing);
    struct Picture {
        COGLView& view;
        Picture(COGLView& v, double factor) : view(v) { view.BeginPicture(factor); }
        ~Picture() { view.EndPicture(); }
        Picture(const Picture&) = delete;
        Picture& operator=(const Picture&) = delete;
    } picture(*this, magnify);
    // The view's lists live in its own context: the private one compiles
    // its own, and the view's come back untouched afterwards.
    struct ListSwap {
        COGLView& view;
        std::unique_ptr<bool[]> valid;
        std::unique_ptr<unsigned int[]> ids;
        int width, height;
        explicit ListSwap(COGLView& v) : view(v), width(v.m_iWidth), height(v.m_iHeight)
        {
            if (view.m_nLists > 0 && view.m_pListValid) {
                const auto n = static_cast<std::size_t>(view.m_nLists);
                valid = std::exchange(view.m_pListValid, std::make_unique<bool[]>(n));
                ids = std::exchange(view.m_pListIds, std::make_unique<unsigned int[]>(n));
            }
        }
        ~ListSwap()
        {
            if (valid) {
                view.m_pListValid = std::move(valid);
                view.m_pListIds = std::move(ids);
            }
            view.m_iWidth = width;
            view.m_iHeight = height;
        }
    } lists(*this);
    m_iWidth = size.cx;
    m_iHeight = size.cy;
    glViewport(0, 0, size.cx, size.cy);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    OnDrawOGL(CRect(0, 0, size.cx, size.cy));
    glFinish();
    dib.PostDraw();
    dib.PrintStrech(pDC, at.x, at.y, size, target);
}

BOOL COGLView::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

int COGLView::OnCreate(LPCREATESTRUCT)
{
    // The backend hosts the window's drawing (nothing where a test attaches
    // its own surface).
    AfxRequestGLSurface(GetSafeHwnd());
    return static_cast<int>(Default());
}

void COGLView::OnPaint()
{
    IGLSurface* host = AfxGetGLSurface(GetSafeHwnd());
    if (host != nullptr && host->IsWindowHost() && !host->IsPainting()) {
        host->RepaintNow();
        return;
    }
    CView::OnPaint();
}

LRESULT COGLView::OnGLContext(WPARAM wParam, LPARAM)
{
    if (wParam == AFX_GLCONTEXT_LOST) {
        // The lists go with the context; a new one initialises again.
        if (m_bInitialized || m_bInitPending) {
            OGLDestroy();
            m_bInitPending = true;
        }
        return 0;
    }
    if (!m_bInitPending)
        return 0; // no initial update yet: it initialises then
    m_bInitPending = false;
    m_bInHostInit = true;
    m_bInitialized = InitializeOGL();
    if (!m_bInitialized)
        ShowText("failure to Initialize OpenGL");
    m_bInHostInit = false;
    InvalidateList();
    return 0;
}

void COGLView::OnSize(UINT, int cx, int cy)
{
    // Sizes are device pixels: the host's drawable decides where it has one.
    if (IGLSurface* host = AfxGetGLSurface(GetSafeHwnd()); host != nullptr && host->IsWindowHost()) {
        const GLPixelSize size = host->PixelSize();
        if (size.cx > 0 && size.cy > 0) {
            cx = size.cx;
            cy = size.cy;
        }
    }
    if (IGLSurface* surface = m_Renderer.GetSurface(); surface != nullptr && m_Renderer.HasContext()) {
        GLCurrentScope scope(*surface);
        if (scope.Ok()) {
            glViewport(0, 0, cx, cy);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            glDrawBuffer(surface->DefaultDrawBuffer());
        }
    }
    Default();
    m_iWidth = cx;
    m_iHeight = cy;
    // The whole client area is painted at once (one paint, no erase).
    UpdateWindow();
}

void COGLView::OnSettingChange(UINT, LPCTSTR)
{
    Default();
    SetTimer(ID_OGLVIEW_RESET_TIMER, 0);
}

void COGLView::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == ID_OGLVIEW_RESET_TIMER) {
        ResetOGL();
        KillTimer(ID_OGLVIEW_RESET_TIMER);
    }
    Default();
}

void COGLView::OnDestroy()
{
    OGLDestroy();
    Default();
}

void COGLView::OGLDestroy()
{
    // The view's lists go with its context.
    if (IGLSurface* surface = m_Renderer.GetSurface(); surface != nullptr && m_Renderer.HasContext()) {
        GLCurrentScope scope(*surface);
        if (scope.Ok())
            OGLDeleteLists();
    }
    if (m_pListIds)
        for (int i = 0; i < m_nLists; ++i)
            m_pListIds[i] = 0;
    InvalidateList();
    m_Renderer.CleanUp();
    m_bInitialized = false;
}

bool COGLView::ResetOGL()
{
    // The window host replaces the view's drawable in place; the view
    // object and its document stay.
    OGLDestroy();
    IGLSurface* host = AfxGetGLSurface(GetSafeHwnd());
    if (host != nullptr && host->IsWindowHost()) {
        // The new drawable's context initialises the view when it comes.
        m_bInitPending = true;
        return host->Recreate();
    }
    m_bInitialized = InitializeOGL();
    return m_bInitialized;
}

// ---- Display lists -----------------------------------------------------------------

void COGLView::InvalidateList()
{
    if (!m_pListValid)
        return;
    for (int i = 0; i < m_nLists; ++i)
        m_pListValid[i] = false;
}

void COGLView::OGLDeleteLists()
{
    if (!m_pListIds)
        return;
    for (int i = 0; i < m_nLists; ++i)
        if (m_pListIds[i] != 0) {
            glDeleteLists(m_pListIds[i], 1);
            m_pListIds[i] = 0;
        }
    InvalidateList();
}

// ---- Font ----------------------------------------------------------------------------

void COGLView::OptionsFont(LOGFONT lf)
{
    CFont font;
    const bool created = CreateViewFont(font, lf);
    if (created) {
        m_Font = font;
        m_bHasFont = true;
    }
    // The lists are built in this view's context; another view's context
    // current before stays current.
    BuildGlyphLists(created ? lf : SystemFontDescription());
    Invalidate(FALSE);
}

// ---- Messages and clipboard ----------------------------------------------------------

void COGLView::ShowText(const CString& text)
{
    if (m_bInHostInit || m_bDrawing)
        PostText(text);
    else
        MessageBox(text, nullptr, MB_OK);
}

void COGLView::PostText(const CString& text)
{
    m_pendingTexts.push_back(text);
    PostMessage(WM_OGLVIEW_SHOWMESSAGE);
}

LRESULT COGLView::OnShowMessage(WPARAM, LPARAM)
{
    std::vector<CString> texts;
    texts.swap(m_pendingTexts);
    for (const CString& text : texts)
        MessageBox(text, nullptr, MB_OK);
    return 0;
}

void COGLView::SnapClient()
{
    CRect rect;
    GetClientRect(&rect);
    m_Renderer.SnapToClipboard(rect.Width(), rect.Height());
}

DWORD COGLView::GDIError()
{
    // No call of this layer leaves an error code behind.
    return 0;
}

void ForEachOGLView(const CDocument& doc, const std::function<void(COGLView&)>& f)
{
    for (CView* view : doc.GetViews())
        if (view->IsKindOf(RUNTIME_CLASS(COGLView)))
            f(static_cast<COGLView&>(*view));
}
