#include "glview/ogltexture.h"

#include <memory>

#include <GL/gl.h>

namespace {

int TextureSize(unsigned imageSize) {
    if (imageSize < 2)
        return 0;
    int size = 1024;
    while (static_cast<unsigned>(size) > imageSize)
        size /= 2;
    return size;
}

} // namespace

IMPLEMENT_DYNAMIC(COGLTexture, SECDib)

COGLTexture* COGLTexture::FromImage(SECImage* loaded) {
    std::unique_ptr<SECImage> image(loaded);
    if (!image)
        return nullptr;
    auto texture = std::make_unique<COGLTexture>();
    texture->TakeOver(*image);
    if (texture->IsEmpty() || !texture->MakeCorrSize())
        return nullptr;
    return texture.release();
}

COGLTexture* COGLTexture::LoadImageA(const char* path) {
    return FromImage(LoadImageFile(path));
}

COGLTexture* COGLTexture::LoadImageA(CFile* file) {
    return FromImage(LoadImageFromFile(file));
}

int COGLTexture::CreateFromBitmap(CDC* dc, CBitmap* bitmap) {
    if (!SECImage::CreateFromBitmap(dc, bitmap))
        return 0;
    return MakeCorrSize();
}

int COGLTexture::MakeCorrSize() {
    const int width = TextureSize(m_nWidth);
    const int height = TextureSize(m_nHeight);
    if (width == 0 || height == 0) {
        m_nTexWidth = m_nTexHeight = 0;
        return 0;
    }
    if (static_cast<unsigned>(width) != m_nWidth || static_cast<unsigned>(height) != m_nHeight) {
        // Centred: half the surplus is cut on the left and at the bottom;
        // the crop counts y from the top.
        const int left = (static_cast<int>(m_nWidth) - width) / 2;
        const int bottom = (static_cast<int>(m_nHeight) - height) / 2;
        const int top = static_cast<int>(m_nHeight) - height - bottom;
        if (!Crop(left, top, width, height))
            return 0;
    }
    m_nTexWidth = width;
    m_nTexHeight = height;
    return 1;
}

void COGLTexture::GL2DTex() {
    if (m_nBitsPerPixel != 24 && m_nBitsPerPixel != 32)
        return;
    if (m_nTexWidth == 0 || static_cast<unsigned>(m_nTexWidth) != m_nWidth ||
        static_cast<unsigned>(m_nTexHeight) != m_nHeight)
        return;
    // Rows are padded to 4 bytes, which is what an unpack alignment of 4 reads.
    PadRows();
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    const bool alpha = m_nBitsPerPixel == 32;
    glTexImage2D(GL_TEXTURE_2D, 0, alpha ? 4 : 3, m_nTexWidth, m_nTexHeight, 0,
                 alpha ? GL_BGRA_EXT : GL_BGR_EXT, GL_UNSIGNED_BYTE, m_Bits.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}
