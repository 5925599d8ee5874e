// Picking helper of the geometry drawing tests: runs a draw call in OpenGL
// selection mode and reads back the names of the hit records.
#pragma once

#include <cstddef>
#include <vector>

#include <GL/gl.h>

namespace geomtest {

// Runs draw in selection mode and returns the names of the hit records in
// the order they were written.
template <class Fn>
std::vector<GLuint> HitOrder(Fn draw)
{
    std::vector<GLuint> buffer(1024);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    draw();
    const GLint hits = glRenderMode(GL_RENDER);
    std::vector<GLuint> names;
    std::size_t at = 0;
    for (GLint h = 0; h < hits; ++h) {
        const GLuint count = buffer[at];
        for (GLuint k = 0; k < count; ++k)
            names.push_back(buffer[at + 3 + k]);
        at += 3 + count;
    }
    return names;
}

} // namespace geomtest
