#include "dialogs/crsectpages.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "dialogs/matsedit.h"
#include "dialogs/pagehelpers.h"
#include "dialogs/resources.h"
#include "dialogs/templaterows.h"
#include "glstyle/drawing_settings.h"
#include "glview/ogldib.h"
#include "platform/dimvor/units.h"
#include "platform/ferrand/material.h"
#include "platform/ui/core/offscreen.h"

namespace
{

constexpr int kSectionCombo = 16029, kPicture = 16030;
constexpr int kTypeCombo = 16270, kMaterialCombo = 16163;
constexpr int kFirstEdit = 16230, kSecondEdit = 16231, kFirstLabel = 16281, kSecondLabel = 16280;
constexpr int kNameEdit = 16200, kSectionList = 364, kReanalyze = 16191, kApply = 16202,
              kNew = 16266, kEdit = 16272, kDelete = 16283;
constexpr double kDegrees = 57.29577951308232;

using pavesta::ItemPointer;

CComboBox& Combo(CWnd& wnd, int nID)
{
    return pavesta::ComboOf(wnd, nID);
}

// The picture static's size in pixels.
CSize PictureSize(CWnd& wnd)
{
    CRect rect;
    wnd.GetDlgItem(kPicture)->GetClientRect(&rect);
    return CSize(rect.Width(), rect.Height());
}

// Draws the section into the picture static of wnd and shows it there.
void ShowSectionIn(CWnd& wnd, CCrSectComp* pSection, CBitmap& dib, bool square)
{
    auto* pPicture = static_cast<CStatic*>(wnd.GetDlgItem(kPicture));
    const CSize size = PictureSize(wnd);
    if (!pSection || !pavesta::DrawSectionImage(pSection, dib, size.cx, size.cy, square))
        dib.DeleteObject();
    pPicture->SetBitmap(dib.IsValid() ? &dib : nullptr);
    pPicture->Invalidate();
}

// The unit indices of the current system the editor's values use.
struct SectionUnits {
    int system;
    int length;    // row 0
    bool degrees;  // row 7 index 0
    int force;     // row 14
    int stiffArea; // area and force unit of the stiffness, by row 15
    int stiffForce;
};

SectionUnits CurrentUnits()
{
    static const int kStiffness[4][2] = {{1, 0}, {1, 1}, {0, 0}, {0, 1}};
    const int s = iStandard;
    // The table holds the two systems; an unknown one reads the first (its
    // factors are 1 and its labels empty anyway).
    const auto& conv = iConv[s == 1 ? 1 : 0];
    const int u15 = conv[15][0];
    const int row = (u15 >= 0 && u15 < 4) ? u15 : 0;
    return {s, conv[0][0], conv[7][0] == 0, conv[14][0], kStiffness[row][0], kStiffness[row][1]};
}

// The name a new or edited parametric section takes.
CString SectionName(int type, const CMaterial* pMaterial, double first, double second)
{
    const CString material = pMaterial ? pMaterial->GetName() : CString();
    CString name;
    switch (type) {
    case VokDNewCrSectType::rectangle:
        name.Format("%s_Rect(%g,%g)", material.GetString(), first, second);
        break;
    case VokDNewCrSectType::circularRod:
        name.Format("%s_Circ(%g)", material.GetString(), first);
        break;
    case VokDNewCrSectType::circularTube:
        name.Format("%s_Tube(%g,%g)", material.GetString(), first, second);
        break;
    default:
        name = "User defined";
        break;
    }
    return name;
}

// The dialog's type of a parametric section, or -1 for a general one.
int TypeOf(CCrSectComp* pSection)
{
    if (pSection->IsKindOf(RUNTIME_CLASS(CCrSectRect)))
        return VokDNewCrSectType::rectangle;
    if (pSection->IsKindOf(RUNTIME_CLASS(CCrSectTube)))
        return VokDNewCrSectType::circularTube;
    if (pSection->IsKindOf(RUNTIME_CLASS(CCrSectCirc)))
        return VokDNewCrSectType::circularRod;
    if (pSection->IsKindOf(RUNTIME_CLASS(CCrSectUsrDef)))
        return VokDNewCrSectType::userDefined;
    return -1;
}

// The editor's value labels, in the order of its edits; refusals name them.
const LPCTSTR kValueNames[VokLGCrossSects::kValueCount] = {
    "EA",   "EIy",   "EIz",       "GIt",       "GAy",      "GAz",
    "Mass", "Angle", "c.o.g. Y'", "c.o.g. Z'", "c.o.s. Y", "c.o.s. Z"};

} // namespace

