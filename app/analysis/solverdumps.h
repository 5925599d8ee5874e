// Text dumps of the solver input arrays and of the raw solver results,
// written into the current folder for checking a model against the solver.
// Each dump replaces a file of its name through the safe writer; a file that
// cannot be written keeps its old content and the error output says why.
#pragma once

#include "matrix/zelkor.h"

// "Topology.log", "Data.log", "Node.log" and "BCs.log", in that order.
void WriteInputLogs(CMatrix& materials, CMatrix& elementData, CLongMatrix& topology, CMatrix& nodes,
                    CLongMatrix& suppressed, CMatrix& prescribed, CMatrix& couplings, CMatrix& springs);
// "Edge-loads.log" of a membrane model.
void WriteEdgeLoadLog(CMatrix& edgeLoads);
// "Stress.log": the element results as the solver returned them.
void WriteStressLog(CMatrix& elementResults);
// "NodeValues.log": the node results.
void WriteNodeValuesLog(CMatrix& nodeResults);
