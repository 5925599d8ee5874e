// CPlateComp: the analysis model of one plate document. A section
// composite of plate regions (CSectPlate) plus the material list offered to
// the regions, the element and solver settings, the volume force, the
// result-display settings and the run state of a mesh generation or a
// calculation.
//
// The component never deletes its materials: whoever owns the component
// deletes the component first, then the materials of (a copy of) its list.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/analysis/resultmeasures.h"
#include "app/analysis/sectplate.h"
#include "glstyle/pickindex.h"
#include "sections/regions/sectcomp.h"

class CElement;
class CPickPointIndex;
class CMaterial;
class CSectArea;
class CSectMeshArea;

// Pattern indices (row pattern - 1) that the mesh generation hands to the
// structured mesher of each region, and the node list that the triangle
// mesher reads; set at the start of every mesh generation.
extern int g_iOddPatternIndex;
extern int g_iEvenPatternIndex;
extern NODELIST* g_pMeshNodeList;

class CPlateComp : public CSectComp {
    DECLARE_SERIAL(CPlateComp)
public:
    CPlateComp();
    ~CPlateComp() override;

    // --- overrides of the composite
    void Serialize(CArchive& ar) override;
    void DrawBCs(bool mesh, double scale, int kind) override;
    // Makes a CPlateComp when target is null. A deep copy gets its own
    // material objects, a shallow one shares them.
    void Copy(CSectComp*& target, bool deep) override;
    bool RemoveElem(CObject* element) override;
    // Takes the listed elements out of every region's mesh, inner regions
    // included, in one pass over each mesh; none is deleted. The number
    // taken out.
    int RemoveElems(const std::unordered_set<CObject*>& elements);
    // Calls f with every element of every region's mesh, inner regions
    // included.
    template <class F>
    void ForEachMeshElement(F f)
    {
        ForEachMeshRegion([&](CSectMeshArea* r) { r->ForEachElement(f); });
    }
    void ResetParam() override;
    void RemoveNode(CSNode* node) override;
    void PickDrawResGL(int kind, bool flag) override;
    // The result-point pick (kind 8) from index: recorded from the full
    // drawing when the index is not built yet, then only the points the
    // pick window may hit are drawn, giving the same hits.
    void PickDrawResultPoints(bool flag, CPickPointIndex& index);
    CObject* GetObjectFromString(CString name) override;
    void DrawModelGL(bool quads, float pointSize, bool all) override;
    // Mesh generation; callers pass depth 0.
    bool PreCalc(CStringArray* log, CStringArray* errors, int depth) override;
    bool Calculate(CStringArray* log, CStringArray* errors) override;
    // The composite's area, doubled or quadrupled by the symmetry code.
    double CalcArea() override;

