// The run log's own prints: the summary, the selective print, the echo of
// the model and the check points, compared line by line with what their
// layouts write.
#include "solver/solvika.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace solvika;

namespace {

constexpr int kUnit = 10;

// Captures what the prints write to the log unit; the date is fixed.
class RunPrint : public ::testing::Test {
protected:
    void SetUp() override {
        attachSink(kUnit, &m_log);
        m_oldDate = setDateSource([] { return RunDate{3, 7, 2026}; });
    }
    void TearDown() override {
        detachSink(kUnit);
        setDateSource(m_oldDate);
    }
    std::string take() { return std::exchange(m_log, std::string()); }

    std::string m_log;
    DateSource m_oldDate = nullptr;
};

// A two-element Q4 membrane model of four nodes as the set-up leaves it.
struct SummaryCase {
    std::array<std::int32_t, 30> key{};
    std::array<float, 24> rstat{};
    ModelTables tables;
    double load[2] = {1.0, -2.0};
    double reaction[2] = {-1.0, 2.0};

    SummaryCase() {
        key[0] = 2, key[1] = 4, key[6] = 1, key[9] = 41, key[10] = 1, key[11] = 2, key[12] = 512;
        rstat[0] = 1234.9f, rstat[1] = 1234.7f, rstat[2] = 87.6f, rstat[3] = 3.0f, rstat[4] = 1.0f;
        rstat[15] = 12345.678f;
        rstat[19] = 0.5f, rstat[20] = 0.25f, rstat[21] = 1.0f, rstat[22] = 0.25f, rstat[23] = 2.5f;
        tables.MPAR[0] = 4, tables.MPAR[1] = 2, tables.MPAR[2] = 8, tables.MPAR[10] = 5;
        tables.MPAR[11] = 2000000000;  // 2 x the profile does not fit I8
        tables.MSPAR[7] = 10, tables.MSPAR[15] = 20;
    }
    std::int32_t& K(int k) { return key[std::size_t(k - 1)]; }
    float& R(int k) { return rstat[std::size_t(k - 1)]; }
};

// Lines of a text from the first line holding `from` up to, not including,
// the first later line holding `to` (to the end when empty).
std::string section(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t a = text.rfind('\n', text.find(from)) + 1;
    const std::size_t b = to.empty() ? std::string::npos : text.rfind('\n', text.find(to, a)) + 1;
    return text.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

} // namespace

// The whole summary of a skyline membrane run: truncated figures, twice the
// real storage formed in real arithmetic, a stiffness length too wide for
// its field, phases below the total taking shares of the total.
TEST_F(RunPrint, SummaryOfASkylineMembraneRun) {
    SummaryCase c;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    EXPECT_EQ(take(), R"(

                    =====================================

                         Program log  -  03:07:2026

                    =====================================




     Problem is         :  PLANE STRESS


     Element type is    :  Q4 (confrm.) 
 
     Element integration:               


     Model information :

        Number of nodes      :     4
        Number of elements   :     2
        Number of d o f s    :     8
        Number of equations  :     5
        Number of springs    :     1


     Node renumbering :  YES

        Algorithm                 : PFM
        New profile length (in %) :  87
        Node number of start node :       3
 
 
     Storage format : skyline
 
 
     Storage requirement (in terms of 32 bits units) :

        Integer information         :    1234
        Floating point information  :    2469
        Stiffness matrix            :********
 
 
     Solution information :

        Number of negative elements in D    :              1
        Estimate of condition number        :   1.234568E+04


     Sum loading in x-dir  [N] :   1.000000E+00
     Sum loading in y-dir  [N] :  -2.000000E+00
     Sum reaction in x-dir [N] :  -1.000000E+00
     Sum reaction in y-dir [N] :   2.000000E+00

 
 
     Computing times (in seconds) :

        CPU-time in data preparation  :    0.500 ( 20.000% )
        CPU-time in assembly          :    0.250 ( 10.000% )
        CPU-time in solution          :    1.000 ( 40.000% )
        CPU-time in computing results :    0.250 ( 10.000% )

        Total CPU-time                :    2.500
)");
}

// Sparse storage: renumbering is "YES" for every code but 0 with no figures,
// the stiffness is MSPAR(8) + MSPAR(16), the cache size and the five
// operation figures are printed.
TEST_F(RunPrint, SummaryOfASparseRun) {
    SummaryCase c;
    c.K(11) = 2;
    c.R(11) = 1.0f, c.R(12) = 2.0f, c.R(13) = 3.0f, c.R(14) = 4.0f, c.R(15) = 5.0f;
    for (int renum : {0, 1, 2, 3, 7}) {
        c.K(12) = renum;
        RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
        const std::string log = take();
        EXPECT_EQ(section(log, "Node renumbering", "Storage format"),
                  std::string("     Node renumbering :  ") + (renum == 0 ? "NO" : "YES") + "\n \n \n");
        EXPECT_EQ(section(log, "Stiffness matrix", "Solution information"),
                  "        Stiffness matrix            :      60\n"
                  "        Size of cache (in KB)       :     512\n \n \n");
        EXPECT_EQ(section(log, "Actual diagonal decay", "Sum loading"),
                  "        Actual diagonal decay               :   5.000000E+00\n"
                  "        Number of original coeff.assmb.op.  :   1.000000E+00\n"
                  "        Number of generated coeff.assmb.op. :   2.000000E+00\n"
                  "        Number of factorization operations  :   3.000000E+00\n"
                  "        Number of substitution operations   :   4.000000E+00\n\n\n");
    }
}

TEST_F(RunPrint, SummaryRenumberingOnSkyline) {
    SummaryCase c;
    for (int renum : {0, 4, -1}) {
        c.K(12) = renum;
        RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
        EXPECT_EQ(section(take(), "Node renumbering", "Storage format"), "     Node renumbering :  NO\n \n \n");
    }
    c.K(12) = 1;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    EXPECT_NE(take().find("Algorithm                 : SWS\n"), std::string::npos);
    c.K(12) = 3;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    EXPECT_NE(take().find("Algorithm                 : ELW\n"), std::string::npos);
}

// Element and integration texts by code and integration code; a text the
// run does not set is blank, whatever an earlier run printed.
TEST_F(RunPrint, SummaryElementTexts) {
    const struct {
        int code, integration;
        const char* type;
        const char* rule;
    } cases[] = {
        {31, 0, "CST          ", "analytical   "}, {32, 4, "LST          ", "analytical   "},
        {33, 0, "QST          ", "analytical   "}, {41, 1, "Q4 (confrm.) ", "1 point      "},
        {42, 4, "Q6 (Q4 ++)   ", "4 point      "}, {44, 9, "Q8 (Serendip)", "9 point      "},
        {46, 9, "Q9 (Lagrange)", "9 point      "}, {46, 0, "Q9 (Lagrange)", "             "},
        {41, 2, "Q4 (confrm.) ", "             "}, {61, 0, "T6           ", "analytical   "},
        {65, 0, "DKT          ", "numerical    "}, {66, 0, "TEBA         ", "numerical    "},
        {75, 0, "T15          ", "numerical    "}, {81, 1, "T18          ", "numerical    "},
        {81, 2, "T18          ", "analytical   "}, {85, 2, "T21          ", "analytical   "},
        {85, 9, "T21          ", "             "}, {35, 1, "Unknown      ", "             "},
    };
    SummaryCase c;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.code * 100 + k.integration);
        c.K(10) = k.code;
        c.K(27) = k.integration;
        RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
        EXPECT_EQ(section(take(), "Element type is", "Model information"),
                  std::string("     Element type is    :  ") + k.type + "\n \n     Element integration:  " + k.rule +
                      "\n\n\n");
    }
}

