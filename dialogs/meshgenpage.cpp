#include "dialogs/meshgenpage.h"

IMPLEMENT_DYNCREATE(VokPPMeshGenSett, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPMeshGenSett, CPropertyPage)
ON_BN_CLICKED(16068, OnRestoreDefault)
ON_BN_CLICKED(446, OnControlType)
ON_BN_CLICKED(447, OnControlType)
ON_BN_CLICKED(448, OnControlType)
ON_BN_CLICKED(16120, OnModified)
ON_BN_CLICKED(16121, OnModified)
ON_BN_CLICKED(16122, OnModified)
ON_EN_CHANGE(16123, OnModified)
ON_EN_CHANGE(16124, OnModified)
ON_EN_CHANGE(16125, OnModified)
ON_EN_CHANGE(16126, OnModified)
ON_EN_CHANGE(367, OnModified)
END_MESSAGE_MAP()

namespace
{
constexpr int kRestoredMinElements = 300;
constexpr int kRestoredTrialNodes = 5000;
constexpr int kMaxSubdivisions = 10000000;
} // namespace

VokPPMeshGenSett::VokPPMeshGenSett() : CPropertyPage(IDD) {}

VokPPMeshGenSett::VokPPMeshGenSett(int* piMinElements, int* piTrialNodes, int* piInterpolation,
                                   int* piEvenRows, int* piOddRows, bool* pbMeshValid,
                                   bool* pbSuppressWarnings, int iControlType, int iSubdivisions,
                                   int iDefaultSubdivisions)
    : CPropertyPage(IDD), m_iControlType(iControlType), m_iSubdivisions(iSubdivisions),
      m_piMinElements(piMinElements), m_piTrialNodes(piTrialNodes),
      m_piInterpolation(piInterpolation), m_piEvenRows(piEvenRows), m_piOddRows(piOddRows),
      m_pbMeshValid(pbMeshValid), m_pbSuppressWarnings(pbSuppressWarnings),
      m_iMinElements(*piMinElements), m_iTrialNodes(*piTrialNodes),
      m_iInterpolation(*piInterpolation), m_uEvenRows(static_cast<UINT>(*piEvenRows)),
      m_uOddRows(static_cast<UINT>(*piOddRows)), m_iSuppressWarnings(*pbSuppressWarnings ? 1 : 0),
      m_iWorkControlType(iControlType), m_iWorkSubdivisions(iSubdivisions),
      m_iDefaultSubdivisions(iDefaultSubdivisions)
{
}

void VokPPMeshGenSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 367, m_editSubdivisions);
    DDX_Text(pDX, 16123, m_iMinElements);
    DDV_Range(pDX, m_iMinElements, AfxRange::AtLeast(1), "Minimum number of elements");
    DDX_Text(pDX, 16124, m_iTrialNodes);
    DDV_Range(pDX, m_iTrialNodes, AfxRange::AtLeast(1), "Number of trial nodes");
    DDX_Text(pDX, 16125, m_uEvenRows);
    DDV_MinMaxUInt(pDX, m_uEvenRows, 1, 4);
    DDX_Text(pDX, 16126, m_uOddRows);
    DDV_MinMaxUInt(pDX, m_uOddRows, 1, 4);
    DDX_Radio(pDX, 16120, m_iInterpolation);
    DDX_Check(pDX, 503, m_iSuppressWarnings);
    DDX_Radio(pDX, 446, m_iWorkControlType);
    DDX_Text(pDX, 367, m_iWorkSubdivisions);
    DDV_MinMaxInt(pDX, m_iWorkSubdivisions, 0, kMaxSubdivisions);
}

BOOL VokPPMeshGenSett::OnInitDialog()
{
    m_bFilling = true;
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = false;
    m_editSubdivisions.SetReadOnly(m_iWorkControlType != ctrlSubdivide);
    return result;
}

void VokPPMeshGenSett::Store(int* pTarget, int value)
{
    if (*pTarget == value)
        return;
    *pTarget = value;
    *m_pbMeshValid = false;
}

BOOL VokPPMeshGenSett::OnApply()
{
    if (m_piMinElements) {
        Store(m_piMinElements, m_iMinElements);
        Store(m_piTrialNodes, m_iTrialNodes);
        Store(m_piInterpolation, m_iInterpolation);
        Store(m_piEvenRows, static_cast<int>(m_uEvenRows));
        Store(m_piOddRows, static_cast<int>(m_uOddRows));
        const bool bSuppress = m_iSuppressWarnings != 0;
        if (*m_pbSuppressWarnings != bSuppress) {
            *m_pbSuppressWarnings = bSuppress;
            *m_pbMeshValid = false;
        }
        if (m_iControlType != m_iWorkControlType) {
            m_iControlType = m_iWorkControlType;
            *m_pbMeshValid = false;
        }
        if (m_iSubdivisions != m_iWorkSubdivisions) {
            m_iSubdivisions = m_iWorkSubdivisions;
            *m_pbMeshValid = false;
        }
    }
    return CPropertyPage::OnApply();
}

void VokPPMeshGenSett::OnControlType()
{
    TakeQuietly();
    SetModified(TRUE);
    // The radio the user chose decides, also when another value of the page
    // was refused by the exchange above.
    switch (GetCheckedRadioButton(446, 448)) {
    case 446: {
        CString text;
        text.Format("%u", static_cast<unsigned>(m_iDefaultSubdivisions));
        m_editSubdivisions.SetSel(0, -1);
        m_editSubdivisions.ReplaceSel(text);
        m_editSubdivisions.SetReadOnly(TRUE);
        break;
    }
    case 447:
        m_editSubdivisions.SetReadOnly(TRUE);
        break;
    case 448:
        m_editSubdivisions.SetReadOnly(FALSE);
        break;
    default:
        break;
    }
}

void VokPPMeshGenSett::OnRestoreDefault()
{
    SetModified(TRUE);
    m_iWorkSubdivisions = m_iDefaultSubdivisions;
    m_iMinElements = kRestoredMinElements;
    m_iTrialNodes = kRestoredTrialNodes;
    m_iInterpolation = 0;
    m_uOddRows = 1;
    m_uEvenRows = 1;
    m_iSuppressWarnings = 0;
    m_iWorkControlType = ctrlDefault;
    UpdateData(FALSE);
    OnControlType();
}

void VokPPMeshGenSett::OnModified()
{
    if (!m_bFilling)
        SetModified(TRUE);
}
