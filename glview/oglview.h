// COGLView: the base of every OpenGL window. A layer view whose context
// comes from the IGLSurface its window host attached (carried by the
// view's client DC). It keeps the rendering-context holder, a table of
// display lists that derived views fill, and the text font whose glyphs
// are bitmap display lists; it runs the guarded and timed draw cycle that
// calls the derived view's OnDrawOGL, rebuilds its context after system
// setting changes and copies its client area to the clipboard.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "glview/oglrenderer.h"
#include "platform/ui/core/afxui.h"

// The posted message that shows a text after the paint that raised it.
constexpr UINT WM_OGLVIEW_SHOWMESSAGE = WM_APP + 0x0F01;
// The timer that rebuilds the context after a system setting change.
constexpr UINT_PTR ID_OGLVIEW_RESET_TIMER = 26;

class COGLView : public CView
{
    DECLARE_DYNAMIC(COGLView)
public:
    COGLView();
    ~COGLView() override;

    // Draws the symmetric stress colour scale from -max to max in the unit
    // square (min is not used).
    virtual void RenderStressScale(double max, double min, CString unit, int format, int precision);
    virtual void ZoomToFit() = 0;
    // A new text font for this view: its glyph lists are rebuilt; the
    // process-wide font stays as it is.
    virtual void OptionsFont(LOGFONT lf);
    // Deletes the view's display lists and marks them out of date.
    virtual void OGLDeleteLists();
    // Re-creates the window and the context; the view object and its
    // document stay. The result is the new InitializeOGL result.
    virtual bool ResetOGL();
    // Releases the context.
    virtual void OGLDestroy();
    virtual void GetViewTransform(double*) {}
    virtual int GetViewVolume(double*& pVolume)
    {
        pVolume = nullptr;
        return 0;
    }
    // Marks every display list out of date.
    virtual void InvalidateList();
    // The view's background colour (four floats).
    virtual float* GetBckGrdClr() = 0;
    // Draws the scene into the current context.
    virtual void OnDrawOGL(CRect rect) = 0;
    // Creates the context and the glyph lists; false after telling why.
    virtual bool InitializeOGL();

    // Copies the client area to the clipboard.
    void SnapClient();
    // The thread's last error, then reset to 0.
    static DWORD GDIError();

    int m_iWidth = 200;
    int m_iHeight = 200;
    // Display lists of the view: derived views set the count before the
    // initial update and compile a list whenever its flag is false.
    int m_nLists = 0;
    std::unique_ptr<bool[]> m_pListValid;
    std::unique_ptr<unsigned int[]> m_pListIds;
    int m_iViewState = 0;
    CFont m_Font;
    COGLRenderer m_Renderer;
    // Elapsed wall time of the last draw in ms; 10000 after a failed one.
    int m_iDrawTime = 0;
    bool m_bInitialized = false;

    // Some OpenGL view of the process is inside its draw cycle.
    static bool m_bDrawing;
    // Views build bitmap-glyph lists for text.
    static bool m_bUseFontBMPs;
    // The font of every view's glyph lists; the application keeps it with
    // its settings.
    static LOGFONT m_statLogFont;
    // Back to the start values (tests only).
    static void ResetStaticsForTesting();
    // The least size of the view's text on a printed page, in points.
    static constexpr double kPrintTextPoints = 10.0;

    // Creates the window with the styles PreCreateWindow adds.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID) override;

protected:
    // Adds the child and clipping styles and the client edge.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // A window host paints in its own cycle: a paint outside it asks the
    // host to repaint.
    void OnPaint();

    BOOL OnEraseBkgnd(CDC* pDC);
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnShowMessage(WPARAM wParam, LPARAM lParam);
    // The window host made its context (InitializeOGL runs now, its boxes
    // shown after the host's paint) or is about to lose it (OGLDestroy).
    LRESULT OnGLContext(WPARAM wParam, LPARAM lParam);
    // A printed picture is drawn in a private context, factor times as many
    // pixels across as the window: a view whose projection follows its size
    // in pixels shows the same part of the model at that size, and display
    // lists of its own beyond the view's lists are made anew in that
    // context. EndPicture puts the view back exactly as it was.
    virtual void BeginPicture(double /*factor*/) {}
    virtual void EndPicture() {}

    DECLARE_MESSAGE_MAP()

private:
    // Shows text once the current paint is over.
    void PostText(const CString& text);
    // Shows text now, or after the host's paint while inside it.
    void ShowText(const CString& text);
    // A printer's page: the window's picture at its aspect ratio, as large
    // as the printable area allows, drawn off screen at the page's
    // resolution (capped at the backend's limit) with the text grown with
    // it (and to at least kPrintTextPoints), and stretched onto the page.
    void PrintImage(CDC* pDC);
    // Creates the text font from the process-wide description, falling
    // back to the system font; false when neither can be made.
    bool CreateTextFont();
    void BuildGlyphLists(const LOGFONT& lf);

    std::vector<CString> m_pendingTexts;
    bool m_bHasFont = false;       // m_Font was made
    bool m_bInitPending = false;   // the window host has not made its context yet
    bool m_bInHostInit = false;    // InitializeOGL runs inside the host's paint
};

// Calls f on each of the document's views that is a COGLView (or derived),
// in the document's view order.
void ForEachOGLView(const CDocument& doc, const std::function<void(COGLView&)>& f);
