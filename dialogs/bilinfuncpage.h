// The region-value page: a value that varies linearly over a region,
// value = base + slope x (x - x0) + slope y (y - y0), with an optional
// second component (initial strain) and an optional "&Change" box.
#pragma once

#include "platform/ui/core/afxui.h"

constexpr UINT IDD_BILIN_THICKNESS = 16072;
constexpr UINT IDD_BILIN_LOAD = 16074;
constexpr UINT IDD_BILIN_ALPHA = 16076;

// Controls of the three templates.
enum : int {
    IDC_BILIN_BASE = 16127,
    IDC_BILIN_BASE_UNIT = 16138, // the unit label beside the base value
    IDC_BILIN_SLOPE_X = 16130,
    IDC_BILIN_X0 = 16132,
    IDC_BILIN_SLOPE_Y = 16134,
    IDC_BILIN_Y0 = 16136,
    IDC_BILIN_CHANGE = 16143,
    IDC_BILIN_BASE2 = 16144,
    IDC_BILIN_SLOPE_X2 = 16147,
    IDC_BILIN_SLOPE_Y2 = 16148,
    IDC_BILIN_KIND0 = 16153, // strain (Cartesian)
    IDC_BILIN_KIND1 = 16154, // temperature (radial)
};

class VokPPBiLinFunc : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPBiLinFunc)
public:
    // Called before every enabling pass, e.g. to write the unit texts.
    typedef void (*Callback)(VokPPBiLinFunc* pPage);

    VokPPBiLinFunc() : VokPPBiLinFunc("", IDD_BILIN_ALPHA, true) {}
    // A caption other than "" becomes the tab title. Without show-change the
    // "&Change" box is hidden and the values are always editable.
    VokPPBiLinFunc(LPCTSTR lpszCaption, UINT nIDTemplate, bool bShowChange);

    double m_dSlopeX = 0.0;
    double m_dSlopeY = 0.0;
    double m_dBase = 0.0;
    double m_dX0 = 0.0;
    double m_dY0 = 0.0;
    double m_dSlopeX2 = 0.0;
    double m_dSlopeY2 = 0.0;
    double m_dBase2 = 0.0;
    int m_iChange = 0;
    int m_iKind = -1; // 0 strain, 1 temperature
    Callback m_pCallback = nullptr;

    bool GetShowChange() const { return m_bShowChange; }

    // Runs the callback, then enables the edits by the change box and kind.
    void EnableEdits();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // "&Change" and the kind radios: their state, then the enabling.
    void OnChoice();

    DECLARE_MESSAGE_MAP()

private:
    bool m_bShowChange;
    CString m_strCaption; // the tab title m_psp points at
};
