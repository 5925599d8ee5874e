#include "glstyle/pickcull.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {
CPickWindowCull* g_active = nullptr;
bool g_enabled = true;

// Relative slack on the clip test: GL works in single precision, so a point
// is skipped only when it is clearly beyond the window's edge.
constexpr double kSlack = 1e-4;
}  // namespace

CPickWindowCull::CPickWindowCull() : m_pPrevious(g_active)
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (!g_enabled || mode != GL_SELECT)
        return;
    double proj[16], model[16];
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double s = 0.0;
            for (int k = 0; k < 4; ++k)
                s += proj[k * 4 + r] * model[c * 4 + k];
            m_Matrix[c * 4 + r] = s;
        }
    g_active = this;
}

CPickWindowCull::~CPickWindowCull()
{
    g_active = m_pPrevious;
}

bool CPickWindowCull::Skips(double x, double y, double z)
{
    if (!g_active)
        return false;
    const double* m = g_active->m_Matrix;
    const double w = m[3] * x + m[7] * y + m[11] * z + m[15];
    if (!(w > 0.0))  // behind the eye or degenerate: leave it to GL
        return false;
    const double cx = m[0] * x + m[4] * y + m[8] * z + m[12];
    const double cy = m[1] * x + m[5] * y + m[9] * z + m[13];
    const auto beyond = [w](double c) { return std::abs(c) * (1.0 - kSlack) > w * (1.0 + kSlack); };
    return beyond(cx) || beyond(cy);
}

bool CPickWindowCull::SkipsBox(const double* lo, const double* hi)
{
    if (!g_active)
        return false;
    const double* m = g_active->m_Matrix;
    // Over the box, the least value of the linear function a.p + b and the
    // most its absolute value can reach.
    const auto least = [lo, hi](double a0, double a1, double a2, double b) {
        const double a[3] = {a0, a1, a2};
        double v = b;
        for (int k = 0; k < 3; ++k)
            v += std::min(a[k] * lo[k], a[k] * hi[k]);
        return v;
    };
    const auto most = [lo, hi](double a0, double a1, double a2, double b) {
        const double a[3] = {a0, a1, a2};
        double v = std::abs(b);
        for (int k = 0; k < 3; ++k)
            v += std::max(std::abs(a[k] * lo[k]), std::abs(a[k] * hi[k]));
        return v;
    };
    const double absW = most(m[3], m[7], m[11], m[15]);
    // Row r of the clip coordinates against w: the box is beyond the side
    // c_r = w when c_r - w stays clearly positive over it, beyond c_r = -w
    // when -(c_r + w) does. GL clips every primitive whose vertices all lie
    // beyond one side.
    for (int r = 0; r < 3; ++r) {
        const double absC = most(m[r], m[4 + r], m[8 + r], m[12 + r]);
        const double margin = kSlack * (absC + absW);
        if (least(m[r] - m[3], m[4 + r] - m[7], m[8 + r] - m[11], m[12 + r] - m[15]) > margin)
            return true;
        if (least(-m[r] - m[3], -m[4 + r] - m[7], -m[8 + r] - m[11], -m[12 + r] - m[15]) > margin)
            return true;
    }
    return false;
}

bool CPickWindowCull::IsActive()
{
    return g_active != nullptr;
}

void CPickWindowCull::SetEnabled(bool enabled)
{
    g_enabled = enabled;
}

bool CPickWindowCull::IsEnabled()
{
    return g_enabled;
}
