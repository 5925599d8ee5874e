// Solvika: the plate solver (linear algebra, elements, analysis drivers).
// Umbrella header: includes every public header of this library.
#pragma once

#include "solver/elements/plate_bending.h"
