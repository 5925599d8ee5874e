// System-wide drawing settings: line widths, point sizes, colours, the fringe
// colour table, lights, material, polygon offset and stipple. They are plain
// globals that every drawing part reads and writes in place; the arrays have
// the layout OpenGL takes directly (glColor4dv, glLightfv, glMaterialfv,
// glPolygonStipple ...). RGBA arrays hold red, green, blue, alpha.
#pragma once

#include <cstdint>

// Line widths and point sizes in pixels. The three line widths read -1.0 until
// the rendering framework fills them at its first OpenGL context.
extern double THIN_EDGE;
extern double MEDIUM_EDGE;
extern double WIDE_EDGE;
extern double SMALL_POINT;
extern double MEDIUM_S_POINT;
extern double MEDIUM_L_POINT;
extern double LARGE_POINT;
extern double AXIS_WIDTH;

// Colours.
extern float fBckClrMdView[4];   // background of model views
extern float fBckClrRsView[4];   // background of result views
extern float glcInvBckGrnd[3];   // stands out against the background: lines, nodes, meshes
extern float glcTextClr[3];      // text
extern double dMaterialColor[4]; // filled areas; alpha below 0.999999 means blending
extern double dGridColor[4];
extern double dAxisColor[4];

// Fringe colour table of result plots: rows 0 to 255 are the colour ramp
// picked by an integer level, row 256 a separate dark red.
extern double dColorIndex[257][4];
extern std::uint32_t uiFringeNum; // colour bands of a banded result plot

// Lights: bLightOn[0..2] switch lights 1 to 3 (OpenGL lights 0 to 2).
extern bool bLightOn[4];
extern float ambientLight1[4];
extern float diffuseLight1[4];
extern float specularLight1[4];
extern float ambientLight2[4];
extern float diffuseLight2[4];
extern float specularLight2[4];
extern float ambientLight3[4];
extern float diffuseLight3[4];
extern float specularLight3[4];
extern float directLight[3];
extern float position1[4]; // light 2, directional
extern float position2[4]; // light 3, directional
extern float lmodel_ambient[4];
extern float lmodel_twoside[1];
extern float lmodel_local_viewer[1];
extern float fog_color[4];

// Material.
extern float mat_emission[4];
extern float mat_ambient[4];
extern float mat_diffuse[4];
extern float mat_specular[4];
extern float mat_shininess[1];
// Material presets, one a row: ambient RGB, diffuse RGB, specular RGB and the
// shininess as a fraction of 128.
extern float Material[28][10];

// Polygon offset of filled polygons, so that edges drawn on them stay visible.
extern bool bOffsetPolygon;
extern float glfOffsetFact;
extern float glfOffsetUnit;
// A 32 x 32 polygon stipple, 4 bytes a row.
extern unsigned char pol_st_dashdotdotdash[128];

// Node marks of the colour scale: entry k set marks row k of dColorIndex as a
// control point of the scale.
extern bool IsNode[256];