    // --- own virtual operations, in this order
    virtual void ReportSolverError(int* status, CStringArray* errors);
    virtual void PickDrawLocal(bool flag);
    virtual void UpdateRegionNesting(CSectArea* region);
    virtual void DrawResultArrows(int flags);
    virtual CSectArea* IsNodeInside2D(CSNode* node, bool flag);
    // Boundary arrays of the one-DOF plate element (code 61) from the
    // conditions of the load case.
    virtual int BuildBoundaryArraysT6(CObList& conditions, CLongMatrix& suppressed,
                                      CMatrix& prescribed, CMatrix& springs, CMatrix& nodes);
    virtual int ReservedQuery(int);
    virtual int GetResultUnit(int component);
    virtual void RetAddMeanStress(CMatrix& m, int first, int last, int flag);
    virtual void GetNodeValues(CMatrix& m, int first, int last, int flag);
    virtual void RetElemStress(CMatrix& m, int first, int last);
    virtual void DeleteResults(int flag);
    virtual CSectMeshArea* IsElemInThis(CElement* element);
    virtual bool IsMeshKind(unsigned bits);
    // Sum of the regions' mesh nodes. Numbers the mesh nodes on the way.
    virtual int GetNodeCount(bool flag);
    virtual int GetResultQuantity();
    virtual void DrawResultVectors(CSNode* node, int labelMode, int elementIndex,
                                   unsigned int number, bool planar);
    // When the active result is the colour plot of a buckling mode: its
    // number (from 1) and load factor. The plate component has no modes.
    virtual bool ActiveModeShape(int& /*mode*/, double& /*loadFactor*/) { return false; }
    // The value of the active result at a node as its result marker shows
    // it: the value (internal unit), the arrow's direction and kind, and
    // the label of labelMode (0 the value in the display unit, 1 the
    // number). False when the node has no element result there.
    struct ResultProbe {
        double value = 0.0, angle = 0.0;
        bool arrow = false, localShear = false, membrane = false;
        std::string label;
    };
    bool ProbeResult(CSNode* node, int elementIndex, int labelMode, unsigned int number, ResultProbe& probe);
    virtual void DrawNodeNumbers(bool mesh);
    using CSectComp::DrawNodeNumbers;
    virtual void DrawDistorted(int flags, double scale);
    virtual void DrawMeshNodes(float size);
    // Refines every region's mesh once; the elapsed seconds, 0.0 while busy.
    // Divides every element into four; a stop request on the way leaves
    // the meshes as they were and writes the cancel line into the log.
    virtual double RefineMesh(int unused, CStringArray* log);
    virtual void DrawExtruded(bool filled);
    virtual void GetMaxMinResult(double& max, double& min, CString* unit);
    // True when an element of the mesh holds results of a calculation (the
    // stored documents keep no mesh, so a reopened one has none).
    bool HasElementResults();
    // The factor from a result of unit kind `kind` (GetResultUnit) to the
    // display unit of quantity `quantity` in the current system; its label
    // is appended to unit when given.
    static double ResultDisplayFactor(int kind, int quantity, CString* unit);
    virtual void DrawResults(int flags);
    virtual void DrawMesh(bool filled, bool flag);
    // The mesh lines of DrawMesh, each element edge once (false, nothing
    // drawn, when an element is not one primitive of the mesh kind).
    bool DrawMeshEdgesOnce(int corners, bool flag);
    // The lines DrawMesh(false, flag) gives, held for drawing each frame:
    // false (lines left empty) when an element is not one primitive of the
    // mesh kind. Reads the current colour: not while a list is compiled.
    bool CollectMeshLines(bool flag, CMeshLines& lines);
    // CollectMeshLines in two steps: MeshLineRuns (OpenGL's current colour,
    // on the drawing thread), then FillMeshLines, which walks the mesh
    // without OpenGL and may run on another thread, beside drawing that
    // does not change the mesh nor ask for its edges.
    void MeshLineRuns(bool flag, CMeshLines& lines);
    bool FillMeshLines(CMeshLines& lines);
    // Draws held lines in the state DrawMesh(false, ...) leaves.
    static void DrawMeshLines(const CMeshLines& lines);
    // The colour plot's plan-state outlines (flags 16 and 128, not 2),
    // each element edge of a triangle mesh once (false, nothing drawn,
    // otherwise).
    bool DrawPlanOutlinesOnce(int flags);
    // In the regions and in the material list (old leaves the list, a
    // non-null replacement takes its place); old is not deleted.
    virtual void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* replacement);
    virtual bool Smooth(bool flag);
    virtual void PreSmooth();
    virtual void DeleteMesh();
    // After an edit of the condition, load or place of a model node or
    // edge (or of each entry of a list of them): every region that holds
    // the node or an end of the edge, in its outline or its refine list,
    // loses its mesh, and so does its outer region. The mesh carries copies
    // made from them, which would be stale. A mesh node or edge (the
    // element view's) belongs to elements only and deletes nothing.
    void DeleteMeshesAt(CObject* object);
    virtual void SetElementStresses(CMatrix& elementData, CMatrix& nodes);
    virtual int GetElementCount(bool renumber);
    // Default number of subdivisions of the longest edge.
    virtual int AutoSubdivisions(double longest, double shortest);
    virtual void AddMaterial(CMaterial* material);
    virtual void AddMaterial(CObList* materials);
    virtual int BuildSolverData(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology,
                                CMatrix& nodes, CLongMatrix& suppressed, CMatrix& prescribed,
                                CMatrix& couplings, CMatrix& springs, int loadCase);

    // --- settings and small operations
    // Stores the code; converts or deletes an existing mesh to fit it.
    void SetElementType(int code);
    int GetElementType() const { return m_iElemType; }
    CObList& GetMaterialList() { return m_MaterialList; }
    // The stop request of the component, the region model and the mesher.
    void StopCalculation(bool stop);
    // The mesh kind (101 to 105) that an element-type code needs; 0 for an
    // unknown code.
    static int MeshKindForElementType(int code);
    // Appends the "Area of generated elements" line in the display unit.
    void AppendAreaLine(CStringArray* log) const;
    // Calls f with every meshed region of the component, in order.
    template <class F>
    void ForEachMeshRegion(F f)
    {
        for (POSITION pos = CObList::GetHeadPosition(); pos;) {
            CSection* section = GetNext(pos);
            if (section->IsKindOf(RUNTIME_CLASS(CSectMeshArea)))
                f(static_cast<CSectMeshArea*>(section));
        }
    }

    // --- mesh generation
    bool GenerateRegionMesh(CStringArray* log, CStringArray* errors, int oddPattern,
                            int evenPattern);
    void UpdateMaxMinEffStress();

    // --- solver input and calls
    bool SolveMembrane(CMatrix* elementData, CMatrix* nodes, int* status, CStringArray* log,
                       CStringArray* errors);
    bool SolvePlateBending(CMatrix* elementData, CMatrix* nodes, int* status,
                           CStringArray* log, CStringArray* errors);
    bool NumberMaterials(CMatrix& materials);
    int BuildBoundaryArrays(CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings,
                            CMatrix& springs, CLongMatrix& topology, CMatrix& nodes,
                            int loadCase);
    int CountSupportDOFs(int code, unsigned type);
    void AddSupportRows(int code, unsigned type, int node, CLongMatrix* suppressed, int* row);
    int BuildBoundaryArraysT15T21(CObList& conditions, CLongMatrix& suppressed,
                                  CMatrix& prescribed, CMatrix& springs, CMatrix& nodes);

    // --- dumps
    void WriteInputLogs(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology,
                        CMatrix& nodes, CLongMatrix& suppressed, CMatrix& prescribed,
                        CMatrix& couplings, CMatrix& springs);
    void WriteStressLog(CMatrix& elementResults);
    void WriteNodeValuesLog(CMatrix& nodeResults);

    // --- result plots
    void DrawPriStress(int flags, bool first, double scale);
    void DrawEffStress(int flags, double scale);
    void DrawLocalStress(int flags, int component, double scale);
    void DrawLocalVect(int flags, int component, double scale);

    // --- model, mesh, load and condition drawing (the views' model list
    // calls the virtual ones, so a test component can follow the order)
    virtual void DrawLoadedMeshNodes(float size);
    void DrawElmNumbers();
    virtual void DrawEdgeLoads(double scale, bool mesh, int unused);
    virtual void DrawNodeLoads(double scale, bool flag);
    virtual void DrawDispersAngles();
    void SetBoundaryConditions();
    // Switches the quadrilateral meshes to kind (104 or 105) in place.
    void ConvertQuadMesh(int kind);
    // Supported DOFs of a support kind for an element-type code (owned by
    // the class).
    static CVector* GetSupportDOFs(int code, int kind);

    // --- members
    CObList m_MaterialList{10};
    double m_dMeshArea = 0.0;
    int m_iElemType = 81;
    int m_iMeshKind = 101;
    CLongVector* m_pPrintNodes = nullptr;
    CLongVector* m_pPrintElems = nullptr;
    int m_nMinElements = 300;
    int m_iOddRowPattern = 1;
    int m_iEvenRowPattern = 1;
    int m_iLocalAxes = 0;
    bool m_bLocalOption = false;
    CVector m_LocalMax;
    CVector m_LocalMin;
    CVector m_LocalDir;
    CMatrix m_VolumeForce;
    int m_iPrintLevel = 0;
    int m_iIntegrationRule = 1;
    int m_iIntegrationPoints = 1;
    int m_iPlaneStrain = 0;
    int m_iStorage = 2;
    int m_iSymmetryCode = 1;
    int m_iRenumbering = 1;
    int m_iSubdivisions = -10;
    int m_nElements = 0;
    int m_nNodes = 0;
    int m_nMaterials = 0;
    bool m_bBusy = false;
    bool m_bAutoSpacing = true;
    std::atomic<bool> m_bStopRequest{false}; // set by Stop while a run works on another thread

