#include "platform/ferrand/ferrand.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <memory>

#include "matrix/zelkor.h"
#include "tests/support/gl_context.h"
#include "tests/zelkor/files.h"

namespace {

using zelkortest::LoadBytes;
using zelkortest::StoreBytes;

CMaterial Steel()
{
    return CMaterial("Steel", 7.85e-06, 210000.0, 80769.2308, 0.3, 1.2e-05);
}

std::vector<double> Row(const CMatrix& m, int row)
{
    std::vector<double> r;
    for (int c = 0; c < m.GetColumns(); ++c)
        r.push_back(m.GetValue(row, c));
    return r;
}

TEST(Material, InsertPropWritesTheSolverRowAndAdvances)
{
    CMatrix m(3, 7);
    int row = 1;
    CMaterial steel = Steel();
    steel.InsertProp(m, row, 2);
    EXPECT_EQ(row, 2);
    std::vector<double> written = Row(m, 1);
    EXPECT_DOUBLE_EQ(written[3], 210000.0 / 2.6);
    written[3] = 0.0;
    EXPECT_EQ(written, (std::vector<double>{210000, 210000, 0.3, 0, 7.85e-06, 1.2e-05, 0}));
    EXPECT_EQ(Row(m, 0), std::vector<double>(7, 0.0));
    EXPECT_EQ(Row(m, 2), std::vector<double>(7, 0.0));

    COrthoMat ortho("Timber", 5e-7, 11000.0, 370.0, 690.0, 0.35, 0.02, 5e-6);
    ortho.InsertProp(m, row, 2);
    EXPECT_EQ(row, 3);
    EXPECT_EQ(Row(m, 2), (std::vector<double>{11000, 370, 0.35, 690, 5e-7, 5e-6, 0}));
}

// An isotropic material gives the solver the shear stiffness of its modulus
// and Poisson's ratio, E / (2 (1 + nu)), whatever shear modulus it stores:
// none (the document's "Default"), a preset's rounded value, or the value of
// a modulus the user has since edited. The stored value stays as given.
TEST(Material, IsotropicShearStiffnessFollowsModulusAndPoisson)
{
    struct Case {
        double e, stored, nu;
    } cases[] = {
        {210000.0, 0.0, 0.3},           // "Default"
        {210000.0, 80769.2308, 0.3},    // Steel as stored
        {105000.0, 80769.2308, 0.3},    // Steel after its E was halved
        {30000.0, 11314.29, 0.225},     // the Concrete preset's values
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.e);
        CMaterial def("Iso", 7.85e-06, c.e, c.stored, c.nu, 1.2e-05);
        CMatrix m(1, 7);
        int row = 0;
        def.InsertProp(m, row, 2);
        EXPECT_NEAR(m.GetValue(0, 3), c.e / (2.0 * (1.0 + c.nu)), 1e-9 * c.e);
        EXPECT_EQ(def.GetModOfShear(), c.stored);
    }
    // An orthotropic material writes what the user set.
    CMatrix m(1, 7);
    int row = 0;
    COrthoMat ortho("O", 1e-6, 100.0, 50.0, 0.0, 0.3, 0.1, 1e-5);
    ortho.InsertProp(m, row, 2);
    EXPECT_EQ(m.GetValue(0, 3), 0.0);
}

