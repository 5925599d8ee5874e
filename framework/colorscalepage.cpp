#include "framework/colorscalepage.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "framework/korapp.h"
#include "platform/afx/numconv.h"
#include "framework/settingspages.h"
#include "glstyle/tincora.h"

namespace
{

// The button face of the page's picture (fixed here, the system's elsewhere).
constexpr COLORREF kButtonFace = RGB(240, 240, 240);

CString Percent(float value)
{
    CString text;
    text.Format("%d", static_cast<int>(value * 100.0f));
    return text;
}

BYTE Byte(float value)
{
    return static_cast<BYTE>(std::floor(value * 255.0 + 0.5));
}

} // namespace

void KorToolTips::AddTool(int nID, LPCTSTR lpszText)
{
    m_texts[nID] = lpszText;
    if (CWnd* control = m_pParent ? m_pParent->GetDlgItem(nID) : nullptr)
        control->SetToolTipText(lpszText);
}

CString KorToolTips::GetText(int nID) const
{
    const auto it = m_texts.find(nID);
    return it == m_texts.end() ? CString() : it->second;
}

IMPLEMENT_DYNCREATE(KorPPColorScale, CPropertyPage)

BEGIN_MESSAGE_MAP(KorPPColorScale, CPropertyPage)
ON_WM_LBUTTONDOWN()
ON_WM_PAINT()
ON_EN_CHANGE(50016, OnChange)
ON_BN_CLICKED(50021, OnButtonAdd)
ON_BN_CLICKED(50022, OnButtonDelete)
ON_BN_CLICKED(50023, OnButtonDelall)
ON_BN_CLICKED(50024, OnButtonOpen)
ON_BN_CLICKED(50025, OnButtonSave)
ON_MESSAGE(WM_COLORBUTTON_CHANGED, OnColorChange)
END_MESSAGE_MAP()

KorPPColorScale::KorPPColorScale() : CPropertyPage(IDD)
{
    m_dOpacity = framira::PercentShown(dColorIndex[0][3]);
    m_nCols = static_cast<int>(std::floor(std::sqrt(double(framira::kPaletteEntries))));
    m_nRows = framira::kPaletteEntries / m_nCols;
    m_nCellH = (175 - m_nRows) * 2 / m_nRows;
    m_nCellW = (175 - m_nCols) * 2 / m_nCols;
    Init();
}

void KorPPColorScale::Init()
{
    for (int i = 0; i < framira::kPaletteEntries; ++i) {
        for (int k = 0; k < 3; ++k)
            m_fColor[i][k] = static_cast<float>(dColorIndex[i][k]);
        m_bNode[i] = IsNode[i];
    }
}

void KorPPColorScale::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_OPACITY, m_dOpacity);
    DDV_MinMaxDouble(pDX, m_dOpacity, 0.0, 100.0);
}

CSize KorPPColorScale::PictureSize() const
{
    return CSize((m_nCellW + m_nGap) * m_nCols, (m_nCellH + m_nGap) * m_nRows + 30);
}

CRect KorPPColorScale::CellRect(int col, int row) const
{
    const int left = (m_nGap + m_nCellW) * col;
    const int top = (m_nGap + m_nCellH) * row;
    return CRect(left, top, left + m_nCellW, top + m_nCellH);
}

COLORREF KorPPColorScale::EntryColour(int i) const
{
    return RGB(Byte(m_fColor[i][0]), Byte(m_fColor[i][1]), Byte(m_fColor[i][2]));
}

