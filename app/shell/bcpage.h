// CPrPageBC: the "Boundary conditions" page of the information sheets. It
// reads and changes the condition of one boundary edge, one DOF link, one
// boundary node, a list of edges or a list of nodes: a standard support
// (free, simply supported or roller, fixed, line of symmetry) or a
// user-defined list of DOFs with values, plus the local angle of the DOF
// directions. The page owns no model object: the hosting sheet sets
// exactly one target and the element-type code before it runs, and the
// page writes into the model when the sheet applies a change.
#pragma once

#include <memory>

#include "matrix/zelkor.h"
#include "platform/ui/core/afxui.h"

class CBoundary;
class CBoundCond;
class CBoundNode;
class CDOFLink;
class CSNode;

class CPrPageBC : public CPropertyPage
{
    DECLARE_DYNCREATE(CPrPageBC)
public:
    enum { IDD = 791 };
    // Choices of the support radios.
    enum { choiceNone = -1, choiceFree = 0, choiceSimple = 1, choiceFixed = 2, choiceSymmetry = 3,
           choiceUser = 4 };
    // The controls of one DOF row.
    struct RowControls {
        int label, check, edit, unit, spring;
    };
    static const RowControls kRows[6];
    // Unit labels beside the angle and the length.
    enum { kAngleUnit = 1178, kLengthUnit = 1179 };

    // index: the condition's place in each object's chain.
    explicit CPrPageBC(int index = 0);
    ~CPrPageBC() override;

    double m_dLenFactor = 1.0;
    double m_dAngleFactor = 1.0;
    double m_dStiffFactor = 1.0;
    CString m_strStiffUnit;
    int m_iElemType = 0;
    CBoundary* m_pEdge = nullptr;
    CObList* m_pEdgeList = nullptr;
    CDOFLink* m_pLink = nullptr;
    CBoundNode* m_pNode = nullptr;
    CObList* m_pNodeList = nullptr;
    int m_iDofState[6] = {};     // 0 free, 1 ticked, 2 spring
    double m_dDofValue[6] = {};  // as displayed
    int m_iSupport = choiceNone;
    double m_dAngle = 0.0;       // as displayed
    double m_dLength = 0.0;      // as displayed
    int m_bApplyNodeI = 0, m_bApplyNodeJ = 0;
    int m_bChange = 1;
    int m_bChangeAngle = 0;
    bool m_bModified = false;
    double m_dAngleRad = 0.0;
    CVector m_vUserDofs;
    int m_iBCIndex = 0;
    // Set once the page has written into the model.
    bool m_bApplied = false;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChoice();
    void OnDofCheck();
    void OnModifiedOnly();
    void OnValueChanged();
    void OnChangeCheck();
    DECLARE_MESSAGE_MAP()

private:
    enum class Target { none, edge, node, link, nodeList, edgeList };
    Target m_target = Target::none;
    bool m_bFilling = false;
    std::unique_ptr<CBitmap> m_pPicSimple, m_pPicFixed, m_pPicSymm;

    void MarkModified();
    // The six states and values from the choice's DOF vector.
    void FillRows();
    // The rows shown as a user-defined DOF vector (into m_vUserDofs).
    void CollectUserRows();
    // Writes the choice into the condition of one object; set receives the
    // standard type or the user-defined condition.
    template <class Obj> void ApplyChoiceTo(Obj& object);
    void ApplyToNode(CBoundNode& node, bool setChoice, bool changeAngle, double newAngle);
    void ApplyEdgeToNode(CBoundary& edge, CSNode* node);
    void ApplyEdgeList();
    void Refresh();
    void NormaliseStates();
    bool IsListTarget() const { return m_target == Target::nodeList || m_target == Target::edgeList; }
};
