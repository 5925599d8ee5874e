#include <memory>

#include <GL/gl.h>

#include "tests/lumetra/image_test_util.h"
#include "tests/support/gl_context.h"

using namespace imgtest;

TEST(Texture, SizesArePowersOfTwoCutFromTheCentre) {
    COGLTexture texture;
    MakePattern(texture, 1000, 301, 24);
    SECDib original;
    MakePattern(original, 1000, 301, 24);
    ASSERT_EQ(texture.MakeCorrSize(), 1);
    EXPECT_EQ(texture.m_nTexWidth, 512);
    EXPECT_EQ(texture.m_nTexHeight, 256);
    EXPECT_EQ(texture.m_nWidth, 512u);
    EXPECT_EQ(texture.m_nHeight, 256u);
    // 244 columns cut on the left, 22 rows at the bottom.
    EXPECT_TRUE(SameColor(texture.GetColor(0, 0), original.GetColor(244, 22)));
    EXPECT_TRUE(SameColor(texture.GetColor(511, 255), original.GetColor(755, 277)));

    COGLTexture big;
    ASSERT_TRUE(big.CreateImage(2000, 3, 8));
    ASSERT_EQ(big.MakeCorrSize(), 1);
    EXPECT_EQ(big.m_nTexWidth, 1024);
    EXPECT_EQ(big.m_nTexHeight, 2);
}

TEST(Texture, ThinPicturesGiveNoTexture) {
    SECDib thin;
    MakePattern(thin, 1, 100, 24);
    const std::string path = Scratch("thin.bmp");
    ASSERT_TRUE(thin.SaveToPath(path.c_str()));
    EXPECT_EQ(COGLTexture::LoadImageA(path.c_str()), nullptr);
    EXPECT_EQ(COGLTexture::LoadImageA(Scratch("absent.bmp").c_str()), nullptr);

    SECDib wide;
    MakePattern(wide, 40, 20, 24);
    ASSERT_TRUE(wide.SaveToPath(Scratch("wide.tga").c_str()));
    std::unique_ptr<COGLTexture> texture(COGLTexture::LoadImageA(Scratch("wide.tga").c_str()));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->m_nTexWidth, 32);
    EXPECT_EQ(texture->m_nTexHeight, 16);
    CFile file(Scratch("wide.tga").c_str(), CFile::modeRead);
    texture.reset(COGLTexture::LoadImageA(&file));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->m_nTexWidth, 32);

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateDIB(1, 8, 24));
    COGLTexture fromBitmap;
    EXPECT_EQ(fromBitmap.CreateFromBitmap(nullptr, &bitmap), 0);
}

class TextureGL : public brantel::test::GLTest {
protected:
    // Uploads the texture and reads level 0 back as RGB rows.
    std::vector<std::uint8_t> Upload(COGLTexture& texture) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        texture.GL2DTex();
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        std::vector<std::uint8_t> rgb;
        if (width > 0) {
            rgb.resize(static_cast<std::size_t>(texture.m_nTexWidth) * texture.m_nTexHeight * 3);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        }
        glDeleteTextures(1, &name);
        return rgb;
    }
};

TEST_F(TextureGL, TwentyFourBitPixelsKeepTheirColours) {
    ASSERT_TRUE(gl->ok());
    COGLTexture texture;
    // Two pixels wide: rows of 6 bytes padded to 8.
    ASSERT_TRUE(texture.CreateImage(2, 2, 24));
    texture.Row(0)[2] = 255;            // bottom-left red
    texture.Row(1)[3 + 1] = 255;        // top-right green
    ASSERT_EQ(texture.MakeCorrSize(), 1);
    const auto rgb = Upload(texture);
    ASSERT_EQ(rgb.size(), 12u);
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[1], 0);
    EXPECT_EQ(rgb[2], 0);
    EXPECT_EQ(rgb[6 + 3 + 1], 255);     // second row, second pixel
    EXPECT_EQ(rgb[6 + 0], 0);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TextureGL, EightBitUploadsNothing) {
    ASSERT_TRUE(gl->ok());
    COGLTexture texture;
    MakePattern(texture, 4, 4, 8);
    ASSERT_EQ(texture.MakeCorrSize(), 1);
    EXPECT_TRUE(Upload(texture).empty());
}