TEST(Material, ParametersFlagsAndCopies)
{
    CMaterial steel = Steel();
    COrthoMat ortho("O", 1e-6, 100.0, 50.0, 40.0, 0.3, 0.1, 1e-5);
    ortho.SetLambda90(2e-5);
    struct Case {
        unsigned index;
        double iso;
        double orth;
    } cases[] = {{1, 210000, 100}, {2, 210000, 50}, {11, 1.2e-05, 1e-5},
                 {12, 1.2e-05, 2e-5}, {3, 0, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(steel.dGetParam(c.index), c.iso) << c.index;
        EXPECT_EQ(ortho.dGetParam(c.index), c.orth) << c.index;
    }

    EXPECT_FALSE(steel.IsFlagBit(2));
    EXPECT_TRUE(ortho.IsFlagBit(2));
    steel.AddFlagBit(CMaterial::kBaseMaterialBit);
    EXPECT_TRUE(steel.IsFlagBit(0x80000000u));

    ortho.SetColor(0.1, 0.2, 0.3);
    ortho.AddElem();
    std::unique_ptr<CMaterial> copy(ortho.Copy());
    ASSERT_TRUE(copy->IsKindOf(RUNTIME_CLASS(COrthoMat)));
    EXPECT_EQ(copy->GetElemCount(), 0);
    EXPECT_EQ(copy->GetName(), "O");
    EXPECT_EQ(copy->dGetParam(2), 50.0);
    EXPECT_EQ(copy->dGetParam(12), 2e-5);
    EXPECT_EQ(copy->GetBlue(), 0.3);
    EXPECT_TRUE(copy->IsFlagBit(2));
}

TEST(Material, UseCountNeverGoesBelowZero)
{
    CMaterial m = Steel();
    m.AddElem();
    m.AddElem();
    m.RemoveElem();
    EXPECT_EQ(m.GetElemCount(), 1);
    m.RemoveElem();
    m.RemoveElem();
    EXPECT_EQ(m.GetElemCount(), 0);
}

// A material shared by two users is written once, then by reference; the
// loaded one is one object with every value and its class, and its use
// count comes only from the users that add themselves after loading.
TEST(MaterialArchive, SharedMaterialRoundTripsOnce)
{
    COrthoMat ortho("Timber", 5e-7, 11000.0, 370.0, 690.0, 0.35, 0.02, 5e-6);
    ortho.SetLambda90(3e-5);
    ortho.SetColor(0.25, 0.5, 0.75);
    ortho.SetSat(0.4);
    ortho.AddFlagBit(CMaterial::kBaseMaterialBit);
    ortho.SetID(3);
    ortho.AddElem();
    ortho.AddElem();
    CMaterial steel = Steel();

    const std::string bytes = StoreBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&ortho) << static_cast<CObject*>(&steel)
           << static_cast<CObject*>(&ortho);
    });
    const std::string once = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&ortho); });
    // The second reference is a two-byte object index.
    const std::string steelOnly = StoreBytes([&](CArchive& ar) {
        ar << static_cast<CObject*>(&steel);
    });
    EXPECT_LT(bytes.size(), once.size() + steelOnly.size() + 3);

    CObject* a = nullptr;
    CObject* b = nullptr;
    CObject* c = nullptr;
    LoadBytes(bytes, [&](CArchive& ar) { ar >> a >> b >> c; });
    std::unique_ptr<CObject> ownA(a), ownB(b);
    ASSERT_EQ(a, c);
    auto* loaded = dynamic_cast<COrthoMat*>(a);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->GetName(), "Timber");
    EXPECT_EQ(loaded->GetRho(), 5e-7);
    EXPECT_EQ(loaded->GetModOfElast(), 11000.0);
    EXPECT_EQ(loaded->GetModOfElast90(), 370.0);
    EXPECT_EQ(loaded->GetModOfShear(), 690.0);
    EXPECT_EQ(loaded->GetNu(), 0.35);
    EXPECT_EQ(loaded->GetNu90(), 0.02);
    EXPECT_EQ(loaded->GetLambda(), 5e-6);
    EXPECT_EQ(loaded->GetLambda90(), 3e-5);
    EXPECT_EQ(loaded->GetRed(), 0.25);
    EXPECT_EQ(loaded->GetGreen(), 0.5);
    EXPECT_EQ(loaded->GetBlue(), 0.75);
    EXPECT_EQ(loaded->GetSat(), 0.4);
    EXPECT_EQ(loaded->GetFlag(), CMaterial::kBaseMaterialBit | 2u);
    EXPECT_EQ(loaded->GetID(), 3);
    EXPECT_EQ(loaded->GetElemCount(), 0);
    loaded->AddElem();
    loaded->AddElem();
    EXPECT_EQ(loaded->GetElemCount(), 2);

    auto* plain = dynamic_cast<CMaterial*>(b);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->IsKindOf(RUNTIME_CLASS(COrthoMat)));
    EXPECT_EQ(plain->GetName(), "Steel");
    EXPECT_EQ(plain->GetModOfShear(), 80769.2308);
}

TEST(MaterialArchive, TruncatedArchiveThrows)
{
    CMaterial steel = Steel();
    std::string bytes = StoreBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&steel); });
    bytes.resize(bytes.size() - 5);
    CObject* p = nullptr;
    EXPECT_THROW(LoadBytes(bytes,
                           [&](CArchive& ar) {
                               try {
                                   ar >> p;
                               } catch (const CArchiveException&) {
                                   // The whole load is thrown away: free what it made.
                                   for (CObject* ob : ar.GetCreatedObjects())
                                       delete ob;
                                   throw;
                               }
                           }),
                 CArchiveException);
}

using MaterialGL = brantel::test::GLTest;

TEST_F(MaterialGL, ColourAndInverse)
{
    CMaterial m = Steel();
    m.SetColor(0.2, 0.4, 1.0);
    GLdouble colour[4];
    m.GLColor();
    glGetDoublev(GL_CURRENT_COLOR, colour);
    EXPECT_NEAR(colour[0], 0.2, 1e-6);
    EXPECT_NEAR(colour[1], 0.4, 1e-6);
    EXPECT_NEAR(colour[2], 1.0, 1e-6);
    m.GLInvertColor();
    glGetDoublev(GL_CURRENT_COLOR, colour);
    EXPECT_NEAR(colour[0], 0.8, 1e-6);
    EXPECT_NEAR(colour[1], 0.6, 1e-6);
    EXPECT_NEAR(colour[2], 0.0, 1e-6);
}

} // namespace
