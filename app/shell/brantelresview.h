// CBrantelResView: the results view of the plate documents. It shows the
// active result component as a colour plot on the 3D framework view
// (optionally extruded or as contour bands) with its legend, keeps the
// result points the user picks, scales the drawn results and writes the
// values at the picked points to a text file.
#pragma once

#include "app/shell/resultpicks.h"
#include <unordered_map>
#include <vector>

#include "framework/framira.h"
#include "glstyle/pickpoints.h"
#include "sections/regions/sectmesharea.h"

class CBrantelDoc;
class CPlateComp;
class CSNode;
class CSection;

constexpr UINT ID_RES_SCALE_UP = 32806;
constexpr UINT ID_RES_SCALE_DOWN = 32807;
constexpr UINT ID_RES_SCALE_NORMALIZE = 32820;
constexpr UINT ID_RES_SCALE_SET = 34043;
constexpr UINT ID_RES_CONTOUR = 32844;
constexpr UINT ID_RES_EXTRUDE = 32845;
constexpr UINT ID_RES_PRINT_TO_FILE = 34065;
constexpr UINT ID_RES_TWO_DIMENSIONAL = 50029;

// What the results view and the extremes command say about a document
// without results.
extern const char* const kNoResultsText;

class CBrantelResView : public Kor3DView
{
    DECLARE_DYNCREATE(CBrantelResView)
public:
    // Drawing-option bits of the view state.
    static constexpr int kColourBit = 0x2;
    static constexpr int kMeshBit = 0x4;
    static constexpr int kWireframeBit = 0x10; // the elements' outlines
    static constexpr int kTransparentBit = 0x20;
    static constexpr int kPlanBit = 0x80;
    static constexpr int kLightBit = 0x100;
    static constexpr int kContourBit = 0x200;

    CBrantelResView();
    ~CBrantelResView() override;

    CBrantelDoc* GetBrantelDoc() const;
    CPlateComp* GetPlateComp() const;

    void RemoveSelected(CObject* node) override;
    int GetNumViewParams() override;
    int SetViewParam(double* params, bool store) override;
    void FindModelExtents() override;
    bool MouseMove(unsigned flags, CPoint point) override;
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool DynamicPickDraw(unsigned types) override;
    bool DrawDynamicScene() override;
    void DrawStressScale() override;
    // What the legend shows: the bar spans -max .. max in the display
    // unit, its labels in the result quantity's format and digits.
    struct Legend {
        bool shown = false; // only for results of a calculation
        double max = 0.0;
        CString unit;
        int format = 2;
        int digits = 3;
        // A buckling mode's plot: "Mode m, load factor f" (f in the
        // legend's format); empty otherwise.
        CString title;
    };
    Legend GetLegend() const;
    // Indexes 1 and 2 are ignored; 11 and 12 go to panes 2 and 3.
    void StatusBarCoordText(CString text, int index) override;

    // The document's model extents widened as in the model views.
    int CalcModelExtents();
    // Writes the value at a picked point; false when the node has no element.
    virtual bool OutputPickedNode(CSNode* node, int component, int elementIndex, int number, CFile* file);
    virtual void BuildResultLists();
    // The largest result becomes a third of the larger model span high.
    void NormalizeScale();
    // The component's value scale becomes scale; the clip-plane dialog
    // follows, the lists are rebuilt and the view redrawn.
    void SetValueScale(double scale);
    // Writes the picked points to path through the safe writer: empty on
    // success, otherwise the message naming the file and the cause (the old
    // file then stays as it was).
    CString WritePickedResults(const CString& path);

