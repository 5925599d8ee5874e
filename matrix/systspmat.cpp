#include "matrix/systspmat.h"

#include "matrix/detail/doforder.h"
#include "matrix/detail/iterate.h"
#include "matrix/detail/runtime.h"
#include "matrix/detail/message.h"
#include "matrix/reordermat.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

IMPLEMENT_SERIAL(CSystSpMat, CSparseMatrix, 1)

CSystSpMat::CSystSpMat(int n)
{
    NewArray(n);
}

CSystSpMat::~CSystSpMat()
{
    // The records go with the array, never one by one.
    delete[] m_pRowArray;
    m_pRowArray = nullptr;
    m_pFirstRow = nullptr;
}

void CSystSpMat::NewArray(int n)
{
    delete[] m_pRowArray;
    m_pRowArray = nullptr;
    m_pFirstRow = nullptr;
    m_nRowCount = 0;
    if (n < 1)
        return;
    m_pRowArray = new row[static_cast<std::size_t>(n)];
    m_nRowCount = n;
    FixPointers();
}

void CSystSpMat::FixPointers()
{
    for (int i = 0; i < m_nRowCount; ++i) {
        m_pRowArray[i].iRow = i;
        m_pRowArray[i].pNext = i + 1 < m_nRowCount ? &m_pRowArray[i + 1] : nullptr;
    }
    m_pFirstRow = m_nRowCount > 0 ? m_pRowArray : nullptr;
}

CSparseMatrix::row* CSystSpMat::FindRow(int i, row*& cursor, bool)
{
    if (i < 0 || i >= m_nRowCount)
        return nullptr;
    cursor = &m_pRowArray[i];
    return cursor;
}

int CSystSpMat::GetRows()
{
    return m_nRowCount;
}

int CSystSpMat::GetColumns()
{
    return m_nRowCount;
}

void CSystSpMat::Clear()
{
    NewArray(0);
    m_iRows = m_iCols = 0;
}

double CSystSpMat::Mirror(double)
{
    return 0.0;
}

void CSystSpMat::AAT() {}

bool CSystSpMat::Allocate(int* dims, int n)
{
    const int rows = (dims && n >= 1) ? dims[0] : 0;
    if (rows != m_nRowCount)
        NewArray(rows);
    CSparseMatrix::operator=(0.0);
    return true;
}

// ---------------------------------------------------------------- insertion

void CSystSpMat::Add(int i, int j, double v)
{
    if (v == 0.0 || i < 0 || i >= m_nRowCount)
        return;
    m_pRowArray[i].Add(j, v);
}

void CSystSpMat::Add(int i, int j, double v, cell*& c)
{
    if (v == 0.0 || i < 0 || i >= m_nRowCount)
        return;
    m_pRowArray[i].Add(j, v, c);
}

void CSystSpMat::Add(int i, int j, double v, row*& r)
{
    if (v == 0.0 || i < 0 || i >= m_nRowCount)
        return;
    r = &m_pRowArray[i];
    r->Add(j, v);
}

void CSystSpMat::Add(int i, int j, double v, row*& r, cell*& c)
{
    if (v == 0.0 || i < 0 || i >= m_nRowCount)
        return;
    // A cell cursor belongs to the row the row cursor stood on.
    if (r != &m_pRowArray[i])
        c = nullptr;
    r = &m_pRowArray[i];
    r->Add(j, v, c);
}

void CSystSpMat::AddValues(LONG* dofs, double* values, int n)
{
    if (n < 1)
        return;
    const zelkor::detail::DofOrder order(dofs, n);
    const int m = order.size();
    for (int a = 0; a < m; ++a) {
        const int p = order[a];
        const LONG i = dofs[p];
        if (i >= m_nRowCount)
            continue;
        row& r = m_pRowArray[i];
        const double* rowValues = values + static_cast<std::size_t>(p) * n;
        cell* c = nullptr;
        // The order ascends, so the upper triangle starts at the first
        // position whose DOF is not below the row's.
        int b = 0;
        if (m_bSym) {
            while (b < m && dofs[order[b]] < i)
                ++b;
        }
        for (; b < m; ++b) {
            const int q = order[b];
            if (rowValues[q] != 0.0)
                r.Add(dofs[q], rowValues[q], c);
        }
    }
}

CSystSpMat& CSystSpMat::operator=(CSystSpMat& other)
{
    if (&other == this)
        return *this;
    if (other.m_nRowCount > m_nRowCount) {
        // Move the cells over to a larger array of records.
        row* grown = new row[static_cast<std::size_t>(other.m_nRowCount)];
        for (int i = 0; i < m_nRowCount; ++i) {
            grown[i].pFirstCell = m_pRowArray[i].pFirstCell;
            m_pRowArray[i].pFirstCell = nullptr;
        }
        delete[] m_pRowArray;
        m_pRowArray = grown;
        m_nRowCount = other.m_nRowCount;
        FixPointers();
    }
    for (int i = 0; i < other.m_nRowCount; ++i) {
        cell* c = nullptr;
        for (cell* oc = other.m_pRowArray[i].pFirstCell; oc; oc = oc->pNext) {
            if (oc->dValue != 0.0)
                m_pRowArray[i].Add(oc->iCol, oc->dValue, c);
        }
    }
    return *this;
}

