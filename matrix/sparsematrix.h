// CSparseMatrix: a sparse matrix of doubles held as an ordered singly linked
// list of rows, each an ordered singly linked list of cells. Rows ascend
// strictly by index, cells of a row strictly by column; an absent row or cell
// is 0.0. Indices are 0-based and not checked.
//
// Symmetric matrices are held as their upper triangle with the diagonal.
// After Cholesky() row i holds d_i in its diagonal cell and u_ij = a_ij / d_i
// right of it (A = U^T D U); after LU() the cells left of the diagonal hold
// the multipliers of the unit lower factor and the rest holds U.
//
// Right-hand sides are CMatrix objects with one row per equation and one
// column per load case.
#pragma once

#include <vector>

#include "matrix/densematrix.h"

class CSparseMatrix : public CVirtRealMat {
    DECLARE_SERIAL(CSparseMatrix)
public:
    struct cell {
        cell* pNext = nullptr;
        double dValue = 0.0;
        int iCol = 0;

        // Unlinks c from the chain behind this cell (c is not deleted).
        void Remove(cell* c);
        // Unlinks and returns the cell with column j behind this cell, or null.
        cell* Remove(int j);
        // Divides this cell and every cell behind it by d.
        void DivideAll(double d);
    };

    class row {
    public:
        row() = default;
        // Copies the three fields: the cell list is then shared.
        row(const row& other) = default;
        row& operator=(const row& other) = default;
        // Deletes every cell.
        virtual ~row();

        double* GetValue(int j);
        cell* GetCell(int j);
        // Adds v to cell j, inserting it in column order when absent (zeros too).
        void Add(int j, double v);
        // As Add(j, v), the search starting at c when c is not null and its
        // column <= j; afterwards c points at cell j.
        void Add(int j, double v, cell*& c);
        // Exactly n cells with columns j0 .. j0+n-1 holding v; existing cells
        // are reused in order.
        void Allocate(int n, double v, int j0);
        void Clear();
        // Unlinks cell j and returns it (the caller deletes it), or null.
        cell* Remove(int j);
        // Walks from this row to the row with index i and unlinks its cell j.
        cell* Remove(int i, int j);
        // Multiplies every cell with column >= j0 by f.
        void Multiply(double f, int j0);
        // Merges f times the chain starting at c into this row; with c null,
        // adds f to every cell. Returns the number of cells touched.
        int AddRow(cell* c, double f);
        int NonZeros() const;
        int NumZeros(double tol) const;
        // The largest value, never below 0.0.
        double Max() const;

        cell* pFirstCell = nullptr;
        row* pNext = nullptr;
        int iRow = 0;
    };

    CSparseMatrix() = default;
    CSparseMatrix(const CSparseMatrix&) = delete;
    ~CSparseMatrix() override;

    // Nothing of the rows is archived: storing a matrix that holds cells
    // throws CArchiveException instead of losing them; loading reads nothing.
    void Serialize(CArchive& ar) override;