bool pavesta::DrawSectionImage(CCrSectComp* pSection, CBitmap& dib, int width, int height,
                               bool square)
{
    dib.DeleteObject();
    if (!pSection || width <= 0 || height <= 0)
        return false;
    if (square)
        width = height = std::min(width, height);
    // The image's device: 24 bits a pixel and no font of its own, so the
    // labels (axis letters, the "S" of the shear centre) are drawn with the
    // program's OpenGL text font from the image's own glyph lists.
    RecordingDC target;
    target.SetDeviceCaps(PLANES, 1);
    target.SetDeviceCaps(BITSPIXEL, 24);
    COGLDIB image;
    image.UseFontBMPs(true);
    if (!image.PreDraw(&target, CSize(width, height)))
        return false;

    double xmax = 0.0, ymax = 0.0, xmin = 0.0, ymin = 0.0;
    pSection->GetMaxMinCoord(xmax, ymax, xmin, ymin);
    if (const CSNode* pShear = pSection->GetShearNode()) {
        xmax = std::max(xmax, pShear->x);
        xmin = std::min(xmin, pShear->x);
        ymax = std::max(ymax, pShear->y);
        ymin = std::min(ymin, pShear->y);
    }
    if (xmax == 0.0 && ymax == 0.0 && xmin == 0.0 && ymin == 0.0) {
        xmax = ymax = 1.0;
        xmin = ymin = -1.0;
    }
    const double cx = 0.5 * (xmax + xmin), cy = 0.5 * (ymax + ymin);
    const double half = 0.525 * std::max(xmax - xmin, ymax - ymin);
    double hx = half, hy = half;
    if (width > height)
        hx *= double(width) / height;
    else
        hy *= double(height) / width;

    glViewport(0, 0, width, height);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(cx - hx, cx + hx, cy - hy, cy + hy, -1.0e6, 1.0e6);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    pSection->DrawModelGL(true, 1.0f, true);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    glColor4dv(dAxisColor);
    glLineWidth(1.0f);
    glLineStipple(1, 0x0F0F);
    glEnable(GL_LINE_STIPPLE);
    glBegin(GL_LINES);
    glVertex2d(cx - hx, 0.0);
    glVertex2d(cx + hx, 0.0);
    glVertex2d(0.0, cy - hy);
    glVertex2d(0.0, cy + hy);
    glEnd();
    glDisable(GL_LINE_STIPPLE);

    image.PostDraw();
    const BITMAPINFO* info = image.GetBMPInfo();
    if (!image.GetlpBits() || !info || !dib.CreateDIB(width, height, info->bmiHeader.biBitCount))
        return false;
    std::memcpy(dib.Row(0), image.GetlpBits(), info->bmiHeader.biSizeImage);
    return true;
}

// ---- VokPPCrossSections -------------------------------------------------------------

IMPLEMENT_DYNCREATE(VokPPCrossSections, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPCrossSections, CPropertyPage)
ON_CBN_SELCHANGE(kSectionCombo, OnSelchangeSection)
END_MESSAGE_MAP()

VokPPCrossSections::VokPPCrossSections() : CPropertyPage(IDD) {}

BOOL VokPPCrossSections::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    CComboBox& combo = Combo(*this, kSectionCombo);
    if (m_pSegment) {
        m_pSelSection = m_pSegment->GetCrSect();
    } else if (m_pList) {
        // Only beam segments carry a section; a list without one selects none.
        m_pSelSection = nullptr;
        if (pavesta::SharedBySegments(
                *m_pList, [](CBeamSeg& seg) { return seg.GetCrSect(); }, m_pSelSection) ==
            pavesta::segmentsDiffer) {
            m_pSelSection = nullptr;
            const int index = combo.AddString("  No Change");
            combo.SetItemData(index, 0);
        }
    }
    for (POSITION pos = m_Sections.GetHeadPosition(); pos;) {
        auto* pSection = static_cast<CCrSectComp*>(m_Sections.GetNext(pos));
        const int index = combo.AddString(pSection->GetName());
        combo.SetItemData(index, reinterpret_cast<DWORD_PTR>(pSection));
    }
    for (int i = 0; i < combo.GetCount(); ++i)
        if (ItemPointer<CCrSectComp>(combo, i) == m_pSelSection)
            combo.SetCurSel(i);
    OnSelchangeSection();
    SetModified(FALSE); // showing the opening choice changes nothing
    return result;
}

