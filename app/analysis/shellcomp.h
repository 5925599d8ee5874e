// CShellComp: the analysis model of a shell document. A plate component
// that adds a linear buckling analysis: the in-plane forces of a membrane
// analysis of the same regions (run first when the model holds none) are
// handed, with a plate-bending model of the same mesh, to one of the two
// buckling entry points of the solver. The eigenvalues are logged and the
// mode shapes, scaled so that each one's extreme entry equals its
// eigenvalue, are stored as node result components of the regions.
#pragma once

#include "app/analysis/platecomp.h"

class CShellComp : public CPlateComp {
    DECLARE_SERIAL(CShellComp)
public:
    CShellComp();
    ~CShellComp() override;

    // --- overrides of the plate component
    void Serialize(CArchive& ar) override;
    // Makes a CShellComp when target is null; a CShellComp target also
    // receives the result state and the buckling settings.
    void Copy(CSectComp*& target, bool deep) override;
    // The buckling run (or nothing but the cancel line when a stop is
    // pending).
    bool Calculate(CStringArray* log, CStringArray* errors) override;
    // The plate plots, with the buckling mode shapes after the membrane
    // results (result state 3).
    void DrawResults(int flags) override;
    int GetResultUnit(int component) override;
    int GetResultQuantity() override;
    // The base range; a mode shape's range is scaled by the extremes of its
    // component and made symmetric.
    void GetMaxMinResult(double& max, double& min, CString* unit) override;
    // A mode shape as prisms moved by the displacement components.
    void DrawDistorted(int flags, double scale) override;
    // The mode of the active colour plot and its eigenvalue (buckling
    // results only).
    bool ActiveModeShape(int& mode, double& loadFactor) override;

    // --- own virtual operations, in this order
    // The membrane analysis alone, on a mesh of the membrane code's kind.
    virtual bool RunMembraneAnalysis(CStringArray* log, CStringArray* errors);
    // Builds the plate-bending input of the buckling code, calls the solver
    // and logs the eigenvalues. On success eigenvalues holds one row per
    // kept mode and modes one row of node values per kept mode.
    virtual bool SolveBuckling(CMatrix& inPlane, CMatrix& elementData, CMatrix& nodeArray,
                               CMatrix& eigenvalues, CMatrix& modes, CStringArray* log,
                               CStringArray* errors, int* status);
    virtual bool RunBucklingAnalysis(CStringArray* log, CStringArray* errors);
    // Hands the node table (two node-value columns, then one column per
    // mode) to the regions and sets the result extremes.
    virtual void StoreModeShapes(CMatrix& values);

    // Makes the mesh kind fit the model about to be solved: the buckling
    // code's kind, or the membrane code's. Triangle meshes convert in place
    // (results kept), any other mesh is deleted.
    void AlignMeshKind(bool buckling);

    // Entries of m_BucklingCtrl.
    enum { kEigensolver = 0, kBucklingType = 1, kModes = 2, kForceBasis = 3 };
    int GetBucklingCtrl(int entry) const { return m_BucklingCtrl[entry][0]; }
    void SetBucklingCtrl(int entry, int value) { m_BucklingCtrl[entry][0] = value; }

    // 2, 85, 2, 0: Lanczos, code 85, two modes, forces per mesh node.
    CLongMatrix m_BucklingCtrl;
    // 0 no results, 1 membrane results, 3 buckling results.
    int m_iResultState = 0;
    // Modes of the buckling results (state 3): those the last run
    // delivered, which may be fewer than entry 2 asked for.
    int m_nModesAccepted = 0;
    // The eigenvalue (load factor) of each of those modes.
    CVector m_LoadFactors;

private:
    // The in-plane forces of the current results, per node or per element
    // as entry 3 asks.
    void GatherInPlaneForces(CMatrix& forces, bool smooth);
};
