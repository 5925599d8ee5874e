#include "glview/oglrenderer.h"

#include <cstring>
#include <new>
#include <vector>

#include <GL/glu.h>

#include "glstyle/drawing_settings.h"
#include "platform/afx/gdi.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/services.h"

bool COGLRenderer::bLineSmooth = true;
bool COGLRenderer::bPointSmooth = true;
bool COGLRenderer::bUseAccel = false;
unsigned int COGLRenderer::iSelBufSize = 1024;
unsigned int* COGLRenderer::selectBuf = nullptr;
double COGLRenderer::m_dMinEdge = -1.0;
double COGLRenderer::m_dMaxEdge = -1.0;
double COGLRenderer::m_dMinPoint = -1.0;
double COGLRenderer::m_dMaxPoint = -1.0;
int COGLRenderer::m_gliMaxClipPlanes = 0;

namespace {

// The acceleration texts of the implementation-info record.
const CResourceModule s_resources("lumetra", CResourceModule::library, [](CResourceModule& m) {
    m.AddStrings({
        {1, "Fully accelerated (ICD)"},
        {2, "Partially accelerated (MCD)"},
        {3, "Not accelerated (Software)"},
        {4, "Not Available"},
    });
});

CString ModuleString(UINT nID)
{
    const CString* text = s_resources.Find<CString>(nID);
    return text != nullptr ? *text : CString();
}

void QueryRange(GLenum pname, GLfloat range[2])
{
    glGetFloatv(pname, range);
}

GLint QueryInteger(GLenum pname)
{
    GLint value = 0;
    glGetIntegerv(pname, &value);
    return value;
}

COGLRenderer::LimitsQuery s_limits{QueryRange, QueryInteger};

CString GLText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text != nullptr ? CString(reinterpret_cast<const char*>(text)) : CString();
}

// Software rasterisers of Mesa; a context on one of them is a "generic"
// (unaccelerated) format.
bool IsSoftwareRenderer(const CString& renderer)
{
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(renderer.GetString(), name) != nullptr)
            return true;
    return false;
}

} // namespace

// ---- The surface's pixel format ------------------------------------------------

void CGLSurfaceFormats::SetSurface(IGLSurface* surface)
{
    m_surface = surface;
    m_described = false;
    m_set = 0;
}

int CGLSurfaceFormats::DescribePixelFormat(int iFormat, PIXELFORMATDESCRIPTOR* pfd) const
{
    if (pfd == nullptr || iFormat != 1 || m_surface == nullptr)
        return 0;
    if (!m_described) {
        GLCurrentScope scope(*m_surface);
        if (!scope.Ok())
            return 0;
        PIXELFORMATDESCRIPTOR f;
        GLboolean doubleBuffer = GL_FALSE;
        glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffer);
        f.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (doubleBuffer ? PFD_DOUBLEBUFFER : 0);
        if (IsSoftwareRenderer(GLText(GL_RENDERER)))
            f.dwFlags |= PFD_GENERIC_FORMAT;
        f.iPixelType = PFD_TYPE_RGBA;
        const auto bits = [](GLenum pname) { return static_cast<BYTE>(QueryInteger(pname)); };
        f.cRedBits = bits(GL_RED_BITS);
        f.cGreenBits = bits(GL_GREEN_BITS);
        f.cBlueBits = bits(GL_BLUE_BITS);
        f.cAlphaBits = bits(GL_ALPHA_BITS);
        f.cColorBits = static_cast<BYTE>(f.cRedBits + f.cGreenBits + f.cBlueBits);
        f.cAccumRedBits = bits(GL_ACCUM_RED_BITS);
        f.cAccumGreenBits = bits(GL_ACCUM_GREEN_BITS);
        f.cAccumBlueBits = bits(GL_ACCUM_BLUE_BITS);
        f.cAccumAlphaBits = bits(GL_ACCUM_ALPHA_BITS);
        f.cAccumBits =
            static_cast<BYTE>(f.cAccumRedBits + f.cAccumGreenBits + f.cAccumBlueBits + f.cAccumAlphaBits);
        f.cDepthBits = bits(GL_DEPTH_BITS);
        f.cStencilBits = bits(GL_STENCIL_BITS);
        f.cAuxBuffers = bits(GL_AUX_BUFFERS);
        m_format = f;
        m_described = true;
    }
    *pfd = m_format;
    return 1;
}

