#include "matrix/sparsematrix.h"

#include "matrix/textnumber.h"

#include "matrix/detail/doforder.h"
#include "matrix/detail/runtime.h"
#include "matrix/detail/textout.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

IMPLEMENT_SERIAL(CSparseMatrix, CVirtRealMat, 1)

namespace {

// Deletes a chain of cells or rows linked by pNext.
template <class Node>
void DeleteChain(Node* node)
{
    while (node) {
        Node* next = node->pNext;
        delete node;
        node = next;
    }
}

// Ends the chain at *link and deletes what followed there.
template <class Node>
void CutChain(Node** link)
{
    Node* rest = *link;
    *link = nullptr;
    DeleteChain(rest);
}

} // namespace

// ---------------------------------------------------------------- cell

void CSparseMatrix::cell::Remove(cell* c)
{
    for (cell* p = this; p->pNext; p = p->pNext) {
        if (p->pNext == c) {
            p->pNext = c->pNext;
            c->pNext = nullptr;
            return;
        }
    }
}

CSparseMatrix::cell* CSparseMatrix::cell::Remove(int j)
{
    for (cell* p = this; p->pNext; p = p->pNext) {
        if (p->pNext->iCol == j) {
            cell* c = p->pNext;
            p->pNext = c->pNext;
            c->pNext = nullptr;
            return c;
        }
    }
    return nullptr;
}

void CSparseMatrix::cell::DivideAll(double d)
{
    for (cell* c = this; c; c = c->pNext)
        c->dValue /= d;
}

// ---------------------------------------------------------------- row

CSparseMatrix::row::~row()
{
    Clear();
}

CSparseMatrix::cell* CSparseMatrix::row::GetCell(int j)
{
    for (cell* c = pFirstCell; c && c->iCol <= j; c = c->pNext) {
        if (c->iCol == j)
            return c;
    }
    return nullptr;
}

double* CSparseMatrix::row::GetValue(int j)
{
    cell* c = GetCell(j);
    return c ? &c->dValue : nullptr;
}

void CSparseMatrix::row::Add(int j, double v)
{
    cell* c = nullptr;
    Add(j, v, c);
}

void CSparseMatrix::row::Add(int j, double v, cell*& c)
{
    cell** link = &pFirstCell;
    if (c && c->iCol <= j) {
        if (c->iCol == j) {
            c->dValue += v;
            return;
        }
        link = &c->pNext;
    }
    while (*link && (*link)->iCol < j)
        link = &(*link)->pNext;
    if (*link && (*link)->iCol == j) {
        (*link)->dValue += v;
    } else {
        cell* n = new cell;
        n->iCol = j;
        n->dValue = v;
        n->pNext = *link;
        *link = n;
    }
    c = *link;
}

void CSparseMatrix::row::Allocate(int n, double v, int j0)
{
    cell** link = &pFirstCell;
    for (int k = 0; k < n; ++k) {
        if (!*link)
            *link = new cell;
        (*link)->iCol = j0 + k;
        (*link)->dValue = v;
        link = &(*link)->pNext;
    }
    CutChain(link);
}

void CSparseMatrix::row::Clear()
{
    CutChain(&pFirstCell);
}

CSparseMatrix::cell* CSparseMatrix::row::Remove(int j)
{
    for (cell** link = &pFirstCell; *link && (*link)->iCol <= j; link = &(*link)->pNext) {
        if ((*link)->iCol == j) {
            cell* c = *link;
            *link = c->pNext;
            c->pNext = nullptr;
            return c;
        }
    }
    return nullptr;
}

CSparseMatrix::cell* CSparseMatrix::row::Remove(int i, int j)
{
    for (row* r = this; r && r->iRow <= i; r = r->pNext) {
        if (r->iRow == i)
            return r->Remove(j);
    }
    return nullptr;
}

void CSparseMatrix::row::Multiply(double f, int j0)
{
    for (cell* c = pFirstCell; c; c = c->pNext) {
        if (c->iCol >= j0) {
            c->dValue *= f;
            ++m_Flops;
        }
    }
}

