// Beam sections and the beam component: member walk, text blocks written
// and read back, joints tied after discretisation, archive forms.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <memory>
#include <string>
#include <vector>

#include "sections/kantaro.h"
#include "tests/support/gl_context.h"
#include "tests/support/gl_recorder.h"
#include "tests/support/temp_files.h"

namespace
{

using brantel::test::TempFile;

// A beam component with one beam section; nodes are made with given
// identifiers.
struct Frame {
    std::unique_ptr<CSectCompBeam> comp = std::make_unique<CSectCompBeam>();
    CSectBeam* section = new CSectBeam;
    std::map<unsigned long, CSNode*> nodes;

    Frame() { comp->AddTail(section); }

    CSNode* Node(unsigned long id, double x, double y, double z, bool joint = false)
    {
        CSNode* n = joint ? new CJointNode(x, y, z, nullptr, 0) : new CBoundNode(x, y, z, nullptr, 0);
        n->SetID(id);
        section->AddTail(n);
        n->AddGraph(section);
        nodes[id] = n;
        return n;
    }
    CBoundNode* Bound(unsigned long id) { return static_cast<CBoundNode*>(nodes.at(id)); }
};

CStringArray Keys(std::vector<const char*> keys)
{
    CStringArray a;
    for (const char* k : keys)
        a.Add(k);
    return a;
}

// What an export writes into an empty file.
template <class F>
std::string Written(F write)
{
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        write(f);
    }
    return tmp.readBytes<std::string>();
}

std::vector<CBeamSeg*> Members(CSectBeam& s)
{
    std::vector<CBeamSeg*> out;
    s.ForMembers([&](CBeamSeg* m) { out.push_back(m); });
    return out;
}

TEST(SectBeam, BeamLinesAreWrittenByteExact)
{
    Frame f;
    CObList sections;
    CCrSectRect rect(100, 50);
    CCrSectRect other(10, 10); // not in the list
    sections.AddTail(static_cast<CObject*>(&rect));
    CRuntimeClass* bar = RUNTIME_CLASS(CBarElm);
    CRuntimeClass* quad = RUNTIME_CLASS(CQuadElem);
    const CBeamClassList classes = {quad, bar};

    // Nodes in list order first: the member walk follows it.
    for (auto [id, z] : std::vector<std::pair<unsigned long, double>>{{1, 0}, {2, 5}, {3, 9}})
        f.Node(id, 0, 0, z);
    f.Node(5, 0, 0, 0);
    f.Node(7, 10, 0, 0);
    f.Node(9, 5, 0, 2);
    f.Node(11, 20, 0, 0);
    auto* plain = new CBeamSeg(f.nodes[1], f.nodes[2], nullptr);
    plain->SetI3(0, 0, 1);
    plain->SetElemClass(nullptr);
    auto* general = new CBeamSeg(f.nodes[2], f.nodes[3], &rect);
    general->SetI3(0.6, 0.8, 0.0);
    general->SetElemClass(quad);
    auto* arch = new CBeamArch(f.nodes[5], f.nodes[7], f.nodes[9], &rect);
    arch->SetI3(0, 0, 1);
    arch->SetElemClass(bar);
    arch->SetElemCount(4);
    // Unlisted class and cross-section: written as the first class and 0.
    auto* stray = new CBeamArch(f.nodes[7], f.nodes[11], f.nodes[9], &other);
    stray->SetArchType(CBeamArch::kCircular);
    stray->SetElemClass(RUNTIME_CLASS(CElement));
    stray->SetI3(0, 1, 0);
    stray->SetElemCount(2);
    plain->SetElemCount(10);
    general->SetElemCount(10);

    CStringArray keys = Keys({"beams", "end beams"});
    int count = 0;
    const std::string text =
        Written([&](CFile& file) { count = f.section->ASCIIExportBeams(file, keys, &sections, &classes); });
    EXPECT_EQ(count, 4);
    EXPECT_EQ(text, "BEAMS\r\n"
                    "  1   0    1    2   10  I3\r\n"
                    "  1   1    2    3   10   0.6   0.8     0\r\n"
                    " 12   1    5    7    9    4   I3\r\n"
                    " 21   0    7   11    9    2   I2\r\n"
                    "END BEAMS");
}

