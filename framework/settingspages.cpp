#include "framework/settingspages.h"

#include <functional>

#include "glstyle/tincora.h"
#include "platform/afx/numconv.h"

namespace framira
{

namespace
{

template <class T> COLORREF RefOf(const T* rgb)
{
    return RGB(static_cast<BYTE>(rgb[0] * 255), static_cast<BYTE>(rgb[1] * 255),
               static_cast<BYTE>(rgb[2] * 255));
}

template <class T> void Store(T* rgb, COLORREF colour, bool bAlpha, T alpha)
{
    rgb[0] = static_cast<T>(GetRValue(colour) / T(255));
    rgb[1] = static_cast<T>(GetGValue(colour) / T(255));
    rgb[2] = static_cast<T>(GetBValue(colour) / T(255));
    if (bAlpha)
        rgb[3] = alpha;
}

// The index of the button nID in buttons, or -1.
template <std::size_t N> int ButtonIndex(const int (&buttons)[N], WPARAM nID)
{
    for (std::size_t i = 0; i < N; ++i)
        if (WPARAM(buttons[i]) == nID)
            return static_cast<int>(i);
    return -1;
}

} // namespace

COLORREF ColourRef(const float* rgb) { return RefOf(rgb); }
COLORREF ColourRef(const double* rgb) { return RefOf(rgb); }
void SetColour(float* rgb, COLORREF colour, bool bAlpha, float alpha)
{
    Store(rgb, colour, bAlpha, alpha);
}
void SetColour(double* rgb, COLORREF colour, bool bAlpha, double alpha)
{
    Store(rgb, colour, bAlpha, alpha);
}

double PercentShown(double fraction)
{
    const bool fromFloat = static_cast<double>(static_cast<float>(fraction)) == fraction;
    return AfxAtoF(AfxFormat("%.*g", fromFloat ? 7 : 15, fraction * 100.0).c_str());
}

double FractionTaken(double percent, double stored)
{
    return percent == PercentShown(stored) ? stored : percent * 0.01;
}

namespace
{

// Calls f for every OpenGL view of every document of every template.
void ForEachAppOGLView(const std::function<void(COGLView&)>& f)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    POSITION templatePos = pApp->GetFirstDocTemplatePosition();
    while (templatePos != nullptr) {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(templatePos);
        POSITION docPos = pTemplate->GetFirstDocPosition();
        while (docPos != nullptr)
            ForEachOGLView(*pTemplate->GetNextDoc(docPos), f);
    }
}

} // namespace

void RedrawAllOGLViews()
{
    ForEachAppOGLView([](COGLView& view) {
        view.InvalidateList();
        if (view.GetSafeHwnd()) {
            view.Invalidate(TRUE);
            view.UpdateWindow();
        }
    });
}

void ResetAllOGLViews()
{
    ForEachAppOGLView([](COGLView& view) { view.ResetOGL(); });
}

} // namespace framira

using framira::ColourRef;
using framira::SetColour;

// ---- KorPPLight ---------------------------------------------------------------------

IMPLEMENT_DYNCREATE(KorPPLight, CPropertyPage)

BEGIN_MESSAGE_MAP(KorPPLight, CPropertyPage)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChange)
ON_BN_CLICKED(50031, OnRestoreDefaults)
ON_BN_CLICKED(50046, OnChange)
ON_BN_CLICKED(50047, OnChange)
ON_BN_CLICKED(50048, OnChange)
ON_BN_CLICKED(50049, OnChange)
ON_BN_CLICKED(50050, OnChange)
ON_EN_KILLFOCUS(50027, OnChange)
ON_EN_KILLFOCUS(50028, OnChange)
ON_EN_KILLFOCUS(50029, OnChange)
ON_EN_KILLFOCUS(50030, OnChange)
END_MESSAGE_MAP()

KorPPLight::KorPPLight()
    : CPropertyPage(IDD), m_bLight1(bLightOn[0]), m_bLight2(bLightOn[1]),
      m_bLight3(bLightOn[2]), m_bTwoSide(static_cast<int>(lmodel_twoside[0])),
      m_bLocalViewer(static_cast<int>(lmodel_local_viewer[0])), m_fShininess(mat_shininess[0]),
      m_fLight2W(position2[3]), m_fLight2X(position2[0]), m_fLight2Y(position2[1]),
      m_fLight2Z(position2[2])
{
}

