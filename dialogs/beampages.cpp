#include "dialogs/beampages.h"

#include "dialogs/pagehelpers.h"
#include "dialogs/resources.h"
#include "dialogs/templaterows.h"

namespace
{

constexpr int kLengthStatic = 16258;
constexpr int kParabolic = 16236, kCircular = 16237;
constexpr int kEcc1[3] = {16038, 16039, 16042};
constexpr int kEcc2[3] = {16040, 16041, 16043};
constexpr int kZDir[3] = {16204, 16205, 16206};

constexpr int kClassCombo = 16034, kElemCount = 16035, kSecondCount = 16079, kChange = 16143;
constexpr int kDefaultClassCombo = 16256;

constexpr int kEulerBernoulli = 16178, kReissnerMindlin = 16179, kSimo = 16180, kOther = 16181;
constexpr int kCodeEdit = 16110;

constexpr int kNodeGroups[2] = {16229, 16230};
// Per end: N, Vy, Vz, Mx, My, Mz.
constexpr int kForceEdits[2][6] = {{16094, 16096, 16097, 16095, 16098, 16100},
                                   {16110, 16112, 16113, 16116, 16099, 16101}};
// The labels of those edits.
constexpr int kForceLabels[2][6] = {{16350, 16351, 16352, 16353, 16354, 16355},
                                    {16356, 16357, 16358, 16359, 16360, 16361}};
constexpr UINT kForcesPicture = 9014;

// Adds each class by name with the class as item data and selects the one
// that equals selected.
void AddClasses(CComboBox& combo, const CBeamClassList& classes, const CRuntimeClass* selected)
{
    for (CRuntimeClass* pClass : classes) {
        if (!pClass)
            continue;
        const int index = combo.AddString(pClass->m_lpszClassName);
        combo.SetItemData(index, reinterpret_cast<DWORD_PTR>(pClass));
        if (pClass == selected)
            combo.SetCurSel(index);
    }
}

// The class the combo's selection carries; none when nothing is selected.
CRuntimeClass* SelectedClass(CComboBox& combo)
{
    return pavesta::ItemPointer<CRuntimeClass>(combo, combo.GetCurSel());
}

CComboBox& Combo(CWnd& wnd, int nID)
{
    return pavesta::ComboOf(wnd, nID);
}

} // namespace

// ---- VokPPBarEdit -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPBarEdit, CPropertyPage)

VokPPBarEdit::VokPPBarEdit() : CPropertyPage(IDD) {}

void VokPPBarEdit::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int i = 0; i < 3; ++i) {
        DDX_Text(pDX, kEcc1[i], m_dEcc1[i]);
        DDX_Text(pDX, kEcc2[i], m_dEcc2[i]);
        DDX_Text(pDX, kZDir[i], m_dZDir[i]);
    }
    DDX_Radio(pDX, kParabolic, m_iArchType);
}

BOOL VokPPBarEdit::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    if (m_iArchType == -1) {
        GetDlgItem(kParabolic)->EnableWindow(FALSE);
        GetDlgItem(kCircular)->EnableWindow(FALSE);
    }
    if (m_dLength != 0.0) {
        CString text;
        text.Format("Length = %g mm", m_dLength);
        SetDlgItemText(kLengthStatic, text);
    } else {
        GetDlgItem(kLengthStatic)->ShowWindow(SW_HIDE);
    }
    return result;
}

// ---- VokPPBeamElemPage -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPBeamElemPage, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPBeamElemPage, CPropertyPage)
ON_BN_CLICKED(kChange, OnChange)
ON_CBN_SELCHANGE(kClassCombo, OnModified)
ON_EN_CHANGE(kElemCount, OnModified)
END_MESSAGE_MAP()

VokPPBeamElemPage::VokPPBeamElemPage() : CPropertyPage(IDD) {}

void VokPPBeamElemPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, kElemCount, m_nElements);
    DDV_MinMaxInt(pDX, m_nElements, 0, 1000000);
    DDX_Text(pDX, kSecondCount, m_nSecond);
    DDX_Check(pDX, kChange, m_iChange);
    // The combo is filled after the first exchange: only read it back.
    if (pDX->m_bSaveAndValidate)
        m_pSelClass = SelectedClass(Combo(*this, kClassCombo));
}