TEST(SectBeam, ConditionAndLoadBlocksAreWrittenByteExact)
{
    Frame f;
    CBoundNode* n7 = static_cast<CBoundNode*>(f.Node(7, 0, 0, 0));
    CBoundNode* n8 = static_cast<CBoundNode*>(f.Node(8, 1, 0, 0));
    CBoundNode* n9 = static_cast<CBoundNode*>(f.Node(9, 2, 0, 0));
    f.Node(10, 3, 0, 0); // no condition: no line
    n7->SetStandBC(0x2, 0);
    // Listed DOFs: 0 supports, other values prescribed; DOF 7 and a spring
    // stiffness are no support.
    auto* listed = new CBoundCond3D;
    listed->SetType(0x10 | 0x8);
    for (auto [dof, value] : std::vector<std::pair<int, double>>{{1, 0.0}, {3, 2.5}, {7, 4.0}, {-2, 100.0}, {5, 0.0}})
        listed->SetBC(dof, value);
    n8->SetBC(listed, 0);
    auto* couple = new CBoundCond3D;
    n9->SetBC(couple, 0);
    for (auto [dof, other, factor] : std::vector<std::tuple<DWORD, DWORD, double>>{{2, 2, 1.0}, {1, 3, -0.5}, {4, 0, 2.0}}) {
        auto* c = new CLinCpl;
        c->m_pNode1 = n9;
        c->m_pNode2 = n7;
        c->m_uiDof1 = dof;
        c->m_uiDof2 = other;
        c->m_dFactor = factor;
        couple->AddCoupling(c);
        n7->AddCoupling(c); // the coupled node knows it too (not written there)
    }
    auto* c8 = new CLinCpl;
    c8->m_pNode1 = n9;
    c8->m_pNode2 = n8;
    c8->m_uiDof1 = 6;
    c8->m_uiDof2 = 6;
    c8->m_dFactor = 1.0;
    couple->AddCoupling(c8);
    n8->AddCoupling(c8);
    auto* load = new CNodeLoad3D;
    load->Allocate(4, true, 0.0);
    (*load)[0] = 1;
    (*load)[1] = 3;
    (*load)[2] = -1500;
    (*load)[3] = 0.25;
    load->m_uiWord = 2;
    n7->SetNodeLoad(load);
    auto* second = new CNodeLoad3D;
    second->Allocate(2, true, 0.0);
    (*second)[0] = 2;
    (*second)[1] = 7;
    load->m_pNext = second;

    CStringArray keys = Keys({"SUP", "END\r\n", ""});
    EXPECT_EQ(Written([&](CFile& file) { f.section->ASCIIExportSupDOFs(file, keys, 0); }),
              "SUP\r\n7 1 2 3\r\n8 1 5 4 5 6\r\nEND\r\n");
    CStringArray named = Keys({"PRESC\r\n", "END", "NAME"});
    f.section->SetName("frame");
    EXPECT_EQ(Written([&](CFile& file) { f.section->ASCIIExportPrescDOFs(file, named, 0); }),
              "PRESC\r\nNAME frame\r\n8 3 2.5 -2 100\r\nEND\r\n");
    CStringArray cpl = Keys({"CPL", "END"});
    EXPECT_EQ(Written([&](CFile& file) { f.section->ASCIIExportLinCoupl(file, cpl, 0); }),
              "CPL\r\n9 7  -0.5 1 3  1 2 2\r\n9 8  1 6 6\r\nEND\r\n");
    CStringArray loads = Keys({"LOADS"});
    EXPECT_EQ(Written([&](CFile& file) { f.section->ASCIIExportNodeLoads(file, loads); }),
              "LOADS\r\n7 2  1 -1500  3 0.25\r\n7 1  2 7\r\n");
}

// The file's bytes; "\n" becomes "\r\n" when crlf.
std::string Lines(const std::string& text, bool crlf)
{
    std::string out;
    for (char c : text) {
        if (c == '\n' && crlf)
            out += '\r';
        out += c;
    }
    return out;
}

