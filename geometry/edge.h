// CEdge: the line between two nodes of the geometry graph, with its
// subdivision points, splitting, 2D intersection, the clockwise cell walk
// and its DXF form. CNodeLink: an edge that only links two nodes; it never
// intersects and never bounds a cell.
#pragma once

#include "geometry/snode.h"

// Grading rule of CEdge::SubDivide(): 0 linear, 1 geometric, 2 constant,
// other values the mean-size rule.
extern int iProgresjon;

class CEdge : public CObject {
    DECLARE_SERIAL(CEdge)
public:
    CEdge();
    CEdge(CSNode* first, CSNode* second);
    ~CEdge() override;
    CEdge(const CEdge&) = delete;
    CEdge& operator=(const CEdge&) = delete;

    // --- virtual operations
    void Serialize(CArchive& ar) override;
    virtual bool IsNodeInDef(CSNode* node) const;
    virtual void GetNodes(CObList& out);
    virtual void GL_Draw(COGLDrawCommand* command);
    // Second node minus first, scaled to len when len is not 0.
    virtual void DirVect(double& dx, double& dy, double& dz, double len);
    virtual void Init(CSNode* first, CSNode* second);
    // 0 none, 1 crossing, 2 touching or overlapping.
    virtual short Intersection2D(CEdge* other, CSNode* from);
    virtual void GLLine(bool flag, CSNode* from);
    virtual void GLLine(double& dx, double& dy, double& dz, bool flag, CSNode* from);
    virtual bool IsLinear() const;
    virtual void DrawEdgeNameGL();
    // Moves p (x and y) to the foot of the perpendicular on the line.
    virtual void GetPerpendicular2D(CSNode& p);
    virtual CBoundCond* GetBC(int index);
    virtual CLoad* GetLoad();
    virtual CObList* SubDivide();
    virtual CObList* SubDivide(CVector* steps);
    virtual CObList* SubDivideGeom(double ratio, int n);
    virtual CObList* SubDivideLin(double ratio, int n);
    virtual void SetDirNode(CSNode* node);
    virtual void DrawGL(bool flag, CSNode* from);
    virtual void DrawAxisGL(double scale);
    virtual void SetNewNode(CSNode* replacement, CSNode* replaced);
    virtual void Reset();
    virtual CObList* SubDivideSeg(int n, bool force);
    virtual CObList* SubDivideLength(double h, bool force);
    virtual bool Split(CSNode* mid, CEdge*& first, CEdge*& second, CObList* removed);
    virtual void Split(CObList*& created, int n);
    virtual void Split(CSNode* mid);
    virtual void SplitLength(CObList*& created, double h);
    // A new edge of this edge's kind; null for null or equal nodes.
    virtual CEdge* Copy(CSNode* first, CSNode* second);
    virtual double GetLength() const;
    // Offers the length to both nodes as wanted size.
    virtual void Update();
    virtual bool IsCellEdge() const;
    virtual void DrawDFX(CString layer, CFile* file);
    // True when GLLine draws nothing but the segment between the two nodes
    // (a pick cull may then judge the edge by its nodes' box).
    virtual bool DrawsChord() const { return true; }

    // --- flags and identity
    void SetCellEdge(bool on) { m_bCellEdge = on; }
    void SetTraversed(bool on) { m_bTraversed = on; }
    bool IsTraversed() const { return m_bTraversed; }
    DWORD& GetID() { return m_ulID; }
    void SetID(unsigned long id) { m_ulID = static_cast<DWORD>(id); }

    // --- nodes
    CSNode* GetNode1() const { return m_pNode1; }
    CSNode* GetNode2() const { return m_pNode2; }
    void GetNodes(CSNode*& first, CSNode*& second) const;
    // The other end; null when node is neither end.
    CSNode* GetNode(const CSNode* node) const;

