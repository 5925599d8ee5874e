// Planar operations of the graph in the x-y plane: cells (faces), union,
// intersection with an edge, fillets, convex hulls, point and orientation
// tests, minimum-degree ordering, list rotation and generated node rows.
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "geometry/axis.h"
#include "geometry/graph.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kHalfPi = 1.5707963267948966;
constexpr double kThreeHalfPi = 4.71238898038469;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kEps = 2.220446049250313e-16;

// v lies between c * f1 and c * f2 (whatever the sign of c).
bool WithinFactors(double v, double c, double f1, double f2)
{
    const double a = c * f1, b = c * f2;
    return a <= b ? (a <= v && v <= b) : (b <= v && v <= a);
}

// One arc coordinate: exact zero, the centre's coordinate or the centre's
// coordinate plus the radius when it is that within the tolerance.
double SnapArc(double v, double centre, double radius, double zeroTol, double rel)
{
    if (v > -zeroTol && v < zeroTol)
        return 0.0;
    if (WithinFactors(v, centre, 1.0 + rel, 1.0 - rel))
        return centre;
    if (WithinFactors(v, centre + radius, 1.0 + rel, 1.0 - rel))
        return centre + radius;
    return v;
}

double Direction(double dx, double dy)
{
    double v[2] = {dx, dy};
    return CAxis::GetAngle(v);
}

// The walk of one cell from edge at node, as the cell search takes it.
// Returns the cell (edges in walk order) or null; sum receives the turn.
// With checkDuplicates, the first edge met twice is handed out in twice.
CObList* WalkCell(CSNode* node, CEdge* edge, double& sum, CGraph* limit, bool checkDuplicates,
                  CEdge*& twice)
{
    twice = nullptr;
    sum = 0.0;
    if (edge->IsTraversed())
        return nullptr;
    CObList* cell = new CObList(10);
    std::set<std::pair<CEdge*, CSNode*>> darts;
    CSNode* at = node;
    CEdge* current = edge;
    for (;;) {
        // A walk that repeats a step without coming back to its first edge
        // (it started on an edge that bounds no cell) never closes.
        if (!darts.insert({current, at}).second) {
            delete cell;
            return nullptr;
        }
        cell->AddTail(current);
        CEdge* next = current;
        if (!current->Next2DEdgeClW(at, next, sum) || (limit && at->IsGraphInList(limit) < 0)) {
            delete cell;
            return nullptr;
        }
        if (next == edge)
            break;
        if (next->IsTraversed()) {
            delete cell;
            return nullptr;
        }
        current = next;
    }
    if (checkDuplicates) {
        std::set<CEdge*> seen;
        for (POSITION pos = cell->GetHeadPosition(); pos;) {
            CEdge* e = static_cast<CEdge*>(cell->GetNext(pos));
            if (!seen.insert(e).second) {
                twice = e;
                break;
            }
        }
        if (twice) {
            // The first edge of the cell that occurs twice is the bridge.
            for (POSITION pos = cell->GetHeadPosition(); pos;) {
                CEdge* e = static_cast<CEdge*>(cell->GetNext(pos));
                int count = 0;
                for (POSITION q = cell->GetHeadPosition(); q;)
                    if (cell->GetNext(q) == e)
                        ++count;
                if (count > 1) {
                    twice = e;
                    break;
                }
            }
        }
    }
    return cell;
}

bool IsWanted(CObList* cell, double sum, bool inner)
{
    const double limit = (cell->GetCount() - 1) * kPi;
    return inner ? sum < limit : sum > limit;
}

} // namespace

// ------------------------------------------------------------ cells

void CGraph::PreFind2DCell(CSNode* node)
{
    // Bounded by the edge count: each pass clears one flag.
    while (node) {
        CObList* edges = node->GetEdgeList();
        if (!edges)
            return;
        CEdge* only = nullptr;
        int count = 0;
        for (POSITION pos = edges->GetHeadPosition(); pos;) {
            CEdge* e = static_cast<CEdge*>(edges->GetNext(pos));
            if (e->IsCellEdge()) {
                only = e;
                ++count;
            }
        }
        if (count != 1)
            return;
        only->SetCellEdge(false);
        node = only->GetNode(node);
    }
}

void CGraph::PreFind2DCell()
{
    for (POSITION pos = GetHeadPosition(); pos;)
        PreFind2DCell(GetNextNode(pos));
}

