// Free triangle mesher on a constrained Delaunay triangulation.
//
// 1. The loaded points go into a constrained Delaunay triangulation; the
//    outer polygon (closed here), the hole loops and the refine polylines
//    become constraints. Constraints that cross, or a point lying on one,
//    are refused: no intersection point is ever made.
// 2. Faces are marked inside or outside by counting the boundary edges
//    crossed on the way from the infinite face (refine polylines are no
//    boundary).
// 3. Every loaded point gets a wanted node spacing: the mean length of its
//    segments, or a refine point's own value. Interior points are placed by
//    inserting circumcentres of faces that are too large for the spacing
//    (interpolated over the face) or too sharp; a circumcentre that would
//    come close to a segment (inside the segment's diametral circle) or lies
//    beyond one is not used, so points keep clear of segments.
// 4. The interior points are smoothed with the boundary fixed (a move is
//    kept only when it does not worsen the smallest angle around the point)
//    and the triangulation is made Delaunay again.
#include "platform/weblar/easymesh.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <exception>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/spatial_sort.h>

#include "platform/afx/cstring.h"
#include "platform/afx/message.h"
#include "platform/afx/progress.h"

namespace
{

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point = K::Point_2;

struct VInfo {
    int index = -1;   // node record number
    double h = 0.0;   // wanted node spacing
};
struct FInfo {
    int level = -1;   // boundary edges crossed from the infinite face
    bool inside = false;
};

using Vb = CGAL::Triangulation_vertex_base_with_info_2<VInfo, K>;
using Fbi = CGAL::Triangulation_face_base_with_info_2<FInfo, K>;
using Fb = CGAL::Constrained_triangulation_face_base_2<K, Fbi>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, Tds, CGAL::No_constraint_intersection_tag>;
using VH = CDT::Vertex_handle;
using FH = CDT::Face_handle;

// Kinds of constrained edges.
constexpr char kOuter = 1;
constexpr char kRefine = 2;
constexpr char kHole = 3;

// Smallest angle accepted without trying to improve a face (degrees); the
// refinement aims a little above the promised 20 degrees.
constexpr double kMinAngle = 21.0;
// A face is too large when its circumradius exceeds this times the spacing
// (an equilateral face of edge h has the circumradius h / sqrt(3)).
constexpr double kSizeRatio = 0.75;

std::uint64_t PairKey(int a, int b)
{
    if (a > b)
        std::swap(a, b);
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
           static_cast<std::uint32_t>(b);
}

struct InPoint {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;
    int marker = 0;
    bool loaded = false;
};

class Refused : public std::exception
{
public:
    explicit Refused(std::string text) : m_text(std::move(text)) {}
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    std::string m_text;
};

struct Stopped {};

double Dist(const Point& a, const Point& b)
{
    return std::sqrt(CGAL::squared_distance(a, b));
}

// Smallest angle (as its sine, the angle being at most 60 degrees) and
// circumradius of a triangle.
void FaceShape(const Point& a, const Point& b, const Point& c, double& sinMin, double& radius)
{
    const double la = Dist(b, c), lb = Dist(c, a), lc = Dist(a, b);
    const double area2 = std::abs((b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x()));
    const double prod = la * lb * lc;
    if (area2 <= 0.0 || prod <= 0.0) {
        sinMin = 0.0;
        radius = std::numeric_limits<double>::infinity();
        return;
    }
    const double lmin = std::min({la, lb, lc});
    // sin(angle opposite the shortest edge) = area2 * lmin / prod
    sinMin = area2 * lmin / prod;
    radius = prod / (2.0 * area2);
}

} // namespace

namespace weblar_detail
{
struct WorkStorage {
    std::vector<InPoint> points;
    std::vector<CEasyMesh::segment> segments;
    std::vector<CEasyMesh::node> nodes;
    std::vector<CEasyMesh::elem> elems;

    void Reserve(int nodes)
    {
        const std::size_t n = nodes > 0 ? static_cast<std::size_t>(nodes) : 0;
        points.reserve(n);
        segments.reserve(n);
        this->nodes.reserve(n);
        elems.reserve(2 * n);
    }
    void Clear()
    {
        points.clear();
        segments.clear();
        nodes.clear();
        elems.clear();
    }
};
} // namespace weblar_detail

