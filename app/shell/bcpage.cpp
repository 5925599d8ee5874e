#include "app/shell/bcpage.h"

#include <algorithm>
#include <cmath>

#include "app/analysis/platecomp.h"
#include "app/analysis/solverinput.h"
#include "app/shell/boundnode.h"
#include "app/shell/edgeloadpage.h"
#include "femodel/strelna.h"
#include "geometry/ringseg.h"
#include "platform/dimvor/units.h"

namespace
{

constexpr double kDegrees = 57.29577951308232;
constexpr int kChoices[] = {1100, 1101, 1102, 1140, 1032};
constexpr int kRowA = 0, kRowB = 1, kRowC = 2, kRowD = 3, kRowE = 4, kRowF = 5;

// How a row's stored value is shown.
enum class Kind { none, displacement, rotation, curvature, negated };

struct RowMeaning {
    const char* label = "";
    int dof = 0;
    Kind kind = Kind::none;
};

// The meaning of the six rows for an element-type code; all rows without
// meaning (and nothing hidden) for an unknown code.
struct CodeRows {
    bool known = false;
    RowMeaning rows[6];
};

CodeRows RowsFor(int code)
{
    CodeRows r;
    auto set = [&r](int row, const char* label, int dof, Kind kind) {
        r.rows[row] = RowMeaning{label, dof, kind};
    };
    switch (code) {
    case 31: case 32: case 41: case 42: case 44: case 46:
        set(kRowB, "u", 1, Kind::displacement);
        set(kRowE, "v", 2, Kind::displacement);
        break;
    case 33:
        set(kRowA, "u", 1, Kind::displacement);
        set(kRowB, "u,x", 3, Kind::rotation);
        set(kRowC, "u,y", 5, Kind::rotation);
        set(kRowD, "v", 2, Kind::displacement);
        set(kRowE, "v,x", 4, Kind::rotation);
        set(kRowF, "v,y", 6, Kind::rotation);
        break;
    case 61: case 65: case 75:
        set(kRowA, "w", 1, Kind::displacement);
        set(kRowD, "w,x", 2, Kind::rotation);
        set(kRowE, "w,y", 3, Kind::rotation);
        break;
    case 66:
        set(kRowA, "w", 1, Kind::displacement);
        set(kRowD, "-w,x", 3, Kind::negated);
        set(kRowE, " w,y", 2, Kind::rotation);
        break;
    case 81: case 85:
        set(kRowA, "w", 1, Kind::displacement);
        set(kRowB, "w,x", 2, Kind::rotation);
        set(kRowC, "w,y", 3, Kind::rotation);
        set(kRowD, "w,xx", 4, Kind::curvature);
        set(kRowE, "w,xy", 5, Kind::curvature);
        set(kRowF, "w,yy", 6, Kind::curvature);
        break;
    default:
        return r;
    }
    r.known = true;
    return r;
}

// The row of a DOF number for the code, -1 when it has none.
int RowOfDof(const CodeRows& rows, int dof)
{
    for (int i = 0; i < 6; ++i)
        if (rows.rows[i].dof != 0 && rows.rows[i].dof == dof)
            return i;
    return -1;
}

unsigned TypeOfChoice(int choice)
{
    static const unsigned types[] = {0, 1, 2, 4, 0x10};
    return choice >= 0 && choice <= 4 ? types[choice] : 0;
}

int ChoiceOfType(unsigned type)
{
    switch (type) {
    case 1: return CPrPageBC::choiceSimple;
    case 2: return CPrPageBC::choiceFixed;
    case 4: return CPrPageBC::choiceSymmetry;
    case 0x10: return CPrPageBC::choiceUser;
    default: return CPrPageBC::choiceFree;
    }
}

} // namespace

const CPrPageBC::RowControls CPrPageBC::kRows[6] = {
    {16176, 16234, 16230, 1171, 1199}, {16177, 16159, 16231, 1172, 1200},
    {50096, 16160, 16232, 1173, 1201}, {50097, 50081, 16233, 1174, 1204},
    {50098, 50082, 16235, 1175, 1205}, {50099, 50083, 16236, 1176, 1206}};

IMPLEMENT_DYNCREATE(CPrPageBC, CPropertyPage)

