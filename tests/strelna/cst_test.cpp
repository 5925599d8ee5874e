#include "tests/strelna/fe_fixture.h"
#include "tests/strelna/vector_values.h"
#include "tests/support/temp_files.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace fetest;

namespace {

constexpr double kHalfPi = 1.5707963267948966;

class CSTTest : public FETest {
protected:
    void TearDown() override
    {
        CElement::m_pLoadMat = nullptr;
        CElement::pOutputFile = nullptr;
        CElement::m_iPrnSw = 0;
        CElement::m_vectStartDOF.Allocate(0, false, 0.0);
        FETest::TearDown();
    }
};

CBoundNode* BNode(double x, double y)
{
    return new CBoundNode(x, y, 0.0, nullptr, 0);
}

CMatrix Diag(double a, double b, double c)
{
    CMatrix d(3, 3, true, 0.0);
    d[0][0] = a;
    d[1][1] = b;
    d[2][2] = c;
    return d;
}

// k times the element displacement vector u (6 entries).
std::vector<double> Times(CMatrix& k, const std::vector<double>& u)
{
    std::vector<double> f(6, 0.0);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            f[i] += k[i][j] * u[j];
    return f;
}

double MaxAbs(const std::vector<double>& v)
{
    double m = 0.0;
    for (double x : v)
        m = std::max(m, std::fabs(x));
    return m;
}

// A DOF table with one row of two numbers per node.
void Table(CArrayArray<LONG>& dofs, const std::vector<std::pair<LONG, LONG>>& rows)
{
    dofs.Alloc(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        dofs.SetRowLength(i, 2);
        dofs[i][0] = rows[static_cast<std::size_t>(i)].first;
        dofs[i][1] = rows[static_cast<std::size_t>(i)].second;
    }
}

// Two unit squares side by side, each split into two triangles; the nodes
// are numbered 1 to 6 by SumNodes: (0,0), (1,0), (1,1), (0,1), (2,0), (2,1).
struct Patch {
    Patch()
    {
        n = {BNode(0, 0), BNode(1, 0), BNode(1, 1), BNode(0, 1), BNode(2, 0), BNode(2, 1)};
        mesh.AddElement(new CCST(n[0], n[1], n[2]));
        mesh.AddElement(new CCST(n[0], n[2], n[3]));
        mesh.AddElement(new CCST(n[1], n[4], n[5]));
        mesh.AddElement(new CCST(n[1], n[5], n[2]));
        long counter = 0;
        for (POSITION p = mesh.GetHeadPosition(); p;)
            mesh.GetNextElem(p)->SumNodes(counter, true);
    }
    template <class F>
    void ForElements(F f)
    {
        for (POSITION p = mesh.GetHeadPosition(); p;)
            f(static_cast<CCST*>(mesh.GetNextElem(p)));
    }
    CMeshOrganizer mesh;
    std::vector<CBoundNode*> n;
};

} // namespace

// ------------------------------------------------------------ stiffness

TEST_F(CSTTest, StiffnessOfTheUnitTriangle)
{
    CCST e(Node(0, 0), Node(1, 0), Node(0, 1));
    CMatrix k;
    CMatrix identity = Diag(1, 1, 1);
    e.Build_k(k, identity, true);
    ASSERT_EQ(k.GetRows(), 6);
    ASSERT_EQ(k.GetColumns(), 6);
    // (b1^2 + c1^2) / (4 A): the shear row counts too.
    EXPECT_DOUBLE_EQ(k[0][0], 1.0);

    // Without shear stiffness the x and y parts separate: b = (-1, 1, 0),
    // c = (-1, 0, 1), 4 A = 2.
    CMatrix noShear = Diag(1, 1, 0);
    e.Build_k(k, noShear, false);
    const double expected[6][6] = {
        {0.5, 0, -0.5, 0, 0, 0},  {0, 0.5, 0, 0, 0, -0.5}, {-0.5, 0, 0.5, 0, 0, 0},
        {0, 0, 0, 0, 0, 0},       {0, 0, 0, 0, 0, 0},      {0, -0.5, 0, 0, 0, 0.5},
    };
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_DOUBLE_EQ(k[i][j], expected[i][j]) << i << "," << j;
}

