// Tincora: the OpenGL drawing settings and glyph routines.
// Umbrella header: includes every public header of this library.
#pragma once

#include "glstyle/drawing_settings.h"
#include "glstyle/glyphs.h"
#include "glstyle/pickcull.h"
#include "glstyle/pickindex.h"
