// Picking, the colour legends and the drawing aids: the hit-choice rule on
// synthetic selection buffers, real selection-mode picks, label texts, and
// the geometry the aids send, read back from a feedback buffer.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "glstyle/drawing_settings.h"
#include "glview/lumetra.h"
#include "platform/ui/osmesa/osmesasurface.h"

namespace {

// A buffer of one-name records (name, z-min) as selection mode writes them.
std::vector<GLuint> Records(std::initializer_list<std::pair<GLuint, GLuint>> hits)
{
    std::vector<GLuint> buffer;
    for (const auto& [name, zMin] : hits)
        buffer.insert(buffer.end(), {1u, zMin, zMin + 10, name});
    return buffer;
}

TEST(PickRule, ChoosesByLimitExclusionAndDepth)
{
    struct Case {
        const char* what;
        std::vector<GLuint> buffer;
        UINT limit;
        std::vector<DWORD> excluded;
        UINT name;
    };
    const Case cases[] = {
        {"no hits", {}, 100, {}, 0},
        {"one hit", Records({{7, 50}}), 100, {}, 7},
        {"one hit above the limit", Records({{700, 50}}), 100, {}, 700},
        {"one excluded hit is still returned", Records({{7, 50}}), 100, {7}, 7},
        {"the nearer of two", Records({{7, 50}, {8, 20}}), 100, {}, 8},
        {"the nearer one excluded gives the farther", Records({{7, 50}, {8, 20}}), 100, {8}, 7},
        {"both above the limit give the second", Records({{700, 50}, {800, 20}}), 100, {}, 800},
        {"all excluded within the limit give 0", Records({{7, 50}, {8, 20}}), 100, {7, 8}, 0},
        {"equal depths give the later", Records({{7, 20}, {8, 20}}), 100, {}, 8},
        {"an accepted one beats an above-limit fallback", Records({{700, 5}, {8, 20}, {900, 1}}), 100, {}, 8},
        {"the fallback is the last above the limit before any accepted",
         Records({{700, 5}, {800, 6}, {7, 9}}), 100, {7}, 800},
        {"depths compare unsigned", Records({{7, 0x80000000u}, {8, 0x7fffffffu}}), 100, {}, 8},
        {"names compare unsigned with the limit", Records({{0x80000001u, 5}, {8, 20}}), 0x80000000u, {}, 8},
        {"first above the limit alone and excluded gives 0", Records({{700, 5}, {7, 9}}), 100, {7, 700}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int hits = static_cast<int>(c.buffer.size() / 4);
        EXPECT_EQ(ChoosePickedName(c.buffer.data(), c.buffer.size(), hits, c.limit,
                                   static_cast<int>(c.excluded.size()),
                                   c.excluded.empty() ? nullptr : c.excluded.data()),
                  c.name);
    }
}

TEST(PickRule, RecordsAreWalkedByTheirOwnNameCounts)
{
    // A record with no names and one with three: the later records still
    // line up, and the innermost name stands for its record.
    std::vector<GLuint> buffer = {0, 5, 6, 3, 40, 41, 1, 2, 9, 1, 30, 31, 8};
    EXPECT_EQ(ChoosePickedName(buffer.data(), buffer.size(), 3, 100, 0, nullptr), 8u);
    const DWORD excluded[] = {8};
    EXPECT_EQ(ChoosePickedName(buffer.data(), buffer.size(), 3, 100, 1, excluded), 9u);
    // A count of names that runs past the end is not read.
    std::vector<GLuint> cut = {1, 5, 6, 7, 5, 1, 2};
    EXPECT_EQ(ChoosePickedName(cut.data(), cut.size(), 2, 100, 0, nullptr), 7u);
}

TEST(PickRule, AnOverflowUsesOnlyCompleteRecords)
{
    std::vector<GLuint> buffer = Records({{7, 50}, {8, 20}});
    buffer.push_back(1); // a record cut off by the end of the buffer
    buffer.push_back(3);
    EXPECT_EQ(ChoosePickedName(buffer.data(), buffer.size(), -1, 100, 0, nullptr), 7u);
    const DWORD excluded[] = {7};
    EXPECT_EQ(ChoosePickedName(buffer.data(), buffer.size(), -1, 100, 1, excluded), 0u);
    const GLuint partial[] = {1, 3, 4};
    EXPECT_EQ(ChoosePickedName(partial, 3, -1, 100, 0, nullptr), 0u);
    EXPECT_EQ(ChoosePickedName(nullptr, 0, -1, 100, 0, nullptr), 0u);
}

class Picking : public ::testing::Test {
protected:
    void SetUp() override { COGLRenderer::ResetStaticsForTesting(); }
    void TearDown() override { COGLRenderer::ResetStaticsForTesting(); }
};

// Two named quads on a 100 x 100 surface: 7 over the top-left quarter, 8
// over the top-right one; 9 covers 7's quad in front of it and is drawn
// before it.
void DrawNamedQuads(bool withFront)
{
    glOrtho(0, 100, 0, 100, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (withFront) {
        glLoadName(9);
        glRectf(5, 55, 45, 95); // z 0
    }
    glLoadName(7);
    glBegin(GL_QUADS);
    for (const auto& [x, y] : {std::pair{10, 60}, {40, 60}, {40, 90}, {10, 90}})
        glVertex3f(static_cast<float>(x), static_cast<float>(y), -0.5f); // farther
    glEnd();
    glLoadName(8);
    glRectf(60, 60, 90, 90);
}

TEST_F(Picking, SelectionModePicksAtAWindowPixel)
{
    COSMesaSurface surface(100, 100);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    struct Case {
        const char* what;
        int x, y; // y counted from the top
        bool front;
        std::vector<DWORD> excluded;
        UINT name;
    };
    const Case cases[] = {
        {"left quad", 25, 25, false, {}, 7},
        {"right quad", 75, 25, false, {}, 8},
        {"empty lower half", 25, 75, false, {}, 0},
        {"the nearer of two", 25, 25, true, {}, 9},
        {"the nearer excluded", 25, 25, true, {9}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 100, 100), nullptr), 0);
        ASSERT_EQ(renderer.PrePickDraw(CPoint(c.x, c.y), 2, 2), 0);
        DrawNamedQuads(c.front);
        DWORD* excluded = c.excluded.empty() ? nullptr : const_cast<DWORD*>(c.excluded.data());
        EXPECT_EQ(renderer.PostPickDraw(100, static_cast<int>(c.excluded.size()), excluded), c.name);
        EXPECT_EQ(COGLRenderer::selectBuf, nullptr);
        GLint mode = 0;
        glGetIntegerv(GL_RENDER_MODE, &mode);
        EXPECT_EQ(mode, GL_RENDER);
    }
    renderer.CleanUp();
}

TEST_F(Picking, TheBufferSizeIsRaisedToFourAndNothingIsHeldWithoutAContext)
{
    COSMesaSurface surface(100, 100);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    COGLRenderer::iSelBufSize = 2;
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 100, 100), nullptr), 0);
    ASSERT_EQ(renderer.PrePickDraw(CPoint(75, 25), 2, 2), 0);
    EXPECT_EQ(COGLRenderer::iSelBufSize, 4u);
    EXPECT_NE(COGLRenderer::selectBuf, nullptr);
    DrawNamedQuads(false);
    EXPECT_EQ(renderer.PostPickDraw(100, 0, nullptr), 8u);
    renderer.CleanUp();

    COGLRenderer none;
    EXPECT_EQ(none.PrePickDraw(CPoint(1, 1), 2, 2), 4);
    EXPECT_EQ(COGLRenderer::selectBuf, nullptr);
    EXPECT_EQ(none.PostPickDraw(100, 0, nullptr), 0u);
}

