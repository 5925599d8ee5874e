// afxui_osmesa: the OSMesa backend of the window layer's OpenGL views
// (surfaces in memory and off-screen images), for tests and exporters.
// Umbrella header: includes every public header of this library.
#pragma once

#include "platform/ui/osmesa/osmesahosts.h"
#include "platform/ui/osmesa/osmesaoffscreen.h"
#include "platform/ui/osmesa/osmesasurface.h"
#include "platform/ui/osmesa/viewdriver.h"