BEGIN_MESSAGE_MAP(CPrPageBC, CPropertyPage)
ON_BN_CLICKED(1100, OnChoice)
ON_BN_CLICKED(1101, OnChoice)
ON_BN_CLICKED(1102, OnChoice)
ON_BN_CLICKED(1140, OnChoice)
ON_BN_CLICKED(1032, OnChoice)
ON_BN_CLICKED(16234, OnDofCheck)
ON_BN_CLICKED(16159, OnDofCheck)
ON_BN_CLICKED(16160, OnDofCheck)
ON_BN_CLICKED(50081, OnDofCheck)
ON_BN_CLICKED(50082, OnDofCheck)
ON_BN_CLICKED(50083, OnDofCheck)
ON_EN_CHANGE(16230, OnValueChanged)
ON_EN_CHANGE(16231, OnValueChanged)
ON_EN_CHANGE(16232, OnValueChanged)
ON_EN_CHANGE(16233, OnValueChanged)
ON_EN_CHANGE(16235, OnValueChanged)
ON_EN_CHANGE(16236, OnValueChanged)
ON_EN_CHANGE(16238, OnValueChanged)
ON_BN_CLICKED(1197, OnModifiedOnly)
ON_BN_CLICKED(1198, OnModifiedOnly)
ON_BN_CLICKED(16143, OnChangeCheck)
ON_BN_CLICKED(7129, OnChangeCheck)
END_MESSAGE_MAP()

CPrPageBC::CPrPageBC(int index) : CPropertyPage(IDD), m_iBCIndex(index)
{
    m_dLenFactor = iStandard == 0 ? 1.0 : MetricToX(1, kUnitLength, 0);
    m_dAngleFactor = iConv[iStandard][7][0] == 0 ? kDegrees : 1.0;
    m_dStiffFactor = MetricToX(iStandard, kUnitForce, 1) / m_dLenFactor;
    m_strStiffUnit = UnitString(iStandard, kUnitForce, 1) + "/" + UnitString(iStandard, kUnitLength, 0);
}

CPrPageBC::~CPrPageBC() = default;

void CPrPageBC::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    // Each value is named by its row's label and carries its unit label.
    const auto text = [this](int nID) {
        CString shown;
        if (CWnd* item = GetDlgItem(nID))
            item->GetWindowText(shown);
        shown.Trim();
        return shown;
    };
    for (int i = 0; i < 6; ++i) {
        DDX_Check(pDX, kRows[i].check, m_iDofState[i]);
        DDX_Number(pDX, kRows[i].edit, m_dDofValue[i], AfxRange::Signed(), text(kRows[i].label),
                   text(kRows[i].unit));
    }
    DDX_Radio(pDX, kChoices[0], m_iSupport);
    DDX_Text(pDX, 16238, m_dAngle);
    DDV_MinMaxDouble(pDX, m_dAngle, -360.0, 360.0);
    // The length is shown, never taken back: the field is read only.
    if (!pDX->m_bSaveAndValidate)
        DDX_Text(pDX, 16239, m_dLength);
    DDX_Check(pDX, 1197, m_bApplyNodeI);
    DDX_Check(pDX, 1198, m_bApplyNodeJ);
    DDX_Check(pDX, 16143, m_bChange);
    DDX_Check(pDX, 7129, m_bChangeAngle);
}

