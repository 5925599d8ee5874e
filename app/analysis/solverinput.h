// Building blocks of the solver input: the layout of every element-type
// code, the standard supports, material numbering, the boundary-condition
// arrays, the load arrays, the key data and the volume-force record. The
// plate component assembles them from its regions; each block works on
// plain lists and arrays so that it can be checked on its own.
//
// Arrays are filled row by row, one record a row; the solver reads them as
// column-major arrays whose columns are these records. Node and element
// numbers are 1-based, DOF numbers 1-based within a node.
#pragma once

#include <cstdint>
#include <vector>

#include "matrix/zelkor.h"

class CBoundCond;

// Columns and unknowns of one element-type code.
struct ElementLayout {
    int dofsPerNode = 0;
    int topologyColumns = 0;
    int elementDataColumns = 0;
};

// false for a code that the solver does not know.
bool GetElementLayout(int code, ElementLayout& layout);
bool IsMembraneCode(int code);
bool IsPlateBendingCode(int code);

constexpr int kMaxSupportDOFs = 6;

// The DOFs that a standard support type suppresses at a node for a code,
// written into dofs (at most kMaxSupportDOFs, ascending); returns their
// count. Types 1, 2 and 4 hold what a simply supported, fixed or symmetry
// edge along the node's x axis holds. A node where two supported edges meet
// at a right angle holds what both edges hold, each in the node's axes:
// types 33, 34 and 36 for the same kind on both edges (membranes hold 33
// and 34 as a fixed support), the OR-ed types 3, 5 and 6 for two different
// kinds, the lower kind's edge along x. Other types hold nothing.
int SupportDOFs(int code, unsigned type, int* dofs);
int CountSupportDOFs(int code, unsigned type);

// Numbers the used materials of the list (use count not 0) from 1 in list
// order and writes their rows (count x 7). The "VOID" material's row is
// scaled down to 5e-06 of the smallest moduli of the other rows. false when
// no material is used or the array cannot be made.
bool NumberMaterialList(CObList& materials, CMatrix& out, int& count);

// The conditions of the load case: every condition of the list replaced by
// its chain entry of that case; missing and clear ones are dropped.
void SelectConditions(CObList& conditions, int loadCase, CObList& out);

// Unknowns of every node (index node number - 1) for a code: constant
// except for the six-node plate elements, whose corner and mid-side nodes
// differ (T6: 1 and 1, T15: 3 and 2, T21: 6 and 1).
void NodeDofCounts(int code, const CLongMatrix& topology, int nodes, std::vector<int>& dofs);

// Unknowns at a corner node of a code (T6 1, T15 3, T21 6; else the
// code's DOFs per node).
int CornerDofs(int code);

// Couplings (n x 8) of the node links (CNodeLink objects): each link ties
// the DOFs that both its nodes have.
bool FillCouplingArray(int code, CObList& links, const CLongMatrix& topology, int nodeCount, CMatrix& couplings);

// Suppressed (n x 2), prescribed (n x 3) and spring (n x 3) rows of the
// selected conditions, in list order; angles go into the node array's
// column 2 (not for the T6 element, whose nodes have no rotation axes). A
// negative identifier marks a mid-side node of a six-node plate element.
// Result: 1 success, 0 an array could not be made, -1 no condition or an
// unknown code.
int FillConditionArrays(int code, CObList& conditions, CMatrix& nodes, CLongMatrix& suppressed,
                        CMatrix& prescribed, CMatrix& springs);

// Both of the above: fills the suppressed (n x 2), prescribed (n x 3), coupling (n x 8) and
// spring (n x 3) arrays from the selected conditions and the node links
// (CNodeLink objects), and writes the conditions' angles into the node
// array's column 2. Result: 1 success, 0 an array could not be made, -1 no
// condition or an unknown code.
int FillBoundaryArrays(int code, CObList& conditions, CObList& links, const CLongMatrix& topology,
                       CMatrix& nodes, CLongMatrix& suppressed, CMatrix& prescribed,
                       CMatrix& couplings, CMatrix& springs);

// Membrane loads: node loads (n x 3) and edge loads (n x 6, or n x 8 for
// code 33). Empty lists give empty arrays.
bool FillMembraneLoads(int code, CObList& nodeLoads, CObList& edgeLoads, CMatrix& nodeArray,
                       CMatrix& edgeArray);
// Plate-bending loads: node loads into the node array's column 3, edge
// loads as n x 5 rows.
bool FillPlateLoads(CObList& nodeLoads, CObList& edgeLoads, CMatrix& nodes, CMatrix& edgeArray);

// What the key data are made of.
struct KeyDataInput {
    bool membrane = true;
    int elements = 0;
    int nodes = 0;
    int materials = 0;
    int suppressedRows = 0;
    int prescribedRows = 0;
    int couplingRows = 0;
    int springRows = 0;
    int code = 0;
    int storage = 0;
    int renumbering = 0;
    int nodeLoadRows = 0;
    int edgeLoadRows = 0;
    int planeStrain = 0;
    int printElements = 0;
    int printNodes = 0;
    int integrationPoints = 0;
    int integrationRule = 0;
    int printLevel = 0;
};

constexpr int kKeyDataSize = 30;

// The 30 key-data entries (key[0] is entry 1).
void FillKeyData(std::int32_t* key, const KeyDataInput& in);

// The volume-force record as the solver takes it: a record without 9
// columns becomes 1 x 9 zeros with angle -90 and magnitude 1; entries 6 and
// 7 (angle in degrees, magnitude) are kept in angle and magnitude and
// replaced by the force components, or by zeros when entry 8 is not 1.
void PrepareVolumeForce(CMatrix& force, double& angle, double& magnitude);
// Puts the kept angle and magnitude back.
void RestoreVolumeForce(CMatrix& force, double angle, double magnitude);