// Problem lines, the bending sums, plane strain and the buckling figures.
TEST_F(RunPrint, SummaryProblemAndSums) {
    SummaryCase c;
    c.K(18) = 1;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    EXPECT_NE(take().find("\n     Problem is         :  PLANE STRAIN\n"), std::string::npos);

    c.K(10) = 81;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    std::string log = take();
    EXPECT_NE(log.find("\n     Problem is         :  PLATE BENDING\n"), std::string::npos);
    EXPECT_EQ(section(log, "Sum vertical loading", "Computing times"),
              "     Sum vertical loading  [N] :   1.000000E+00\n"
              "     Sum vertical reaction [N] :  -1.000000E+00\n\n \n \n");

    c.K(29) = 99, c.K(14) = 2, c.K(15) = 4, c.R(10) = 12.9f, c.R(11) = 3.0f, c.R(12) = 40.0f;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, nullptr, nullptr);
    log = take();
    EXPECT_NE(log.find("\n     Problem is         :  PLATE BUCKLING\n"), std::string::npos);
    EXPECT_EQ(section(log, "Storage format", "Storage requirement"),
              "     Storage format : skyline\n     Eigensolver    : Lanczos iteration \n \n \n");
    EXPECT_EQ(section(log, "Solution information", "Computing times"),
              "     Solution information :\n\n"
              "        Number of buckling modes requested  :     4\n"
              "        Number of eigenmodes accepted       :     3\n"
              "        Number of Lanczos vectors used      :    12\n"
              "        Number of Lanczos steps carried out :    40\n \n \n");
    c.K(14) = 1;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, nullptr, nullptr);
    log = take();
    EXPECT_NE(log.find("     Eigensolver    : subspace iteration\n"), std::string::npos);
    EXPECT_NE(log.find("        Number of iterations carried out    :    40\n"), std::string::npos);
}