// Element counts are taken up to the largest count the program meshes; a
// larger one is refused (the member keeps its default) and reported.
TEST(SectCompBeam, ElementCountsBeyondTheBoundAreRefusedAndReported)
{
    const struct {
        const char* count;
        int expected;
        bool refused;
    } cases[] = {
        {"1000000", 1000000, false},  {"-1000000", 1000000, false},
        {"1000001", CBeamSeg::m_nDefElem, true}, {"-2147483647", CBeamSeg::m_nDefElem, true},
        {"1e15", CBeamSeg::m_nDefElem, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Frame f;
        for (unsigned long id : {1, 2})
            f.Node(id, double(id), 0.0, 0.0);
        CObList sections;
        const CBeamClassList classes = {RUNTIME_CLASS(CBarElm)};
        TempFile tmp;
        const std::string text = std::string("beams\n1 0 1 2 ") + c.count + " 0 0 1\nend\n";
        tmp.writeBytes(text.data(), text.size());
        CFile file(tmp.path(), CFile::modeRead);
        CStringArray beams = Keys({"BEAMS", "END"});
        EXPECT_EQ(f.comp->ASCIIReadBeams(file, beams, &sections, &classes), 1);
        std::vector<CBeamSeg*> made = Members(*f.section);
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0]->GetElemCount(), c.expected);
        EXPECT_EQ(f.comp->m_strReadWarning.IsEmpty(), !c.refused) << f.comp->m_strReadWarning;
        if (c.refused) {
            EXPECT_NE(std::string(f.comp->m_strReadWarning).find("above 1000000"),
                      std::string::npos);
        }
    }
}

// The counts of one file are bounded together as well: six members asking
// for 1,000,000 elements each (a file of about a hundred bytes) get the
// first count; the others are refused and reported, and keep the default.
TEST(SectCompBeam, ManyLargeMembersInOneFileAreRefusedBeyondTheFilesBound)
{
    Frame f;
    for (unsigned long id = 1; id <= 7; ++id)
        f.Node(id, double(id), 0.0, 0.0);
    CObList sections;
    const CBeamClassList classes = {RUNTIME_CLASS(CBarElm)};
    TempFile tmp;
    std::string text = "beams\n";
    for (int i = 1; i <= 6; ++i)
        text += "1 0 " + std::to_string(i) + " " + std::to_string(i + 1) + " 1000000\n";
    text += "end\n";
    tmp.writeBytes(text.data(), text.size());
    CFile file(tmp.path(), CFile::modeRead);
    CStringArray beams = Keys({"BEAMS", "END"});
    EXPECT_EQ(f.comp->ASCIIReadBeams(file, beams, &sections, &classes), 6);
    std::vector<CBeamSeg*> made = Members(*f.section);
    ASSERT_EQ(made.size(), 6u);
    long long total = 0;
    for (const CBeamSeg* m : made)
        total += m->GetElemCount();
    EXPECT_EQ(total, 1000000 + 5 * CBeamSeg::m_nDefElem);
    EXPECT_EQ(std::string(f.comp->m_strReadWarning),
              "5 element count(s) were refused because the members of one file hold at most 1000000 elements "
              "together; those members keep " + std::to_string(CBeamSeg::m_nDefElem) + " elements.");
}

// A text of more members than one file may hold (8 MB of short lines)
// makes none and says why; the block is still passed over, so that the
// next one is read.
TEST(SectCompBeam, TooManyMembersInOneFileAreRefused)
{
    Frame f;
    for (unsigned long id : {1, 2})
        f.Node(id, double(id), 0.0, 0.0);
    CObList sections;
    const CBeamClassList classes = {RUNTIME_CLASS(CBarElm)};
    TempFile tmp;
    std::string text = "beams\n";
    text.reserve(8 * (CSectCompBeam::kMaxFileMembers + 1) + 64);
    for (int i = 0; i <= CSectCompBeam::kMaxFileMembers; ++i)
        text += "1 0 1 2\n";
    text += "end\nsupport\n2 1 2\nend\n";
    tmp.writeBytes(text.data(), text.size());
    CFile file(tmp.path(), CFile::modeRead);
    CStringArray beams = Keys({"BEAMS", "END"});
    EXPECT_EQ(f.comp->ASCIIReadBeams(file, beams, &sections, &classes), 0);
    EXPECT_TRUE(Members(*f.section).empty());
    EXPECT_EQ(f.nodes[1]->GetEdgeList(), nullptr);
    EXPECT_EQ(std::string(f.comp->m_strReadWarning),
              "The beam text holds more than 1000000 members; no member was read.");
    CStringArray sup = Keys({"SUPPORT", "END"});
    f.comp->ASCIIReadSupDOFs(file, sup);
    EXPECT_NE(f.Bound(2)->GetBC(0), nullptr);
}