bool CGLSurfaceFormats::SetPixelFormat(int iFormat, const PIXELFORMATDESCRIPTOR&)
{
    // The surface's context already has its one format.
    PIXELFORMATDESCRIPTOR pfd;
    if (DescribePixelFormat(iFormat, &pfd) == 0)
        return false;
    m_set = iFormat;
    return true;
}

// ---- Context life ----------------------------------------------------------------

COGLRenderer::~COGLRenderer()
{
    delete[] selectBuf;
    selectBuf = nullptr;
}

int COGLRenderer::InitializeOGL(IGLSurface* surface)
{
    if (surface == nullptr)
        return 1;
    m_pSurface = surface;
    m_formats.SetSurface(surface);
    if (!surface->HasContext())
        return 3;
    if (!COGLInitializer::SetupPixelFormat(m_formats, false, bUseAccel, nullptr) &&
        !COGLInitializer::SetupPixelFormat(m_formats, true, bUseAccel, nullptr))
        return 2;
    COGLInitializer::CreateRGBPalette(m_formats, m_Palette, m_pOldPalette);
    if (!surface->MakeCurrent())
        return 4;
    m_bContext = true;
    FirstContextSettings();
    return 0;
}

int COGLRenderer::InitializeOGL(CDC* pDC)
{
    if (pDC != m_pDC.get())
        m_pDC.reset(pDC);
    const auto* carrier = dynamic_cast<const IGLSurfaceDC*>(pDC);
    return InitializeOGL(carrier != nullptr ? carrier->GetGLSurface() : nullptr);
}

namespace {

// Reads a size range once (while min is still -1.0); a range narrower than
// half a pixel switches smoothing off.
void ReadRangeOnce(GLenum pname, double& min, double& max, bool& smooth)
{
    if (min != -1.0)
        return;
    GLfloat range[2] = {0, 0};
    s_limits.range(pname, range);
    min = range[0];
    max = range[1];
    if (max - min < 0.5)
        smooth = false;
}

} // namespace

void COGLRenderer::FirstContextSettings()
{
    if (m_gliMaxClipPlanes == 0)
        m_gliMaxClipPlanes = s_limits.integer(GL_MAX_CLIP_PLANES);
    ReadRangeOnce(GL_LINE_WIDTH_RANGE, m_dMinEdge, m_dMaxEdge, bLineSmooth);
    if (THIN_EDGE == -1.0) {
        THIN_EDGE = m_dMinEdge;
        WIDE_EDGE = 5.0;
        MEDIUM_EDGE = (THIN_EDGE + WIDE_EDGE) / 2;
    }
    ReadRangeOnce(GL_POINT_SIZE_RANGE, m_dMinPoint, m_dMaxPoint, bPointSmooth);
}

int COGLRenderer::PreDraw(const CRect& rect, const float* background)
{
    if (!m_bContext) {
        const int code = InitializeOGL(m_pSurface);
        if (code != 0)
            return code;
    } else if (!MakeCurrent(true, true)) {
        return 4;
    }
    if (background != nullptr)
        glClearColor(background[0], background[1], background[2], background[3]);
    else
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(rect.left, rect.top, rect.Width(), rect.Height());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return 0;
}

bool COGLRenderer::FinishAndSwap(bool)
{
    glFinish();
    return true;
}

int COGLRenderer::IsCurrent() const
{
    if (m_pSurface == nullptr) {
        return -1;
    }
    if (m_bContext && m_pSurface->IsCurrent())
        return 1;
    const GLCurrentToken token = m_pSurface->CaptureCurrent();
    return token.handles[0] == nullptr && token.handles[1] == nullptr ? -1 : 0;
}

bool COGLRenderer::MakeCurrent(bool make, bool onlyIfNeeded)
{
    if (!make) {
        if (m_pSurface != nullptr)
            m_pSurface->DoneCurrent();
        return true;
    }
    if (!m_bContext || m_pSurface == nullptr)
        return false;
    if (onlyIfNeeded && m_pSurface->IsCurrent())
        return true;
    return m_pSurface->MakeCurrent();
}

void COGLRenderer::CleanUp()
{
    if (m_pSurface != nullptr && m_bContext) {
        {
            GLCurrentScope scope(*m_pSurface);
            if (scope.Ok())
                glFinish();
            // The lists may be another view's too: drop this view's
            // reference only.
            m_GlyphFont.Release();
            m_bFontBitmaps = false;
        }
        m_pSurface->DoneCurrent();
        m_bContext = false;
    }
    if (m_pOldPalette != nullptr) {
        m_formats.SelectPalette(m_pOldPalette);
        m_pOldPalette = nullptr;
    }
    m_formats.SetSurface(nullptr);
    m_pSurface = nullptr;
    m_pDC.reset();
}

