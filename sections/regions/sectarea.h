// CSectArea: a closed planar region. Its node list, in order, is the
// boundary polygon (counter-clockwise once validated). It carries a
// material (a use of it is counted), material axes with a polar flag, an
// enclosing region, owned sub-sections (holes and embedded regions) and an
// owned refine list of graphs and points steering the mesh density.
#pragma once

#include "sections/regions/section.h"

#include <string>
#include <vector>

class COGLTesselator;

class CSectArea : public CSection {
    DECLARE_DYNAMIC(CSectArea)
public:
    CSectArea();
    CSectArea(CSNode* n1, CSNode* n2, CSNode* n3, CMaterial* material);
    ~CSectArea() override;

    void Serialize(CArchive& ar) override;

    // --- graph operations: the graph's work on the region, then the same on
    // every sub-section in list order, unless said otherwise
    int CountEdges(bool all) override;
    // Null for 0; the sub-sections are asked first, then (unless subsOnly)
    // the region's own nodes and edges.
    CObject* GetObject(unsigned long id, bool subsOnly) override;
    void ReleaseCopyNodes(bool deep) override; // sub-sections first
    void OnEdges(void (*f)(CEdge*), bool ownOnly) override;
    void OnEdges(void (*f)(CObject*, void*), void* user, bool ownOnly) override;
    void OnNodes(void (*f)(CSNode*), bool ownOnly) override;
    using CGraph::OnNodes;
    // The boundary order is never re-sorted.
    void SortNodes() override;
    void RenumberNodes(long& next, long step) override;
    // Longest edge of the region and its sub-sections for 0, else the
    // shortest; the first one met wins ties.
    CEdge* GetEdge(int shortest) override;
    void GetNodes(CObList& out) override;
    void GLDrawNodeLinks(bool unused) override;
    void AddLinksToCopyNodes() override; // sub-sections first
    void DrawEdgeNameGL() override;
    void DrawNameGL() override;
    unsigned long GetMaxID(unsigned flags) override;
    void DrawNodeNumbers() override;
    bool SameNodes(CObList* nodes) override;
    bool IsEdgeInGraph(CEdge* edge) override;