BOOL VokPPBeamElemPage::OnInitDialog()
{
    if (m_pSegment) {
        m_pSelClass = m_pSegment->GetElemClass();
        m_nElements = m_pSegment->GetElemCount();
        m_nSecond = m_pSegment->GetSpare();
        m_iChange = 1;
    }
    m_bFilling = true;
    const BOOL result = CPropertyPage::OnInitDialog();
    if (m_pSegment)
        GetDlgItem(kChange)->ShowWindow(SW_HIDE);
    EnableCounts();

    CComboBox& combo = Combo(*this, kClassCombo);
    if (!m_pSegment && m_pList) {
        CRuntimeClass* pCandidate = nullptr;
        if (pavesta::SharedBySegments(
                *m_pList, [](CBeamSeg& seg) { return seg.GetElemClass(); }, pCandidate) !=
            pavesta::allAgree)
            pCandidate = MixedMarker();
        m_pSelClass = pCandidate;
        if (pCandidate == MixedMarker()) {
            const int index = combo.AddString("  No change ");
            combo.SetItemData(index, reinterpret_cast<DWORD_PTR>(MixedMarker()));
            combo.SetCurSel(index);
        }
    }
    const int nDefault = combo.AddString(" Default ");
    combo.SetItemData(nDefault, 0);
    if (!m_pSelClass)
        combo.SetCurSel(nDefault);
    AddClasses(combo, m_Classes, m_pSelClass);
    UpdateData(FALSE);
    m_bFilling = false;
    return result;
}

void VokPPBeamElemPage::EnableCounts()
{
    GetDlgItem(kElemCount)->EnableWindow(m_iChange != 0);
    GetDlgItem(kSecondCount)->EnableWindow(m_iChange != 0);
}

BOOL VokPPBeamElemPage::OnApply()
{
    if (m_pSegment) {
        m_pSegment->SetElemClass(m_pSelClass);
        m_pSegment->SetElemCount(m_nElements);
        m_pSegment->SetSpare(m_nSecond);
    } else if (m_pList) {
        pavesta::ForBeamSegments(*m_pList, [this](CBeamSeg& seg) {
            if (m_pSelClass != MixedMarker())
                seg.SetElemClass(m_pSelClass);
            if (m_iChange) {
                seg.SetElemCount(m_nElements);
                seg.SetSpare(m_nSecond);
            }
        });
    }
    return CPropertyPage::OnApply();
}

void VokPPBeamElemPage::OnChange()
{
    m_iChange = IsDlgButtonChecked(kChange) ? 1 : 0;
    SetModified(TRUE);
    EnableCounts();
}

void VokPPBeamElemPage::OnModified()
{
    if (!m_bFilling)
        SetModified(TRUE);
}

// ---- VokPPGenBeamElmSett -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPGenBeamElmSett, CPropertyPage)

VokPPGenBeamElmSett::VokPPGenBeamElmSett() : CPropertyPage(IDD) {}

void VokPPGenBeamElmSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 16088, m_iEccentricities);
    DDX_Check(pDX, 16086, m_iLumpedMass);
    DDX_Check(pDX, 16112, m_iExcludeZeroBars);
    DDX_Check(pDX, 16085, m_iOffCenteredShear);
    DDX_Text(pDX, 9030, m_dInitialAxialStrain);
    if (pDX->m_bSaveAndValidate)
        m_pSelClass = SelectedClass(Combo(*this, kDefaultClassCombo));
}

BOOL VokPPGenBeamElmSett::OnInitDialog()
{
    CRuntimeClass* pSelected = m_pSelClass;
    const BOOL result = CPropertyPage::OnInitDialog();
    m_pSelClass = pSelected;
    AddClasses(Combo(*this, kDefaultClassCombo), m_Classes, m_pSelClass);
    UpdateData(FALSE);
    return result;
}

// ---- CPPBeamSett -----------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPPBeamSett, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPBeamSett, CPropertyPage)
ON_BN_CLICKED(kEulerBernoulli, OnElemType)
ON_BN_CLICKED(kReissnerMindlin, OnElemType)
ON_BN_CLICKED(kSimo, OnElemType)
ON_BN_CLICKED(kOther, OnElemType)
END_MESSAGE_MAP()

