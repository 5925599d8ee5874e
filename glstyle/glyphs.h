// Glyph routines: the symbols of supports, springs, spheres and vectors in the
// model views. Each draws in immediate mode into the current OpenGL context,
// in world coordinates, with the colour, line width and lighting the caller
// has set; none changes the current colour. Points and directions are three
// doubles; a size of exactly 0.0 means 1.0.
#pragma once

// An arrow from origin to origin + vector, scaled to the length size when size
// is not 0. mode 0: a shaft and one cone; mode 1: a shaft and two cones; any
// other mode draws nothing, nor does a vector of zero length.
void Draw3DVect(double* const origin, double* const vector, double size, unsigned mode);

// A displacement-support pyramid with an outlined base plate at point, pointing
// along axis dir (1 to 3) of axes (three direction vectors, row by row).
void Draw3DDispSup(double* const point, double* axes, double size, int dir);

// A zigzag spring from point along along, its strokes along across.
void Draw2DDispSpring(double* const point, double* along, double* across, double size);

// A rotational-support disk of radius size in the plane of u and v, with a rim.
void Draw3DRotSup(double* const centre, double* normal, double* u, double* v, double size);

// A sphere of the given radius about centre on the axes p, q, r; its normals
// point to the centre.
void Draw3DSphere(double* const centre, double* p, double* q, double* r, double radius);

// A spiral spring of three turns in the plane of u and v, from centre + size u
// in to the centre. axis is not read.
void Draw2DRotSpring(double* const centre, double* axis, double* u, double* v, double size);
