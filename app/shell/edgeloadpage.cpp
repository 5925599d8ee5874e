#include "app/shell/edgeloadpage.h"

#include "app/analysis/sectplate.h"
#include "app/analysis/solverinput.h"
#include "femodel/strelna.h"
#include "platform/dimvor/units.h"

namespace
{

constexpr int kT[] = {1151, 1152, 1153};
constexpr int kN[] = {1154, 1155, 1156};
constexpr int kUnits[] = {1172, 1173, 1174, 1175, 16111, 1177};

// A reversed edge: its first node lies above the second, or at the same
// height to its right. Point 1 of the page is always the lower end.
bool IsReversed(const CBoundary& edge)
{
    const CSNode* a = edge.GetNode1();
    const CSNode* b = edge.GetNode2();
    return a->y > b->y || (a->y == b->y && a->x > b->x);
}

// The sign of local values between the page and the edge. Local values are
// stored along the edge from its first node and, for an edge whose region
// lies to its left, taken by the analysis as they stand: the element that
// takes the load runs along the edge. An edge that only bounds regions on
// its right is taken by an element running against it, which reads the
// values negated; the page negates them too, so that a value acts in the
// same sense relative to the plate on every edge (a transverse load the
// same way up, a normal load the same way into the plate). An edge of no
// region takes the sign of its point order.
double LocalSign(CBoundary& edge)
{
    bool regionRight = false;
    if (CObList* graphs = edge.GetNode1()->GetGraphList())
        for (POSITION pos = graphs->GetHeadPosition(); pos;) {
            auto* region = dynamic_cast<CSectPlate*>(graphs->GetNext(pos));
            if (!region || !region->IsEdgeInGraph(&edge))
                continue;
            if (!region->IsRightOfEdgeInside(&edge))
                return 1.0;
            regionRight = true;
        }
    return regionRight || IsReversed(edge) ? -1.0 : 1.0;
}

// The load vector's index of each page value, in the order T1 N1 T2 N2 T3 N3.
const int* PageOrder(bool reversed)
{
    static const int forward[] = {0, 1, 4, 5, 2, 3};
    static const int backward[] = {2, 3, 4, 5, 0, 1};
    return reversed ? backward : forward;
}

} // namespace

IMPLEMENT_DYNCREATE(CPPEdgeLoad, CPropertyPage)

BEGIN_MESSAGE_MAP(CPPEdgeLoad, CPropertyPage)
ON_BN_CLICKED(1149, OnAxes)
ON_BN_CLICKED(1150, OnAxes)
ON_EN_CHANGE(1151, OnValueChanged)
ON_EN_CHANGE(1152, OnValueChanged)
ON_EN_CHANGE(1153, OnValueChanged)
ON_EN_CHANGE(1154, OnValueChanged)
ON_EN_CHANGE(1155, OnValueChanged)
ON_EN_CHANGE(1156, OnValueChanged)
ON_BN_CLICKED(16143, OnChange)
END_MESSAGE_MAP()

CPPEdgeLoad::CPPEdgeLoad() : CPropertyPage(IDD) {}

CPPEdgeLoad::~CPPEdgeLoad() = default;

void CPPEdgeLoad::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, 1159, m_stPicture);
    // The unit statics hold the line-load unit the page chose on opening.
    CString unit;
    if (CWnd* item = GetDlgItem(1172))
        item->GetWindowText(unit);
    const AfxRange any = AfxRange::Signed();
    DDX_Number(pDX, 1154, m_dN1, any, "N1", unit);
    DDX_Number(pDX, 1155, m_dN2, any, "N2", unit);
    DDX_Number(pDX, 1156, m_dN3, any, "N3", unit);
    DDX_Number(pDX, 1151, m_dT1, any, "T1", unit);
    DDX_Number(pDX, 1152, m_dT2, any, "T2", unit);
    DDX_Number(pDX, 1153, m_dT3, any, "T3", unit);
    DDX_Radio(pDX, 1149, m_iAxes);
    DDX_Check(pDX, 16143, m_bChange);
    UINT nBitmap = 0;
    if (IsMembraneCode(m_iElemType))
        nBitmap = m_iAxes == 0 ? 733 : 747;
    else if (IsPlateBendingCode(m_iElemType))
        nBitmap = 790;
    auto pBitmap = std::make_unique<CBitmap>();
    if (nBitmap)
        pBitmap->LoadBitmap(nBitmap);
    m_stPicture.SetBitmap(pBitmap.get());
    m_pBitmap = std::move(pBitmap);
}

