#include "matrix/skyline.h"

#include "matrix/detail/iterate.h"
#include "matrix/detail/runtime.h"
#include "matrix/detail/textout.h"
#include "matrix/detail/message.h"
#include "matrix/reordermat.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iostream>
#include <new>
#include <string>
#include <utility>
#include <vector>

using zelkor::detail::ProcessSeconds;
using zelkor::detail::StartTimer;
using zelkor::detail::StopTimer;

IMPLEMENT_SERIAL(CSkylineMatrix, CVirtRealMat, 1)

CSkylineMatrix::~CSkylineMatrix()
{
    FreeAll();
}

void CSkylineMatrix::FreeAll()
{
    delete[] m_pValues;
    delete[] m_ppColumn;
    delete[] m_piHeight;
    delete[] m_piDiagIndex;
    m_pValues = nullptr;
    m_ppColumn = nullptr;
    m_piHeight = nullptr;
    m_piDiagIndex = nullptr;
    m_nValues = 0;
    m_nEquations = 0;
}

void CSkylineMatrix::Serialize(CArchive& ar)
{
    // The archive form has no room for the profile; refuse rather than lose it.
    if (ar.IsStoring() && m_nEquations > 0)
        AfxThrowArchiveException(CArchiveException::generic);
}

bool CSkylineMatrix::NewColumns(int n)
{
    FreeAll();
    const auto count = static_cast<std::size_t>(n);
    m_ppColumn = new (std::nothrow) double*[count];
    m_piHeight = new (std::nothrow) int[count];
    m_piDiagIndex = new (std::nothrow) int[count];
    if (!m_ppColumn || !m_piHeight || !m_piDiagIndex) {
        FreeAll();
        return false;
    }
    std::fill(m_piHeight, m_piHeight + n, 1);
    m_nEquations = n;
    return true;
}

bool CSkylineMatrix::LayOut()
{
    long long total = 0;
    for (int j = 0; j < m_nEquations; ++j)
        total += m_piHeight[j];
    if (total > INT_MAX)
        return false;
    if (total != m_nValues || !m_pValues) {
        delete[] m_pValues;
        m_pValues = new (std::nothrow) double[static_cast<std::size_t>(std::max<long long>(total, 1))];
        m_nValues = m_pValues ? static_cast<int>(total) : 0;
        if (!m_pValues)
            return false;
    }
    int diag = -1;
    for (int j = 0; j < m_nEquations; ++j) {
        diag += m_piHeight[j];
        m_piDiagIndex[j] = diag;
        m_ppColumn[j] = m_pValues + diag;
    }
    std::fill(m_pValues, m_pValues + m_nValues, 0.0);
    return true;
}

bool CSkylineMatrix::Allocate(int* data, int n)
{
    if (!data || n <= 0 || data[0] == 0) {
        FreeAll();
        return true;
    }
    const int N = data[0];
    if (N < 0)
        return false;
    if (N != m_nEquations && !NewColumns(N))
        return false;
    if (n >= 2) {
        const int T = data[1];
        if (n < N + 2) {
            // The band b whose profile N b - b (b - 1) / 2 comes nearest to
            // T, kept within 1 .. N.
            const double twoN1 = 2.0 * N + 1.0;
            const double disc = twoN1 * twoN1 - 8.0 * T;
            long long band = disc < 0.0 ? N
                                        : static_cast<long long>(std::floor((twoN1 - std::sqrt(disc)) * 0.5 + 0.5));
            band = std::clamp<long long>(band, 1, N);
            for (int j = 0; j < N; ++j)
                m_piHeight[j] = j < band ? j + 1 : static_cast<int>(band);
        } else {
            for (int j = 0; j < N; ++j)
                m_piHeight[j] = std::clamp(data[2 + j], 1, j + 1);
        }
        if (T < N) {
            long long total = 0;
            for (int j = 0; j < N; ++j)
                total += m_piHeight[j];
            data[1] = static_cast<int>(std::min<long long>(total, INT_MAX));
        }
    }
    return LayOut();
}

bool CSkylineMatrix::Allocate(CReorderMat& order)
{
    const int N = order.GetRows();
    if (N <= 0) {
        FreeAll();
        return true;
    }
    if (N != m_nEquations && !NewColumns(N))
        return false;
    for (int i = 0; i < N; ++i) {
        const int old = order.f_v_inv(i);
        const int length = order.GetRowLength(old);
        const LONG* adjacent = order.GetRow(old);
        for (int e = 0; e < length; ++e) {
            const int j = order.f_v(adjacent[e]);
            if (j > i && j < N)
                m_piHeight[j] = std::max(m_piHeight[j], j - i + 1);
        }
    }
    return LayOut();
}

void CSkylineMatrix::ReadASCII(CFile*) {}

CSkylineMatrix& CSkylineMatrix::operator=(double v)
{
    std::fill(m_pValues, m_pValues + m_nValues, v);
    return *this;
}

