#include "matrix/densematrix.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <iostream>
#include <vector>

IMPLEMENT_SERIAL(CMatrix, CVector, 1)

// ---------------------------------------------------------------- shape

CMatrix::CMatrix(int rows, int cols, bool fill, double value)
{
    Allocate(rows, cols, fill, value);
}

CMatrix::CMatrix(const CMatrix& m) : CVector(m), m_nRows(m_nSize > 0 ? m.m_nRows : 0) {}

CMatrix::CMatrix(const CMatrix& m, bool transposed) : CVector(m), m_nRows(m_nSize > 0 ? m.m_nRows : 0)
{
    if (transposed && m_nSize > 0) {
        int rows = m.m_nRows, cols = m.Cols();
        m_nRows = cols;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                m_pData[j * rows + i] = m.m_pData[i * cols + j];
    }
}

CMatrix::~CMatrix() = default;

bool CMatrix::Allocate(int rows, int cols, bool fill, double value)
{
    long long n = static_cast<long long>(rows) * cols;
    if (rows <= 0 || cols <= 0 || n > INT_MAX) {
        CVector::Allocate(0, false, 0.0);
        m_nRows = 0;
        return false;
    }
    bool ok = CVector::Allocate(static_cast<int>(n), fill, value);
    m_nRows = ok ? rows : 0;
    return ok;
}

bool CMatrix::Allocate(int* dims, int count)
{
    if (!dims)
        return Allocate(0, 0, false, 0.0);
    if (count <= 1)
        return Allocate(dims[0], dims[0], true, 0.0);
    if (count == 2)
        return Allocate(dims[0], dims[1], true, 0.0);
    double value = count >= 4 ? static_cast<double>(dims[3]) : 0.0;
    return Allocate(dims[0], dims[1], dims[2] != 0, value);
}

bool CMatrix::Allocate(int n, bool fill, double value)
{
    bool ok = CVector::Allocate(n, fill, value);
    m_nRows = ok ? n : 0;
    return ok;
}

bool CMatrix::Resize(int n, bool byColumns)
{
    if (m_nSize == 0) {
        // Nothing to shape: the matrix stays empty.
        if (n < 0)
            return false;
        m_nRows = 0;
        return true;
    }
    if (n <= 0 || m_nSize % n != 0)
        return false;
    m_nRows = byColumns ? m_nSize / n : n;
    return true;
}

void CMatrix::FitShape(int formerCount)
{
    if (formerCount > 0 && m_nSize % formerCount == 0)
        Resize(formerCount, false);
    else
        m_nRows = m_nSize;
}

void CMatrix::SetVector(double* data, int rows, int cols)
{
    bool ok = rows > 0 && cols > 0;
    CVector::SetVector(ok ? rows * cols : 0, data);
    m_nRows = m_nSize > 0 ? rows : 0;
}

double* CMatrix::ReplaceVector(double* data, int n)
{
    double* old = CVector::ReplaceVector(data, n);
    m_nRows = m_nSize;
    return old;
}

void CMatrix::SwitchVectors(CVector* other)
{
    int myRows = m_nRows;
    int myCount = m_nSize;
    auto* om = dynamic_cast<CMatrix*>(other);
    int otherRows = om ? om->m_nRows : other->GetSize();
    SwapStorage(*other);
    Resize(otherRows, false);
    if (om) {
        if (!om->Resize(myRows, false))
            om->FitShape(myCount);
    }
}

int CMatrix::GetColumns() const
{
    return Cols();
}

void CMatrix::TakeOver(CMatrix& tmp)
{
    delete[] m_pData;
    m_pData = tmp.m_pData;
    m_nSize = tmp.m_nSize;
    m_nRows = tmp.m_nRows;
    tmp.m_pData = nullptr;
    tmp.m_nSize = 0;
    tmp.m_nRows = 0;
}