TEST(SectCompBeam, ReadsBeamAndConditionBlocksInTurn)
{
    for (bool crlf : {true, false}) {
        SCOPED_TRACE(crlf ? "CR LF" : "LF");
        Frame f;
        for (unsigned long id : {1, 2, 5, 7, 9})
            f.Node(id, double(id), id % 2 ? 0.0 : 1.0, 0.0);
        CCrSectRect a(10, 10), b(20, 20);
        CObList sections;
        sections.AddTail(static_cast<CObject*>(&a));
        sections.AddTail(static_cast<CObject*>(&b));
        const CBeamClassList classes = {RUNTIME_CLASS(CQuadElem), RUNTIME_CLASS(CBarElm)};
        TempFile tmp;
        const std::string text = Lines("header\n"
                                       "beams ! the members\n"
                                       " 12   1    5    7    9    4   I3\n"
                                       "  1   2    1    2   -6  0.6 0.8\n"   // incomplete i3
                                       "  2   9    1    5    3  0 1 0\n"     // section beyond the list
                                       " 22   0    2    1    9    0\n"       // count below 1 kept
                                       " 31   1    2    5    9    3\n"       // class beyond the vector
                                       "  1   1    1   99    3\n"            // missing node: skipped
                                       "  1   1    1\n"                      // too short: skipped
                                       "  1   1    7    7    3\n"            // one node at both ends
                                       "BX nested\n  1 1 1 2 3\nend\n"
                                       "\n"
                                       "end beams\n"
                                       "support\n"
                                       "5\n"
                                       "7 1 2 3 ! comment 4\n"
                                       "end\n"
                                       "prescribed\n"
                                       "9 3 0.5 2\n"
                                       "end\n",
                                       crlf);
        tmp.writeBytes(text.data(), text.size());
        CFile file(tmp.path(), CFile::modeRead);
        CStringArray beams = Keys({"Beams", "End", "!"});
        EXPECT_EQ(f.comp->ASCIIReadBeams(file, beams, &sections, &classes), 5);
        CStringArray sup = Keys({"SUPPORT", "END", "!"});
        f.comp->ASCIIReadSupDOFs(file, sup);
        CStringArray presc = Keys({"PRESCRIBED", "END"});
        f.comp->ASCIIReadPrescDOFs(file, presc);

        std::vector<CBeamSeg*> made = Members(*f.section);
        ASSERT_EQ(made.size(), 5u);
        std::map<std::pair<unsigned long, unsigned long>, CBeamSeg*> byNodes;
        for (CBeamSeg* m : made)
            byNodes[{m->GetNode1()->GetID(), m->GetNode2()->GetID()}] = m;
        auto* arch = dynamic_cast<CBeamArch*>(byNodes.at({5, 7}));
        ASSERT_NE(arch, nullptr);
        EXPECT_EQ(arch->GetArchType(), 0);
        EXPECT_EQ(arch->GetThirdNode(), f.nodes[9]);
        EXPECT_EQ(arch->GetElemClass(), RUNTIME_CLASS(CBarElm));
        EXPECT_EQ(arch->GetCrSect(), &a);
        EXPECT_EQ(arch->GetElemCount(), 4);
        double x, y, z;
        arch->GetI3(x, y, z);
        EXPECT_EQ(std::vector<double>({x, y, z}), std::vector<double>({0, 0, 1}));

        CBeamSeg* straight = byNodes.at({1, 2});
        EXPECT_EQ(dynamic_cast<CBeamArch*>(straight), nullptr);
        EXPECT_EQ(straight->GetElemCount(), 6);
        EXPECT_EQ(straight->GetCrSect(), &b);
        EXPECT_EQ(straight->GetElemClass(), RUNTIME_CLASS(CQuadElem));
        // An incomplete i3 keeps the default, a complete one is set.
        straight->GetI3(x, y, z);
        EXPECT_EQ(std::vector<double>({x, y, z}), std::vector<double>({0, 0, 1}));
        CBeamSeg* beyond = byNodes.at({1, 5});
        EXPECT_EQ(beyond->GetCrSect(), nullptr);
        EXPECT_EQ(beyond->GetElemClass(), RUNTIME_CLASS(CBarElm));
        EXPECT_EQ(beyond->GetElemCount(), 3);
        beyond->GetI3(x, y, z);
        EXPECT_EQ(std::vector<double>({x, y, z}), std::vector<double>({0, 1, 0}));
        auto* kept = dynamic_cast<CBeamArch*>(byNodes.at({2, 1}));
        ASSERT_NE(kept, nullptr);
        EXPECT_EQ(kept->GetArchType(), CBeamArch::kCircular);
        EXPECT_EQ(kept->GetElemClass(), RUNTIME_CLASS(CBarElm));
        EXPECT_EQ(kept->GetElemCount(), CBeamSeg::m_nDefElem);
        auto* unlisted = dynamic_cast<CBeamArch*>(byNodes.at({2, 5}));
        ASSERT_NE(unlisted, nullptr);
        EXPECT_EQ(unlisted->GetArchType(), CBeamArch::kCircular);
        EXPECT_EQ(unlisted->GetElemClass(), nullptr);
        EXPECT_EQ(unlisted->GetCrSect(), &a);
        EXPECT_EQ(unlisted->GetElemCount(), 3);

        EXPECT_EQ(f.Bound(5)->GetBC(0), nullptr);
        CBoundCond* sup7 = f.Bound(7)->GetBC(0);
        ASSERT_NE(sup7, nullptr);
        EXPECT_EQ(sup7->GetBCType(), 0x10u);
        for (int d = 1; d <= 3; ++d)
            EXPECT_TRUE(sup7->IsSup(d)) << d;
        EXPECT_FALSE(sup7->IsSup(4));
        CBoundCond* p9 = f.Bound(9)->GetBC(0);
        ASSERT_NE(p9, nullptr);
        EXPECT_EQ(p9->GetBCType(), 0x10u);
        EXPECT_TRUE(p9->IsPrescribed(3));
        EXPECT_EQ(p9->GetDOFVector()->GetSize(), 2);
        EXPECT_EQ((*p9->GetDOFVector())[1], 0.5);
    }
}

