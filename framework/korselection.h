// The selection by click or band and the edit feedback the 2D and 3D
// modelling views share: picking under the mouse into a geometry-input
// helper through the view's own way of adding, and drawing the selection,
// the snapped cursor, the rubber lines of an edit operation and the band.
#pragma once

#include <functional>

#include "graphview/ogl2dview.h"

class CSNode;
class KorBasisGeomHlpr;

namespace korsel
{

// Adds a picked object of a selection type to the view's selection.
using AddFn = std::function<void(CObject*, UINT)>;

// The selection filter of an entry of the filter combo box: 0 nodes, 1
// edges, 2 areas, any other all three.
UINT FilterOfEntry(int entry);

// The selection type of an object by its class: 2 node, 4 edge, 1 graph;
// 0 for anything else or null.
UINT TypeOf(CObject* ob);

// A click at a pixel: tolerance 10, in the order of the held selection's
// type or of the filter bits nodes, edges, areas; the first hit is added.
void PickClick(COGL2DView& view, KorBasisGeomHlpr* helper, UINT filter, CPoint at, const AddFn& add);
// A band: the filter's types (or the kept selection's with the filter 7
// and Shift); nodes before edges before areas.
void PickBand(COGL2DView& view, KorBasisGeomHlpr* helper, UINT filter, CPoint from, CPoint to,
              UINT flags, const AddFn& add);

// The selection, the snapped cursor and the rubber lines of edit modes 4
// and 8 from the reference node.
void DrawEditFeedback(COGL2DView& view, KorBasisGeomHlpr* helper, CSNode& cursor, UINT geomTool,
                      UINT editMode, const std::function<CSNode*(int)>& refNode,
                      const std::function<CObList*()>& moveList);
// The pointer tool's band from its pixel start to the cursor.
void DrawBand(COGL2DView& view, CPoint start);

} // namespace korsel
