#include "femodel/element.h"

#include "femodel/boundary.h"
#include "femodel/modelinfo.h"
#include "glstyle/pickcull.h"
#include "glstyle/pickpoints.h"
#include "glstyle/tincora.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

IMPLEMENT_SERIAL_ABSTRACT(CElement, CGraph, 1)

int CElement::m_nNodeVal = 9;
int CElement::m_nVectors = 3;
int CElement::m_iStaticKind = 101;
double CElement::m_strMaxStress[CElement::kMaxResIndex] = {};
double CElement::m_strMinStress[CElement::kMaxResIndex] = {};
double CElement::m_dStaticMax = 0.0;
double CElement::m_dStaticMin = 0.0;
double CElement::m_dForce[8] = {};
CMatrix* CElement::m_pLoadMat = nullptr;
CVector CElement::m_vectStartDOF;
int CElement::m_iPrnSw = 0;
CFile* CElement::pOutputFile = nullptr;

namespace {
constexpr double kTwoPi = 6.283185307179586;
} // namespace

// ------------------------------------------------------------ life cycle

CElement::CElement() = default;

// The copy holds its own copies of the result vectors: two elements never
// share one.
CElement::CElement(const CElement& source)
    : CGraph(source), m_wSmoothed(source.m_wSmoothed)
{
    if (source.m_pRes && source.m_nRes > 0) {
        m_nRes = source.m_nRes;
        m_pRes = new CVector*[m_nRes];
        for (int k = 0; k < m_nRes; ++k)
            m_pRes[k] = source.m_pRes[k] ? new CVector(*source.m_pRes[k]) : nullptr;
    }
}

CElement::~CElement()
{
    // Sub-nodes of a subdivided edge belong to the edge: they outlive us.
    for (POSITION pos = GetHeadPosition(); pos;) {
        POSITION at = pos;
        CSNode* node = GetNextNode(pos);
        if (node->m_uiFlags & 8u) {
            node->RemoveGraph(this);
            RemoveAt(at);
        }
    }
    DeleteRes();
}

void CElement::AppendNode(CSNode* node)
{
    if (!node)
        return;
    node->AddGraph(this);
    AddTail(node);
}

// ------------------------------------------------------------ archive

void CElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const CString name = m_strName;
        m_strName = "";
        try {
            CGraph::Serialize(ar);
        } catch (...) {
            m_strName = name;
            throw;
        }
        m_strName = name;
        ar << static_cast<DWORD>(m_nRes > 0 && m_pRes ? m_nRes : 0);
        ar << static_cast<WORD>(m_wSmoothed);
        if (m_pRes)
            for (int k = 0; k < m_nRes; ++k)
                ar << static_cast<CObject*>(m_pRes[k]);
        return;
    }
    CGraph::Serialize(ar);
    DWORD n = 0;
    WORD mask = 0;
    ar >> n;
    ar >> mask;
    DeleteRes();
    m_wSmoothed = mask;
    if (n > 0) {
        // Each stored vector takes at least its tag word: a count that the
        // rest of the file cannot back is refused before the allocation.
        ar.CheckAvailable(n, 2);
        if (n > static_cast<DWORD>(std::numeric_limits<int>::max()))
            AfxThrowArchiveException(CArchiveException::generic);
        // Entries are filled one by one so that a broken file leaves a
        // consistent element behind. The element owns its vectors: each
        // must be a new one of its own.
        m_pRes = new CVector*[n]();
        m_nRes = static_cast<int>(n);
        for (DWORD k = 0; k < n; ++k)
            m_pRes[k] = ar.ReadObjectAs<CVector>(RUNTIME_CLASS(CVector), CArchive::useOwned);
    }
    // Only the sub-node flag is cleared: other flags belong to the other
    // graphs that share the nodes.
    for (POSITION pos = GetHeadPosition(); pos;)
        GetNextNode(pos)->m_uiFlags &= ~8u;
}

// ------------------------------------------------------------ results

double CElement::GetRes(int k, int i) const
{
    const CVector* v = GetRes(k);
    return (v && i >= 0 && i < v->GetSize()) ? (*v)[i] : 0.0;
}

void CElement::AllocateRes(int n)
{
    if (m_pRes)
        for (int k = 0; k < m_nRes; ++k) {
            delete m_pRes[k];
            m_pRes[k] = nullptr;
        }
    if (n != m_nRes || n <= 0) {
        delete[] m_pRes;
        m_pRes = nullptr;
    }
    m_nRes = std::max(n, 0);
    if (m_nRes > 0 && !m_pRes)
        m_pRes = new CVector*[m_nRes]();
}

void CElement::SetRes(int k, CVector* v)
{
    if (!m_pRes || k < 0 || k >= m_nRes)
        return;
    if (m_pRes[k] != v)
        delete m_pRes[k];
    m_pRes[k] = v;
}

void CElement::DeleteRes()
{
    if (m_pRes) {
        for (int k = 0; k < m_nRes; ++k)
            delete m_pRes[k];
        delete[] m_pRes;
    }
    m_pRes = nullptr;
    m_nRes = 0;
}

void CElement::MoveResultsTo(CElement* other)
{
    other->DeleteRes();
    other->m_pRes = m_pRes;
    other->m_nRes = m_nRes;
    m_pRes = nullptr;
    m_nRes = 0;
}

void CElement::DeleteResults(int flags)
{
    if (flags & 1)
        AllocateRes(0);
    if (flags & 2)
        ForEachNode(true, [](CSNode* node) { node->AllocateValue(0); });
}

void CElement::Widen(int i, double v)
{
    if (i < 0 || i >= kMaxResIndex)
        return;
    m_strMaxStress[i] = std::max(m_strMaxStress[i], v);
    m_strMinStress[i] = std::min(m_strMinStress[i], v);
}

double CElement::GetStressFromIndex(int r, int p)
{
    if (r < 0)
        return 0.0;
    if (p == -1)
        return r < kMaxResIndex ? m_strMaxStress[r] : 0.0;
    if (p == -2)
        return r < kMaxResIndex ? m_strMinStress[r] : 0.0;
    if (!HasResults() || p < 0)
        return 0.0;
    return ResultAt(p, r);
}

double CElement::ResultAt(int k, int r) const
{
    if (r < 0)
        return 0.0;
    if (r < m_nNodeVal)
        return GetRes(k, r);
    // Displacements and reactions are node values: the node's own vector.
    const CSNode* node = GetNode(k);
    return node ? node->GetValue(r - m_nNodeVal) : 0.0;
}

double CElement::CornerValue(int r, int k)
{
    if (r < m_nNodeVal)
        return GetStressFromIndex(r, k);
    return ResultAt(k, r);
}

double CElement::CornerValue(int r, int k, const CSNode* node)
{
    if (r < m_nNodeVal)
        return GetStressFromIndex(r, k);
    if (r < 0)
        return 0.0;
    return node ? node->GetValue(r - m_nNodeVal) : 0.0;
}