void CMatrix::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CVector::Serialize(ar);
        ar << static_cast<LONG>(m_nRows);
        return;
    }
    m_nRows = 0;
    LONG rows = 0;
    try {
        CVector::Serialize(ar);
        ar >> rows;
    } catch (...) {
        FreeData();
        throw;
    }
    if (m_nSize == 0)
        return;
    // The rows must divide the elements; anything else is a corrupt archive.
    if (rows <= 0 || m_nSize % rows != 0) {
        FreeData();
        AfxThrowArchiveException(CArchiveException::generic);
    }
    m_nRows = rows;
}

// ---------------------------------------------------------------- access

double& CMatrix::GetValueByRef(int i, int j)
{
    return m_pData[i * Cols() + j];
}

double CMatrix::GetValue(int i, int j) const
{
    return m_pData[i * Cols() + j];
}

void CMatrix::SetValue(int i, int j, double v)
{
    m_pData[i * Cols() + j] = v;
}

void CMatrix::AddValue(int i, int j, double v)
{
    m_pData[i * Cols() + j] += v;
}

double CMatrix::Multiply(int i, int j, double f)
{
    return m_pData[i * Cols() + j] *= f;
}

void CMatrix::AddValues(LONG* dofs, double* values, int n)
{
    const int cols = Cols();
    for (int a = 0; a < n; ++a) {
        if (dofs[a] < 0)
            continue;
        double* row = m_pData + static_cast<long long>(dofs[a]) * cols;
        const double* block = values + static_cast<long long>(a) * n;
        for (int b = 0; b < n; ++b)
            if (dofs[b] >= 0)
                row[dofs[b]] += block[b];
    }
}

// ---------------------------------------------------------------- arithmetic

CMatrix& CMatrix::operator=(double v)
{
    Initialize(v);
    return *this;
}

CMatrix& CMatrix::operator=(const CMatrix& m)
{
    if (&m == this)
        return *this;
    if (Allocate(m.m_nRows, m.Cols(), false, 0.0))
        std::memcpy(m_pData, m.m_pData, sizeof(double) * static_cast<std::size_t>(m_nSize));
    return *this;
}

CMatrix& CMatrix::operator+=(const CMatrix& b)
{
    if (m_nRows == b.m_nRows && Cols() == b.Cols()) {
        AddScaled(b, 1.0);
        return *this;
    }
    CMatrix sum(std::max(m_nRows, b.m_nRows), std::max(Cols(), b.Cols()), true, 0.0);
    sum.AddPadded(*this, 1.0);
    sum.AddPadded(b, 1.0);
    TakeOver(sum);
    return *this;
}

CMatrix& CMatrix::operator-=(const CMatrix& b)
{
    if (m_nRows == b.m_nRows && Cols() == b.Cols()) {
        AddScaled(b, -1.0);
        return *this;
    }
    CMatrix sum(std::max(m_nRows, b.m_nRows), std::max(Cols(), b.Cols()), true, 0.0);
    sum.AddPadded(*this, 1.0);
    sum.AddPadded(b, -1.0);
    TakeOver(sum);
    return *this;
}

void CMatrix::AddPadded(const CMatrix& b, double f)
{
    const int cols = Cols(), bc = b.Cols();
    for (int i = 0; i < b.m_nRows; ++i) {
        double* row = m_pData + static_cast<long long>(i) * cols;
        const double* brow = b.m_pData + static_cast<long long>(i) * bc;
        for (int j = 0; j < bc; ++j)
            row[j] += f * brow[j];
    }
}

CMatrix& CMatrix::operator*=(double f)
{
    CVector::operator*=(f);
    return *this;
}

CMatrix& CMatrix::operator/=(double f)
{
    CVector::operator/=(f);
    return *this;
}

