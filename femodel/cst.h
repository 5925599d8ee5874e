// CCST: the constant-strain membrane triangle as an element of the model,
// with its own stiffness, global-matrix contribution, displacement recovery
// and resisting forces. Two DOFs a node (x, y); the DOF tables are rows
// indexed by node number - 1, node numbers being those that SumNodes gave.
#pragma once

#include "femodel/triangle.h"

class CCST : public CTriElement {
    DECLARE_SERIAL(CCST)
public:
    CCST(CSNode* a, CSNode* b, CSNode* c) : CTriElement(a, b, c) {}
    CCST(const CCST& source) : CTriElement(source) {}
    ~CCST() override = default;

    CGraph* Copy(bool) override { return new CCST(*this); }

    // Adds k u at the element's non-negative DOFs of r (first column), for
    // the fixed plane-stress material of the class; u holds the solution
    // (first column, row = DOF number), the node's first condition gives
    // the displacement of a DOF without a number.
    void GetResist(CMatrix& r, CMatrix& u, CArrayArray<LONG>& dofs) override;
    // Takes component col (0 x, 1 y) of the solution in m_pLoadMat into the
    // element's results (step below m_nNodeVal) or into the values of its
    // primary nodes at step - m_nNodeVal, scaled by factor.
    void AddDispl(CArrayArray<LONG>& dofs, int step, int col, double factor) override;
    // Four CCSTs on the corners and the first dividing nodes of the sides.
    void RefineUniform(int n, CObList* out) override;
    // Raises m_vectStartDOF at each node's number to at least 2.
    void SetNumDOFs() override;
    // Adds the rotated stiffness for material d to K by DOF number; the
    // load argument is not used.
    void AddElmt(CVirtRealMat& K, CMatrix& d, CVirtRealMat* load, CArrayArray<LONG>& dofs) override;

    // k (6 x 6; x and y of each corner in turn) becomes the stiffness for
    // the 3 x 3 material matrix d: block (i, j) is Bi^T d Bj / (4 A). Unless
    // unrotated, each node's DOF pair is turned into the directions of its
    // first condition (and printed when the print level asks for it).
    virtual void Build_k(CMatrix& k, CMatrix& d, bool unrotated);

    // The material of GetResist: plane stress, Poisson's ratio 0.3.
    static void ResistMaterial(CMatrix& d);

protected:
    CCST() = default;
    // The x and y DOF numbers of the three corners; -1 for a node whose
    // number lies outside the table.
    void CornerDofs(CArrayArray<LONG>& dofs, LONG out[6]) const;
};
