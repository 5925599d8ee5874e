// Zelkor: the matrix and vector library.
// Umbrella header: includes every public header of this library.
#pragma once
