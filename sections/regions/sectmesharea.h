// CSectMeshArea: an area region that owns its finite-element mesh (a mesh
// organiser). Every edit that changes what the mesh covers deletes the mesh;
// translation moves it along. The boundary is made of boundary nodes and
// boundary edges so that conditions and loads can sit on it. The region
// forwards the data hand-over, the solver arrays, the results and every
// result plot to its mesh and then, recursively, to its sub-sections.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

#include "sections/regions/sectarea.h"

class CMeshOrganizer;
class CElement;
class CModelInfo;

// Mesh lines held for drawing each frame: each node's coordinates (x, y,
// z) once, and in runs of one colour (RGBA) the lines as pairs of node
// indices (a region's edge table's own, shared), so that a plot can send
// them without walking the mesh.
struct CMeshLines {
    struct Run {
        float colour[4];
        std::size_t base; // the run's first node in xyz
        std::shared_ptr<const std::vector<std::uint32_t>> ends;
    };
    std::vector<float> xyz;
    std::vector<Run> runs;
    // The pairs as GL_LINES from vertex arrays, each run after its colour
    // (outside glBegin; the client's vertex arrays kept as they were).
    void GLDraw() const;
};

class CSectMeshArea : public CSectArea {
    DECLARE_DYNAMIC(CSectMeshArea)
public:
    CSectMeshArea();
    ~CSectMeshArea() override;

    // The area part, the meshed area (f64), then the mesh organiser when
    // m_bStoreMesh is set, else a null reference; without the mesh, the
    // mesh's edges at the refine nodes are left out, so that no mesh node
    // is written. Loading registers the refine nodes with the region, as
    // after meshing.
    void Serialize(CArchive& ar) override;

    // --- graph operations
    using CSectArea::NewNode;
    // A new boundary node of this region, appended to the node list.
    CSNode* NewNode(double x, double y, double z) override;
    // Null for id 0; the region's own lookup, then (deep) the mesh's.
    CObject* GetObject(unsigned long id, bool deep) override;
    bool Union(CGraph* other) override;
    void ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                          double* values, int nValues) override;
    // A new boundary edge.
    CEdge* CreateEdge(CSNode* a, CSNode* b) override;
    void GLDrawLoadedNodes() override;
    // False when the region is left with fewer than three nodes (the caller
    // removes it).
    bool RemoveNode(CSNode* node) override;
    // Always deletes the mesh; false unless a and b share an edge.
    bool AddNode(CSNode* a, CSNode* node, CSNode* b) override;

    // --- section operations
    void DM_OnElements(void (*callback)(CObject*, void*), void* user) override;
    void DM_OnNodes(void (*callback)(CSNode*, void*), void* user) override;
    void DM_Clean() override;
    CObject* DM_GetOwner(CObject* object) override;
    void DM_InsertNodeBCs(CModelInfo& model) override;
    void DM_GetInfo(CInfoContainer& container) override;
    void DM_SetResults(CModelInfo& model) override;
    void DM_BuildData(CModelInfo& model) override;
    void GetBCNodes(CObList& out) override;
    void GetDiscrCoord(CMatrix& out) override;
    void GetMMNPC(CLongVector& nodes, CLongVector& pointers, int& counter) override;
    void GetMMNPC(CLongMatrix& out) override;
    void DrawBCs(bool mesh, double scale, int kind) override;
    void RefineUniform(int n, unsigned mask) override;
    void GetMaxMinLoad(double& max, double& min, unsigned flags) override;
    bool Fix(CObList* list) override;
    double SumArea() override;
    void SubDivide() override;
    void Translate(double dx, double dy, double dz, bool all) override;
    void Rotate(double angle, double c1, double c2, unsigned axis, bool update, bool all) override;

    // --- area-region operations
    bool AddChain(CSNode* a, CObList* chain, CSNode* b) override;
    void RemoveInnerSect(CGraph* sub) override;
    void InsertSubSect(CSectArea* sub) override;
    CSection* Divide(CSNode* from, CObList* chain, CSNode* to) override;
    void AddRefinePoint(CSNode* node) override;

    // --- meshed-region operations
    // Local-axis plots: without axes the region's material axes are used;
    // when those are empty the draw and pick forms fall back to the plain
    // colour plot.
    virtual void PickDrawLocalVect(int which, bool polar, CVector* axes, double scale, int a, int b);
    virtual void GetMaxMinLocalVect(double* max, double* min, bool polar, CVector* axes, int a, int b);
    virtual void DrawLocalVect(int which, int mode, bool polar, CVector* axes, double scale, int a,
                               int b);
    virtual void PickDrawLocalStress(int which, bool polar, CVector* axes, double scale, int sx,
                                     int sy, int txy);
    virtual void GetMaxMinLocalStress(double* max, double* min, bool polar, CVector* axes, int sx,
                                      int sy, int txy);
    virtual void DrawResArrows(double scale, int a, int b, int c, double range, bool colour);
    virtual void TriToTri(int kind, bool dropResults);
    virtual void RetAddNodeStress(CMatrix& m, int first, int last, int& row, int col);
    using CSectArea::GetLinks;
    virtual void GetLinks(CObList& out, bool mesh);
    virtual void RetAddMeanStress(CMatrix& m, int first, int last, int& row, int col);
    virtual void GetNodeValues(CMatrix& m, int first, int last, int& row, int col);
    virtual void RetElemStress(CMatrix& m, int first, int last, int& row);
    virtual void DeleteResults(bool deep, int kind);
    // This region when its mesh holds the element, else the first answer of
    // the sub-sections, else null.
    virtual CSectMeshArea* IsElemInThis(CElement* element);
    virtual void GetMaxMinEffStress(int kind, double& max, double& min, int a, int b, int c,
                                    bool flag);
    virtual void PickDrawEffStress(int kind, double scale, int a, int b, int c);
    virtual void InsertMeshes(CObList& out);
    virtual void PickDrawDistort(double scale, int a, int b, int c);
    virtual void PickDrawPriStress(bool major, double scale, int sx, int sy, int txy);
    virtual void DrawElmNumbers();
    using CSectArea::DrawNodeNumbers;
    virtual void DrawNodeNumbers(bool mesh);
    virtual void SetNodeValues(CMatrix& m, int& row);
    virtual void SetStresses(double* values, int& pos);
    virtual void SetStresses(CMatrix& m, int& row);

