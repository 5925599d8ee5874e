#include "app/shell/elemctrl.h"

#include "app/shell/docshell.h"
#include "app/shell/elemchoice.h"

namespace
{

constexpr int kElementRadios[] = {7123, 7124, 7125, 7126, 7127, 7128, 1073};
constexpr int kRule[] = {442, 1063};
constexpr int kPoints[] = {1032, 1146, 1145};
constexpr int kPlane[] = {1147, 1148};
constexpr int kPointsGroup = 16177, kPlaneFrame = 50096;
constexpr int kPicture = 1072, kDescription = 1144;

using namespace brantel;

} // namespace

IMPLEMENT_DYNCREATE(CDlgElemCtrl, CPropertyPage)

BEGIN_MESSAGE_MAP(CDlgElemCtrl, CPropertyPage)
ON_BN_CLICKED(7123, OnElement)
ON_BN_CLICKED(7124, OnElement)
ON_BN_CLICKED(7125, OnElement)
ON_BN_CLICKED(7126, OnElement)
ON_BN_CLICKED(7127, OnElement)
ON_BN_CLICKED(7128, OnElement)
ON_BN_CLICKED(1073, OnElement)
END_MESSAGE_MAP()

CDlgElemCtrl::CDlgElemCtrl() : CPropertyPage(IDD) {}

CDlgElemCtrl::~CDlgElemCtrl() = default;

void CDlgElemCtrl::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, kPicture, m_stPicture);
    DDX_Text(pDX, 344, m_iPrint);
    DDV_MinMaxInt(pDX, m_iPrint, 0, 1000000);
    DDX_Radio(pDX, kRule[0], m_iIntegrationRule);
    DDX_Radio(pDX, kPoints[0], m_iIntegrationPoints);
    DDX_Radio(pDX, kPlane[0], m_iPlaneState);
    DDX_Radio(pDX, kElementRadios[0], m_iElement);
}

BOOL CDlgElemCtrl::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    auto hidePlateExtras = [this] {
        ShowControl(*this, 1073, false);
        for (int nID : {kPointsGroup, kPoints[0], kPoints[1], kPoints[2], kPlaneFrame, kPlane[0],
                        kPlane[1]})
            ShowControl(*this, nID, false);
    };
    auto relabelEvaluation = [this] { RelabelStressEvaluation(*this); };
    static const char* const kMembraneNames[] = {"CST", "LST", "QST", "Q4", "Q6", "Q8"};
    switch (m_iMode) {
    case modePlate:
        hidePlateExtras();
        break;
    case modeMembrane:
        for (int i = 0; i < 6; ++i)
            GetDlgItem(kElementRadios[i])->SetWindowText(kMembraneNames[i]);
        EnableControl(*this, kElementRadios[0], true);
        relabelEvaluation();
        break;
    case modeBucklingPlate:
        hidePlateExtras();
        ShowControl(*this, kElementRadios[t6], false);
        EnableControl(*this, kElementRadios[t15], true);
        break;
    case modeBucklingMembrane:
        for (int i = 0; i < 3; ++i)
            GetDlgItem(kElementRadios[i])->SetWindowText(kMembraneNames[i]);
        for (int i = 3; i < 7; ++i)
            ShowControl(*this, kElementRadios[i], false);
        relabelEvaluation();
        break;
    default:
        break;
    }
    UpdateControls();
    UpdateData(FALSE);
    return TRUE;
}

void CDlgElemCtrl::OnElement()
{
    TakeQuietly();
    UpdateControls();
}

void CDlgElemCtrl::ShowElement(UINT nText, UINT nBitmap)
{
    CString text;
    AfxLoadString(nText, text);
    GetDlgItem(kDescription)->SetWindowText(text);
    ShowElementBitmap(m_stPicture, m_pBitmap, nBitmap);
}

void CDlgElemCtrl::UpdateControls()
{
    if (IsMembrane()) {
        const ElementIds ids = MembraneElementIds(m_iElement);
        const MembranePoints* row = MembranePointsOf(m_iElement);
        if (!row) {
            ShowElement(ids.text, ids.bitmap);
            return;
        }
        for (int nID : kRule)
            EnableControl(*this, nID, row->evaluation);
        for (int i = 0; i < 3; ++i) {
            GetDlgItem(kPoints[i])->SetWindowText(row->labels[i]);
            EnableControl(*this, kPoints[i], row->points);
        }
        ShowElement(ids.text, ids.bitmap);
        return;
    }
    const bool analytical = m_iElement == t15 || m_iElement == t18 || m_iElement == t21;
    for (int nID : kRule)
        EnableControl(*this, nID, analytical);
    const ElementIds ids = PlateElementIds(m_iElement);
    ShowElement(ids.text, ids.bitmap);
}

