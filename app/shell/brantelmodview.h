// CBrantelModView: the modelling view of the plate, membrane and shell
// documents, in which the user draws and edits the plate model. On top of
// CBrantelView it carries the geometry tools (rectangle, quadrilateral,
// triangle, polygon, circle, ring segment, new node, fillet, divide, link),
// the region edits (union, flip, delete, delete mesh and results), move,
// copy, cut and paste with a process-wide copy list, the context menus, and
// the one road of point input that snaps to nodes, puts points onto edges,
// refuses points whose edge would cross the model and nests new regions.
//
// The bodies of the editing tools, move/copy/cut/paste and the two region
// generators live in modedittools.cpp; the commands' update rules and the
// dispatch of clicks are here.
#pragma once

#include <memory>
#include <vector>

#include "app/shell/brantelview.h"

class CChildFrame;
class CEdge;
class CMaterial;
class CSectArea;
class CSectPlate;

// Commands of the modelling view.
constexpr UINT ID_TOOL_RECTANGLE = 32773;
constexpr UINT ID_TOOL_QUADRILATERAL = 32775;
constexpr UINT ID_TOOL_TRIANGLE = 32777;
constexpr UINT ID_TOOL_CIRCLE = 32772;
constexpr UINT ID_TOOL_POLYGON = 32813;
constexpr UINT ID_TOOL_RING_SEGMENT = 34076;
constexpr UINT ID_TOOL_NEW_NODE = 32785;
constexpr UINT ID_TOOL_FILLET = 32920;
constexpr UINT ID_TOOL_DIVIDE = 33012;
constexpr UINT ID_REGION_UNION = 33013;
constexpr UINT ID_FLIP_HORIZONTAL = 33067;
constexpr UINT ID_FLIP_VERTICAL = 33068;
constexpr UINT ID_DELETE_SELECTION = 50010;
constexpr UINT ID_MOVE_SELECTION = 50011;
constexpr UINT ID_COPY_REGIONS = 57634;
constexpr UINT ID_CUT_REGIONS = 57635;
constexpr UINT ID_PASTE_REGIONS = 57637;
constexpr UINT ID_INSERT_LOAD_GROUP = 34054;
constexpr UINT ID_DELETE_MESH = 34055;
constexpr UINT ID_DELETE_RESULTS = 34057;
constexpr UINT ID_REPEAT_QUIT = 34080;
constexpr UINT ID_SHOW_ELEMENT_MESH = 34017;
constexpr UINT ID_SHOW_ELEMENT_AXES = 34082;

// The context menus of the model views (sub-menus in this order).
constexpr UINT IDR_MODEL_POPUPS = 781;
enum ModelPopup : int { kNodePopup = 0, kEdgePopup = 1, kGraphPopup = 2, kElementPopup = 3, kGeomPopup = 4 };
// The menu IDR_MODEL_POPUPS: "Node PopUp", "Edge PopUp", "Graph PopUp",
// "Element PopUp" and "Geom PopUp".
AfxMenu ModelPopupMenus();

// Geometry tool codes of the modelling view.
enum : UINT {
    kToolQuadrilateral = 17,
    kToolCircle = 18,
    kToolTriangle = 19,
    kToolRectangle = kRectangleTool,
    kToolPolygon = 21,
    kToolNewNode = 23,
    kToolFillet = 24,
    kToolDivide = 25,
    kToolLink = kLinkDofTool,
    kToolRingSegment = 28,
};

// Edit operations (Kor2DModView::m_uiEditMode) waiting for points.
enum : UINT { kEditCopy = 1, kEditCut = 2, kEditPaste = 4, kEditMove = 8 };

// The "Repeat/Quit" item's command and text for a last tool (22, the
// framework's start value, counts as the polygon).
struct RepeatItem {
    UINT id;
    const char* text;
};
RepeatItem RepeatItemFor(UINT lastTool);

class CBrantelModView : public CBrantelView
{
    DECLARE_DYNCREATE(CBrantelModView)
public:
    CBrantelModView();
    ~CBrantelModView() override;

    // ---- overrides of the bases
    void LeftButtonDblClk(unsigned flags, double x, double y, CPoint point) override;
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool MouseMove(unsigned flags, CPoint point) override;
    bool DrawDynamicScene() override;
    // Also drops the picture of the model kept for the rubber band.
    void InvalidateList() override;
    // The framework's names of the copy list and the temporary slots.
    CObList* GetMoveList() override { return GetCopyList(); }
    CSNode* GetRefNode(int which) override { return GetTmpNode(static_cast<UINT>(which)); }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
    // A click of a pending edit operation, stored in slot 0 or 1 by the
    // framework; true when used (modedittools.cpp).
    bool EditTool() override;
    void EditObject() override;
    void ResetGeomInput() override;

    // ---- copy list (class-wide, owned)
    virtual CObList* NewCopyList();
    // Deletes the copy list, its regions and the material copies; the
    // identifier counters are left as they were.
    virtual void DeleteCopyList();
    virtual CObList* GetCopyList();
    // Made empty on first use.
    virtual CObList* GetMaterialCopyList();
    // The node of temporary slot 0, 1 or 2; null for another index.
    virtual CSNode* GetTmpNode(UINT index);