TEST_F(CSTTest, StiffnessHasTheRigidBodyModesOnAnyTriangle)
{
    struct Case {
        const char* name;
        double x[3], y[3];
    };
    const Case cases[] = {
        {"counter-clockwise", {0.3, 2.1, 0.9}, {-0.4, 0.2, 1.7}},
        {"clockwise", {0.3, 0.9, 2.1}, {-0.4, 1.7, 0.2}},
    };
    CMatrix d;
    CCST::ResistMaterial(d);
    for (const Case& c : cases) {
        CCST e(Node(c.x[0], c.y[0]), Node(c.x[1], c.y[1]), Node(c.x[2], c.y[2]));
        CMatrix k;
        e.Build_k(k, d, true);
        for (int i = 0; i < 6; ++i) {
            // A stiffness, whichever way round the corners run.
            EXPECT_GT(k[i][i], 0.0) << c.name;
            for (int j = 0; j < 6; ++j)
                EXPECT_EQ(k[i][j], k[j][i]) << c.name;
        }
        std::vector<double> tx, ty, rot;
        for (int i = 0; i < 3; ++i) {
            tx.insert(tx.end(), {1.0, 0.0});
            ty.insert(ty.end(), {0.0, 1.0});
            rot.insert(rot.end(), {-c.y[i], c.x[i]});
        }
        const double scale = 1e-9 * k[0][0];
        EXPECT_LT(MaxAbs(Times(k, tx)), scale) << c.name;
        EXPECT_LT(MaxAbs(Times(k, ty)), scale) << c.name;
        EXPECT_LT(MaxAbs(Times(k, rot)), scale) << c.name;
    }
    // Corners on one line: no stiffness at all rather than an infinite one.
    CCST flat(Node(0, 0), Node(1, 1), Node(2, 2));
    CMatrix k;
    flat.Build_k(k, d, true);
    EXPECT_EQ(MaxAbs(Values(&k)), 0.0);
}

TEST_F(CSTTest, NodeDirectionsTurnTheStiffness)
{
    // Node 1's local x axis lies at 30 degrees. A rigid translation along
    // global x, given in node 1's local directions, still gives no forces.
    const double a = kHalfPi / 3.0;
    CBoundNode* first = BNode(0.2, 0.1);
    CCST e(first, Node(1.5, 0.3), Node(0.4, 1.2));
    CMatrix d;
    CCST::ResistMaterial(d);
    CMatrix plain;
    e.Build_k(plain, d, false);
    first->SetAngle(a, 0);
    CMatrix unrotated, k;
    e.Build_k(unrotated, d, true);
    e.Build_k(k, d, false);
    EXPECT_EQ(Values(&unrotated), Values(&plain));

    const std::vector<double> local = {std::cos(a), -std::sin(a), 1, 0, 1, 0};
    EXPECT_LT(MaxAbs(Times(k, local)), 1e-9 * k[0][0]);
    EXPECT_GT(MaxAbs(Times(plain, local)), 1e-3 * k[0][0]);
    // Only node 1's rows and columns change.
    for (int i = 2; i < 6; ++i)
        for (int j = 2; j < 6; ++j)
            EXPECT_EQ(k[i][j], plain[i][j]);
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j)
            EXPECT_NEAR(k[i][j], k[j][i], 1e-9 * k[0][0]);
}

