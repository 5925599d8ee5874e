// The rendering-context holder of every OpenGL window and off-screen image:
// it binds an OpenGL context, reached through the drawable's IGLSurface, to
// its window, chooses the pixel format, makes the context current before
// drawing, clears it and ends the frame, keeps the view's glyph lists, and
// answers questions about the OpenGL implementation. The first context of
// the process fills the shared line widths from what the implementation
// supports.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <GL/gl.h>

#include "glview/oglinitializer.h"
#include "platform/afx/cstring.h"
#include "platform/afx/gdi.h"
#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/glyphcache.h"
#include "platform/ui/core/uitypes.h"

// What GetOpenGLInfo reports about the implementation.
struct _GLINFO {
    CString glVendor;
    CString glRenderer;
    CString glVersion;
    CString glAccel;
    CString glExtensions;
    CString gluVersion;
    CString gluExtensions;
    int iMaxLights = 0;
    int iMaxClipPlanes = 0;
    int iMaxModelStackDepth = 0;
    int iMaxProjectionStackDepth = 0;
    int iMaxTextureStackDepth = 0;
    int iMaxNameStackDepth = 0;
    int iMaxAttribStackDepth = 0;
    int iMaxTextureSize = 0;
    int iMaxListNesting = 0;
    int iMaxEvalOrder = 0;
    int iMaxViewportDims[2] = {0, 0};
    int iAuxBuffers = 0;
    float fSizePoints[2] = {0, 0};
    float fGranPoints = 0;
    float fSizeLines[2] = {0, 0};
    float fGranLines = 0;
    int iRedBits = 0;
    int iGreenBits = 0;
    int iBlueBits = 0;
    int iAlphaBits = 0;
    int iDepthBits = 0;
    int iStencilBits = 0;
};

// The pixel formats a surface offers: the one its context has, read from
// the context itself. Software rasterisers are flagged generic.
class CGLSurfaceFormats : public IPixelFormatDevice {
public:
    void SetSurface(IGLSurface* surface);

    int DescribePixelFormat(int iFormat, PIXELFORMATDESCRIPTOR* pfd) const override;
    int GetPixelFormat() const override { return m_set; }
    bool SetPixelFormat(int iFormat, const PIXELFORMATDESCRIPTOR& pfd) override;
    int DisplayBits() const override { return 32; }
    CPalette* SelectPalette(CPalette*) override { return nullptr; }

private:
    IGLSurface* m_surface = nullptr;
    mutable bool m_described = false;
    mutable PIXELFORMATDESCRIPTOR m_format;
    int m_set = 0;
};

// Chooses one object among the hit records of a selection buffer (words
// long; hits as glRenderMode returned it, negative after an overflow).
// Records are walked by their own name counts; a record's name is the
// innermost one on its name stack, and records without names are passed
// over. One hit gives its name as it is. Among several, names above limit
// are a fallback only; of the others, those in excluded[0..count-1] are
// passed over and the smallest z-min wins (the later record on equal
// z-mins); unsigned comparisons throughout. Without an accepted record and
// with the fallback being the first record (also after an overflow, where
// only the complete records count), the first record's name unless it is
// excluded. 0 for nothing.
UINT ChoosePickedName(const GLuint* buffer, std::size_t words, int hits, UINT limit, int count,
                      const DWORD* excluded);

// The names of a selection buffer (words long, hits as glRenderMode gave
// them: negative after an overflow) in hit order, each non-zero name once.
// Records are walked by their name counts as ChoosePickedName walks them;
// after an overflow only the complete records count. At most maxNames
// names are kept.
std::vector<GLuint> DistinctPickedNames(const GLuint* buffer, std::size_t words, int hits,
                                        std::size_t maxNames);

// The shared lights and material into the current context: each light
// switched on in bLightOn takes its colours (lights 2 and 3 also their
// positions), the material and light model follow the shared settings,
// and lighting and colour material (ambient and diffuse, both faces) are
// on, with each light on or off by its switch.
void GLSharedLights();

