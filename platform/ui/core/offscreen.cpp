#include "platform/ui/core/offscreen.h"

#include <atomic>

namespace {
std::atomic<IOffscreenFactory*> g_factory{nullptr};
}

IOffscreenFactory* AfxGetOffscreenFactory()
{
    return g_factory.load();
}

void AfxSetOffscreenFactory(IOffscreenFactory* factory)
{
    g_factory.store(factory);
}

void AfxReadDibPixels(GLenum buffer, int width, int height, int bitCount, std::uint8_t* bits)
{
    // Rows of a DIB are padded to 4 bytes, as a pack alignment of 4 gives;
    // both count rows from the bottom.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    glReadBuffer(buffer);
    glReadPixels(0, 0, width, height, bitCount == 32 ? GL_BGRA : GL_BGR, GL_UNSIGNED_BYTE, bits);
    glPopClientAttrib();
}