void VokPPCrossSections::OnSelchangeSection()
{
    TakeQuietly();
    SetModified(TRUE);
    CComboBox& combo = Combo(*this, kSectionCombo);
    ShowSection(ItemPointer<CCrSectComp>(combo, combo.GetCurSel()));
}

void VokPPCrossSections::ShowSection(CCrSectComp* pSection)
{
    ShowSectionIn(*this, pSection, m_dib, false);
}

BOOL VokPPCrossSections::OnApply()
{
    if (GetSafeHwnd()) {
        CComboBox& combo = Combo(*this, kSectionCombo);
        m_pSelSection = ItemPointer<CCrSectComp>(combo, combo.GetCurSel());
    }
    if (m_pSelSection) {
        if (m_pSegment) {
            m_pSegment->SetCrSect(m_pSelSection);
        } else if (m_pList) {
            pavesta::ForBeamSegments(*m_pList,
                                     [this](CBeamSeg& seg) { seg.SetCrSect(m_pSelSection); });
        }
    }
    return CPropertyPage::OnApply();
}

// ---- VokDNewCrSectType ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(VokDNewCrSectType, CDialog)

BEGIN_MESSAGE_MAP(VokDNewCrSectType, CDialog)
ON_CBN_SELCHANGE(kTypeCombo, OnSelchangeType)
END_MESSAGE_MAP()

VokDNewCrSectType::VokDNewCrSectType(CWnd* pParent) : CDialog(IDD, pParent) {}

void VokDNewCrSectType::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kFirstEdit, m_dFirst);
    DDX_Text(pDX, kSecondEdit, m_dSecond);
}

BOOL VokDNewCrSectType::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    CComboBox& materials = Combo(*this, kMaterialCombo);
    if (m_pMaterials) {
        for (POSITION pos = m_pMaterials->GetHeadPosition(); pos;) {
            auto* pMaterial = static_cast<CMaterial*>(m_pMaterials->GetNext(pos));
            const int index = materials.AddString(pMaterial->GetName());
            materials.SetItemData(index, reinterpret_cast<DWORD_PTR>(pMaterial));
            if (pMaterial == m_pSelMaterial)
                materials.SetCurSel(index);
        }
        if (materials.GetCurSel() < 0 && materials.GetCount() > 0) {
            materials.SetCurSel(0);
            m_pSelMaterial = ItemPointer<CMaterial>(materials, 0);
        }
    } else {
        materials.EnableWindow(FALSE);
    }
    CComboBox& types = Combo(*this, kTypeCombo);
    if (m_iType < 0) {
        m_iType = -(m_iType + 1);
        types.EnableWindow(FALSE);
    }
    types.SetCurSel(m_iType);
    OnSelchangeType();
    return result;
}

void VokDNewCrSectType::OnSelchangeType()
{
    static const LPCTSTR kLabels[4][2] = {
        {"Height", "Width"}, {"Radius", ""}, {"Outer radius", "Thickness"}, {"Extents", " "}};
    const int type = Combo(*this, kTypeCombo).GetCurSel();
    if (type < 0 || type > 3)
        return;
    SetDlgItemText(kFirstLabel, kLabels[type][0]);
    SetDlgItemText(kSecondLabel, kLabels[type][1]);
    GetDlgItem(kSecondEdit)->EnableWindow(type == rectangle || type == circularTube);
}

