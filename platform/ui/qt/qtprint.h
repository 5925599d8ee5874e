// Printing on Qt: a device context that draws with a QPainter (on a
// QPrinter, the preview's printer or any paint device), and the print
// service over one QPrinter: QPrintDialog ("print to file" gives PDF),
// QPageSetupDialog for print setup and QPrintPreviewDialog, which paints
// through the view's own page loop. The printer keeps its settings from
// one dialog to the next.
#pragma once

#include <functional>
#include <memory>

#include <QPainter>

#include "platform/ui/core/gdi.h"
#include "platform/ui/core/services.h"

class QPaintDevice;
class QPrinter;

class CQtPainterDC : public CDC
{
public:
    // Paints on device from now until the context goes (or EndPainting).
    // A printer's context answers IsPrinting and has 24 bits a pixel.
    CQtPainterDC(QPaintDevice* pDevice, bool bPrinting);
    ~CQtPainterDC() override;
    using CDC::TextOut;

    // Starts a new sheet (a paged device only).
    void NewPage();
    // Ends the painting: a printer's document is complete afterwards.
    void EndPainting();
    QPainter& Painter() { return m_painter; }

    // GetDeviceCaps answers HORZRES, VERTRES (pixels), HORZSIZE, VERTSIZE
    // (mm), LOGPIXELSX/Y, PLANES and BITSPIXEL of the device. TextOut puts
    // the top left of the text at (x, y); bytes are the layer's text, or
    // code page 1253 in a GREEK_CHARSET font. BitBlt copies from a memory
    // context (CImageDC); any other source draws nothing and fails.
    CGdiObject* GetCurrentFont() const override { return m_pFont; }
    AFX_DC_DRAWING_OVERRIDES()

private:
    QFont CurrentFont() const;
    // The selected font is a Greek one (its bytes are code page 1253).
    bool IsGreek() const;
    void UsePenAndBrush();

    QPaintDevice* m_pDevice;
    QPainter m_painter;
    CGdiObject* m_pPen = nullptr;   // not owned
    CGdiObject* m_pBrush = nullptr; // not owned
    CGdiObject* m_pFont = nullptr;  // not owned
    CGdiObject* m_pBitmap = nullptr;
    unsigned long m_textColor = 0;
    unsigned long m_bkColor = 0xFFFFFF;
    int m_bkMode = OPAQUE;
    QPoint m_pos;
};

class CQtPrintService : public CPrintService
{
public:
    CQtPrintService();
    ~CQtPrintService() override;

    BOOL ShowPrintDialog(AfxPrintRequest& request, CWnd* pParent) override;
    CDC* GetPrinterDC(const AfxPrintRequest& request) override;
    void StartPage(CDC* pDC, BOOL bFirst) override;
    void EndDoc(CDC* pDC) override;
    BOOL ShowPreview(const AfxPrintRequest& request, const std::function<void(CDC*)>& paint,
                     CWnd* pParent) override;

    QPrinter& Printer() { return *m_printer; }

private:
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<CQtPainterDC> m_dc; // the print run's
    QString m_fallbackFile; // the PDF file this run writes for want of a printer
};
