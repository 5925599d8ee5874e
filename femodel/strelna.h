// Strelna: the finite-element model.
// Umbrella header: includes every public header of this library.
#pragma once

#include "femodel/boundcond.h"
#include "femodel/load.h"
#include "femodel/boundary.h"
#include "femodel/modelinfo.h"
#include "femodel/element.h"
#include "femodel/triangle.h"
#include "femodel/quad.h"
#include "femodel/meshorg.h"
#include "femodel/quadmesher.h"
#include "femodel/bar.h"
#include "femodel/cst.h"
