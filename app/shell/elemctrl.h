// CDlgElemCtrl: the "Element settings" page that chooses the element type
// and its integration and stress-evaluation settings; CDlgConstrMesh: the
// structured-mesh settings of a constrained-mesh document. Both only hold
// values: their owners set the public members before the dialog runs and
// read them after OK.
#pragma once

#include <memory>

#include "platform/ui/core/afxui.h"

class CDlgElemCtrl : public CPropertyPage
{
    DECLARE_DYNCREATE(CDlgElemCtrl)
public:
    enum { IDD = 137 };
    // Modes: which element family the page offers.
    enum { modePlate = 0, modeMembrane = 1, modeBucklingPlate = 2, modeBucklingMembrane = 3 };

    CDlgElemCtrl();
    ~CDlgElemCtrl() override;

    int m_iMode = modePlate;
    int m_iUnused = 20; // kept for the owners that set it; the page does not read it
    int m_iPrint = 0;            // solver print setting (edit 344, not shown)
    int m_iIntegrationRule = 0;  // 0 numerical, 1 analytical (or the evaluation points)
    int m_iIntegrationPoints = 0; // 0 1x1, 1 2x2, 2 3x3
    int m_iPlaneState = 0;       // 0 plane stress, 1 plane strain
    int m_iElement = -1;         // index of the element radio, -1 until set

    // True for the membrane modes.
    bool IsMembrane() const { return m_iMode == modeMembrane || m_iMode == modeBucklingMembrane; }

    BOOL OnInitDialog() override;
    // Membrane elements integrated below full order: asks whether to reset.
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnElement();
    DECLARE_MESSAGE_MAP()

private:
    // Enabled radios, point labels, picture and description of the choice.
    void UpdateControls();
    void ShowElement(UINT nText, UINT nBitmap);

    CStatic m_stPicture;               // control 1072
    std::unique_ptr<CBitmap> m_pBitmap; // the picture shown
};

class CDlgConstrMesh : public CDialog
{
    DECLARE_DYNAMIC(CDlgConstrMesh)
public:
    enum { IDD = 136 };
    CDlgConstrMesh(CWnd* pParent = nullptr);

    UINT m_nM = 10; // elements along the A edges
    UINT m_nN = 10; // elements along the B edges
    // Progression of each ratio: 0 linear, 1 geometric.
    int m_iProgR = 0, m_iProgS = 0, m_iProgT = 0, m_iProgU = 0;
    double m_dR = 1.0, m_dS = 1.0, m_dT = 1.0, m_dU = 1.0;
    int m_iOddRows = 1, m_iEvenRows = 1;
    // The list of arbitrary side lengths in use instead of the ratio.
    int m_bListR = 0, m_bListS = 0, m_bListT = 0, m_bListU = 0;
    CString m_strListR, m_strListS, m_strListT, m_strListU;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Any of the four list check boxes: the list edit or the ratio controls.
    void OnListCheck();
    DECLARE_MESSAGE_MAP()
};
