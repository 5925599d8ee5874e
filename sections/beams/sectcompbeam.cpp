#include "sections/beams/sectcompbeam.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "matrix/textblock.h"

IMPLEMENT_SERIAL(CSectCompBeam, CSectComp, VERSIONABLE_SCHEMA | 1)

namespace
{

// A number of the text as an integer: truncated, false when it is not
// finite or lies beyond the range.
bool ToInteger(double v, long long& out)
{
    if (!std::isfinite(v) || v < -9.0e15 || v > 9.0e15)
        return false;
    out = static_cast<long long>(v);
    return true;
}

// The nodes of the component by identifier, as GetObjectA(id, false)
// answers: sections in order, a section's own identifier before its nodes,
// nodes in list order, the first one winning; identifiers of the edge range
// never name a node.
class NodeIndex
{
public:
    explicit NodeIndex(CSectComp& comp)
    {
        for (POSITION pos = comp.GetHeadPosition(); pos;) {
            auto* graph = dynamic_cast<CGraph*>(comp.CObList::GetNext(pos));
            if (!graph)
                continue;
            m_map.emplace(graph->GetID(), nullptr);
            for (POSITION n = graph->GetHeadPosition(); n;) {
                CSNode* node = graph->GetNextNode(n);
                const unsigned long id = node->GetID();
                if (id != 0 && !(id > 100000000ul && id <= 4000000000ul))
                    m_map.emplace(id, node);
            }
        }
    }
    // Null when the number names no node.
    CSNode* Find(double number) const
    {
        long long id = 0;
        if (!ToInteger(number, id) || id <= 0 || id > 0xFFFFFFFFll)
            return nullptr;
        const auto it = m_map.find(static_cast<unsigned long>(id));
        return it == m_map.end() ? nullptr : it->second;
    }

private:
    std::unordered_map<unsigned long, CSNode*> m_map;
};

CString Key(const CStringArray& keys, int i)
{
    CString key = i < keys.GetSize() ? keys[i] : CString();
    key.MakeUpper();
    return key;
}

} // namespace

CSectCompBeam::CSectCompBeam()
{
    SetResCount(12);
    m_Settings.Allocate(2, 1, true, 1);
    m_Settings[1][0] = 0;
}

CSectCompBeam::~CSectCompBeam() = default;

void CSectCompBeam::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CObList::Serialize(ar);
    } else {
        // The beam owns its sections: each a new one, read here.
        CObject::Serialize(ar);
        ar.ReadListEntries(*this, [](CArchive& a) -> CObject* {
            return a.ReadObjectAs<CSection>(RUNTIME_CLASS(CSection), CArchive::useOwned);
        });
    }
    m_Settings.Serialize(ar);
}

void CSectCompBeam::RemoveNode(CSNode* node)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        if (CSection* s = GetNext(pos))
            s->RemoveNode(node);
}

void CSectCompBeam::RefineUniform(int n, unsigned elementClass)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        if (CSection* s = GetNext(pos))
            s->RefineUniform(n, elementClass);
}

void CSectCompBeam::DM_SetNodeValues(CMatrix& values, int& row)
{
    for (POSITION pos = GetHeadPosition(); pos;)
        if (auto* s = dynamic_cast<CSectBeam*>(GetNext(pos)))
            s->DM_SetNodeValues(values, row);
}

void CSectCompBeam::Copy(CSectComp*&, bool) {}
void CSectCompBeam::PickDrawResGL(int, bool) {}
bool CSectCompBeam::PreCalc(CStringArray*, CStringArray*, int) { return false; }
bool CSectCompBeam::Calculate(CStringArray*, CStringArray*) { return false; }
void CSectCompBeam::ResetParam() {}

CObject* CSectCompBeam::Discretize()
{
    DM_Clean();
    CObject* bad = CSectComp::Discretize();
    for (POSITION pos = GetHeadPosition(); pos;) {
        CSection* s = GetNext(pos);
        auto* beams = dynamic_cast<CSectBeam*>(s);
        if (beams && !bad)
            beams->FixJoints();
        // The analysis copies were kept linked for the joints.
        if (s)
            s->ReleaseCopyNodes(true);
    }
    return bad;
}

void CSectCompBeam::GenGeomData(CLongMatrix& connectivity, CMatrix&)
{
    GetMMNPC(connectivity);
}

