// Node grids of ring segments (annular sectors) and straight strips, and the
// rounding of a double to the digits a print format shows.
#pragma once

#include "geometry/snode.h"

// Grid of a ring segment about a centre: row i is ring i (radii spread over
// width around the start point's radius), column j the j-th of nAlong
// positions from the start direction, turning clockwise through angle.
// nodes receives a new matrix of new nodes of nodeClass (CSNode when null);
// it is null when nothing can be made (nAlong < 2, nRings < 1, the start
// point on the centre, or a class that does not make nodes).
void RingSeg(CObjMat*& nodes, CVector& centre, CVector& start, double angle, int nAlong,
             int nRings, double width, CRuntimeClass* nodeClass);
// Grid whose middle ring is the arc of the given radius from p1 to p2
// (flag 0 the shorter arc, otherwise the longer one), or, for radius 0, the
// straight strip along p1-p2 (flag picks the side of the cross direction).
// normal is optional (the plane's normal for points in space). nodes is null
// when the chord is longer than the diameter or the counts are too small.
void RingSeg(CObjMat*& nodes, CVector& p1, CVector& p2, CVector* normal, int flag, double radius,
             int nAlong, int nRings, double width, CRuntimeClass* nodeClass);
// The value as printed with "%.*e" (mode 0), "%.*f" (mode 1) or "%.*g"
// (other modes) at the given precision, read back.
double TruncDouble(double value, int mode, int digits);
