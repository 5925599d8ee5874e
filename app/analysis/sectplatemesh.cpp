// Plate region meshing (structured for four corners, triangles otherwise),
// element names for smoothing, element data and materials for the solver
// input, and boundary conditions moved from the outline edges to its nodes.
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/analysis/platecomp.h"
#include "app/analysis/sectplate.h"
#include "app/analysis/trimesh.h"
#include "femodel/strelna.h"
#include "platform/ferrand/material.h"

int g_iOddPatternIndex = 0;
int g_iEvenPatternIndex = 0;

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kSixth = 0.5235987755982988; // pi / 6

bool IsVoid(const CMaterial* material)
{
    return material && material->GetName() == "VOID";
}

// The program's approximate comparison with factor 100000.
bool NearlyEqual(double x, double target)
{
    const double tol = 100000.0 * 2.220446049250313e-16;
    if (std::fabs(target) >= 1.0) {
        const double a = (1.0 - tol) * target, b = (1.0 + tol) * target;
        return x >= std::min(a, b) && x <= std::max(a, b);
    }
    return std::fabs(x - target) <= tol;
}

// A standard edge kind: simply supported (1), fixed (2) or line of
// symmetry (4), without DOFs of its own.
bool IsEdgeKind(const CBoundCond& c)
{
    const unsigned t = c.GetBCType();
    const CVector* v = c.GetBCVector();
    return (t == 1 || t == 2 || t == 4) && (!v || v->GetSize() == 0);
}

// The condition that two supported edges meeting where the outline bends a
// little (a polygon standing for a curve) have in common: their kind when
// both carry the same, the simple support when one is simply supported and
// the other fixed; null otherwise (a line of symmetry with another kind,
// conditions of the user's own).
CBoundCond* SharedKind(CBoundCond& b1, CBoundCond& b2)
{
    if (!IsEdgeKind(b1) || !IsEdgeKind(b2))
        return nullptr;
    if (b1 == b2)
        return &b1;
    if ((b1.GetBCType() | b2.GetBCType()) == 3u)
        return b1.GetBCType() == 1 ? &b1 : &b2;
    return nullptr;
}

// The mean direction (0 to pi) of two lines at the angles a1 and a2 (0 to
// pi): the bisector of the smaller angle between them, which follows the
// outline where a polygon stands for a curve.
double MeanLineAngle(double a1, double a2)
{
    double m = 0.5 * std::atan2(std::sin(2.0 * a1) + std::sin(2.0 * a2), std::cos(2.0 * a1) + std::cos(2.0 * a2));
    if (m < 0.0)
        m += kPi;
    return m;
}

// Whether the node holds a condition of the user's that the corner rule
// must keep: any condition with a type, except a plain edge kind along the
// bisector, which is what the rule wrote on an earlier run.
bool HoldsOwnCondition(const CBoundCond* own, double bisector)
{
    if (!own || own->GetBCType() == 0)
        return false;
    return !(IsEdgeKind(*own) && NearlyEqual(own->GetAngle(), bisector));
}

// Where the outline turns by less than this at a node between two edges,
// the polygon is taken to stand for a curve (a circle of 16 segments, the
// circle tool's default, turns by 22.5 degrees at each node); where it turns
// by more, the node is a corner.
constexpr double kCurveTurn = 25.0 * kPi / 180.0;

// Whether the outline of the two edges runs on nearly straight through the
// node: its direction turns there by less than kCurveTurn.
bool NearlyStraight(const CSNode& node, const CEdge& e1, const CEdge& e2)
{
    const CSNode* o1 = e1.GetNode(&node);
    const CSNode* o2 = e2.GetNode(&node);
    if (!o1 || !o2)
        return false;
    const double ax = o1->x - node.x, ay = o1->y - node.y;
    const double bx = o2->x - node.x, by = o2->y - node.y;
    const double opening = std::fabs(std::atan2(ax * by - ay * bx, ax * bx + ay * by));
    return kPi - opening < kCurveTurn;
}

// Whether the node holds a condition of the user's that the corner rule
// must keep at a corner: any condition with a type but a corner type (bit
// 0x20), which only the rule writes.
bool HoldsOwnCornerCondition(const CBoundCond* own)
{
    return own && own->GetBCType() != 0 && !(own->GetBCType() & 0x20u);
}

// The kind that holds what both kinds hold along one line: a simple support
// (1) and a line of symmetry (4) each hold part of what a fixed edge (2)
// holds, and the two together hold all of it.
unsigned JoinKinds(unsigned a, unsigned b)
{
    return a == b ? a : 2u;
}

