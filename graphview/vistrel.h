// Vistrel: the OpenGL 2D and 3D graph views.
// Umbrella header: includes every public header of this library.
#pragma once

#include "graphview/ogl2dview.h"
#include "graphview/ogl3dview.h"
