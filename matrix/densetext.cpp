// Text import and export of the dense matrix.
#include "matrix/densematrix.h"

#include <algorithm>
#include <string>
#include <vector>

#include "matrix/detail/textout.h"
#include "matrix/textblock.h"
#include "matrix/textnumber.h"

namespace {

// The numbers of one text line, read in order; their count.
int ReadLineNumbers(std::string& line, std::vector<double>& values)
{
    int pos = 0;
    int count = 0;
    std::string number;
    for (;;) {
        zelkor::ReadNumber(pos, line, number);
        if (number.empty())
            return count;
        values.push_back(AfxStrToD(number.c_str()));
        ++count;
    }
}

// Numbers read row by row: the values in order and each row's count.
struct TextRows {
    std::vector<double> values;
    std::vector<int> counts;
    int columns = 0;

    // Reads the numbers of line as a new row; false when it holds none.
    bool Add(std::string& line)
    {
        const int n = ReadLineNumbers(line, values);
        if (n == 0)
            return false;
        counts.push_back(n);
        columns = std::max(columns, n);
        return true;
    }

    // Reshapes m zero-filled and stores the rows into it from column 0 on.
    void StoreInto(CMatrix& m) const
    {
        const int rows = static_cast<int>(counts.size());
        m.Allocate(rows, columns, true, 0.0);
        if (!m.IsAllocated())
            return;
        std::size_t k = 0;
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < counts[static_cast<std::size_t>(i)]; ++j)
                m.SetValue(i, j, values[k++]);
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
    rows.StoreInto(*this);
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
    rows.StoreInto(*this);
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
