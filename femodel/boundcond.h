// CBoundCond: a boundary condition of a node or edge, kept as a chain (each
// condition points to the next). Its DOF vector holds the n DOF numbers and
// then the n values. CBoundCond3D adds two rotations (degrees).
#pragma once

#include "geometry/bexlar.h"

class CBoundCond : public CObject {
    DECLARE_DYNAMIC(CBoundCond)
public:
    CBoundCond() = default;
    ~CBoundCond() override;
    CBoundCond(const CBoundCond&) = delete;
    CBoundCond& operator=(const CBoundCond&) = delete;

    // Counts the condition into the information container.
    virtual void DM_GetInfo(CInfoContainer& info);

    unsigned GetType() const { return m_uiType; }
    void SetType(unsigned type) { m_uiType = type; }
    double GetAngle() const { return m_dAngle; }
    CVector* GetDOFVector() const { return m_pDOFVect; }
    unsigned long GetID() const { return m_ulID; }
    void SetID(unsigned long id) { m_ulID = id; }
    CBoundCond* GetNext() const { return m_pNext; }

    unsigned m_uiType = 0;
    double m_dAngle = 0.0;
    CVector* m_pDOFVect = nullptr;
    CBoundCond* m_pNext = nullptr;
    unsigned long m_ulID = 0;
};

class CBoundCond3D : public CBoundCond {
    DECLARE_DYNAMIC(CBoundCond3D)
public:
    CBoundCond3D() = default;
    // The rotation parameter handed to the solver with the node identifier.
    double GetRotParam() const { return m_dRot[0]; }

    double m_dRot[2] = {0.0, 0.0};
};