TEST_F(CSTTest, RotatedStiffnessIsPrintedAtPrintLevelThree)
{
    CBoundNode* first = BNode(0, 0);
    CCST e(first, Node(1, 0), Node(0, 1));
    first->SetAngle(kHalfPi, 0);
    CMatrix d = Diag(1, 1, 1);
    for (int level : {2, 3}) {
        CMatrix k;
        const std::string text = zelkortest::WrittenText([&](CFile* f) {
            CElement::pOutputFile = f;
            CElement::m_iPrnSw = level;
            e.Build_k(k, d, false);
            CElement::pOutputFile = nullptr;
        });
        if (level == 2) {
            EXPECT_TRUE(text.empty());
            continue;
        }
        const std::string table = zelkortest::WrittenText(
            [&](CFile* f) { k.WriteASCII(f, "", "", 14, 6, 1, false, false); });
        const std::string head =
            " Rotated stiffness matrix for CST-element " + std::to_string(e.GetID()) + ":\r\n";
        EXPECT_EQ(text, head + table);
        EXPECT_NE(table.find("1.000000e+00"), std::string::npos);
    }
}

// ------------------------------------------------------------ assembly

TEST_F(CSTTest, EveryStorageGetsTheSameGlobalMatrix)
{
    Patch patch;
    // Node 1 is held: its DOFs have no numbers.
    CArrayArray<LONG> dofs;
    Table(dofs, {{-1, -1}, {0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}});
    constexpr int n = 10;
    CMatrix d = Diag(1, 1, 0);
    CVector load(n, true, 3.0);

    CMatrix dense(n, n, true, 0.0);
    CSparseMatrix sparse;
    int dims[2] = {n, n};
    sparse.Allocate(dims, 2);
    const bool sym = CVirtMat::m_bSym;
    CVirtMat::m_bSym = false;
    CSystSpMat system(n);
    CSkylineMatrix skyline;
    int profile[2] = {n, n * (n + 1) / 2};
    ASSERT_TRUE(skyline.Allocate(profile, 2));
    patch.ForElements([&](CCST* e) {
        e->AddElmt(dense, d, &load, dofs);
        e->AddElmt(sparse, d, &load, dofs);
        e->AddElmt(system, d, &load, dofs);
        e->AddElmt(skyline, d, &load, dofs);
    });
    CVirtMat::m_bSym = sym;

    EXPECT_EQ(Values(&load), std::vector<double>(n, 3.0));
    // x-x of node 3 = b^2 / (4 A) from the two elements whose b there is +-1.
    EXPECT_DOUBLE_EQ(dense[2][2], 1.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            EXPECT_EQ(dense[i][j], dense[j][i]);
            const double* s = sparse.GetValue(i, j);
            const double* y = system.GetValue(i, j);
            EXPECT_EQ(s ? *s : 0.0, dense[i][j]) << i << "," << j;
            EXPECT_EQ(y ? *y : 0.0, dense[i][j]) << i << "," << j;
            if (i <= j) {
                EXPECT_EQ(skyline(i, j), dense[i][j]) << i << "," << j;
            }
        }
}

TEST_F(CSTTest, NumberOfDofsIsRaisedToTwo)
{
    CCST e(Node(0, 0), Node(1, 0), Node(0, 1));
    long counter = 0;
    e.SumNodes(counter, true);
    CElement::m_vectStartDOF = Vec({0, 3, 1, 0});
    e.SetNumDOFs();
    EXPECT_EQ(Values(&CElement::m_vectStartDOF), (std::vector<double>{0, 3, 2, 2}));
    // A number beyond the vector makes it longer.
    e.GetNode(2)->SetID(5);
    e.SetNumDOFs();
    EXPECT_EQ(Values(&CElement::m_vectStartDOF), (std::vector<double>{0, 3, 2, 2, 0, 2}));
}

// ------------------------------------------------------------ solution

