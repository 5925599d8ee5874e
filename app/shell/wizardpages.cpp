#include "app/shell/wizardpages.h"

#include "app/shell/elemchoice.h"

using namespace brantel;

namespace
{

constexpr int kBack = 1065, kNext = 1066;
constexpr int kPicture = 1072, kDescription = 1144;
constexpr int kFreeMesh = 1067, kConstrainedMesh = 448;
constexpr int kMembraneRadios[] = {1068, 1069, 1074, 1075, 446, 447, 1073};
constexpr int kPlateRadios[] = {1070, 7121, 7122, 1204, 507, 541};
constexpr int kPoints[] = {1032, 1146, 1145};
constexpr int kRule[] = {442, 1063};
constexpr int kPlane[] = {1147, 1148};
constexpr int kPointsGroup = 16177, kPlaneFrame = 50096;

} // namespace

// ---- CDlgMeshType -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDlgMeshType, CDialog)

BEGIN_MESSAGE_MAP(CDlgMeshType, CDialog)
ON_BN_CLICKED(1068, OnElement)
ON_BN_CLICKED(1069, OnElement)
ON_BN_CLICKED(1074, OnElement)
ON_BN_CLICKED(1075, OnElement)
ON_BN_CLICKED(446, OnElement)
ON_BN_CLICKED(447, OnElement)
ON_BN_CLICKED(1073, OnElement)
ON_BN_CLICKED(1070, OnElement)
ON_BN_CLICKED(7121, OnElement)
ON_BN_CLICKED(7122, OnElement)
ON_BN_CLICKED(1204, OnElement)
ON_BN_CLICKED(507, OnElement)
ON_BN_CLICKED(541, OnElement)
ON_BN_CLICKED(kBack, OnBack)
ON_BN_CLICKED(kNext, OnNext)
END_MESSAGE_MAP()

CDlgMeshType::CDlgMeshType(CWnd* pParent) : CDialog(IDD, pParent) {}

CDlgMeshType::~CDlgMeshType() = default;

void CDlgMeshType::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPicture, m_stPicture);
    DDX_Radio(pDX, kFreeMesh, m_iMesh);
    DDX_Radio(pDX, kMembraneRadios[0], m_iMembraneElement);
    DDX_Radio(pDX, kPlateRadios[0], m_iPlateElement);
}

BOOL CDlgMeshType::OnInitDialog()
{
    // A buckling document has no constrained-mesh form: its plate part
    // would not be analysed. The choice is neither offered nor kept.
    const bool buckling = m_iKind == kindBucklingPlate || m_iKind == kindBucklingMembrane;
    if (buckling)
        m_iMesh = 0;
    // A choice kept from an earlier pass that this kind does not offer
    // would stay checked behind a hidden radio: the default takes its place.
    if (m_iKind == kindBucklingPlate && m_iPlateElement == t6)
        m_iPlateElement = dkt;
    if (m_iKind == kindBucklingMembrane && m_iMembraneElement > qst)
        m_iMembraneElement = lst;
    CDialog::OnInitDialog();
    if (IsMembrane()) {
        for (int nID : kPlateRadios)
            ShowControl(*this, nID, false);
        if (m_iKind == kindBucklingMembrane)
            for (int i = q4; i <= q9; ++i)
                ShowControl(*this, kMembraneRadios[i], false);
    } else {
        for (int nID : kMembraneRadios)
            ShowControl(*this, nID, false);
        if (m_iKind == kindBucklingPlate)
            ShowControl(*this, kPlateRadios[t6], false);
    }
    EnableControl(*this, kConstrainedMesh, !buckling);
    ShowDescription();
    return TRUE;
}

void CDlgMeshType::ShowDescription()
{
    const ElementIds ids =
        IsMembrane() ? MembraneElementIds(m_iMembraneElement) : PlateElementIds(m_iPlateElement);
    CString text;
    AfxLoadString(ids.text, text);
    GetDlgItem(kDescription)->SetWindowText(text);
    ShowElementBitmap(m_stPicture, m_pBitmap, ids.bitmap);
}

void CDlgMeshType::OnElement()
{
    TakeQuietly();
    ShowDescription();
}

void CDlgMeshType::OnBack()
{
    m_iKind = navBack;
    CDialog::OnOK();
}

void CDlgMeshType::OnNext()
{
    m_iKind = navNext;
    CDialog::OnOK();
}

void CDlgMeshType::OnCancel()
{
    m_iKind = navCancel;
    CDialog::OnCancel();
}

// ---- CDlgFinal --------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDlgFinal, CDialog)

BEGIN_MESSAGE_MAP(CDlgFinal, CDialog)
ON_BN_CLICKED(kBack, OnBack)
ON_BN_CLICKED(kNext, OnNext)
END_MESSAGE_MAP()

CDlgFinal::CDlgFinal(CWnd* pParent) : CDialog(IDD, pParent) {}

CDlgFinal::~CDlgFinal() = default;

void CDlgFinal::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPicture, m_stPicture);
    DDX_Text(pDX, 344, m_iPrint);
    DDX_Radio(pDX, kPoints[0], m_iIntegrationPoints);
    DDX_Radio(pDX, kRule[0], m_iIntegrationRule);
    DDX_Radio(pDX, kPlane[0], m_iPlaneState);
}

BOOL CDlgFinal::OnInitDialog()
{
    CDialog::OnInitDialog();
    UINT bitmap = 16015;
    if (m_iKind != kindMembrane) {
        for (int nID : {kPointsGroup, kPoints[0], kPoints[1], kPoints[2], kPlaneFrame, kPlane[0],
                        kPlane[1]})
            ShowControl(*this, nID, false);
        const bool analytical = m_iElement == t15 || m_iElement == t18 || m_iElement == t21;
        for (int nID : kRule)
            EnableControl(*this, nID, analytical);
        bitmap = PlateElementIds(m_iElement).bitmap;
    } else {
        RelabelStressEvaluation(*this);
        bitmap = MembraneElementIds(m_iElement).bitmap;
        if (const MembranePoints* row = MembranePointsOf(m_iElement)) {
            for (int nID : kRule)
                EnableControl(*this, nID, row->evaluation);
            for (int i = 0; i < 3; ++i) {
                GetDlgItem(kPoints[i])->SetWindowText(row->labels[i]);
                EnableControl(*this, kPoints[i], row->points);
            }
            if (row->full >= 0)
                m_iIntegrationPoints = row->full;
        }
    }
    ShowElementBitmap(m_stPicture, m_pBitmap, bitmap);
    UpdateData(FALSE);
    return TRUE;
}

void CDlgFinal::OnBack()
{
    m_iKind = navBack;
    CDialog::OnOK();
}

void CDlgFinal::OnNext()
{
    m_iKind = navNext;
    CDialog::OnOK();
}