CMatrix& CMatrix::operator*=(const CMatrix& b)
{
    if (&b == this) {
        CMatrix copy(b);
        return *this *= copy;
    }
    const int rows = m_nRows, cols = Cols(), bc = b.Cols();
    if (cols != bc) {
        CMatrix prod(rows, bc, true, 0.0);
        if (prod.m_nSize > 0) {
            for (int i = 0; i < rows; ++i) {
                const double* a = m_pData + static_cast<long long>(i) * cols;
                double* p = prod.m_pData + static_cast<long long>(i) * bc;
                for (int k = 0; k < cols; ++k) {
                    const double aik = a[k];
                    const double* brow = b.m_pData + static_cast<long long>(k) * bc;
                    for (int j = 0; j < bc; ++j)
                        p[j] += aik * brow[j];
                }
            }
        }
        TakeOver(prod);
        return *this;
    }
    if (cols == 0)
        return *this;
    // b is square: one row at a time, in place.
    std::vector<double> scratch(static_cast<std::size_t>(bc));
    for (int i = 0; i < rows; ++i) {
        double* a = m_pData + static_cast<long long>(i) * cols;
        std::copy(a, a + cols, scratch.begin());
        std::fill(a, a + cols, 0.0);
        for (int k = 0; k < cols; ++k) {
            const double s = scratch[static_cast<std::size_t>(k)];
            const double* brow = b.m_pData + static_cast<long long>(k) * bc;
            for (int j = 0; j < bc; ++j)
                a[j] += s * brow[j];
        }
    }
    return *this;
}

void CMatrix::MultiplyRow(int i, double f)
{
    double* row = (*this)[i];
    for (int j = 0, c = Cols(); j < c; ++j)
        row[j] *= f;
}

void CMatrix::MultiplyCol(int j, double f)
{
    const int cols = Cols();
    for (int i = 0; i < m_nRows; ++i)
        m_pData[static_cast<long long>(i) * cols + j] *= f;
}

void CMatrix::MultiplySubRow(int i, int from, int to, double f)
{
    double* row = (*this)[i];
    for (int j = from; j < to; ++j)
        row[j] *= f;
}

void CMatrix::SetVals(int k, double value, bool add, bool wholeRow)
{
    const int cols = Cols();
    if (wholeRow) {
        std::fill_n((*this)[k], cols, value);
        return;
    }
    for (int i = 0; i < m_nRows; ++i) {
        double& e = m_pData[static_cast<long long>(i) * cols + k];
        e = add ? e + value : value;
    }
}

void CMatrix::Transpose()
{
    const int rows = m_nRows, cols = Cols();
    if (rows == cols) {
        for (int i = 0; i < rows; ++i)
            for (int j = i + 1; j < cols; ++j)
                std::swap(m_pData[i * cols + j], m_pData[j * cols + i]);
        return;
    }
    CMatrix t(*this, true);
    TakeOver(t);
}

void CMatrix::Identity(int n, double v)
{
    if (!Allocate(n, n, true, 0.0))
        return;
    for (int i = 0; i < n; ++i)
        m_pData[static_cast<long long>(i) * n + i] = v;
}

// ---------------------------------------------------------------- products

void CMatrix::ApplyTo(const CVector& x, CVector& y, int mode) const
{
    const int rows = m_nRows, cols = Cols();
    const double* px = x.GetVector();
    double* py = y.GetVector();
    if (mode == 1) {
        for (int i = 0; i < rows; ++i) {
            const double* a = m_pData + static_cast<long long>(i) * cols;
            double s = 0.0;
            for (int j = 0; j < cols; ++j)
                s += a[j] * px[j];
            py[i] += s;
        }
    } else if (mode == 2) {
        for (int i = 0; i < rows; ++i) {
            const double* a = m_pData + static_cast<long long>(i) * cols;
            const double xi = px[i];
            for (int j = 0; j < cols; ++j)
                py[j] += xi * a[j];
        }
    }
}

void CMatrix::ApplyTo(CVector& v, int mode) const
{
    CVector result;
    if (mode == 1)
        result.Allocate(m_nRows, true, 0.0);
    else if (mode == 2)
        result.Allocate(Cols(), true, 0.0);
    ApplyTo(v, result, mode);
    v.SwitchVectors(&result);
}

