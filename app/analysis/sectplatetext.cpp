// CSectPlate: text export and import of a plate region. The area region's
// text form gains a parameter block with the thickness and its
// coefficients:
//
//   <marker 0>
//   [<name label> <region name>]
//   <p>PARAMETERS
//   <p>THICKNESS t [c0 c1 c2 c3]
//   [\xA7MATAXES [POLAR] a0 a1]
//   <marker 1>
//   x   y            (one line per outline node)
//   <marker 1>
//
// p is the first character of marker 0. The load is not part of the text.
#include "app/analysis/sectplate.h"

#include <algorithm>
#include <string>

namespace
{
// A marker as searched: upper case, without line-end characters.
CString SearchMarker(const CStringArray& markers, int i)
{
    CString m = i < markers.GetSize() ? markers[i] : CString();
    m.TrimRight("\r\n");
    m.TrimLeft("\r\n");
    m.MakeUpper();
    return m;
}

// The prefix of the parameter lines: the first character of marker 0.
std::string Prefix(const CStringArray& markers)
{
    if (markers.GetSize() < 1 || markers[0].IsEmpty())
        return std::string();
    return std::string(1, markers[0].str()[0]);
}

// Reads the numbers of a THICKNESS line from pos on: the first is the
// thickness; a second makes the coefficient vector four entries long and
// fills it from the second to the fifth number.
void ReadThickness(CString& line, int pos, double& thickness, CVector& coeffs)
{
    for (int i = 0; i < 5; ++i) {
        CString number;
        CVirtMat::ReadNumber(pos, line, number);
        if (number.IsEmpty())
            return;
        const double value = AfxAtoF(number);
        if (i == 0) {
            thickness = value;
            continue;
        }
        if (i == 1)
            coeffs.Allocate(4, true, 0.0);
        coeffs[i - 1] = value;
    }
}
// The line of bytes that starts at from, upper case, cut off at the name
// label (when there is one) and trimmed; from moves past the line. named
// tells whether the label was cut off.
CString NextLine(const std::string& bytes, std::size_t& from, const CString& label, bool& named)
{
    std::size_t next = bytes.find('\n', from);
    if (next == std::string::npos)
        next = bytes.size();
    CString line(bytes.substr(from, next - from).c_str());
    from = next + 1;
    line.MakeUpper();
    const int cut = label.IsEmpty() ? -1 : line.Find(label);
    named = cut >= 0;
    if (named)
        line = line.Left(cut);
    line.Trim();
    return line;
}

// Positions the file after the next line holding begin and tells whether
// the first line after it that is more than a name line opens a parameter
// block. The file position is kept when begin is not found.
bool ParameterBlockBehindName(CFile& file, const CString& begin, const CString& label)
{
    if (begin.IsEmpty() || !CVirtMat::SeekTo(begin, file, nullptr, true))
        return false;
    const ULONGLONG at = file.GetPosition();
    std::string bytes(4096, '\0');
    bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
    file.Seek(static_cast<LONGLONG>(at), CFile::begin);
    bool sawName = false;
    std::size_t from = 0;
    while (from < bytes.size()) {
        bool named = false;
        const CString line = NextLine(bytes, from, label, named);
        sawName = sawName || named;
        if (line.IsEmpty())
            continue;
        return sawName && line.Find("PARAMETERS") >= 0;
    }
    return false;
}

} // namespace