    // ---- point input and region tools
    // Files a new region into the model (nested into the bounding region
    // when one is set) and, with fixModel, repairs the model.
    virtual void InsertRegion(CSectArea* region, bool fixModel);
    // A typed point relative to the reference point; the document's
    // UpdateStatics result.
    virtual int EnterRelPoint(double* dx, double* dy);
    // Merges the chain's edges with coinciding model edges.
    virtual void FixTmpChainEdges();
    // A typed point, handled as a click there.
    virtual int EnterPoint(double x, double y);
    // Ends a pending edit operation (see the source).
    virtual void ResetEdit();
    virtual void CreateCircle();
    virtual void DrawToolRubberBand();
    virtual void CreateRectangle();
    // Adds the node of the point to the chain with the crossing checks;
    // fromTool is true for points a tool computes.
    virtual bool AddInputPoint(double* xy, bool fromTool);
    // The node for a picked point: an existing node, a new one on an edge
    // (the edge split there when the split switch is on), or a free one
    // (allowNew); null when none may be made.
    CSNode* GetInputNode(double* xy, bool allowNew);

    // ---- editing tools, move/copy/cut/paste, generators (modedittools.cpp)
    virtual bool PasteCopy(CObList* copyList);
    virtual bool MoveNodes(double* from, double* to, CObList* nodes, int undoMode);
    virtual bool FilletEdges();
    virtual bool BuildFillet(CSNode* corner, CObList* arcNodes, bool taper);
    virtual void CreateRingSegment();
    // A click of the new-node tool at (x, y).
    void NewNodeClick(double x, double y);
    // A click of the link tool or the divide tool, after its point joined
    // the chain.
    void LinkClick();
    void DivideClick();
    // Splits the edge at the node (on it): the parts of a selected edge stay
    // selected, and the region of the edge's first node takes the node.
    void SplitEdgeAt(CEdge* edge, CSNode* node);
    // The chain's two nodes of the link and divide tools; false while there
    // are fewer (a lone point off the model is reset) or while the second is
    // off the model (it is dropped and the tool waits).
    bool TwoChainNodes(CSNode*& first, CSNode*& second);

    // ---- state
    CSectArea* m_pBoundingRegion = nullptr; // not owned
    CEdge* m_pFilletEdge1 = nullptr;        // not owned
    CEdge* m_pFilletEdge2 = nullptr;        // not owned

    // The two rectangle corners shown beside the cursor; their mouse-over
    // values come from IsMouseOver.
    static CSNode& CornerMarker(int index);
    // A point on an existing edge splits the edge there (true at start).
    static bool s_bSplitAtPoint;

    // Frees the class-wide copy lists (at program exit, and in tests).
    static void FreeCopyLists();

protected:
    // Rule T: starts tool k, or ends it when it is the current one.
    void ToggleGeomTool(UINT tool, bool redraw);
    // The material and thickness new regions take.
    CMaterial* ActiveMaterial();

public:
    static double ActiveThickness();

protected:
    // Builds, files and fixes a region of the chain's nodes (tools 17, 19,
    // 21) when the chain closes; false when it does not.
    bool CloseChainRegion(UINT tool);
    // Gives a discarded node back (deleted, out of the model when this
    // input made it, and its identifier returned when asked).
    void DiscardInputNode(CSNode* node, bool giveBackId);
    CChildFrame* ChildFrame();
    // The object of a pick at the model point or pixel (tolerance in
    // pixels); null when nothing of the type is there.
    CObject* PickAt(const double* xy, UINT type, float tolerance = 10.0f);
    CObject* PickAtPixel(CPoint point, UINT type, float tolerance = 10.0f);

    // The last GetInputNode split an edge for its node.
    bool m_bSplitByInput = false;

    // While a tool or an edit wants points, every mouse move redraws the
    // rubber band: the model under it is then copied from a picture taken
    // when it was last drawn, as long as nothing it depends on changed.
    void DrawModelUnderBand();
    struct ModelPictureKey {
        double centre[2] = {0.0, 0.0};
        double scale = 0.0;
        int size[2] = {0, 0};
        unsigned list = 0;
        unsigned generation = 0;
        bool solid = false;
        int viewState = 0;
        float background[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        bool operator==(const ModelPictureKey&) const = default;
    };
    ModelPictureKey ModelKey() const;
    std::vector<unsigned char> m_ModelPicture;
    std::vector<unsigned int> m_ModelDepths;
    ModelPictureKey m_ModelPictureKey;
    bool m_bModelPicture = false;
    unsigned m_uiModelGeneration = 0;

    void OnToolRectangle();
    void OnToolQuadrilateral();
    void OnToolTriangle();
    void OnToolCircle();
    void OnToolPolygon();
    void OnToolRingSegment();
    void OnToolNewNode();
    void OnUpdateGeomTool(CCmdUI* pCmdUI);
    void OnUpdateUnion(CCmdUI* pCmdUI);
    void OnUpdateAnySelection(CCmdUI* pCmdUI);
    void OnUpdateMoveSelection(CCmdUI* pCmdUI);
    void OnUpdateCopy(CCmdUI* pCmdUI);
    void OnUpdateCut(CCmdUI* pCmdUI);
    void OnUpdatePaste(CCmdUI* pCmdUI);
    void OnUpdateRegionSelection(CCmdUI* pCmdUI);
    void OnDeleteMesh();
    void OnDeleteResults();
    void OnRepeatQuit();
    void OnUpdateRepeatQuit(CCmdUI* pCmdUI);
    void OnShowElementMesh();
    void OnUpdateShowElementMesh(CCmdUI* pCmdUI);
    void OnShowElementAxes();
    void OnUpdateShowElementAxes(CCmdUI* pCmdUI);
    void OnUpdateResultComponent(CCmdUI* pCmdUI);
    void OnActiveMaterialChange();
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnKillFocus(CWnd* pNewWnd);

    // modedittools.cpp
    void OnFillet();
    void OnDivide();
    void OnUnion();
    void OnFlipHorizontal();
    void OnFlipVertical();
    void OnDeleteSelection();
    void OnMoveSelection();
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnInsertLoadGroup();
    DECLARE_MESSAGE_MAP()

    static CObList* s_pCopyList;
    static CObList* s_pMaterialCopyList;
};