int CSparseMatrix::row::AddRow(cell* c, double f)
{
    int touched = 0;
    if (!c) {
        for (cell* p = pFirstCell; p; p = p->pNext, ++touched)
            p->dValue += f;
        return touched;
    }
    cell** link = &pFirstCell;
    for (; c; c = c->pNext, ++touched) {
        while (*link && (*link)->iCol < c->iCol)
            link = &(*link)->pNext;
        if (*link && (*link)->iCol == c->iCol) {
            (*link)->dValue += f * c->dValue;
        } else {
            cell* n = new cell;
            n->iCol = c->iCol;
            n->dValue = f * c->dValue;
            n->pNext = *link;
            *link = n;
        }
        link = &(*link)->pNext;
    }
    return touched;
}

int CSparseMatrix::row::NonZeros() const
{
    int n = 0;
    for (const cell* c = pFirstCell; c; c = c->pNext)
        ++n;
    return n;
}

int CSparseMatrix::row::NumZeros(double tol) const
{
    const double limit = tol * std::ldexp(1.0, -52);
    int n = 0;
    for (const cell* c = pFirstCell; c; c = c->pNext) {
        if (c->dValue > -limit && c->dValue < limit)
            ++n;
    }
    return n;
}

double CSparseMatrix::row::Max() const
{
    double m = 0.0;
    for (const cell* c = pFirstCell; c; c = c->pNext) {
        if (c->dValue > m)
            m = c->dValue;
    }
    return m;
}

// ---------------------------------------------------------------- matrix

CSparseMatrix::~CSparseMatrix()
{
    CSparseMatrix::Clear();
}

bool CSparseMatrix::HoldsCells()
{
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        if (r->pFirstCell)
            return true;
    }
    return false;
}

void CSparseMatrix::Serialize(CArchive& ar)
{
    // The archive form has no room for rows; refuse rather than lose them.
    if (ar.IsStoring() && HoldsCells())
        AfxThrowArchiveException(CArchiveException::generic);
}

void CSparseMatrix::CollectRows(std::vector<row*>& rows)
{
    rows.clear();
    for (row* r = m_pFirstRow; r; r = r->pNext)
        rows.push_back(r);
}

CSparseMatrix::row* CSparseMatrix::FindRow(int i, row*& cursor, bool create)
{
    row** link = &m_pFirstRow;
    if (cursor && cursor->iRow <= i) {
        if (cursor->iRow == i)
            return cursor;
        link = &cursor->pNext;
    }
    while (*link && (*link)->iRow < i)
        link = &(*link)->pNext;
    if (!*link || (*link)->iRow != i) {
        if (!create)
            return nullptr;
        row* n = new row;
        n->iRow = i;
        n->pNext = *link;
        *link = n;
    }
    cursor = *link;
    return cursor;
}

int CSparseMatrix::GetRows()
{
    row* last = nullptr;
    for (row* r = m_pFirstRow; r; r = r->pNext)
        last = r;
    return last ? last->iRow + 1 : 0;
}

int CSparseMatrix::GetColumns()
{
    int cols = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        cell* last = nullptr;
        for (cell* c = r->pFirstCell; c; c = c->pNext)
            last = c;
        if (last && last->iCol + 1 > cols)
            cols = last->iCol + 1;
    }
    return cols;
}

double* CSparseMatrix::GetValue(int i, int j)
{
    row* cursor = nullptr;
    row* r = FindRow(i, cursor, false);
    return r ? r->GetValue(j) : nullptr;
}

CSparseMatrix& CSparseMatrix::operator=(double v)
{
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        for (cell* c = r->pFirstCell; c; c = c->pNext)
            c->dValue = v;
    }
    return *this;
}

CSparseMatrix& CSparseMatrix::operator+=(double v)
{
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        for (cell* c = r->pFirstCell; c; c = c->pNext)
            c->dValue += v;
    }
    return *this;
}

double CSparseMatrix::Max()
{
    double m = 0.0;
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        const double rm = r->Max();
        if (rm > m)
            m = rm;
    }
    return m;
}

int CSparseMatrix::NumZeros(double tol)
{
    int n = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext)
        n += r->NumZeros(tol);
    return n;
}

