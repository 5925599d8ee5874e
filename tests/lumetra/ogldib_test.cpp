// Off-screen bitmaps on OSMesa: the DIB header from the target device, the
// drawn pixels in the DIB bytes, the context current before coming back,
// glyph lists of the target's font, image copies, printing, and the pixel
// operations.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>
#include <memory>
#include <string>

#include "glview/lumetra.h"
#include "platform/ui/osmesa/osmesaoffscreen.h"
#include "platform/ui/osmesa/osmesasurface.h"

namespace {

class OGLDIBTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = AfxGetOffscreenFactory();
        AfxSetOffscreenFactory(&m_factory);
    }
    void TearDown() override { AfxSetOffscreenFactory(m_previous); }

    // A target device of planes x bits.
    static std::unique_ptr<RecordingDC> Target(int planes, int bits)
    {
        auto dc = std::make_unique<RecordingDC>();
        dc->SetDeviceCaps(PLANES, planes);
        dc->SetDeviceCaps(BITSPIXEL, bits);
        return dc;
    }

    // Viewport and matrices of a width x height image in pixel units.
    static void PixelSpace(int width, int height)
    {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, width, 0, height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Draws a red quad over x 100-299, y 200-399 (from the bottom) of a
    // viewport of the DIB's size.
    static void DrawRedQuad(int width, int height)
    {
        PixelSpace(width, height);
        glColor3f(1, 0, 0);
        glRectf(100, 200, 300, 400);
    }

    // Pixel (x, y) of the DIB (y from the bottom) as blue, green, red, alpha
    // (alpha 255 below 32 bits).
    static std::array<int, 4> DibPixel(COGLDIB& dib, int x, int y)
    {
        const int bits = dib.GetBMPInfo()->bmiHeader.biBitCount;
        const auto* row = static_cast<const std::uint8_t*>(dib.GetlpBits()) +
                          DibStride(static_cast<std::size_t>(dib.GetWidth()), static_cast<unsigned>(bits)) * y;
        if (bits == 16) {
            const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
            return {static_cast<int>((v & 0x1F) << 3), static_cast<int>((v >> 5 & 0x1F) << 3),
                    static_cast<int>((v >> 10 & 0x1F) << 3), 255};
        }
        const auto* p = row + bits / 8 * x;
        return {p[0], p[1], p[2], bits == 32 ? p[3] : 255};
    }

    COSMesaOffscreenFactory m_factory;
    IOffscreenFactory* m_previous = nullptr;
};

TEST_F(OGLDIBTest, TheHeaderFollowsTheTargetDevice)
{
    struct Case {
        int planes, bits, width, height;
        long xRes, yRes;
        int dibBits;
        long wantX, wantY;
    };
    const Case cases[] = {
        {1, 8, 10, 7, 0, 0, 16, 800 * 1000 / 212, 600 * 1000 / 159}, // a 256-colour target
        {1, 24, 10, 7, 5000, 0, 24, 5000, 600 * 1000 / 159},
        {1, 32, 13, 3, 100, 200, 32, 100, 200},
        {4, 8, 5, 2, 0, 0, 32, 3773, 3773},
        {1, 1, 3, 3, 1, 1, 16, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.planes << " x " << c.bits);
        const auto target = Target(c.planes, c.bits);
        COGLDIB dib;
        ASSERT_TRUE(dib.PreDraw(target.get(), CSize(c.width, c.height), nullptr, c.xRes, c.yRes));
        dib.PostDraw();
        const BITMAPINFOHEADER& h = dib.GetBMPInfo()->bmiHeader;
        EXPECT_EQ(h.biSize, 40u);
        EXPECT_EQ(h.biWidth, c.width);
        EXPECT_EQ(h.biHeight, c.height);
        EXPECT_EQ(h.biPlanes, 1);
        EXPECT_EQ(h.biBitCount, c.dibBits);
        EXPECT_EQ(h.biCompression, BI_RGB);
        EXPECT_EQ(h.biSizeImage, static_cast<std::uint32_t>((c.dibBits * c.width + 31) / 32 * 4 * c.height));
        EXPECT_EQ(h.biXPelsPerMeter, c.wantX);
        EXPECT_EQ(h.biYPelsPerMeter, c.wantY);
        EXPECT_EQ(dib.GetExtents(), CSize(c.width, c.height));
        EXPECT_EQ(sizeof(OGLDIBInfo), 1064u);
    }
}