bool COGLRenderer::CreateFontBitmaps(const LOGFONT& font)
{
    if (m_pSurface == nullptr || !m_bContext)
        return false;
    m_bFontBitmaps = m_GlyphFont.Create(*m_pSurface, font);
    return m_bFontBitmaps;
}

bool COGLRenderer::SnapToClipboard(int clientWidth, int clientHeight)
{
    if (m_pSurface == nullptr || !m_bContext)
        return false;
    CWaitCursor wait;
    const int width = clientWidth / 4 * 4;
    const int height = clientHeight;
    if (width <= 0 || height <= 0)
        return false;
    std::vector<BYTE> bits;
    try {
        bits.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    } catch (const std::bad_alloc&) {
        return false;
    }
    {
        GLCurrentScope scope(*m_pSurface);
        if (!scope.Ok())
            return false;
        // A width of a multiple of 4 makes every 3-byte row a whole number
        // of words, so the DIB rows need no padding.
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glReadPixels(0, 0, width, height, GL_BGR, GL_UNSIGNED_BYTE, bits.data());
    }
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<std::uint32_t>(bits.size());
    CClipboardService* clipboard = AfxGetClipboardService();
    return clipboard != nullptr && clipboard->SetDib(header, bits.data(), bits.size());
}

// ---- Enabling helpers ------------------------------------------------------------

namespace {

// Smoothing of one primitive kind, when the implementation allows it.
void EnableSmooth(bool allowed, GLenum cap, GLenum hintTarget, GLenum hint)
{
    if (allowed) {
        glEnable(cap);
        glHint(hintTarget, hint);
    } else {
        glDisable(cap);
    }
}

} // namespace

void COGLRenderer::GLEnableLineSmooth(GLenum hint)
{
    EnableSmooth(bLineSmooth, GL_LINE_SMOOTH, GL_LINE_SMOOTH_HINT, hint);
}

void COGLRenderer::GLEnablePointSmooth(GLenum hint)
{
    EnableSmooth(bPointSmooth, GL_POINT_SMOOTH, GL_POINT_SMOOTH_HINT, hint);
}

void COGLRenderer::GLEnablePolySmooth(GLenum hint)
{
    EnableSmooth(true, GL_POLYGON_SMOOTH, GL_POLYGON_SMOOTH_HINT, hint);
}
void COGLRenderer::GLEnableDepthTest(GLenum func)
{
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(func);
}

void COGLRenderer::GLEnableBlend(GLenum dest)
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, dest);
}

// ---- Implementation info ---------------------------------------------------------

namespace {

// The implementation class of a format: 1 its own driver (ICD), 2 an
// accelerated generic one (MCD), 3 the software one, 4 accelerated but not
// generic, which no implementation reports.
int ImplementationClass(DWORD dwFlags)
{
    const bool generic = (dwFlags & PFD_GENERIC_FORMAT) != 0;
    const bool accelerated = (dwFlags & PFD_GENERIC_ACCELERATED) != 0;
    if (!generic)
        return accelerated ? 4 : 1;
    return accelerated ? 2 : 3;
}

} // namespace

CString COGLRenderer::AccelerationText(DWORD dwFlags)
{
    static const char* const kTexts[] = {"Fully Accelerated (ICD)", "Partially Accelerated (MCD)",
                                         "Not Accelerated (Software)", "Not Available"};
    return kTexts[ImplementationClass(dwFlags) - 1];
}

CString COGLRenderer::AccelerationResourceText(DWORD dwFlags)
{
    // Anything generic or odd reads as software here.
    const int kind = ImplementationClass(dwFlags);
    return ModuleString(kind == 4 ? 3 : kind);
}

CString COGLRenderer::GetOGLInfo(int field)
{
    if (m_pSurface == nullptr || !m_bContext)
        return CString();
    GLCurrentScope scope(*m_pSurface);
    if (!scope.Ok())
        return CString();
    switch (field) {
    case 0:
        return GLText(GL_VENDOR);
    case 1:
        return GLText(GL_RENDERER);
    case 2:
        return GLText(GL_VERSION);
    case 3: {
        PIXELFORMATDESCRIPTOR pfd;
        m_formats.DescribePixelFormat(m_formats.GetPixelFormat(), &pfd);
        return AccelerationText(pfd.dwFlags);
    }
    case 4: {
        while (glGetError() != GL_NO_ERROR) {
        }
        const CString text = GLText(GL_EXTENSIONS);
        return glGetError() != GL_NO_ERROR ? CString("Not Available") : text;
    }
    default:
        return CString();
    }
}

