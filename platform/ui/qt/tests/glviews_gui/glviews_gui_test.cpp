// OpenGL views in QOpenGLWidget hosts on a display: the first paint, input,
// the rebuild after a reset and after a lost context, shared glyph lists,
// boxes raised inside a paint, off-screen images, printing and the
// clipboard. Pictures of the frames go to the test artifacts.
#include <algorithm>
#include <cstring>

#include <QClipboard>
#include <QFile>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "platform/ui/qt/tests/glviews_gui/glviews.h"
#include "tests/framira/page_runner.h"

using namespace glviews;

namespace
{

bool IsRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool IsGreen(QRgb c)
{
    return qGreen(c) > 200 && qRed(c) < 60 && qBlue(c) < 60;
}
bool IsBlue(QRgb c)
{
    return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60;
}

int CountWhite(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            n += qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200;
        }
    return n;
}

// White text at the bottom left of the view in its glyph lists.
void Text(CRect rect, const char* text)
{
    Rect2D(rect, 0, 0, 0, 0, 1, 1, 1);
    glColor3f(1, 1, 1);
    glRasterPos2i(8, 8);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

// Win32's double click: down, up, double click, up.
const UINT kWin32Double[] = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};

std::vector<UINT> Only(const std::vector<UINT>& messages, std::initializer_list<UINT> kinds)
{
    std::vector<UINT> out;
    for (UINT m : messages)
        if (std::find(kinds.begin(), kinds.end(), m) != kinds.end())
            out.push_back(m);
    return out;
}

} // namespace

TEST_F(GLViewsOnQt, FirstPaintInitialisesTheViewAndShowsItsScene)
{
    CTestGLView view;
    view.scene = [](CRect r) {
        Rect2D(r, r.Width() / 2 - 20, r.Height() / 2 - 20, r.Width() / 2 + 20, r.Height() / 2 + 20,
               1, 0, 0);
    };
    Show(view, CRect(10, 10, 210, 160));

    // InitializeOGL once, inside the widget's own set-up with its context
    // current, before the first resize and draw.
    ASSERT_FALSE(view.calls.empty());
    EXPECT_EQ(view.calls.front(), "init");
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "init"), 1);
    EXPECT_TRUE(view.contextAtInit);
    EXPECT_TRUE(view.initializedAtFirstDraw);

    const QImage frame = Frame(view);
    Save(frame, "glview-red-square.png");
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(view.m_iWidth, frame.width());
    EXPECT_EQ(view.m_iHeight, frame.height());
    EXPECT_TRUE(IsRed(frame.pixel(frame.width() / 2, frame.height() / 2)));
    EXPECT_TRUE(IsBlue(frame.pixel(3, 3)));
    EXPECT_TRUE(IsBlue(frame.pixel(frame.width() - 4, frame.height() - 4)));
}

// The OpenGL information page as a view opens it: fed by the view's
// renderer, whose context is the view's real one.
TEST_F(GLViewsOnQt, TheOpenGLInformationPageShowsTheViewsContext)
{
    CTestGLView view;
    Show(view, CRect(10, 10, 210, 160));
    COGLRenderer& renderer = view.m_Renderer;
    KorPPOGLInfo page(&renderer);
    EXPECT_FALSE(page.m_strExtensions.IsEmpty());
    framira_test::RunPage(page, [&](afxui::headless::DialogDriver& d,
                                    afxui::headless::ModalScript&) {
        for (int field = 0; field < 4; ++field) {
            SCOPED_TRACE(field);
            EXPECT_FALSE(renderer.GetOGLInfo(field).IsEmpty());
            EXPECT_EQ(d.Text(KorPPOGLInfo::kFields[field]), renderer.GetOGLInfo(field));
        }
        EXPECT_EQ(d.Text(KorPPOGLInfo::IDC_EXTENSIONS), page.m_strExtensions);
        QString why;
        EXPECT_TRUE(afxui::qt::testing::SaveScreenshot(AfxQtWidgetOf(page.GetParent()),
                                                       "pages-opengl-information.png", &why))
            << why.toStdString();
        d.PressCancel();
    });
}

