// CBoundCond: a boundary condition of a node or edge, kept as a chain (each
// condition points to the next). Its DOF vector holds the n DOF numbers and
// then the n values: a negative number -d is a spring on DOF d, a positive
// number with value 0 a support, with another value a prescribed
// displacement. CBoundCond3D adds two rotations (degrees). CCoupling ties
// two nodes together; CLinCpl adds the DOFs and a factor.
#pragma once

#include "geometry/bexlar.h"

class CCoupling;
class CMatrix;
class CObjVect;

class CBoundCond : public CObject {
    DECLARE_SERIAL(CBoundCond)
public:
    CBoundCond() = default;
    ~CBoundCond() override;
    CBoundCond(const CBoundCond&) = delete;

    void Serialize(CArchive& ar) override;

    // --- queries on one DOF
    virtual bool IsGlobal(int which);
    virtual bool IsFree(int dof);
    virtual void RemoveDof(int dof);
    virtual bool IsSup(int dof);
    virtual bool IsSpring(int dof);
    virtual bool IsPrescribed(int dof);
    // The transformation to the condition's directions; false (t untouched)
    // when the directions are the global ones.
    virtual bool GetTMat(CMatrix& t, int which);
    virtual void AddCoupling(CCoupling* coupling);
    virtual bool CopyFrom(CBoundCond& src);
    virtual CObList* GetCouplings() { return m_pCouplings; }
    virtual void RemoveCoupl(CCoupling* coupling);
    // Scales the values selected by type (1: DOF > 0, 2: >= 0, -1: < 0,
    // -2: <= 0, 0: all) of the condition(s) selected by index.
    virtual void Multiply(double f, int type, int index);
    // Counts the condition into the information container.
    virtual void DM_GetInfo(CInfoContainer& info, CSNode* node = nullptr);
    virtual CBoundCond* newBC();
    virtual CBoundCond* GetNextBC() { return m_pNext; }
    virtual void DrawNodeBC(CObject* node);
    virtual void DrawEdgeBC(CObject* edge, double size);
    virtual CBoundCond& operator=(CBoundCond& src);

    // --- chain
    CBoundCond* Grow(int n);
    CBoundCond* Jump(int n);
    void CutList(int n);
    CBoundCond* SetNextBC(CBoundCond* next);
    bool IsClear(bool wholeChain);
    void SetID(long id);

    // --- contents
    void Reset();
    void SetType(unsigned type) { m_uiType = type; }
    void AddTypeBit(unsigned bit) { m_uiType |= bit; }
    unsigned GetBCType() const { return m_uiType; }
    unsigned GetType() const { return m_uiType; }
    void SetAngle(double a) { m_dAngle = a; }
    double GetAngle() const { return m_dAngle; }
    long GetID() const { return m_ulID; }
    CVector* GetBCVector() const { return m_pDOFVect; }
    CVector* GetDOFVector() const { return m_pDOFVect; }
    CBoundCond* GetNext() const { return m_pNext; }
    void SetBC(CVector& v);
    void SetBC(int dof, double value);

    bool operator==(CBoundCond& other);
    // The union of both conditions; both operands stay as they are.
    CBoundCond* operator+(CBoundCond& other);

    static WORD m_SSLStpl;
    static WORD m_FiLStpl;
    static WORD m_SyLStpl;
    static WORD m_UDLStpl;

    unsigned m_uiType = 0;
    double m_dAngle = 0.0;
    CVector* m_pDOFVect = nullptr;
    CBoundCond* m_pNext = nullptr;
    long m_ulID = 0;
    CObList* m_pCouplings = nullptr;

private:
    // Index of the entry whose absolute DOF number is dof, or -1.
    int Find(int dof) const;
};

class CBoundCond3D : public CBoundCond {
    DECLARE_SERIAL(CBoundCond3D)
public:
    CBoundCond3D() = default;
    ~CBoundCond3D() override;
    using CBoundCond::operator=;

    void Serialize(CArchive& ar) override;
    bool IsGlobal(int which) override;
    bool GetTMat(CMatrix& t, int which) override;
    bool CopyFrom(CBoundCond& src) override;
    void DM_GetInfo(CInfoContainer& info, CSNode* node = nullptr) override;
    CBoundCond* newBC() override;
    void DrawNodeBC(CObject* node) override;
    // Stores p when p >= 0; returns the old value.
    virtual int SetRotParam(int p);

    int GetRotParam() const { return m_iRotParam; }
    double* SetRot1(double x, double y, double z);
    double* SetRot2(double x, double y, double z);
    void GetRot1(double& x, double& y, double& z) const;
    void GetRot2(double& x, double& y, double& z) const;

    static double m_dBCSize;

    double* m_pRot1 = nullptr;
    double* m_pRot2 = nullptr;
    int m_iRotParam = 0;
    CObjVect* m_pObjVect = nullptr;
};

class CCoupling : public CObject {
    DECLARE_SERIAL(CCoupling)
public:
    CCoupling() = default;
    ~CCoupling() override;
    CCoupling(const CCoupling&) = delete;

    void Serialize(CArchive& ar) override;
    // Couples the copies of src's nodes; false (both nodes null) when a node
    // or its copy is missing.
    virtual bool CopyFrom(CCoupling& src);
    CCoupling& operator=(CCoupling& src)
    {
        CopyFrom(src);
        return *this;
    }

    CSNode* m_pNode1 = nullptr;
    CSNode* m_pNode2 = nullptr;
};

class CLinCpl : public CCoupling {
    DECLARE_SERIAL(CLinCpl)
public:
    CLinCpl() = default;
    void Serialize(CArchive& ar) override;
    bool CopyFrom(CCoupling& src) override;

    DWORD m_uiDof1 = 0;
    DWORD m_uiDof2 = 0;
    double m_dFactor = 0.0;
};

class CJointInfo : public CObject {
    DECLARE_SERIAL(CJointInfo)
public:
    CJointInfo() : m_List(10) {}
    // The list of edges (not owned).
    void Serialize(CArchive& ar) override;

    CObList m_List;
};