protected:
    // DrawResults under the given rules; shellStyle: polygon offset 1.0/1.0
    // for every two-pass plot and, with neither flag, the colour plot
    // filled in the material colour instead of the prisms.
    void DrawResultsWith(int flags, const resultmeasures::PlotRules& rules, bool shellStyle);
    // The colour plot of component c.
    void DrawColourPlot(int flags, int c, bool shellStyle);
    // Sets CElement::m_nNodeVal from the element-type code; false (draw
    // nothing) for an unknown code.
    bool SetNodeValueCount() const;
    // Gathers m_LocalMax/m_LocalMin from every region: the local stresses
    // (0, 1, 2), or with vect the local vector components (3, 4).
    void GatherLocalExtremes(bool vect);
    // CElement::m_dStaticMax/m_dStaticMin symmetric from entry k of the
    // principal-extreme vectors (0.0 for an entry they do not hold).
    void SetStaticRange(int k);
    // The same from the local extremes of component c, gathered first.
    void SetLocalRange(bool vect, int c);
    // The direction handed to the local-axes operations, or null.
    CVector* LocalDirArgument() { return m_iLocalAxes == 2 ? &m_LocalDir : nullptr; }
    bool HasRegions() const { return !CObList::IsEmpty(); }

    // Converts the triangle meshes to kind (101 to 103) in place.
    void ConvertTriangleMesh(int kind, bool flag);

