#include "platform/ui/qt/qtprint.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <QPageSetupDialog>
#include <QPagedPaintDevice>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "platform/afx/message.h"
#include "platform/afx/numconv.h"
#include "platform/ui/core/imagedc.h"
#include "platform/ui/qt/qtmodal.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qttext.h"

namespace
{

// The Greek letter of a byte of code page 1253 (0 where 1253 agrees with
// 1252 or has no character).
char16_t GreekOf(unsigned char byte)
{
    if (byte == 0xA1 || byte == 0xB5)
        return u'\u0385';
    if (byte == 0xA2)
        return u'\u0386';
    if (byte == 0xB4)
        return u'\u0384';
    if (byte >= 0xB8 && byte <= 0xFE && byte != 0xBB && byte != 0xBD && byte != 0xD2)
        return static_cast<char16_t>(0x0384 + (byte - 0xB4));
    return 0;
}

// The text of the first nCount bytes (all up to the NUL for -1). A Greek
// font reads its bytes as code page 1253, as the system does; every other
// font as the layer's text.
QString TextOf(const char* lpszString, int nCount, bool bGreek)
{
    if (!lpszString)
        return QString();
    const int length = nCount < 0 ? static_cast<int>(std::strlen(lpszString)) : nCount;
    if (!bGreek)
        return AfxToQString(CString(lpszString, length));
    QString text;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(lpszString[i]);
        const char16_t greek = GreekOf(byte);
        text += greek ? QChar(greek) : AfxToQString(CString(lpszString + i, 1)).at(0);
    }
    return text;
}

// The header's pixel bytes (rows bottom-up or top-down as the height says).
std::size_t DibBytes(const BITMAPINFOHEADER& header)
{
    const auto height = static_cast<std::size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    return DibStride(static_cast<std::size_t>(std::max(0, header.biWidth)), header.biBitCount) * height;
}

} // namespace

// ---- The painter's context ------------------------------------------------------------------

CQtPainterDC::CQtPainterDC(QPaintDevice* pDevice, bool bPrinting) : m_pDevice(pDevice)
{
    m_bPrinting = bPrinting;
    m_painter.begin(pDevice);
    m_painter.setFont(CurrentFont());
}

CQtPainterDC::~CQtPainterDC()
{
    EndPainting();
}

void CQtPainterDC::EndPainting()
{
    if (m_painter.isActive())
        m_painter.end();
}

void CQtPainterDC::NewPage()
{
    if (auto* paged = dynamic_cast<QPagedPaintDevice*>(m_pDevice))
        paged->newPage();
}

int CQtPainterDC::GetDeviceCaps(int nIndex) const
{
    switch (nIndex) {
    case HORZRES:
        return m_pDevice->width();
    case VERTRES:
        return m_pDevice->height();
    case HORZSIZE:
        return m_pDevice->widthMM();
    case VERTSIZE:
        return m_pDevice->heightMM();
    case LOGPIXELSX:
        return m_pDevice->logicalDpiX();
    case LOGPIXELSY:
        return m_pDevice->logicalDpiY();
    case PLANES:
        return 1;
    case BITSPIXEL:
        return m_bPrinting ? 24 : std::max(24, m_pDevice->depth());
    default:
        return 0;
    }
}

bool CQtPainterDC::IsGreek() const
{
    const auto* font = dynamic_cast<const CFont*>(m_pFont);
    return font && font->m_logFont.lfCharSet == GREEK_CHARSET;
}

QFont CQtPainterDC::CurrentFont() const
{
    if (const auto* font = dynamic_cast<const CFont*>(m_pFont))
        return QFont(AfxQtFontFromLogFont(font->m_logFont), m_pDevice);
    // The system font: 10 points at the device's resolution.
    QFont font("DejaVu Sans");
    font.setPixelSize(std::max(1, m_pDevice->logicalDpiY() * 10 / 72));
    return QFont(font, m_pDevice);
}

CGdiObject* CQtPainterDC::SelectGdiObject(CGdiObject* pObject)
{
    CGdiObject** slot = nullptr;
    if (dynamic_cast<CPen*>(pObject))
        slot = &m_pPen;
    else if (dynamic_cast<CBrush*>(pObject))
        slot = &m_pBrush;
    else if (dynamic_cast<CFont*>(pObject))
        slot = &m_pFont;
    else if (dynamic_cast<CBitmap*>(pObject))
        slot = &m_pBitmap;
    if (!slot)
        return nullptr;
    CGdiObject* old = std::exchange(*slot, pObject);
    if (slot == &m_pFont)
        m_painter.setFont(CurrentFont());
    return old;
}

unsigned long CQtPainterDC::SetTextColor(unsigned long crColor)
{
    return std::exchange(m_textColor, crColor);
}

