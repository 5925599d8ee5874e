#include "femodel/pickcull.h"

#include <GL/gl.h>

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

void CPickWindowCull::SetEnabled(bool enabled)
{
    g_enabled = enabled;
}

bool CPickWindowCull::IsEnabled()
{
    return g_enabled;
}
