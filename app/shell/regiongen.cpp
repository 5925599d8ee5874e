#include "app/shell/regiongen.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "app/analysis/sectplate.h"
#include "femodel/strelna.h"
#include "geometry/bexlar.h"
#include "sections/regions/sectcomp.h"

namespace
{

constexpr double kDegree = 0.017453292519943295;

CVector Point2(const double xy[2])
{
    CVector v(2);
    v.SetValue(0, xy[0]);
    v.SetValue(1, xy[1]);
    return v;
}

CSNode* NodeAt(CObjMat& m, int row, int col)
{
    return static_cast<CSNode*>(m[row][col]);
}

CSectPlate* WithThickness(CSectPlate* region, double thickness)
{
    region->SetThickness(thickness);
    return region;
}

} // namespace

int SegmentsForSectors(int n, int p)
{
    if (p < 1)
        return n;
    if (n % p != 0) {
        n -= n % p;
        if (n <= p)
            n = p;
    }
    return n;
}

const char* RingSegmentRefusal(const RingSegmentValues& values, const double centre[2], const double start[2])
{
    const double distance = std::hypot(start[0] - centre[0], start[1] - centre[1]);
    const double height = std::fabs(values.height);
    if (!(height > 0.0) || !std::isfinite(height))
        return "The ring segment cannot be built: its height H is 0\r\n";
    if (values.type == 2) {
        // About the centre, at the start point's radius.
        if (height >= 2.0 * distance)
            return "The ring segment cannot be built: its height H is not less than twice its radius "
                   "(the distance between the two points)\r\n";
        return nullptr;
    }
    if (values.radius == 0.0)
        return nullptr; // the straight strip
    const double radius = std::fabs(values.radius);
    if (radius < 0.5 * distance)
        return "The ring segment cannot be built: its radius R is less than half the distance between "
               "the two points\r\n";
    if (height >= 2.0 * radius)
        return "The ring segment cannot be built: its height H is not less than twice its radius R\r\n";
    return nullptr;
}

const char* NoAreaRefusal(const char* shape, const std::vector<std::array<double, 2>>& points)
{
    double scale = 0.0, minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (const auto& p : points) {
        scale = std::max({scale, std::fabs(p[0]), std::fabs(p[1])});
        minX = std::min(minX, p[0]);
        maxX = std::max(maxX, p[0]);
        minY = std::min(minY, p[1]);
        maxY = std::max(maxY, p[1]);
    }
    const std::string name = shape;
    if (name == "circle") {
        const bool none = points.size() < 2 ||
                          !(std::hypot(points[1][0] - points[0][0], points[1][1] - points[0][1]) > 1e-12 * scale);
        return none ? "The circle cannot be built: its radius is 0\r\n" : nullptr;
    }
    double twice = 0.0; // the shoelace sum: twice the signed area
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& a = points[i];
        const auto& b = points[(i + 1) % points.size()];
        twice += a[0] * b[1] - b[0] * a[1];
    }
    scale = std::max({scale, maxX - minX, maxY - minY});
    if (points.size() >= 3 && std::fabs(twice) > 2e-12 * scale * scale)
        return nullptr;
    if (name == "rectangle")
        return "The rectangle cannot be built: its corners lie on one line\r\n";
    if (name == "triangle")
        return "The triangle cannot be built: its corners lie on one line\r\n";
    if (name == "quadrilateral")
        return "The quadrilateral cannot be built: it has no area\r\n";
    return "The polygon cannot be built: it has no area\r\n";
}

