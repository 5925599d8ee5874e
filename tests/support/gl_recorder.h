// Records the immediate-mode primitives the code under test sends to OpenGL:
// each glBegin/glEnd with its vertices and the normal and colour current at
// each vertex, exactly as passed (doubles, before any transform). The gl* entry points are
// taken over by this test program and passed on to the real OpenGL, so the
// drawing still reaches the current context.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include <GL/gl.h>

namespace brantel::test {

using Vec3 = std::array<double, 3>;

struct RecordedPrimitive {
    GLenum mode = 0;
    std::vector<Vec3> vertices;
    std::vector<Vec3> normals; // the current normal at each vertex
    std::vector<Vec3> colours; // the current colour (red, green, blue) at each vertex
    bool closed = false;       // glEnd seen
};

// Records while it exists; only one at a time.
class GLRecorder {
public:
    GLRecorder();
    ~GLRecorder();
    GLRecorder(const GLRecorder&) = delete;
    GLRecorder& operator=(const GLRecorder&) = delete;

    const std::vector<RecordedPrimitive>& primitives() const { return m_primitives; }
    // glBegin inside glBegin, glEnd without glBegin, vertices outside a pair.
    int misuses() const { return m_misuses; }
    // Every glBegin matched by its glEnd and nothing misused.
    bool balanced() const;

    void begin(GLenum mode);
    void end();
    void vertex(double x, double y, double z);
    void normal(double x, double y, double z) { m_normal = {x, y, z}; }
    void colour(double r, double g, double b) { m_colour = {r, g, b}; }

private:
    std::vector<RecordedPrimitive> m_primitives;
    Vec3 m_normal{0, 0, 1};
    Vec3 m_colour{1, 1, 1};
    bool m_open = false;
    int m_misuses = 0;
};

// A triangle as drawn: its corners (position, colour) in the order OpenGL
// takes them, which turns the triangle as it is drawn, starting at the
// least corner (a rotation, so the turn stays).
struct RecordedTriangle {
    std::array<std::pair<Vec3, Vec3>, 3> corners;
    auto operator<=>(const RecordedTriangle&) const = default;
};

// The triangles of GL_TRIANGLES and GL_TRIANGLE_STRIP primitives (a strip's
// every second triangle taken turned back, as OpenGL does), without the
// empty ones (two corners at one place), sorted.
std::vector<RecordedTriangle> Triangles(const std::vector<RecordedPrimitive>& primitives);

} // namespace brantel::test
