// The printable document base: print fonts shared by documents, the line
// writer on a recording context, the font chart and the walks over views.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "glview/lumetra.h"
#include "tests/lumetra/printdoc_test_util.h"

namespace {

using Calls = std::vector<std::string>;

// Metrics that follow the selected font: a font of height h has characters
// h / 2 wide, the widest h / 2 + 1, and an external leading of 2. Without a
// font the recording context's own 6 x 13.
class FontMetricsDC : public RecordingDC
{
public:
    CGdiObject* SelectGdiObject(CGdiObject* pObject) override
    {
        if (auto* font = dynamic_cast<CFont*>(pObject))
            m_font = font;
        return RecordingDC::SelectGdiObject(pObject);
    }
    void GetTextExtent(const char*, int nCount, long& cx, long& cy) const override
    {
        TEXTMETRIC tm{};
        GetTextMetrics(&tm);
        cx = nCount * tm.tmAveCharWidth;
        cy = tm.tmHeight;
    }
    bool GetTextMetrics(TEXTMETRIC* ptm) const override
    {
        if (m_font == nullptr)
            return RecordingDC::GetTextMetrics(ptm);
        const long h = std::labs(static_cast<long>(m_font->m_logFont.lfHeight));
        *ptm = TEXTMETRIC{h, h - h / 4, h / 4, 0, 2, h / 2, h / 2 + 1, m_font->m_logFont.lfWeight};
        return true;
    }

private:
    CFont* m_font = nullptr; // not owned
};

// A context whose current font is a 10-pixel one: characters 5 wide (6 the
// widest), lines 10 high with a leading of 2.
class WriteTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LOGFONT lf{};
        lf.lfHeight = 10;
        lf.lfWeight = 400;
        std::strcpy(lf.lfFaceName, "Base");
        m_base.CreateFontIndirect(&lf);
        m_dc.SelectObject(&m_base);
        m_dc.Clear();
    }

    CFont m_base;
    FontMetricsDC m_dc;
    testdoc::PrintDoc m_doc;
};

TEST_F(WriteTextTest, PartsInOrderWithTheirFontsAndPlaces)
{
    m_doc.CreateFonts(8); // superscripts 8 high (4 wide, 5 the widest), large Greek 12
    const CPoint end = COGLPrintDoc::WriteText(&m_dc, CPoint(100, 50), "ab", "c", "2", "d", "xy",
                                               "kN/m^4 dropped", 0, "!");
    const Calls expected = {
        "TextOut 100 50 'ab'",
        "SelectObject font 12 400 'Courier New'",
        "TextOut 110 50 'c'",
        "SelectObject font 10 400 'Base'",
        // Raised to 50 + (10 + 2) - 8; the pen moves by one widest character.
        "SelectObject font 8 600 'Courier New'",
        "TextOut 116 54 '2'",
        "SelectObject font 10 400 'Base'",
        "SelectObject font 8 600 'Courier New'",
        "TextOut 121 54 'd'",
        "SelectObject font 10 400 'Base'",
        "TextOut 126 50 'xy!'",
        "TextOut 141 50 'kN/m'",
        "SelectObject font 8 600 'Courier New'",
        "TextOut 161 54 '4'",
        "SelectObject font 10 400 'Base'",
    };
    EXPECT_EQ(m_dc.Calls(), expected);
    // The tallest part was the large Greek one.
    EXPECT_EQ(end.x, 166);
    EXPECT_EQ(end.y, 62);
}

