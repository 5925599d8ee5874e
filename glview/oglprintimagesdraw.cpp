// The OpenGL side of the print pictures.
#include "glview/oglprintimages.h"

#include <GL/gl.h>

#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"

void COGLPrintImages::DrawImageGL(int slot, const std::function<void(int, unsigned int)>& content) const
{
    if (slot < 0 || slot > kTmpSlot)
        return;
    const PrintImage& image = m_images[slot];
    const double* box = image.dBox;
    const double* t = image.dTransform;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(box[0], box[1], box[2], box[3], box[4], box[5]);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (image.uFlags & kPrintImageBlend)
        COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
    else
        glDisable(GL_BLEND);
    COGLRenderer::GLEnableDepthTest(GL_LEQUAL);
    if (image.uFlags & kPrintImageLight)
        GLSharedLights();

    glShadeModel(GL_SMOOTH);
    glColor4dv(dMaterialColor);
    glTranslated(t[0], 0.0, 0.0);
    glTranslated(0.0, t[1], 0.0);
    glTranslated(0.0, 0.0, t[2]);
    glRotated(t[3], 1.0, 0.0, 0.0);
    glRotated(t[4], 0.0, 1.0, 0.0);
    glRotated(t[5], 0.0, 0.0, 1.0);
    glColor4dv(dMaterialColor);

    if (content)
        content(DrawMode(image.uFlags), image.uFlags);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_LINE_LOOP);
    glVertex2d(box[0], box[2]);
    glVertex2d(box[0], box[3]);
    glVertex2d(box[1], box[3]);
    glVertex2d(box[1], box[2]);
    glEnd();
}