void CMatrix::GetColVect(CVector& v, int j) const
{
    if (v.GetSize() < m_nRows)
        v.Allocate(m_nRows, false, 0.0);
    const int cols = Cols();
    double* p = v.GetVector();
    for (int i = 0; i < m_nRows; ++i)
        p[i] = m_pData[static_cast<long long>(i) * cols + j];
}

void CMatrix::vectAvectBT(CMatrix& m, const CVector& a, const CVector& b, double& f, bool reversed)
{
    const int na = a.GetSize(), nb = b.GetSize();
    const double* pa = a.GetVector();
    const double* pb = b.GetVector();
    double* out = m.m_pData;
    for (int i = 0; i < na; ++i, out += nb) {
        const double fa = f * (reversed ? pa[na - 1 - i] : pa[i]);
        if (fa == 0.0)
            continue;
        if (reversed)
            for (int j = 0; j < nb; ++j)
                out[j] += fa * pb[nb - 1 - j];
        else
            for (int j = 0; j < nb; ++j)
                out[j] += fa * pb[j];
    }
}

void CMatrix::SubMult(const CMatrix& b, int offset, unsigned flags)
{
    const int k = b.Cols();
    const int rows = m_nRows, cols = Cols();
    if (k <= 0)
        return;
    std::vector<double> x(static_cast<std::size_t>(k));
    const double* B = b.m_pData;
    // Replaces the k entries of every column (rows offset...) by B^T x or B x.
    auto onColumns = [&](bool transposed) {
        for (int c = 0; c < cols; ++c) {
            for (int s = 0; s < k; ++s)
                x[s] = m_pData[static_cast<long long>(offset + s) * cols + c];
            for (int r = 0; r < k; ++r) {
                double sum = 0.0;
                for (int s = 0; s < k; ++s)
                    sum += (transposed ? B[s * k + r] : B[r * k + s]) * x[s];
                m_pData[static_cast<long long>(offset + r) * cols + c] = sum;
            }
        }
    };
    // Replaces the k entries of every row (columns offset...) by x B or x B^T.
    auto onRows = [&](bool transposed) {
        for (int r = 0; r < rows; ++r) {
            double* row = m_pData + static_cast<long long>(r) * cols + offset;
            std::copy(row, row + k, x.begin());
            for (int c = 0; c < k; ++c) {
                double sum = 0.0;
                for (int s = 0; s < k; ++s)
                    sum += x[s] * (transposed ? B[c * k + s] : B[s * k + c]);
                row[c] = sum;
            }
        }
    };
    if (flags & 1)
        onColumns(true);
    if (flags & 2)
        onRows(false);
    if (flags & 4)
        onColumns(false);
    if (flags & 8)
        onRows(true);
}

void CMatrix::PostPreMult(const CMatrix& b, int)
{
    const int k = b.Cols();
    CMatrix tmp(b);
    tmp *= *this;   // b x this
    CMatrix result(k, k, true, 0.0);
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) {
            double s = 0.0;
            for (int l = 0; l < k; ++l)
                s += b.m_pData[i * k + l] * tmp.m_pData[j * k + l];
            result.m_pData[i * k + j] = s;
        }
    TakeOver(result);
}

// ---------------------------------------------------------------- norms and scans

double CMatrix::Frobenius() const
{
    double s = 0.0;
    for (int i = 0; i < m_nSize; ++i)
        s += m_pData[i] * m_pData[i];
    return std::sqrt(s);
}

double CMatrix::OneNorm() const
{
    const int cols = Cols();
    std::vector<double> sums(static_cast<std::size_t>(cols), 0.0);
    for (int i = 0; i < m_nRows; ++i) {
        const double* a = m_pData + static_cast<long long>(i) * cols;
        for (int j = 0; j < cols; ++j)
            sums[j] += std::fabs(a[j]);
    }
    double best = 0.0;
    for (double s : sums)
        if (s > best)
            best = s;
    return best;
}