TEST(SectCompBeam, FrameRoundTripsThroughText)
{
    Frame f;
    CCrSectRect a(10, 10), b(20, 20);
    CObList sections;
    sections.AddTail(static_cast<CObject*>(&a));
    sections.AddTail(static_cast<CObject*>(&b));
    const CBeamClassList classes = {RUNTIME_CLASS(CBarElm), RUNTIME_CLASS(CQuadElem)};
    for (unsigned long id = 1; id <= 6; ++id)
        f.Node(id, double(id), double(id * id % 5), double(id % 3));
    struct MemberDef {
        unsigned long n1, n2, n3;
        int type;
        CRuntimeClass* cls;
        CCrSectComp* cs;
        int count;
    } defs[] = {
        {1, 2, 0, 0, RUNTIME_CLASS(CQuadElem), &a, 3},
        {2, 3, 0, 0, nullptr, &b, 7},
        {3, 4, 6, 0, RUNTIME_CLASS(CQuadElem), &b, 5},
        {4, 5, 6, 1, RUNTIME_CLASS(CBarElm), nullptr, 2},
        {5, 6, 1, 1, nullptr, &a, 8},
    };
    for (const MemberDef& s : defs) {
        CBeamSeg* m = s.n3 ? new CBeamArch(f.nodes[s.n1], f.nodes[s.n2], f.nodes[s.n3], s.cs)
                           : new CBeamSeg(f.nodes[s.n1], f.nodes[s.n2], s.cs);
        if (s.n3)
            static_cast<CBeamArch*>(m)->SetArchType(s.type);
        m->SetElemClass(s.cls);
        m->SetElemCount(s.count);
    }
    CStringArray keys = Keys({"BEAMS", "END\r\n"});
    const std::string text =
        Written([&](CFile& file) { f.section->ASCIIExportBeams(file, keys, &sections, &classes); });

    Frame g;
    for (unsigned long id = 1; id <= 6; ++id)
        g.Node(id, double(id), double(id * id % 5), double(id % 3));
    TempFile tmp;
    tmp.writeBytes(text.data(), text.size());
    CFile file(tmp.path(), CFile::modeRead);
    EXPECT_EQ(g.comp->ASCIIReadBeams(file, keys, &sections, &classes), 5);
    auto key = [](CBeamSeg* m) {
        auto* arch = dynamic_cast<CBeamArch*>(m);
        double x, y, z;
        m->GetI3(x, y, z);
        return AfxFormat("%lu %lu %lu %d %p %p %d %.3f %.3f %.3f",
                         static_cast<unsigned long>(m->GetNode1()->GetID()),
                         static_cast<unsigned long>(m->GetNode2()->GetID()),
                         arch ? static_cast<unsigned long>(arch->GetThirdNode()->GetID()) : 0ul,
                         arch ? arch->GetArchType() : -1,
                         static_cast<void*>(m->GetElemClass() ? m->GetElemClass() : RUNTIME_CLASS(CBarElm)),
                         static_cast<void*>(m->GetCrSect()), m->GetElemCount(), x, y, z);
    };
    std::vector<std::string> before, after;
    for (CBeamSeg* m : Members(*f.section))
        before.push_back(key(m));
    for (CBeamSeg* m : Members(*g.section))
        after.push_back(key(m));
    EXPECT_EQ(after, before);
}

