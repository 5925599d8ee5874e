// CElemModView: the element-mesh view of the plate, membrane and shell
// documents (the child frame's element mode): the mesh drawn over the
// model, with mesh nodes, boundary edges and elements to select by mouse or
// by identifier, to inspect and edit, to delete, and elements whose results
// can be deleted.
#pragma once

#include <vector>

#include "app/shell/brantelview.h"

class CElement;
class CLongMatrix;

constexpr UINT ID_SELECT_OBJECTS = 34066;

class CElemModView : public CBrantelView
{
    DECLARE_DYNCREATE(CElemModView)
public:
    // Pick names of the mesh: nodes below the first bound, edges below the
    // second, elements from there on.
    static constexpr DWORD kFirstEdgeName = 100000000u;
    static constexpr DWORD kFirstElementName = 4000000000u;
    // The mesh bit of a pick: the document names the mesh objects by their
    // identifiers.
    static constexpr UINT kMeshPick = 8;

    // The geometry input works on elements; new boundary edges are
    // CBoundary edges.
    CElemModView();

    // ---- overrides of the bases
    // The mesh with its nodes, loads and numbers (see the source).
    bool DrawModelList() override;
    // Pointer tool: a press begins (true); pan: false; other tools: the
    // framework's handling.
    bool LeftButtonDown(unsigned flags, double x, double y, CPoint point) override;
    // A pointer press ends in a selection (SelectOnRelease).
    void LeftButtonUp(unsigned flags, double x, double y, CPoint point) override;
    void LeftButtonDblClk(unsigned flags, double x, double y, CPoint point) override;
    // No hover highlighting in this view.
    bool IsMouseOver(CSNode*) override { return false; }
    void EditObject() override;
    // No temporary nodes and no copy list in this view.
    CSNode* GetRefNode(int) override { return nullptr; }
    CObList* GetMoveList() override { return nullptr; }
    int ProgramHookA(UINT, UINT) override { return 0; }
    void ProgramHookB() override {}
    void ProgramHookC() override {}

    // Deletes the selected elements and every element around a selected
    // node or around either end of a selected edge, each once; the
    // selection ends.
    void DeleteSelectedElements();
    // The selection after a pointer press at press released at release
    // (a click within 5 pixels, else a rectangle).
    void SelectOnRelease(unsigned flags, CPoint press, CPoint release);
    // Adds the mesh objects of the identifiers to the selection as the
    // type (2 nodes, 1 elements: identifiers counted from the first element
    // name); unknown identifiers add nothing.
    void SelectByIdentifiers(const std::vector<long>& ids, int type);

protected:
    void OnDeleteSelection();
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDeleteResults();
    void OnSelectObjects();
    void OnModellingMode();
    void OnRButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // Words of a selection buffer with room for every mesh object a pick
    // of the types names (at most the renderer's largest buffer).
    unsigned PickBufferWords(UINT types);
    // The selected nodes, each plain node first replaced by a boundary node
    // (in the mesh and, in its place, in the selection); null when no node
    // is selected.
    CObList* SelectedBoundNodes();
    // The mesh objects of pick names or identifiers (null where none).
    std::vector<CObject*> MeshObjectsOf(const std::vector<DWORD>& names);
    CObject* MeshObjectOf(DWORD name);
    // The apply call-back of the select-by-identifier page.
    static void SelectFromPage(CLongMatrix& ids, int type);
};