// The kind whose rows two kinds have in common: the kind itself, the simple
// support of a simply supported and a fixed edge, nothing otherwise.
unsigned MeetKinds(unsigned a, unsigned b)
{
    if (a == b)
        return a;
    return (a | b) == 3u ? 1u : 0u;
}

// Whether two line angles (0 to pi) give the same line.
bool SameLine(double a, double b)
{
    const double d = std::fabs(a - b);
    return NearlyEqual(d, 0.0) || NearlyEqual(d, kPi);
}

// The condition of a node where three or more edges with conditions meet:
// the edges along one line hold together what each holds (JoinKinds); two
// lines at a right angle hold both, each in the node's axes, as a corner of
// two edges does; lines at other angles hold what all have in common in the
// axes of the bisector of the two outermost edges, those on either side of
// the widest opening between neighbouring edges. Returns false when the
// edges carry other than the standard kinds, or nothing is common: the node
// then keeps what it has.
bool SetJunctionCondition(CBoundNode& node, const CBoundCond* own, const std::vector<CEdge*>& edges)
{
    struct Line {
        double angle; // 0 to pi
        unsigned kind;
    };
    std::vector<Line> lines;
    for (CEdge* edge : edges) {
        const CBoundCond* bc = edge->GetBC(0);
        if (!IsEdgeKind(*bc))
            return false;
        const double angle = edge->GetCClWAngle();
        auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const Line& l) { return SameLine(l.angle, angle); });
        if (line == lines.end())
            lines.push_back({angle, bc->GetBCType()});
        else
            line->kind = JoinKinds(line->kind, bc->GetBCType());
    }
    if (lines.size() == 1) {
        node.SetStandBC(lines[0].kind, 0);
        node.SetAngle(lines[0].angle, -1);
        return true;
    }
    if (lines.size() == 2) {
        const double d = std::fabs(lines[0].angle - lines[1].angle);
        if (NearlyEqual(d, kPi / 2.0)) {
            // Both kinds in the node's axes: the same kind along x and y
            // (bit 0x20), or the lower kind along x and the other along y.
            const Line& along = lines[0].kind <= lines[1].kind ? lines[0] : lines[1];
            const unsigned k1 = lines[0].kind, k2 = lines[1].kind;
            node.SetStandBC(k1 == k2 ? (0x20u | k1) : (k1 | k2), 0);
            node.SetAngle(along.angle, -1);
            return true;
        }
    }
    unsigned common = lines[0].kind;
    for (const Line& l : lines)
        common = MeetKinds(common, l.kind);
    if (common == 0)
        return false;
    // The outermost edges: the two around the widest angle between edges
    // leaving the node.
    std::vector<double> out;
    for (CEdge* edge : edges) {
        const CSNode* other = edge->GetNode(static_cast<CSNode*>(&node));
        if (!other)
            return false;
        double a = std::atan2(other->y - node.y, other->x - node.x);
        out.push_back(a < 0.0 ? a + 2.0 * kPi : a);
    }
    std::sort(out.begin(), out.end());
    std::size_t widest = out.size() - 1; // the gap from the last round to the first
    double gap = out.front() + 2.0 * kPi - out.back();
    for (std::size_t i = 0; i + 1 < out.size(); ++i)
        if (out[i + 1] - out[i] > gap) {
            gap = out[i + 1] - out[i];
            widest = i;
        }
    const double first = out[widest], second = out[(widest + 1) % out.size()];
    auto lineAngle = [](double a) { return a >= kPi ? a - kPi : a; };
    const double bisector = MeanLineAngle(lineAngle(first), lineAngle(second));
    if (HoldsOwnCondition(own, bisector))
        return true;
    node.SetStandBC(common, 0);
    node.SetAngle(bisector, -1);
    return true;
}

template <class F> void ForPlateSubs(CObList* subs, F f)
{
    if (!subs)
        return;
    for (POSITION p = subs->GetHeadPosition(); p;)
        if (auto* plate = dynamic_cast<CSectPlate*>(subs->GetNext(p)))
            f(plate);
}

// Writes v into the columns first..last (clipped to the matrix) of count
// rows from row on; row advances past them.
void FillRows(CMatrix& data, int& row, int count, int first, int last, double v)
{
    last = std::min(last, data.GetColumns() - 1);
    for (int k = 0; k < count; ++k, ++row)
        if (row >= 0 && row < data.GetRows())
            for (int c = first; c <= last; ++c)
                data[row][c] = v;
}