void CSparseMatrix::Clear()
{
    CutChain(&m_pFirstRow);
    m_iRows = m_iCols = 0;
}

bool CSparseMatrix::IsUpper()
{
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        if (r->pFirstCell && r->pFirstCell->iCol < r->iRow)
            return false;
    }
    return true;
}

bool CSparseMatrix::IsLower(double* seconds)
{
    const double start = zelkor::detail::StartTimer(seconds);
    bool lower = true;
    for (row* r = m_pFirstRow; r && lower; r = r->pNext) {
        for (cell* c = r->pFirstCell; c; c = c->pNext) {
            if (c->iCol > r->iRow) {
                lower = false;
                break;
            }
        }
    }
    zelkor::detail::StopTimer(seconds, start);
    return lower;
}

bool CSparseMatrix::IsSym()
{
    const int rows = GetRows();
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        for (cell* c = r->pFirstCell; c; c = c->pNext) {
            if (c->iCol > r->iRow && c->iCol < rows) {
                const double* partner = GetValue(c->iCol, r->iRow);
                if (!partner || *partner != c->dValue)
                    return false;
            } else if (c->iCol < r->iRow) {
                if (!GetValue(c->iCol, r->iRow) && c->dValue != 0.0)
                    return false;
            }
        }
    }
    return true;
}

void CSparseMatrix::ReverseRows()
{
    row* reversed = nullptr;
    row* r = m_pFirstRow;
    while (r) {
        row* next = r->pNext;
        r->pNext = reversed;
        reversed = r;
        r = next;
    }
    m_pFirstRow = reversed;
}

void CSparseMatrix::MinDegReorder(CVector&) {}

void CSparseMatrix::MakeUpper()
{
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        while (r->pFirstCell && r->pFirstCell->iCol < r->iRow) {
            cell* c = r->pFirstCell;
            r->pFirstCell = c->pNext;
            delete c;
        }
    }
}

void CSparseMatrix::MakeLower()
{
    MakeUpper();
}

// ---------------------------------------------------------------- insertion

void CSparseMatrix::Add(int i, int j, double v)
{
    if (v == 0.0)
        return;
    row* cursor = nullptr;
    FindRow(i, cursor, true)->Add(j, v);
}

void CSparseMatrix::Add(int i, int j, double v, cell*& c)
{
    row* cursor = nullptr;
    row* r = FindRow(i, cursor, true);
    if (c && r->GetCell(c->iCol) != c)
        c = nullptr;
    r->Add(j, v, c);
}

void CSparseMatrix::Add(int i, int j, double v, row*& r)
{
    cell* c = nullptr;
    FindRow(i, r, true)->Add(j, v, c);
}

void CSparseMatrix::Add(int i, int j, double v, row*& r, cell*& c)
{
    row* before = r;
    row* target = FindRow(i, r, true);
    // A cell cursor belongs to the row the row cursor stood on; on any other
    // row the search starts at the first cell.
    if (target != before)
        c = nullptr;
    target->Add(j, v, c);
}

int CSparseMatrix::OrderDofs(const LONG* dofs, int n, int* order)
{
    int m = 0;
    for (int p = 0; p < n; ++p) {
        if (dofs[p] < 0)
            continue;
        // Insertion keeps equal DOFs in their given order.
        int k = m++;
        while (k > 0 && dofs[order[k - 1]] > dofs[p]) {
            order[k] = order[k - 1];
            --k;
        }
        order[k] = p;
    }
    return m;
}

void CSparseMatrix::AddValues(LONG* dofs, double* values, int n)
{
    if (n < 1)
        return;
    const zelkor::detail::DofOrder order(dofs, n);
    const int m = order.size();
    row* r = nullptr;
    for (int a = 0; a < m; ++a) {
        const int p = order[a];
        const double* rowValues = values + static_cast<std::size_t>(p) * n;
        cell* c = nullptr;
        // The first entry goes in even when zero, so the row and its first
        // cell exist afterwards; the cursor then carries the rest.
        Add(dofs[p], dofs[order[0]], rowValues[order[0]], r, c);
        for (int b = 1; b < m; ++b) {
            const int q = order[b];
            if (rowValues[q] != 0.0)
                Add(dofs[p], dofs[q], rowValues[q], r, c);
        }
    }
}

