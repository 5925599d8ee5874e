// The editing tools of the modelling view (new node, link, divide, fillet,
// union, flip, delete), move, copy, cut and paste, and the ring-segment and
// load-group generators.
#include "app/shell/brantelmodview.h"

bool CBrantelModView::EditTool()
{
    return false;
}

bool CBrantelModView::PasteCopy(CObList*)
{
    return false;
}

bool CBrantelModView::MoveNodes(double*, double*, CObList*, int)
{
    return false;
}

bool CBrantelModView::FilletEdges()
{
    return true;
}

bool CBrantelModView::BuildFillet(CSNode*, CObList*, bool)
{
    return false;
}

void CBrantelModView::CreateRingSegment() {}

void CBrantelModView::NewNodeClick(double, double) {}

void CBrantelModView::LinkClick() {}

void CBrantelModView::DivideClick() {}

void CBrantelModView::OnFillet() {}

void CBrantelModView::OnDivide() {}

void CBrantelModView::OnUnion() {}

void CBrantelModView::OnFlipHorizontal() {}

void CBrantelModView::OnFlipVertical() {}

void CBrantelModView::OnDeleteSelection() {}

void CBrantelModView::OnMoveSelection() {}

void CBrantelModView::OnCopy() {}

void CBrantelModView::OnCut() {}

void CBrantelModView::OnPaste() {}

void CBrantelModView::OnInsertLoadGroup() {}
