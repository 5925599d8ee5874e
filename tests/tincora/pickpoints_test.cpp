#include "glstyle/pickcull.h"
#include "glstyle/pickpoints.h"
#include "tests/support/gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

struct NamedPoint {
    std::uint32_t name;
    double x, y, z;
};

// The hit records of a GL_SELECT pick of w x h pixels at (px, py) over the
// fixture's [-1, 1] square, seen turned by the angles, with draw making the
// named primitives.
template <class Draw>
std::vector<GLuint> Select(int px, int py, double w, double h, double yaw, double pitch, Draw draw)
{
    std::vector<GLuint> buffer(1u << 16);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(px, py, w, h, viewport);
    glOrtho(-1.5, 1.5, -1.5, 1.5, -3.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(yaw, 0.0, 1.0, 0.0);
    glRotated(pitch, 1.0, 0.0, 0.0);
    draw();
    const GLint hits = glRenderMode(GL_RENDER);
    EXPECT_GE(hits, 0) << "selection buffer overflow";
    std::vector<GLuint> records;
    for (GLint i = 0, at = 0; i < hits; ++i) {
        const GLuint names = buffer[at];
        records.insert(records.end(), buffer.begin() + at, buffer.begin() + at + 3 + names);
        at += 3 + static_cast<GLint>(names);
    }
    return records;
}

// A pick drawn from the index gives the very hit records (names, order and
// depths) of the full drawing of every point, over a lattice of pick
// windows of two sizes, flat and turned, for points recorded out of their
// spatial order, with coincident points under different names (ties), a
// point that is not finite and points off the square; and it draws only a
// small part of the points.
TEST(PickPointIndex, APickFromTheIndexHitsWhatTheFullDrawingHits)
{
    brantel::test::OffscreenGL gl(128, 128);
    ASSERT_TRUE(gl.ok());
    std::vector<NamedPoint> points;
    constexpr int kSide = 70;
    for (int k = 0; k < kSide * kSide; ++k) {
        // Recorded in a scrambled order: neighbours are far apart in it.
        const int i = (k * 7919) % (kSide * kSide);
        const double x = -1.2 + 2.4 * (i % kSide) / (kSide - 1);
        const double y = -1.2 + 2.4 * (i / kSide) / (kSide - 1);
        const double z = 0.4 * std::sin(3.0 * x) * std::cos(2.0 * y);
        points.push_back({static_cast<std::uint32_t>(k + 1), x, y, z});
        if (i % 13 == 0) // a second point at the same place
            points.push_back({static_cast<std::uint32_t>(100000 + k), x, y, z});
    }
    points.push_back({999999u, 0.1, 0.1, std::nan("")});
    points.push_back({999998u, 5.0, 5.0, 0.0});

    CPickPointIndex index;
    {
        CPickPointIndex::Recording recording(index);
        ASSERT_EQ(CPickPointIndex::Recorder(), &index);
        for (const NamedPoint& p : points)
            CPickPointIndex::Recorder()->Add(p.name, p.x, p.y, p.z);
    }
    EXPECT_EQ(CPickPointIndex::Recorder(), nullptr);
    ASSERT_TRUE(index.IsBuilt());
    ASSERT_EQ(index.Size(), points.size());

    const auto full = [&] {
        for (const NamedPoint& p : points) {
            glLoadName(p.name);
            glBegin(GL_POINTS);
            glVertex3d(p.x, p.y, p.z);
            glEnd();
        }
    };
    const auto indexed = [&] {
        const CPickWindowCull cull;
        index.PickDraw();
    };
    int compared = 0, hits = 0;
    std::size_t mostDrawn = 0;
    for (const double size : {10.0, 3.0})
        for (const double angle : {0.0, 35.0})
            for (int py = 2; py < 128; py += 15)
                for (int px = 3; px < 128; px += 15) {
                    SCOPED_TRACE(testing::Message() << "window " << size << " angle " << angle << " at " << px
                                                    << ", " << py);
                    const std::vector<GLuint> plain = Select(px, py, size, size, angle, -angle / 2, full);
                    const std::vector<GLuint> fast = Select(px, py, size, size, angle, -angle / 2, indexed);
                    EXPECT_EQ(fast, plain);
                    ++compared;
                    hits += !plain.empty();
                    mostDrawn = std::max(mostDrawn, index.LastDrawn());
                }
    EXPECT_GT(hits, compared / 2);
    EXPECT_LT(mostDrawn, points.size() / 20);

    // Without a pick cull in force every point is drawn.
    const std::vector<GLuint> all = Select(64, 64, 128.0, 128.0, 0.0, 0.0, [&] { index.PickDraw(); });
    EXPECT_EQ(index.LastDrawn(), points.size());
    EXPECT_EQ(all, Select(64, 64, 128.0, 128.0, 0.0, 0.0, full));

    index.Clear();
    EXPECT_FALSE(index.IsBuilt());
    EXPECT_EQ(index.Size(), 0u);
}

} // namespace
