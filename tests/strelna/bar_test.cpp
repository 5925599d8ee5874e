#include "tests/bexlar/selection.h"
#include "tests/strelna/fe_fixture.h"
#include "tests/strelna/vector_values.h"
#include "tests/support/gl_context.h"
#include "tests/support/temp_files.h"

#include "glstyle/tincora.h"

#include <memory>
#include <vector>

using namespace fetest;

namespace {

class BarTest : public FETest {};

CSNode* Node3(double x, double y, double z)
{
    return new CSNode(x, y, z, nullptr, 0);
}

} // namespace

TEST_F(BarTest, DirectionAndLengthCountOnlyPresentEccentricities)
{
    struct Case {
        const char* name;
        std::vector<double> e1, e2; // empty: no eccentricity
        std::vector<double> dir;
    };
    const Case cases[] = {
        {"plain", {}, {}, {3, 4, 0}},
        {"end 2", {}, {0, 0, 1}, {3, 4, 1}},
        {"end 1", {1, 0, 0}, {}, {2, 4, 0}},
        {"both", {0, 0, 2}, {0, 0, 2}, {3, 4, 0}},
        {"short vector", {}, {1}, {4, 4, 0}},
    };
    for (const Case& c : cases) {
        CBarElm bar(Node3(0, 0, 0), Node3(3, 4, 0));
        if (!c.e1.empty())
            bar.SetEccent(1, new CVector(Vec(c.e1)));
        if (!c.e2.empty())
            bar.SetEccent(2, new CVector(Vec(c.e2)));
        CVector v;
        bar.DirVect(v);
        EXPECT_EQ(Values(&v), c.dir) << c.name;
        EXPECT_DOUBLE_EQ(bar.PhysicalSize(), v.Length()) << c.name;
    }
    CBarElm plain(Node3(0, 0, 0), Node3(3, 4, 0));
    EXPECT_DOUBLE_EQ(plain.PhysicalSize(), 5.0);
    EXPECT_EQ(plain.GetNode(0)->x, 0.0);
    EXPECT_EQ(plain.GetNode(1)->x, 3.0);
    EXPECT_EQ(plain.GetNode(0)->GetGraphList()->GetHead(), &plain);

    // Read-made elements have no nodes: a zero vector, never a crash.
    std::unique_ptr<CObject> empty(RUNTIME_CLASS(CBarElm)->CreateObject());
    CVector v(5, true, 7.0);
    static_cast<CBarElm*>(empty.get())->DirVect(v);
    EXPECT_EQ(Values(&v), (std::vector<double>{0, 0, 0}));
    EXPECT_DOUBLE_EQ(static_cast<CBarElm*>(empty.get())->PhysicalSize(), 0.0);
}

TEST_F(BarTest, DofUseKindAndDefaults)
{
    CBarElm bar(Node3(0, 0, 0), Node3(1, 0, 0));
    EXPECT_EQ(bar.GetKind(), 1);
    EXPECT_FALSE(bar.IsPointInElem(bar.GetNode(0)));
    EXPECT_EQ(Values(&bar.GetOrient()), (std::vector<double>{0, 0, 1}));
    EXPECT_EQ(bar.GetCrSect(), nullptr);

    struct Case {
        int dof, end;
        bool without, withEnd1;
    };
    const Case cases[] = {
        {1, 1, true, true},  {2, 1, true, true},   {3, 2, true, true},  {5, 1, false, true},
        {4, 2, false, false}, {6, 3, false, false}, {0, 1, false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bar.UsesDof(c.dof, c.end), c.without) << c.dof << "/" << c.end;
    bar.SetEccent(1, new CVector(3));
    for (const Case& c : cases)
        EXPECT_EQ(bar.UsesDof(c.dof, c.end), c.withEnd1) << c.dof << "/" << c.end;
    bar.SetEccent(1, nullptr);
    EXPECT_FALSE(bar.UsesDof(5, 1));

    // At most two result vectors take part in smoothing.
    CMatrix m(3, 9, true, 1.0);
    int row = 0;
    bar.SetStresses(m, row);
    EXPECT_EQ(bar.GetNumResVects(), 3);
    EXPECT_EQ(bar.GetNumExtResVects(), 2);
}

namespace {

// The object an archive holds, read back.
std::unique_ptr<CObject> LoadObject(const afxtest::Bytes& bytes)
{
    CObject* ob = nullptr;
    afxtest::loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    return std::unique_ptr<CObject>(ob);
}

} // namespace

TEST_F(BarTest, ArchiveIsTheElementThenTheSectionReference)
{
    CCrSectElm section;
    EXPECT_DOUBLE_EQ(section.GetParam(0), 0.0);
    EXPECT_DOUBLE_EQ(section.GetParam(17), 0.0);
    EXPECT_TRUE(afxtest::storeBytes([&](CArchive& ar) { section.Serialize(ar); }).empty());

    for (bool withSection : {true, false}) {
        afxtest::Bytes bytes;
        {
            CBarElm bar(Node3(0, 0, 0), Node3(3, 4, 0));
            bar.SetCrSect(withSection ? &section : nullptr);
            bar.SetEccent(2, new CVector(Vec({0, 0, 1})));
            const afxtest::Bytes got = afxtest::storeBytes([&](CArchive& ar) { bar.Serialize(ar); });
            const afxtest::Bytes expected = afxtest::storeBytes([&](CArchive& ar) {
                bar.CElement::Serialize(ar);
                ar << static_cast<CObject*>(bar.GetCrSect());
            });
            EXPECT_EQ(got, expected) << withSection;
            bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&bar); });
        }
        std::unique_ptr<CObject> owner = LoadObject(bytes);
        auto* bar = dynamic_cast<CBarElm*>(owner.get());
        ASSERT_NE(bar, nullptr);
        // The section was made by the archive and is not the bar's to delete.
        std::unique_ptr<CCrSectElm> read(bar->GetCrSect());
        EXPECT_EQ(read != nullptr, withSection);
        EXPECT_EQ(bar->GetCount(), 2);
        // Eccentricities are not stored.
        EXPECT_EQ(bar->GetEccent(2), nullptr);
        EXPECT_DOUBLE_EQ(bar->PhysicalSize(), 5.0);
        EXPECT_EQ(Values(&bar->GetOrient()), (std::vector<double>{0, 0, 1}));
    }
}

