// The input and result dumps of a run and the solver's own run log, in a
// temporary working folder.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/afx/safefile.h"
#include "tests/analysis/fake_solver.h"
#include "tests/analysis/plate_model.h"
#include "tests/analysis/work_dir.h"

namespace {

using analysistest::FakeSolver;
using analysistest::PlateModel;

class Dumps : public analysistest::WorkDirTest {};

const char* const kAll[] = {"Topology.log", "Data.log", "Node.log", "BCs.log",
                            "Edge-loads.log", "Stress.log", "NodeValues.log"};

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
bool StartsWith(const std::string& s, const std::string& head) { return s.rfind(head, 0) == 0; }

// Runs a model of the code at the print level against the recording solver.
void RunModel(int code, int printLevel, FakeSolver& fake)
{
    PlateModel m(code);
    m.Support(0, 2);
    ASSERT_TRUE(m.Mesh());
    m.comp->m_iPrintLevel = printLevel;
    ASSERT_TRUE(m.comp->Calculate(nullptr, nullptr));
    EXPECT_EQ(m.comp->m_iPrintLevel, printLevel);
    EXPECT_EQ(fake.last().Key(30), printLevel % 1000);
}

TEST_F(Dumps, WhichFilesEachPrintLevelWrites)
{
    struct Case {
        int code, level;
        std::vector<std::string> files;
    } cases[] = {
        {31, 1003, {"Topology.log", "Data.log", "Node.log", "BCs.log", "Edge-loads.log", "Stress.log", "NodeValues.log"}},
        {81, 1000, {"Topology.log", "Data.log", "Node.log", "BCs.log", "Stress.log", "NodeValues.log"}},
        {31, 999, {"Stress.log", "NodeValues.log"}},
        {81, 100, {"Stress.log", "NodeValues.log"}},
        {31, 99, {}},
    };
    FakeSolver fake;
    for (const Case& c : cases) {
        for (const char* f : kAll)
            std::remove(f);
        RunModel(c.code, c.level, fake);
        std::vector<std::string> present;
        for (const char* f : kAll)
            if (Exists(f))
                present.emplace_back(f);
        EXPECT_EQ(present, c.files) << c.code << " at " << c.level;
    }
}

TEST_F(Dumps, HeadersAndEndings)
{
    FakeSolver fake;
    RunModel(31, 1000, fake);
    const std::string end = "\r\n\r\nEnd Logfile\r\n";
    struct Case {
        const char* file;
        std::vector<std::string> parts; // in this order; the first at the start
    } cases[] = {
        {"Data.log",
         {"\r\n\r\nLogfile for massive inputarrays\r\n\r\n\tELEMENT Data-ARRAY\r\n     Element            alpha      "
          "        ti              tj              tk              tl              pi              pj              pk  "
          "            pl\r\n"}},
        {"Node.log", {"Logfile for massive inputarrays\r\n\r\n\tNODE-ARRAY\r\nnode\t\tx\t\ty\t\talpha\t\tP\r\n"}},
        {"BCs.log",
         {"Logfile for massive inputarrays\r\n\r\n\tSpecified boundcond-ARRAY\r\n   bc nr  node   dof   val\r\n",
          "\r\n\r\n\tSuppressed boundcond-ARRAY\r\n   bc nr  node   dof\r\n",
          "\r\n\r\n\tSlave boundcond-ARRAY\r\n   bc nr  node   dof\r\n",
          "\r\n\r\n\tSpring boundcond-ARRAY\r\n   bc nr  node   dof\r\n"}},
        {"Edge-loads.log",
         {"Logfile for massive inputarrays\r\n\tEdge - loading\r\n          El   nod   Xi    Yi    Xj    Yj    Xm    "
          "Ym\r\n"}},
        {"Stress.log", {"Logfile for Solvika outputarrays\r\n\r\n\tELEMENT STRESS-ARRAY\r\n\r\n"}},
        {"NodeValues.log",
         {"Logfile for Solvika outputarrays\r\n\r\n\tNODE-ARRAY\r\n\r\n     node \t        w \t      w,x \t      w,y \t "
          "        R\r\n"}},
    };
    for (const Case& c : cases) {
        const std::string text = Read(c.file);
        EXPECT_TRUE(StartsWith(text, c.parts[0])) << c.file;
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            at = text.find(part, at);
            ASSERT_NE(at, std::string::npos) << c.file << ": " << part;
        }
        EXPECT_TRUE(EndsWith(text, end)) << c.file;
    }
    const std::string topo = Read("Topology.log");
    EXPECT_TRUE(StartsWith(topo, "Logfile for massive inputarrays\r\n\r\n\tMATERIAL-ARRAY\r\n Mat (ID)nr:      "
                                 "ModOfElast1      ModOfElast              Nu      ModOfShear             Rho     "
                                 "     Lambda\r\n"));
    const std::size_t header = topo.find("\t\r\n\r\nELEMENT TOPOLOGY-ARRAY\r\n\r\n   Element   material     node1     "
                                         "node2     node3      ...\t\r\n");
    ASSERT_NE(header, std::string::npos);
    const std::size_t closing = topo.find(end + "\r\n\r\nEnd LogfileEnd Logfile\r\n\r\n", header);
    ASSERT_NE(closing, std::string::npos);
    // Then the fly picture twice (inverted, then as it is), 33 lines each,
    // and a last closing line.
    const std::string pictures = topo.substr(closing + end.size() + 28);
    EXPECT_TRUE(EndsWith(pictures, "\r\nEnd Logfile\r\n"));
    int lines = 0;
    for (std::size_t p = 0; (p = pictures.find("\r\n", p)) != std::string::npos; p += 2)
        ++lines;
    EXPECT_EQ(lines, 2 * 33 + 1);
    const std::string firstRow = pictures.substr(2, 128);
    EXPECT_EQ(firstRow, std::string(128, '0')) << "row 0 of the inverted picture is all set";
}