CSkylineMatrix& CSkylineMatrix::operator+=(double v)
{
    for (int k = 0; k < m_nValues; ++k)
        m_pValues[k] += v;
    return *this;
}

double* CSkylineMatrix::DiagVect()
{
    double* d = new double[static_cast<std::size_t>(std::max(m_nEquations, 1))];
    for (int j = 0; j < m_nEquations; ++j)
        d[j] = m_pValues[m_piDiagIndex[j]];
    return d;
}

void CSkylineMatrix::AddValues(LONG* dofs, double* values, int n)
{
    for (int p = 0; p < n; ++p) {
        const LONG i = dofs[p];
        if (i < 0 || i >= m_nEquations)
            continue;
        const double* rowValues = values + static_cast<std::size_t>(p) * n;
        for (int q = 0; q < n; ++q) {
            const LONG j = dofs[q];
            if (j < i || j >= m_nEquations || rowValues[q] == 0.0 || !InProfile(i, j))
                continue;
            (*this)(i, j) += rowValues[q];
        }
    }
}

int CSkylineMatrix::Cholesky()
{
    for (int j = 0; j < m_nEquations; ++j) {
        const int p = PeakRow(j);
        double* cj = m_pValues + (m_piDiagIndex[j] - (j - p)); // cj[i - p] = (i, j)
        // g_i = a_ij - sum of u_ki g_k: column j then holds D_i u_ij.
        for (int i = p + 1; i < j; ++i) {
            const int pi = PeakRow(i);
            const int m = std::max(p, pi);
            const double* ci = m_pValues + (m_piDiagIndex[i] - (i - pi)); // ci[k - pi] = u_ki
            const double* a = ci + (m - pi);
            const double* g = cj + (m - p);
            const int len = i - m;
            double sum = 0.0;
            for (int k = 0; k < len; ++k)
                sum += a[k] * g[k];
            cj[i - p] -= sum;
            m_Flops += 2u * static_cast<unsigned>(len);
        }
        double d = cj[j - p];
        for (int i = p; i < j; ++i) {
            const double g = cj[i - p];
            const double u = g / m_pValues[m_piDiagIndex[i]];
            d -= u * g;
            cj[i - p] = u;
        }
        m_Flops += 3u * static_cast<unsigned>(j - p);
        if (!(d > 0.0))
            return -1;
        cj[j - p] = d;
    }
    return 1;
}

void CSkylineMatrix::ForwSub(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0 && (mode == 1 || mode == 2)) {
        for (int j = 0; j < m_nEquations; ++j) {
            const int p = PeakRow(j);
            const double* cj = m_pValues + (m_piDiagIndex[j] - (j - p));
            double* bj = B[j];
            if (nb == 1) {
                double s = 0.0;
                for (int k = p; k < j; ++k)
                    s += cj[k - p] * B[k][0];
                bj[0] -= s;
            } else {
                for (int k = p; k < j; ++k) {
                    const double* bk = B[k];
                    const double a = cj[k - p];
                    for (int q = 0; q < nb; ++q)
                        bj[q] -= a * bk[q];
                }
            }
            if (mode == 2) {
                for (int q = 0; q < nb; ++q)
                    bj[q] /= cj[j - p];
            }
        }
    }
    StopTimer(seconds, start);
}

void CSkylineMatrix::BackwSub(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0 && (mode == 1 || mode == 2)) {
        // Column k, once final, carries b_k into the rows above it.
        for (int k = m_nEquations - 1; k >= 0; --k) {
            const int p = PeakRow(k);
            const double* ck = m_pValues + (m_piDiagIndex[k] - (k - p));
            double* bk = B[k];
            if (mode == 2) {
                for (int q = 0; q < nb; ++q)
                    bk[q] /= ck[k - p];
            }
            for (int i = p; i < k; ++i) {
                double* bi = B[i];
                const double a = ck[i - p];
                for (int q = 0; q < nb; ++q)
                    bi[q] -= a * bk[q];
            }
        }
    }
    StopTimer(seconds, start);
}

void CSkylineMatrix::DiagMult(CVirtMat* b, double* seconds, int mode)
{
    const double start = StartTimer(seconds);
    CMatrix& B = *static_cast<CMatrix*>(b);
    const int nb = B.GetColumns();
    if (nb > 0) {
        for (int i = 0; i < m_nEquations; ++i) {
            double& a = m_pValues[m_piDiagIndex[i]];
            double* bi = B[i];
            switch (mode) {
            case 1:
                a *= bi[0];
                break;
            case -1:
                a /= bi[0];
                break;
            case 2:
                for (int q = 0; q < nb; ++q)
                    bi[q] *= a;
                break;
            case -2:
                for (int q = 0; q < nb; ++q)
                    bi[q] /= a;
                break;
            default:
                break;
            }
        }
    }
    StopTimer(seconds, start);
}

