#include "sections/beams/modelinfofem.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "femodel/strelna.h"
#include "sections/regions/sectcomp.h"

IMPLEMENT_SERIAL(CModelInfoFEM, CModelInfo, VERSIONABLE_SCHEMA | 1)

namespace
{

const char kRule[] = "========================================\r\n";

void Put(CFile& file, const std::string& text)
{
    file.Write(text.data(), static_cast<UINT>(text.size()));
}

// Grows v (keeping its entries, new ones set to fill) so that index at
// exists.
void Reserve(CLongVector& v, int at, LONG fill)
{
    if (at < v.GetSize())
        return;
    CLongVector old(v);
    v.Allocate(std::max(at + 1, 2 * old.GetSize()), true, fill);
    std::copy(old.GetVector(), old.GetVector() + old.GetSize(), v.GetVector());
}

void Reserve(CVector& v, int at)
{
    if (at < v.GetSize())
        return;
    CVector old(v);
    v.Allocate(std::max(at + 1, 2 * old.GetSize()), true, 0.0);
    std::copy(old.GetVector(), old.GetVector() + old.GetSize(), v.GetVector());
}

// Sets v to exactly n entries, keeping the first ones (new ones fill).
void Resize(CLongVector& v, int n, LONG fill)
{
    if (v.GetSize() == n)
        return;
    CLongVector old(v);
    v.Allocate(n, true, fill);
    std::copy(old.GetVector(), old.GetVector() + std::min(n, old.GetSize()), v.GetVector());
}

void Resize(CVector& v, int n)
{
    if (v.GetSize() == n)
        return;
    CVector old(v);
    if (n < 1) {
        v.Allocate(0, false, 0.0);
        return;
    }
    v.Allocate(n, true, 0.0);
    std::copy(old.GetVector(), old.GetVector() + std::min(n, old.GetSize()), v.GetVector());
}

// What the model's elements need, counted over the elements themselves.
struct ElementCounts {
    int elements = 0;
    int connectivity = 0;
    unsigned long maxNode = 0;
    bool unnumbered = false;
};

void CountElement(CObject* object, void* user)
{
    auto* counts = static_cast<ElementCounts*>(user);
    auto* element = dynamic_cast<CGraph*>(object);
    if (!element)
        return;
    ++counts->elements;
    counts->connectivity += element->GetCount();
    for (POSITION pos = element->GetHeadPosition(); pos;) {
        const unsigned long id = element->GetNextNode(pos)->GetID();
        counts->maxNode = std::max(counts->maxNode, id);
        counts->unnumbered = counts->unnumbered || id == 0;
    }
}

} // namespace

CModelInfoFEM::CModelInfoFEM() = default;

CModelInfoFEM::CModelInfoFEM(int dimension, bool generateKinds, int defaultKind)
    : m_iDefKind(defaultKind), m_iDim(dimension)
{
    if (generateKinds)
        m_uiFlags |= 0x1;
}

CModelInfoFEM::~CModelInfoFEM() = default;

void CModelInfoFEM::Serialize(CArchive& ar)
{
    m_Info.Serialize(ar);
    if (ar.IsStoring()) {
        ar << LONG(m_iBCIndex) << DWORD(m_uiFlags);
    } else {
        LONG index = 0;
        DWORD flags = 0;
        ar >> index >> flags;
        m_iBCIndex = index;
        m_uiFlags = flags;
    }
    m_LoadVal.Serialize(ar);
    m_PrescVal.Serialize(ar);
    if (ar.IsStoring()) {
        ar << LONG(m_iDefKind) << LONG(m_iDim);
    } else {
        LONG kind = 0, dim = 0;
        ar >> kind >> dim;
        m_iDefKind = kind;
        m_iDim = dim;
    }
    for (CLongVector* v : {&m_MMNPC, &m_MPMNPC, &m_MKIND, &m_LoadNodes, &m_LoadDOF, &m_SupBC,
                           &m_RotParam, &m_LoadCases})
        v->Serialize(ar);
    m_MXYZ.Serialize(ar);
    // The record is read by index everywhere: a short one is made whole.
    if (ar.IsLoading() && m_Info.GetSize() < kInfoSize)
        Resize(m_Info, kInfoSize, 0);
}

// ------------------------------------------------------------ hand-over