    CResultPicks m_Picks;
    bool m_bSolid = true;
    bool m_bExtrude = false;
    // The result points of the plot on screen, which the result-point
    // picks draw from (recorded by the first pick after the result lists
    // were compiled).
    const CPickPointIndex& ResultPoints() const { return m_ResultPoints; }
    // How often the plot lists (0 and 1) and the legend list (2) were
    // compiled.
    unsigned PlotCompiles() const { return m_uListBuilds; }
    unsigned LegendCompiles() const { return m_uLegendBuilds; }
    // What GetBrantelDoc()->GetObjectById(id, true) answers for a mesh
    // node's identifier, with each top-level region's mesh nodes in a
    // table made once for the plot on screen (the same key as the result
    // points), rather than a walk over every element per hovered point.
    CObject* FindResultNode(unsigned long id);


protected:
    // What the result points were recorded for.
    struct ResultPointsKey {
        unsigned builds = 0; // m_uListBuilds
        bool flag = false;   // m_b3D: the points at their plot heights
        const CPlateComp* comp = nullptr;
        int component = 0;
        double factor = 0.0;
        bool operator==(const ResultPointsKey&) const = default;
    };
    ResultPointsKey CurrentResultPointsKey() const;

    CPickPointIndex m_ResultPoints;
    ResultPointsKey m_ResultPointsKey;
    struct MeshNodes {
        CSection* region = nullptr;
        bool mesh = false;
        // The first node of each identifier: small identifiers (a mesh
        // numbers its nodes from 0) by index, others in the map.
        std::vector<CSNode*> dense;
        std::unordered_map<unsigned long, CSNode*> sparse;
        void Add(CSNode* node);
        CSNode* Find(unsigned long id) const;
    };
    std::vector<MeshNodes> m_ResultNodes;
    ResultPointsKey m_ResultNodesKey;
    unsigned m_uListBuilds = 0; // compiles of the result lists
    // The plot's mean element size in model units (the side of a square of
    // the mesh's extent shared out among its elements), set when the plot
    // list is compiled; 0 without a mesh.
    double m_dElementPitch = 0.0;
    // True when the mesh lines or outlines the plot list draws lie closer
    // together on screen than kSharpLinePixels: smoothing cannot show them
    // apart there and costs a frame several times over, so they are drawn
    // sharp.
    bool LinesDenserThanPixels() const;
    static constexpr double kSharpLinePixels = 2.0;
    unsigned m_uLegendBuilds = 0;
    void SceneState();
    // Enables the frame's clip planes for the plot list; the list holds no
    // clip plane of the user, so a clip change compiles nothing.
    void UserClipPlanes();
    void InvalidateClippedLists(bool levels) override;
    // The model's outline and, with meshLines, the mesh drawn over it.
    void ModelOutline(bool meshLines);
    // The element edges of a plot whose list ends with the outline are
    // held as vertices and sent after the list each frame rather than
    // compiled into it: Mesa compiles and replays line primitives in a
    // list several times slower than it draws them straight (1.5 million
    // edges: about 500 ms to compile and 350 ms to replay, 130 ms sent
    // directly). The plan-state contour bands cover part of the outline,
    // so there the edges stay in the list, under the bands. Held from the
    // compile of list 0 to the next, as the list holds its own vertices.
    CMeshLines m_MeshLines;
    bool m_bMeshAfterList = false;
    // Marks the plot lists (0 and 1) for compiling, not the legend.
    void InvalidatePlotLists();

    void OnResultComponent();
    void OnScaleUp();
    void OnScaleDown();
    void OnScaleNormalize();
    void OnScaleSet();
    // The plan bit set in the 2D state and clear in the 3D state.
    void FollowTwoDimensionalState();

    void OnTwoDimensional();
    void OnContour();
    void OnUpdateContour(CCmdUI* pCmdUI);
    void OnExtrude();
    void OnUpdateExtrude(CCmdUI* pCmdUI);
    void OnSolid();
    void OnUpdateSolid(CCmdUI* pCmdUI);
    void OnPrintToFile();
    void OnUpdatePrintToFile(CCmdUI* pCmdUI);
    void OnModellingMode();
    void OnCalculate();
    void OnGenerateMesh();
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};
