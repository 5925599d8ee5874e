// The smallest model for the document's undo and redo: a composite of
// square regions whose nodes join a node list, and a document over it. Shared by the document and
// view tests and the undo and selection benchmarks; one source file of each
// program expands BRANTEL_UNDO_MODEL_RECORDS() for the classes' run-time
// records.
#pragma once

#include "framework/kordoc.h"
#include "geometry/geomtools.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

// A region that copies into its own class.
class CUndoArea : public CSectArea
{
    DECLARE_SERIAL(CUndoArea)
public:
    CUndoArea() = default;
    CGraph* Copy(bool keepID) override { return new CUndoArea(*this, keepID); }

protected:
    CUndoArea(const CUndoArea& source, bool keepID) : CSectArea(source, keepID) {}
};

// The composite with empty hooks.
class CUndoComp : public CSectComp
{
    DECLARE_SERIAL(CUndoComp)
public:
    CUndoComp() = default;
    void ResetParam() override {}
    void RemoveNode(CSNode*) override {}
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }
};

// The run-time records of the two classes.
#define BRANTEL_UNDO_MODEL_RECORDS()                                                               \
    IMPLEMENT_SERIAL(CUndoArea, CSectArea, 1)                                                      \
    IMPLEMENT_SERIAL(CUndoComp, CSectComp, 1)

// Adds the rectangle (x0, y0) - (x1, y1) as a region (area, else a new
// CUndoArea); its nodes join nodes.
inline void AddSquareRegion(CSectComp& model, NODELIST& nodes, double x0, double y0, double x1,
                            double y1, CSectArea* area = nullptr)
{
    if (!area)
        area = new CUndoArea;
    CSNode* a = area->NewNode(x0, y0, 0.0);
    CSNode* b = area->NewNode(x1, y0, 0.0);
    CSNode* c = area->NewNode(x1, y1, 0.0);
    CSNode* d = area->NewNode(x0, y1, 0.0);
    area->ConnectNodes(a, b);
    area->ConnectNodes(b, c);
    area->ConnectNodes(c, d);
    area->ConnectNodes(d, a);
    model.AddTail(area);
    for (CSNode* n : {a, b, c, d})
        nodes.AddNode(n);
}

// A document as a program makes it: it owns the model and its node list,
// and makes its list the global one.
class CUndoDoc : public KorDocSectComp
{
public:
    CUndoDoc()
    {
        m_bAutoDelete = FALSE; // lives on the caller's stack
        m_pSectComp = new CUndoComp;
        m_pNodeList = new NODELIST;
        CGraph::m_pNodeList = m_pNodeList;
    }
    ~CUndoDoc() override
    {
        ReleaseCopies();
        DeleteNodeList(m_pNodeList);
        delete m_pSectComp;
        CGraph::m_pNodeList = nullptr;
    }
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}

    void AddRegion(double x0, double y0, double x1, double y1, CSectArea* area = nullptr)
    {
        AddSquareRegion(*m_pSectComp, *m_pNodeList, x0, y0, x1, y1, area);
    }
};
