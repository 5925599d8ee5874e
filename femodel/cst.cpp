#include "femodel/cst.h"

#include "femodel/boundcond.h"

#include <cmath>
#include <string>

IMPLEMENT_SERIAL(CCST, CTriElement, 1)

namespace {

// The value a condition gives DOF code `code` (a support 0, a prescribed
// displacement its value); 0 without a condition or without that DOF.
double ConditionValue(CBoundCond* cond, int code)
{
    const CVector* v = cond ? cond->GetDOFVector() : nullptr;
    if (!v)
        return 0.0;
    const int n = v->GetSize() / 2;
    for (int i = 0; i < n; ++i)
        if (static_cast<int>((*v)[i]) == code)
            return (*v)[n + i];
    return 0.0;
}

// Entry (dof, 0) of m; 0 for a DOF outside the matrix.
double At(const CMatrix& m, LONG dof)
{
    if (dof < 0 || dof >= m.GetRows() || m.GetColumns() < 1)
        return 0.0;
    return m.GetVector()[static_cast<long long>(dof) * m.GetColumns()];
}

} // namespace

// ------------------------------------------------------------ stiffness

void CCST::ResistMaterial(CMatrix& d)
{
    // E / (1 - nu^2) for E = 210000 and nu = 0.3.
    constexpr double f = 230769.23076923075;
    d.Allocate(3, 3, true, 0.0);
    d[0][0] = d[1][1] = f;
    d[0][1] = d[1][0] = 0.3 * f;
    d[2][2] = 0.35 * f;
}

void CCST::CornerDofs(CArrayArray<LONG>& dofs, LONG out[6]) const
{
    for (int i = 0; i < 3; ++i) {
        out[2 * i] = out[2 * i + 1] = -1;
        CSNode* node = i < GetCount() ? GetNode(i) : nullptr;
        if (!node)
            continue;
        const long long row = static_cast<long long>(node->GetID()) - 1;
        if (row < 0 || row >= dofs.GetCount() || dofs.GetRowLength(static_cast<int>(row)) < 2)
            continue;
        const LONG* r = dofs[static_cast<int>(row)];
        out[2 * i] = r[0];
        out[2 * i + 1] = r[1];
    }
}

void CCST::Build_k(CMatrix& k, CMatrix& d, bool unrotated)
{
    k.Allocate(6, 6, true, 0.0);
    if (GetCount() < 3 || d.GetRows() < 3 || d.GetColumns() < 3)
        return;
    const CSNode* n[3] = {GetNode(0), GetNode(1), GetNode(2)};
    const double b[3] = {n[1]->y - n[2]->y, n[2]->y - n[0]->y, n[0]->y - n[1]->y};
    const double c[3] = {n[2]->x - n[1]->x, n[0]->x - n[2]->x, n[1]->x - n[0]->x};
    // The corners may run either way round: the stiffness needs the area
    // itself. A degenerate triangle has no stiffness rather than infinite one.
    const double area = std::fabs(PhysicalSize());
    if (area == 0.0)
        return;
    const double s = 1.0 / (4.0 * area);
    double D[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            D[i][j] = d[i][j];
    for (int i = 0; i < 3; ++i) {
        for (int j = i; j < 3; ++j) {
            // d Bj, Bj = ((bj, 0), (0, cj), (cj, bj)).
            double dB[3][2];
            for (int r = 0; r < 3; ++r) {
                dB[r][0] = D[r][0] * b[j] + D[r][2] * c[j];
                dB[r][1] = D[r][1] * c[j] + D[r][2] * b[j];
            }
            for (int q = 0; q < 2; ++q) {
                k[2 * i][2 * j + q] = s * (b[i] * dB[0][q] + c[i] * dB[2][q]);
                k[2 * i + 1][2 * j + q] = s * (c[i] * dB[1][q] + b[i] * dB[2][q]);
            }
        }
    }
    for (int r = 0; r < 6; ++r)
        for (int q = r + 1; q < 6; ++q)
            k[q][r] = k[r][q];
    if (unrotated)
        return;
    CMatrix rot;
    for (int i = 0; i < 3; ++i)
        Rot2DDOF(GetNode(i)->GetBC(0), k, rot, 2 * i);
    if (pOutputFile && m_iPrnSw > 2) {
        const std::string head =
            AfxFormat(" Rotated stiffness matrix for CST-element %u:\r\n", static_cast<unsigned>(m_ulID));
        pOutputFile->Write(head.data(), static_cast<UINT>(head.size()));
        k.WriteASCII(pOutputFile, "", "", 14, 6, 1, false, false);
    }
}

void CCST::AddElmt(CVirtRealMat& K, CMatrix& d, CVirtRealMat*, CArrayArray<LONG>& dofs)
{
    if (GetCount() < 3)
        return;
    // One work matrix for every element: assembly allocates nothing.
    static thread_local CMatrix k;
    Build_k(k, d, false);
    LONG list[6];
    CornerDofs(dofs, list);
    K.AddValues(list, k.GetVector(), 6);
}

void CCST::SetNumDOFs()
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        const unsigned long number = GetNextNode(pos)->GetID();
        if (number >= 0x7fffffffUL)
            continue;
        const int at = static_cast<int>(number);
        if (at >= m_vectStartDOF.GetSize())
            m_vectStartDOF += CVector(at + 1, true, 0.0); // zero-padded growth
        if (m_vectStartDOF[at] < 2.0)
            m_vectStartDOF[at] = 2.0;
    }
}

