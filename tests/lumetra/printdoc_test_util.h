// A printable document for tests: its printing hooks do nothing, its scene
// drawing records what it was asked for and the OpenGL state it found, and
// the shared print fonts can be looked at.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "glview/lumetra.h"

namespace testdoc {

// What the document's scene drawing saw.
struct ContentCall {
    int mode = -1;
    unsigned int flags = 0;
    bool blend = false;
    GLint blendSrc = 0;
    GLint blendDst = 0;
    bool depthTest = false;
    GLint depthFunc = 0;
    bool lighting = false;
    bool lights[3] = {};
    bool colorMaterial = false;
    GLdouble modelview[16] = {};
    GLdouble projection[16] = {};
};

class PrintDoc : public COGLPrintDoc
{
public:
    void PrintPageHeader(CDC*, CPrintInfo*) override {}
    void PrintPageBody(CDC*, CPrintInfo*) override {}
    void DrawImageContent(int mode, unsigned int flags) override
    {
        ContentCall c;
        c.mode = mode;
        c.flags = flags;
        c.blend = glIsEnabled(GL_BLEND);
        glGetIntegerv(GL_BLEND_SRC, &c.blendSrc);
        glGetIntegerv(GL_BLEND_DST, &c.blendDst);
        c.depthTest = glIsEnabled(GL_DEPTH_TEST);
        glGetIntegerv(GL_DEPTH_FUNC, &c.depthFunc);
        c.lighting = glIsEnabled(GL_LIGHTING);
        for (int k = 0; k < 3; ++k)
            c.lights[k] = glIsEnabled(GL_LIGHT0 + k);
        c.colorMaterial = glIsEnabled(GL_COLOR_MATERIAL);
        glGetDoublev(GL_MODELVIEW_MATRIX, c.modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, c.projection);
        calls.push_back(c);
    }
    using COGLPrintDoc::DrawImageGL;

    static CFont* LargeGreek() { return m_pLargeGreek; }
    static CFont* SuperScriptGreek() { return m_pSuperScriptGreek; }
    static CFont* SuperScript() { return m_pSuperScript; }
    static CFont* BoldFont() { return m_pBoldFont; }

    std::vector<ContentCall> calls;
};

} // namespace testdoc
