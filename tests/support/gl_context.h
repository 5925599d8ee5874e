// Off-screen OpenGL for tests: an OSMesa context with an RGBA colour buffer
// and a depth buffer, made current on construction. Tests draw with plain
// OpenGL 1.1 / GLU calls and read the pixels back.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace brantel::test {

class OffscreenGL {
public:
    OffscreenGL(int width = 128, int height = 128);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    bool ok() const { return m_ok; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Makes this context current again (after another one was used).
    bool makeCurrent();
    // The pixel at (x, y), y counted from the bottom row as OpenGL does.
    std::array<std::uint8_t, 4> pixel(int x, int y) const;

private:
    void* m_context = nullptr;
    std::vector<std::uint8_t> m_buffer;
    int m_width;
    int m_height;
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
