// CViewRestr: the view of the constrained-mesh documents, a 2D view of the
// model in which regions, boundary edges, nodes and elements are picked and
// their dialogs opened.
//
// Selection: a release of the pointer tool within 5 pixels of its press is
// a click, farther a band. Without Ctrl the selection is dropped first; with
// Ctrl the picks are added (and a band with the filter "all" keeps to the
// kind already selected). A double click hands the object under the cursor
// to the document's editor.
#pragma once

#include "app/shell/brantelview.h"

class CViewRestr : public CBrantelView
{
    DECLARE_DYNCREATE(CViewRestr)
public:
    // The geometry input works on regions; new boundary edges are CBoundary
    // edges.
    CViewRestr();

    // One selected node: its "Node information"; selected edges: the edge
    // sheet over one edge or the whole list; one selected element: its
    // properties. Several nodes open nothing.
    void EditObject() override;
    // Temporary slots 0 and 1; no other.
    CSNode* GetRefNode(int which) override { return which == 0 || which == 1 ? TmpSlot(UINT(which)) : nullptr; }
    CObList* GetMoveList() override { return nullptr; }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}

    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override;
    void LeftButtonDblClk(unsigned flags, double x, double y, CPoint point) override;

protected:
    void OnUpdateResultComponent(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