// One label of a colour scale: its text, the fringe-table row of its
// colour (-1: the scale's text colour) and the y of its raster position in
// the scale's unit square (x is 1).
struct ScaleLabel {
    CString text;
    int colourRow = -1;
    double y = 0.0;
};
// The labels of the general scale over n intervals (none for n <= 0).
std::vector<ScaleLabel> ScaleLabels(double max, double min, const CString& unit, bool exponential,
                                    int precision, int intervals);
// The nine labels of the symmetric stress scale from -max to max; format 0
// exponential, 1 fixed, anything else general.
std::vector<ScaleLabel> StressScaleLabels(double max, const CString& unit, int format, int precision);
// The title line of the stress scale, in the text colour, half way between
// its two top labels.
ScaleLabel StressScaleTitle(const CString& title);

class COGLRenderer {
public:
    COGLRenderer() = default;
    // Frees the selection buffer of a pick, if one is held.
    virtual ~COGLRenderer();
    COGLRenderer(const COGLRenderer&) = delete;
    COGLRenderer& operator=(const COGLRenderer&) = delete;

    // Creates the context of a surface and makes it current: 0 success,
    // 1 no surface, 2 no pixel format could be set (the surface's format
    // cannot be read), 3 the surface has no context, 4 it cannot be made
    // current. On the first context of the process, the line-width and
    // point-size ranges, the clip-plane count and (while THIN_EDGE is still
    // exactly -1.0) the three line widths are set.
    int InitializeOGL(IGLSurface* surface);
    // The same for the surface a window's DC carries. The renderer owns
    // the DC from now on, also when creation fails, and deletes it once:
    // in CleanUp or with itself. 1 for a null DC or one without surface.
    int InitializeOGL(CDC* pDC);
    // The DC handed to InitializeOGL, null after CleanUp.
    CDC* GetDC() const { return m_pDC.get(); }
    // Makes the context current (creating it first when there is none: its
    // code on failure; 4 when it cannot be made current), clears it to
    // background (white with alpha 0 when null), resets the projection and
    // sets the viewport to rect. 0 on success.
    int PreDraw(const CRect& rect, const float* background);
    // Ends a frame: glFinish. The window host shows the frame after the
    // paint, so nothing is swapped here.
    bool FinishAndSwap(bool swap);
    // -1 when no context is current in the thread, 1 when this one is, 0
    // when another one is.
    int IsCurrent() const;
    // make false leaves the thread without this context; otherwise makes it
    // current (at once true when onlyIfNeeded and it already is).
    bool MakeCurrent(bool make, bool onlyIfNeeded);
    // Drops the glyph lists' reference and the context, deletes the DC
    // and forgets the surface. Another view's context current before stays
    // current.
    void CleanUp();

    // Builds (or takes from the shared cache) the glyph lists of font and
    // sets the context's list base to them; text is then drawn with
    // glCallLists of the string's bytes.
    bool CreateFontBitmaps(const LOGFONT& font);
    // The list base of the glyph lists, 0 without them.
    GLuint FontListBase() const { return m_GlyphFont.ListBase(); }

    // Copies the client area (clientWidth cut down to a multiple of 4 by
    // clientHeight) from the current read buffer to the clipboard as a
    // bottom-up 24-bit DIB with BGR pixels. False, with the clipboard left
    // as it was, when there is no context or the memory cannot be had.
    bool SnapToClipboard(int clientWidth, int clientHeight);

    // 0 vendor, 1 renderer, 2 version, 3 acceleration, 4 extensions. The
    // context current before the query is current again afterwards.
    CString GetOGLInfo(int field);
    _GLINFO GetOpenGLInfo();
    // The acceleration texts of a format's flags (GetOGLInfo's and
    // GetOpenGLInfo's spellings).
    static CString AccelerationText(DWORD dwFlags);
    static CString AccelerationResourceText(DWORD dwFlags);