TEST_F(WriteTextTest, UnitsWithPowersSquaresAndCubes)
{
    m_doc.CreateFonts(8);
    struct Case {
        const char* unit;
        Calls calls;
    };
    const Case cases[] = {
        {"12.5 kN/m^6", {"TextOut 0 0 '12.5'", "TextOut 20 0 ' kN/m'", "SelectObject font 8 600 'Courier New'",
                         "TextOut 45 4 '6'", "SelectObject font 10 400 'Base'"}},
        {"a b kNm^4/m", {"TextOut 0 0 'a b'", "TextOut 15 0 ' kNm'", "SelectObject font 8 600 'Courier New'",
                         "TextOut 35 4 '4'", "SelectObject font 10 400 'Base'"}},
        {"kN/m^2", {"TextOut 0 0 'kN/m\xB2'"}},
        {"m^3", {"TextOut 0 0 'm\xB3'"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        m_dc.Clear();
        COGLPrintDoc::WriteText(&m_dc, CPoint(0, 0), "", "", "", "", "", c.unit, 0, "");
        EXPECT_EQ(m_dc.Calls(), c.calls) << c.unit;
    }
}

TEST_F(WriteTextTest, AdvanceMovesThePen)
{
    struct Case {
        int advance;
        const char* unitAt; // where the unit after the advance is written
        int endX;
        int endY;
    };
    const Case cases[] = {
        {0, "TextOut 115 50 'm'", 120, 60},  {3, "TextOut 115 50 'm'", 120, 60},
        {10, "TextOut 150 50 'm'", 155, 60}, {-1, "TextOut 100 60 'm'", 105, 70},
        {-2, "TextOut 100 50 'm'", 105, 60}, {-100, "TextOut 100 50 'm'", 105, 60},
    };
    for (const Case& c : cases) {
        m_dc.Clear();
        const CPoint end = COGLPrintDoc::WriteText(&m_dc, CPoint(100, 50), "abc", "", "", "", "", "m", c.advance, "");
        ASSERT_EQ(m_dc.Calls().size(), 2u) << c.advance;
        EXPECT_EQ(m_dc.Calls()[0], "TextOut 100 50 'abc'");
        EXPECT_EQ(m_dc.Calls()[1], c.unitAt) << c.advance;
        EXPECT_EQ(end.x, c.endX) << c.advance;
        EXPECT_EQ(end.y, c.endY) << c.advance;
    }
}

TEST_F(WriteTextTest, PartsWithoutTheirFontAreLeftOut)
{
    // No document holds the fonts: only the parts in the current font.
    const CPoint end = COGLPrintDoc::WriteText(&m_dc, CPoint(0, 0), "a", "b", "c", "d", "e", "m^4", 0, "");
    const Calls expected = {"TextOut 0 0 'a'", "TextOut 5 0 'e'", "TextOut 10 0 'm'"};
    EXPECT_EQ(m_dc.Calls(), expected);
    EXPECT_EQ(end.x, 15);
    EXPECT_EQ(end.y, 10);
}

TEST(PrintFonts, FourCourierFontsOfTheHeight)
{
    testdoc::PrintDoc doc;
    EXPECT_TRUE(doc.CreateFonts(7));
    struct Expected {
        CFont* font;
        LONG height;
        LONG weight;
        BYTE italicUnderline;
        BYTE charSet;
    };
    const Expected fonts[] = {
        {testdoc::PrintDoc::LargeGreek(), 10, 400, 0, GREEK_CHARSET},
        {testdoc::PrintDoc::SuperScriptGreek(), 7, 600, 0, GREEK_CHARSET},
        {testdoc::PrintDoc::SuperScript(), 7, 600, 0, ANSI_CHARSET},
        {testdoc::PrintDoc::BoldFont(), 10, 700, 1, ANSI_CHARSET},
    };
    for (const Expected& e : fonts) {
        ASSERT_NE(e.font, nullptr) << e.weight; // the Greek ones exist here too
        LOGFONT lf{};
        e.font->GetLogFont(&lf);
        EXPECT_STREQ(lf.lfFaceName, "Courier New");
        EXPECT_EQ(lf.lfHeight, e.height);
        EXPECT_EQ(lf.lfWidth, 0);
        EXPECT_EQ(lf.lfEscapement, 0);
        EXPECT_EQ(lf.lfWeight, e.weight);
        EXPECT_EQ(lf.lfItalic, e.italicUnderline);
        EXPECT_EQ(lf.lfUnderline, e.italicUnderline);
        EXPECT_EQ(lf.lfCharSet, e.charSet);
        EXPECT_EQ(lf.lfPitchAndFamily & 0xF0, FF_MODERN);
    }
    doc.DestroyFonts();
    for (CFont* font : {testdoc::PrintDoc::LargeGreek(), testdoc::PrintDoc::SuperScriptGreek(),
                        testdoc::PrintDoc::SuperScript(), testdoc::PrintDoc::BoldFont()})
        EXPECT_EQ(font, nullptr);
}

TEST(PrintFonts, TheLastDocumentToLetGoDeletesThem)
{
    auto* first = new testdoc::PrintDoc;
    testdoc::PrintDoc second;
    first->CreateFonts(10);
    second.CreateFonts(10);
    second.CreateFonts(12); // made anew; still one hold
    delete first;           // closing one document ...
    ASSERT_NE(testdoc::PrintDoc::SuperScript(), nullptr); // ... keeps the other's fonts
    EXPECT_EQ(testdoc::PrintDoc::SuperScript()->m_logFont.lfHeight, 12);

    testdoc::PrintDoc bystander;
    bystander.DestroyFonts(); // held none: changes nothing
    ASSERT_NE(testdoc::PrintDoc::BoldFont(), nullptr);

    FontMetricsDC dc;
    COGLPrintDoc::WriteText(&dc, CPoint(0, 0), "", "", "2", "", "", "", 0, "");
    EXPECT_EQ(dc.Calls().front(), "SelectObject font 12 600 'Courier New'");

    second.DestroyFonts();
    EXPECT_EQ(testdoc::PrintDoc::SuperScript(), nullptr);
    second.DestroyFonts(); // twice: no second release
    testdoc::PrintDoc third;
    third.CreateFonts(9);
    EXPECT_NE(testdoc::PrintDoc::LargeGreek(), nullptr);
}

TEST(PrintLines, WriteLineAndTheFontChart)
{
    RecordingDC dc; // 6 x 13 characters
    CPoint next = WriteLine(&dc, "abc", CPoint(10, 20));
    EXPECT_EQ(next.x, 28);
    EXPECT_EQ(next.y, 33);
    next = WriteLine(&dc, "", CPoint(10, 20));
    EXPECT_EQ(next.x, 10);
    EXPECT_EQ(next.y, 33);

    dc.Clear();
    CPrintInfo info;
    EXPECT_EQ(PrintFont(&dc, &info, CPoint(5, 100)), 100 + 26 * 13);
    const Calls& calls = dc.Calls();
    ASSERT_EQ(calls.size(), 26u);
    std::string first = "TextOut 5 100 '";
    for (int code = 1; code <= 9; ++code)
        first += static_cast<char>(code);
    EXPECT_EQ(calls[0], first + "'");
    std::string second = "TextOut 5 113 '";
    for (int code = 10; code <= 19; ++code)
        second += static_cast<char>(code);
    EXPECT_EQ(calls[1], second + "'");
    std::string last = "TextOut 5 425 '";
    for (int code = 250; code <= 255; ++code)
        last += static_cast<char>(code);
    EXPECT_EQ(calls[25], last + "'");
}

class PlainView : public CView
{
    DECLARE_DYNAMIC(PlainView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNAMIC(PlainView, CView)

class DerivedView : public PlainView
{
    DECLARE_DYNAMIC(DerivedView)
};
IMPLEMENT_DYNAMIC(DerivedView, PlainView)

class OtherView : public CView
{
    DECLARE_DYNAMIC(OtherView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNAMIC(OtherView, CView)

TEST(PrintDocViews, FirstViewOfTypeInTheDocumentsOrder)
{
    testdoc::PrintDoc doc;
    doc.m_bAutoDelete = FALSE;
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(CView)), nullptr);
    OtherView other;
    DerivedView derived;
    PlainView plain;
    doc.AddView(&other);
    doc.AddView(&derived);
    doc.AddView(&plain);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(PlainView)), &derived);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(DerivedView)), &derived);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(OtherView)), &other);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(CView)), &other);
    doc.RemoveView(&derived);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(PlainView)), &plain);
    EXPECT_EQ(doc.GetFirstViewOfType(RUNTIME_CLASS(DerivedView)), nullptr);
}

TEST(PrintDocText, TheDocumentsTextServices)
{
    testdoc::PrintDoc doc;
    EXPECT_STREQ(doc.EscDecodeString("a\\\\b\\x41\\q"), "a\\bA\x1Bq");
    CString unit = "kN/m^2";
    COGLPrintDoc::ReplaceSqrAndCube(unit);
    EXPECT_STREQ(unit, "kN/m\xB2");
    EXPECT_EQ(doc.GetDecimalPoint().str(), printtext::userDecimalPoint().str());
}

} // namespace