double CMatrix::InfNorm() const
{
    const int cols = Cols();
    double best = 0.0;
    for (int i = 0; i < m_nRows; ++i) {
        const double* a = m_pData + static_cast<long long>(i) * cols;
        double s = 0.0;
        for (int j = 0; j < cols; ++j)
            s += std::fabs(a[j]);
        if (s > best)
            best = s;
    }
    return best;
}

double CMatrix::Trace() const
{
    const int n = std::min(m_nRows, Cols()), cols = Cols();
    double t = 0.0;
    for (int i = 0; i < n; ++i)
        t += m_pData[static_cast<long long>(i) * cols + i];
    return t;
}

void CMatrix::Vect2Norm(CVector& out, int dir) const
{
    const int rows = m_nRows, cols = Cols();
    const bool byColumns = dir == 1 || dir == -1;
    out.Allocate(byColumns ? cols : rows, true, 0.0);
    double* o = out.GetVector();
    for (int i = 0; i < rows; ++i) {
        const double* a = m_pData + static_cast<long long>(i) * cols;
        for (int j = 0; j < cols; ++j)
            o[byColumns ? j : i] += a[j] * a[j];
    }
    if (dir > 0)
        for (int i = 0, n = out.GetSize(); i < n; ++i)
            o[i] = std::sqrt(o[i]);
}

double CMatrix::MaxInRow(int i) const
{
    const int cols = Cols();
    if (cols == 0)
        return 0.0;
    const double* a = (*this)[i];
    double best = a[0];
    for (int j = 1; j < cols; ++j)
        if (a[j] > best)
            best = a[j];
    return best;
}

namespace {

// The first entry of column j (rows >= 1) that no later one beats, where
// beats(a, b) says a replaces b.
template <class Beats>
double& ColumnExtreme(double* data, int rows, int cols, int j, Beats beats)
{
    double* best = data + j;
    for (int i = 1; i < rows; ++i) {
        double* e = data + static_cast<long long>(i) * cols + j;
        if (beats(*e, *best))
            best = e;
    }
    return *best;
}

} // namespace

double& CMatrix::MaxInCol(int j)
{
    if (m_nRows == 0)
        return EmptyScratch();
    return ColumnExtreme(m_pData, m_nRows, Cols(), j, [](double a, double b) { return a > b; });
}

double& CMatrix::MinInCol(int j)
{
    if (m_nRows == 0)
        return EmptyScratch();
    return ColumnExtreme(m_pData, m_nRows, Cols(), j, [](double a, double b) { return a < b; });
}

double& CMatrix::fabsMaxInCol(int j)
{
    if (m_nRows == 0)
        return EmptyScratch();
    const int cols = Cols();
    double best = 0.0;
    double* found = m_pData + static_cast<long long>(m_nRows - 1) * cols + j;
    for (int i = 0; i < m_nRows; ++i) {
        double* e = m_pData + static_cast<long long>(i) * cols + j;
        if (std::fabs(*e) >= best) {
            best = std::fabs(*e);
            found = e;
        }
    }
    return *found;
}

int CMatrix::FindInRow(int i, double x) const
{
    const double* a = (*this)[i];
    for (int j = 0, c = Cols(); j < c; ++j)
        if (a[j] == x)
            return j;
    return -1;
}

int CMatrix::FindInCol(int j, double x) const
{
    const int cols = Cols();
    for (int i = 0; i < m_nRows; ++i)
        if (m_pData[static_cast<long long>(i) * cols + j] == x)
            return i;
    return -1;
}

bool CMatrix::CheckSymm() const
{
    const int n = m_nRows;
    if (n != Cols())
        return false;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (m_pData[i * n + j] != m_pData[j * n + i])
                return false;
    return true;
}

namespace {

// Extremes of value(t) over t = 0 .. count-1: the first seeds both, a later
// one replaces max when strictly greater, else min when strictly smaller.
template <class Value>
void ScanExtremes(int count, Value value, double& max, double& min)
{
    max = min = 0.0;
    for (int t = 0; t < count; ++t) {
        double v = value(t);
        if (t == 0)
            max = min = v;
        else if (v > max)
            max = v;
        else if (v < min)
            min = v;
    }
}

} // namespace

