// The program's child frames: the frame of the plate, membrane and shell
// documents, whose one pane switches between the modelling, element and
// results views, and the frame of the constrained-mesh documents.
#pragma once

#include "app/shell/mainframe.h"
#include "framework/framira.h"

class CMaterial;
class CBrantelDoc;
class CPlateComp;

// The child frame of the plate, membrane and shell documents: one pane whose
// view switches between the modelling, element and results modes.
class CChildFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    static constexpr int kViewParams = 20;

    CChildFrame();

    // The views of the modes come with the views themselves: until then a
    // mode switch shows nothing new.
    CView* GetViewForID(UINT id) override;
    void ChildFramesLeft(int remaining) override;

    // 32804 modelling, 50055 results, anything else element mesh; the
    // modelling and element-mesh views hand their zoom and position over.
    virtual void SwitchMode(UINT id);
    // Meshes the active document's model; false when refused or failed.
    virtual bool GenerateMesh();
    // The active document's calculation; false when refused.
    virtual bool Calculate();
    // Called with -1 when the last child frame closed.
    virtual void OnNoChildFrames(int) {}
    // Frees the pages of the sheet, then the sheet.
    virtual void DeleteSheet(CPropertySheet* sheet);
    // The views of the three modes, made in the main pane for the active
    // document with the frame's view parameters; null when there is none.
    virtual CView* CreateModView();
    virtual CView* CreateElemView();
    virtual CView* CreateResView();

    // The subdivision control value after one Coarser or Finer step; a
    // negative value (default control) first becomes defaultCount.
    static int StepSubdivisions(int value, bool finer, int defaultCount);

    bool m_bShowElemNumbers = false;
    bool m_bShowNodeNumbers = false;
    int m_iReserved[3] = {0, 0, 0};
    // The material new regions get (one of the document's; not owned).
    CMaterial* m_pActiveMaterial = nullptr;

protected:
    CBrantelDoc* PlateDoc();
    CView* CreatePaneView(CRuntimeClass* viewClass);
    void StepMesh(bool finer);
    // Flips a number switch and redraws the view with it.
    void ToggleNumbers(bool& flag);

    void OnCalculate();
    void OnGenerateMesh();
    void OnCoarser();
    void OnFiner();
    void OnUpdateMeshStep(CCmdUI* pCmdUI);
    void OnElemMeshControl();
    void OnSmooth();
    void OnMaterials();
    void OnUniformRefine();
    void OnModeSelChange();
    void OnChildActivate();
    void OnShowNodeNumbers();
    void OnShowElemNumbers();
    void OnUpdateShowNodeNumbers(CCmdUI* pCmdUI);
    void OnUpdateShowElemNumbers(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};

// The child frame of the constrained-mesh documents.
class CConstrChFrm : public CChildFrame
{
    DECLARE_DYNCREATE(CConstrChFrm)
public:
    CConstrChFrm() = default;
};