// ---- Colour legends ----------------------------------------------------------------

TEST(ScaleLabels, GeneralScaleTexts)
{
    struct Case {
        const char* what;
        double max, min;
        bool exponential;
        int precision, n;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {"fixed", 10, -10, false, 0, 4, {" -10 ", " -5 ", " 0.0 MPa", " 5 ", " 10 "}},
        {"exponential", 300, 0, true, 1, 3, {" 0.0 ", " 1.0e+02 MPa", " 2.0e+02 ", " 3.0e+02 "}},
        {"no intervals", 10, -10, false, 0, 0, {}},
        {"negative intervals", 10, -10, false, 0, -2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto labels = ScaleLabels(c.max, c.min, "MPa", c.exponential, c.precision, c.n);
        ASSERT_EQ(labels.size(), c.texts.size());
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_STREQ(labels[i].text.GetString(), c.texts[i]);
            const int n = c.n;
            const int idx = static_cast<int>(i);
            EXPECT_EQ(labels[i].colourRow, idx == n / 2 ? -1 : idx * 255 / n);
            EXPECT_NEAR(labels[i].y, static_cast<double>(idx) / n - idx * 0.02 / n, 1e-12);
        }
    }
}

TEST(ScaleLabels, StressScaleTextsRowsAndHeights)
{
    const auto labels = StressScaleLabels(100, "MPa", 1, 0);
    const char* texts[] = {" -100 ", " -75 ", " -50 ", " -25 ", " 0.0 MPa", " 25 ", " 50 ", " 75 ", " 100 "};
    const int rows[] = {0, 31, 63, 95, -1, 159, 191, 223, 255};
    ASSERT_EQ(labels.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(labels[i].text.GetString(), texts[i]);
        EXPECT_EQ(labels[i].colourRow, rows[i]);
        EXPECT_NEAR(labels[i].y, i < 8 ? i * 0.125 - i * 0.00375 : 1 - 8 * 0.00375, 1e-12);
    }
    struct Format {
        int format;
        const char* bottom;
    };
    for (const Format& f : {Format{0, " -1.00e+02 "}, Format{1, " -100.00 "}, Format{2, " -1e+02 "},
                            Format{7, " -1e+02 "}}) {
        SCOPED_TRACE(f.format);
        EXPECT_STREQ(StressScaleLabels(100, "", f.format, 2)[0].text.GetString(), f.bottom);
    }
}

