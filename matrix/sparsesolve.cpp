// Factorisations, substitutions and iterative solves of the sparse matrix.
#include "matrix/sparsematrix.h"

#include "matrix/detail/runtime.h"
#include "matrix/detail/message.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using zelkor::detail::ProcessSeconds;
using zelkor::detail::StartTimer;
using zelkor::detail::StopTimer;

namespace {

// row_i -= f * row_j over n columns.
inline void SubtractRow(double* bi, const double* bj, double f, int n)
{
    for (int q = 0; q < n; ++q)
        bi[q] -= f * bj[q];
}

} // namespace

int CSparseMatrix::Cholesky()
{
    int k = 0;
    for (row* r = m_pFirstRow; r; r = r->pNext, ++k) {
        cell* diag = r->pFirstCell;
        if (r->iRow != k || !diag || diag->iCol != k || !(diag->dValue > 0.0))
            return -1;
        const double d = diag->dValue;
        ++m_Flops;
        row* cursor = r;
        for (cell* c = diag->pNext; c; c = c->pNext) {
            const double a = c->dValue;
            if (a == 0.0)
                continue;
            // Row j receives -a/d times the rest of row k from column j on.
            row* rj = FindRow(c->iCol, cursor, true);
            if (!rj)
                return -1;
            m_Flops += 2u * static_cast<unsigned>(rj->AddRow(c, -a / d));
            c->dValue = a / d;
        }
    }
    return 1;
}

int CSparseMatrix::LU()
{
    std::vector<row*> rows;
    CollectRows(rows);
    const int n = static_cast<int>(rows.size());
    // cursor[p]: the first not yet eliminated cell of row p. Rows wait in the
    // bucket of their cursor's column, so that step k visits only the rows
    // that hold a cell in column k.
    std::vector<cell*> cursor(static_cast<std::size_t>(n));
    std::vector<int> head(static_cast<std::size_t>(n), -1), next(static_cast<std::size_t>(n), -1);
    auto enqueue = [&](int p) {
        const cell* c = cursor[p];
        if (c && c->iCol >= 0 && c->iCol < n) {
            next[p] = head[c->iCol];
            head[c->iCol] = p;
        }
    };
    for (int p = 0; p < n; ++p) {
        cursor[p] = rows[p]->pFirstCell;
        enqueue(p);
    }
    for (int k = 0; k < n; ++k) {
        row* rk = rows[k];
        cell* dk = cursor[k];
        if (rk->iRow != k || !dk || dk->iCol != k || dk->dValue == 0.0)
            return -1;
        const double pivot = dk->dValue;
        int p = head[k];
        head[k] = -1;
        while (p >= 0) {
            const int following = next[p];
            cell* c = cursor[p];
            if (p > k && c && c->iCol == k) {
                if (c->dValue != 0.0) {
                    const double l = c->dValue / pivot;
                    c->dValue = l;
                    cell* at = c;
                    for (const cell* u = dk->pNext; u; u = u->pNext)
                        rows[p]->Add(u->iCol, -(u->dValue * l), at);
                }
                cursor[p] = c->pNext;
                enqueue(p);
            }
            p = following;
        }
    }
    return 1;
}

void CSparseMatrix::ForwSub(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0 && (mode == 1 || mode == 2)) {
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            const int i = r->iRow;
            double* bi = B[i];
            cell* c = r->pFirstCell;
            for (; c && c->iCol < i; c = c->pNext)
                SubtractRow(bi, B[c->iCol], c->dValue, nb);
            if (mode == 2 && c) {
                for (int q = 0; q < nb; ++q)
                    bi[q] /= c->dValue;
            }
        }
    } else if (nb > 0 && (mode == -1 || mode == -2)) {
        // U^T y = b: once row k is final, its cells right of the diagonal
        // carry b_k into the later rows.
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            cell* first = r->pFirstCell;
            if (!first)
                continue;
            double* bk = B[r->iRow];
            if (mode == -2) {
                for (int q = 0; q < nb; ++q)
                    bk[q] /= first->dValue;
            }
            for (cell* c = first->pNext; c; c = c->pNext)
                SubtractRow(B[c->iCol], bk, c->dValue, nb);
        }
    }
    StopTimer(seconds, start);
}

