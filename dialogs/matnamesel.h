// The region material page: the region's name, its material from the
// caller's list and how material axis 1 runs (parabolas or circles).
#pragma once

#include "platform/afx/collections.h"
#include "platform/ferrand/material.h"
#include "platform/ui/core/afxui.h"

constexpr UINT IDD_MATERIAL_SELECT = 16078;

enum : int {
    IDC_MAT_X0 = 16132,
    IDC_MAT_Y0 = 16136,
    IDC_MAT_UNIT_X0 = 16139,
    IDC_MAT_UNIT_Y0 = 16140,
    IDC_MAT_UNIT_A = 16141,
    IDC_MAT_UNIT_B = 16142,
    IDC_MAT_CHANGE = 16143,
    IDC_MAT_PARABOLIC = 16144,
    IDC_MAT_POLAR = 16145,
    IDC_MAT_A = 16146,
    IDC_MAT_B = 16147,
    IDC_MAT_NAME = 16148,
    IDC_MAT_COMBO = 16163,
};

class VokPPMatNameSel : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPMatNameSel)
public:
    VokPPMatNameSel();

    bool m_bSeveralRegions = true;       // " No change" offered, name read-only
    CMaterial* m_pSelMaterial = nullptr; // the chosen material; none for " No change"
    CObList* m_pMaterials = nullptr;     // CMaterial objects (not owned)
    CString m_strUnit;                   // length unit text
    CString m_strName;                   // region name
    int m_iChange = 0;
    double m_dA = 0.0, m_dB = 0.0, m_dX0 = 0.0, m_dY0 = 0.0;
    int m_iAxisKind = -1; // 0 parabolic, 1 polar

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // The radios and "&Change": their state, then the enabling.
    void OnChoice();
    void EnableControls();

    CComboBox m_cbMaterial;

    DECLARE_MESSAGE_MAP()
};