void VokDNewCrSectType::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_iType = Combo(*this, kTypeCombo).GetCurSel();
    CComboBox& materials = Combo(*this, kMaterialCombo);
    if (m_pMaterials)
        m_pSelMaterial = ItemPointer<CMaterial>(materials, materials.GetCurSel());
    LPCTSTR refusal = nullptr;
    switch (m_iType) {
    case rectangle:
        if (!(m_dFirst > 0.0))
            refusal = "Please enter height";
        else if (!(m_dSecond > 0.0))
            refusal = "Please enter width";
        break;
    case circularRod:
        if (!(m_dFirst > 0.0))
            refusal = "Please enter radius";
        break;
    case circularTube:
        if (!(m_dFirst > 0.0))
            refusal = "Please enter external radius";
        else if (!(m_dSecond > 0.0))
            refusal = "Please enter thickness";
        else if (m_dFirst < m_dSecond)
            refusal = "External radius must be larger than or equal to the thickness";
        break;
    case userDefined:
        if (!(m_dFirst > 0.0))
            refusal = "Please enter extents (for drawing purposes only)";
        break;
    default:
        EndDialog(IDCANCEL);
        return;
    }
    if (refusal) {
        AfxMessageBox(refusal);
        return;
    }
    EndDialog(IDOK);
}

// ---- VokLGCrossSects -------------------------------------------------------------------

IMPLEMENT_DYNAMIC(VokLGCrossSects, CDialog)

BEGIN_MESSAGE_MAP(VokLGCrossSects, CDialog)
ON_LBN_SELCHANGE(kSectionList, OnSelchangeList)
ON_BN_CLICKED(kReanalyze, OnReanalyze)
ON_BN_CLICKED(kApply, OnApply)
ON_BN_CLICKED(kNew, OnNew)
ON_BN_CLICKED(kEdit, OnEdit)
ON_BN_CLICKED(kDelete, OnDelete)
END_MESSAGE_MAP()

VokLGCrossSects::VokLGCrossSects(CWnd* pParent) : CDialog(IDD, pParent) {}

VokLGCrossSects::~VokLGCrossSects()
{
    while (!m_Sections.IsEmpty())
        delete m_Sections.RemoveHead();
}

unsigned VokLGCrossSects::ParamOf(int value)
{
    static const unsigned kParams[kValueCount] = {21, 22, 23, 29, 27, 28, 3, 17, 13, 14, 11, 12};
    return kParams[value];
}

void VokLGCrossSects::Factors(double (&factors)[kValueCount]) const
{
    const SectionUnits u = CurrentUnits();
    const int s = u.system;
    const double force = MetricToX(s, 1, u.force);
    const double length = MetricToX(s, 3, u.length);
    const double stiffness = MetricToX(s, 4, u.stiffArea) * MetricToX(s, 1, u.stiffForce);
    const double mass = MetricToX(s, 2, 1) / MetricToX(s, 3, 1);
    const double angle = u.degrees ? kDegrees : 1.0;
    const double byValue[kValueCount] = {force, stiffness, stiffness, stiffness, force,  force,
                                         mass,  angle,     length,    length,    length, length};
    std::copy(std::begin(byValue), std::end(byValue), factors);
}

void VokLGCrossSects::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kNameEdit, m_strName);
    // A typed stiffness is positive and a typed mass not negative (0 leaves
    // the section out of mass matrices); centres and the angle take any
    // value. A value left as the section holds it is not checked: a general
    // section holds 0 until it is analysed.
    CCrSectComp* pSection = pDX->m_bSaveAndValidate ? GetSelected() : nullptr;
    double factors[kValueCount];
    Factors(factors);
    for (int i = 0; i < kValueCount; ++i) {
        DDX_Text(pDX, kValueEdits[i], m_dValues[i]);
        if (!pSection || i > vMass ||
            m_dValues[i] == AfxDisplayValue(pSection->GetParam(ParamOf(i)), factors[i]))
            continue;
        CString unit;
        GetDlgItemText(kUnitLabels[i], unit);
        DDV_Range(pDX, m_dValues[i], i == vMass ? AfxRange::AtLeast(0.0) : AfxRange::Positive(),
                  kValueNames[i], unit);
    }
}

BOOL VokLGCrossSects::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    const SectionUnits u = CurrentUnits();
    const int s = u.system;
    const CString force = UnitString(s, 1, u.force);
    const CString length = UnitString(s, 3, u.length);
    CString area = UnitString(s, 4, u.stiffArea);
    ReplaceSqrd(area);
    // Stiffness as engineers write it: force unit, middle dot, area unit.
    const CString stiffness = UnitString(s, 1, u.stiffForce) + "\xB7" + area;
    const CString mass = UnitString(s, 2, 1) + UnitString(s, 9, 1);
    const CString angle = u.degrees ? "deg" : "rad";
    const CString labels[kValueCount] = {force, stiffness, stiffness, stiffness, force,  force,
                                         mass,  angle,     length,    length,    length, length};
    for (int i = 0; i < kValueCount; ++i)
        SetDlgItemText(kUnitLabels[i], labels[i]);
    FillList(nullptr);
    return result;
}

