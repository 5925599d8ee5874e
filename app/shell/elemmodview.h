// CElemModView: the element-mesh view of the plate, membrane and shell
// documents (the child frame's element mode): the mesh drawn over the
// model, with mesh nodes, boundary edges and elements to select and edit.
#pragma once

#include "app/shell/brantelview.h"

class CElemModView : public CBrantelView
{
    DECLARE_DYNCREATE(CElemModView)
public:
    // The geometry input works on elements; new boundary edges are
    // CBoundary edges.
    CElemModView();

    void EditObject() override {}
    // No temporary nodes and no copy list in this view.
    CSNode* GetRefNode(int) override { return nullptr; }
    CObList* GetMoveList() override { return nullptr; }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}
};