CObList* CGraph::Find2DCells(CSNode* node, CEdge* edge, bool inner, CGraph* limit)
{
    if (!node || !edge || !edge->IsNodeInDef(node))
        return nullptr;
    double sum = 0.0;
    CEdge* twice = nullptr;
    CObList* cell = WalkCell(node, edge, sum, limit, false, twice);
    if (cell && !IsWanted(cell, sum, inner)) {
        delete cell;
        cell = nullptr;
    }
    return cell;
}

CObList* CGraph::Find2DCells(CSNode* node, bool inner)
{
    CObList* edges = node ? node->GetEdgeList() : nullptr;
    if (!edges || edges->GetCount() < 2)
        return nullptr;
    CObList* result = new CObList(10);
    bool done = false;
    for (POSITION pos = edges->GetHeadPosition(); pos && !done;) {
        CEdge* first = static_cast<CEdge*>(edges->GetNext(pos));
        while (first->IsCellEdge()) {
            double sum = 0.0;
            CEdge* twice = nullptr;
            CObList* cell = WalkCell(node, first, sum, nullptr, true, twice);
            if (!cell)
                break;
            if (twice) {
                // The walk ran along a bridge: it bounds no cell.
                twice->SetCellEdge(false);
                delete cell;
                continue;
            }
            if (IsWanted(cell, sum, inner)) {
                result->AddHead(static_cast<CObject*>(cell));
                done = !inner;
            } else {
                delete cell;
            }
            break;
        }
    }
    for (POSITION pos = edges->GetHeadPosition(); pos;)
        static_cast<CEdge*>(edges->GetNext(pos))->SetTraversed(true);
    if (result->IsEmpty()) {
        delete result;
        return nullptr;
    }
    return result;
}

CObList* CGraph::Find2DCells(bool inner)
{
    CObList* result = new CObList(10);
    if (!IsEmpty()) {
        PreFind2DCell();
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextNode(pos);
            if (!node->GetEdgeList())
                continue;
            if (CObList* cells = Find2DCells(node, inner)) {
                result->AddHead(cells);
                delete cells;
            }
        }
    }
    if (result->IsEmpty()) {
        delete result;
        return nullptr;
    }
    return result;
}

// ------------------------------------------------------------ union, crossing

bool CGraph::Union(CGraph* other)
{
    if (!other || other == this)
        return false;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (POSITION at = other->Find(node)) {
            other->RemoveAt(at);
            node->RemoveGraph(other);
        }
    }
    while (!other->IsEmpty()) {
        CSNode* node = static_cast<CSNode*>(other->RemoveHead());
        node->RemoveGraph(other);
        AddTail(node);
        node->AddGraph(this);
    }
    delete other;
    return true;
}

short CGraph::Intersection2D(CEdge* edge, bool byEdges, CObList* hits)
{
    short result = 0;
    if (!byEdges) {
        for (POSITION pos = GetHeadPosition(); pos;) {
            const short r = GetNextNode(pos)->Intersection2D(edge, hits);
            if (r == 1)
                return 1;
            if (r > result)
                result = r;
        }
        return result;
    }
    std::vector<CEdge*> edges;
    std::set<CEdge*> seen;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CObList* list = GetNextNode(pos)->GetEdgeList();
        if (!list)
            continue;
        for (POSITION ep = list->GetHeadPosition(); ep;) {
            CEdge* e = static_cast<CEdge*>(list->GetNext(ep));
            if (IsEdgeInGraph(e) && seen.insert(e).second)
                edges.push_back(e);
        }
    }
    for (CEdge* e : edges) {
        const short r = e->Intersection2D(edge, nullptr);
        if (r == 2 && hits && !hits->Find(e))
            hits->AddTail(e);
        if (r == 1)
            return 1;
        if (r > result)
            result = r;
    }
    return result;
}

// ------------------------------------------------------------ fillet