// A title (the mode of a buckling plot) sits between the two top labels, in
// the text colour, so that it overlaps neither.
TEST(ScaleLabels, StressScaleTitleBetweenTheTopLabels)
{
    const auto labels = StressScaleLabels(118.6, "", 2, 4);
    const ScaleLabel title = StressScaleTitle("Mode 2, load factor 118.6");
    EXPECT_STREQ(title.text.GetString(), " Mode 2, load factor 118.6");
    EXPECT_EQ(title.colourRow, -1);
    EXPECT_GT(title.y, labels[7].y + 0.05);
    EXPECT_LT(title.y, labels[8].y - 0.05);
}

// A fringe table of distinct colours for the tests' life.
class FringeTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        std::memcpy(m_saved, dColorIndex, sizeof m_saved);
        for (int i = 0; i < 257; ++i) {
            dColorIndex[i][0] = i / 255.0;
            dColorIndex[i][1] = 1.0 - i / 255.0;
            dColorIndex[i][2] = (i * 37 % 256) / 255.0;
            dColorIndex[i][3] = 1.0;
        }
    }
    void TearDown() override
    {
        std::memcpy(dColorIndex, m_saved, sizeof m_saved);
        COGLRenderer::ResetStaticsForTesting();
    }

    double m_saved[257][4];
};

// The first raster position of every run of bitmap tokens in a feedback
// buffer of GL_3D vertices, mapped back through glOrtho(0, 2, 0, 2) on a
// size x size viewport.
std::vector<std::pair<double, double>> LabelStarts(const std::vector<GLfloat>& feedback, int size)
{
    std::vector<std::pair<double, double>> starts;
    double lastX = -1;
    for (std::size_t i = 0; i + 3 < feedback.size();) {
        const auto token = static_cast<GLenum>(feedback[i]);
        if (token == GL_BITMAP_TOKEN) {
            const double x = feedback[i + 1] * 2.0 / size;
            const double y = feedback[i + 2] * 2.0 / size;
            if (x < lastX || starts.empty())
                starts.push_back({x, y});
            lastX = x;
            i += 4;
        } else if (token == GL_POLYGON_TOKEN) {
            i += 2 + 3 * static_cast<std::size_t>(feedback[i + 1]);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            i += 7;
        } else {
            i += 4;
        }
    }
    return starts;
}

