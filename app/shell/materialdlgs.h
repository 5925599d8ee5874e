// The program's material dialogs, built on the library's materials dialog:
// "Edit materials" adds orthotropic values (modulus Y, expansion X and Y),
// an "&Apply" button that merges into the caller's list and repaints the
// owner view, and its own way of making a new material: a preset and a
// kind, then the "New material" dialog.
#pragma once

#include "dialogs/pavesta.h"

class CView;

class CMaterialDialog : public VokDlgIsoMatsEdit
{
    DECLARE_DYNAMIC(CMaterialDialog)
public:
    CMaterialDialog(CWnd* pParent, UINT nIDTemplate);

    // The view repainted after "&Apply" (the active view; not owned).
    CWnd* m_pOwner = nullptr;
    // Whether "&Apply" ran: the caller's list may have changed even when
    // the dialog ends with Cancel.
    bool m_bApplied = false;

    // The ten values a new material starts from, in the materials library's
    // units: modulus X, shear modulus, Poisson's ratio, density, expansion
    // X, red, green, blue (percent), modulus Y, expansion Y.
    struct Preset {
        const char* name;
        double values[10];
    };
    static const Preset kPresets[5];

protected:
    void OnApply();
    void OnNewMaterialFlow();
    void OnKillfocusValue();
    // The "New material" dialog until it gives a usable name, then the
    // material appended to the working list and selected. values are in
    // display units and take what was entered.
    void CreateMaterial(bool bOrtho, double (&values)[10], CString name);
    // The refusal of a new material's name, or null for a usable one.
    const char* NameRefusal(const CString& name) const;

    DECLARE_MESSAGE_MAP()
};

class CDlgOrthoMaterial : public CMaterialDialog
{
    DECLARE_DYNAMIC(CDlgOrthoMaterial)
public:
    enum { IDD = 551 };
    explicit CDlgOrthoMaterial(CWnd* pParent = nullptr);

    // The dialog's template: the library's with the orthotropic rows.
    static DialogTemplate BuildTemplate();

    void SetProperties(CMaterial* pTarget, CMaterial* pSource) override;
    BOOL KillfocusEdit() override;
    void SelchangeMatName() override;
    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    AfxRange PoissonRange() const override;
    CString ModulusLabel() const override;

    // Shown: expansions per display temperature unit, modulus Y in the
    // modulus unit.
    double m_dLambdaX = 0.0;
    double m_dLambdaY = 0.0;
    double m_dModulusY = 0.0;
    CString m_sLambdaXUnit, m_sLambdaYUnit, m_sModulusYUnit;

    DECLARE_MESSAGE_MAP()
};

class CNewMaterialDlg : public CDialog
{
    DECLARE_DYNAMIC(CNewMaterialDlg)
public:
    enum { IDD = 304 };
    explicit CNewMaterialDlg(CWnd* pParent = nullptr);

    static DialogTemplate BuildTemplate();

    CString m_sName;
    double m_dModulusX = 0.0;
    double m_dModulusY = 0.0;
    double m_dPoisson = 0.0;
    double m_dShear = 0.0;
    double m_dDensity = 0.0;
    float m_fRed = 0.0f, m_fGreen = 0.0f, m_fBlue = 0.0f;
    double m_dOpacity = 50.0;
    int m_iOrtho = 0;
    CString m_sModulusXUnit, m_sModulusYUnit, m_sShearUnit, m_sDensityUnit;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);

    CColorButton m_btnColor;

    DECLARE_MESSAGE_MAP()
};