void CSparseMatrix::BackwSub(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0 && (mode == 1 || mode == 2)) {
        std::vector<row*> rows;
        CollectRows(rows);
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            row* r = *it;
            const int i = r->iRow;
            double* bi = B[i];
            cell* diag = nullptr;
            for (cell* c = r->pFirstCell; c; c = c->pNext) {
                if (c->iCol > i)
                    SubtractRow(bi, B[c->iCol], c->dValue, nb);
                else if (!diag && c->iCol == i)
                    diag = c;
            }
            if (mode == 2 && diag) {
                for (int q = 0; q < nb; ++q)
                    bi[q] /= diag->dValue;
            }
        }
    }
    StopTimer(seconds, start);
}

void CSparseMatrix::DiagMult(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0) {
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            const int i = r->iRow;
            cell* d = r->GetCell(i);
            double* bi = B[i];
            switch (mode) {
            case 1:
                if (d)
                    d->dValue *= bi[0];
                break;
            case -1:
                if (d)
                    d->dValue /= bi[0];
                break;
            case 2:
                for (int q = 0; q < nb; ++q)
                    bi[q] = d ? bi[q] * d->dValue : 0.0;
                break;
            case -2:
                for (int q = 0; q < nb; ++q)
                    bi[q] = d ? bi[q] / d->dValue : std::numeric_limits<double>::infinity();
                break;
            default:
                break;
            }
        }
    }
    StopTimer(seconds, start);
}

int CSparseMatrix::Cholesky_Solve(CVirtMat* b, double& seconds)
{
    m_Flops = 0;
    seconds = 1000.0;
    const double start = ProcessSeconds();
    const int result = Cholesky();
    if (result != 1) {
        seconds = -1.0;
        return result;
    }
    ForwSub(b, nullptr, -1);
    DiagMult(b, nullptr, -2);
    BackwSub(b, nullptr, 1);
    seconds = ProcessSeconds() - start;
    return 1;
}

int CSparseMatrix::LU_Solve(CVirtMat* b, double& seconds)
{
    using namespace zelkor::detail;
    seconds = 1000.0;
    const double start = ProcessSeconds();
    const int result = LU();
    if (result != 1) {
        seconds = -1.0;
        return result;
    }
    const double factorised = ProcessSeconds();
    ForwSub(b, nullptr, 1);
    const double forward = ProcessSeconds();
    BackwSub(b, nullptr, 2);
    const double end = ProcessSeconds();
    seconds = end - start;
    const double t1 = factorised - start, t2 = forward - factorised, t3 = end - forward;
    CString text;
    text.Format("Used time:\r\n Factorizing  :   %s\r\n Forw. subst. :   %s\r\n"
                " Backw. subst.:   %s\r\n",
                MinutesSeconds(t1).c_str(), MinutesSeconds(t2).c_str(),
                MinutesSeconds(t3).c_str());
    ShowMessage(text.GetString());
    return 1;
}

// ---------------------------------------------------------------- conjugate gradients

