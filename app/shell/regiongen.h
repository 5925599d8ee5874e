// Region generators of the modelling view, kept apart from the view so that
// their geometry can be used and checked on a bare model: the p x q regions
// of a ring segment, the quadrilaterals over a grid of load nodes, the two
// halves of a circle around a load node, and the crossing test that decides
// whether a new region may join the model.
#pragma once

#include <array>
#include <vector>

class CMaterial;
class CObList;
class CObjMat;
class CSectArea;
class CSectComp;
class CSectPlate;
class CSNode;

// What the ring-segment page returns.
struct RingSegmentValues {
    double height = 10.0;  // H
    double angle = 180.0;  // theta in degrees, Type 3 only
    double radius = 0.0;   // R, Types 1 and 2
    int segments = 16;     // n
    int tangential = 1;    // p
    int radial = 1;        // q
    int type = 0;          // 0, 1, 2 for Types 1, 2, 3
};

// n lowered to a multiple of p (p when that leaves p or less), so that
// every sector gets the same number of segments; n unchanged for p < 1.
int SegmentsForSectors(int n, int p);

// Why the values cannot make a ring segment between the centre C and the
// start S, as a log line; null when they can. A radius R of 0 (Types 1 and
// 2) makes the straight strip, which any non-zero height allows.
const char* RingSegmentRefusal(const RingSegmentValues& values, const double centre[2], const double start[2]);

// Why a region drawn with a tool cannot be built because it would enclose
// no area, as a log line; null when it encloses one. points: the corners of
// the outline in order (a rectangle, triangle, quadrilateral or polygon,
// named by shape in the line), or, for the shape "circle", its centre and
// its radius point. An outline has no area when its area lies within the
// rounding of its coordinates (1e-12 of the square of the largest of them
// and of its extent); a circle when its radius lies within 1e-12 of the
// largest coordinate.
const char* NoAreaRefusal(const char* shape, const std::vector<std::array<double, 2>>& points);

// The p x q polygon regions of the ring segment given by the centre C (the
// last point picked) and the start S (the first point), each with the
// material and the thickness. Neighbouring regions share their nodes. The
// regions are new and belong to no model; empty when the values make no
// segment (p, q or n below 1, or a geometry the ring generator refuses).
std::vector<CSectPlate*> BuildRingSegment(const RingSegmentValues& values, const double centre[2],
                                          const double start[2], CMaterial* material,
                                          double thickness);

// A quadrilateral on every cell (i, j), (i, j + 1), (i + 1, j + 1), (i + 1, j)
// of a grid of nodes, with the material and thickness.
std::vector<CSectPlate*> BuildGridQuads(CObjMat& grid, CMaterial* material, double thickness);

// A circle of segments (at least 4) boundary segments around the node,
// through a point radius to its right, divided into two halves through the
// node, which becomes a corner of both. Empty (nothing made) for a radius
// that is not positive.
std::vector<CSectPlate*> BuildSplitCircle(CSNode* centre, double radius, int segments,
                                          CMaterial* material, double thickness);

// The crossing test of a new region: true when an edge of its boundary
// (the closing edge included) crosses an edge of the model; the edges that
// only touch or overlap the model are added to overlaps.
bool RegionCrossesModel(CSectComp& model, CSectArea& region, CObList& overlaps);

// The nodes of the matrix that no graph has taken are deleted; then every
// entry is null.
void ReleaseUnusedNodes(CObjMat& nodes);
