// Copy and paste of regions between plate models: the steps of the
// modelling views' copy list that need no view. The copy list holds copies
// of regions that use copies of their materials, so that it depends on no
// document; pasting makes fresh copies of it with identifiers after the
// target model's and the target's materials.
#pragma once

#include <functional>

#include "platform/afx/collections.h"

class CMaterial;
class CSectComp;

// Every material of the model's list that the copied regions use gets a
// copy in materialCopies, and the copied regions use the copy instead.
void CopyRegionMaterials(CObList& copies, CObList& materialCopies, CObList& modelMaterials);

// The identifier counters continue after the model's largest identifiers:
// graphs never below 4000000001, edges never below 100000001.
void SetIdentifiersAbove(CSectComp& model);

// A new list of copies of the listed regions (with new identifiers); the
// copy links are released afterwards.
CObList* MakePasteCopies(CObList& copies);

// The pasted regions take, for every material copy, the target's material
// of the same name (byte for byte), else the fallback.
void MapPastedMaterials(CObList& pasted, CObList& materialCopies, CObList& targetMaterials,
                        CMaterial* fallback);

// Deletes the regions of the list (which belong to no document) and the
// list.
void DeleteRegionList(CObList* regions);

// Moves the nodes by (dx, dy) unless an edge at one of them would then cross
// the model; a refused move leaves every node where it was and returns
// false. An accepted move calls beforeKeeping (when set) with the nodes
// still in their old places, so that an undo snapshot sees the model as it
// was; then the edges that only touch or overlap the model are added, once
// each, to overlaps.
bool MoveNodesUnlessCrossing(CSectComp& model, CObList& nodes, double dx, double dy,
                             CObList& overlaps, const std::function<void()>& beforeKeeping = {});
