#include "app/analysis/solverinput.h"

#include <cmath>
#include <cstdlib>

#include "femodel/boundcond.h"
#include "femodel/load.h"
#include "geometry/edge.h"
#include "geometry/snode.h"
#include "platform/ferrand/material.h"

bool GetElementLayout(int code, ElementLayout& layout)
{
    switch (code) {
    case 31: layout = {2, 4, 12}; return true;
    case 32: layout = {2, 7, 12}; return true;
    case 33: layout = {6, 4, 12}; return true;
    case 41:
    case 42: layout = {2, 5, 15}; return true;
    case 44:
    case 46: layout = {2, 9, 15}; return true;
    case 61: layout = {1, 7, 9}; return true;
    case 65:
    case 66: layout = {3, 4, 9}; return true;
    case 75:
    case 85: layout = {6, 7, 15}; return true;
    case 81: layout = {6, 4, 15}; return true;
    default: return false;
    }
}

bool IsMembraneCode(int code)
{
    switch (code) {
    case 31: case 32: case 33: case 41: case 42: case 44: case 46: return true;
    default: return false;
    }
}

bool IsPlateBendingCode(int code)
{
    switch (code) {
    case 61: case 65: case 66: case 75: case 81: case 85: return true;
    default: return false;
    }
}

namespace {

// The DOFs (1-based) that one standard kind holds along an edge that runs
// along the node's x axis.
struct SupportRow {
    int n;
    int dofs[6];
};

// The standard kinds of a code, and how its DOFs change places when the x
// and y roles of the node axes are exchanged (swap[d] is the DOF that plays
// d's part for an edge along y; entry 0 unused).
struct SupportTable {
    SupportRow kind1, kind2, kind4;
    int swap[7];
    bool membrane;

    const SupportRow* Kind(unsigned kind) const
    {
        switch (kind) {
        case 1: return &kind1;
        case 2: return &kind2;
        case 4: return &kind4;
        default: return nullptr;
        }
    }
};

bool GetSupportTable(int code, SupportTable& t)
{
    switch (code) {
    case 31: case 32: case 41: case 42: case 44: case 46:
        // u, v
        t = {{1, {2}}, {2, {1, 2}}, {1, {1}}, {0, 2, 1}, true};
        return true;
    case 33:
        // u, v, u,x, v,x, u,y, v,y
        t = {{2, {2, 4}}, {4, {1, 2, 3, 4}}, {2, {1, 3}}, {0, 2, 1, 6, 5, 4, 3}, true};
        return true;
    case 61:
        // w
        t = {{1, {1}}, {1, {1}}, {0, {}}, {0, 1}, false};
        return true;
    case 65: case 75:
        t = {{2, {1, 2}}, {3, {1, 2, 3}}, {1, {3}}, {0, 1, 3, 2}, false};
        return true;
    case 66:
        t = {{2, {1, 3}}, {3, {1, 2, 3}}, {1, {2}}, {0, 1, 3, 2}, false};
        return true;
    case 81: case 85:
        // w, w,x, w,y, w,xx, w,xy, w,yy
        t = {{3, {1, 2, 4}}, {5, {1, 2, 3, 4, 5}}, {2, {3, 5}}, {0, 1, 3, 2, 6, 5, 4}, false};
        return true;
    default:
        return false;
    }
}

// Bit d of the mask for every DOF d of the row, with x and y exchanged when
// the edge runs along the node's y axis.
unsigned RowMask(const SupportTable& t, const SupportRow& row, bool alongY)
{
    unsigned mask = 0;
    for (int i = 0; i < row.n; ++i)
        mask |= 1u << (alongY ? t.swap[row.dofs[i]] : row.dofs[i]);
    return mask;
}

// The DOFs that a type holds, as a mask. Types 1, 2 and 4 are the edge
// kinds along the node's x axis. At a corner where two supported edges meet
// at a right angle the node holds what both edges hold, each in the node's
// axes: the same kind on both edges (bit 0x20 with the kind: 33, 34, 36) or
// two different kinds (their types OR-ed: 3, 5, 6), the lower kind's edge
// along x. Membranes hold a corner of two simply supported or two fixed
// edges (33, 34) as a fixed support does.
unsigned SupportMask(const SupportTable& t, unsigned type)
{
    if (const SupportRow* row = t.Kind(type))
        return RowMask(t, *row, false);
    if ((type & ~7u) == 0x20u) {
        const SupportRow* row = t.Kind(type & 7u);
        if (!row)
            return 0;
        if (t.membrane && (type == 33 || type == 34))
            return RowMask(t, t.kind2, false);
        return RowMask(t, *row, false) | RowMask(t, *row, true);
    }
    const unsigned low = type & (~type + 1u);
    const SupportRow* along = t.Kind(low);
    const SupportRow* across = t.Kind(type & ~low);
    if (!along || !across)
        return 0;
    return RowMask(t, *along, false) | RowMask(t, *across, true);
}

} // namespace