unsigned long CQtPainterDC::SetBkColor(unsigned long crColor)
{
    return std::exchange(m_bkColor, crColor);
}

int CQtPainterDC::SetBkMode(int nBkMode)
{
    return std::exchange(m_bkMode, nBkMode);
}

bool CQtPainterDC::TextOut(int x, int y, const char* lpszString, int nCount)
{
    const QString text = TextOf(lpszString, nCount, IsGreek());
    const QFontMetrics metrics(m_painter.font(), m_pDevice);
    if (m_bkMode == OPAQUE)
        m_painter.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                           AfxQtColor(static_cast<COLORREF>(m_bkColor)));
    m_painter.setPen(AfxQtColor(static_cast<COLORREF>(m_textColor)));
    m_painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return true;
}

void CQtPainterDC::GetTextExtent(const char* lpszString, int nCount, long& cx, long& cy) const
{
    const QFontMetrics metrics(m_painter.font(), m_pDevice);
    cx = metrics.horizontalAdvance(TextOf(lpszString, nCount, IsGreek()));
    cy = metrics.height();
}

bool CQtPainterDC::GetTextMetrics(TEXTMETRIC* ptm) const
{
    const QFontMetrics metrics(m_painter.font(), m_pDevice);
    *ptm = TEXTMETRIC{};
    ptm->tmHeight = metrics.height();
    ptm->tmAscent = metrics.ascent();
    ptm->tmDescent = metrics.descent();
    ptm->tmInternalLeading = std::max(0, metrics.height() - m_painter.font().pixelSize());
    ptm->tmExternalLeading = metrics.leading();
    ptm->tmAveCharWidth = metrics.averageCharWidth();
    ptm->tmMaxCharWidth = metrics.maxWidth();
    ptm->tmWeight = m_painter.font().weight();
    return true;
}

void CQtPainterDC::UsePenAndBrush()
{
    const auto* pen = dynamic_cast<const CPen*>(m_pPen);
    if (!pen) {
        m_painter.setPen(QPen(Qt::black, 0));
    } else if (pen->m_nStyle == PS_NULL) {
        m_painter.setPen(Qt::NoPen);
    } else {
        QPen qpen(AfxQtColor(pen->m_color), pen->m_nWidth);
        qpen.setStyle(pen->m_nStyle == PS_DASH  ? Qt::DashLine
                      : pen->m_nStyle == PS_DOT ? Qt::DotLine
                                                : Qt::SolidLine);
        // A flat cap leaves out a line's end point, as GDI does.
        qpen.setCapStyle(Qt::FlatCap);
        m_painter.setPen(qpen);
    }
    const auto* brush = dynamic_cast<const CBrush*>(m_pBrush);
    m_painter.setBrush(brush ? QBrush(AfxQtColor(brush->m_color)) : QBrush(Qt::white));
}

void CQtPainterDC::MoveTo(int x, int y)
{
    m_pos = QPoint(x, y);
}

bool CQtPainterDC::LineTo(int x, int y)
{
    UsePenAndBrush();
    m_painter.drawLine(m_pos, QPoint(x, y));
    m_pos = QPoint(x, y);
    return true;
}

bool CQtPainterDC::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect area(QPoint(std::min(x1, x2), std::min(y1, y2)),
                     QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
    if (area.isEmpty())
        return true;
    // The brush fills the inside and the pen draws the border within the
    // rectangle; the right and bottom edges are outside it, as in GDI.
    UsePenAndBrush();
    m_painter.fillRect(area, m_painter.brush());
    if (m_painter.pen().style() != Qt::NoPen) {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
    return true;
}

bool CQtPainterDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    UsePenAndBrush();
    m_painter.drawRoundedRect(QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)), x3 / 2.0, y3 / 2.0);
    return true;
}

bool CQtPainterDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                          std::uint32_t)
{
    const auto* source = dynamic_cast<const CImageDC*>(pSrcDC);
    if (!source || nWidth <= 0 || nHeight <= 0)
        return false;
    QImage image(nWidth, nHeight, QImage::Format_RGB32);
    for (int row = 0; row < nHeight; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int col = 0; col < nWidth; ++col) {
            const COLORREF c = source->Pixel(xSrc + col, ySrc + row);
            line[col] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
        }
    }
    m_painter.drawImage(QPoint(x, y), image);
    return true;
}

int CQtPainterDC::SetDIBitsToDevice(int xDest, int yDest, unsigned nWidth, unsigned nHeight,
                                    int xSrc, int ySrc, unsigned, unsigned nNumScans,
                                    const void* pBits, const BITMAPINFO* pInfo, unsigned)
{
    if (!pInfo || !pBits)
        return 0;
    StretchDIBits(xDest, yDest, static_cast<int>(nWidth), static_cast<int>(nHeight), xSrc, ySrc,
                  static_cast<int>(nWidth), static_cast<int>(nHeight), pBits, pInfo, 0, SRCCOPY);
    return static_cast<int>(nNumScans);
}

