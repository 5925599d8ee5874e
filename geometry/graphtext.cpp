// Text import and export of a graph's geometry and its DXF line entities.
#include <cmath>
#include <string>
#include <vector>

#include "geometry/graph.h"
#include "matrix/textblock.h"
#include "matrix/virtmat.h"

namespace {

struct ExchangeOptions {
    bool flag = true; // import: advance; export: overwrite
    int layout = 2;
    double scale[3] = {1.0, 1.0, 1.0};
    double offset[3] = {0.0, 0.0, 0.0};

    ExchangeOptions(const int* options, int nOptions, const double* values, int nValues)
    {
        if (options && nOptions > 0)
            flag = options[0] != 0;
        if (options && nOptions > 1)
            layout = options[1];
        for (int i = 0; values && i < 3; ++i) {
            if (i < nValues)
                scale[i] = values[i];
            if (i + 3 < nValues)
                offset[i] = values[i + 3];
        }
    }
};

CString Key(const CStringArray& keys, int i)
{
    return i < keys.GetSize() ? keys[i] : CString();
}

} // namespace

int CGraph::ASCIIReadGraph(ASCII_SETTING& set, int* options, int nOptions, double* values,
                           int nValues, CObList*)
{
    const ExchangeOptions opt(options, nOptions, values, nValues);
    CFile* file = set.m_pFile;
    if (!file)
        return 0;
    CString start = Key(set.m_Keys, 0);
    CString end = Key(set.m_Keys, 1);
    CString comment = Key(set.m_Keys, 2);
    start.MakeUpper();
    end.MakeUpper();
    comment.MakeUpper();
    CString mark = comment;
    if (!CVirtMat::SeekTo(start, *file, comment.IsEmpty() ? nullptr : &mark, opt.flag))
        return 0;

    const ULONGLONG origin = file->GetPosition();
    zelkor::KeywordBlockReader block(*file, start.str(), end.str(), comment.str());
    std::vector<CSNode*> created;
    unsigned long maxID = 0;
    auto makeNode = [&]() {
        CSNode* node = CreateNode(0.0, 0.0, 0.0);
        AddTail(node);
        node->AddGraph(this);
        created.push_back(node);
        return node;
    };
    const int perNode = opt.layout >= 1 && opt.layout <= 3 ? opt.layout : 3;
    const bool edges = opt.layout >= 1 && opt.layout <= 3;
    std::string text;
    std::vector<double> numbers;
    while (block.Next(text)) {
        numbers.clear();
        if (zelkor::AppendLineNumbers(std::move(text), numbers) == 0)
            continue;
        std::size_t k = 0;
        auto read = [&](CSNode* node, int n) {
            double* c = node->GetVertex();
            for (int i = 0; i < n && k < numbers.size(); ++i)
                c[i] = numbers[k++] + opt.offset[i];
        };
        if (edges) {
            CSNode* first = makeNode();
            read(first, perNode);
            if (k < numbers.size()) {
                CSNode* second = makeNode();
                read(second, perNode);
                // Made once both points are complete.
                CreateEdge(first, second);
            }
        } else {
            CSNode* node = makeNode();
            if (opt.layout == 4) {
                const double id = numbers[k++];
                if (CSNode::IsReadableID(id)) {
                    // The node hands back the identifier it drew.
                    --CSNode::lIDnode;
                    node->SetID(static_cast<unsigned long>(id));
                    if (node->GetID() > maxID)
                        maxID = node->GetID();
                }
            }
            read(node, 3);
        }
    }
    if (maxID)
        CSNode::KeepCounterAbove(maxID);

    // Scaled before the merge, so that coincidence is judged in the final
    // coordinates; nodes held before the import keep theirs.
    for (CSNode* node : created) {
        node->x *= opt.scale[0];
        node->y *= opt.scale[1];
        node->z *= opt.scale[2];
    }
    AfxNoteModelEdit();
    for (CSNode* node : created)
        node->Update(false, true);

    if (set.m_bMerge) {
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNodeAt(pos);
            for (;;) {
                POSITION after = pos;
                GetNext(after);
                if (!after)
                    break;
                CSNode* found = FindOverlap(node, after);
                if (!found)
                    break;
                if (found->GetGraphCount() > 1) {
                    // Shared with other graphs: they take the surviving node
                    // too instead of losing this one.
                    SwitchNode(found, node);
                    delete found;
                } else {
                    ReplaceNode(found, node, true);
                }
            }
            GetNext(pos);
        }
    }
    RemoveDoubleEdges();

    ULONGLONG target = origin;
    if (opt.flag) {
        const ULONGLONG length = file->GetLength();
        target = origin + block.Consumed();
        if (target > length)
            target = length;
    }
    file->Seek(static_cast<LONGLONG>(target), CFile::begin);
    return GetCount();
}

