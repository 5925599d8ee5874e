// Dense decompositions and solves of CMatrix. They reach the entries through
// the virtual accessors so that derived matrices are served by the same code.
#include "matrix/densematrix.h"

#include "matrix/detail/runtime.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <limits>
#include <numeric>
#include <vector>

CMatrix* CMatrix::LU()
{
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return nullptr;
    for (int k = 0; k < n; ++k) {
        const double p = GetValue(k, k);
        if (p == 0.0)
            return nullptr;
        for (int i = k + 1; i < n; ++i) {
            double lik = GetValue(i, k);
            if (lik == 0.0)
                continue;
            lik /= p;
            SetValue(i, k, lik);
            for (int j = k + 1; j < n; ++j)
                AddValue(i, j, -lik * GetValue(k, j));
        }
    }
    return this;
}

int CMatrix::LUP_Decomp(int*& perm)
{
    perm = nullptr;
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return -1;
    perm = new int[static_cast<std::size_t>(n)];
    std::iota(perm, perm + n, 0);
    for (int k = 0; k < n; ++k) {
        double best = 0.0;
        int kp = k;
        for (int i = k; i < n; ++i) {
            double a = std::fabs(GetValue(i, k));
            if (a > best) {
                best = a;
                kp = i;
            }
        }
        // Every column is tested, the last one too: a zero pivot there would
        // make the solve divide by zero.
        if (best == 0.0) {
            delete[] perm;
            perm = nullptr;
            return -1;
        }
        std::swap(perm[k], perm[kp]);
        if (kp != k)
            for (int j = 0; j < n; ++j)
                std::swap(GetValueByRef(k, j), GetValueByRef(kp, j));
        const double inv = 1.0 / GetValue(k, k);
        for (int i = k + 1; i < n; ++i) {
            const double lik = Multiply(i, k, inv);
            for (int j = k + 1; j < n; ++j)
                AddValue(i, j, -lik * GetValue(k, j));
        }
    }
    return 1;
}

void CMatrix::LUP_Solve(const CMatrix* lu, const int* perm, CMatrix* b)
{
    const int n = lu->m_nRows;
    const int columns = b->GetColumns();
    std::vector<double> y(perm ? static_cast<std::size_t>(n) : 0);
    for (int c = 0; c < columns; ++c) {
        if (perm) {
            for (int i = 0; i < n; ++i) {
                double s = b->GetValue(perm[i], c);
                for (int k = 0; k < i; ++k)
                    s -= lu->GetValue(i, k) * y[k];
                y[i] = s;
            }
        } else {
            for (int i = 0; i < n; ++i) {
                double s = 0.0;
                for (int k = 0; k < i; ++k)
                    s += lu->GetValue(i, k) * b->GetValue(k, c);
                b->AddValue(i, c, -s);
            }
        }
        for (int i = n - 1; i >= 0; --i) {
            double x = perm ? y[i] : b->GetValue(i, c);
            for (int k = i + 1; k < n; ++k)
                x -= lu->GetValue(i, k) * b->GetValue(k, c);
            b->SetValue(i, c, x / lu->GetValue(i, i));
        }
    }
}

bool CMatrix::SolveAxEqb(CMatrix* b, bool pivoting, double& seconds)
{
    seconds = 0.0;
    const int n = m_nRows;
    if (!b || n == 0 || n != GetColumns() || b->GetRows() != n)
        return false;
    const double start = zelkor::detail::ProcessSeconds();
    int* perm = nullptr;
    if (pivoting ? LUP_Decomp(perm) < 0 : LU() == nullptr)
        return false;
    seconds = zelkor::detail::ProcessSeconds() - start;
    LUP_Solve(this, perm, b);
    delete[] perm;
    return true;
}

double CMatrix::Det() const
{
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return 0.0;
    CMatrix lu(*this);
    int* perm = nullptr;
    if (lu.LUP_Decomp(perm) < 0)
        return 0.0;
    // The sign of the permutation: even or odd by its cycles.
    int transpositions = 0;
    std::vector<bool> seen(static_cast<std::size_t>(n), false);
    for (int i = 0; i < n; ++i) {
        if (seen[i])
            continue;
        int length = 0;
        for (int j = i; !seen[j]; j = perm[j]) {
            seen[j] = true;
            ++length;
        }
        transpositions += length - 1;
    }
    delete[] perm;
    double det = transpositions % 2 ? -1.0 : 1.0;
    for (int i = 0; i < n; ++i) {
        det *= lu.GetValue(i, i);
        if (det == 0.0)
            return 0.0;
    }
    return det;
}