namespace
{
// The element code of radios 0 to 2; radio 3 keeps any other code.
constexpr int kRadioCodes[3] = {CPPBeamSett::codeEulerBernoulli, CPPBeamSett::codeReissnerMindlin,
                                CPPBeamSett::codeSimo};
} // namespace

CPPBeamSett::CPPBeamSett() : CPropertyPage(IDD) {}

void CPPBeamSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, 16081, m_iPDelta);
    DDX_Check(pDX, 16084, m_iExtra2);
    DDX_Check(pDX, 16082, m_iPDelta2);
    DDX_Check(pDX, 16083, m_iNonUniformWarping);
    DDX_Check(pDX, 16080, m_iUseEICR);
    DDX_Check(pDX, 16087, m_iShearDeformation);
    DDX_Check(pDX, 16257, m_iSmallRotation);
    DDX_Text(pDX, 16111, m_iValue);
    DDX_Text(pDX, kCodeEdit, m_iElemCode);
    DDX_Radio(pDX, kEulerBernoulli, m_iElemType);
}

BOOL CPPBeamSett::OnInitDialog()
{
    m_iElemType = 3;
    for (int i = 0; i < 3; ++i)
        if (m_iElemCode == kRadioCodes[i])
            m_iElemType = i;
    const BOOL result = CPropertyPage::OnInitDialog();
    EnableCode();
    return result;
}

void CPPBeamSett::OnElemType()
{
    TakeQuietly();
    // The radio clicked decides, also when another field was refused above.
    m_iElemType = pavesta::checkedRadio(*this, {kEulerBernoulli, kReissnerMindlin, kSimo, kOther});
    if (m_iElemType >= 0 && m_iElemType < 3)
        m_iElemCode = kRadioCodes[m_iElemType];
    UpdateData(FALSE);
    EnableCode();
}

void CPPBeamSett::EnableCode()
{
    GetDlgItem(kCodeEdit)->EnableWindow(m_iElemType == 3);
}

// ---- VokPPForceOutput -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPForceOutput, CPropertyPage)

VokPPForceOutput::VokPPForceOutput() : CPropertyPage(IDD) {}

void VokPPForceOutput::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (int end = 0; end < 2; ++end)
        for (int i = 0; i < 6; ++i)
            DDX_Text(pDX, kForceEdits[end][i], m_fForces[end][i]);
}

BOOL VokPPForceOutput::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    static const LPCTSTR kForceFormats[3] = {"N  [%s]:", "Vy [%s]:", "Vz [%s]:"};
    static const LPCTSTR kMomentFormats[3] = {"Mx   [%s]:", "My  [%s]:", "Mz  [%s]:"};
    CString text;
    for (int end = 0; end < 2; ++end) {
        if (m_iNode[end] >= 0) {
            text.Format("Node %u:", static_cast<unsigned>(m_iNode[end]));
            SetDlgItemText(kNodeGroups[end], text);
        }
        for (int i = 0; i < 3; ++i) {
            if (!m_strForceUnit.IsEmpty()) {
                text.Format(kForceFormats[i], m_strForceUnit.GetString());
                SetDlgItemText(kForceLabels[end][i], text);
            }
            if (!m_strMomentUnit.IsEmpty()) {
                text.Format(kMomentFormats[i], m_strMomentUnit.GetString());
                SetDlgItemText(kForceLabels[end][3 + i], text);
            }
        }
    }
    return result;
}

// ---- Templates -------------------------------------------------------------------------