BOOL CPPEdgeLoad::OnInitDialog()
{
    double* shown[] = {&m_dT1, &m_dN1, &m_dT2, &m_dN2, &m_dT3, &m_dN3};
    if (m_pEdge) {
        m_bChange = 1;
        if (const CLoad* load = m_pEdge->GetLoad(); load && load->GetSize() >= 6) {
            m_iAxes = load->IsLocal() ? 1 : 0;
            const double sign = load->IsLocal() ? LocalSign(*m_pEdge) : 1.0;
            const int* order = PageOrder(IsReversed(*m_pEdge));
            for (int i = 0; i < 6; ++i)
                *shown[i] = sign * load->GetValue(order[i]);
        }
    }
    const int unit = iConv[iStandard][3][0];
    CString label;
    switch (unit) {
    case 0:
        m_dLoadFactor = MetricToX(iStandard, kUnitForce, 0) / MetricToX(iStandard, kUnitLength, 1);
        label = UnitString(iStandard, kUnitForce, 0) + "/" + UnitString(iStandard, kUnitLength, 1);
        break;
    case 1:
        m_dLoadFactor = MetricToX(iStandard, kUnitForce, 1) / MetricToX(iStandard, kUnitLength, 1);
        label = UnitString(iStandard, kUnitForce, 1) + "/" + UnitString(iStandard, kUnitLength, 1);
        break;
    case 2:
        m_dLoadFactor = MetricToX(iStandard, kUnitForce, 1) / MetricToX(iStandard, kUnitLength, 0);
        label = UnitString(iStandard, kUnitForce, 1) + "/" + UnitString(iStandard, kUnitLength, 0);
        break;
    default:
        m_dLoadFactor = 1.0;
        break;
    }
    for (double* value : shown)
        *value *= m_dLoadFactor;
    const bool plate = IsPlateBendingCode(m_iElemType);
    if (plate)
        m_iAxes = 1;

    m_bFilling = true;
    CPropertyPage::OnInitDialog();
    m_bFilling = false;
    for (int nID : kUnits)
        GetDlgItem(nID)->SetWindowText(label);
    if (m_pEdge)
        GetDlgItem(16143)->ShowWindow(SW_HIDE);
    UpdateEnabled();
    return TRUE;
}

void CPPEdgeLoad::UpdateEnabled()
{
    const bool change = m_bChange != 0;
    const bool membrane = IsMembraneCode(m_iElemType);
    const bool plate = IsPlateBendingCode(m_iElemType);
    for (int nID : kT)
        GetDlgItem(nID)->EnableWindow(change && membrane);
    for (int nID : kN)
        GetDlgItem(nID)->EnableWindow(change);
    GetDlgItem(1149)->EnableWindow(change && membrane);
    GetDlgItem(1150)->EnableWindow(change && !plate);
}

void CPPEdgeLoad::OnAxes()
{
    TakeQuietly();
    SetModified();
}

void CPPEdgeLoad::OnValueChanged()
{
    if (!m_bFilling)
        SetModified();
}

void CPPEdgeLoad::OnChange()
{
    TakeQuietly();
    UpdateEnabled();
    SetModified();
}

void CPPEdgeLoad::StoreInto(CBoundary& edge, const double values[6]) const
{
    bool allZero = true;
    for (int i = 0; i < 6; ++i)
        allZero = allZero && values[i] == 0.0;
    if (allZero) {
        edge.DeleteLoad();
        return;
    }
    CLoad* load = edge.GetLoad();
    if (!load || load->GetSize() < 6) {
        auto* fresh = new CEdgeLoad;
        fresh->Allocate(6, true, 0.0);
        edge.SetLoad(fresh);
        load = fresh;
    }
    const bool local = m_iAxes != 0;
    const double sign = local ? LocalSign(edge) : 1.0;
    const int* order = PageOrder(IsReversed(edge));
    for (int i = 0; i < 6; ++i)
        load->SetValue(order[i], sign * values[i]);
    load->SetLocal(local);
}

BOOL CPPEdgeLoad::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    const double values[6] = {m_dT1 / m_dLoadFactor, m_dN1 / m_dLoadFactor, m_dT2 / m_dLoadFactor,
                              m_dN2 / m_dLoadFactor, m_dT3 / m_dLoadFactor, m_dN3 / m_dLoadFactor};
    if (m_pEdge) {
        StoreInto(*m_pEdge, values);
        m_bApplied = true;
    } else if (m_pEdgeList && m_bChange) {
        m_bApplied = true;
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
            CObject* object = m_pEdgeList->GetNext(pos);
            if (object->IsKindOf(RUNTIME_CLASS(CBoundary)))
                StoreInto(*static_cast<CBoundary*>(object), values);
        }
    }
    return CPropertyPage::OnApply();
}
