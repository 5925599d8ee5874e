// CLoad: a vector of load values with a local-directions flag, an
// identifier (the load case) and a chain link. CNodeLoad is the load of a
// node, CEdgeLoad the load along an edge.
#pragma once

#include "geometry/bexlar.h"

class CLoad : public CVector {
    DECLARE_DYNAMIC(CLoad)
public:
    CLoad() = default;
    ~CLoad() override;
    CLoad(const CLoad&) = delete;
    CLoad& operator=(const CLoad&) = delete;

    // Number of load values that count (0: an empty load).
    virtual int LoadSize() const { return GetSize(); }
    // Widens [min, max] by the load's values.
    virtual void GetMaxMin(double& max, double& min);

    bool IsLocal() const { return m_bLocal; }
    unsigned long GetID() const { return m_ulID; }
    void SetID(unsigned long id) { m_ulID = id; }
    long GetElemID() const { return m_lElemID; }
    void SetElemID(long id) { m_lElemID = id; }
    CLoad* GetNext() const { return m_pNext; }

    bool m_bLocal = false;
    unsigned long m_ulID = 0;
    long m_lElemID = 0;
    CLoad* m_pNext = nullptr;
};

class CNodeLoad : public CLoad {
    DECLARE_DYNAMIC(CNodeLoad)
public:
    CNodeLoad() = default;
};

class CEdgeLoad : public CLoad {
    DECLARE_DYNAMIC(CEdgeLoad)
public:
    CEdgeLoad() = default;
    // Draws the load along the edge.
    virtual void DrawGL(CEdge* edge, double scale, bool flag);
};
