// The program's frames and views. The main frame, the child frames and the
// views are filled in by their own parts of the program; here they exist on
// their bases so that the document templates can make them.
#pragma once

#include "app/shell/mainframe.h"
#include "framework/framira.h"

class CMaterial;

// The child frame of the plate, membrane and shell documents: one pane whose
// view switches between the modelling, element and results modes.
class CChildFrame : public KorChildFrm
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    static constexpr int kViewParams = 20;

    CChildFrame();

    // The views of the modes come with the views themselves: until then a
    // mode switch shows nothing new.
    CView* GetViewForID(UINT id) override;
    void ChildFramesLeft(int remaining) override;

    bool m_bShowElemNumbers = false;
    bool m_bShowNodeNumbers = false;
    int m_iReserved[3] = {0, 0, 0};
    // The material new regions get (one of the document's; not owned).
    CMaterial* m_pActiveMaterial = nullptr;
};

// The child frame of the constrained-mesh documents.
class CConstrChFrm : public CChildFrame
{
    DECLARE_DYNCREATE(CConstrChFrm)
public:
    CConstrChFrm() = default;
};

// The modelling view of the plate, membrane and shell documents.
class CBrantelModView : public CView
{
    DECLARE_DYNCREATE(CBrantelModView)
public:
    CBrantelModView() = default;
    void OnDraw(CDC* pDC) override;
};

// The view of the constrained-mesh documents.
class CViewRestr : public CView
{
    DECLARE_DYNCREATE(CViewRestr)
public:
    CViewRestr() = default;
    void OnDraw(CDC* pDC) override;
};