CCrSectComp* VokLGCrossSects::GetSelected()
{
    auto* pList = static_cast<CListBox*>(GetDlgItem(kSectionList));
    const int index = pList->GetCurSel();
    return index < 0 ? nullptr : reinterpret_cast<CCrSectComp*>(pList->GetItemData(index));
}

void VokLGCrossSects::FillList(CCrSectComp* pSelect)
{
    auto* pList = static_cast<CListBox*>(GetDlgItem(kSectionList));
    pList->ResetContent();
    int select = 0;
    for (POSITION pos = m_Sections.GetHeadPosition(); pos;) {
        auto* pSection = static_cast<CCrSectComp*>(m_Sections.GetNext(pos));
        const int index = pList->AddString(pSection->GetName());
        pList->SetItemData(index, reinterpret_cast<DWORD_PTR>(pSection));
        if (pSection == pSelect)
            select = index;
    }
    if (pList->GetCount() > 0)
        pList->SetCurSel(select);
    OnSelchangeList();
}

void VokLGCrossSects::OnSelchangeList()
{
    CCrSectComp* pSection = GetSelected();
    ShowSectionIn(*this, pSection, m_dib, true);
    const bool bGeneral = pSection && !pSection->IsKindOf(RUNTIME_CLASS(CCrSectFixedGeom));
    const bool bUserDefined = pSection && pSection->IsKindOf(RUNTIME_CLASS(CCrSectUsrDef));
    if (pSection) {
        double factors[kValueCount];
        Factors(factors);
        m_strName = pSection->GetName();
        for (int i = 0; i < kValueCount; ++i)
            m_dValues[i] = AfxDisplayValue(pSection->GetParam(ParamOf(i)), factors[i]);
        UpdateData(FALSE);
    }
    for (int value : {vEA, vEIy, vEIz, vGIt, vGAy, vGAz})
        static_cast<CEdit*>(GetDlgItem(kValueEdits[value]))
            ->SetReadOnly(!(bGeneral || bUserDefined));
    GetDlgItem(kReanalyze)->EnableWindow(bGeneral);
}

void VokLGCrossSects::OnReanalyze()
{
    CCrSectComp* pSection = GetSelected();
    if (!pSection)
        return;
    CStringArray log, errors;
    pSection->PreCalc(&log, &errors, 0);
    pSection->Calculate(&log, &errors);
    OnSelchangeList();
}

void VokLGCrossSects::OnApply()
{
    CCrSectComp* pSection = GetSelected();
    if (!pSection || !UpdateData(TRUE))
        return;
    double factors[kValueCount];
    Factors(factors);
    // A value whose field still shows what the section holds is taken as
    // stored, bit for bit; a retyped one through its factor.
    double stored[kValueCount];
    for (int i = 0; i < kValueCount; ++i)
        stored[i] = pSection->GetParam(ParamOf(i));
    auto entered = [&](int value) {
        return m_dValues[value] == AfxDisplayValue(stored[value], factors[value])
                   ? stored[value]
                   : m_dValues[value] / factors[value];
    };
    pSection->SetName(m_strName);
    for (int value : {vEA, vGAy, vGAz, vCosY, vCosZ, vMass})
        pSection->SetParam(ParamOf(value), entered(value));
    const double cogY = pSection->GetParam(ParamOf(vCogY));
    const double cogZ = pSection->GetParam(ParamOf(vCogZ));
    const double dy = entered(vCogY) - cogY, dz = entered(vCogZ) - cogZ;
    if (dy != 0.0 || dz != 0.0)
        pSection->Translate(dy, dz, 0.0);
    const double dAngle = entered(vAngle) - pSection->GetParam(ParamOf(vAngle));
    if (dAngle != 0.0)
        pSection->Rotate(dAngle, entered(vCogY), entered(vCogZ), 2, true);
    for (int value : {vEIy, vEIz, vGIt})
        pSection->SetParam(ParamOf(value), entered(value));
    FillList(pSection);
}

