// CGraph: an ordered list of shared nodes with an identifier and a name.
// Edges hang off the nodes. A node is in a graph's list exactly when the
// graph is in the node's graph list; a graph's own nodes are those whose
// primary (first) graph it is, and an edge is visited once, from its first
// node. The graph owns the nodes that belong to it alone.
#pragma once

#include "geometry/edge.h"
#include "glstyle/pickcull.h"
#include "glstyle/pickindex.h"

#include <vector>

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
    // Selection drawing: what & 4 edges, & 2 nodes, & 1 the whole graph.
    // By identifiers here, by the selection-name table in the address form.
    virtual void PickDrawGL(bool flag, int what);
    virtual void PickDrawAddressGL(int what);
    // The box of the listed nodes (empty without nodes).
    CPickBox NodeBox() const;
    // True when the active pick cull misses everything that
    // PickDrawAddressGL(what) draws of the listed nodes and, with what & 4,
    // of the edges starting at own nodes (judged only when they draw their
    // segment alone). A fill within the listed nodes is covered too.
    bool PickMisses(int what) const;
    // Grows box by everything PickDrawAddressGL may draw (here the listed
    // nodes and the far ends of the edges starting at own nodes); false when
    // that is not known (an edge that draws more than its segment). A class
    // whose PickDrawAddressGL draws anything else overrides this too.
    virtual bool GrowPickBox(CPickBox& box) const;
    // Grows box by the listed nodes and, with withEdges, by the far ends of
    // the edges starting at them (own nodes only with ownEdgesOnly); false
    // when such an edge draws more than its segment.
    bool GrowNodesAndChordsBox(CPickBox& box, bool withEdges, bool ownEdgesOnly) const;
    // The names PickDrawAddressGL(7) loads, in its order, with their kinds;
    // PickDrawAddressGL(what) loads those whose kind is in what. False when
    // that is not known. Overridden together with PickDrawAddressGL.
    virtual bool ListPickNames(std::vector<CPickName>& out) const;
    virtual void DrawModelGL(bool quads, float pointSize, bool all);
    virtual void DrawEdgesGL(bool quads, bool all);
    // Nothing for point size 0; colour glcInvBckGrnd when none is given.
    virtual void DrawNodesGL(float pointSize, bool all, float* colour);
    // One closed walk from edge at node; null when it fails, is not of the
    // asked kind or (with limit) leaves the limiting graph.
    virtual CObList* Find2DCells(CSNode* node, CEdge* edge, bool inner, CGraph* limit);
    // The cells through node (a list of edge lists), or null.
    virtual CObList* Find2DCells(CSNode* node, bool inner);
    // Every cell once: inner cells, or the outer boundary; null when none.
    // The caller owns the lists, not the edges in them.
    virtual CObList* Find2DCells(bool inner);
    virtual CGraph* Copy(bool keepID);
    virtual void ReleaseCopyNodes(bool deep);
    // Clears the cell-edge flags of the dangling chain ending at node.
    virtual void PreFind2DCell(CSNode* node);
    virtual void PreFind2DCell();
    // Calls f for every node of the graph (own nodes only, when ownOnly).
    template <class F>
    void ForEachNode(bool ownOnly, F f) const;
    // Calls f for every edge that starts at a node of the graph (own nodes
    // only, when ownOnly).
    template <class F>
    void ForEachEdge(bool ownOnly, F f) const;
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
    // Moves the other graph's nodes behind this graph's own and deletes it.
    virtual bool Union(CGraph* other);
    virtual void ASCIIExportGraph(CFile& file, CStringArray& keys, int* options, int nOptions,
                                  double* values, int nValues);
    // Reads one keyword block; the node count afterwards, 0 without the
    // start key (nothing changed).
    virtual int ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                               int nValues, CObList* list);
    virtual CEdge* GetEdge(int shortest);
    virtual void GetNodes(CObList& out);
    virtual void GLDrawNodeLinks(bool unused);
    virtual void GetLinks(CObList& out);
    virtual void AddLinksToCopyNodes();
    virtual void DrawEdgeNameGL();
    virtual void DrawNameGL();
    virtual void GetMeanCoord(double* out, int n, int first);
    virtual unsigned long GetMaxID(unsigned flags);
    virtual CEdge* CreateEdge(CSNode* a, CSNode* b);
    virtual CSNode* CreateNode(double x, double y, double z);
    virtual int RmSolitaryNodes(bool destroy);
    virtual CSNode* FindOverlap(CSNode* node, POSITION start);
    virtual void InsertNodesInList(NODELIST& list, bool ownOnly, int& count);
    // Puts the nodes into a minimum-degree elimination order.
    virtual void MinDegReorder(bool destroy);
    virtual void DrawNodeNumbers();
    virtual void GLDrawLoadedNodes();
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

    // --- planar topology
    // 0 no common point, 1 a proper crossing, 2 touching or overlapping.
    short Intersection2D(CEdge* edge, bool byEdges, CObList* hits);
    // Replaces the corner of two edges by an arc: 1, or a negative code
    // (-1 no common node, -2 corner without exactly two edges, -3 no next
    // edge, -4 offset lines meet outside, -5 parallel, -6 radius not
    // positive, -7 unknown mode). On success arc is a new list of new nodes.
    static int PreFilletEdges(CEdge* e1, CEdge* e2, int segments, int mode, double radius,
                              CObList*& arc, CSNode*& corner);
    static void ConvexHull(CObList* nodes, CObList& hull);
    static bool IsPointInside2D(CObList& polygon, double x, double y);
    static bool IsPointInsideNonCell2D(CObList* nodes, double x, double y);
    static bool IsCClW(CObList* polygon);
    static void MakeHead(CSNode* node, CObList* list);
    static void MakeTail(CSNode* node, CObList* list);
    static void CircleNodes(CObList* out, CSNode* start, CSNode* centre, int n, int mode);
    static void FunctionNodes(CObList* out, CSNode* a, CSNode* b, double c0, double c1, double c2,
                              double c3, double c4, int n, bool unused);

    // --- exchange and drawing
    // One DXF LINE entity per edge between two nodes of the graph.
    void DrawDXF(CFile* file);
    void GLDrawEdges(bool quads, bool all);
    void GLDrawNodes(bool all, float* colour);
    void DrawSubNodesGL();
    void DrawNodeLoads(double* scale);

    static DWORD lIDGraph;

protected:
    // The edges starting at own nodes, then the own nodes, as
    // PickDrawAddressGL loads their names.
    void ListEdgeAndNodeNames(std::vector<CPickName>& out) const;

public:
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
    // Loading: one entry of the node list, which joins the graph at once;
    // anything but a node not yet listed is refused.
    CObject* ReadListedNode(CArchive& ar);
};

template <class F>
void CGraph::ForEachNode(bool ownOnly, F f) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        if (!ownOnly || IsOwnNode(node))
            f(node);
    }
}

template <class F>
void CGraph::ForEachEdge(bool ownOnly, F f) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        CObList* edges = node->GetEdgeList();
        if (!edges || (ownOnly && !IsOwnNode(node)))
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            if (edge->GetNode1() == node)
                f(edge);
        }
    }
}