void KorPPLight::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_LIGHT1, m_bLight1);
    DDX_Check(pDX, IDC_LIGHT2, m_bLight2);
    DDX_Check(pDX, IDC_LIGHT3, m_bLight3);
    DDX_Check(pDX, IDC_LOCAL_VIEWER, m_bLocalViewer);
    DDX_Check(pDX, IDC_TWO_SIDE, m_bTwoSide);
    DDX_Text(pDX, IDC_SHININESS, m_fShininess);
    DDV_MinMaxFloat(pDX, m_fShininess, 0.0f, 128.0f);
    DDX_Text(pDX, 50027, m_fLight2W);
    DDX_Text(pDX, 50028, m_fLight2X);
    DDX_Text(pDX, 50029, m_fLight2Y);
    DDX_Text(pDX, 50030, m_fLight2Z);
    // Each light's colours can be chosen only while it is on.
    const BOOL on[3] = {m_bLight1, m_bLight2, m_bLight3};
    for (int light = 0; light < 3; ++light)
        for (int k = 0; k < 3; ++k)
            if (CWnd* pButton = GetDlgItem(kButtons[3 * light + k]))
                pButton->EnableWindow(on[light]);
}

BOOL KorPPLight::OnInitDialog()
{
    const float* sources[12] = {ambientLight1, diffuseLight1,  specularLight1, ambientLight2,
                                diffuseLight2, specularLight2, ambientLight3,  diffuseLight3,
                                specularLight3, lmodel_ambient, mat_specular,  mat_emission};
    for (int i = 0; i < 12; ++i)
        m_clrLight[i] = ColourRef(sources[i]);
    const BOOL result = CPropertyPage::OnInitDialog();
    for (int i = 0; i < 12; ++i) {
        m_btnColor[i].SubclassDlgItem(kButtons[i], this);
        m_btnColor[i].SetColor(m_clrLight[i]);
    }
    m_spinShininess.SubclassDlgItem(IDC_SHININESS_SPIN, this);
    m_spinShininess.SetRange(0, 128);
    return result;
}

BOOL KorPPLight::OnApply()
{
    position2[0] = m_fLight2X;
    position2[1] = m_fLight2Y;
    position2[2] = m_fLight2Z;
    position2[3] = m_fLight2W;
    float* lights[9] = {ambientLight1, diffuseLight1,  specularLight1, ambientLight2, diffuseLight2,
                        specularLight2, ambientLight3, diffuseLight3,  specularLight3};
    for (int i = 0; i < 9; ++i)
        SetColour(lights[i], m_clrLight[i], true, 1.0f);
    bLightOn[0] = m_bLight1 == 1;
    bLightOn[1] = m_bLight2 == 1;
    bLightOn[2] = m_bLight3 == 1;
    SetColour(lmodel_ambient, m_clrLight[9], true, 1.0f);
    lmodel_local_viewer[0] = static_cast<float>(m_bLocalViewer);
    lmodel_twoside[0] = static_cast<float>(m_bTwoSide);
    SetColour(mat_specular, m_clrLight[10], true, 1.0f);
    SetColour(mat_emission, m_clrLight[11], true, 1.0f);
    mat_shininess[0] = m_fShininess;
    framira::RedrawAllOGLViews();
    return CPropertyPage::OnApply();
}

LRESULT KorPPLight::OnColorChange(WPARAM wParam, LPARAM lParam)
{
    const int i = framira::ButtonIndex(kButtons, wParam);
    if (i >= 0)
        m_clrLight[i] = static_cast<COLORREF>(lParam);
    SetModified(TRUE);
    Invalidate(TRUE);
    return 0;
}

void KorPPLight::OnRestoreDefaults()
{
    m_bLocalViewer = TRUE;
    m_bTwoSide = TRUE;
    m_bLight1 = TRUE;
    m_bLight2 = FALSE;
    m_bLight3 = FALSE;
    m_fShininess = 60.0f;
    static constexpr COLORREF defaults[12] = {
        RGB(50, 50, 50),    RGB(192, 192, 192), RGB(255, 255, 255), RGB(25, 25, 25),
        RGB(127, 127, 127), RGB(0, 0, 0),       RGB(25, 25, 25),    RGB(127, 127, 127),
        RGB(127, 127, 127), RGB(51, 51, 51),    RGB(255, 255, 127), RGB(0, 0, 0)};
    for (int i = 0; i < 12; ++i) {
        m_clrLight[i] = defaults[i];
        m_btnColor[i].SetColor(defaults[i]);
    }
    UpdateData(FALSE);
    SetModified(TRUE);
}

