// The products of the dense matrix with sparse matrices and the conversions
// between the two forms.
#include "matrix/densematrix.h"
#include "matrix/sparsematrix.h"

#include <algorithm>

namespace {

using Row = CSparseMatrix::row;
using Cell = CSparseMatrix::cell;

// The rows of the product s x src: those of s, and in the symmetric mode at
// least as many as s has columns, so that every mirrored cell has its row.
int ProductRows(CSparseMatrix* s, int mode)
{
    const int rows = s->GetRows();
    return mode == 1 ? std::max(rows, s->GetColumns()) : rows;
}

// r += s x src (mode 0: the cells as stored; mode 1: s is the upper half of a
// symmetric matrix whose rows start at their diagonal). Returns the
// operations done.
unsigned AddProduct(const CMatrix& src, CSparseMatrix* s, CMatrix& r, int mode)
{
    const int cols = src.GetColumns();
    unsigned flops = 0;
    if (mode != 0 && mode != 1)
        return 0;
    for (Row* sr = s->GetFirstRow(); sr; sr = sr->pNext) {
        const int i = sr->iRow;
        double* ri = r[i];
        const double* xi = src[i];
        bool first = true;
        for (const Cell* c = sr->pFirstCell; c; c = c->pNext) {
            const double v = c->dValue;
            const double* xj = src[c->iCol];
            for (int q = 0; q < cols; ++q)
                ri[q] += v * xj[q];
            if (mode == 1 && !first) {
                double* rj = r[c->iCol];
                for (int q = 0; q < cols; ++q)
                    rj[q] += v * xi[q];
                flops += 4u * static_cast<unsigned>(cols);
            } else {
                flops += 2u * static_cast<unsigned>(cols);
            }
            first = false;
        }
    }
    return flops;
}

} // namespace

void CMatrix::PreMult(CSparseMatrix* s, int mode)
{
    if (!s)
        return;
    CMatrix result(ProductRows(s, mode), GetColumns(), true, 0.0);
    if (result.GetRows() > 0)
        AddProduct(*this, s, result, mode);
    TakeOver(result);
}

void CMatrix::PreMult(CSparseMatrix* s, CMatrix& r, bool accumulate, int mode)
{
    if (!s)
        return;
    const int rows = ProductRows(s, mode);
    const int cols = GetColumns();
    // Old entries are added to only when r keeps its shape; a new shape
    // starts from zeros rather than from whatever the new array holds.
    const bool keep = accumulate && r.GetRows() == rows && r.GetColumns() == cols;
    if (!r.Allocate(rows, cols, !keep, 0.0))
        return;
    m_Flops += AddProduct(*this, s, r, mode);
}

void CMatrix::ATthisA(CSparseMatrix* s)
{
    if (!s)
        return;
    const int n = GetRows();
    const int cols = GetColumns();
    // T = (s x this)^T, written only where not exactly zero.
    CMatrix t(cols, n, true, 0.0);
    for (Row* sr = s->GetFirstRow(); sr; sr = sr->pNext) {
        const int i = sr->iRow;
        for (int c = 0; c < cols; ++c) {
            double sum = 0.0;
            for (const Cell* e = sr->pFirstCell; e; e = e->pNext)
                sum += e->dValue * (*this)[e->iCol][c];
            if (sum != 0.0)
                t[c][i] = sum;
        }
    }
    Allocate(n, n, true, 0.0);
    for (Row* sr = s->GetFirstRow(); sr; sr = sr->pNext) {
        const int i = sr->iRow;
        for (int c = 0; c < n; ++c) {
            double sum = 0.0;
            for (const Cell* e = sr->pFirstCell; e; e = e->pNext)
                sum += e->dValue * t[e->iCol][c];
            if (sum != 0.0)
                (*this)[c][i] = sum;
        }
    }
}

void CMatrix::Sparse(CSparseMatrix*& s) const
{
    if (!s)
        s = new CSparseMatrix;
    const int cols = GetColumns();
    for (int i = m_nRows - 1; i >= 0; --i) {
        const double* mi = (*this)[i];
        int j = cols - 1;
        while (j >= 0 && mi[j] == 0.0)
            --j;
        if (j < 0)
            continue;
        // The last non-zero entry yields the row; the others go in front.
        Row* r = nullptr;
        s->Add(i, j, mi[j], r);
        if (!r)
            continue; // a row the target cannot hold
        for (--j; j >= 0; --j) {
            if (mi[j] != 0.0)
                r->Add(j, mi[j]);
        }
    }
}

void CMatrix::UnSparse(CSparseMatrix* s)
{
    if (!s)
        return;
    int cols = 0;
    for (Row* r = s->GetFirstRow(); r; r = r->pNext) {
        const Cell* last = nullptr;
        for (const Cell* c = r->pFirstCell; c; c = c->pNext)
            last = c;
        if (last)
            cols = std::max(cols, last->iCol + 1);
    }
    if (!Allocate(s->GetRows(), cols, true, 0.0))
        return;
    for (Row* r = s->GetFirstRow(); r; r = r->pNext) {
        for (const Cell* c = r->pFirstCell; c; c = c->pNext)
            SetValue(r->iRow, c->iCol, c->dValue);
    }
}
