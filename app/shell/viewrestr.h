// CViewRestr: the view of the constrained-mesh documents, a 2D view of the
// model in which regions, boundary edges, nodes and elements are picked and
// their dialogs opened.
#pragma once

#include "app/shell/brantelview.h"

class CViewRestr : public CBrantelView
{
    DECLARE_DYNCREATE(CViewRestr)
public:
    // The geometry input works on regions; new boundary edges are CBoundary
    // edges.
    CViewRestr();

    void EditObject() override {}
    // Temporary slots 0 and 1; no other.
    CSNode* GetRefNode(int which) override { return which == 0 || which == 1 ? TmpSlot(UINT(which)) : nullptr; }
    CObList* GetMoveList() override { return nullptr; }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
};