TEST_F(OGLDIBTest, DrawnPixelsLandInTheDibBytes)
{
    for (const int bits : {8, 24, 32}) {
        SCOPED_TRACE(bits);
        const auto target = Target(1, bits);
        COGLDIB dib;
        float blue[4] = {0, 0, 1, 1};
        ASSERT_TRUE(dib.PreDraw(target.get(), CSize(1000, 700), blue));
        DrawRedQuad(1000, 700);
        dib.PostDraw();
        const auto inside = DibPixel(dib, 150, 250);
        EXPECT_GT(inside[2], 240);
        EXPECT_LT(inside[0], 10);
        EXPECT_LT(inside[1], 10);
        for (const auto& [x, y] : {std::pair{50, 250}, {150, 150}, {350, 250}, {150, 450}, {999, 699}}) {
            const auto outside = DibPixel(dib, x, y);
            EXPECT_GT(outside[0], 240) << x << "," << y;
            EXPECT_LT(outside[2], 10) << x << "," << y;
        }
        // Edges of the quad, bottom-up rows.
        EXPECT_GT(DibPixel(dib, 100, 200)[2], 240);
        EXPECT_LT(DibPixel(dib, 300, 400)[2], 10);
    }
    // Without a background: white with alpha 0.
    const auto target = Target(1, 32);
    COGLDIB dib;
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(8, 8)));
    dib.PostDraw();
    EXPECT_EQ(DibPixel(dib, 3, 3), (std::array<int, 4>{255, 255, 255, 0}));
}

TEST_F(OGLDIBTest, TheContextCurrentBeforeComesBackAndSurfacesAreReleased)
{
    COSMesaSurface view(16, 16);
    ASSERT_TRUE(view.MakeCurrent());
    const auto target = Target(1, 24);
    COGLDIB dib;
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(64, 32)));
    EXPECT_FALSE(view.IsCurrent());
    // A second PreDraw without Clear releases the first surface.
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(32, 64)));
    EXPECT_EQ(dib.GetExtents(), CSize(32, 64));
    dib.PostDraw();
    EXPECT_TRUE(view.IsCurrent());
    dib.Clear();
    EXPECT_TRUE(view.IsCurrent());
    EXPECT_EQ(dib.GetlpBits(), nullptr);
    EXPECT_EQ(dib.GetBMPInfo(), nullptr);
    EXPECT_EQ(dib.GetExtents(), CSize(0, 0));

    // Cleared before PostDraw: the view's context is back too.
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(8, 8)));
    dib.Clear();
    EXPECT_TRUE(view.IsCurrent());
    view.DoneCurrent();
}