void CElement::PrefetchPlot(int stage) const
{
    switch (stage) {
    case 0:
        // The lines of the object with the node list's head and the
        // result array's address.
        __builtin_prefetch(this);
        __builtin_prefetch(&m_pRes);
        break;
    case 1: {
        const char* head = reinterpret_cast<const char*>(GetHeadPosition());
        __builtin_prefetch(head);
        __builtin_prefetch(head + 64);
        __builtin_prefetch(m_pRes);
        break;
    }
    default:
        for (int k = 0; m_pRes && k < m_nRes && k < 4; ++k)
            if (CVector* v = m_pRes[k])
                __builtin_prefetch(stage == 2 ? static_cast<const void*>(v) : v->GetVector());
        break;
    }
}

bool CElement::CornerNodes(int n, CSNode** corners) const
{
    POSITION pos = GetHeadPosition();
    for (int k = 0; k < n; ++k) {
        if (!pos)
            return false;
        corners[k] = GetNextNode(pos);
    }
    return true;
}

void CElement::SetStresses(CMatrix& m, int& row)
{
    const int nv = std::max(m_nNodeVal, 0);
    if (m_nRes != m_nVectors || !m_pRes) {
        AllocateRes(m_nVectors);
        for (int k = 0; k < m_nRes; ++k)
            m_pRes[k] = new CVector(nv, true, 0.0);
    }
    const int cols = m.GetColumns();
    const int ncopy = std::min(nv, cols);
    for (int k = 0; k < m_nRes; ++k, ++row) {
        CVector* v = m_pRes[k];
        if (!v || v->GetSize() != nv) {
            delete v;
            v = m_pRes[k] = new CVector(nv, true, 0.0);
        }
        if (row < 0 || row >= m.GetRows())
            continue;
        const double* src = m[row];
        double* dst = v->GetVector();
        for (int i = 0; i < ncopy; ++i) {
            dst[i] = src[i];
            Widen(i, src[i]);
        }
    }
}

void CElement::SetNodeValues(CMatrix& m, int& row)
{
    SetNodeValuesOn(m, row, GetCount());
}

void CElement::SetNodeValuesOn(CMatrix& m, int& row, int count)
{
    const int n = m.GetColumns();
    int i = 0;
    for (POSITION pos = GetHeadPosition(); pos && i < count; ++i) {
        CSNode* node = GetNextNode(pos);
        if (!IsOwnNode(node))
            continue;
        node->AllocateValue(n);
        if (row >= 0 && row < m.GetRows()) {
            const double* src = m[row];
            for (int j = 0; j < n; ++j) {
                (*node->m_pValues)[j] = src[j];
                Widen(m_nNodeVal + j, src[j]);
            }
        }
        ++row;
    }
    // Rows of the remaining own nodes are skipped.
    for (POSITION pos = FindIndex(count); pos;)
        if (IsOwnNode(GetNextNode(pos)))
            ++row;
}

void CElement::SetNodeValues(double* values, int& pos, int n)
{
    for (POSITION p = GetHeadPosition(); p;) {
        CSNode* node = GetNextNode(p);
        if (!IsOwnNode(node))
            continue;
        node->AllocateValue(n);
        for (int j = 0; j < n; ++j) {
            const double v = values[pos++];
            (*node->m_pValues)[j] = v;
            Widen(m_nNodeVal + j, v);
        }
    }
}

void CElement::RetElemStress(CMatrix& m, int first, int last, int& row)
{
    first = std::max(first, 0);
    last = std::min(last, m_nNodeVal - 1);
    if (!HasResults())
        return;
    for (int k = 0; k < m_nRes; ++k, ++row)
        for (int i = first; i <= last; ++i)
            m[row][i - first] = GetRes(k, i);
}

void CElement::RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col)
{
    first = std::max(first, 0);
    last = std::min(last, m_nNodeVal - 1);
    if (HasResults())
        for (int k = 0; k < m_nRes; ++k)
            for (int i = first; i <= last; ++i)
                m[row][col + i - first] += GetRes(k, i) / m_nRes;
    ++row;
}

void CElement::RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col)
{
    first = std::max(first, 0);
    last = std::min(last, m_nNodeVal - 1);
    int k = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++k) {
        CSNode* node = GetNextNode(pos);
        if (!IsOwnNode(node))
            continue;
        if (HasResults() && k < m_nRes)
            for (int i = first; i <= last; ++i)
                m[row][col + i - first] += GetRes(k, i);
        ++row;
    }
}

void CElement::GetNodeValues(CMatrix& m, int first, int last, int& row, int col)
{
    first = std::max(first, 0);
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!IsOwnNode(node))
            continue;
        for (int i = first; i <= last; ++i)
            m[row][col + i - first] = node->GetValue(i);
        ++row;
    }
}

// ------------------------------------------------------------ solver arrays

void CElement::SumNodes(long& counter, bool renumber)
{
    ForEachNode(true, [&](CSNode* node) {
        ++counter;
        if (renumber)
            node->SetID(static_cast<unsigned long>(counter));
    });
}

void CElement::InsertNodes(long* ids, double* coords, int& pos, int lead, int trail)
{
    const int record = lead + trail + 2;
    for (POSITION p = GetHeadPosition(); p;) {
        CSNode* node = GetNextNode(p);
        if (!IsOwnNode(node))
            continue;
        coords[pos + lead] = node->x;
        coords[pos + lead + 1] = node->y;
        if (ids)
            ids[pos / record] = static_cast<long>(node->GetID());
        pos += record;
    }
}

void CElement::InsertFE(long* table, int& pos, int width, bool withKind)
{
    int at = pos;
    if (withKind)
        table[at++] = GetKind();
    for (POSITION p = GetHeadPosition(); p;)
        table[at++] = static_cast<long>(GetNextNode(p)->GetID());
    pos = width == -1 ? at : pos + width;
}

void CElement::GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& count)
{
    const int seq = count;
    m_ulID = static_cast<DWORD>(count);
    ++count;
    LONG at = pointers[seq];
    for (POSITION p = GetHeadPosition(); p;)
        nodes[at++] = static_cast<LONG>(GetNextNode(p)->GetID());
    pointers[count] = pointers[count - 1] + GetCount();
}

void CElement::GetMMNPC(CLongMatrix& table)
{
    LONG* row = table[static_cast<int>(m_ulID)];
    int i = 0;
    for (POSITION p = GetHeadPosition(); p;)
        row[i++] = static_cast<LONG>(GetNextNode(p)->GetID());
}

void CElement::GetDiscrCoord(CMatrix& coord)
{
    const int cols = coord.GetColumns();
    for (POSITION p = GetHeadPosition(); p;) {
        CSNode* node = GetNextNode(p);
        if (!IsOwnNode(node))
            continue;
        double* row = coord[static_cast<int>(node->GetID()) - 1];
        row[0] = node->x;
        if (cols >= 2)
            row[1] = node->y;
        if (cols >= 3)
            row[2] = node->z;
    }
}

