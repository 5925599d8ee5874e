// The graph objects that carry conditions and loads: CBoundNode (a node with
// a condition chain and a node load), CJointNode (a boundary node that also
// records joints between the edges meeting at it), CBoundary (an edge of a
// region outline with a condition chain and an edge load) and CDOFLink (a
// node link whose conditions couple the DOFs of its two nodes).
//
// Chain indices: -1 means every condition of the chain, n >= 0 the n-th;
// setters grow the chain to reach it.
#pragma once

#include <vector>

#include "femodel/boundcond.h"
#include "femodel/load.h"

class CBoundNode : public CSNode {
    DECLARE_SERIAL(CBoundNode)
public:
    CBoundNode() = default;
    CBoundNode(double x, double y, double z, CObject* graph, unsigned flags);
    // The node gets a plain copy of the whole chain of cond (when not null).
    CBoundNode(CBoundCond* cond, double x, double y, double z, CObject* graph, unsigned flags);
    ~CBoundNode() override;

    void Serialize(CArchive& ar) override;
    CSNode* Copy(bool keepID) override;
    void DrawLoad(double* scales) override;
    CLoad* GetLoad() override { return m_pLoad; }
    CBoundCond* GetBC(int index) override;
    CSNode* NewNode(double x, double y, double z, CObject* graph, unsigned flags) override;
    virtual void SwitchLoads(CBoundNode* other);
    virtual void SwitchBCs(CBoundNode* other);
    virtual void AppendNodeLoad(CNodeLoad& load);
    virtual void AppendNodeLoad(CNodeLoad* load);
    virtual void AddCoupling(CCoupling* coupling);
    virtual void RemoveCoupl(CCoupling* coupling);
    virtual void ClearBC(int index);

    void SetStandBC(unsigned type, int index);
    void SetBC(CBoundCond& src, int index);
    // Index 0 only: c becomes the head (owned), the old head's followers hang
    // behind it; null deletes the chain.
    void SetBC(CBoundCond* c, int index);
    void SetAngle(double a, int index);
    double GetAngle(int index);
    void AddBC(int, double) {}
    void SetNodeLoad(CNodeLoad* load);
    void SetNodeLoad(CNodeLoad& load);

    CBoundCond* m_pBC = nullptr;
    CNodeLoad* m_pLoad = nullptr;
};

class CJointNode : public CBoundNode {
    DECLARE_SERIAL(CJointNode)
public:
    CJointNode() = default;
    CJointNode(double x, double y, double z, CObject* graph, unsigned flags)
        : CBoundNode(x, y, z, graph, flags)
    {
    }
    CJointNode(CBoundCond* cond, double x, double y, double z, CObject* graph, unsigned flags)
        : CBoundNode(cond, x, y, z, graph, flags)
    {
    }
    ~CJointNode() override;

    void Serialize(CArchive& ar) override;
    bool RemoveEdge(CObject* edge) override;
    void DrawSelected() override;
    void SecondarySerial(CArchive& ar) override;
    // True when a joint list holds a record with edges.
    virtual bool IsJoint();

    static constexpr int kJointLists = 6;
    CObList* m_pJoints[kJointLists] = {};
};

class CBoundary : public CEdge {
    DECLARE_SERIAL(CBoundary)
public:
    CBoundary() = default;
    CBoundary(CSNode* first, CSNode* second) : CEdge(first, second) {}
    ~CBoundary() override;

    void Serialize(CArchive& ar) override;
    CBoundCond* GetBC(int index) override;
    CLoad* GetLoad() override { return m_pLoad; }
    // The subdivisions turn the conditions into the edge's direction and
    // turn springs per unit length on the new sub-nodes into nodal springs.
    CObList* SubDivide() override;
    CObList* SubDivide(CVector* steps) override;
    CObList* SubDivideGeom(double ratio, int n) override;
    CObList* SubDivideLin(double ratio, int n) override;
    CObList* SubDivideSeg(int n, bool force) override;
    CObList* SubDivideLength(double h, bool force) override;
    virtual void ClearBC(int index);

    void SetBC(unsigned type, int index);
    void SetBC(CBoundCond& src, int index);
    void SetLoad(CEdgeLoad* load);
    void DeleteLoad() { SetLoad(nullptr); }
    // Gives every edge of parts (parts of this edge) this edge's conditions
    // and its load restricted to the part.
    void CopyProperties(CObList& parts);
    // The same for this edge as a part of source.
    void CopyProperties(CBoundary* source);

    static double m_dDefaultVal;

    CBoundCond* m_pBC = nullptr;
    CEdgeLoad* m_pLoad = nullptr;

protected:
    CSNode* NewSubNode(double x, double y, double z, CObject* graph, unsigned flags) override;
    CEdge* NewEdge(CSNode* first, CSNode* second) override;

private:
    // Sets every condition's angle to the edge's direction.
    void AlignConditions();
    // Runs a subdivision and scales the springs of the sub-nodes it made.
    template <class F>
    CObList* Subdivided(F&& run);
    // This edge's load restricted to the parameters t1, t2 and tm; a local
    // load stays local, turned round on a piece that runs backwards.
    CEdgeLoad* RestrictedLoad(double t1, double t2, double tm) const;

    std::vector<CSNode*> m_madeSubNodes;
};

class CDOFLink : public CNodeLink {
    DECLARE_SERIAL(CDOFLink)
public:
    CDOFLink() = default;
    CDOFLink(CSNode* first, CSNode* second) : CNodeLink(first, second) {}
    ~CDOFLink() override;

    void Serialize(CArchive& ar) override;
    // The link with a closed arrow head at node 2, into the caller's lines.
    void GLLine(bool flag, CSNode* from) override;
    using CEdge::GLLine;
    bool DrawsChord() const override { return false; }
    CBoundCond* GetBC(int index) override;
    virtual void ClearBC(int index);

    void SetBC(unsigned type, int index);
    void SetBC(CBoundCond& src, int index);
    void CopyProperties(CObList& links);

    CBoundCond* m_pBC = nullptr;

protected:
    CEdge* NewEdge(CSNode* first, CSNode* second) override;
};
