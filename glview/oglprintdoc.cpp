#include "glview/oglprintdoc.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(COGLPrintDoc, CDocument)

CFont* COGLPrintDoc::m_pLargeGreek = nullptr;
CFont* COGLPrintDoc::m_pSuperScriptGreek = nullptr;
CFont* COGLPrintDoc::m_pSuperScript = nullptr;
CFont* COGLPrintDoc::m_pBoldFont = nullptr;

namespace {

// Documents that hold the print fonts.
int fontHolders = 0;

// A "Courier New" font; null when a Greek one is asked for and the font
// made does not have the Greek character set.
CFont* makeFont(int height, LONG weight, BYTE charSet, bool italicUnderlined = false)
{
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italicUnderlined ? 1 : 0;
    lf.lfUnderline = italicUnderlined ? 1 : 0;
    lf.lfCharSet = charSet;
    lf.lfPitchAndFamily = FF_MODERN;
    std::strncpy(lf.lfFaceName, "Courier New", LF_FACESIZE - 1);
    auto* font = new CFont;
    LOGFONT made{};
    if (!font->CreateFontIndirect(&lf) || font->GetLogFont(&made) == 0 ||
        (charSet == GREEK_CHARSET && made.lfCharSet != GREEK_CHARSET)) {
        delete font;
        return nullptr;
    }
    return font;
}

// Selects a font into a context for one part of a line and selects the one
// before back (when there was one: the caller chose the line's font).
class FontScope
{
public:
    FontScope(CDC* pDC, CFont* font) : m_pDC(pDC), m_old(pDC->SelectObject(font)) {}
    ~FontScope()
    {
        if (m_old)
            m_pDC->SelectObject(m_old);
    }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    CDC* m_pDC;
    CFont* m_old;
};

// The line being written by WriteText: the pen position and the height of
// the tallest part so far.
struct LineWriter {
    CDC* dc;
    int x;
    int y;
    int h = 0;

    // Writes s at the pen in the font selected and moves the pen by it.
    void part(const CString& s)
    {
        if (s.IsEmpty())
            return;
        dc->TextOut(x, y, s);
        const CSize extent = AfxGetTextExtent(*dc, s);
        x += extent.cx;
        h = std::max(h, static_cast<int>(extent.cy));
    }

    // Writes s raised in a superscript font: its top at the line's base
    // height less the font's, the pen moved by its length in the font's
    // widest characters.
    void superscript(const CString& s, CFont* font)
    {
        if (s.IsEmpty() || font == nullptr)
            return;
        TEXTMETRIC base{};
        dc->GetTextMetrics(&base);
        FontScope scope(dc, font);
        TEXTMETRIC raised{};
        dc->GetTextMetrics(&raised);
        dc->TextOut(x, static_cast<int>(y + base.tmHeight + base.tmExternalLeading - raised.tmHeight), s);
        h = std::max(h, static_cast<int>(AfxGetTextExtent(*dc, s).cy));
        x += static_cast<int>(s.GetLength() * raised.tmMaxCharWidth);
    }

    void inFont(const CString& s, CFont* font)
    {
        if (s.IsEmpty() || font == nullptr)
            return;
        FontScope scope(dc, font);
        part(s);
    }
};

} // namespace

COGLPrintDoc::~COGLPrintDoc()
{
    DestroyFonts();
}

CView* COGLPrintDoc::GetFirstViewOfType(CRuntimeClass* pClass)
{
    for (CView* view : GetViews())
        if (view->IsKindOf(pClass))
            return view;
    return nullptr;
}

CString COGLPrintDoc::EscDecodeString(CString text)
{
    return printtext::decodeEscapes(text);
}

BOOL COGLPrintDoc::OnNewDocument()
{
    return CDocument::OnNewDocument() ? 1 : 0;
}

bool COGLPrintDoc::CreateFonts(int height)
{
    if (!m_bHoldsFonts) {
        m_bHoldsFonts = true;
        ++fontHolders;
    }
    DeleteFontSet();
    const int large = static_cast<int>(1.5 * height);
    m_pLargeGreek = makeFont(large, 400, GREEK_CHARSET);
    m_pSuperScriptGreek = makeFont(height, 600, GREEK_CHARSET);
    m_pSuperScript = makeFont(height, 600, ANSI_CHARSET);
    m_pBoldFont = makeFont(large, 700, ANSI_CHARSET, true);
    return true;
}

