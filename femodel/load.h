// CLoad: a vector of load values with a local-directions flag, an
// identifier (the load case) and, for the chainable loads, a next load.
// CNodeLoad is the load of a node (CNodeLoad3D: DOF codes and values, an
// eccentricity and a chain), CEdgeLoad the load along an edge given at its
// start, end and mid-point, CEdgeLoadEx the general load of a 3D member.
#pragma once

#include "geometry/bexlar.h"

class CMatrix;
class COGLDrawCommand;

class CLoad : public CVector {
    DECLARE_DYNAMIC(CLoad)
public:
    CLoad() = default;
    ~CLoad() override;
    CLoad(const CLoad&) = delete;

    void Serialize(CArchive& ar) override;

    virtual CLoad* GetNextLoad() { return m_pNext; }
    // Copies the values and the local flag (not the identifier).
    virtual void CopyFrom(CLoad& src);
    // Widens [min, max] by the load's values (max < min: an empty range).
    virtual void GetMaxMin(double& max, double& min);
    // Size of the load (0: an empty load).
    virtual double LoadSize() { return GetSize(); }

    CLoad& operator=(CLoad& src)
    {
        CopyFrom(src);
        return *this;
    }

    bool IsLocal() const { return m_bLocal; }
    void SetLocal(bool local) { m_bLocal = local; }
    long GetID() const { return m_ulID; }
    void SetID(long id) { m_ulID = id; }
    long GetElemID() const { return m_lElemID; }
    void SetElemID(long id) { m_lElemID = id; }
    CLoad* GetNext() const { return m_pNext; }

    bool m_bLocal = false;
    long m_ulID = 0;
    long m_lElemID = 0;
    // The next load of the chainable loads; null for the others.
    CLoad* m_pNext = nullptr;
};

class CNodeLoad : public CLoad {
    DECLARE_SERIAL(CNodeLoad)
public:
    CNodeLoad() = default;

    // The larger of the force length and 0.001 times the moment length.
    double LoadSize() override;
    virtual void AppendNodeLoad(CNodeLoad&) {}
    virtual void AppendNodeLoad(CNodeLoad*) {}
    // Draws each component as an arrow from the node to its tip at the
    // node plus the component times scales[kForceScale]; the caller hands
    // at least kScaleCount scales (or null: nothing is drawn).
    virtual void Draw(CObject* node, double* scales);

    static constexpr int kForceScale = 1;
    static constexpr int kScaleCount = 2;
};

class CNodeLoad3D : public CNodeLoad {
    DECLARE_SERIAL(CNodeLoad3D)
public:
    CNodeLoad3D() = default;

    void Serialize(CArchive& ar) override;
    void CopyFrom(CLoad& src) override;
    void AppendNodeLoad(CNodeLoad& load) override;
    void AppendNodeLoad(CNodeLoad* load) override;
    void Draw(CObject* node, double* scales) override;

    CVector m_Ecc;
    DWORD m_uiWord = 1;
    LONG m_lFlag = 0;
    DWORD m_uiWord2 = 0;
};

class CEdgeLoad : public CLoad {
    DECLARE_SERIAL(CEdgeLoad)
public:
    CEdgeLoad() = default;

    void CopyFrom(CLoad& src) override;
    void GetMaxMin(double& max, double& min) override;
    // Coefficients of the quadratic A + B t + C t^2 of the first component
    // (t from 0 at node 1 to 1 at node 2); GetDEF those of the second.
    void GetABC(double& A, double& B, double& C) const;
    void GetDEF(double& D, double& E, double& F) const;
    // Draws the load beside the edge, on its outer side: the plate whose
    // edge it is lies left of node 1 -> node 2 when materialLeft is true.
    virtual void DrawGL(CEdge* edge, double scale, bool simple, bool materialLeft = true);

    long GetElID() const { return m_lElemID; }
    void SetElID(long id) { m_lElemID = id; }
};

class CEdgeLoadEx : public CEdgeLoad {
    DECLARE_SERIAL(CEdgeLoadEx)
public:
    CEdgeLoadEx() = default;
    ~CEdgeLoadEx() override;

    void Serialize(CArchive& ar) override;
    void CopyFrom(CLoad& src) override;
    // The largest load length over 21 points along the member.
    double LoadSize() override;
    // A new load (owned by the caller) for the part between xa and xb.
    virtual void GetSegmentLoad(double xa, double xb, CEdgeLoad*& out);
    virtual void DrawGL_OnCirc(COGLDrawCommand* cmd, double start, double sweep, double r,
                               CVector& centre, CMatrix& t, CVector& unused);
    virtual void DrawGL_OnLinear(COGLDrawCommand* cmd, CVector& e1, CVector& e2, CVector& e3,
                                 CVector& start, CVector& end);
    // A new node load (owned by the caller) of the load at xi times factor.
    virtual CNodeLoad3D* GetNodeLoad(double xi, double factor, CMatrix& t, CVector* offset);
    // The load 3-vector at the natural coordinate xi (-1 start, +1 end).
    virtual void GetLoadVectAt(double xi, CVector& v);

    bool m_bProjected = false;
    bool m_bFlag2 = false;
    DWORD m_uiWord = 0;
    CVector* m_pEcc = nullptr;

private:
    // Projection factor of component i (0..2) for the member axis in t's first row.
    static double Projection(CMatrix& t, int i);
};
