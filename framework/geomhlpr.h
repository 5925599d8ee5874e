// The geometry-input helpers a modelling view owns: what the user has
// selected (areas, nodes and edges, one list per object type) and the
// temporary nodes of the drawing tool in use, with the selection-wide edits
// (move, delete, union of areas) and the drawing of the selection and of the
// rubber band. The helpers pick nothing themselves: the view picks and hands
// the objects over by type.
//
// Object-type codes (equal to the bits of the selection filter): 1 areas
// (anything derived from CGraph), 2 nodes, 4 edges.
//
// A selection list exists exactly while it holds an object: an emptied list
// is deleted. Newly selected objects go to the head, so the tail holds the
// first one. Each list has a hash index beside it for membership; the lists
// handed out by GetSelList are for reading (SetSelList installs a new one).
#pragma once

#include <unordered_map>

#include "platform/afx/afx.h"

class CEdge;
class CGraph;
class CSNode;
class CSectArea;
class CSectComp;

class KorBasisGeomHlpr
{
public:
    // Object-type codes.
    enum : UINT { kAreas = 1, kNodes = 2, kEdges = 4 };

    KorBasisGeomHlpr();
    // A helper owns its lists: it is never copied.
    KorBasisGeomHlpr(const KorBasisGeomHlpr&) = delete;
    KorBasisGeomHlpr& operator=(const KorBasisGeomHlpr&) = delete;

    // Whether the polygon of temporary nodes may be closed (at least three,
    // and with a model, a closing edge that crosses neither the model nor
    // the polyline). Raises the identifier counters above the points.
    virtual bool Cycle(CSectComp* model);
    // A new edge of m_pEdgeClass between the two nodes.
    virtual CEdge* NewEdge(CSNode* first, CSNode* second);
    // Appends a copy of every selected area to target, then releases the
    // copy links of every graph in target.
    virtual void CopySelSectList(CObList* target);
    // Takes the last temporary node off; model: the model composite.
    virtual void RmLastTmpNode(CObject* model);
    virtual CSNode* GetFirstTmpNode();
    virtual CSNode* GetLastTmpNode();
    virtual int GetTmpNodeCount();
    // False when the node is already a temporary node; else appended.
    virtual bool AddTmpNode(CSNode* node);
    // Appends the nodes; a node already present moves to the end and is not
    // counted. The number of new nodes.
    virtual int AddTmpNode(CObList* nodes);
    // 0 nothing moved, 1 moved, -1 refused and moved back. mode 0 refuses
    // any meeting of a moved edge with the model, 1 only crossings, other
    // modes check nothing; fix clears the selection and repairs the
    // touching edges.
    virtual int MoveSelection(double* delta, int count, bool fix, int mode, CSectComp* model);
    // Null: the whole selection. Else the object leaves the first list
    // holding it; false when none does.
    virtual bool RemoveSelected(CObject* object);
    virtual bool DeleteSelection(CSectComp* model);
    // Discards the temporary nodes.
    virtual void ResetNodes(CSectComp* model);
    // Toggles the object's selection; true when it is now selected.
    virtual bool AddSelect(CObject* object, UINT type, bool clear);
    // The end nodes of the selected edges, each once, appended to out
    // unless already there.
    virtual void GetSelEdgeNodes(CObList& out);
    virtual CObList* GetSelList(int type);
    // Clears the selection, then installs the list (owned from now on) as
    // the list of that type.
    virtual void SetSelList(CObList* list, int type);
    virtual void DrawSelected();
    virtual void DrawTranslated(double dx, double dy, double dz);
    // Deletes the selection lists and the temporary list with the temporary
    // nodes that no graph holds.
    virtual ~KorBasisGeomHlpr();

    CObList* GetTmpNodeList() const { return m_pTmpNodes; }

    CRuntimeClass* m_pEdgeClass;

protected:
    using Index = std::unordered_map<CObject*, POSITION>;

    // The list pointer and index of a type; null for other codes.
    CObList** ListSlot(int type);
    Index* IndexOf(int type);
    bool Holds(int type, CObject* object);
    // Puts the object at the head of its type's list (made when missing).
    void PutHead(int type, CObject* object);
    // Takes the object out of that type's list (deleted when emptied).
    bool TakeOut(int type, CObject* object);
    // Deletes the list of that type (not its objects).
    void DropList(int type);
    // Brings the index in line with a list that came from outside.
    void Reindex(int type);

    // The nodes a move of the selection moves, each once.
    void GatherMoveNodes(CObList& out);
    // The non-link edges at the nodes, each once.
    static void GatherEdges(CObList& nodes, CObList& out);
    // Takes the node and its edges out of the selection.
    void ForgetNode(CSNode* node);
    // Deletes a node: out of the selection and of the global node list.
    void DestroyNode(CSNode* node);
    // Disposes of a temporary node taken off the list (see RmLastTmpNode
    // and ResetNodes).
    void DisposeTmpNode(CSNode* node, CSectComp* model, bool linksStay);
    // Deletes the areas of the list from the model (each out of its owner).
    void DeleteArea(CGraph* area, CSectComp* model);

    CObList* m_pSelAreas = nullptr;
    CObList* m_pSelEdges = nullptr;
    CObList* m_pSelNodes = nullptr;
    CObList* m_pTmpNodes = nullptr;

private:
    Index m_areaIndex;
    Index m_edgeIndex;
    Index m_nodeIndex;
};

// Deleting selected edges deletes their end nodes (node links alone when
// only links are selected).
class KorGeomHlpr : public KorBasisGeomHlpr
{
public:
    bool DeleteSelection(CSectComp* model) override;
};

// Selected areas share one outer section; deleting an area with inner
// sections asks first. Adds the rubber band of the drawing tools and the
// union of the selected areas.
class KorAreaGeomHlpr : public KorGeomHlpr
{
public:
    bool DeleteSelection(CSectComp* model) override;
    bool AddSelect(CObject* object, UINT type, bool clear) override;
    // Tool 20 (rectangle): the rectangle from the first temporary node to
    // the cursor; other tools: the polyline and the preview of its closing.
    virtual void DrawTmpNodeEdges(UINT tool, double* cursor);
    // Merges the selected areas into the one selected first; true when the
    // selection changed.
    virtual bool UnionSelected(CSectComp* model);
};

// The helper of the element views: areas are elements.
class KorElmGeomHlpr : public KorGeomHlpr
{
public:
    bool Cycle(CSectComp*) override { return false; }
    void CopySelSectList(CObList*) override {}
    void RmLastTmpNode(CObject*) override {}
    bool DeleteSelection(CSectComp* model) override;
    using KorBasisGeomHlpr::ResetNodes;
    // Deletes the temporary nodes that no graph holds, then the list.
    virtual void ResetNodes(CObject* model);
};
