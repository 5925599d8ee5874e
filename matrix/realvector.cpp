#include "matrix/realvector.h"

#include "matrix/densematrix.h"
#include "matrix/textnumber.h"
#include "matrix/detail/archive.h"
#include "matrix/detail/textout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

double* NewArray(int n)
{
    return new (std::nothrow) double[static_cast<std::size_t>(n)];
}

} // namespace

double& CVector::EmptyScratch()
{
    // Zeroed on every call, so whatever a caller wrote through an earlier
    // reference does not survive.
    static double scratch;
    scratch = 0.0;
    return scratch;
}

IMPLEMENT_SERIAL(CVector, CVirtRealMat, 1)

CVector::CVector(int n, bool bInit, double value)
{
    if (n > 0)
        Allocate(n, bInit, value);
}

CVector::CVector(const CVector* other) : CVector(other ? *other : CVector()) {}

CVector::CVector(const CVector& other) : CVirtRealMat()
{
    if (other.m_nSize > 0 && (m_pData = NewArray(other.m_nSize)) != nullptr) {
        m_nSize = other.m_nSize;
        std::memcpy(m_pData, other.m_pData, sizeof(double) * static_cast<std::size_t>(m_nSize));
    }
}

CVector::~CVector()
{
    delete[] m_pData;
}

void CVector::FreeData()
{
    delete[] m_pData;
    m_pData = nullptr;
    m_nSize = 0;
}

bool CVector::Allocate(int n, bool bInit, double value)
{
    if (n <= 0) {
        FreeData();
        return false;
    }
    if (n != m_nSize)
        FreeData();
    if (!m_pData) {
        m_pData = NewArray(n);
        if (!m_pData)
            return false;
        m_nSize = n;
    }
    if (bInit)
        std::fill_n(m_pData, n, value);
    return true;
}

bool CVector::Allocate(int* dims, int n)
{
    if (!dims)
        return Allocate(0, false, 0.0);
    if (n >= 3)
        return Allocate(dims[0], dims[1] != 0, static_cast<double>(dims[2]));
    if (n == 2)
        return Allocate(dims[0], dims[1] != 0, 0.0);
    return Allocate(dims[0], true, 0.0);
}

void CVector::SetVector(int n, double* p)
{
    delete[] m_pData;
    m_pData = n > 0 ? p : nullptr;
    m_nSize = m_pData ? n : 0;
    if (!m_pData)
        delete[] p;
}

double* CVector::ReplaceVector(double* p, int n)
{
    double* old = m_pData;
    m_pData = n > 0 ? p : nullptr;
    m_nSize = m_pData ? n : 0;
    if (!m_pData)
        delete[] p;
    return old;
}

void CVector::SwapStorage(CVector& other)
{
    std::swap(m_nSize, other.m_nSize);
    std::swap(m_pData, other.m_pData);
}

void CVector::SwitchVectors(CVector* other)
{
    SwapStorage(*other);
    // A matrix that took this vector's array gets a shape that fits it.
    if (auto* m = dynamic_cast<CMatrix*>(other))
        m->FitShape(m_nSize);
}

void CVector::Initialize(double v)
{
    std::fill_n(m_pData, m_nSize, v);
}

CVector& CVector::operator=(double v)
{
    Initialize(v);
    return *this;
}

void CVector::SetIncremental(double step, double start)
{
    double value = start;
    for (int i = 0; i < m_nSize; ++i) {
        m_pData[i] = value;
        value += step;
    }
}

CVector& CVector::operator=(const CVector& b)
{
    if (&b == this)
        return *this;
    if (b.m_nSize != m_nSize) {
        FreeData();
        if (b.m_nSize > 0 && (m_pData = NewArray(b.m_nSize)) != nullptr)
            m_nSize = b.m_nSize;
    }
    if (m_nSize > 0)
        std::memcpy(m_pData, b.m_pData, sizeof(double) * static_cast<std::size_t>(m_nSize));
    return *this;
}

void CVector::Trunc(int first, int last)
{
    if (!m_pData)
        return;
    if (first < 0)
        first = 0;
    if (last < 1 || last > m_nSize)
        last = m_nSize;
    if (first >= last) {
        FreeData();
        return;
    }
    int n = last - first;
    double* p = NewArray(n);
    if (!p)
        return;
    std::memcpy(p, m_pData + first, sizeof(double) * static_cast<std::size_t>(n));
    SetVector(n, p);
}

// ---------------------------------------------------------------- arithmetic

