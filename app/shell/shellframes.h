// The program's child frames: the frame of the plate, membrane and shell
// documents, whose one pane switches between the modelling, element and
// results views, and the frame of the constrained-mesh documents.
#pragma once

#include <functional>

#include "app/shell/mainframe.h"
#include "framework/framira.h"

class CMaterial;
class CBrantelDoc;
class CDocRestr;
class CVector;
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
    // The mesh run around one mesh call of the component: the one-run
    // guard, the log window and its "Mesh" lines, the log folder, the wait
    // cursor, the error tab and beep on failure, m_bMeshValid and the
    // redraw. false when refused or when the mesh call failed.
    using MeshCall = std::function<bool(CPlateComp&, CStringArray*, CStringArray*)>;
    bool RunMeshGeneration(const MeshCall& mesh);
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

// The child frame of the constrained-mesh documents (CDocRestr): the
// quadrilateral region through its dialog, the structured-mesh settings,
// the structured mesh generation and the element options.
class CConstrChFrm : public CChildFrame
{
    DECLARE_DYNCREATE(CConstrChFrm)
public:
    CConstrChFrm() = default;

    // The quadrilateral dialog: a new region, or the present one moved and
    // given the entered conditions and thickness. false when cancelled.
    bool DefineRegion();
    // The settings dialog over the document's settings; false when
    // cancelled (the settings are then as they were).
    bool EditMeshSettings();
    // The region, then (when one was defined) the settings.
    void DefineModel();
    // The structured mesh of the region; false when refused or failed.
    bool GenerateMesh() override;
    // The constrained-mesh view.
    CView* CreateModView() override;
    // The "Advanced Element and Mesh-control Options" sheet (owned by the
    // caller) and its values written back after OK.
    CPropertySheet* CreateElemOptionsSheet();
    void ApplyElementOptions(CPropertySheet* sheet);

    // A distribution list as the settings dialog shows it: each position in
    // percent, without trailing zeros, joined by " ; ".
    static CString FormatDistList(const CVector& list);
    // The numbers of the text, each divided by 100.
    static void ParseDistList(const CString& text, CVector& list);
    // One Coarser (finer false) or Finer step: each edge pair whose two
    // ratios are positive gets one element less (never below 1) or more.
    static void StepPairs(CDocRestr& doc, bool finer);

protected:
    CDocRestr* RestrDoc();
    void OnCoarser();
    void OnFiner();
    void OnMeshControl();
    void OnElemOptions();
    DECLARE_MESSAGE_MAP()
};