double CMatrix::SubDetSqMat(int i, int j, int order) const
{
    if (order < 1 || i < 0 || j < 0 || i + order > m_nRows || j + order > GetColumns())
        return 0.0;
    CMatrix block(order, order, false, 0.0);
    for (int r = 0; r < order; ++r)
        for (int c = 0; c < order; ++c)
            block.SetValue(r, c, GetValue(i + r, j + c));
    return block.Det();
}

int CMatrix::Cholesky()
{
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return 0;
    for (int k = 0; k < n; ++k) {
        const double d = GetValue(k, k);
        if (!(d > 0.0))
            return 0;
        for (int i = k + 1; i < n; ++i) {
            const double aki = GetValue(k, i);
            if (aki == 0.0)
                continue;
            const double f = aki / d;
            for (int j = i; j < n; ++j)
                AddValue(i, j, -f * GetValue(k, j));
        }
        const double s = std::sqrt(d);
        for (int j = 0; j < k; ++j)
            SetValue(k, j, 0.0);
        for (int j = k; j < n; ++j)
            SetValue(k, j, GetValue(k, j) / s);
    }
    return 1;
}

double CMatrix::MatrixChainOrder(CMatrix* split, const CVector* dims)
{
    const int n = dims->GetSize() - 1;
    if (n < 1)
        return 0.0;
    if (split->GetRows() < n || split->GetColumns() < n)
        split->Allocate(n, n, true, 0.0);
    // Costs in 64 bits: the products of dimensions of long chains overflow 32.
    std::vector<std::int64_t> m(static_cast<std::size_t>(n) * n, 0);
    auto cost = [&](int i, int j) -> std::int64_t& { return m[(i - 1) * static_cast<std::size_t>(n) + (j - 1)]; };
    auto dim = [&](int i) { return static_cast<std::int64_t>((*dims)[i]); };
    for (int l = 2; l <= n; ++l) {
        for (int i = 1; i <= n - l + 1; ++i) {
            const int j = i + l - 1;
            cost(i, j) = std::numeric_limits<std::int64_t>::max();
            for (int k = i; k < j; ++k) {
                std::int64_t q = cost(i, k) + cost(k + 1, j) + dim(i - 1) * dim(k) * dim(j);
                if (q < cost(i, j)) {
                    cost(i, j) = q;
                    split->SetValue(i - 1, j - 1, k);
                }
            }
        }
    }
    return static_cast<double>(cost(1, n));
}

void CMatrix::ChainMultRec(CMatrix** list, const CMatrix& split, int i, int j)
{
    if (i >= j)
        return;
    const int k = static_cast<int>(split.GetValue(i - 1, j - 1));
    ChainMultRec(list, split, i, k);
    ChainMultRec(list, split, k + 1, j);
    *list[i - 1] *= *list[k];
}

double CMatrix::ChainMult(bool optimal, int n, CMatrix* m1, ...)
{
    const double start = zelkor::detail::ProcessSeconds();
    if (n < 1 || !m1)
        return 0.0;
    std::vector<CMatrix*> list(static_cast<std::size_t>(n));
    list[0] = m1;
    va_list args;
    va_start(args, m1);
    for (int i = 1; i < n; ++i)
        list[i] = va_arg(args, CMatrix*);
    va_end(args);

    // The chain's other matrices stay as they are: the work is done on copies
    // (also of m1 where it appears again in the chain).
    std::vector<CMatrix> copies;
    copies.reserve(static_cast<std::size_t>(n));
    for (int i = 1; i < n; ++i) {
        if (optimal || list[i] == m1) {
            copies.emplace_back(*list[i]);
            list[i] = &copies.back();
        }
    }
    if (!optimal) {
        for (int i = 1; i < n; ++i)
            *m1 *= *list[i];
    } else {
        CVector dims(n + 1, true, 0.0);
        dims[0] = m1->GetRows();
        for (int i = 0; i < n; ++i)
            dims[i + 1] = list[i]->GetColumns();
        CMatrix split(n, n, true, 0.0);
        MatrixChainOrder(&split, &dims);
        ChainMultRec(list.data(), split, 1, n);
    }
    return zelkor::detail::ProcessSeconds() - start;
}