BOOL KorPPColorScale::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_btnColor.SubclassDlgItem(IDC_MODIFY, this);
    m_btnColor.SetColor(EntryColour(0));

    const CSize size = PictureSize();
    m_dcMem.CreatePicture(size.cx, size.cy);
    CPen pen(PS_SOLID, 1, kButtonFace);
    CBrush brush(kButtonFace);
    CPen* pOldPen = m_dcMem.SelectObject(&pen);
    CBrush* pOldBrush = m_dcMem.SelectObject(&brush);
    m_dcMem.Rectangle(0, 0, size.cx, size.cy);
    m_dcMem.SelectObject(pOldPen);
    m_dcMem.SelectObject(pOldBrush);
    DrawPalette();

    ShowColour();
    SetDlgItemText(IDC_SELECTION, "0");
    m_tips.Create(this);
    m_tips.AddTool(IDC_ADD, "Ramps are calculated from node to node");
    m_tips.AddTool(IDC_DELETE, "Delete selected node");
    m_tips.AddTool(IDC_DELETE_ALL, "Delete every node between first and last");
    m_tips.AddTool(IDC_SELECTION, "Entry selected in the ramp");
    m_tips.AddTool(IDC_RED, "Red (%%)");
    m_tips.AddTool(IDC_GREEN, "Green (%%)");
    m_tips.AddTool(IDC_BLUE, "Blue (%%)");
    SetModified(FALSE); // the fields' change notices while they were filled
    return result;
}

BOOL KorPPColorScale::OnApply()
{
    // An untouched opacity keeps the first entry's alpha as it is stored.
    const double alpha = framira::FractionTaken(m_dOpacity, dColorIndex[0][3]);
    for (int i = 0; i < framira::kPaletteEntries; ++i) {
        for (int k = 0; k < 3; ++k)
            dColorIndex[i][k] = m_fColor[i][k];
        dColorIndex[i][3] = alpha;
        IsNode[i] = m_bNode[i];
    }
    framira::RedrawAllOGLViews();
    return CPropertyPage::OnApply();
}

void KorPPColorScale::MakePalette()
{
    framira::MakeRamp(m_palette);
}

void KorPPColorScale::DrawItem(CDC* pDC, unsigned long penColour, unsigned long brushColour,
                               CRect& rect)
{
    CPen pen(PS_SOLID, 1, penColour);
    CBrush brush(brushColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    pDC->RoundRect(rect.left, rect.top, rect.right + 1, rect.bottom + 1, 0, 0);
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}

void KorPPColorScale::DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, unsigned long colour,
                               int penStyle)
{
    CPen pen(penStyle, 1, colour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldPen);
}

void KorPPColorScale::DrawPaletteItem(int col, int row)
{
    const int i = row * m_nCols + col;
    CRect rect = CellRect(col, row);
    DrawItem(&m_dcMem, m_bNode[i] ? RGB(255, 0, 0) : kButtonFace, RGB(0, 0, 0), rect);
    rect.DeflateRect(1, 1);
    DrawItem(&m_dcMem, i == m_nSel ? RGB(255, 255, 255) : kButtonFace, EntryColour(i), rect);
}

void KorPPColorScale::DrawPalette()
{
    for (int row = 0; row < m_nRows; ++row)
        for (int col = 0; col < m_nCols; ++col)
            DrawPaletteItem(col, row);
    const int y0 = (m_nCellH + m_nGap) * m_nRows + 10;
    for (int i = 0; i < framira::kPaletteEntries; ++i)
        DrawLine(&m_dcMem, i, y0, i, y0 + 20, i == 128 ? RGB(0, 0, 0) : EntryColour(i),
                 PS_SOLID);
}

void KorPPColorScale::OnPaint()
{
    CPaintDC dc(this);
    const CSize size = PictureSize();
    dc.BitBlt(kPictureLeft, kPictureTop, size.cx, size.cy, &m_dcMem, 0, 0, SRCCOPY);
}

void KorPPColorScale::ShowColour()
{
    SetDlgItemText(IDC_RED, Percent(m_fColor[m_nSel][0]));
    SetDlgItemText(IDC_GREEN, Percent(m_fColor[m_nSel][1]));
    SetDlgItemText(IDC_BLUE, Percent(m_fColor[m_nSel][2]));
}

