// KorPPColorScale: the "Color scale" page over the 256-entry fringe colour
// table (dColorIndex and IsNode). Some entries are nodes; the colours
// between neighbouring nodes are straight ramps. The page shows the table
// as a 16 x 16 grid of cells and a strip of one pixel per entry, lets the
// user pick an entry, change its colour, make it a node or clear it, and
// load or save the table as a palette file. Apply writes the table back.
#pragma once

#include <map>
#include <vector>

#include "framework/palettefile.h"
#include "platform/ui/core/afxui.h"

// A tooltip text per control of a window: each control shows its text
// while the mouse rests on it.
class KorToolTips
{
public:
    // The window whose controls get the texts (not owned).
    void Create(CWnd* pParent) { m_pParent = pParent; }
    void AddTool(int nID, LPCTSTR lpszText);
    // The control's text, empty when it has none.
    CString GetText(int nID) const;

private:
    std::map<int, CString> m_texts;
    CWnd* m_pParent = nullptr; // not owned
};

class KorPPColorScale : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPColorScale)
public:
    enum { IDD = 27019 };
    enum : int {
        IDC_OPACITY = 50016,
        IDC_SELECTION = 50017,
        IDC_RED = 50018,
        IDC_GREEN = 50019,
        IDC_BLUE = 50020,
        IDC_ADD = 50021,
        IDC_DELETE = 50022,
        IDC_DELETE_ALL = 50023,
        IDC_LOAD = 50024,
        IDC_SAVE = 50025,
        IDC_MODIFY = 50026,
    };
    // Where the picture lies in the page's client area.
    static constexpr int kPictureLeft = 10, kPictureTop = 10;

    KorPPColorScale();

    CString m_strDirectory; // first folder of the palette file dialogs
    // Further palette folders the dialogs offer in their list of places.
    std::vector<CString> m_places;
    double m_dOpacity;      // percent, the alpha of every entry

    // Copies the shared table into the page.
    virtual void Init();
    // Ramps the colours between neighbouring nodes.
    virtual void MakePalette();
    virtual void DrawItem(CDC* pDC, unsigned long penColour, unsigned long brushColour,
                          CRect& rect);
    // Draws cell (col, row) of the grid into the picture.
    virtual void DrawPaletteItem(int col, int row);
    // Draws the whole grid and the strip into the picture.
    void DrawPalette();
    void DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, unsigned long colour, int penStyle);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

    // The cell of entry (col, row) in picture pixels.
    CRect CellRect(int col, int row) const;
    // The entry's colour as GDI takes it, each component rounded.
    COLORREF EntryColour(int i) const;
    int GetSelection() const { return m_nSel; }
    const framira::PaletteTable& GetTable() const { return m_palette; }
    const CImageDC& GetPicture() const { return m_dcMem; }
    const KorToolTips& GetToolTips() const { return m_tips; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnPaint();
    void OnChange();
    void OnButtonAdd();
    void OnButtonDelete();
    void OnButtonDelall();
    void OnButtonOpen();
    void OnButtonSave();
    LRESULT OnColorChange(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    CColorButton m_btnColor;
    framira::PaletteTable m_palette;
    float (&m_fColor)[256][3] = m_palette.colour;
    bool (&m_bNode)[256] = m_palette.node;
    int m_nCols, m_nRows;
    int m_nSel = 0;
    int m_nPrevCol = 0, m_nPrevRow = 0;
    int m_nGap = 2;
    int m_nCellH, m_nCellW;
    CImageDC m_dcMem; // the picture of grid and strip
    KorToolTips m_tips;

private:
    // The picture's size in pixels.
    CSize PictureSize() const;
    // Shows the selected entry's colour in percent in the three edits.
    void ShowColour();
    // Ramps, redraws the picture and repaints the page.
    void Rebuild();
    // Makes the selected entry a node (or not) and rebuilds.
    void MarkNodes(int nFirst, int nLast, bool bNode);
    // The palette file dialog's request (open or save).
    bool AskPath(BOOL bOpen, CString& path);
};
