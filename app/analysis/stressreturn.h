// Helpers of the stress return: what the results of each element-type code
// look like, the repacking of the constant-strain triangles' rows and the
// extremes of the principal stresses.
#pragma once

#include "matrix/zelkor.h"

struct ResultLayout {
    int nodeValues = 0; // values per element node (CElement::m_nNodeVal)
    int vectors = 0;    // result vectors per node (CElement::m_nVectors)
    int resultCount = 0;
    bool membrane = false;
};

// false for a code without results.
bool GetResultLayout(int code, ResultLayout& layout);

// The solver returns four rows per constant-strain triangle of which the
// first three are results; with rows = 4 x elements the fourth of every
// group is dropped and the array shrinks to three rows per element.
void RepackTriangleRows(CMatrix& results, int elements);

// Extremes over all rows of the first (max1, min1) and second (max2, min2)
// principal value of columns 0, 1, 2 (two normal components, shear).
void PrincipalExtremes(const CMatrix& results, double& max1, double& min1, double& max2, double& min2);
