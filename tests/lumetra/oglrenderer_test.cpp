// The rendering-context holder on OSMesa surfaces: creation codes, the
// first context's settings, context switching, clearing, glyph lists and
// the implementation texts.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "glstyle/drawing_settings.h"
#include "glview/lumetra.h"
#include "platform/ui/osmesa/osmesasurface.h"

namespace {

// An OSMesa surface whose MakeCurrent fails from its n-th call on (0: never).
class FailingSurface : public COSMesaSurface {
public:
    FailingSurface(int failFrom) : COSMesaSurface(64, 64), m_failFrom(failFrom) {}
    bool MakeCurrent() override
    {
        ++m_calls;
        if (m_failFrom != 0 && m_calls >= m_failFrom)
            return false;
        return COSMesaSurface::MakeCurrent();
    }

private:
    int m_failFrom;
    int m_calls = 0;
};

// Limits fed to the first context.
GLfloat s_lineRange[2] = {1.0f, 1.0f};
GLfloat s_pointRange[2] = {1.0f, 64.0f};
int s_clipPlaneQueries = 0;

void FedRange(GLenum pname, GLfloat range[2])
{
    const GLfloat* from = pname == GL_LINE_WIDTH_RANGE ? s_lineRange : s_pointRange;
    range[0] = from[0];
    range[1] = from[1];
}

GLint FedInteger(GLenum pname)
{
    if (pname == GL_MAX_CLIP_PLANES)
        ++s_clipPlaneQueries;
    return 6;
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        m_previous = COGLRenderer::SetLimitsQueryForTesting({FedRange, FedInteger});
        s_lineRange[0] = s_lineRange[1] = 1.0f;
        s_pointRange[0] = 1.0f;
        s_pointRange[1] = 64.0f;
        s_clipPlaneQueries = 0;
    }
    void TearDown() override
    {
        COGLRenderer::SetLimitsQueryForTesting(m_previous);
        COGLRenderer::ResetStaticsForTesting();
    }

    COGLRenderer::LimitsQuery m_previous{};
};

TEST_F(Renderer, CreationCodes)
{
    struct Case {
        const char* what;
        IGLSurface* surface;
        int code;
    };
    CNullGLSurface null;
    FailingSurface formatUnreadable(1); // the format probe cannot make it current
    FailingSurface notCurrent(2);       // the probe can, making it current then fails
    COSMesaSurface good(64, 64);
    const Case cases[] = {
        {"no surface", nullptr, 1},
        {"format unreadable", &formatUnreadable, 2},
        {"no context", &null, 3},
        {"cannot be made current", &notCurrent, 4},
        {"works", &good, 0},
    };
    for (const Case& c : cases) {
        COGLRenderer renderer;
        EXPECT_EQ(renderer.InitializeOGL(c.surface), c.code) << c.what;
        EXPECT_EQ(renderer.HasContext(), c.code == 0) << c.what;
        // PreDraw tries a failed creation again and draws nothing.
        if (c.code != 0) {
            EXPECT_NE(renderer.PreDraw(CRect(0, 0, 64, 64), nullptr), 0) << c.what;
        }
        renderer.CleanUp();
        EXPECT_EQ(renderer.GetSurface(), nullptr);
    }
}

// A window DC that carries a surface and counts its deletions.
class CountedDC : public CDC, public IGLSurfaceDC {
public:
    CountedDC(IGLSurface* surface, int& deleted) : m_surface(surface), m_deleted(deleted) {}
    ~CountedDC() override { ++m_deleted; }
    IGLSurface* GetGLSurface() const override { return m_surface; }

private:
    IGLSurface* m_surface;
    int& m_deleted;
};

TEST_F(Renderer, TheRendererDeletesTheWindowDCOnce)
{
    COSMesaSurface good(16, 16);
    CNullGLSurface null;
    struct Case {
        const char* what;
        IGLSurface* surface;
        int code;
        bool cleanUp;
    };
    const Case cases[] = {
        {"created, cleaned up", &good, 0, true},
        {"created, destroyed without clean-up", &good, 0, false},
        {"failed, cleaned up", &null, 3, true},
        {"failed, destroyed", &null, 3, false},
        {"no surface, cleaned up", nullptr, 1, true},
    };
    for (const Case& c : cases) {
        int deleted = 0;
        {
            COGLRenderer renderer;
            CDC* dc = new CountedDC(c.surface, deleted);
            EXPECT_EQ(renderer.InitializeOGL(dc), c.code) << c.what;
            EXPECT_EQ(renderer.GetDC(), dc) << c.what;
            if (c.cleanUp) {
                renderer.CleanUp();
                EXPECT_EQ(deleted, 1) << c.what;
                EXPECT_EQ(renderer.GetDC(), nullptr) << c.what;
                renderer.CleanUp();
            }
        }
        EXPECT_EQ(deleted, 1) << c.what;
    }
    COGLRenderer renderer;
    EXPECT_EQ(renderer.InitializeOGL(static_cast<CDC*>(nullptr)), 1);
    CDC* plain = new CDC; // a DC without surface
    EXPECT_EQ(renderer.InitializeOGL(plain), 1);
}

