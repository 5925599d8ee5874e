// CSkylineMatrix: a symmetric matrix in profile form. Only the upper triangle
// is kept, column by column: column j stores the rows PeakRow(j) .. j
// contiguously, the diagonal last. After Cholesky() the same storage holds
// the factors of A = U^T D U (u_ij above the diagonal, d_j on it).
//
// Right-hand sides are CMatrix objects with one row per equation and one
// column per load case.
#pragma once

#include "matrix/densematrix.h"

class CReorderMat;

class CSkylineMatrix : public CVirtRealMat {
    DECLARE_SERIAL(CSkylineMatrix)
public:
    CSkylineMatrix() = default;
    CSkylineMatrix(const CSkylineMatrix&) = delete;
    CSkylineMatrix& operator=(const CSkylineMatrix&) = delete;
    ~CSkylineMatrix() override;

    // Nothing of the profile is archived: storing a laid-out matrix throws
    // CArchiveException instead of losing it; loading reads nothing.
    void Serialize(CArchive& ar) override;

    // data[0] equations; data[1] (n >= 2) a storage total from which a band
    // is derived, or with n >= data[0] + 2 the column heights data[2 ..].
    // A total below the number of equations is replaced by the profile's
    // own total (written back into data[1]). Every value becomes 0.0.
    bool Allocate(int* data, int n) override;
    void ReadASCII(CFile* file) override;
    // Every row in full: profile entries exponential, other positions 0.
    void WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int bExp,
                    bool rowNumbers, bool header) override;
    // Adds the non-zero entries on and above the diagonal; entries outside
    // the profile are skipped.
    void AddValues(LONG* dofs, double* values, int n) override;
    // Factorisation and substitutions with a report; 1, or -1 (time -1.0,
    // no report) for a pivot <= 0.
    int Cholesky_Solve(CVirtMat* b, double& seconds) override;
    CSkylineMatrix& operator=(double v) override;
    CSkylineMatrix& operator+=(double v) override;
    // Symmetric Gauss-Seidel from the start values in x: 1 when the change
    // falls below tol, else -1 after maxIter iterations.
    virtual int GaussSeidel_Iter(CVector& b, CVector& x, double tol, int maxIter);
    // The profile of the reordered adjacency; with the same number of
    // equations the previous heights are kept, so the profile only grows.
    virtual bool Allocate(CReorderMat& order);
    // Modes 1: a_ii *= b_i0, 2: b_i *= a_ii, -1: a_ii /= b_i0, -2: b_i /= a_ii.
    virtual void DiagMult(CVirtMat* b, double* seconds, int mode);
    // Modes 1: U^T y = b with unit diagonal, 2: then divided by the diagonal.
    virtual void ForwSub(CVirtMat* b, double* seconds, int mode);
    // Modes 1: U x = y with unit diagonal, 2: then divided by the diagonal.
    virtual void BackwSub(CVirtMat* b, double* seconds, int mode);
    // U^T D U in place: 1, or -1 for a pivot <= 0.
    virtual int Cholesky();
    virtual void COUT(const char* sep);
    virtual int PeakRow(int j) { return j - m_piHeight[j] + 1; }
    // Entry (i, j) for PeakRow(j) <= i <= j (not checked).
    virtual double& operator()(int i, int j) { return m_pValues[m_piDiagIndex[j] - (j - i)]; }

    // A new array (new[], the caller frees it) of the diagonal.
    double* DiagVect();

    int GetEquations() const { return m_nEquations; }
    int GetValueCount() const { return m_nValues; }
    int GetHeight(int j) const { return m_piHeight[j]; }

private:
    void FreeAll();
    // New per-column arrays for n equations, every height 1.
    bool NewColumns(int n);
    // Sizes the values array to the heights' total and sets the diagonal
    // indices, column pointers and zero values.
    bool LayOut();
    bool InProfile(int i, int j) const
    {
        return j >= i && j - m_piHeight[j] + 1 <= i;
    }

    double* m_pValues = nullptr;
    double** m_ppColumn = nullptr;
    int* m_piHeight = nullptr;
    int* m_piDiagIndex = nullptr;
    int m_nValues = 0;
    int m_nEquations = 0;
};
