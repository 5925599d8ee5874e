// The ring-segment page: the dimensions of a ring-segment region and how
// it is divided, with a picture of the chosen type. The caller reads the
// values after the sheet closes.
#pragma once

#include <memory>

#include "platform/ui/core/afxui.h"

constexpr UINT IDD_RING_SEGMENT = 16069;

enum : int {
    IDC_RING_PICTURE = 16030,
    IDC_RING_HEIGHT = 16115,
    IDC_RING_ANGLE = 16116,
    IDC_RING_SEGMENTS = 16117,
    IDC_RING_TANGENTIAL = 16118,
    IDC_RING_RADIAL = 16119,
    IDC_RING_RADIUS = 16120,
    IDC_RING_TYPE1 = 16144,
    IDC_RING_TYPE2 = 16145,
    IDC_RING_TYPE3 = 16153,
    IDC_RING_ANGLE_LABEL = 16182,
    IDC_RING_RADIUS_LABEL = 16183,
};

// The pictures of the three types.
constexpr UINT IDB_RING_TYPE1 = 16070;
constexpr UINT IDB_RING_TYPE2 = 16178;
constexpr UINT IDB_RING_TYPE3 = 16181;

class VokPPRingSeg : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPRingSeg)
public:
    VokPPRingSeg();
    ~VokPPRingSeg() override;

    double m_dHeight = 10.0; // H
    double m_dAngle = 180.0; // theta, Type 3
    double m_dRadius = 0.0;  // R, Types 1 and 2
    int m_nSegments = 16;    // n, line segments on the curved boundaries
    int m_nTangential = 1;   // p, sub-regions tangentially
    int m_nRadial = 1;       // q, sub-regions radially
    int m_iType = 0;         // 0, 1, 2 for Type 1, 2, 3

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnType();
    // Shows the radius or the angle pair and the picture of the type.
    void RefreshLayout();

    CStatic m_stPicture;

    DECLARE_MESSAGE_MAP()

private:
    std::unique_ptr<CBitmap> m_pBitmap; // shown in the picture (owned)
};