// A plane value + gradient at the element centres into the value column and
// the two gradient columns.
void WritePlane(CMeshOrganizer& mesh, CMatrix& data, int firstRow, double reference, double gx,
                double gy, int valueCol, int gradCol)
{
    int row = firstRow;
    if (gx == 0.0 && gy == 0.0) {
        if (reference != 0.0)
            mesh.SetElemValue(data, reference, row, valueCol);
        return;
    }
    CVector g(2);
    g[0] = gx;
    g[1] = gy;
    CLongVector cols;
    cols.Allocate(3, true, 0);
    cols[0] = valueCol;
    cols[1] = gradCol;
    cols[2] = gradCol + 1;
    mesh.SetElemGrad(data, reference, g, cols, row);
}

} // namespace

CObject* CSectPlate::Discretize()
{
    if (m_pMaterial && !IsVoid(m_pMaterial)) {
        if (CSectMeshArea::m_bStop)
            return this;
        // Structured attempt; it falls back to triangles silently.
        if (GetCount() == 4 && !m_pSubList && !m_pMesh) {
            m_pMesh = new CMeshOrganizer;
            m_pMesh->m_dwWord = 1;
            CQuadMesher quad(this, m_pMesh, CString());
            if (!quad.Mesh(CElement::m_iStaticKind, g_iOddPatternIndex, g_iEvenPatternIndex,
                           kSixth)) {
                delete m_pMesh;
                m_pMesh = nullptr;
            }
        }
        if (!m_pMesh) {
            auto* cells = new CObList(10);
            const int inner = FindIntCells(cells);
            if (cells->IsEmpty()) {
                delete cells;
                cells = nullptr;
            }
            int count = inner;
            ForOutline(*this, [&](CSNode* node, CSNode* next) {
                CEdge* edge = GetComEdge(node, next);
                count += 1 + (edge ? edge->GetSubNodeCount() : 0);
            });
            count += GetRefineCount();
            m_pMesh = new CMeshOrganizer;
            auto* mesher = new CTriMesh(this, m_pMesh);
            mesher->m_iKind = CElement::m_iStaticKind;
            const bool ok = mesher->Mesh(cells, count, inner, !CSectMeshArea::m_bNotifyWarning);
            delete mesher;
            if (!ok) {
                delete m_pMesh;
                m_pMesh = nullptr;
                return this;
            }
            // Renew the memberships of the refine nodes now that the mesh
            // uses them.
            POSITION firstPoint = nullptr;
            if (CObList* refine = GetRefineList(firstPoint)) {
                for (POSITION p = refine->GetHeadPosition(); p;) {
                    CObject* ob = refine->GetNext(p);
                    if (auto* node = dynamic_cast<CSNode*>(ob)) {
                        node->RemoveGraph(this);
                        node->AddGraph(this);
                    } else if (auto* graph = dynamic_cast<CGraph*>(ob)) {
                        for (POSITION q = graph->GetHeadPosition(); q;) {
                            CSNode* n = graph->GetNextNode(q);
                            n->RemoveGraph(graph);
                            n->AddGraph(graph);
                        }
                    }
                }
            }
        }
        if (m_pMesh) {
            // Elements of equal name are smoothed together.
            const int bits = CMeshOrganizer::m_iSmootType;
            CString name;
            if (bits & 4) {
                name.Format("%p", static_cast<void*>(this));
            } else {
                if (bits & 8) {
                    const int n = m_ThicknessCoeffs.GetSize();
                    const double t = m_dThickness;
                    CString part;
                    if (n <= 0)
                        part.Format("[%e]", t);
                    else if (n == 1)
                        part.Format("[%e;%e]", t, m_ThicknessCoeffs[0]);
                    else if (n == 2)
                        part.Format("[%e;%e;%e]", t, m_ThicknessCoeffs[0], m_ThicknessCoeffs[1]);
                    else if (n == 3)
                        part.Format("[%e;%e;%e;%e]", t, m_ThicknessCoeffs[0], m_ThicknessCoeffs[1],
                                    m_ThicknessCoeffs[2]);
                    else
                        part.Format("[%e;%e;%e;%e;%e]", t, m_ThicknessCoeffs[0],
                                    m_ThicknessCoeffs[1], m_ThicknessCoeffs[2],
                                    m_ThicknessCoeffs[3]);
                    name += part;
                }
                if (bits & 2) {
                    if (m_pMaterial) {
                        CString withMaterial;
                        withMaterial.Format("%s%p", static_cast<const char*>(name),
                                            static_cast<void*>(m_pMaterial));
                        name = withMaterial;
                    } else {
                        name += "VOID";
                    }
                }
                if (bits & 16)
                    name += GetName();
            }
            m_pMesh->SetNames(name);
        }
    }
    return CSectArea::Discretize();
}