TEST(SectBeam, JointTiesMembersByTheirDofs)
{
    Frame f;
    CJointNode* joint = static_cast<CJointNode*>(f.Node(1, 0, 0, 0, true));
    CSNode* a = f.Node(2, 10, 0, 0);
    CSNode* b = f.Node(3, 0, 10, 0);
    CSNode* c = f.Node(4, 0, 0, 10);
    // Without cross-sections: one element each, eccentric only by offsets.
    auto* eccentric = new CBeamSeg(joint, a, nullptr);
    auto* second = new CBeamSeg(b, joint, nullptr);
    auto* third = new CBeamSeg(joint, c, nullptr);
    auto* bare = new CBeamSeg(joint, f.Node(5, -10, 0, 0), nullptr);
    for (CBeamSeg* m : {eccentric, second, third, bare})
        m->SetElemClass(RUNTIME_CLASS(CBarElm));
    bare->SetElemCount(0); // no elements: takes no part
    eccentric->GetStartOffset().Allocate(3, true, 0.0);
    eccentric->GetStartOffset()[2] = 5.0;
    // The joint: a spring in DOF 4, a load.
    auto* bc = new CBoundCond3D;
    bc->SetType(0x10);
    bc->SetBC(-4, 100.0);
    joint->SetBC(bc, 0);
    auto* load = new CNodeLoad3D;
    load->Allocate(2, true, 0.0);
    (*load)[0] = 3;
    (*load)[1] = -7.0;
    joint->SetNodeLoad(load);
    // A member group in DOF 1: the eccentric member and the second.
    joint->m_pJoints[0] = new CObList;
    auto* info = new CJointInfo;
    info->m_List.AddTail(eccentric);
    info->m_List.AddTail(second);
    joint->m_pJoints[0]->AddTail(info);
    ASSERT_TRUE(joint->IsJoint());

    ASSERT_EQ(f.comp->Discretize(), nullptr);
    // The joint's load reaches the analysis once.
    std::vector<double> loads;
    for (CBeamSeg* m : {eccentric, second, third})
        for (int i : {0, 1})
            if (CLoad* l = m->GetElemNode(i)->GetLoad())
                loads.push_back((*l)[1]);
    EXPECT_EQ(loads, std::vector<double>{-7.0});

    CSNode* endA = eccentric->GetElemNode(0);
    CSNode* endB = second->GetElemNode(1);
    CSNode* endC = third->GetElemNode(0);
    ASSERT_TRUE(endA != endB && endB != endC && endA != endC);
    // Couplings: (owning node, coupled node, DOF) of each end's condition 0.
    auto couplings = [](CSNode* n) {
        std::vector<std::tuple<CSNode*, CSNode*, DWORD>> out;
        CBoundCond* c = n->GetBC(0);
        if (c && c->GetCouplings())
            for (POSITION p = c->GetCouplings()->GetHeadPosition(); p;) {
                auto* l = static_cast<CLinCpl*>(c->GetCouplings()->GetNext(p));
                EXPECT_EQ(l->m_dFactor, 1.0);
                EXPECT_EQ(l->m_uiDof1, l->m_uiDof2);
                out.emplace_back(l->m_pNode1, l->m_pNode2, l->m_uiDof1);
            }
        return out;
    };
    using T = std::tuple<CSNode*, CSNode*, DWORD>;
    std::set<T> all;
    for (CSNode* end : {endA, endB, endC})
        for (const T& t : couplings(end))
            all.insert(t);
    // The final tie couples to the end of the first member in the joint's
    // edge list; the group {A, B} ties B to A.
    std::map<CObject*, CSNode*> ends = {{eccentric, endA}, {second, endB}, {third, endC}};
    CSNode* first = ends.at(joint->GetEdgeList()->GetHead());
    std::set<T> expected = {{endB, endA, 1}};
    for (DWORD d : {2u, 3u})
        for (CSNode* end : {endA, endB, endC})
            if (end != first)
                expected.insert({end, first, d});
    EXPECT_EQ(all, expected);
    // DOF 4: B and C do not use it and lose the spring; A keeps it.
    EXPECT_TRUE(endA->GetBC(0)->IsSpring(4));
    EXPECT_FALSE(endB->GetBC(0)->IsSpring(4));
    EXPECT_FALSE(endC->GetBC(0)->IsSpring(4));
}

