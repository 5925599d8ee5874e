// Bexlar: the geometry graph.
// Umbrella header: includes every public header of this library.
#pragma once

#include "geometry/geomtools.h"
#include "geometry/snode.h"
#include "geometry/edge.h"
#include "geometry/axis.h"
#include "geometry/graph.h"
#include "geometry/ringseg.h"
#include "geometry/idcounters.h"