bool CSparseMatrix::Allocate(int* dims, int n)
{
    const int rows = (dims && n >= 1) ? dims[0] : 0;
    if (rows <= 0) {
        Clear();
        return true;
    }
    const int cols = n >= 2 ? std::max(dims[1], 0) : 0;
    const double value = n >= 4 ? static_cast<double>(dims[3]) : 0.0;
    row** link = &m_pFirstRow;
    for (int i = 0; i < rows; ++i) {
        if (!*link)
            *link = new row;
        (*link)->iRow = i;
        (*link)->Allocate(cols, value, 0);
        link = &(*link)->pNext;
    }
    CutChain(link);
    m_iRows = rows;
    m_iCols = cols;
    return true;
}

CSparseMatrix& CSparseMatrix::operator=(CSparseMatrix& other)
{
    if (&other == this)
        return *this;
    row* r = nullptr;
    for (row* o = other.m_pFirstRow; o; o = o->pNext) {
        cell* c = nullptr;
        for (cell* oc = o->pFirstCell; oc; oc = oc->pNext) {
            if (oc->dValue != 0.0)
                Add(o->iRow, oc->iCol, oc->dValue, r, c);
        }
    }
    return *this;
}

// ---------------------------------------------------------------- prescribed unknowns

void CSparseMatrix::UnifyAndZero(int k)
{
    UnifyAndZero(k, 0.0, nullptr);
}

void CSparseMatrix::UnifyAndZero(int k, double u, CVirtMat* b)
{
    CMatrix* rhs = static_cast<CMatrix*>(b);
    const int cols = rhs ? rhs->GetColumns() : 0;
    if (rhs) {
        double* bk = (*rhs)[k];
        for (int c = 0; c < cols; ++c)
            bk[c] = u;
    }
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        if (r->iRow == k)
            continue;
        cell* gone = r->Remove(k);
        if (!gone)
            continue;
        if (rhs) {
            double* br = (*rhs)[r->iRow];
            for (int c = 0; c < cols; ++c)
                br[c] -= u * gone->dValue;
        }
        delete gone;
    }
    row* cursor = nullptr;
    row* rk = FindRow(k, cursor, true);
    if (rk)
        rk->Allocate(1, 1.0, k);
}

double CSparseMatrix::Mirror(double f)
{
    const double start = zelkor::detail::ProcessSeconds();
    MakeUpper();
    for (row** link = &m_pFirstRow; *link;) {
        if (!(*link)->pFirstCell) {
            row* empty = *link;
            *link = empty->pNext;
            delete empty;
        } else {
            link = &(*link)->pNext;
        }
    }
    std::vector<row*> rows;
    CollectRows(rows);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        row* r = *it;
        for (cell* c = r->pFirstCell; c; c = c->pNext) {
            if (c->iCol > r->iRow) {
                row* cursor = r;
                Add(c->iCol, r->iRow, f * c->dValue, cursor);
            }
        }
    }
    return zelkor::detail::ProcessSeconds() - start;
}

void CSparseMatrix::AAT()
{
    CSparseMatrix product;
    row* pr = nullptr;
    for (row* ri = m_pFirstRow; ri; ri = ri->pNext) {
        cell* pc = nullptr;
        for (row* rk = m_pFirstRow; rk; rk = rk->pNext) {
            double dot = 0.0;
            const cell* a = ri->pFirstCell;
            const cell* b = rk->pFirstCell;
            while (a && b) {
                if (a->iCol < b->iCol) {
                    a = a->pNext;
                } else if (b->iCol < a->iCol) {
                    b = b->pNext;
                } else {
                    dot += a->dValue * b->dValue;
                    a = a->pNext;
                    b = b->pNext;
                }
            }
            if (dot != 0.0)
                product.Add(ri->iRow, rk->iRow, dot, pr, pc);
        }
    }
    std::swap(m_pFirstRow, product.m_pFirstRow);
}

