// Quadrilateral elements: CQuadElem (corners A, B, C, D) and CQuad8Elem
// (corners, then the side middles AB, BC, CD, DA). A quadrilateral embeds a
// centre node of its own, at its centroid, not shared with any other graph.
#pragma once

#include "femodel/element.h"

class CQuadElem : public CElement {
    DECLARE_SERIAL(CQuadElem)
public:
    CQuadElem(CSNode* a, CSNode* b, CSNode* c, CSNode* d);
    ~CQuadElem() override = default;

    // Element part, then the centre node written in place.
    void Serialize(CArchive& ar) override;

    virtual void GLWireFrame(int r, int flags, double scale);
    virtual void GLColorPlot2(int r, int flags, double scale);
    virtual double GetStressFromIntNode(int r, int ignored);

    void PickDrawLocalStress(int which, bool polar, CVector& axis, double scale, int sx, int sy, int txy) override;
    void GetMaxMinLocalStress(double* max, double* min, bool polar, CVector& axis, int sx, int sy, int txy) override;
    // All four corners take part in smoothing.
    int GetNumExtResVects() override { return std::min(m_nRes, 4); }
    void PickDrawGL(int index, int mode, double scale) override;
    int PickCorners() const override { return 4; }
    int GetKind() override { return m_iKind; }
    bool IsPointInElem(CSNode* node) override;
    void GLColorPlot(int index, int mode, double scale) override;
    void DrawModelGL(bool nodes) override;
    void DrawEffStress(int type, int mode, double scale, int a, int b, int c, double k1, double k2) override;
    void DrawLocalStress(int which, int mode, bool polar, CVector& axis, double scale, int sx, int sy, int txy) override;
    void GetCentroid(double& x, double& y) override;
    void GLDrawDistorted(int mode, double scale, int a, int b, int c) override;
    void BeginGL() override;
    double PhysicalSize() override;
    void RefineUniform(int n, CObList* out) override;
    void DrawPriStress(int mode, bool major, double scale, int sx, int sy, int txy) override;
    void GetMaxMinPriStress(double& max1, double& min1, double& max2, double& min2, bool primaryOnly) override;
    // The corners as a prism (DrawPrismGL), each face split into two
    // triangles, inside the caller's triangles.
    void DrawValueExtrGL(CMatrix& param, double half, CVector& slope, int mode) override;
    void DrawEdgeLoadsGL(double scale) override;
    void GetEdgeLoads(CObList& list) override;
    void DispersNodeValue(CMatrix& m, double c, CVector& g, int& row, int col) override;
    void GLDraw() override;

    // A copy of the element on the copies of its nodes.
    CGraph* Copy(bool keepID) override;
    CSNode& GetCentreNode() { return m_Centre; }

    static constexpr int m_iKind = 3;

protected:
    CQuadElem() = default;
    CQuadElem(const CQuadElem& source);
    virtual void GLWireFramePriStress(int flags, bool major, double scale, int sx, int sy, int txy);
    int ActiveNodeCount() override { return std::min(GetCount(), 4); }
    void PlaceCentre();
    // The four triangles around the centre node: corner values v, centre vc.
    void DrawAroundCentre(const double v[4], double vc, int flags, double scale, int r, bool derived);
    // Four vertices of the corners inside the caller's primitive.
    void WireVertices(const double v[4], int flags, double scale, int r, bool derived);
    template <class T>
    void RefineInto(CSNode* ab, CSNode* bc, CSNode* cd, CSNode* da, CObList* out);

    CSNode m_Centre;
};

class CQuad8Elem : public CQuadElem {
    DECLARE_SERIAL(CQuad8Elem)
public:
    CQuad8Elem(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CSNode* ab = nullptr, CSNode* bc = nullptr,
               CSNode* cd = nullptr, CSNode* da = nullptr);

    virtual void Init(CSNode* a, CSNode* b, CSNode* c, CSNode* d, CSNode*& ab, CSNode*& bc, CSNode*& cd,
                      CSNode*& da);

    void UpdateNodeCoord() override;
    void RefineUniform(int n, CObList* out) override;
    void GetMaxMinEffStress(int type, double& max, double& min, int a, int b, int c, double k1, double k2, bool) override;
    using CElement::SetNodeValues;
    void SetNodeValues(CMatrix& m, int& row) override;

protected:
    CQuad8Elem() = default;
    CQuad8Elem(const CQuad8Elem& source) : CQuadElem(source) {}
public:
    CGraph* Copy(bool keepID) override;
};