using weblar_detail::WorkStorage;

namespace
{
WorkStorage* g_pWork = nullptr;
int g_nStaticsDepth = 0;

// The triangulation of one run with its inside marks and constraint kinds.
class Triangulator
{
public:
    Triangulator(WorkStorage& work, int outerCount) : m_work(work), m_outer(outerCount) {}

    void Build();
    void Refine();
    void Smooth(int passes);
    void Rebuild();
    void Output();

private:
    // A progress point (the window layer may pump its events there), then
    // the stop request.
    void CheckStop()
    {
        afx::ProgressPoint();
        if (CMGenerator::m_bStop)
            throw Stopped();
    }
    void InsertPoints(const std::vector<std::pair<Point, VInfo>>& pts, const char* duplicateText);
    void InsertConstraints();
    void MarkDomains();
    void AssignSpacing();
    VH TryInsert(FH f);
    static double StarMinSin(VH v, const Point& p);
    bool IsBad(FH f) const;

    WorkStorage& m_work;
    int m_outer;
    CDT m_cdt;
    std::vector<VH> m_handles;   // by node record number
    std::unordered_map<std::uint64_t, char> m_kinds;
    std::vector<std::pair<int, int>> m_constraints;
    int m_nextIndex = 0;
    // Work lists of the refinement (kept to reuse their storage).
    std::vector<FH> m_zone;
    std::vector<CDT::Edge> m_zoneEdges;
};

// The spatial sort's traits on indices into a point vector, comparing as
// CGAL's adapter over the kernel does (so the order is the same), with a
// progress point every 256 comparisons: sorting half a million points
// takes a while.
struct ProgressSortTraits {
    using Point_2 = std::size_t;
    using FT = K::FT;
    const std::vector<Point>* points;

