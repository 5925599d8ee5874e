// A mesher subclass in the role of the region adapter: it loads an outer
// polygon, hole loops and refine points and polylines through the loading
// interface and keeps a copy of the output. Shared by the tests and the
// benchmark.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/weblar/weblar.h"

namespace brantel::test
{

struct XY {
    double x;
    double y;
};

struct MeshInput {
    std::vector<XY> outer;                   // closed by the mesher
    std::vector<std::vector<XY>> holes;      // one loop each
    std::vector<XY> refinePoints;            // with the spacing below
    std::vector<double> refineSpacing;
    std::vector<std::vector<XY>> refineLines;  // open polylines
};

class HarnessMesher : public CEasyMesh
{
public:
    explicit HarnessMesher(MeshInput input) : m_in(std::move(input)) {}

    std::vector<node> nodes;
    std::vector<elem> elems;
    std::vector<std::string> calls;          // callback order
    std::function<void(const char*)> hook;   // runs at every callback
    int outerCount = 0;
    // Index of every refine point and of every refine polyline's points.
    std::vector<int> refineIndex;
    std::vector<std::vector<int>> lineIndex;
    std::vector<std::vector<int>> holeIndex;

protected:
    void Note(const char* what)
    {
        calls.emplace_back(what);
        if (hook)
            hook(what);
    }
    int LoadOuterBoundary() override
    {
        Note("outer");
        int i = 0;
        for (const XY& p : m_in.outer) {
            LoadPoint(i++, p.x, p.y, 1.0, 1);
            m_dMaxX = std::max(m_dMaxX, p.x);
            m_dMinX = std::min(m_dMinX, p.x);
            m_dMaxY = std::max(m_dMaxY, p.y);
            m_dMinY = std::min(m_dMinY, p.y);
        }
        outerCount = i;
        return i;
    }
    void LoadInnerBoundaries(int& index) override
    {
        Note("inner");
        int marker = 3;
        for (const auto& loop : m_in.holes) {
            const int s = index;
            holeIndex.emplace_back();
            for (const XY& p : loop) {
                holeIndex.back().push_back(index);
                LoadPoint(index++, p.x, p.y, 3.0, marker);
            }
            for (int i = s; i <= index - 2; ++i)
                LoadSegment(i, i, i + 1, marker, 1);
            LoadSegment(index - 1, index - 1, s, marker, 1);
            SegmentRecord(index).from = -1;
            SegmentRecord(index).to = -1;
            ++marker;
        }
    }
    void LoadRefinePoints(int& index) override
    {
        Note("refine");
        for (std::size_t k = 0; k < m_in.refinePoints.size(); ++k) {
            const XY& p = m_in.refinePoints[k];
            refineIndex.push_back(index);
            LoadPoint(index, p.x, p.y, m_in.refineSpacing[k], 2);
            LoadSegment(index, index, index, 2, 1);
            ++index;
        }
        int seg = index;
        for (const auto& line : m_in.refineLines) {
            lineIndex.emplace_back();
            for (const XY& p : line) {
                lineIndex.back().push_back(index);
                LoadPoint(index++, p.x, p.y, 2.0, 2);
            }
            const auto& ids = lineIndex.back();
            for (std::size_t i = 0; i + 1 < ids.size(); ++i)
                LoadSegment(seg++, ids[i], ids[i + 1], 2, 1);
        }
    }
    bool BuildOutput() override
    {
        Note("output");
        nodes.assign(m_pNode, m_pNode + m_nNodes);
        elems.assign(m_pElem, m_pElem + m_nElems);
        return true;
    }
    void ShowProgress(int) override { Note("progress"); }

private:
    MeshInput m_in;
};

// Points on a circle, counter-clockwise, spaced about h apart.
inline std::vector<XY> CirclePoints(double cx, double cy, double r, double h)
{
    const int n = std::max(3, static_cast<int>(std::ceil(2.0 * M_PI * r / h)));
    std::vector<XY> pts;
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        pts.push_back({cx + r * std::cos(t), cy + r * std::sin(t)});
    }
    return pts;
}

// A polygon's edges split into segments of about h (the first point of each
// edge kept).
inline std::vector<XY> SplitPolygon(const std::vector<XY>& corners, double h)
{
    std::vector<XY> pts;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const XY a = corners[i], b = corners[(i + 1) % corners.size()];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const int n = std::max(1, static_cast<int>(std::round(len / h)));
        for (int k = 0; k < n; ++k)
            pts.push_back({a.x + (b.x - a.x) * k / n, a.y + (b.y - a.y) * k / n});
    }
    return pts;
}

// A rectangular plate 4 x 2 with a row of circular holes, boundaries split
// at the spacing h (about 16 / h^2 triangles).
inline MeshInput HolePlate(double h)
{
    MeshInput in;
    in.outer = SplitPolygon({{0.0, 0.0}, {4.0, 0.0}, {4.0, 2.0}, {0.0, 2.0}}, h);
    for (int i = 0; i < 3; ++i)
        in.holes.push_back(CirclePoints(0.8 + 1.2 * i, 1.0, 0.35, h));
    return in;
}

} // namespace brantel::test
