// The fillet of the modelling view: the corner between two edges of a
// region replaced by an arc of new nodes, on a bare model.
#pragma once

#include <functional>

class CEdge;
class CObList;
class CSectComp;
class CSNode;

// Replaces the corner node where first and second meet by the arc nodes
// (a new list of new nodes, its head on first's side, as the graph's fillet
// preparation makes them; the list and the nodes are taken over either
// way). The new edges run from first's far node along the arc to second's
// far node; the first half takes first's conditions and the part of its
// edge load, the second half second's. A straight remainder at an arc end
// that is shorter than a tenth of the arc segment beside it is left out:
// the arc then ends at the far node itself. With taper the arc nodes are
// boundary nodes carrying the conditions of their half and the angle
// between their two edges. The new nodes take the next node identifiers
// and keep them.
//
// False when an arc edge would cross an edge of the model other than the
// two replaced ones: then nothing in the model has changed. Otherwise
// beforeChange (when set) runs before the model changes, so that an undo
// snapshot sees the model as it was.
bool BuildFilletArc(CSectComp& model, CEdge* first, CEdge* second, CSNode* corner, CObList* arc,
                    bool taper, const std::function<void()>& beforeChange = {});