int SupportDOFs(int code, unsigned type, int* dofs)
{
    SupportTable table;
    if (!GetSupportTable(code, table))
        return 0;
    const unsigned mask = SupportMask(table, type);
    int n = 0;
    for (int d = 1; d <= 6; ++d)
        if (mask & (1u << d))
            dofs[n++] = d;
    return n;
}

int CountSupportDOFs(int code, unsigned type)
{
    int dofs[kMaxSupportDOFs];
    return SupportDOFs(code, type, dofs);
}

bool NumberMaterialList(CObList& materials, CMatrix& out, int& count)
{
    count = 0;
    if (materials.IsEmpty())
        return false;
    int voidRow = -1;
    for (POSITION p = materials.GetHeadPosition(); p;) {
        auto* m = static_cast<CMaterial*>(materials.GetNext(p));
        if (!m || m->GetElemCount() == 0)
            continue;
        ++count;
        m->SetID(static_cast<short>(count));
        if (m->GetName() == "VOID")
            voidRow = count - 1;
    }
    if (count == 0 || !out.Allocate(count, 7, true, 0.0))
        return false;
    int row = 0;
    for (POSITION p = materials.GetHeadPosition(); p;) {
        auto* m = static_cast<CMaterial*>(materials.GetNext(p));
        if (m && m->GetElemCount() != 0)
            m->InsertProp(out, row, 2);
    }
    if (voidRow >= 0) {
        double e = 0.0, g = 0.0;
        bool first = true;
        for (int r = 0; r < count; ++r) {
            if (r == voidRow && count > 1)
                continue;
            if (first || out[r][0] < e)
                e = out[r][0];
            if (first || out[r][3] < g)
                g = out[r][3];
            first = false;
        }
        out[voidRow][0] = e * 5e-06;
        out[voidRow][1] = e * 5e-06;
        out[voidRow][3] = g * 5e-06;
    }
    return true;
}

void SelectConditions(CObList& conditions, int loadCase, CObList& out)
{
    for (POSITION p = conditions.GetHeadPosition(); p;) {
        auto* bc = static_cast<CBoundCond*>(conditions.GetNext(p));
        CBoundCond* c = bc ? bc->Jump(loadCase) : nullptr;
        if (!c)
            continue;
        // The node number that the collection wrote into the condition does
        // not make it a condition.
        const long id = c->m_ulID;
        c->m_ulID = 0;
        const bool clear = c->IsClear(false);
        c->m_ulID = id;
        if (!clear)
            out.AddTail(c);
    }
}

void NodeDofCounts(int code, const CLongMatrix& topology, int nodes, std::vector<int>& dofs)
{
    ElementLayout layout;
    if (!GetElementLayout(code, layout) || nodes <= 0) {
        dofs.assign(nodes > 0 ? nodes : 0, 0);
        return;
    }
    int corner = layout.dofsPerNode, side = layout.dofsPerNode;
    if (code == 61)
        corner = side = 1;
    else if (code == 75)
        corner = 3, side = 2;
    else if (code == 85)
        corner = 6, side = 1;
    if (corner == side) {
        dofs.assign(nodes, corner);
        return;
    }
    // Six-node triangles: material, three corners, three mid-side nodes.
    dofs.assign(nodes, 0);
    const int rows = topology.GetRows(), cols = topology.GetColumns();
    for (int e = 0; e < rows; ++e) {
        const LONG* row = topology[e];
        for (int c = 1; c < cols; ++c) {
            const LONG n = row[c];
            if (n >= 1 && n <= nodes)
                dofs[n - 1] = c <= 3 ? corner : side;
        }
    }
}

