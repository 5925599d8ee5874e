#include "framework/kordlgclipplane.h"

#include <cmath>

#include "framework/clipplanes.h"
#include "framework/kor3dview.h"
#include "framework/korchildfrm.h"
#include "platform/dimvor/units.h"

namespace
{
// The vertical planes' controls: check, angle edit, distance edit, spin.
struct VerticalControls {
    int nCheck, nAngle, nDist, nSpin;
};
constexpr VerticalControls kVertical[4] = {
    {16160, 16232, 16233, 50052}, {50081, 16235, 16236, 50086},
    {50082, 16237, 16238, 50087}, {50083, 16239, 50085, 50088}};

// A document without a value scale answers 0: the levels are then shown
// unscaled rather than as infinities that would come back as NaN planes.
double UsableScale(double scale)
{
    return std::isfinite(scale) && scale != 0.0 ? scale : 1.0;
}
} // namespace

BEGIN_MESSAGE_MAP(KorDlgClipPlane, CDialog)
ON_BN_CLICKED(16234, OnChange)
ON_BN_CLICKED(16159, OnChange)
ON_BN_CLICKED(16160, OnChange)
ON_BN_CLICKED(50081, OnChange)
ON_BN_CLICKED(50082, OnChange)
ON_BN_CLICKED(50083, OnChange)
ON_EN_CHANGE(16230, OnChangeEdit)
ON_EN_CHANGE(16231, OnChangeEdit)
ON_EN_CHANGE(16232, OnChangeEdit)
ON_EN_CHANGE(16233, OnChangeEdit)
ON_EN_CHANGE(16235, OnChangeEdit)
ON_EN_CHANGE(16236, OnChangeEdit)
ON_EN_CHANGE(16237, OnChangeEdit)
ON_EN_CHANGE(16238, OnChangeEdit)
ON_EN_CHANGE(16239, OnChangeEdit)
ON_EN_CHANGE(50085, OnChangeEdit)
ON_BN_CLICKED(50080, OnApply)
ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

KorDlgClipPlane::KorDlgClipPlane(double scale, int quantH, int convH, int quantV, unsigned convV,
                                 KorChildFrm* frame)
    : CDialog(IDD, frame), m_pFrame(frame), m_dScale(UsableScale(scale)), m_iQuantH(quantH), m_iConvH(convH),
      m_iQuantV(quantV), m_iConvV(static_cast<int>(convV))
{
    ReadUnitLabel();
    ReadFrame();
    m_bDynamic = FALSE;
}

void KorDlgClipPlane::ReadUnitLabel()
{
    m_strUnitBelow = UnitString(iStandard, m_iQuantH, iConv[iStandard][m_iConvH][0]);
    ReplaceSqrd(m_strUnitBelow);
    m_strUnitAbove = m_strUnitBelow;
}

double KorDlgClipPlane::LevelFactor() const
{
    return MetricToX(iStandard, m_iQuantH, iConv[iStandard][m_iConvH][0]);
}

double KorDlgClipPlane::DistanceFactor() const
{
    return MetricToX(iStandard, m_iQuantV, iConv[iStandard][m_iConvV][0]);
}

void KorDlgClipPlane::ReadFrame()
{
    if (!m_pFrame)
        return;
    const bool* on = m_pFrame->m_bClipPlanes;
    const auto& eq = m_pFrame->m_dClipPlanes;
    BOOL* checks[6] = {&m_bBelow, &m_bAbove, &m_bPlane3, &m_bPlane4, &m_bPlane5, &m_bPlane6};
    for (int k = 0; k < 6; ++k)
        *checks[k] = on[k] ? TRUE : FALSE;
    const double fH = LevelFactor();
    m_dBelow = -(fH * eq[korclip::kBelow][3] / m_dScale);
    m_dAbove = fH * eq[korclip::kAbove][3] / m_dScale;
    const double fV = DistanceFactor();
    double* dists[4] = {&m_dDist3, &m_dDist4, &m_dDist5, &m_dDist6};
    int* angles[4] = {&m_iAngle3, &m_iAngle4, &m_iAngle5, &m_iAngle6};
    for (int i = 0; i < 4; ++i) {
        const double* plane = eq[korclip::kFirstVertical + i];
        *dists[i] = fV * plane[3];
        *angles[i] = korclip::DialogAngle(plane[0], plane[1]);
    }
}