TEST_F(Dumps, ASecondRunReplacesTheFiles)
{
    Write("Stress.log", std::string(100000, 'x'));
    Write("Topology.log", std::string(100000, 'x'));
    FakeSolver fake;
    RunModel(31, 1000, fake);
    EXPECT_EQ(Read("Stress.log").find('x'), std::string::npos);
    EXPECT_EQ(Read("Topology.log").find("xxxx"), std::string::npos);
}

// The library's own solver: a membrane strip pulled by prescribed
// displacements is in uniform tension, which the constant-strain triangles
// represent exactly.
// A dump that cannot be written keeps the old file, leaves no temporary
// and is said once on the error output with the file's name.
TEST_F(Dumps, AFailedDumpKeepsTheOldFile)
{
    Write("Stress.log", "old stresses");
    afx::SafeFileWriter::InjectFailure(afx::SafeFileWriter::Step::write);
    testing::internal::CaptureStderr();
    FakeSolver fake;
    RunModel(31, 100, fake);
    const std::string said = testing::internal::GetCapturedStderr();
    afx::SafeFileWriter::InjectFailure(afx::SafeFileWriter::Step::none);
    EXPECT_EQ(Read("Stress.log"), "old stresses");
    EXPECT_NE(said.find("Disk full while accessing Stress.log."), std::string::npos) << said;
    EXPECT_TRUE(Exists("NodeValues.log")); // the next dump is written
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_EQ(entry.path().filename().string().find(".~tmp"), std::string::npos);
}

TEST_F(Dumps, RealSolverUniformTension)
{
    const double d = 0.001, w = 2.0, E = 210000.0;
    for (int nx : {1, 3}) {
        std::remove("Brantel.log");
        PlateModel m(31, w, 1.0);
        m.User(0, {{1, 0.0}, {2, 0.0}});
        m.User(3, {{1, 0.0}});
        m.User(1, {{1, d}, {2, 0.0}});
        m.User(2, {{1, d}});
        m.Divide(nx, 1);
        ASSERT_TRUE(m.Mesh());
        CStringArray log, errors;
        ASSERT_TRUE(m.comp->Calculate(&log, &errors)) << (errors.GetSize() ? errors.GetAt(0).GetString() : "");
        EXPECT_TRUE(Exists("Brantel.log"));
        const double sx = E * d / w;
        EXPECT_NEAR(m.comp->m_MaxVals[0], sx, 1e-9 * sx);
        EXPECT_NEAR(m.comp->m_MinVals[0], sx, 1e-9 * sx);
        for (int c : {1, 2}) {
            EXPECT_NEAR(m.comp->m_MaxVals[c], 0.0, 1e-9 * sx) << c;
            EXPECT_NEAR(m.comp->m_MinVals[c], 0.0, 1e-9 * sx) << c;
        }
        EXPECT_NEAR(m.comp->m_MaxValsExt[0], sx, 1e-9 * sx);
        EXPECT_NEAR(m.comp->m_MinValsExt[0], sx, 1e-9 * sx);
        EXPECT_NEAR(m.comp->m_MaxValsExt[1], 0.0, 1e-9 * sx);
        EXPECT_NEAR(m.comp->m_MinValsExt[1], 0.0, 1e-9 * sx);
        // The displacement length ranges from 0 at the fixed corner to the
        // pulled edge with its contraction.
        EXPECT_NEAR(m.comp->m_MinValsExt[3], 0.0, 1e-15);
        EXPECT_NEAR(m.comp->m_MaxValsExt[3], std::hypot(d, 0.3 * d / w), 1e-12);
    }
}

// Plates clamped at their corners by user conditions that name all six
// DOFs, with rotation axes at the corners, under a uniform load: only the
// DOFs that exist at each node reach the solver, which runs to its end.
TEST_F(Dumps, RealSolverPlatesWithUserConditionsOnEveryDof)
{
    for (int code : {61, 65, 66, 75, 81, 85}) {
        PlateModel m(code, 2.0, 2.0, 0.1);
        for (int c = 0; c < 4; ++c)
            m.User(c, {{1, 0.0}, {2, 0.0}, {3, 0.0}, {4, 0.0}, {5, 0.0}, {6, 0.0}}, 0.3);
        m.region->SetLoad(1.0);
        m.Divide(2, 2);
        ASSERT_TRUE(m.Mesh()) << code;
        CStringArray log, errors;
        EXPECT_TRUE(m.comp->Calculate(&log, &errors))
            << code << ": " << (errors.GetSize() ? errors.GetAt(0).GetString() : "");
        EXPECT_GT(m.comp->GetResCount(), 0u) << code;
    }
}

} // namespace