// ------------------------------------------------------------ text import

bool CSectCompBeam::ReadBlock(CFile& file, CStringArray& keys,
                              const std::function<void(const std::vector<double>&)>& line)
{
    const CString start = Key(keys, 0);
    const CString end = Key(keys, 1);
    CString comment = Key(keys, 2);
    if (!CVirtMat::SeekTo(start, file, comment.IsEmpty() ? nullptr : &comment, true))
        return false;
    const ULONGLONG origin = file.GetPosition();
    zelkor::KeywordBlockReader block(file, start.str(), end.str(), comment.str(),
                                     zelkor::KeywordBlockReader::kNestByFirstChar);
    std::string text;
    std::vector<double> numbers;
    try {
        while (block.Next(text)) {
            numbers.clear();
            zelkor::AppendLineNumbers(std::move(text), numbers);
            line(numbers);
        }
    } catch (CException&) {
        // A read error ends the block.
    }
    // The next block is searched right after the last line read.
    try {
        const ULONGLONG length = file.GetLength();
        const ULONGLONG at = std::min<ULONGLONG>(origin + block.Consumed(), length);
        file.Seek(static_cast<LONGLONG>(at), CFile::begin);
    } catch (CException&) {
    }
    return true;
}

int CSectCompBeam::ASCIIReadBeams(CFile& file, CStringArray& keys, CObList* sections,
                                  const CBeamClassList* classes)
{
    m_strReadWarning.Empty();
    // The lines are checked and kept first, so that a file of too many
    // members makes none: a member is far larger than its line.
    struct Line {
        long long code;
        CSNode* nodes[3];
        CCrSectComp* crSect;
        bool hasCount; // a whole number after the nodes
        bool hasI3;    // and three finite numbers after it
        long long count;
        double i3[3];
    };
    std::vector<Line> lines;
    bool tooMany = false;
    std::unique_ptr<NodeIndex> nodes;
    std::vector<CObject*> sectionAt;
    if (sections)
        for (POSITION pos = sections->GetHeadPosition(); pos;)
            sectionAt.push_back(sections->GetNext(pos));
    ReadBlock(file, keys, [&](const std::vector<double>& v) {
        if (tooMany)
            return; // the rest of the block is only passed over
        if (!nodes)
            nodes = std::make_unique<NodeIndex>(*this);
        long long code = 0;
        if (v.size() < 4 || !ToInteger(v[0], code) || code < 1)
            return;
        const bool arch = code > 10;
        if (arch && v.size() < 5)
            return;
        CSNode* node1 = nodes->Find(v[2]);
        CSNode* node2 = nodes->Find(v[3]);
        CSNode* node3 = arch ? nodes->Find(v[4]) : nullptr;
        // A member from a node to itself is no edge of the graph.
        if (!node1 || !node2 || node1 == node2 || (arch && !node3))
            return;
        if (lines.size() >= static_cast<std::size_t>(kMaxFileMembers)) {
            tooMany = true;
            lines.clear();
            lines.shrink_to_fit();
            return;
        }
        long long k = 0;
        CCrSectComp* crSect = nullptr;
        if (ToInteger(v[1], k) && k >= 1 && k <= static_cast<long long>(sectionAt.size()))
            crSect = dynamic_cast<CCrSectComp*>(sectionAt[static_cast<std::size_t>(k - 1)]);
        Line line{code, {node1, node2, node3}, crSect, false, false, 0, {}};
        const std::size_t lead = arch ? 5 : 4;
        line.hasCount = v.size() > lead && ToInteger(v[lead], line.count);
        line.hasI3 = v.size() >= lead + 4 && std::isfinite(v[lead + 1]) &&
                     std::isfinite(v[lead + 2]) && std::isfinite(v[lead + 3]);
        if (line.hasI3)
            std::copy(v.begin() + static_cast<std::ptrdiff_t>(lead) + 1,
                      v.begin() + static_cast<std::ptrdiff_t>(lead) + 4, line.i3);
        lines.push_back(line);
    });
    if (tooMany) {
        m_strReadWarning.Format("The beam text holds more than %d members; no member was read.",
                                kMaxFileMembers);
        return 0;
    }

    int refused = 0;      // counts above the bound of one member
    int refusedTotal = 0; // counts that would take the file's sum above the bound
    long long total = 0;  // the element counts the file has set so far
    // The members join their nodes together at the end of the batch.
    CEdgeAttachBatch batch;
    for (const Line& line : lines) {
        const bool arch = line.code > 10;
        long long classIndex = line.code - 1;
        CBeamSeg* member = nullptr;
        if (arch) {
            auto* a = new CBeamArch(line.nodes[0], line.nodes[1], line.nodes[2], line.crSect);
            classIndex = line.code - 11;
            if (line.code - 10 > 10) {
                a->SetArchType(CBeamArch::kCircular);
                classIndex = line.code - 21;
            }
            member = a;
        } else {
            member = new CBeamSeg(line.nodes[0], line.nodes[1], line.crSect);
        }
        const bool known =
            classes && classIndex >= 0 && classIndex < static_cast<long long>(classes->size());
        member->SetElemClass(known ? (*classes)[static_cast<std::size_t>(classIndex)] : nullptr);
        const long long count = line.count;
        if (!line.hasCount || (arch && count < 1))
            continue;
        // A count beyond what the program meshes would not fit in memory,
        // nor would many members of such counts together.
        if (std::llabs(count) > CBeamSeg::kMaxElemCount) {
            ++refused;
        } else if (total + std::llabs(count) > CBeamSeg::kMaxElemCount) {
            ++refusedTotal;
        } else {
            total += std::llabs(count);
            member->SetElemCount(static_cast<int>(std::llabs(count)));
        }
        if (line.hasI3) {
            member->SetI3(line.i3[0], line.i3[1], line.i3[2]);
            member->AutoUpdate_i3();
        }
    }
    if (refused > 0)
        m_strReadWarning.Format("%d element count(s) above %d were refused; those members keep "
                                "%d elements.",
                                refused, CBeamSeg::kMaxElemCount, CBeamSeg::m_nDefElem);
    if (refusedTotal > 0) {
        CString sentence;
        sentence.Format("%d element count(s) were refused because the members of one file hold at most "
                        "%d elements together; those members keep %d elements.",
                        refusedTotal, CBeamSeg::kMaxElemCount, CBeamSeg::m_nDefElem);
        m_strReadWarning += (m_strReadWarning.IsEmpty() ? "" : " ") + sentence;
    }
    return static_cast<int>(lines.size());
}