void CModelInfoFEM::AddNodeBC(CSNode* node)
{
    CBoundCond* bc = node ? node->GetBC(m_iBCIndex) : nullptr;
    if (!bc)
        return;
    const LONG id = static_cast<LONG>(node->GetID());
    auto support = [&](LONG dof) {
        const int at = m_Info[5];
        Reserve(m_SupBC, at + 1, 0);
        m_SupBC[at] = id;
        m_SupBC[at + 1] = dof;
        m_Info[5] += 2;
    };
    const unsigned type = bc->GetBCType();
    if (type & 0x10) {
        const CVector* v = bc->GetDOFVector();
        const int n = v ? v->GetSize() / 2 : 0;
        for (int i = 0; i < n; ++i) {
            const double dof = (*v)[i];
            const double value = (*v)[n + i];
            // A condition read from a file may hold any number: one that does
            // not fit the solver's integers is left out rather than cast
            // (negative numbers are springs and stay).
            if (!(std::fabs(dof) <= static_cast<double>(INT_MAX)) || dof != std::floor(dof))
                continue;
            if (value == 0.0) {
                support(static_cast<LONG>(dof));
                continue;
            }
            const int at = m_Info[6];
            Reserve(m_PrescVal, at + 2);
            m_PrescVal[at] = static_cast<double>(id);
            m_PrescVal[at + 1] = dof;
            m_PrescVal[at + 2] = value;
            m_Info[6] += 3;
        }
        return;
    }
    if (type & 0x1)
        support(1);
    if (type & 0x2)
        for (LONG d = 1; d <= 3; ++d)
            support(d);
    if (type & 0x8)
        for (LONG d = 4; d <= 6; ++d)
            support(d);
}

void CModelInfoFEM::AddNodeLoad(CLoad* load)
{
    if (!load)
        return;
    const int n = load->GetSize() / 2;
    const int at = m_Info[3];
    Reserve(m_LoadNodes, at + 1, 0);
    m_LoadNodes[at] = static_cast<LONG>(load->GetID());
    m_LoadNodes[at + 1] = n;
    Reserve(m_LoadCases, at / 2, 1);
    if (auto* load3D = dynamic_cast<CNodeLoad3D*>(load))
        m_LoadCases[at / 2] = static_cast<LONG>(load3D->m_uiWord);
    m_Info[3] += 2;
    const int first = m_Info[4];
    if (n > 0) {
        Reserve(m_LoadDOF, first + n - 1, 0);
        Reserve(m_LoadVal, first + n - 1);
    }
    for (int i = 0; i < n; ++i) {
        m_LoadDOF[first + i] = static_cast<LONG>((*load)[i]);
        m_LoadVal[first + i] = (*load)[n + i];
    }
    m_Info[4] += n;
}

// ------------------------------------------------------------ access

LONG* CModelInfoFEM::GetLCNum() { return m_LoadCases.GetVector(); }
LONG* CModelInfoFEM::GetSUPBCNODE() { return m_SupBC.GetVector(); }
LONG* CModelInfoFEM::GetLoadDOF() { return m_LoadDOF.GetVector(); }
LONG* CModelInfoFEM::GetLoadNodeID() { return m_LoadNodes.GetVector(); }

void CModelInfoFEM::DeallocBCData()
{
    m_LoadVal.Allocate(0, false, 0.0);
    m_PrescVal.Allocate(0, false, 0.0);
    for (CLongVector* v : {&m_LoadNodes, &m_LoadDOF, &m_SupBC, &m_LoadCases})
        v->Allocate(0, false, 0);
}

void CModelInfoFEM::DeallocGeomData()
{
    m_MXYZ.Allocate(0, 0, false, 0.0);
    for (CLongVector* v : {&m_MPMNPC, &m_MMNPC, &m_MKIND, &m_RotParam})
        v->Allocate(0, false, 0);
}

// ------------------------------------------------------------ generation

