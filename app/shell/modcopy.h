// The copy list of the modelling views: copies of regions made by Copy or
// Cut, shared by every modelling view of the process, so that a copy made
// in one plate or shell document can be pasted into any other, any number
// of times. Beside it the list keeps copies of the materials the copied
// regions use, so that it depends on no document. The lists are owned here
// and freed at program exit; the base point of the list is the view's
// temporary slot 2.
#pragma once

#include "platform/afx/collections.h"

class CMaterial;
class CSectComp;

class CRegionCopyList
{
public:
    // The region copies, or null when there is no copy list.
    static CObList* Get();
    // A new empty list (an old one is deleted first).
    static CObList* New();
    // The material copies, made empty on first use.
    static CObList* Materials();
    // Deletes the regions, the list, the material copies and their list.
    // The identifier counters of nodes, edges and graphs are kept as they
    // were: the deleted copies give back nothing.
    static void Delete();

    // Every material of the model's list that the copied regions use gets a
    // copy in the material list, and the copied regions use the copy.
    static void CopyMaterials(CObList& modelMaterials);

    // The identifier counters continue after the model's largest
    // identifiers: graphs never below 4000000001, edges never below
    // 100000001.
    static void SetCountersAbove(CSectComp& model);
    // A new list of copies of the listed regions (new identifiers), with
    // their copy links released; null without a copy list.
    static CObList* MakePasteCopies();
    // The pasted regions take, for every material copy, the target's
    // material of the same name, else the fallback.
    static void MapMaterials(CObList& pasted, CObList& targetMaterials, CMaterial* fallback);
    // Deletes the regions of the list and the list.
    static void DeleteRegions(CObList* regions);
};

// Moves the nodes by (dx, dy) unless an edge at one of them would then cross
// the model; a refused move puts every node back and returns false. After
// an accepted move the edges that only touch or overlap the model are
// added, once each, to overlaps.
bool MoveNodesUnlessCrossing(CSectComp& model, CObList& nodes, double dx, double dy,
                             CObList& overlaps);
