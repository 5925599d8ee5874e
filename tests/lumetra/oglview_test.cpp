// The base OpenGL view on the headless backend with the OSMesa host:
// context creation and its messages, the guarded draw cycle, resizing,
// display lists, fonts, the context rebuild after a setting change and the
// client-area copy.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <memory>
#include <stdexcept>

#include "glstyle/drawing_settings.h"
#include "glview/lumetra.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/osmesa/afxui_osmesa.h"

using afxui::headless::HeadlessApp;

namespace {

// A view that clears to its own colour and draws a red square; it can start
// another view's paint from inside its own draw.
class CTestView : public COGLView {
public:
    float bg[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    int draws = 0;
    CWnd* nested = nullptr;
    bool square = false;
    bool boom = false;

    bool Make(int cx = 64, int cy = 48)
    {
        return Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, cx, cy), nullptr, 1) != FALSE;
    }
    void InitialUpdate() { OnInitialUpdate(); }
    void Update() { OnUpdate(nullptr, 0, nullptr); }
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect rect) override
    {
        ++draws;
        if (boom)
            throw std::runtime_error("drawing failed");
        if (square) {
            glMatrixMode(GL_PROJECTION);
            glOrtho(0, rect.Width(), 0, rect.Height(), -1, 1);
            glColor3f(1, 0, 0);
            glRectf(0, 0, 10, 10);
        }
        if (nested != nullptr)
            nested->SendMessage(WM_PAINT);
    }
    // A view on the heap deletes itself with its window; tests keep it on
    // the stack.
    void PostNcDestroy() override {}
};

// An OSMesa surface whose MakeCurrent fails from its n-th call on.
class FailingSurface : public COSMesaSurface {
public:
    explicit FailingSurface(int failFrom) : COSMesaSurface(64, 48), m_failFrom(failFrom) {}
    bool MakeCurrent() override
    {
        return ++m_calls < m_failFrom && COSMesaSurface::MakeCurrent();
    }

private:
    int m_failFrom;
    int m_calls = 0;
};

class OGLViewTest : public HeadlessApp {
protected:
    // The initial update, then the paint it asked for; draws count anew.
    void Init(CTestView& view)
    {
        view.InitialUpdate();
        PumpPosted();
        view.draws = 0;
    }

    void SetUp() override
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }
    void TearDown() override
    {
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        HeadlessApp::TearDown();
    }
};

const char* const kPrefix = "Error in COGLView InitializeOGL:\r\n\t";

TEST_F(OGLViewTest, CreationFailuresAreToldInOrderAndTheViewDrawsNothing)
{
    struct Case {
        const char* why;
        std::function<std::unique_ptr<IGLSurface>()> surface;
    };
    const Case cases[] = {
        {"Failure to get Device Context", [] { return std::unique_ptr<IGLSurface>(); }},
        {"Failure to Setup Pixel-Format", [] { return std::make_unique<FailingSurface>(1); }},
        {"Failure to Create Rendering-Context", [] { return std::make_unique<CNullGLSurface>(); }},
        {"Failure to Make Rendering-Context Current", [] { return std::make_unique<FailingSurface>(2); }},
    };
    for (const Case& c : cases) {
        CTestView view;
        ASSERT_TRUE(view.Make());
        std::unique_ptr<IGLSurface> surface = c.surface();
        AfxAttachGLSurface(view.GetSafeHwnd(), surface.get());
        Boxes().Expect(std::string(kPrefix) + c.why);
        Boxes().Expect("failure to Initialize OpenGL");
        Init(view);
        EXPECT_FALSE(view.m_bInitialized) << c.why;
        view.SendMessage(WM_PAINT);
        EXPECT_EQ(view.draws, 0) << c.why;
        AfxAttachGLSurface(view.GetSafeHwnd(), nullptr);
        view.DestroyWindow();
    }
    const auto& shown = Boxes().Shown();
    ASSERT_EQ(shown.size(), 8u);
    EXPECT_FALSE(shown[0].caption.has_value());
    EXPECT_EQ(shown[0].type, static_cast<UINT>(MB_OK));
}