// ------------------------------------------------------------ conditions, loads

void CElement::GetBCs(CObList& list)
{
    ForEachNode(true, [&](CSNode* node) {
        if (CBoundCond* bc = node->GetBC(0)) {
            bc->SetID(node->GetID());
            list.AddTail(bc);
        }
    });
}

void CElement::GetNodeLoads(CObList& list)
{
    ForEachNode(true, [&](CSNode* node) {
        if (CLoad* load = node->GetLoad()) {
            load->SetID(node->GetID());
            list.AddTail(load);
        }
    });
}

void CElement::GetBCNodes(CObList& list)
{
    ForEachNode(true, [&](CSNode* node) {
        if (node->GetBC(0))
            list.AddTail(node);
    });
}

unsigned CElement::GetBCCode(CBoundCond* cond, CSNode*)
{
    if (!cond)
        return 0;
    switch (cond->GetType()) {
    case 1:
    case 4:
        return 1;
    case 2:
        return 3;
    case 16: {
        const CVector* v = cond->GetDOFVector();
        if (!v || v->GetSize() < 2)
            return 0;
        unsigned code = 0;
        for (int i = 0; i < v->GetSize() / 2; ++i) {
            // Springs (negative numbers) leave their DOF free.
            const int d = static_cast<int>((*v)[i]);
            if (d >= 1 && d <= 32)
                code += 1u << (d - 1);
        }
        return code;
    }
    default:
        return 0;
    }
}

void CElement::Rot2DDOF(CBoundCond* cond, CMatrix& m, CMatrix& rot, int at)
{
    if (!cond || cond->GetAngle() == 0.0)
        return;
    // The condition's local x axis lies at its angle from global x, so
    // global = R local with R the rotation by the angle, and local = T
    // global with T = R^T. The node's two translations turn into the
    // condition's axes: T m T^T on the block at offset at.
    CMatrix::RotMat2D(rot, cond->GetAngle(), true);
    if (at < 0 || at + 2 > m.GetRows() || at + 2 > m.GetColumns())
        return;
    m.SubMult(rot, at, 4 | 8);
}

void CElement::DispToLoad(CBoundCond* cond, CMatrix& m, LONG* dofs, int n, LONG* eqs, int off)
{
    if (!m_pLoadMat || !cond || !cond->GetDOFVector())
        return;
    const CVector& v = *cond->GetDOFVector();
    const int half = v.GetSize() / 2;
    const int cols = m_pLoadMat->GetColumns();
    for (int i = 0; i < n; ++i) {
        if (dofs[i] < 0)
            continue;
        for (int j = 0; j < half; ++j) {
            if (static_cast<LONG>(v[j]) != dofs[i] || v[half + j] == 0.0)
                continue;
            const double u = v[half + j];
            for (int r = 0; r < m.GetRows(); ++r) {
                if (eqs[r] < 0)
                    continue;
                for (int c = 0; c < cols; ++c)
                    (*m_pLoadMat)[eqs[r]][c] -= u * m[r][off + dofs[i]];
            }
        }
    }
}

// ------------------------------------------------------------ model data

void CElement::DM_GetInfo(CInfoContainer& info)
{
    const int mask = info.m_iMask;
    auto nodeLoads = [&](CSNode* node) {
        if (!(mask & 16) && (mask & 1))
            return;
        for (CLoad* load = node->GetLoad(); load; load = load->GetNext()) {
            if (load->GetSize() == 0)
                continue;
            load->SetID(node->GetID());
            ++info[3];
            info[4] += load->GetSize() / 2;
        }
    };
    if (mask & 1) {
        if (mask & 4) {
            m_ulID = static_cast<DWORD>(info[1]);
            ++info[1];
        }
        for (POSITION p = GetHeadPosition(); p;) {
            CSNode* node = GetNextNode(p);
            if (!IsOwnNode(node))
                continue;
            if (mask & 2) {
                ++info[0];
                node->SetID(static_cast<unsigned long>(info[0]));
            }
            nodeLoads(node);
            if (mask > 63)
                if (CBoundCond* bc = node->GetBC(0)) {
                    bc->SetID(node->GetID());
                    bc->DM_GetInfo(info);
                }
        }
    } else {
        for (POSITION p = GetHeadPosition(); p;) {
            CSNode* node = GetNextNode(p);
            if (!IsOwnNode(node))
                continue;
            ++info[0];
            nodeLoads(node);
            if (CBoundCond* bc = node->GetBC(0))
                bc->DM_GetInfo(info);
        }
        if (mask & 4)
            ++info[1];
    }
    if (mask & 8)
        info[2] += GetCount();
}

void CElement::DM_InsertNodeBCs(CModelInfo& info)
{
    ForEachNode(true, [&](CSNode* node) {
        for (CLoad* load = node->GetLoad(); load; load = load->GetNext())
            if (load->GetSize() != 0)
                info.AddNodeLoad(load);
        if (node->GetBC(0))
            info.AddNodeBC(node);
    });
}

void CElement::DM_SetResults(CModelInfo& info)
{
    info.SetElemRes(this);
    ForEachNode(true, [&](CSNode* node) { info.SetNodeRes(node); });
}

void CElement::DM_GetRotParam(CLongVector& list, int& count)
{
    for (POSITION p = GetHeadPosition(); p;) {
        CSNode* node = GetNextNode(p);
        if (!IsOwnNode(node))
            continue;
        auto* bc = dynamic_cast<CBoundCond3D*>(node->GetBC(0));
        if (!bc || bc->GetRotParam() == 0.0)
            continue;
        // The list grows as needed, keeping its entries.
        const int need = 2 * count + 2;
        if (list.GetSize() < need) {
            CLongVector old(list);
            list.Allocate(std::max(need, 2 * list.GetSize()), true, 0);
            for (int i = 0; i < old.GetSize(); ++i)
                list[i] = old[i];
        }
        list[2 * count] = static_cast<LONG>(node->GetID());
        list[2 * count + 1] = static_cast<LONG>(bc->GetRotParam());
        ++count;
    }
}

// ------------------------------------------------------------ extremes, measures

void CElement::CalibStress(double* values, bool onlyMin, int n)
{
    n = std::min(n, kMaxResIndex);
    for (int i = 0; i < n; ++i) {
        if (!onlyMin)
            m_strMaxStress[i] = values[i];
        m_strMinStress[i] = values[i];
    }
}

bool CElement::GetMaxMinStress(int index, double& max, double& min)
{
    bool any = false;
    for (int i = 0; i < kMaxResIndex && !any; ++i)
        any = m_strMaxStress[i] != 0.0 || m_strMinStress[i] != 0.0;
    if (!any) {
        max = min = 0.0;
        return false;
    }
    if (index < 0 || index >= kMaxResIndex)
        return false;
    max = m_strMaxStress[index];
    min = m_strMinStress[index];
    if (min > max)
        std::swap(max, min);
    return true;
}