int CQtPainterDC::StretchDIBits(int xDest, int yDest, int nDestWidth, int nDestHeight, int xSrc,
                                int ySrc, int nSrcWidth, int nSrcHeight, const void* pBits,
                                const BITMAPINFO* pInfo, unsigned, std::uint32_t)
{
    if (!pInfo || !pBits)
        return 0;
    const BITMAPINFOHEADER& header = pInfo->bmiHeader;
    const QImage image = AfxQtImageFromDib(header, pBits, DibBytes(header));
    if (image.isNull())
        return 0;
    // The source's y counts from the bottom row of a bottom-up bitmap.
    const int top = header.biHeight > 0 ? image.height() - ySrc - nSrcHeight : ySrc;
    m_painter.drawImage(QRect(xDest, yDest, nDestWidth, nDestHeight), image,
                        QRect(xSrc, top, nSrcWidth, nSrcHeight));
    return nSrcHeight;
}

// ---- The print service -----------------------------------------------------------------------

CQtPrintService::CQtPrintService() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // Pages of a view are images: 300 dots per inch are sharp on paper and
    // keep an A4 image within every driver's framebuffer limit.
    m_printer->setResolution(300);
}

CQtPrintService::~CQtPrintService() = default;

BOOL CQtPrintService::ShowPrintDialog(AfxPrintRequest& request, CWnd* pParent)
{
    QWidget* parent = AfxQtDialogParent(pParent);
    if (request.bSetupOnly) {
        QPageSetupDialog dialog(m_printer.get(), parent);
        return AfxQtRunModal(dialog) == QDialog::Accepted ? TRUE : FALSE;
    }
    QPrintDialog dialog(m_printer.get(), parent);
    dialog.setMinMax(request.nMinPage, std::max(request.nMinPage, request.nMaxPage));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (AfxQtRunModal(dialog) != QDialog::Accepted)
        return FALSE;
    if (m_printer->printRange() == QPrinter::PageRange && m_printer->fromPage() > 0) {
        request.nFromPage = m_printer->fromPage();
        request.nToPage = m_printer->toPage();
    }
    request.nCopies = m_printer->copyCount();
    request.strOutputFile = AfxFromQString(m_printer->outputFileName());
    request.bPrintToFile = request.strOutputFile.IsEmpty() ? FALSE : TRUE;
    request.strPrinterName = AfxFromQString(m_printer->printerName());
    return TRUE;
}

CDC* CQtPrintService::GetPrinterDC(const AfxPrintRequest& request)
{
    m_dc.reset(); // a run left open ends now
    m_fallbackFile.clear();
    if (!request.strFallbackFile.IsEmpty() && m_printer->outputFileName().isEmpty() &&
        QPrinterInfo::availablePrinterNames().isEmpty()) {
        m_fallbackFile = AfxToQString(request.strFallbackFile);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(m_fallbackFile);
    }
    m_dc = std::make_unique<CQtPainterDC>(m_printer.get(), true);
    if (!m_dc->Painter().isActive()) {
        m_dc.reset();
        return nullptr;
    }
    return m_dc.get();
}

void CQtPrintService::StartPage(CDC* pDC, BOOL bFirst)
{
    if (auto* dc = dynamic_cast<CQtPainterDC*>(pDC); dc && !bFirst)
        dc->NewPage();
}

void CQtPrintService::EndDoc(CDC* pDC)
{
    if (pDC == m_dc.get())
        m_dc.reset();
    else if (auto* dc = dynamic_cast<CQtPainterDC*>(pDC))
        dc->EndPainting();
    if (!m_fallbackFile.isEmpty()) {
        // The next run asks for a printer again; this one tells where it went.
        const QString file = m_fallbackFile;
        m_fallbackFile.clear();
        m_printer->setOutputFileName(QString());
        AfxGetMessageService()->MessageBox(
            AfxFormat("No printer was found: the pages were written to \"%s\".",
                      AfxFromQString(file).GetString())
                .c_str(),
            nullptr, MB_OK | MB_ICONINFORMATION);
    }
}

BOOL CQtPrintService::ShowPreview(const AfxPrintRequest&, const std::function<void(CDC*)>& paint,
                                  CWnd* pParent)
{
    QPrintPreviewDialog dialog(m_printer.get(), AfxQtDialogParent(pParent));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&paint](QPrinter* printer) {
                         AfxQtEntry([&] {
                             CQtPainterDC dc(printer, true);
                             paint(&dc);
                         });
                     });
    AfxQtRunModal(dialog);
    return TRUE;
}
