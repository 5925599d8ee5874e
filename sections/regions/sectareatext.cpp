// Text export and import of an area region: boundary nodes one per line and
// an optional parameter block with the material axes.
#include "sections/regions/sectarea.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

const char kAxesKey[] = "\xA7MATAXES";

// Positions the file after the start marker's line and tells whether the
// next non-empty line opens a parameter block.
bool HasParameterBlock(const ASCII_SETTING& set, CFile& file, bool fromCurrent)
{
    if (set.m_Keys.GetSize() < 1 || set.m_Keys[0].IsEmpty())
        return false;
    CString comment = set.m_Keys.GetSize() > 2 ? set.m_Keys[2] : CString();
    comment.MakeUpper();
    CString start = set.m_Keys[0];
    start.MakeUpper();
    if (!CVirtMat::SeekTo(start, file, comment.IsEmpty() ? nullptr : &comment, fromCurrent))
        return false;
    // The first non-empty line after the start marker that is not the name
    // line (it begins with the name label) tells.
    const ULONGLONG at = file.GetPosition();
    char buffer[4096];
    const UINT got = file.Read(buffer, sizeof buffer);
    file.Seek(static_cast<LONGLONG>(at), CFile::begin);
    const std::string label(comment.str());
    std::string line;
    for (UINT i = 0; i <= got; ++i) {
        const char c = i < got ? buffer[i] : '\n';
        if (c == '\n' || c == '\r') {
            if (line.empty())
                continue;
            if (!label.empty() && line.compare(0, label.size(), label) == 0) {
                line.clear();
                continue;
            }
            break;
        }
        line += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return line.find("PARAMETERS") != std::string::npos;
}

} // namespace

CString CSectArea::ExportMarker(const CStringArray& markers, int i)
{
    CString m = i < markers.GetSize() ? markers[i] : CString();
    if (!m.IsEmpty() && m.Find("\r\n") < 0)
        m += "\r\n";
    return m;
}

void CSectArea::AppendAxesLine(std::string& out) const
{
    out += kAxesKey;
    if (m_bPolar)
        out += " POLAR";
    for (int i = 0; i < m_vAxes.GetSize(); ++i)
        out += AfxFormat(" %g", m_vAxes[i]);
    out += "\r\n";
}

void CSectArea::AppendNodeLines(std::string& out, const int* options, int nOptions,
                                const double* values, int nValues) const
{
    const int format = options && nOptions > 1 ? options[1] : 2;
    double scale[3] = {1.0, 1.0, 1.0};
    for (int i = 0; values && i < 3 && i < nValues; ++i)
        scale[i] = values[i];
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CSNode* n = GetNextNode(pos);
        const double x = n->x * scale[0], y = n->y * scale[1], z = n->z * scale[2];
        if (format == 1)
            out += AfxFormat("%g\r\n", x);
        else if (format == 2)
            out += AfxFormat("%g   %g\r\n", x, y);
        else
            out += AfxFormat("%g   %g   %g\r\n", x, y, z);
    }
}

void CSectArea::WriteExportText(CFile& file, const std::string& text, const int* options,
                                int nOptions)
{
    try {
        if (options && nOptions > 0 && options[0] == 0)
            file.SeekToEnd();
        CArchive ar(&file, CArchive::store, 4096);
        try {
            ar.Write(text.data(), static_cast<UINT>(text.size()));
        } catch (CArchiveException&) {
        }
        ar.Close();
    } catch (CException&) {
        // What was written before the failure stays in the file.
    }
}

void CSectArea::ASCIIExportGraph(CFile& file, CStringArray& markers, int* options, int nOptions,
                                 double* values, int nValues)
{
    const CString start = ExportMarker(markers, 0);
    const CString end = ExportMarker(markers, 1);
    const CString label = markers.GetSize() > 2 ? markers[2] : CString();
    std::string out(start.str());
    if (!label.IsEmpty())
        out += AfxFormat("%s %s\r\n", static_cast<LPCTSTR>(label), static_cast<LPCTSTR>(m_strName));
    if (m_bPolar || m_vAxes.GetSize() > 0) {
        if (!start.IsEmpty())
            out += start.str()[0];
        out += "PARAMETERS\r\n";
        AppendAxesLine(out);
        out += end.str();
    }
    AppendNodeLines(out, options, nOptions, values, nValues);
    out += end.str();
    WriteExportText(file, out, options, nOptions);
}

int CSectArea::ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                              int nValues, CObList* list)
{
    CFile* file = set.m_pFile;
    if (!file)
        return 0;
    const ULONGLONG origin = file->GetPosition();
    // The first option is the reader's advance flag; the coordinate count
    // is the second, as in the export. The reader takes one node per line.
    const int advance = options && nOptions > 0 ? options[0] : 1;
    int coords = options && nOptions > 1 ? options[1] : 2;
    if (coords < 1 || coords > 3)
        coords = 2;
    int readerOptions[2] = {advance, 0};
    // A parameter block right after the start marker ends in the end marker
    // too: the nodes are then read from after that end marker.
    ASCII_SETTING nodes;
    nodes.m_Keys.Copy(set.m_Keys);
    nodes.m_pFile = file;
    nodes.m_bMerge = set.m_bMerge;
    if (HasParameterBlock(set, *file, advance != 0) && set.m_Keys.GetSize() > 1) {
        nodes.m_Keys[0] = set.m_Keys[1];
        readerOptions[0] = 1;
    } else {
        file->Seek(static_cast<LONGLONG>(origin), CFile::begin);
    }
    CGraph::ASCIIReadGraph(nodes, readerOptions, 2, values, nValues, list);
    const ULONGLONG blockEnd = file->GetPosition();

    if (GetCount() < 3) {
        ReleaseNodes();
        return 0;
    }

    file->Seek(static_cast<LONGLONG>(origin), CFile::begin);
    CString line(kAxesKey);
    if (SeekTo_ReplLineBefore(line, *file, blockEnd, nullptr, advance != 0)) {
        m_vAxes.Allocate(2, true, 0.0);
        m_bPolar = line.Find("POLAR") >= 0;
        int pos = line.Find("MATAXES") + 7;
        if (m_bPolar)
            pos = line.Find("POLAR") + 5;
        for (int i = 0; i < 2; ++i) {
            CString number;
            CVirtMat::ReadNumber(pos, line, number);
            if (number.IsEmpty())
                break;
            m_vAxes[i] = AfxAtoF(number);
        }
    }
    file->Seek(static_cast<LONGLONG>(advance != 0 ? blockEnd : origin), CFile::begin);

    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* n = GetNextNode(pos);
        if (coords < 2)
            n->y = 0.0;
        if (coords < 3)
            n->z = 0.0;
    }
    AfxNoteModelEdit();
    std::vector<CSNode*> ring;
    for (POSITION pos = GetHeadPosition(); pos;)
        ring.push_back(GetNextNode(pos));
    for (std::size_t i = 0; i < ring.size(); ++i) {
        CSNode* a = ring[i];
        CSNode* b = ring[(i + 1) % ring.size()];
        CEdge* edge = GetComEdge(a, b);
        if (!edge)
            edge = CreateEdge(a, b);
        CObList met;
        if (Intersection2D(edge, false, &met) != 0) {
            ReleaseNodes();
            return 0;
        }
    }
    return Validate() ? GetCount() : 0;
}
