#include "app/shell/nodegeompage.h"

#include "app/analysis/platecomp.h"
#include "app/analysis/solverinput.h"
#include "app/shell/bcpage.h"
#include "femodel/strelna.h"
#include "platform/dimvor/units.h"

IMPLEMENT_DYNCREATE(CPrPageBNodeGeom, CPropertyPage)

BEGIN_MESSAGE_MAP(CPrPageBNodeGeom, CPropertyPage)
ON_EN_CHANGE(379, OnXChanged)
ON_EN_CHANGE(350, OnYChanged)
ON_EN_CHANGE(367, OnSpacingChanged)
ON_EN_CHANGE(549, OnLoad1Changed)
ON_EN_CHANGE(550, OnLoad2Changed)
ON_BN_CLICKED(1149, OnAxes)
ON_BN_CLICKED(1150, OnAxes)
ON_BN_CLICKED(529, OnDisconnect)
END_MESSAGE_MAP()

CPrPageBNodeGeom::CPrPageBNodeGeom() : CPropertyPage(IDD)
{
    // The counter stands where it stood: the scratch node is no model node.
    const DWORD counter = CSNode::lIDnode;
    m_pScratchNode = new CBoundNode(0.0, 0.0, 0.0, nullptr, 0);
    CSNode::lIDnode = counter;
}

CPrPageBNodeGeom::~CPrPageBNodeGeom()
{
    delete m_pScratchNode;
}

void CPrPageBNodeGeom::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // The fields are named by their labels, which the page sets by the
    // load kind and the plane.
    const auto label = [this](int nID) {
        CString text;
        if (CWnd* item = GetDlgItem(nID))
            item->GetWindowText(text);
        return text;
    };
    DDX_Number(pDX, 549, m_dLoad1, AfxRange::Signed(), "Node load " + label(513), label(511));
    DDX_Number(pDX, 550, m_dLoad2, AfxRange::Signed(), "Node load " + label(514), label(512));
    DDX_Check(pDX, 529, m_bDisconnect);
    DDX_Text(pDX, 367, m_dSpacing);
    // 0 leaves the mesh size at the node unchanged; a size is positive.
    if (m_iSpacingMode == spacingEditable)
        DDV_Range(pDX, m_dSpacing, AfxRange::AtLeast(0.0), "Node-spacing (Mesh-control)",
                  UnitString(iStandard, kUnitLength, iConv[iStandard][0][0]));
    DDX_Number(pDX, 379, m_dX, AfxRange::Signed(), label(1141), label(508));
    DDX_Number(pDX, 350, m_dY, AfxRange::Signed(), label(1142), label(509));
    DDX_Radio(pDX, 1149, m_iAxes);
}

BOOL CPrPageBNodeGeom::OnInitDialog()
{
    const int lengthUnit = iConv[iStandard][0][0];
    const int forceUnit = iConv[iStandard][1][0];
    m_dLenFactor = MetricToX(iStandard, kUnitLength, lengthUnit);
    m_dForceFactor = MetricToX(iStandard, kUnitForce, forceUnit);
    if (m_pNode) {
        if (CLoad* load = m_pNode->GetLoad(); load && load->GetSize() > 0) {
            m_dLoad1 = load->GetValue(0) * m_dForceFactor;
            m_iAxes = load->IsLocal() ? 1 : 0;
            if (load->GetSize() > 1)
                m_dLoad2 = load->GetValue(1) * m_dForceFactor;
        }
        m_dX = m_pNode->x * m_dLenFactor;
        m_dY = m_pNode->y * m_dLenFactor;
        m_pScratchNode->SetNodeCoord(m_dX, m_dY, 0.0);
        if (m_iSpacingMode != spacingOff)
            m_dSpacing = m_pNode->GetSNodSpace() * m_dLenFactor;
    }

    m_bFilling = true;
    CPropertyPage::OnInitDialog();
    m_bFilling = false;

    const CString length = UnitString(iStandard, kUnitLength, lengthUnit);
    const CString force = UnitString(iStandard, kUnitForce, forceUnit);
    for (int nID : {508, 509, 510})
        GetDlgItem(nID)->SetWindowText(length);
    switch (m_iLoadMode) {
    case loadNone:
        for (int nID : {549, 550, 1149, 1150})
            GetDlgItem(nID)->EnableWindow(FALSE);
        break;
    case loadOne:
        GetDlgItem(511)->SetWindowText(force);
        GetDlgItem(513)->SetWindowText("Z");
        for (int nID : {550, 1149, 1150})
            GetDlgItem(nID)->ShowWindow(SW_HIDE);
        break;
    case loadTwo:
        GetDlgItem(511)->SetWindowText(force);
        GetDlgItem(512)->SetWindowText(force);
        GetDlgItem(513)->SetWindowText("X");
        GetDlgItem(514)->SetWindowText("Y");
        break;
    default:
        break;
    }
    static const char* const kPlaneLabels[3][2] = {
        {"X-coord", "Y-coord"}, {"X-coord", "Z-coord"}, {"Y-coord", "Z-coord"}};
    if (m_iPlane >= 0 && m_iPlane < 3) {
        GetDlgItem(1141)->SetWindowText(kPlaneLabels[m_iPlane][0]);
        GetDlgItem(1142)->SetWindowText(kPlaneLabels[m_iPlane][1]);
    }
    if (!m_pNode) {
        GetDlgItem(16176)->SetWindowText("Offset");
    } else {
        CString text;
        text.Format("%lu", static_cast<unsigned long>(m_pNode->GetID()));
        GetDlgItem(16003)->SetWindowText(text);
        text.Format("%d", m_pNode->GetGraphCount());
        GetDlgItem(16035)->SetWindowText(text);
    }
    if (m_iSpacingMode == spacingShown)
        GetDlgItem(367)->EnableWindow(FALSE);
    if (m_iSpacingMode == spacingOff) {
        GetDlgItem(529)->EnableWindow(FALSE);
        GetDlgItem(367)->EnableWindow(FALSE);
    }
    return TRUE;
}