void CSectPlate::ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                                  double* values, int nValues)
{
    const std::string start = ExportMarker(markers, 0).str();
    const std::string end = ExportMarker(markers, 1).str();
    const CString label = markers.GetSize() > 2 ? markers[2] : CString();
    const std::string p = Prefix(markers);

    std::string out = start;
    if (!label.IsEmpty())
        out += AfxFormat("%s %s\r\n", static_cast<LPCTSTR>(label), static_cast<LPCTSTR>(m_strName));
    out += p + "PARAMETERS\r\n";
    out += p + AfxFormat("THICKNESS %g", m_dThickness);
    for (int i = 0; i < m_ThicknessCoeffs.GetSize(); ++i)
        out += AfxFormat(" %g", m_ThicknessCoeffs[i]);
    out += "\r\n";
    if (m_bPolar || m_vAxes.GetSize() > 0)
        AppendAxesLine(out);
    out += end;
    AppendNodeLines(out, options, nOptions, values, nValues);
    out += end;
    WriteExportText(file, out, options, nOptions);

    if (!m_pSubList)
        return;
    for (POSITION pos = m_pSubList->GetHeadPosition(); pos;) {
        CObject* ob = m_pSubList->GetNext(pos);
        if (ob && ob->IsKindOf(RUNTIME_CLASS(CGraph)))
            static_cast<CGraph*>(ob)->ASCIIExportGraph(file, markers, options, nOptions, values,
                                                       nValues);
    }
}

int CSectPlate::ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                               int nValues, CObList* list)
{
    CFile* file = set.m_pFile;
    if (!file)
        return 0;
    const ULONGLONG start = file->GetPosition();
    const CString end = SearchMarker(set.m_Keys, 1);
    const CString label = SearchMarker(set.m_Keys, 2);

    // The area import recognises a parameter block only when it follows
    // marker 0 directly; a name line in between hides it. Such a block is
    // handed over as if it began at its end marker: the nodes follow that.
    const bool advance = !(options && nOptions > 0 && options[0] == 0);
    int n = 0;
    if (advance && !label.IsEmpty() && set.m_Keys.GetSize() > 1 &&
        ParameterBlockBehindName(*file, SearchMarker(set.m_Keys, 0), label)) {
        ASCII_SETTING fromEnd;
        fromEnd.m_Keys.Copy(set.m_Keys);
        fromEnd.m_Keys[0] = set.m_Keys[1];
        fromEnd.m_pFile = file;
        fromEnd.m_bMerge = set.m_bMerge;
        n = CSectMeshArea::ASCIIReadGraph(fromEnd, options, nOptions, values, nValues, list);
    } else {
        file->Seek(static_cast<LONGLONG>(start), CFile::begin);
        n = CSectMeshArea::ASCIIReadGraph(set, options, nOptions, values, nValues, list);
    }
    const ULONGLONG length = file->GetLength();
    const ULONGLONG blockEnd = std::min(file->GetPosition(), length);
    if (n < 3) {
        ClearNodes();
        return n;
    }

    // The parameter block: after marker 0, the line p + "PARAMETERS", both
    // before the end of the region's block.
    file->Seek(static_cast<LONGLONG>(std::min(start, length)), CFile::begin);
    CString p(Prefix(set.m_Keys).c_str());
    p.MakeUpper();
    const CString begin = SearchMarker(set.m_Keys, 0);
    const bool found = (begin.IsEmpty() || SeekToBefore(begin, *file, blockEnd, nullptr, true)) &&
                       SeekToBefore(p + "PARAMETERS", *file, blockEnd, nullptr, true);
    if (found) {
        const ULONGLONG from = file->GetPosition();
        std::string bytes(static_cast<std::size_t>(blockEnd - from), '\0');
        const UINT got = bytes.empty() ? 0 : file->Read(bytes.data(), static_cast<UINT>(bytes.size()));
        bytes.resize(got);
        const CString key = p + "THICKNESS";
        std::size_t at = 0;
        while (at < bytes.size()) {
            bool named = false;
            CString line = NextLine(bytes, at, label, named);
            if (line.IsEmpty())
                continue;
            if (!end.IsEmpty() && line.Find(end) >= 0)
                break;
            const int k = line.Find(key);
            if (k >= 0)
                ReadThickness(line, k + key.GetLength(), m_dThickness, m_ThicknessCoeffs);
        }
    }
    file->Seek(static_cast<LONGLONG>(blockEnd), CFile::begin);
    return n;
}