TEST_F(OGLViewTest, DrawClearsToTheViewColourAndTimesIt)
{
    CTestView view;
    ASSERT_TRUE(view.Make(64, 48));
    ViewDriver driver(view, 64, 48);
    Init(view);
    ASSERT_TRUE(view.m_bInitialized);
    EXPECT_EQ(view.m_iWidth, 200);
    EXPECT_EQ(view.m_iHeight, 200);
    view.square = true;
    driver.Draw();
    EXPECT_EQ(view.draws, 1);
    EXPECT_EQ(driver.Pixel(32, 10), (std::array<std::uint8_t, 4>{0, 0, 255, 255}));
    EXPECT_EQ(driver.Pixel(2, 45)[0], 255) << "the red square in the bottom-left corner";
    EXPECT_GE(view.m_iDrawTime, 0);
    EXPECT_LT(view.m_iDrawTime, 10000);
    EXPECT_FALSE(COGLView::m_bDrawing);
}

TEST_F(OGLViewTest, TheDrawingGuardSkipsNestedDrawsAndClearsOnEveryWayOut)
{
    CTestView a, b;
    ASSERT_TRUE(a.Make());
    ASSERT_TRUE(b.Make());
    ViewDriver da(a, 64, 48), db(b, 64, 48);
    Init(a);
    Init(b);
    a.nested = &b;
    da.Draw();
    EXPECT_EQ(a.draws, 1);
    EXPECT_EQ(b.draws, 0);
    EXPECT_FALSE(COGLView::m_bDrawing);
    EXPECT_TRUE(Boxes().Shown().empty()) << "no box inside the paint";
    Boxes().Expect("Device busy drawing");
    PumpPosted();
    EXPECT_EQ(Boxes().Texts(), std::vector<std::string>{"Device busy drawing"});
    db.Draw();
    EXPECT_EQ(b.draws, 1);

    // A draw that throws leaves the other views drawing.
    a.nested = nullptr;
    a.boom = true;
    EXPECT_THROW(a.SendMessage(WM_PAINT), std::runtime_error);
    EXPECT_FALSE(COGLView::m_bDrawing);
    db.Draw();
    EXPECT_EQ(b.draws, 2);
}

TEST_F(OGLViewTest, AFailedPreDrawRecordsTenSeconds)
{
    CTestView view;
    ASSERT_TRUE(view.Make());
    FailingSurface surface(3); // creation works, the draw cannot make it current
    AfxAttachGLSurface(view.GetSafeHwnd(), &surface);
    Init(view);
    ASSERT_TRUE(view.m_bInitialized);
    surface.DoneCurrent();
    view.SendMessage(WM_PAINT);
    EXPECT_EQ(view.m_iDrawTime, 10000);
    EXPECT_EQ(view.draws, 0);
    EXPECT_FALSE(COGLView::m_bDrawing);
    view.DestroyWindow();
    AfxAttachGLSurface(view.GetSafeHwnd(), nullptr);
}

TEST_F(OGLViewTest, ResizeSetsTheSizeAndLeavesAnotherContextCurrent)
{
    CTestView view;
    ASSERT_TRUE(view.Make());
    ViewDriver driver(view, 64, 48);
    Init(view);
    COSMesaSurface other(8, 8);
    ASSERT_TRUE(other.MakeCurrent());
    driver.Size(120, 90);
    EXPECT_EQ(view.m_iWidth, 120);
    EXPECT_EQ(view.m_iHeight, 90);
    EXPECT_TRUE(other.IsCurrent());
    ASSERT_TRUE(driver.Surface().MakeCurrent());
    GLint buffer = 0;
    glGetIntegerv(GL_DRAW_BUFFER, &buffer);
    EXPECT_EQ(buffer, GL_FRONT);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 120);
    EXPECT_EQ(viewport[3], 90);
}

TEST_F(OGLViewTest, DisplayListTables)
{
    CTestView none;
    ASSERT_TRUE(none.Make());
    ViewDriver dn(none, 32, 32);
    Init(none);
    EXPECT_FALSE(none.m_pListValid);
    EXPECT_FALSE(none.m_pListIds);
    none.InvalidateList();
    none.OGLDeleteLists();

    CTestView lists;
    lists.m_nLists = 3;
    ASSERT_TRUE(lists.Make());
    ViewDriver dl(lists, 32, 32);
    Init(lists);
    ASSERT_TRUE(lists.m_pListValid);
    ASSERT_TRUE(dl.Surface().MakeCurrent());
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(lists.m_pListValid[i]);
        lists.m_pListIds[i] = glGenLists(1);
        glNewList(lists.m_pListIds[i], GL_COMPILE);
        glEndList();
        lists.m_pListValid[i] = true;
    }
    const GLuint first = lists.m_pListIds[0];
    lists.Update();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(lists.m_pListValid[i]);
    lists.OGLDeleteLists();
    EXPECT_EQ(lists.m_pListIds[0], 0u);
    EXPECT_FALSE(glIsList(first));
}

