// Pages over the shared graphics settings: KorPPLight (lights, light model
// and material) and KorPPScreenClr (background, grid, axis and text
// colours). Each copies the settings when it is made and writes them back
// on Apply. A colour is held as a COLORREF: each byte is the component x
// 255 truncated, and comes back as byte / 255.
#pragma once

#include "glview/oglrenderer.h"
#include "glview/oglview.h"
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
// The percent a page shows for a stored fraction (0 ... 1): fraction x 100
// read to the precision the fraction holds: 7 digits when it is a float's
// value (0.7f shows as 70, not 69.9999988...), 15 otherwise.
double PercentShown(double fraction);
// The fraction to store for the percent a page took: the stored fraction
// itself when the percent is the one shown for it (an untouched field keeps
// its value bit for bit), else percent x 0.01.
double FractionTaken(double percent, double stored);
// Redraws every OpenGL view of every open document at once, each with its
// display lists marked out of date, so that they are built from the new
// settings (colours, lights and the colour scale are compiled into them).
void RedrawAllOGLViews();
// ResetOGL on every OpenGL view of every document of every document
// template of the application.
void ResetAllOGLViews();

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
// An antialiasing box is disabled when the implementation's range of line
// widths (point sizes) is narrower than 0.5. Apply writes the renderer's
// settings and the shared widths; a changed acceleration choice makes every
// OpenGL view of the application build its context anew.
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
    explicit KorPPOGLSett(COGLView* pView);

    BOOL m_bLineSmooth = FALSE, m_bPointSmooth = FALSE;
    double m_dThinEdge, m_dMediumEdge, m_dWideEdge, m_dSmallPoint, m_dMediumSPoint,
        m_dLargePoint, m_dMediumLPoint, m_dAxisWidth;
    BOOL m_bNoAccel;
    UINT m_uSelObjects; // the selection buffer holds four words an object
    COGLView* m_pView;

    BOOL OnInitDialog() override;
    // Writes the settings back and rebuilds and redraws the view.
    BOOL OnApply() override;

protected:
    KorPPOGLSett() : KorPPOGLSett(nullptr) {}
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCheck();
    void OnChange();
    // The default widths and sizes; the selection buffer stays.
    void OnRestoreDefault();

    DECLARE_MESSAGE_MAP()
};

// What the OpenGL implementation of a view says about itself ("Information"
// of the "OpenGL Options" sheet): vendor, renderer, version, acceleration
// and the extensions, one a line.
class KorPPOGLInfo : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPOGLInfo)
public:
    enum { IDD = 27021 };
    enum : int { IDC_EXTENSIONS = 16231 };
    // The statics of GetOGLInfo's fields 0 to 3.
    static constexpr int kFields[4] = {50053, 50054, 50055, 50056};

    // pRenderer: the renderer of the view that opened the sheet (not owned).
    explicit KorPPOGLInfo(COGLRenderer* pRenderer);

    CString m_strExtensions;
    COGLRenderer* m_pRenderer;

    BOOL OnInitDialog() override;

protected:
    KorPPOGLInfo() : KorPPOGLInfo(nullptr) {}
    void DoDataExchange(CDataExchange* pDX) override;
};