TEST_F(OGLDIBTest, RequestsThatCannotBeMetFailAndHoldNothing)
{
    const auto target = Target(1, 24);
    const GLPixelSize limit = COGLDIB::MaxSize();
    ASSERT_GT(limit.cx, 0);
    struct Case {
        const char* what;
        CDC* target;
        CSize size;
        OffscreenFailure failure;
    };
    const Case cases[] = {
        {"no target", nullptr, CSize(8, 8), OffscreenFailure::BadRequest},
        {"empty size", target.get(), CSize(0, 8), OffscreenFailure::BadRequest},
        {"too wide", target.get(), CSize(limit.cx + 1, 8), OffscreenFailure::TooLarge},
        {"too high", target.get(), CSize(8, limit.cy + 1), OffscreenFailure::TooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        COGLDIB dib;
        EXPECT_FALSE(dib.PreDraw(c.target, c.size));
        EXPECT_EQ(dib.LastFailure(), c.failure);
        EXPECT_EQ(dib.GetlpBits(), nullptr);
        dib.PostDraw(); // nothing to finish
        EXPECT_EQ(dib.CopyImage(nullptr, 1), nullptr);
    }
    AfxSetOffscreenFactory(nullptr);
    COGLDIB dib;
    EXPECT_FALSE(dib.PreDraw(target.get(), CSize(8, 8)));
    EXPECT_EQ(COGLDIB::MaxSize().cx, 0);
}

TEST_F(OGLDIBTest, GlyphListsArePrivateAndDrawTheTargetFont)
{
    const auto target = Target(1, 24);
    CFont font;
    LOGFONT lf{};
    lf.lfHeight = -13;
    std::strcpy(lf.lfFaceName, "Courier New");
    font.CreateFontIndirect(&lf);
    target->SelectObject(&font);
    COGLDIB dib;
    dib.UseFontBMPs(true);
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(120, 30)));
    GLint base = 0;
    glGetIntegerv(GL_LIST_BASE, &base);
    EXPECT_EQ(base, 1000);
    EXPECT_TRUE(glIsList(1000 + 'A'));
    PixelSpace(120, 30);
    glColor3f(0, 0, 0);
    glRasterPos2i(4, 10);
    glCallLists(6, GL_UNSIGNED_BYTE, "Brantl");
    dib.PostDraw();
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x)
            dark += DibPixel(dib, x, y)[0] < 128;
    EXPECT_GT(dark, 30);
}

TEST_F(OGLDIBTest, ImageCopiesOfEveryKind)
{
    const auto target = Target(1, 24);
    COGLDIB dib;
    EXPECT_EQ(dib.CopyImage(target.get(), 1), nullptr); // nothing drawn yet
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(64, 48)));
    DrawRedQuad(64, 48);
    glColor3f(0, 1, 0);
    glRectf(0, 0, 20, 10);
    dib.PostDraw();
    struct Case {
        int type;
        const CRuntimeClass* kind; // null: no image
    };
    const Case cases[] = {
        {0, nullptr},
        {1, RUNTIME_CLASS(SECDib)},
        {2, RUNTIME_CLASS(SECJpeg)},
        {3, RUNTIME_CLASS(SECTarga)},
        {4, RUNTIME_CLASS(SECTiff)},
        {5, RUNTIME_CLASS(SECGif)},
        {6, RUNTIME_CLASS(SECPcx)},
        {7, RUNTIME_CLASS(COGLTexture)},
        {8, nullptr},
        {-1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        std::unique_ptr<SECImage> image(dib.CopyImage(target.get(), c.type));
        if (c.kind == nullptr) {
            EXPECT_EQ(image, nullptr);
            continue;
        }
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetRuntimeClass(), c.kind);
        EXPECT_FALSE(image->IsEmpty());
    }

    // The BMP file of a type-1 copy holds the DIB's pixels.
    std::unique_ptr<SECImage> bmp(dib.CopyImage(target.get(), 1));
    ASSERT_NE(bmp, nullptr);
    const std::string path = testing::TempDir() + "ogldib_copy.bmp";
    ASSERT_TRUE(bmp->SaveToPath(path.c_str()));
    std::unique_ptr<SECImage> loaded(LoadImageFile(path.c_str()));
    ASSERT_NE(loaded, nullptr);
    ASSERT_EQ(loaded->m_nWidth, 64u);
    ASSERT_EQ(loaded->m_nHeight, 48u);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const RGBQUAD c = loaded->GetColor(static_cast<unsigned>(x), static_cast<unsigned>(y));
            const auto p = DibPixel(dib, x, y);
            ASSERT_EQ((std::array<int, 3>{c.rgbBlue, c.rgbGreen, c.rgbRed}),
                      (std::array<int, 3>{p[0], p[1], p[2]}))
                << x << "," << y;
        }
    std::remove(path.c_str());
}

