// A modelling view over a model of square regions, as a program makes one:
// its document holds the composite and the node list, the view owns an
// area helper, draws the model and names its nodes, edges and regions for
// picking. Shared by the view tests and the selection benchmark; include it
// in one source file of a program (it defines run-time records).
#pragma once

#include <GL/gl.h>

#include <string>
#include <vector>

#include "framework/geomhlpr.h"
#include "framework/kor2dmodview.h"
#include "framework/kordoc.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "sections/regions/sectarea.h"
#include "sections/regions/sectcomp.h"

// A region that copies into its own class (the document's undo copies it).
class CModViewArea : public CSectArea
{
    DECLARE_SERIAL(CModViewArea)
public:
    CModViewArea() = default;
    CGraph* Copy(bool keepID) override { return new CModViewArea(*this, keepID); }

protected:
    CModViewArea(const CModViewArea& source, bool keepID) : CSectArea(source, keepID) {}
};
IMPLEMENT_SERIAL(CModViewArea, CSectArea, 1)

class CModViewComp : public CSectComp
{
    DECLARE_SERIAL(CModViewComp)
public:
    CModViewComp() = default;
    void ResetParam() override {}
    void RemoveNode(CSNode*) override {}
    void PickDrawResGL(int, bool) override {}
    bool PreCalc(CStringArray*, CStringArray*, int) override { return false; }
    bool Calculate(CStringArray*, CStringArray*) override { return false; }
};
IMPLEMENT_SERIAL(CModViewComp, CSectComp, 1)

// The document: owns the model and its node list (the global one while it
// lives) and logs its counter switches, undo copies and rotations.
class CModViewDoc : public KorDocSectComp
{
public:
    CModViewDoc()
    {
        m_bAutoDelete = FALSE;
        m_pSectComp = new CModViewComp;
        m_pNodeList = new NODELIST;
        CGraph::m_pNodeList = m_pNodeList;
    }
    ~CModViewDoc() override
    {
        ReleaseCopies();
        DeleteNodeList(m_pNodeList);
        delete m_pSectComp;
        CGraph::m_pNodeList = nullptr;
    }
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
    void ModelChanged(CSectComp*) override {}
    void UpdateStatics(bool restore) override
    {
        log.push_back(restore ? "statics in" : "statics out");
        KorDocSectComp::UpdateStatics(restore);
    }
    void UpdateUndo(bool take) override
    {
        log.push_back("undo");
        KorDocSectComp::UpdateUndo(take);
    }
    void Rotate(double angle, double cx, double cy, unsigned mode, bool update) override
    {
        rotations.push_back({angle, cx, cy});
        KorDocSectComp::Rotate(angle, cx, cy, mode, update);
    }

    // A square region (x0, y0) - (x0 + s, y0 + s) of new nodes.
    CSectArea* AddSquare(double x0, double y0, double s)
    {
        auto* area = new CModViewArea;
        CSNode* n[4] = {area->NewNode(x0, y0, 0.0), area->NewNode(x0 + s, y0, 0.0),
                        area->NewNode(x0 + s, y0 + s, 0.0), area->NewNode(x0, y0 + s, 0.0)};
        for (int i = 0; i < 4; ++i)
            area->ConnectNodes(n[i], n[(i + 1) % 4]);
        m_pSectComp->AddTail(area);
        for (CSNode* node : n)
            m_pNodeList->AddNode(node);
        return area;
    }
    // A mesh of n x n unit squares sharing their nodes and edges.
    void AddMesh(int n)
    {
        std::vector<CSNode*> grid(static_cast<size_t>((n + 1) * (n + 1)));
        auto at = [&](int i, int j) -> CSNode*& { return grid[static_cast<size_t>(j * (n + 1) + i)]; };
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                auto* area = new CModViewArea;
                const int ci[4] = {i, i + 1, i + 1, i}, cj[4] = {j, j, j + 1, j + 1};
                CSNode* c[4];
                for (int k = 0; k < 4; ++k) {
                    CSNode*& node = at(ci[k], cj[k]);
                    if (!node) {
                        node = area->NewNode(ci[k], cj[k], 0.0);
                        m_pNodeList->AddNode(node);
                    } else {
                        area->NewNode(node);
                    }
                    c[k] = node;
                }
                for (int k = 0; k < 4; ++k)
                    if (!CGraph::GetComEdge(c[k], c[(k + 1) % 4]))
                        area->ConnectNodes(c[k], c[(k + 1) % 4]);
                m_pSectComp->AddTail(area);
            }
    }

    std::vector<std::string> log;
    struct Turn {
        double angle, cx, cy;
    };
    std::vector<Turn> rotations;
};

class CModTestView : public KorAreaModView
{
public:
    CModTestView() { m_pGeomHlpr = new KorAreaGeomHlpr; }
    ~CModTestView() override
    {
        for (CSNode* node : points)
            delete node;
    }

    bool Make(int cx = 800, int cy = 600)
    {
        return Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), nullptr, 1) != FALSE;
    }
    void InitialUpdate() { OnInitialUpdate(); }
    CSectComp* Model() { return static_cast<CModViewDoc*>(GetDocument())->m_pSectComp; }

    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
    CObList* GetMoveList() override { return moveList; }
    void NewTmpNode(bool second, CSNode* node) override
    {
        static_cast<CModViewDoc*>(GetDocument())->log.push_back(second ? "point 2" : "point 1");
        points.push_back(node);
    }
    CSNode* GetRefNode(int which) override { return which == 0 ? anchor : alternative; }
    void FindModelExtents() override
    {
        double xmax, ymax, xmin, ymin;
        Model()->GetMaxMinCoord(xmax, ymax, xmin, ymin);
        SetMaxMin(xmax, ymax, 4);
        SetMaxMin(xmin, ymin, 2);
    }
    bool DrawDynamicScene() override
    {
        Model()->DrawEdgesGL(false, true);
        return KorAreaModView::DrawDynamicScene();
    }
    bool DynamicPickDraw(unsigned type) override
    {
        Model()->PickDrawAddressGL(static_cast<int>(type));
        return true;
    }
    void PostNcDestroy() override {}

    CSNode* anchor = nullptr;
    CSNode* alternative = nullptr;
    CObList* moveList = nullptr;
    std::vector<CSNode*> points; // owned
};