// A glyph source that cannot make "Times New Roman".
class NoTimes : public CFixedGlyphSource {
public:
    bool HasFace(const LOGFONT& lf) const override { return std::strcmp(lf.lfFaceName, "Times New Roman") != 0; }
};

TEST_F(OGLViewTest, FontsAndGlyphLists)
{
    EXPECT_EQ(COGLView::m_statLogFont.lfHeight, -21);
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Times New Roman");

    CTestView view;
    ASSERT_TRUE(view.Make(96, 32));
    ViewDriver driver(view, 96, 32);
    Init(view);
    const GLuint base = view.m_Renderer.FontListBase();
    ASSERT_NE(base, 0u);
    // "kN/m²" through the view's list base.
    view.bg[2] = 0.0f;
    driver.Draw();
    ASSERT_TRUE(driver.Surface().MakeCurrent());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 96, 0, 32, -1, 1);
    glColor3f(1, 1, 1);
    glRasterPos2i(2, 10);
    glCallLists(5, GL_UNSIGNED_BYTE, "kN/m\xB2");
    glFinish();
    int lit = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x)
            lit += driver.Surface().Pixel(x, y)[0] > 128;
    EXPECT_GT(lit, 20);

    // OptionsFont rebuilds this view's lists and leaves the static as it is.
    LOGFONT other{};
    other.lfHeight = -12;
    std::strcpy(other.lfFaceName, "Courier New");
    view.OptionsFont(other);
    EXPECT_NE(view.m_Renderer.FontListBase(), base);
    EXPECT_STREQ(COGLView::m_statLogFont.lfFaceName, "Times New Roman");

    // A face the source cannot make: the static takes the system font's
    // description for all later views.
    NoTimes source;
    AfxSetGlyphSource(&source);
    CTestView later;
    ASSERT_TRUE(later.Make());
    ViewDriver dl(later, 32, 32);
    Init(later);
    AfxSetGlyphSource(nullptr);
    EXPECT_STRNE(COGLView::m_statLogFont.lfFaceName, "Times New Roman");
    EXPECT_NE(later.m_Renderer.FontListBase(), 0u);

    // Without bitmap fonts no lists are built.
    COGLView::m_bUseFontBMPs = false;
    CTestView plain;
    ASSERT_TRUE(plain.Make());
    ViewDriver dp(plain, 32, 32);
    Init(plain);
    EXPECT_TRUE(plain.m_bInitialized);
    EXPECT_EQ(plain.m_Renderer.FontListBase(), 0u);
}

TEST_F(OGLViewTest, SettingChangeRebuildsTheContextOnTheNextPass)
{
    CDocument doc;
    doc.m_bAutoDelete = FALSE; // on the stack
    CTestView view;
    doc.AddView(&view);
    view.m_nLists = 1;
    ASSERT_TRUE(view.Make());
    ViewDriver driver(view, 32, 32);
    Init(view);
    view.m_pListValid[0] = true;
    ASSERT_TRUE(driver.Surface().MakeCurrent());
    view.m_pListIds[0] = glGenLists(1);
    const GLuint oldList = view.m_pListIds[0];
    view.SendMessage(WM_SETTINGCHANGE);
    EXPECT_TRUE(view.m_bInitialized) << "nothing happens before the next pass";
    FireTimers(0);
    EXPECT_FALSE(view.m_pListValid[0]);
    EXPECT_EQ(view.m_pListIds[0], 0u);
    EXPECT_FALSE(glIsList(oldList));
    EXPECT_EQ(view.GetDocument(), &doc);
    EXPECT_TRUE(view.m_bInitialized);
    EXPECT_NE(view.GetSafeHwnd(), nullptr);
    driver.Draw();
    EXPECT_EQ(view.draws, 1);
}

TEST_F(OGLViewTest, SnapClientCopiesTheDrawnPixels)
{
    CTestView view;
    ASSERT_TRUE(view.Make(250, 20));
    ViewDriver driver(view, 250, 20);
    Init(view);
    driver.Draw();
    view.SnapClient();
    ASSERT_EQ(Clipboard().Images().size(), 1u);
    const auto& image = Clipboard().Images()[0];
    EXPECT_EQ(image.header.biWidth, 248);
    EXPECT_EQ(image.bits[0], 255); // blue first
    EXPECT_EQ(image.bits[2], 0);
}

} // namespace
