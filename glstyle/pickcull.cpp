#include "glstyle/pickcull.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {
CPickWindowCull* g_active = nullptr;
CPickRecorder* g_recorder = nullptr;
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
    GLint planes = 0;
    glGetIntegerv(GL_MAX_CLIP_PLANES, &planes);
    for (GLint i = 0; i < planes && !m_bClipPlanes; ++i)
        m_bClipPlanes = glIsEnabled(static_cast<GLenum>(GL_CLIP_PLANE0 + i)) == GL_TRUE;
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

namespace {

// The most the linear function a.p + b reaches over the box lo..hi, and the
// most its absolute value can reach.
double MostOver(const double* lo, const double* hi, const double (&a)[3], double b)
{
    double v = b;
    for (int k = 0; k < 3; ++k)
        v += std::max(a[k] * lo[k], a[k] * hi[k]);
    return v;
}

double MostAbsOver(const double* lo, const double* hi, const double (&a)[3], double b)
{
    double v = std::abs(b);
    for (int k = 0; k < 3; ++k)
        v += std::max(std::abs(a[k] * lo[k]), std::abs(a[k] * hi[k]));
    return v;
}

// The least a.p + b reaches over the box: minus the most of its negation.
double LeastOver(const double* lo, const double* hi, const double (&a)[3], double b)
{
    const double n[3] = {-a[0], -a[1], -a[2]};
    return -MostOver(lo, hi, n, -b);
}

// For row r (x, y, z) of the clip coordinates c of the combined matrix m:
// the least (or the most) that c_r - w and -(c_r + w) reach over the box,
// and the margin (relative slack) a test against them needs.
struct SideReach {
    double toPlus, toMinus, margin;
};

SideReach Reach(const double* m, int r, const double* lo, const double* hi, bool least)
{
    const double w[3] = {m[3], m[7], m[11]};
    const double c[3] = {m[r], m[4 + r], m[8 + r]};
    const double plus[3] = {c[0] - w[0], c[1] - w[1], c[2] - w[2]};
    const double minus[3] = {-c[0] - w[0], -c[1] - w[1], -c[2] - w[2]};
    const auto reach = least ? LeastOver : MostOver;
    const double margin = kSlack * (MostAbsOver(lo, hi, c, m[12 + r]) + MostAbsOver(lo, hi, w, m[15]));
    return {reach(lo, hi, plus, m[12 + r] - m[15]), reach(lo, hi, minus, -m[12 + r] - m[15]), margin};
}

} // namespace

bool CPickWindowCull::SkipsBox(const double* lo, const double* hi)
{
    if (!g_active)
        return false;
    // The box is beyond the side c_r = w when c_r - w stays clearly positive
    // over it, beyond c_r = -w when -(c_r + w) does. GL clips every
    // primitive whose vertices all lie beyond one side.
    for (int r = 0; r < 3; ++r) {
        const SideReach reach = Reach(g_active->m_Matrix, r, lo, hi, true);
        if (reach.toPlus > reach.margin || reach.toMinus > reach.margin)
            return true;
    }
    return false;
}

bool CPickWindowCull::HoldsBox(const double* lo, const double* hi)
{
    // A user clip plane may clip what the window holds.
    if (!g_active || g_active->m_bClipPlanes)
        return false;
    // Inside every side: c_r - w and -(c_r + w) clearly negative over the
    // whole box, for x, y and z (so w > 0 there too).
    for (int r = 0; r < 3; ++r) {
        const SideReach reach = Reach(g_active->m_Matrix, r, lo, hi, false);
        if (!(reach.toPlus < -reach.margin) || !(reach.toMinus < -reach.margin))
            return false;
    }
    return true;
}

bool CPickWindowCull::FilledFacesHit()
{
    if (glIsEnabled(GL_CULL_FACE))
        return false;
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    return modes[0] == GL_FILL && modes[1] == GL_FILL;
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

// ------------------------------------------------------------ recorder

CPickRecorder::CPickRecorder(unsigned* buffer, std::size_t words)
    : m_pBuffer(buffer), m_nWords(words), m_pPrevious(g_recorder)
{
    g_recorder = this;
}

CPickRecorder::~CPickRecorder()
{
    g_recorder = m_pPrevious;
}

CPickRecorder* CPickRecorder::Active()
{
    return g_recorder;
}

void CPickRecorder::TakeRecords(int hits)
{
    // As the selection buffer is read after a pick: complete records only,
    // all of them after an overflow (negative hits).
    std::size_t at = 0;
    std::size_t left = hits < 0 ? m_nWords : static_cast<std::size_t>(hits);
    while (left > 0 && m_pBuffer && m_nWords - at >= 3) {
        const std::size_t names = m_pBuffer[at];
        if (names > m_nWords - at - 3)
            break;
        m_records.push_back(Record{static_cast<unsigned>(names), names ? m_pBuffer[at + 2 + names] : 0u});
        at += 3 + names;
        --left;
    }
}

void CPickRecorder::BeginKnown()
{
    if (m_bKnown)
        return;
    TakeRecords(glRenderMode(GL_RENDER));
    m_bKnown = true;
}

void CPickRecorder::EndKnown(unsigned lastName)
{
    if (!m_bKnown)
        return;
    m_bKnown = false;
    glSelectBuffer(static_cast<GLsizei>(m_nWords), m_pBuffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(lastName);
}

std::vector<unsigned> CPickRecorder::Finish(int hits)
{
    if (!m_bKnown)
        TakeRecords(hits);
    m_bKnown = false;
    // The records as they would have filled one selection buffer.
    std::vector<unsigned> names;
    std::vector<bool> seen;             // the small names
    std::unordered_set<unsigned> large; // names too large for a flag table
    std::size_t used = 0;
    for (const Record& r : m_records) {
        if (names.size() >= m_nWords / 4)
            break;
        used += 3 + r.names;
        if (used > m_nWords)
            break;
        if (r.names == 0 || r.name == 0)
            continue;
        if (r.name >= seen.size()) {
            if (r.name >= (1u << 26)) {
                if (large.insert(r.name).second)
                    names.push_back(r.name);
                continue;
            }
            seen.resize(std::max<std::size_t>(r.name + 1, 2 * seen.size()), false);
        }
        if (!seen[r.name]) {
            seen[r.name] = true;
            names.push_back(r.name);
        }
    }
    return names;
}
