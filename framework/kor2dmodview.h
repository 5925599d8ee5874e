// Kor2DModView: the 2D view in which the user edits the geometric model. It
// picks nodes, edges and areas under the mouse (click or band) into its
// geometry-input helper, snaps the cursor to nodes and edges, hands the
// points of a drawing tool or edit operation to the program, draws the
// rubber lines and the selection, filters what may be selected and rotates
// the whole model. KorAreaModView is the base of the programs' model views,
// which create the helper, set the tool and supply the pure operations.
#pragma once

#include "framework/kor2dview.h"
#include "framework/kordoc.h"
#include "geometry/snode.h"

class KorBasisGeomHlpr;

constexpr UINT ID_KOR_ROTATE_ALL = 50012;

// A selecting view: the document empties its selection when the model is
// swapped (undo and redo) or objects go.
class Kor2DModView : public Kor2DView, public KorSelectingView
{
    DECLARE_DYNAMIC(Kor2DModView)
public:
    Kor2DModView();
    ~Kor2DModView() override;

    // Forwarded to the helper.
    void RemoveSelected(CObject* object) override;
    void GetLastCoord(double& x, double& y) override;
    // A pointer-tool release ends the band: a click (under 6 pixels of
    // travel) or a band picks into the selection.
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override;
    // Opens the band of the pointer tool; hands a point of an edit
    // operation to NewTmpNode; runs inside the document's identifier
    // counters.
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    bool DrawDynamicScene() override;

    virtual KorBasisGeomHlpr* GetInterfHandler() { return m_pGeomHlpr; }
    virtual int ProgramHookA(UINT a, UINT b) = 0;
    // Snaps the cursor to a node (flags 1) or to the foot on an edge
    // (flags 2); false and flags 0 when nothing is near.
    virtual bool IsMouseOver(CSNode* cursor);
    virtual bool AddSelect(CObject* object, UINT type, bool clear);
    virtual void GetLastCoord(double* out);
    virtual void ProgramHookB() = 0;
    virtual void ProgramHookC() = 0;
    // Areas that follow the mouse in edit mode 4.
    virtual CObList* GetMoveList() = 0;
    // Receives each point clicked for the tool or edit operation (owned by
    // the receiver from then on).
    virtual void NewTmpNode(bool second, CSNode* node) = 0;
    // Anchor of the rubber line: 0 the current one, 2 the alternative of
    // edit mode 4; null when none.
    virtual CSNode* GetRefNode(int which) = 0;
    virtual bool EditTool() { return true; }

    // Whether a pointer-tool band is open, and where it started.
    bool IsBandOpen() const { return m_bBandOpen; }

    UINT m_uiGeomTool = 0;
    KorBasisGeomHlpr* m_pGeomHlpr = nullptr; // owned
    CSNode m_Cursor;
    UINT m_uiEditMode = 0;
    double m_dLastCoord[2] = {0.0, 0.0};

    static UINT m_uiSelectFilter;
    static UINT m_uiLastGeomTool;

protected:
    // The object of a pick name, or null.
    static CObject* ObjectOfName(DWORD name);
    void PickClick(CPoint at);
    void PickBand(CPoint from, CPoint to, UINT flags);

    void OnSelectFilter();
    void OnRotateAll();
    DECLARE_MESSAGE_MAP()

    CPoint m_BandStart{0, 0};
    bool m_bBandOpen = false;
};

class KorAreaModView : public Kor2DModView
{
    DECLARE_DYNAMIC(KorAreaModView)
};