    // --- section operations
    void DM_OnElements(void (*callback)(CObject*, void*), void* user) override;
    void DM_OnNodes(void (*callback)(CSNode*, void*), void* user) override;
    void DM_Clean() override;
    void DM_InsertNodeBCs(CModelInfo& model) override;
    void DM_GetInfo(CInfoContainer& container) override;
    void DM_SetResults(CModelInfo& model) override;
    int RemoveDoubleEdges() override;
    // Sub-sections first; then the region's own material when it is the
    // old one or the old one is null.
    void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial) override;
    // Nothing to re-cut in a region without a mesh: false (no change).
    bool Fix(CObList* list) override;
    // The sub-sections' boundary nodes first, in list order, then the
    // region's own. A new list owned by the caller.
    CObList* GetNodes() override;
    // No meshed area of its own: the positive areas of the sub-sections.
    double SumArea() override;
    CObject* Discretize() override;
    // Dotted outline of the region and its sub-sections.
    void DrawStippleGL() override;
    void SetNodSpace(double spacing) override;
    void GetDist(double& max, double& min) override;
    void SubDivide() override;
    // The nodes' update, then Validate() when validate is set.
    void Update(bool validate, bool resetSize) override;
    void Translate(double dx, double dy, double dz, bool all) override; // sub-sections first
    // Removes and deletes a boundary node; false (node kept) when the
    // region refuses to lose it.
    bool DeleteNode(CSNode* node) override;
    // 0 no contact, 1 a crossing, 2 touching. An overlap with one of the
    // region's own boundary edges counts as a crossing.
    short Intersection2D(CEdge* edge, bool byEdges, CObList* found) override;
    void DrawDXF(CFile* file) override;
    CObject* GetObjectFromString(CString name) override;
    void Rotate(double angle, double c1, double c2, unsigned axis, bool validate,
                bool all) override;
    // Text exchange: options {append-or-advance flag, coordinate count 1..3},
    // values the x, y, z scales; markers start, end and name label.
    void ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                          double* values, int nValues) override;
    // The boundary node count, or 0 (region left empty) for fewer than three
    // nodes or a boundary that crosses itself.
    int ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                       int nValues, CObList* list) override;

    // --- region operations
    // Replaces the boundary edge a-b by the chain in every region holding it.
    virtual bool AddChain(CSNode* a, CObList* chain, CSNode* b);
    // Splits every boundary edge into segments of about the length.
    virtual void Split(double length);
    // Removes the region; its sub-sections go to the outer region or list.
    // The region deletes itself: the caller must not touch it afterwards.
    virtual void DeleteThis(CObList* list);
    virtual void SetOuterSect(CSectArea* outer) { m_pOuter = outer; }
    virtual void RemoveInnerSect(CGraph* sub);
    virtual void InsertSubSect(CSectArea* sub);
    virtual void ClearNodes();
    // A region of this region's class from a closed chain of nodes, or null
    // (degenerate triangle, or the cycle of an existing region). With out,
    // pinch points of the chain are first cut off as triangles, and every
    // region made is appended to out.
    virtual CSection* NewSect(CObList* chain, CObList* out);
    // Cuts the region along a chain of nodes between two boundary nodes; the
    // part from `from` over the chain to `to` becomes a new region.
    virtual CSection* Divide(CSNode* from, CObList* chain, CSNode* to);
    bool Union(CGraph* other) override;
    virtual void CopyAttrib(CSection* source);
    virtual void AddRefineGraph(CGraph* graph);
    virtual CSectArea* IsNodeInside2D(CSNode* node, bool thisOnly);
    virtual bool IsCCLW();
    virtual void AddRefinePoint(CSNode* node);

    void SetMaterial(CMaterial* material);
    CMaterial* GetMaterial() const { return m_pMaterial; }
    int GetMaterialID() const;
    CObList* GetSubList() const { return m_pSubList; }
    CSectArea* GetOuterSect() const { return m_pOuter; }
    CObList* GetRefineList(POSITION& firstPoint) const
    {
        firstPoint = m_posFirstPoint;
        return m_pRefineList;
    }
    int GetRefineCount() const { return m_nRefine; }
    CVector& GetMatAxes() { return m_vAxes; }
    bool IsPolar() const { return m_bPolar; }
    void SetPolar(bool polar) { m_bPolar = polar; }
    bool Validate();
    CSection* IsPointInside2D(double x, double y, bool thisOnly);
    CObject* GetSubObject(unsigned long id, bool subsOnly);
    // The cells from the first node (a list of edge lists), or null.
    CObList* Find2DCells();
    using CGraph::Find2DCells;
    void ConvexHull(CObList& hull);
    using CGraph::ConvexHull;
    int FindIntCells(CObList* out);

protected:
    CSectArea(const CSectArea& source, bool keepID);
    // A new empty region of this object's run-time class.
    CSectArea* MakeSibling() const;
    // A region of this class, material and attributes over the nodes, named
    // by its corner count and validated; null (nothing kept) for a
    // degenerate triangle or the cycle of an existing region.
    CSectArea* MakeRegion(const std::vector<CSNode*>& nodes);
    // Drops this region from every boundary node; nodes left without a graph
    // leave the global node list and are deleted.
    void ReleaseNodes();

    // Parts of the text export (sectareatext.cpp).
    // A marker as written: "\r\n" appended to a non-empty marker without one.
    static CString ExportMarker(const CStringArray& markers, int i);
    // The material axes line: the axes key, " POLAR" when polar, the axes.
    void AppendAxesLine(std::string& out) const;
    // One line per boundary node with the export's coordinate count
    // (options[1], 2 by default) and x, y, z scales (values).
    void AppendNodeLines(std::string& out, const int* options, int nOptions, const double* values,
                         int nValues) const;
    // Writes the text through an archive, at the end of the file when
    // options[0] is 0. What was written before a failure stays in the file.
    static void WriteExportText(CFile& file, const std::string& text, const int* options,
                                int nOptions);

    CVector m_vAxes;
    bool m_bPolar = false;
    CSectArea* m_pOuter = nullptr;
    CMaterial* m_pMaterial = nullptr;
    CObList* m_pSubList = nullptr;
    CObList* m_pRefineList = nullptr;
    int m_nRefine = 0;
    POSITION m_posFirstPoint = nullptr;

    // --- drawing into the current OpenGL context (sectareadraw.cpp)
