// Zelkor: the matrix and vector library.
// Umbrella header: includes every public header of this library.
#pragma once

#include "matrix/textnumber.h"
#include "matrix/textblock.h"
#include "matrix/virtmat.h"
#include "matrix/realvector.h"
#include "matrix/densematrix.h"
#include "matrix/arrayarray.h"
#include "matrix/reordermat.h"
#include "matrix/longvector.h"
#include "matrix/objcontainers.h"
#include "matrix/complex.h"
#include "matrix/funcmat.h"
#include "matrix/sparsematrix.h"
#include "matrix/systspmat.h"
#include "matrix/skyline.h"