void CSectCompBeam::ASCIIReadSupDOFs(CFile& file, CStringArray& keys)
{
    std::unique_ptr<NodeIndex> nodes;
    ReadBlock(file, keys, [&](const std::vector<double>& v) {
        if (!nodes)
            nodes = std::make_unique<NodeIndex>(*this);
        if (v.size() < 2)
            return;
        auto* node = dynamic_cast<CBoundNode*>(nodes->Find(v[0]));
        if (!node)
            return;
        const int n = static_cast<int>(v.size()) - 1;
        CVector dofs(2 * n);
        for (int i = 0; i < n; ++i) {
            // A DOF number must fit the solver's integers; others are kept as 0,
            // which names no DOF.
            long long dof = 0;
            const bool fits = ToInteger(v[i + 1], dof) && dof >= INT_MIN && dof <= INT_MAX;
            dofs[i] = fits ? static_cast<double>(dof) : 0.0;
        }
        CBoundCond3D bc;
        bc.SetType(0x10);
        bc.SetBC(dofs);
        node->SetBC(bc, 0);
    });
}

void CSectCompBeam::ASCIIReadPrescDOFs(CFile& file, CStringArray& keys)
{
    std::unique_ptr<NodeIndex> nodes;
    ReadBlock(file, keys, [&](const std::vector<double>& v) {
        if (!nodes)
            nodes = std::make_unique<NodeIndex>(*this);
        if (v.empty())
            return;
        auto* node = dynamic_cast<CBoundNode*>(nodes->Find(v[0]));
        if (!node)
            return;
        for (std::size_t i = 1; i + 1 < v.size(); i += 2) {
            long long dof = 0;
            if (!ToInteger(v[i], dof) || dof < INT_MIN || dof > INT_MAX)
                return;
            CBoundCond* bc = node->GetBC(0);
            if (!bc) {
                auto* made = new CBoundCond3D;
                made->SetType(0x10);
                node->SetBC(made, 0);
                bc = made;
            }
            bc->SetBC(static_cast<int>(dof), v[i + 1]);
        }
    });
}