// The feedback of draw (vertices of kind type) on a size x size viewport
// showing lo..hi across and up, z from -2 to 2.
std::vector<GLfloat> Feedback(GLenum type, int size, double lo, double hi, const std::function<void()>& draw)
{
    std::vector<GLfloat> buffer(200000);
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(lo, hi, lo, hi, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    buffer.resize(used > 0 ? static_cast<std::size_t>(used) : 0);
    return buffer;
}

std::vector<GLfloat> FeedbackOf(const std::function<void()>& draw, int size)
{
    return Feedback(GL_3D, size, 0, 2, draw);
}

LOGFONT LabelFont()
{
    LOGFONT font{};
    font.lfHeight = -12;
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}

TEST_F(FringeTable, RenderScaleShowsTheStripAndPlacesItsLabels)
{
    COSMesaSurface surface(64, 300);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    ASSERT_TRUE(renderer.CreateFontBitmaps(LabelFont()));
    float text[3] = {0, 0, 0};

    // Pixels: the strip over the whole surface shows the table.
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 64, 300), nullptr), 0);
    glOrtho(0, 1, 0, 1, -1, 1);
    glPolygonMode(GL_FRONT, GL_POINT);
    glPolygonMode(GL_BACK, GL_LINE);
    renderer.RenderScale(10, -10, text, "MPa", false, 0, 4);
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_POINT);
    EXPECT_EQ(modes[1], GL_LINE);
    renderer.FinishAndSwap(true);
    std::set<std::array<std::uint8_t, 4>> colours;
    for (int y = 0; y < 300; ++y)
        colours.insert(surface.Pixel(20, y));
    EXPECT_GE(colours.size(), 200u);

    // Feedback: one label at each interval's height, at x 1.
    const auto starts = LabelStarts(
        FeedbackOf([&] { renderer.RenderScale(10, -10, text, "MPa", false, 0, 4); }, 1000), 1000);
    ASSERT_EQ(starts.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(starts[i].first, 1.0, 1e-3);
        EXPECT_NEAR(starts[i].second, i / 4.0 - i * 0.02 / 4, 1e-3);
    }
    renderer.CleanUp();
}

TEST_F(FringeTable, StressScaleLeavesLightingOffAndPlacesNineLabels)
{
    COSMesaSurface surface(64, 300);
    COGLRenderer renderer;
    ASSERT_EQ(renderer.InitializeOGL(&surface), 0);
    ASSERT_TRUE(renderer.CreateFontBitmaps(LabelFont()));
    ASSERT_EQ(renderer.PreDraw(CRect(0, 0, 64, 300), nullptr), 0);
    glEnable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_POINT);
    const auto starts =
        LabelStarts(FeedbackOf([] { COGLRenderer::DrawStressScale(100, "MPa", 1, 0); }, 1000), 1000);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_POINT);
    EXPECT_EQ(modes[1], GL_POINT);
    ASSERT_EQ(starts.size(), 9u);
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(starts[i].first, 1.0, 1e-3);
        EXPECT_NEAR(starts[i].second, i < 8 ? i * 0.125 - i * 0.00375 : 1 - 8 * 0.00375, 1e-3);
    }
    renderer.CleanUp();
}

// ---- Drawing aids --------------------------------------------------------------------

// One primitive from a feedback buffer of GL_3D_COLOR vertices, mapped back
// to object coordinates through glOrtho(-2, 2, -2, 2, -2, 2) on a 1000 x
// 1000 viewport.
struct Vertex {
    double x, y, z;
    float colour[4];
};
struct Primitive {
    GLenum token;
    std::vector<Vertex> vertices;
};

std::vector<Primitive> Primitives(const std::function<void()>& draw)
{
    const std::vector<GLfloat> buffer = Feedback(GL_3D_COLOR, 1000, -2, 2, draw);
    const std::size_t used = buffer.size();
    std::vector<Primitive> primitives;
    const auto vertex = [&](std::size_t at) {
        Vertex v{buffer[at] / 250.0 - 2, buffer[at + 1] / 250.0 - 2, (0.5 - buffer[at + 2]) * 4, {}};
        for (int k = 0; k < 4; ++k)
            v.colour[k] = buffer[at + 3 + k];
        return v;
    };
    for (std::size_t i = 0; i < used;) {
        Primitive p{static_cast<GLenum>(buffer[i]), {}};
        std::size_t count = p.token == GL_POLYGON_TOKEN ? static_cast<std::size_t>(buffer[++i])
                            : p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN ? 2
                                                                                         : 1;
        ++i;
        for (std::size_t k = 0; k < count; ++k, i += 7)
            p.vertices.push_back(vertex(i));
        primitives.push_back(p);
    }
    return primitives;
}

class DrawingAids : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_surface.MakeCurrent()); }
    void TearDown() override { m_surface.DoneCurrent(); }

    COSMesaSurface m_surface{200, 40};
};