template <class Fn> void KorDlgClipPlane::Quietly(Fn fn)
{
    ++m_nQuiet;
    fn();
    --m_nQuiet;
}

void KorDlgClipPlane::Refresh()
{
    if (!GetSafeHwnd())
        return;
    Quietly([this] {
        UpdateData(FALSE);
        OnChange();
    });
}

void KorDlgClipPlane::SetParent(KorChildFrm* frame, double scale, int quantH, int convH,
                                int quantV, unsigned convV)
{
    m_pFrame = frame;
    m_dScale = UsableScale(scale);
    m_iQuantH = quantH;
    m_iConvH = convH;
    m_iQuantV = quantV;
    m_iConvV = static_cast<int>(convV);
    ReadUnitLabel();
    ReadFrame();
    Refresh();
}

void KorDlgClipPlane::ReInit(double scale)
{
    m_dScale = UsableScale(scale);
    ReadFrame();
    Refresh();
}

void KorDlgClipPlane::SetStressScale(double newScale)
{
    newScale = UsableScale(newScale);
    m_dBelow = m_dBelow * m_dScale / newScale;
    m_dAbove = m_dAbove * m_dScale / newScale;
    m_dScale = newScale;
    Refresh();
}

BOOL KorDlgClipPlane::Create()
{
    BOOL result = FALSE;
    Quietly([&] { result = CDialog::Create(IDD, m_pFrame); });
    if (result)
        Refresh();
    return result;
}

void KorDlgClipPlane::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, 50088, m_spin6);
    DDX_Control(pDX, 50087, m_spin5);
    DDX_Control(pDX, 50086, m_spin4);
    DDX_Control(pDX, 50052, m_spin3);
    DDX_Check(pDX, 16234, m_bBelow);
    DDX_Check(pDX, 16159, m_bAbove);
    DDX_Check(pDX, 16160, m_bPlane3);
    DDX_Check(pDX, 50081, m_bPlane4);
    DDX_Check(pDX, 50082, m_bPlane5);
    DDX_Check(pDX, 50083, m_bPlane6);
    DDX_Text(pDX, 16230, m_dBelow);
    DDX_Text(pDX, 16231, m_dAbove);
    DDX_Text(pDX, 16233, m_dDist3);
    DDX_Text(pDX, 16235, m_iAngle4);
    DDV_MinMaxInt(pDX, m_iAngle4, 0, 359);
    DDX_Text(pDX, 16232, m_iAngle3);
    DDV_MinMaxInt(pDX, m_iAngle3, 0, 359);
    DDX_Text(pDX, 16236, m_dDist4);
    DDX_Text(pDX, 16237, m_iAngle5);
    DDV_MinMaxInt(pDX, m_iAngle5, 0, 359);
    DDX_Text(pDX, 16238, m_dDist5);
    DDX_Text(pDX, 16239, m_iAngle6);
    DDV_MinMaxInt(pDX, m_iAngle6, 0, 359);
    DDX_Text(pDX, 50085, m_dDist6);
    DDX_Text(pDX, 50089, m_strUnitBelow);
    DDX_Text(pDX, 50090, m_strUnitAbove);
    DDX_Check(pDX, IDC_DYNAMIC, m_bDynamic);
}

BOOL KorDlgClipPlane::OnInitDialog()
{
    Quietly([this] {
        CDialog::OnInitDialog();
        GetDlgItem(IDC_APPLY)->EnableWindow(FALSE);
        CSpinButtonCtrl* spins[4] = {&m_spin3, &m_spin4, &m_spin5, &m_spin6};
        const int angles[4] = {m_iAngle3, m_iAngle4, m_iAngle5, m_iAngle6};
        for (int i = 0; i < 4; ++i) {
            spins[i]->SetBase(10);
            spins[i]->SetRange(0, 359);
            spins[i]->SetBuddy(GetDlgItem(kVertical[i].nAngle));
            spins[i]->SetPos(angles[i]);
        }
        UpdateData(FALSE);
        OnChange();
    });
    return TRUE;
}

