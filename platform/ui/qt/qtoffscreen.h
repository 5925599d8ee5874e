// Off-screen images on Qt: a private, unshared QOpenGLContext (fresh list
// names) on a QOffscreenSurface per image, drawing into a framebuffer
// object with depth and stencil, read back into a bottom-up BGR or BGRA
// bitmap. The largest image is the driver's GL_MAX_RENDERBUFFER_SIZE (and
// viewport limit) in each direction.
#pragma once

#include "platform/ui/core/offscreen.h"

class CQtOffscreenFactory : public IOffscreenFactory
{
public:
    GLPixelSize MaxSize() override;
    OffscreenResult Create(GLPixelSize size, int bitCount) override;

private:
    GLPixelSize m_limit; // asked once
    bool m_bKnown = false;
};