namespace {

struct BoundaryRows {
    std::vector<LONG> suppressed;   // node, DOF
    std::vector<double> prescribed; // node, DOF, value
    std::vector<double> springs;    // node, DOF, stiffness

    void Suppress(long node, int dof)
    {
        suppressed.push_back(static_cast<LONG>(node));
        suppressed.push_back(dof);
    }
    void Prescribe(long node, int dof, double value)
    {
        prescribed.push_back(static_cast<double>(node));
        prescribed.push_back(dof);
        prescribed.push_back(value);
    }
    void Spring(long node, int dof, double value)
    {
        springs.push_back(static_cast<double>(node));
        springs.push_back(dof);
        springs.push_back(value);
    }
};

// The user entries of a condition: n DOF numbers followed by n values.
template <class F>
void ForEachEntry(CBoundCond* bc, F f)
{
    CVector* v = bc->GetBCVector();
    if (!v)
        return;
    const int n = v->GetSize() / 2;
    for (int i = 0; i < n; ++i)
        f(static_cast<int>(std::lround((*v)[i])), (*v)[n + i]);
}

// A condition at a node with dofs unknowns: standard supports by the table,
// user entries for the DOFs that exist there.
void AddNodeCondition(int code, CBoundCond* bc, long node, int dofs, BoundaryRows& rows)
{
    const unsigned type = bc->GetBCType();
    if (type == 0)
        return;
    if (type == 16) {
        ForEachEntry(bc, [&](int d, double value) {
            if (d >= 1 && d <= dofs) {
                if (value == 0.0)
                    rows.Suppress(node, d);
                else
                    rows.Prescribe(node, d, value);
            } else if (d < 0 && -d <= dofs && value != 0.0) {
                rows.Spring(node, -d, value);
            }
        });
        return;
    }
    int list[kMaxSupportDOFs];
    const int n = SupportDOFs(code, type, list);
    for (int i = 0; i < n; ++i)
        if (list[i] <= dofs)
            rows.Suppress(node, list[i]);
}

// A condition at a mid-side node of a six-node plate element, whose
// unknowns are edge rotations (DOF 1, for T15 also DOF 2).
void AddMidSideCondition(int code, CBoundCond* bc, long node, BoundaryRows& rows)
{
    const bool t15 = code == 75;
    const unsigned type = bc->GetBCType();
    if (type == 16) {
        const bool flip = bc->GetAngle() >= 1.5707963267948966;
        ForEachEntry(bc, [&](int d, double value) {
            int arrayDof = 0;
            const bool fromThree = d == 3 || d == -3;
            if (fromThree)
                arrayDof = t15 ? 2 : 1;
            else if (t15 && (d == 1 || d == -1))
                arrayDof = 1;
            if (arrayDof == 0)
                return;
            if (value == 0.0) {
                rows.Suppress(node, arrayDof);
                return;
            }
            const double signedValue = fromThree && flip ? -value : value;
            if (d > 0)
                rows.Prescribe(node, arrayDof, code == 61 ? value : signedValue);
            else
                rows.Spring(node, arrayDof, signedValue);
        });
        return;
    }
    if (t15) {
        if (type == 1 || type == 2)
            rows.Suppress(node, 1);
        if (type == 2 || type == 4)
            rows.Suppress(node, 2);
    } else if (type == 2 || type == 4) {
        rows.Suppress(node, 1);
    }
}

// The rows of cols values each in v as the matrix out (CMatrix or
// CLongMatrix); false when it cannot be allocated.
template <class Matrix, class Value>
bool ToMatrix(const std::vector<Value>& v, int cols, Matrix& out)
{
    const int rows = static_cast<int>(v.size()) / cols;
    if (rows == 0) {
        out.Allocate(0, cols, false, Value{});
        return true;
    }
    if (!out.Allocate(rows, cols, false, Value{}))
        return false;
    std::copy(v.begin(), v.end(), out.GetVector());
    return true;
}

} // namespace

int CornerDofs(int code)
{
    switch (code) {
    case 61: return 1;
    case 75: return 3;
    case 85: return 6;
    default: {
        ElementLayout layout;
        return GetElementLayout(code, layout) ? layout.dofsPerNode : 0;
    }
    }
}