void KorPPLight::OnChange()
{
    TakeQuietly();
    SetModified(TRUE);
}

// ---- KorPPScreenClr -----------------------------------------------------------------

IMPLEMENT_DYNCREATE(KorPPScreenClr, CPropertyPage)

BEGIN_MESSAGE_MAP(KorPPScreenClr, CPropertyPage)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChange)
END_MESSAGE_MAP()

BOOL KorPPScreenClr::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_clrScreen[0] = ColourRef(fBckClrRsView);
    m_clrScreen[1] = ColourRef(fBckClrMdView);
    m_clrScreen[2] = ColourRef(dGridColor);
    m_clrScreen[3] = ColourRef(dAxisColor);
    m_clrScreen[4] = ColourRef(glcTextClr);
    for (int i = 0; i < 5; ++i) {
        m_btnColor[i].SubclassDlgItem(kButtons[i], this);
        m_btnColor[i].SetColor(m_clrScreen[i]);
    }
    return result;
}

BOOL KorPPScreenClr::OnApply()
{
    SetColour(fBckClrRsView, m_clrScreen[0], true, 0.0f);
    SetColour(fBckClrMdView, m_clrScreen[1], true, 0.0f);
    SetColour(dAxisColor, m_clrScreen[3], true, 1.0);
    SetColour(dGridColor, m_clrScreen[2], true, 1.0);
    SetColour(glcTextClr, m_clrScreen[4]);
    return CPropertyPage::OnApply();
}

LRESULT KorPPScreenClr::OnColorChange(WPARAM wParam, LPARAM lParam)
{
    const int i = framira::ButtonIndex(kButtons, wParam);
    if (i >= 0)
        m_clrScreen[i] = static_cast<COLORREF>(lParam);
    SetModified(TRUE);
    Invalidate(TRUE);
    return 0;
}

// ---- KorPPOGLSett -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(KorPPOGLSett, CPropertyPage)

BEGIN_MESSAGE_MAP(KorPPOGLSett, CPropertyPage)
ON_BN_CLICKED(16234, OnCheck)
ON_BN_CLICKED(16159, OnCheck)
ON_BN_CLICKED(16160, OnCheck)
ON_EN_CHANGE(16230, OnChange)
ON_EN_CHANGE(16231, OnChange)
ON_EN_CHANGE(16232, OnChange)
ON_EN_CHANGE(16233, OnChange)
ON_EN_CHANGE(16235, OnChange)
ON_EN_CHANGE(16236, OnChange)
ON_EN_CHANGE(16237, OnChange)
ON_EN_CHANGE(16238, OnChange)
ON_EN_CHANGE(50113, OnChange)
ON_BN_CLICKED(16068, OnRestoreDefault)
END_MESSAGE_MAP()

namespace
{

// The implementation draws smooth lines (points) of enough widths (sizes)
// for antialiasing to be worth offering.
bool LineRangeWide()
{
    return COGLRenderer::m_dMaxEdge - COGLRenderer::m_dMinEdge >= 0.5;
}
bool PointRangeWide()
{
    return COGLRenderer::m_dMaxPoint - COGLRenderer::m_dMinPoint >= 0.5;
}

} // namespace

KorPPOGLSett::KorPPOGLSett(COGLView* pView)
    : CPropertyPage(IDD), m_bLineSmooth(COGLRenderer::bLineSmooth),
      m_bPointSmooth(COGLRenderer::bPointSmooth), m_dThinEdge(THIN_EDGE),
      m_dMediumEdge(MEDIUM_EDGE), m_dWideEdge(WIDE_EDGE), m_dSmallPoint(SMALL_POINT),
      m_dMediumSPoint(MEDIUM_S_POINT), m_dLargePoint(LARGE_POINT), m_dMediumLPoint(MEDIUM_L_POINT),
      m_dAxisWidth(AXIS_WIDTH), m_bNoAccel(!COGLRenderer::bUseAccel),
      m_uSelObjects(COGLRenderer::iSelBufSize / 4), m_pView(pView)
{
}