TEST_F(DrawingAids, RectangleIsOneLoopAtZeroStippledOnlyForItself)
{
    double a[2] = {-1, -0.5};
    double b[2] = {1.5, 0.25};
    const auto loop = Primitives([&] { COGLRenderer::DrawRect2D(a, b, true); });
    const double corners[4][2] = {{-1, -0.5}, {-1, 0.25}, {1.5, 0.25}, {1.5, -0.5}};
    ASSERT_EQ(loop.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(loop[i].vertices[0].x, corners[i][0], 1e-3);
        EXPECT_NEAR(loop[i].vertices[0].y, corners[i][1], 1e-3);
        EXPECT_NEAR(loop[i].vertices[0].z, 0, 1e-3);
        EXPECT_NEAR(loop[i].vertices[1].x, corners[(i + 1) % 4][0], 1e-3);
        EXPECT_NEAR(loop[i].vertices[1].y, corners[(i + 1) % 4][1], 1e-3);
    }
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    GLint pattern = 0, factor = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    glGetIntegerv(GL_LINE_STIPPLE_REPEAT, &factor);
    EXPECT_EQ(pattern, 0x1111);
    EXPECT_EQ(factor, 1);

    // Pixels: the dashed outline lights about a quarter of the solid one.
    const auto lit = [&](bool stippled) {
        glViewport(0, 0, 200, 40);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 200, 0, 40, -1, 1);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1, 1, 1);
        double p[2] = {10.5, 10.5};
        double q[2] = {190.5, 30.5};
        COGLRenderer::DrawRect2D(p, q, stippled);
        int count = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x)
                count += m_surface.Pixel(x, y)[0] > 128;
        return count;
    };
    const int solid = lit(false);
    const int dashed = lit(true);
    EXPECT_GT(solid, 380);
    EXPECT_GT(dashed, solid / 6);
    EXPECT_LT(dashed, solid / 3);
}

struct GlyphCase {
    UINT type;
    std::vector<std::array<double, 3>> shafts; // pairs of ends
    std::vector<std::array<double, 3>> heads;  // triangles
};

TEST_F(DrawingAids, ArrowGlyphsFollowTheirTables)
{
    // point (0.1, 0.2, 0.3), d = (1, 0.5, 0.4) at length 0 (its own): n =
    // (-0.5, 1, 0). The position a/b is point + a d + b n, its z 0.3 + 0.4 a.
    const auto at = [](double a, double b, double zA) {
        return std::array<double, 3>{0.1 + a - 0.5 * b, 0.2 + 0.5 * a + b, 0.3 + 0.4 * zA};
    };
    const auto p = [&](double a, double b) { return at(a, b, a); };
    const GlyphCase cases[] = {
        {0, {p(0, 0), p(0.6, 0)}, {p(1, 0), at(0.6, 0.05, 1), at(0.6, -0.05, 1)}},
        {2,
         {p(-0.3, 0), p(0.3, 0)},
         {p(0.5, 0), at(0.3, 0.05, 0.5), at(0.3, -0.05, 0.5), p(-0.5, 0), at(-0.3, 0.05, -0.5),
          at(-0.3, -0.05, -0.5)}},
        {static_cast<UINT>(-4), {p(-0.5, 0), p(0.3, 0)}, {p(0.5, 0), at(0.3, 0.05, 0.5), at(0.3, 0, 0.5)}},
        {5,
         {p(0.2, 0.05), p(-0.1, 0.05), p(0.1, -0.05), p(-0.2, -0.05)},
         {p(-0.5, 0.05), p(-0.3, 0.1), p(-0.3, 0), p(-0.3, 0.05), p(-0.1, 0.1), p(-0.1, 0), p(0.5, -0.05),
          p(0.3, -0.1), p(0.3, 0), p(0.3, -0.05), p(0.1, -0.1), p(0.1, 0)}},
        {7,
         {p(0, -0.3), p(0, 0.3), p(-0.5, 0), p(0.5, 0)},
         {p(0, 0.5),     p(0.05, 0.4),   p(-0.05, 0.4),  p(0, 0.4),     p(0.05, 0.3),   p(-0.05, 0.3),
          p(0, -0.5),    p(0.05, -0.4),  p(-0.05, -0.4), p(0, -0.4),    p(0.05, -0.3),  p(-0.05, -0.3),
          p(-0.05, 0),   p(-0.15, 0.05), p(-0.15, -0.05), p(-0.15, 0),  p(-0.25, 0.05), p(-0.25, -0.05),
          p(0.05, 0),    p(0.15, 0.05),  p(0.15, -0.05), p(0.15, 0),    p(0.25, 0.05),  p(0.25, -0.05)}},
        {99, {}, {}},
    };
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        double point[3] = {0.1, 0.2, 0.3};
        double d[3] = {1, 0.5, 0.4};
        const auto prims = Primitives([&] { COGLRenderer::Draw3DVect(point, d, 0, c.type); });
        std::vector<std::array<double, 3>> shafts, heads;
        for (const Primitive& prim : prims)
            for (const Vertex& v : prim.vertices)
                (prim.token == GL_POLYGON_TOKEN ? heads : shafts).push_back({v.x, v.y, v.z});
        ASSERT_EQ(shafts.size(), c.shafts.size());
        ASSERT_EQ(heads.size(), c.heads.size());
        for (std::size_t i = 0; i < shafts.size(); ++i)
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(shafts[i][k], c.shafts[i][k], 2e-3) << "shaft vertex " << i;
        for (std::size_t i = 0; i < heads.size(); ++i)
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(heads[i][k], c.heads[i][k], 2e-3) << "head vertex " << i;
    }
}

