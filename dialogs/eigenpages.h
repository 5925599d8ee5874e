// The settings pages of eigenvalue and nonlinear solutions of the frame
// family: the eigensolver, the Lanczos and subspace iterations, and the
// convergence settings over optional caller pointers.
#pragma once

#include "platform/ui/core/afxui.h"

// "Eigensolver settings".
class VokLGPPBuckling : public CPropertyPage
{
    DECLARE_DYNCREATE(VokLGPPBuckling)
public:
    enum { IDD = 16059 };

    VokLGPPBuckling();

    int m_iSolver = 0;        // 0 Lanczos, 1 subspace iteration
    int m_iGeomStiffness = 0; // 0 tangent, 1 secant
    int m_iEvalPoint = 0;     // 0 linear step, 1 equilibrium
    double m_dMaxRelError = -1.0;
    double m_dShift = 0.0;
    int m_iPosDefTest = 0;       // 0 stiffness matrix, 1 geometric stiffness/mass matrix
    UINT m_uFullMatrixLimit = 0; // 0 to 10000 equations

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnTangent();
    void OnSecant();
    void OnRestoreDefault();
    void EnableEvalPoint(BOOL bEnable);

    DECLARE_MESSAGE_MAP()
};

// "Lanczos iteration routine".
class VokPPLanczSett : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPLanczSett)
public:
    enum { IDD = 16250 };

    VokPPLanczSett();

    int m_iPremultiply = 0;
    // Callers set it before showing: 0 lies outside the accepted 1 to 5.
    UINT m_uKEX = 0;
    int m_iReorth = -1;      // none, full single, full double, partial, "half"
    int m_iStartVector = -1; // pseudo-random, Diag(B), unit elements
    float m_fMaxlanScaling = 0.0f;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Subspace iteration routine".
class VokPPMSSITSett : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPMSSITSett)
public:
    enum { IDD = 16255 };

    VokPPMSSITSett();

    int m_iFeedVector = 0;
    int m_nIterations = 0;
    int m_iStartVector = -1; // pseudo-random, based on Diag(A) and Diag(B)
    int m_iSkipConverged = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

// "Convergence settings": each field works on a caller pointer; a field
// whose pointer is not set is disabled and nothing is written through it.
class VokPPConvergence : public CPropertyPage
{
    DECLARE_DYNCREATE(VokPPConvergence)
public:
    enum { IDD = 16030 };

    VokPPConvergence();

    // The caller's values (not owned; none by default).
    double* m_pdEpsEnergy = nullptr;
    double* m_pdEpsDispl = nullptr;
    double* m_pdEpsResidual = nullptr;
    int* m_piMaxIterations = nullptr;
    int* m_piSubstages = nullptr;
    int* m_piAccept = nullptr; // 0 all, 1 one
    double* m_pdNearSingular = nullptr;
    int* m_piCheckSingular = nullptr;
    double* m_pdMaxIncrRotation = nullptr;
    double* m_pdMaxDisplacement = nullptr;
    int* m_piSymmetrize = nullptr;

    // Working values.
    double m_dEpsEnergy = 0.0;
    double m_dEpsDispl = 0.0;
    double m_dEpsResidual = 0.0;
    int m_nMaxIterations = 0;
    int m_nSubstages = 0;
    int m_iAccept = 1;
    double m_dNearSingular = 0.0;
    int m_iCheckSingular = 1;
    double m_dMaxIncrRotation = 0.0;
    double m_dMaxDisplacement = 0.0;
    int m_iSymmetrize = 0;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Runs f(pointer, working value, control ids) on every field.
    template <class F> void ForFields(F f);
};
