// A modelling view over a model of square regions, as a program makes one:
// its document (the undo tests' one) holds the composite and the node list,
// the view owns an area helper, draws the model and names its nodes, edges
// and regions for picking. Shared by the view tests and the selection
// benchmark.
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
#include "tests/framira/undo_model.h"

// The document of the undo tests, logging its counter switches, undo
// copies and rotations.
class CModViewDoc : public CUndoDoc
{
public:
    void ModelChanged(CSectComp*) override {}
    void UpdateStatics(bool restore) override
    {
        log.push_back(restore ? "statics in" : "statics out");
        CUndoDoc::UpdateStatics(restore);
    }
    void UpdateUndo(bool take) override
    {
        log.push_back("undo");
        CUndoDoc::UpdateUndo(take);
    }
    void Rotate(double angle, double cx, double cy, unsigned mode, bool update) override
    {
        rotations.push_back({angle, cx, cy});
        CUndoDoc::Rotate(angle, cx, cy, mode, update);
    }

    // The square region (x0, y0) - (x0 + s, y0 + s).
    CSectArea* AddSquare(double x0, double y0, double s)
    {
        AddRegion(x0, y0, x0 + s, y0 + s);
        return static_cast<CSectArea*>(m_pSectComp->CObList::GetTail());
    }
    // A mesh of n x n unit squares sharing their nodes and edges. Every
    // node is new, so the node list takes them in one append (AddNode's
    // duplicate search would make the build quadratic).
    void AddMesh(int n)
    {
        std::vector<CSNode*> grid(static_cast<size_t>((n + 1) * (n + 1)));
        auto at = [&](int i, int j) -> CSNode*& { return grid[static_cast<size_t>(j * (n + 1) + i)]; };
        std::vector<CSNode*> fresh;
        fresh.reserve(grid.size());
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                auto* area = new CUndoArea;
                const int ci[4] = {i, i + 1, i + 1, i}, cj[4] = {j, j, j + 1, j + 1};
                CSNode* c[4];
                for (int k = 0; k < 4; ++k) {
                    CSNode*& node = at(ci[k], cj[k]);
                    if (!node) {
                        node = area->NewNode(ci[k], cj[k], 0.0);
                        fresh.push_back(node);
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
        m_pNodeList->Reserve(m_pNodeList->m_nCount + static_cast<int>(fresh.size()));
        for (CSNode* node : fresh)
            m_pNodeList->m_pNodes[m_pNodeList->m_nCount++] = node;
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