BOOL CPrPageBC::OnInitDialog()
{
    const double lengthFactor = MetricToX(iStandard, kUnitLength, iConv[iStandard][0][0]);
    CBoundCond* condition = nullptr;
    CString nodeI, nodeJ;
    auto hide = [this](std::initializer_list<int> ids) {
        for (int nID : ids)
            GetDlgItem(nID)->ShowWindow(SW_HIDE);
    };
    if (m_pEdge) {
        m_target = Target::edge;
        m_dLength = m_pEdge->GetLength() * lengthFactor;
        CSNode* start = nullptr;
        m_dAngle = TruncDouble(m_pEdge->GetCClWAngle(start) * m_dAngleFactor, 1, 5);
        nodeI.Format("Apply to node i (%u)", unsigned(start->GetID()));
        nodeJ.Format("Apply to node j (%u)", unsigned(m_pEdge->GetNode(start)->GetID()));
        condition = m_pEdge->GetBC(m_iBCIndex);
    } else if (m_pNode) {
        m_target = Target::node;
        m_dAngleRad = m_pNode->GetAngle(m_iBCIndex);
        m_dAngle = TruncDouble(m_dAngleRad * m_dAngleFactor, 1, 5);
        m_bChangeAngle = 1;
        condition = m_pNode->GetBC(m_iBCIndex);
    } else if (m_pLink) {
        m_target = Target::link;
        m_dLength = m_pLink->GetLength() * lengthFactor;
        m_dAngle = TruncDouble(m_pLink->GetCClWAngle() * m_dAngleFactor, 1, 5);
        condition = m_pLink->GetBC(m_iBCIndex);
    } else if (m_pNodeList) {
        m_target = Target::nodeList;
        m_dAngle = 0.0;
        m_bChange = 0;
        m_iSupport = choiceNone;
    } else if (m_pEdgeList) {
        m_target = Target::edgeList;
        for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
            const POSITION at = pos;
            if (!m_pEdgeList->GetNext(pos)->IsKindOf(RUNTIME_CLASS(CEdge)))
                m_pEdgeList->RemoveAt(at);
        }
        m_bChange = 0;
        m_iSupport = choiceFree;
    }
    if (m_target == Target::edge || m_target == Target::node || m_target == Target::link) {
        m_iSupport = choiceFree;
        if (condition) {
            m_iSupport = ChoiceOfType(condition->GetBCType());
            if (m_iSupport == choiceUser && condition->GetBCVector())
                m_vUserDofs = *condition->GetBCVector();
        }
    }
    FillRows();

    m_bFilling = true;
    CPropertyPage::OnInitDialog();
    m_bFilling = false;

    switch (m_target) {
    case Target::edge:
        hide({16143, 1203});
        GetDlgItem(1197)->SetWindowText(nodeI);
        GetDlgItem(1198)->SetWindowText(nodeJ);
        break;
    case Target::node:
        hide({16143, 1197, 1198, 1202});
        break;
    case Target::link:
        hide({16143, 1197, 1198, 1203});
        break;
    case Target::nodeList:
        hide({1197, 1198, 1202});
        break;
    case Target::edgeList:
        GetDlgItem(1197)->SetWindowText("Apply to nodes");
        hide({1198, 1203});
        break;
    case Target::none:
        break;
    }
    if (IsMembraneCode(m_iElemType)) {
        auto load = [](std::unique_ptr<CBitmap>& bitmap, UINT nID) {
            bitmap = std::make_unique<CBitmap>();
            bitmap->LoadBitmap(nID);
        };
        load(m_pPicSimple, 762);
        load(m_pPicFixed, 761);
        load(m_pPicSymm, 763);
        static_cast<CStatic*>(GetDlgItem(1194))->SetBitmap(m_pPicSimple.get());
        static_cast<CStatic*>(GetDlgItem(1195))->SetBitmap(m_pPicFixed.get());
        static_cast<CStatic*>(GetDlgItem(1196))->SetBitmap(m_pPicSymm.get());
        GetDlgItem(1101)->SetWindowText("Roller 1");
        GetDlgItem(1140)->SetWindowText("Roller 2");
    }
    GetDlgItem(kAngleUnit)->SetWindowText(m_dAngleFactor == 1.0 ? "rad" : "deg");
    GetDlgItem(kLengthUnit)->SetWindowText(
        UnitString(iStandard, kUnitLength, iConv[iStandard][0][0]));
    const CodeRows rows = RowsFor(m_iElemType);
    for (int i = 0; i < 6; ++i) {
        GetDlgItem(kRows[i].label)->SetWindowText(rows.rows[i].label);
        if (rows.known && rows.rows[i].kind == Kind::none)
            for (int nID : {kRows[i].label, kRows[i].check, kRows[i].edit, kRows[i].unit})
                GetDlgItem(nID)->ShowWindow(SW_HIDE);
    }
    Refresh();
    return TRUE;
}

void CPrPageBC::FillRows()
{
    std::fill(std::begin(m_iDofState), std::end(m_iDofState), 0);
    std::fill(std::begin(m_dDofValue), std::end(m_dDofValue), 0.0);
    if (m_iSupport <= choiceFree || m_iSupport > choiceUser)
        return;
    const CVector* dofs = nullptr;
    if (m_iSupport == choiceUser)
        dofs = &m_vUserDofs;
    else
        dofs = CPlateComp::GetSupportDOFs(m_iElemType, int(TypeOfChoice(m_iSupport)));
    if (!dofs)
        return;
    const CodeRows rows = RowsFor(m_iElemType);
    const int n = dofs->GetSize() / 2;
    for (int i = 0; i < n; ++i) {
        const int number = static_cast<int>(dofs->GetValue(i));
        const int row = RowOfDof(rows, std::abs(number));
        if (row < 0)
            continue;
        const double s = dofs->GetValue(n + i);
        double shown = s;
        switch (rows.rows[row].kind) {
        case Kind::displacement:
            shown = number < 0 ? s * m_dStiffFactor : s * m_dLenFactor;
            break;
        case Kind::curvature:
            shown = s / m_dLenFactor;
            break;
        case Kind::negated:
            shown = -s;
            break;
        default:
            break;
        }
        m_iDofState[row] = number > 0 ? 1 : number < 0 ? 2 : 0;
        m_dDofValue[row] = shown;
    }
}

