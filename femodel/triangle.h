// Triangle elements: CTriElement (three corners), CTri4Elem (three corners
// and a fourth result vector at the centroid) and CTri6Element (corners and
// one mid-side node per side: A, B, C, AB, BC, CA).
#pragma once

#include "femodel/element.h"

class CTriElement : public CElement {
    DECLARE_SERIAL(CTriElement)
public:
    CTriElement(CSNode* a, CSNode* b, CSNode* c);
    ~CTriElement() override = default;

    virtual void SetForces(double* values);
    virtual double GetStress(int r, CSNode* node);

    void InsertDOFs(CReorderMat& reorder, CArrayArray<LONG>& dofTable, int a) override;
    int GetNumExtResVects() override { return std::min(m_nRes, 3); }
    void PickDrawGL(int index, int mode, double scale) override;
    int PickCorners() const override { return 3; }
    int GetKind() override { return m_iKind; }
    bool IsPointInElem(CSNode* node) override;
    void GLColorPlot(int index, int mode, double scale) override;
    void DrawModelGL(bool nodes) override;
    void DrawEffStress(int type, int mode, double scale, int a, int b, int c, double k1, double k2) override;
    void DrawLocalStress(int which, int mode, bool polar, CVector& axis, double scale, int sx, int sy, int txy) override;
    void DrawLocalVect(int which, int mode, bool polar, CVector& axis, double scale, int a, int b) override;
    void GetCentroid(double& x, double& y) override;
    void GLDrawDistorted(int mode, double scale, int a, int b, int c) override;
    void BeginGL() override;
    double PhysicalSize() override;
    void RefineUniform(int n, CObList* out) override;
    void DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy) override;
    void GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly) override;
    bool GetMaxMinStress(int index, double& max, double& min) override;
    // The corners as a prism (DrawPrismGL), inside the caller's triangles.
    void DrawValueExtrGL(CMatrix& param, double half, CVector& slope, int mode) override;
    void DrawEdgeLoadsGL(double scale) override;
    void GetEdgeLoads(CObList& list) override;
    void DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col) override;
    void GLDraw() override;

    // A copy of the element on the copies of its nodes.
    CGraph* Copy(bool) override { return new CTriElement(*this); }

    static constexpr int m_iKind = 101;

protected:
    CTriElement() = default;
    CTriElement(const CTriElement& source) : CElement(source) {}
    int ActiveNodeCount() override { return std::min(GetCount(), 3); }
    // Draws the corner triangle with per-corner values by the flag rules.
    void DrawCorners(const double v[3], int flags, double scale, int r, bool derived);
    // The three triangles around the centroid, whose value is vc.
    void DrawAroundCentroid(const double v[3], double vc, int flags, double scale, int r, bool derived);
    // Corners and the first dividing node of each side.
    template <class T>
    void RefineInto(CSNode* ab, CSNode* bc, CSNode* ca, CObList* out);
    // Splits the triangle at the first of n dividing nodes on each side
    // into four elements of type T appended to out.
    template <class T>
    void RefineAtDividers(int n, CObList* out);
};

class CTri4Elem : public CTriElement {
    DECLARE_SERIAL(CTri4Elem)
public:
    CTri4Elem(CSNode* a, CSNode* b, CSNode* c);
    void RefineUniform(int n, CObList* out) override;
    void DrawEdgeLoadsGL(double scale) override;
    // Always consumes four rows per element.
    void SetStresses(CMatrix& m, int& row) override;

protected:
    CTri4Elem() = default;
    CTri4Elem(const CTri4Elem& source) : CTriElement(source) {}
public:
    CGraph* Copy(bool) override { return new CTri4Elem(*this); }
};

class CTri6Element : public CTriElement {
    DECLARE_SERIAL(CTri6Element)
public:
    CTri6Element(CSNode* a, CSNode* b, CSNode* c, CSNode* ab = nullptr, CSNode* bc = nullptr,
                 CSNode* ca = nullptr);

    // Fills every null mid-side node with the dividing node of its side,
    // shared with the neighbour built on the same side.
    virtual void Init(CSNode* a, CSNode* b, CSNode* c, CSNode*& ab, CSNode*& bc, CSNode*& ca);

    void UpdateNodeCoord() override;
    void RefineUniform(int n, CObList* out) override;
    void GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool) override;
    using CElement::SetNodeValues;
    void SetNodeValues(CMatrix& m, int& row) override;
    void GetBCs(CObList& list) override;

protected:
    CTri6Element() = default;
    CTri6Element(const CTri6Element& source) : CTriElement(source) {}
public:
    CGraph* Copy(bool) override { return new CTri6Element(*this); }
};

// ------------------------------------------------------------ refinement

template <class T>
void CTriElement::RefineInto(CSNode* ab, CSNode* bc, CSNode* ca, CObList* out)
{
    CSNode* a = GetNode(0);
    CSNode* b = GetNode(1);
    CSNode* c = GetNode(2);
    T* parts[4] = {new T(a, ab, ca), new T(ab, b, bc), new T(ab, bc, ca), new T(ca, bc, c)};
    for (T* part : parts)
        AddPart(part, out);
}

template <class T>
void CTriElement::RefineAtDividers(int n, CObList* out)
{
    if (!out || GetCount() < 3)
        return;
    CSNode* mid[3];
    if (FirstSideDividers(n, 3, mid))
        RefineInto<T>(mid[0], mid[1], mid[2], out);
}