TEST_F(GLViewsOnQt, InputArrivesAsTheViewsMessagesInDevicePixels)
{
    CTestGLView view;
    Show(view, CRect(10, 10, 210, 160));
    QOpenGLWidget* gl = GLWidget(view);
    const double ratio = gl->devicePixelRatioF();
    const QPoint at(30, 40);
    // Through the window, as the window system delivers input (Qt makes
    // the double click from the second press itself).
    QWindow* window = gl->window()->windowHandle();
    const QPoint inWindow = gl->mapTo(gl->window(), at);

    // Entering and moving: the cursor question comes before the first move.
    view.messages.clear();
    QTest::mouseMove(window, inWindow);
    ASSERT_TRUE(WaitFor([&] { return !Only(view.messages, {WM_MOUSEMOVE}).empty(); }));
    const auto moves = Only(view.messages, {WM_SETCURSOR, WM_MOUSEMOVE});
    EXPECT_EQ(moves.front(), static_cast<UINT>(WM_SETCURSOR));

    // A double click in Win32's order.
    view.messages.clear();
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, inWindow);
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, inWindow);
    const std::vector<UINT> clicks = Only(view.messages, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK});
    EXPECT_NE(std::search(clicks.begin(), clicks.end(), std::begin(kWin32Double), std::end(kWin32Double)),
              clicks.end())
        << testing::PrintToString(clicks);

    // Modifiers and the point of a press.
    view.messages.clear();
    view.params.clear();
    QTest::mousePress(window, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, inWindow);
    QTest::mouseRelease(window, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, inWindow);
    const auto press = std::find(view.messages.begin(), view.messages.end(), WM_RBUTTONDOWN);
    ASSERT_NE(press, view.messages.end());
    const auto [flags, point] = view.params[press - view.messages.begin()];
    EXPECT_EQ(flags, static_cast<WPARAM>(MK_RBUTTON | MK_SHIFT | MK_CONTROL));
    EXPECT_EQ(LOWORD(point), static_cast<WORD>(at.x() * ratio));
    EXPECT_EQ(HIWORD(point), static_cast<WORD>(at.y() * ratio));

    // One wheel notch away from the user, at a screen point.
    view.messages.clear();
    view.params.clear();
    const QPointF global = gl->mapToGlobal(QPointF(at));
    QWheelEvent wheel(QPointF(at), global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(gl, &wheel);
    ASSERT_EQ(view.messages, std::vector<UINT>{WM_MOUSEWHEEL});
    EXPECT_EQ(static_cast<short>(HIWORD(view.params[0].first)), 120);
    EXPECT_EQ(LOWORD(view.params[0].second), static_cast<WORD>(global.x() * ratio));
    EXPECT_EQ(HIWORD(view.params[0].second), static_cast<WORD>(global.y() * ratio));

    // Keys as virtual-key codes.
    struct KeyCase {
        Qt::Key key;
        UINT vk;
    };
    for (const KeyCase& k : {KeyCase{Qt::Key_Delete, 46u}, KeyCase{Qt::Key_A, UINT('A')},
                             KeyCase{Qt::Key_7, UINT('7')}, KeyCase{Qt::Key_Left, 0x25u},
                             KeyCase{Qt::Key_F5, 0x74u}}) {
        SCOPED_TRACE(k.vk);
        view.messages.clear();
        view.params.clear();
        QTest::keyClick(gl, k.key);
        ASSERT_EQ(view.messages, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
        EXPECT_EQ(view.params[0].first, k.vk);
        EXPECT_EQ(view.params[1].first, k.vk);
    }
    EXPECT_EQ(gl->focusPolicy(), Qt::StrongFocus);
}

TEST_F(GLViewsOnQt, TheViewsOwnScrollBarsShowItsRangeAndSendItsScrolls)
{
    CTestGLView view;
    view.style |= WS_HSCROLL | WS_VSCROLL;
    Show(view, CRect(10, 10, 210, 160));
    view.SetScrollRange(SB_VERT, 0, 50);
    view.SetScrollPos(SB_VERT, 10);
    view.draws = 0;
    CQtGLHost::Of(view.GetSafeHwnd())->RequestUpdate();
    ASSERT_TRUE(WaitFor([&] { return view.draws > 0; }));
    QScrollBar* bars[2] = {};
    for (QScrollBar* bar : AfxQtWidgetOf(&view)->findChildren<QScrollBar*>())
        bars[bar->orientation() == Qt::Vertical ? SB_VERT : SB_HORZ] = bar;
    ASSERT_TRUE(bars[SB_HORZ] && bars[SB_VERT]);
    EXPECT_EQ(bars[SB_VERT]->maximum(), 50);
    EXPECT_EQ(bars[SB_VERT]->value(), 10);
    // The drawing area leaves room for the bars.
    EXPECT_LT(GLWidget(view)->width(), 200);
    EXPECT_LT(GLWidget(view)->height(), 150);

    struct ScrollCase {
        int bar;
        QAbstractSlider::SliderAction action;
        UINT message;
        UINT code;
    };
    for (const ScrollCase& c : {ScrollCase{SB_VERT, QAbstractSlider::SliderSingleStepAdd, WM_VSCROLL, SB_LINEDOWN},
                                ScrollCase{SB_VERT, QAbstractSlider::SliderPageStepSub, WM_VSCROLL, SB_PAGEUP},
                                ScrollCase{SB_HORZ, QAbstractSlider::SliderToMaximum, WM_HSCROLL, SB_BOTTOM}}) {
        SCOPED_TRACE(c.code);
        view.messages.clear();
        view.params.clear();
        bars[c.bar]->triggerAction(c.action);
        ASSERT_EQ(view.messages, std::vector<UINT>{c.message});
        EXPECT_EQ(LOWORD(view.params[0].first), c.code);
        EXPECT_EQ(view.params[0].second, 0); // the window's own bar
    }
}

TEST_F(GLViewsOnQt, ResetAndLostContextsRebuildTheViewsListsAndText)
{
    CTestGLView view;
    view.bg[2] = 0.0f; // black
    view.m_nLists = 1;
    int compiled = 0;
    view.scene = [&](CRect r) {
        if (!view.m_pListValid[0]) {
            view.m_pListIds[0] = glGenLists(1);
            glNewList(view.m_pListIds[0], GL_COMPILE);
            glEndList();
            view.m_pListValid[0] = true;
            ++compiled;
        }
        glCallList(view.m_pListIds[0]);
        Text(r, "kN/m\xB2 Mx");
    };
    Show(view, CRect(10, 10, 210, 110));
    const QImage before = Frame(view);
    Save(before, "glview-text-before-reset.png");
    EXPECT_GT(CountWhite(before), 20);
    EXPECT_EQ(compiled, 1);

    // A setting change posts the reset timer: the widget is replaced, the
    // view object stays and builds its lists and glyphs again.
    QPointer<QOpenGLWidget> old = GLWidget(view);
    view.draws = 0;
    view.SendMessage(WM_SETTINGCHANGE);
    ASSERT_TRUE(WaitFor([&] { return old.isNull() && view.draws > 0; }));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "init"), 2);
    EXPECT_TRUE(view.m_bInitialized);
    EXPECT_EQ(compiled, 2);
    const QImage after = Frame(view);
    Save(after, "glview-text-after-reset.png");
    EXPECT_GT(CountWhite(after), 20);

    // Moving to another screen rebuilds the view the same way.
    old = GLWidget(view);
    view.draws = 0;
    emit GLWidget(view)->window()->windowHandle()->screenChanged(QGuiApplication::primaryScreen());
    ASSERT_TRUE(WaitFor([&] { return old.isNull() && view.draws > 0; }));
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "init"), 3);
    EXPECT_GT(CountWhite(Frame(view)), 20);

    // Qt announces the context's end: the view lets go first (list ids
    // zeroed), and the next context initialises it again.
    CQtGLHost* host = CQtGLHost::Of(view.GetSafeHwnd());
    view.calls.clear();
    emit GLWidget(view)->context()->aboutToBeDestroyed();
    EXPECT_EQ(view.calls, std::vector<std::string>{"destroy"});
    EXPECT_EQ(view.m_pListIds[0], 0u);
    EXPECT_FALSE(view.m_bInitialized);
    host->ContextReady();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"destroy", "init"}));
    EXPECT_TRUE(view.m_bInitialized);
    view.draws = 0;
    host->RequestUpdate();
    ASSERT_TRUE(WaitFor([&] { return view.draws > 0; }));
    EXPECT_GT(CountWhite(Frame(view)), 20);
}