TEST(SectBeam, JointConditionsFollowTheFinalAndGroupRules)
{
    Frame f;
    CJointNode* joint = static_cast<CJointNode*>(f.Node(1, 0, 0, 0, true));
    std::vector<CBeamSeg*> m;
    for (unsigned long id = 2; id <= 4; ++id) {
        m.push_back(new CBeamSeg(joint, f.Node(id, id == 2 ? 10 : 0, id == 3 ? 10 : 0, id == 4 ? 10 : 0), nullptr));
        m.back()->SetElemClass(RUNTIME_CLASS(CBarElm));
    }
    // DOF 1 supported, 2 a spring, 3 prescribed; the first two members
    // form a group in DOFs 1 and 2.
    auto* bc = new CBoundCond3D;
    bc->SetType(0x10);
    bc->SetBC(1, 0.0);
    bc->SetBC(-2, 100.0);
    bc->SetBC(3, 0.5);
    joint->SetBC(bc, 0);
    for (int d : {0, 1}) {
        joint->m_pJoints[d] = new CObList;
        auto* info = new CJointInfo;
        info->m_List.AddTail(m[0]);
        info->m_List.AddTail(m[1]);
        joint->m_pJoints[d]->AddTail(info);
    }
    ASSERT_EQ(f.comp->Discretize(), nullptr);
    CSNode* a = m[0]->GetElemNode(0);
    CSNode* b = m[1]->GetElemNode(0);
    CSNode* c = m[2]->GetElemNode(0);
    // Group mode takes the support and the spring off the group's ends and
    // ties them; final mode leaves a support alone and keeps a spring on
    // the first end only (here the single one left); a prescribed DOF ties
    // nothing in final mode.
    struct Row {
        CSNode* end;
        bool sup1, spring2, presc3;
    } rows[] = {{a, false, false, true}, {b, false, false, true}, {c, true, true, true}};
    for (const Row& r : rows) {
        CBoundCond* e = r.end->GetBC(0);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->IsSup(1), r.sup1);
        EXPECT_EQ(e->IsSpring(2), r.spring2);
        EXPECT_EQ(e->IsPrescribed(3), r.presc3);
    }
    std::set<std::tuple<CSNode*, CSNode*, DWORD>> ties;
    for (CSNode* end : {a, b, c})
        if (CObList* list = end->GetBC(0)->GetCouplings())
            for (POSITION p = list->GetHeadPosition(); p;) {
                auto* l = static_cast<CLinCpl*>(list->GetNext(p));
                ties.insert({l->m_pNode1, l->m_pNode2, l->m_uiDof1});
            }
    EXPECT_EQ(ties, (std::set<std::tuple<CSNode*, CSNode*, DWORD>>{{b, a, 1}, {b, a, 2}}));
}

TEST(SectBeam, MembersAreWalkedOnceFromTheirOwnFirstNode)
{
    Frame f;
    for (unsigned long id = 1; id <= 4; ++id)
        f.Node(id, double(id), 0, 0);
    // A node of another section: the members starting there are its own.
    CSectBeam other;
    auto* foreign = new CBoundNode(9, 9, 9, nullptr, 0);
    foreign->SetID(20);
    other.AddTail(foreign);
    foreign->AddGraph(&other);
    f.section->AddTail(foreign);
    foreign->AddGraph(f.section);
    auto* s12 = new CBeamSeg(f.nodes[1], f.nodes[2], nullptr);
    auto* a234 = new CBeamArch(f.nodes[2], f.nodes[3], f.nodes[4], nullptr);
    auto* s41 = new CBeamSeg(f.nodes[4], f.nodes[1], nullptr);
    auto* fromForeign = new CBeamSeg(foreign, f.nodes[3], nullptr);
    auto* link = new CEdge(f.nodes[3], f.nodes[4]); // not a member
    (void)link;
    EXPECT_EQ(Members(*f.section), (std::vector<CBeamSeg*>{s12, a234, s41}));
    EXPECT_EQ(Members(other), (std::vector<CBeamSeg*>{fromForeign}));

    // Identifier look-up: none for 0; element nodes only when deep.
    for (CBeamSeg* m : std::vector<CBeamSeg*>{s12, a234, s41})
        m->SetElemClass(RUNTIME_CLASS(CBarElm));
    f.section->Discretize();
    CSNode* inner = a234->GetElemNode(0);
    ASSERT_NE(inner, nullptr);
    inner->SetID(555);
    EXPECT_EQ(f.section->GetObject(0, true), nullptr);
    EXPECT_EQ(f.section->GetObject(3, false), f.nodes[3]);
    EXPECT_EQ(f.section->GetObject(555, false), nullptr);
    EXPECT_EQ(f.section->GetObject(555, true), inner);
    EXPECT_EQ(f.comp->GetObjectA(555, true), inner);
    f.section->DM_Clean();
    f.section->ReleaseCopyNodes(true);

    // Region operations that refuse; a new node is a free boundary node.
    EXPECT_FALSE(f.section->Fix(nullptr));
    EXPECT_FALSE(f.section->DeleteNode(f.nodes[1]));
    EXPECT_EQ(f.section->SumArea(), 0.0);
    std::unique_ptr<CSNode> made(f.section->CreateNode(1, 2, 3));
    EXPECT_NE(dynamic_cast<CBoundNode*>(made.get()), nullptr);
    EXPECT_EQ(made->GetGraphCount(), 0);

    // Removing the arch's third node takes the arch (and the node's own
    // members) with it; the other members stay.
    f.section->RemoveNode(f.nodes[4]);
    EXPECT_EQ(Members(*f.section), (std::vector<CBeamSeg*>{s12}));
    delete f.nodes[4];
    other.RemoveAll();
    foreign->RemoveGraph(&other);
}

