#include "platform/ui/osmesa/osmesaoffscreen.h"

#include <new>
#include <vector>

#include <GL/osmesa.h>

#include "platform/ui/osmesa/osmesasurface.h"

namespace {

class COSMesaImage : public IOffscreenImage {
public:
    COSMesaImage(OSMesaContext context, std::vector<std::uint8_t>&& colour,
                 std::vector<std::uint8_t>&& bits, GLPixelSize size, int bitCount,
                 const GLCurrentToken& previous)
        : m_context(context), m_colour(std::move(colour)), m_bits(std::move(bits)),
          m_size(size), m_bitCount(bitCount), m_previous(previous)
    {
    }

    ~COSMesaImage() override
    {
        // Work still queued must finish before the context goes; the thread
        // keeps (or gets back) the context it had before this image.
        const GLCurrentToken now = OSMesaCaptureCurrent();
        const bool current = now.handles[0] == m_context;
        if (MakeCurrent())
            glFinish();
        if (!OSMesaRestoreCurrent(current ? m_previous : now))
            OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
        OSMesaDestroyContext(m_context);
    }

    int Width() const override { return m_size.cx; }
    int Height() const override { return m_size.cy; }
    int BitCount() const override { return m_bitCount; }

    bool MakeCurrent() override
    {
        return OSMesaMakeCurrent(m_context, m_colour.data(), GL_UNSIGNED_BYTE, m_size.cx,
                                 m_size.cy) == GL_TRUE;
    }

    bool Finish() override
    {
        if (!MakeCurrent())
            return false;
        glFinish();
        AfxReadDibPixels(GL_FRONT, m_size.cx, m_size.cy, m_bitCount, m_bits.data());
        OSMesaRestoreCurrent(m_previous);
        return true;
    }

    std::uint8_t* Bits() override { return m_bits.data(); }
    const std::uint8_t* Bits() const override { return m_bits.data(); }

private:
    OSMesaContext m_context;
    std::vector<std::uint8_t> m_colour; // OSMesa's RGBA colour buffer
    std::vector<std::uint8_t> m_bits;   // the bitmap read back
    GLPixelSize m_size;
    int m_bitCount;
    GLCurrentToken m_previous;
};

GLint BackendLimit(GLint pname)
{
    GLint value = 0;
    OSMesaGetIntegerv(pname, &value);
    return value;
}

} // namespace

GLPixelSize COSMesaOffscreenFactory::MaxSize()
{
    return {BackendLimit(OSMESA_MAX_WIDTH), BackendLimit(OSMESA_MAX_HEIGHT)};
}

OffscreenResult COSMesaOffscreenFactory::Create(GLPixelSize size, int bitCount)
{
    OffscreenResult result;
    result.limit = MaxSize();
    if (size.cx <= 0 || size.cy <= 0 || (bitCount != 24 && bitCount != 32)) {
        result.failure = OffscreenFailure::BadRequest;
        return result;
    }
    if (size.cx > result.limit.cx || size.cy > result.limit.cy) {
        result.failure = OffscreenFailure::TooLarge;
        return result;
    }
    const auto width = static_cast<std::size_t>(size.cx);
    const auto height = static_cast<std::size_t>(size.cy);
    std::vector<std::uint8_t> colour;
    std::vector<std::uint8_t> bits;
    try {
        colour.resize(width * height * 4);
        bits.resize(DibStride(width, static_cast<unsigned>(bitCount)) * height);
    } catch (const std::bad_alloc&) {
        result.failure = OffscreenFailure::NoMemory;
        return result;
    }
    const GLCurrentToken previous = OSMesaCaptureCurrent();
    OSMesaContext context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
    if (!context) {
        result.failure = OffscreenFailure::NoContext;
        return result;
    }
    if (OSMesaMakeCurrent(context, colour.data(), GL_UNSIGNED_BYTE, size.cx, size.cy) != GL_TRUE) {
        OSMesaDestroyContext(context);
        OSMesaRestoreCurrent(previous);
        result.failure = OffscreenFailure::NoContext;
        return result;
    }
    result.image = std::make_unique<COSMesaImage>(context, std::move(colour), std::move(bits),
                                                  size, bitCount, previous);
    return result;
}