    // dims[0] rows, dims[1] columns (n >= 2), every cell holding dims[3]
    // (n >= 4) or 0.0; 0 rows clears the matrix.
    bool Allocate(int* dims, int n) override;
    // Line r of the file holds row r; zeros are not stored, existing values
    // are summed with.
    void ReadASCII(CFile* file) override;
    // bExp 0: a compact listing of the stored cells; otherwise every row up to
    // the last stored one with GetColumns() numbers (line numbers first when
    // rowNumbers).
    void WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int bExp,
                    bool rowNumbers, bool header) override;
    // Adds the element's n x n block (row by row) by DOF number; negative
    // DOFs are skipped.
    void AddValues(LONG* dofs, double* values, int n) override;
    // U^T D U factorisation and substitutions; b receives the solution.
    int Cholesky_Solve(CVirtMat* b, double& seconds) override;
    CSparseMatrix& operator=(double v) override;
    CSparseMatrix& operator+=(double v) override;

    virtual double Max();
    // Stored cells whose magnitude is below tol * 2^-52.
    virtual int NumZeros(double tol);
    // Modes 1: a_ii *= b_i0, 2: b_i *= a_ii, -1: a_ii /= b_i0, -2: b_i /= a_ii.
    virtual void DiagMult(CVirtMat* b, double* seconds, int mode);
    virtual void Clear();
    // Compressed rows (a unit row counts 0); the caller frees the arrays.
    // Returns the number of entries.
    virtual int MakeArrayMat(double*& values, int*& columns, int*& counts, int n);
    // Conjugate gradients on compressed rows; the matrix is left unchanged
    // and b receives the solution. Returns the iterations made.
    virtual int ConjGradient2(CVirtMat& b, double& norm, int maxIter, double eps, CVector* times,
                              bool bScale);
    virtual void MinDegReorder(CVector& v);
    // Conjugate gradients on the upper triangle (scaled in place with
    // bScale). With x0 the correction is added to x0, else b receives the
    // solution. Returns the iterations made.
    virtual int ConjGradient(CVirtMat& b, CVirtMat* x0, double& norm, int maxIter, double eps,
                             CVector* times, bool bScale);
    // Both delete every cell left of the diagonal.
    virtual void MakeUpper();
    virtual void COUT(const char* sep);
    // In-place factorisation without pivoting: 1, or -1 for a missing row or
    // diagonal or a zero pivot.
    virtual int LU();
    virtual int GetColumns();
    virtual int GetRows();
    // Stores nothing for v == 0.0.
    virtual void Add(int i, int j, double v);
    // The cursor forms store zeros too.
    virtual void Add(int i, int j, double v, cell*& c);
    virtual void Add(int i, int j, double v, row*& r);
    virtual void Add(int i, int j, double v, row*& r, cell*& c);
    virtual void AAT();
    virtual void MakeLower();
    virtual void ReverseRows();
    // Modes 1: unit upper, 2: upper with diagonal.
    virtual void BackwSub(CVirtMat* b, double* seconds, int mode);
    // Modes 1: unit lower, 2: lower with diagonal, -1: transposed unit upper,
    // -2: transposed upper with diagonal.
    virtual void ForwSub(CVirtMat* b, double* seconds, int mode);
    virtual bool IsLower(double* seconds);
    virtual bool IsUpper();
    // U^T D U of the upper triangle in place: 1, or -1 for a missing row, a
    // first cell off the diagonal or a pivot <= 0.
    virtual int Cholesky();
    // Upper triangle to full: (j, i) = f a_ij. Returns the seconds spent.
    virtual double Mirror(double f);
    virtual int LU_Solve(CVirtMat* b, double& seconds);
    virtual double* GetValue(int i, int j);

    // Fixes unknown k: row k becomes the unit row, column k is removed.
    void UnifyAndZero(int k);
    // As UnifyAndZero(k) with the prescribed value u moved to the loads b.
    void UnifyAndZero(int k, double u, CVirtMat* b);
    bool IsSym();
    row* GetFirstRow() { return m_pFirstRow; }
    // Adds every non-zero cell of other.
    CSparseMatrix& operator=(CSparseMatrix& other);

    // Orders the non-negative DOFs ascending (duplicates kept): fills order
    // with their positions and returns how many there are.
    static int OrderDofs(const LONG* dofs, int n, int* order);

protected:
    // Row i, searched from cursor when it is not null and at or before row i.
    // With create a missing row is inserted in order; otherwise null. The
    // cursor is left on the row found.
    virtual row* FindRow(int i, row*& cursor, bool create);
    // Every row of the list in order.
    void CollectRows(std::vector<row*>& rows);
    bool HoldsCells();

    int m_iRows = 0;
    int m_iCols = 0;
    row* m_pFirstRow = nullptr;
};
