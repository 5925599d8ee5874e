// Dense decompositions and solves of CMatrix. The algorithms are written once
// against an entry accessor: a plain CMatrix is walked through its array, a
// derived matrix through its virtual accessors, so that it is served by the
// same code.
#include "matrix/densematrix.h"

#include "matrix/detail/runtime.h"

#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <limits>
#include <numeric>
#include <typeinfo>
#include <vector>

namespace {

// Entries straight from the row-major array.
struct ArrayAccess {
    double* a;
    long long cols;
    double Get(int i, int j) const { return a[i * cols + j]; }
    double& Ref(int i, int j) const { return a[i * cols + j]; }
    void Set(int i, int j, double v) const { a[i * cols + j] = v; }
    void Add(int i, int j, double v) const { a[i * cols + j] += v; }
    double Mul(int i, int j, double f) const { return a[i * cols + j] *= f; }
};

// Entries through the matrix's virtual accessors.
struct VirtualAccess {
    CMatrix* m;
    double Get(int i, int j) const { return m->GetValue(i, j); }
    double& Ref(int i, int j) const { return m->GetValueByRef(i, j); }
    void Set(int i, int j, double v) const { m->SetValue(i, j, v); }
    void Add(int i, int j, double v) const { m->AddValue(i, j, v); }
    double Mul(int i, int j, double f) const { return m->Multiply(i, j, f); }
};

// Runs f with the accessor that fits the matrix's class.
template <class F>
auto WithAccess(const CMatrix* m, F f)
{
    auto* mm = const_cast<CMatrix*>(m);
    if (typeid(*m) == typeid(CMatrix))
        return f(ArrayAccess{mm->GetVector(), mm->GetColumns()});
    return f(VirtualAccess{mm});
}

template <class A>
bool DecomposeLU(A a, int n)
{
    for (int k = 0; k < n; ++k) {
        const double p = a.Get(k, k);
        if (p == 0.0)
            return false;
        for (int i = k + 1; i < n; ++i) {
            double lik = a.Get(i, k);
            if (lik == 0.0)
                continue;
            lik /= p;
            a.Set(i, k, lik);
            for (int j = k + 1; j < n; ++j)
                a.Add(i, j, -lik * a.Get(k, j));
        }
    }
    return true;
}

template <class A>
bool DecomposeLUP(A a, int n, int* perm)
{
    for (int k = 0; k < n; ++k) {
        double best = 0.0;
        int kp = k;
        for (int i = k; i < n; ++i) {
            double v = std::fabs(a.Get(i, k));
            if (v > best) {
                best = v;
                kp = i;
            }
        }
        // Every column is tested, the last one too: a zero pivot there would
        // make the solve divide by zero.
        if (best == 0.0)
            return false;
        std::swap(perm[k], perm[kp]);
        if (kp != k)
            for (int j = 0; j < n; ++j)
                std::swap(a.Ref(k, j), a.Ref(kp, j));
        const double inv = 1.0 / a.Get(k, k);
        for (int i = k + 1; i < n; ++i) {
            const double lik = a.Mul(i, k, inv);
            for (int j = k + 1; j < n; ++j)
                a.Add(i, j, -lik * a.Get(k, j));
        }
    }
    return true;
}

template <class L, class B>
void SubstituteLU(L lu, B b, int n, int columns, const int* perm)
{
    std::vector<double> y(perm ? static_cast<std::size_t>(n) : 0);
    for (int c = 0; c < columns; ++c) {
        if (perm) {
            for (int i = 0; i < n; ++i) {
                double s = b.Get(perm[i], c);
                for (int k = 0; k < i; ++k)
                    s -= lu.Get(i, k) * y[k];
                y[i] = s;
            }
        } else {
            for (int i = 0; i < n; ++i) {
                double s = 0.0;
                for (int k = 0; k < i; ++k)
                    s += lu.Get(i, k) * b.Get(k, c);
                b.Add(i, c, -s);
            }
        }
        for (int i = n - 1; i >= 0; --i) {
            double x = perm ? y[i] : b.Get(i, c);
            for (int k = i + 1; k < n; ++k)
                x -= lu.Get(i, k) * b.Get(k, c);
            b.Set(i, c, x / lu.Get(i, i));
        }
    }
}

template <class A>
bool DecomposeCholesky(A a, int n)
{
    for (int k = 0; k < n; ++k) {
        const double d = a.Get(k, k);
        if (!(d > 0.0))
            return false;
        for (int i = k + 1; i < n; ++i) {
            const double aki = a.Get(k, i);
            if (aki == 0.0)
                continue;
            const double f = aki / d;
            for (int j = i; j < n; ++j)
                a.Add(i, j, -f * a.Get(k, j));
        }
        const double s = std::sqrt(d);
        for (int j = 0; j < k; ++j)
            a.Set(k, j, 0.0);
        for (int j = k; j < n; ++j)
            a.Set(k, j, a.Get(k, j) / s);
    }
    return true;
}

} // namespace

CMatrix* CMatrix::LU()
{
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return nullptr;
    bool ok = WithAccess(this, [n](auto a) { return DecomposeLU(a, n); });
    return ok ? this : nullptr;
}

int CMatrix::LUP_Decomp(int*& perm)
{
    perm = nullptr;
    const int n = m_nRows;
    if (n == 0 || n != GetColumns())
        return -1;
    perm = new int[static_cast<std::size_t>(n)];
    std::iota(perm, perm + n, 0);
    int* p = perm;
    if (!WithAccess(this, [n, p](auto a) { return DecomposeLUP(a, n, p); })) {
        delete[] perm;
        perm = nullptr;
        return -1;
    }
    return 1;
}

void CMatrix::LUP_Solve(const CMatrix* lu, const int* perm, CMatrix* b)
{
    const int n = lu->m_nRows;
    const int columns = b->GetColumns();
    WithAccess(lu, [&](auto l) {
        WithAccess(b, [&](auto r) { SubstituteLU(l, r, n, columns, perm); return 0; });
        return 0;
    });
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
    return WithAccess(this, [n](auto a) { return DecomposeCholesky(a, n); }) ? 1 : 0;
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