int CSkylineMatrix::Cholesky_Solve(CVirtMat* b, double& seconds)
{
    using namespace zelkor::detail;
    m_Flops = 0;
    seconds = 1000.0;
    const double start = ProcessSeconds();
    if (Cholesky() != 1) {
        seconds = -1.0;
        return -1;
    }
    const double factorised = ProcessSeconds();
    ForwSub(b, nullptr, 1);
    const double forward = ProcessSeconds();
    DiagMult(b, nullptr, -2);
    BackwSub(b, nullptr, 1);
    const double end = ProcessSeconds();
    seconds = end - start;
    const double t1 = factorised - start, t2 = forward - factorised, t3 = end - forward;
    CString text;
    text.Format("Used time:\r\n Factorizing  :   %s\r\n Forw. subst. :   %s\r\n"
                " Backw. subst.:   %s\r\n Size stiffm. :   %u\r\n Flops        :   %10.3e",
                MinutesSeconds(t1).c_str(), MinutesSeconds(t2).c_str(),
                MinutesSeconds(t3).c_str(), static_cast<unsigned>(m_nValues),
                static_cast<double>(m_Flops));
    ShowMessage(text.GetString());
    return 1;
}

int CSkylineMatrix::GaussSeidel_Iter(CVector& b, CVector& x, double tol, int maxIter)
{
    using namespace zelkor::detail;
    const int N = std::min(b.GetSize(), m_nEquations);
    if (x.GetSize() < b.GetSize())
        x.Allocate(b.GetSize(), true, 0.0);
    if (N == 0)
        return 1;
    double* xs = x.GetVector();
    if (N == 1) {
        xs[0] = b[0] / m_pValues[m_piDiagIndex[0]];
        return 1;
    }
    const double start = ProcessSeconds();
    double tFirst = 0.0, tLast = 0.0, error = 0.0;
    std::vector<double> previous(xs, xs + N);
    double* ts = previous.data();
    int result = -1, iterations = 0;
    for (int it = 0; it < maxIter; ++it) {
        iterations = it + 1;
        const double t0 = ProcessSeconds();
        // The previous iterate's contributions from above the diagonal.
        std::copy(b.GetVector(), b.GetVector() + N, xs);
        for (int j = 1; j < N; ++j) {
            const int p = PeakRow(j);
            const double* cj = m_pValues + (m_piDiagIndex[j] - (j - p));
            for (int k = p; k < j; ++k)
                xs[k] -= cj[k - p] * ts[j];
        }
        const double t1 = ProcessSeconds();
        // The row sweep with the new values.
        for (int i = 0; i < N; ++i) {
            const int p = PeakRow(i);
            const double* ci = m_pValues + (m_piDiagIndex[i] - (i - p));
            double s = xs[i];
            for (int k = p; k < i; ++k)
                s -= ci[k - p] * xs[k];
            xs[i] = s / ci[i - p];
        }
        const double t2 = ProcessSeconds();
        tFirst += t1 - t0;
        tLast += t2 - t1;
        error = zelkor::detail::MaxChange(xs, ts, N);
        if (error < tol) {
            result = 1;
            break;
        }
        std::swap(xs, ts);
    }
    zelkor::detail::KeepNewest(xs, ts, result == 1, x.GetVector(), N);
    const double t = ProcessSeconds() - start;
    CString text;
    text.Format("Used time solving :   %s\r\nFirst            :   %s\r\n"
                "Last             :   %s\r\n Number of iter. :   %u\r\n"
                " NEQ             :   %u\r\n Norm of error   :   %e",
                MinutesSeconds(t).c_str(), MinutesSeconds(tFirst).c_str(),
                MinutesSeconds(tLast).c_str(), static_cast<unsigned>(iterations),
                static_cast<unsigned>(N), error);
    ShowMessage(text.GetString());
    return result;
}

void CSkylineMatrix::WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int,
                                bool, bool)
{
    if (!file)
        return;
    zelkor::detail::TextOut out(file);
    for (int i = 0; i < m_nEquations; ++i) {
        for (int j = 0; j < m_nEquations; ++j) {
            if (InProfile(i, j))
                out.Format("%s%*.*e%s", pre.GetString(), width, precision, (*this)(i, j), post.GetString());
            else
                out.Format("%s%*.0f%s", pre.GetString(), width, 0.0, post.GetString());
        }
        out.Put("\r\n");
    }
    out.Flush();
}

void CSkylineMatrix::COUT(const char* sep)
{
    for (int i = 0; i < m_nEquations; ++i) {
        for (int j = 0; j < m_nEquations; ++j) {
            if (InProfile(i, j))
                std::cout << (*this)(i, j) << sep;
            else
                std::cout << "0" << sep;
        }
        std::cout << '\n';
    }
}
