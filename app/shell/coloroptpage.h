// CDlgColorOpt: the "Screen-options" page of the main frame's "View
// Options" sheet. It edits the shared drawing colours (backgrounds, surface
// and its opacity, axis, grid, stress-output text), the number of contour
// bands and one caller-owned switch of the stress output; Apply writes them.
#pragma once

#include "platform/ui/core/afxui.h"

class CDlgColorOpt : public CPropertyPage
{
    DECLARE_DYNCREATE(CDlgColorOpt)
public:
    enum { IDD = 319 };
    enum : int {
        IDC_MODEL_BACK = 416,
        IDC_RESULT_BACK = 417,
        IDC_SURFACE = 418,
        IDC_GRID = 423,
        IDC_AXIS = 424,
        IDC_TEXT = 428,
        IDC_OPACITY = 429,
        IDC_CONTOURS = 504,
        IDC_STRESS_OUTPUT = 16234,
        IDC_RESTORE = 50031,
    };
    // The contour bands the colour table can tell apart.
    static constexpr int kMaxContours = 256;

    CDlgColorOpt();

    CColorButton m_btnSurface, m_btnResultBack, m_btnModelBack, m_btnGrid, m_btnAxis, m_btnText;
    COLORREF m_clrSurface = 0, m_clrResultBack = 0, m_clrModelBack = 0, m_clrGrid = 0,
             m_clrAxis = 0, m_clrText = 0;
    double m_dOpacity;   // percent
    int m_nContours = 0;
    int m_bStressOutput = 0;
    // The caller's switch: 0 while the stress output is ticked, else 2.
    int* m_pDrawSelNum = nullptr; // not owned

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    LRESULT OnColorChange(WPARAM wParam, LPARAM lParam);
    void OnRestoreDefaults();
    void OnChange();
    DECLARE_MESSAGE_MAP()
};