// ---------------------------------------------------------------- layout from a reordering

void CSystSpMat::SortLongs(LONG* values, int n)
{
    while (n > 1) {
        // Hoare partition around the first element.
        const LONG pivot = values[0];
        int lo = -1;
        int hi = n;
        for (;;) {
            do
                --hi;
            while (values[hi] > pivot);
            do
                ++lo;
            while (values[lo] < pivot);
            if (lo >= hi)
                break;
            std::swap(values[lo], values[hi]);
        }
        SortLongs(values, hi + 1);
        values += hi + 1;
        n -= hi + 1;
    }
}

bool CSystSpMat::Allocate(CReorderMat& order)
{
    const int N = order.GetRows();
    if (N <= 0) {
        NewArray(0);
        return true;
    }
    if (N != m_nRowCount)
        NewArray(N);
    // The neighbours are read into scratch, never rewritten in the graph; a
    // row whose pattern is unchanged keeps its cells.
    std::vector<LONG> scratch;
    for (int i = 0; i < N; ++i) {
        const int old = order.f_v_inv(i);
        const int length = order.GetRowLength(old);
        const LONG* adjacent = order.GetRow(old);
        scratch.resize(static_cast<std::size_t>(std::max(length, 0)));
        for (int e = 0; e < length; ++e)
            scratch[e] = order.f_v(adjacent[e]);
        SortLongs(scratch.data(), length);
        int skip = 0;
        while (skip < length && scratch[skip] <= i)
            ++skip;
        row& r = m_pRowArray[i];
        r.Allocate(length - skip + 1, 0.0, i);
        cell* c = r.pFirstCell->pNext;
        for (int e = skip; e < length; ++e, c = c->pNext)
            c->iCol = scratch[e];
    }
    return true;
}

// ---------------------------------------------------------------- prescribed unknowns

std::vector<int> CSystSpMat::MarkDofs(const std::vector<int>& dofs) const
{
    std::vector<int> marks(static_cast<std::size_t>(m_nRowCount), -1);
    for (std::size_t k = 0; k < dofs.size(); ++k) {
        if (dofs[k] >= 0 && dofs[k] < m_nRowCount)
            marks[dofs[k]] = static_cast<int>(k);
    }
    return marks;
}

namespace {

std::vector<int> DofNumbers(const CVector& dofs)
{
    std::vector<int> numbers(static_cast<std::size_t>(dofs.GetSize()));
    for (int k = 0; k < dofs.GetSize(); ++k)
        numbers[k] = static_cast<int>(std::lround(dofs[k]));
    return numbers;
}

// Row d of every prescribed DOF d = dofs[k] below count becomes the unit
// row, and its loads (b[d][q], q < nb) the prescribed values u(k, q).
template <class Value>
void SetUnitRows(CSparseMatrix::row* rows, int count, const std::vector<int>& dofs, CMatrix* b,
                 int nb, Value u)
{
    for (std::size_t k = 0; k < dofs.size(); ++k) {
        const int d = dofs[k];
        if (d < 0 || d >= count)
            continue;
        rows[d].Allocate(1, 1.0, d);
        if (b) {
            double* bd = (*b)[d];
            for (int q = 0; q < nb; ++q)
                bd[q] = u(static_cast<int>(k), q);
        }
    }
}

} // namespace

template <class Value>
void CSystSpMat::EliminateSymmetric(const std::vector<int>& dofs, CMatrix* b, int nb, Value u)
{
    const std::vector<int> marks = MarkDofs(dofs);
    for (int r = 0; r < m_nRowCount; ++r) {
        const int kr = marks[r];
        for (cell** link = &m_pRowArray[r].pFirstCell; *link;) {
            cell* c = *link;
            const int j = c->iCol;
            const int kj = (j >= 0 && j < m_nRowCount) ? marks[j] : -1;
            if (j == r || (kr < 0 && kj < 0)) {
                link = &c->pNext;
                continue;
            }
            // The cell stands for (r, j) and (j, r): a prescribed partner's
            // value goes to the loads of the free one.
            if (b && kr < 0) {
                double* br = (*b)[r];
                for (int q = 0; q < nb; ++q)
                    br[q] -= u(kj, q) * c->dValue;
            } else if (b && kj < 0) {
                double* bj = (*b)[j];
                for (int q = 0; q < nb; ++q)
                    bj[q] -= u(kr, q) * c->dValue;
            }
            *link = c->pNext;
            delete c;
        }
    }
    SetUnitRows(m_pRowArray, m_nRowCount, dofs, b, nb, u);
}

void CSystSpMat::SymUnifyAndZero(CVector& dofs, CVector& values, CVirtMat* b)
{
    CMatrix* B = static_cast<CMatrix*>(b);
    const std::vector<int> numbers = DofNumbers(dofs);
    EliminateSymmetric(numbers, B, B ? B->GetColumns() : 0,
                       [&values](int k, int) { return values[k]; });
}

