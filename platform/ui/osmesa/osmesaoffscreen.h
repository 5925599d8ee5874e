// Off-screen images through OSMesa: a private RGBA context (depth 24,
// stencil 8) per image, read back into a bottom-up BGR or BGRA bitmap.
#pragma once

#include "platform/ui/core/offscreen.h"

class COSMesaOffscreenFactory : public IOffscreenFactory {
public:
    // The backend's largest drawable (OSMesa's own limit).
    GLPixelSize MaxSize() override;
    OffscreenResult Create(GLPixelSize size, int bitCount) override;
};
