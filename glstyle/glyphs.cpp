#include "glstyle/glyphs.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Vec {
    double x, y, z;
};

Vec load(const double* p) { return {p[0], p[1], p[2]}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y, s * a.z}; }
Vec operator-(Vec a) { return {-a.x, -a.y, -a.z}; }
double length(Vec a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }
Vec cross(Vec a, Vec b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// a / |a|; a vector of zero length stays as it is rather than become NaN.
Vec unit(Vec a)
{
    const double len = length(a);
    return len > 0.0 ? (1.0 / len) * a : a;
}

void emitVertex(Vec p) { glVertex3d(p.x, p.y, p.z); }
void emitNormal(Vec n) { glNormal3d(n.x, n.y, n.z); }

// A size of exactly 0 means 1.
double orOne(double size) { return size == 0.0 ? 1.0 : size; }

void fillBothFaces() { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); }

// A vector perpendicular to v built from its components: the smallest in
// magnitude becomes 0, the largest -0.1 x the middle one, the middle one
// 0.1 x the largest. Ties are broken by position so that the three roles go
// to three different components.
Vec arrowHeadRadius(Vec v)
{
    double c[3] = {v.x, v.y, v.z};
    int idx[3] = {0, 1, 2};
    std::stable_sort(idx, idx + 3,
                     [&](int a, int b) { return std::fabs(c[a]) < std::fabs(c[b]); });
    double p[3];
    p[idx[0]] = 0.0;
    p[idx[1]] = 0.1 * c[idx[2]];
    p[idx[2]] = -0.1 * c[idx[1]];
    return {p[0], p[1], p[2]};
}

// One cone of 20 triangles from a base circle about base, of the radius
// vector radius, to tip; axis is the unit direction the radius turns about.
void arrowCone(Vec tip, Vec base, Vec radius, Vec axis)
{
    const double angle = 0.3141592653589793;
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    const double t = 1.0 - c;
    const Vec a = axis;
    // Rotation by angle about a (right-handed), row by row.
    const Vec r0 = {t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y};
    const Vec r1 = {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x};
    const Vec r2 = {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c};
    const double r = length(radius);
    Vec prev = radius;
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 20; ++k) {
        const Vec next = {r0.x * prev.x + r0.y * prev.y + r0.z * prev.z,
                          r1.x * prev.x + r1.y * prev.y + r1.z * prev.z,
                          r2.x * prev.x + r2.y * prev.y + r2.z * prev.z};
        emitNormal((1.0 / r) * prev);
        emitVertex(tip);
        emitVertex(base + prev);
        emitVertex(base + next);
        prev = next;
    }
    glEnd();
}

} // namespace

void Draw3DVect(double* const origin, double* const vector, double size, unsigned mode)
{
    if (mode > 1)
        return;
    const Vec o = load(origin);
    const Vec v = load(vector);
    const double len = length(v);
    // A vector of zero length has no direction to draw.
    if (!(len > 0.0))
        return;
    const Vec ev = (size != 0.0 ? size / len : 1.0) * v;
    const Vec radius = arrowHeadRadius(v);
    const Vec axis = (1.0 / len) * v;

    glBegin(GL_LINES);
    emitVertex(o);
    emitVertex(o + (mode == 0 ? 0.9 : 0.8) * ev);
    glEnd();

    fillBothFaces();
    arrowCone(o + ev, o + 0.8 * ev, radius, axis);
    if (mode == 1)
        arrowCone(o + 0.85 * ev, o + 0.65 * ev, radius, axis);
}