BOOL CDlgElemCtrl::OnApply()
{
    if (IsMembrane()) {
        int full = -1;
        CString name;
        if ((m_iElement == q4 || m_iElement == q6) && m_iIntegrationPoints < 1) {
            full = 1;
            name = m_iElement == q4 ? "Q4" : "Q6";
        } else if ((m_iElement == q8 || m_iElement == q9) && m_iIntegrationPoints < 2) {
            full = 2;
            name = m_iElement == q8 ? "Q8" : "Q9";
        }
        if (full >= 0) {
            CString question;
            question.Format("Full integration of %s requires a minimum of %s integration "
                            "points.\r\nDo you want to reset to full integration?",
                            LPCTSTR(name), full == 1 ? "2x2" : "3x3");
            switch (AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES:
                m_iIntegrationPoints = full;
                UpdateData(FALSE);
                break;
            case IDNO:
                break;
            default:
                return FALSE;
            }
        }
    }
    return CPropertyPage::OnApply();
}

IMPLEMENT_DYNAMIC(CDlgConstrMesh, CDialog)

BEGIN_MESSAGE_MAP(CDlgConstrMesh, CDialog)
ON_BN_CLICKED(535, OnListCheck)
ON_BN_CLICKED(1086, OnListCheck)
ON_BN_CLICKED(536, OnListCheck)
ON_BN_CLICKED(1087, OnListCheck)
END_MESSAGE_MAP()

CDlgConstrMesh::CDlgConstrMesh(CWnd* pParent) : CDialog(IDD, pParent) {}

void CDlgConstrMesh::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    // Each count, and then both together, within the largest mesh made.
    constexpr UINT kMax = static_cast<UINT>(CDocRestr::kMaxElements);
    DDX_Text(pDX, 1002, m_nM);
    DDV_MinMaxUInt(pDX, m_nM, 1, kMax);
    DDX_Text(pDX, 1003, m_nN);
    DDV_MinMaxUInt(pDX, m_nN, 1, kMax);
    if (pDX->Active() && pDX->m_bSaveAndValidate && !CDocRestr::IsElementCountPair(m_nM, m_nN)) {
        pDX->PrepareEditCtrl(1003);
        AfxMessageBox(AfxFormat("A mesh of %u x %u elements is larger than the %llu elements "
                                "the program meshes.",
                                m_nM, m_nN, CDocRestr::kMaxElements)
                          .c_str(),
                      MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    const struct {
        int radio, edit;
        int& prog;
        double& ratio;
    } ratios[] = {{1077, 1005, m_iProgR, m_dR},
                  {1079, 16207, m_iProgS, m_dS},
                  {1081, 1078, m_iProgT, m_dT},
                  {1083, 347, m_iProgU, m_dU}};
    for (const auto& r : ratios) {
        DDX_Radio(pDX, r.radio, r.prog);
        DDX_Text(pDX, r.edit, r.ratio);
        DDV_MinMaxDouble(pDX, r.ratio, 1e-16, 1e+47);
    }
    DDX_Text(pDX, 352, m_iOddRows);
    DDV_MinMaxInt(pDX, m_iOddRows, 1, 4);
    DDX_Text(pDX, 1085, m_iEvenRows);
    DDV_MinMaxInt(pDX, m_iEvenRows, 1, 4);
    DDX_Check(pDX, 535, m_bListR);
    DDX_Check(pDX, 1086, m_bListS);
    DDX_Check(pDX, 536, m_bListT);
    DDX_Check(pDX, 1087, m_bListU);
    DDX_Text(pDX, 16230, m_strListR);
    DDX_Text(pDX, 16239, m_strListS);
    DDX_Text(pDX, 50085, m_strListT);
    DDX_Text(pDX, 50089, m_strListU);
}

BOOL CDlgConstrMesh::OnInitDialog()
{
    CDialog::OnInitDialog();
    OnListCheck();
    return TRUE;
}

void CDlgConstrMesh::OnListCheck()
{
    TakeQuietly();
    const struct {
        int check, radio1, radio2, ratio, list;
    } rows[] = {{535, 1077, 1076, 1005, 16230},
                {1086, 1079, 1080, 16207, 16239},
                {536, 1081, 1082, 1078, 50085},
                {1087, 1083, 1084, 347, 50089}};
    for (const auto& r : rows) {
        const bool list = static_cast<CButton*>(GetDlgItem(r.check))->GetCheck() != 0;
        for (int nID : {r.radio1, r.radio2, r.ratio})
            EnableControl(*this, nID, !list);
        EnableControl(*this, r.list, list);
    }
}
