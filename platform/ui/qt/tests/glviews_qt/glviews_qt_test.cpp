// The OpenGL side of the Qt backend without a display (offscreen): the
// null host of a view, the QFont glyph source and the view cursors.
#include <algorithm>
#include <cstring>
#include <set>
#include <optional>

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPixmap>
#include <QWidget>

#include "glview/lumetra.h"
#include "platform/ui/core/afxui.h"
#include "platform/ui/headless/afxui_headless.h"
#include "platform/ui/qt/afxui_qt.h"
#include "platform/ui/qt/testing/qttesting.h"

namespace
{

class CPlainGLView : public COGLView
{
public:
    float bg[4] = {0, 0, 0, 1};
    int draws = 0;
    void InitialUpdate() { OnInitialUpdate(); }
    void ZoomToFit() override {}
    float* GetBckGrdClr() override { return bg; }
    void OnDrawOGL(CRect) override { ++draws; }
    void PostNcDestroy() override {}
};

class GLOnOffscreenQt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        afxui::qt::testing::TestApplication();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
        m_backend.emplace();
        m_env.emplace(m_backend->Backend());
        m_gl.emplace();
    }
    void TearDown() override
    {
        m_gl.reset();
        m_env->Verify();
        m_env.reset();
        m_backend.reset();
        COGLRenderer::ResetStaticsForTesting();
        COGLView::ResetStaticsForTesting();
    }

    std::optional<afxui::qt::testing::BackendScope> m_backend;
    std::optional<afxui::headless::ScriptedEnvironment> m_env;
    std::optional<CQtGLServices> m_gl;
};

LOGFONT Font(const char* face, int height, int weight = 400, bool italic = false)
{
    LOGFONT lf{};
    lf.lfHeight = -height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    std::strcpy(lf.lfFaceName, face);
    return lf;
}

int SetBits(const GlyphBitmap& glyph)
{
    int n = 0;
    for (std::uint8_t byte : glyph.bits)
        for (; byte; byte &= static_cast<std::uint8_t>(byte - 1))
            ++n;
    return n;
}

} // namespace

TEST_F(GLOnOffscreenQt, AViewWithoutAnOpenGLHostSaysSoAndDrawsNothing)
{
    ASSERT_FALSE(AfxQtCanHostOpenGL());
    CWnd top;
    ASSERT_TRUE(top.Create(nullptr, "views", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    CPlainGLView view;
    ASSERT_TRUE(view.Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 100), &top, 1));
    IGLSurface* surface = AfxGetGLSurface(view.GetSafeHwnd());
    ASSERT_NE(surface, nullptr);
    EXPECT_FALSE(surface->HasContext());
    m_env->Boxes().Expect("Error in COGLView InitializeOGL:\r\n\tFailure to Create Rendering-Context");
    m_env->Boxes().Expect("failure to Initialize OpenGL");
    view.InitialUpdate();
    EXPECT_FALSE(view.m_bInitialized);
    view.SendMessage(WM_PAINT);
    view.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 80));
    EXPECT_EQ(view.draws, 0);
    top.DestroyWindow();
    EXPECT_EQ(AfxGetGLSurface(view.GetSafeHwnd()), nullptr);
}

TEST_F(GLOnOffscreenQt, GlyphsRenderTheFontsFaceSizeAndStyleFromCodePage1252)
{
    CQtGlyphSource source;
    EXPECT_NE(dynamic_cast<CQtGlyphSource*>(&AfxGetGlyphSource()), nullptr); // the services' one
    const LOGFONT serif = Font("Times New Roman", 20);
    const GlyphBitmap two = source.Glyph(serif, 1.0, '2');
    const GlyphBitmap squared = source.Glyph(serif, 1.0, 0xB2);
    ASSERT_GT(two.width, 0);
    ASSERT_GT(squared.width, 0);
    // The superscript two is smaller and sits above the baseline.
    EXPECT_LT(squared.height, two.height);
    EXPECT_LT(squared.yorig, 0.0f);
    EXPECT_EQ(squared.bits.size(), static_cast<std::size_t>((squared.width + 7) / 8 * squared.height));
    // A blank advances without set pixels; control bytes do neither.
    const GlyphBitmap blank = source.Glyph(serif, 1.0, ' ');
    EXPECT_EQ(SetBits(blank), 0);
    EXPECT_GT(blank.advance, 0.0f);
    EXPECT_EQ(source.Glyph(serif, 1.0, '\n').advance, 0.0f);

    // Height times the device pixel ratio; weight and italic.
    const GlyphBitmap big = source.Glyph(serif, 2.0, 'H');
    const GlyphBitmap normal = source.Glyph(serif, 1.0, 'H');
    EXPECT_NEAR(big.height, 2 * normal.height, 2);
    EXPECT_GT(SetBits(source.Glyph(Font("Times New Roman", 20, FW_BOLD), 1.0, 'H')), SetBits(normal));
    EXPECT_NE(source.Glyph(Font("Times New Roman", 20, 400, true), 1.0, 'H').bits, normal.bits);

    // The faces the views name resolve to installed twins.
    struct FaceCase {
        const char* face;
        std::vector<QString> families;
    };
    const FaceCase faces[] = {{"Times New Roman", {"Liberation Serif", "DejaVu Serif"}},
                              {"Courier New", {"Liberation Mono", "DejaVu Sans Mono"}}};
    for (const FaceCase& c : faces) {
        const QString family = QFontInfo(AfxQtGlyphFont(Font(c.face, 20), 1.0)).family();
        EXPECT_NE(std::find(c.families.begin(), c.families.end(), family), c.families.end())
            << c.face << " -> " << family.toStdString();
    }
}

TEST_F(GLOnOffscreenQt, TheSixViewCursorsAre32PixelImagesWithTheirHotSpots)
{
    std::set<std::pair<int, int>> hotSpots;
    QWidget widget;
    AfxQtSetCursorWidget(&widget);
    CQtCursor cursors;
    for (UINT id = AFX_IDC_VIEW_FIRST; id <= AFX_IDC_VIEW_LAST; ++id) {
        SCOPED_TRACE(id);
        const auto* resource = AfxFindResource<AfxCursorResource>(id);
        ASSERT_NE(resource, nullptr);
        const QCursor cursor = AfxQtCursor(resource);
        EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
        EXPECT_EQ(cursor.hotSpot(), QPoint(resource->xHotSpot, resource->yHotSpot));
        hotSpots.emplace(resource->xHotSpot, resource->yHotSpot);
        cursors.SetCursor(resource);
        EXPECT_EQ(widget.cursor().hotSpot(), cursor.hotSpot());
        EXPECT_EQ(widget.cursor().pixmap().size(), QSize(32, 32));
    }
    EXPECT_GE(hotSpots.size(), 3u);
    cursors.SetCursor(nullptr);
    EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);
    AfxQtSetCursorWidget(nullptr);
}
