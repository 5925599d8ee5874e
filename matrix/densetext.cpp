// Text import and export of the dense matrix.
#include "matrix/densematrix.h"

#include <algorithm>
#include <string>
#include <vector>

#include "matrix/detail/textout.h"
#include "matrix/textblock.h"
#include "matrix/textnumber.h"

namespace {

// Numbers read row by row: the values in order and each row's count.
struct TextRows {
    std::vector<double> values;
    std::vector<int> counts;
    int columns = 0;

    // Reads the numbers of line as a new row; false when it holds none.
    bool Add(std::string& line)
    {
        const int n = zelkor::AppendLineNumbers(std::move(line), values);
        if (n == 0)
            return false;
        counts.push_back(n);
        columns = std::max(columns, n);
        return true;
    }

    // Whether the zero-filled matrix stays within what bytes of text can
    // spell out. Short rows are filled up with zeros, so a few long rows
    // among many short ones would otherwise make a small text ask for a
    // matrix of any size. A text needs at least two bytes per number it
    // writes; four entries per byte leaves room for triangular and other
    // ragged matrices written in full.
    bool FitsText(unsigned long long bytes) const
    {
        constexpr unsigned long long kEntriesPerByte = 4;
        const unsigned long long entries =
            static_cast<unsigned long long>(counts.size()) * static_cast<unsigned>(columns);
        return entries <= kEntriesPerByte * bytes;
    }

    // Reshapes m zero-filled and stores the rows into it from column 0 on.
    // Text without rows gives an empty matrix. Rows that the text cannot
    // hold (see FitsText) or that cannot be allocated are refused with the
    // reader's error, a CArchiveException, leaving m as it was (or empty
    // when the allocation itself failed) and the file at origin.
    void StoreInto(CMatrix& m, CFile& file, ULONGLONG origin, unsigned long long bytes) const
    {
        const int rows = static_cast<int>(counts.size());
        if (rows > 0 && !FitsText(bytes))
            Refuse(file, origin);
        m.Allocate(rows, columns, true, 0.0);
        if (!m.IsAllocated()) {
            if (rows > 0)
                Refuse(file, origin);
            return;
        }
        std::size_t k = 0;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < counts[static_cast<std::size_t>(i)]; ++j)
                m.SetValue(i, j, values[k++]);
    }

    [[noreturn]] static void Refuse(CFile& file, ULONGLONG origin)
    {
        file.Seek(static_cast<LONGLONG>(origin), CFile::begin);
        AfxThrowArchiveException(CArchiveException::generic);
    }
};

// Moves the file to origin + consumed, at most to its end.
void SeekAfter(CFile& file, ULONGLONG origin, unsigned long long consumed)
{
    const ULONGLONG length = file.GetLength();
    const ULONGLONG target = origin + consumed;
    file.Seek(static_cast<LONGLONG>(target < length ? target : length), CFile::begin);
}

} // namespace

void CMatrix::ReadASCII(CFile* file)
{
    const ULONGLONG origin = file->GetPosition();
    zelkor::LineScanner lines([file](char* buffer, std::size_t n) {
        return static_cast<std::size_t>(file->Read(buffer, static_cast<UINT>(n)));
    });
    TextRows rows;
    unsigned long long consumed = 0;
    std::string line;
    while (lines.ReadLine(line) && rows.Add(line))
        consumed = lines.Consumed();
    rows.StoreInto(*this, *file, origin, consumed);
    SeekAfter(*file, origin, consumed);
}

void CMatrix::ReadASCII(CFile* file, CString start, CString end, CString comment)
{
    start.MakeUpper();
    end.MakeUpper();
    comment.MakeUpper();
    CString mark = comment;
    if (!SeekTo(start, *file, comment.IsEmpty() ? nullptr : &mark, true))
        return;
    const ULONGLONG origin = file->GetPosition();
    zelkor::KeywordBlockReader block(*file, start.str(), end.str(), comment.str());
    TextRows rows;
    std::string line;
    // The first line without a number ends the block too (it is consumed).
    while (block.Next(line) && rows.Add(line)) {
    }
    rows.StoreInto(*this, *file, origin, block.Consumed());
    SeekAfter(*file, origin, block.Consumed());
}

void CMatrix::WriteASCII(CFile* file, CString pre, CString post, int width, int precision,
                         int style, bool rowNumbers, bool header)
{
    zelkor::detail::TextOut out(file);
    const int cols = GetColumns();
    if (header) {
        out.Put("\r\n");
        zelkor::detail::WriteMatrixHeader(out, pre, post, width, precision, rowNumbers, cols);
    }
    zelkor::detail::WriteMatrixRows(out, pre, post, width, precision, style, rowNumbers,
                                    m_nRows, cols,
                                    [this](int i, int j) { return GetValue(i, j); });
    out.Flush();
}