// ---------------------------------------------------------------- array form

int CSparseMatrix::MakeArrayMat(double*& values, int*& columns, int*& counts, int n)
{
    counts = new int[static_cast<std::size_t>(std::max(n, 0))]();
    int total = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        if (r->iRow < 0 || r->iRow >= n)
            continue;
        const cell* first = r->pFirstCell;
        // A unit row left by the elimination of a prescribed unknown acts as
        // an identity row and stores nothing.
        const bool unit = first && !first->pNext && first->iCol == r->iRow && first->dValue == 1.0;
        counts[r->iRow] = unit ? 0 : r->NonZeros();
        total += counts[r->iRow];
    }
    values = new double[static_cast<std::size_t>(total)];
    columns = new int[static_cast<std::size_t>(total)];
    int pos = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        if (r->iRow < 0 || r->iRow >= n || counts[r->iRow] == 0)
            continue;
        for (const cell* c = r->pFirstCell; c; c = c->pNext, ++pos) {
            values[pos] = c->dValue;
            columns[pos] = c->iCol;
        }
    }
    return total;
}

// ---------------------------------------------------------------- text

void CSparseMatrix::ReadASCII(CFile* file)
{
    if (!file)
        return;
    zelkor::LineScanner lines([file](char* buffer, std::size_t n) {
        return static_cast<std::size_t>(file->Read(buffer, static_cast<UINT>(n)));
    });
    std::string line, number;
    for (int r = 0; lines.ReadLine(line); ++r) {
        zelkor::LineNumbers numbers(std::move(line));
        for (int j = 0; numbers.Next(number); ++j)
            Add(r, j, AfxStrToD(number.c_str()));
    }
}

void CSparseMatrix::WriteASCII(CFile* file, CString pre, CString post, int width, int precision,
                               int bExp, bool rowNumbers, bool)
{
    if (!file)
        return;
    const char* s0 = pre.GetString();
    const char* s1 = post.GetString();
    zelkor::detail::TextOut out(file);
    if (bExp == 0) {
        unsigned counter = 0;
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            out.Format("%u         ", counter);
            for (int missing = static_cast<int>(counter); missing < r->iRow; ++missing)
                out.Format("%s%*.0f%s\r\n", s0, width, 0.0, s1);
            int next = 0;
            for (cell* c = r->pFirstCell; c; c = c->pNext) {
                for (; next < c->iCol; ++next)
                    out.Format("%s%*.0f%s", s0, width, 0.0, s1);
                out.Format("%s%*.*f%s", s0, width, precision, c->dValue, s1);
                next = c->iCol + 1;
            }
            out.Put("\r\n");
            counter = static_cast<unsigned>(r->iRow + 1);
        }
    } else {
        const int rows = GetRows();
        const int cols = GetColumns();
        row* r = m_pFirstRow;
        for (int i = 0; i < rows; ++i) {
            while (r && r->iRow < i)
                r = r->pNext;
            if (rowNumbers)
                out.Format("%*u", width, static_cast<unsigned>(i + 1));
            cell* c = (r && r->iRow == i) ? r->pFirstCell : nullptr;
            for (int j = 0; j < cols; ++j) {
                while (c && c->iCol < j)
                    c = c->pNext;
                if (c && c->iCol == j)
                    out.Format("%s%*.*e%s", s0, width, precision, c->dValue, s1);
                else
                    out.Format("%s%*.0f%s", s0, width, 0.0, s1);
            }
            out.Put("\r\n");
        }
    }
    out.Put("\r\n");
    out.Flush();
}

void CSparseMatrix::COUT(const char* sep)
{
    int next = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext) {
        for (; next < r->iRow; ++next)
            std::cout << "0" << sep << '\n';
        int col = 0;
        for (cell* c = r->pFirstCell; c; c = c->pNext) {
            for (; col < c->iCol; ++col)
                std::cout << "0" << sep;
            std::cout << c->dValue << sep;
            col = c->iCol + 1;
        }
        std::cout << '\n';
        next = r->iRow + 1;
    }
}
