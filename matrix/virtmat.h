// The abstract roots of every matrix and vector class of the library, the
// text-number reader and the keyword search in text files.
#pragma once

#include <cstdint>

#include "platform/afx/afx.h"

// Root of all matrices and vectors: allocation from a list of dimensions and
// the text form, plus the static text-number reader.
class CVirtMat : public CObject {
    DECLARE_DYNAMIC(CVirtMat)
public:
    ~CVirtMat() override;

    virtual bool Allocate(int* dims, int n) = 0;
    // Reads the matrix from the file's current position.
    virtual void ReadASCII(CFile* file) = 0;
    // Writes the matrix as text: every number between pre and post, in a field
    // of width with precision digits (exponential when bExp is set).
    virtual void WriteASCII(CFile* file, CString pre, CString post, int width, int precision,
                            int bExp, bool rowNumbers, bool header) = 0;

    // Applies the word replacements to line from pos on, then sets number to
    // the text of the next number at or after pos ("," read as ".") and moves
    // pos just after it; number is empty and pos the line's length when there
    // is none. Numbers: see matrix/textnumber.h.
    static void ReadNumber(int& pos, CString& line, CString& number);
    // Standalone "PI", "Pi", "pi" from start on become 3.141592653589793.
    static void ReplacePI(CString& line, int start);
    // Standalone "i1" to "i3" (or "I1" ...) from start on become unit vectors.
    static void ReplaceIs(CString& line, int start);
    // Standalone "g" or "G" from start on become 9.81.
    static void ReplaceGravity(CString& line, int start);

    // The keyword searches SeekTo and SeekTo_ReplLine below, named through
    // the matrix root; the file by reference or by pointer (a null file is
    // never found).
    static bool SeekTo(CString key, CFile& file, CString* commentMark = nullptr,
                       bool fromCurrent = false);
    static bool SeekTo(CString key, CFile* file, CString* commentMark = nullptr,
                       bool fromCurrent = false);
    static bool SeekTo_ReplLine(CString& key, CFile& file, CString* commentMark = nullptr,
                                bool fromCurrent = false);
    static bool SeekTo_ReplLine(CString& key, CFile* file, CString* commentMark = nullptr,
                                bool fromCurrent = false);

    // Operation counter of the sparse and skyline factorisations.
    static std::uint32_t m_Flops;
    // Switch read by the system sparse matrix.
    static bool m_bSym;

protected:
    CVirtMat() = default;
    CVirtMat(const CVirtMat&) : CObject() {}
    CVirtMat& operator=(const CVirtMat&) { return *this; }
};

// Root of the real-valued matrices and vectors.
class CVirtRealMat : public CVirtMat {
    DECLARE_DYNAMIC(CVirtRealMat)
public:
    // Adds an element's block of values by DOF number; negative DOFs are skipped.
    virtual void AddValues(LONG* dofs, double* values, int n) = 0;
    // Solve with a factorised matrix; matrices without such a solve return 0.
    virtual int Cholesky_Solve(CVirtMat* rhs, double& seconds);
    virtual CVirtRealMat& operator=(double v) = 0;
    virtual CVirtRealMat& operator+=(double v) = 0;

protected:
    CVirtRealMat() = default;
    CVirtRealMat(const CVirtRealMat& other) = default;
    CVirtRealMat& operator=(const CVirtRealMat&) = default;
};

// Positions file just after the first line that contains key (compared in
// upper case, the line trimmed and cut before the comment mark when one is
// given). Searches from the current position when fromCurrent, else from the
// beginning. Returns false (file position unchanged) when no line matches,
// the file holds nothing more, or reading fails. The comment mark is
// upper-cased in place.
bool SeekTo(CString key, CFile& file, CString* commentMark = nullptr, bool fromCurrent = false);
// As SeekTo; key is upper-cased in place and, on a match, receives the line
// as compared.
bool SeekTo_ReplLine(CString& key, CFile& file, CString* commentMark = nullptr,
                     bool fromCurrent = false);
// As SeekTo and SeekTo_ReplLine, but only a line that ends at or before
// byte end of the file counts, and the search stops reading soon after end:
// a key missing from a block costs the block, not the rest of the file.
bool SeekToBefore(CString key, CFile& file, ULONGLONG end, CString* commentMark = nullptr,
                  bool fromCurrent = false);
bool SeekTo_ReplLineBefore(CString& key, CFile& file, ULONGLONG end,
                           CString* commentMark = nullptr, bool fromCurrent = false);
