// OpenGL surfaces in memory through OSMesa: the one OSMesa code path of the
// system, for tests and exporters. A surface is single-buffered (drawing
// goes to GL_FRONT) with RGBA colour, a 24-bit depth and an 8-bit stencil
// buffer; its rows are kept bottom-up as OpenGL counts them.
//
// OSMesa must come ahead of libGL in every program that uses this library,
// so that the gl* calls reach OSMesa's context.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/core/glsurface.h"

// The context current in the thread, as OSMesa reports it.
GLCurrentToken OSMesaCaptureCurrent();
// Makes a captured OSMesa context current again, or releases the thread's
// context when none was current; false for a token of another backend.
bool OSMesaRestoreCurrent(const GLCurrentToken& token);

class COSMesaSurface : public IGLSurface {
public:
    // A surface of width x height pixels. With shareWith, the new context
    // shares display lists with that surface's share group.
    COSMesaSurface(int width, int height, const COSMesaSurface* shareWith = nullptr);
    ~COSMesaSurface() override;
    COSMesaSurface(const COSMesaSurface&) = delete;
    COSMesaSurface& operator=(const COSMesaSurface&) = delete;

    // The context was created and its buffer allocated.
    bool IsValid() const { return m_context != nullptr && !m_buffer.empty(); }

    bool MakeCurrent() override;
    void DoneCurrent() override;
    bool IsCurrent() const override;
    bool HasContext() const override { return IsValid(); }
    GLCurrentToken CaptureCurrent() const override { return OSMesaCaptureCurrent(); }
    bool RestoreCurrent(const GLCurrentToken& token) const override { return OSMesaRestoreCurrent(token); }
    bool Swap() override;
    GLPixelSize PixelSize() const override { return {m_width, m_height}; }
    double DevicePixelRatio() const override { return m_ratio; }
    GLenum DefaultDrawBuffer() const override { return GL_FRONT; }
    void RequestUpdate() override { m_updateRequested = true; }
    void RepaintNow() override;
    const void* ShareGroup() const override { return m_group.get(); }

    // New size in device pixels; the contents are undefined afterwards. A
    // current surface stays current. False (and the old size kept) when the
    // size is not positive or the buffer cannot be allocated.
    bool Resize(int width, int height);
    // The ratio reported to views (fonts are built for it); 1 by default.
    void SetDevicePixelRatio(double ratio) { m_ratio = ratio; }
    // Called by RepaintNow (the host's paint).
    void SetPaintHandler(std::function<void()> paint) { m_paint = std::move(paint); }
    // A repaint was requested since the last call; clears the request.
    bool TakeUpdateRequest() { return std::exchange(m_updateRequested, false); }

    // The pixel at (x, y), y counted from the bottom row, as RGBA. Finishes
    // drawing first when the surface is current.
    std::array<std::uint8_t, 4> Pixel(int x, int y) const;
    // The colour buffer: rows bottom-up, 4 bytes a pixel (RGBA).
    const std::uint8_t* Buffer() const { return m_buffer.data(); }

private:
    void* m_context = nullptr;
    std::shared_ptr<const int> m_group; // one per set of sharing contexts
    std::vector<std::uint8_t> m_buffer;
    int m_width = 0;
    int m_height = 0;
    double m_ratio = 1.0;
    bool m_updateRequested = false;
    std::function<void()> m_paint;
};
