// COGLPrintDoc: the base of the system's documents. To the layer's document
// it adds a walk over its views, the text services of printed pages
// (escapes, superscript units, the user's decimal point), four print fonts
// shared by all documents with a writer that sets a line of mixed normal,
// Greek and superscript text, and a table of scene pictures for printed
// pages.
#pragma once

#include "glview/oglprintimages.h"
#include "glview/printtext.h"
#include "platform/ui/core/afxui.h"

class COGLPrintDoc : public CDocument
{
    DECLARE_DYNAMIC(COGLPrintDoc)
public:
    COGLPrintDoc() = default;
    // Gives up this document's hold on the print fonts.
    ~COGLPrintDoc() override;

    // The first of the document's views, in its view order, that is of the
    // class or derived from it; null when there is none.
    virtual CView* GetFirstViewOfType(CRuntimeClass* pClass);
    // Called when the document becomes the active one.
    virtual void ActivateDoc() {}
    // The text with its backslash escapes decoded (printtext::decodeEscapes).
    virtual CString EscDecodeString(CString text);
    // Printing hooks that each program document supplies.
    virtual void PrintPageHeader(CDC* pDC, CPrintInfo* pInfo) = 0;
    virtual void PrintPageBody(CDC* pDC, CPrintInfo* pInfo) = 0;
    // Draws the scene of one picture into the current OpenGL context, in the
    // drawing mode of COGLPrintImages::DrawMode (called by DrawImageGL).
    virtual void DrawImageContent(int mode, unsigned int flags) = 0;

    BOOL OnNewDocument() override;

    // The four print fonts, "Courier New" of the given height, shared by the
    // documents of the process. Each document that calls CreateFonts holds
    // them (a later call makes them anew at the new height) until its
    // DestroyFonts or its end; the last one to let go deletes them.
    bool CreateFonts(int height);
    void DestroyFonts();

    // Writes one line of mixed text at pt and returns the point after it:
    // text in the current font, greek in the large Greek font, super and
    // superGreek raised in the superscript fonts, text2 + text2Tail in the
    // current font, then (by advance) a tab stop or a line break, then the
    // unit with its squares, cubes and "^4" / "^6" powers as superscripts.
    // advance > 0 moves x to pt.x + advance average character widths; -1
    // starts a new line; other negative values go back to pt.x; 0 stays.
    // A part whose font does not exist is left out. "The current font" is
    // the one the caller selected into pDC; each part in another font
    // selects that one back after it.
    static CPoint WriteText(CDC* pDC, CPoint pt, CString text, CString greek, CString super,
                            CString superGreek, CString text2, CString unit, int advance,
                            CString text2Tail);

    // The picture slots (COGLPrintImages).
    bool AddImage(const double box[6], const double transform[6], int iParam, double dParam,
                  const float colour[4], unsigned int flags, int slot);
    void DeleteImage(int slot);
    void SetTmpImage(const double box[6], const double transform[6], int iParam, double dParam,
                     const double colour[4], unsigned int flags);
    const PrintImage& GetImage(int slot) const { return m_images.GetImage(slot); }

    // The user's decimal point (printtext::userDecimalPoint).
    CString GetDecimalPoint() const;
    static void ReplaceSqrAndCube(CString& text);

protected:
    // Draws the picture of a slot (0 to 20) through DrawImageContent.
    void DrawImageGL(int slot);

    // The print fonts, null while no document holds them or when the font
    // could not be had. Made and deleted by CreateFonts / DestroyFonts only.
    static CFont* m_pLargeGreek;
    static CFont* m_pSuperScriptGreek;
    static CFont* m_pSuperScript;
    static CFont* m_pBoldFont;

private:
    static void DeleteFontSet();

    COGLPrintImages m_images;
    bool m_bHoldsFonts = false;
};

// Writes text at pt and returns pt moved right and down by its extent; an
// empty text moves down by the height of " ".
CPoint WriteLine(CDC* pDC, CString text, CPoint pt);
// A chart of the current font: the character codes 1 to 255, ten a line
// (1 to 9 on the first), from pt down. Returns the y below the last line.
int PrintFont(CDC* pDC, CPrintInfo* pInfo, CPoint pt);
