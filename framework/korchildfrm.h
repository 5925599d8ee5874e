// KorChildFrm: the base of the programs' MDI document windows. It is always
// shown maximised, can split its client area into a left pane of the
// derived frame's choice and the main pane, switches the view shown in the
// main pane by view id, and keeps the clip-plane state of its 3D results
// view. KorSplitWnd: the static splitter it uses, whose columns can be
// hidden.
#pragma once

#include <vector>

#include "framework/korapp.h"
#include "platform/ui/core/afxui.h"

class KorSplitWnd : public CSplitterWnd
{
    DECLARE_DYNAMIC(KorSplitWnd)
public:
    // A row or column: its index at creation and whether it is hidden.
    struct _RowColInfoEx {
        int nIndex = 0;
        int bHidden = 0;
    };

    // Also fills the row and column records (index i, not hidden).
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Hides column nCol (its index at creation): the panes to its right
    // take the ids of the columns to their left and the hidden pane the id
    // of the last column; its record moves to the end.
    void HideColumn(int nCol) override;

    // Rows and columns in display order; hidden columns last.
    std::vector<_RowColInfoEx> m_pRowInfoEx;
    std::vector<_RowColInfoEx> m_pColInfoEx;
};

class KorChildFrm : public CMDIChildWnd
{
    DECLARE_DYNAMIC(KorChildFrm)
public:
    KorChildFrm();
    ~KorChildFrm() override;

    // Told when the frame becomes the active one.
    virtual void ChildActivate() {}
    // Marks the active OpenGL view's display lists out of date and
    // repaints the frame.
    virtual void RedrawWindow();
    // Shows the view of command id in the main pane; the view shown before
    // goes.
    virtual void SwitchView(UINT id);
    // Told, when the frame closes, how many child frames remain.
    virtual void ChildFramesLeft(int remaining) = 0;
    // The view that shows id, made when needed (null: none).
    virtual CView* GetViewForID(UINT id) = 0;
    // The class of the left pane's view; null: the frame is not split.
    virtual CRuntimeClass* GetPaneClass() { return nullptr; }

    // Always maximised, whatever show command comes.
    void ActivateFrame(int nCmdShow = -1) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    // Picks the colour that stands out against the model-view background:
    // white on a dark one (sum of red, green and blue below 1), else black.
    static void ChooseInverseBackground();

    UINT m_nViewID = 0;
    // The parameters of the 2D view shown before the last switch (empty
    // until then); sized by the view that fills them.
    std::vector<double> m_pViewParams;
    // Clip planes (a, b, c, d): below, above, planes 3 to 6; then their
    // on/off flags.
    double m_dClipPlanes[6][4] = {{0, 0, 1, 0},  {0, 0, -1, 0}, {-1, 0, 0, 0},
                                  {1, 0, 0, 0},  {0, -1, 0, 0}, {0, 1, 0, 0}};
    bool m_bClipPlanes[6] = {false, false, false, false, false, false};
    KorSplitWnd m_wndSplitter;
    int m_bSplit = 0;

    // The one clip-plane dialog all child frames share (null: none).
    static CDialog* m_pClpPlnDlg;
    // The child frames' common setting word, kept with the profile.
    static inline UINT& m_uiStChldFrmSett = KorApp::m_uiStChldFrmSett;

    // The value scale of the active view's document (1.0 when it is not a
    // framework document).
    double ClipPlaneScale();

protected:
    void OnChildActivate();
    void OnClose();
    void OnDestroy();
    // Command 50054: makes the clip-plane dialog when there is none and
    // shows or destroys its window.
    void OnViewClipPlane();
    void OnUpdateViewClipPlane(CCmdUI* pCmdUI);
    // 0x407 from the dialog (1 OK, 2 Cancel): its window goes.
    LRESULT OnClipPlane(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Living child frames; the last one deletes the clip-plane dialog.
    static inline int s_nFrames = 0;
    // Reads the old 2D view's parameters into m_pViewParams.
    void SaveViewParams(CView* oldView);
    // Zooms the new view to fit when it is a 2D view.
    static void ZoomNewView(CView* newView);
};