double CElement::EffStress(int type, double a, double b, double c, double k1, double k2)
{
    switch (type) {
    case 0:
        return std::sqrt(a * a + 3.0 * (b * b + c * c));
    case 1:
        return std::sqrt(a * a + b * b - a * b + 3.0 * c * c);
    case 2:
        return std::sqrt(k1 * a * a + k1 * b * b - k2 * a * b + 3.0 * c * c);
    default:
        return a;
    }
}

double CElement::GetEffStress(CVector* v, int a, int b, int c)
{
    if (!v)
        return 0.0;
    auto at = [&](int i) { i = std::max(i, 0); return i < v->GetSize() ? (*v)[i] : 0.0; };
    return EffStress(0, at(a), at(b), at(c), 0.0, 0.0);
}

double CElement::PriStress(double sx, double sy, double txy, bool major)
{
    const double r = std::sqrt((sx - sy) * (sx - sy) / 4.0 + txy * txy);
    return (sx + sy) / 2.0 + (major ? r : -r);
}

void CElement::LocalStress(double t, double sx, double sy, double txy, double out[3])
{
    const double c = std::cos(t), s = std::sin(t);
    out[0] = c * c * sx + s * s * sy + 2.0 * c * s * txy;
    out[1] = s * s * sx + c * c * sy - 2.0 * c * s * txy;
    out[2] = txy * (c * c - s * s) - c * s * (sx - sy);
}

double CElement::LocalAngle(double x, double y, bool polar, const CVector& axis)
{
    if (axis.GetSize() < 2)
        return 0.0;
    if (polar) {
        const double dx = x - axis[0], dy = y - axis[1];
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r == 0.0)
            return 0.0;
        double t = std::acos(dx / r);
        if (y < axis[1])
            t = kTwoPi - t;
        t += 1.5 * M_PI;
        if (t >= kTwoPi)
            t -= kTwoPi;
        return t;
    }
    const double s = axis[0] + axis[1] * x;
    const double t = std::acos(1.0 / std::sqrt(s * s + 1.0));
    return s >= 0.0 ? t : kTwoPi - t;
}

double CElement::EffStressAt(int k, int type, int a, int b, int c, double k1, double k2) const
{
    return EffStress(type, ResultAt(k, std::max(a, 0)), ResultAt(k, std::max(b, 0)), ResultAt(k, std::max(c, 0)), k1,
                     k2);
}

double CElement::PriStressAt(int k, bool major, int sx, int sy, int txy) const
{
    return PriStress(ResultAt(k, std::max(sx, 0)), ResultAt(k, std::max(sy, 0)), ResultAt(k, std::max(txy, 0)), major);
}

double CElement::LocalStressAt(int k, const CSNode* node, int which, bool polar, const CVector& axis, int sx, int sy,
                               int txy) const
{
    double out[3];
    LocalStress(LocalAngle(node->x, node->y, polar, axis), ResultAt(k, std::max(sx, 0)), ResultAt(k, std::max(sy, 0)),
                ResultAt(k, std::max(txy, 0)), out);
    return which == sx ? out[0] : which == sy ? out[1] : out[2];
}

double CElement::LocalVectAt(int k, const CSNode* node, int which, bool polar, const CVector& axis, int a, int b) const
{
    const double t = LocalAngle(node->x, node->y, polar, axis);
    const double u = ResultAt(k, std::max(a, 0)), v = ResultAt(k, std::max(b, 0));
    const double c = std::cos(t), s = std::sin(t);
    return which == a ? c * u + s * v : c * v - s * u;
}

void CElement::GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool)
{
    EffStressExtremes(m_nRes, type, max, min, a, b, c, k1, k2);
}

void CElement::EffStressExtremes(int n, int type, double& max, double& min, int a, int b, int c, double k1, double k2)
{
    if (!HasResults())
        return;
    n = std::min(n, m_nRes);
    for (int k = 0; k < n; ++k) {
        valuerange::Widen(max, min, EffStressAt(k, type, a, b, c, k1, k2));
    }
}

void CElement::PriStressExtremes(int n, double& max1, double& min1, double& max2, double& min2, bool primaryOnly)
{
    if (!HasResults())
        return;
    for (int k = 0; k < n && k < m_nRes && k < GetCount(); ++k) {
        if (primaryOnly && !IsOwnNode(GetNode(k)))
            continue;
        const double sx = GetRes(k, 0), sy = GetRes(k, 1), txy = GetRes(k, 2);
        valuerange::Widen(max1, min1, PriStress(sx, sy, txy, true));
        valuerange::Widen(max2, min2, PriStress(sx, sy, txy, false));
    }
}

// Widens the n running maxima and minima by the values v; while all n
// entries of both are 0 the values set them. Only the n given entries are
// read (the vector form passes arrays of two).
static void WidenExtremes(double* max, double* min, const double* v, int n)
{
    bool allZero = true;
    for (int i = 0; i < n; ++i)
        allZero = allZero && max[i] == 0.0 && min[i] == 0.0;
    for (int i = 0; i < n; ++i) {
        if (allZero) {
            max[i] = min[i] = v[i];
        } else {
            max[i] = std::max(max[i], v[i]);
            min[i] = std::min(min[i], v[i]);
        }
    }
}

void CElement::GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy)
{
    if (!HasResults())
        return;
    sx = std::max(sx, 0), sy = std::max(sy, 0), txy = std::max(txy, 0);
    int k = 0;
    const int n = ActiveNodeCount();
    for (POSITION p = GetHeadPosition(); p && k < n; ++k) {
        CSNode* node = GetNextNode(p);
        if (k >= m_nRes)
            break;
        double v[3] = {ResultAt(k, sx), ResultAt(k, sy), ResultAt(k, txy)};
        if (axis.GetSize() >= 2) {
            double out[3];
            LocalStress(LocalAngle(node->x, node->y, polar, axis), v[0], v[1], v[2], out);
            std::copy(out, out + 3, v);
        }
        WidenExtremes(max, min, v, 3);
    }
}

void CElement::GetMaxMinLocalVect(double* max, double* min, bool polar, CVector& axis, int a, int b)
{
    if (!HasResults())
        return;
    a = std::max(a, 0), b = std::max(b, 0);
    int k = 0;
    const int n = ActiveNodeCount();
    for (POSITION p = GetHeadPosition(); p && k < n && k < m_nRes; ++k) {
        CSNode* node = GetNextNode(p);
        double u = ResultAt(k, a), v = ResultAt(k, b);
        if (axis.GetSize() >= 2) {
            const double t = LocalAngle(node->x, node->y, polar, axis);
            const double c = std::cos(t), s = std::sin(t);
            const double u2 = c * u + s * v;
            v = c * v - s * u;
            u = u2;
        }
        const double val[2] = {u, v};
        WidenExtremes(max, min, val, 2);
    }
}

