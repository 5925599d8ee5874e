// CSystSpMat: the sparse matrix of a whole equation system of known size.
// Its row records lie in one array, record i holding row i, and are also
// linked in order, so the list operations of CSparseMatrix still apply while
// insertion reaches a row directly by its index. With CVirtMat::m_bSym set
// the system is held as its upper triangle with the diagonal.
#pragma once

#include "matrix/sparsematrix.h"

class CReorderMat;

class CSystSpMat : public CSparseMatrix {
    DECLARE_SERIAL(CSystSpMat)
public:
    CSystSpMat() = default;
    // n empty rows (none for n < 1).
    explicit CSystSpMat(int n);
    ~CSystSpMat() override;

    // dims[0] rows; the same count keeps the pattern with every cell 0.0.
    bool Allocate(int* dims, int n) override;
    // Adds the non-zero entries of the block; with m_bSym only those on and
    // right of the diagonal.
    void AddValues(LONG* dofs, double* values, int n) override;
    int GetColumns() override;
    int GetRows() override;
    // All four forms store nothing for v == 0.0; i must be a row of the array.
    void Add(int i, int j, double v) override;
    void Add(int i, int j, double v, cell*& c) override;
    void Add(int i, int j, double v, row*& r) override;
    void Add(int i, int j, double v, row*& r, cell*& c) override;
    // Drops every cell and the row array.
    void Clear() override;
    // The row array cannot take rows in or out one by one: both leave the
    // matrix unchanged.
    double Mirror(double f) override;
    void AAT() override;

    // Gauss-Seidel sweeps from the start values in x; 1 when the largest
    // change falls below tol, else -1 after maxIter sweeps.
    virtual int GaussSeidel_Iter(CVector& b, CVector& x, double tol, int maxIter);
    // Lays out the upper-triangle pattern in the new numbering of order:
    // row i holds its diagonal and then its higher-numbered neighbours.
    virtual bool Allocate(CReorderMat& order);
    // Upper-triangle storage: the unknowns dofs[k] take values[k]; their
    // couplings move to the loads b and their rows become unit rows.
    virtual void SymUnifyAndZero(CVector& dofs, CVector& values, CVirtMat* b);
    // The same for full storage.
    virtual void UnifyAndZero2(CVector& dofs, CVector& values, CVirtMat* b);

    // Links the records in index order again.
    void FixPointers();
    // Upper-triangle storage: bc row k holds an unknown's number and then its
    // values for the load cases (b's columns); b's rows of those unknowns
    // receive the values.
    void SymHandleBCs(CMatrix& bc, CMatrix& b);
    // Grows to other's row count when that is larger, then adds other's
    // non-zero cells.
    CSystSpMat& operator=(CSystSpMat& other);
    using CSparseMatrix::operator=;

    // Ascending sort of n longs in place.
    static void SortLongs(LONG* values, int n);

protected:
    row* FindRow(int i, row*& cursor, bool create) override;

private:
    // Replaces the array by n empty records (none for n < 1).
    void NewArray(int n);
    // The elimination shared by the symmetric forms: every coupling of a
    // prescribed unknown d_k with a free unknown moves u(k, c) times its
    // value to the loads of that unknown; rows d_k become unit rows and b's
    // rows d_k take u(k, c).
    template <class Value>
    void EliminateSymmetric(const std::vector<int>& dofs, CMatrix* b, int nb, Value u);
    // The array's valid rows among the numbers given: marks[d] = k.
    std::vector<int> MarkDofs(const std::vector<int>& dofs) const;

    row* m_pRowArray = nullptr;
    int m_nRowCount = 0;
};