void KorDlgClipPlane::OnChange()
{
    // A value that is no number is refused once, and nothing is applied.
    if (UpdateData(TRUE))
        OnChangeEdit();
    GetDlgItem(16230)->EnableWindow(m_bBelow);
    GetDlgItem(16231)->EnableWindow(m_bAbove);
    const BOOL checks[4] = {m_bPlane3, m_bPlane4, m_bPlane5, m_bPlane6};
    for (int i = 0; i < 4; ++i) {
        GetDlgItem(kVertical[i].nAngle)->EnableWindow(checks[i]);
        GetDlgItem(kVertical[i].nDist)->EnableWindow(checks[i]);
    }
}

void KorDlgClipPlane::OnChangeEdit()
{
    if (CWnd* apply = GetDlgItem(IDC_APPLY))
        apply->EnableWindow(TRUE);
    // The check box counts as soon as it is ticked, not at the next exchange.
    if (GetSafeHwnd() && m_nQuiet == 0)
        m_bDynamic = IsDlgButtonChecked(IDC_DYNAMIC) == 1;
    if (m_bDynamic && m_nQuiet == 0 && GetSafeHwnd())
        OnApply();
}

void KorDlgClipPlane::OnApply()
{
    UpdateParent();
}

bool KorDlgClipPlane::TakeControls()
{
    if (!GetSafeHwnd())
        return true;
    // One exchange: a refused value is reported once and reaches no frame.
    if (!UpdateData(TRUE))
        return false;
    if (CWnd* apply = GetDlgItem(IDC_APPLY))
        apply->EnableWindow(FALSE);
    return true;
}

void KorDlgClipPlane::UpdateParent()
{
    if (!TakeControls() || !m_pFrame)
        return;
    auto& eq = m_pFrame->m_dClipPlanes;
    bool* on = m_pFrame->m_bClipPlanes;
    const double fH = LevelFactor();
    eq[korclip::kBelow][3] = -(m_dBelow * m_dScale / fH);
    on[korclip::kBelow] = m_bBelow == 1;
    eq[korclip::kAbove][3] = m_dAbove * m_dScale / fH;
    on[korclip::kAbove] = m_bAbove == 1;
    const double fV = DistanceFactor();
    const int angles[4] = {m_iAngle3, m_iAngle4, m_iAngle5, m_iAngle6};
    const double dists[4] = {m_dDist3, m_dDist4, m_dDist5, m_dDist6};
    const BOOL checks[4] = {m_bPlane3, m_bPlane4, m_bPlane5, m_bPlane6};
    for (int i = 0; i < 4; ++i) {
        double* plane = eq[korclip::kFirstVertical + i];
        korclip::DialogNormal(angles[i], plane[0], plane[1]);
        plane[3] = dists[i] / fV;
        on[korclip::kFirstVertical + i] = checks[i] == 1;
    }
    if (auto* view3d = dynamic_cast<Kor3DView*>(m_pFrame->GetActiveView())) {
        view3d->InvalidateClippedLists(true);
        m_pFrame->Invalidate();
    } else {
        m_pFrame->RedrawWindow();
    }
    if (CView* view = m_pFrame->GetActiveView())
        view->UpdateWindow();
}

void KorDlgClipPlane::OnOK()
{
    if (!m_pFrame) {
        CDialog::OnOK();
        return;
    }
    if (!TakeControls())
        return; // the dialog stays open with the refused value
    UpdateParent();
    m_pFrame->PostMessage(WM_KOR_CLIPPLANE, 1, 0);
}

void KorDlgClipPlane::OnCancel()
{
    if (m_pFrame)
        m_pFrame->PostMessage(WM_KOR_CLIPPLANE, 2, 0);
    else
        CDialog::OnCancel();
}

void KorDlgClipPlane::OnShowWindow(BOOL bShow, UINT)
{
    Default();
    if (bShow)
        Quietly([this] { UpdateData(FALSE); });
}