void CPrPageBC::CollectUserRows()
{
    const CodeRows rows = RowsFor(m_iElemType);
    int n = 0;
    for (int i = 0; i < 6; ++i)
        if (m_iDofState[i] != 0 && rows.rows[i].dof != 0)
            ++n;
    if (n == 0) {
        m_vUserDofs.Allocate(0, true, 0.0);
        return;
    }
    m_vUserDofs.Allocate(2 * n, true, 0.0);
    int k = 0;
    for (int dof = 1; dof <= 6; ++dof) {
        const int row = RowOfDof(rows, dof);
        if (row < 0 || m_iDofState[row] == 0)
            continue;
        const bool spring = m_iDofState[row] == 2;
        const double d = m_dDofValue[row];
        double s = d;
        switch (rows.rows[row].kind) {
        case Kind::displacement:
            s = spring ? d / m_dStiffFactor : d / m_dLenFactor;
            break;
        case Kind::curvature:
            s = d * m_dLenFactor;
            break;
        case Kind::negated:
            s = -d;
            break;
        default:
            break;
        }
        m_vUserDofs.SetValue(k, spring ? -dof : dof);
        m_vUserDofs.SetValue(n + k, s);
        ++k;
    }
}

template <class Obj> void CPrPageBC::ApplyChoiceTo(Obj& object)
{
    object.ClearBC(m_iBCIndex);
    if (m_iSupport >= choiceSimple && m_iSupport <= choiceSymmetry) {
        if constexpr (std::is_same_v<Obj, CBoundNode>)
            object.SetStandBC(TypeOfChoice(m_iSupport), m_iBCIndex);
        else
            object.SetBC(TypeOfChoice(m_iSupport), m_iBCIndex);
    } else if (m_iSupport == choiceUser && m_vUserDofs.GetSize() > 0) {
        CBoundCond condition;
        condition.SetType(0x10);
        condition.SetBC(m_vUserDofs);
        object.SetBC(condition, m_iBCIndex);
    }
}

void CPrPageBC::ApplyToNode(CBoundNode& node, bool setChoice, bool changeAngle, double newAngle)
{
    const double oldAngle = node.GetAngle(m_iBCIndex);
    if (setChoice)
        ApplyChoiceTo(node);
    node.SetAngle(changeAngle ? newAngle : oldAngle, m_iBCIndex);
}

void CPrPageBC::ApplyEdgeToNode(CBoundary& edge, CSNode* plain)
{
    // An edge may end at a plain node: it becomes a boundary node first.
    CBoundNode* node = brantel::ToBoundNode(plain, CGraph::m_pNodeList);
    if (!node)
        return;
    if (CBoundCond* condition = edge.GetBC(m_iBCIndex))
        node->SetBC(*condition, m_iBCIndex);
    else
        node->ClearBC(m_iBCIndex);
    node->SetAngle(m_dAngleRad, m_iBCIndex);
}

void CPrPageBC::ApplyEdgeList()
{
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;)
        if (CObject* object = m_pEdgeList->GetNext(pos); object->IsKindOf(RUNTIME_CLASS(CBoundary)))
            ApplyChoiceTo(*static_cast<CBoundary*>(object));
    if (!m_bApplyNodeI)
        return;
    CObList nodes;
    for (POSITION pos = m_pEdgeList->GetHeadPosition(); pos;) {
        auto* edge = static_cast<CEdge*>(m_pEdgeList->GetNext(pos));
        for (CSNode* node : {edge->GetNode1(), edge->GetNode2()})
            if (!nodes.Find(node))
                nodes.AddTail(node);
    }
    for (POSITION pos = nodes.GetHeadPosition(); pos;) {
        CObject* object = nodes.GetNext(pos);
        if (!object->IsKindOf(RUNTIME_CLASS(CBoundNode)))
            continue;
        auto* node = static_cast<CBoundNode*>(object);
        ApplyChoiceTo(*node);
        const double angle =
            EdgeListNodeAngle(*node, [this](CObject* e) { return m_pEdgeList->Find(e) != nullptr; });
        if (angle != 0.0)
            node->SetAngle(angle, m_iBCIndex);
    }
}

