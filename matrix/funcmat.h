// CFuncMat: a rows x columns table of scalar functions of one or two real
// parameters, evaluated into a dense matrix. A null entry stands for the
// constant 0. The table owns its entry array, not the functions.
#pragma once

#include <cstddef>

#include "matrix/densematrix.h"

class CFuncMat : public CObject {
public:
    // One entry: a function of one parameter, of two, or none (the constant 0).
    class Entry {
    public:
        using Func1 = double (*)(double);
        using Func2 = double (*)(double, double);

        Entry() = default;
        Entry(std::nullptr_t) {}
        Entry(Func1 f) : m_f1(f) {}
        Entry(Func2 f) : m_f2(f) {}

        bool IsNull() const { return !m_f1 && !m_f2; }
        bool operator==(const Entry& b) const { return m_f1 == b.m_f1 && m_f2 == b.m_f2; }
        // A one-parameter function is called with x, a two-parameter one with
        // x and y; 0.0 for a null entry.
        double operator()(double x, double y) const
        {
            return m_f1 ? m_f1(x) : m_f2 ? m_f2(x, y) : 0.0;
        }

    private:
        Func1 m_f1 = nullptr;
        Func2 m_f2 = nullptr;
    };

    CFuncMat() = default;
    CFuncMat(int rows, int cols, bool bInit, Entry fill);
    CFuncMat(const CFuncMat&) = delete;
    CFuncMat& operator=(const CFuncMat&) = delete;
    ~CFuncMat() override;

    // n >= 3: Allocate(dims[0], dims[1], dims[2] != 0, null); n == 2:
    // dims[0] x dims[1] nulls; otherwise square dims[0] nulls. true when the
    // table then holds entries.
    virtual bool Allocate(int* dims, int n);

    // Sets both counts; obtains an array (of null entries) when there is none
    // or when rows x cols differs from the old product, and keeps it
    // otherwise (a count below 1 leaves none); bInit sets every entry to
    // fill. Returns rows x cols, or -1 when there is no array although
    // rows x cols is non-zero.
    int Allocate(int rows, int cols, bool bInit, Entry fill);
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nCols; }
    // The first entry of row i; not range-checked.
    Entry* operator[](int i) { return m_pData + static_cast<long long>(i) * m_nCols; }
    const Entry* operator[](int i) const { return m_pData + static_cast<long long>(i) * m_nCols; }

    // Entry (i, j) at x (a two-parameter entry gets 0.0 as its second).
    double EvalFunc(int i, int j, double x) const;
    // out gets this shape and every entry evaluated at x (a two-parameter
    // entry gets 0.0 as its second argument).
    void EvalFunc(CMatrix& out, double x) const { EvalFunc(out, x, 0.0); }
    // As above at (x, y): two-parameter entries get x and y, one-parameter
    // entries x.
    void EvalFunc(CMatrix& out, double x, double y) const;

protected:
    long long Count() const { return m_pData ? static_cast<long long>(m_nRows) * m_nCols : 0; }

    int m_nRows = 0;
    int m_nCols = 0;
    Entry* m_pData = nullptr;
};