void CSystSpMat::SymHandleBCs(CMatrix& bc, CMatrix& b)
{
    const int count = bc.GetRows();
    const int cases = std::min(b.GetColumns(), bc.GetColumns() - 1);
    std::vector<int> numbers(static_cast<std::size_t>(std::max(count, 0)));
    for (int k = 0; k < count; ++k)
        numbers[k] = static_cast<int>(std::lround(bc[k][0]));
    EliminateSymmetric(numbers, &b, std::max(cases, 0),
                       [&bc](int k, int q) { return bc[k][q + 1]; });
}

void CSystSpMat::UnifyAndZero2(CVector& dofs, CVector& values, CVirtMat* b)
{
    CMatrix* B = static_cast<CMatrix*>(b);
    const int nb = B ? B->GetColumns() : 0;
    const std::vector<int> numbers = DofNumbers(dofs);
    const std::vector<int> marks = MarkDofs(numbers);
    for (int r = 0; r < m_nRowCount; ++r) {
        for (cell** link = &m_pRowArray[r].pFirstCell; *link;) {
            cell* c = *link;
            const int j = c->iCol;
            const int k = (j >= 0 && j < m_nRowCount) ? marks[j] : -1;
            if (k < 0) {
                link = &c->pNext;
                continue;
            }
            if (B) {
                double* br = (*B)[r];
                for (int q = 0; q < nb; ++q)
                    br[q] -= values[k] * c->dValue;
            }
            *link = c->pNext;
            delete c;
        }
    }
    SetUnitRows(m_pRowArray, m_nRowCount, numbers, B, nb,
                [&values](int k, int) { return values[k]; });
}

// ---------------------------------------------------------------- iteration

int CSystSpMat::GaussSeidel_Iter(CVector& b, CVector& x, double tol, int maxIter)
{
    using namespace zelkor::detail;
    const double start = ProcessSeconds();
    // Cells in columns at or beyond N lie outside the system and are skipped.
    const int N = std::min(b.GetSize(), m_nRowCount);
    if (x.GetSize() < b.GetSize())
        x.Allocate(b.GetSize(), true, 0.0);
    int result = -1;
    int iterations = 0;
    double error = 0.0;
    if (N == 0) {
        result = 1;
    } else if (!m_bSym) {
        double* xs = x.GetVector();
        for (int it = 0; it < maxIter; ++it) {
            iterations = it + 1;
            error = 0.0;
            for (int i = 0; i < N; ++i) {
                double s = b[i];
                const cell* d = nullptr;
                for (const cell* c = m_pRowArray[i].pFirstCell; c; c = c->pNext) {
                    if (!d && c->iCol >= i)
                        d = c;
                    else if (c->iCol < N)
                        s -= c->dValue * xs[c->iCol];
                }
                if (!d || d->dValue == 0.0)
                    continue;
                const double next = s / d->dValue;
                error = std::max(error, std::fabs(next - xs[i]));
                xs[i] = next;
            }
            if (error < tol) {
                result = 1;
                break;
            }
        }
    } else {
        std::vector<double> previous(x.GetVector(), x.GetVector() + N);
        double* xs = x.GetVector();
        double* ts = previous.data();
        for (int it = 0; it < maxIter; ++it) {
            iterations = it + 1;
            // The previous iterate's contributions from right of the diagonal.
            for (int i = 0; i < N; ++i) {
                double s = b[i];
                const cell* c = m_pRowArray[i].pFirstCell;
                for (c = c ? c->pNext : nullptr; c; c = c->pNext) {
                    if (c->iCol < N)
                        s -= c->dValue * ts[c->iCol];
                }
                xs[i] = s;
            }
            // (D + U^T) z = x by a forward sweep.
            for (int i = 0; i < N; ++i) {
                const cell* d = m_pRowArray[i].pFirstCell;
                if (!d || d->dValue == 0.0)
                    continue;
                xs[i] /= d->dValue;
                for (const cell* c = d->pNext; c; c = c->pNext) {
                    if (c->iCol < N)
                        xs[c->iCol] -= xs[i] * c->dValue;
                }
            }
            error = zelkor::detail::MaxChange(xs, ts, N);
            if (error < tol) {
                result = 1;
                break;
            }
            std::swap(xs, ts);
        }
        zelkor::detail::KeepNewest(xs, ts, result == 1, x.GetVector(), N);
    }
    const double t = ProcessSeconds() - start;
    CString text;
    text.Format("Used time solving :   %s\r\n Number of iter. :   %u\r\n"
                " NEQ             :   %u\r\n Norm of error   :   %e\r\n Symmetric       :   %u\r\n%u\r\n%u",
                MinutesSeconds(t).c_str(), static_cast<unsigned>(iterations),
                static_cast<unsigned>(N), error, static_cast<unsigned>(m_bSym),
                static_cast<unsigned>(sizeof(cell)), static_cast<unsigned>(sizeof(row)));
    ShowMessage(text.GetString());
    return result;
}