private:
    // The uniform refinement of RefineMesh; false when a stop request ended
    // it, the meshes left as they were.
    bool RefineMeshes();
    // The mesh's elements in drawing order with their boxes, for the mesh
    // picks; built again after any model edit (AfxModelRevision).
    struct ElementPickIndex {
        std::vector<CElement*> elements;
        CPickIndex pick;
    };
    ElementPickIndex& UpToDateElementPickIndex();
    std::unique_ptr<ElementPickIndex> m_pElementPickIndex;
};

class CBoundNode;
class CBoundary;

// The local angle an edge list's "Apply to nodes" gives a node: the line
// angle (0 to pi) of the one listed edge that meets it, or, where several
// listed edges meet there, the mean of their directions leaving the node
// less pi/2 (at a corner of two edges a line across the corner); 0 when no
// listed edge meets it. listed tells the listed edges among the node's own.
double EdgeListNodeAngle(CSNode& node, const std::function<bool(CObject*)>& listed);

// While a mesh is made, every outline node whose condition the user did not
// set on the node itself holds what the supported edges meeting there hold
// (the corner rule of CSectPlate::SetBoundaryConditions), so that the mesh's
// copy of the node takes it; when the scope ends the model's nodes hold
// again exactly what the user set. A condition counts as the user's own
// (a free node's condition that holds only an angle too: it gives a node
// load its axes) unless it is only a copy of the condition of meeting edges
// along one of them (what "Apply to node i/j" writes) or along the angle an
// edge list's "Apply to nodes" writes. Each condition set of a buckling
// document (membrane, plate) follows the rule on its own. Mesh generation opens one; a caller
// that copies nodes for the mesh before it (the constrained frame's edge
// chains) opens one around both.
class CMeshConditionScope
{
public:
    explicit CMeshConditionScope(CPlateComp& comp);
    ~CMeshConditionScope();
    CMeshConditionScope(const CMeshConditionScope&) = delete;
    CMeshConditionScope& operator=(const CMeshConditionScope&) = delete;

private:
    struct Saved {
        CBoundNode* node;
        CBoundCond* chain; // a copy of the node's conditions, or null
    };
    struct SavedEdge {
        CBoundary* edge;
        CBoundCond* chain; // a copy of the edge's conditions, or null
    };
    void Collect(CSectPlate* region);
    static bool IsOwn(CBoundNode& node);
    // The object's conditions become a copy of chain (none for null); the
    // edge's form also deletes chain.
    static void SetChain(CBoundNode& node, CBoundCond* chain);
    static void SetChain(CBoundary& edge, CBoundCond* chain);

    std::set<CBoundNode*> m_seen;
    std::set<CBoundary*> m_seenEdges;
    std::vector<Saved> m_saved;
    std::vector<SavedEdge> m_edges;
};