// ------------------------------------------------------------ solution

void CCST::AddDispl(CArrayArray<LONG>& dofs, int step, int col, double factor)
{
    if (!m_pLoadMat || col < 0 || col > 1 || step < 0 || GetCount() < 3)
        return;
    const CMatrix& solution = *m_pLoadMat;
    LONG list[6];
    CornerDofs(dofs, list);
    if (step < m_nNodeVal) {
        // The element's own result vectors, made when missing.
        if (!m_pRes || m_nRes < 3)
            AllocateRes(3);
        for (int i = 0; i < 3; ++i) {
            CVector* v = GetRes(i);
            if (!v) {
                v = new CVector(m_nNodeVal, true, 0.0);
                SetRes(i, v);
            }
            if (step >= v->GetSize())
                continue;
            const LONG dof = list[2 * i + col];
            (*v)[step] = dof < 0 ? 0.0 : (*v)[step] + factor * At(solution, dof);
        }
        return;
    }
    const int j = step - m_nNodeVal;
    for (int i = 0; i < 3; ++i) {
        CSNode* node = GetNode(i);
        if (!IsOwnNode(node))
            continue;
        CBoundCond* cond = node->GetBC(0);
        const double a = cond ? cond->GetAngle() : 0.0;
        double component = 0.0;
        if (a != 0.0) {
            // Local displacements (prescribed ones for DOFs without a
            // number) turned back to the global directions.
            double local[2];
            for (int q = 0; q < 2; ++q) {
                const LONG dof = list[2 * i + q];
                local[q] = dof >= 0 ? At(solution, dof) : ConditionValue(cond, q + 1);
            }
            const double ca = std::cos(a), sa = std::sin(a);
            component = col == 0 ? ca * local[0] - sa * local[1] : sa * local[0] + ca * local[1];
        } else {
            const LONG dof = list[2 * i + col];
            component = dof >= 0 ? At(solution, dof) : 0.0;
        }
        const double value = node->GetValue(j) + factor * component;
        node->SetValue(value, j);
        Widen(step, value);
    }
}

void CCST::GetResist(CMatrix& r, CMatrix& u, CArrayArray<LONG>& dofs)
{
    if (GetCount() < 3)
        return;
    static thread_local CMatrix k;
    static thread_local CMatrix d;
    ResistMaterial(d);
    Build_k(k, d, true);
    LONG list[6];
    CornerDofs(dofs, list);
    double ue[6];
    for (int i = 0; i < 3; ++i)
        for (int q = 0; q < 2; ++q) {
            const LONG dof = list[2 * i + q];
            ue[2 * i + q] = dof >= 0 ? At(u, dof) : ConditionValue(GetNode(i)->GetBC(0), q + 1);
        }
    const int cols = r.GetColumns();
    for (int p = 0; p < 6; ++p) {
        const LONG dof = list[p];
        if (dof < 0 || dof >= r.GetRows() || cols < 1)
            continue;
        double sum = 0.0;
        for (int q = 0; q < 6; ++q)
            sum += k[p][q] * ue[q];
        r.GetVector()[static_cast<long long>(dof) * cols] += sum;
    }
}

// ------------------------------------------------------------ refinement

void CCST::RefineUniform(int n, CObList* out)
{
    RefineAtDividers<CCST>(n, out);
}