TEST_F(OGLDIBTest, PrintingRecordsTheRectangles)
{
    const auto target = Target(1, 24);
    COGLDIB dib;
    RecordingDC printer;
    dib.PrintSetDIBits(&printer, 1, 2); // nothing to print yet
    EXPECT_TRUE(printer.Calls().empty());
    ASSERT_TRUE(dib.PreDraw(target.get(), CSize(40, 30)));
    dib.PostDraw();
    dib.PrintSetDIBits(&printer, 5, 6);
    dib.PrintStrech(&printer, 7, 8, CSize(40, 30), CSize(400, 300));
    ASSERT_EQ(printer.Calls().size(), 2u);
    EXPECT_EQ(printer.Calls()[0], "SetDIBitsToDevice 5 6 40 30 0 0 0 30 bits 24 0");
    EXPECT_EQ(printer.Calls()[1], "StretchDIBits 7 8 400 300 0 0 40 30 bits 24 0 0x00CC0020");
}

TEST_F(OGLDIBTest, PixelOperations)
{
    COGLDIB empty;
    EXPECT_EQ(empty.BGRtoRGB(), 0);
    EXPECT_EQ(empty.SetAlphaLayer(10, 0, 0), 0);
    EXPECT_EQ(empty.AddAlphaLayer(10, 0, 0), 0);
    EXPECT_FALSE(empty.HasAlphaLayer());

    // 24 bits: the swap works row by row with padded rows; no alpha.
    const auto target24 = Target(1, 24);
    COGLDIB dib24;
    ASSERT_TRUE(dib24.PreDraw(target24.get(), CSize(5, 3)));
    DrawRedQuad(5, 3);
    glColor3f(0, 0, 1);
    glRectf(0, 0, 5, 3);
    dib24.PostDraw();
    const auto before = DibPixel(dib24, 4, 2);
    EXPECT_EQ(dib24.AddAlphaLayer(200, 0, 0), 0);
    EXPECT_EQ(dib24.SetAlphaLayer(200, 0, 0), 0);
    EXPECT_EQ(DibPixel(dib24, 4, 2), before);
    EXPECT_EQ(dib24.BGRtoRGB(), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const auto p = DibPixel(dib24, x, y);
            EXPECT_EQ(p[0], 0);
            EXPECT_EQ(p[2], 255);
        }
    // The padding bytes stay as they were.
    const auto* bytes = static_cast<const std::uint8_t*>(dib24.GetlpBits());
    EXPECT_EQ(bytes[15], 0);

    // 32 bits, 300 rows: alpha rises a step a row and stays at 255.
    const auto target32 = Target(1, 32);
    COGLDIB dib32;
    ASSERT_TRUE(dib32.PreDraw(target32.get(), CSize(3, 300)));
    dib32.PostDraw();
    EXPECT_TRUE(dib32.HasAlphaLayer());
    EXPECT_EQ(dib32.SetAlphaLayer(128, 0, 1), 1);
    for (const auto& [row, alpha] : {std::pair{0, 128}, {1, 129}, {126, 254}, {127, 255}, {128, 255}, {299, 255}})
        EXPECT_EQ(DibPixel(dib32, 2, row)[3], alpha) << row;
    EXPECT_EQ(dib32.SetAlphaLayer(100, 0, -1), 1);
    for (const auto& [row, alpha] : {std::pair{0, 100}, {100, 0}, {299, 0}})
        EXPECT_EQ(DibPixel(dib32, 0, row)[3], alpha) << row;
    EXPECT_EQ(dib32.AddAlphaLayer(77, 0, 0), 1);
    EXPECT_EQ(DibPixel(dib32, 1, 150)[3], 77);
    EXPECT_EQ(dib32.AddAlphaLayer(10, 0.5, 0), 0); // an x gradient does nothing
    EXPECT_EQ(DibPixel(dib32, 1, 150)[3], 77);
}

} // namespace
