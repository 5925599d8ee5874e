#include "matrix/virtmat.h"

#include <string>
#include <utility>

#include "matrix/textnumber.h"

IMPLEMENT_DYNAMIC(CVirtMat, CObject)
IMPLEMENT_DYNAMIC(CVirtRealMat, CVirtMat)

std::uint32_t CVirtMat::m_Flops = 0;
bool CVirtMat::m_bSym = false;

CVirtMat::~CVirtMat() = default;

int CVirtRealMat::Cholesky_Solve(CVirtMat*, double&)
{
    return 0;
}

namespace {

// Runs edit on the text of line and stores the result back.
template <class Edit>
void EditText(CString& line, Edit edit)
{
    std::string text = line.str();
    edit(text);
    if (text != line.str())
        line = CString(std::move(text));
}

} // namespace

void CVirtMat::ReadNumber(int& pos, CString& line, CString& number)
{
    std::string text;
    EditText(line, [&](std::string& s) { zelkor::ReadNumber(pos, s, text); });
    number = CString(std::move(text));
}

void CVirtMat::ReplacePI(CString& line, int start)
{
    EditText(line, [&](std::string& s) { zelkor::ReplacePI(s, start); });
}

void CVirtMat::ReplaceIs(CString& line, int start)
{
    EditText(line, [&](std::string& s) { zelkor::ReplaceIs(s, start); });
}

void CVirtMat::ReplaceGravity(CString& line, int start)
{
    EditText(line, [&](std::string& s) { zelkor::ReplaceGravity(s, start); });
}

namespace {

// Only a line that ends at or before byte end counts; the search reads no
// further than the scanner's buffer past end.
bool SeekLine(CString& key, CFile& file, CString* commentMark, bool fromCurrent, bool giveLine,
              ULONGLONG end)
{
    key.MakeUpper();
    if (commentMark)
        commentMark->MakeUpper();
    const bool cutComment = commentMark && !commentMark->IsEmpty();

    ULONGLONG origin = 0;
    ULONGLONG start = 0;
    ULONGLONG length = 0;
    try {
        origin = file.GetPosition();
        length = file.GetLength();
        if (!fromCurrent)
            file.SeekToBegin();
        start = file.GetPosition();
    } catch (CException&) {
        return false;
    }
    if (start >= length) {
        try {
            file.Seek(static_cast<LONGLONG>(origin), CFile::begin);
        } catch (CException&) {
        }
        return false;
    }

    bool found = false;
    unsigned long long consumed = 0;
    try {
        zelkor::LineScanner lines([&file](char* buffer, std::size_t n) {
            return static_cast<std::size_t>(file.Read(buffer, static_cast<UINT>(n)));
        });
        std::string text;
        while (lines.ReadLine(text)) {
            if (start + lines.Consumed() > end)
                break;
            CString line(std::move(text));
            line.Trim();
            line.MakeUpper();
            if (cutComment) {
                int at = line.Find(static_cast<LPCTSTR>(*commentMark));
                if (at >= 0)
                    line = line.Left(at);
            }
            if (line.Find(static_cast<LPCTSTR>(key)) >= 0) {
                found = true;
                consumed = lines.Consumed();
                if (giveLine)
                    key = line;
                break;
            }
        }
    } catch (CException&) {
        found = false;
    }

    try {
        if (found) {
            ULONGLONG target = start + consumed;
            file.Seek(static_cast<LONGLONG>(target < length ? target : length), CFile::begin);
        } else {
            file.Seek(static_cast<LONGLONG>(origin), CFile::begin);
        }
    } catch (CException&) {
        return false;
    }
    return found;
}

constexpr ULONGLONG kNoEnd = ~ULONGLONG(0);

} // namespace

bool SeekTo(CString key, CFile& file, CString* commentMark, bool fromCurrent)
{
    return SeekLine(key, file, commentMark, fromCurrent, false, kNoEnd);
}

bool SeekTo_ReplLine(CString& key, CFile& file, CString* commentMark, bool fromCurrent)
{
    return SeekLine(key, file, commentMark, fromCurrent, true, kNoEnd);
}

bool SeekToBefore(CString key, CFile& file, ULONGLONG end, CString* commentMark, bool fromCurrent)
{
    return SeekLine(key, file, commentMark, fromCurrent, false, end);
}

bool SeekTo_ReplLineBefore(CString& key, CFile& file, ULONGLONG end, CString* commentMark,
                           bool fromCurrent)
{
    return SeekLine(key, file, commentMark, fromCurrent, true, end);
}

bool CVirtMat::SeekTo(CString key, CFile& file, CString* commentMark, bool fromCurrent)
{
    return ::SeekTo(std::move(key), file, commentMark, fromCurrent);
}

bool CVirtMat::SeekTo(CString key, CFile* file, CString* commentMark, bool fromCurrent)
{
    return file && ::SeekTo(std::move(key), *file, commentMark, fromCurrent);
}

bool CVirtMat::SeekTo_ReplLine(CString& key, CFile& file, CString* commentMark, bool fromCurrent)
{
    return ::SeekTo_ReplLine(key, file, commentMark, fromCurrent);
}

bool CVirtMat::SeekTo_ReplLine(CString& key, CFile* file, CString* commentMark, bool fromCurrent)
{
    return file && ::SeekTo_ReplLine(key, *file, commentMark, fromCurrent);
}