bool CSectPlate::MeshQuadRegion(int oddPattern, int evenPattern, double angle)
{
    // A hole is never meshed (whether or not it lies in another region).
    if (IsVoid(m_pMaterial))
        return true;
    if (CSectMeshArea::m_bStop || GetCount() != 4)
        return false;
    if (m_pMesh)
        m_pMesh->Clear();
    else
        m_pMesh = new CMeshOrganizer;
    m_pMesh->m_dwWord = 1;
    CString name;
    if (m_ThicknessCoeffs.GetSize() <= 3)
        name.Format("%e", m_dThickness);
    else
        name = GetName();
    CQuadMesher quad(this, m_pMesh, name);
    if (quad.Mesh(CElement::m_iStaticKind, oddPattern, evenPattern, angle))
        return true;
    delete m_pMesh;
    m_pMesh = nullptr;
    return false;
}

void CSectPlate::InsertElementMaterials(int* table, int& index, int stride)
{
    if (m_pMesh && table) {
        const int id = GetMaterialID();
        int k = 0;
        for (POSITION p = m_pMesh->GetHeadPosition(); p; ++k) {
            m_pMesh->GetNext(p);
            table[index + k * stride] = id;
        }
        // The node identifiers follow the material column.
        ++index;
        long ids[32];
        for (POSITION p = m_pMesh->GetHeadPosition(); p;) {
            CElement* e = m_pMesh->GetNextElem(p);
            if (e->GetCount() > 32)
                continue;
            int n = 0;
            e->InsertFE(ids, n, -1, false);
            for (int j = 0; j < n; ++j)
                table[index + j] = static_cast<int>(ids[j]);
            index += stride;
        }
        --index;
    }
    ForPlateSubs(m_pSubList,
                 [&](CSectPlate* s) { s->InsertElementMaterials(table, index, stride); });
}

void CSectPlate::FreeThermalStrains(CMaterial& material, bool planeStrain, double (&perDegree)[2])
{
    const double ax = material.dGetParam(11), ay = material.dGetParam(12);
    perDegree[0] = ax;
    perDegree[1] = ay;
    if (planeStrain) {
        // Held through the thickness (strain z = 0) the material pushes back
        // with sigma z = -E alpha z dT, which widens the in-plane free
        // strain by nu alpha z dT. The material gives no expansion through
        // the thickness: it is taken as the mean of the two in-plane ones,
        // so an isotropic material gets (1 + nu) alpha dT.
        const double az = 0.5 * (ax + ay), nu = material.GetNu();
        perDegree[0] += nu * az;
        perDegree[1] += nu * az;
    }
}

void CSectPlate::DisperseElementData(CMatrix& data, int& firstRow, int mode)
{
    if (m_pMesh) {
        const int count = m_pMesh->GetCount();
        // Material axes into column 0.
        if (m_bPolar || m_vAxes.GetSize() > 0) {
            int row = firstRow;
            m_pMesh->DispersAngle(data, m_bPolar, m_vAxes, row, 0);
        }
        const CVector& lc = m_LoadCoeffs;
        const int nl = lc.GetSize();
        if (mode == 2) {
            // Distributed load: a plane of nodal values or a constant.
            if (nl >= 4) {
                int row = firstRow;
                CVector g(2);
                g[0] = lc[2];
                g[1] = lc[3];
                m_pMesh->DispersNodeValue(data, m_dLoad - lc[0] * lc[2] - lc[1] * lc[3], g, row, 5);
            } else if (m_dLoad != 0.0) {
                int row = firstRow;
                FillRows(data, row, count, 5, data.GetColumns() - 1, m_dLoad);
            }
        } else if (nl >= 7) {
            // Temperature and initial strain: two planes around (c1, c2).
            const double px = lc[1], py = lc[2];
            WritePlane(*m_pMesh, data, firstRow, m_dLoad - px * lc[3] - py * lc[4], lc[3], lc[4], 5,
                       7);
            WritePlane(*m_pMesh, data, firstRow, lc[0] - px * lc[5] - py * lc[6], lc[5], lc[6], 6,
                       9);
        } else if (nl >= 4) {
            if (m_pMaterial) {
                // One temperature plane scaled into the two free strains.
                double f[2];
                FreeThermalStrains(*m_pMaterial, mode == 1, f);
                for (int k = 0; k < 2; ++k) {
                    const double value = m_dLoad * f[k], gx = lc[2] * f[k], gy = lc[3] * f[k];
                    WritePlane(*m_pMesh, data, firstRow, value - lc[0] * gx - lc[1] * gy, gx, gy,
                               5 + k, 7 + 2 * k);
                }
            }
        } else if (m_dLoad != 0.0) {
            int row = firstRow;
            m_pMesh->SetElemValue(data, m_dLoad, row, 5);
        }
        // Thickness last: it advances firstRow past this region's rows.
        const CVector& tc = m_ThicknessCoeffs;
        if (tc.GetSize() >= 4) {
            CVector g(2);
            g[0] = tc[2];
            g[1] = tc[3];
            m_pMesh->DispersNodeValue(data, m_dThickness - tc[0] * tc[2] - tc[1] * tc[3], g,
                                      firstRow, 1);
        } else {
            FillRows(data, firstRow, count, 1, 4, m_dThickness);
        }
    }
    ForPlateSubs(m_pSubList, [&](CSectPlate* s) { s->DisperseElementData(data, firstRow, mode); });
}