namespace {

// The conjugate-gradient iteration on every column of P at once. P holds the
// right-hand sides on entry and serves as the directions, R starts as a copy
// of them, X receives the solution (zero on entry), Q is work space; all
// N x m. product(P, Q) sets Q = A P. Returns the iterations made; lastNorm
// receives the largest column norm of the last residual.
template <class Product>
int IterateCG(CMatrix& P, CMatrix& X, CMatrix& R, CMatrix& Q, double norm0, int maxIter, double eps,
              Product&& product, double* tProduct, double* tUpdate, double& lastNorm)
{
    const int N = P.GetRows();
    const int m = P.GetColumns();
    std::vector<double> rho(static_cast<std::size_t>(m), 0.0), sq(rho), alpha(rho);
    auto columnSquares = [&](CMatrix& M, std::vector<double>& out) {
        std::fill(out.begin(), out.end(), 0.0);
        for (int i = 0; i < N; ++i) {
            const double* mi = M[i];
            for (int c = 0; c < m; ++c)
                out[c] += mi[c] * mi[c];
        }
        double largest = 0.0;
        for (double v : out)
            largest = std::max(largest, v);
        return std::sqrt(largest);
    };
    lastNorm = columnSquares(R, rho);
    if (norm0 == 0.0 || N == 0 || m == 0)
        return 0;
    int it = 1;
    for (; it <= maxIter; ++it) {
        double t0 = ProcessSeconds();
        product(P, Q);
        double t1 = ProcessSeconds();
        *tProduct += t1 - t0;

        std::fill(alpha.begin(), alpha.end(), 0.0);
        for (int i = 0; i < N; ++i) {
            const double* pi = P[i];
            const double* qi = Q[i];
            for (int c = 0; c < m; ++c)
                alpha[c] += pi[c] * qi[c];
        }
        for (int c = 0; c < m; ++c)
            alpha[c] = alpha[c] != 0.0 ? rho[c] / alpha[c] : 0.0;
        for (int i = 0; i < N; ++i) {
            double* xi = X[i];
            double* ri = R[i];
            const double* pi = P[i];
            const double* qi = Q[i];
            for (int c = 0; c < m; ++c) {
                xi[c] += alpha[c] * pi[c];
                ri[c] -= alpha[c] * qi[c];
            }
        }
        lastNorm = columnSquares(R, sq);
        if (lastNorm / norm0 < eps) {
            *tUpdate += ProcessSeconds() - t1;
            break;
        }
        for (int c = 0; c < m; ++c) {
            const double beta = rho[c] != 0.0 ? sq[c] / rho[c] : 0.0;
            alpha[c] = beta;
            rho[c] = sq[c];
        }
        for (int i = 0; i < N; ++i) {
            double* pi = P[i];
            const double* ri = R[i];
            for (int c = 0; c < m; ++c)
                pi[c] = ri[c] + alpha[c] * pi[c];
        }
        *tUpdate += ProcessSeconds() - t1;
    }
    return std::min(it, maxIter);
}

double LargestColumnNorm(const CMatrix& m)
{
    CVector norms;
    m.Vect2Norm(norms, 1);
    return norms.InfNorm();
}

void ScaleRows(CMatrix& m, const std::vector<double>& d, bool divide)
{
    const int rows = std::min(m.GetRows(), static_cast<int>(d.size()));
    const int cols = m.GetColumns();
    for (int i = 0; i < rows; ++i) {
        double* mi = m[i];
        for (int c = 0; c < cols; ++c)
            mi[c] = divide ? mi[c] / d[i] : mi[c] * d[i];
    }
}

} // namespace

int CSparseMatrix::ConjGradient(CVirtMat& b, CVirtMat* x0, double& norm, int maxIter, double eps,
                                CVector* times, bool bScale)
{
    CMatrix& B = static_cast<CMatrix&>(b);
    const int N = B.GetRows();
    const int m = B.GetColumns();
    double tProduct = 0.0, tUpdate = 0.0;

    // Symmetric scaling by the roots of the diagonal; a row without a
    // positive first (diagonal) value keeps the factor 1.
    std::vector<double> d;
    if (bScale) {
        d.assign(static_cast<std::size_t>(std::max({N, GetRows(), GetColumns()})), 1.0);
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            const cell* first = r->pFirstCell;
            if (first && first->iCol == r->iRow && first->dValue > 0.0)
                d[r->iRow] = std::sqrt(first->dValue);
        }
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            for (cell* c = r->pFirstCell; c; c = c->pNext)
                c->dValue /= d[r->iRow] * d[c->iCol];
        }
        ScaleRows(B, d, true);
    }
    norm = LargestColumnNorm(B);
    const double norm0 = norm;

    CMatrix* X0 = static_cast<CMatrix*>(x0);
    if (X0) {
        // b -= A x0, in the scaled unknowns when scaling.
        CMatrix start(*X0);
        if (bScale)
            ScaleRows(start, d, false);
        start *= -1.0;
        start.PreMult(this, B, true, 1);
    }

    CMatrix R(B), X(N, m, true, 0.0), Q(N, m, true, 0.0);
    auto product = [this, N, m](CMatrix& P, CMatrix& Qm) {
        Qm = 0.0;
        for (row* r = m_pFirstRow; r; r = r->pNext) {
            const cell* c = r->pFirstCell;
            const int i = r->iRow;
            if (!c || i >= N)
                continue;
            const double* pi = P[i];
            double* qi = Qm[i];
            for (int q = 0; q < m; ++q)
                qi[q] += c->dValue * pi[q];
            m_Flops += 2u * static_cast<unsigned>(m);
            for (c = c->pNext; c; c = c->pNext) {
                const double a = c->dValue;
                const double* pj = P[c->iCol];
                double* qj = Qm[c->iCol];
                for (int q = 0; q < m; ++q) {
                    qi[q] += a * pj[q];
                    qj[q] += a * pi[q];
                }
                m_Flops += 4u * static_cast<unsigned>(m);
            }
        }
    };
    const int iterations =
        IterateCG(B, X, R, Q, norm0, maxIter, eps, product, &tProduct, &tUpdate, norm);
    m_Flops += static_cast<unsigned>((9LL * N + 1) * iterations * m);

    if (bScale)
        ScaleRows(X, d, true);
    if (X0)
        *X0 += X;
    else
        B.SwitchVectors(&X);
    if (times) {
        times->Allocate(2, true, 0.0);
        (*times)[0] = tProduct;
        (*times)[1] = tUpdate;
    }
    return iterations;
}