// Phases summing above the total print their sum; no measurable time ends
// the summary after the two blank lines.
TEST_F(RunPrint, SummaryTimes) {
    SummaryCase c;
    c.R(24) = 1.0f;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    EXPECT_EQ(section(take(), "CPU-time in data preparation", ""),
              "        CPU-time in data preparation  :    0.500 ( 25.000% )\n"
              "        CPU-time in assembly          :    0.250 ( 12.500% )\n"
              "        CPU-time in solution          :    1.000 ( 50.000% )\n"
              "        CPU-time in computing results :    0.250 ( 12.500% )\n\n"
              "        Total CPU-time                :    2.000\n");
    for (int k = 20; k <= 23; ++k) c.R(k) = 0.0f;
    c.R(24) = 3.0f;
    RUNLOG(c.key.data(), c.rstat.data(), kUnit, c.tables, c.load, c.reaction);
    const std::string log = take();
    EXPECT_EQ(log.find("Computing times"), std::string::npos);
    EXPECT_TRUE(log.ends_with("     Sum reaction in y-dir [N] :   2.000000E+00\n\n \n \n")) << log;
}

// A plate-bending model with five values per corner: list order kept,
// entries outside the model skipped without a line.
TEST_F(RunPrint, SelectivePrintOfAT21Model) {
    std::array<std::int32_t, 30> key{};
    key[0] = 2, key[1] = 4, key[9] = 85, key[19] = 16, key[24] = 4, key[25] = 3;
    ModelTables t;
    t.MPELND = {1, 4, 7};
    t.MELNOD = {1, 2, 3, 2, 4, 3};
    std::vector<double> data(32), nodal(16), coords(16);
    for (int i = 0; i < 32; ++i) data[std::size_t(i)] = i + 1.5;
    for (int i = 0; i < 16; ++i) nodal[std::size_t(i)] = -(i + 1) * 1e-3, coords[std::size_t(i)] = i * 10.0;
    const std::int32_t elements[] = {2, 0, 3, 1}, nodes[] = {4, 5, 1};
    SELPRT(key.data(), elements, data.data(), nodes, nodal.data(), coords.data(), t, kUnit);
    EXPECT_EQ(take(), R"(

                    =====================================

                        Selective print from Brantel

                             Units: [N] and [mm]

                    =====================================

                        Problem log at bottom of file




==================

  ELEMENT FORCES

==================

Element  Node       M_x           M_y           M_xy           V_x           V_y
 
     2      2   1.75000E+01   1.85000E+01   1.95000E+01   2.05000E+01   2.15000E+01
            4   2.25000E+01   2.35000E+01   2.45000E+01   2.55000E+01   2.65000E+01
            3   2.75000E+01   2.85000E+01   2.95000E+01   3.05000E+01   3.15000E+01
 
     1      1   1.50000E+00   2.50000E+00   3.50000E+00   4.50000E+00   5.50000E+00
            2   6.50000E+00   7.50000E+00   8.50000E+00   9.50000E+00   1.05000E+01
            3   1.15000E+01   1.25000E+01   1.35000E+01   1.45000E+01   1.55000E+01


=================

  NODAL RESULTS

=================

 Node       x_coord         y_coord         Displ. w      Residual f.
 
    4     1.20000E+02     1.30000E+02    -1.30000E-02    -1.60000E-02
    1     0.00000E+00     1.00000E+01    -1.00000E-03    -4.00000E-03
 
 
)");
}

