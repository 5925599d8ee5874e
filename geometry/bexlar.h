// Bexlar: the geometry graph.
// Umbrella header: includes every public header of this library.
#pragma once