// Blanks in drawn text move what follows them, as in " 0.0 mm" of a legend.
TEST_F(GLViewsOnQt, BlanksInDrawnTextMoveTheFollowingGlyphs)
{
    const auto leftmostWhite = [](const QImage& image) {
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QRgb c = image.pixel(x, y);
                if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) > 200)
                    return x;
            }
        return -1;
    };
    CTestGLView view;
    view.bg[2] = 0.0f; // black
    const char* text = "I";
    view.scene = [&](CRect r) { Text(r, text); };
    Show(view, CRect(10, 10, 210, 110));
    const int plain = leftmostWhite(Frame(view));
    ASSERT_GE(plain, 0);
    text = "   I";
    view.draws = 0;
    CQtGLHost::Of(view.GetSafeHwnd())->RequestUpdate();
    ASSERT_TRUE(WaitFor([&] { return view.draws > 0; }));
    const QImage blanks = Frame(view);
    Save(blanks, "glview-text-blanks.png");
    EXPECT_GT(leftmostWhite(blanks), plain + 6) << "three blanks move the letter";
}

TEST_F(GLViewsOnQt, TwoViewsShareOneFontsGlyphListsWithTheirOwnListBase)
{
    CTestGLView left, right;
    Show(left, CRect(10, 10, 160, 110), 1);
    Show(right, CRect(170, 10, 320, 110), 2);
    const GLuint base = left.m_Renderer.FontListBase();
    ASSERT_NE(base, 0u);
    EXPECT_EQ(right.m_Renderer.FontListBase(), base);
    CQtGLHost* hosts[] = {CQtGLHost::Of(left.GetSafeHwnd()), CQtGLHost::Of(right.GetSafeHwnd())};
    EXPECT_EQ(hosts[0]->ShareGroup(), hosts[1]->ShareGroup());
    EXPECT_EQ(AfxGetGlyphListCache().References(hosts[0]->ShareGroup(), base), 2);
    for (CQtGLHost* host : hosts) {
        ASSERT_TRUE(host->MakeCurrent());
        GLint listBase = 0;
        glGetIntegerv(GL_LIST_BASE, &listBase);
        EXPECT_EQ(static_cast<GLuint>(listBase), base);
        // Building lists leaves the unpack alignment as it was.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
        const GLuint lists = glGenLists(256);
        AfxCompileGlyphLists(lists, COGLView::m_statLogFont, host->DevicePixelRatio());
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 8);
        glDeleteLists(lists, 256);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    }
}