void CVector::AddScaled(const CVector& b, double f)
{
    if (m_nSize == 0 && b.m_nSize == 0) {
        FreeData();
        return;
    }
    if (b.m_nSize <= m_nSize) {
        const double* pb = b.m_pData;
        double* pa = m_pData;
        for (int i = 0, n = b.m_nSize; i < n; ++i)
            pa[i] += f * pb[i];
        return;
    }
    double* p = NewArray(b.m_nSize);
    if (!p)
        return;
    for (int i = 0; i < m_nSize; ++i)
        p[i] = m_pData[i] + f * b.m_pData[i];
    for (int i = m_nSize; i < b.m_nSize; ++i)
        p[i] = f * b.m_pData[i];
    SetVector(b.m_nSize, p);
}

CVector& CVector::operator+=(const CVector& b)
{
    AddScaled(b, 1.0);
    return *this;
}

CVector& CVector::operator-=(const CVector& b)
{
    AddScaled(b, -1.0);
    return *this;
}

void CVector::Add(const CVector& b, double f)
{
    AddScaled(b, f);
}

CVector* CVector::LinComb(double a, const CVector& A, double c, const CVector& B)
{
    int n = std::max(A.m_nSize, B.m_nSize);
    if ((&A == this || &B == this) && n != m_nSize) {
        // The new array would free an operand: work from a copy of it.
        CVector self(*this);
        return LinComb(a, &A == this ? self : A, c, &B == this ? self : B);
    }
    if (!Allocate(n, false, 0.0))
        return this;
    const double* pa = A.m_pData;
    const double* pb = B.m_pData;
    for (int i = 0; i < n; ++i) {
        double x = i < A.m_nSize ? a * pa[i] : 0.0;
        double y = i < B.m_nSize ? c * pb[i] : 0.0;
        m_pData[i] = x + y;
    }
    return this;
}

CVector& CVector::operator+=(double v)
{
    for (int i = 0; i < m_nSize; ++i)
        m_pData[i] += v;
    return *this;
}

CVector& CVector::operator*=(double f)
{
    for (int i = 0; i < m_nSize; ++i)
        m_pData[i] *= f;
    return *this;
}

CVector& CVector::operator/=(double f)
{
    for (int i = 0; i < m_nSize; ++i)
        m_pData[i] /= f;
    return *this;
}

void CVector::Scale(double f)
{
    *this *= f;
}

void CVector::Scale(const CVector* w)
{
    for (int i = 0, n = std::min(m_nSize, w->m_nSize); i < n; ++i)
        m_pData[i] *= w->m_pData[i];
}

void CVector::CrossProd(const CVector* a, const CVector* b)
{
    // Read first: a or b may be this vector.
    double a0 = a->m_pData[0], a1 = a->m_pData[1], a2 = a->m_pData[2];
    double b0 = b->m_pData[0], b1 = b->m_pData[1], b2 = b->m_pData[2];
    if (!Allocate(3, false, 0.0))
        return;
    m_pData[0] = a1 * b2 - a2 * b1;
    m_pData[1] = a2 * b0 - a0 * b2;
    m_pData[2] = a0 * b1 - a1 * b0;
}

void CVector::AddValues(LONG* dofs, double* values, int n)
{
    for (int i = 0; i < n; ++i)
        if (dofs[i] >= 0)
            m_pData[dofs[i]] += values[i];
}

void CVector::AplusBC(double* a, const double* b, int n, double c)
{
    for (int i = 0; i < n; ++i)
        a[i] += c * b[i];
}

// ---------------------------------------------------------------- reductions

double CVector::Length() const
{
    double s = 0.0;
    for (int i = 0; i < m_nSize; ++i)
        s += m_pData[i] * m_pData[i];
    return std::sqrt(s);
}

double CVector::Normalize()
{
    double len = Length();
    if (len != 0.0)
        *this /= len;
    return len;
}

double CVector::Dot(const CVector& b) const
{
    int n = std::min(m_nSize, b.m_nSize);
    double s = 0.0;
    for (int i = 0; i < n; ++i)
        s += m_pData[i] * b.m_pData[i];
    return s;
}

double CVector::Sum() const
{
    double s = 0.0;
    for (int i = 0; i < m_nSize; ++i)
        s += m_pData[i];
    return s;
}

double CVector::Mean() const
{
    return m_nSize > 0 ? Sum() / m_nSize : 0.0;
}

double CVector::PNorm(double p) const
{
    if (p == 0.0)
        return m_nSize;
    double s = 0.0;
    if (p == 1.0) {
        for (int i = 0; i < m_nSize; ++i)
            s += std::fabs(m_pData[i]);
        return s;
    }
    for (int i = 0; i < m_nSize; ++i)
        s += std::pow(std::fabs(m_pData[i]), p);
    return std::pow(s, 1.0 / p);
}

