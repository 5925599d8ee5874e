// An image cut to power-of-two sizes and handed to OpenGL as a 2D texture.
#pragma once

#include "glview/secimage.h"

class COGLTexture : public SECDib {
    DECLARE_DYNAMIC(COGLTexture)
public:
    int m_nTexWidth = 0;    // powers of two from 2 to 1024, 0 before sizing
    int m_nTexHeight = 0;

    // Loads any image file through the factory and sizes it; null when the
    // file cannot be read or the picture is narrower or lower than 2 pixels.
    // The caller owns the result.
    static COGLTexture* LoadImageA(const char* path);
    static COGLTexture* LoadImageA(CFile* file);

    int CreateFromBitmap(CDC* dc, CBitmap* bitmap);
    // Texture size per axis: the largest power of two from 2 to 1024 not
    // above the image size; the image is cropped to it, centred. 0 when an
    // axis is below 2 pixels.
    int MakeCorrSize();
    // Loads 24- and 32-bit pictures into the bound 2D texture; other depths
    // load nothing.
    void GL2DTex();

private:
    static COGLTexture* FromImage(SECImage* loaded);
};