protected:
    // The cells the boundary falls into: a new list owned by the caller, or
    // null. A region that is its own single cell is the only entry.
    virtual CObList* Fix();

public:
    // Re-homes the sub-sections after they were fixed; true when the model
    // changed.
    virtual bool FixSubList(CObList* list);
    // Deletes the edges at boundary nodes that no graph of the node has on
    // its boundary.
    virtual void DeleteFreeEdges();
    // Solver input, written from one running index: the mesh first, then
    // every sub-section.
    virtual void InsertNodes(long* ids, double* coords, int& index, int lead, int trail);
    virtual void InsertFEN(long* table, int& index);
    virtual void InsertFEMat(long* table, int& index);

    // --- mesh, areas, results
    CMeshOrganizer* GetMesh() const { return m_pMesh; }
    double GetMeshArea() const { return m_dMeshArea; }
    void DeleteMesh(bool deep);
    double CalcArea();
    void GLDrawMesh(bool colour);
    // True when every element of this mesh and of the sub-regions' meshes
    // gives GLDrawMesh either no vertex or exactly `corners` corners, so
    // that each element is one primitive of the caller's GL_TRIANGLES
    // (3) or GL_QUADS (4).
    bool MeshDrawsCorners(int corners) const;
    // The colour GLDrawMesh draws this region's mesh in.
    void MeshLineColour(bool colour);
    // The lines GLDrawMesh gives in line mode, each element edge once (the
    // first element that has it draws it): vertex pairs into the caller's
    // GL_LINES, in the same colours; sub-regions follow as in GLDrawMesh.
    void GLDrawMeshEdges(bool colour, int corners);
    // The same lines and colours appended to lines; false when an element
    // here draws neither `corners` corners nor none (MeshDrawsCorners).
    // Sets the current colour to read it back: not inside glBegin nor
    // while a list is compiled.
    bool CollectMeshEdges(bool colour, int corners, CMeshLines& lines);
    // CollectMeshEdges in two steps, so that its walk over the elements can
    // run on another thread while this one works on OpenGL: MeshLineRuns
    // appends a run in its colour for this region and each sub-region with
    // a mesh (it sets the current colour to read it back), FillMeshLines
    // then gives those runs, from `run` on and in the same order, their
    // nodes and edges without OpenGL, and CollectMeshEdges' answer.
    void MeshLineRuns(bool colour, CMeshLines& lines);
    bool FillMeshLines(int corners, CMeshLines& lines, std::size_t& run);
    // The outlines a plan-state plot (ColorPlot in line mode, mode bits 16
    // and 128) gives for a mesh of `corners`-corner elements, each element
    // edge once at height 0: vertex pairs into the caller's GL_LINES, in
    // the current colour; sub-regions follow as in ColorPlot.
    void GLDrawPlanEdges(int corners);
    void GLDrawMeshNodes();
    void GLDrawLoadedMeshNodes();
    void ColorPlot(int index, int mode, double scale);
    void PickDrawResGL(int index, int mode, double scale);
    void GLDrawDistorted(int mode, double scale, int a, int b, int c);
    void DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy);
    void DrawLocalStress(int which, int mode, bool polar, CVector* axes, double scale, int sx,
                         int sy, int txy);
    void DrawEffStress(int kind, int mode, double scale, int a, int b, int c);
    using CSectArea::DrawNodeLoads;
    void DrawNodeLoads(double scale, bool mesh);
    void GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2,
                            bool primaryOnly);
    // The mesh's extremes of result r; false without a mesh. Not recursive.
    bool GetMaxMinStress(int r, double& max, double& min);
    bool Smooth(bool allNames);
    void PreSmooth();
    void GetFECount(long& n, bool renumber);
    void SumDiscrNodes(long& n, bool renumber);
    bool RemoveElem(CObject* element);
    // Takes the listed elements out of this region's mesh and those of its
    // inner regions; the number taken out.
    int RemoveElems(const std::unordered_set<CObject*>& elements);
    // Calls f with every element of this region's mesh, then of its inner
    // regions' meshes.
    void ForEachElement(const std::function<void(CElement*)>& f);
    // True at the first element (in the same order) f answers true for;
    // the rest are not visited.
    bool AnyElement(const std::function<bool(CElement*)>& f);
    // Elements of this region's mesh and its inner regions' meshes.
    long MeshElementCount() const;
    void GetBCs(CObList& out);
    void GetLoads(CObList* nodeLoads, CObList* edgeLoads);
    // Removes one refine object (the mesh stays), or with null the whole
    // refine list (the mesh is deleted).
    void RemoveRefineObj(CObject* object);

    static void StopCalc(bool stop) { m_bStop = stop; }

    static std::atomic<bool> m_bStop; // set by Stop from the window thread
    static bool m_bStoreMesh;
    static bool m_bNotifyWarning;
    static CObList** m_pSepNodeGraphGroups;

protected:
    CSectMeshArea(const CSectMeshArea& source, bool keepID);

    double m_dMeshArea = -1.0;
    CMeshOrganizer* m_pMesh = nullptr;

private:
    // The edges the mesh lines draw: each element edge once, in element
    // order, as pairs of nodes. Built when the mesh's elements that draw
    // `corners` corners no longer have the nodes they were built from
    // (a new, refined or changed mesh), else kept from the last compile.
    struct DrawnEdges;
    const DrawnEdges& MeshEdges(int corners);
    std::unique_ptr<DrawnEdges> m_pDrawnEdges;

    // Moves the cell's boundary nodes, in order, into this region.
    void TakeNodes(CSectArea* cell);
    // False for a genuinely orthotropic material (no effective stress);
    // otherwise the two factors handed to the mesh for the kind.
    bool EffStressFactors(int kind, double& k1, double& k2) const;
    // The caller's axes, or the region's material axes (and polar flag).
    CVector* PlotAxes(CVector* axes, bool& polar);
};