    // --- directions and angles
    void DirVect2D(double& dx, double& dy, double len) const;
    void DirVect2DAdd(double& x, double& y, double len) const;
    // Bearing from 'from' (null: the first node) to the other end, clockwise
    // from +y in [0, 2 pi); false with 0 for a zero-length edge.
    bool Get2DAngle(const CSNode* from, double& angle) const;
    double GetCClWAngle() const;
    double GetCClWAngle(CSNode*& start) const;
    bool Next2DEdgeClW(CSNode*& node, CEdge*& edge, double& turn);

    // --- geometry
    static short Intersection2D(double** seg1, double** seg2);
    bool IsOnEdge2D(CSNode* p);
    CSNode* GetPerpendicular2D(CSNode* p);

    // --- sub-nodes
    CObList* GetSubNodeList() const { return m_pSubNodeList; }
    int GetSubNodeCount() const { return m_pSubNodeList ? m_pSubNodeList->GetCount() : 0; }
    void RemoveSubNodeList();
    void GLSubVertices() const;

    static DWORD lIDedge;
    static BYTE m_cVer;

protected:
    virtual CObList* SubDivideGeom(double h1, double* const p1, double h2, double* const p2);
    virtual CObList* SubDivideLin(double h1, double* const p1, double h2, double* const p2);
    virtual CSNode* NewSubNode(double x, double y, double z, CObject* graph, unsigned flags);
    virtual CEdge* NewEdge(CSNode* first, CSNode* second);

    // Joins both nodes: offers the length as wanted size, enters the lists.
    void Attach();
    void Detach();
    CObList* SubDivideMean(double h1, double* const p1, double h2, double* const p2);
    // Discards the sub-nodes and starts an empty list.
    CObList* FreshSubNodeList();
    void AppendSubNode(double x, double y, double z);

    bool m_bCellEdge = true;
    bool m_bTraversed = false;
    CObList* m_pSubNodeList = nullptr;
    DWORD m_ulID;
    CSNode* m_pNode1 = nullptr;
    CSNode* m_pNode2 = nullptr;
};

// While a batch is open on a thread, the edges that thread makes or
// re-attaches join their nodes only when the batch closes (or is flushed):
// then each node takes all its new edges in one sorted merge
// (CSNode::AddEdges), and the lists and wanted sizes end as joining them one
// by one would leave them. Made one by one, n edges at one node cost n^2
// bearing comparisons; a reader that makes many edges on shared nodes opens
// a batch. Until the flush the new edges are missing from their nodes'
// lists. An edge deleted before the flush is forgotten.
class CEdgeAttachBatch {
public:
    CEdgeAttachBatch();
    ~CEdgeAttachBatch();
    CEdgeAttachBatch(const CEdgeAttachBatch&) = delete;
    CEdgeAttachBatch& operator=(const CEdgeAttachBatch&) = delete;

    void Flush();

private:
    friend class CEdge;
    // The open batch of this thread, or null.
    static CEdgeAttachBatch*& Open();
    // Takes the edge with the length it offers its nodes as wanted size.
    void Add(CEdge* edge, double length) { m_edges.push_back({edge, length}); }
    // Whether the edge waited here (it no longer does).
    bool Forget(CEdge* edge);

    struct Pending {
        CEdge* edge;
        double length;
    };
    std::vector<Pending> m_edges;
    CEdgeAttachBatch* m_pOuter;
};

class CNodeLink : public CEdge {
    DECLARE_SERIAL(CNodeLink)
public:
    CNodeLink(CSNode* first, CSNode* second);
    ~CNodeLink() override;

    void Serialize(CArchive& ar) override;
    using CEdge::Intersection2D;
    short Intersection2D(CEdge* other, CSNode* from) override;
    bool IsLinear() const override { return false; }
    bool IsCellEdge() const override { return false; }

    DWORD m_ulValue = 0; // link value, archived and copied into new links

protected:
    CNodeLink() = default;
    CEdge* NewEdge(CSNode* first, CSNode* second) override;
};
