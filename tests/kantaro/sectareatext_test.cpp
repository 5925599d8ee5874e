// Text export and import of area regions.
#include <gtest/gtest.h>

#include <string>

#include "sections/kantaro.h"
#include "tests/support/temp_files.h"

namespace {

using brantel::test::TempFile;

CSectArea* Square(bool clockwise)
{
    auto* r = new CSectArea;
    const double pts[4][2] = {{0, 0}, {2.5, 0}, {2.5, 2}, {0, 2}};
    for (int i = 0; i < 4; ++i) {
        const int k = clockwise ? (4 - i) % 4 : i;
        r->NewNode(pts[k][0], pts[k][1], 1.0);
    }
    return r;
}

std::string Export(CSectArea& r, CStringArray& markers, int* options, int nOptions,
                   double* values, int nValues)
{
    TempFile tmp("region");
    {
        CFile f(tmp.path(), CFile::modeCreate | CFile::modeReadWrite);
        r.ASCIIExportGraph(f, markers, options, nOptions, values, nValues);
    }
    return tmp.readBytes<std::string>();
}

TEST(SectAreaText, ExportIsByteExact)
{
    CSectArea* r = Square(false);
    r->SetName("Plate");
    CStringArray markers;
    markers.Add("\xA7Section");
    markers.Add("\xA7" "End");
    // No axes and no polar flag: no parameter block.
    EXPECT_EQ(Export(*r, markers, nullptr, 0, nullptr, 0),
              "\xA7Section\r\n0   0\r\n2.5   0\r\n2.5   2\r\n0   2\r\n\xA7" "End\r\n");

    markers.Add("NAME");
    r->SetPolar(true);
    r->GetMatAxes().Allocate(2, true, 0.0);
    r->GetMatAxes()[0] = 0.5;
    int opts[2] = {1, 1};
    double scale[1] = {2.0};
    EXPECT_EQ(Export(*r, markers, opts, 2, scale, 1),
              "\xA7Section\r\nNAME Plate\r\n\xA7PARAMETERS\r\n\xA7MATAXES POLAR 0.5 0\r\n\xA7"
              "End\r\n0\r\n5\r\n5\r\n0\r\n\xA7" "End\r\n");
    opts[1] = 3;
    EXPECT_NE(Export(*r, markers, opts, 2, nullptr, 0).find("2.5   2   1\r\n"), std::string::npos);
    delete r;
}

int Import(const std::string& text, CSectArea& into, int* options = nullptr, int nOptions = 0,
           const char* start = "\xA7Section", const char* end = "\xA7" "End",
           const char* label = nullptr)
{
    TempFile tmp("region");
    tmp.writeBytes(text.data(), text.size());
    CFile f(tmp.path(), CFile::modeRead);
    ASCII_SETTING set;
    set.m_Keys.Add(start);
    set.m_Keys.Add(end);
    if (label)
        set.m_Keys.Add(label);
    set.m_pFile = &f;
    return into.ASCIIReadGraph(set, options, nOptions, nullptr, 0, nullptr);
}

TEST(SectAreaText, RoundTripAndAxes)
{
    CSectArea* r = Square(true);
    r->SetPolar(true);
    r->GetMatAxes().Allocate(2, true, 0.0);
    r->GetMatAxes()[0] = 1.25;
    r->GetMatAxes()[1] = -3;
    r->Validate();
    CStringArray markers;
    markers.Add("\xA7Section");
    markers.Add("\xA7" "End");
    const std::string text = Export(*r, markers, nullptr, 0, nullptr, 0);

    CSectArea back;
    ASSERT_EQ(Import(text, back), 4);
    EXPECT_TRUE(back.IsPolar());
    ASSERT_EQ(back.GetMatAxes().GetSize(), 2);
    EXPECT_EQ(back.GetMatAxes()[0], 1.25);
    EXPECT_EQ(back.GetMatAxes()[1], -3.0);
    POSITION a = r->GetHeadPosition(), b = back.GetHeadPosition();
    while (a && b) {
        CSNode* m = r->GetNextNode(a);
        CSNode* n = back.GetNextNode(b);
        EXPECT_EQ(m->x, n->x);
        EXPECT_EQ(m->y, n->y);
        EXPECT_EQ(n->z, 0.0);
    }
    EXPECT_NE(CGraph::GetComEdge(back.GetTailNode(), back.GetHeadNode()), nullptr);

    // With a name label the name line stands between the start marker and
    // the parameter block; the block is still found.
    markers.Add("NAME");
    r->SetName("Plate");
    const std::string named = Export(*r, markers, nullptr, 0, nullptr, 0);
    CSectArea labelled;
    ASSERT_EQ(Import(named, labelled, nullptr, 0, "\xA7Section", "\xA7" "End", "NAME"), 4);
    EXPECT_TRUE(labelled.IsPolar());
    ASSERT_EQ(labelled.GetMatAxes().GetSize(), 2);
    EXPECT_EQ(labelled.GetMatAxes()[0], 1.25);
    delete r;

    // One number on the axes line: the second axis stays 0.
    CSectArea one;
    ASSERT_EQ(Import("\xA7Section\r\n\xA7PARAMETERS\r\n\xA7MATAXES 7\r\n\xA7" "End\r\n"
                     "0 0\r\n1 0\r\n0 1\r\n\xA7" "End\r\n",
                     one),
              3);
    EXPECT_FALSE(one.IsPolar());
    EXPECT_EQ(one.GetMatAxes()[0], 7.0);
    EXPECT_EQ(one.GetMatAxes()[1], 0.0);

    // The first option stays the advance flag: y is kept.
    CSectArea adv;
    int opts[1] = {1};
    ASSERT_EQ(Import("\xA7Section\r\n0 0\r\n1 0\r\n0 1\r\n\xA7" "End\r\n", adv, opts, 1), 3);
    EXPECT_EQ(adv.GetTailNode()->y, 1.0);

    // The coordinate count is the second option, as in the export.
    const std::string xyz = "\xA7Section\r\n0 0 4\r\n1 0 4\r\n0 1 4\r\n\xA7" "End\r\n";
    for (int count : {2, 3, 7}) {
        CSectArea r3;
        int o[2] = {1, count};
        ASSERT_EQ(Import(xyz, r3, o, 2), 3) << count;
        EXPECT_EQ(r3.GetTailNode()->y, 1.0) << count;
        EXPECT_EQ(r3.GetTailNode()->z, count == 3 ? 4.0 : 0.0) << count;
    }
}

TEST(SectAreaText, AxesAreFoundWhateverTheMarkers)
{
    CSectArea* r = Square(false);
    r->GetMatAxes().Allocate(2, true, 0.0);
    r->GetMatAxes()[1] = 2.5;
    CStringArray markers;
    markers.Add("#REGION");
    markers.Add("#END");
    const std::string text = Export(*r, markers, nullptr, 0, nullptr, 0);
    // The block opens with the marker's first character, the axes line with
    // the section sign.
    EXPECT_NE(text.find("#PARAMETERS\r\n\xA7MATAXES 0 2.5\r\n#END\r\n"), std::string::npos);
    CSectArea back;
    ASSERT_EQ(Import(text, back, nullptr, 0, "#REGION", "#END"), 4);
    EXPECT_FALSE(back.IsPolar());
    ASSERT_EQ(back.GetMatAxes().GetSize(), 2);
    EXPECT_EQ(back.GetMatAxes()[1], 2.5);
    delete r;
}

TEST(SectAreaText, BadBoundariesGiveAnEmptyRegion)
{
    const char* bad[] = {
        "\xA7Section\r\n0 0\r\n1 0\r\n\xA7" "End\r\n",                     // two nodes
        "\xA7Section\r\n0 0\r\n1 1\r\n1 0\r\n0 1\r\n\xA7" "End\r\n",       // crossing
    };
    for (const char* text : bad) {
        CSectArea r;
        EXPECT_EQ(Import(text, r), 0) << text;
        EXPECT_TRUE(r.IsEmpty());
    }
}

} // namespace
