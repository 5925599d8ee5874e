// CVector: a counted array of doubles that owns its storage.
//
// Two-operand operations give the result the larger of the two sizes, the
// shorter operand counting as zero-padded. An empty vector has count 0 and no
// array; otherwise the array holds exactly count doubles.
#pragma once

#include "matrix/virtmat.h"

class CVector : public CVirtRealMat {
    DECLARE_SERIAL(CVector)
public:
    CVector() = default;
    // n > 0: an array of n, filled with value when bInit; n <= 0: empty.
    explicit CVector(int n, bool bInit = true, double value = 0.0);
    explicit CVector(const CVector* other);
    CVector(const CVector& other);
    ~CVector() override;

    // --- virtual operations inherited from the roots
    // Archive: the count (32 bits), then the doubles.
    void Serialize(CArchive& ar) override;
    bool Allocate(int* dims, int n) override;
    // Reads every number from the file's current position to its end.
    void ReadASCII(CFile* file) override;
    // One line: every element as pre, the number, post; then CR LF.
    void WriteASCII(CFile* file, CString pre, CString post, int width, int precision, int bExp,
                    bool rowNumbers, bool header) override;
    void AddValues(LONG* dofs, double* values, int n) override;
    CVector& operator=(double v) override;
    CVector& operator+=(double v) override;

    // --- virtual operations of the vector
    virtual void Add(const CVector& b, double f);
    virtual CVector* LinComb(double a, const CVector& A, double c, const CVector& B);
    virtual void CrossProd(const CVector* a, const CVector* b);
    virtual int Count(double v, int from, int to) const;
    virtual double Dot(const CVector& b) const;
    virtual double Mean() const;
    virtual int Find(double v, int from, int to) const;
    // Count n <= 0 leaves the vector empty and returns false. A new count frees
    // the old array; the same count keeps it (and its values unless bInit).
    virtual bool Allocate(int n, bool bInit, double value);
    virtual double ZeroNorm() const;
    virtual double InfNorm() const;
    virtual double PNorm(double p) const;
    virtual double& Min();
    virtual double Sum() const;
    virtual double& Max();
    virtual void SetIncremental(double step, double start);
    // Adopts p (count n, owned from now on) and hands the old array back to the
    // caller, who then owns it.
    virtual double* ReplaceVector(double* p, int n);
    // Exchanges arrays and counts with other.
    virtual void SwitchVectors(CVector* other);
    virtual void Initialize(double v);

    // --- storage and access
    int GetSize() const { return m_nSize; }
    double* GetVector() { return m_pData; }
    const double* GetVector() const { return m_pData; }
    double GetValue(int i) const { return m_pData[i]; }
    void SetValue(int i, double v) { m_pData[i] = v; }
    double& operator[](int i) { return m_pData[i]; }
    const double& operator[](int i) const { return m_pData[i]; }
    // Frees the old array and adopts p (from new[]) with count n.
    void SetVector(int n, double* p);
    CVector& operator=(const CVector& b);
    // Keeps elements [first, last); last < 1 or beyond the count means the count.
    void Trunc(int first, int last);

    // --- arithmetic, in place
    CVector& operator+=(const CVector& b);
    CVector& operator-=(const CVector& b);
    CVector& operator*=(double f);
    CVector& operator/=(double f);
    void Scale(double f);
    // Element i times w[i], for i below both counts.
    void Scale(const CVector* w);
    // a[i] += c * b[i] for i below n.
    static void AplusBC(double* a, const double* b, int n, double c);

    // --- reductions and comparisons
    double Length() const;
    double Normalize();
    bool operator==(const CVector& b) const;
    bool operator!=(const CVector& b) const { return !(*this == b); }
    bool operator==(double v) const;
    bool operator!=(double v) const { return !(*this == v); }
    bool operator==(int v) const { return *this == static_cast<double>(v); }
    bool operator!=(int v) const { return !(*this == v); }

    // Rotation vector v (3 doubles) to a unit quaternion: q receives the vector
    // part, the scalar part is returned.
    static double VectToQuat(const double* v, double* q);

protected:
    // What reference-returning scans give for an empty vector or matrix: a
    // zeroed scratch value, never memory outside an array.
    static double& EmptyScratch();
    // Exchanges array and count with other, nothing else.
    void SwapStorage(CVector& other);
    // Frees the array and leaves the vector empty.
    void FreeData();
    // this += f * b with the larger-size rule.
    void AddScaled(const CVector& b, double f);

    int m_nSize = 0;
    double* m_pData = nullptr;
};