public:
    // The GLU winding rule of every region tessellation (initially
    // GLU_TESS_WINDING_ODD, 100130).
    static double m_gldTessWindRule;
    static void SetTessWindRule(double rule) { m_gldTessWindRule = rule; }
    // The unit normal (-s0/m, -s1/m, 1/m), m = sqrt(s0^2 + s1^2 + 1), of the
    // plane of slopes s0, s1; (0, 0, 1) when s has fewer than two entries.
    static void SlopeNormal(const CVector& s, double normal[3]);

    // True for a material that is not "VOID": the region is filled, meshed
    // and has side walls of its own.
    bool IsSolid() const;

    // Filled (material colour, thin outline) or as a wide outline; then the
    // refine list, the node points (none for size 0) and the sub-sections.
    void DrawModelGL(bool fill, float pointSize, bool all) override;
    void PickDrawGL(bool flag, int what) override;
    void PickDrawAddressGL(int what) override;
    // The fill, nodes and edges, the inner regions and the refine points.
    bool GrowPickBox(CPickBox& box) const override;
    bool ListPickNames(std::vector<CPickName>& out) const override;
    // True when the fill of the outline certainly gives triangles: a convex
    // outline in one plane z = const that winds once, under the odd or
    // non-zero winding rule.
    bool PickFillCertain() const;
    virtual void DrawRefineListGL();
    virtual void DrawSubSectGL(bool fill, float pointSize, bool all);
    virtual void PickDrawSubSectGL(bool flag, int what);
    // Extruded drawing between a bottom face at height z1 + s1[0] x + s1[1] y
    // and a top face at z2 + s2[0] x + s2[1] y.
    virtual void ExtrudeDrawGL(bool fill, bool faces, double z1, double z2, CVector& s1,
                               CVector& s2, bool sides, bool colour);
    virtual void ExtrudeDrawGL(bool fill, bool faces, double z1, double z2, CVector& s1,
                               CVector& s2, bool colour);
    // Side walls; a hole (no solid material) has walls only inside a solid
    // outer region, in that region's colour. A wall that two regions share
    // is drawn once.
    virtual void ExtrudeSidesGL(bool strip, double z1, double z2, CVector& s1, CVector& s2,
                                bool colour);
    // Side walls between two faces placed in space: node (x, y) of face k is
    // mk (0, x, y) + ok. The second form shades from colour c1 on the first
    // face to c2 on the second.
    virtual void ExtrudeSidesGL(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                                bool colour);
    virtual void ExtrudeSidesGL(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                                double* c1, double* c2);

protected:
    // One tessellator vertex per boundary node (the node's own coordinates).
    virtual void TessDrawGL(COGLTesselator* tess);
    // The boundary as one contour through buf (a row per node) at the face
    // z0 + s0 x + s1 y, or mapped by m (0, x, y) + offset.
    virtual void TessDrawGL3D(COGLTesselator* tess, double (*buf)[3], double z0, CVector& s);
    virtual void TessDrawGL3D(COGLTesselator* tess, double (*buf)[3], CVector& offset, CMatrix& m);

private:
    // The boundary alone as one filled polygon (for picking).
    void PickFillGL();
    // The walls' colour source: false when this region draws no walls.
    bool WallColour(bool colour) const;
    void DrawWalls(bool strip, CVector& o1, CMatrix& m1, CVector& o2, CMatrix& m2,
                   const double* c1, const double* c2);
};