// ------------------------------------------------------------ colours

int CElement::GetColorIndex_fromRange(double v, double range)
{
    if (range == 0.0)
        return 127;
    const double k = std::floor((v / range + 1.0) * 127.5 + 0.5);
    return (k < 0.0 || k > 255.0) ? -1 : static_cast<int>(k);
}

int CElement::GetColorIndex(double v, int r)
{
    double range = 1.0;
    if (r >= 0)
        range = std::max(std::fabs(GetStressFromIndex(r, -1)), std::fabs(GetStressFromIndex(r, -2)));
    return GetColorIndex_fromRange(v, range);
}

int CElement::GLCPColor(double v, int r)
{
    const int k = GetColorIndex(v, r);
    if (k >= 0)
        glColor4dv(dColorIndex[k]);
    return k;
}

int CElement::CombColorIndex(double v)
{
    const double d = m_dStaticMax - m_dStaticMin;
    if (d == 0.0)
        return 127;
    const double k = std::floor((v - m_dStaticMin) * 255.0 / d + 0.5);
    return (k < 0.0 || k > 255.0) ? -1 : static_cast<int>(k);
}

int CElement::GLCPCombColor(double v)
{
    const int k = CombColorIndex(v);
    if (k >= 0)
        glColor4dv(dColorIndex[k]);
    return k;
}

// ------------------------------------------------------------ element data

void CElement::SetElemValue(CMatrix& m, double v, int& row, int col)
{
    m[row][col] = v;
    ++row;
}

void CElement::SetElemValue(CMatrix& m, CVector& v, int& row, int col)
{
    for (int i = 0; i < v.GetSize(); ++i)
        m[row][col + i] = v[i];
    ++row;
}

void CElement::DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col)
{
    DispersNodeValueOn(GetCount(), m, c, g, row, col);
}

void CElement::DispersNodeValueOn(int count, CMatrix& m, double c, CVector& g, int& row, int col)
{
    int k = 0;
    for (POSITION p = GetHeadPosition(); p && k < count; ++k) {
        CSNode* node = GetNextNode(p);
        m[row][col + k] = c + g[0] * node->x + g[1] * node->y;
    }
    ++row;
}

void CElement::SetElemGrad(CMatrix& m, double c, CVector& g, CLongVector& cols, int& row)
{
    double cx = 0.0, cy = 0.0;
    GetCentroid(cx, cy);
    if (cols.GetSize() > 0)
        m[row][cols[0]] = c + g[0] * cx + g[1] * cy;
    for (int i = 1; i < cols.GetSize(); ++i)
        m[row][cols[i]] = g[i - 1];
    ++row;
}

void CElement::DispersAngle(CMatrix& m, bool polar, CVector& axis, int& row, int col)
{
    double cx = 0.0, cy = 0.0;
    GetCentroid(cx, cy);
    m[row][col] = LocalAngle(cx, cy, polar, axis);
    ++row;
}

void CElement::GetMaxExtent(double& cx, double& cy, double& dx, double& dy)
{
    GetCentroid(cx, cy);
    dx = dy = 0.0;
    for (POSITION p = GetHeadPosition(); p;) {
        CSNode* node = GetNextNode(p);
        dx = std::max(dx, std::fabs(node->x - cx));
        dy = std::max(dy, std::fabs(node->y - cy));
    }
}

// ------------------------------------------------------------ subdivision

CObList* CElement::Subdiv(CSNode* from, CSNode* to, int n, int keep)
{
    if (!from || !to || from == to || n < 1)
        return nullptr;
    CEdge* edge = GetComEdge(from, to);
    const bool made = !edge;
    if (!edge)
        edge = new CEdge(from, to);
    CRefineJournal* journal = CRefineJournal::Open();
    if (journal)
        journal->Note(edge, made, edge->GetSubNodeCount() > 0, keep);
    CObList* sub = edge->SubDivideSeg(n + 1, false);
    if (!sub)
        return nullptr;
    CObList* out = new CObList(10);
    const bool forward = edge->GetNode1() == from;
    for (POSITION p = forward ? sub->GetHeadPosition() : sub->GetTailPosition(); p;) {
        CSNode* s = static_cast<CSNode*>(forward ? sub->GetNext(p) : sub->GetPrev(p));
        CSNode* copy = s->GetCopyNode();
        if (!copy) {
            copy = s->Copy(false);
            copy->m_uiFlags = 0;
        }
        out->AddTail(copy);
    }
    if (auto* boundary = dynamic_cast<CBoundary*>(edge)) {
        if (boundary->GetBC(0) || boundary->GetLoad()) {
            CSNode* prev = from;
            auto link = [&](CSNode* next) {
                if (!GetComEdge(prev, next)) {
                    auto* part = new CBoundary(prev, next);
                    part->CopyProperties(boundary);
                }
                prev = next;
            };
            for (POSITION p = out->GetHeadPosition(); p;)
                link(static_cast<CSNode*>(out->GetNext(p)));
            link(to);
        }
    }
    if (keep != 0 && !journal) {
        int count = 0;
        if (CObList* graphs = from->GetGraphList())
            for (POSITION p = graphs->GetHeadPosition(); p;)
                if (static_cast<CObList*>(graphs->GetNext(p))->Find(to))
                    ++count;
        if ((keep > 0 && count < keep) || (keep < 0 && count > -keep))
            delete edge;
    }
    return out;
}

void CElement::FillMidSide(CSNode* from, CSNode* to, CSNode*& mid)
{
    if (!mid)
        mid = TakeFirst(Subdiv(from, to, 1, 0));
}

void CElement::PlaceMidSideNodes(int corners)
{
    if (GetCount() < 2 * corners)
        return;
    for (int i = 0; i < corners; ++i) {
        const CSNode* p = GetNode(i);
        const CSNode* q = GetNode((i + 1) % corners);
        GetNode(corners + i)->SetNodeCoord((p->x + q->x) / 2.0, (p->y + q->y) / 2.0, (p->z + q->z) / 2.0);
    }
}

bool CElement::FirstSideDividers(int n, int corners, CSNode** dividers)
{
    // Every side is divided before any is checked.
    bool all = true;
    for (int i = 0; i < corners; ++i) {
        dividers[i] = TakeFirst(Subdiv(GetNode(i), GetNode((i + 1) % corners), n, 2));
        all = all && dividers[i];
    }
    return all;
}

void CElement::AddPart(CElement* part, CObList* out)
{
    part->SetName(m_strName);
    out->AddTail(static_cast<CObject*>(part));
}

// ------------------------------------------------------------ edge loads