int CSparseMatrix::ConjGradient2(CVirtMat& b, double& norm, int maxIter, double eps, CVector* times,
                                 bool bScale)
{
    using namespace zelkor::detail;
    CMatrix& B = static_cast<CMatrix&>(b);
    const int N = B.GetRows();
    const int m = B.GetColumns();
    double tProduct = 0.0, tUpdate = 0.0;

    double* rawValues = nullptr;
    int* rawColumns = nullptr;
    int* rawCounts = nullptr;
    MakeArrayMat(rawValues, rawColumns, rawCounts, N);
    std::unique_ptr<double[]> values(rawValues);
    std::unique_ptr<int[]> columns(rawColumns), counts(rawCounts);
    std::vector<int> first(static_cast<std::size_t>(N) + 1, 0);
    for (int i = 0; i < N; ++i)
        first[i + 1] = first[i] + counts[i];

    std::vector<double> d;
    if (bScale) {
        d.assign(static_cast<std::size_t>(N), 1.0);
        for (int i = 0; i < N; ++i) {
            if (counts[i] > 0 && values[first[i]] > 0.0)
                d[i] = std::sqrt(values[first[i]]);
        }
        for (int i = 0; i < N; ++i) {
            for (int e = first[i]; e < first[i + 1]; ++e)
                values[e] /= d[i] * d[columns[e]];
        }
        ScaleRows(B, d, true);
    }
    norm = LargestColumnNorm(B);
    const double norm0 = norm;

    CMatrix R(B), X(N, m, true, 0.0), Q(N, m, true, 0.0);
    auto product = [&](CMatrix& P, CMatrix& Qm) {
        Qm = 0.0;
        for (int i = 0; i < N; ++i) {
            const double* pi = P[i];
            double* qi = Qm[i];
            if (counts[i] == 0) {
                // An identity row.
                for (int q = 0; q < m; ++q)
                    qi[q] += pi[q];
                continue;
            }
            const double diag = values[first[i]];
            for (int q = 0; q < m; ++q)
                qi[q] += diag * pi[q];
            for (int e = first[i] + 1; e < first[i + 1]; ++e) {
                const double a = values[e];
                const double* pj = P[columns[e]];
                double* qj = Qm[columns[e]];
                for (int q = 0; q < m; ++q) {
                    qi[q] += a * pj[q];
                    qj[q] += a * pi[q];
                }
            }
            m_Flops += static_cast<unsigned>(m) * (2u + 4u * static_cast<unsigned>(counts[i] - 1));
        }
    };
    const int iterations =
        IterateCG(B, X, R, Q, norm0, maxIter, eps, product, &tProduct, &tUpdate, norm);
    m_Flops += static_cast<unsigned>((9LL * N + 1) * iterations * m);

    if (bScale)
        ScaleRows(X, d, true);
    B.SwitchVectors(&X);
    if (times) {
        times->Allocate(2, true, 0.0);
        (*times)[0] = tProduct;
        (*times)[1] = tUpdate;
        CString text;
        text.Format("Used time:\r\n Solving (1)    :   %s\r\n Solving (2)    :   %s\r\n"
                    " Iter/Eq's      :   %6.3f %%\r\n ||v_0||        :   %.3e\r\n"
                    " ||v_i||         :   %.3e\r\n ||v_i||/||v_0||:   %.3e\r\n (norms are inf-norm)",
                    MinutesSeconds(tProduct).c_str(), MinutesSeconds(tUpdate).c_str(),
                    N > 0 ? iterations * 100.0 / N : 0.0, norm0, norm,
                    norm0 != 0.0 ? norm / norm0 : 0.0);
        ShowMessage(text.GetString());
    }
    return iterations;
}