int CGraph::PreFilletEdges(CEdge* e1, CEdge* e2, int segments, int mode, double radius,
                           CObList*& arc, CSNode*& corner)
{
    if (!(radius > 0.0))
        return -6;
    if (segments < 2)
        segments = 2;
    if (!e1 || !e2 || e1 == e2)
        return -1;
    CSNode* c = nullptr;
    if (e1->IsNodeInDef(e2->GetNode1()))
        c = e2->GetNode1();
    else if (e1->IsNodeInDef(e2->GetNode2()))
        c = e2->GetNode2();
    if (!c)
        return -1;
    if (!c->GetEdgeList() || c->GetEdgeList()->GetCount() != 2)
        return -2;
    CSNode* a = e1->GetNode(c);
    CSNode* b = e2->GetNode(c);
    const double lenA = std::hypot(a->x - c->x, a->y - c->y);
    const double lenB = std::hypot(b->x - c->x, b->y - c->y);
    if (lenA == 0.0 || lenB == 0.0)
        return -5; // no direction, so no offset line
    double n1[2] = {(a->y - c->y) * radius / lenA, (c->x - a->x) * radius / lenA};
    double n2[2] = {(c->y - b->y) * radius / lenB, (b->x - c->x) * radius / lenB};

    CSNode* at = a;
    CEdge* next = e1;
    double phi = 0.0;
    if (!e1->Next2DEdgeClW(at, next, phi) || next != e2)
        return -3;
    const bool flipped = phi > kPi;
    if (flipped) {
        phi = kTwoPi - phi;
        for (int i = 0; i < 2; ++i) {
            n1[i] = -n1[i];
            n2[i] = -n2[i];
        }
    }
    double p1[2] = {a->x + n1[0], a->y + n1[1]};
    double p2[2] = {c->x + n1[0], c->y + n1[1]};
    double p3[2] = {c->x + n2[0], c->y + n2[1]};
    double p4[2] = {b->x + n2[0], b->y + n2[1]};
    double m[2] = {0.0, 0.0};
    const int hit = CAxis::Intersect2D(p1, p2, p3, p4, m);
    if (hit == 3)
        return -5;
    if (hit == 2)
        return -4;
    if (mode < 0 || mode > 2)
        return -7;

    const double sweep = kPi - phi;
    const double step = sweep / segments;
    double start = flipped ? Direction(n2[0], n2[1]) : Direction(n1[0], n1[1]);
    start += kPi;
    if (start >= kTwoPi)
        start -= kTwoPi;

    arc = new CObList(10);
    corner = c;
    auto place = [&](double angle, double r, bool snap, double zeroTol, double rel) {
        double x = m[0] + r * std::cos(angle);
        double y = m[1] + r * std::sin(angle);
        if (snap) {
            x = SnapArc(x, m[0], radius, zeroTol, rel);
            y = SnapArc(y, m[1], radius, zeroTol, rel);
        }
        CSNode* node = new CSNode(x, y, 0.0, nullptr, 0);
        if (flipped)
            arc->AddHead(node);
        else
            arc->AddTail(node);
    };
    if (mode == 0) {
        for (int i = 0; i <= segments; ++i)
            place(start + i * step, radius, true, 2.220446049250313e-15, 2.2e-15);
        return 1;
    }
    const double r = mode == 1 ? radius * std::sqrt(step / std::sin(step))
                               : radius * step / (2.0 * std::sin(step / 2.0));
    const double tol = radius * kEps;
    place(start, radius, true, tol, tol);
    for (int i = 1; i < segments; ++i)
        place(start + i * step, r, false, 0.0, 0.0);
    place(start + segments * step, radius, true, tol, tol);
    return 1;
}

// ------------------------------------------------------------ hulls and tests