void CGraph::ASCIIExportGraph(CFile& file, CStringArray& keys, int* options, int nOptions,
                              double* values, int nValues)
{
    const ExchangeOptions opt(options, nOptions, values, nValues);
    CString head = Key(keys, 0);
    CString tail = Key(keys, 1);
    const CString nameKey = Key(keys, 2);
    auto coord = [&opt](const CSNode* node, int i) {
        const double v = i == 0 ? node->x : i == 1 ? node->y : node->z;
        return opt.scale[i] * v + opt.offset[i];
    };
    auto point = [&](const CSNode* node, int n, bool last) {
        std::string s;
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                s += "   ";
            s += AfxFormat("%15.4e", coord(node, i));
        }
        if (last)
            s += "\r\n";
        return s;
    };
    try {
        if (!opt.flag)
            file.SeekToEnd();
        CArchive ar(&file, CArchive::store, 4096);
        if (!head.IsEmpty()) {
            if (head.Find("\r\n") < 0)
                head += "\r\n";
            ar.WriteString(head);
        }
        if (!nameKey.IsEmpty())
            ar.WriteString(AfxFormat("%s %s\r\n", static_cast<LPCTSTR>(nameKey),
                                     static_cast<LPCTSTR>(m_strName))
                               .c_str());
        for (POSITION pos = GetHeadPosition(); pos;) {
            CSNode* node = GetNextPrGrNode(pos);
            if (!node)
                break;
            if (opt.layout >= 1 && opt.layout <= 3) {
                CObList* edges = node->GetEdgeList();
                if (!edges)
                    continue;
                for (POSITION ep = edges->GetHeadPosition(); ep;) {
                    CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
                    if (edge->GetNode2() == node)
                        continue;
                    const std::string line =
                        point(node, opt.layout, false) + point(edge->GetNode2(), opt.layout, true);
                    ar.WriteString(line.c_str());
                }
            } else if (opt.layout == 4) {
                ar.WriteString(AfxFormat("%9u   %15.8g   %15.8g   %15.8g\r\n",
                                         static_cast<unsigned>(node->GetID()), coord(node, 0),
                                         coord(node, 1), coord(node, 2))
                                   .c_str());
            } else {
                ar.WriteString(point(node, 3, true).c_str());
            }
        }
        if (!tail.IsEmpty()) {
            if (tail.Find("\r\n") < 0)
                tail += "\r\n";
            ar.WriteString(tail);
        }
        ar.Close();
    } catch (CException&) {
        // What was written before the failure stays in the file.
    }
}

void CGraph::DrawDXF(CFile* file)
{
    if (!file)
        return;
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSNode* node = GetNextNode(pos);
        CObList* edges = node->GetEdgeList();
        if (!edges)
            continue;
        for (POSITION ep = edges->GetHeadPosition(); ep;) {
            CEdge* edge = static_cast<CEdge*>(edges->GetNext(ep));
            CSNode* second = edge->GetNode2();
            if (second != node && Find(second))
                edge->DrawDFX(m_strName, file);
        }
    }
}
