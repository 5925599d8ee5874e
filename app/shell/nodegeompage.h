// CPrPageBNodeGeom: the "Geometry" page of a node's information sheet: the
// node's identifier and region count, its coordinates, its wanted mesh size
// and its point load with one or two components. A move that makes one of
// the node's edges cross another edge is refused and undone. Without a node
// the page is a plain two-value "Offset" input.
#pragma once

#include "platform/afx/collections.h"
#include "platform/ui/core/afxui.h"

class CBoundNode;
class CPlateComp;
class CPrPageBC;

class CPrPageBNodeGeom : public CPropertyPage
{
    DECLARE_DYNCREATE(CPrPageBNodeGeom)
public:
    enum { IDD = 736 };
    // Load modes.
    enum { loadNone = 0, loadOne = 1, loadTwo = 2 };
    // Spacing modes.
    enum { spacingEditable = 0, spacingShown = 1, spacingOff = 2 };

    // The scratch node takes no identifier from the node counter.
    CPrPageBNodeGeom();
    ~CPrPageBNodeGeom() override;

    CObList m_lstCrossed{10};
    bool m_bChanged = false; // coordinates, load or spacing were changed
    CBoundNode* m_pNode = nullptr;
    int m_iLoadMode = loadOne;
    double m_dLenFactor = 1.0;
    double m_dForceFactor = 1.0;
    int m_iSpacingMode = spacingEditable;
    CPlateComp* m_pComp = nullptr; // for the crossing test, or null
    int m_iPlane = 0;              // 0 X/Y, 1 X/Z, 2 Y/Z
    double m_dLoad1 = 0.0, m_dLoad2 = 0.0;
    int m_bDisconnect = 0; // read by the caller
    double m_dSpacing = 0.0;
    double m_dX = 0.0, m_dY = 0.0;
    int m_iAxes = 0;
    bool m_bXChanged = false, m_bYChanged = false;
    bool m_bLoad1Changed = false, m_bLoad2Changed = false, m_bSpacingChanged = false;
    CBoundNode* m_pScratchNode = nullptr; // owned

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnXChanged();
    void OnYChanged();
    void OnSpacingChanged();
    void OnLoad1Changed();
    void OnLoad2Changed();
    void OnAxes();
    void OnDisconnect();
    DECLARE_MESSAGE_MAP()

private:
    // Sets the flag and lights up Apply, unless the page is filling its edits.
    void Changed(bool& flag);
    // Whether one of the node's edges crosses another edge of the model.
    bool EdgesCross();
    bool m_bFilling = false;
};

// Fills the two pages of a "Node information" sheet on node: the geometry
// page with the component (for the crossing test), whether the node is a
// listed separate node, the spacing shown when spacing is set, two load
// values for membrane codes; the condition page with the node and code.
void PrepareNodeSheet(CPrPageBNodeGeom& geometry, CPrPageBC& conditions, CBoundNode* node, CPlateComp* comp,
                      bool listed, bool spacing, int code);
