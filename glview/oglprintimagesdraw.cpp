// The OpenGL side of the print pictures.
#include "glview/oglprintimages.h"

#include <GL/gl.h>

#include "glstyle/drawing_settings.h"
#include "glview/oglrenderer.h"

namespace {

// The shared lights and material, with lighting and colour material on.
void setLights()
{
    struct Light {
        const float* ambient;
        const float* diffuse;
        const float* specular;
        const float* position; // null: light 1 keeps its own
    };
    const Light lights[3] = {{ambientLight1, diffuseLight1, specularLight1, nullptr},
                             {ambientLight2, diffuseLight2, specularLight2, position1},
                             {ambientLight3, diffuseLight3, specularLight3, position2}};
    for (int k = 0; k < 3; ++k) {
        if (!bLightOn[k])
            continue;
        const GLenum light = GL_LIGHT0 + k;
        glLightfv(light, GL_AMBIENT, lights[k].ambient);
        glLightfv(light, GL_DIFFUSE, lights[k].diffuse);
        glLightfv(light, GL_SPECULAR, lights[k].specular);
        if (lights[k].position)
            glLightfv(light, GL_POSITION, lights[k].position);
    }
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, mat_shininess[0]);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, mat_specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, mat_diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, mat_ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, mat_emission);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lmodel_ambient);
    glLightModelfv(GL_LIGHT_MODEL_LOCAL_VIEWER, lmodel_local_viewer);
    glLightModelfv(GL_LIGHT_MODEL_TWO_SIDE, lmodel_twoside);
    glEnable(GL_LIGHTING);
    for (int k = 0; k < 3; ++k) {
        if (bLightOn[k])
            glEnable(GL_LIGHT0 + k);
        else
            glDisable(GL_LIGHT0 + k);
    }
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

} // namespace

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

    if (image.uFlags & kPrintImageBlend) {
        COGLRenderer::GLEnableBlend(GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (image.uFlags & kPrintImageLight)
        setLights();

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