void Draw3DDispSup(double* const point, double* axes, double size, int dir)
{
    if (dir < 1 || dir > 3)
        return;
    const int id = dir - 1;
    const int ib = (id + 2) % 3; // the previous axis in cyclic order
    const int ia = (id + 1) % 3;
    const Vec d = load(axes + 3 * id);
    const Vec a = load(axes + 3 * ia);
    const Vec b = load(axes + 3 * ib);
    const double c = orOne(size);
    const Vec p = load(point);

    // Side faces of the pyramid: apex at the point, base corners at 1.2 down
    // the axis, (+,+), (+,-), (-,-), (-,+) in a and b.
    const double sa[4] = {1, 1, -1, -1};
    const double sb[4] = {1, -1, -1, 1};
    Vec offset[4];
    for (int k = 0; k < 4; ++k)
        offset[k] = c * (0.5 * sa[k] * a + 0.5 * sb[k] * b - 1.2 * d);

    fillBothFaces();
    glBegin(GL_TRIANGLE_FAN);
    emitNormal(-d);
    emitVertex(p);
    // Each corner, the first one again at the end, carries the unit normal of
    // the face it opens, so that the lighting does not depend on the size.
    for (int k = 0; k <= 4; ++k) {
        emitNormal(unit(cross(offset[k % 4], offset[(k + 1) % 4])));
        emitVertex(p + offset[k % 4]);
    }
    glEnd();

    Vec plate[4];
    for (int k = 0; k < 4; ++k)
        plate[k] = p + c * (0.6 * sa[k] * a + 0.6 * sb[k] * b - 1.2 * d);
    glBegin(GL_QUADS);
    emitNormal(-d);
    for (int k = 0; k < 4; ++k)
        emitVertex(plate[k]);
    glEnd();

    // Its outline, from the (-,+) corner.
    glBegin(GL_LINE_LOOP);
    for (int k = 0; k < 4; ++k)
        emitVertex(plate[(k + 3) % 4]);
    glEnd();
}

void Draw2DDispSpring(double* const point, double* along, double* across, double size)
{
    const double s = orOne(size);
    const Vec p = load(point);
    const Vec l = s * load(along);
    const Vec w = s * load(across);
    const double zigzag[7] = {0.2, -0.2, 0.2, -0.2, 0.2, -0.2, 0.0};
    glBegin(GL_LINE_STRIP);
    emitVertex(p);
    emitVertex(p + 0.2 * l);
    for (int k = 0; k < 7; ++k)
        emitVertex(p + (0.3 + 0.1 * k) * l + zigzag[k] * w);
    emitVertex(p + l);
    glEnd();
}

void Draw3DRotSup(double* const centre, double* normal, double* u, double* v, double size)
{
    const double h = orOne(size);
    const Vec c = load(centre);
    const Vec eu = load(u);
    const Vec ev = load(v);
    const Vec n = unit(load(normal));

    fillBothFaces();
    glBegin(GL_TRIANGLE_FAN);
    emitNormal(n);
    emitVertex(c);
    for (int i = 0; i <= 20; ++i) {
        const double t = i * 2.0 * kPi * 0.05;
        emitVertex(c + (h * 0.99) * (std::cos(t) * eu + std::sin(t) * ev));
    }
    glEnd();

    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 20; ++i) {
        const double t = i * 2.0 * kPi * 0.05;
        emitVertex(c + h * (std::cos(t) * eu + std::sin(t) * ev));
    }
    glEnd();
}

void Draw3DSphere(double* const centre, double* p, double* q, double* r, double radius)
{
    const double R = orOne(radius);
    const Vec c = load(centre);
    const Vec ep = load(p);
    const Vec eq = load(q);
    const Vec er = load(r);

    fillBothFaces();
    for (int i = 0; i < 20; ++i) {
        const double polar[2] = {kPi - i * kPi / 20.0, kPi - (i + 1) * kPi / 20.0};
        glBegin(GL_QUAD_STRIP);
        for (int j = 1; j <= 16; ++j) {
            const double azimuth = j * 2.0 * kPi / 15.0;
            const Vec around = std::cos(azimuth) * eq + std::sin(azimuth) * er;
            for (double angle : polar) {
                const Vec dir = std::cos(angle) * ep + std::sin(angle) * around;
                emitNormal(-dir); // to the centre
                emitVertex(c + R * dir);
            }
        }
        glEnd();
    }
}

void Draw2DRotSpring(double* const centre, double* /*axis*/, double* u, double* v, double size)
{
    const double s = orOne(size);
    const Vec c = load(centre);
    const Vec eu = load(u);
    const Vec ev = load(v);
    glBegin(GL_LINE_STRIP);
    for (int k = 0; k <= 40; ++k) {
        const double angle = k * 6.0 * kPi * 0.025;
        const double rad = (40 - k) * 0.025 * s;
        emitVertex(c + rad * (std::cos(angle) * eu + std::sin(angle) * ev));
    }
    glEnd();
}
