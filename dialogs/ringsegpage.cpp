#include "dialogs/ringsegpage.h"

#include "dialogs/pagehelpers.h"

IMPLEMENT_DYNCREATE(VokPPRingSeg, CPropertyPage)

BEGIN_MESSAGE_MAP(VokPPRingSeg, CPropertyPage)
ON_BN_CLICKED(IDC_RING_TYPE1, OnType)
ON_BN_CLICKED(IDC_RING_TYPE2, OnType)
ON_BN_CLICKED(IDC_RING_TYPE3, OnType)
END_MESSAGE_MAP()

namespace
{
// The ring generator divides n by p and builds p x q regions: each count
// must be at least 1.
constexpr int kMaxCount = 1000000;
} // namespace

VokPPRingSeg::VokPPRingSeg() : CPropertyPage(IDD_RING_SEGMENT) {}

VokPPRingSeg::~VokPPRingSeg()
{
    // The picture must not outlive the bitmap it shows.
    DestroyWindow();
}

void VokPPRingSeg::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RING_PICTURE, m_stPicture);
    // The lengths have the finite range of every length; whether they fit
    // the segment is the generator's question.
    DDX_Number(pDX, IDC_RING_HEIGHT, m_dHeight, AfxRange::Signed(), "Segment height (H)");
    DDX_Text(pDX, IDC_RING_ANGLE, m_dAngle);
    DDX_Number(pDX, IDC_RING_RADIUS, m_dRadius, AfxRange::Signed(), "Radius (R)");
    DDX_Text(pDX, IDC_RING_SEGMENTS, m_nSegments);
    DDV_MinMaxInt(pDX, m_nSegments, 1, kMaxCount);
    DDX_Text(pDX, IDC_RING_TANGENTIAL, m_nTangential);
    DDV_MinMaxInt(pDX, m_nTangential, 1, kMaxCount);
    DDX_Text(pDX, IDC_RING_RADIAL, m_nRadial);
    DDV_MinMaxInt(pDX, m_nRadial, 1, kMaxCount);
    DDX_Radio(pDX, IDC_RING_TYPE1, m_iType);
}

BOOL VokPPRingSeg::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    RefreshLayout();
    return TRUE;
}

void VokPPRingSeg::OnType()
{
    // Only the radios are read: the numbers are checked when the page is
    // left or applied.
    const int type = pavesta::checkedRadio(*this, {IDC_RING_TYPE1, IDC_RING_TYPE2, IDC_RING_TYPE3});
    if (type >= 0)
        m_iType = type;
    RefreshLayout();
}

void VokPPRingSeg::RefreshLayout()
{
    const bool angle = m_iType == 2;
    GetDlgItem(IDC_RING_RADIUS)->ShowWindow(angle ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_RING_RADIUS_LABEL)->ShowWindow(angle ? SW_HIDE : SW_SHOW);
    GetDlgItem(IDC_RING_ANGLE)->ShowWindow(angle ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_RING_ANGLE_LABEL)->ShowWindow(angle ? SW_SHOW : SW_HIDE);

    const UINT nBitmap = angle ? IDB_RING_TYPE3 : m_iType == 1 ? IDB_RING_TYPE2 : IDB_RING_TYPE1;
    auto pBitmap = std::make_unique<CBitmap>();
    pBitmap->LoadBitmap(nBitmap);
    m_stPicture.SetBitmap(pBitmap.get());
    m_pBitmap = std::move(pBitmap); // the one shown before goes
}