BOOL KorPPOGLSett::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    if (CWnd* pBox = GetDlgItem(IDC_POINT_SMOOTH); pBox && !PointRangeWide())
        pBox->EnableWindow(FALSE);
    if (CWnd* pBox = GetDlgItem(IDC_LINE_SMOOTH); pBox && !LineRangeWide())
        pBox->EnableWindow(FALSE);
    SetModified(FALSE); // the fields' change notices while they were filled
    return result;
}

void KorPPOGLSett::OnRestoreDefault()
{
    m_bNoAccel = FALSE;
    m_dThinEdge = COGLRenderer::m_dMinEdge;
    m_dWideEdge = 5.0;
    m_dMediumEdge = (m_dThinEdge + 5.0) * 0.5;
    m_dSmallPoint = 3.0;
    m_dMediumSPoint = 5.0;
    m_dMediumLPoint = 7.0;
    m_dLargePoint = 9.0;
    m_dAxisWidth = 2.0;
    if (COGLRenderer::m_dMaxEdge - COGLRenderer::m_dMinEdge > 0.5)
        m_bLineSmooth = TRUE;
    if (COGLRenderer::m_dMaxPoint - COGLRenderer::m_dMinPoint > 0.5)
        m_bPointSmooth = TRUE;
    UpdateData(FALSE);
}

void KorPPOGLSett::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_LINE_SMOOTH, m_bLineSmooth);
    DDX_Check(pDX, IDC_POINT_SMOOTH, m_bPointSmooth);
    double* sizes[8] = {&m_dThinEdge,    &m_dMediumEdge, &m_dWideEdge,     &m_dSmallPoint,
                        &m_dMediumSPoint, &m_dLargePoint, &m_dMediumLPoint, &m_dAxisWidth};
    for (int i = 0; i < 8; ++i)
        DDX_Text(pDX, kSizeEdits[i], *sizes[i]);
    DDX_Check(pDX, IDC_NO_ACCEL, m_bNoAccel);
    DDX_Text(pDX, IDC_SEL_OBJECTS, m_uSelObjects);
    DDV_MinMaxUInt(pDX, m_uSelObjects, 0, COGLRenderer::kMaxSelBufSize / 4);
}

void KorPPOGLSett::OnCheck()
{
    SetModified(TRUE);
    UpdateData(TRUE);
}

void KorPPOGLSett::OnChange()
{
    SetModified(TRUE);
}

BOOL KorPPOGLSett::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    COGLRenderer::bLineSmooth = m_bLineSmooth != 0;
    COGLRenderer::bPointSmooth = m_bPointSmooth != 0;
    const bool bAccel = m_bNoAccel == 0;
    const bool bAccelChanged = bAccel != COGLRenderer::bUseAccel;
    COGLRenderer::bUseAccel = bAccel;
    COGLRenderer::iSelBufSize = m_uSelObjects * 4;
    THIN_EDGE = m_dThinEdge;
    MEDIUM_EDGE = m_dMediumEdge;
    WIDE_EDGE = m_dWideEdge;
    SMALL_POINT = m_dSmallPoint;
    MEDIUM_S_POINT = m_dMediumSPoint;
    LARGE_POINT = m_dLargePoint;
    MEDIUM_L_POINT = m_dMediumLPoint;
    AXIS_WIDTH = m_dAxisWidth;
    if (bAccelChanged)
        framira::ResetAllOGLViews();
    if (m_pView) {
        m_pView->InvalidateList();
        m_pView->Invalidate(TRUE);
        m_pView->UpdateWindow();
    }
    return CPropertyPage::OnApply();
}

// ---- KorPPOGLInfo -------------------------------------------------------------------

IMPLEMENT_DYNCREATE(KorPPOGLInfo, CPropertyPage)

KorPPOGLInfo::KorPPOGLInfo(COGLRenderer* pRenderer) : CPropertyPage(IDD), m_pRenderer(pRenderer)
{
    if (m_pRenderer) {
        m_strExtensions = m_pRenderer->GetOGLInfo(4);
        m_strExtensions.Replace(" ", "\r\n");
    }
}

void KorPPOGLInfo::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_EXTENSIONS, m_strExtensions);
}

BOOL KorPPOGLInfo::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    if (m_pRenderer)
        for (int field = 0; field < 4; ++field)
            SetDlgItemText(kFields[field], m_pRenderer->GetOGLInfo(field));
    return result;
}
