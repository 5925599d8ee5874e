#include "app/shell/loadgroup.h"

#include <cmath>

#include "femodel/strelna.h"
#include "matrix/zelkor.h"

IMPLEMENT_DYNCREATE(CPPLoadGrp, CPropertyPage)

CPPLoadGrp::CPPLoadGrp() : CPropertyPage(IDD) {}

namespace
{

// A refused value: the message, then the control gets the focus.
void Refuse(CDataExchange* pDX, int nIDC, const CString& rule)
{
    if (nIDC == CPPLoadGrp::IDC_TYPE1)
        pDX->PrepareCtrl(nIDC);
    else
        pDX->PrepareEditCtrl(nIDC);
    AfxMessageBox(rule, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

} // namespace

CString CPPLoadGrp::CheckValues() const
{
    if (m_iType != 0 && m_iType != 1)
        return "Choose Type 1 or Type 2.";
    const int least = m_iType == 1 ? 2 : 1;
    if (m_nCols < least || m_nCols > kMaxCount || m_nRows < least || m_nRows > kMaxCount) {
        CString rule;
        rule.Format("n and m must be whole numbers from %d to %d%s.", least, kMaxCount,
                    m_iType == 1 ? " for Type 2" : "");
        return rule;
    }
    if (!(m_dSpacing > 0.0))
        return "Delta x must be greater than 0.";
    if (!(std::fabs(std::cos(m_dAngle)) >= kMinCosine))
        return "The angle must not be +-90 degrees (|cos angle| must be at least 1e-6).";
    return "";
}

void CPPLoadGrp::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_COLS, m_nCols);
    DDX_Text(pDX, IDC_ROWS, m_nRows);
    DDX_Text(pDX, IDC_ANGLE, m_dAngle);
    // Signs and sizes beyond the finite range are the rules' business below.
    const AfxRange any = AfxRange::Signed();
    DDX_Number(pDX, IDC_LOAD1, m_dLoad1, any, "load");
    DDX_Number(pDX, IDC_SPACING, m_dSpacing, any, "Delta x");
    DDX_Number(pDX, IDC_X0, m_dX0, any, "x0");
    DDX_Number(pDX, IDC_Y0, m_dY0, any, "y0");
    DDX_Radio(pDX, IDC_TYPE1, m_iType);
    DDX_Radio(pDX, IDC_POINTS, m_iShape);
    DDX_Number(pDX, IDC_RADIUS, m_dRadius, any, "R");
    DDX_Number(pDX, IDC_LOAD2, m_dLoad2, any, "load 2");
    DDX_Text(pDX, IDC_SECTIONS, m_nSections);
    if (!pDX->m_bSaveAndValidate || pDX->HasFailed())
        return;
    const CString rule = CheckValues();
    if (rule.IsEmpty())
        return;
    // The control the rule is about.
    int nIDC = IDC_COLS;
    const int least = m_iType == 1 ? 2 : 1;
    if (m_iType != 0 && m_iType != 1)
        nIDC = IDC_TYPE1;
    else if (m_nCols >= least && m_nCols <= kMaxCount)
        nIDC = m_nRows < least || m_nRows > kMaxCount ? IDC_ROWS
               : !(m_dSpacing > 0.0)                  ? IDC_SPACING
                                                      : IDC_ANGLE;
    Refuse(pDX, nIDC, rule);
}

void CPPLoadGrp::Generate(CObjMat& out)
{
    if (!CheckValues().IsEmpty()) {
        out.Allocate(0, 0, true, nullptr);
        return;
    }
    const int k = m_iType + 1;
    const int n = m_nCols, m = m_nRows;
    out.Allocate(m * k, n, true, nullptr);

    const int entries = m * k * n;
    CNodeLoad load;
    load.Allocate(2, true, 0.0);
    load.SetValue(0, m_dLoad1 / entries);
    load.SetValue(1, m_dLoad2 / entries);

    // The parallelogram: P0 the first point, P1 the end of the first row,
    // P3 the start of the last row (rows stay a spacing apart measured
    // perpendicular to them), P2 the far corner.
    const double p0[2] = {m_dX0, m_dY0};
    const double p1[2] = {p0[0] + (n - 1) * m_dSpacing * std::cos(m_dAngle),
                          p0[1] + (n - 1) * m_dSpacing * std::sin(m_dAngle)};
    const double p3[2] = {p0[0], p0[1] + (m - 1) * m_dSpacing / std::cos(m_dAngle)};
    const double p2[2] = {p1[0] + p3[0] - p0[0], p1[1] + p3[1] - p0[1]};

    auto place = [&](int row, int col, double x, double y) {
        auto* node = new CBoundNode(x, y, 0.0, nullptr, 0);
        node->SetNodeLoad(load);
        out[row][col] = node;
    };
    for (int j = 0; j < m; ++j) {
        const double t = m == 1 ? 0.0 : static_cast<double>(j) / (m - 1);
        const double left[2] = {(1 - t) * p0[0] + t * p3[0], (1 - t) * p0[1] + t * p3[1]};
        const double right[2] = {(1 - t) * p1[0] + t * p2[0], (1 - t) * p1[1] + t * p2[1]};
        for (int i = 0; i < n; ++i) {
            const double u = n == 1 ? 0.0 : static_cast<double>(i) / (n - 1);
            place(j * k, i, (1 - u) * left[0] + u * right[0], (1 - u) * left[1] + u * right[1]);
        }
    }
    if (k == 2) {
        // Half the step one grid row up and one point back.
        auto* up = static_cast<CSNode*>(out[2][0]);
        auto* next = static_cast<CSNode*>(out[0][1]);
        const double h[2] = {0.5 * (up->x - next->x), 0.5 * (up->y - next->y)};
        for (int j = 0; j < m; ++j)
            for (int i = 0; i < n; ++i) {
                auto* base = static_cast<CSNode*>(out[2 * j][i]);
                place(2 * j + 1, i, base->x + h[0], base->y + h[1]);
            }
    }
}