void CMatrix::GetMaxMinLength(double& max, double& min, int c1, int c2, bool byRows) const
{
    const int count = m_nSize == 0 ? 0 : (byRows ? m_nRows : Cols());
    ScanExtremes(count, [&](int t) {
        double a = byRows ? GetValue(t, c1) : GetValue(c1, t);
        double b = byRows ? GetValue(t, c2) : GetValue(c2, t);
        return a * a + b * b;
    }, max, min);
    max = std::sqrt(max);
    min = std::sqrt(min);
}

void CMatrix::GetMaxMinLength(double& max, double& min, int c1, int c2, int c3, bool byRows) const
{
    const int count = m_nSize == 0 ? 0 : (byRows ? m_nRows : Cols());
    ScanExtremes(count, [&](int t) {
        double a = byRows ? GetValue(t, c1) : GetValue(c1, t);
        double b = byRows ? GetValue(t, c2) : GetValue(c2, t);
        double c = byRows ? GetValue(t, c3) : GetValue(c3, t);
        return a * a + b * b + c * c;
    }, max, min);
    max = std::sqrt(max);
    min = std::sqrt(min);
}

void CMatrix::GetMaxMin1(double (*f)(double), double& max, double& min, int k, bool byRows) const
{
    const int count = m_nSize == 0 ? 0 : (byRows ? m_nRows : Cols());
    ScanExtremes(count, [&](int t) { return f(byRows ? GetValue(t, k) : GetValue(k, t)); }, max, min);
}

void CMatrix::GetMaxMin2(double (*f)(double*), double& max, double& min, int k1, int k2,
                         bool byRows) const
{
    const int count = m_nSize == 0 ? 0 : (byRows ? m_nRows : Cols());
    ScanExtremes(count, [&](int t) {
        double v[2] = {byRows ? GetValue(t, k1) : GetValue(k1, t),
                       byRows ? GetValue(t, k2) : GetValue(k2, t)};
        return f(v);
    }, max, min);
}

void CMatrix::GetMaxMin3(double (*f)(double*), double& max, double& min, int k1, int k2, int k3,
                         bool byRows) const
{
    const int count = m_nSize == 0 ? 0 : (byRows ? m_nRows : Cols());
    ScanExtremes(count, [&](int t) {
        double v[3] = {byRows ? GetValue(t, k1) : GetValue(k1, t),
                       byRows ? GetValue(t, k2) : GetValue(k2, t),
                       byRows ? GetValue(t, k3) : GetValue(k3, t)};
        return f(v);
    }, max, min);
}

void CMatrix::Split(CMatrix*& sym, CMatrix*& skew) const
{
    const int n = std::min(m_nRows, Cols());
    sym = new CMatrix(n, n, false, 0.0);
    skew = new CMatrix(n, n, false, 0.0);
    for (int i = 0; i < n; ++i) {
        sym->SetValue(i, i, GetValue(i, i));
        skew->SetValue(i, i, 0.0);
        for (int j = i + 1; j < n; ++j) {
            double a = GetValue(i, j), b = GetValue(j, i);
            double s = (a + b) / 2, k = (a - b) / 2;
            sym->SetValue(i, j, s);
            sym->SetValue(j, i, s);
            skew->SetValue(i, j, k);
            skew->SetValue(j, i, -k);
        }
    }
}

void CMatrix::COUT(const char* sep) const
{
    const int cols = Cols();
    for (int i = 0; i < m_nRows; ++i) {
        for (int j = 0; j < cols; ++j)
            std::cout << m_pData[i * cols + j] << sep;
        std::cout << '\n';
    }
    std::cout.flush();
}

void CMatrix::Stream() const
{
    const int cols = Cols();
    for (int i = 0; i < m_nRows; ++i) {
        for (int j = 0; j < cols; ++j)
            std::cout << GetValue(i, j) << '\t';
        std::cout << '\n';
    }
    std::cout.flush();
}
