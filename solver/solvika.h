// Solvika: the plate solver (linear algebra, elements, analysis drivers).
// Umbrella header: includes every public header of this library.
#pragma once
#include "solver/elements/matprt.h"
#include "solver/elements/membrane.h"