void CGraph::ConvexHull(CObList* nodes, CObList& hull)
{
    if (!nodes)
        return;
    const int n = nodes->GetCount();
    if (n < 4) {
        for (POSITION pos = nodes->GetHeadPosition(); pos;)
            hull.AddTail(nodes->GetNext(pos));
        return;
    }
    CSNode* start = nullptr;
    for (POSITION pos = nodes->GetHeadPosition(); pos;) {
        CSNode* q = static_cast<CSNode*>(nodes->GetNext(pos));
        if (!start || q->y < start->y)
            start = q;
    }
    double base = start->y;
    if (std::fabs(base) <= 1.1102230246251565e-15)
        base = 0.0;
    auto onBase = [base](const CSNode* q) {
        if (base == 0.0)
            return q->y > -2.220446049250313e-15 && q->y < 2.220446049250313e-15;
        return WithinFactors(q->y, base, 1.000000000000001, 0.9999999999999989);
    };

    double previous = 0.0;
    CSNode* p = start;
    for (int round = 0; round <= n; ++round) {
        hull.AddTail(p);
        double best = kTwoPi;
        CSNode* candidate = p;
        for (POSITION pos = nodes->GetHeadPosition(); pos;) {
            CSNode* q = static_cast<CSNode*>(nodes->GetNext(pos));
            if (q == p)
                continue;
            double a = Direction(q->x - p->x, q->y - p->y);
            if (a > best && a != kTwoPi)
                continue;
            if (a < previous) {
                if (!(a == 0.0 && onBase(q)))
                    continue;
                if (candidate == p || (q->x <= candidate->x && q->y <= candidate->y))
                    candidate = q;
                best = kTwoPi;
                continue;
            }
            if (a == kTwoPi) {
                if (!onBase(q))
                    continue;
                a = previous != 0.0 ? kTwoPi : 0.0;
            }
            if (a == best && candidate != p) {
                bool nearer;
                if (a <= kHalfPi)
                    nearer = q->x <= candidate->x && q->y <= candidate->y;
                else if (a <= kPi)
                    nearer = q->x >= candidate->x && q->y <= candidate->y;
                else if (a <= kThreeHalfPi)
                    nearer = q->x >= candidate->x && q->y >= candidate->y;
                else
                    nearer = q->x <= candidate->x && q->y >= candidate->y;
                if (nearer)
                    candidate = q;
                continue;
            }
            candidate = q;
            best = a;
        }
        previous = best;
        if (candidate == p || candidate == start)
            break;
        p = candidate;
    }
}

bool CGraph::IsPointInside2D(CObList& polygon, double x, double y)
{
    if (polygon.GetCount() < 3)
        return false;
    double xmax = 0.0, ymax = 0.0, xmin = 1.0, ymin = 1.0;
    GetMaxMin(polygon, xmax, ymax, xmin, ymin);
    if (!(x < xmax && x > xmin && y < ymax && y > ymin))
        return false;
    bool inside = false;
    auto side = [&](const CSNode* p, const CSNode* q) {
        const double px = p->x, py = p->y, qx = q->x, qy = q->y;
        if ((y <= py) == (y <= qy))
            return;
        if ((x <= px) != (x <= qx)) {
            const double xi = (qx - px) * (y - py) / (qy - py) + px;
            if (xi > x)
                inside = !inside;
        } else if (x < px) {
            inside = !inside;
        }
    };
    POSITION pos = polygon.GetTailPosition();
    const CSNode* q = static_cast<CSNode*>(polygon.GetPrev(pos));
    while (pos) {
        const CSNode* p = static_cast<CSNode*>(polygon.GetPrev(pos));
        side(q, p);
        q = p;
    }
    side(static_cast<CSNode*>(polygon.GetHead()), static_cast<CSNode*>(polygon.GetTail()));
    return inside;
}

bool CGraph::IsPointInsideNonCell2D(CObList* nodes, double x, double y)
{
    CObList hull(10);
    ConvexHull(nodes, hull);
    return IsPointInside2D(hull, x, y);
}

bool CGraph::IsCClW(CObList* polygon)
{
    if (!polygon || polygon->GetCount() < 3)
        return false;
    std::vector<const CSNode*> v;
    for (POSITION pos = polygon->GetHeadPosition(); pos;)
        v.push_back(static_cast<CSNode*>(polygon->GetNext(pos)));
    const std::size_t n = v.size();
    long double sum = 0.0L;
    for (std::size_t i = 0; i < n; ++i) {
        const CSNode* u = v[(i + n - 1) % n];
        const CSNode* w = v[(i + 1) % n];
        const double back = Direction(u->x - v[i]->x, u->y - v[i]->y);
        const double on = Direction(w->x - v[i]->x, w->y - v[i]->y);
        if (back >= on)
            sum += static_cast<long double>(back) - on;
        else
            sum += static_cast<long double>(kTwoPi) - on + back;
    }
    return sum < static_cast<long double>(n - 1) * static_cast<long double>(kPi);
}

// ------------------------------------------------------------ ordering