    static void Tick()
    {
        static unsigned s_count = 0;
        if ((++s_count & 255u) == 0)
            afx::ProgressPoint();
    }
    struct Less_x_2 {
        const std::vector<Point>* points;
        bool operator()(std::size_t p, std::size_t q) const
        {
            Tick();
            return K().less_x_2_object()((*points)[p], (*points)[q]);
        }
    };
    struct Less_y_2 {
        const std::vector<Point>* points;
        bool operator()(std::size_t p, std::size_t q) const
        {
            Tick();
            return K().less_y_2_object()((*points)[p], (*points)[q]);
        }
    };
    struct Compute_x_2 {
        const std::vector<Point>* points;
        FT operator()(std::size_t p) const { return (*points)[p].x(); }
    };
    struct Compute_y_2 {
        const std::vector<Point>* points;
        FT operator()(std::size_t p) const { return (*points)[p].y(); }
    };
    Less_x_2 less_x_2_object() const { return {points}; }
    Less_y_2 less_y_2_object() const { return {points}; }
    Compute_x_2 compute_x_2_object() const { return {points}; }
    Compute_y_2 compute_y_2_object() const { return {points}; }
};

// Triangulates the points anew (their info holds the record numbers).
void Triangulator::InsertPoints(const std::vector<std::pair<Point, VInfo>>& pts, const char* duplicateText)
{
    m_cdt.clear();
    afx::ProgressPoint();
    // CGAL's range insertion, step by step so that progress points can run
    // between the points: the same spatial sort and the same hints, so the
    // same triangulation.
    std::vector<std::size_t> order(pts.size());
    std::vector<Point> points(pts.size());
    for (std::size_t i = 0; i < pts.size(); ++i) {
        order[i] = i;
        points[i] = pts[i].first;
    }
    CGAL::spatial_sort(order.begin(), order.end(), ProgressSortTraits{&points});
    afx::ProgressPoint();
    FH hint;
    for (std::size_t i : order) {
        afx::ProgressPoint();
        VH v = m_cdt.insert(points[i], hint);
        if (v != VH()) {
            v->info() = pts[i].second;
            hint = v->face();
        }
    }
    if (m_cdt.number_of_vertices() != pts.size())
        throw Refused(duplicateText);
    if (m_cdt.dimension() < 2)
        throw Refused("The outer boundary encloses no area");
    m_handles.assign(static_cast<std::size_t>(m_nextIndex), VH());
    for (auto v = m_cdt.finite_vertices_begin(); v != m_cdt.finite_vertices_end(); ++v)
        m_handles[static_cast<std::size_t>(v->info().index)] = v;
}

void Triangulator::InsertConstraints()
{
    for (const auto& [a, b] : m_constraints) {
        afx::ProgressPoint();
        const VH va = m_handles[static_cast<std::size_t>(a)];
        const VH vb = m_handles[static_cast<std::size_t>(b)];
        try {
            m_cdt.insert_constraint(va, vb);
        } catch (const CDT::Intersection_of_constraints_exception&) {
            throw Refused("Segments of the mesh boundaries cross each other");
        }
        // A constraint through another point is split there: that point lies
        // on the segment.
        if (!m_cdt.is_edge(va, vb))
            throw Refused("A point of the mesh lies on a boundary or refine segment");
    }
}

void Triangulator::Build()
{
    const auto& pts = m_work.points;
    const int count = static_cast<int>(pts.size());
    if (m_outer < 3 || count < m_outer)
        throw Refused("The outer boundary needs at least 3 points");
    for (int i = 0; i < m_outer; ++i)
        if (!pts[static_cast<std::size_t>(i)].loaded)
            throw Refused("The outer boundary needs at least 3 points");

    std::vector<std::pair<Point, VInfo>> input;
    input.reserve(pts.size());
    for (int i = 0; i < count; ++i) {
        const InPoint& p = pts[static_cast<std::size_t>(i)];
        if (!p.loaded)
            continue;
        if (!std::isfinite(p.x) || !std::isfinite(p.y))
            throw Refused("A point of the mesh has no valid coordinates");
        input.emplace_back(Point(p.x, p.y), VInfo{i, 0.0});
    }
    m_nextIndex = count;

    // Constraints: the closed outer polygon, then the loaded segments.
    m_kinds.clear();
    m_constraints.clear();
    auto add = [&](int a, int b, char kind) {
        auto [it, fresh] = m_kinds.emplace(PairKey(a, b), kind);
        if (fresh)
            m_constraints.emplace_back(a, b);
        else if (kind != kRefine)
            it->second = kind;   // a boundary wins over a refine polyline
    };
    for (int i = 0; i < m_outer; ++i)
        add(i, (i + 1) % m_outer, kOuter);
    for (const CEasyMesh::segment& s : m_work.segments) {
        if (s.from == -1 || s.to == -1)
            continue;
        if (s.from < 0 || s.to < 0 || s.from >= count || s.to >= count ||
            !pts[static_cast<std::size_t>(s.from)].loaded || !pts[static_cast<std::size_t>(s.to)].loaded)
            throw Refused("A segment of the mesh joins points that were not loaded");
        if (s.from == s.to)
            continue;   // marks a single point
        add(s.from, s.to, s.marker >= 3 ? kHole : (s.marker == 1 ? kOuter : kRefine));
    }

    InsertPoints(input, "Two points of the mesh lie at the same place");
    InsertConstraints();
    MarkDomains();

    // Every loaded point must lie in the region bounded by the outer polygon
    // (on a hole loop or inside; a point inside a hole is outside too).
    bool any = false;
    for (auto f = m_cdt.finite_faces_begin(); f != m_cdt.finite_faces_end(); ++f)
        any = any || f->info().inside;
    if (!any)
        throw Refused("The outer boundary encloses no area");
    for (VH v : m_handles) {
        afx::ProgressPoint();
        if (v == VH())
            continue;
        bool touches = false;
        auto fc = m_cdt.incident_faces(v), done = fc;
        do {
            touches = !m_cdt.is_infinite(fc) && fc->info().inside;
        } while (!touches && ++fc != done);
        if (!touches)
            throw Refused("A point of the mesh lies outside the region");
    }
    AssignSpacing();
}

void Triangulator::MarkDomains()
{
    for (auto f = m_cdt.all_faces_begin(); f != m_cdt.all_faces_end(); ++f)
        f->info() = FInfo{};
    // Flood fill level by level: a face's level is the number of boundary
    // edges crossed from the infinite face; refine polylines are crossed
    // freely. Odd levels are inside.
    auto isBoundary = [&](FH f, int i) {
        if (!f->is_constrained(i))
            return false;
        const int a = f->vertex(CDT::cw(i))->info().index;
        const int b = f->vertex(CDT::ccw(i))->info().index;
        auto it = m_kinds.find(PairKey(a, b));
        return it != m_kinds.end() && it->second != kRefine;
    };
    std::vector<FH> border{m_cdt.infinite_face()};
    std::vector<FH> next;
    std::vector<FH> stack;
    int level = 0;
    while (!border.empty()) {
        next.clear();
        for (FH start : border) {
            if (start->info().level != -1)
                continue;
            start->info().level = level;
            stack.assign(1, start);
            while (!stack.empty()) {
                afx::ProgressPoint();
                FH f = stack.back();
                stack.pop_back();
                f->info().inside = (level % 2) == 1;
                for (int i = 0; i < 3; ++i) {
                    FH n = f->neighbor(i);
                    if (n->info().level != -1)
                        continue;
                    if (isBoundary(f, i)) {
                        next.push_back(n);
                    } else {
                        n->info().level = level;
                        stack.push_back(n);
                    }
                }
            }
        }
        // Entering level 1 must cross the outer polygon only: a hole loop
        // reached from outside lies outside the region.
        if (level == 0) {
            for (FH n : next) {
                for (int i = 0; i < 3; ++i) {
                    FH m = n->neighbor(i);
                    if (m->info().level == 0 && n->is_constrained(i)) {
                        const int a = n->vertex(CDT::cw(i))->info().index;
                        const int b = n->vertex(CDT::ccw(i))->info().index;
                        auto it = m_kinds.find(PairKey(a, b));
                        if (it != m_kinds.end() && it->second == kHole)
                            throw Refused("A point of the mesh lies outside the region");
                    }
                }
            }
        }
        border.swap(next);
        ++level;
    }
}

void Triangulator::AssignSpacing()
{
    const auto& pts = m_work.points;
    std::vector<double> sum(pts.size(), 0.0);
    std::vector<int> cnt(pts.size(), 0);
    for (const auto& [a, b] : m_constraints) {
        const double l = Dist(m_handles[static_cast<std::size_t>(a)]->point(),
                              m_handles[static_cast<std::size_t>(b)]->point());
        sum[static_cast<std::size_t>(a)] += l;
        sum[static_cast<std::size_t>(b)] += l;
        ++cnt[static_cast<std::size_t>(a)];
        ++cnt[static_cast<std::size_t>(b)];
    }
    for (VH v : m_handles) {
        afx::ProgressPoint();
        if (v == VH())
            continue;
        const std::size_t i = static_cast<std::size_t>(v->info().index);
        double h = 0.0;
        if (cnt[i] > 0) {
            h = sum[i] / cnt[i];
        } else {
            // No segment: the mean distance to its neighbours.
            double s = 0.0;
            int n = 0;
            auto vc = m_cdt.incident_vertices(v), done = vc;
            do {
                if (!m_cdt.is_infinite(vc)) {
                    s += Dist(v->point(), vc->point());
                    ++n;
                }
            } while (++vc != done);
            h = n > 0 ? s / n : 1.0;
        }
        if (pts[i].marker == 2 && pts[i].value > 0.0 && std::isfinite(pts[i].value))
            h = cnt[i] > 0 ? std::min(h, pts[i].value) : pts[i].value;
        v->info().h = h;
    }
}

bool Triangulator::IsBad(FH f) const
{
    const Point& a = f->vertex(0)->point();
    const Point& b = f->vertex(1)->point();
    const Point& c = f->vertex(2)->point();
    double sinMin, radius;
    FaceShape(a, b, c, sinMin, radius);
    const double h = (f->vertex(0)->info().h + f->vertex(1)->info().h + f->vertex(2)->info().h) / 3.0;
    static const double sinLimit = std::sin(kMinAngle * M_PI / 180.0);
    return radius > kSizeRatio * h || sinMin < sinLimit;
}

VH Triangulator::TryInsert(FH f)
{
    const Point cc = CGAL::circumcenter(f->vertex(0)->point(), f->vertex(1)->point(), f->vertex(2)->point());
    if (!std::isfinite(cc.x()) || !std::isfinite(cc.y()))
        return VH();
    CDT::Locate_type lt;
    int li;
    FH loc = m_cdt.locate(cc, lt, li, f);
    if (lt != CDT::FACE || !loc->info().inside)
        return VH();
    m_zone.clear();
    m_zoneEdges.clear();
    m_cdt.get_conflicts_and_boundary(cc, std::back_inserter(m_zone), std::back_inserter(m_zoneEdges), f);
    // The point must be seen from the face without crossing a segment.
    if (std::find(m_zone.begin(), m_zone.end(), loc) == m_zone.end())
        return VH();
    // Keep clear of segments: no constrained edge of the zone may have the
    // point inside its diametral circle.
    for (const CDT::Edge& e : m_zoneEdges) {
        if (!e.first->is_constrained(e.second))
            continue;
        const Point& p = e.first->vertex(CDT::cw(e.second))->point();
        const Point& q = e.first->vertex(CDT::ccw(e.second))->point();
        if (CGAL::squared_distance(cc, CGAL::midpoint(p, q)) <= 0.25 * CGAL::squared_distance(p, q))
            return VH();
    }
    // Spacing interpolated over the face holding the point.
    const double w0 = CGAL::area(cc, loc->vertex(1)->point(), loc->vertex(2)->point());
    const double w1 = CGAL::area(loc->vertex(0)->point(), cc, loc->vertex(2)->point());
    const double w2 = CGAL::area(loc->vertex(0)->point(), loc->vertex(1)->point(), cc);
    const double h0 = loc->vertex(0)->info().h, h1 = loc->vertex(1)->info().h, h2 = loc->vertex(2)->info().h;
    const double wsum = w0 + w1 + w2;
    double h = (h0 + h1 + h2) / 3.0;
    if (wsum > 0.0 && w0 >= 0.0 && w1 >= 0.0 && w2 >= 0.0)
        h = (w0 * h0 + w1 * h1 + w2 * h2) / wsum;
    const int level = loc->info().level;
    VH v = m_cdt.insert(cc, lt, loc, li);
    v->info().index = m_nextIndex++;
    v->info().h = h;
    m_handles.push_back(v);
    auto fc = m_cdt.incident_faces(v), done = fc;
    do {
        fc->info().inside = true;
        fc->info().level = level;
    } while (++fc != done);
    return v;
}

void Triangulator::Refine()
{
    struct Item {
        FH f;
        VH v[3];
    };
    std::deque<Item> queue;
    auto push = [&](FH f) { queue.push_back({f, {f->vertex(0), f->vertex(1), f->vertex(2)}}); };
    double area = 0.0, hmin = std::numeric_limits<double>::infinity();
    for (auto f = m_cdt.finite_faces_begin(); f != m_cdt.finite_faces_end(); ++f) {
        afx::ProgressPoint();
        if (!f->info().inside)
            continue;
        push(f);
        area += m_cdt.triangle(f).area();
        for (int i = 0; i < 3; ++i)
            hmin = std::min(hmin, f->vertex(i)->info().h);
    }
    // A bound on the work that only faulty input could reach.
    const double estimate = hmin > 0.0 ? area / (0.4 * hmin * hmin) : 0.0;
    const double limit = std::min(50.0 * estimate + 100000.0, 5.0e8);
    double inserted = 0.0;
    std::size_t steps = 0;
    while (!queue.empty() && inserted < limit) {
        afx::ProgressPoint();
        if ((++steps & 4095) == 0)
            CheckStop();
        const Item it = queue.front();
        queue.pop_front();
        FH f;
        if (!m_cdt.is_face(it.v[0], it.v[1], it.v[2], f) || f != it.f)
            continue;   // gone meanwhile
        if (!f->info().inside || !IsBad(f))
            continue;
        VH v = TryInsert(f);
        if (v == VH())
            continue;
        inserted += 1.0;
        auto fc = m_cdt.incident_faces(v), done = fc;
        do {
            push(fc);
        } while (++fc != done);
    }
    CheckStop();
}

// The sine of the smallest angle of the faces around v with v placed at p;
// negative when a face would turn over.
double Triangulator::StarMinSin(VH v, const Point& p)
{
    double best = 1.0;
    auto fc = v->incident_faces(), done = fc;
    do {
        const int i = fc->index(v);
        const Point& q = fc->vertex(CDT::ccw(i))->point();
        const Point& r = fc->vertex(CDT::cw(i))->point();
        if (CGAL::orientation(p, q, r) != CGAL::LEFT_TURN)
            return -1.0;
        double s, radius;
        FaceShape(p, q, r, s, radius);
        best = std::min(best, s);
    } while (++fc != done);
    return best;
}

void Triangulator::Smooth(int passes)
{
    const std::size_t first = m_work.points.size();
    for (int pass = 0; pass < passes; ++pass) {
        CheckStop();
        for (std::size_t k = first; k < m_handles.size(); ++k) {
            afx::ProgressPoint();
            VH v = m_handles[k];
            double sx = 0.0, sy = 0.0;
            int n = 0;
            auto vc = v->incident_vertices(), done = vc;
            do {
                sx += vc->point().x();
                sy += vc->point().y();
                ++n;
            } while (++vc != done);
            const Point target(sx / n, sy / n);
            const double before = StarMinSin(v, v->point());
            if (StarMinSin(v, target) >= before)
                v->set_point(target);
        }
    }
}

void Triangulator::Rebuild()
{
    std::vector<std::pair<Point, VInfo>> all;
    all.reserve(m_handles.size());
    for (VH v : m_handles)
        if (v != VH())
            all.emplace_back(v->point(), v->info());
    CheckStop();
    InsertPoints(all, "The mesher placed two points at the same place");
    CheckStop();
    InsertConstraints();
    MarkDomains();
}

void Triangulator::Output()
{
    const auto& pts = m_work.points;
    auto& nodes = m_work.nodes;
    auto& elems = m_work.elems;
    nodes.assign(m_handles.size(), CEasyMesh::node{0.0, 0.0, true});
    for (std::size_t i = 0; i < m_handles.size(); ++i) {
        afx::ProgressPoint();
        VH v = m_handles[i];
        if (v == VH())
            continue;
        // Loaded points keep their coordinates exactly.
        if (i < pts.size())
            nodes[i] = CEasyMesh::node{pts[i].x, pts[i].y, false};
        else
            nodes[i] = CEasyMesh::node{v->point().x(), v->point().y(), false};
    }
    elems.clear();
    for (auto f = m_cdt.finite_faces_begin(); f != m_cdt.finite_faces_end(); ++f) {
        afx::ProgressPoint();
        if (!f->info().inside)
            continue;
        elems.push_back(CEasyMesh::elem{{f->vertex(0)->info().index, f->vertex(1)->info().index,
                                         f->vertex(2)->info().index},
                                        false});
    }
}

} // namespace

