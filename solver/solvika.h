// Solvika: the plate solver (linear algebra, elements, analysis drivers).
// Umbrella header: includes every public header of this library.
#pragma once

#include "solver/linalg/dense.h"
#include "solver/linalg/skyline.h"
#include "solver/linalg/assembly.h"