TEST_F(Renderer, FirstContextSettingsHappenOnce)
{
    COSMesaSurface first(16, 16), second(16, 16);
    COGLRenderer a, b;
    ASSERT_EQ(a.InitializeOGL(&first), 0);
    EXPECT_FALSE(COGLRenderer::bLineSmooth) << "a line-width range of [1, 1]";
    EXPECT_TRUE(COGLRenderer::bPointSmooth);
    EXPECT_EQ(THIN_EDGE, 1.0);
    EXPECT_EQ(MEDIUM_EDGE, 3.0);
    EXPECT_EQ(WIDE_EDGE, 5.0);
    EXPECT_EQ(COGLRenderer::m_gliMaxClipPlanes, 6);

    // The second context finds other limits and changes nothing.
    s_lineRange[0] = 0.5f;
    s_lineRange[1] = 10.0f;
    s_pointRange[1] = 1.0f;
    THIN_EDGE = 2.5; // as the settings page may have set it
    ASSERT_EQ(b.InitializeOGL(&second), 0);
    EXPECT_FALSE(COGLRenderer::bLineSmooth);
    EXPECT_TRUE(COGLRenderer::bPointSmooth);
    EXPECT_EQ(COGLRenderer::m_dMinEdge, 1.0);
    EXPECT_EQ(THIN_EDGE, 2.5);
    EXPECT_EQ(MEDIUM_EDGE, 3.0);
    EXPECT_EQ(s_clipPlaneQueries, 1);
    a.CleanUp();
    b.CleanUp();
}

TEST_F(Renderer, LineWidthsLoadedBeforeTheFirstContextStay)
{
    THIN_EDGE = 1.5;
    s_lineRange[1] = 8.0f;
    COSMesaSurface surface(16, 16);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    EXPECT_EQ(THIN_EDGE, 1.5);
    EXPECT_EQ(MEDIUM_EDGE, -1.0);
    EXPECT_EQ(WIDE_EDGE, -1.0);
    EXPECT_TRUE(COGLRenderer::bLineSmooth);
    EXPECT_EQ(COGLRenderer::m_dMaxEdge, 8.0);
    renderer.CleanUp();
}

TEST_F(Renderer, PreDrawClearsAndOtherContextsComeBack)
{
    COSMesaSurface view(32, 32), other(8, 8);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&view), 0);
    EXPECT_EQ(renderer.IsCurrent(), 1);

    const float green[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 32, 32), green), 0);
    EXPECT_TRUE(renderer.FinishAndSwap(true));
    EXPECT_EQ(view.Pixel(5, 5), (std::array<std::uint8_t, 4>{0, 255, 0, 255}));
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 32, 32), nullptr), 0);
    renderer.FinishAndSwap(false);
    EXPECT_EQ(view.Pixel(5, 5), (std::array<std::uint8_t, 4>{255, 255, 255, 0}));

    // Queries and clean-up leave another view's context current.
    ASSERT_TRUE(other.MakeCurrent());
    EXPECT_EQ(renderer.IsCurrent(), 0);
    EXPECT_FALSE(renderer.GetOGLInfo(1).IsEmpty());
    EXPECT_EQ(renderer.GetOpenGLInfo().iDepthBits, 24);
    EXPECT_TRUE(other.IsCurrent());
    renderer.CleanUp();
    EXPECT_TRUE(other.IsCurrent());

    other.DoneCurrent();
    COGLRenderer fresh;
    ASSERT_EQ(fresh.InitializeOGL(&view), 0);
    EXPECT_TRUE(fresh.MakeCurrent(false, false));
    EXPECT_EQ(fresh.IsCurrent(), -1);
    EXPECT_TRUE(fresh.MakeCurrent(true, true));
    EXPECT_EQ(fresh.IsCurrent(), 1);
    fresh.CleanUp();
    EXPECT_FALSE(view.IsCurrent());
}

TEST_F(Renderer, AccelerationTexts)
{
    struct Case {
        DWORD flags;
        const char* info;
        const char* resource;
    };
    const Case cases[] = {
        {0, "Fully Accelerated (ICD)", "Fully accelerated (ICD)"},
        {PFD_GENERIC_FORMAT | PFD_GENERIC_ACCELERATED, "Partially Accelerated (MCD)", "Partially accelerated (MCD)"},
        {PFD_GENERIC_FORMAT, "Not Accelerated (Software)", "Not accelerated (Software)"},
        {PFD_GENERIC_ACCELERATED, "Not Available", "Not accelerated (Software)"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(COGLRenderer::AccelerationText(c.flags).GetString(), c.info) << c.flags;
        EXPECT_STREQ(COGLRenderer::AccelerationResourceText(c.flags).GetString(), c.resource) << c.flags;
    }

    // OSMesa renders in software.
    COSMesaSurface surface(16, 16);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    EXPECT_STREQ(renderer.GetOGLInfo(3).GetString(), "Not Accelerated (Software)");
    EXPECT_STREQ(renderer.GetOpenGLInfo().glAccel.GetString(), "Not accelerated (Software)");
    EXPECT_FALSE(renderer.GetOGLInfo(4).IsEmpty());
    renderer.CleanUp();
}

TEST_F(Renderer, GlyphListsAreSharedAndReleased)
{
    COSMesaSurface surface(96, 32);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    LOGFONT font{};
    font.lfHeight = -21;
    std::strcpy(font.lfFaceName, "Times New Roman");
    ASSERT_TRUE(renderer.CreateFontBitmaps(font));
    const GLuint base = renderer.FontListBase();
    ASSERT_NE(base, 0u);
    GLint listBase = 0;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(static_cast<GLuint>(listBase), base);
    EXPECT_EQ(AfxGetGlyphListCache().References(surface.ShareGroup(), base), 1);

    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 96, 32), nullptr), 0);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 96, 0, 32, -1, 1);
    glColor3f(1, 0, 0);
    glRasterPos2i(2, 10);
    const char text[] = "kN/m\xB2";
    glCallLists(5, GL_UNSIGNED_BYTE, text);
    renderer.FinishAndSwap(true);
    int glyphPixels = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x)
            glyphPixels += surface.Pixel(x, y)[1] < 128; // red on white
    EXPECT_GT(glyphPixels, 20);

    renderer.CleanUp();
    EXPECT_EQ(AfxGetGlyphListCache().References(surface.ShareGroup(), base), 0);
}

} // namespace