bool FillCouplingArray(int code, CObList& links, const CLongMatrix& topology, int nodeCount, CMatrix& couplings)
{
    std::vector<int> dofs;
    NodeDofCounts(code, topology, nodeCount, dofs);
    auto dofsAt = [&](long node) { return node >= 1 && node <= nodeCount ? dofs[node - 1] : 0; };
    std::vector<double> rows;
    for (POSITION p = links.GetHeadPosition(); p;) {
        auto* link = static_cast<CEdge*>(links.GetNext(p));
        if (!link || !link->GetNode1() || !link->GetNode2())
            continue;
        const long a = static_cast<long>(link->GetNode1()->GetID());
        const long b = static_cast<long>(link->GetNode2()->GetID());
        const int n = std::min(dofsAt(a), dofsAt(b));
        for (int d = 1; d <= n; ++d) {
            const double row[8] = {static_cast<double>(a), static_cast<double>(d), static_cast<double>(b),
                                   static_cast<double>(d), 1.0, 0.0, 0.0, 0.0};
            rows.insert(rows.end(), row, row + 8);
        }
    }
    return ToMatrix(rows, 8, couplings);
}

int FillConditionArrays(int code, CObList& conditions, CMatrix& nodes, CLongMatrix& suppressed,
                        CMatrix& prescribed, CMatrix& springs)
{
    ElementLayout layout;
    if (!GetElementLayout(code, layout) || conditions.IsEmpty())
        return -1;
    const int nodeCount = nodes.GetRows();
    const bool sixNodePlate = code == 61 || code == 75 || code == 85;
    const int cornerDofs = CornerDofs(code);
    BoundaryRows rows;
    for (POSITION p = conditions.GetHeadPosition(); p;) {
        auto* bc = static_cast<CBoundCond*>(conditions.GetNext(p));
        const long id = bc->GetID();
        const long node = std::labs(id);
        if (sixNodePlate && id < 0) {
            AddMidSideCondition(code, bc, node, rows);
            continue;
        }
        // The T6 element has no rotation axes at its nodes.
        if (code != 61 && node >= 1 && node <= nodeCount)
            nodes[node - 1][2] = bc->GetAngle();
        AddNodeCondition(code, bc, node, cornerDofs, rows);
    }
    if (!ToMatrix(rows.suppressed, 2, suppressed) || !ToMatrix(rows.prescribed, 3, prescribed) ||
        !ToMatrix(rows.springs, 3, springs))
        return 0;
    return 1;
}

int FillBoundaryArrays(int code, CObList& conditions, CObList& links, const CLongMatrix& topology,
                       CMatrix& nodes, CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings,
                       CMatrix& springs)
{
    ElementLayout layout;
    if (!GetElementLayout(code, layout))
        return -1;
    if (!FillCouplingArray(code, links, topology, nodes.GetRows(), couplings))
        return 0;
    return FillConditionArrays(code, conditions, nodes, suppressed, prescribed, springs);
}

namespace {

double Entry(const CVector& v, int i) { return i < v.GetSize() ? v[i] : 0.0; }

} // namespace

bool FillMembraneLoads(int code, CObList& nodeLoads, CObList& edgeLoads, CMatrix& nodeArray,
                       CMatrix& edgeArray)
{
    std::vector<double> nl;
    nl.reserve(static_cast<std::size_t>(nodeLoads.GetCount()) * 3);
    for (POSITION p = nodeLoads.GetHeadPosition(); p;) {
        auto* load = static_cast<CLoad*>(nodeLoads.GetNext(p));
        const double id = static_cast<double>(load->GetID());
        nl.push_back(load->IsLocal() ? -id : id);
        nl.push_back(Entry(*load, 0));
        nl.push_back(Entry(*load, 1));
    }
    const int w = code == 33 ? 8 : 6;
    std::vector<double> el;
    el.reserve(static_cast<std::size_t>(edgeLoads.GetCount()) * w);
    for (POSITION p = edgeLoads.GetHeadPosition(); p;) {
        auto* load = static_cast<CEdgeLoad*>(edgeLoads.GetNext(p));
        double row[8] = {};
        row[0] = static_cast<double>(load->GetElID());
        row[1] = static_cast<double>(load->GetID());
        for (int c = 2; c < w; ++c)
            row[c] = Entry(*load, c - 2);
        if (row[0] < 0.0) {
            // The edge runs against the element: start and end change places.
            row[0] = -row[0];
            std::swap(row[2], row[4]);
            std::swap(row[3], row[5]);
            if (load->IsLocal())
                for (int c = 2; c < w; ++c)
                    row[c] = -row[c];
        }
        el.insert(el.end(), row, row + w);
    }
    return ToMatrix(nl, 3, nodeArray) && ToMatrix(el, w, edgeArray);
}

