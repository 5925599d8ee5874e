// CSNode: the point of the geometry graph. A node knows its edges (sorted by
// bearing) and the graphs it belongs to; the first graph of its list is its
// primary graph. The class also owns the identifier counter of nodes.
//
// Identifiers: nodes 1 .. 100000000 (CSNode::lIDnode), edges and node links
// 100000001 .. 4000000000 (CEdge::lIDedge), graphs above 4000000000
// (CGraph::lIDGraph). Every constructor takes the next value of its counter;
// the node counter never hands out more than CSNode::kLastID.
#pragma once

#include <vector>

#include "geometry/geomtools.h"
#include "matrix/zelkor.h"

class CEdge;
class CBoundCond;
class CLoad;

class CSNode : public CObject {
    DECLARE_SERIAL(CSNode)
public:
    CSNode();
    CSNode(double x, double y, double z, CObject* graph, unsigned flags);
    ~CSNode() override;
    CSNode(const CSNode&) = delete;
    CSNode& operator=(const CSNode&) = delete;

    // --- virtual operations
    void Serialize(CArchive& ar) override;
    // Each edge's vertices (every edge with all, else those starting here),
    // inside the caller's primitive; the second form adds the offset to end
    // nodes whose flag 64 is set.
    virtual void GLLines(double& dx, double& dy, double& dz, bool flag, bool all);
    virtual void GLLines(bool flag, bool all);
    // Each edge drawn once, by its first node.
    virtual void DrawEdgesGL(bool flag);
    virtual bool RemoveEdge(CObject* edge);
    virtual void RemoveGraphList();
    virtual void AddGraph(CObject* graph);
    virtual bool RemoveGraph(CObject* graph);
    virtual void Translate(double dx, double dy, double dz, bool updateEdges);
    virtual CSNode* Copy(bool keepID);
    virtual void OnNode(void (*fn)(CSNode*));
    virtual void DrawSelected();
    // Second archive pass of the graphs; nothing for a plain node.
    virtual void SecondarySerial(CArchive& ar);
    virtual CObject* GetComGraph(CSNode* other);
    virtual void ReplaceWith(CSNode* other);
    virtual unsigned long GetMaxEdgeID();
    // Coordinates := m (3 x 3) times coordinates; work receives the old ones.
    virtual void PreMult(CMatrix& m, CVector& work);
    virtual void UnitVectAdd3d(CSNode* to, double v[3], double length);
    virtual void UnitVect3d(CSNode* to, double v[3], double length);
    virtual void DrawLoad(double* scale);
    virtual CLoad* GetLoad();
    virtual CBoundCond* GetBC(int index);
    // Factory of nodes of this node's kind (copies, splits).
    virtual CSNode* NewNode(double x, double y, double z, CObject* graph, unsigned flags);
    virtual void ConnectedGraphs(CObList* graphs, CObList* visited);

    // --- identity and lists
    DWORD& GetID() { return m_ulID; }
    void SetID(unsigned long id) { m_ulID = static_cast<DWORD>(id); }
    CObList* GetEdgeList() const { return m_pEdgeList; }
    CObList* GetGraphList() const { return m_pGraphList; }
    CObject* GetPrimaryGraph() const;
    int GetGraphCount() const { return m_pGraphList ? m_pGraphList->GetCount() : 0; }
    int IsGraphInList(CObject* graph) const;
    bool IsConnected() const { return m_pEdgeList && !m_pEdgeList->IsEmpty(); }
    CSNode* GetCopyNode() const { return m_pCopyNode; }
    void SetCopyNode(CSNode* node) { m_pCopyNode = node; }
    void RemoveCopyNode(bool both);
    CVector* GetValueVector() const { return m_pValues; }
    double GetSNodSpace() const { return m_dSpace; }

    // --- coordinates
    void SetNodeCoord(double x, double y, double z);
    void SetNodeCoord(CVector& v);
    void GetVertex(double& x, double& y, double& z) const;
    void GetVertex(double& x, double& y) const;
    void GetVertex(CVector& v) const;
    double* GetVertex() { return &x; }

    // --- values
    double GetValue(int i) const;
    void SetValue(double v, int i);
    void AllocateValue(int n);

    // Stores h when forced, unset (0.0) or smaller; returns whether it did.
    bool SetSNodSpace(double h, bool force);

    // --- edges
    void AddEdge(CObject* edge);
    // New edges, none of them listed yet, added as AddEdge would add them
    // one after the other, but in one sorted merge: a node that takes n
    // edges at once costs n log n bearing comparisons instead of n^2.
    void AddEdges(const std::vector<CObject*>& edges);
    bool RemoveAllEdges();
    CEdge* GetEdge(unsigned long id) const;
    int CountPositiveEdges() const;

    // --- geometry
    void Rotate(double angle, double cx, double cy, double cz, unsigned axis, bool updateEdges);
    void PolarToCart(double scale, int mode);
    bool Compare(const CSNode* other, double factor) const;
    void Update(bool allEdges, bool resetSize);

    // --- structure
    void SetNewNode(CSNode* other, bool deleteThis);
    short Intersection2D(CObject* edge, CObList* touching);

    // --- text import of node blocks: 1 x y z, 2 x y, other: id x y z
    static int ASCIIReadNodes(CFile& file, CObList& nodes, CString startKey, CString endKey,
                              CString* commentKey, int format, bool advance);
    // Restored identifiers must not be drawn again: the counter moves past
    // id unless it already is.
    static void KeepCounterAbove(unsigned long id);
    // The last node identifier; edge identifiers begin right above it.
    static constexpr DWORD kLastID = 100000000;
    // Whether an identifier read from text may be taken: a whole number of
    // the node range whose successor, where the counter then stands, is
    // still a node identifier.
    static bool IsReadableID(double v);
    // Whether a node number stored in a document may be restored: readable,
    // and the counter above it still leaves a new node a number of its own
    // (1 ... kLastID - 2).
    static bool IsStoredID(DWORD id);
    // The identifier of a new node: the counter's value, which then moves on.
    // Once the counter has passed the end of the node range, every new node
    // gets kLastID, never an identifier of the edge range.
    static DWORD TakeID();

    // --- drawing
    void GLVertex() const;
    void DrawNodeGL(float size, float r, float g, float b);
    void DrawSphere(double radius);
    void GLNodeNum() const;

    static DWORD lIDnode;
    static BYTE m_cVer;

    // Fields read and written directly by the users of the graph.
    DWORD m_uiFlags = 0;       // 8: sub-node of a subdivision; 64: drawn displaced
    DWORD m_ulID;
    CVector* m_pValues = nullptr;
    CObList* m_pEdgeList = nullptr;
    CObList* m_pGraphList = nullptr;
    CSNode* m_pCopyNode = nullptr;
    double m_dSpace = 0.0;     // wanted mesh size, 0.0 unset
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

protected:
    // Storing: fields 1 to 5 and the edge list as one object. Loading:
    // fields 1 to 5, then for layout 1 or 2 the edge list object, else one
    // edge count (the caller reads the edges); near-zero coordinates snap.
    virtual void ArchiveOp(CArchive& ar, int layout);

    void ReadFields(CArchive& ar);
    void WriteFields(CArchive& ar);
    void SnapLoaded();
    // Reads an archived edge list object and keeps the edges (which joined
    // this node as they were read), not the list.
    void ReadEdgeListObject(CArchive& ar);
    void SortEdges();
};