// ---------------------------------------------------------------------------

std::atomic<bool> CMGenerator::m_bStop{false};

int CEasyMesh::m_nMaxNodes = 5000;
CEasyMesh::node* CEasyMesh::m_pNode = nullptr;
CEasyMesh::elem* CEasyMesh::m_pElem = nullptr;

CEasyMesh::CEasyMesh()
    : m_dMaxX(-std::numeric_limits<double>::max()),
      m_dMinX(std::numeric_limits<double>::max()),
      m_dMaxY(-std::numeric_limits<double>::max()),
      m_dMinY(std::numeric_limits<double>::max())
{
}

CEasyMesh::~CEasyMesh() = default;

void CEasyMesh::AllocStatics()
{
    if (g_nStaticsDepth++ == 0) {
        g_pWork = new WorkStorage;
        g_pWork->Reserve(std::min(m_nMaxNodes, kMaxReserveNodes));
    }
}

void CEasyMesh::DeAllocStatics()
{
    if (g_nStaticsDepth == 0)
        return;
    if (--g_nStaticsDepth == 0) {
        delete g_pWork;
        g_pWork = nullptr;
        m_pNode = nullptr;
        m_pElem = nullptr;
    }
}

int CEasyMesh::StaticsDepth()
{
    return g_nStaticsDepth;
}