class SectBeamDrawTest : public brantel::test::GLTest
{
};

TEST_F(SectBeamDrawTest, NodePointsOnlyWithTheirFlagAndJointSpheres)
{
    using brantel::test::GLRecorder;
    Frame f;
    CSNode* j = f.Node(1, 0, 0, 0, true);
    f.Node(2, 10, 0, 0);
    f.Node(3, 0, 10, 0);
    auto* m1 = new CBeamSeg(j, f.nodes[2], nullptr);
    new CBeamSeg(j, f.nodes[3], nullptr);
    auto points = [](const GLRecorder& rec) {
        int n = 0;
        for (const auto& p : rec.primitives())
            if (p.mode == GL_POINTS)
                n += static_cast<int>(p.vertices.size());
        return n;
    };
    for (auto [flags, expected] : std::vector<std::pair<unsigned, int>>{{1, 0}, {1 | 0x40, 3}}) {
        COGLDrawCommand command;
        command.m_uiState[0] = flags;
        GLRecorder rec;
        f.section->GL_Draw(&command);
        command.EndIf();
        EXPECT_EQ(points(rec), expected) << flags;
        EXPECT_TRUE(rec.balanced());
    }
    {
        GLRecorder rec;
        f.section->GL_Draw(nullptr);
        EXPECT_EQ(points(rec), 3);
    }
    // The joint's sphere in its colour; nothing when skipped.
    auto* joint = static_cast<CJointNode*>(j);
    joint->m_pJoints[2] = new CObList;
    auto* info = new CJointInfo;
    info->m_List.AddTail(m1);
    joint->m_pJoints[2]->AddTail(info);
    {
        GLRecorder rec;
        f.section->DrawBCs(true, 1.0, 0);
        EXPECT_TRUE(rec.primitives().empty());
    }
    GLRecorder rec;
    f.section->DrawBCs(false, 1.0, 0);
    ASSERT_FALSE(rec.primitives().empty());
    for (const auto& p : rec.primitives())
        for (const auto& c : p.colours)
            EXPECT_EQ(c, (brantel::test::Vec3{0.8, 0.7, 0.9}));
}

TEST(SectCompBeam, ComponentSettingsAndArchive)
{
    CSectCompBeam comp;
    EXPECT_EQ(comp.GetResCount(), 12u);
    EXPECT_EQ(comp.GetSettings()[0][0], 1);
    EXPECT_EQ(comp.GetSettings()[1][0], 0);
    EXPECT_FALSE(comp.PreCalc(nullptr, nullptr, 0));
    EXPECT_FALSE(comp.Calculate(nullptr, nullptr));
    comp.GetSettings()[1][0] = 7;
    auto* s = new CSectBeam;
    s->SetName("beams");
    comp.AddTail(s);
    const std::string bytes = zelkortest::StoreBytes([&](CArchive& ar) { comp.Serialize(ar); });
    CSectCompBeam back;
    zelkortest::LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back.GetSettings()[1][0], 7);
    auto* read = dynamic_cast<CSectBeam*>(back.GetHead());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetName(), CString("beams"));
    EXPECT_EQ(s->SumArea(), 0.0);
    EXPECT_EQ(s->Copy(true), nullptr);
}

} // namespace
