// Plate region text format: the exact bytes of an export, the parameter
// block of an import, the file position after each region, and round trips
// of several regions.
#include <string>

#include "tests/analysis/plate_fixture.h"
#include "tests/support/temp_files.h"

using namespace platetest;

namespace {

const char kSection[] = "\xA7Section";
const char kEnd[] = "\xA7" "End";

CStringArray Markers(const char* start, const char* end, const char* label = nullptr)
{
    CStringArray m;
    m.Add(start);
    m.Add(end);
    if (label)
        m.Add(label);
    return m;
}

std::vector<double> Values(const CVector& v)
{
    std::vector<double> out;
    for (int i = 0; i < v.GetSize(); ++i)
        out.push_back(const_cast<CVector&>(v)[i]);
    return out;
}

std::vector<std::pair<double, double>> Outline(const CSectPlate& region)
{
    std::vector<std::pair<double, double>> out;
    for (POSITION p = region.GetHeadPosition(); p;) {
        const CSNode* n = region.GetNextNode(p);
        out.emplace_back(n->x, n->y);
    }
    return out;
}

// The text that the region's export writes into a fresh file.
std::string Exported(CSectPlate& region, CStringArray markers, std::vector<int> options = {1, 2},
                     std::vector<double> scales = {})
{
    return zelkortest::WrittenText([&](CFile* f) {
        region.ASCIIExportGraph(*f, markers, options.data(), static_cast<int>(options.size()),
                                scales.empty() ? nullptr : scales.data(),
                                static_cast<int>(scales.size()));
    });
}

class PlateTextTest : public PlateTest {
protected:
    // Imports one region from the file's current position into region.
    int Import(CSectPlate& region, CFile& file, CStringArray markers,
               std::vector<double> scales = {})
    {
        ASCII_SETTING set;
        set.m_Keys.Copy(markers);
        set.m_pFile = &file;
        int options[2] = {1, 2};
        return region.ASCIIReadGraph(set, options, 2, scales.empty() ? nullptr : scales.data(),
                                     static_cast<int>(scales.size()), nullptr);
    }
};

TEST_F(PlateTextTest, ExportWritesTheParameterBlockByteForByte)
{
    CSectPlate region(Node(0, 0), Node(4, 0), Node(4, 2.5), Node(0, 2.5), nullptr);
    region.SetThickness(10.0);
    CVector load = VectorOf({1, 2});
    region.SetLoad(3.0, load);
    EXPECT_EQ(Exported(region, Markers(kSection, kEnd)),
              "\xA7Section\r\n"
              "\xA7PARAMETERS\r\n"
              "\xA7THICKNESS 10\r\n"
              "\xA7" "End\r\n"
              "0   0\r\n4   0\r\n4   2.5\r\n0   2.5\r\n"
              "\xA7" "End\r\n");

    CVector t = VectorOf({1, 2, 0.5, -0.25});
    region.SetThickness(12.5, t);
    region.SetPolar(true);
    region.GetMatAxes() = VectorOf({3, 4});
    region.SetName("Quad (7)");
    EXPECT_EQ(Exported(region, Markers("#Begin\r\n", "", "Name:"), {1, 3}, {2, 1, 1}),
              "#Begin\r\n"
              "Name: Quad (7)\r\n"
              "#PARAMETERS\r\n"
              "#THICKNESS 12.5 1 2 0.5 -0.25\r\n"
              "\xA7MATAXES POLAR 3 4\r\n"
              "0   0   0\r\n8   0   0\r\n8   2.5   0\r\n0   2.5   0\r\n");
}

TEST_F(PlateTextTest, ExportFollowsWithTheInnerRegions)
{
    auto* outer = Rect(0, 0, 4, 4, nullptr);
    outer->SetThickness(2.0);
    auto* inner = Rect(1, 1, 2, 2, nullptr);
    inner->SetThickness(3.0);
    outer->InsertSubSect(inner);
    const std::string text = Exported(*outer, Markers(kSection, kEnd));
    const std::size_t second = text.find("\xA7THICKNESS 3\r\n");
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(text.find("\xA7THICKNESS 2\r\n"), second);
    EXPECT_NE(text.find("1   1\r\n2   1\r\n"), std::string::npos);
    delete outer;
}

struct BlockCase {
    const char* name;
    const char* block; // lines between marker 0 and the node lines
    double thickness;
    std::vector<double> coeffs;
    const char* label = nullptr;
};

TEST_F(PlateTextTest, ImportReadsTheThicknessLine)
{
    const BlockCase cases[] = {
        // One number changes only the thickness.
        {"plain", "\xA7PARAMETERS\r\n\xA7THICKNESS 10\r\n\xA7" "End\r\n", 10.0, {9, 9, 9, 9}},
        {"two numbers", "\xA7PARAMETERS\r\n\xA7THICKNESS 7 2\r\n\xA7" "End\r\n", 7.0, {2, 0, 0, 0}},
        {"six numbers", "\xA7PARAMETERS\r\n\xA7THICKNESS 1 2 3 4 5 6\r\n\xA7" "End\r\n", 1.0,
         {2, 3, 4, 5}},
        {"lower case", "\xA7parameters\r\n\n  \xA7thickness 12.5  \r\n\xA7" "end\r\n", 12.5,
         {9, 9, 9, 9}},
        {"name lines", "Name: Quad (1)\r\n\xA7PARAMETERS\r\nname: x\r\n\xA7THICKNESS 6 1 Name: 5\r\n\xA7" "End\r\n",
         6.0, {1, 0, 0, 0}, "Name:"},
        {"no block", "", 3.0, {9, 9, 9, 9}},
        {"keyword without its marker", "\xA7PARAMETERS\r\nTHICKNESS 8\r\n\xA7" "End\r\n", 3.0,
         {9, 9, 9, 9}},
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = std::string(kSection) + "\r\n" + c.block +
                                 "0 0\r\n4 0\r\n4 4\r\n0 4\r\n\xA7" "End\r\n";
        zelkortest::TempFile tmp(text);
        CFile file(tmp.Path(), CFile::modeRead);
        CSectPlate region;
        CVector old = VectorOf({9, 9, 9, 9});
        region.SetThickness(3.0, old);
        EXPECT_EQ(Import(region, file, Markers(kSection, kEnd, c.label)), 4);
        EXPECT_DOUBLE_EQ(region.GetThickness(), c.thickness);
        EXPECT_EQ(Values(region.GetThicknessVector()), c.coeffs);
        EXPECT_EQ(file.GetPosition(), file.GetLength());
    }
}

TEST_F(PlateTextTest, ExportedRegionReadsBackWithAnyMarkersAndLineEnds)
{
    struct {
        const char* start;
        const char* end;
        const char* label;
        bool bareLineFeeds;
    } cases[] = {
        {kSection, kEnd, nullptr, false},
        {kSection, kEnd, nullptr, true},
        {"#Region", "#Done", nullptr, false}, // the parameter lines start with '#'
        {kSection, kEnd, "Name:", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << (c.label ? " label" : "")
                                        << (c.bareLineFeeds ? " LF" : ""));
        CSectPlate source(Node(0, 0), Node(5, 0), Node(5, 3), Node(0, 3), nullptr);
        CVector t = VectorOf({1, 1, 0.5, 0.25});
        source.SetThickness(10.0, t);
        source.SetLoad(4.0);
        std::string text = Exported(source, Markers(c.start, c.end, c.label));
        if (c.bareLineFeeds)
            for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
                text.erase(at, 1);
        zelkortest::TempFile tmp(text);
        CFile file(tmp.Path(), CFile::modeRead);
        CSectPlate region;
        ASSERT_EQ(Import(region, file, Markers(c.start, c.end, c.label)), 4);
        EXPECT_DOUBLE_EQ(region.GetThickness(), 10.0);
        EXPECT_EQ(Values(region.GetThicknessVector()), (std::vector<double>{1, 1, 0.5, 0.25}));
        EXPECT_DOUBLE_EQ(region.GetLoad(), 0.0); // the load is not in the text
        EXPECT_EQ(Outline(region), Outline(source));
    }
}

TEST_F(PlateTextTest, FewerThanThreeNodesLeaveAnEmptyRegion)
{
    zelkortest::TempFile tmp("\xA7Section\r\n\xA7PARAMETERS\r\n\xA7THICKNESS 5\r\n\xA7" "End\r\n"
                             "0 0\r\n1 0\r\n\xA7" "End\r\n");
    CFile file(tmp.Path(), CFile::modeRead);
    CSectPlate region;
    EXPECT_LT(Import(region, file, Markers(kSection, kEnd)), 3);
    EXPECT_EQ(region.GetCount(), 0);
    EXPECT_DOUBLE_EQ(region.GetThickness(), 0.0);

    // The text constructor clears such a region as well.
    file.SeekToBegin();
    CStringArray markers = Markers(kSection, kEnd);
    int options[2] = {1, 2};
    CSectPlate fromText(&file, markers, options, 2, nullptr, 0, nullptr, 1.0, 0.0);
    EXPECT_EQ(fromText.GetCount(), 0);
}

TEST_F(PlateTextTest, FileOfRegionsRoundTripsThroughTheImportLoop)
{
    // Three regions, the second with an inner region, exported one after
    // the other at scale 2 and read back at scale 0.5.
    CMaterial steel("Steel", 1.0, 210000.0, 0.0, 0.3, 0.0);
    std::vector<CSectPlate*> sources;
    sources.push_back(Rect(0, 0, 4, 2, &steel));
    sources.back()->SetThickness(10.0);
    sources.push_back(Rect(4, 0, 10, 6, &steel));
    CVector t = VectorOf({5, 3, 0.1, 0.2});
    sources.back()->SetThickness(20.0, t);
    sources.back()->GetMatAxes() = VectorOf({1.5, 0});
    auto* inner = Rect(5, 1, 6, 2, &steel);
    inner->SetThickness(4.0);
    inner->SetPolar(true);
    inner->GetMatAxes() = VectorOf({5.5, 1.5});
    sources.back()->InsertSubSect(inner);
    sources.push_back(new CSectPlate(Node(0, 3), Node(3, 3), Node(0, 6), &steel));
    sources.back()->SetThickness(7.5);

    CStringArray markers = Markers(kSection, kEnd);
    zelkortest::TempFile tmp;
    {
        CFile file(tmp.Path(), CFile::modeCreate | CFile::modeWrite);
        int options[2] = {0, 2};
        double scales[3] = {2.0, 2.0, 2.0};
        for (CSectPlate* s : sources)
            s->ASCIIExportGraph(file, markers, options, 2, scales, 3);
    }

    std::vector<CSectPlate*> expected = {sources[0], sources[1], inner, sources[2]};
    std::vector<CSectPlate*> read;
    CFile file(tmp.Path(), CFile::modeRead);
    int options[2] = {1, 2};
    double scales[3] = {0.5, 0.5, 0.5};
    for (ULONGLONG last = ~0ull; file.GetPosition() != last && read.size() < 10;) {
        last = file.GetPosition();
        auto* region = new CSectPlate(&file, markers, options, 2, scales, 3, nullptr, 0.0, 0.0);
        if (region->GetCount() > 0)
            read.push_back(region);
        else
            delete region;
    }
    ASSERT_EQ(read.size(), expected.size());
    for (size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Outline(*read[i]), Outline(*expected[i]));
        EXPECT_DOUBLE_EQ(read[i]->GetThickness(), expected[i]->GetThickness());
        EXPECT_EQ(Values(read[i]->GetThicknessVector()), Values(expected[i]->GetThicknessVector()));
        EXPECT_EQ(Values(read[i]->GetMatAxes()), Values(expected[i]->GetMatAxes()));
        EXPECT_EQ(read[i]->IsPolar(), expected[i]->IsPolar());
        EXPECT_EQ(read[i]->GetSubList(), nullptr); // the import does not nest
        delete read[i];
    }
    for (CSectPlate* s : sources)
        delete s;
}

} // namespace
