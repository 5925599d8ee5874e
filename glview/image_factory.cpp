#include <cctype>
#include <cstring>
#include <memory>
#include <string>

#include "glview/secimage.h"
#include "glview/secjpeg.h"
#include "glview/secpcx.h"
#include "glview/sectarga.h"
#include "glview/sectiff.h"

namespace {

struct Extension {
    const char* text;
    int type;
};

// ".tga", ".tiff" and ".jpeg" are the usual spellings beside the short ones.
constexpr Extension kExtensions[] = {
    {".dib", SECIMAGE_DIB}, {".gif", SECIMAGE_GIF}, {".pcx", SECIMAGE_PCX}, {".tif", SECIMAGE_TIFF},
    {".tgs", SECIMAGE_TARGA}, {".bmp", SECIMAGE_BMP}, {".jpg", SECIMAGE_JPEG},
    {".tga", SECIMAGE_TARGA}, {".tiff", SECIMAGE_TIFF}, {".jpeg", SECIMAGE_JPEG},
};

bool EqualNoCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

} // namespace

SECImage* CreateImageOfType(int type) {
    switch (type) {
    case SECIMAGE_DIB:
    case SECIMAGE_BMP: return new SECDib;
    case SECIMAGE_GIF: return new SECGif;
    case SECIMAGE_PCX: return new SECPcx;
    case SECIMAGE_TIFF: return new SECTiff;
    case SECIMAGE_TARGA: return new SECTarga;
    case SECIMAGE_JPEG: return new SECJpeg;
    default: return nullptr;
    }
}

int ImageTypeOfPath(const char* path) {
    if (path == nullptr)
        return -1;
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr)
        return -1;
    for (const Extension& e : kExtensions)
        if (EqualNoCase(dot, e.text))
            return e.type;
    return -1;
}

SECImage* LoadImageFile(const char* path) {
    if (path == nullptr)
        return nullptr;
    const int type = ImageTypeOfPath(path);
    if (type >= 0) {
        std::unique_ptr<SECImage> image(CreateImageOfType(type));
        if (image && image->LoadFromPath(path))
            return image.release();
    }
    PathStream file(path, PathStream::Reading);
    if (!file.IsOpen())
        return nullptr;
    return LoadImageFromStream(file);
}

SECImage* LoadImageFromFile(CFile* file) {
    if (file == nullptr)
        return nullptr;
    CFileStream stream(file);
    return LoadImageFromStream(stream);
}

SECImage* LoadImageFromStream(ImageStream& stream) {
    const std::uint64_t start = stream.Position();
    for (int type = SECIMAGE_DIB; type <= SECIMAGE_JPEG; ++type) {
        std::unique_ptr<SECImage> image(CreateImageOfType(type));
        if (image->LoadFromStream(stream))
            return image.release();
        if (!stream.Seek(start))
            return nullptr;
    }
    return nullptr;
}
