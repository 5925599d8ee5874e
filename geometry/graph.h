// CGraph: an ordered list of shared nodes with an identifier and a name.
// Edges hang off the nodes. A node is in a graph's list exactly when the
// graph is in the node's graph list; a graph's own nodes are those whose
// primary (first) graph it is, and an edge is visited once, from its first
// node. The graph owns the nodes that belong to it alone.
#pragma once

#include "geometry/edge.h"

class CGraph : public CObList {
    DECLARE_SERIAL(CGraph)
public:
    CGraph();
    ~CGraph() override;
    // A copy with a new identifier, named "Copy of " + the source's name.
    CGraph(const CGraph& source);

    // --- virtual operations
    // The node list, then the name; loading adds the graph to every node.
    void Serialize(CArchive& ar) override;
    virtual int CountEdges(bool all);
    virtual bool ReplaceNode(CSNode* oldNode, CSNode* newNode, bool deleteOld);
    virtual void NewNode(CSNode* node);
    virtual CSNode* NewNode(double x, double y, double z);
    virtual CObject* GetObject(unsigned long id, bool flag);
    virtual CEdge* ConnectNodes(CSNode* a, CSNode* b);
    virtual CEdge* ConnectNodes(CSNode* a, double x, double y, double z);
    virtual CEdge* ConnectNodes(double x1, double x2, double y1, double y2, double z1, double z2);
    virtual CGraph* Copy(bool keepID);
    virtual void ReleaseCopyNodes(bool deep);
    virtual void OnEdges(void (*f)(CEdge*), bool ownOnly);
    virtual void OnEdges(void (*f)(CObject*, void*), void* user, bool ownOnly);
    virtual void GetMaxMinExt(double* max, double* min);
    virtual void OnNodes(void (*f)(CSNode*, void*), void* user);
    virtual void OnNodes(void (*f)(CSNode*), bool ownOnly);
    virtual void SecondarySerial(CArchive& ar);
    virtual void SortNodes();
    virtual void SerializeNodeIDs(CArchive& ar);
    virtual void IsDangling(CObList& nodes);
    virtual void GetSolitaryNodes(CObList& out);
    virtual void RenumberNodes(long& next, long step);
    virtual void PreMult(CMatrix& m, CVector& work, double cx, double cy, double cz, bool update);
    virtual CEdge* GetEdge(int shortest);
    virtual void GetNodes(CObList& out);
    virtual void GetLinks(CObList& out);
    virtual void AddLinksToCopyNodes();
    virtual void GetMeanCoord(double* out, int n, int first);
    virtual unsigned long GetMaxID(unsigned flags);
    virtual CEdge* CreateEdge(CSNode* a, CSNode* b);
    virtual CSNode* CreateNode(double x, double y, double z);
    virtual int RmSolitaryNodes(bool destroy);
    virtual CSNode* FindOverlap(CSNode* node, POSITION start);
    virtual void InsertNodesInList(NODELIST& list, bool ownOnly, int& count);
    virtual bool SameNodes(CObList* nodes);
    virtual void ConnectedGraphs(CObList* out);
    virtual bool RemoveNode(CSNode* node);
    virtual bool AddNode(CSNode* after, CSNode* node, CSNode* before);
    virtual bool IsEdgeInGraph(CEdge* edge);

    // --- identity and name
    unsigned long GetID() const { return m_ulID; }
    void SetID(unsigned long id) { m_ulID = static_cast<DWORD>(id); }
    CString GetName() const { return m_strName; }
    void SetName(CString name) { m_strName = name; }
    CObject* GetObjectFromString(CString name);

    // --- list access
    CSNode* GetHeadNode() const { return static_cast<CSNode*>(GetHead()); }
    CSNode* GetTailNode() const { return static_cast<CSNode*>(GetTail()); }
    CSNode* GetNextNode(POSITION& pos) const { return static_cast<CSNode*>(GetNext(pos)); }
    CSNode* GetPrevNode(POSITION& pos) const { return static_cast<CSNode*>(GetPrev(pos)); }
    CSNode* GetNodeAt(POSITION pos) const { return static_cast<CSNode*>(GetAt(pos)); }
    int FindIndex(CObject* node) const;
    using CObList::FindIndex;
    CSNode* GetNode(int i) const;
    // The next own node from pos on (pos moves past it); null at the end.
    CSNode* GetNextPrGrNode(POSITION& pos) const;
    bool IsOwnNode(const CSNode* node) const;

    // --- membership helpers
    static void SwitchNode(CSNode* oldNode, CSNode* newNode);
    static void GetGraphList(CObList& out, CObList& nodes);
    static void GetEdgeNodes(CObList& out, CObList& edges);

    // --- edges
    // The edge joining a and b, or null.
    static CEdge* GetComEdge(CSNode* a, CSNode* b);
    void GetEdges(CObList& out);
    void GetDist(double& max, double& min);
    int RemoveDoubleEdges();
    void ResetCellEdge();
    void SubDivide();
    void SetNodSpace(double spacing, bool force);
    void Update(bool unused, bool resetSize);

    // --- measures
    void GetMaxMin(double& xmax, double& ymax, double& xmin, double& ymin);
    static void GetMaxMin(CObList& nodes, double& xmax, double& ymax, double& xmin, double& ymin);

    // --- transforms
    void Translate(double dx, double dy, double dz, bool all);
    void Rotate(double angle, double c1, double c2, unsigned axis, bool update, bool all);

    static DWORD lIDGraph;
    static BYTE m_cVer;
    static NODELIST* m_pNodeList;

protected:
    CGraph(const CGraph& source, bool keepID);

    DWORD m_ulID;
    CString m_strName;

private:
    // Both second passes: true when loading meets no data at all (an older
    // file without the pass).
    static bool PassMissing(CArchive& ar);
    // Loading: adds the graph to every node of the list read; drops and
    // reports (false) entries that are not nodes.
    bool AdoptLoadedNodes();
};
