// Off-screen OpenGL for tests: an OSMesa surface of the window layer (RGBA
// colour, depth and stencil buffers), made current on construction. Tests
// draw with plain OpenGL 1.1 / GLU calls and read the pixels back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "platform/ui/osmesa/osmesasurface.h"

namespace brantel::test {

class OffscreenGL {
public:
    OffscreenGL(int width = 128, int height = 128);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool ok() const { return m_ok; }
    int width() const { return m_surface.PixelSize().cx; }
    int height() const { return m_surface.PixelSize().cy; }
    // Makes this context current again (after another one was used).
    bool makeCurrent();
    // The pixel at (x, y), y counted from the bottom row as OpenGL does.
    std::array<std::uint8_t, 4> pixel(int x, int y) const;

    // The surface itself, for code that draws through IGLSurface.
    COSMesaSurface& surface() { return m_surface; }

private:
    COSMesaSurface m_surface;
    bool m_ok = false;
};

// Fixture: a current 128 x 128 context for each test, with an orthographic
// projection of [-1, 1] x [-1, 1] and a black background.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override { gl.reset(); }
    std::unique_ptr<OffscreenGL> gl;
};

} // namespace brantel::test
