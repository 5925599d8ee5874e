// CMatrix: the dense real matrix, a CVector whose elements are stored row by
// row, plus the row count. Columns = element count / rows (0 for 0 rows); an
// empty matrix has 0 rows and no array. Indices are 0-based and not checked.
#pragma once

#include "matrix/realvector.h"

class CSparseMatrix;

class CMatrix : public CVector {
    DECLARE_SERIAL(CMatrix)
public:
    CMatrix() = default;
    // rows x cols, filled with value when fill; 0 rows when cols is 0.
    CMatrix(int rows, int cols, bool fill = true, double value = 0.0);
    // A copy, or the transposed copy.
    CMatrix(const CMatrix& m, bool transposed);
    CMatrix(const CMatrix& m);
    ~CMatrix() override;

    // --- overridden vector slots
    // Archive: the vector part (count, doubles row by row), then the rows.
    void Serialize(CArchive& ar) override;
    // count <= 1: square dims[0]; 2: dims[0] x dims[1] zeroed; 3: filled with
    // 0.0 when dims[2] != 0; 4 or more: filled with dims[3].
    bool Allocate(int* dims, int count) override;
    void AddValues(LONG* dofs, double* values, int n) override;
    // Reads the data lines from the file's current position up to the first
    // line without a number: one row a line, as many columns as the longest
    // line (shorter rows end in zeros). The file is left just after the last
    // data line. Rows so ragged that the zero-filled matrix would hold more
    // than four entries per byte of their text, or rows that cannot be
    // allocated, throw a CArchiveException; the file is then left where the
    // rows begin.
    void ReadASCII(CFile* file) override;
    // One row a line, every entry as pre, the number, post: "%*.*f" (style
    // 0), "%*.*e" (style 1) or "%*g" (style 2); any other style writes no
    // rows. rowNumbers puts each row's number in a field of width - precision
    // and a blank in front of it; header writes an empty line and a line of
    // column numbers first. An empty line closes the block.
    void WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int style,
                    bool rowNumbers, bool header) override;
    CMatrix& operator=(double v) override;
    // An n x 1 column.
    bool Allocate(int n, bool fill, double value) override;
    // Largest row sum of absolute values.
    double InfNorm() const override;
    // Adopts data as an n x 1 column; the old array goes back to the caller.
    double* ReplaceVector(double* data, int n) override;
    // Exchanges arrays with other and fixes both shapes.
    void SwitchVectors(CVector* other) override;

    // --- virtual operations of the matrix
    virtual void GetColVect(CVector& v, int j) const;
    // This matrix becomes the 3 x 3 rotation of the rotation vector v.
    virtual CMatrix* MakeRotMat(const CVector& v);
    // Reads the matrix of the keyword block that follows the first line (from
    // the current position on) containing start, up to the line containing
    // end, as ReadASCII(CFile*) reads its lines; text from the comment mark
    // on is ignored, keys match in any case (see matrix/textblock.h). The
    // file is left after the line that ended the block. When start is not
    // found, the matrix and the file position stay as they were. Rows the
    // text cannot hold are refused as by ReadASCII(CFile*).
    virtual void ReadASCII(CFile* file, CString start, CString end, CString comment);
    // x replaced by this x (mode 1) or this^T x (mode 2).
    virtual void ApplyTo(CVector& x, int mode) const;
    // y += this x (mode 1) or y += this^T x (mode 2).
    virtual void ApplyTo(const CVector& x, CVector& y, int mode) const;
    // false for a 0-element request (the matrix is then empty) or no memory.
    virtual bool Allocate(int rows, int cols, bool fill, double value);
    virtual double& MinInCol(int j);
    virtual void GetMaxMinLength(double& max, double& min, int c1, int c2, bool byRows) const;
    virtual void GetMaxMinLength(double& max, double& min, int c1, int c2, int c3, bool byRows) const;
    // Applies the square b to the rows/columns from offset on; flags bits
    // 1: T^T A, 2: A T, 4: T A, 8: A T^T (in that order).
    virtual void SubMult(const CMatrix& b, int offset, unsigned flags);
    // |dir| == 1: column norms, else row norms; squared when dir <= 0.
    virtual void Vect2Norm(CVector& out, int dir) const;
    // In-place upper factor U with A = U^T U; 1, or 0 on a pivot <= 0.
    virtual int Cholesky();
    virtual void MultiplyCol(int j, double f);
    virtual void MultiplyRow(int i, double f);
    virtual void COUT(const char* sep) const;
    virtual double Trace() const;
    virtual double OneNorm() const;
    virtual double Frobenius() const;
    virtual void Identity(int n, double v);
    // This matrix becomes s x this. Mode 0: every cell as stored; mode 1: s
    // is the upper half of a symmetric matrix whose rows start at their
    // diagonal; other modes give the zero matrix of the shape.
    virtual void PreMult(CSparseMatrix* s, int mode);
    // r = s x this (r += with accumulate when r keeps its shape), counting
    // operations in m_Flops; modes as above, other modes leave r as sized.
    virtual void PreMult(CSparseMatrix* s, CMatrix& r, bool accumulate, int mode);
    // This n x n matrix becomes s x this x s^T.
    virtual void ATthisA(CSparseMatrix* s);
    // Reshapes without touching the array: n columns (byColumns) or n rows.
    virtual bool Resize(int n, bool byColumns);
    // Solves this X = b in place in b (this keeps its decomposition).
    virtual bool SolveAxEqb(CMatrix* b, bool pivoting, double& seconds);
    virtual double Multiply(int i, int j, double f);
    // In-place decomposition with row pivoting: 1 with perm (new[], the
    // caller frees it), or -1 with perm null when the matrix is singular.
    virtual int LUP_Decomp(int*& perm);
    // In-place decomposition without pivoting; null on a zero pivot.
    virtual CMatrix* LU();
    // Determinant of the square block of the given order at (i, j).
    virtual double SubDetSqMat(int i, int j, int order) const;
    virtual double Det() const;
    virtual void Transpose();
    virtual int GetColumns() const;
    virtual double& GetValueByRef(int i, int j);
    virtual double GetValue(int i, int j) const;
    virtual void SetValue(int i, int j, double v);
    virtual void AddValue(int i, int j, double v);

    // --- shape and access
    int GetRows() const { return m_nRows; }
    bool IsAllocated() const { return m_pData != nullptr; }
    // Frees the array and adopts data (from new[]) as rows x cols.
    void SetVector(double* data, int rows, int cols);
    double* operator[](int i) { return m_pData + static_cast<long long>(i) * Cols(); }
    const double* operator[](int i) const { return m_pData + static_cast<long long>(i) * Cols(); }
    using CVector::GetValue;
    using CVector::SetValue;

    // --- whole-matrix arithmetic
    CMatrix& operator=(const CMatrix& m);
    using CVector::operator+=;
    using CVector::operator-=;
    // Equal shapes add entry by entry; otherwise the result is max rows x max
    // columns with both operands zero-padded.
    CMatrix& operator+=(const CMatrix& b);
    CMatrix& operator-=(const CMatrix& b);
    CMatrix& operator*=(double f);
    CMatrix& operator/=(double f);
    // this = this x b.
    CMatrix& operator*=(const CMatrix& b);
    CMatrix& PostMult(const CMatrix& b) { return *this *= b; }
    void MultiplySubRow(int i, int from, int to, double f);
    // wholeRow: row k set to value; else column k set to (or, with add,
    // increased by) value.
    void SetVals(int k, double value, bool add, bool wholeRow);
    // this = b x this^T x b^T (b and this k x k).
    void PostPreMult(const CMatrix& b, int unused);
    // m += f a b^T; with reversed, a and b are read from their ends.
    static void vectAvectBT(CMatrix& m, const CVector& a, const CVector& b, double& f, bool reversed);
    // m1 = m1 x m2 x ... x mn (n matrix pointers follow); only m1 changes.
    // Returns the processor time spent, in seconds.
    static double ChainMult(bool optimal, int n, CMatrix* m1, ...);

    // --- scans
    double MaxInRow(int i) const;
    double& MaxInCol(int j);
    double& fabsMaxInCol(int j);
    int FindInRow(int i, double x) const;
    int FindInCol(int j, double x) const;
    bool CheckSymm() const;
    void GetMaxMin1(double (*f)(double), double& max, double& min, int k, bool byRows) const;
    void GetMaxMin2(double (*f)(double*), double& max, double& min, int k1, int k2, bool byRows) const;
    void GetMaxMin3(double (*f)(double*), double& max, double& min, int k1, int k2, int k3,
                    bool byRows) const;
    // New caller-owned symmetric and skew parts.
    void Split(CMatrix*& sym, CMatrix*& skew) const;
    void AAT() {}
    void Eig(bool, CMatrix&, CVector&) {}
    void Stream() const;

    // --- sparse forms
    // Adds the non-zero entries into s (created, caller-owned, when null).
    void Sparse(CSparseMatrix*& s) const;
    // Becomes the dense form of s.
    void UnSparse(CSparseMatrix* s);

    // --- solves
    // Solves every column of b with a decomposition from LUP_Decomp (perm) or
    // LU() (perm null).
    static void LUP_Solve(const CMatrix* lu, const int* perm, CMatrix* b);
    // Fills split (n x n) with the best split points of the chain whose
    // dimensions are dims (n + 1 entries); returns the least multiplications.
    static double MatrixChainOrder(CMatrix* split, const CVector* dims);

    // --- rotation and test matrices (angles in radians)
    static void RotMat2D(CMatrix& m, double angle, bool transposed);
    void RotMat(double a, double b);
    // Random entries in [lo, hi]: kind 0 all, 1 lower with diagonal, 2 upper
    // with diagonal, -1 strict lower, -2 strict upper (others zero).
    void RandMat(int rows, int cols, double hi, double lo, int kind);
    void LMat(int rows, int cols, double off, double diag, bool add);
    void UMat(int rows, int cols, double off, double diag, bool add);
    void WellCond(int rows, int cols, double range);
    // Makes the diagonal trace-free.
    void Dev();

protected:
    friend class CVector;
    // After an exchange of arrays: formerCount rows when that fits the new
    // element count, else one column.
    void FitShape(int formerCount);
    int Cols() const { return m_nRows > 0 ? m_nSize / m_nRows : 0; }
    // this += f b over b's rows and columns (this at least as large).
    void AddPadded(const CMatrix& b, double f);
    // Takes over the array of tmp as this matrix's, with tmp's shape.
    void TakeOver(CMatrix& tmp);
    static void ChainMultRec(CMatrix** list, const CMatrix& split, int i, int j);

    int m_nRows = 0;
};