void CPrPageBNodeGeom::Changed(bool& flag)
{
    if (m_bFilling)
        return;
    flag = true;
    SetModified();
}

void CPrPageBNodeGeom::OnXChanged() { Changed(m_bXChanged); }
void CPrPageBNodeGeom::OnYChanged() { Changed(m_bYChanged); }
void CPrPageBNodeGeom::OnSpacingChanged() { Changed(m_bSpacingChanged); }
void CPrPageBNodeGeom::OnLoad1Changed() { Changed(m_bLoad1Changed); }
void CPrPageBNodeGeom::OnLoad2Changed() { Changed(m_bLoad2Changed); }
void CPrPageBNodeGeom::OnAxes() { Changed(m_bLoad2Changed); }
void CPrPageBNodeGeom::OnDisconnect() { SetModified(); }

bool CPrPageBNodeGeom::EdgesCross()
{
    CObList* edges = m_pNode->GetEdgeList();
    if (!m_pComp || !edges)
        return false;
    for (POSITION pos = edges->GetHeadPosition(); pos;) {
        CObject* edge = edges->GetNext(pos);
        if (edge->IsKindOf(RUNTIME_CLASS(CNodeLink)))
            continue;
        m_lstCrossed.RemoveAll();
        if (m_pComp->Intersection(static_cast<CEdge*>(edge), true, &m_lstCrossed) == 1) {
            m_lstCrossed.RemoveAll();
            return true;
        }
    }
    m_lstCrossed.RemoveAll();
    return false;
}

BOOL CPrPageBNodeGeom::OnApply()
{
    if (!UpdateData(TRUE))
        return FALSE;
    if (!m_pNode)
        return CPropertyPage::OnApply();

    if (m_bXChanged || m_bYChanged) {
        const double oldX = m_pNode->x, oldY = m_pNode->y;
        m_pNode->SetNodeCoord(m_dX / m_dLenFactor, m_dY / m_dLenFactor, 0.0);
        if (EdgesCross()) {
            AfxMessageBox("Edges cannot intersect", MB_OK);
            m_pNode->SetNodeCoord(oldX, oldY, 0.0);
            m_dX = oldX * m_dLenFactor;
            m_dY = oldY * m_dLenFactor;
            m_bFilling = true;
            UpdateData(FALSE);
            m_bFilling = false;
            return FALSE;
        }
        m_bXChanged = m_bYChanged = false;
        m_bChanged = true;
    }

    if (m_bLoad1Changed || m_bLoad2Changed) {
        m_bLoad1Changed = m_bLoad2Changed = false;
        m_bChanged = true;
        CLoad* load = m_pNode->GetLoad();
        const bool two = m_iLoadMode == loadTwo;
        if (!load) {
            if (m_dLoad1 != 0.0 || m_dLoad2 != 0.0) {
                auto* fresh = new CNodeLoad;
                fresh->SetLocal(m_iAxes != 0);
                fresh->Allocate(two ? 2 : 1, true, 0.0);
                fresh->SetValue(0, m_dLoad1 / m_dForceFactor);
                if (two)
                    fresh->SetValue(1, m_dLoad2 / m_dForceFactor);
                m_pNode->SetNodeLoad(fresh);
            }
        } else {
            // A one-value load edited with two components grows to two, so
            // the second value typed is kept.
            if (two && load->GetSize() < 2) {
                const double first = load->GetSize() > 0 ? load->GetValue(0) : 0.0;
                load->Allocate(2, true, 0.0);
                load->SetValue(0, first);
            }
            load->SetLocal(m_iAxes != 0);
            if (load->GetSize() > 0)
                load->SetValue(0, m_dLoad1 / m_dForceFactor);
            if (load->GetSize() > 1)
                load->SetValue(1, m_dLoad2 / m_dForceFactor);
            if (load->GetSize() == 0 || (load->Min() == 0.0 && load->Max() == 0.0))
                m_pNode->SetNodeLoad(static_cast<CNodeLoad*>(nullptr));
        }
    }

    if (m_bSpacingChanged) {
        m_bSpacingChanged = false;
        m_bChanged = true;
        m_pNode->SetSNodSpace(m_dSpacing / m_dLenFactor, true);
    }
    return CPropertyPage::OnApply();
}

void PrepareNodeSheet(CPrPageBNodeGeom& geometry, CPrPageBC& conditions, CBoundNode* node, CPlateComp* comp,
                      bool listed, bool spacing, int code)
{
    geometry.m_pNode = node;
    geometry.m_pComp = comp;
    geometry.m_bDisconnect = listed;
    if (spacing)
        geometry.m_iSpacingMode = CPrPageBNodeGeom::spacingShown;
    if (IsMembraneCode(code))
        geometry.m_iLoadMode = CPrPageBNodeGeom::loadTwo;
    conditions.m_iElemType = code;
    conditions.m_pNode = node;
}