void CEasyMesh::LoadPoint(int index, double x, double y, double value, int marker)
{
    if (!g_pWork || index < 0)
        return;
    auto& pts = g_pWork->points;
    if (static_cast<std::size_t>(index) >= pts.size())
        pts.resize(static_cast<std::size_t>(index) + 1);
    pts[static_cast<std::size_t>(index)] = InPoint{x, y, value, marker, true};
}

CEasyMesh::segment& CEasyMesh::SegmentRecord(int seg)
{
    static segment dummy;
    if (!g_pWork || seg < 0) {
        dummy = segment{-1, -1, 0, 0};
        return dummy;
    }
    auto& segs = g_pWork->segments;
    if (static_cast<std::size_t>(seg) >= segs.size())
        segs.resize(static_cast<std::size_t>(seg) + 1, segment{-1, -1, 0, 0});
    return segs[static_cast<std::size_t>(seg)];
}

void CEasyMesh::LoadSegment(int seg, int from, int to, int marker, int flag)
{
    SegmentRecord(seg) = segment{from, to, marker, flag};
}

bool CEasyMesh::AskYesNo(const char* text)
{
    CString s;
    s.Format("%s", text ? text : "");
    return AfxMessageBox(s, MB_YESNO) == IDYES;
}

void CEasyMesh::ShowMessage(const char* text)
{
    CString s;
    s.Format("%s", text ? text : "");
    AfxMessageBox(s);
}

