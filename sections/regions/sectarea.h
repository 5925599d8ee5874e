// CSectArea: a closed planar region. Its node list, in order, is the
// boundary polygon (counter-clockwise once validated). It carries a
// material (a use of it is counted), material axes with a polar flag, an
// enclosing region, owned sub-sections (holes and embedded regions) and an
// owned refine list of graphs and points steering the mesh density.
#pragma once

#include "sections/regions/section.h"

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
    // Splits every boundary edge into pieces of about the length.
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

    CVector m_vAxes;
    bool m_bPolar = false;
    CSectArea* m_pOuter = nullptr;
    CMaterial* m_pMaterial = nullptr;
    CObList* m_pSubList = nullptr;
    CObList* m_pRefineList = nullptr;
    int m_nRefine = 0;
    POSITION m_posFirstPoint = nullptr;
};
