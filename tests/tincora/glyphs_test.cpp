#include "glstyle/tincora.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using brantel::test::GLRecorder;
using brantel::test::RecordedPrimitive;
using brantel::test::Vec3;

constexpr double kTol = 1e-12;

Vec3 sub(Vec3 a, Vec3 b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(Vec3 a, Vec3 b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double norm(Vec3 a) { return std::sqrt(dot(a, a)); }

::testing::AssertionResult near(Vec3 actual, Vec3 expected, double tol = kTol)
{
    if (norm(sub(actual, expected)) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << actual[0] << ", " << actual[1] << ", " << actual[2] << ") is not ("
           << expected[0] << ", " << expected[1] << ", " << expected[2] << ")";
}

// The primitives a drawing sends to OpenGL, checked to be well formed.
std::vector<RecordedPrimitive> record(const std::function<void()>& draw)
{
    GLRecorder recorder;
    draw();
    EXPECT_TRUE(recorder.balanced()) << "glBegin/glEnd out of step";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return recorder.primitives();
}

class Glyphs : public brantel::test::GLTest {
protected:
    // OSMesa crashes when a context that has drawn is destroyed with work
    // still queued; finish it first.
    void TearDown() override
    {
        glFinish();
        GLTest::TearDown();
    }
};

// ---- arrows

// The cone of an arrow: 20 triangles from tip to a base circle about base of
// radius r perpendicular to the axis, each triangle lit by the unit radius
// vector at its first base corner, the circle walked in 18 degree steps.
void expectCone(const RecordedPrimitive& cone, Vec3 tip, Vec3 base, double r, Vec3 axis)
{
    ASSERT_EQ(cone.mode, static_cast<GLenum>(GL_TRIANGLES));
    ASSERT_EQ(cone.vertices.size(), 60u);
    const double step = 0.3141592653589793;
    for (int k = 0; k < 20; ++k) {
        SCOPED_TRACE("triangle " + std::to_string(k));
        const Vec3 t = cone.vertices[3 * k];
        const Vec3 prev = sub(cone.vertices[3 * k + 1], base);
        const Vec3 next = sub(cone.vertices[3 * k + 2], base);
        EXPECT_TRUE(near(t, tip, 1e-12));
        EXPECT_NEAR(norm(prev), r, 1e-12);
        EXPECT_NEAR(norm(next), r, 1e-12);
        EXPECT_NEAR(dot(prev, axis), 0.0, 1e-12);
        EXPECT_NEAR(dot(next, axis), 0.0, 1e-12);
        EXPECT_NEAR(std::acos(std::clamp(dot(prev, next) / (r * r), -1.0, 1.0)), step, 1e-9);
        const Vec3 n = {prev[0] / r, prev[1] / r, prev[2] / r};
        for (int v = 0; v < 3; ++v)
            EXPECT_TRUE(near(cone.normals[3 * k + v], n, 1e-12));
        if (k > 0) {
            EXPECT_TRUE(near(cone.vertices[3 * k + 1], cone.vertices[3 * k - 1], 1e-12));
        }
    }
    // Twenty steps close the circle.
    EXPECT_TRUE(near(cone.vertices[59], cone.vertices[1], 1e-12));
}

TEST_F(Glyphs, ArrowOfOneCone)
{
    double origin[3] = {0, 0, 0};
    double vector[3] = {0, 0, 2};
    const auto prims = record([&] { Draw3DVect(origin, vector, 0.0, 0); });
    ASSERT_EQ(prims.size(), 2u);
    ASSERT_EQ(prims[0].mode, static_cast<GLenum>(GL_LINES));
    ASSERT_EQ(prims[0].vertices.size(), 2u);
    EXPECT_TRUE(near(prims[0].vertices[0], {0, 0, 0}));
    EXPECT_TRUE(near(prims[0].vertices[1], {0, 0, 1.8}));
    expectCone(prims[1], {0, 0, 2}, {0, 0, 1.6}, 0.2, {0, 0, 1});
}

TEST_F(Glyphs, ArrowOfTwoCones)
{
    double origin[3] = {1, -1, 0.5};
    double vector[3] = {0, 3, 0};
    const auto prims = record([&] { Draw3DVect(origin, vector, 0.0, 1); });
    ASSERT_EQ(prims.size(), 3u);
    ASSERT_EQ(prims[0].mode, static_cast<GLenum>(GL_LINES));
    EXPECT_TRUE(near(prims[0].vertices[0], {1, -1, 0.5}));
    EXPECT_TRUE(near(prims[0].vertices[1], {1, -1 + 2.4, 0.5}));
    expectCone(prims[1], {1, 2, 0.5}, {1, -1 + 2.4, 0.5}, 0.3, {0, 1, 0});
    expectCone(prims[2], {1, -1 + 2.55, 0.5}, {1, -1 + 1.95, 0.5}, 0.3, {0, 1, 0});
}

// A size sets the arrow's length; the head keeps the radius of the vector as
// given. The head's radius vector is made of two distinct components even
// where magnitudes tie.
TEST_F(Glyphs, ArrowLengthAndHeadRadius)
{
    struct Case {
        Vec3 vector;
        double size;
        Vec3 tip;     // from the origin (1, 2, 3)
        double head;  // 0.1 x the length of the two larger components
    };
    const Case cases[] = {
        {{3, 0, 4}, 10.0, {6, 0, 8}, 0.5},
        {{3, 0, 4}, 0.0, {3, 0, 4}, 0.5},
        {{3, 0, 4}, -5.0, {-3, 0, -4}, 0.5},
        {{1, 1, 1}, 0.0, {1, 1, 1}, 0.1 * std::sqrt(2.0)},
        {{-2, 2, -2}, 0.0, {-2, 2, -2}, 0.1 * std::sqrt(8.0)},
        {{0, -3, 3}, 0.0, {0, -3, 3}, 0.1 * std::sqrt(18.0)},
        {{0, 0, -0.5}, 1.0, {0, 0, -1}, 0.05},
        {{7, 0, 0}, 0.0, {7, 0, 0}, 0.7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "vector (" << c.vector[0] << ", " << c.vector[1]
                                          << ", " << c.vector[2] << ") size " << c.size);
        double origin[3] = {1, 2, 3};
        double vector[3] = {c.vector[0], c.vector[1], c.vector[2]};
        const auto prims = record([&] { Draw3DVect(origin, vector, c.size, 0); });
        ASSERT_EQ(prims.size(), 2u);
        const Vec3 tip = {1 + c.tip[0], 2 + c.tip[1], 3 + c.tip[2]};
        const Vec3 base = {1 + 0.8 * c.tip[0], 2 + 0.8 * c.tip[1], 3 + 0.8 * c.tip[2]};
        const double len = norm(c.vector);
        const Vec3 axis = {c.vector[0] / len, c.vector[1] / len, c.vector[2] / len};
        expectCone(prims[1], tip, base, c.head, axis);
    }
}

// Nothing is drawn for an unknown style or for a vector without a direction,
// which would otherwise send NaN vertices.
TEST_F(Glyphs, ArrowThatDrawsNothing)
{
    double origin[3] = {1, 2, 3};
    double vector[3] = {0, 0, 2};
    double zero[3] = {0, 0, 0};
    for (unsigned mode : {2u, 3u, 100u})
        EXPECT_TRUE(record([&] { Draw3DVect(origin, vector, 0.0, mode); }).empty()) << mode;
    for (unsigned mode : {0u, 1u})
        for (double size : {0.0, 5.0})
            EXPECT_TRUE(record([&] { Draw3DVect(origin, zero, size, mode); }).empty())
                << mode << " " << size;
}

// ---- displacement support

TEST_F(Glyphs, DisplacementSupportAlongZ)
{
    double point[3] = {1, 2, 3};
    double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const auto prims = record([&] { Draw3DDispSup(point, axes, 0.0, 3); });
    ASSERT_EQ(prims.size(), 3u);

    const RecordedPrimitive& fan = prims[0];
    ASSERT_EQ(fan.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
    const std::vector<Vec3> fanAt = {{0, 0, 0},      {0.5, 0.5, -1.2},  {0.5, -0.5, -1.2},
                                     {-0.5, -0.5, -1.2}, {-0.5, 0.5, -1.2}, {0.5, 0.5, -1.2}};
    ASSERT_EQ(fan.vertices.size(), fanAt.size());
    for (std::size_t i = 0; i < fanAt.size(); ++i)
        EXPECT_TRUE(near(fan.vertices[i], {1 + fanAt[i][0], 2 + fanAt[i][1], 3 + fanAt[i][2]}))
            << "fan vertex " << i;
    EXPECT_TRUE(near(fan.normals[0], {0, 0, -1}));
    // Each corner is lit by the unit normal of the face it opens.
    for (std::size_t i = 1; i < fan.vertices.size(); ++i) {
        const std::size_t j = i == 5 ? 2 : i + 1;
        const Vec3 n = fan.normals[i];
        EXPECT_NEAR(norm(n), 1.0, 1e-12) << "corner " << i;
        EXPECT_NEAR(dot(n, sub(fan.vertices[i], fan.vertices[0])), 0.0, 1e-12) << "corner " << i;
        EXPECT_NEAR(dot(n, sub(fan.vertices[j], fan.vertices[0])), 0.0, 1e-12) << "corner " << i;
    }

    const RecordedPrimitive& plate = prims[1];
    ASSERT_EQ(plate.mode, static_cast<GLenum>(GL_QUADS));
    const std::vector<Vec3> plateAt = {{1.6, 2.6, 1.8}, {1.6, 1.4, 1.8}, {0.4, 1.4, 1.8},
                                       {0.4, 2.6, 1.8}};
    ASSERT_EQ(plate.vertices.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(near(plate.vertices[i], plateAt[i])) << "plate corner " << i;
        EXPECT_TRUE(near(plate.normals[i], {0, 0, -1}));
    }

    const RecordedPrimitive& rim = prims[2];
    ASSERT_EQ(rim.mode, static_cast<GLenum>(GL_LINE_LOOP));
    ASSERT_EQ(rim.vertices.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(near(rim.vertices[i], plateAt[(i + 3) % 4])) << "outline corner " << i;
}

// The (+,+) and (+,-) corners tell the two side axes apart: b is the axis
// before dir in cyclic order. A size scales the whole symbol.
TEST_F(Glyphs, DisplacementSupportAxesAndSize)
{
    struct Case {
        int dir;
        double size;
        Vec3 first, second, plateFirst;
    };
    const Case cases[] = {
        {1, 0.0, {-1.2, 0.5, 0.5}, {-1.2, 0.5, -0.5}, {-1.2, 0.6, 0.6}},
        {2, 0.0, {0.5, -1.2, 0.5}, {-0.5, -1.2, 0.5}, {0.6, -1.2, 0.6}},
        {3, 2.0, {1, 1, -2.4}, {1, -1, -2.4}, {1.2, 1.2, -2.4}},
        {3, -1.0, {-0.5, -0.5, 1.2}, {-0.5, 0.5, 1.2}, {-0.6, -0.6, 1.2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "dir " << c.dir << " size " << c.size);
        double point[3] = {0, 0, 0};
        double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
        const auto prims = record([&] { Draw3DDispSup(point, axes, c.size, c.dir); });
        ASSERT_EQ(prims.size(), 3u);
        ASSERT_EQ(prims[0].vertices.size(), 6u);
        EXPECT_TRUE(near(prims[0].vertices[1], c.first));
        EXPECT_TRUE(near(prims[0].vertices[2], c.second));
        EXPECT_TRUE(near(prims[0].vertices[5], c.first));
        EXPECT_TRUE(near(prims[1].vertices[0], c.plateFirst));
        for (const Vec3& n : prims[0].normals)
            EXPECT_NEAR(norm(n), 1.0, 1e-12);
    }
}

// A direction outside 1 to 3 names no axis; nothing is read or drawn.
TEST_F(Glyphs, DisplacementSupportWithoutAxis)
{
    double point[3] = {0, 0, 0};
    double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int dir : {0, 4, -1})
        EXPECT_TRUE(record([&] { Draw3DDispSup(point, axes, 1.0, dir); }).empty()) << dir;
}

// ---- springs

TEST_F(Glyphs, DisplacementSpring)
{
    // Offsets along and across for size 1: lead-in, six strokes, lead-out.
    const double along[10] = {0, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};
    const double across[10] = {0, 0, 0.2, -0.2, 0.2, -0.2, 0.2, -0.2, 0, 0};
    for (double size : {0.0, 1.0, 3.0, -2.0}) {
        SCOPED_TRACE(size);
        double point[3] = {1, 1, 1};
        double l[3] = {0, 0, 1};
        double w[3] = {1, 0, 0};
        const auto prims = record([&] { Draw2DDispSpring(point, l, w, size); });
        ASSERT_EQ(prims.size(), 1u);
        ASSERT_EQ(prims[0].mode, static_cast<GLenum>(GL_LINE_STRIP));
        ASSERT_EQ(prims[0].vertices.size(), 10u);
        const double s = size == 0.0 ? 1.0 : size;
        for (int i = 0; i < 10; ++i)
            EXPECT_TRUE(near(prims[0].vertices[i], {1 + s * across[i], 1, 1 + s * along[i]}))
                << "vertex " << i;
    }
}

TEST_F(Glyphs, RotationalSpring)
{
    double centre[3] = {1, 2, 3};
    double u[3] = {0, 1, 0};
    double v[3] = {0, 0, 1};
    for (double size : {0.0, 2.0}) {
        SCOPED_TRACE(size);
        const double s = size == 0.0 ? 1.0 : size;
        // The direction argument is not read: no array is needed.
        const auto prims = record([&] { Draw2DRotSpring(centre, nullptr, u, v, size); });
        ASSERT_EQ(prims.size(), 1u);
        ASSERT_EQ(prims[0].mode, static_cast<GLenum>(GL_LINE_STRIP));
        const auto& at = prims[0].vertices;
        ASSERT_EQ(at.size(), 41u);
        EXPECT_TRUE(near(at[0], {1, 2 + s, 3}));
        EXPECT_TRUE(near(at[10], {1, 2, 3 - 0.75 * s}));  // three quarters of a turn
        EXPECT_TRUE(near(at[20], {1, 2 - 0.5 * s, 3}));   // a turn and a half
        EXPECT_TRUE(near(at[40], {1, 2, 3}));
        for (int k = 0; k <= 40; ++k)
            EXPECT_NEAR(norm(sub(at[k], {1, 2, 3})), (40 - k) * 0.025 * s, 1e-12) << k;
    }
}

// ---- rotational support and sphere

TEST_F(Glyphs, RotationalSupportDisk)
{
    double centre[3] = {1, 2, 3};
    double normal[3] = {3, 0, 0};
    double u[3] = {0, 1, 0};
    double v[3] = {0, 0, 1};
    for (double size : {0.0, 0.5}) {
        SCOPED_TRACE(size);
        const double h = size == 0.0 ? 1.0 : size;
        const auto prims = record([&] { Draw3DRotSup(centre, normal, u, v, size); });
        ASSERT_EQ(prims.size(), 2u);

        const RecordedPrimitive& disk = prims[0];
        ASSERT_EQ(disk.mode, static_cast<GLenum>(GL_TRIANGLE_FAN));
        ASSERT_EQ(disk.vertices.size(), 22u);
        EXPECT_TRUE(near(disk.vertices[0], {1, 2, 3}));
        EXPECT_TRUE(near(disk.vertices[1], {1, 2 + 0.99 * h, 3}));
        EXPECT_TRUE(near(disk.vertices[6], {1, 2, 3 + 0.99 * h}));
        EXPECT_TRUE(near(disk.vertices[21], disk.vertices[1]));
        for (std::size_t i = 0; i < disk.vertices.size(); ++i) {
            EXPECT_TRUE(near(disk.normals[i], {1, 0, 0}));
            if (i > 0) {
                EXPECT_NEAR(norm(sub(disk.vertices[i], {1, 2, 3})), 0.99 * h, 1e-12);
            }
        }

        const RecordedPrimitive& rim = prims[1];
        ASSERT_EQ(rim.mode, static_cast<GLenum>(GL_LINE_LOOP));
        ASSERT_EQ(rim.vertices.size(), 20u);
        EXPECT_TRUE(near(rim.vertices[0], {1, 2 + h, 3}));
        EXPECT_TRUE(near(rim.vertices[5], {1, 2, 3 + h}));
        EXPECT_TRUE(near(rim.vertices[10], {1, 2 - h, 3}));
        for (const Vec3& p : rim.vertices)
            EXPECT_NEAR(norm(sub(p, {1, 2, 3})), h, 1e-12);
    }
}

TEST_F(Glyphs, Sphere)
{
    double centre[3] = {1, 2, 3};
    double p[3] = {0, 0, 1};
    double q[3] = {1, 0, 0};
    double r[3] = {0, 1, 0};
    const double R = 2.0;
    const auto prims = record([&] { Draw3DSphere(centre, p, q, r, R); });
    ASSERT_EQ(prims.size(), 20u);
    std::size_t total = 0;
    for (std::size_t i = 0; i < prims.size(); ++i) {
        SCOPED_TRACE("band " + std::to_string(i));
        const RecordedPrimitive& band = prims[i];
        ASSERT_EQ(band.mode, static_cast<GLenum>(GL_QUAD_STRIP));
        ASSERT_EQ(band.vertices.size(), 32u);
        total += band.vertices.size();
        // Band i runs between the polar angles pi - i pi/20 and pi - (i+1) pi/20
        // from p; the last pair repeats the first.
        const double z0 = 3 + R * std::cos(M_PI - i * M_PI / 20);
        const double z1 = 3 + R * std::cos(M_PI - (i + 1) * M_PI / 20);
        for (std::size_t k = 0; k < 32; ++k) {
            const Vec3 off = sub(band.vertices[k], {1, 2, 3});
            EXPECT_NEAR(norm(off), R, 1e-12);
            EXPECT_NEAR(band.vertices[k][2], k % 2 == 0 ? z0 : z1, 1e-12);
            EXPECT_TRUE(near(band.normals[k], {-off[0] / R, -off[1] / R, -off[2] / R}));
        }
        EXPECT_TRUE(near(band.vertices[30], band.vertices[0], 1e-12));
        EXPECT_TRUE(near(band.vertices[31], band.vertices[1], 1e-12));
    }
    EXPECT_EQ(total, 640u);
    // The first band starts at the pole opposite p, the last ends at p's pole.
    EXPECT_TRUE(near(prims[0].vertices[0], {1, 2, 1}, 1e-12));
    EXPECT_TRUE(near(prims[19].vertices[1], {1, 2, 5}, 1e-12));
    // 15 facets around: the first pair sits at 24 degrees in the q-r plane.
    const Vec3 ring = sub(prims[10].vertices[0], {1, 2, 3});
    EXPECT_NEAR(std::atan2(ring[1], ring[0]), 2 * M_PI / 15, 1e-12);
}

// ---- what every glyph leaves behind

struct Glyph {
    const char* name;
    std::function<void()> draw;
    bool surfaces;
};

std::vector<Glyph> everyGlyph()
{
    static double origin[3] = {0.1, 0.2, 0.3};
    static double dir[3] = {0.2, 0.3, 1.5};
    static double axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    static double ex[3] = {1, 0, 0};
    static double ey[3] = {0, 1, 0};
    static double ez[3] = {0, 0, 1};
    return {
        {"arrow, one cone", [] { Draw3DVect(origin, dir, 0.0, 0); }, true},
        {"arrow, two cones", [] { Draw3DVect(origin, dir, 2.0, 1); }, true},
        {"displacement support", [] { Draw3DDispSup(origin, axes, 0.8, 2); }, true},
        {"displacement spring", [] { Draw2DDispSpring(origin, ex, ey, 1.5); }, false},
        {"rotational support", [] { Draw3DRotSup(origin, ez, ex, ey, 1.5); }, true},
        {"sphere", [] { Draw3DSphere(origin, ez, ex, ey, 1.5); }, true},
        {"rotational spring", [] { Draw2DRotSpring(origin, ez, ex, ey, 1.5); }, false},
    };
}

// The caller's colour stays current; surfaces are filled on both faces and
// the fill is left set.
TEST_F(Glyphs, KeepColourAndFillSurfaces)
{
    for (const Glyph& g : everyGlyph()) {
        SCOPED_TRACE(g.name);
        glColor4f(0.25f, 0.5f, 0.75f, 0.125f);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        EXPECT_FALSE(record(g.draw).empty());
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0], 0.25f);
        EXPECT_EQ(colour[1], 0.5f);
        EXPECT_EQ(colour[2], 0.75f);
        EXPECT_EQ(colour[3], 0.125f);
        GLint mode[2];
        glGetIntegerv(GL_POLYGON_MODE, mode);
        if (g.surfaces) {
            EXPECT_EQ(mode[0], GL_FILL);
            EXPECT_EQ(mode[1], GL_FILL);
        }
    }
}

// What OpenGL itself makes of each glyph, through feedback mode: the number
// of filled triangles and line segments it receives.
TEST_F(Glyphs, PrimitivesReachOpenGL)
{
    struct Count {
        int triangles;
        int lines;
    };
    const Count expected[] = {
        {20, 1},   // arrow: a cone and the shaft
        {40, 1},   // two cones
        {4 + 2, 4}, // pyramid sides, plate, outline
        {0, 9},    // zigzag
        {20, 20},  // disk and rim
        {600, 0},  // 20 bands of 15 quads
        {0, 40},   // spiral
    };
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -4, 4); // every glyph inside, none clipped
    const auto glyphs = everyGlyph();
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        SCOPED_TRACE(glyphs[i].name);
        std::vector<GLfloat> buffer(1 << 16);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glyphs[i].draw();
        const GLint used = glRenderMode(GL_RENDER);
        ASSERT_GT(used, 0);
        int triangles = 0;
        int lines = 0;
        for (GLint at = 0; at < used;) {
            const auto token = static_cast<GLint>(buffer[at++]);
            if (token == GL_POLYGON_TOKEN) {
                const auto n = static_cast<GLint>(buffer[at++]);
                triangles += n - 2;
                at += 3 * n;
            } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                ++lines;
                at += 6;
            } else if (token == GL_POINT_TOKEN) {
                ADD_FAILURE() << "a point was drawn";
                at += 3;
            } else {
                ADD_FAILURE() << "unexpected feedback token " << token;
                break;
            }
        }
        EXPECT_EQ(triangles, expected[i].triangles);
        EXPECT_EQ(lines, expected[i].lines);
    }
}

} // namespace
