// The example documents: regenerated through the document classes they
// match the committed files byte for byte, and each opens and gives its
// known answer.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>

#include "app/shell/materialdlgs.h"
#include "examples/samples.h"
#include "tests/shell/shell_fixture.h"

namespace
{

using namespace shelltest;

class Samples : public ShellTest
{
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "samples_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder); // the solver's logs land here
    }
    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
        ShellTest::TearDown();
    }
    static std::string Committed(const char* file)
    {
        const char* root = std::getenv("BRANTEL_SOURCE_DIR");
        return std::string(root ? root : ".") + "/examples/" + file;
    }
    static Bytes Read(const std::string& path)
    {
        CFile f(path.c_str(), CFile::modeRead);
        Bytes bytes(static_cast<std::size_t>(f.GetLength()));
        f.Read(bytes.data(), static_cast<UINT>(bytes.size()));
        return bytes;
    }
    std::string m_folder;
    std::filesystem::path m_previous;
};

TEST_F(Samples, RegeneratedSamplesMatchTheCommittedFiles)
{
    ASSERT_TRUE(samples::WriteAll(m_folder));
    for (const samples::Sample& s : samples::All()) {
        SCOPED_TRACE(s.file);
        EXPECT_EQ(Read(m_folder + "/" + s.file), Read(Committed(s.file)))
            << "run brantel_samples in examples/ after changing the samples";
    }
}

// Each sample reopened in a document of its class, meshed and analysed.
// The answers: the plate's deflection (result 5) against Navier's
// 0.00406 q a^4 / D = 0.2112 mm, the membrane's sigma_x (result 0) of
// exactly 2.0, and the buckling stress (result 5) against k pi^2 D / (b^2 t)
// with k = 4, 75.92 N/mm^2.
TEST_F(Samples, EachSampleOpensAndGivesItsAnswer)
{
    const double D = 210000.0 * 1000.0 / (12.0 * (1.0 - 0.09));
    const double pi2 = std::numbers::pi * std::numbers::pi;
    const struct {
        int result;
        double expected, tolerance;
    } answers[] = {{5, 0.00406235 * 0.001 * 1e12 / D, 5e-3},
                   {0, 2.0, 1e-9},
                   {5, 4.0 * pi2 * D / (1e6 * 10.0), 1e-4}};
    ASSERT_EQ(samples::All().size(), std::size(answers));
    for (std::size_t i = 0; i < std::size(answers); ++i) {
        const samples::Sample& s = samples::All()[i];
        SCOPED_TRACE(s.file);
        std::unique_ptr<CBrantelDoc> doc = s.make(); // a document of the sample's class
        ASSERT_TRUE(doc->OnOpenDocument(Committed(s.file).c_str()));
        ASSERT_EQ(doc->m_pSectComp->GetCount(), 1);
        doc->UpdateStatics(true);
        CPlateComp* comp = doc->GetPlateComp();
        CStringArray log, errors;
        ASSERT_TRUE(comp->PreCalc(&log, &errors, 0));
        ASSERT_TRUE(comp->Calculate(&log, &errors)) << (errors.GetSize() ? errors[0].GetString() : "");
        const double expected = answers[i].expected;
        EXPECT_NEAR(comp->GetMaxVal(answers[i].result), expected, answers[i].tolerance * expected);
        doc->UpdateStatics(false);
    }
}

// The buckling sample after Steel's modulus was halved in the materials
// dialog (210000 -> 105000 N/mm^2, the stored shear modulus 80769 left as
// it was) buckles at half the stress, 37.96 N/mm^2, as a material whose
// shear modulus agrees with the new modulus, or has none, does: the plate
// and membrane stiffness of an isotropic material follows E and nu alone.
TEST_F(Samples, BucklingFollowsAnEditedModulusOfAnIsotropicMaterial)
{
    const samples::Sample& s = samples::All()[2];
    const double D = 105000.0 * 1000.0 / (12.0 * (1.0 - 0.09));
    const double expected = 4.0 * std::numbers::pi * std::numbers::pi * D / (1e6 * 10.0);
    ASSERT_NEAR(expected, 37.96, 0.005);
    const double stored[] = {-1.0, 0.0, 105000.0 / 2.6}; // -1: as the file holds it
    double first = 0.0;
    for (double shear : stored) {
        SCOPED_TRACE(shear);
        std::unique_ptr<CBrantelDoc> doc = s.make();
        ASSERT_TRUE(doc->OnOpenDocument(Committed(s.file).c_str()));
        doc->UpdateStatics(true);
        CPlateComp* comp = doc->GetPlateComp();
        CMaterial* steel = nullptr;
        CObList& materials = comp->GetMaterialList();
        for (POSITION p = materials.GetHeadPosition(); p;)
            if (auto* m = static_cast<CMaterial*>(materials.GetNext(p)); m->GetName() == "Steel")
                steel = m;
        ASSERT_NE(steel, nullptr);
        ASSERT_GT(steel->GetModOfShear(), 80000.0);
        steel->SetModOfElast(105000.0);
        if (shear >= 0.0)
            steel->SetModOfShear(shear);
        CStringArray log, errors;
        ASSERT_TRUE(comp->PreCalc(&log, &errors, 0));
        ASSERT_TRUE(comp->Calculate(&log, &errors)) << (errors.GetSize() ? errors[0].GetString() : "");
        const double factor = comp->GetMaxVal(5);
        EXPECT_NEAR(factor, expected, 1e-4 * expected);
        if (shear < 0.0)
            first = factor;
        else
            EXPECT_NEAR(factor, first, 1e-9 * first);
        doc->UpdateStatics(false);
    }
}

// The committed samples' materials hold the values of the materials
// dialog's preset of the same name, as a user who picks the preset gets
// them (Steel's density 7.85e-06 kg/mm^3 gives the self-weight 7.7e-05
// N/mm^3).
TEST_F(Samples, SampleMaterialsHoldThePresetValues)
{
    for (const samples::Sample& s : samples::All()) {
        SCOPED_TRACE(s.file);
        std::unique_ptr<CBrantelDoc> doc = s.make();
        ASSERT_TRUE(doc->OnOpenDocument(Committed(s.file).c_str()));
        CObList& materials = doc->GetPlateComp()->GetMaterialList();
        int checked = 0;
        for (POSITION p = materials.GetHeadPosition(); p;) {
            auto* m = static_cast<CMaterial*>(materials.GetNext(p));
            const CMaterialDialog::Preset* preset = nullptr;
            for (const CMaterialDialog::Preset& candidate : CMaterialDialog::kPresets)
                if (m->GetName() == candidate.name)
                    preset = &candidate;
            if (!preset)
                continue; // the document's own default material
            SCOPED_TRACE(preset->name);
            EXPECT_EQ(m->GetModOfElast(), preset->values[0]);
            EXPECT_EQ(m->GetModOfShear(), preset->values[1]);
            EXPECT_EQ(m->GetNu(), preset->values[2]);
            EXPECT_EQ(m->GetRho(), preset->values[3]);
            EXPECT_EQ(m->GetLambda(), preset->values[4]);
            ++checked;
        }
        EXPECT_GE(checked, 1) << "the sample uses no preset material";
    }
}

} // namespace