void CElement::CollectEdgeLoads(int n, CObList* list, double scale, bool drawFlag, bool draw)
{
    n = std::min(n, GetCount());
    for (int i = 0; i < n; ++i) {
        CSNode* a = GetNode(i);
        CSNode* b = GetNode((i + 1) % n);
        CEdge* edge = GetComEdge(a, b);
        if (!edge)
            continue;
        auto* load = dynamic_cast<CEdgeLoad*>(edge->GetLoad());
        if (!load)
            continue;
        const bool along = edge->GetNode1() == a;
        if (!along) {
            // The element running along the edge takes the load.
            bool other = false;
            if (CObList* graphs = a->GetGraphList())
                for (POSITION p = graphs->GetHeadPosition(); p && !other;) {
                    CObject* g = graphs->GetNext(p);
                    other = g != this && dynamic_cast<CElement*>(g) &&
                            static_cast<CObList*>(g)->Find(b);
                }
            if (other)
                continue;
        }
        if (draw) {
            // Elements run counter-clockwise: the element lies left of an
            // edge it runs along, right of one it runs against.
            load->DrawGL(edge, scale, drawFlag, along);
            continue;
        }
        list->AddTail(load);
        const long id = static_cast<long>(a->GetID());
        load->SetID(static_cast<unsigned long>(load->IsLocal() ? -id : id));
        const long num = static_cast<long>(GetElemNumber());
        load->SetElemID(along ? num : -num);
    }
}

void CElement::GetEdgeLoads(CObList& list)
{
    CollectEdgeLoads(GetCount(), &list, 0.0, true, false);
}

void CElement::DrawEdgeLoadsGL(double scale)
{
    CollectEdgeLoads(GetCount(), nullptr, scale, true, true);
}

// ------------------------------------------------------------ drawing, picking

void CElement::GLDraw()
{
    for (POSITION p = GetHeadPosition(); p;)
        GetNextNode(p)->GLVertex();
}

void CElement::CornerVerticesGL(int n)
{
    if (GetCount() < n)
        return;
    for (int k = 0; k < n; ++k)
        GetNode(k)->GLVertex();
}

void CElement::DrawDistortedCorners(int n, unsigned primitive, int flags, double scale, int a, int b, int c)
{
    if (GetCount() < n || !HasResults())
        return;
    const bool flat = flags & 128;
    const bool coloured = flags & 2;
    if (flat && !coloured)
        return;
    glBegin(static_cast<GLenum>(primitive));
    for (int k = 0; k < n; ++k) {
        const CSNode* node = GetNode(k);
        const double ua = ResultAt(k, a), ub = ResultAt(k, b), uc = ResultAt(k, c);
        if (coloured)
            GLCPCombColor(std::sqrt(ua * ua + ub * ub + uc * uc));
        glVertex3d(node->x + scale * ua, node->y + scale * ub, flat ? 0.0 : node->z + scale * uc);
    }
    glEnd();
}

void CElement::PickPoint(CSNode* node, double x, double y, double z)
{
    // A pick being recorded keeps the point and its name for later picks.
    if (CPickPointIndex* index = CPickPointIndex::Recorder()) {
        unsigned long name = 0;
        if (resultpick::Encode(node->GetID(), node->IsGraphInList(this), name))
            index->Add(static_cast<std::uint32_t>(name), x, y, z);
        return;
    }
    // A point the pick window clips costs no name look-up and no GL call.
    if (CPickWindowCull::Skips(x, y, z))
        return;
    unsigned long name = 0;
    // A point whose name cannot be told apart from another's is not pickable.
    if (!resultpick::Encode(node->GetID(), node->IsGraphInList(this), name))
        return;
    glLoadName(static_cast<GLuint>(name));
    glBegin(GL_POINTS);
    glVertex3d(x, y, z);
    glEnd();
}

void CElement::PickDrawCorners(int r, int mode, double scale, int corners)
{
    if (IsEmpty())
        return;
    if (mode == 8) {
        PickDrawResGL(r, scale, corners);
        return;
    }
    if ((mode & 1) && !(CPickWindowCull::IsActive() && NodeBox().Skipped())) {
        glLoadName(static_cast<GLuint>(m_ulID));
        DrawModelGL(false);
    }
    // The nodes (2) and edges (4) only when asked for: a pick of elements
    // alone must not hit their nodes.
    CGraph::PickDrawGL(false, mode & ~1);
}

bool CElement::GrowIdPickBox(CPickBox& box) const
{
    return PickCorners() != 0 && GrowNodesAndChordsBox(box, true, false);
}

bool CElement::ListIdPickNames(std::vector<CPickName>& out) const
{
    const int corners = PickCorners();
    if (corners == 0)
        return false;
    // The filled corners give a hit when they turn one way at every corner
    // (a triangle or convex quadrilateral of non-zero area) in one plane.
    bool filled = GetCount() >= corners;
    int sign = 0;
    for (int k = 0; filled && k < corners; ++k) {
        const CSNode* a = GetNode((k + corners - 1) % corners);
        const CSNode* b = GetNode(k);
        const CSNode* c = GetNode((k + 1) % corners);
        const double cross = (b->x - a->x) * (c->y - b->y) - (b->y - a->y) * (c->x - b->x);
        const int s = cross > 0.0 ? 1 : (cross < 0.0 ? -1 : 0);
        filled = s != 0 && (sign == 0 || s == sign) && b->z == GetNode(0)->z;
        sign = s;
    }
    out.push_back(CPickName{static_cast<unsigned>(m_ulID), 1, filled});
    // As CGraph::PickDrawGL: the edges of every node (each from its first
    // node), then the nodes.
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (CObList* edges = node->GetEdgeList())
            for (POSITION ep = edges->GetHeadPosition(); ep;) {
                CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
                if (edge->GetNode1() == node)
                    out.push_back(CPickName{static_cast<unsigned>(edge->GetID()), 4, edge->DrawsChord()});
            }
    }
    for (POSITION pos = GetHeadPosition(); pos;)
        out.push_back(CPickName{static_cast<unsigned>(GetNextNode(pos)->GetID()), 2, true});
    return true;
}

void CElement::PickDrawResGL(int index, double scale, int n)
{
    if (!HasResults())
        return;
    int k = 0;
    for (POSITION p = GetHeadPosition(); p && k < n; ++k) {
        CSNode* node = GetNextNode(p);
        PickPoint(node, node->x, node->y, scale * GetStressFromIndex(index, k));
    }
}

template <class F>
void CElement::ForActiveResultNodes(F f)
{
    if (!HasResults())
        return;
    int k = 0;
    const int n = ActiveNodeCount();
    for (POSITION p = GetHeadPosition(); p && k < n; ++k)
        f(k, GetNextNode(p));
}

void CElement::PickDrawEffStress(int type, double scale, int a, int b, int c, double k1, double k2)
{
    ForActiveResultNodes([&](int k, CSNode* node) { PickValue(node, scale, EffStressAt(k, type, a, b, c, k1, k2)); });
}