namespace
{

using namespace pavesta;

DialogTemplate BarTemplate()
{
    DialogTemplate t;
    t.nID = VokPPBarEdit::IDD;
    t.strCaption = "Orientation && eccentricity";
    t.size = CSize(280, 170);
    t.Add(Ctl(kLengthStatic, AfxCtl::staticText, "", CRect(7, 7, 200, 15)));
    const LPCTSTR columns[3] = {"e_x", "e_y", "e_z"};
    const std::pair<LPCTSTR, const int*> rows[] = {{"Eccentricity 1", kEcc1},
                                                   {"Eccentricity 2", kEcc2}};
    for (int c = 0; c < 3; ++c)
        t.Add(Label(columns[c], CRect(80 + c * 64, 20, 120 + c * 64, 28)));
    int y = 32;
    for (const auto& [label, ids] : rows) {
        t.Add(Label(label, CRect(7, y + 2, 72, y + 10)));
        for (int c = 0; c < 3; ++c)
            t.Add(Ctl(ids[c], AfxCtl::edit, "", CRect(80 + c * 64, y, 140 + c * 64, y + 12),
                      kEditStyle | (y == 32 && c == 0 ? WS_GROUP : 0)));
        y += 16;
    }
    t.Add(Ctl(IDC_STATIC, AfxCtl::groupBox, "Direction of local z' axis", CRect(7, 68, 273, 110)));
    const LPCTSTR axes[3] = {"X", "Y", "Z"};
    for (int c = 0; c < 3; ++c) {
        const int x = 14 + c * 86;
        t.Add(Label(axes[c], CRect(x, 90, x + 8, 98)));
        t.Add(Ctl(kZDir[c], AfxCtl::edit, "", CRect(x + 12, 88, x + 80, 100), kEditStyle));
    }
    t.Add({
        Label("Arch-type", CRect(7, 122, 60, 130)),
        Ctl(kParabolic, AfxCtl::radio, "Parabolic", CRect(70, 120, 140, 130), kGroupStyle),
        Ctl(kCircular, AfxCtl::radio, "Circular", CRect(150, 120, 220, 130)),
    });
    return t;
}

DialogTemplate BeamElementsTemplate()
{
    DialogTemplate t;
    t.nID = VokPPBeamElemPage::IDD;
    t.strCaption = "Elements";
    t.size = CSize(240, 100);
    t.Add({
        Label("Element type", CRect(7, 9, 70, 17)),
        Ctl(kClassCombo, AfxCtl::comboList, "", CRect(80, 7, 233, 19),
            kButtonStyle | WS_VSCROLL | WS_GROUP),
        Label("Number of elements", CRect(7, 27, 90, 35)),
        Ctl(kElemCount, AfxCtl::edit, "", CRect(100, 25, 160, 37), kNumberStyle | WS_GROUP),
        Ctl(kSecondCount, AfxCtl::edit, "", CRect(170, 25, 230, 37), WS_TABSTOP | WS_BORDER),
        Ctl(kChange, AfxCtl::check, "Change", CRect(7, 45, 80, 55), kGroupStyle),
    });
    return t;
}

DialogTemplate GeneralTemplate()
{
    DialogTemplate t;
    t.nID = VokPPGenBeamElmSett::IDD;
    t.strCaption = "General";
    t.size = CSize(280, 170);
    t.Add({
        Ctl(IDC_STATIC, AfxCtl::groupBox, "Default element type", CRect(7, 7, 273, 33)),
        Ctl(kDefaultClassCombo, AfxCtl::comboList, "", CRect(14, 17, 200, 29),
            kButtonStyle | WS_VSCROLL | WS_GROUP),
        Ctl(16088, AfxCtl::check, "Eccentricities", CRect(7, 40, 130, 50), kGroupStyle),
        Ctl(16086, AfxCtl::check, "Lumped mass matrix", CRect(7, 54, 130, 64), kButtonStyle),
        Ctl(16112, AfxCtl::check, "Exclude 0-bars from drawing", CRect(140, 40, 273, 50),
            kButtonStyle),
        Ctl(16085, AfxCtl::check, "Off-centered shear center", CRect(140, 54, 273, 64),
            kButtonStyle),
        Ctl(IDC_STATIC, AfxCtl::groupBox,
            "Artificial initial geometric term (axial elements) based on", CRect(7, 72, 273, 98)),
        Label("Initial axial strain", CRect(14, 84, 100, 92)),
        Ctl(9030, AfxCtl::edit, "", CRect(110, 82, 170, 94), kEditStyle | WS_GROUP),
        Label("1/1000", CRect(176, 84, 210, 92)),
    });
    return t;
}

DialogTemplate BeamSettingsTemplate()
{
    DialogTemplate t;
    t.nID = CPPBeamSett::IDD;
    t.strCaption = "CR-Beam Settings";
    t.size = CSize(280, 170);
    const std::pair<int, LPCTSTR> checks[] = {{16081, "P-delta"},
                                              {16084, "Extra 2"},
                                              {16082, "P-Delta"},
                                              {16083, "Non-uniform warping"},
                                              {16080, "Use EICR"},
                                              {16087, "Include shear deformation"},
                                              {16257, "Use small rotation transformation"}};
    int y = 7;
    for (const auto& [id, text] : checks) {
        t.Add(Ctl(id, AfxCtl::check, text, CRect(7, y, 160, y + 10),
                  id == 16081 ? kGroupStyle : kButtonStyle));
        y += 13;
    }
    t.Add({
        Ctl(16111, AfxCtl::edit, "", CRect(200, 7, 260, 19), WS_TABSTOP | WS_BORDER | WS_GROUP),
        Ctl(kCodeEdit, AfxCtl::edit, "", CRect(200, 23, 260, 35), WS_TABSTOP | WS_BORDER),
        Ctl(kEulerBernoulli, AfxCtl::radio, "Euler-Bernoulli", CRect(7, 104, 160, 114),
            kGroupStyle),
        Ctl(kReissnerMindlin, AfxCtl::radio, "Linear Reissner-Mindlin (1pt)",
            CRect(7, 117, 160, 127)),
        Ctl(kSimo, AfxCtl::radio, "Linear reduced Simo ", CRect(7, 130, 160, 140)),
        // "Other" stands for any code the three do not have; it is not offered.
        Ctl(kOther, AfxCtl::radio, "Other", CRect(7, 143, 160, 153), WS_TABSTOP),
    });
    return t;
}

DialogTemplate ForcesTemplate()
{
    DialogTemplate t;
    t.nID = VokPPForceOutput::IDD;
    t.strCaption = "Forces";
    t.size = CSize(260, 190);
    t.Add(Picture(IDC_STATIC, kForcesPicture, CRect(7, 7, 253, 57)));
    const LPCTSTR labels[6] = {"N:", "Vy:", "Vz:", "Mx:", "My:", "Mz:"};
    for (int end = 0; end < 2; ++end) {
        const int x = 7 + end * 126;
        t.Add(Ctl(kNodeGroups[end], AfxCtl::groupBox, end == 0 ? "Node 1" : "Node 2",
                  CRect(x, 62, x + 120, 170)));
        for (int i = 0; i < 6; ++i) {
            const int y = 75 + i * 16;
            t.Add(Ctl(kForceLabels[end][i], AfxCtl::staticText, labels[i],
                      CRect(x + 6, y + 2, x + 62, y + 10)));
            t.Add(Ctl(kForceEdits[end][i], AfxCtl::edit, "", CRect(x + 64, y, x + 114, y + 12),
                      kEditStyle | ES_READONLY));
        }
    }
    return t;
}

// A member with its end forces at both ends.
AfxBitmapResource ForcesPicture()
{
    return SvgBitmap(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"366\" height=\"74\" font-size=\"12\">"
        "<g transform=\"translate(0,-3)\">"
        "<line x1=\"60\" y1=\"40\" x2=\"310\" y2=\"40\" stroke=\"black\" stroke-width=\"4\"/>"
        "<circle cx=\"60\" cy=\"40\" r=\"4\"/><circle cx=\"310\" cy=\"40\" r=\"4\"/>"
        "<g stroke=\"red\" stroke-width=\"1.5\"><line x1=\"60\" y1=\"40\" x2=\"20\" y2=\"40\"/>"
        "<line x1=\"60\" y1=\"40\" x2=\"60\" y2=\"5\"/>"
        "<line x1=\"310\" y1=\"40\" x2=\"350\" y2=\"40\"/>"
        "<line x1=\"310\" y1=\"40\" x2=\"310\" y2=\"5\"/></g>"
        "<text x=\"10\" y=\"55\">N</text><text x=\"64\" y=\"14\">V</text>"
        "<text x=\"50\" y=\"70\">Node 1</text><text x=\"292\" y=\"70\">Node 2</text></g></svg>");
}

} // namespace

void pavesta::AddBeamPageResources(CResourceModule& m)
{
    m.Add(VokPPBarEdit::IDD, BarTemplate());
    m.Add(VokPPBeamElemPage::IDD, BeamElementsTemplate());
    m.Add(VokPPGenBeamElmSett::IDD, GeneralTemplate());
    m.Add(CPPBeamSett::IDD, BeamSettingsTemplate());
    m.Add(VokPPForceOutput::IDD, ForcesTemplate());
    m.Add(kForcesPicture, ForcesPicture());
}
