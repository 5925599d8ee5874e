#include "app/shell/shellframes.h"

#include "app/shell/shellids.h"

IMPLEMENT_DYNCREATE(CChildFrame, KorChildFrm)

CChildFrame::CChildFrame()
{
    m_nViewID = ID_MODE_MODELLING;
    // The view parameters every view of the frame is given: the 2D view's
    // state word 258, unit scales at 7, 13, 14 and 15, a 2D scale of 0
    // (never scaled).
    m_pViewParams.assign(kViewParams, 0.0);
    m_pViewParams[0] = 258.0;
    for (int i : {7, 13, 14, 15})
        m_pViewParams[static_cast<std::size_t>(i)] = 1.0;
}

CView* CChildFrame::GetViewForID(UINT id)
{
    if (id == ID_MODE_MODELLING)
        return CreateModView();
    if (id == ID_MODE_RESULTS)
        return CreateResView();
    return CreateElemView();
}

void CChildFrame::ChildFramesLeft(int remaining)
{
    if (remaining == 0)
        OnNoChildFrames(-1);
}