void CModelInfoFEM::GenGeomData(CObList* model, CFile* log)
{
    auto* comp = dynamic_cast<CSectComp*>(model);
    if (!comp)
        return;
    // The record sizes the arrays; the elements themselves are counted too
    // so that a record that undercounts cannot make them write beyond.
    ElementCounts counts;
    comp->DM_OnElements(CountElement, &counts);
    const int elements = std::max<int>(m_Info[1], counts.elements);
    const int connectivity = std::max<int>(m_Info[2], counts.connectivity);
    const int rows = std::max<long>(m_Info[0], static_cast<long>(counts.maxNode));
    if (m_uiFlags & 0x1) {
        m_MKIND.Allocate(elements, true, m_iDefKind);
        comp->GetKIND(m_MKIND);
    }
    m_MMNPC.Allocate(connectivity, true, 0);
    m_MPMNPC.Allocate(elements + 1, true, 0);
    comp->GetMMNPC(m_MMNPC, m_MPMNPC);
    m_MXYZ.Allocate(rows, std::clamp(m_iDim, 1, 3), true, 0.0);
    // Coordinates go to the row of each node's number: unnumbered nodes
    // (no DM_GetInfo run) have none.
    if (!counts.unnumbered)
        comp->GetDiscrCoord(m_MXYZ);
    m_RotParam.Allocate(2 * m_Info[8], true, 0);
    if (m_Info[8] != 0)
        comp->DM_GetRotParam(m_RotParam);
    if (log) {
        Put(*log, std::string("MMNPC\r\n") + kRule);
        m_MMNPC.WriteASCII(log, " ", "", 6, m_MPMNPC, false, true);
        Put(*log, std::string("\r\nCOORDINATES\r\n") + kRule);
        m_MXYZ.WriteASCII(log, " ", "", 14, 6, 1, true, false);
    }
    m_MPMNPC += 1;
}

void CModelInfoFEM::GenBCData(CObList* model, CFile* log)
{
    auto* comp = dynamic_cast<CSectComp*>(model);
    if (!comp)
        return;
    m_LoadVal.Allocate(m_Info[4], true, 0.0);
    m_LoadDOF.Allocate(m_Info[4], true, 0);
    m_LoadNodes.Allocate(2 * m_Info[3], true, 0);
    m_LoadCases.Allocate(m_Info[3], true, 1);
    m_SupBC.Allocate(2 * m_Info[5], true, 0);
    m_PrescVal.Allocate(3 * m_Info[6], true, 0.0);
    for (int i = 3; i <= 6; ++i)
        m_Info[i] = 0;
    comp->DM_InsertNodeBCs(*this);
    m_Info[3] /= 2;
    m_Info[5] /= 2;
    m_Info[6] /= 3;
    Resize(m_LoadNodes, 2 * m_Info[3], 0);
    Resize(m_LoadCases, m_Info[3], 1);
    Resize(m_LoadDOF, m_Info[4], 0);
    Resize(m_LoadVal, m_Info[4]);
    Resize(m_SupBC, 2 * m_Info[5], 0);
    Resize(m_PrescVal, 3 * m_Info[6]);
    if (log)
        WriteBCLog(*log);
}

void CModelInfoFEM::WriteBCLog(CFile& log)
{
    std::string text = std::string("Node-loads\r\n") + kRule;
    if (m_Info[4] > 0) {
        for (int i = 0, k = 0; i < m_Info[3]; ++i) {
            text += AfxFormat("Node  %i   DOF   Value\r\n", static_cast<int>(m_LoadNodes[2 * i]));
            for (int j = 0; j < m_LoadNodes[2 * i + 1] && k < m_Info[4]; ++j, ++k)
                text += AfxFormat("           %3i    %6.e\r\n", static_cast<int>(m_LoadDOF[k]),
                                  m_LoadVal[k]);
        }
    } else {
        text += "   No Node-loads defined\r\n\r\n";
    }
    text += std::string(kRule) + "\r\n";
    text += std::string("Boundary conditions\r\n\r\n") + kRule;
    text += std::string("  Suppressed\r\n\r\n") + kRule;
    if (m_Info[5] > 0) {
        text += "Node   DOF\r\n";
        for (int i = 0; i < m_Info[5]; ++i)
            text += AfxFormat("%i  %i\r\n", static_cast<int>(m_SupBC[2 * i]),
                              static_cast<int>(m_SupBC[2 * i + 1]));
    } else {
        text += "   No suppressed boundary conditions defined\r\n";
    }
    text += std::string(kRule) + "\r\n";
    text += std::string("  Prescribed\r\n\r\n") + kRule;
    if (m_Info[6] > 0) {
        text += "Node   DOF  val\r\n";
        for (int i = 0; i < m_Info[6]; ++i)
            text += AfxFormat("%f  %f %f\r\n", m_PrescVal[3 * i], m_PrescVal[3 * i + 1],
                              m_PrescVal[3 * i + 2]);
    } else {
        text += "   No prescribed boundary conditions defined\r\n";
    }
    text += std::string(kRule) + "\r\n";
    Put(log, text);
}
