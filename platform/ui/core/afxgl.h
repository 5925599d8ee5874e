// The OpenGL side of afxui: surfaces, glyph fonts and off-screen images.
#pragma once

#include "platform/ui/core/glsurface.h"
#include "platform/ui/core/glyphcache.h"
#include "platform/ui/core/glyphsource.h"
#include "platform/ui/core/logfont.h"
#include "platform/ui/core/offscreen.h"