bool FillPlateLoads(CObList& nodeLoads, CObList& edgeLoads, CMatrix& nodes, CMatrix& edgeArray)
{
    const int nodeCount = nodes.GetRows();
    for (POSITION p = nodeLoads.GetHeadPosition(); p;) {
        auto* load = static_cast<CLoad*>(nodeLoads.GetNext(p));
        const long id = load->GetID();
        if (id >= 1 && id <= nodeCount)
            nodes[id - 1][3] = Entry(*load, 0);
    }
    std::vector<double> el;
    el.reserve(static_cast<std::size_t>(edgeLoads.GetCount()) * 5);
    for (POSITION p = edgeLoads.GetHeadPosition(); p;) {
        auto* load = static_cast<CEdgeLoad*>(edgeLoads.GetNext(p));
        const long element = load->GetElID();
        const double row[5] = {
            static_cast<double>(std::labs(element)), static_cast<double>(std::labs(load->GetID())),
            element < 0 ? -Entry(*load, 3) : Entry(*load, 1), element < 0 ? -Entry(*load, 1) : Entry(*load, 3),
            element < 0 ? -Entry(*load, 5) : Entry(*load, 5)};
        el.insert(el.end(), row, row + 5);
    }
    return ToMatrix(el, 5, edgeArray);
}

void FillKeyData(std::int32_t* key, const KeyDataInput& in)
{
    for (int i = 0; i < kKeyDataSize; ++i)
        key[i] = 0;
    const int c = in.code;
    key[0] = in.elements;
    key[1] = in.nodes;
    key[2] = in.materials;
    key[3] = in.suppressedRows;
    key[4] = in.prescribedRows;
    key[5] = in.couplingRows;
    key[6] = in.springRows;
    key[9] = c;
    key[10] = in.storage;
    // Sparse storage reorders only for 1; any other choice but "none" means
    // reordering there.
    key[11] = in.storage == 2 ? (in.renumbering != 0 ? 1 : 0) : in.renumbering;
    key[16] = in.edgeLoadRows;
    ElementLayout layout;
    if (GetElementLayout(c, layout)) {
        key[18] = layout.topologyColumns;
        key[19] = layout.elementDataColumns;
    }
    if (in.membrane) {
        key[15] = in.nodeLoadRows;
        key[17] = in.planeStrain;
        key[20] = c == 33 ? 8 : 6;
        if (c == 41 || c == 42 || c == 44 || c == 46) {
            static const int points[3] = {1, 4, 9};
            key[26] = in.integrationPoints >= 0 && in.integrationPoints <= 2 ? points[in.integrationPoints] : 0;
        }
        if (c == 41 || c == 44 || c == 46)
            key[27] = in.integrationRule - 1;
    } else {
        key[20] = in.edgeLoadRows > 0 ? 5 : 0;
        if (c == 75 || c == 81 || c == 85)
            key[26] = in.integrationRule;
    }
    key[24] = in.printElements;
    key[25] = in.printNodes;
    key[29] = in.printLevel;
}

void PrepareVolumeForce(CMatrix& force, double& angle, double& magnitude)
{
    if (force.GetColumns() != 9 || force.GetRows() < 1) {
        force.Allocate(1, 9, true, 0.0);
        angle = -90.0;
        magnitude = 1.0;
    } else {
        angle = force[0][6];
        magnitude = force[0][7];
    }
    if (force[0][8] == 1.0) {
        const double a = angle * 0.017453292519943295;
        force[0][6] = std::cos(a) * magnitude;
        force[0][7] = std::sin(a) * magnitude;
    } else {
        force[0][6] = 0.0;
        force[0][7] = 0.0;
    }
}

void RestoreVolumeForce(CMatrix& force, double angle, double magnitude)
{
    if (force.GetRows() < 1 || force.GetColumns() != 9)
        return;
    force[0][6] = angle;
    force[0][7] = magnitude;
}