void CGraph::MinDegReorder(bool destroy)
{
    std::vector<CSNode*> work;
    work.reserve(static_cast<std::size_t>(GetCount()));
    while (!IsEmpty())
        work.push_back(static_cast<CSNode*>(RemoveHead()));
    auto degree = [destroy](const CSNode* node) {
        CObList* edges = node->GetEdgeList();
        if (!edges)
            return 0;
        if (destroy)
            return edges->GetCount();
        int d = 0;
        for (POSITION pos = edges->GetHeadPosition(); pos;)
            if (!static_cast<CEdge*>(edges->GetNext(pos))->IsTraversed())
                ++d;
        return d;
    };
    while (!work.empty()) {
        std::size_t chosen = 0;
        int least = -1;
        for (std::size_t i = 0; i < work.size(); ++i) {
            const int d = degree(work[i]);
            if (least < 0 || d < least) {
                least = d;
                chosen = i;
                if (d == 0)
                    break;
            }
        }
        CSNode* node = work[chosen];
        work.erase(work.begin() + static_cast<std::ptrdiff_t>(chosen));
        if (destroy) {
            node->RemoveAllEdges();
        } else if (CObList* edges = node->GetEdgeList()) {
            for (POSITION pos = edges->GetHeadPosition(); pos;)
                static_cast<CEdge*>(edges->GetNext(pos))->SetTraversed(true);
        }
        AddTail(node);
    }
}

void CGraph::MakeHead(CSNode* node, CObList* list)
{
    if (!list || !node || !list->Find(node))
        return;
    for (int i = list->GetCount(); i > 0 && list->GetHead() != node; --i)
        list->AddTail(list->RemoveHead());
}

void CGraph::MakeTail(CSNode* node, CObList* list)
{
    if (!list || !node || !list->Find(node))
        return;
    for (int i = list->GetCount(); i > 0 && list->GetTail() != node; --i)
        list->AddTail(list->RemoveHead());
}

// ------------------------------------------------------------ generated nodes

void CGraph::CircleNodes(CObList* out, CSNode* start, CSNode* centre, int n, int mode)
{
    if (!out || !start || !centre || n < 1)
        return;
    const double dx = start->x - centre->x;
    const double dy = start->y - centre->y;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r == 0.0)
        return; // no circle through the centre itself
    const double k = std::fabs(dx) / r;
    double a;
    if (dx <= 0.0)
        a = dy <= 0.0 ? kPi + std::acos(k) : kPi - std::acos(k);
    else
        a = dy <= 0.0 ? -std::acos(k) : std::acos(k);
    const double step = kTwoPi / n;
    double radius = r;
    if (mode == 1)
        radius = r * std::sqrt(std::fabs(step / std::sin(step)));
    else if (mode == 2)
        radius = r * step / (2.0 * std::sin(kPi / n));
    if (mode == 1 || mode == 2) {
        start->x = centre->x + dx * radius / r;
        start->y = centre->y + dy * radius / r;
        AfxNoteModelEdit();
    }
    start->m_uiFlags = 0;
    out->AddHead(start);
    for (int i = 1; i < n; ++i) {
        a += step;
        double x = centre->x + radius * std::cos(a);
        double y = centre->y + radius * std::sin(a);
        if (IsEqualTol(a, kHalfPi, 10.0)) {
            x = centre->x;
            y = centre->y + radius;
        } else if (IsEqualTol(a, kPi, 10.0)) {
            x = centre->x - radius;
            y = centre->y;
        } else if (IsEqualTol(a, kThreeHalfPi, 10.0)) {
            x = centre->x;
            y = centre->y - radius;
        }
        out->AddTail(new CSNode(x, y, centre->z, nullptr, 0));
    }
}

void CGraph::FunctionNodes(CObList* out, CSNode* a, CSNode* b, double c0, double c1, double c2,
                           double c3, double c4, int n, bool)
{
    if (!out || !a || !b || a == b)
        return;
    CEdge* edge = GetComEdge(a, b);
    if (!edge)
        edge = new CEdge(a, b);
    const double length = edge->GetLength();
    for (int i = 0; i < n; ++i) {
        const double t = i * length / n;
        const double f = c0 + t * (c1 + t * (c2 + t * (c3 + t * c4)));
        out->AddTail(new CSNode(t, f, 0.0, nullptr, 0));
    }
    CAxis axis(a, b, nullptr);
    for (POSITION pos = out->GetHeadPosition(); pos;) {
        CSNode* node = static_cast<CSNode*>(out->GetNext(pos));
        axis.LocalToGlobal(node->x, node->y, node->z);
    }
}
