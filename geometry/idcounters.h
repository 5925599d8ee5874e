// CIdentifierCounters: saves the three identifier counters of the geometry
// graph (graphs, nodes, edges) and writes them back when it goes out of
// scope, however the scope is left. Mesh operations and stored meshes use it
// so that their temporary objects never use up the model's identifiers.
#pragma once

#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"

class CIdentifierCounters {
public:
    CIdentifierCounters()
        : m_graph(CGraph::lIDGraph), m_node(CSNode::lIDnode), m_edge(CEdge::lIDedge)
    {
    }
    ~CIdentifierCounters() { Restore(); }
    CIdentifierCounters(const CIdentifierCounters&) = delete;
    CIdentifierCounters& operator=(const CIdentifierCounters&) = delete;

    // Writes the saved values back now (and again at the end of the scope).
    void Restore() const
    {
        CGraph::lIDGraph = m_graph;
        CSNode::lIDnode = m_node;
        CEdge::lIDedge = m_edge;
    }

private:
    DWORD m_graph;
    DWORD m_node;
    DWORD m_edge;
};
