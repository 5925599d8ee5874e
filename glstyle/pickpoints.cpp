#include "glstyle/pickpoints.h"

#include "glstyle/pickcull.h"
#include "glstyle/pickindex.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

CPickPointIndex* g_pointRecorder = nullptr;

// Points per leaf box and boxes per box of the next level.
constexpr std::size_t kLeaf = 16;
constexpr std::size_t kFan = 8;

bool Finite(float v)
{
    return std::isfinite(v);
}

} // namespace

CPickPointIndex::Recording::Recording(CPickPointIndex& index)
    : m_Index(index), m_pPrevious(g_pointRecorder), m_bCull(CPickWindowCull::IsEnabled())
{
    m_Index.Clear();
    CPickWindowCull::SetEnabled(false);
    g_pointRecorder = &m_Index;
}

CPickPointIndex::Recording::~Recording()
{
    g_pointRecorder = m_pPrevious;
    CPickWindowCull::SetEnabled(m_bCull);
    m_Index.Build();
}

CPickPointIndex* CPickPointIndex::Recorder()
{
    return g_pointRecorder;
}

void CPickPointIndex::Add(std::uint32_t name, double x, double y, double z)
{
    // GL keeps vertices in single precision: the float is what it draws.
    m_Points.push_back({static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), name,
                        static_cast<std::uint32_t>(m_Points.size())});
}

void CPickPointIndex::Clear()
{
    // The capacity stays for the next recording, which mostly holds as
    // many points.
    m_Points.clear();
    m_Levels.clear();
    m_bBuilt = false;
    m_nLastDrawn = 0;
}

void CPickPointIndex::Build()
{
    m_Levels.clear();
    m_bBuilt = true;
    const std::size_t n = m_Points.size();
    if (n == 0)
        return;
    // Points along a curve through the plane (keys of interleaved x and y
    // bits), so that each run of kLeaf points covers a small patch.
    float lo[2] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
    float hi[2] = {-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()};
    for (const Point& p : m_Points) {
        const float c[2] = {p.x, p.y};
        for (int k = 0; k < 2; ++k)
            if (Finite(c[k])) {
                lo[k] = std::min(lo[k], c[k]);
                hi[k] = std::max(hi[k], c[k]);
            }
    }
    const auto quantise = [&](float v, int k) -> std::uint32_t {
        if (!Finite(v) || !(hi[k] > lo[k]))
            return 0;
        const double t = (static_cast<double>(v) - lo[k]) / (static_cast<double>(hi[k]) - lo[k]);
        return static_cast<std::uint32_t>(std::clamp(t, 0.0, 1.0) * 65535.0);
    };
    // Key and recorded index in one word, sorted by two stable counting
    // passes of 16 key bits each.
    std::vector<std::uint64_t> items(n), next(n);
    for (std::size_t i = 0; i < n; ++i)
        items[i] = (static_cast<std::uint64_t>(PickZOrderKey(quantise(m_Points[i].x, 0), quantise(m_Points[i].y, 1)))
                    << 32) |
                   i;
    std::vector<std::size_t> count(65537);
    for (int shift : {32, 48}) {
        std::fill(count.begin(), count.end(), 0);
        for (std::uint64_t item : items)
            ++count[((item >> shift) & 0xFFFFu) + 1];
        for (std::size_t b = 1; b < count.size(); ++b)
            count[b] += count[b - 1];
        for (std::uint64_t item : items)
            next[count[(item >> shift) & 0xFFFFu]++] = item;
        items.swap(next);
    }
    std::vector<Point> sorted(n);
    for (std::size_t i = 0; i < n; ++i)
        sorted[i] = m_Points[items[i] & 0xFFFFFFFFu];
    m_Points.swap(sorted);

    // A box that holds a point with a coordinate that is not finite is
    // never skipped (its bounds mean nothing).
    const auto open = [](Box& b) {
        for (int k = 0; k < 3; ++k) {
            b.lo[k] = -std::numeric_limits<float>::infinity();
            b.hi[k] = std::numeric_limits<float>::infinity();
        }
    };
    const auto isOpen = [](const Box& b) { return std::isinf(b.lo[0]) && b.lo[0] < 0.0f; };
    std::vector<Box> leaves((n + kLeaf - 1) / kLeaf);
    for (std::size_t b = 0; b < leaves.size(); ++b) {
        Box& box = leaves[b];
        for (int k = 0; k < 3; ++k) {
            box.lo[k] = std::numeric_limits<float>::max();
            box.hi[k] = -std::numeric_limits<float>::max();
        }
        bool finite = true;
        for (std::size_t i = b * kLeaf; i < std::min(n, (b + 1) * kLeaf); ++i) {
            const float c[3] = {m_Points[i].x, m_Points[i].y, m_Points[i].z};
            for (int k = 0; k < 3; ++k) {
                finite = finite && Finite(c[k]);
                box.lo[k] = std::min(box.lo[k], c[k]);
                box.hi[k] = std::max(box.hi[k], c[k]);
            }
        }
        if (!finite)
            open(box);
    }
    m_Levels.push_back(std::move(leaves));
    while (m_Levels.back().size() > 1) {
        const std::vector<Box>& below = m_Levels.back();
        std::vector<Box> level((below.size() + kFan - 1) / kFan);
        for (std::size_t b = 0; b < level.size(); ++b) {
            Box& box = level[b];
            box = below[b * kFan];
            for (std::size_t i = b * kFan + 1; i < std::min(below.size(), (b + 1) * kFan); ++i) {
                if (isOpen(below[i]) || isOpen(box)) {
                    open(box);
                    continue;
                }
                for (int k = 0; k < 3; ++k) {
                    box.lo[k] = std::min(box.lo[k], below[i].lo[k]);
                    box.hi[k] = std::max(box.hi[k], below[i].hi[k]);
                }
            }
        }
        m_Levels.push_back(std::move(level));
    }
}

void CPickPointIndex::PickDraw() const
{
    m_nLastDrawn = 0;
    if (m_Levels.empty())
        return;
    // The leaves the window does not clip, top level down.
    std::vector<std::size_t> boxes{0}, inner;
    for (std::size_t level = m_Levels.size(); level-- > 0;) {
        const std::vector<Box>& at = m_Levels[level];
        inner.clear();
        for (std::size_t b : boxes) {
            const Box& box = at[b];
            const double lo[3] = {box.lo[0], box.lo[1], box.lo[2]};
            const double hi[3] = {box.hi[0], box.hi[1], box.hi[2]};
            if (std::isinf(lo[0]) || !CPickWindowCull::SkipsBox(lo, hi)) {
                if (level == 0) {
                    inner.push_back(b);
                } else {
                    const std::size_t last = std::min(m_Levels[level - 1].size(), (b + 1) * kFan);
                    for (std::size_t c = b * kFan; c < last; ++c)
                        inner.push_back(c);
                }
            }
        }
        boxes.swap(inner);
    }
    std::vector<const Point*> points;
    for (std::size_t b : boxes)
        for (std::size_t i = b * kLeaf; i < std::min(m_Points.size(), (b + 1) * kLeaf); ++i)
            if (!CPickWindowCull::Skips(m_Points[i].x, m_Points[i].y, m_Points[i].z))
                points.push_back(&m_Points[i]);
    std::sort(points.begin(), points.end(), [](const Point* a, const Point* b) { return a->order < b->order; });
    for (const Point* p : points) {
        glLoadName(static_cast<GLuint>(p->name));
        glBegin(GL_POINTS);
        glVertex3f(p->x, p->y, p->z);
        glEnd();
    }
    m_nLastDrawn = points.size();
}
