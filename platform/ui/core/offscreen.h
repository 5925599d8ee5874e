// Off-screen OpenGL images: a private context (its own list names) drawing
// into memory, read back as a device-independent bitmap. The backend in use
// registers its factory; image export and printing draw through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/afx/gdi.h"
#include "platform/ui/core/glsurface.h"

// An image being drawn. Create made its context current (after noting the
// context current before); the caller sets viewport and matrices and draws,
// then Finish reads the pixels and makes the noted context current again.
class IOffscreenImage {
public:
    virtual ~IOffscreenImage() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // 24 (BGR) or 32 (BGRA).
    virtual int BitCount() const = 0;
    std::size_t Stride() const { return DibStride(static_cast<std::size_t>(Width()), BitCount()); }

    // Makes the image's context current again (after drawing elsewhere).
    virtual bool MakeCurrent() = 0;
    // Finishes drawing, reads the pixels into Bits and makes current the
    // context that was current when the image was created. False when the
    // image's context could not be made current.
    virtual bool Finish() = 0;
    // The pixels after Finish: rows bottom-up, Stride() bytes each (whole
    // 4-byte words), blue first.
    virtual std::uint8_t* Bits() = 0;
    virtual const std::uint8_t* Bits() const = 0;
};

enum class OffscreenFailure {
    None,
    BadRequest, // size not positive or a bit count other than 24 and 32
    TooLarge,   // above MaxSize()
    NoMemory,   // the pixel buffers could not be allocated
    NoContext,  // the context could not be created or made current
};

struct OffscreenResult {
    std::unique_ptr<IOffscreenImage> image; // null on failure
    OffscreenFailure failure = OffscreenFailure::None;
    GLPixelSize limit;                      // the factory's MaxSize()
};

class IOffscreenFactory {
public:
    virtual ~IOffscreenFactory() = default;
    // The largest image the backend renders, in pixels.
    virtual GLPixelSize MaxSize() = 0;
    // A new image whose context is current, cleared to nothing in
    // particular. On failure nothing is left allocated and the context that
    // was current stays current.
    virtual OffscreenResult Create(GLPixelSize size, int bitCount) = 0;
};

// Reads the current context's pixels from buffer into bits as a DIB:
// width x height, rows bottom-up, 4-byte aligned, BGR (24) or BGRA (32).
// The pixel-store state is left as it was.
void AfxReadDibPixels(GLenum buffer, int width, int height, int bitCount, std::uint8_t* bits);

// The factory registered by the backend in use; null before one is.
IOffscreenFactory* AfxGetOffscreenFactory();
// Registers a factory (null: none). The caller keeps it alive meanwhile.
void AfxSetOffscreenFactory(IOffscreenFactory* factory);
