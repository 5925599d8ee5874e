#include "app/shell/coloroptpage.h"

#include "framework/framira.h"
#include "glstyle/drawing_settings.h"

using framira::ColourRef;
using framira::SetColour;

IMPLEMENT_DYNCREATE(CDlgColorOpt, CPropertyPage)

BEGIN_MESSAGE_MAP(CDlgColorOpt, CPropertyPage)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChange)
ON_BN_CLICKED(IDC_RESTORE, OnRestoreDefaults)
ON_EN_CHANGE(IDC_OPACITY, OnChange)
ON_EN_CHANGE(IDC_CONTOURS, OnChange)
ON_BN_CLICKED(IDC_STRESS_OUTPUT, OnChange)
END_MESSAGE_MAP()

CDlgColorOpt::CDlgColorOpt() : CPropertyPage(IDD), m_dOpacity(framira::PercentShown(dMaterialColor[3]))
{
}

void CDlgColorOpt::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_OPACITY, m_dOpacity);
    DDV_MinMaxDouble(pDX, m_dOpacity, 0.0, 100.0);
    DDX_Text(pDX, IDC_CONTOURS, m_nContours);
    // A band count below one or beyond the colour table draws nothing sensible.
    DDV_MinMaxInt(pDX, m_nContours, 1, kMaxContours);
    DDX_Check(pDX, IDC_STRESS_OUTPUT, m_bStressOutput);
}

BOOL CDlgColorOpt::OnInitDialog()
{
    if (m_pDrawSelNum && *m_pDrawSelNum == 0)
        m_bStressOutput = 1;
    m_nContours = static_cast<int>(uiFringeNum);
    const BOOL result = CPropertyPage::OnInitDialog();
    m_clrSurface = ColourRef(dMaterialColor);
    m_clrResultBack = ColourRef(fBckClrRsView);
    m_clrModelBack = ColourRef(fBckClrMdView);
    m_clrGrid = ColourRef(dGridColor);
    m_clrAxis = ColourRef(dAxisColor);
    m_clrText = ColourRef(glcTextClr);
    const struct {
        CColorButton& button;
        int nID;
        COLORREF colour;
    } buttons[] = {{m_btnSurface, IDC_SURFACE, m_clrSurface},
                   {m_btnResultBack, IDC_RESULT_BACK, m_clrResultBack},
                   {m_btnModelBack, IDC_MODEL_BACK, m_clrModelBack},
                   {m_btnGrid, IDC_GRID, m_clrGrid},
                   {m_btnAxis, IDC_AXIS, m_clrAxis},
                   {m_btnText, IDC_TEXT, m_clrText}};
    for (const auto& b : buttons) {
        b.button.SubclassDlgItem(b.nID, this);
        b.button.SetColor(b.colour);
    }
    return result;
}

LRESULT CDlgColorOpt::OnColorChange(WPARAM wParam, LPARAM lParam)
{
    const COLORREF colour = static_cast<COLORREF>(lParam);
    switch (static_cast<int>(wParam)) {
    case IDC_MODEL_BACK: m_clrModelBack = colour; break;
    case IDC_RESULT_BACK: m_clrResultBack = colour; break;
    case IDC_SURFACE: m_clrSurface = colour; break;
    case IDC_GRID: m_clrGrid = colour; break;
    case IDC_AXIS: m_clrAxis = colour; break;
    case IDC_TEXT: m_clrText = colour; break;
    default: break;
    }
    SetModified(TRUE);
    Invalidate(TRUE);
    return 0;
}

void CDlgColorOpt::OnRestoreDefaults()
{
    m_nContours = 20;
    m_clrSurface = RGB(255, 127, 127);
    m_clrResultBack = RGB(216, 242, 255);
    m_clrModelBack = RGB(255, 255, 255);
    m_clrGrid = RGB(0, 0, 0);
    m_clrAxis = RGB(255, 0, 0);
    m_clrText = RGB(0, 0, 255);
    m_dOpacity = 50.0;
    m_btnSurface.SetColor(m_clrSurface);
    m_btnResultBack.SetColor(m_clrResultBack);
    m_btnModelBack.SetColor(m_clrModelBack);
    m_btnGrid.SetColor(m_clrGrid);
    m_btnAxis.SetColor(m_clrAxis);
    m_btnText.SetColor(m_clrText);
    UpdateData(FALSE);
    SetModified(TRUE);
}

void CDlgColorOpt::OnChange()
{
    // The values are taken and checked when the page applies: a half-typed
    // number must not raise the range message at every keystroke.
    SetModified(TRUE);
}

BOOL CDlgColorOpt::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    SetModified(FALSE);
    if (m_pDrawSelNum)
        *m_pDrawSelNum = m_bStressOutput ? 0 : 2;
    SetColour(fBckClrRsView, m_clrResultBack, true, 0.0f);
    SetColour(fBckClrMdView, m_clrModelBack, true, 0.0f);
    SetColour(dMaterialColor, m_clrSurface, true, framira::FractionTaken(m_dOpacity, dMaterialColor[3]));
    SetColour(dAxisColor, m_clrAxis, true, 1.0);
    SetColour(dGridColor, m_clrGrid, true, 1.0);
    SetColour(glcTextClr, m_clrText);
    uiFringeNum = static_cast<std::uint32_t>(m_nContours);
    framira::RedrawAllOGLViews();
    return CPropertyPage::OnApply();
}