void VokLGCrossSects::OnNew()
{
    if (!m_pMaterials || m_pMaterials->IsEmpty())
        return;
    VokDNewCrSectType dlg(this);
    dlg.m_pMaterials = m_pMaterials;
    if (dlg.DoModal() != IDOK)
        return;
    CCrSectComp* pSection = nullptr;
    switch (dlg.m_iType) {
    case VokDNewCrSectType::rectangle:
        pSection = new CCrSectRect(dlg.m_dFirst, dlg.m_dSecond);
        break;
    case VokDNewCrSectType::circularRod:
        pSection = new CCrSectCirc(dlg.m_dFirst);
        break;
    case VokDNewCrSectType::circularTube:
        pSection = new CCrSectTube(dlg.m_dFirst, dlg.m_dSecond);
        break;
    default:
        pSection = new CCrSectUsrDef(dlg.m_dFirst);
        break;
    }
    if (dlg.m_pSelMaterial)
        pSection->AddMaterial(dlg.m_pSelMaterial);
    pSection->SetName(SectionName(dlg.m_iType, dlg.m_pSelMaterial, dlg.m_dFirst, dlg.m_dSecond));
    // A section is itself a list: add it as one object.
    m_Sections.AddTail(static_cast<CObject*>(pSection));
    FillList(pSection);
}

void VokLGCrossSects::OnEdit()
{
    CCrSectComp* pSection = GetSelected();
    if (!pSection)
        return;
    const int type = TypeOf(pSection);
    if (type < 0) {
        VokDlgIsoMatsEdit dlg(this);
        dlg.DoModal(pSection->GetMaterialList(), 0);
        OnSelchangeList();
        return;
    }
    VokDNewCrSectType dlg(this);
    dlg.m_pMaterials = m_pMaterials;
    dlg.m_pSelMaterial = pSection->GetBaseMat();
    dlg.m_iType = -(type + 1);
    switch (type) {
    case VokDNewCrSectType::rectangle: {
        auto* pRect = static_cast<CCrSectRect*>(pSection);
        dlg.m_dFirst = pRect->GetHeight();
        dlg.m_dSecond = pRect->GetWidth();
        break;
    }
    case VokDNewCrSectType::circularTube:
        dlg.m_dSecond = static_cast<CCrSectTube*>(pSection)->GetThick();
        [[fallthrough]];
    case VokDNewCrSectType::circularRod:
        dlg.m_dFirst = static_cast<CCrSectCirc*>(pSection)->GetRadius();
        break;
    default:
        dlg.m_dFirst = static_cast<CCrSectUsrDef*>(pSection)->GetSize();
        break;
    }
    if (dlg.DoModal() == IDOK) {
        switch (type) {
        case VokDNewCrSectType::rectangle: {
            auto* pRect = static_cast<CCrSectRect*>(pSection);
            pRect->SetHeight(dlg.m_dFirst);
            pRect->SetWidth(dlg.m_dSecond);
            break;
        }
        case VokDNewCrSectType::circularTube:
            static_cast<CCrSectTube*>(pSection)->SetThick(dlg.m_dSecond);
            [[fallthrough]];
        case VokDNewCrSectType::circularRod:
            static_cast<CCrSectCirc*>(pSection)->SetRadius(dlg.m_dFirst);
            break;
        default:
            static_cast<CCrSectUsrDef*>(pSection)->SetSize(dlg.m_dFirst);
            break;
        }
        CMaterial* pOld = pSection->GetBaseMat();
        if (dlg.m_pSelMaterial && dlg.m_pSelMaterial != pOld) {
            if (pOld)
                pSection->ReplaceMaterial(pOld, dlg.m_pSelMaterial);
            else
                pSection->AddMaterial(dlg.m_pSelMaterial);
        }
        pSection->SetName(SectionName(type, dlg.m_pSelMaterial, dlg.m_dFirst, dlg.m_dSecond));
        FillList(pSection);
        return;
    }
    OnSelchangeList();
}

void VokLGCrossSects::OnDelete()
{
    CCrSectComp* pSection = GetSelected();
    if (!pSection)
        return;
    // Without a check no member is known to use the section.
    if (m_pfnInUse && m_pfnInUse(pSection, m_lInUseUser)) {
        AfxMessageBox("Cannot delete cross section belonging to one or more members");
        return;
    }
    if (POSITION pos = m_Sections.Find(pSection))
        m_Sections.RemoveAt(pos);
    delete pSection;
    FillList(nullptr);
}