TEST_F(BarTest, AnySectionObjectIsKeptAndArchived)
{
    // Members of the beam family hand over sections of their own kind; the
    // bar keeps and archives them, and GetCrSect answers only for its own.
    CVector other(Vec({1, 2}));
    afxtest::Bytes bytes;
    {
        CBarElm bar(Node3(0, 0, 0), Node3(1, 0, 0));
        bar.SetCrSectObject(&other);
        EXPECT_EQ(bar.GetCrSectObject(), &other);
        EXPECT_EQ(bar.GetCrSect(), nullptr);
        bytes = afxtest::storeBytes([&](CArchive& ar) { ar << static_cast<CObject*>(&bar); });
    }
    std::unique_ptr<CObject> owner = LoadObject(bytes);
    auto* bar = dynamic_cast<CBarElm*>(owner.get());
    ASSERT_NE(bar, nullptr);
    std::unique_ptr<CObject> read(bar->GetCrSectObject());
    auto* vector = dynamic_cast<CVector*>(read.get());
    ASSERT_NE(vector, nullptr);
    EXPECT_EQ(Values(vector), (std::vector<double>{1, 2}));
    EXPECT_EQ(bar->GetCrSect(), nullptr);
}

// ------------------------------------------------------------ picking

namespace {

class BarPickTest : public brantel::test::GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        ResetElementStatics();
    }
};

} // namespace

TEST_F(BarPickTest, NamesMapBackToTheBarAndItsOwnNodes)
{
    ASSERT_TRUE(gl->ok());
    CSNode* a = Node3(-0.5, 0, 0);
    CSNode* b = Node3(0, 0.5, 0);
    CSNode* c = Node3(0.5, 0, 0);
    CBarElm first(a, b);
    CBarElm second(b, c); // b's primary graph is the first bar
    CSelectionNames& names = AfxGetSelectionNames();

    EXPECT_EQ(geomtest::HitOrder([&] { second.PickDrawAddressGL(1); }),
              (std::vector<GLuint>{names.NameOf(&second)}));
    const std::vector<GLuint> points = geomtest::HitOrder([&] { second.PickDrawAddressGL(2); });
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(names.ObjectOf(points[0]), c);
    GLfloat size = 0.0f;
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_FLOAT_EQ(size, static_cast<GLfloat>(LARGE_POINT));

    const std::vector<GLuint> both = geomtest::HitOrder([&] { first.PickDrawAddressGL(3); });
    ASSERT_EQ(both.size(), 3u);
    EXPECT_EQ(names.ObjectOf(both[0]), &first);
    EXPECT_EQ(names.ObjectOf(both[1]), a);
    EXPECT_EQ(names.ObjectOf(both[2]), b);
    EXPECT_TRUE(geomtest::HitOrder([&] { first.PickDrawAddressGL(4); }).empty());
}