namespace
{

// Records each box and whether some view was inside its paint then.
class PaintAwareBoxes : public CMessageService
{
public:
    std::vector<CQtGLHost*> hosts;
    std::vector<std::pair<std::string, bool>> shown;
    int MessageBox(LPCTSTR lpszText, LPCTSTR, UINT) override
    {
        const bool painting =
            std::any_of(hosts.begin(), hosts.end(), [](CQtGLHost* h) { return h && h->IsPainting(); });
        shown.emplace_back(lpszText, painting);
        return IDOK;
    }
};

class FailingInitView : public CTestGLView
{
public:
    bool InitializeOGL() override
    {
        calls.push_back("init");
        return false;
    }
};

} // namespace

TEST_F(GLViewsOnQt, BoxesRaisedInsideAPaintShowAfterIt)
{
    PaintAwareBoxes boxes;
    CMessageService* previous = AfxSetMessageService(&boxes);
    CTestGLView drawing, nested;
    bool nest = false;
    drawing.scene = [&](CRect) {
        if (nest)
            nested.SendMessage(WM_PAINT);
    };
    Show(drawing, CRect(10, 10, 160, 110), 1);
    Show(nested, CRect(170, 10, 320, 110), 2);
    boxes.hosts = {CQtGLHost::Of(drawing.GetSafeHwnd()), CQtGLHost::Of(nested.GetSafeHwnd())};

    nest = true;
    nested.draws = 0;
    drawing.draws = 0;
    CQtGLHost::Of(drawing.GetSafeHwnd())->RequestUpdate();
    ASSERT_TRUE(WaitFor([&] { return !boxes.shown.empty(); }));
    EXPECT_GT(drawing.draws, 0);
    EXPECT_EQ(nested.draws, 0); // the nested paint is dropped
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].first, "Device busy drawing");
    EXPECT_FALSE(boxes.shown[0].second);
    nest = false;

    // A view whose set-up fails in the widget's first paint says so after it.
    boxes.shown.clear();
    FailingInitView failing;
    ASSERT_TRUE(failing.Make(*m_window, CRect(330, 10, 480, 110), 3));
    failing.InitialUpdate();
    boxes.hosts.push_back(CQtGLHost::Of(failing.GetSafeHwnd()));
    AfxQtWidgetOf(&failing)->show();
    ASSERT_TRUE(WaitFor([&] { return !boxes.shown.empty(); }));
    EXPECT_EQ(boxes.shown[0].first, "failure to Initialize OpenGL");
    EXPECT_FALSE(boxes.shown[0].second);
    EXPECT_FALSE(failing.m_bInitialized);
    EXPECT_EQ(failing.draws, 0);
    failing.DestroyWindow();
    AfxSetMessageService(previous);
}

