// Rotation matrices and test matrices of known structure.
#include "matrix/densematrix.h"

#include "matrix/detail/runtime.h"

#include <algorithm>
#include <cmath>

void CMatrix::RotMat2D(CMatrix& m, double angle, bool transposed)
{
    if (!m.Allocate(2, 2, false, 0.0))
        return;
    const double c = std::cos(angle), s = std::sin(angle);
    m[0][0] = c;
    m[0][1] = transposed ? s : -s;
    m[1][0] = transposed ? -s : s;
    m[1][1] = c;
}

CMatrix* CMatrix::MakeRotMat(const CVector& v)
{
    double r[3] = {0.0, 0.0, 0.0};
    for (int i = 0; i < std::min(3, v.GetSize()); ++i)
        r[i] = v[i];
    double q[3];
    const double w = VectToQuat(r, q);
    const double x = q[0], y = q[1], z = q[2];
    if (!Allocate(3, 3, false, 0.0))
        return this;
    double* a = m_pData;
    a[0] = 2 * (w * w + x * x) - 1;
    a[1] = 2 * (x * y - w * z);
    a[2] = 2 * (x * z + w * y);
    a[3] = 2 * (x * y + w * z);
    a[4] = 2 * (w * w + y * y) - 1;
    a[5] = 2 * (y * z - w * x);
    a[6] = 2 * (x * z - w * y);
    a[7] = 2 * (y * z + w * x);
    a[8] = 2 * (w * w + z * z) - 1;
    return this;
}

void CMatrix::RotMat(double a, double b)
{
    if (!Allocate(3, 3, false, 0.0))
        return;
    const double c = std::cos(a), s = std::sin(a), cb = std::cos(b), sb = std::sin(b);
    const double c2 = c * c, s2 = s * s;
    double* m = m_pData;
    m[0] = c * ((1 - cb) * s2 + cb + (cb - 1) * s2);
    m[1] = s * ((cb - 1) * c2 - (s2 + cb - s2 * cb));
    m[2] = c * sb;
    m[3] = s * (c2 + cb - c2 * cb + (cb - 1) * c2);
    m[4] = c * (c2 + cb - c2 * cb - (cb - 1) * s2);
    m[5] = -s * sb;
    m[6] = (s2 - c2) * sb;
    m[7] = 2 * s * c * sb;
    m[8] = cb;
}

void CMatrix::RandMat(int rows, int cols, double hi, double lo, int kind)
{
    if (kind < -2 || kind > 2)
        return;
    if (!Allocate(rows, cols, kind != 0, 0.0))
        return;
    auto draw = [&] { return lo + (hi - lo) * zelkor::detail::Rand15() / 32767.0; };
    for (int i = 0; i < rows; ++i) {
        double* row = m_pData + static_cast<long long>(i) * cols;
        for (int j = 0; j < cols; ++j) {
            bool random = kind == 0 || (kind == 1 && j <= i) || (kind == 2 && j >= i)
                || (kind == -1 && j < i) || (kind == -2 && j > i);
            if (random)
                row[j] = draw();
        }
    }
}

namespace {

// Fills a triangular matrix: for every entry, which(i, j) tells -1 for the
// zero side, 0 for the diagonal and 1 for the filled side.
template <class Side>
void Triangular(CMatrix& m, int rows, int cols, double off, double diag, bool add, Side side)
{
    const bool adding = add && rows > 0 && cols > 0
        && static_cast<long long>(m.GetSize()) == static_cast<long long>(rows) * cols;
    if (!m.Allocate(rows, cols, false, 0.0))
        return;
    for (int i = 0; i < rows; ++i) {
        double* row = m[i];
        for (int j = 0; j < cols; ++j) {
            int where = side(i, j);
            double v = where == 0 ? diag : where > 0 ? off : 0.0;
            if (!adding)
                row[j] = v;
            else if (where >= 0)
                row[j] += v;
        }
    }
}

} // namespace

void CMatrix::LMat(int rows, int cols, double off, double diag, bool add)
{
    Triangular(*this, rows, cols, off, diag, add, [](int i, int j) { return j == i ? 0 : j < i ? 1 : -1; });
}

void CMatrix::UMat(int rows, int cols, double off, double diag, bool add)
{
    Triangular(*this, rows, cols, off, diag, add, [](int i, int j) { return j == i ? 0 : j > i ? 1 : -1; });
}

void CMatrix::WellCond(int rows, int cols, double range)
{
    if (!Allocate(rows, cols, true, 0.0))
        return;
    using zelkor::detail::Rand15;
    CVector p(std::max(rows, cols), false, 0.0);
    p.SetIncremental(1.0, 0.0);
    if (rows > cols)
        for (int i = cols; i < rows; ++i)
            p[i] = p[static_cast<int>(static_cast<double>(Rand15()) * (cols - 1) / 32767)];
    for (int i = 0; i < rows; ++i) {
        int k = static_cast<int>(static_cast<double>(Rand15()) * (rows - 1) / 32767);
        double taken;
        for (;;) {
            taken = p[k];
            p[k] = -1.0;
            if (taken != -1.0)
                break;
            if (++k >= rows)
                k = 0;
        }
        const double r = Rand15();
        m_pData[static_cast<long long>(i) * cols + static_cast<int>(taken)] = r * range / 32767 + 1.0 - range / 2;
    }
}

void CMatrix::Dev()
{
    const int n = std::min(m_nRows, Cols());
    if (n == 0)
        return;
    const double t = Trace() / n;
    for (int i = 0; i < n; ++i)
        m_pData[static_cast<long long>(i) * Cols() + i] -= t;
}
