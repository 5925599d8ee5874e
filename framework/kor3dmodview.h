// Kor3DModView: the 3D modelling view. A Kor3DView in which the user picks
// nodes, edges and areas by click or band into a geometry-input helper and
// sees the selection, the snapped cursor and the rubber lines of an edit
// operation. Its selection filter is its own, apart from the 2D one; the
// tool and the edit mode travel with its saved view parameters.
#pragma once

#include "framework/kor3dview.h"
#include "framework/kordoc.h"
#include "geometry/snode.h"

class KorBasisGeomHlpr;

class Kor3DModView : public Kor3DView, public KorSelectingView
{
    DECLARE_DYNAMIC(Kor3DModView)
public:
    Kor3DModView();
    ~Kor3DModView() override;

    // Forwarded to the helper.
    void RemoveSelected(CObject* object) override;
    int GetNumViewParams() override { return Kor3DView::GetNumViewParams() + 2; }
    // The 3D view's parameters, then the tool and the edit mode.
    int SetViewParam(double* params, bool get) override;
    // A pointer-tool release ends the band: a click (under 6 pixels of
    // travel) or a band picks into the selection.
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override;
    // Opens the band of the pointer tool.
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool DrawDynamicScene() override;

    virtual bool AddSelect(CObject* object, UINT type, bool clear);
    // Areas that follow the mouse in edit mode 4.
    virtual CObList* GetMoveList() = 0;
    // Anchor of the rubber line: 0 the current one, 2 the alternative of
    // edit mode 4; null when none.
    virtual CSNode* GetRefNode(int which) = 0;

    UINT m_uiGeomTool = 0;
    KorBasisGeomHlpr* m_pGeomHlpr = nullptr; // owned
    CSNode m_Cursor;
    UINT m_uiEditMode = 0;

    static UINT m_uiSelectFilter;
    static UINT m_uiLastGeomTool;

protected:
    void OnSelectFilter();
    void OnViewSnap();
    void OnUpdateViewSnap(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    CPoint m_BandStart{0, 0};
    bool m_bBandOpen = false;
};