void CEasyMesh::ShowValue(double value, const char* text, int)
{
    CString s;
    s.Format("%s %e", text ? text : "", value);
    AfxMessageBox(s);
}

bool CEasyMesh::Refuse(bool bQuiet, const char* text)
{
    if (!bQuiet) {
        try {
            ShowMessage(text);
        } catch (...) {
        }
    }
    return false;
}

bool CEasyMesh::Mesh(int pointCount, int innerPointCount, bool bQuiet, bool, bool)
{
    m_nPointCount = pointCount;
    m_nInnerPointCount = innerPointCount;
    m_nNodes = 0;
    m_nElems = 0;
    // Without storage of the caller's, the run brings its own.
    const bool own = g_nStaticsDepth == 0;
    if (own)
        AllocStatics();
    bool ok = false;
    try {
        ok = Run(bQuiet);
    } catch (...) {
        ok = Refuse(bQuiet, "The mesher failed on an unexpected error");
    }
    if (own)
        DeAllocStatics();
    return ok;
}

bool CEasyMesh::Run(bool bQuiet)
{
    WorkStorage& work = *g_pWork;
    work.Clear();
    m_pNode = nullptr;
    m_pElem = nullptr;
    try {
        if (m_bStop)
            return false;
        const int outer = LoadOuterBoundary();
        if (m_bStop)
            return false;
        int index = outer;
        LoadInnerBoundaries(index);
        if (m_bStop)
            return false;
        LoadRefinePoints(index);
        if (m_bStop)
            return false;

        Triangulator tri(work, outer);
        tri.Build();
        ShowProgress(10);
        tri.Refine();
        ShowProgress(60);
        tri.Smooth(3);
        ShowProgress(80);
        tri.Rebuild();
        tri.Output();
        ShowProgress(100);
    } catch (const Refused& e) {
        return Refuse(bQuiet, e.what());
    } catch (const Stopped&) {
        return false;
    } catch (const std::bad_alloc&) {
        return Refuse(bQuiet, "The mesher ran out of memory");
    }
    if (m_bStop)
        return false;
    m_pNode = work.nodes.data();
    m_pElem = work.elems.data();
    m_nNodes = static_cast<int>(work.nodes.size());
    m_nElems = static_cast<int>(work.elems.size());
    return BuildOutput();
}