_GLINFO COGLRenderer::GetOpenGLInfo()
{
    _GLINFO info;
    if (m_pSurface == nullptr || !m_bContext)
        return info;
    GLCurrentScope scope(*m_pSurface);
    if (!scope.Ok())
        return info;
    while (glGetError() != GL_NO_ERROR) {
    }
    info.glVendor = GLText(GL_VENDOR);
    info.glRenderer = GLText(GL_RENDERER);
    info.glVersion = GLText(GL_VERSION);
    info.glExtensions = GLText(GL_EXTENSIONS);
    const auto gluText = [](GLenum name) {
        const GLubyte* text = gluGetString(name);
        if (glGetError() != GL_NO_ERROR || text == nullptr)
            return ModuleString(4);
        return CString(reinterpret_cast<const char*>(text));
    };
    info.gluVersion = gluText(GLU_VERSION);
    info.gluExtensions = gluText(GLU_EXTENSIONS);
    PIXELFORMATDESCRIPTOR pfd;
    m_formats.DescribePixelFormat(m_formats.GetPixelFormat(), &pfd);
    info.glAccel = AccelerationResourceText(pfd.dwFlags);

    glGetIntegerv(GL_MAX_LIGHTS, &info.iMaxLights);
    glGetIntegerv(GL_MAX_CLIP_PLANES, &info.iMaxClipPlanes);
    glGetIntegerv(GL_MAX_MODELVIEW_STACK_DEPTH, &info.iMaxModelStackDepth);
    glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &info.iMaxProjectionStackDepth);
    glGetIntegerv(GL_MAX_TEXTURE_STACK_DEPTH, &info.iMaxTextureStackDepth);
    glGetIntegerv(GL_MAX_NAME_STACK_DEPTH, &info.iMaxNameStackDepth);
    glGetIntegerv(GL_MAX_ATTRIB_STACK_DEPTH, &info.iMaxAttribStackDepth);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &info.iMaxTextureSize);
    glGetIntegerv(GL_MAX_LIST_NESTING, &info.iMaxListNesting);
    glGetIntegerv(GL_MAX_EVAL_ORDER, &info.iMaxEvalOrder);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, info.iMaxViewportDims);
    glGetIntegerv(GL_AUX_BUFFERS, &info.iAuxBuffers);
    glGetFloatv(GL_POINT_SIZE_RANGE, info.fSizePoints);
    glGetFloatv(GL_POINT_SIZE_GRANULARITY, &info.fGranPoints);
    glGetFloatv(GL_LINE_WIDTH_RANGE, info.fSizeLines);
    glGetFloatv(GL_LINE_WIDTH_GRANULARITY, &info.fGranLines);
    glGetIntegerv(GL_RED_BITS, &info.iRedBits);
    glGetIntegerv(GL_GREEN_BITS, &info.iGreenBits);
    glGetIntegerv(GL_BLUE_BITS, &info.iBlueBits);
    glGetIntegerv(GL_ALPHA_BITS, &info.iAlphaBits);
    glGetIntegerv(GL_DEPTH_BITS, &info.iDepthBits);
    glGetIntegerv(GL_STENCIL_BITS, &info.iStencilBits);
    return info;
}

// ---- Test seams ------------------------------------------------------------------

COGLRenderer::LimitsQuery COGLRenderer::SetLimitsQueryForTesting(LimitsQuery query)
{
    const LimitsQuery previous = s_limits;
    s_limits = LimitsQuery{query.range ? query.range : QueryRange, query.integer ? query.integer : QueryInteger};
    return previous;
}

void COGLRenderer::ResetStaticsForTesting()
{
    bLineSmooth = true;
    bPointSmooth = true;
    bUseAccel = false;
    iSelBufSize = 1024;
    delete[] selectBuf;
    selectBuf = nullptr;
    m_dMinEdge = m_dMaxEdge = -1.0;
    m_dMinPoint = m_dMaxPoint = -1.0;
    m_gliMaxClipPlanes = 0;
    THIN_EDGE = MEDIUM_EDGE = WIDE_EDGE = -1.0;
    COGLInitializer::ResetForTesting();
}
