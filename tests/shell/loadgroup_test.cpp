// The node-load group page: the grid of loaded nodes it makes and the values
// it refuses.
#include "tests/shell/shell_fixture.h"

#include <cmath>

namespace
{

using namespace shelltest;
using afxui::headless::DialogDriver;
using afxui::headless::ModalScript;

using LoadGroupPage = ShellTest;

struct Grid {
    CObjMat nodes;
    ~Grid() { nodes.DeleteEntries(); }
    CBoundNode* At(int row, int col) { return static_cast<CBoundNode*>(nodes[row][col]); }
};

void Fill(CPPLoadGrp& page, int n, int m, double spacing, double angle, int type)
{
    page.m_nCols = n;
    page.m_nRows = m;
    page.m_dSpacing = spacing;
    page.m_dAngle = angle;
    page.m_iType = type;
    page.m_dLoad1 = 12.0;
    page.m_dLoad2 = -24.0;
}

TEST_F(LoadGroupPage, GridNodesAndSharedLoads)
{
    struct Case {
        int n, m, type;
        double angle;
        int rows;                                      // matrix rows
        std::vector<std::vector<double>> firstRow;     // (x, y) of matrix row 0
        std::vector<std::vector<double>> lastGridRow;  // (x, y) of the last grid row
    } cases[] = {
        {3, 2, 0, 0.0, 2, {{0, 0}, {10, 0}, {20, 0}}, {{0, 10}, {10, 10}, {20, 10}}},
        {3, 1, 0, 0.0, 1, {{0, 0}, {10, 0}, {20, 0}}, {{0, 0}, {10, 0}, {20, 0}}},
        {1, 3, 0, 0.0, 3, {{0, 0}}, {{0, 20}}},
        {2, 2, 1, 0.0, 4, {{0, 0}, {10, 0}}, {{0, 10}, {10, 10}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n " << c.n << " m " << c.m << " type " << c.type);
        CPPLoadGrp page;
        Fill(page, c.n, c.m, 10.0, c.angle, c.type);
        Grid grid;
        page.Generate(grid.nodes);
        ASSERT_EQ(grid.nodes.GetRows(), c.rows);
        ASSERT_EQ(grid.nodes.GetColumns(), c.n);
        const int entries = c.rows * c.n;
        const int last = (c.m - 1) * (c.type + 1);
        for (int i = 0; i < c.n; ++i) {
            EXPECT_NEAR(grid.At(0, i)->x, c.firstRow[i][0], 1e-12);
            EXPECT_NEAR(grid.At(0, i)->y, c.firstRow[i][1], 1e-12);
            EXPECT_NEAR(grid.At(last, i)->x, c.lastGridRow[i][0], 1e-12);
            EXPECT_NEAR(grid.At(last, i)->y, c.lastGridRow[i][1], 1e-12);
        }
        for (int r = 0; r < c.rows; ++r)
            for (int i = 0; i < c.n; ++i) {
                CLoad* load = grid.At(r, i)->GetLoad();
                ASSERT_NE(load, nullptr);
                ASSERT_EQ(load->GetSize(), 2);
                EXPECT_DOUBLE_EQ(load->GetValue(0), 12.0 / entries);
                EXPECT_DOUBLE_EQ(load->GetValue(1), -24.0 / entries);
            }
    }
}

TEST_F(LoadGroupPage, StaggeredPointsSitHalfAStepUpAndBack)
{
    CPPLoadGrp page;
        Fill(page, 2, 2, 10.0, 0.0, 1);
    Grid grid;
    page.Generate(grid.nodes);
    // Half of (row step (0, 10) minus point step (10, 0)).
    const double expected[2][2][2] = {{{-5, 5}, {5, 5}}, {{-5, 15}, {5, 15}}};
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
            EXPECT_NEAR(grid.At(2 * j + 1, i)->x, expected[j][i][0], 1e-12);
            EXPECT_NEAR(grid.At(2 * j + 1, i)->y, expected[j][i][1], 1e-12);
        }
}

TEST_F(LoadGroupPage, TurnedRowsStayOneSpacingApart)
{
    const double angle = 0.5;
    CPPLoadGrp page;
        Fill(page, 3, 3, 10.0, angle, 0);
    page.m_dX0 = 5.0;
    page.m_dY0 = -2.0;
    Grid grid;
    page.Generate(grid.nodes);
    const double dir[2] = {std::cos(angle), std::sin(angle)};
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) {
            CSNode* node = grid.At(j, i);
            const double rx = node->x - 5.0, ry = node->y + 2.0;
            // Along the row: i spacings; across: j spacings.
            EXPECT_NEAR(rx * dir[0] + ry * dir[1], i * 10.0 + j * 10.0 * std::tan(angle), 1e-9);
            EXPECT_NEAR(-rx * dir[1] + ry * dir[0], j * 10.0, 1e-9);
        }
}

TEST_F(LoadGroupPage, RefusesValuesThatMakeNoGridAndStaysOpen)
{
    const double right = std::acos(0.0);
    struct Case {
        int edit;
        const char* typed;
        int type;
        const char* message;
    } cases[] = {
        {CPPLoadGrp::IDC_COLS, "0", 0, "n and m must be whole numbers from 1 to 1000."},
        {CPPLoadGrp::IDC_ROWS, "-3", 0, "n and m must be whole numbers from 1 to 1000."},
        {CPPLoadGrp::IDC_COLS, "1", 1, "n and m must be whole numbers from 2 to 1000 for Type 2."},
        {CPPLoadGrp::IDC_ROWS, "1001", 0, "n and m must be whole numbers from 1 to 1000."},
        {CPPLoadGrp::IDC_SPACING, "0", 0, "Delta x must be greater than 0."},
        {CPPLoadGrp::IDC_ANGLE, "-1.5707963267949", 0,
         "The angle must not be +-90 degrees (|cos angle| must be at least 1e-6)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CPPLoadGrp page;
        Fill(page, 3, 3, 10.0, 0.0, 0);
        CPropertySheet sheet("Insert loadgroup");
        sheet.AddPage(&page);
        ModalScript script;
        script.Dialog(RUNTIME_CLASS(CPropertySheet), [&](DialogDriver& d, CDialog&) {
            d.Click(c.type == 1 ? CPPLoadGrp::IDC_TYPE2 : CPPLoadGrp::IDC_TYPE1);
            d.Type(c.edit, c.typed);
            d.PressOK(); // refused: the sheet stays open
            d.Type(CPPLoadGrp::IDC_COLS, "2");
            d.Type(CPPLoadGrp::IDC_ROWS, "2");
            d.Type(CPPLoadGrp::IDC_SPACING, "5");
            d.Type(CPPLoadGrp::IDC_ANGLE, "0.25");
            d.PressOK();
        });
        script.MessageBox(c.message);
        EXPECT_EQ(sheet.DoModal(), IDOK);
        script.Verify();
        EXPECT_EQ(page.m_nCols, 2);
        EXPECT_DOUBLE_EQ(page.m_dSpacing, 5.0);
    }
    // A caller that sets the values itself gets no grid rather than a
    // division by zero or entries that do not exist.
    const struct {
        int n, m;
        double spacing, angle;
        int type;
    } refused[] = {{0, 3, 10, 0, 0}, {-2, -2, 10, 0, 0}, {1, 4, 10, 0, 1}, {4, 1, 10, 0, 1},
                   {3, 3, 0, 0, 0},  {3, 3, 10, right, 0}, {3, 3, 10, -right, 0}};
    for (const auto& r : refused) {
        CPPLoadGrp page;
        Fill(page, r.n, r.m, r.spacing, r.angle, r.type);
        Grid grid;
        page.Generate(grid.nodes);
        EXPECT_EQ(grid.nodes.GetRows(), 0) << r.n << " " << r.m;
    }
}

TEST_F(LoadGroupPage, OpensWithTypeTwoAndCircles)
{
    CPPLoadGrp page;
    CPropertySheet sheet("Insert loadgroup");
    sheet.AddPage(&page);
    ModalScript script;
    script.Dialog(RUNTIME_CLASS(CPropertySheet), [](DialogDriver& d, CDialog&) {
        EXPECT_EQ(d.Check(CPPLoadGrp::IDC_TYPE2), 1);
        EXPECT_EQ(d.Check(CPPLoadGrp::IDC_CIRCLES), 1);
        EXPECT_EQ(d.Text(CPPLoadGrp::IDC_COLS), "0");
        d.PressCancel();
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    script.Verify();
}

} // namespace
