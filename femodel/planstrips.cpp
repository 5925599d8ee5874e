// The plan plot's flat triangles joined into triangle strips, chunk by
// chunk: the faces' corners become vertex ids (same position bits and
// colour, same id), each face edge is linked to the face that runs it the
// other way, and strips are walked greedily along the links.
#include "femodel/planstrips.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "glstyle/drawing_settings.h"

namespace
{

std::uint64_t Bits(double d)
{
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

// Room for every corner of a chunk at half load.
constexpr std::size_t kTableSize = [] {
    std::size_t size = 1;
    while (size < 6u * CPlanStrips::kChunk)
        size *= 2;
    return size;
}();

// A strip pays for itself from three triangles: Mesa joins the strips of a
// list with a degenerate triangle, one or two vertices more each.
constexpr int kShortestStrip = 3;

} // namespace

CPlanStrips::CPlanStrips() : m_table(kTableSize, -1), m_mask(kTableSize - 1)
{
    m_x.reserve(3 * kChunk);
    m_y.reserve(3 * kChunk);
    m_colour.reserve(3 * kChunk);
    m_faces.reserve(3 * kChunk);
}

int CPlanStrips::VertexId(double x, double y, int colour)
{
    const std::uint64_t bx = Bits(x), by = Bits(y);
    // Whole numbers leave a double's low bits empty: every bit is mixed
    // into the slot (the finaliser of MurmurHash3).
    std::uint64_t h = bx ^ (by << 31 | by >> 33) ^ static_cast<std::uint64_t>(static_cast<std::uint32_t>(colour)) << 7;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    for (std::uint64_t i = h & m_mask;; i = (i + 1) & m_mask) {
        const int id = m_table[i];
        if (id < 0) {
            m_table[i] = static_cast<int>(m_x.size());
            m_x.push_back(x);
            m_y.push_back(y);
            m_colour.push_back(colour);
            return m_table[i];
        }
        if (Bits(m_x[id]) == bx && Bits(m_y[id]) == by && m_colour[id] == colour)
            return id;
    }
}

bool CPlanStrips::Add(const CElement::CPlotFace& face, std::vector<Op>& out)
{
    if (!face.flat) {
        Flush(out);
        out.push_back({0.0, 0.0, 0.0, -1, Op::kBeginTriangles});
        out.push_back({face.normal[0], face.normal[1], face.normal[2], -1, Op::kNormal});
        for (int i = 0; i < 3; ++i)
            out.push_back({face.vertex[i][0], face.vertex[i][1], face.vertex[i][2], face.colour[i], Op::kVertex});
        out.push_back({0.0, 0.0, 0.0, -1, Op::kEnd});
        // The faces after it are flat again: their plan normal.
        out.push_back({0.0, 0.0, 1.0, -1, Op::kNormal});
        return false;
    }
    for (int i = 0; i < 3; ++i)
        m_faces.push_back(VertexId(face.vertex[i][0], face.vertex[i][1], face.colour[i]));
    return m_faces.size() >= 3u * kChunk;
}

void CPlanStrips::Link()
{
    const int vertices = static_cast<int>(m_x.size());
    const int corners = static_cast<int>(m_faces.size());
    m_first.assign(static_cast<std::size_t>(vertices) + 1, 0);
    for (int k = 0; k < corners; ++k)
        ++m_first[static_cast<std::size_t>(m_faces[k]) + 1];
    for (int v = 0; v < vertices; ++v)
        m_first[v + 1] += m_first[v];
    m_leaving.resize(static_cast<std::size_t>(corners));
    m_place.assign(m_first.begin(), m_first.end() - 1);
    for (int k = 0; k < corners; ++k)
        m_leaving[m_place[m_faces[k]]++] = k;
    m_across.assign(static_cast<std::size_t>(corners), -1);
    const auto degenerate = [&](int f) {
        const int* v = &m_faces[3 * f];
        return v[0] == v[1] || v[1] == v[2] || v[2] == v[0];
    };
    for (int k = 0; k < corners; ++k) {
        const int f = k / 3;
        if (m_across[k] >= 0 || degenerate(f))
            continue;
        const int a = m_faces[k], b = m_faces[3 * f + (k % 3 + 1) % 3];
        // A face across a-b runs the edge from b to a.
        for (int i = m_first[b]; i < m_first[b + 1]; ++i) {
            const int e = m_leaving[i], g = e / 3;
            if (g == f || m_across[e] >= 0 || m_faces[3 * g + (e % 3 + 1) % 3] != a || degenerate(g))
                continue;
            m_across[k] = g;
            m_across[e] = f;
            break;
        }
    }
}

int CPlanStrips::Across(int f, int a, int b) const
{
    const int* v = &m_faces[3 * f];
    for (int c = 0; c < 3; ++c) {
        const int p = v[c], q = v[(c + 1) % 3];
        if ((p == a && q == b) || (p == b && q == a))
            return m_across[3 * f + c];
    }
    return -1;
}

int CPlanStrips::Third(int f, int a, int b) const
{
    const int* v = &m_faces[3 * f];
    for (int c = 0; c < 3; ++c)
        if (v[c] != a && v[c] != b)
            return v[c];
    return v[0];
}

void CPlanStrips::Emit(const std::vector<int>& strip, std::vector<Op>& out) const
{
    out.push_back({0.0, 0.0, 0.0, -1, Op::kBeginStrip});
    for (const int v : strip)
        out.push_back({m_x[v], m_y[v], 0.0, m_colour[v], Op::kVertex});
    out.push_back({0.0, 0.0, 0.0, -1, Op::kEnd});
}

void CPlanStrips::Flush(std::vector<Op>& out)
{
    const int faces = static_cast<int>(m_faces.size() / 3);
    if (faces > 0) {
        Link();
        m_taken.assign(static_cast<std::size_t>(faces), 0);
        m_left.clear();
        const auto free = [&](int g) { return g >= 0 && !m_taken[g]; };
        for (int f = 0; f < faces; ++f) {
            if (m_taken[f])
                continue;
            m_taken[f] = 1;
            // The strip leaves the face over corner t's edge and, walked
            // back, over the edge before it: best both lead on.
            int t = -1;
            for (int c = 0; c < 3; ++c) {
                if (!free(m_across[3 * f + c]))
                    continue;
                if (t < 0)
                    t = c;
                if (free(m_across[3 * f + (c + 2) % 3])) {
                    t = c;
                    break;
                }
            }
            if (t < 0) {
                m_left.push_back(f);
                continue;
            }
            const int* v = &m_faces[3 * f];
            m_strip.assign({v[(t + 2) % 3], v[t], v[(t + 1) % 3]});
            m_members.assign(1, f);
            // Forward over the last two vertices.
            for (int g = f;;) {
                const int p = m_strip[m_strip.size() - 2], q = m_strip.back();
                const int h = Across(g, p, q);
                if (!free(h))
                    break;
                m_taken[h] = 1;
                m_members.push_back(h);
                m_strip.push_back(Third(h, p, q));
                g = h;
            }
            // Back over the first two.
            m_back.clear();
            int first = f;
            for (int p = m_strip[0], q = m_strip[1];;) {
                const int h = Across(first, p, q);
                if (!free(h))
                    break;
                m_taken[h] = 1;
                m_members.push_back(h);
                const int u = Third(h, p, q);
                m_back.push_back(u);
                q = p;
                p = u;
                first = h;
            }
            if (static_cast<int>(m_members.size()) < kShortestStrip) {
                m_left.insert(m_left.end(), m_members.begin(), m_members.end());
                continue;
            }
            m_strip.insert(m_strip.begin(), m_back.rbegin(), m_back.rend());
            // The strip turns its triangles as its first one: when that
            // one is turned against its face, a repeated first vertex (an
            // empty triangle) turns them all back.
            const int* w = &m_faces[3 * first];
            const int s0 = m_strip[0], s1 = m_strip[1];
            if (!((s0 == w[0] && s1 == w[1]) || (s0 == w[1] && s1 == w[2]) || (s0 == w[2] && s1 == w[0])))
                m_strip.insert(m_strip.begin(), s0);
            Emit(m_strip, out);
        }
        if (!m_left.empty()) {
            out.push_back({0.0, 0.0, 0.0, -1, Op::kBeginTriangles});
            for (const int f : m_left)
                for (int c = 0; c < 3; ++c) {
                    const int id = m_faces[3 * f + c];
                    out.push_back({m_x[id], m_y[id], 0.0, m_colour[id], Op::kVertex});
                }
            out.push_back({0.0, 0.0, 0.0, -1, Op::kEnd});
        }
    }
    m_x.clear();
    m_y.clear();
    m_colour.clear();
    m_faces.clear();
    std::fill(m_table.begin(), m_table.end(), -1);
}

void CPlanStrips::Send(const Op* ops, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const Op& op = ops[i];
        switch (op.code) {
        case Op::kVertex:
            if (op.colour >= 0)
                glColor4dv(dColorIndex[op.colour]);
            glVertex3d(op.x, op.y, op.z);
            break;
        case Op::kNormal:
            glNormal3d(op.x, op.y, op.z);
            break;
        case Op::kBeginStrip:
            glBegin(GL_TRIANGLE_STRIP);
            break;
        case Op::kBeginTriangles:
            glBegin(GL_TRIANGLES);
            break;
        case Op::kEnd:
            glEnd();
            break;
        }
    }
}