void CSectPlate::SetBoundaryConditions()
{
    std::vector<CEdge*> edges;
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* node = dynamic_cast<CBoundNode*>(GetNextPrGrNode(pos));
        if (!node)
            continue;
        CBoundCond* own = node->GetBC(0);
        if (own && (own->GetBCType() & 0x10u))
            continue;
        edges.clear();
        if (CObList* list = node->GetEdgeList())
            for (POSITION e = list->GetHeadPosition(); e;) {
                auto* edge = static_cast<CEdge*>(list->GetNext(e));
                if (edge->GetBC(0))
                    edges.push_back(edge);
            }
        if (edges.empty()) {
            node->ClearBC(-1);
        } else if (edges.size() == 1) {
            node->SetBC(*edges[0]->GetBC(0), -1);
            node->SetAngle(edges[0]->GetCClWAngle(), -1);
        } else if (edges.size() == 2) {
            CBoundCond* b1 = edges[0]->GetBC(0);
            CBoundCond* b2 = edges[1]->GetBC(0);
            const double a1 = edges[0]->GetCClWAngle();
            const double a2 = edges[1]->GetCClWAngle();
            const double d = std::max(a1, a2) - std::min(a1, a2);
            auto take = [&]() {
                if (*b1 == *b2)
                    node->SetBC(*b1, -1);
                else
                    node->SetBC(*b1 + *b2, 0);
            };
            if (NearlyEqual(d, kPi) || NearlyEqual(d, 0.0)) {
                take();
                node->SetAngle(a1, -1);
            } else if (NearlyEqual(d, kPi / 2.0) || NearlyEqual(d, 3.0 * kPi / 2.0)) {
                const bool same = *b1 == *b2;
                take();
                if (same && node->GetBC(0))
                    node->GetBC(0)->AddTypeBit(0x20);
                // The node's x axis runs along an edge, along the lower
                // kind's edge when the kinds differ: the combined type holds
                // that kind along x and the other along y.
                node->SetAngle(b2->GetBCType() < b1->GetBCType() ? a2 : a1, -1);
            } else if (NearlyStraight(*node, *edges[0], *edges[1])) {
                if (CBoundCond* kind = SharedKind(*b1, *b2)) {
                    const double bisector = MeanLineAngle(a1, a2);
                    if (!HoldsOwnCondition(own, bisector)) {
                        node->SetBC(*kind, -1);
                        node->SetAngle(bisector, -1);
                    }
                }
            } else if (IsEdgeKind(*b1) && IsEdgeKind(*b2) && !HoldsOwnCornerCondition(own)) {
                // A corner: each edge holds its part of a direction pair (u
                // and v, the two slopes) in its own axes, and two lines at an
                // oblique angle never hold the same part, so together they
                // hold the whole pair: each kind, joined, along x and y of
                // the node (two rollers fix the corner).
                node->SetStandBC(0x20u | JoinKinds(b1->GetBCType(), b2->GetBCType()), 0);
                node->SetAngle(a1, -1);
            }
        } else {
            SetJunctionCondition(*node, own, edges);
        }
    }
    ForPlateSubs(m_pSubList, [](CSectPlate* s) { s->SetBoundaryConditions(); });
}