void CElement::PickDrawPriStress(bool major, double scale, int sx, int sy, int txy)
{
    ForActiveResultNodes([&](int k, CSNode* node) { PickValue(node, scale, PriStressAt(k, major, sx, sy, txy)); });
}

void CElement::PickDrawDistort(double scale, int a, int b, int c)
{
    ForActiveResultNodes([&](int k, CSNode* node) {
        const double x = node->x + scale * ResultAt(k, a);
        const double y = node->y + scale * ResultAt(k, b);
        const double z = node->z + scale * ResultAt(k, c);
        PickPoint(node, x, y, z);
    });
}

void CElement::PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy)
{
    ForActiveResultNodes([&](int k, CSNode* node) {
        PickValue(node, scale, LocalStressAt(k, node, which, polar, axis, sx, sy, txy));
    });
}

void CElement::PickDrawLocalVect(int which, bool polar, CVector& axis, double scale, int a, int b)
{
    ForActiveResultNodes([&](int k, CSNode* node) {
        PickValue(node, scale, LocalVectAt(k, node, which, polar, axis, a, b));
    });
}

void CElement::DrawResArrows(double scale, int a, int b, int c, double range, bool colour)
{
    if (!HasResults())
        return;
    const int missing = (a < 0) + (b < 0) + (c < 0);
    int k = 0;
    const int n = ActiveNodeCount();
    for (POSITION p = GetHeadPosition(); p && k < n; ++k) {
        CSNode* node = GetNextNode(p);
        const double r[3] = {ResultAt(k, a), ResultAt(k, b), ResultAt(k, c)};
        double v[3] = {scale * r[0], scale * r[1], scale * r[2]};
        // The signed value of a single component, else the length.
        const double len = missing == 2 ? (a >= 0 ? r[0] : b >= 0 ? r[1] : r[2])
                                        : std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
        if (!(std::fabs(len) > range * 1e-8))
            continue;
        if (colour) {
            const int idx = GetColorIndex_fromRange(len, range);
            if (idx >= 0)
                glColor4dv(dColorIndex[idx]);
        }
        // The arrow's own length: its tip lies at the node plus the scaled
        // vector, as the plot's heights do.
        Draw3DVect(node->GetVertex(), v, 0.0, 0);
    }
}

void CElement::DrawElmNumbers()
{
    double cx = 0.0, cy = 0.0;
    GetCentroid(cx, cy);
    const std::string text = AfxFormat("%u", GetElemNumber());
    glRasterPos3d(cx, cy, 0.0);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
}

void CElement::GLDrawDispersAngle(bool polar, CVector& axis)
{
    double cx, cy, dx, dy;
    GetMaxExtent(cx, cy, dx, dy);
    const double h = std::min(dx, dy) / 2.0;
    const double t = LocalAngle(cx, cy, polar, axis);
    glVertex3d(cx - h * std::cos(t), cy - h * std::sin(t), 0.0);
    glVertex3d(cx + h * std::cos(t), cy + h * std::sin(t), 0.0);
}

namespace {
int g_faceBatches = 0;
// Whether the open batch's primitive has begun: at its first face, so that
// the plan normal of a flat first face goes ahead of it.
bool g_batchBegun = false;
// Whether the open batch's current normal is the plan normal a flat face
// sets: the faces after the first need not send it again.
bool g_batchFlatNormal = false;
} // namespace

CElement::CFaceBatch::CFaceBatch()
{
    if (g_faceBatches++ == 0) {
        g_batchBegun = false;
        g_batchFlatNormal = false;
    }
}

CElement::CFaceBatch::~CFaceBatch()
{
    if (--g_faceBatches == 0 && g_batchBegun) {
        glEnd();
        g_batchBegun = false;
    }
}

CElement::CFaceSink*& CElement::FaceSink()
{
    thread_local CFaceSink* sink = nullptr;
    return sink;
}

void CElement::DrawFace(const double* const p[3], const double v[3], int flags, double scale, int r, bool derived)
{
    const bool flat = flags & 128;
    const bool coloured = flags & 2;
    if (derived && flat && !coloured)
        return;
    CPlotFace face;
    face.flat = flat;
    // Each corner's fringe colour, the value plot's range read once per
    // face.
    for (int i = 0; i < 3; ++i)
        face.colour[i] = -1;
    if (coloured) {
        if (derived) {
            for (int i = 0; i < 3; ++i)
                face.colour[i] = CombColorIndex(v[i]);
        } else {
            double range = 1.0;
            if (r >= 0)
                range = std::max(std::fabs(GetStressFromIndex(r, -1)), std::fabs(GetStressFromIndex(r, -2)));
            for (int i = 0; i < 3; ++i)
                face.colour[i] = GetColorIndex_fromRange(v[i], range);
        }
    }
    for (int i = 0; i < 3; ++i) {
        face.vertex[i][0] = p[i][0];
        face.vertex[i][1] = p[i][1];
        face.vertex[i][2] = flat ? 0.0 : scale * v[i];
    }
    if (!flat) {
        const double(&q)[3][3] = face.vertex;
        const double ax = q[1][0] - q[0][0], ay = q[1][1] - q[0][1], az = q[1][2] - q[0][2];
        const double bx = q[2][0] - q[0][0], by = q[2][1] - q[0][1], bz = q[2][2] - q[0][2];
        double nx = ay * bz - az * by, ny = az * bx - ax * bz, nz = ax * by - ay * bx;
        const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (len > 0.0)
            nx /= len, ny /= len, nz /= len;
        face.normal[0] = nx, face.normal[1] = ny, face.normal[2] = nz;
    }
    if (CFaceSink* sink = FaceSink())
        sink->Add(face);
    else
        SendFace(face);
}

void CElement::SendFace(const CPlotFace& face)
{
    const bool own = g_faceBatches == 0;
    if (own || !g_batchBegun) {
        // A flat face's plan normal is set before the primitive begins: a
        // normal inside it makes Mesa's list compiler store a normal with
        // every vertex of the primitive (ten floats a vertex instead of
        // seven), a list larger and slower to compile.
        if (face.flat)
            glNormal3d(0.0, 0.0, 1.0);
        glBegin(GL_TRIANGLES);
        g_batchBegun = !own;
        g_batchFlatNormal = !own && face.flat;
        if (!face.flat)
            glNormal3dv(face.normal);
    } else if (face.flat) {
        if (!g_batchFlatNormal)
            glNormal3d(0.0, 0.0, 1.0);
        g_batchFlatNormal = true;
    } else {
        glNormal3dv(face.normal);
        g_batchFlatNormal = false;
    }
    for (int i = 0; i < 3; ++i) {
        if (face.colour[i] >= 0)
            glColor4dv(dColorIndex[face.colour[i]]);
        glVertex3dv(face.vertex[i]);
    }
    if (own)
        glEnd();
}

// ------------------------------------------------------------ refine journal