// ---- Templates ---------------------------------------------------------------------

namespace
{

using namespace pavesta;

constexpr DWORD kListStyle = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_GROUP;

DialogTemplate AssignTemplate()
{
    DialogTemplate t;
    t.nID = VokPPCrossSections::IDD;
    t.strCaption = "Cross section";
    t.size = CSize(220, 160);
    t.Add({
        Ctl(kSectionCombo, AfxCtl::comboList, "", CRect(7, 7, 213, 19), kListStyle),
        Picture(kPicture, 0, CRect(7, 26, 213, 153)),
    });
    return t;
}

DialogTemplate NewTypeTemplate()
{
    DialogTemplate t;
    t.nID = VokDNewCrSectType::IDD;
    t.strCaption = "Dialog";
    t.size = CSize(220, 110);
    DialogControl types = Ctl(kTypeCombo, AfxCtl::comboList, "", CRect(64, 7, 187, 19), kListStyle);
    types.items = {"Rectangle", "Circular rod", "Circular tube", "User defined input"};
    t.Add(Label("Section type", CRect(7, 9, 60, 17)));
    t.Add(types);
    t.Add({
        Label("Material", CRect(7, 27, 60, 35)),
        Ctl(kMaterialCombo, AfxCtl::comboList, "", CRect(64, 25, 187, 37), kListStyle),
        Ctl(kFirstLabel, AfxCtl::staticText, "Height", CRect(7, 46, 60, 54)),
        Ctl(kFirstEdit, AfxCtl::edit, "", CRect(64, 44, 120, 56), kEditStyle | WS_GROUP),
        Label("mm", CRect(124, 46, 140, 54)),
        Ctl(kSecondLabel, AfxCtl::staticText, "Width", CRect(7, 62, 60, 70)),
        Ctl(kSecondEdit, AfxCtl::edit, "", CRect(64, 60, 120, 72), kEditStyle),
        Label("mm", CRect(124, 62, 140, 70)),
    });
    t.Add(AfxButtonRow(213, 88, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}}));
    return t;
}

DialogTemplate EditorTemplate()
{
    DialogTemplate t;
    t.nID = VokLGCrossSects::IDD;
    t.strCaption = "Cross-sections";
    t.size = CSize(400, 250);
    t.Add({
        Ctl(kSectionList, AfxCtl::listBox, "", CRect(7, 7, 130, 120), kListStyle | WS_BORDER),
        Picture(kPicture, 0, CRect(7, 126, 130, 243)),
        Label("Name", CRect(140, 9, 170, 17)),
        Ctl(kNameEdit, AfxCtl::edit, "", CRect(175, 7, 330, 19), kEditStyle | WS_GROUP),
    });
    for (int i = 0; i < VokLGCrossSects::kValueCount; ++i) {
        const int y = 26 + i * 16;
        t.Add(Label(kValueNames[i], CRect(140, y + 2, 180, y + 10)));
        t.Add(Ctl(VokLGCrossSects::kValueEdits[i], AfxCtl::edit, "", CRect(185, y, 265, y + 12),
                  kEditStyle));
        t.Add(Ctl(VokLGCrossSects::kUnitLabels[i], AfxCtl::staticText, "",
                  CRect(269, y + 2, 330, y + 10)));
    }
    const std::pair<int, LPCTSTR> buttons[] = {{kApply, "&Apply"},   {kReanalyze, "&Re-analyze"},
                                               {kNew, "&New"},       {kEdit, "Edit"},
                                               {kDelete, "&Delete"}, {IDCANCEL, "&Close"}};
    int y = 7;
    for (const auto& [id, text] : buttons) {
        t.Add(Ctl(id, AfxCtl::push, text, CRect(340, y, 393, y + 14), kButtonStyle));
        y += 18;
    }
    return t;
}

} // namespace

void pavesta::AddCrossSectionResources(CResourceModule& m)
{
    m.Add(VokPPCrossSections::IDD, AssignTemplate());
    m.Add(VokDNewCrSectType::IDD, NewTypeTemplate());
    m.Add(VokLGCrossSects::IDD, EditorTemplate());
}
