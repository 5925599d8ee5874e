// Pages over the shared graphics settings: KorPPLight (lights, light model
// and material) and KorPPScreenClr (background, grid, axis and text
// colours). Each copies the settings when it is made and writes them back
// on Apply. A colour is held as a COLORREF: each byte is the component x
// 255 truncated, and comes back as byte / 255.
#pragma once

#include "platform/ui/core/afxui.h"

namespace framira
{

// The colour of the first three components (0.0 ... 1.0).
COLORREF ColourRef(const float* rgb);
COLORREF ColourRef(const double* rgb);
// Writes the colour's three components, and alpha into the fourth when
// bAlpha is set.
void SetColour(float* rgb, COLORREF colour, bool bAlpha = false, float alpha = 1.0f);
void SetColour(double* rgb, COLORREF colour, bool bAlpha = false, double alpha = 1.0);
// Redraws the active view of the main window's active frame at once.
void RedrawActiveView();

} // namespace framira

class KorPPLight : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPLight)
public:
    enum { IDD = 27020 };
    enum : int {
        IDC_RESTORE = 50031,
        IDC_LIGHT1 = 50046,
        IDC_LIGHT2 = 50047,
        IDC_LIGHT3 = 50048,
        IDC_LOCAL_VIEWER = 50049,
        IDC_TWO_SIDE = 50050,
        IDC_SHININESS = 50051,
        IDC_SHININESS_SPIN = 50052,
    };
    // The colour buttons in the order of m_clrLight: ambient, diffuse and
    // specular of lights 1 to 3, global ambient, material specular and
    // emission.
    static constexpr int kButtons[12] = {50032, 50036, 50112, 50037, 50039, 50038,
                                         50040, 50042, 50041, 50043, 50044, 50045};

    KorPPLight();

    COLORREF m_clrLight[12] = {};
    CColorButton m_btnColor[12];
    CSpinButtonCtrl m_spinShininess;
    BOOL m_bLight1, m_bLight2, m_bLight3;
    BOOL m_bTwoSide, m_bLocalViewer;
    float m_fShininess;
    float m_fLight2W, m_fLight2X, m_fLight2Y, m_fLight2Z; // hidden edits 50027 ... 50030

    BOOL OnInitDialog() override;
    // Writes all three lights, the light model and the material.
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnColorChange(WPARAM wParam, LPARAM lParam);
    void OnRestoreDefaults();
    void OnChange();

    DECLARE_MESSAGE_MAP()
};

class KorPPScreenClr : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPScreenClr)
public:
    enum { IDD = 27051 };
    // Results and modelling background, grid, axis, text.
    static constexpr int kButtons[5] = {50118, 50117, 50120, 50119, 50121};

    KorPPScreenClr() : CPropertyPage(IDD) {}

    COLORREF m_clrScreen[5] = {};
    CColorButton m_btnColor[5];

    BOOL OnInitDialog() override;
    // Backgrounds get alpha 0.0, grid and axis 1.0; no view is redrawn.
    BOOL OnApply() override;

protected:
    LRESULT OnColorChange(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// The line widths, point sizes, antialiasing, acceleration and selection
// buffer of the OpenGL views ("Settings" of the "OpenGL Options" sheet).
class KorPPOGLSett : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPOGLSett)
public:
    enum { IDD = 27022 };
    enum : int {
        IDC_LINE_SMOOTH = 16234,
        IDC_POINT_SMOOTH = 16159,
        IDC_NO_ACCEL = 16160,
        IDC_SEL_OBJECTS = 50113,
        IDC_RESTORE = 16068,
    };
    // The edits of the eight widths and sizes, in the order of the members.
    static constexpr int kSizeEdits[8] = {16230, 16231, 16232, 16233, 16235, 16238, 16236, 16237};

    // pView: the view that opened the sheet (not owned).
    explicit KorPPOGLSett(CView* pView);

    BOOL m_bLineSmooth = FALSE, m_bPointSmooth = FALSE;
    double m_dThinEdge, m_dMediumEdge, m_dWideEdge, m_dSmallPoint, m_dMediumSPoint,
        m_dLargePoint, m_dMediumLPoint, m_dAxisWidth;
    BOOL m_bNoAccel = TRUE;
    UINT m_uSelObjects = 256; // the selection buffer holds four words an object
    CView* m_pView;

    // Writes the widths and sizes and redraws the view.
    BOOL OnApply() override;

protected:
    KorPPOGLSett() : KorPPOGLSett(nullptr) {}
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCheck();
    void OnChange();

    DECLARE_MESSAGE_MAP()
};