namespace
{

CRefineJournal*& OpenJournal()
{
    thread_local CRefineJournal* open = nullptr;
    return open;
}

// How many graphs of the edge's first node hold its second.
int Spanning(CEdge* edge)
{
    int count = 0;
    if (CObList* graphs = edge->GetNode1()->GetGraphList())
        for (POSITION p = graphs->GetHeadPosition(); p;)
            if (static_cast<CObList*>(graphs->GetNext(p))->Find(edge->GetNode2()))
                ++count;
    return count;
}

} // namespace

CRefineJournal::CRefineJournal() : m_pOuter(OpenJournal())
{
    OpenJournal() = this;
}

CRefineJournal::~CRefineJournal()
{
    OpenJournal() = m_pOuter;
}

CRefineJournal* CRefineJournal::Open()
{
    return OpenJournal();
}

void CRefineJournal::Note(CEdge* edge, bool made, bool hadSubNodes, int keep)
{
    if (m_noted.insert(edge).second)
        m_entries.push_back({edge, made, hadSubNodes, keep});
}

void CRefineJournal::Undo()
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->made)
            delete it->edge;
        else if (!it->hadSubNodes)
            it->edge->RemoveSubNodeList();
    }
    m_entries.clear();
    m_noted.clear();
}

void CRefineJournal::Commit()
{
    // Subdiv deletes an edge at the division of the last element that
    // spans it when fewer than keep elements span it then (that one
    // included): now that the old elements are gone, fewer than keep - 1.
    for (const Entry& e : m_entries)
        if (e.keep > 0 && Spanning(e.edge) < e.keep - 1)
            delete e.edge;
    m_entries.clear();
    m_noted.clear();
}

CSNode* CElement::TakeFirst(CObList* list)
{
    if (!list)
        return nullptr;
    CSNode* first = list->IsEmpty() ? nullptr : static_cast<CSNode*>(list->RemoveHead());
    while (!list->IsEmpty()) {
        CSNode* rest = static_cast<CSNode*>(list->RemoveHead());
        if (rest->GetGraphCount() == 0)
            delete rest;
    }
    delete list;
    return first;
}

bool CElement::CornersContain(int n, double x, double y)
{
    if (GetCount() < n)
        return false;
    CObList corners(10);
    POSITION p = GetHeadPosition();
    for (int i = 0; i < n && p; ++i)
        corners.AddTail(GetNext(p));
    return IsPointInside2D(corners, x, y);
}

void CElement::DrawNodePointsGL()
{
    glPointSize(static_cast<GLfloat>(MEDIUM_S_POINT));
    glBegin(GL_POINTS);
    for (POSITION p = GetHeadPosition(); p;)
        GetNextNode(p)->GLVertex();
    glEnd();
}

// ------------------------------------------------------------ prism drawing

bool CElement::EdgeSharedBySameName(const CSNode* a, const CSNode* b) const
{
    const CObList* graphs = a ? a->GetGraphList() : nullptr;
    if (!graphs || !b)
        return false;
    for (POSITION pos = graphs->GetHeadPosition(); pos;) {
        CObject* graph = graphs->GetNext(pos);
        if (graph == this || !graph || !graph->IsKindOf(RUNTIME_CLASS(CElement)))
            continue;
        if (static_cast<const CElement*>(graph)->NameRef() == m_strName && b->IsGraphInList(graph) >= 0)
            return true;
    }
    return false;
}

namespace {

struct PrismVertex {
    double p[3];
    double value;
};

// One triangle with its face normal; coloured per vertex when asked.
void PrismTriangle(const PrismVertex& a, const PrismVertex& b, const PrismVertex& c, CElement* element,
                   int colourIndex)
{
    const double ux = b.p[0] - a.p[0], uy = b.p[1] - a.p[1], uz = b.p[2] - a.p[2];
    const double vx = c.p[0] - a.p[0], vy = c.p[1] - a.p[1], vz = c.p[2] - a.p[2];
    double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (len > 0.0)
        nx /= len, ny /= len, nz /= len;
    glNormal3d(nx, ny, nz);
    for (const PrismVertex* v : {&a, &b, &c}) {
        if (colourIndex >= 0)
            element->GLCPColor(v->value, colourIndex);
        glVertex3d(v->p[0], v->p[1], v->p[2]);
    }
}

} // namespace

void CElement::DrawPrismGL(int n, CMatrix& param, double half, CVector& slope, int mode)
{
    constexpr int kMaxCorners = 4;
    if (n < 3 || n > kMaxCorners || GetCount() < n)
        return;
    const bool rowsUsable = param.GetColumns() >= 3;
    const int rows = rowsUsable ? param.GetRows() : 0;
    const bool tilted = slope.GetSize() >= 2;
    const int colourIndex = (mode == 2 && rows > 0 && param[0][0] >= 0.0) ? static_cast<int>(param[0][0]) : -1;

    CSNode* nodes[kMaxCorners];
    PrismVertex top[kMaxCorners], bottom[kMaxCorners];
    for (int k = 0; k < n; ++k) {
        CSNode* node = nodes[k] = GetNode(k);
        double p[3] = {node->x, node->y, node->z};
        for (int i = 0; i < rows; ++i) {
            const double index = param[i][0];
            const int axis = static_cast<int>(param[i][2]);
            if (index < 0.0 || axis < 0 || axis > 2)
                continue;
            p[axis] += param[i][1] * CornerValue(static_cast<int>(index), k);
        }
        const double h = half + (tilted ? slope[0] * node->x + slope[1] * node->y : 0.0);
        const double value = colourIndex >= 0 ? CornerValue(colourIndex, k) : 0.0;
        top[k] = {{p[0], p[1], p[2] + h}, value};
        bottom[k] = {{p[0], p[1], p[2] - h}, value};
    }
    // Top and bottom faces as fans from the first corner, the bottom turned
    // over.
    for (int k = 1; k + 1 < n; ++k) {
        PrismTriangle(top[0], top[k], top[k + 1], this, colourIndex);
        PrismTriangle(bottom[0], bottom[k + 1], bottom[k], this, colourIndex);
    }
    for (int k = 0; k < n; ++k) {
        const int j = (k + 1) % n;
        if (EdgeSharedBySameName(nodes[k], nodes[j]))
            continue;
        PrismTriangle(bottom[k], bottom[j], top[j], this, colourIndex);
        PrismTriangle(bottom[k], top[j], top[k], this, colourIndex);
    }
}

bool resultpick::Encode(unsigned long node, int index, unsigned long& name)
{
    if (index < 0 || index > kMaxIndex || node >= kStride)
        return false;
    name = node + kStride * static_cast<unsigned long>(index);
    return true;
}

void resultpick::Decode(unsigned long name, unsigned long& node, int& index)
{
    index = name > kStride ? static_cast<int>((name - 1) / kStride) : 0;
    node = name - kStride * static_cast<unsigned long>(index);
}