TEST_F(GLViewsOnQt, OffscreenImagesAreBottomUpBgrWithinTheFramebufferLimit)
{
    CTestGLView view;
    Show(view, CRect(10, 10, 110, 110));
    CQtGLHost* host = CQtGLHost::Of(view.GetSafeHwnd());
    ASSERT_TRUE(host->MakeCurrent());
    QOpenGLContext* viewContext = QOpenGLContext::currentContext();

    IOffscreenFactory* factory = AfxGetOffscreenFactory();
    ASSERT_EQ(factory, &m_gl->Offscreen());
    const int w = 4000, h = 3000;
    OffscreenResult result = factory->Create({w, h}, 24);
    ASSERT_TRUE(result.image) << static_cast<int>(result.failure);
    EXPECT_NE(QOpenGLContext::currentContext(), viewContext);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const CRect all(0, 0, w, h);
    Rect2D(all, 0, 0, 50, 50, 1, 0, 0);         // bottom left: red
    Rect2D(all, w - 50, 0, w, 50, 0, 1, 0);     // bottom right: green
    Rect2D(all, 0, h - 50, 50, h, 1, 1, 1);     // top left: white
    Rect2D(all, w - 50, h - 50, w, h, 1, 1, 0); // top right: yellow
    ASSERT_TRUE(result.image->Finish());
    EXPECT_EQ(QOpenGLContext::currentContext(), viewContext);

    const IOffscreenImage& image = *result.image;
    EXPECT_EQ(image.Stride() % 4, 0u);
    EXPECT_EQ(image.Stride(), DibStride(w, 24));
    const auto bgr = [&](int x, int y) {
        const std::uint8_t* p = image.Bits() + image.Stride() * y + 3 * x;
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(bgr(0, 0), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(bgr(w - 1, 0), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(bgr(0, h - 1), (std::array<int, 3>{255, 255, 255}));
    EXPECT_EQ(bgr(w - 1, h - 1), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(bgr(w / 2, h / 2), (std::array<int, 3>{255, 0, 0}));
    result.image.reset();
    EXPECT_EQ(QOpenGLContext::currentContext(), viewContext);

    // Too large: the limit comes back and nothing changes.
    const GLPixelSize limit = factory->MaxSize();
    ASSERT_GT(limit.cx, 0);
    const OffscreenResult tooLarge = factory->Create({limit.cx + 1, 16}, 24);
    EXPECT_FALSE(tooLarge.image);
    EXPECT_EQ(tooLarge.failure, OffscreenFailure::TooLarge);
    EXPECT_EQ(tooLarge.limit.cx, limit.cx);
    EXPECT_EQ(tooLarge.limit.cy, limit.cy);
    EXPECT_EQ(QOpenGLContext::currentContext(), viewContext);

    // The depth follows the target: a screen's 32 bits, a printer's 24.
    QImage canvas(8, 8, QImage::Format_ARGB32);
    for (const bool printing : {false, true}) {
        CQtPainterDC target(&canvas, printing);
        COGLDIB dib;
        ASSERT_TRUE(dib.PreDraw(&target, CSize(16, 16)));
        dib.PostDraw();
        EXPECT_EQ(dib.GetBMPInfo()->bmiHeader.biBitCount, printing ? 24 : 32);
    }
    EXPECT_EQ(QOpenGLContext::currentContext(), viewContext);
}

namespace
{

// A view without OpenGL: text through the device context.
class CTextView : public CView
{
public:
    int pages = 0;
    void OnDraw(CDC* pDC) override
    {
        ++pages;
        pDC->TextOut(40, 40, "Plate 1: kN/m\xB2");
    }
    void PostNcDestroy() override {}
};

// A print document for its fonts.
class CFontsDoc : public COGLPrintDoc
{
public:
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int, unsigned int) override {}
};

// The view of a printed result line: Greek and superscript glyphs.
class CWriteTextView : public CView
{
public:
    int pages = 0;
    void OnDraw(CDC* pDC) override
    {
        ++pages;
        const int height = pDC->GetDeviceCaps(LOGPIXELSY) / 6;
        CFontsDoc fonts;
        fonts.CreateFonts(height);
        CFont font;
        LOGFONT lf{};
        lf.lfHeight = -height;
        std::strcpy(lf.lfFaceName, "Times New Roman");
        font.CreateFontIndirect(&lf);
        CFont* old = pDC->SelectObject(&font);
        CPoint pt(pDC->GetDeviceCaps(LOGPIXELSX), pDC->GetDeviceCaps(LOGPIXELSY));
        pt = COGLPrintDoc::WriteText(pDC, pt, "max ", "\xF3", "x", "", " = 12.5", "kN/m\xB2", -1, "");
        COGLPrintDoc::WriteText(pDC, pt, "m", "", "", "\xE1", " = 3.1", "kNm/m", -1, "");
        pDC->SelectObject(old);
        fonts.DestroyFonts();
    }
    void PostNcDestroy() override {}
};

} // namespace

TEST_F(GLViewsOnQt, PrintingToFileWritesTheViewAsAnImageOnOnePage)
{
    CTestGLView view;
    view.scene = [](CRect r) { Rect2D(r, r.Width() / 4, r.Height() / 4, r.Width() * 3 / 4, r.Height() * 3 / 4, 1, 0, 0); };
    Show(view, CRect(10, 10, 210, 160));
    QTemporaryDir dir;
    const QString pdf = afxui::qt::testing::PrintToArtifactPdf(m_gl->Print().Printer(), "glview-print.pdf");
    int dialogs = 0;
    afxui::qt::testing::ModalHookScope hook([&](QDialog& dialog) {
        ++dialogs;
        if (qobject_cast<QPrintDialog*>(&dialog))
            dialog.accept();
        if (qobject_cast<QPrintPreviewDialog*>(&dialog)) {
            dialog.resize(600, 500);
            QTest::qWait(200);
            Save(dialog.grab().toImage(), "glview-print-preview.png");
        }
    });
    view.SendMessage(WM_COMMAND, ID_FILE_PRINT);
    EXPECT_EQ(dialogs, 1);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << pdf.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
    // The same page in the preview, for the eye.
    view.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(dialogs, 2);

    // The printer's metrics through the device context.
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    probe.setOutputFileName(dir.filePath("caps.pdf"));
    probe.setResolution(150);
    CQtPainterDC caps(&probe, true);
    const std::pair<int, int> table[] = {
        {HORZRES, probe.width()},      {VERTRES, probe.height()},  {HORZSIZE, probe.widthMM()},
        {VERTSIZE, probe.heightMM()},  {LOGPIXELSX, 150},          {LOGPIXELSY, 150},
        {PLANES, 1},                   {BITSPIXEL, 24}};
    for (const auto& [index, value] : table)
        EXPECT_EQ(caps.GetDeviceCaps(index), value) << index;
    EXPECT_TRUE(caps.IsPrinting());
}

TEST_F(GLViewsOnQt, ViewsWithoutOpenGLPrintTextAndPreviewThroughTheirPages)
{
    // TextOut on a printer's context draws the text.
    CTextView text;
    QImage page(400, 120, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        CQtPainterDC dc(&page, true);
        text.OnPrint(&dc, nullptr);
    }
    int dark = 0;
    for (int y = 40; y < 70; ++y)
        for (int x = 40; x < 250; ++x)
            dark += qGray(page.pixel(x, y)) < 100;
    EXPECT_GT(dark, 50);
    Save(page, "print-textout.png");
    {
        // A Greek font reads its bytes as code page 1253.
        CQtPainterDC dc(&page, true);
        CFont greek;
        LOGFONT lf{};
        lf.lfHeight = -20;
        lf.lfCharSet = GREEK_CHARSET;
        std::strcpy(lf.lfFaceName, "DejaVu Serif");
        greek.CreateFontIndirect(&lf);
        dc.SelectObject(&greek);
        long cx = 0, cy = 0;
        dc.GetTextExtent("\xF3\xE1", 2, cx, cy);
        EXPECT_EQ(cx, QFontMetrics(dc.Painter().font(), &page).horizontalAdvance(QString::fromUtf8("\u03C3\u03B1")));
    }

    // The preview paints through the view's page loop; setup opens its dialog.
    CWnd& window = Window(300, 200);
    CWriteTextView view;
    ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &window, 1));
    std::vector<QString> shown;
    afxui::qt::testing::ModalHookScope hook([&](QDialog& dialog) {
        shown.push_back(dialog.metaObject()->className());
        if (qobject_cast<QPrintPreviewDialog*>(&dialog)) {
            dialog.resize(700, 600);
            WaitFor([&] { return view.pages > 0; });
            QTest::qWait(100);
            Save(dialog.grab().toImage(), "print-preview-writetext.png");
        }
        dialog.reject();
    });
    view.SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_GT(view.pages, 0);
    view.SendMessage(WM_COMMAND, ID_FILE_PRINT_SETUP);
    EXPECT_EQ(shown, (std::vector<QString>{"QPrintPreviewDialog", "QPageSetupDialog"}));
    view.DestroyWindow();
}

TEST_F(GLViewsOnQt, ClientCopyPutsTheViewOnTheClipboardTheRightWayUp)
{
    CQtClipboard clipboard;
    CClipboardService* previous = AfxSetClipboardService(&clipboard);
    CTestGLView view;
    view.scene = [](CRect r) {
        Rect2D(r, 0, 0, r.Width(), r.Height(), 1, 0, 0);
        Rect2D(r, 0, r.Height() - 10, 10, r.Height(), 0, 1, 0); // top left
    };
    Show(view, CRect(10, 10, 260, 130));
    ASSERT_EQ(view.m_iWidth, 250);
    view.SnapClient();
    const QImage image = QGuiApplication::clipboard()->image();
    AfxSetClipboardService(previous);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 248);
    EXPECT_EQ(image.height(), view.m_iHeight);
    EXPECT_TRUE(IsGreen(image.pixel(2, 2)));
    EXPECT_TRUE(IsRed(image.pixel(2, image.height() - 3)));
    EXPECT_TRUE(IsRed(image.pixel(200, 2)));
}

