// Strelna: the finite-element model.
// Umbrella header: includes every public header of this library.
#pragma once