// A Q8 membrane model prints its first four nodes; with no element list only
// the nodal block is written.
TEST_F(RunPrint, SelectivePrintOfAMembraneModel) {
    std::array<std::int32_t, 30> key{};
    key[0] = 2, key[1] = 8, key[9] = 44, key[19] = 16, key[24] = 1, key[25] = 1;
    ModelTables t;
    t.MPELND = {1, 9, 17};
    t.MELNOD = {1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 5, 4, 3, 2, 1};
    std::vector<double> data(32), nodal(32), coords(32);
    for (int i = 0; i < 32; ++i)
        data[std::size_t(i)] = i + 1.5, nodal[std::size_t(i)] = -(i + 1) * 1e-3, coords[std::size_t(i)] = i * 10.0;
    const std::int32_t elements[] = {2}, nodes[] = {4};
    SELPRT(key.data(), elements, data.data(), nodes, nodal.data(), coords.data(), t, kUnit);
    EXPECT_EQ(section(take(), "ELEMENT STRESSES", ""),
              "  ELEMENT STRESSES\n\n====================\n\n"
              "Element  Node       sigma_x         sigma_y          tau_xy\n \n"
              "     2      8     1.75000E+01     1.85000E+01     1.95000E+01\n"
              "            7     2.05000E+01     2.15000E+01     2.25000E+01\n"
              "            6     2.35000E+01     2.45000E+01     2.55000E+01\n"
              "            5     2.65000E+01     2.75000E+01     2.85000E+01\n\n\n"
              "=================\n\n  NODAL RESULTS\n\n=================\n\n"
              " Node   x_coord    y_coord      Displ. u      Displ. v        R_x          R_y\n \n"
              "    4   1.200E+02  1.300E+02 -1.30000E-02 -1.40000E-02 -1.50000E-02 -1.60000E-02\n \n \n");

    key[24] = 0, key[25] = 2;
    const std::int32_t two[] = {1, 8};
    SELPRT(key.data(), elements, data.data(), two, nodal.data(), coords.data(), t, kUnit);
    const std::string log = take();
    EXPECT_EQ(log.find("ELEMENT"), std::string::npos);
    EXPECT_EQ(section(log, "Problem log at bottom", "NODAL RESULTS"),
              "                        Problem log at bottom of file\n\n\n\n\n=================\n\n");
    EXPECT_EQ(section(log, " Node", ""),
              " Node   x_coord    y_coord      Displ. u      Displ. v        R_x          R_y\n \n"
              "    1   0.000E+00  1.000E+01 -1.00000E-03 -2.00000E-03 -3.00000E-03 -4.00000E-03\n"
              "    8   2.800E+02  2.900E+02 -2.90000E-02 -3.00000E-02 -3.10000E-02 -3.20000E-02\n \n \n");
}
