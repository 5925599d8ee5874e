// The flat finite-element arrays of a discretised beam frame: connectivity,
// coordinates, kinds, supports, prescribed values, node loads and the log.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sections/kantaro.h"
#include "tests/support/temp_files.h"

namespace
{

using brantel::test::TempFile;

std::vector<long> Entries(const CLongVector& v)
{
    return std::vector<long>(v.GetVector(), v.GetVector() + v.GetSize());
}

std::vector<double> Entries(const CVector& v)
{
    return std::vector<double>(v.GetVector(), v.GetVector() + v.GetSize());
}

// Two bars 1-2-3 along x, discretised: node 1 fixed in all six DOFs
// (type bits 0x2 | 0x8), node 3 with a listed support in DOF 1 and a
// prescribed 0.5 in DOF 3, a load of -1500 in DOF 3 at node 2.
struct TwoBars {
    std::unique_ptr<CSectCompBeam> comp = std::make_unique<CSectCompBeam>();
    CSectBeam* section = new CSectBeam;
    CBoundNode* nodes[3];
    CBeamSeg* bars[2];

    explicit TwoBars(bool load = true)
    {
        comp->AddTail(section);
        for (int i = 0; i < 3; ++i) {
            nodes[i] = new CBoundNode(double(i), 0.0, 0.0, nullptr, 0);
            nodes[i]->SetID(10 + i);
            section->AddTail(nodes[i]);
            nodes[i]->AddGraph(section);
        }
        nodes[0]->SetStandBC(0x2 | 0x8, 0);
        CBoundCond3D listed;
        listed.SetType(0x10);
        listed.SetBC(1, 0.0);
        listed.SetBC(3, 0.5);
        nodes[2]->SetBC(listed, 0);
        for (int i = 0; i < 2; ++i) {
            bars[i] = new CBeamSeg(nodes[i], nodes[i + 1], nullptr);
            bars[i]->SetElemClass(RUNTIME_CLASS(CBarElm));
        }
        EXPECT_EQ(comp->Discretize(), nullptr);
        if (load) {
            auto* l = new CNodeLoad3D;
            l->Allocate(2, true, 0.0);
            (*l)[0] = 3;
            (*l)[1] = -1500.0;
            l->m_uiWord = 4;
            static_cast<CBoundNode*>(bars[0]->GetElemNode(1))->SetNodeLoad(l);
        }
    }
    // The information record filled through the model.
    void Fill(CModelInfoFEM& info)
    {
        info.GetInfo().m_iMask = 1 | 2 | 4 | 8 | 16 | 64;
        comp->DM_GetInfo(info.GetInfo());
    }
};

std::string Logged(const std::function<void(CFile*)>& write)
{
    TempFile tmp;
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeWrite);
        write(&f);
    }
    return tmp.readBytes<std::string>();
}

const std::string kRule = "========================================\r\n";

TEST(ModelInfoFEM, GeometryArraysOfTwoBars)
{
    TwoBars model;
    CModelInfoFEM info(3, true, 77);
    model.Fill(info);
    EXPECT_EQ(info.GetInfo()[0], 3);
    EXPECT_EQ(info.GetInfo()[1], 2);
    const std::string log = Logged([&](CFile* f) { info.GenGeomData(model.comp.get(), f); });
    EXPECT_EQ(Entries(info.MPMNPC()), (std::vector<long>{1, 3, 5}));
    EXPECT_EQ(Entries(info.MMNPC()), (std::vector<long>{1, 2, 2, 3}));
    const long kind = static_cast<CElement*>((*model.bars[0]->GetElements())[0])->GetKind();
    EXPECT_EQ(Entries(info.MKIND()), (std::vector<long>{kind, kind}));
    ASSERT_EQ(info.MXYZ().GetRows(), 3);
    for (int r = 0; r < 3; ++r)
        EXPECT_EQ(std::vector<double>(info.MXYZ()[r], info.MXYZ()[r] + 3),
                  (std::vector<double>{double(r), 0.0, 0.0}));
    EXPECT_EQ(info.RotParams().GetSize(), 0);
    EXPECT_EQ(log.rfind("MMNPC\r\n" + kRule, 0), 0u);
    EXPECT_NE(log.find("\r\nCOORDINATES\r\n" + kRule), std::string::npos);

    // A record nobody filled: the arrays take the sizes the elements need.
    CModelInfoFEM blank;
    blank.GenGeomData(model.comp.get(), nullptr);
    EXPECT_EQ(Entries(blank.MPMNPC()), (std::vector<long>{1, 3, 5}));
    EXPECT_EQ(Entries(blank.MMNPC()), (std::vector<long>{1, 2, 2, 3}));
    EXPECT_EQ(blank.MXYZ().GetRows(), 3);

    // Kinds are written only with flag 0x1; without it the list stays empty.
    CModelInfoFEM plain(3, false, 0);
    plain.SetFlags(0);
    model.Fill(plain);
    plain.GenGeomData(model.comp.get(), nullptr);
    EXPECT_EQ(plain.MKIND().GetSize(), 0);
    plain.DeallocGeomData();
    EXPECT_EQ(plain.MMNPC().GetSize() + plain.MPMNPC().GetSize() + plain.MXYZ().GetRows(), 0);
}