void KorPPColorScale::OnLButtonDown(UINT, CPoint point)
{
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            CRect rect = CellRect(col, row);
            rect.OffsetRect(kPictureLeft, kPictureTop);
            if (!rect.PtInRect(point))
                continue;
            m_nSel = row * m_nCols + col;
            DrawPaletteItem(m_nPrevCol, m_nPrevRow);
            DrawPaletteItem(col, row);
            Invalidate(FALSE);
            UpdateWindow();
            CString index;
            index.Format("%d", m_nSel);
            SetDlgItemText(IDC_SELECTION, index);
            ShowColour();
            m_btnColor.SetColor(EntryColour(m_nSel));
            m_nPrevCol = col;
            m_nPrevRow = row;
        }
    }
    Default();
}

void KorPPColorScale::OnChange()
{
    SetModified(TRUE);
}

void KorPPColorScale::Rebuild()
{
    MakePalette();
    DrawPalette();
    Invalidate(FALSE);
    UpdateWindow();
}

void KorPPColorScale::MarkNodes(int nFirst, int nLast, bool bNode)
{
    for (int i = nFirst; i <= nLast; ++i)
        m_bNode[i] = bNode;
    Rebuild();
}

void KorPPColorScale::OnButtonAdd()
{
    SetModified(TRUE);
    MarkNodes(m_nSel, m_nSel, true);
}

void KorPPColorScale::OnButtonDelete()
{
    SetModified(TRUE);
    // The ends of the table stay nodes.
    if (m_nSel != 0 && m_nSel != framira::kPaletteEntries - 1)
        MarkNodes(m_nSel, m_nSel, false);
}

void KorPPColorScale::OnButtonDelall()
{
    SetModified(TRUE);
    MarkNodes(1, framira::kPaletteEntries - 2, false);
}

LRESULT KorPPColorScale::OnColorChange(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<int>(wParam) == IDC_MODIFY) {
        const auto colour = static_cast<COLORREF>(lParam);
        m_fColor[m_nSel][0] = GetRValue(colour) / 255.0f;
        m_fColor[m_nSel][1] = GetGValue(colour) / 255.0f;
        m_fColor[m_nSel][2] = GetBValue(colour) / 255.0f;
        ShowColour();
        if (m_bNode[m_nSel])
            Rebuild();
        else
            DrawPalette();
    }
    SetModified(TRUE);
    Invalidate(TRUE);
    return 0;
}

bool KorPPColorScale::AskPath(BOOL bOpen, CString& path)
{
    CFileDialog dialog(bOpen, "pal", "*.pal", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Palette files (*.pal)|*.pal||", this);
    if (!m_strDirectory.IsEmpty()) {
        // The user's palette folder is made the first time it is needed.
        std::error_code ignored;
        std::filesystem::create_directories(m_strDirectory.GetString(), ignored);
        dialog.m_ofn.lpstrInitialDir = m_strDirectory.GetString();
    }
    dialog.m_places = m_places;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.GetPathName();
    return true;
}

void KorPPColorScale::OnButtonOpen()
{
    CString path;
    if (!AskPath(TRUE, path))
        return;
    // The page's table is replaced only by a whole palette.
    int outOfRange = 0;
    const framira::PaletteStatus status =
        framira::ReadPalette(path.GetString(), m_palette, &outOfRange);
    if (status != framira::PaletteStatus::ok) {
        AfxMessageBox(framira::PaletteMessage(status, true));
        return;
    }
    if (outOfRange > 0) {
        CStringArray lines;
        lines.Add(CString(AfxFormat("The palette %s holds %d colour values outside 0 ... 1; "
                                    "they keep their previous values.\r\n",
                                    path.GetString(), outOfRange)
                              .c_str()));
        KorWriteLog(lines);
    }
    Rebuild();
    SetModified(TRUE);
}

void KorPPColorScale::OnButtonSave()
{
    CString path;
    if (!AskPath(FALSE, path))
        return;
    std::string cause;
    const framira::PaletteStatus status =
        framira::WritePalette(path.GetString(), m_palette, &cause);
    if (status != framira::PaletteStatus::ok)
        AfxMessageBox(CString(framira::PaletteMessage(status, false)) + "\n" + cause.c_str());
}