// ---- Picking at a device pixel ratio of 1.5 --------------------------------------------------

namespace
{

constexpr const char* kScaledChild = "BRANTEL_GLVIEWS_SCALED";

// Three small named quads in device pixels; a left click picks.
class CPickView : public CTestGLView
{
public:
    UINT picked = 0;
    GLint viewport[4] = {};
    static constexpr int kQuads[3][2] = {{30, 30}, {60, 30}, {90, 30}}; // bottom-left corners

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LBUTTONDOWN) {
            const CPoint pt(LOWORD(lParam), HIWORD(lParam));
            if (m_Renderer.PrePickDraw(pt, 1, 1) == 0) {
                glGetIntegerv(GL_VIEWPORT, viewport);
                glOrtho(0, m_iWidth, 0, m_iHeight, -1, 1);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                for (int i = 0; i < 3; ++i) {
                    glLoadName(101 + i);
                    glRecti(kQuads[i][0], kQuads[i][1], kQuads[i][0] + 12, kQuads[i][1] + 12);
                }
                picked = m_Renderer.PostPickDraw(0xFFFFFFFFu, 0, nullptr);
            }
        }
        return CTestGLView::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST_F(GLViewsOnQt, PickingRunsAtADevicePixelRatioOfOneAndAHalf)
{
    if (qEnvironmentVariableIsSet(kScaledChild)) {
        // The scaled run itself (a child process).
        ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 1.5);
        CPickView view;
        view.scene = [](CRect r) {
            for (const auto& q : CPickView::kQuads)
                Rect2D(r, q[0], q[1], q[0] + 12, q[1] + 12, 1, 0, 0);
        };
        Show(view, CRect(10, 10, 210, 160));
        EXPECT_EQ(view.m_iWidth, 300);
        EXPECT_EQ(view.m_iHeight, 225);
        Save(Frame(view), "glview-pick-dpr15.png");
        // The middle quad's centre in logical pixels, y down.
        const QPoint logical(qRound((60 + 6) / 1.5), qRound((225 - (30 + 6)) / 1.5));
        QOpenGLWidget* gl = GLWidget(view);
        QTest::mouseClick(gl->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          gl->mapTo(gl->window(), logical));
        EXPECT_EQ(view.picked, 102u);
        EXPECT_EQ(view.viewport[2], 300);
        EXPECT_EQ(view.viewport[3], 225);
        return;
    }
    // Qt's scale is fixed per process: the check runs in a child.
    RunScaledChild(kScaledChild, "GLViewsOnQt.PickingRunsAtADevicePixelRatioOfOneAndAHalf");
}