TEST(ModelInfoFEM, ConditionAndLoadArraysWithTheirLog)
{
    TwoBars model;
    CModelInfoFEM info;
    model.Fill(info);
    const std::string log = Logged([&](CFile* f) { info.GenBCData(model.comp.get(), f); });
    const std::vector<long> supports = {1, 1, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 3, 1};
    EXPECT_EQ(Entries(info.SupBCNodes()), supports);
    EXPECT_EQ(Entries(info.PrescValues()), (std::vector<double>{3, 3, 0.5}));
    EXPECT_EQ(Entries(info.LoadNodes()), (std::vector<long>{2, 1}));
    EXPECT_EQ(Entries(info.LoadDOFs()), (std::vector<long>{3}));
    EXPECT_EQ(Entries(info.LoadValues()), (std::vector<double>{-1500.0}));
    EXPECT_EQ(Entries(info.LoadCases()), (std::vector<long>{4}));
    EXPECT_EQ(std::vector<long>(info.GetInfo().GetVector() + 3, info.GetInfo().GetVector() + 7),
              (std::vector<long>{1, 1, 7, 1}));
    std::string expected = "Node-loads\r\n" + kRule + "Node  2   DOF   Value\r\n" +
                           "             3    -2e+03\r\n" + kRule + "\r\n" +
                           "Boundary conditions\r\n\r\n" + kRule + "  Suppressed\r\n\r\n" + kRule +
                           "Node   DOF\r\n";
    for (std::size_t i = 0; i < supports.size(); i += 2)
        expected += std::to_string(supports[i]) + "  " + std::to_string(supports[i + 1]) + "\r\n";
    expected += kRule + "\r\n" + "  Prescribed\r\n\r\n" + kRule + "Node   DOF  val\r\n" +
                "3.000000  3.000000 0.500000\r\n" + kRule + "\r\n";
    EXPECT_EQ(log, expected);

    // A record nobody filled (all zeros): the arrays grow as the model hands
    // over, and end at the counts.
    CModelInfoFEM blank;
    blank.GenBCData(model.comp.get(), nullptr);
    EXPECT_EQ(Entries(blank.SupBCNodes()), supports);
    EXPECT_EQ(Entries(blank.PrescValues()), Entries(info.PrescValues()));
    EXPECT_EQ(Entries(blank.LoadNodes()), Entries(info.LoadNodes()));
    EXPECT_EQ(Entries(blank.LoadValues()), Entries(info.LoadValues()));
    EXPECT_EQ(Entries(blank.LoadCases()), Entries(info.LoadCases()));
    blank.DeallocBCData();
    EXPECT_EQ(blank.SupBCNodes().GetSize() + blank.LoadCases().GetSize() +
                  blank.LoadValues().GetSize() + blank.PrescValues().GetSize(),
              0);

    // Archive round trip of everything generated.
    info.GenGeomData(model.comp.get(), nullptr);
    const std::string bytes = zelkortest::StoreBytes([&](CArchive& ar) { info.Serialize(ar); });
    CModelInfoFEM back;
    zelkortest::LoadBytes(bytes, [&](CArchive& ar) { back.Serialize(ar); });
    EXPECT_EQ(Entries(back.GetInfo()), Entries(info.GetInfo()));
    EXPECT_EQ(back.GetFlags(), info.GetFlags());
    EXPECT_EQ(back.GetDimension(), 3);
    for (auto get : {&CModelInfoFEM::MMNPC, &CModelInfoFEM::MPMNPC, &CModelInfoFEM::MKIND,
                     &CModelInfoFEM::LoadNodes, &CModelInfoFEM::LoadDOFs, &CModelInfoFEM::SupBCNodes,
                     &CModelInfoFEM::LoadCases})
        EXPECT_EQ(Entries((back.*get)()), Entries((info.*get)()));
    EXPECT_EQ(Entries(back.MXYZ()), Entries(info.MXYZ()));
    EXPECT_EQ(Entries(back.PrescValues()), Entries(info.PrescValues()));
}

TEST(ModelInfoFEM, NoLoadsAreNamedInTheLog)
{
    TwoBars model(false);
    CModelInfoFEM info;
    model.Fill(info);
    const std::string log = Logged([&](CFile* f) { info.GenBCData(model.comp.get(), f); });
    EXPECT_EQ(log.rfind("Node-loads\r\n" + kRule + "   No Node-loads defined\r\n\r\n" + kRule, 0),
              0u);
    EXPECT_EQ(info.LoadCases().GetSize(), 0);
}

// A listed condition read from a file may hold numbers that name no DOF the
// solver can take: those are left out of the arrays, springs (negative DOF
// numbers) and plain supports stay.
TEST(ModelInfoFEM, ListedDOFNumbersThatFitNoIntegerAreLeftOut)
{
    TwoBars model(false);
    CBoundCond3D listed;
    listed.SetType(0x10);
    CVector dofs(10);
    const double numbers[] = {2147883647.0, 2.5, -2.0, 1.0, -1e300};
    const double values[] = {0.0, 0.0, 0.0, 0.0, 7.0};
    for (int i = 0; i < 5; ++i) {
        dofs[i] = numbers[i];
        dofs[5 + i] = values[i];
    }
    listed.SetBC(dofs);
    model.nodes[2]->SetBC(listed, 0);
    ASSERT_EQ(model.comp->Discretize(), nullptr);
    CModelInfoFEM info;
    model.Fill(info);
    info.GenBCData(model.comp.get(), nullptr);
    EXPECT_EQ(Entries(info.SupBCNodes()),
              (std::vector<long>{1, 1, 1, 2, 1, 3, 1, 4, 1, 5, 1, 6, 3, -2, 3, 1}));
    EXPECT_EQ(info.PrescValues().GetSize(), 0);
}

} // namespace