    static void GLEnableLineSmooth(GLenum hint);
    static void GLEnablePointSmooth(GLenum hint);
    static void GLEnablePolySmooth(GLenum hint);
    static void GLEnableDepthTest(GLenum func);
    static void GLEnableBlend(GLenum dest);

    // Starts a pick around pt (window pixels, y down) over a width x height
    // aperture: makes the context current, puts the context into selection
    // mode with a fresh buffer of iSelBufSize words (at least 4) and the
    // pick matrix pushed on the projection stack; the caller multiplies its
    // projection onto it and draws the objects under their names. 0, or 4
    // (nothing allocated) when the context cannot be made current.
    int PrePickDraw(CPoint pt, double width, double height);
    // Ends the pick and chooses the name (ChoosePickedName); the buffer is
    // freed. 0 for nothing picked.
    UINT PostPickDraw(UINT limit, int count, DWORD* excluded);

    // The colour legend in the unit square: the 256-row fringe strip,
    // interval borders and labels in the current glyph lists; n <= 0 draws
    // the strip only. A null textColour is the label colour glcTextClr. The
    // polygon modes are kept.
    virtual void RenderScale(double max, double min, float* textColour, CString unit, bool exponential,
                             int precision, int intervals);
    // The symmetric stress legend from -max to max (eight cells, nine
    // labels) and, when given, a title line between the two top labels;
    // lighting is left off.
    static void DrawStressScale(double max, const CString& unit, int format, int precision,
                                const CString& title = CString());
    // A line of text in the legend's place when there is nothing to scale:
    // near the top, starting right of where the strip would be, in the
    // label colour.
    static void DrawLegendNote(const CString& text);

    // A rectangle outline at z 0, dashed (0x1111) when stippled.
    static void DrawRect2D(double a[2], double b[2], bool stippled);
    // An arrow glyph of kind type at point along direction, scaled to
    // length when it is not 0; an unknown kind draws nothing.
    static void Draw3DVect(double point[3], double direction[3], double length, UINT type);
    // The six faces of a hexahedron, shaded between its corner colours.
    static void DrawCube(double corners[8][3], double colours[8][3], double (*)[2]);

    // The surface, null before InitializeOGL and after CleanUp.
    IGLSurface* GetSurface() const { return m_pSurface; }
    bool HasContext() const { return m_bContext; }

    // Where the first context reads the implementation's limits; tests
    // feed their own ranges.
    struct LimitsQuery {
        void (*range)(GLenum pname, GLfloat range[2]);
        GLint (*integer)(GLenum pname);
    };
    static LimitsQuery SetLimitsQueryForTesting(LimitsQuery query);
    // Process-wide state back to its start values, THIN_EDGE, MEDIUM_EDGE
    // and WIDE_EDGE to -1.0 (tests only).
    static void ResetStaticsForTesting();

    static bool bLineSmooth;
    static bool bPointSmooth;
    static bool bUseAccel;
    static unsigned int iSelBufSize;
    // Largest selection buffer, in words: 16 Mi objects of four words. Larger
    // sizes would not fit GLsizei or would overflow objects x 4.
    static constexpr unsigned int kMaxSelBufSize = 1u << 26;
    static unsigned int* selectBuf;
    static double m_dMinEdge, m_dMaxEdge;
    static double m_dMinPoint, m_dMaxPoint;
    static int m_gliMaxClipPlanes;

protected:
    std::unique_ptr<CDC> m_pDC;       // the window's DC (owned)
    IGLSurface* m_pSurface = nullptr; // not owned: the window's host owns it
    bool m_bContext = false;          // the context was set up
    CPalette m_Palette;
    CPalette* m_pOldPalette = nullptr;
    bool m_bFontBitmaps = false;

private:
    void FirstContextSettings();

    CGLSurfaceFormats m_formats;
    CGlyphFont m_GlyphFont;
};
