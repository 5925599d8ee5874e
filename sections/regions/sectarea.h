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

    // --- section operations
    void DM_OnElements(void (*callback)(CObject*, void*), void* user) override;
    void DM_OnNodes(void (*callback)(CSNode*, void*), void* user) override;
    void DM_Clean() override;
    void DM_GetInfo(CInfoContainer& container) override;
    void ReplaceMaterial(CMaterial* oldMaterial, CMaterial* newMaterial) override;
    bool Fix(CObList* list) override;
    CObList* GetNodes() override;
    void GetNodes(CObList& out) override;
    double SumArea() override;
    CObject* Discretize() override;
    void DrawStippleGL() override;
    bool DeleteNode(CSNode* node) override;
    void SortNodes() override;
    bool SameNodes(CObList* nodes) override;
    bool IsEdgeInGraph(CEdge* edge) override;
    // Text exchange: options {append-or-advance flag, coordinate count 1..3},
    // values the x, y, z scales; markers start, end and name label.
    void ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                          double* values, int nValues) override;
    // The boundary node count, or 0 (region left empty) for fewer than three
    // nodes or a boundary that crosses itself.
    int ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                       int nValues, CObList* list) override;

    // --- region operations
    virtual void SetOuterSect(CSectArea* outer) { m_pOuter = outer; }
    virtual void RemoveInnerSect(CGraph* sub);
    virtual void InsertSubSect(CSectArea* sub);
    virtual void ClearNodes();
    virtual CSection* NewSect(CObList* chain, CObList* out);
    // Cuts the region along a chain of nodes between two boundary nodes; the
    // part from `from` over the chain to `to` becomes a new region.
    virtual CSection* Divide(CSNode* from, CObList* chain, CSNode* to);
    // Replaces the boundary edge a-b by the chain in every region holding it.
    virtual bool AddChain(CSNode* a, CObList* chain, CSNode* b);
    // Removes the region; its sub-sections go to the outer region or list.
    // The region deletes itself.
    virtual void DeleteThis(CObList* list);
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