std::vector<CSectPlate*> BuildRingSegment(const RingSegmentValues& values, const double centre[2],
                                          const double start[2], CMaterial* material,
                                          double thickness)
{
    std::vector<CSectPlate*> regions;
    const int p = values.tangential, q = values.radial;
    if (p < 1 || q < 1 || values.segments < 1)
        return regions;
    const int n = SegmentsForSectors(values.segments, p);
    CVector c = Point2(centre), s = Point2(start);
    CObjMat* nodes = nullptr;
    if (values.type == 2)
        RingSeg(nodes, c, s, values.angle * kDegree, n + 1, q + 1, values.height,
                RUNTIME_CLASS(CBoundNode));
    else
        RingSeg(nodes, c, s, nullptr, values.type, values.radius, n + 1, q + 1, values.height,
                RUNTIME_CLASS(CBoundNode));
    if (!nodes)
        return regions;
    const int step = n / p;
    for (int j = 0; j < q; ++j)
        for (int k = 0; k < p; ++k) {
            CObList outline(10);
            for (int col = k * step; col <= (k + 1) * step; ++col)
                outline.AddTail(NodeAt(*nodes, j, col));
            for (int col = (k + 1) * step; col >= k * step; --col)
                outline.AddTail(NodeAt(*nodes, j + 1, col));
            regions.push_back(WithThickness(new CSectPlate(&outline, material), thickness));
        }
    ReleaseUnusedNodes(*nodes);
    delete nodes;
    return regions;
}

std::vector<CSectPlate*> BuildGridQuads(CObjMat& grid, CMaterial* material, double thickness)
{
    std::vector<CSectPlate*> regions;
    for (int i = 0; i + 1 < grid.GetRows(); ++i)
        for (int j = 0; j + 1 < grid.GetColumns(); ++j)
            regions.push_back(WithThickness(
                new CSectPlate(NodeAt(grid, i, j), NodeAt(grid, i, j + 1),
                               NodeAt(grid, i + 1, j + 1), NodeAt(grid, i + 1, j), material),
                thickness));
    return regions;
}

std::vector<CSectPlate*> BuildSplitCircle(CSNode* centre, double radius, int segments,
                                          CMaterial* material, double thickness)
{
    std::vector<CSectPlate*> halves;
    if (!centre || !(radius > 0.0))
        return halves;
    if (segments <= 4)
        segments = 4;
    // The radius point: a copy of the centre without its load.
    CSNode* onCircle = centre->Copy(false);
    if (auto* bound = dynamic_cast<CBoundNode*>(onCircle))
        bound->SetNodeLoad(nullptr);
    onCircle->x += radius;
    auto* circle = new CSectPlate(centre, onCircle, material, segments, 0);
    if (circle->GetCount() < 4) {
        delete circle;
        return halves;
    }
    CSNode* from = circle->GetHeadNode();
    auto* opposite = static_cast<CSNode*>(circle->GetAt(circle->FindIndex(segments / 2)));
    CObList chain(10);
    chain.AddTail(centre);
    CSection* other = circle->Divide(from, &chain, opposite);
    halves.push_back(WithThickness(circle, thickness));
    if (auto* half = dynamic_cast<CSectPlate*>(other))
        halves.push_back(WithThickness(half, thickness));
    return halves;
}

bool RegionCrossesModel(CSectComp& model, CSectArea& region, CObList& overlaps)
{
    if (region.IsEmpty())
        return false;
    CSNode* first = region.GetHeadNode();
    for (POSITION pos = region.GetHeadPosition(); pos;) {
        CSNode* a = region.GetNextNode(pos);
        CSNode* b = pos ? region.GetNodeAt(pos) : first;
        CEdge* edge = CGraph::GetComEdge(a, b);
        if (!edge || a == b)
            continue;
        const short met = model.Intersection(edge, true, nullptr);
        if (met == 1)
            return true;
        if (met == 2 && !overlaps.Find(edge))
            overlaps.AddTail(edge);
    }
    return false;
}

void ReleaseUnusedNodes(CObjMat& nodes)
{
    for (int i = 0; i < nodes.GetRows(); ++i)
        for (int j = 0; j < nodes.GetColumns(); ++j) {
            auto* node = static_cast<CSNode*>(nodes[i][j]);
            if (node && node->GetGraphCount() == 0)
                delete node;
            nodes[i][j] = nullptr;
        }
}