TEST_F(CSTTest, DisplacementsIntoElementResults)
{
    CCST e(Node(0, 0), Node(1, 0), Node(0, 1));
    long counter = 0;
    e.SumNodes(counter, true);
    CArrayArray<LONG> dofs;
    Table(dofs, {{-1, -1}, {0, 1}, {2, 3}});
    CMatrix solution(4, 1, true, 0.0);
    solution[0][0] = 0.5;  // node 2 x
    solution[1][0] = -1.0; // node 2 y
    solution[2][0] = 2.0;  // node 3 x
    CMatrix stresses(3, 9, true, 4.0);
    int row = 0;
    e.SetStresses(stresses, row);

    // Nothing without a solution or for a third component.
    e.AddDispl(dofs, 0, 0, 1.0);
    CElement::m_pLoadMat = &solution;
    e.AddDispl(dofs, 0, 2, 1.0);
    EXPECT_EQ(e.GetRes(0, 0), 4.0);

    // Old entry plus factor times the solution; a held DOF gives 0.
    e.AddDispl(dofs, 0, 0, 2.0);
    e.AddDispl(dofs, 1, 1, 1.0);
    struct Case {
        int node, entry;
        double value;
    };
    const Case cases[] = {
        {0, 0, 0.0}, {1, 0, 5.0}, {2, 0, 8.0}, {0, 1, 0.0}, {1, 1, 3.0}, {2, 1, 4.0}, {1, 2, 4.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(e.GetRes(c.node, c.entry), c.value) << c.node << "/" << c.entry;

    // An element without results gets them.
    CCST bare(e.GetNode(0), e.GetNode(1), e.GetNode(2));
    bare.AddDispl(dofs, 3, 0, 1.0);
    ASSERT_EQ(bare.GetNumResVects(), 3);
    EXPECT_EQ(Values(bare.GetRes(2)), (std::vector<double>{0, 0, 0, 2.0, 0, 0, 0, 0, 0}));
}

TEST_F(CSTTest, DisplacementsIntoNodeValuesTurnBackToGlobal)
{
    // Node 1 is turned by 90 degrees and prescribed 0.25 along its local
    // x; node 2 is turned by 90 degrees and free; node 3 is plain; node 4
    // belongs to an earlier element.
    CBoundNode* n1 = BNode(0, 0);
    CBoundNode* n2 = BNode(1, 0);
    CSNode* n3 = Node(1, 1);
    CSNode* n4 = Node(0, 1);
    CCST other(n4, Node(-1, 1), Node(-1, 0));
    CCST e(n1, n2, n4);
    CCST e2(n2, n3, n4);
    n1->SetAngle(kHalfPi, 0);
    n1->GetBC(0)->SetBC(1, 0.25);
    n2->SetAngle(kHalfPi, 0);
    long counter = 0;
    other.SumNodes(counter, true);
    e.SumNodes(counter, true);
    e2.SumNodes(counter, true);
    // Numbers: n4 1, two of other 2 and 3, n1 4, n2 5, n3 6.
    CArrayArray<LONG> dofs;
    Table(dofs, {{0, 1}, {2, 3}, {4, 5}, {-1, -1}, {6, 7}, {8, 9}});
    CMatrix solution(10, 1, true, 0.0);
    for (int i = 0; i < 10; ++i)
        solution[i][0] = 1.0 + i;
    CElement::m_pLoadMat = &solution;
    n2->SetValue(10.0, 1);

    // x goes to node value 1, y to node value 2.
    const int step = CElement::m_nNodeVal + 1;
    for (int col : {0, 1}) {
        e.AddDispl(dofs, step + col, col, 2.0);
        e2.AddDispl(dofs, step + col, col, 1.0);
    }
    struct Case {
        CSNode* node;
        int index;
        double value;
    };
    const Case cases[] = {
        // Local (0.25, 0) is global (0, 0.25).
        {n1, 1, 0.0},
        {n1, 2, 0.5},
        // Local (7, 8) is global (-8, 7); x adds to the old 10.
        {n2, 1, 10.0 - 16.0},
        {n2, 2, 14.0},
        {n3, 1, 9.0},
        {n3, 2, 10.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(c.node->GetValue(c.index), c.value, 1e-12) << c.node->GetID() << "/" << c.index;
    // Another element speaks for node 4.
    EXPECT_EQ(n4->GetValueVector(), nullptr);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[step], 9.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMinStress[step], -6.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMaxStress[step + 1], 14.0);
    EXPECT_DOUBLE_EQ(CElement::m_strMinStress[step + 1], 0.0);
}

TEST_F(CSTTest, ResistingForcesVanishUnderRigidTranslation)
{
    Patch patch;
    CArrayArray<LONG> dofs;
    Table(dofs, {{-1, -1}, {0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}});
    CMatrix u(10, 1, true, 0.0);
    for (int i = 0; i < 10; ++i)
        u[i][0] = i % 2 == 0 ? 1.0 : 0.5;

    // Node 1 held in place: its elements resist the translation of the rest.
    CMatrix r(10, 1, true, 0.0);
    patch.ForElements([&](CCST* e) { e->GetResist(r, u, dofs); });
    EXPECT_GT(MaxAbs(Values(&r)), 1.0);

    // Node 1 prescribed to move with the rest: nothing resists.
    patch.n[0]->SetStandBC(16, 0);
    patch.n[0]->GetBC(0)->SetBC(1, 1.0);
    patch.n[0]->GetBC(0)->SetBC(2, 0.5);
    r = 0.0;
    patch.ForElements([&](CCST* e) { e->GetResist(r, u, dofs); });
    EXPECT_LT(MaxAbs(Values(&r)), 1e-9);
}

TEST_F(CSTTest, ResistingForcesUseThePlaneStressMaterial)
{
    CCST e(Node(0, 0), Node(1, 0), Node(0, 1));
    long counter = 0;
    e.SumNodes(counter, true);
    CArrayArray<LONG> dofs;
    Table(dofs, {{0, 1}, {2, 3}, {-1, 4}});
    CMatrix u(5, 1, true, 0.0);
    u[2][0] = 1.0; // node 2 along x
    CMatrix r(5, 1, true, 1.0);
    e.GetResist(r, u, dofs);
    // Column x2 of k with E' = 230769.23 and f = E' / 2: b = (-1, 1, 0),
    // c = (-1, 0, 1), and no shear since c2 = 0. Node 3's x has no number.
    const double f = 230769.23076923075 / 2.0;
    const std::vector<double> expected = {1.0 - f, 1.0 - 0.3 * f, 1.0 + f, 1.0, 1.0 + 0.3 * f};
    const std::vector<double> got = Values(&r);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i], 1e-9 * f) << i;
}

// ------------------------------------------------------------ refinement

TEST_F(CSTTest, UniformRefinementGivesFourQuarterTriangles)
{
    CSNode* a = Node(0, 0);
    CSNode* b = Node(4, 0);
    CSNode* c = Node(0, 2);
    auto* e = new CCST(a, b, c);
    e->SetName("web");
    CObList out(10);
    e->RefineUniform(1, &out);
    ASSERT_EQ(out.GetCount(), 4);
    std::vector<CElement*> parts;
    for (POSITION p = out.GetHeadPosition(); p;)
        parts.push_back(static_cast<CElement*>(out.GetNext(p)));
    for (CElement* part : parts) {
        EXPECT_EQ(part->GetRuntimeClass(), RUNTIME_CLASS(CCST));
        EXPECT_EQ(part->GetName(), CString("web"));
        EXPECT_DOUBLE_EQ(part->PhysicalSize(), 1.0);
    }
    CSNode* m12 = parts[0]->GetNode(1);
    CSNode* m31 = parts[0]->GetNode(2);
    CSNode* m23 = parts[1]->GetNode(2);
    const std::vector<std::vector<CSNode*>> corners = {
        {a, m12, m31}, {m12, b, m23}, {m12, m23, m31}, {m31, m23, c}};
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(parts[i]->GetNode(k), corners[i][static_cast<std::size_t>(k)]) << i << "/" << k;
    EXPECT_DOUBLE_EQ(m12->x, 2.0);
    EXPECT_DOUBLE_EQ(m12->y, 0.0);
    EXPECT_DOUBLE_EQ(m23->x, 2.0);
    EXPECT_DOUBLE_EQ(m23->y, 1.0);
    EXPECT_DOUBLE_EQ(m31->x, 0.0);
    EXPECT_DOUBLE_EQ(m31->y, 1.0);
    for (CElement* part : parts)
        delete part;
    delete e;
}
