// CBrantelView: the program's common 2D view of a plate model, the base of
// the modelling, element and constrained-mesh views. It draws the model
// into the view's static display list, reports the model extents for
// zooming, keeps the three class-wide temporary nodes of geometry input,
// picks through the document, toggles the solid drawing and the link tool,
// follows the selection-filter combo, switches to the results view, updates
// the status bar when it gets the focus, writes log lines and opens the
// materials dialog and the "Node information" sheet.
#pragma once

#include <functional>

#include "framework/framira.h"

class CBrantelDoc;
class CPlateComp;
class CElement;
class CSNode;

// The document's model extents into the four values, each maximum widened
// by a tenth of its span and then each minimum by a tenth of the widened
// span; 1 when there is a document, else 0 (all four 0).
int WidenedModelExtents(CBrantelDoc* doc, double& xmax, double& ymax, double& xmin, double& ymin);

// Pulls (x, y) onto a line through the reference point ref: the 45-degree
// line (y moves, x stays) when the offset is within the diagonal band
// (|dx| < 2.5 |dy| and |dy| < 2.5 |dx|) or diagonal is set; otherwise the
// vertical line when |dx| < |dy|, else the horizontal one. All in model
// coordinates.
void ConstrainToReference(const double* ref, double& x, double& y, bool diagonal);

constexpr UINT ID_VIEW_SOLID = 50006;
constexpr UINT ID_LINK_DOFS = 34064;
constexpr UINT ID_EDIT_OBJECT = 34058;
// The geometry tool of the link command.
constexpr UINT kLinkDofTool = 27;
// The rectangle tool: its Shift constraint is always the diagonal.
constexpr UINT kRectangleTool = 20;

// Opens a view's context menu at the cursor (view pixels) moved 30 pixels
// left and 10 up, on the screen, owned by the main window.
void TrackViewContextMenu(CWnd& view, CMenu& popup, CPoint point);

class CBrantelView : public KorAreaModView
{
    DECLARE_DYNAMIC(CBrantelView)
public:
    // Drawing-option bits of the view state.
    static constexpr int kShowMeshBit = 0x4;
    static constexpr int kMaterialAxesBit = 0x4000;

    CBrantelView();
    ~CBrantelView() override;

    CBrantelDoc* GetBrantelDoc() const;
    CPlateComp* GetPlateComp() const;

    // ---- overrides of the bases
    int GetNumViewParams() override;
    int SetViewParam(double* params, bool store) override;
    void FindModelExtents() override;
    bool DynamicPickDraw(unsigned types) override;
    bool DrawDynamicScene() override;
    // The mouse move of the model views: the framework's handling, the
    // Shift constraint of the cursor, then the hover node (see the source).
    bool MouseMove(unsigned flags, CPoint point) override;
    // Ends the pointer press at the release point, then the framework's
    // band selection.
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override;
    // A click of a pending edit operation goes to slot 1 when it is the
    // second point, else to slot 0.
    void NewTmpNode(bool second, CSNode* node) override;

    // The document's model extents widened by a tenth of the span on each
    // side into m_dXMax .. m_dYMin; returns what the document reported.
    int CalcModelExtents();
    // The object of a pick (identifier and kind word) through the document.
    virtual CObject* GetPickedObject(DWORD id, DWORD kind);
    // Slot 0, 1 or 2 takes the node (the old one is deleted); a non-null
    // node also becomes the reference point, whatever the index.
    virtual void SetTmpNode(UINT index, CSNode* node);

    // ---- own virtual operations
    virtual void EditObject() = 0;
    virtual void GetRefPoint(double* xy);
    virtual void ResetGeomInput();
    // The line goes to the log window and, without the line end and the
    // blanks around it, to the status bar's message pane.
    virtual void WriteLogLine(CString line);
    // A prompt of a tool or edit operation: written as WriteLogLine does,
    // and shown again in the message pane while the view waits for points
    // (a pointer over a menu or bar puts "Ready" there in between); once
    // no tool or edit operation is pending the pane returns to "Ready".
    void WritePrompt(CString line);
    // The prompt forgotten; the message pane returns to "Ready" when it
    // shows the prompt, or whatever it shows with always (a tool's command
    // started or ended a tool).
    void ClearPrompt(bool always = false);
    virtual bool DrawModelList();
    // The static model list (list 0): compiled by draw when invalid, with
    // thin lines and depth test GL_LEQUAL, then called.
    bool DrawStaticList(const std::function<void(CBrantelDoc&, CPlateComp&)>& draw);

    // With Shift held while a tool, a move or a paste wants points, (x, y)
    // is constrained to the reference point (the rectangle tool always to
    // the diagonal); else unchanged.
    void ApplyShiftConstraint(unsigned flags, double& x, double& y);

    // The press of the pointer tool: where the last press (after its
    // release: the release) was in pixels, and whether it is still held.
    void BeginPress(CPoint point);
    // Ends the press at the release point; whether one was held.
    bool EndPress(CPoint release);
    bool IsPressHeld() const { return m_bPressHeld; }
    CPoint GetPressPoint() const { return m_PressPoint; }

    // The class-wide temporary node of a slot (null when empty or no slot).
    static CSNode* TmpSlot(UINT index);
    // Empties the three slots.
    static void ClearTmpSlots();

    // The "Node information" sheet on a node picked in the active view of
    // the active child frame (see the source for the steps).
    static void ShowNodeInfo(CSNode* node, int elementTypeCode);
    // "Element properties" of an element of the active view's document
    // (number, material, element type, area); shown only, nothing changes.
    static void ShowElementInfo(CElement* element);
    // The materials dialog on the active document's material list, starting
    // at material n; the document is marked modified only when the list may
    // have changed (OK, or "&Apply" ran before Cancel).
    static void EditMaterials(int n);

    double m_dRefPoint[2] = {0.0, 0.0};
    bool m_bSolid = true;
    CPoint m_PressPoint{0, 0};
    bool m_bPressHeld = false;
    // The pending tool's prompt as the status bar shows it; empty when none.
    CString m_strPrompt;

protected:
    void OnViewSolid();
    void OnUpdateViewSolid(CCmdUI* pCmdUI);
    void OnLinkDofs();
    void OnUpdateLinkDofs(CCmdUI* pCmdUI);
    void OnEditObject();
    void OnViewResultsMode();
    void OnSetFocus(CWnd* pOldWnd);
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    DECLARE_MESSAGE_MAP()

    static CSNode* s_pTmpNodes[3];
};
