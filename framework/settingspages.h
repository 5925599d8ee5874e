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