void COGLPrintDoc::DeleteFontSet()
{
    for (CFont** font : {&m_pLargeGreek, &m_pSuperScriptGreek, &m_pSuperScript, &m_pBoldFont}) {
        delete *font;
        *font = nullptr;
    }
}

void COGLPrintDoc::DestroyFonts()
{
    if (!m_bHoldsFonts)
        return;
    m_bHoldsFonts = false;
    if (--fontHolders > 0)
        return;
    DeleteFontSet();
}

CPoint COGLPrintDoc::WriteText(CDC* pDC, CPoint pt, CString text, CString greek, CString super,
                               CString superGreek, CString text2, CString unit, int advance,
                               CString text2Tail)
{
    LineWriter line{pDC, pt.x, pt.y};
    line.part(text);
    line.inFont(greek, m_pLargeGreek);
    line.superscript(super, m_pSuperScript);
    line.superscript(superGreek, m_pSuperScriptGreek);
    if (!text2.IsEmpty())
        line.part(text2 + text2Tail);

    if (advance > 0) {
        TEXTMETRIC tm{};
        pDC->GetTextMetrics(&tm);
        line.x = static_cast<int>(pt.x + advance * tm.tmAveCharWidth);
    } else if (advance == -1) {
        line.y += line.h;
        line.x = pt.x;
    } else if (advance < 0) {
        line.x = pt.x;
    }

    ReplaceSqrAndCube(unit);
    int marker = unit.Find("^4");
    if (marker < 0)
        marker = unit.Find("^6");
    if (marker < 0) {
        line.part(unit);
    } else {
        // The number before the unit and the unit itself, split at the last
        // blank, then the power raised.
        const CString before = unit.Left(marker);
        const int blank = before.ReverseFind(' ');
        line.part(before.Left(blank < 0 ? 0 : blank));
        line.part(before.Mid(blank < 0 ? 0 : blank));
        line.superscript(unit.Mid(marker + 1, 1), m_pSuperScript);
    }
    return CPoint(line.x, line.y + line.h);
}

bool COGLPrintDoc::AddImage(const double box[6], const double transform[6], int iParam, double dParam,
                            const float colour[4], unsigned int flags, int slot)
{
    return m_images.AddImage(box, transform, iParam, dParam, colour, flags, slot);
}

void COGLPrintDoc::DeleteImage(int slot)
{
    m_images.DeleteImage(slot);
}

void COGLPrintDoc::SetTmpImage(const double box[6], const double transform[6], int iParam, double dParam,
                               const double colour[4], unsigned int flags)
{
    m_images.SetTmpImage(box, transform, iParam, dParam, colour, flags);
}

void COGLPrintDoc::DrawImageGL(int slot)
{
    m_images.DrawImageGL(slot, [this](int mode, unsigned int flags) { DrawImageContent(mode, flags); });
}

CString COGLPrintDoc::GetDecimalPoint() const
{
    return printtext::userDecimalPoint();
}

void COGLPrintDoc::ReplaceSqrAndCube(CString& text)
{
    printtext::replaceSqrAndCube(text);
}

CPoint WriteLine(CDC* pDC, CString text, CPoint pt)
{
    pDC->TextOut(pt.x, pt.y, text);
    if (text.IsEmpty())
        return CPoint(pt.x, pt.y + AfxGetTextExtent(*pDC, " ").cy);
    const CSize extent = AfxGetTextExtent(*pDC, text);
    return CPoint(pt.x + extent.cx, pt.y + extent.cy);
}

int PrintFont(CDC* pDC, CPrintInfo*, CPoint pt)
{
    int y = pt.y;
    for (int first = 0; first < 256; first += 10) {
        CString line;
        for (int code = std::max(first, 1); code < std::min(first + 10, 256); ++code)
            line += static_cast<TCHAR>(code);
        y = WriteLine(pDC, line, CPoint(pt.x, y)).y;
    }
    return y;
}