double CVector::InfNorm() const
{
    double m = 0.0;
    for (int i = 0; i < m_nSize; ++i)
        m = std::max(m, std::fabs(m_pData[i]));
    return m;
}

double CVector::ZeroNorm() const
{
    if (m_nSize == 0)
        return 0.0;
    double m = std::fabs(m_pData[0]);
    for (int i = 1; i < m_nSize; ++i)
        m = std::min(m, std::fabs(m_pData[i]));
    return m;
}

double& CVector::Max()
{
    if (m_nSize == 0)
        return EmptyScratch();
    int best = 0;
    for (int i = 1; i < m_nSize; ++i)
        if (m_pData[i] > m_pData[best])
            best = i;
    return m_pData[best];
}

double& CVector::Min()
{
    if (m_nSize == 0)
        return EmptyScratch();
    int best = 0;
    for (int i = 1; i < m_nSize; ++i)
        if (m_pData[i] < m_pData[best])
            best = i;
    return m_pData[best];
}

int CVector::Find(double v, int from, int to) const
{
    if (to < 1)
        to = m_nSize;
    for (int i = std::max(from, 0); i < to; ++i)
        if (m_pData[i] == v)
            return i;
    return -1;
}

int CVector::Count(double v, int from, int to) const
{
    if (to < 1)
        to = m_nSize;
    int count = 0;
    for (int i = std::max(from, 0); i < to; ++i)
        if (m_pData[i] == v)
            ++count;
    return count;
}

bool CVector::operator==(const CVector& b) const
{
    if (m_nSize != b.m_nSize)
        return false;
    for (int i = 0; i < m_nSize; ++i)
        if (m_pData[i] != b.m_pData[i])
            return false;
    return true;
}

bool CVector::operator==(double v) const
{
    for (int i = 0; i < m_nSize; ++i)
        if (m_pData[i] != v)
            return false;
    return true;
}

double CVector::VectToQuat(const double* v, double* q)
{
    double t = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    double c = std::cos(t * 0.5);
    double s;
    if (t >= 0.0001) {
        s = std::sin(t * 0.5) / t;
    } else {
        double t2 = t * t;
        s = 0.5 - t2 * 0.0625 / 3.0 + t2 * t2 * 0.00026041666666666666
            - t2 * t2 * t2 * 1.5500992063492063e-06;
    }
    for (int i = 0; i < 3; ++i)
        q[i] = s * v[i];
    double m = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + c * c);
    for (int i = 0; i < 3; ++i)
        q[i] /= m;
    return c / m;
}

// ---------------------------------------------------------------- archive and text

void CVector::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_nSize);
        for (int i = 0; i < m_nSize; ++i)
            ar << m_pData[i];
        return;
    }
    // Whatever goes wrong while loading leaves the vector empty.
    try {
        // A negative count, or one that the rest of the file cannot back, is
        // refused before anything is allocated.
        const int n = zelkor::detail::ReadCount(ar);
        ar.CheckAvailable(static_cast<ULONGLONG>(n), sizeof(double));
        if (n != m_nSize) {
            FreeData();
            if (n > 0) {
                m_pData = new double[static_cast<std::size_t>(n)];
                m_nSize = n;
            }
        }
        for (int i = 0; i < m_nSize; ++i)
            ar >> m_pData[i];
    } catch (...) {
        FreeData();
        throw;
    }
}

void CVector::WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int bExp,
                         bool, bool)
{
    const char* format = bExp ? "%s%*.*e%s" : "%s%*.*f%s";
    zelkor::detail::TextOut out(file);
    for (int i = 0; i < m_nSize; ++i)
        out.Format(format, pre.GetString(), width, precision, m_pData[i], post.GetString());
    out.Put("\r\n");
    out.Flush();
}

void CVector::ReadASCII(CFile* file)
{
    std::vector<double> values;
    zelkor::LineScanner lines([file](char* buffer, std::size_t n) {
        return static_cast<std::size_t>(file->Read(buffer, static_cast<UINT>(n)));
    });
    std::string line, number;
    while (lines.ReadLine(line)) {
        zelkor::LineNumbers numbers(std::move(line));
        while (numbers.Next(number))
            values.push_back(AfxStrToD(number.c_str()));
    }
    if (!Allocate(static_cast<int>(values.size()), false, 0.0))
        return;
    std::copy(values.begin(), values.end(), m_pData);
}