BOOL CPrPageBC::OnApply()
{
    if (m_bModified) {
        if (!UpdateData(TRUE))
            return FALSE;
        m_dAngleRad = m_dAngle / m_dAngleFactor;
        if (m_iSupport == choiceUser)
            CollectUserRows();
        switch (m_target) {
        case Target::edge: {
            ApplyChoiceTo(*m_pEdge);
            CSNode* start = nullptr;
            m_pEdge->GetCClWAngle(start);
            CSNode* other = m_pEdge->GetNode(start);
            if (m_bApplyNodeI)
                ApplyEdgeToNode(*m_pEdge, start);
            if (m_bApplyNodeJ)
                ApplyEdgeToNode(*m_pEdge, other);
            break;
        }
        case Target::link:
            ApplyChoiceTo(*m_pLink);
            break;
        case Target::node:
            ApplyToNode(*m_pNode, true, m_bChangeAngle != 0, m_dAngleRad);
            break;
        case Target::nodeList: {
            const bool setChoice = m_bChange && m_iSupport >= choiceFree;
            if (setChoice || m_bChangeAngle)
                for (POSITION pos = m_pNodeList->GetHeadPosition(); pos;)
                    if (CObject* object = m_pNodeList->GetNext(pos);
                        object->IsKindOf(RUNTIME_CLASS(CBoundNode)))
                        ApplyToNode(*static_cast<CBoundNode*>(object), setChoice,
                                    m_bChangeAngle != 0, m_dAngleRad);
            break;
        }
        case Target::edgeList:
            if (m_bChange)
                ApplyEdgeList();
            break;
        case Target::none:
            break;
        }
        m_bModified = false;
        m_bApplied = true;
    }
    return CPropertyPage::OnApply();
}

void CPrPageBC::MarkModified()
{
    SetModified();
    m_bModified = true;
}

void CPrPageBC::OnChoice()
{
    const int old = m_iSupport;
    if (!UpdateData(TRUE))
        return;
    if (m_iSupport == old)
        return;
    // The rows typed for "User defined" are kept for a return to it; the
    // model is written only when the sheet applies.
    if (old == choiceUser) {
        const int chosen = m_iSupport;
        m_iSupport = old;
        CollectUserRows();
        m_iSupport = chosen;
    }
    FillRows();
    Refresh();
    m_bFilling = true;
    UpdateData(FALSE);
    m_bFilling = false;
    MarkModified();
}

void CPrPageBC::NormaliseStates()
{
    const CodeRows rows = RowsFor(m_iElemType);
    if (!rows.known)
        return;
    const bool nodes = m_target == Target::node || m_target == Target::nodeList;
    for (int i = 0; i < 6; ++i)
        if (m_iDofState[i] == 2 && !(nodes && rows.rows[i].kind == Kind::displacement))
            m_iDofState[i] = 0;
}

void CPrPageBC::OnDofCheck()
{
    int before[6];
    std::copy(std::begin(m_iDofState), std::end(m_iDofState), before);
    if (!UpdateData(TRUE))
        return;
    if (std::equal(std::begin(m_iDofState), std::end(m_iDofState), before))
        return;
    NormaliseStates();
    m_bFilling = true;
    UpdateData(FALSE);
    m_bFilling = false;
    Refresh();
    MarkModified();
}

void CPrPageBC::OnModifiedOnly()
{
    MarkModified();
}

void CPrPageBC::OnValueChanged()
{
    if (!m_bFilling)
        MarkModified();
}

void CPrPageBC::OnChangeCheck()
{
    MarkModified();
    TakeQuietly();
    Refresh();
}

void CPrPageBC::Refresh()
{
    const bool change = m_bChange != 0;
    for (int nID : kChoices)
        GetDlgItem(nID)->EnableWindow(change);
    const bool user = change && m_iSupport == choiceUser;
    const CodeRows rows = RowsFor(m_iElemType);
    const bool si = iStandard == 0;
    for (int i = 0; i < 6; ++i) {
        GetDlgItem(kRows[i].check)->EnableWindow(user);
        GetDlgItem(kRows[i].edit)->EnableWindow(user && m_iDofState[i] != 0);
        GetDlgItem(kRows[i].spring)->ShowWindow(user && m_iDofState[i] == 2 ? SW_SHOW : SW_HIDE);
        CString unit;
        switch (rows.rows[i].kind) {
        case Kind::displacement:
            unit = m_iDofState[i] == 2 ? m_strStiffUnit : CString(si ? "mm" : "in");
            break;
        case Kind::rotation:
        case Kind::negated:
            unit = si ? "mm/mm" : "in/in";
            break;
        case Kind::curvature:
            unit = si ? "1/mm" : "1/in";
            break;
        case Kind::none:
            break;
        }
        GetDlgItem(kRows[i].unit)->SetWindowText(unit);
    }
    GetDlgItem(16238)->EnableWindow(m_bChangeAngle != 0);
}
