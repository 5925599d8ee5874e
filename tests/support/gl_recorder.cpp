#include "tests/support/gl_recorder.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace brantel::test {

namespace {
GLRecorder* active = nullptr;
}

GLRecorder::GLRecorder()
{
    GLdouble n[3] = {0, 0, 1};
    glGetDoublev(GL_CURRENT_NORMAL, n);
    m_normal = {n[0], n[1], n[2]};
    GLdouble c[4] = {1, 1, 1, 1};
    glGetDoublev(GL_CURRENT_COLOR, c);
    m_colour = {c[0], c[1], c[2]};
    active = this;
}

GLRecorder::~GLRecorder() { active = nullptr; }

std::vector<RecordedTriangle> Triangles(const std::vector<RecordedPrimitive>& primitives)
{
    std::vector<RecordedTriangle> out;
    for (const RecordedPrimitive& p : primitives) {
        const auto corner = [&](std::size_t i) { return std::make_pair(p.vertices[i], p.colours[i]); };
        const auto add = [&](std::size_t a, std::size_t b, std::size_t c) {
            if (p.vertices[a] == p.vertices[b] || p.vertices[b] == p.vertices[c] || p.vertices[c] == p.vertices[a])
                return;
            RecordedTriangle t{{corner(a), corner(b), corner(c)}};
            std::rotate(t.corners.begin(), std::min_element(t.corners.begin(), t.corners.end()), t.corners.end());
            out.push_back(t);
        };
        const std::size_t n = p.vertices.size();
        if (p.mode == GL_TRIANGLES)
            for (std::size_t i = 0; i + 2 < n; i += 3)
                add(i, i + 1, i + 2);
        else if (p.mode == GL_TRIANGLE_STRIP)
            for (std::size_t i = 0; i + 2 < n; ++i)
                i % 2 ? add(i + 1, i, i + 2) : add(i, i + 1, i + 2);
    }
    std::sort(out.begin(), out.end());
    return out;
}

bool GLRecorder::balanced() const
{
    if (m_open || m_misuses != 0)
        return false;
    for (const RecordedPrimitive& p : m_primitives)
        if (!p.closed)
            return false;
    return true;
}

void GLRecorder::begin(GLenum mode)
{
    if (m_open)
        ++m_misuses;
    m_open = true;
    m_primitives.push_back({mode, {}, {}, {}, false});
}

void GLRecorder::end()
{
    if (!m_open) {
        ++m_misuses;
        return;
    }
    m_open = false;
    m_primitives.back().closed = true;
}

void GLRecorder::vertex(double x, double y, double z)
{
    if (!m_open) {
        ++m_misuses;
        return;
    }
    m_primitives.back().vertices.push_back({x, y, z});
    m_primitives.back().normals.push_back(m_normal);
    m_primitives.back().colours.push_back(m_colour);
}

} // namespace brantel::test

namespace {

// The real entry point that this program's definition hides.
template <typename F>
F real(const char* name)
{
    void* f = dlsym(RTLD_NEXT, name);
    if (!f) {
        std::fprintf(stderr, "gl_recorder: no OpenGL entry point %s\n", name);
        std::abort();
    }
    return reinterpret_cast<F>(f);
}

using brantel::test::active;

} // namespace

extern "C" {

void glBegin(GLenum mode)
{
    static const auto next = real<void (*)(GLenum)>("glBegin");
    if (active)
        active->begin(mode);
    next(mode);
}

void glEnd()
{
    static const auto next = real<void (*)()>("glEnd");
    if (active)
        active->end();
    next();
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z)
{
    static const auto next = real<void (*)(GLdouble, GLdouble, GLdouble)>("glVertex3d");
    if (active)
        active->vertex(x, y, z);
    next(x, y, z);
}

void glVertex3dv(const GLdouble* v)
{
    static const auto next = real<void (*)(const GLdouble*)>("glVertex3dv");
    if (active)
        active->vertex(v[0], v[1], v[2]);
    next(v);
}

void glNormal3d(GLdouble x, GLdouble y, GLdouble z)
{
    static const auto next = real<void (*)(GLdouble, GLdouble, GLdouble)>("glNormal3d");
    if (active)
        active->normal(x, y, z);
    next(x, y, z);
}

void glNormal3dv(const GLdouble* v)
{
    static const auto next = real<void (*)(const GLdouble*)>("glNormal3dv");
    if (active)
        active->normal(v[0], v[1], v[2]);
    next(v);
}

void glColor3d(GLdouble r, GLdouble g, GLdouble b)
{
    static const auto next = real<void (*)(GLdouble, GLdouble, GLdouble)>("glColor3d");
    if (active)
        active->colour(r, g, b);
    next(r, g, b);
}

void glColor3dv(const GLdouble* v)
{
    static const auto next = real<void (*)(const GLdouble*)>("glColor3dv");
    if (active)
        active->colour(v[0], v[1], v[2]);
    next(v);
}

void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a)
{
    static const auto next = real<void (*)(GLdouble, GLdouble, GLdouble, GLdouble)>("glColor4d");
    if (active)
        active->colour(r, g, b);
    next(r, g, b, a);
}

void glColor4dv(const GLdouble* v)
{
    static const auto next = real<void (*)(const GLdouble*)>("glColor4dv");
    if (active)
        active->colour(v[0], v[1], v[2]);
    next(v);
}

} // extern "C"