TEST_F(DrawingAids, ALengthScalesTheDirection)
{
    double point[3] = {0, 0, 0};
    double d[3] = {3, 0, 4}; // length 5
    const auto prims = Primitives([&] { COGLRenderer::Draw3DVect(point, d, 1, 0); });
    ASSERT_FALSE(prims.empty());
    ASSERT_EQ(prims[0].vertices.size(), 2u);
    EXPECT_NEAR(prims[0].vertices[1].x, 0.6 * 0.6, 2e-3);
    EXPECT_NEAR(prims[0].vertices[1].z, 0.6 * 0.8, 2e-3);
}

TEST_F(DrawingAids, CubeFacesNormalsAndColours)
{
    double corners[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                            {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    double colours[8][3];
    for (int i = 0; i < 8; ++i) {
        colours[i][0] = i / 8.0;
        colours[i][1] = 1 - i / 8.0;
        colours[i][2] = 0.5;
    }
    const int faces[6][4] = {{0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4}, {4, 0, 3, 7}, {0, 4, 5, 1}, {1, 5, 6, 2}};
    glDisable(GL_CULL_FACE);
    const auto prims = Primitives([&] { COGLRenderer::DrawCube(corners, colours, nullptr); });
    ASSERT_TRUE(prims.size() == 6u || prims.size() == 12u); // a polygon or two triangles a face
    std::vector<Vertex> all;
    for (const Primitive& prim : prims)
        all.insert(all.end(), prim.vertices.begin(), prim.vertices.end());
    // Every face's corners come out with their own colours.
    for (const auto& face : faces)
        for (const int corner : face) {
            bool seen = false;
            for (const Vertex& v : all)
                seen = seen || (std::fabs(v.x - corners[corner][0]) < 2e-3 &&
                                std::fabs(v.y - corners[corner][1]) < 2e-3 &&
                                std::fabs(v.z - corners[corner][2]) < 2e-3 &&
                                std::fabs(v.colour[0] - colours[corner][0]) < 1e-2 &&
                                std::fabs(v.colour[1] - colours[corner][1]) < 1e-2);
            EXPECT_TRUE(seen) << "corner " << corner;
        }
    // The normal left current is the last face's unit normal.
    GLfloat normal[4] = {0, 0, 0, 0};
    COGLRenderer::DrawCube(corners, colours, nullptr);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    // The last face (1, 5, 6, 2) is the x = 1 side: (2 - 1) x (5 - 1).
    EXPECT_NEAR(normal[0], 1, 1e-6);
    EXPECT_NEAR(normal[1], 0, 1e-6);
    EXPECT_NEAR(normal[2], 0, 1e-6);
}

TEST_F(DrawingAids, AScaleWithoutIntervalsIsTheStripAlone)
{
    COGLRenderer renderer;
    float text[3] = {0, 0, 0};
    for (const int n : {0, -3}) {
        SCOPED_TRACE(n);
        const auto prims = Primitives([&] { renderer.RenderScale(10, -10, text, "MPa", false, 0, n); });
        EXPECT_FALSE(prims.empty());
        for (const Primitive& prim : prims) {
            ASSERT_EQ(prim.token, static_cast<GLenum>(GL_POLYGON_TOKEN)); // no borders, no labels
            for (const Vertex& v : prim.vertices)
                EXPECT_FALSE(std::isnan(v.x) || std::isnan(v.y));
        }
    }
}

} // namespace
